// Real math, real Bezier and Unicode string suites: closed forms, edge cases and refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "app/host.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_real_bezier.h"
#include "sqsdk/suites/ai_real_math.h"
#include "sqsdk/suites/ai_unicode_string.h"
#include "support/host_fixture.hpp"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr double kPi = 3.14159265358979323846;

class ValueSuitesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sqhost::HostOptions options;
    options.pluginPath = SQ_PLUGIN_PATH;
    options.preferenceFile = dir_.path() / "preferences.json";
    host_ = std::make_unique<sqhost::Host>(options);
    const void* table = nullptr;
    ASSERT_EQ(host_->basicSuite()->AcquireSuite(kAIRealMathSuite, kAIRealMathSuiteVersion, &table),
              kNoErr);
    math_ = static_cast<const AIRealMathSuite*>(table);
    ASSERT_EQ(
        host_->basicSuite()->AcquireSuite(kAIRealBezierSuite, kAIRealBezierSuiteVersion, &table),
        kNoErr);
    bezier_ = static_cast<const AIRealBezierSuite*>(table);
    ASSERT_EQ(host_->basicSuite()->AcquireSuite(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion,
                                                &table),
              kNoErr);
    strings_ = static_cast<const AIUnicodeStringSuite*>(table);
  }

  // The curve at t from the Bernstein form, in double.
  static AIRealPoint bernstein(const AIRealBezier& b, double t) {
    const double s = 1 - t;
    const double k0 = s * s * s, k1 = 3 * s * s * t, k2 = 3 * s * t * t, k3 = t * t * t;
    return {static_cast<float>(k0 * b.p0.h + k1 * b.p1.h + k2 * b.p2.h + k3 * b.p3.h),
            static_cast<float>(k0 * b.p0.v + k1 * b.p1.v + k2 * b.p2.v + k3 * b.p3.v)};
  }

  AIRealPoint at(const AIRealBezier& b, float t) {
    AIRealPoint p{};
    EXPECT_EQ(bezier_->EvaluateBezier(&b, t, &p), kNoErr);
    return p;
  }

  static bool same(const AIRealPoint& a, const AIRealPoint& b) { return a.h == b.h && a.v == b.v; }

  sqtest::TempDir dir_;
  std::unique_ptr<sqhost::Host> host_;
  const AIRealMathSuite* math_ = nullptr;
  const AIRealBezierSuite* bezier_ = nullptr;
  const AIUnicodeStringSuite* strings_ = nullptr;
};

const AIRealBezier kCurve{{0, 0}, {10, 40}, {60, 50}, {100, -20}};

#define EXPECT_POINT_NEAR(p, q, tol) \
  do {                               \
    EXPECT_NEAR((p).h, (q).h, tol);  \
    EXPECT_NEAR((p).v, (q).v, tol);  \
  } while (0)

// ---- Real math ----------------------------------------------------------------------------------

TEST_F(ValueSuitesTest, AnglesDistancesAndToleranceBoundaries) {
  const AIRealPoint o{1, 1}, left{-2, 1}, far{4, 5}, zero{0, 0}, negZero{-0.0f, 0};
  AIReal r = 99;
  ASSERT_EQ(math_->RealPointAngle(&o, &left, &r), kNoErr);
  EXPECT_FLOAT_EQ(r, static_cast<float>(kPi));
  // Equal points give 0, also for -0 against 0 (where atan2 would give pi).
  ASSERT_EQ(math_->RealPointAngle(&zero, &negZero, &r), kNoErr);
  EXPECT_EQ(r, 0.0f);
  ASSERT_EQ(math_->RealPointLength(&o, &far, &r), kNoErr);
  EXPECT_EQ(r, 5.0f);
  AIRealPoint v{};
  ASSERT_EQ(math_->RealPointLengthAngle(-2, static_cast<float>(kPi / 2), &v), kNoErr);
  EXPECT_NEAR(v.h, 0, 1e-6);
  EXPECT_FLOAT_EQ(v.v, -2);

  AIBoolean flag = 7;
  ASSERT_EQ(math_->RealPointEqual(&zero, &negZero, &flag), kNoErr);
  EXPECT_EQ(flag, 1);
  ASSERT_EQ(math_->RealPointClose(&o, &far, 5, &flag), kNoErr);
  EXPECT_EQ(flag, 1);  // the tolerance itself counts as close
  ASSERT_EQ(math_->RealPointClose(&o, &far, 4.999f, &flag), kNoErr);
  EXPECT_EQ(flag, 0);
  ASSERT_EQ(math_->AlmostEqual(1.0f, 2.0f, 1.0f, &flag), kNoErr);
  EXPECT_EQ(flag, 1);
  flag = 7;
  EXPECT_EQ(math_->RealPointClose(&o, &far, -1, &flag), kBadParameterErr);
  EXPECT_EQ(math_->AlmostEqual(1, 1, -0.5f, &flag), kBadParameterErr);
  EXPECT_EQ(flag, 7);
}

