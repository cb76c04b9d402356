/* "AI Hit Test Suite": what lies under a point: anchor, handle or segment of which path. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A hit test looks for what a click at an artwork point would grab, within a tolerance of
   "selectionTolerance" pixels (ai_preference.h; 6 when not stored) divided by the zoom of the
   current document's front view, measured as a distance in artwork units.

   What can be hit. Only art that is neither locked nor hidden, with no locked or hidden ancestor
   and on a visible, editable layer:
   - an anchor point of a path (kAIHitAnchor);
   - a handle, only where the host shows it (ai_path.h): the in handle of a segment in state 2 or 4
     (kAIHitInHandle), its out handle in state 3 or 4 (kAIHitOutHandle), both handles of the only
     segment of its path in state 1; never a retracted handle;
   - the curve of a path (kAIHitSegment). Fills are never hit.
   Points come before curves: the host first looks for anchors and shown handles within tolerance,
   taking objects from the topmost down, and stops at the first object that has one; only when no
   point is in reach does it look for a curve, topmost object first. Within one object the nearest
   candidate wins, and at equal distance an anchor beats a handle and a lower segment index a
   higher one.

   What a hit reports. For a path inside a group or a compound path, the path itself. For the path
   object of a text frame, the text frame (the object the user sees), and for a path of plug-in
   art's result, the plug-in art; the type, point, index and parameter still describe the path
   that was hit. A test restricted (kAIHitRequestArt) to such a path itself reports the path.
   - The segment index: for an anchor or handle, the index of its segment. For a curve, the index
     of the segment the curve ends at: the curve of index i runs from anchor i - 1 to anchor i, and
     on a closed path index 0 is the closing curve from the last anchor to anchor 0.
   - The point: the anchor or handle, or for a curve its nearest point to the tested point.
   - The parameter: for a curve, the parameter in [0, 1] of that nearest point, 0 at the start
     anchor (i - 1, or the last one for the closing curve) and 1 at anchor i; 0 otherwise. */

#define kAIHitTestSuite "AI Hit Test Suite"
#define kAIHitTestSuiteVersion 4

/* Request codes. */
enum {
  /* Everything a direct-selection click can hit, anywhere in the document; the art argument is
     ignored. */
  kAIHitRequestAll = 6,
  /* The same, restricted to the given art and what it contains; the whole document when the art
     argument is null. */
  kAIHitRequestArt = 8
};

/* Hit types. */
enum { kAIHitAnchor = 0, kAIHitOutHandle = 1, kAIHitInHandle = 2, kAIHitSegment = 3 };

typedef struct AIHitTestSuite {
  /* Test point (artwork coordinates) with a request code and write a new hit reference to *outHit,
     hit or not; the caller releases it with ReleaseHit. Another request code fails with
     kBadParameterErr, a non-finite point with kNonFiniteErr, a dead art handle with kBadHandleErr,
     no document with kNoDocumentErr; *outHit is then null. */
  AIErr (*HitTest)(AIArtHandle art, const AIRealPoint* point, int32_t request, AIHitRef* outHit);

  /* Non-zero in *outIsHit when something was hit. The getters below fail with kBadParameterErr on
     a reference that hit nothing, leaving their outputs untouched. */
  AIErr (*IsHit)(AIHitRef hit, AIBoolean* outIsHit);

  /* The hit type (kAIHitAnchor ... kAIHitSegment) in *outType. */
  AIErr (*GetHitType)(AIHitRef hit, int32_t* outType);

  /* The art that was hit (see above) in *outArt; the host owns it. */
  AIErr (*GetHitArt)(AIHitRef hit, AIArtHandle* outArt);

  /* The hit point in artwork coordinates in *outPoint. */
  AIErr (*GetHitPoint)(AIHitRef hit, AIRealPoint* outPoint);

  /* The segment index of the hit (see above) in *outIndex. */
  AIErr (*GetHitSegmentIndex)(AIHitRef hit, int32_t* outIndex);

  /* The curve parameter of the hit, in [0, 1], in *outParameter. */
  AIErr (*GetHitParameter)(AIHitRef hit, AIReal* outParameter);

  /* Release a hit reference; it is invalid afterwards. A null reference is accepted and ignored;
     releasing one twice fails with kBadHandleErr. */
  AIErr (*ReleaseHit)(AIHitRef hit);
} AIHitTestSuite;

#ifdef __cplusplus
}
#endif
