// The menu command and Show/Hide Edges from scripts, with the real plug-in's menu item.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "sqsdk/messages.h"
#include "support/host_fixture.hpp"

namespace {

class MenuEdges : public sqtest::HostTest {
 protected:
  // The selectors of the menu messages sent since index from.
  std::vector<std::string> menuMessagesSince(std::size_t from) {
    std::vector<std::string> selectors;
    const auto& results = host().messageResults();
    for (std::size_t i = from; i < results.size(); ++i) {
      if (results[i].caller == kCallerAIMenu) selectors.push_back(results[i].selector);
    }
    return selectors;
  }
};

TEST_F(MenuEdges, ChoosingAMenuItemUpdatesTheMenusFirstAndTheReportListsThem) {
  startHost();
  std::size_t mark = host().messageResults().size();
  ASSERT_TRUE(driver().run("menu \"Spindlequiver\"\n"));
  EXPECT_EQ(menuMessagesSince(mark),
            (std::vector<std::string>{kSelectorAIUpdateMenuItem, kSelectorAIGoMenuItem}));
  EXPECT_TRUE(noted("menu item \"Spindlequiver\" chosen (Tool Palettes)"));

  mark = host().messageResults().size();
  const nlohmann::json r = driver().report();
  EXPECT_EQ(menuMessagesSince(mark), (std::vector<std::string>{kSelectorAIUpdateMenuItem}));
  ASSERT_EQ(r["menus"].size(), 1u);
  EXPECT_EQ(r["menus"][0]["name"], "Spindlequiver");
  EXPECT_EQ(r["menus"][0]["text"], "Spindlequiver");
  EXPECT_EQ(r["menus"][0]["group"], "Tool Palettes");
  EXPECT_EQ(r["menus"][0]["enabled"], true);
  EXPECT_TRUE(r["menus"][0]["checked"].is_boolean());

  EXPECT_FALSE(driver().run("menu \"Spindlequiver Tool\"\n"));
  EXPECT_TRUE(noted("no menu item is named \"Spindlequiver Tool\""));
}

TEST_F(MenuEdges, ShowHideEdgesNotifiesAndRefusesWhatIsAlreadySo) {
  startHost();
  EXPECT_EQ(driver().report()["edgesShown"], true);
  const std::size_t mark = host().messageResults().size();
  ASSERT_TRUE(driver().run("edges hide\n"));
  bool notified = false;
  const auto& results = host().messageResults();
  for (std::size_t i = mark; i < results.size(); ++i) {
    notified = notified || results[i].selector == kSelectorAINotify;
  }
  EXPECT_TRUE(notified);  // the plug-in subscribed to the command's notification
  EXPECT_EQ(driver().report()["edgesShown"], false);
  EXPECT_FALSE(driver().run("edges hide\n"));
  EXPECT_TRUE(noted("the edges are already hidden"));
  ASSERT_TRUE(driver().run("edges show\n"));
  EXPECT_EQ(driver().report()["edgesShown"], true);
}

}  // namespace
