// What the point editor panel shows of the selection: the states after a refresh with their texts
// and what is enabled, the path summary, the point fields in the panel's coordinates and units,
// the flyout's wording for the keys held, and the notifications that bring the panel up to date.
#include "panel/panel_status.hpp"

#include <string>

#include "panel/panel_items.hpp"
#include "panel_fixture.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_types.h"

namespace sqtest {
namespace {

using namespace sq;
using Ids = std::set<int32_t>;

// p: an open path of three points, point 1 smooth at (160, 100) with its in handle at (140, 80)
// and its out handle at (180, 120); q: a closed triangle; r: a second open path.
constexpr const char* kDrawing =
    R"(<path id="p" sodipodi:nodetypes="csc" d="M 100 100 C 100 100 140 80 160 100 C 180 120 220 100 220 100"/>
       <path id="q" d="M 300 300 L 350 300 L 350 350 Z"/>
       <path id="r" d="M 20 380 L 80 380 L 120 340"/>)";

class PanelStatus : public PanelTest {
 protected:
  void SetUp() override { start(kDrawing); }
  void start(const std::string& drawing) {
    startHost();
    driver().open(drawing);
    host().idle();
  }
};

TEST_F(PanelStatus, FiveStatesWithTheirTextsAndEnabledItems) {
  // No paths.
  EXPECT_EQ(text(kStatusLine), "No paths selected");
  EXPECT_EQ(text(kIndexLine), " ");
  EXPECT_EQ(enabledOf(kRetractButton, kSmartRemoveButton), Ids{});
  EXPECT_EQ(shownOf(kRetractButton, kSmartRemoveButton),
            (Ids{kRetractButton, kSmoothButton, kCornerButton, kSplitButton, kSmartRemoveButton}));
  EXPECT_EQ(enabledOf(kAnchorXLabel, 31), Ids{});
  EXPECT_EQ(shownOf(kPreviousPointButton, kLinkMark), Ids{});
  EXPECT_EQ(enabledEntries(), (Ids{kEntryRulers, kEntryOptions, kEntryPreferences}));

  // One smooth point: its fields, the stepping buttons and the link mark.
  run("select point p 1");
  EXPECT_EQ(text(kStatusLine), "Smooth point selected");
  EXPECT_EQ(enabledOf(kIndexLine, kNextPointButton).size(), 37u);
  EXPECT_EQ(shownOf(kFirstPointButton, kIncrementButton), Ids{});
  EXPECT_TRUE(visible(kLinkMark));
  EXPECT_FALSE(visible(kRedundantWarning));
  EXPECT_EQ(text(kIndexLine), "Point 1 (Range: 0 - 2)");
  EXPECT_EQ(width(kIndexLine), 148);
  EXPECT_EQ(enabledEntries(),
            (Ids{kEntrySelectHandles, kEntryCopyHandles, kEntryPasteHandles, kEntryClosePath,
                 kEntryReverse, kEntryTangencies, kEntryRulers, kEntryOptions, kEntryPreferences}));

  // A corner point has no link mark.
  run("select none\nselect point p 2");
  EXPECT_EQ(text(kStatusLine), "Corner point selected");
  EXPECT_FALSE(visible(kLinkMark));
  EXPECT_EQ(text(kIndexLine), "Point 2 (Range: 0 - 2)");

  // Several points of one path: the buttons act on them, the fields do not.
  run("select none\nselect path p");
  EXPECT_EQ(text(kStatusLine), "3 points selected");
  EXPECT_EQ(enabledOf(kRetractButton, kSmartRemoveButton).size(), 5u);
  EXPECT_EQ(enabledOf(kAnchorXLabel, 31), Ids{});
  EXPECT_EQ(shownOf(kPreviousPointButton, kFirstPointButton), Ids{kFirstPointButton});
  EXPECT_EQ(text(kIndexLine), "1 path (Open)");
  EXPECT_EQ(width(kIndexLine), 108);
  EXPECT_EQ(enabledEntries().count(kEntryCopyHandles), 0u);
  EXPECT_EQ(enabledEntries().count(kEntrySelectHandles), 1u);

  // Several paths: no first-point button, the summary has the room.
  run("select path q");
  EXPECT_EQ(text(kStatusLine), "6 points selected");
  EXPECT_FALSE(visible(kFirstPointButton));
  EXPECT_EQ(text(kIndexLine), "2 paths (1 closed, 1 open)");
  EXPECT_EQ(width(kIndexLine), 190);
  openFlyout(0);
  EXPECT_EQ(entryText(kEntryReverse), "Reverse path directions");
  EXPECT_EQ(entryText(kEntryClosePath), "Close path");  // one open path

  // A path selected by a handle side only: no points.
  run("select none\nselect point r 1 3");
  EXPECT_EQ(text(kStatusLine), "No points selected");
  EXPECT_EQ(enabledOf(kRetractButton, kSmartRemoveButton), Ids{});
  EXPECT_TRUE(visible(kFirstPointButton));
  EXPECT_EQ(text(kIndexLine), "1 path (Open)");
  EXPECT_EQ(enabledEntries(), (Ids{kEntryClosePath, kEntryReverse, kEntryTangencies, kEntryRulers,
                                   kEntryOptions, kEntryPreferences}));

  // Nothing again.
  run("select none");
  EXPECT_EQ(text(kStatusLine), "No paths selected");
  EXPECT_FALSE(visible(kFirstPointButton));
}

TEST(PathSummary, WordingForEveryMixOfPaths) {
  struct Case {
    int32_t paths, singlePoint, closed;
    const char* text;
  };
  const Case cases[] = {
      {1, 0, 1, "1 path (Closed)"},
      {1, 0, 0, "1 path (Open)"},
      {1, 1, 0, "1 path (Open)"},
      {3, 0, 3, "3 paths (All closed)"},
      {2, 0, 1, "2 paths (1 closed, 1 open)"},
      {3, 2, 1, "3 paths (1 closed, 2 single-point)"},
      {4, 1, 1, "4 paths (1 closed, 2 open, 1 single-point)"},
      {2, 0, 0, "2 paths (All open)"},
      {2, 2, 0, "2 paths (All single-point)"},
      {3, 1, 0, "3 paths (2 open, 1 single-point)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PathSummaryText(c.paths, c.singlePoint, c.closed), c.text);
  }
}

TEST_F(PanelStatus, SinglePointPathsAndRedundantPointsDecideTheEntries) {
  stopHost();
  // s and t have one point each; u has a redundant point 2 on point 1.
  start(R"(<path id="q" d="M 300 300 L 350 300 L 350 350 Z"/>
           <path id="s" d="M 50 50"/>
           <path id="t" d="M 70 50"/>
           <path id="u" d="M 10 200 L 60 200 L 60 200 L 90 240"/>)");
  run("select path q\nselect path s\nselect path t");
  EXPECT_EQ(text(kIndexLine), "3 paths (1 closed, 2 single-point)");
  Ids entries = enabledEntries();
  EXPECT_EQ(entries.count(kEntryClosePath), 0u);  // no open path of two or more points
  EXPECT_EQ(entries.count(kEntryReverse), 1u);
  EXPECT_EQ(entries.count(kEntryTangencies), 1u);
  EXPECT_EQ(entries.count(kEntryConnectors), 0u);  // connectors are not recognised
  EXPECT_EQ(entries.count(kEntryRemoveRedundant), 0u);
  EXPECT_FALSE(visible(kRedundantWarning));
  openFlyout(0);
  EXPECT_EQ(entryText(kEntryReverse), "Reverse path direction");

  run("select none\nselect path s\nselect path t");
  EXPECT_EQ(text(kIndexLine), "2 paths (All single-point)");
  entries = enabledEntries();
  for (const int32_t entry : {kEntryClosePath, kEntryReverse, kEntryTangencies, kEntryConnectors}) {
    EXPECT_EQ(entries.count(entry), 0u) << entry;
  }

  run("select none\nselect point u 0");
  EXPECT_TRUE(visible(kRedundantWarning));
  EXPECT_EQ(enabledEntries().count(kEntryRemoveRedundant), 1u);
  run("move-point u 2 0 5");  // no longer on top of point 1
  EXPECT_FALSE(visible(kRedundantWarning));
  EXPECT_EQ(enabledEntries().count(kEntryRemoveRedundant), 0u);
}

TEST_F(PanelStatus, PointFieldsFollowTheRulersAndTheUnits) {
  run("select point p 1");
  // SVG y runs down as the default rulers do: the panel shows the drawing's own numbers.
  EXPECT_EQ(text(kAnchorXField), "160 pt");
  EXPECT_EQ(text(kAnchorYField), "100 pt");
  EXPECT_EQ(text(kInXField), "140 pt");
  EXPECT_EQ(text(kInYField), "80 pt");
  EXPECT_EQ(text(kInLengthField), "28.284 pt");
  EXPECT_EQ(text(kInAngleField), "135°");
  EXPECT_EQ(text(kOutYField), "120 pt");
  EXPECT_EQ(text(kOutAngleField), "-45°");

  // Artboard rulers measure from the artboard's corner and its ruler origin; angles and lengths
  // stay as they are.
  sqhost::PageState page = host().currentDocument()->pageState();
  page.artboards[0].bounds = AIRealRect{50, -30, 450, -430};
  page.artboards[0].rulerOrigin = AIRealPoint{10, 5};
  ASSERT_EQ(host().currentDocument()->setPageState(page), kNoErr);
  openFlyout(0);
  EXPECT_EQ(entryText(kEntryRulers), "Use artboard rulers");
  choose(kEntryRulers);
  EXPECT_EQ(text(kAnchorXField), "100 pt");  // 160 - 50 - 10
  EXPECT_EQ(text(kAnchorYField), "65 pt");   // -(-100 + 30 + 5)
  EXPECT_EQ(text(kInLengthField), "28.284 pt");
  EXPECT_EQ(text(kInAngleField), "135°");
  openFlyout(0);
  EXPECT_EQ(entryText(kEntryRulers), "Use global rulers");
  // The host's change of coordinate system switches back, twice in a row is no change.
  notify("AI Current Coordinate System Changed Notifier");
  EXPECT_EQ(text(kAnchorXField), "160 pt");
  notify("AI Current Coordinate System Changed Notifier");
  notify("AI Current Coordinate System Changed Notifier");
  EXPECT_EQ(text(kAnchorXField), "160 pt");

  // The host's general units change: lengths follow, angles stay in degrees, the precision holds.
  manager().setAppUnits(kADMInchUnits);
  host().idle();
  EXPECT_EQ(text(kAnchorXField), "2.222 in");
  EXPECT_EQ(value(kAnchorXField), 160);
  EXPECT_EQ(text(kInAngleField), "135°");
  EXPECT_EQ(text(kIncrementField), "0.014 in");
  // A value typed in other units is read in points and shown in the panel's.
  type(kAnchorXField, "3 mm");
  EXPECT_NEAR(value(kAnchorXField), 3 * 72 / 25.4, 1e-4);
  EXPECT_EQ(text(kAnchorXField), "0.118 in");
}

TEST_F(PanelStatus, UpsideDownRulersAndPrecisionComeFromThePreferences) {
  stopHost();
  {
    sqhost::PreferenceStore store(prefsFile());
    store.putBoolean("", "isRulerIn4thQuad", false);
    store.putInteger("Spindlequiver", "precision", 2);
    ASSERT_TRUE(store.save().ok());
  }
  start(kDrawing);
  run("select point p 1");
  EXPECT_EQ(text(kAnchorXField), "160 pt");
  EXPECT_EQ(text(kAnchorYField), "-100 pt");
  EXPECT_EQ(text(kInLengthField), "28.28 pt");
  EXPECT_EQ(text(kInAngleField), "135°");  // angles keep their three decimals and direction
}

TEST_F(PanelStatus, FlyoutWordingFollowsTheKeysHeldWhenItOpens) {
  struct Case {
    int32_t keys;
    const char* selectHandles;
    const char* tangencies;
    const char* closeOne;
    const char* closeSeveral;
  };
  constexpr int32_t kShift = kAIShiftModifier, kCtrl = kAICtrlModifier, kAlt = kAIAltModifier;
  const Case cases[] = {
      {0, "Select handles of selected points", "Add points at tangencies", "Close path",
       "Close paths"},
      {kShift, "Select handles of selected points", "Move points to tangencies", "Close path",
       "Close paths"},
      {kCtrl, "Select out handles of selected points", "Add points at vertical tangencies",
       "Close path", "Close paths"},
      {kCtrl | kShift, "Select out handles of selected points",
       "Move points to vertical tangencies", "Close path", "Close paths"},
      {kAlt, "Select in handles of selected points", "Add points at horizontal tangencies",
       "Close path (ignore endpoint handles)", "Close paths (ignore endpoint handles)"},
      {kAlt | kShift, "Select in handles of selected points",
       "Move points to horizontal tangencies", "Close path (ignore endpoint handles)",
       "Close paths (ignore endpoint handles)"},
      {kAlt | kCtrl, "Select in handles of selected points", "Add points at horizontal tangencies",
       "Close path (ignore endpoint handles)", "Close paths (ignore endpoint handles)"},
      {kAlt | kCtrl | kShift, "Select in handles of selected points",
       "Move points to horizontal tangencies", "Close path (ignore endpoint handles)",
       "Close paths (ignore endpoint handles)"},
  };
  for (const bool several : {false, true}) {
    run(several ? "select path p\nselect path r" : "select none\nselect path p");
    // Every combination after every other, so no wording is left over from an earlier opening.
    for (const Case& before : cases) {
      for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(before.keys) + " then " + std::to_string(c.keys));
        openFlyout(before.keys);
        openFlyout(c.keys);
        EXPECT_EQ(entryText(kEntrySelectHandles), c.selectHandles);
        EXPECT_EQ(entryText(kEntryTangencies), c.tangencies);
        EXPECT_EQ(entryText(kEntryClosePath), several ? c.closeSeveral : c.closeOne);
      }
    }
  }
}

TEST_F(PanelStatus, PanelFollowsTheSelectionAndTheArtwork) {
  run("select point p 1");
  EXPECT_EQ(text(kStatusLine), "Smooth point selected");
  // Moving the point shows its new place at once.
  run("move-point p 1 10 0");
  EXPECT_EQ(text(kAnchorXField), "170 pt");
  // Another document in front, nothing selected in it.
  driver().open(kDrawing);
  run("select none");
  EXPECT_EQ(text(kStatusLine), "No paths selected");
  EXPECT_EQ(enabledOf(kAnchorXLabel, 31), Ids{});
}

}  // namespace
}  // namespace sqtest
