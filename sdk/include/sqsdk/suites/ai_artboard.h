/* "AI Artboard Suite": the current document's artboards, the active one, their ruler origins. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A document has one or more artboards, numbered from 0, each with bounds in artwork coordinates
   and a ruler origin; one of them is active. The ruler origin is the offset of the point where the
   artboard rulers read zero from the artboard's top-left corner, h to the right and v downward;
   it is (0, 0), the top-left corner, unless set. Artboard rulers show a point (h, v) as
   (h - bounds.left - origin.h, v - bounds.top + origin.v), v still upward (see ai_hard_soft.h).
   Operations fail with kNoDocumentErr when no document is open, kOutOfRangeErr for an index outside
   0 .. count - 1 and kBadParameterErr for a null pointer; a failing call changes nothing. */

#define kAIArtboardSuite "AI Artboard Suite"
#define kAIArtboardSuiteVersion 1

typedef struct AIArtboardSuite {
  /* The number of artboards of the current document (at least 1) in *outCount. */
  AIErr (*CountArtboards)(int32_t* outCount);

  /* The index of the active artboard in *outIndex. */
  AIErr (*GetActiveArtboardIndex)(int32_t* outIndex);

  /* Make artboard index the active one. Not recorded for undo. */
  AIErr (*SetActiveArtboardIndex)(int32_t index);

  /* The bounds of artboard index in artwork coordinates (top is the larger v) in *outBounds. */
  AIErr (*GetArtboardBounds)(int32_t index, AIRealRect* outBounds);

  /* The ruler origin of artboard index (see above) in *outOrigin. */
  AIErr (*GetArtboardRulerOrigin)(int32_t index, AIRealPoint* outOrigin);

  /* Set the ruler origin of artboard index. Non-finite values fail with kNonFiniteErr. A change
     causes "AI Document Ruler Origin Changed Notifier" (ai_notifier.h); not recorded for undo. */
  AIErr (*SetArtboardRulerOrigin)(int32_t index, const AIRealPoint* origin);
} AIArtboardSuite;

#ifdef __cplusplus
}
#endif
