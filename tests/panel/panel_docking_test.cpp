// The point editor panel's life: made when the host has started, placed and docked as last time,
// shown and hidden from the menu, expanded and collapsed, and its docking kept at shut-down.
#include <string>

#include "panel/panel_items.hpp"
#include "panel_fixture.hpp"
#include "resources/resource_ids.hpp"
#include "sqsdk/errors.h"

namespace sqtest {
namespace {

using namespace sq;

TEST_F(PanelTest, FirstRunOpensAtItsDefaultPlaceAndKeepsItsDockingForTheNextRun) {
  startHost();
  // Created at the application-started notification, shown, 210 pixels wide, expanded.
  ASSERT_NE(manager().findDialog(kPanel), nullptr);
  EXPECT_EQ(panel().title, "Spindlequiver");
  EXPECT_EQ(panel().style, kADMTabbedFloatingDialogStyle);
  EXPECT_TRUE(panel().visible);
  EXPECT_EQ(bounds().left, 94);
  EXPECT_EQ(bounds().top, 119);
  EXPECT_EQ(bounds().right, 94 + 210);
  EXPECT_EQ(height(), 259 - 39 + 30);
  EXPECT_EQ(panel().group, "Ferncliff Dialogs");
  ASSERT_NE(panel().icons[0], nullptr);
  EXPECT_EQ(panel().icons[0]->resourceID, kPanelIconID);
  EXPECT_EQ(panel().icons[1], panel().icons[0]);
  EXPECT_TRUE(host().dialogs().dialogsShown().empty());  // no error dialog on the way

  // The user moves the panel and closes it; the next run finds it there, hidden.
  std::string error;
  ASSERT_TRUE(manager().userSetBounds(kPanel, AIRect{300, 40, 510, 290}, error)) << error;
  ASSERT_TRUE(manager().userShow(kPanel, false, error)) << error;
  stopHost();
  {
    const auto store = storedPreferences();
    EXPECT_EQ(store.getString("Spindlequiver", "DockGroup"), "Ferncliff Dialogs");
    EXPECT_EQ(store.getInteger("Spindlequiver", "DockCode"), 0);
    EXPECT_EQ(store.getPoint("Spindlequiver", "PLocation"), (sqhost::PreferencePoint{300, 40}));
    EXPECT_EQ(store.getBoolean("Spindlequiver", "PVisible"), false);
  }
  startHost();
  EXPECT_FALSE(panel().visible);
  EXPECT_EQ(bounds().left, 300);
  EXPECT_EQ(bounds().top, 40);
  EXPECT_EQ(height(), 250);
  stopHost();
  EXPECT_EQ(storedPreferences().getBoolean("Spindlequiver", "PVisible"), false);
}

TEST_F(PanelTest, StoredDockingPutsThePanelInItsGroupAtItsTab) {
  {
    sqhost::PreferenceStore store(prefsFile());
    store.putString("Spindlequiver", "DockGroup", "Side Panels");
    store.putInteger("Spindlequiver", "DockCode", 3);  // clamped to the group's only tab
    store.putPoint("Spindlequiver", "PLocation", {12, 34});
    ASSERT_TRUE(store.save().ok());
  }
  startHost();
  EXPECT_EQ(panel().group, "Side Panels");
  EXPECT_EQ(bounds().left, 12);
  EXPECT_EQ(bounds().top, 34);
  stopHost();
  const auto store = storedPreferences();
  EXPECT_EQ(store.getString("Spindlequiver", "DockGroup"), "Side Panels");
  EXPECT_EQ(store.getInteger("Spindlequiver", "DockCode"), 0);
}

TEST_F(PanelTest, AdditionalOptionsChangeTheHeightByTheirStrip) {
  {
    sqhost::PreferenceStore store(prefsFile());
    store.putBoolean("Spindlequiver", "expanded", false);
    ASSERT_TRUE(store.save().ok());
  }
  startHost();
  EXPECT_EQ(height(), 220);  // 30 pixels shorter than expanded
  openFlyout(0);
  EXPECT_EQ(entryText(kEntryOptions), "Show additional options");
  choose(kEntryOptions);
  EXPECT_EQ(height(), 250);
  EXPECT_EQ(bounds().top, 119);
  openFlyout(0);
  EXPECT_EQ(entryText(kEntryOptions), "Hide additional options");
  choose(kEntryOptions);
  EXPECT_EQ(height(), 220);
  choose(kEntryOptions);
  stopHost();
  // The last choice is the setting the next run starts with.
  EXPECT_EQ(storedPreferences().getBoolean("Spindlequiver", "expanded"), true);
  startHost();
  EXPECT_EQ(height(), 250);
}

TEST_F(PanelTest, TheMenuItemShowsAndHidesThePanelAndIsCheckedWhileItIsShown) {
  startHost();
  EXPECT_EQ(menuItem().text, "Spindlequiver");
  EXPECT_EQ(sendMenu(kSelectorAIUpdateMenuItem), kNoErr);
  EXPECT_TRUE(menuItem().checked);
  EXPECT_EQ(sendMenu(kSelectorAIGoMenuItem), kNoErr);
  EXPECT_FALSE(panel().visible);
  EXPECT_EQ(sendMenu(kSelectorAIUpdateMenuItem), kNoErr);
  EXPECT_FALSE(menuItem().checked);
  // Shown again from the menu, or by the user: the check mark follows at the next update.
  sendMenu(kSelectorAIGoMenuItem);
  EXPECT_TRUE(panel().visible);
  std::string error;
  ASSERT_TRUE(manager().userShow(kPanel, false, error)) << error;
  sendMenu(kSelectorAIUpdateMenuItem);
  EXPECT_FALSE(menuItem().checked);
  // The panel holds one acquisition of the suites while it exists, and gives it back.
  EXPECT_EQ(host().suites().totalUseCount(), 40);
  stopHost();
}

TEST_F(PanelTest, ItemsHaveTheirTextsPicturesAndTips) {
  startHost();
  EXPECT_EQ(text(kStatusLine), "No paths selected");
  EXPECT_EQ(text(kRedundantWarning), "!");
  EXPECT_EQ(item(kRedundantWarning).font, 6);
  EXPECT_EQ(item(kRedundantWarning).tip,
            "There are redundant points on one or more selected paths");
  EXPECT_EQ(item(kSmartRemoveButton).tip,
            "Smart remove point(s) and close path (Alt-click to use regular remove)");
  EXPECT_EQ(item(kFirstPointButton).tip, "Select first point on path");
  EXPECT_EQ(text(kRelativeFrame), "Relative adjustments");
  EXPECT_EQ(text(kAbsoluteFrame), "Absolute adjustments");
  EXPECT_EQ(text(kInLabel), "In");
  EXPECT_EQ(text(kOutLabel), "Out");
  // Every picture is there, at the size of its item.
  for (const int32_t id :
       {kInAngleMark, kAnchorMark, kInMark, kOutMark, kLinkMark, kRetractButton, kNextPointButton,
        kFirstPointButton, kIncrementButton, kSetAngleButton}) {
    SCOPED_TRACE(id);
    const sqhost::Item& i = item(id);
    ASSERT_NE(i.picture, nullptr);
    EXPECT_EQ(i.picture->width, i.bounds.right - i.bounds.left);
    EXPECT_EQ(i.picture->height, i.bounds.bottom - i.bounds.top);
  }
  EXPECT_EQ(item(kRetractButton).disabledPicture->resourceID, kRetractDisabledPicture);
  EXPECT_EQ(item(kAnchorMark).style, 2);
  ASSERT_TRUE(item(kAnchorMark).cursor.has_value());
  EXPECT_EQ(item(kAnchorMark).cursor->id, -9);
  // The amounts start from the stored adjustment values, in their units.
  EXPECT_EQ(text(kIncrementField), "1 pt");
  EXPECT_EQ(text(kScaleField), "100");
  EXPECT_EQ(text(kRotateField), "0°");
  // The flyout has its menu, the first entry disabled until something is selected.
  ASSERT_EQ(flyout().entries.size(), 19u);
  EXPECT_EQ(entryText(kEntryPreferences), "Spindlequiver Preferences...");
  EXPECT_TRUE(flyout().entries[14]->separator);
  EXPECT_EQ(enabledEntries().count(kEntrySelectHandles), 0u);
}

}  // namespace
}  // namespace sqtest
