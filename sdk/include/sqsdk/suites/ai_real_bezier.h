/* "AI Real Bezier Suite": evaluating, dividing and reshaping one cubic Bezier curve. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A curve is p0 (start anchor), p1 (control point leaving p0), p2 (control point entering p3), p3
   (end anchor), in artwork coordinates; t runs from 0 at p0 to 1 at p3. The host computes in double
   precision and rounds each result coordinate to single precision once. Every operation fails with
   kNonFiniteErr when an input is not finite and with kBadParameterErr for a null pointer; unless a
   comment says otherwise the outputs are then untouched. */

#define kAIRealBezierSuite "AI Real Bezier Suite"
#define kAIRealBezierSuiteVersion 2

typedef struct AIRealBezierSuite {
  /* The point of the curve at parameter t, in *outPoint. t must lie in [0, 1], else
     kBadParameterErr. t = 0 gives p0 and t = 1 gives p3 exactly. */
  AIErr (*EvaluateBezier)(const AIRealBezier* bezier, AIReal t, AIRealPoint* outPoint);

  /* Divide the curve at t by de Casteljau's construction into *outFirst (the part from 0 to t) and
     *outSecond (the part from t to 1); together they trace the same curve. outFirst->p0 is p0,
     outSecond->p3 is p3, and outFirst->p3 and outSecond->p0 are the same point, the curve at t.
     t must lie in [0, 1], else kBadParameterErr; t = 0 gives a first part collapsed onto p0 and
     the whole curve as the second part, t = 1 the reverse. */
  AIErr (*DivideBezier)(const AIRealBezier* bezier, AIReal t, AIRealBezier* outFirst,
                        AIRealBezier* outSecond);

  /* Reshape the curve so that it passes through target at parameter t, changing only the two inner
     control points, by the smallest change: with d = target - B(t), w1 = 3(1-t)^2 t and
     w2 = 3(1-t) t^2, p1 moves by d * w1 / (w1^2 + w2^2) and p2 by d * w2 / (w1^2 + w2^2); p0 and
     p3 are copied unchanged. t must lie strictly between 0 and 1 (at the ends no inner control
     point can move the curve): otherwise this fails with kBadParameterErr and, so that a caller
     who ignores the error keeps the old shape, *outAdjusted receives a copy of bezier. */
  AIErr (*AdjustBezierThroughPoint)(const AIRealBezier* bezier, AIReal t, const AIRealPoint* target,
                                    AIRealBezier* outAdjusted);
} AIRealBezierSuite;

#ifdef __cplusplus
}
#endif
