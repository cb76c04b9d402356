// Modal dialogs and alerts: queued answers, nesting, fields, check boxes, popups, string lists.
#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "dialog_fixture.hpp"

namespace sqtest {
namespace {

using Kind = sqhost::Event::Kind;

TEST_F(DialogTest, ModalDialogIsAnsweredByAQueuedPress) {
  press(1);
  int32_t closedBy = 0;
  ASSERT_EQ(gAdm.dialog->Modal(plugin(), "TestAbout", kAboutTemplate, kADMModalDialogStyle, nullptr,
                               nullptr, 0, &closedBy),
            kNoErr);
  EXPECT_EQ(closedBy, 1);
  EXPECT_TRUE(host().events().empty());
  EXPECT_FALSE(manager().hasDialogs());

  ASSERT_EQ(manager().dialogsShown().size(), 1u);
  const sqhost::DialogRecord& record = manager().dialogsShown()[0];
  EXPECT_EQ(record.title, "About Spindlequiver");
  EXPECT_EQ(record.closedWith, 1);
  EXPECT_FALSE(record.cancelled);
  ASSERT_GE(record.items.size(), 2u);
  EXPECT_EQ(record.items[1].text, "Spindlequiver 1.4");
  EXPECT_TRUE(
      noted("dialog \"TestAbout\" opened: \"About Spindlequiver\" \xE2\x80\x94 item 2 "
            "\"Spindlequiver 1.4\", item 3 \"A precise tool"));
  EXPECT_TRUE(noted("dialog \"TestAbout\" closed with item 1 (\"OK\")"));
}

TEST_F(DialogTest, ModalDialogIsCancelledWhenNothingAnswersIt) {
  int32_t closedBy = 0;
  ASSERT_EQ(gAdm.dialog->Modal(plugin(), "Unanswered", kAboutTemplate, kADMModalDialogStyle,
                               nullptr, nullptr, 0, &closedBy),
            kNoErr);
  EXPECT_EQ(closedBy, kADMCancelItemID);
  EXPECT_TRUE(manager().dialogsShown().back().cancelled);
  EXPECT_TRUE(noted("dialog \"Unanswered\" cancelled: no queued action answered it"));

  // An event for someone else cancels it too, and stays queued for the outer loop, as does an
  // action addressed to another dialog.
  post(Kind::About);
  press(1, "SomeOtherDialog");
  ASSERT_EQ(gAdm.dialog->Modal(plugin(), "Unanswered", kAboutTemplate, kADMModalDialogStyle,
                               nullptr, nullptr, 0, &closedBy),
            kNoErr);
  EXPECT_EQ(closedBy, kADMCancelItemID);
  ASSERT_EQ(host().events().size(), 2u);
  EXPECT_EQ(host().events().peek()->kind, Kind::About);

  // Escape cancels without calling the cancel item's notify proc; the init proc chose its id.
  host().events().clear();
  post(Kind::DialogCancel);
  auto init = +[](ADMDialogRef dialog) -> AIErr {
    gAdm.item->SetNotifyProc(
        itemOf(dialog, 1), +[](ADMItemRef, ADMNotifierRef) -> AIErr {
          ADD_FAILURE() << "the cancel item was notified";
          return kNoErr;
        });
    return gAdm.dialog->SetCancelItemID(dialog, 1);
  };
  ASSERT_EQ(gAdm.dialog->Modal(plugin(), "Escaped", kAboutTemplate, kADMModalDialogStyle, init,
                               nullptr, 0, &closedBy),
            kNoErr);
  EXPECT_EQ(closedBy, 1);
  EXPECT_TRUE(manager().dialogsShown().back().cancelled);
}

TEST_F(DialogTest, ModalRefusesBadArgumentsWithoutRunningALoop) {
  press(1);
  int32_t closedBy = 7;
  EXPECT_EQ(
      gAdm.dialog->Modal(plugin(), "X", 4242, kADMModalDialogStyle, nullptr, nullptr, 0, &closedBy),
      kResourceNotFoundErr);
  EXPECT_EQ(closedBy, 0);
  EXPECT_EQ(gAdm.dialog->Modal(plugin(), "X", kAboutTemplate, kADMFloatingDialogStyle, nullptr,
                               nullptr, 0, &closedBy),
            kBadParameterErr);
  EXPECT_EQ(gAdm.dialog->Modal(plugin(), "", kAboutTemplate, kADMModalDialogStyle, nullptr, nullptr,
                               0, &closedBy),
            kBadParameterErr);
  EXPECT_EQ(gAdm.dialog->Modal(nullptr, "X", kAboutTemplate, kADMModalDialogStyle, nullptr, nullptr,
                               0, &closedBy),
            kBadHandleErr);
  // A failing init proc: its error comes back, the destroy proc still runs, no loop ran.
  static int destroyed = 0;
  auto failing = +[](ADMDialogRef dialog) -> AIErr {
    gAdm.dialog->SetDestroyProc(
        dialog, +[](ADMDialogRef) -> AIErr {
          ++destroyed;
          return kNoErr;
        });
    return kCantHappenErr;
  };
  EXPECT_EQ(gAdm.dialog->Modal(plugin(), "X", kAboutTemplate, kADMModalDialogStyle, failing,
                               nullptr, 0, &closedBy),
            kCantHappenErr);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(host().events().size(), 1u);
  EXPECT_FALSE(manager().hasDialogs());
}

// The preferences template's About button (3) opens the About dialog on top.
struct Nesting {
  int32_t innerResult = -1;
  std::vector<std::string> order;
};

AIErr openAboutOnTop(ADMItemRef item, ADMNotifierRef) {
  ADMDialogRef dialog = nullptr;
  gAdm.item->GetDialog(item, &dialog);
  ADMUserData data = nullptr;
  gAdm.dialog->GetUserData(dialog, &data);
  auto* nesting = static_cast<Nesting*>(data);
  nesting->order.push_back("about opens");
  // Any plug-in reference the host knows works; tests use the host's own.
  const SPPluginRef plugin = sqhost::Host::current()->pluginRef();
  gAdm.dialog->Modal(plugin, "Inner", kAboutTemplate, kADMModalDialogStyle, nullptr, nullptr, 0,
                     &nesting->innerResult);
  nesting->order.push_back("about closed");
  return kNoErr;
}

TEST_F(DialogTest, ModalDialogsNest) {
  auto init = +[](ADMDialogRef dialog) -> AIErr {
    return gAdm.item->SetNotifyProc(itemOf(dialog, 3), openAboutOnTop);
  };
  Nesting nesting;
  press(3);
  press(1);  // answers the front dialog: the About dialog
  press(1);  // then the preferences
  int32_t closedBy = 0;
  ASSERT_EQ(gAdm.dialog->Modal(plugin(), "Outer", kPreferencesTemplate, kADMModalDialogStyle, init,
                               &nesting, 0, &closedBy),
            kNoErr);
  EXPECT_EQ(closedBy, 1);
  EXPECT_EQ(nesting.innerResult, 1);
  ASSERT_EQ(manager().dialogsShown().size(), 2u);
  EXPECT_EQ(manager().dialogsShown()[0].name, "Outer");
  EXPECT_EQ(manager().dialogsShown()[1].name, "Inner");

  // An action addressed to the outer dialog cancels the inner one and is then taken by the outer.
  nesting = Nesting{};
  press(3, "Outer");
  press(1, "Outer");
  ASSERT_EQ(gAdm.dialog->Modal(plugin(), "Outer", kPreferencesTemplate, kADMModalDialogStyle, init,
                               &nesting, 0, &closedBy),
            kNoErr);
  EXPECT_EQ(nesting.innerResult, kADMCancelItemID);
  EXPECT_EQ(closedBy, 1);
  EXPECT_TRUE(manager().dialogsShown().back().cancelled);
  EXPECT_EQ(nesting.order, (std::vector<std::string>{"about opens", "about closed"}));
}

// ---- Number fields ----

struct FieldLog {
  std::vector<std::string> notices;
  std::vector<float> values;
};

AIErr logField(ADMItemRef item, ADMNotifierRef notifier) {
  ADMUserData data = nullptr;
  gAdm.item->GetUserData(item, &data);
  auto* log = static_cast<FieldLog*>(data);
  char type[64] = {};
  gAdm.notifier->GetNotifierType(notifier, type, sizeof type);
  log->notices.push_back(type);
  AIReal value = 0;
  gAdm.item->GetFloatValue(item, &value);
  log->values.push_back(value);
  return kNoErr;
}

TEST_F(DialogTest, TypedValuesAreClampedReadAndNotified) {
  auto init = +[](ADMDialogRef dialog) -> AIErr {
    ADMUserData data = nullptr;
    gAdm.dialog->GetUserData(dialog, &data);
    ADMItemRef divider = itemOf(dialog, 12);  // slow-drag divider: 4 decimals, 1 .. 100
    gAdm.item->SetUserData(divider, data);
    gAdm.item->SetPrecision(divider, 4);
    gAdm.item->SetMinFloatValue(divider, 1);
    gAdm.item->SetMaxFloatValue(divider, 100);
    gAdm.item->SetFloatValue(divider, 4);  // the plug-in's own calls notify nothing
    gAdm.item->SetNotifyProc(divider, logField);
    ADMItemRef smoothing = itemOf(dialog, 10);  // 0.1 .. 0.5
    gAdm.item->SetUserData(smoothing, data);
    gAdm.item->SetPrecision(smoothing, 4);
    gAdm.item->SetMinFloatValue(smoothing, 0.1f);
    gAdm.item->SetMaxFloatValue(smoothing, 0.5f);
    gAdm.item->SetNotifyProc(smoothing, logField);
    return kNoErr;
  };
  FieldLog log;
  post(Kind::DialogValue, 12, 500);
  post(Kind::DialogText, 12, 0, "", "abc");  // not a number: the old value, no notification
  post(Kind::DialogText, 12, 0, "", "12.34567");
  post(Kind::DialogValue, 10, 0.1);  // exactly the minimum: no out-of-bounds notice
  press(1);
  int32_t closedBy = 0;
  ASSERT_EQ(gAdm.dialog->Modal(plugin(), "Prefs", kPreferencesTemplate, kADMModalDialogStyle, init,
                               &log, 0, &closedBy),
            kNoErr);
  EXPECT_EQ(closedBy, 1);
  EXPECT_EQ(log.notices,
            (std::vector<std::string>{kADMNumberOutOfBoundsNotifier, kADMUserChangedNotifier,
                                      kADMUserChangedNotifier, kADMUserChangedNotifier}));
  EXPECT_EQ(log.values, (std::vector<float>{100, 100, 12.34567f, 0.1f}));
  // The record shows the fields as they opened: the spin edits show their numbers.
  const auto& items = manager().dialogsShown().back().items;
  const auto divider =
      std::find_if(items.begin(), items.end(), [](const auto& i) { return i.id == 12; });
  ASSERT_NE(divider, items.end());
  EXPECT_EQ(divider->text, "4");
  EXPECT_EQ(divider->value, 4.0);
}

TEST_F(DialogTest, FieldUnitsPrecisionAndArithmetic) {
  // A panel gives direct access to one field between actions.
  auto init = +[](ADMDialogRef dialog) -> AIErr {
    const AIRect r{10, 10, 80, 26};
    ADMItemRef field = nullptr;
    gAdm.item->Create(dialog, 40, kADMTextEditType, &r, nullptr, &field);
    gAdm.item->SetUnits(field, kADMAppUnits1);
    gAdm.item->ShowUnits(field, 1);
    gAdm.item->AllowUnits(field, 1);
    gAdm.item->AllowMath(field, 1);
    gAdm.item->SetPrecision(field, 2);
    return kNoErr;
  };
  manager().setAppUnits(kADMMillimeterUnits);
  ADMDialogRef panel = nullptr;
  ASSERT_EQ(gAdm.dialog->Create(plugin(), "Fields", kAboutTemplate, kADMFloatingDialogStyle, init,
                                nullptr, 0, &panel),
            kNoErr);
  gAdm.dialog->Show(panel, 1);
  ADMItemRef field = itemOf(panel, 40);
  int32_t units = 0;
  gAdm.item->GetUnits(field, &units);
  EXPECT_EQ(units, kADMMillimeterUnits);  // resolved when set
  gAdm.item->SetFloatValue(field, 72);
  EXPECT_EQ(itemText(field), "25.4 mm");

  std::string error;
  sqhost::Event e;
  e.kind = Kind::DialogText;
  e.dialog = "Fields";
  e.item = 40;
  e.text = "1 in + 2 * 3";  // typed in millimetres, with another unit
  ASSERT_TRUE(applyAction(e, error)) << error;
  AIReal value = 0;
  gAdm.item->GetFloatValue(field, &value);
  EXPECT_NEAR(value, 72 + 6 * 72 / 25.4, 1e-3);
  EXPECT_EQ(itemText(field), "31.4 mm");

  EXPECT_EQ(gAdm.item->SetPrecision(field, 11), kBadParameterErr);
  EXPECT_EQ(gAdm.item->SetFloatValue(field, std::numeric_limits<float>::infinity()), kNonFiniteErr);
  EXPECT_EQ(gAdm.item->SetMinFloatValue(field, 10), kNoErr);
  EXPECT_EQ(gAdm.item->SetMaxFloatValue(field, 5), kBadParameterErr);  // below the minimum
  EXPECT_EQ(gAdm.item->SetSmallIncrement(field, 0), kBadParameterErr);
  EXPECT_EQ(gAdm.item->SetBooleanValue(field, 1), kBadParameterErr);  // not a check box
  gAdm.dialog->Destroy(panel);
}

// ---- Check boxes ----

// Item 29 is enabled exactly when 28 is checked; 30 when 28 and 29 are.
void applyDependencies(ADMDialogRef dialog) {
  AIBoolean add = 0;
  AIBoolean snap = 0;
  gAdm.item->GetBooleanValue(itemOf(dialog, 28), &add);
  gAdm.item->GetBooleanValue(itemOf(dialog, 29), &snap);
  gAdm.item->Enable(itemOf(dialog, 29), add);
  gAdm.item->Enable(itemOf(dialog, 30), add && snap);
}

AIErr dependencyChanged(ADMItemRef item, ADMNotifierRef notifier) {
  gAdm.item->DefaultNotify(item, notifier);
  ADMDialogRef dialog = nullptr;
  gAdm.item->GetDialog(item, &dialog);
  applyDependencies(dialog);
  return kNoErr;
}

struct EnabledStates {
  AIBoolean snap = -1;
  AIBoolean highlight = -1;
};

TEST_F(DialogTest, CheckBoxDependenciesFollowTheUsersClicks) {
  auto init = +[](ADMDialogRef dialog) -> AIErr {
    gAdm.item->SetBooleanValue(itemOf(dialog, 28), 1);
    gAdm.item->SetBooleanValue(itemOf(dialog, 29), 0);
    for (int32_t id : {28, 29}) gAdm.item->SetNotifyProc(itemOf(dialog, id), dependencyChanged);
    applyDependencies(dialog);
    // The states at closing time, read while the dialog can still be read.
    return gAdm.dialog->SetDestroyProc(
        dialog, +[](ADMDialogRef d) -> AIErr {
          ADMUserData data = nullptr;
          gAdm.dialog->GetUserData(d, &data);
          auto* states = static_cast<EnabledStates*>(data);
          gAdm.item->IsEnabled(itemOf(d, 29), &states->snap);
          gAdm.item->IsEnabled(itemOf(d, 30), &states->highlight);
          return kNoErr;
        });
  };
  post(Kind::DialogCheck, 28, 0);  // 29 and 30 go dim at once
  press(30);                       // refused: disabled
  post(Kind::DialogCheck, 28, 1);  // 29 comes back; 30 only with 29 checked
  press(29);                       // a click toggles 29 on
  press(29);                       // and off again
  press(1);
  EnabledStates states;
  int32_t closedBy = 0;
  ASSERT_EQ(gAdm.dialog->Modal(plugin(), "Deps", kPreferencesTemplate, kADMModalDialogStyle, init,
                               &states, 0, &closedBy),
            kNoErr);
  EXPECT_EQ(closedBy, 1);
  EXPECT_EQ(states.snap, 1);
  EXPECT_EQ(states.highlight, 0);
  ASSERT_EQ(manager().actionErrors().size(), 1u);
  EXPECT_NE(manager().actionErrors()[0].find("item 30 of dialog \"Deps\" is disabled"),
            std::string::npos);
  // The opening record shows the check boxes as the init proc left them.
  EXPECT_TRUE(noted("item 28 checked \"Alt-clicking adds new point to path\""));
  EXPECT_TRUE(noted("item 30 unchecked \"Highlight tangencies\" (disabled)"));
}

// ---- Popups from menu templates ----

AIErr recordChoice(ADMItemRef item, ADMNotifierRef) {
  ADMUserData data = nullptr;
  gAdm.item->GetUserData(item, &data);
  ADMListRef list = nullptr;
  gAdm.item->GetList(item, &list);
  ADMEntryRef active = nullptr;
  gAdm.list->GetActiveEntry(list, &active);
  int32_t index = -1;
  gAdm.entry->GetIndex(active, &index);
  static_cast<std::vector<std::string>*>(data)->push_back(std::to_string(index) + " " +
                                                          itemText(item));
  return kNoErr;
}

TEST_F(DialogTest, PopupsTakeTheirEntriesFromMenuTemplates) {
  auto init = +[](ADMDialogRef dialog) -> AIErr {
    ADMUserData data = nullptr;
    gAdm.dialog->GetUserData(dialog, &data);
    ADMItemRef precision = itemOf(dialog, 5);
    ADMListRef list = nullptr;
    gAdm.item->GetList(precision, &list);
    EXPECT_EQ(gAdm.list->SetMenuID(list, 800), kNoErr);
    EXPECT_EQ(gAdm.list->SetMenuID(list, 4242), kResourceNotFoundErr);  // entries unchanged
    int32_t count = 0;
    gAdm.list->NumberOfEntries(list, &count);
    EXPECT_EQ(count, 3);
    ADMEntryRef entry = nullptr;
    gAdm.list->GetEntry(list, 1, &entry);
    gAdm.entry->Activate(entry, 1);
    EXPECT_EQ(itemText(precision), "3");
    gAdm.list->GetEntry(list, 0, &entry);
    gAdm.entry->Enable(entry, 0);  // choosing it is ignored
    EXPECT_EQ(gAdm.list->GetEntry(list, 3, &entry), kOutOfRangeErr);
    EXPECT_EQ(entry, nullptr);
    gAdm.item->SetUserData(precision, data);
    gAdm.item->SetNotifyProc(precision, recordChoice);

    ADMItemRef smoothing = itemOf(dialog, 10);
    gAdm.item->GetList(smoothing, &list);
    gAdm.list->SetMenuID(list, 900);
    gAdm.item->SetPrecision(smoothing, 4);
    gAdm.item->SetUserData(smoothing, data);
    gAdm.item->SetNotifyProc(smoothing, recordChoice);
    return kNoErr;
  };
  std::vector<std::string> choices;
  post(Kind::DialogChoose, 5, 2);
  post(Kind::DialogChoose, 5, 0);  // disabled: ignored, no notification
  post(Kind::DialogChoose, 5, 3);  // no such entry: refused
  post(Kind::DialogChoose, 10, 1);
  press(1);
  int32_t closedBy = 0;
  ASSERT_EQ(gAdm.dialog->Modal(plugin(), "Popups", kPreferencesTemplate, kADMModalDialogStyle, init,
                               &choices, 0, &closedBy),
            kNoErr);
  EXPECT_EQ(closedBy, 1);
  EXPECT_EQ(choices, (std::vector<std::string>{"2 4", "1 0.333"}));
  EXPECT_EQ(manager().actionErrors().size(), 1u);
  EXPECT_TRUE(noted("entry 0 is disabled; the choice is ignored"));
}

// ---- Alerts and string lists ----

TEST_F(DialogTest, AlertsAreRecordedAndAnsweredOrDismissed) {
  press(1);  // answers the first alert
  press(5);  // does not answer the second: it stays queued
  EXPECT_EQ(gAdm.basic->ErrorAlert("Something failed."), kNoErr);
  EXPECT_EQ(gAdm.basic->MessageAlert("Some handles could not be set."), kNoErr);
  EXPECT_EQ(gAdm.basic->ErrorAlert(nullptr), kBadParameterErr);
  ASSERT_EQ(manager().alerts().size(), 2u);
  EXPECT_EQ(manager().alerts()[0].kind, sqhost::AlertRecord::Kind::Error);
  EXPECT_EQ(manager().alerts()[1].kind, sqhost::AlertRecord::Kind::Message);
  EXPECT_EQ(manager().alerts()[1].text, "Some handles could not be set.");
  EXPECT_TRUE(noted("alert: Something failed."));
  ASSERT_EQ(host().events().size(), 1u);
  EXPECT_EQ(host().events().peek()->item, 5);
}

TEST_F(DialogTest, GetIndexStringEdgeCases) {
  char buffer[64] = {};
  EXPECT_EQ(gAdm.basic->GetIndexString(plugin(), 16050, 1, buffer, sizeof buffer), kNoErr);
  EXPECT_STREQ(buffer, "-108");
  EXPECT_EQ(gAdm.basic->GetIndexString(plugin(), 16050, 500, buffer, sizeof buffer), kNoErr);
  EXPECT_STREQ(buffer, "");  // past the end: empty
  EXPECT_EQ(gAdm.basic->GetIndexString(plugin(), 16050, 2, buffer, 5), kBufferTooSmallErr);
  EXPECT_STREQ(buffer, "The ");
  EXPECT_EQ(gAdm.basic->GetIndexString(plugin(), 16050, -1, buffer, 5), kBadParameterErr);
  EXPECT_EQ(gAdm.basic->GetIndexString(plugin(), 16050, 1, nullptr, 5), kBadParameterErr);
  EXPECT_EQ(gAdm.basic->GetIndexString(plugin(), 16050, 1, buffer, 0), kBadParameterErr);
  EXPECT_EQ(gAdm.basic->GetIndexString(plugin(), 4242, 1, buffer, 5), kResourceNotFoundErr);
  EXPECT_EQ(gAdm.basic->GetIndexString(nullptr, 16050, 1, buffer, 5), kBadHandleErr);

  // Truncation never splits a character.
  sqhost::PluginResources resources = host().library()->resources();
  resources.stringLists[77] = {"comment", "45\xC2\xB0 turn"};
  manager().useResources(&resources);
  EXPECT_EQ(gAdm.basic->GetIndexString(plugin(), 77, 1, buffer, 4), kBufferTooSmallErr);
  EXPECT_STREQ(buffer, "45");
  EXPECT_EQ(gAdm.basic->GetIndexString(plugin(), 77, 1, buffer, 5), kBufferTooSmallErr);
  EXPECT_STREQ(buffer, "45\xC2\xB0");
  manager().useResources(nullptr);

  int32_t units = 0;
  EXPECT_EQ(gAdm.basic->GetAppUnits(kADMAppUnits1, &units), kNoErr);
  EXPECT_EQ(units, kADMPointUnits);
  EXPECT_EQ(gAdm.basic->GetAppUnits(kADMPercentUnits, &units), kNoErr);
  EXPECT_EQ(units, kADMPercentUnits);
  EXPECT_EQ(gAdm.basic->GetAppUnits(55, &units), kBadParameterErr);
}

}  // namespace
}  // namespace sqtest
