// Choosing the tool and putting it away: annotator and notifiers follow, the views are redrawn.
#include <gtest/gtest.h>

#include "support/host_fixture.hpp"

namespace {

using ToolSelection = sqtest::HostTest;

TEST_F(ToolSelection, ChoosingActivatesAnnotatorAndNotifiersAndPuttingAwayUndoesPart) {
  sqhost::Host& h = startHost();
  driver().open(R"(<svg xmlns="http://www.w3.org/2000/svg"><path d="M 0 0 L 10 10"/></svg>)");
  h.deliverNotifications();
  const auto& r = h.registrations();
  sqhost::ToolRecord* tool = r.toolByName("Spindlequiver Tool");
  ASSERT_NE(tool, nullptr);

  h.selectTool(*tool);
  EXPECT_EQ(lastResult("AI Tool", "AI Select"), kNoErr);
  EXPECT_TRUE(r.annotators()[0]->active);
  EXPECT_TRUE(r.notifiers()[0]->active);  // document view changed
  EXPECT_TRUE(r.notifiers()[3]->active);  // layer options

  h.currentView()->dirty.clear();
  h.selectTool(*r.toolByName("Pen Tool"));
  EXPECT_EQ(lastResult("AI Tool", "AI Deselect"), kNoErr);
  EXPECT_FALSE(r.annotators()[0]->active);
  EXPECT_TRUE(r.notifiers()[0]->active);  // stays on
  EXPECT_FALSE(r.notifiers()[3]->active);
  // The whole view was invalidated so the tool's marks disappear.
  ASSERT_FALSE(h.currentView()->dirty.empty());
  const AIRect whole = h.currentView()->dirty.back();
  EXPECT_EQ(whole.left, 0);
  EXPECT_EQ(whole.top, 0);
  EXPECT_EQ(whole.right, h.currentView()->width);
  EXPECT_EQ(whole.bottom, h.currentView()->height);
  EXPECT_TRUE(h.dialogs().dialogsShown().empty());
}

}  // namespace
