// Shared pieces of the view, hit test and cursor snap suites.
#pragma once

#include <string_view>

#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "suites/suite_support.hpp"

namespace sqhost {

// A tolerance in pixels from the host's own preferences (an integer, or a real), 6 when not
// stored; never negative.
float tolerancePreference(std::string_view key);

extern const AIHitTestSuite kHitTestSuiteTable;
extern const AICursorSnapSuite kCursorSnapSuiteTable;

}  // namespace sqhost
