// "AI Real Math Suite" and "AI Real Bezier Suite": computed in double, rounded to single once.
#include <cmath>

#include "sqsdk/suites/ai_real_bezier.h"
#include "sqsdk/suites/ai_real_math.h"
#include "suites/document_suite_parts.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

struct Vec {
  double h;
  double v;
};

Vec operator+(Vec a, Vec b) {
  return {a.h + b.h, a.v + b.v};
}
Vec operator-(Vec a, Vec b) {
  return {a.h - b.h, a.v - b.v};
}
Vec operator*(double k, Vec a) {
  return {k * a.h, k * a.v};
}

Vec vec(const AIRealPoint& p) {
  return {p.h, p.v};
}

bool finite(AIReal x) {
  return std::isfinite(x);
}
bool finite(const AIRealPoint& p) {
  return finite(p.h) && finite(p.v);
}
bool finite(const AIRealRect& r) {
  return finite(r.left) && finite(r.top) && finite(r.right) && finite(r.bottom);
}
bool finite(const AIRealBezier& b) {
  return finite(b.p0) && finite(b.p1) && finite(b.p2) && finite(b.p3);
}

bool toPoint(Vec p, AIRealPoint& out) {
  AIRealPoint result{};
  if (!roundToReal(p.h, result.h) || !roundToReal(p.v, result.v)) return false;
  out = result;
  return true;
}

// ---- Real math --------------------------------------------------------------------------------

// Empty rectangles (left beyond right or bottom above top) hold no point.
bool empty(const AIRealRect& r) {
  return r.left > r.right || r.bottom > r.top;
}

AIErr realPointAngle(const AIRealPoint* from, const AIRealPoint* to, AIReal* outAngle) {
  return guarded([&] {
    if (from == nullptr || to == nullptr || outAngle == nullptr) return kBadParameterErr;
    if (!finite(*from) || !finite(*to)) return kNonFiniteErr;
    const Vec d = vec(*to) - vec(*from);
    // Equal points (including 0 against -0, whose difference is a signed zero) have angle 0.
    const double angle = (d.h == 0 && d.v == 0) ? 0.0 : std::atan2(d.v, d.h);
    *outAngle = static_cast<AIReal>(angle);
    return kNoErr;
  });
}

AIErr realPointLength(const AIRealPoint* from, const AIRealPoint* to, AIReal* outLength) {
  return guarded([&] {
    if (from == nullptr || to == nullptr || outLength == nullptr) return kBadParameterErr;
    if (!finite(*from) || !finite(*to)) return kNonFiniteErr;
    const Vec d = vec(*to) - vec(*from);
    // Two points near opposite ends of the float range are further apart than a float can say.
    return roundToReal(std::hypot(d.h, d.v), *outLength) ? kNoErr : kNonFiniteErr;
  });
}

AIErr realPointLengthAngle(AIReal length, AIReal angle, AIRealPoint* outVector) {
  return guarded([&] {
    if (outVector == nullptr) return kBadParameterErr;
    if (!finite(length) || !finite(angle)) return kNonFiniteErr;
    const double a = angle;
    const Vec p{length * std::cos(a), length * std::sin(a)};
    return toPoint(p, *outVector) ? kNoErr : kNonFiniteErr;
  });
}

AIErr realPointEqual(const AIRealPoint* a, const AIRealPoint* b, AIBoolean* outEqual) {
  return guarded([&] {
    if (a == nullptr || b == nullptr || outEqual == nullptr) return kBadParameterErr;
    if (!finite(*a) || !finite(*b)) return kNonFiniteErr;
    *outEqual = (a->h == b->h && a->v == b->v) ? 1 : 0;
    return kNoErr;
  });
}

AIErr realPointClose(const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance,
                     AIBoolean* outClose) {
  return guarded([&] {
    if (a == nullptr || b == nullptr || outClose == nullptr) return kBadParameterErr;
    if (!finite(*a) || !finite(*b) || !finite(tolerance)) return kNonFiniteErr;
    if (tolerance < 0) return kBadParameterErr;
    const Vec d = vec(*b) - vec(*a);
    *outClose = std::hypot(d.h, d.v) <= tolerance ? 1 : 0;
    return kNoErr;
  });
}

AIErr almostEqual(AIReal a, AIReal b, AIReal tolerance, AIBoolean* outEqual) {
  return guarded([&] {
    if (outEqual == nullptr) return kBadParameterErr;
    if (!finite(a) || !finite(b) || !finite(tolerance)) return kNonFiniteErr;
    if (tolerance < 0) return kBadParameterErr;
    *outEqual = std::fabs(static_cast<double>(a) - b) <= tolerance ? 1 : 0;
    return kNoErr;
  });
}

AIErr realPointInRealRect(const AIRealPoint* point, const AIRealRect* rect, AIBoolean* outInside) {
  return guarded([&] {
    if (point == nullptr || rect == nullptr || outInside == nullptr) return kBadParameterErr;
    if (!finite(*point) || !finite(*rect)) return kNonFiniteErr;
    const bool inside = !empty(*rect) && rect->left <= point->h && point->h <= rect->right &&
                        rect->bottom <= point->v && point->v <= rect->top;
    *outInside = inside ? 1 : 0;
    return kNoErr;
  });
}

AIErr realRectInRealRect(const AIRealRect* inner, const AIRealRect* outer, AIBoolean* outInside) {
  return guarded([&] {
    if (inner == nullptr || outer == nullptr || outInside == nullptr) return kBadParameterErr;
    if (!finite(*inner) || !finite(*outer)) return kNonFiniteErr;
    // An empty inner rectangle is not counted as inside: it is a malformed rectangle, not a point
    // set that happens to fit.
    const bool inside = !empty(*inner) && !empty(*outer) && outer->left <= inner->left &&
                        inner->right <= outer->right && outer->bottom <= inner->bottom &&
                        inner->top <= outer->top;
    *outInside = inside ? 1 : 0;
    return kNoErr;
  });
}

