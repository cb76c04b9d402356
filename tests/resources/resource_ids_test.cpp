// The resource ids header against the resource table: every entry has a named id, and every named
// id has its entries.
#include "resources/resource_ids.hpp"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "shell/plugin_state.hpp"
#include "sqsdk/plugin_properties.h"

namespace {

using Key = std::tuple<AIFourCC, int32_t, int32_t>;  // type, id, index

// Every (type, id, index) the header names, with the number of pictures each picture id holds.
std::set<Key> namedResources() {
  std::set<Key> named = {
      {kSPPropertyListResourceType, kSPPropertyListResourceID, 0},
      {kSPStringListResourceType, sq::kErrorStringList, 0},
      {kSPDialogResourceType, sq::kAboutDialogID, 0},
      {kSPDialogResourceType, sq::kErrorDialogID, 0},
      {kSPDialogResourceType, sq::kPreferencesDialogID, 0},
      {kSPDialogResourceType, sq::kPanelDialogID, 0},
      {kSPMenuResourceType, sq::kPrecisionMenuID, 0},
      {kSPMenuResourceType, sq::kSmoothingMenuID, 0},
      {kSPMenuResourceType, sq::kShiftMultiplierMenuID, 0},
      {kSPMenuResourceType, sq::kSlowDragMenuID, 0},
      {kSPMenuResourceType, sq::kConnectorAngleMenuID, 0},
      {kSPMenuResourceType, sq::kFlyoutMenuID, 0},
      {kSPPNGImageResourceType, sq::kToolIconID, 0},
      {kSPPNGImageResourceType, sq::kRingIconID, 0},
      {kSPPNGImageResourceType, sq::kDotIconID, 0},
  };
  for (const int32_t id : {sq::kAngleMarkPicture,
                           sq::kAnchorMarkPicture,
                           sq::kInMarkPicture,
                           sq::kOutMarkPicture,
                           sq::kRetractPicture,
                           sq::kSmoothPicture,
                           sq::kCornerPicture,
                           sq::kSplitPicture,
                           sq::kSmartRemovePicture,
                           sq::kAnchorMarkDisabledPicture,
                           sq::kInMarkDisabledPicture,
                           sq::kOutMarkDisabledPicture,
                           sq::kAngleMarkDisabledPicture,
                           sq::kIncrementWordsPicture,
                           sq::kScaleWordsPicture,
                           sq::kRotateWordsPicture,
                           sq::kSetLengthWordsPicture,
                           sq::kSetAngleWordsPicture,
                           sq::kRetractDisabledPicture,
                           sq::kSmoothDisabledPicture,
                           sq::kCornerDisabledPicture,
                           sq::kSplitDisabledPicture,
                           sq::kSmartRemoveDisabledPicture,
                           sq::kPreviousPointPicture,
                           sq::kNextPointPicture,
                           sq::kPreviousPointDisabledPicture,
                           sq::kNextPointDisabledPicture,
                           sq::kPanelIconID,
                           sq::kLinkMarkPicture,
                           sq::kFirstPointWordsPicture}) {
    named.insert({kSPPNGImageResourceType, id, 0});
  }
  for (int32_t i = 0; i < sq::kLabelCount; ++i) {
    named.insert({kSPPNGImageResourceType, sq::kLabelIconID, i});
  }
  for (int32_t i = 0; i < sq::kArrowheadCount; ++i) {
    named.insert({kSPPNGImageResourceType, sq::kArrowheadIconID, i});
  }
  for (int32_t code = 0; code < sq::kCursorCount; ++code) {
    named.insert({kSPCursorResourceType, sq::CursorResourceID(code), 0});
  }
  return named;
}

TEST(ResourceIds, NameEveryEntryOfTheTableAndNothingElse) {
  std::set<Key> inTable;
  for (int32_t i = 0; i < sq::kResourceEntryCount; ++i) {
    const SPResourceEntry& e = sq::kResourceEntries[i];
    EXPECT_TRUE(inTable.insert({e.type, e.id, e.index}).second) << "twice: " << e.id;
  }
  EXPECT_EQ(inTable, namedResources());
  EXPECT_EQ(sq::CursorResourceID(sq::kCursorAddPoint), sq::kCursorBaseID + sq::kCursorCount - 1);
}

}  // namespace
