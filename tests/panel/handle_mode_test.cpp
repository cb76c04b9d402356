// The panel while the tool keeps handles selected: the adjustment group in place of the point
// group, the handle counts, the selected handle's length and angle, and the way back. The tool's
// gestures that select handles are the tool's; here the point table is filled directly.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dialogs/dialog_manager.hpp"
#include "geometry/point_table.hpp"
#include "panel/panel_items.hpp"
#include "panel/panel_lifecycle.hpp"
#include "panel/panel_status.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/suites/adm_dialog.h"
#include "support/in_process_plugin.hpp"

namespace sqtest {
namespace {

using namespace sq;
using Ids = std::set<int32_t>;

class HandleMode : public ::testing::Test {
 protected:
  void SetUp() override {
    plugin.open(R"(<path id="p" sodipodi:nodetypes="csc"
                     d="M 100 100 C 100 100 140 80 160 100 C 180 120 220 100 220 100"/>)");
    ASSERT_FALSE(HasFatalFailure());
    s().basic = plugin.host().basicSuite();
    ASSERT_EQ(CreatePanel(s(), plugin.pluginRef()), kNoErr);
    ASSERT_NE(s().panelDialog, nullptr);
  }
  void TearDown() override {
    DestroyPanel(s());
    plugin.close();
  }

  PluginState& s() { return plugin.state(); }
  sqhost::Item& item(int32_t id) {
    return *plugin.host().dialogs().findDialog(kPanelName)->findItem(id);
  }
  std::string text(int32_t id) { return plugin.host().dialogs().itemText(item(id)); }
  Ids shownOf(int32_t first, int32_t last) {
    Ids ids;
    for (int32_t id = first; id <= last; ++id) {
      if (item(id).visible) ids.insert(id);
    }
    return ids;
  }
  Ids enabledEntries() {
    Ids ids;
    const auto& entries = item(kADMMenuItemID).list->entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i]->enabled) ids.insert(static_cast<int32_t>(i));
    }
    return ids;
  }
  void keep(int index, bool in, bool out) {
    AIPathSegment segment{};
    const auto& path = plugin.artNamed("p").path();
    segment = path.segment(static_cast<std::size_t>(index));
    ASSERT_TRUE(appendEntry(s(), plugin.art("p"), index, segment, in, out).has_value());
  }

  InProcessPlugin plugin;
};

TEST_F(HandleMode, AdjustmentGroupShowsTheKeptHandles) {
  Ids adjustments;
  for (int32_t id = kIncrementButton; id <= kModeLine; ++id) adjustments.insert(id);

  keep(1, true, false);
  ASSERT_EQ(RefreshPanel(s()), kNoErr);
  ASSERT_EQ(ShowHandleSelection(s()), kNoErr);
  EXPECT_EQ(text(kStatusLine), "1 in handle selected");
  EXPECT_EQ(shownOf(kIndexLine, kFirstPointButton), Ids{});
  EXPECT_EQ(shownOf(kIncrementButton, kLinkMark), adjustments);
  // The one handle's length and angle are the amounts to set.
  EXPECT_NEAR(s().MHSetLength, 28.2843, 1e-4);
  EXPECT_NEAR(s().MHSetAngle, 135, 1e-4);
  EXPECT_EQ(text(kSetLengthField), "28.284 pt");
  EXPECT_EQ(text(kSetAngleField), "135°");
  EXPECT_EQ(enabledEntries(),
            (Ids{kEntryCopyHandles, kEntryPasteHandles, kEntryDeselectIn, kEntryDeselectOut,
                 kEntrySelectOpposite, kEntryRulers, kEntryOptions, kEntryPreferences}));

  // Both handles of the point, then a second point: counts, and copying needs one point.
  setHandleFlag(s(), 0, kOutHandleFlag);
  ShowHandleSelection(s());
  EXPECT_EQ(text(kStatusLine), "2 handles selected (1 in, 1 out)");
  keep(2, true, false);
  ShowHandleSelection(s());
  EXPECT_EQ(text(kStatusLine), "3 handles selected (2 in, 1 out)");
  EXPECT_EQ(enabledEntries().count(kEntryCopyHandles), 0u);

  ShowRotationMode(s(), true);
  EXPECT_EQ(text(kModeLine), "Counter-rotation mode (press 'C' to toggle)");
  s().settings.counterrotate = 0;
  ShowRotationMode(s(), false);
  EXPECT_EQ(text(kModeLine), "Normal rotation mode");

  // The table emptied: back to the point group, with what the host has selected.
  clearEntries(s());
  RefreshPanel(s());
  EXPECT_EQ(shownOf(kIncrementButton, kModeLine), Ids{});
  EXPECT_EQ(text(kStatusLine), "No paths selected");
  EXPECT_TRUE(item(kAnchorXLabel).visible);
  EXPECT_FALSE(item(kAnchorXLabel).enabled);
}

}  // namespace
}  // namespace sqtest
