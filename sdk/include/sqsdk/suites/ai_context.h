/* "AI Context Suite": the plug-in context pushed around work the host did not start itself. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* How the host runs plug-in code.

   There is one user-interface thread and an event loop. Input reaches the host as events (mouse
   down, move and up with modifiers, key down and up, panel item actions, menu choices, dialog
   actions) posted to its queue, and the host processes them one at a time; every message and every
   dialog-manager callback runs on that thread. A modal dialog runs a nested loop that takes the
   following events from the same queue until the dialog closes, so a test or script answers a
   dialog by queueing its actions before the event that opens it. A modal dialog with no event left
   to answer it is cancelled, never waited on. Messages can therefore nest (a notification may
   arrive while a modal dialog of the plug-in is open), but two never run at the same time.

   The host sends each message in the context of the plug-in that receives it. Code that runs
   because of the plug-in's own user interface (the callbacks of a floating panel) pushes the
   plug-in's context itself, so that resources are found in the right plug-in and its document
   changes are gathered into one undo context (ai_undo.h). */

#define kAIContextSuite "AI Context Suite"
#define kAIContextSuiteVersion 5

typedef struct AIContextSuite {
  /* Enter the application context of plugin and write its handle to *outContext, to be given to
     PopAppContext. While it is pushed, resources and dialogs are looked up in this plug-in and
     document changes join the current undo context (the outermost push opens one when none is
     open). Pushes nest. Fails with kBadHandleErr for an unknown plug-in. */
  AIErr (*PushAppContext)(SPPluginRef plugin, AIAppContextHandle* outContext);

  /* Leave a context entered with PushAppContext; the handle is invalid afterwards. Contexts are
     left in the reverse order of their pushes: popping one that is not the innermost, or one
     already popped, fails with kBadParameterErr and changes nothing. Popping the outermost push
     closes the undo context it opened; notifications it caused are delivered when the host is next
     idle. */
  AIErr (*PopAppContext)(AIAppContextHandle context);
} AIContextSuite;

#ifdef __cplusplus
}
#endif
