// Floating panels driven by script lines: the flyout menu, item actions with keys, the report.
#include <string>
#include <vector>

#include "dialog_fixture.hpp"
#include "sqsdk/messages.h"

namespace sqtest {
namespace {

std::vector<std::string> gLog;
constexpr int32_t kFlyoutMenu = 700;

void log(const std::string& line) {
  gLog.push_back(line);
}

AIBoolean trackFlyout(ADMItemRef item, ADMTrackerRef tracker) {
  int32_t action = 0;
  gAdm.tracker->GetAction(tracker, &action);
  if (action == kADMButtonDownAction) {
    AIBoolean alt = 0;
    AIBoolean ctrl = 0;
    gAdm.tracker->TestModifier(tracker, kAIAltModifier, &alt);
    gAdm.tracker->TestModifier(tracker, kAICtrlModifier, &ctrl);
    ADMListRef list = nullptr;
    gAdm.item->GetList(item, &list);
    ADMEntryRef entry = nullptr;
    gAdm.list->GetEntry(list, 0, &entry);
    gAdm.entry->SetText(entry, alt    ? "Select in handles"
                               : ctrl ? "Select out handles"
                                      : "Select handles");
  }
  AIBoolean handled = 0;
  gAdm.item->DefaultTrack(item, tracker, &handled);
  return handled;
}

AIErr flyoutChosen(ADMItemRef item, ADMNotifierRef notifier) {
  if (!isType(notifier, kADMUserChangedNotifier)) return kNoErr;
  ADMListRef list = nullptr;
  gAdm.item->GetList(item, &list);
  ADMEntryRef active = nullptr;
  gAdm.list->GetActiveEntry(list, &active);
  char text[64] = {};
  gAdm.entry->GetText(active, text, sizeof text);
  log(std::string("chose ") + text);
  return kNoErr;
}

AIErr initFlyoutPanel(ADMDialogRef dialog) {
  ADMItemRef menu = itemOf(dialog, kADMMenuItemID);
  ADMListRef list = nullptr;
  gAdm.item->GetList(menu, &list);
  EXPECT_EQ(gAdm.list->SetMenuID(list, kFlyoutMenu), kNoErr);
  ADMEntryRef entry = nullptr;
  gAdm.list->GetEntry(list, 2, &entry);
  gAdm.entry->Enable(entry, 0);
  gAdm.item->SetTrackProc(menu, trackFlyout);
  gAdm.item->SetNotifyProc(menu, flyoutChosen);
  return kNoErr;
}

class PanelScriptTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    if (HasFailure()) return;
    resources_ = host().library()->resources();
    resources_.menus[kFlyoutMenu] =
        sqhost::MenuTemplate{"Flyout", {"Select handles", "-", "Copy handles", "Preferences..."}};
    manager().useResources(&resources_);
  }
  void TearDown() override {
    gLog.clear();
    if (running()) manager().useResources(nullptr);
    DialogTest::TearDown();
  }
  ADMDialogRef makePanel(const char* name, ADMDialogInitProc init) {
    ADMDialogRef panel = nullptr;
    EXPECT_EQ(gAdm.dialog->Create(plugin(), name, kAboutTemplate, kADMTabbedFloatingDialogStyle,
                                  init, nullptr, 0, &panel),
              kNoErr);
    return panel;
  }

 private:
  sqhost::PluginResources resources_;
};