TEST_F(ValueSuitesTest, RectanglesAreClosedAndEmptyOnesHoldNothing) {
  const AIRealRect r{0, 10, 20, 0};
  auto inside = [&](float h, float v, const AIRealRect& rect) {
    AIBoolean flag = 7;
    const AIRealPoint p{h, v};
    EXPECT_EQ(math_->RealPointInRealRect(&p, &rect, &flag), kNoErr);
    return flag;
  };
  EXPECT_EQ(inside(0, 0, r), 1);   // corner
  EXPECT_EQ(inside(20, 5, r), 1);  // edge
  EXPECT_EQ(inside(20.001f, 5, r), 0);
  EXPECT_EQ(inside(5, -0.001f, r), 0);
  const AIRealRect inverted{20, 10, 0, 0};  // left beyond right
  EXPECT_EQ(inside(10, 5, inverted), 0);
  const AIRealRect upsideDown{0, 0, 20, 10};  // bottom above top
  EXPECT_EQ(inside(10, 5, upsideDown), 0);
  const AIRealRect line{5, 10, 5, 0};  // zero width still holds its points
  EXPECT_EQ(inside(5, 3, line), 1);

  auto contains = [&](const AIRealRect& inner, const AIRealRect& outer) {
    AIBoolean flag = 7;
    EXPECT_EQ(math_->RealRectInRealRect(&inner, &outer, &flag), kNoErr);
    return flag;
  };
  EXPECT_EQ(contains(r, r), 1);
  EXPECT_EQ(contains(AIRealRect{0, 10, 5, 5}, r), 1);  // touching edges
  EXPECT_EQ(contains(AIRealRect{-1, 10, 5, 5}, r), 0);
  EXPECT_EQ(contains(line, r), 1);
  EXPECT_EQ(contains(inverted, r), 0);
  EXPECT_EQ(contains(r, inverted), 0);

  auto overlap = [&](const AIRealRect& a, const AIRealRect& b) {
    AIBoolean ab = 7, ba = 7;
    EXPECT_EQ(math_->RealRectOverlap(&a, &b, &ab), kNoErr);
    EXPECT_EQ(math_->RealRectOverlap(&b, &a, &ba), kNoErr);
    EXPECT_EQ(ab, ba);
    return ab;
  };
  EXPECT_EQ(overlap(r, AIRealRect{20, 10, 30, 0}), 1);   // shared edge
  EXPECT_EQ(overlap(r, AIRealRect{20, 20, 30, 10}), 1);  // shared corner
  EXPECT_EQ(overlap(r, AIRealRect{20.5f, 10, 30, 0}), 0);
  EXPECT_EQ(overlap(r, line), 1);
  EXPECT_EQ(overlap(r, AIRealRect{5, 5, 5, 5}), 1);  // a single point
  EXPECT_EQ(overlap(r, inverted), 0);
  EXPECT_EQ(overlap(inverted, inverted), 0);
}

TEST_F(ValueSuitesTest, NonFiniteInputsAndNullPointersAreRefusedWithoutOutput) {
  const AIRealPoint good{1, 2}, bad{kNaN, 0}, inf{0, kInf};
  const AIRealRect rect{0, 1, 1, 0}, badRect{0, kInf, 1, 0};
  AIReal real = 42;
  AIRealPoint point{42, 42};
  AIBoolean flag = 42;
  EXPECT_EQ(math_->RealPointAngle(&good, &bad, &real), kNonFiniteErr);
  EXPECT_EQ(math_->RealPointLength(&inf, &good, &real), kNonFiniteErr);
  EXPECT_EQ(math_->RealPointLengthAngle(kInf, 0, &point), kNonFiniteErr);
  EXPECT_EQ(math_->RealPointEqual(&bad, &bad, &flag), kNonFiniteErr);
  EXPECT_EQ(math_->RealPointClose(&good, &good, kInf, &flag), kNonFiniteErr);
  EXPECT_EQ(math_->AlmostEqual(kNaN, 1, 1, &flag), kNonFiniteErr);
  EXPECT_EQ(math_->RealPointInRealRect(&good, &badRect, &flag), kNonFiniteErr);
  EXPECT_EQ(math_->RealRectOverlap(&rect, &badRect, &flag), kNonFiniteErr);
  EXPECT_EQ(real, 42);
  EXPECT_EQ(point.h, 42);
  EXPECT_EQ(flag, 42);

  EXPECT_EQ(math_->RealPointAngle(nullptr, &good, &real), kBadParameterErr);

  // Finite points further apart than a float can express: refused rather than infinite.
  const AIRealPoint low{-3e38f, 0}, high{3e38f, 0};
  EXPECT_EQ(math_->RealPointLength(&low, &high, &real), kNonFiniteErr);
  EXPECT_EQ(real, 42);
}