AIErr realRectOverlap(const AIRealRect* a, const AIRealRect* b, AIBoolean* outOverlap) {
  return guarded([&] {
    if (a == nullptr || b == nullptr || outOverlap == nullptr) return kBadParameterErr;
    if (!finite(*a) || !finite(*b)) return kNonFiniteErr;
    const bool overlap = !empty(*a) && !empty(*b) && a->left <= b->right && b->left <= a->right &&
                         a->bottom <= b->top && b->bottom <= a->top;
    *outOverlap = overlap ? 1 : 0;
    return kNoErr;
  });
}

// ---- Real Bezier ------------------------------------------------------------------------------

struct Curve {
  Vec p[4];
};

Curve curve(const AIRealBezier& b) {
  return {{vec(b.p0), vec(b.p1), vec(b.p2), vec(b.p3)}};
}

bool toBezier(const Curve& c, AIRealBezier& out) {
  AIRealBezier result{};
  if (!toPoint(c.p[0], result.p0) || !toPoint(c.p[1], result.p1) || !toPoint(c.p[2], result.p2) ||
      !toPoint(c.p[3], result.p3)) {
    return false;
  }
  out = result;
  return true;
}

// (1 - t) a + t b: exactly a at t = 0 and exactly b at t = 1.
Vec lerp(Vec a, Vec b, double t) {
  return (1 - t) * a + t * b;
}

// De Casteljau's construction: the parts of the curve before and after t. first.p[3] and
// second.p[0] are the same point, the curve at t.
struct Halves {
  Curve first;
  Curve second;
};

Halves split(const Curve& c, double t) {
  const Vec p01 = lerp(c.p[0], c.p[1], t);
  const Vec p12 = lerp(c.p[1], c.p[2], t);
  const Vec p23 = lerp(c.p[2], c.p[3], t);
  const Vec p012 = lerp(p01, p12, t);
  const Vec p123 = lerp(p12, p23, t);
  const Vec mid = lerp(p012, p123, t);
  return {{{c.p[0], p01, p012, mid}}, {{mid, p123, p23, c.p[3]}}};
}

AIErr evaluateBezier(const AIRealBezier* bezier, AIReal t, AIRealPoint* outPoint) {
  return guarded([&] {
    if (bezier == nullptr || outPoint == nullptr) return kBadParameterErr;
    if (!finite(*bezier) || !finite(t)) return kNonFiniteErr;
    if (t < 0 || t > 1) return kBadParameterErr;
    return toPoint(split(curve(*bezier), t).first.p[3], *outPoint) ? kNoErr : kNonFiniteErr;
  });
}

AIErr divideBezier(const AIRealBezier* bezier, AIReal t, AIRealBezier* outFirst,
                   AIRealBezier* outSecond) {
  return guarded([&] {
    if (bezier == nullptr || outFirst == nullptr || outSecond == nullptr) return kBadParameterErr;
    if (!finite(*bezier) || !finite(t)) return kNonFiniteErr;
    if (t < 0 || t > 1) return kBadParameterErr;
    const Halves halves = split(curve(*bezier), t);
    AIRealBezier first{};
    AIRealBezier second{};
    if (!toBezier(halves.first, first) || !toBezier(halves.second, second)) return kNonFiniteErr;
    *outFirst = first;
    *outSecond = second;
    return kNoErr;
  });
}

// Among all moves of p1 and p2 that bring B(t) onto the target, w1 Δp1 + w2 Δp2 = d, the one of
// least |Δp1|² + |Δp2|² is Δpi = d wi / (w1² + w2²) (the minimum-norm solution of one linear
// equation per coordinate).
AIErr adjustBezierThroughPoint(const AIRealBezier* bezier, AIReal t, const AIRealPoint* target,
                               AIRealBezier* outAdjusted) {
  return guarded([&] {
    if (bezier == nullptr || target == nullptr || outAdjusted == nullptr) return kBadParameterErr;
    if (!finite(*bezier) || !finite(t) || !finite(*target)) return kNonFiniteErr;
    if (!(t > 0 && t < 1)) {
      *outAdjusted = *bezier;
      return kBadParameterErr;
    }
    const double s = t;
    const double w1 = 3 * (1 - s) * (1 - s) * s;
    const double w2 = 3 * (1 - s) * s * s;
    const double norm = w1 * w1 + w2 * w2;
    Curve c = curve(*bezier);
    const Vec d = vec(*target) - split(c, s).first.p[3];
    c.p[1] = c.p[1] + (w1 / norm) * d;
    c.p[2] = c.p[2] + (w2 / norm) * d;
    // Very close to an end the needed move can exceed the float range: refuse it and leave the
    // caller the old shape, as for a t at the ends.
    if (!toBezier(c, *outAdjusted)) {
      *outAdjusted = *bezier;
      return kNonFiniteErr;
    }
    return kNoErr;
  });
}

const AIRealMathSuite kRealMathSuite = {
    realPointAngle, realPointLength,     realPointLengthAngle, realPointEqual,  realPointClose,
    almostEqual,    realPointInRealRect, realRectInRealRect,   realRectOverlap,
};

const AIRealBezierSuite kRealBezierSuite = {
    evaluateBezier,
    divideBezier,
    adjustBezierThroughPoint,
};

}  // namespace

void publishMathSuites(SuiteRegistry& registry) {
  registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &kRealMathSuite);
  registry.add(kAIRealBezierSuite, kAIRealBezierSuiteVersion, &kRealBezierSuite);
}

}  // namespace sqhost
