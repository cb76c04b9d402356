// Every SDK header compiled as C++, and every record laid out the same in C and in C++.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sdk_layouts.h"

namespace {

#define SQ_RECORD(type) SqRecordLayout{#type, sizeof(type), alignof(type)},
const std::vector<SqRecordLayout> kCppLayouts = {SQ_EVERY_SDK_RECORD};
#undef SQ_RECORD

TEST(SdkHeaders, EveryRecordHasTheSameLayoutInCAndCpp) {
  // The suite tables and message records are among them, so the list is never short.
  ASSERT_GE(kCppLayouts.size(), 40u);
  ASSERT_EQ(kSqCLayoutCount, kCppLayouts.size());
  for (std::size_t i = 0; i < kCppLayouts.size(); ++i) {
    const SqRecordLayout& c = kSqCLayouts[i];
    const SqRecordLayout& cpp = kCppLayouts[i];
    ASSERT_STREQ(c.name, cpp.name);
    EXPECT_EQ(c.size, cpp.size) << cpp.name;
    EXPECT_EQ(c.alignment, cpp.alignment) << cpp.name;
  }
}

}  // namespace