// ---- Real Bezier --------------------------------------------------------------------------------

TEST_F(ValueSuitesTest, EvaluateMatchesTheBernsteinFormAndHitsTheEndsExactly) {
  const AIRealBezier odd{{0.1f, -7.3f}, {1e3f, 3.3f}, {-2.7f, 0.7f}, {33.3f, 1.9f}};
  EXPECT_TRUE(same(at(odd, 0), odd.p0));
  EXPECT_TRUE(same(at(odd, 1), odd.p3));
  for (float t : {0.1f, 0.25f, 0.5f, 0.9f})
    EXPECT_POINT_NEAR(at(kCurve, t), bernstein(kCurve, t), 1e-4);

  AIRealPoint untouched{5, 5};
  EXPECT_EQ(bezier_->EvaluateBezier(&kCurve, 1.0001f, &untouched), kBadParameterErr);
  EXPECT_EQ(bezier_->EvaluateBezier(&kCurve, -0.0001f, &untouched), kBadParameterErr);
  EXPECT_EQ(bezier_->EvaluateBezier(&kCurve, kNaN, &untouched), kNonFiniteErr);
  EXPECT_TRUE(same(untouched, AIRealPoint{5, 5}));
}

TEST_F(ValueSuitesTest, DividedHalvesTraceTheCurve) {
  for (float t : {0.3f, 0.5f, 0.77f}) {
    AIRealBezier first{}, second{};
    ASSERT_EQ(bezier_->DivideBezier(&kCurve, t, &first, &second), kNoErr);
    EXPECT_TRUE(same(first.p0, kCurve.p0));
    EXPECT_TRUE(same(second.p3, kCurve.p3));
    EXPECT_TRUE(same(first.p3, second.p0));
    EXPECT_TRUE(same(first.p3, at(kCurve, t)));
    for (double u = 0; u <= 1.0; u += 0.125) {
      EXPECT_POINT_NEAR(bernstein(first, u), bernstein(kCurve, u * t), 1e-3);
      EXPECT_POINT_NEAR(bernstein(second, u), bernstein(kCurve, t + u * (1 - t)), 1e-3);
    }
  }
  // At the ends one part collapses onto the anchor and the other is the whole curve, exactly.
  AIRealBezier first{}, second{};
  ASSERT_EQ(bezier_->DivideBezier(&kCurve, 0, &first, &second), kNoErr);
  for (const AIRealPoint& p : {first.p0, first.p1, first.p2, first.p3}) {
    EXPECT_TRUE(same(p, kCurve.p0));
  }
  EXPECT_TRUE(same(second.p1, kCurve.p1) && same(second.p2, kCurve.p2));
  ASSERT_EQ(bezier_->DivideBezier(&kCurve, 1, &first, &second), kNoErr);
  for (const AIRealPoint& p : {second.p0, second.p1, second.p2, second.p3}) {
    EXPECT_TRUE(same(p, kCurve.p3));
  }
  EXPECT_TRUE(same(first.p1, kCurve.p1) && same(first.p2, kCurve.p2));
}

TEST_F(ValueSuitesTest, AdjustPassesThroughTheTargetWithTheSmallestChange) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> coord(-50, 50);
  for (float t : {0.1f, 0.33f, 0.5f, 0.8f}) {
    const AIRealPoint target{coord(rng), coord(rng)};
    AIRealBezier adjusted{};
    ASSERT_EQ(bezier_->AdjustBezierThroughPoint(&kCurve, t, &target, &adjusted), kNoErr);
    EXPECT_TRUE(same(adjusted.p0, kCurve.p0));
    EXPECT_TRUE(same(adjusted.p3, kCurve.p3));
    EXPECT_POINT_NEAR(at(adjusted, t), target, 1e-3);

    // Every other way of meeting the target, w1 Δp1 + w2 Δp2 = d, is (Δp1 + w2 k, Δp2 - w1 k)
    // for some vector k; each one moves the control points further.
    const double w1 = 3.0 * (1 - t) * (1 - t) * t, w2 = 3.0 * (1 - t) * t * t;
    const double d1h = adjusted.p1.h - kCurve.p1.h, d1v = adjusted.p1.v - kCurve.p1.v;
    const double d2h = adjusted.p2.h - kCurve.p2.h, d2v = adjusted.p2.v - kCurve.p2.v;
    const double best = d1h * d1h + d1v * d1v + d2h * d2h + d2v * d2v;
    for (int i = 0; i < 20; ++i) {
      const double kh = coord(rng) / 10.0, kv = coord(rng) / 10.0;
      const double other = std::pow(d1h + w2 * kh, 2) + std::pow(d1v + w2 * kv, 2) +
                           std::pow(d2h - w1 * kh, 2) + std::pow(d2v - w1 * kv, 2);
      EXPECT_GT(other, best);
    }
    // Moving p1 alone (Δp1 = d / w1) is one of those others.
    const AIRealPoint before = at(kCurve, t);
    const double dh = target.h - before.h, dv = target.v - before.v;
    EXPECT_GE((dh * dh + dv * dv) / (w1 * w1), best * (1 - 1e-4));
  }
}

