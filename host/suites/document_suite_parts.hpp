// The groups of document-side suites published together by publishDocumentSuites.
#pragma once

#include <cfloat>
#include <cmath>

#include "app/suite_registry.hpp"
#include "sqsdk/types.h"

namespace sqhost {

// "AI Real Math Suite" and "AI Real Bezier Suite".
void publishMathSuites(SuiteRegistry& registry);
// "AI Unicode String Suite".
void publishUnicodeStringSuite(SuiteRegistry& registry);

// Rounds a result to single precision; false when it would round to an infinity (or is not
// finite). Values below FLT_MAX plus half its last place round down to FLT_MAX.
inline bool roundToReal(double x, AIReal& out) {
  constexpr double kLimit = static_cast<double>(FLT_MAX) + 0x1p103;
  if (!(std::fabs(x) < kLimit)) return false;
  out = static_cast<AIReal>(x);
  return true;
}

}  // namespace sqhost