TEST_F(PanelScriptTest, FlyoutOpensWithModifiersAndOneEntryIsChosen) {
  ADMDialogRef panel = makePanel("Flyout", initFlyoutPanel);
  ASSERT_FALSE(driver().run("flyout alt\n"));
  EXPECT_TRUE(noted("no panel is shown, so there is no flyout menu to open"));
  gAdm.dialog->Show(panel, 1);

  ASSERT_TRUE(driver().run("flyout alt shift\n"));
  nlohmann::json r = driver().report();
  ASSERT_TRUE(r["flyout"].is_object()) << r["flyout"];
  EXPECT_EQ(r["flyout"]["panel"], "Flyout");
  const auto& entries = r["flyout"]["entries"];
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0]["text"], "Select in handles");
  EXPECT_EQ(entries[1].value("separator", false), true);
  EXPECT_EQ(entries[2]["enabled"], false);
  EXPECT_EQ(entries[3]["text"], "Preferences...");

  // A disabled entry is ignored and the menu closes; choosing needs the menu open again.
  ASSERT_TRUE(driver().run("flyout choose 2\n"));
  EXPECT_TRUE(gLog.empty());
  EXPECT_TRUE(noted("entry 2 is disabled"));
  EXPECT_FALSE(driver().run("flyout choose 0\n"));
  EXPECT_TRUE(noted("no flyout menu is open"));
  ASSERT_TRUE(driver().run("flyout ctrl\nflyout choose 0\nflyout\nflyout choose 3\n"));
  EXPECT_EQ(gLog, (std::vector<std::string>{"chose Select out handles", "chose Preferences..."}));

  EXPECT_FALSE(driver().run("flyout\nflyout choose 9\n"));
  EXPECT_TRUE(noted("has 4 entries; there is no entry 9"));
  // Anything else the user does closes the menu.
  EXPECT_FALSE(driver().run("flyout\ntool \"Pen Tool\"\nflyout choose 0\n"));
  EXPECT_TRUE(driver().report()["flyout"].is_null());

  // The flyout of the panel shown last opens.
  ADMDialogRef other = makePanel("Other", initFlyoutPanel);
  gAdm.dialog->Show(other, 1);
  ASSERT_TRUE(driver().run("flyout\n"));
  r = driver().report();
  EXPECT_EQ(r["flyout"]["panel"], "Other");
  EXPECT_EQ(r["panels"][0]["name"], "Other");
  EXPECT_EQ(r["panels"][0]["front"], true);
  gAdm.dialog->Show(other, 0);
  EXPECT_TRUE(driver().report()["flyout"].is_null());  // hiding the panel closed its menu
  gAdm.dialog->Destroy(other);
  gAdm.dialog->Destroy(panel);
}

AIBoolean trackButton(ADMItemRef, ADMTrackerRef tracker) {
  int32_t action = 0;
  int32_t modifiers = 0;
  gAdm.tracker->GetAction(tracker, &action);
  gAdm.tracker->GetModifiers(tracker, &modifiers);
  log("button action " + std::to_string(action) + " mods " + std::to_string(modifiers));
  return 1;
}

AIBoolean trackAmount(ADMItemRef item, ADMTrackerRef tracker) {
  int32_t key = 0;
  int32_t modifiers = 0;
  gAdm.tracker->GetVirtualKey(tracker, &key);
  gAdm.tracker->GetModifiers(tracker, &modifiers);
  AIBoolean handled = 0;
  gAdm.item->DefaultTrack(item, tracker, &handled);
  if (key == kADMEnterKey || key == kADMReturnKey || key == kADMTabKey) {
    AIReal value = 0;
    gAdm.item->GetFloatValue(item, &value);
    log("key " + std::to_string(key) + " mods " + std::to_string(modifiers) + " value " +
        std::to_string(static_cast<int>(value)));
  }
  return handled;
}

