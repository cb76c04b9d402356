/* "AI Hard Soft Suite": conversion between artwork coordinates and artboard ruler coordinates. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Hard coordinates are artwork coordinates. Soft coordinates are what the rulers of the active
   artboard read (ai_artboard.h), with v still upward: with B the artboard's bounds and O its ruler
   origin, soft = (hard.h - B.left - O.h, hard.v - B.top + O.v). The two operations are exact
   inverses up to single-precision rounding. They fail with kNoDocumentErr without a document,
   kNonFiniteErr for a non-finite point and kBadParameterErr for a null pointer. */

#define kAIHardSoftSuite "AI Hard Soft Suite"
#define kAIHardSoftSuiteVersion 3

typedef struct AIHardSoftSuite {
  /* Convert a point from artboard ruler coordinates to artwork coordinates. */
  AIErr (*HardenPoint)(const AIRealPoint* soft, AIRealPoint* outHard);

  /* Convert a point from artwork coordinates to artboard ruler coordinates. */
  AIErr (*SoftenPoint)(const AIRealPoint* hard, AIRealPoint* outSoft);
} AIHardSoftSuite;

#ifdef __cplusplus
}
#endif
