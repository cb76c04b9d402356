/* "ADM Basic Suite": alerts, string-list reading, the cursor and the host's measurement units. */
#pragma once

#include "../types.h"
#include "adm_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMBasicSuite "ADM Basic Suite"
#define kADMBasicSuiteVersion 8

/* Cursor ids below 0 name the dialog manager's standard cursors rather than a plug-in resource;
   the plug-in reference is then ignored and may be null. */
enum {
  kADMStandardArrowCursorID = -9 /* the plain arrow that panels show over their items */
};

/* Alerts. An alert is a small modal dialog with the text and one OK button. Like every modal dialog
   it runs a nested event loop on the host's queue: a queued action that answers it (pressing OK)
   closes it; when the next queued event does not answer it, or the queue is empty, it is dismissed
   at once, as if OK had been pressed, and that event stays queued. It never waits for input that
   cannot come. The host keeps the text and kind of every alert shown, in order, for tests and
   scripts to read. Host notifications pending meanwhile may be delivered before it returns. */

typedef struct ADMBasicSuite {
  /* Show an alert with an error sign and the text (null-terminated UTF-8, copied; the plug-in
     formats it, the host treats it as plain text). Returns once the alert is closed.
     Fails with kBadParameterErr for a null text. */
  AIErr (*ErrorAlert)(const char* text);

  /* As ErrorAlert, with an information sign: the plug-in's messages to the user. */
  AIErr (*MessageAlert)(const char* text);

  /* Copy entry index of the plug-in's string list stringListID (resource type 'STR#') into buffer,
     null-terminated; capacity is the buffer's size in bytes. An index at or past the end of the
     list gives the empty string. Fails with kResourceNotFoundErr when the plug-in has no such list,
     kBadParameterErr for a negative index, a null buffer or capacity < 1, and kBufferTooSmallErr
     when the entry does not fit (the buffer then holds a truncated copy, cut on a character
     boundary). */
  AIErr (*GetIndexString)(SPPluginRef plugin, int32_t stringListID, int32_t index, char* buffer,
                          int32_t capacity);

  /* Show the plug-in's cursor resource cursorID (type 'CURS') from now on, until the next call; a
     negative id shows a standard cursor (kADMStandardArrowCursorID; unknown ones show the arrow).
     The host remembers the plug-in and id of the cursor shown. Fails with kResourceNotFoundErr when
     the plug-in has no such cursor; the cursor shown is then unchanged. */
  AIErr (*SetCursorID)(SPPluginRef plugin, int32_t cursorID);

  /* Resolve an application-units value (kADMAppUnits1, the host's general measurement units) to
     the units it stands for right now (kADMPointUnits .. kADMPixelUnits). The result follows the
     host's units preference (kAIPrefGeneralUnits, ai_preference.h); the host sends "AI Preference
     Changed Notifier" when that changes. A concrete units value (kADMNoUnits .. kADMPixelUnits) is
     returned unchanged. Fails with kBadParameterErr for any other value. */
  AIErr (*GetAppUnits)(int32_t appUnits, int32_t* outUnits);
} ADMBasicSuite;

#ifdef __cplusplus
}
#endif