AIErr initItemsPanel(ADMDialogRef dialog) {
  ADMItemRef item = nullptr;
  const AIRect status{4, 10, 200, 22};
  gAdm.item->Create(dialog, 10, kADMTextStaticType, &status, nullptr, &item);
  gAdm.item->SetText(item, "No paths selected");
  gAdm.item->SetFont(item, kADMBoldPaletteFont);
  gAdm.item->SetTipString(item, "The selection");

  const AIRect field{40, 76, 110, 92};
  gAdm.item->Create(dialog, 4, kADMTextEditType, &field, nullptr, &item);
  gAdm.item->SetUnits(item, kADMAppUnits1);
  gAdm.item->SetPrecision(item, 3);
  gAdm.item->ShowUnits(item, 1);
  gAdm.item->AllowUnits(item, 1);
  gAdm.item->AllowMath(item, 1);
  gAdm.item->SetFloatValue(item, 72);

  const AIRect button{40, 53, 100, 71};
  gAdm.item->Create(dialog, 40, kADMPicturePushButtonType, &button, nullptr, &item);
  gAdm.item->SetTipString(item, "Increment");
  gAdm.item->SetMask(item, kADMButtonUpMask);
  gAdm.item->SetTrackProc(item, trackButton);

  const AIRect amount{107, 54, 167, 70};
  gAdm.item->Create(dialog, 41, kADMTextEditType, &amount, nullptr, &item);
  gAdm.item->SetFloatValue(item, 5);
  gAdm.item->SetMask(item, kADMKeyStrokeMask);
  gAdm.item->SetTrackProc(item, trackAmount);
  return kNoErr;
}

TEST_F(PanelScriptTest, ItemActionsCarryModifiersAndTheReportShowsEveryItem) {
  manager().setAppUnits(kADMInchUnits);
  ADMDialogRef panel = makePanel("Items", initItemsPanel);
  const AIRect place{94, 119, 304, 353};
  gAdm.dialog->SetBoundsRect(panel, &place);
  gAdm.group->SetDialogGroupInfo(panel, "Ferncliff Dialogs", 0);
  gAdm.dialog->Show(panel, 1);

  ASSERT_TRUE(
      driver().run("dialog Items press 40 shift alt\n"
                   "dialog Items key 41 enter ctrl\n"
                   "dialog Items value 41 7\n"
                   "dialog Items text 4 \"1in + 6pt\"\n"));
  EXPECT_EQ(gLog, (std::vector<std::string>{"button action 4 mods 160", "key 3 mods 64 value 5",
                                            "key 9 mods 0 value 7"}));
  const nlohmann::json r = driver().report();
  ASSERT_EQ(r["panels"].size(), 1u);
  const auto& p = r["panels"][0];
  EXPECT_EQ(p["name"], "Items");
  EXPECT_EQ(p["visible"], true);
  EXPECT_EQ(p["bounds"], nlohmann::json::array({94, 119, 304, 353}));
  EXPECT_EQ(p["dockGroup"], "Ferncliff Dialogs");
  EXPECT_EQ(p["dockCode"], 0);
  auto item = [&](int id) {
    for (const auto& i : p["items"]) {
      if (i["id"] == id) return i;
    }
    ADD_FAILURE() << "no item " << id;
    return nlohmann::json();
  };
  EXPECT_EQ(item(10)["text"], "No paths selected");
  EXPECT_EQ(item(10)["font"], kADMBoldPaletteFont);
  EXPECT_EQ(item(10)["tooltip"], "The selection");
  EXPECT_EQ(item(10)["type"], "ADM Text Static Type");
  EXPECT_EQ(item(4)["text"], "1.083 in");  // 78 points shown in inches
  EXPECT_EQ(item(4)["value"], 78);
  EXPECT_EQ(item(4)["units"], "inches");
  EXPECT_EQ(item(40)["tooltip"], "Increment");
  EXPECT_EQ(item(40)["bounds"], nlohmann::json::array({40, 53, 100, 71}));
  EXPECT_EQ(item(kADMMenuItemID)["type"], "ADM Popup Menu Type");

  gAdm.item->Enable(itemOf(panel, 40), 0);
  EXPECT_FALSE(driver().run("dialog Items press 40\n"));
  EXPECT_TRUE(noted("item 40 of dialog \"Items\" is disabled"));
  EXPECT_FALSE(driver().run("dialog Items key 10 enter\n"));
  EXPECT_TRUE(noted("takes no keys"));
  gAdm.dialog->Destroy(panel);
}

}  // namespace
}  // namespace sqtest
