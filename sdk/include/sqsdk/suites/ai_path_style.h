/* "AI Path Style Suite": the fill and stroke with which a path or compound path is painted. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The host paints a path with its style: the fill when fillPaint is set, then the stroke, centred
   on the path, when strokePaint is set. A path inside a compound path is painted with the compound
   path's style, and reading or writing the style of such a path reads or writes the compound
   path's. Style changes are recorded for undo. Operations fail with kBadParameterErr for art that
   is neither a path nor a compound path, kBadHandleErr for art that is not live, kLockedErr for a
   change of art that is not editable (ai_art.h); a failing call changes nothing. */

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 11

typedef struct AIPathStyle {
  AIBoolean fillPaint; /* non-zero: the inside is filled with fillColor */
  AIRGBColor fillColor;
  AIBoolean strokePaint; /* non-zero: the outline is stroked with strokeColor */
  AIRGBColor strokeColor;
  AIReal strokeWidth; /* points, 0 or more */
} AIPathStyle;

typedef struct AIPathStyleSuite {
  /* The style of art in *outStyle. New paths are neither filled nor stroked. */
  AIErr (*GetPathStyle)(AIArtHandle art, AIPathStyle* outStyle);

  /* Set the style of art. A negative or non-finite stroke width fails with kBadParameterErr or
     kNonFiniteErr. */
  AIErr (*SetPathStyle)(AIArtHandle art, const AIPathStyle* style);
} AIPathStyleSuite;

#ifdef __cplusplus
}
#endif
