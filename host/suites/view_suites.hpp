// Shared pieces of the view, hit test and cursor snap suites.
#pragma once

#include <string_view>

#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "suites/suite_support.hpp"

namespace sqhost {

// A tolerance in pixels from the host's own preferences, within the range of their table (the
// default when nothing valid is stored).
float tolerancePreference(std::string_view key);

extern const AIHitTestSuite kHitTestSuiteTable;
extern const AICursorSnapSuite kCursorSnapSuiteTable;

}  // namespace sqhost
