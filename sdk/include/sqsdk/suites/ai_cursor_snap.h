/* "AI Cursor Snap Suite": snapping the cursor to anchors and to custom angle constraints. */
#pragma once

#include "../messages.h"
#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Track passes a cursor through the host's snapping. The control string says what may snap: its
   first word is a set of upper-case letters, the rest (after a space) qualifies the request. This
   host honours two letters and accepts the others without effect:
     'A'  snap to anchor points: when smart guides are on in the view (SetSmartTargeting), the
          cursor moves onto the nearest anchor of a visible, unlocked path of the document within
          the snapping tolerance;
     'T'  snap to the custom constraints set with SetCustomConstraints (below).
   'P', 'F', 'G', 'L', 'M' and everything after the first space are accepted and ignored. The grid
   needs no letter: any non-empty control string snaps to it when the view's snap-to-grid option
   is on (ai_document_view.h), which is why a tool that wants the raw cursor while that option is
   on does not track at all.

   The snapping tolerance is "smartGuides/tolerance" pixels (ai_preference.h; 6 when not stored)
   divided by the view's zoom, as a distance in artwork units. Track applies the first rule that
   gives a point:
     1. 'T' and at least one hard constraint: the cursor projected perpendicularly onto the nearest
        hard constraint line (always, whatever the distance);
     2. 'A' and smart guides on: the nearest anchor within tolerance;
     3. 'T' and soft constraints: the projection onto the nearest soft constraint line, when it is
        within tolerance;
     4. a non-empty control string and snap-to-grid on: the nearest grid point, the grid being the
        multiples of "grid/spacing" points (72 when not stored) from the artwork origin, at any
        distance;
     5. otherwise the cursor unchanged (always for an empty control string).
   Anchors are taken from the document as it is at the call; nothing is excluded, so during a drag
   whose previous step was undone the dragged point's original anchor can attract the cursor.

   Snapping feedback: with smart guides on, when rule 1 or 3 placed the cursor, the host shows the
   label of that constraint next to the cursor until the next Track in the view (the session
   report lists it as the view's "snapLabel"). */

#define kAICursorSnapSuite "AI Cursor Snap Suite"
#define kAICursorSnapSuiteVersion 3

/* Control strings passed by the editing tool. */
#define kAISnapControlHover "AP v i o"            /* hover and press */
#define kAISnapControlConstrained "ATP i"         /* a handle kept on its line */
#define kAISnapControlConstrainedGuides "ATP i o" /* the same with Shift and tool guides */
#define kAISnapControlDrag "ATFGPLM v i o f"      /* free handle, anchor and segment drags */

/* Constraint kinds. kAILinearConstraintRelative is the line through origin whose direction is
   angle plus the host's constrain angle ("constrain/angle", ai_preference.h, degrees; 0 when not
   stored), both counter-clockwise from the positive h axis: a constraint at angle 0 follows the
   constrain axis, and a caller that wants an absolute direction subtracts the constrain angle. */
enum { kAILinearConstraintRelative = 2 };

/* Constraint flags. Without kAISoftConstraintFlag a constraint is hard: the point always lands on
   its line. A soft one only attracts points within the snapping tolerance. */
enum { kAISoftConstraintFlag = 1 };

typedef struct AICursorConstraint {
  int32_t kind;       /* kAILinearConstraintRelative */
  int32_t flags;      /* 0 or kAISoftConstraintFlag */
  AIRealPoint origin; /* artwork coordinates */
  AIReal angle;       /* degrees, relative to the constrain angle (see the kind) */
  const char* label;  /* shown in the snapping feedback; Windows-1252 text (the degree sign is
                         byte 0xB0), copied; may be null for none */
} AICursorConstraint;

typedef struct AICursorSnapSuite {
  /* Snap cursor (artwork coordinates) in view under control (rules above) and write the result to
     *outSnapped. event is the event of the tool message (may be null; this host does not read it).
     Fails with kBadParameterErr for a null view, cursor, control or output, kBadHandleErr for a
     view that is not live, kNonFiniteErr for a non-finite cursor; *outSnapped is then untouched. */
  AIErr (*Track)(AIDocumentViewHandle view, const AIRealPoint* cursor, const AIEvent* event,
                 const char* control, AIRealPoint* outSnapped);

  /* Non-zero in *outOn when smart guides (anchor snapping and the snapping feedback) are on in the
     view. Off by default. */
  AIErr (*UseSmartTargeting)(AIDocumentViewHandle view, AIBoolean* outOn);

  /* Switch smart guides on (non-zero) or off in the view. */
  AIErr (*SetSmartTargeting)(AIDocumentViewHandle view, AIBoolean on);

  /* Replace the custom constraints by count constraints (count 0 clears them); the host copies
     them. They stay in force until replaced or cleared, and the host clears them when the current
     tool changes (choosing the same tool again later does not bring them back). The end of a
     gesture does not clear them: a tool that set constraints for a drag clears them itself at
     mouse up (ClearCustomConstraints). An unknown kind or flag fails with kBadParameterErr, a
     non-finite origin or angle with kNonFiniteErr; the previous constraints then stay. */
  AIErr (*SetCustomConstraints)(const AICursorConstraint* constraints, int32_t count);

  /* Remove every custom constraint. */
  AIErr (*ClearCustomConstraints)(void);
} AICursorSnapSuite;

#ifdef __cplusplus
}
#endif
