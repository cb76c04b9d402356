/* "AI Real Math Suite": angles, distances, polar vectors, tolerant comparisons, rect tests. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* All values are artwork values: points (1/72 inch), h to the right, v upward, angles in radians
   measured counter-clockwise from the positive h axis. Results are computed in double precision
   and rounded to single precision once. Every operation fails with kNonFiniteErr when one of its
   inputs is not finite and with kBadParameterErr for a null pointer; its output is then untouched.

   Rectangles are closed: their edges belong to them. A rectangle whose left exceeds its right, or
   whose bottom exceeds its top, contains nothing and overlaps nothing. */

#define kAIRealMathSuite "AI Real Math Suite"
#define kAIRealMathSuiteVersion 1

typedef struct AIRealMathSuite {
  /* The direction of the vector from `from` to `to`: atan2(to.v - from.v, to.h - from.h), in
     [-pi, pi]. Two equal points give 0. */
  AIErr (*RealPointAngle)(const AIRealPoint* from, const AIRealPoint* to, AIReal* outAngle);

  /* The distance between the two points (never negative). */
  AIErr (*RealPointLength)(const AIRealPoint* from, const AIRealPoint* to, AIReal* outLength);

  /* The vector of the given length in the given direction: (length * cos(angle),
     length * sin(angle)). A negative length gives the vector pointing the opposite way. */
  AIErr (*RealPointLengthAngle)(AIReal length, AIReal angle, AIRealPoint* outVector);

  /* Non-zero in *outEqual when both coordinates are exactly equal (0 and -0 count as equal). This
     is the comparison the host itself uses to decide that a handle is retracted onto its anchor. */
  AIErr (*RealPointEqual)(const AIRealPoint* a, const AIRealPoint* b, AIBoolean* outEqual);

  /* Non-zero in *outClose when the distance between the points is at most tolerance. A negative
     tolerance fails with kBadParameterErr. */
  AIErr (*RealPointClose)(const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance,
                          AIBoolean* outClose);

  /* Non-zero in *outEqual when |a - b| is at most tolerance. A negative tolerance fails with
     kBadParameterErr. */
  AIErr (*AlmostEqual)(AIReal a, AIReal b, AIReal tolerance, AIBoolean* outEqual);

  /* Non-zero in *outInside when left <= point.h <= right and bottom <= point.v <= top. */
  AIErr (*RealPointInRealRect)(const AIRealPoint* point, const AIRealRect* rect,
                               AIBoolean* outInside);

  /* Non-zero in *outInside when every point of inner lies in outer (edges may touch). */
  AIErr (*RealRectInRealRect)(const AIRealRect* inner, const AIRealRect* outer,
                              AIBoolean* outInside);

  /* Non-zero in *outOverlap when the two rectangles share at least one point; rectangles that only
     touch along an edge or at a corner overlap, and so does a rectangle of zero width or height. */
  AIErr (*RealRectOverlap)(const AIRealRect* a, const AIRealRect* b, AIBoolean* outOverlap);
} AIRealMathSuite;

#ifdef __cplusplus
}
#endif
