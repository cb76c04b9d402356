/* "ADM Notifier Suite": what a notification handed to a notify proc is about. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMNotifierSuite "ADM Notifier Suite"
#define kADMNotifierSuiteVersion 1

/* Notification types. Items and dialogs are notified of the user's actions only, never of the
   plug-in's own calls (adm_item.h says which action notifies which item). */

/* Item: the user pressed, toggled or chose something, or committed an edited value. */
#define kADMUserChangedNotifier "ADM User Changed Notifier"
/* Item: a committed number lay outside the field's limits and was clamped; "ADM User Changed
   Notifier" follows with the clamped value. */
#define kADMNumberOutOfBoundsNotifier "ADM Number Out Of Bounds Notifier"
/* Dialog: the user moved or resized the panel, or docked it elsewhere. */
#define kADMBoundsChangedNotifier "ADM Bounds Changed Notifier"
/* Dialog: the user showed the panel. */
#define kADMWindowShowNotifier "ADM Window Show Notifier"
/* Dialog: the user hid the panel (closed it). */
#define kADMWindowHideNotifier "ADM Window Hide Notifier"

/* A notifier is valid only during the notify proc it is handed to.

   Every operation also fails with kBadHandleErr for a reference that is not the notifier of a
   running notify proc and with kBadParameterErr for a null pointer argument. */

typedef struct ADMNotifierSuite {
  /* Non-zero in *outIsType when the notification is of this type (exact string comparison). */
  AIErr (*IsNotifierType)(ADMNotifierRef notifier, const char* notifierType, AIBoolean* outIsType);

  /* The notification's type, null-terminated, into buffer (capacity bytes). Fails with
     kBufferTooSmallErr when it does not fit (truncated copy) and kBadParameterErr for
     capacity < 1. */
  AIErr (*GetNotifierType)(ADMNotifierRef notifier, char* buffer, int32_t capacity);
} ADMNotifierSuite;

#ifdef __cplusplus
}
#endif
