/* "AI Notifier Suite": subscriptions to host notifications, and the notification types. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A notifier subscribes its plug-in to one notification type; the host sends "AI Notifier" /
   "AI Notify" (messages.h) with the notifier's handle and type.

   Delivery. Notifications are delivered after the message or callback that caused them has
   returned, when the host is idle (the nested loop of a modal dialog is idle between its events, so
   notifications can arrive while a plug-in's modal dialog is open). They are coalesced per type:
   however often a type occurred since the last delivery, each notifier of that type is sent one
   message. Types are delivered in the order they first occurred, the notifiers of one type in the
   order they were added, and only to notifiers that are active when the notification is delivered
   (switching a notifier off drops what was pending for it). notifyData is null for every type
   below. */

#define kAINotifierSuite "AI Notifier Suite"
#define kAINotifierSuiteVersion 2

/* The front document view changed: another document or view came to the front, the last document
   closed, or the front view was scrolled or zoomed. */
#define kAIDocumentViewChangedNotifier "AI Document View Changed Notifier"
/* The selection changed (art or segment selection), or selected art was modified. */
#define kAIArtSelectionChangedNotifier "AI Art Selection Changed Notifier"
/* Sent once, after every plug-in has started up and the host is ready for input. */
#define kAIApplicationStartedNotifier "AI Application Started Notifier"
/* A layer's colour, visibility, editability or title changed. */
#define kAILayerOptionsNotifier "AI Layer Options Notifier"
/* A preference under the host's own prefix changed (ai_preference.h). */
#define kAIPreferenceChangedNotifier "AI Preference Changed Notifier"
/* The host's Show/Hide Edges command ran (it toggles the selection display). */
#define kAICommandNotifierAfterShowHideEdges "AI Command Notifier: After Show/Hide Edges"
/* The host's Select All command ran. */
#define kAICommandNotifierAfterSelectAll "AI Command Notifier: After Select All"
/* The current document's ruler units changed (ai_document.h). */
#define kAIDocumentRulerUnitChangedNotifier "AI Document Ruler Unit Changed Notifier"
/* The user pressed Ctrl (the command key) while a plug-in tool was current and no mouse button was
   held: the tool is suspended until the matching "Resumed" notification. */
#define kAIToolSuspendedByCmdKeyNotifier "AI Tool Suspended by Cmd Key Notifier"
/* The Ctrl key that suspended the tool was released. */
#define kAIToolResumedByCmdKeyNotifier "AI Tool Resumed by Cmd Key Notifier"
/* The user pressed the space bar while a plug-in tool was current and no mouse button was held. */
#define kAIToolSuspendedBySpacebarNotifier "AI Tool Suspended by Spacebar Notifier"
/* The space bar that suspended the tool was released. */
#define kAIToolResumedBySpacebarNotifier "AI Tool Resumed by Spacebar Notifier"
/* The user switched the rulers between the whole document and the active artboard. */
#define kAICurrentCoordinateSystemChangedNotifier "AI Current Coordinate System Changed Notifier"
/* The ruler origin of an artboard changed (ai_artboard.h). */
#define kAIDocumentRulerOriginChangedNotifier "AI Document Ruler Origin Changed Notifier"

typedef struct AINotifierSuite {
  /* Subscribe plugin to notifications of type (one of the strings above; a type the host never
     sends is accepted and never delivered) under the unique name name (both copied), and write the
     notifier's handle to *outNotifier. The notifier starts active and lives until the host shuts
     down. Fails with kDuplicateNameErr for a name already used, kBadParameterErr for a null
     pointer. */
  AIErr (*AddNotifier)(SPPluginRef plugin, const char* name, const char* type,
                       AINotifierHandle* outNotifier);

  /* Switch the notifier on (non-zero) or off. kBadHandleErr for a notifier that is not live. */
  AIErr (*SetNotifierActive)(AINotifierHandle notifier, AIBoolean active);

  /* Non-zero in *outActive while the notifier is on. kBadHandleErr for a notifier that is not
     live. */
  AIErr (*IsNotifierActive)(AINotifierHandle notifier, AIBoolean* outActive);
} AINotifierSuite;

#ifdef __cplusplus
}
#endif
