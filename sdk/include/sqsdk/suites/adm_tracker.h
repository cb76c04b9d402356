/* "ADM Tracker Suite": the mouse or key event an item is tracking, and the modifier keys. */
#pragma once

#include "../messages.h"
#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 2

/* Tracker actions (GetAction). */
enum {
  kADMMouseMoveAction = 1, /* the pointer moved over the item, no button pressed */
  kADMButtonDownAction = 2,
  kADMMouseDragAction = 3, /* the pointer moved with the button pressed */
  kADMButtonUpAction = 4,
  kADMKeyStrokeAction = 5 /* a key was pressed while the item had the keyboard focus */
};

/* Action masks (ADMItemSuite.SetMask): which actions reach an item's track proc. */
#define kADMMouseMoveMask 0x00010000u
#define kADMButtonDownMask 0x00020000u
#define kADMButtonUpMask 0x00040000u
#define kADMMouseDragMask 0x00080000u
#define kADMKeyStrokeMask 0x80000000u
/* The mask of a new item: presses, releases and keys. */
#define kADMDefaultTrackMask (kADMButtonDownMask | kADMButtonUpMask | kADMKeyStrokeMask)

/* Virtual keys of key strokes (GetVirtualKey). A key that types a character reports its Unicode
   code point instead (letters in the case typed). */
enum {
  kADMEnterKey = 3, /* the Enter key of the numeric keypad */
  kADMBackspaceKey = 8,
  kADMTabKey = 9,
  kADMReturnKey = 13,
  kADMEscapeKey = 27,
  kADMUpArrowKey = 30,
  kADMDownArrowKey = 31
};

/* A tracker is valid only during the track proc it is handed to. Modifier bits are those of
   messages.h: kAIShiftModifier 0x20, kAICtrlModifier 0x40, kAIAltModifier 0x80.

   Every operation also fails with kBadHandleErr for a tracker that is not the one of a running
   track proc and with kBadParameterErr for a null pointer argument, except where null is allowed
   below. */

typedef struct ADMTrackerSuite {
  /* The pointer's position in item-local pixels (0, 0 at the item's top-left, x right, y down). */
  AIErr (*GetPoint)(ADMTrackerRef tracker, AIPoint* outPoint);

  /* What happened: one of the kADM...Action values. */
  AIErr (*GetAction)(ADMTrackerRef tracker, int32_t* outAction);

  /* The modifier bits held during the tracked event. With a null tracker, those of the event the
     host is handling (the event of the current tool message, or the dialog action that ran the
     notify proc; at idle, the last event handled), so code outside a track proc can test them; the
     host keeps the system keyboard state (keyboard.h) in step with the modifiers of every event it
     handles. */
  AIErr (*GetModifiers)(ADMTrackerRef tracker, int32_t* outModifiers);

  /* Non-zero in *outHeld when every bit of modifier is held, as GetModifiers reports them
     (tracker may be null likewise). */
  AIErr (*TestModifier)(ADMTrackerRef tracker, int32_t modifier, AIBoolean* outHeld);

  /* The key of a kADMKeyStrokeAction (a kADM...Key value or a character's code point); 0 for
     other actions. */
  AIErr (*GetVirtualKey)(ADMTrackerRef tracker, int32_t* outKey);
} ADMTrackerSuite;

#ifdef __cplusplus
}
#endif
