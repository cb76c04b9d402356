/* "ADM Entry Suite": one entry of a list: its index, text, enabled state and being the choice. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2

/* An entry belongs to its list (adm_list.h). Disabled entries and separators are shown but cannot
   be chosen: the host ignores a user's choice of one, without notification.

   Every operation also fails with kBadHandleErr for a reference that is not a live entry and with
   kBadParameterErr for a null pointer argument. */

typedef struct ADMEntrySuite {
  /* The entry's position in its list, from 0. */
  AIErr (*GetIndex)(ADMEntryRef entry, int32_t* outIndex);

  /* Set the entry's text (null-terminated UTF-8, copied). An open menu shows the new text. */
  AIErr (*SetText)(ADMEntryRef entry, const char* text);

  /* The entry's text, null-terminated, into buffer (capacity bytes). Fails with kBufferTooSmallErr
     when it does not fit (truncated copy) and kBadParameterErr for capacity < 1. */
  AIErr (*GetText)(ADMEntryRef entry, char* buffer, int32_t capacity);

  /* Enable (non-zero) or disable (0) the entry. Separators stay disabled. */
  AIErr (*Enable)(ADMEntryRef entry, AIBoolean enable);

  /* Non-zero in *outEnabled while the entry can be chosen. */
  AIErr (*IsEnabled)(ADMEntryRef entry, AIBoolean* outEnabled);

  /* Make the entry the list's active entry (non-zero; the one active before becomes inactive) or
     leave the list without one (0, when this entry is the active one). A popup shows its active
     entry's text. No notification is sent. */
  AIErr (*Activate)(ADMEntryRef entry, AIBoolean activate);

  /* Non-zero in *outActive while the entry is its list's active entry. */
  AIErr (*IsActive)(ADMEntryRef entry, AIBoolean* outActive);
} ADMEntrySuite;

#ifdef __cplusplus
}
#endif