TEST_F(ValueSuitesTest, AdjustRefusesEndsAndOverflowKeepingTheOldShape) {
  const AIRealPoint target{30, 30};
  for (float t : {0.0f, 1.0f, -0.5f, 2.0f}) {
    AIRealBezier out{{9, 9}, {9, 9}, {9, 9}, {9, 9}};
    EXPECT_EQ(bezier_->AdjustBezierThroughPoint(&kCurve, t, &target, &out), kBadParameterErr);
    EXPECT_TRUE(same(out.p1, kCurve.p1) && same(out.p2, kCurve.p2) && same(out.p3, kCurve.p3));
  }
  // So close to the start that the move needed is beyond the float range.
  AIRealBezier out{};
  EXPECT_EQ(bezier_->AdjustBezierThroughPoint(&kCurve, 1e-40f, &target, &out), kNonFiniteErr);
  EXPECT_TRUE(same(out.p1, kCurve.p1) && same(out.p2, kCurve.p2));

  AIRealBezier untouched{{9, 9}, {9, 9}, {9, 9}, {9, 9}};
  const AIRealPoint badTarget{kInf, 0};
  EXPECT_EQ(bezier_->AdjustBezierThroughPoint(&kCurve, 0.5f, &badTarget, &untouched),
            kNonFiniteErr);
  AIRealBezier badCurve = kCurve;
  badCurve.p2.v = kNaN;
  EXPECT_EQ(bezier_->AdjustBezierThroughPoint(&badCurve, 0.5f, &target, &untouched), kNonFiniteErr);
  EXPECT_EQ(bezier_->DivideBezier(&badCurve, 0.5f, &untouched, &untouched), kNonFiniteErr);
  EXPECT_TRUE(same(untouched.p0, AIRealPoint{9, 9}) && same(untouched.p3, AIRealPoint{9, 9}));
  EXPECT_EQ(bezier_->AdjustBezierThroughPoint(&kCurve, 0.5f, &target, nullptr), kBadParameterErr);
}

// ---- Unicode strings ----------------------------------------------------------------------------

TEST_F(ValueSuitesTest, UnicodeStringsRoundTripCountCodePointsAndTruncateOnBoundaries) {
  const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A, e acute, euro, emoji
  AIUnicodeStringRef s = nullptr;
  ASSERT_EQ(strings_->NewUnicodeStringFromUTF8(text.c_str(), &s), kNoErr);
  int32_t length = 0;
  ASSERT_EQ(strings_->GetLength(s, &length), kNoErr);
  EXPECT_EQ(length, 4);
  char buffer[32];
  ASSERT_EQ(strings_->GetUTF8(s, buffer, sizeof buffer), kNoErr);
  EXPECT_EQ(std::string(buffer), text);
  char small[8];  // the emoji needs 4 more bytes: it is left out whole
  EXPECT_EQ(strings_->GetUTF8(s, small, sizeof small), kBufferTooSmallErr);
  EXPECT_EQ(std::string(small), "A\xC3\xA9\xE2\x82\xAC");

  // A disposed reference stays dead: never handed out again, a second dispose is an error.
  ASSERT_EQ(strings_->DisposeUnicodeString(s), kNoErr);
  AIUnicodeStringRef next = nullptr;
  ASSERT_EQ(strings_->NewUnicodeStringFromUTF8("", &next), kNoErr);
  EXPECT_NE(next, s);
  EXPECT_EQ(strings_->DisposeUnicodeString(s), kBadHandleErr);
  EXPECT_EQ(strings_->GetLength(s, &length), kBadHandleErr);
  EXPECT_EQ(strings_->DisposeUnicodeString(nullptr), kNoErr);
  EXPECT_EQ(strings_->DisposeUnicodeString(next), kNoErr);
}

TEST_F(ValueSuitesTest, InvalidUtf8IsRefused) {
  for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF",  // overlong forms
                          "\xED\xA0\x80",              // a surrogate
                          "\xF4\x90\x80\x80",          // above U+10FFFF
                          "ab\xE2\x82", "\xC3(", "\x80", "\xFF"}) {
    AIUnicodeStringRef s = nullptr;
    EXPECT_EQ(strings_->NewUnicodeStringFromUTF8(bad, &s), kBadParameterErr) << bad;
    EXPECT_EQ(s, nullptr);
  }
}

}  // namespace
