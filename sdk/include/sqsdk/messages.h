/* Message records that the host passes to PluginMain, with the callers and selectors that name
 * them. */
#pragma once

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

struct SPBasicSuite;

/* The value of SPMessageData.SPCheck in every message the host sends ('SPCk'). */
#define kSPValidSPMessageData 0x5350436BL

/* The common header of every message.
   - SPCheck: always kSPValidSPMessageData.
   - self: this plug-in's reference; needed to open dialogs and to read the plug-in's resources.
   - globals: one pointer the host keeps for the plug-in while its library is unloaded. The host
     never reads it; it hands the same value back in every later message, including after a reload.
   - basic: the basic-services table, valid for the duration of the message. */
typedef struct SPMessageData {
  int32_t SPCheck;
  SPPluginRef self;
  void* globals;
  struct SPBasicSuite* basic;
} SPMessageData;

/* The entry point every plug-in exports under the name its property list gives.
   caller and selector are null-terminated and valid for the duration of the call. */
typedef AIErr (*SPPluginMainProc)(const char* caller, const char* selector, void* message);

/* ---- Life cycle ------------------------------------------------------------------------------ */

#define kSPAccessCaller "SP Access"
#define kSPAccessUnloadSelector "Unload"
#define kSPAccessReloadSelector "Reload"

#define kSPInterfaceCaller "SP Interface"
#define kSPInterfaceStartupSelector "Startup"
#define kSPInterfaceAboutSelector "About"
#define kSPInterfaceShutdownSelector "Shutdown"

/* "SP Access" messages: sent right before the host unloads the library and right after it loads
   it again. No suite may be acquired while handling them. */
typedef struct SPAccessMessage {
  SPMessageData d;
} SPAccessMessage;

/* "SP Interface" messages: start-up, about and shut-down. */
typedef struct SPInterfaceMessage {
  SPMessageData d;
} SPInterfaceMessage;

/* ---- Events and modifiers ------------------------------------------------------------------ */

/* Modifier bits, as the host reports them in events and through the tracker suite. */
enum { kAIShiftModifier = 0x20, kAICtrlModifier = 0x40, kAIAltModifier = 0x80 };

/* What an event record describes. */
enum {
  kAINullEvent = 0,
  kAIMouseDownEvent = 1,
  kAIMouseUpEvent = 2,
  kAIMouseMoveEvent = 3,
  kAIKeyDownEvent = 4,
  kAIKeyUpEvent = 5
};

/* The host's event record, handed to tools and passed on to the cursor-snap suite.
   where is the cursor in view pixels; when is the host's event clock in milliseconds. */
typedef struct AIEvent {
  int32_t what;
  uint32_t message;
  uint32_t when;
  AIPoint where;
  int32_t modifiers;
} AIEvent;

/* ---- Tools ------------------------------------------------------------------------------- */

#define kCallerAITool "AI Tool"
#define kSelectorAIEditToolOptions "AI Edit Options"
#define kSelectorAITrackToolCursor "AI Track Cursor"
#define kSelectorAIToolMouseDown "AI Mouse Down"
#define kSelectorAIToolMouseDrag "AI Mouse Drag"
#define kSelectorAIToolMouseUp "AI Mouse Up"
#define kSelectorAISelectTool "AI Select"
#define kSelectorAIDeselectTool "AI Deselect"
#define kSelectorAIIncreaseDiameter "AI Increase Diameter"
#define kSelectorAIDecreaseDiameter "AI Decrease Diameter"

/* A tool message. cursor is the mouse position in artwork coordinates (the host has not snapped
   it); event is the event that caused the message, valid for the duration of the call. */
typedef struct AIToolMessage {
  SPMessageData d;
  AIToolHandle tool;
  AIRealPoint cursor;
  AIReal pressure;
  AIEvent* event;
} AIToolMessage;

/* ---- Notifiers --------------------------------------------------------------------------- */

#define kCallerAINotify "AI Notifier"
#define kSelectorAINotify "AI Notify"

/* A notification. notifier is the handle the plug-in got when it added the notifier; type is the
   notification type it subscribed to; notifyData is type-specific and may be null. */
typedef struct AINotifierMessage {
  SPMessageData d;
  AINotifierHandle notifier;
  const char* type;
  void* notifyData;
} AINotifierMessage;

/* ---- Menus ------------------------------------------------------------------------------- */

#define kCallerAIMenu "AI Menu"
#define kSelectorAIGoMenuItem "AI Go"
#define kSelectorAIUpdateMenuItem "AI Update"

/* A menu message: the item was chosen ("AI Go") or the host is about to show it ("AI Update"). */
typedef struct AIMenuMessage {
  SPMessageData d;
  AIMenuItemHandle menuItem;
} AIMenuMessage;

/* ---- Annotations ------------------------------------------------------------------------- */

#define kCallerAIAnnotation "AI Annotation"
#define kSelectorAIDrawAnnotation "AI Draw"
#define kSelectorAIInvalAnnotation "AI Invalidate"

/* An annotation message. For "AI Draw": port is where to draw (create a drawer on it), and
   invalidationRects lists the view rectangles that need drawing (left, top, right, bottom as
   floats), invalidationRectCount of them. For "AI Invalidate" port and rectangles are null/0. */
typedef struct AIAnnotatorMessage {
  SPMessageData d;
  AIAnnotatorHandle annotator;
  AIDocumentViewHandle view;
  AIPortRef port;
  const AIRealRect* invalidationRects;
  int32_t invalidationRectCount;
} AIAnnotatorMessage;

#ifdef __cplusplus
}
#endif
