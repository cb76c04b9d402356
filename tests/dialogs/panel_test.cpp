// Floating panels: life and deferred destruction, flyout menu, trackers, docking, drawing, icons.
#include <cairo.h>

#include <string>
#include <vector>

#include "dialog_fixture.hpp"
#include "sqsdk/keyboard.h"
#include "sqsdk/messages.h"

namespace sqtest {
namespace {

using Kind = sqhost::Event::Kind;

struct PanelLog {
  std::vector<std::string> events;
  ADMDialogRef panel = nullptr;
};

PanelLog* logOf(ADMDialogRef dialog) {
  ADMUserData data = nullptr;
  gAdm.dialog->GetUserData(dialog, &data);
  return static_cast<PanelLog*>(data);
}

PanelLog* logOf(ADMItemRef item) {
  ADMDialogRef dialog = nullptr;
  gAdm.item->GetDialog(item, &dialog);
  return logOf(dialog);
}

// A panel with a close button (50) that destroys the panel from its own notify proc.
AIErr initPanel(ADMDialogRef dialog) {
  const AIRect bounds{10, 10, 60, 30};
  ADMItemRef close = nullptr;
  gAdm.item->Create(dialog, 50, kADMTextPushButtonType, &bounds, nullptr, &close);
  gAdm.item->SetText(close, "Close");
  gAdm.item->SetNotifyProc(
      close, +[](ADMItemRef item, ADMNotifierRef) -> AIErr {
        ADMDialogRef d = nullptr;
        gAdm.item->GetDialog(item, &d);
        EXPECT_EQ(gAdm.dialog->Destroy(d), kNoErr);
        // Destruction waits until this proc returns: everything can still be read.
        int32_t id = 0;
        EXPECT_EQ(gAdm.item->GetID(item, &id), kNoErr);
        logOf(d)->events.push_back("close pressed");
        return kNoErr;
      });
  gAdm.item->SetDestroyProc(
      close, +[](ADMItemRef item) -> AIErr {
        logOf(item)->events.push_back("item destroyed");
        return kNoErr;
      });
  gAdm.dialog->SetDestroyProc(
      dialog, +[](ADMDialogRef d) -> AIErr {
        ADMItemRef item = nullptr;
        EXPECT_EQ(gAdm.dialog->GetItem(d, 50, &item), kNoErr);
        EXPECT_NE(item, nullptr);  // items go after the dialog's destroy proc
        logOf(d)->events.push_back("panel destroyed");
        return kNoErr;
      });
  gAdm.dialog->SetNotifyProc(
      dialog, +[](ADMDialogRef d, ADMNotifierRef notifier) -> AIErr {
        char type[64] = {};
        gAdm.notifier->GetNotifierType(notifier, type, sizeof type);
        logOf(d)->events.push_back(type);
        return kNoErr;
      });
  return kNoErr;
}

TEST_F(DialogTest, PanelLivesUntilDestroyedAndDefersDestructionInItsOwnCallback) {
  PanelLog log;
  ADMDialogRef panel = nullptr;
  ASSERT_EQ(gAdm.dialog->Create(plugin(), "TestPanel", kAboutTemplate,
                                kADMTabbedFloatingDialogStyle, initPanel, &log, 0, &panel),
            kNoErr);
  AIBoolean visible = 1;
  gAdm.dialog->IsVisible(panel, &visible);
  EXPECT_EQ(visible, 0);  // panels start hidden
  AIRect local{};
  gAdm.dialog->GetLocalRect(panel, &local);
  EXPECT_EQ(local.right, 465);  // 310 x 98 dialog units at 3/2
  EXPECT_EQ(local.bottom, 147);
  ADMItemRef menu = itemOf(panel, kADMMenuItemID);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(itemOf(panel, 99), nullptr);
  EXPECT_EQ(gAdm.dialog->EndModal(panel, 1), kBadParameterErr);

  std::string error;
  sqhost::Event e;
  e.kind = Kind::DialogPress;
  e.dialog = "TestPanel";
  e.item = 50;
  EXPECT_FALSE(applyAction(e, error));
  EXPECT_EQ(error, "dialog \"TestPanel\" is hidden");

  gAdm.dialog->Show(panel, 1);
  gAdm.dialog->IsVisible(panel, &visible);
  EXPECT_EQ(visible, 1);
  ASSERT_TRUE(manager().userShow("TestPanel", false, error));
  ASSERT_TRUE(manager().userShow("TestPanel", true, error));
  EXPECT_EQ(log.events, (std::vector<std::string>{kADMWindowHideNotifier, kADMWindowShowNotifier}));

  e.item = 7;
  EXPECT_FALSE(applyAction(e, error));
  EXPECT_EQ(error, "dialog \"TestPanel\" has no item 7");
  e.item = 2;  // a label
  EXPECT_FALSE(applyAction(e, error));
  EXPECT_NE(error.find("cannot be pressed"), std::string::npos);

  log.events.clear();
  e.item = 50;
  ASSERT_TRUE(applyAction(e, error)) << error;
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"close pressed", "panel destroyed", "item destroyed"}));
  EXPECT_EQ(gAdm.dialog->IsVisible(panel, &visible), kBadHandleErr);
  EXPECT_EQ(gAdm.item->GetID(menu, nullptr), kBadHandleErr);
  EXPECT_FALSE(manager().hasDialogs());
  EXPECT_TRUE(noted("panel \"TestPanel\" destroyed"));
}

TEST_F(DialogTest, CreateRefusesBadArgumentsAndCloseAllRunsDestroyProcs) {
  ADMDialogRef panel = reinterpret_cast<ADMDialogRef>(1);
  EXPECT_EQ(gAdm.dialog->Create(plugin(), "P", kAboutTemplate, kADMModalDialogStyle, nullptr,
                                nullptr, 0, &panel),
            kBadParameterErr);
  EXPECT_EQ(panel, nullptr);
  EXPECT_EQ(gAdm.dialog->Create(plugin(), "P", kAboutTemplate, kADMFloatingDialogStyle, nullptr,
                                nullptr, 1, &panel),
            kBadParameterErr);
  EXPECT_EQ(gAdm.dialog->Create(plugin(), "P", 4242, kADMFloatingDialogStyle, nullptr, nullptr, 0,
                                &panel),
            kResourceNotFoundErr);
  EXPECT_EQ(gAdm.dialog->Create(
                plugin(), "P", kAboutTemplate, kADMFloatingDialogStyle,
                +[](ADMDialogRef) -> AIErr { return kBadParameterErr; }, nullptr, 0, &panel),
            kBadParameterErr);
  EXPECT_FALSE(manager().hasDialogs());

  PanelLog first;
  PanelLog second;
  ADMDialogRef a = nullptr;
  ADMDialogRef b = nullptr;
  gAdm.dialog->Create(plugin(), "A", kAboutTemplate, kADMFloatingDialogStyle, initPanel, &first, 0,
                      &a);
  gAdm.dialog->Create(plugin(), "B", kAboutTemplate, kADMFloatingDialogStyle, initPanel, &second, 0,
                      &b);
  // Item ids are unique in a dialog and above 0; unknown types are refused.
  const AIRect r{0, 0, 10, 10};
  ADMItemRef item = nullptr;
  EXPECT_EQ(gAdm.item->Create(a, 50, kADMUserType, &r, nullptr, &item), kBadParameterErr);
  EXPECT_EQ(gAdm.item->Create(a, 0, kADMUserType, &r, nullptr, &item), kBadParameterErr);
  EXPECT_EQ(gAdm.item->Create(a, 60, "ADM Dial Type", &r, nullptr, &item), kBadParameterErr);
  EXPECT_EQ(gAdm.item->Create(a, 60, kADMPopupMenuType, &r, nullptr, &item), kBadParameterErr);
  manager().closeAll();
  EXPECT_EQ(first.events, (std::vector<std::string>{"panel destroyed", "item destroyed"}));
  EXPECT_EQ(second.events, first.events);
  EXPECT_FALSE(manager().hasDialogs());
}

// ---- The flyout menu: a track proc rewords entries for the modifiers of the opening ----

AIBoolean trackFlyout(ADMItemRef item, ADMTrackerRef tracker) {
  int32_t action = 0;
  gAdm.tracker->GetAction(tracker, &action);
  if (action == kADMButtonDownAction) {
    AIBoolean alt = 0;
    gAdm.tracker->TestModifier(tracker, kAIAltModifier, &alt);
    ADMListRef list = nullptr;
    gAdm.item->GetList(item, &list);
    ADMEntryRef entry = nullptr;
    gAdm.list->GetEntry(list, 0, &entry);
    gAdm.entry->SetText(entry, alt ? "Select in handles" : "Select handles");
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
  int32_t modifiers = 0;
  gAdm.tracker->GetModifiers(nullptr, &modifiers);  // the event being handled
  uint8_t keys[256] = {};
  SQGetKeyboardState(keys);
  logOf(item)->events.push_back(std::string(text) + " mods " + std::to_string(modifiers) +
                                ((keys[kVKAlt] & kKeyDownBit) != 0 ? " alt down" : ""));
  return kNoErr;
}

TEST_F(DialogTest, FlyoutMenuOpensThroughItsTrackerAndNotifiesTheChoice) {
  auto init = +[](ADMDialogRef dialog) -> AIErr {
    ADMItemRef menu = itemOf(dialog, kADMMenuItemID);
    ADMListRef list = nullptr;
    gAdm.item->GetList(menu, &list);
    ADMEntryRef entry = nullptr;
    for (int32_t i = 0; i < 3; ++i) gAdm.list->InsertEntry(list, i, &entry);
    gAdm.entry->SetText(entry, "Preferences...");
    gAdm.list->GetEntry(list, 1, &entry);
    gAdm.entry->Enable(entry, 0);
    gAdm.item->SetTrackProc(menu, trackFlyout);
    gAdm.item->SetNotifyProc(menu, flyoutChosen);
    return kNoErr;
  };
  PanelLog log;
  ADMDialogRef panel = nullptr;
  ASSERT_EQ(gAdm.dialog->Create(plugin(), "Flyout", kAboutTemplate, kADMFloatingDialogStyle, init,
                                &log, 0, &panel),
            kNoErr);
  gAdm.dialog->Show(panel, 1);
  std::string error;
  sqhost::Event e;
  e.kind = Kind::DialogChoose;
  e.dialog = "Flyout";
  e.item = kADMMenuItemID;
  e.number = 0;
  e.modifiers = kAIAltModifier | kAIShiftModifier;
  ASSERT_TRUE(applyAction(e, error)) << error;
  e.modifiers = 0;
  ASSERT_TRUE(applyAction(e, error)) << error;
  e.number = 1;  // disabled: nothing happens
  ASSERT_TRUE(applyAction(e, error)) << error;
  e.number = 2;
  ASSERT_TRUE(applyAction(e, error)) << error;
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"Select in handles mods 160 alt down",
                                      "Select handles mods 0", "Preferences... mods 0"}));
  gAdm.dialog->Destroy(panel);
}

// ---- Typing goes through the field's tracker as key strokes, committed by Tab ----

AIBoolean trackAmount(ADMItemRef item, ADMTrackerRef tracker) {
  int32_t key = 0;
  gAdm.tracker->GetVirtualKey(tracker, &key);
  AIBoolean handled = 0;
  gAdm.item->DefaultTrack(item, tracker, &handled);
  AIReal value = 0;
  gAdm.item->GetFloatValue(item, &value);
  if (key == kADMTabKey || key == kADMEnterKey) {
    logOf(item)->events.push_back("key " + std::to_string(key) + " value " +
                                  std::to_string(static_cast<int>(value)));
  }
  return handled;
}

TEST_F(DialogTest, TypedValuesReachTrackersAsKeyStrokes) {
  auto init = +[](ADMDialogRef dialog) -> AIErr {
    const AIRect r{10, 40, 70, 56};
    ADMItemRef field = nullptr;
    gAdm.item->Create(dialog, 41, kADMTextEditType, &r, nullptr, &field);
    gAdm.item->SetFloatValue(field, 5);
    gAdm.item->SetMask(field, kADMKeyStrokeMask);
    gAdm.item->SetTrackProc(field, trackAmount);
    return kNoErr;
  };
  PanelLog log;
  ADMDialogRef panel = nullptr;
  ASSERT_EQ(gAdm.dialog->Create(plugin(), "Amounts", kAboutTemplate, kADMFloatingDialogStyle, init,
                                &log, 0, &panel),
            kNoErr);
  gAdm.dialog->Show(panel, 1);
  std::string error;
  sqhost::Event e;
  e.kind = Kind::DialogValue;
  e.dialog = "Amounts";
  e.item = 41;
  e.number = 12;
  ASSERT_TRUE(applyAction(e, error)) << error;
  ASSERT_TRUE(manager().pressKey("Amounts", kADMEnterKey, 0, error)) << error;
  EXPECT_EQ(log.events, (std::vector<std::string>{"key 9 value 12", "key 3 value 12"}));
  EXPECT_EQ(itemText(itemOf(panel, 41)), "12");
  AIBoolean active = 0;
  gAdm.item->IsActive(itemOf(panel, 41), &active);
  EXPECT_EQ(active, 1);  // the only field keeps the focus
  gAdm.item->Enable(itemOf(panel, 41), 0);
  gAdm.item->IsActive(itemOf(panel, 41), &active);
  EXPECT_EQ(active, 0);
  EXPECT_EQ(gAdm.item->Activate(itemOf(panel, 41), 1), kBadParameterErr);
  gAdm.dialog->Destroy(panel);
}

// ---- Docking ----

TEST_F(DialogTest, PanelsDockInNamedGroups) {
  ADMDialogRef a = nullptr;
  ADMDialogRef b = nullptr;
  gAdm.dialog->Create(plugin(), "A", kAboutTemplate, kADMTabbedFloatingDialogStyle, nullptr,
                      nullptr, 0, &a);
  gAdm.dialog->Create(plugin(), "B", kAboutTemplate, kADMTabbedFloatingDialogStyle, nullptr,
                      nullptr, 0, &b);
  char name[64] = {};
  int32_t code = -1;
  ASSERT_EQ(gAdm.group->GetDialogGroupInfo(a, name, sizeof name, &code), kNoErr);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(code, 0);

  const AIRect placeA{94, 119, 304, 300};
  gAdm.dialog->SetBoundsRect(a, &placeA);
  ASSERT_EQ(gAdm.group->SetDialogGroupInfo(a, "Ferncliff Dialogs", 0), kNoErr);
  ASSERT_EQ(gAdm.group->SetDialogGroupInfo(b, "Ferncliff Dialogs", 9), kNoErr);  // clamped
  gAdm.group->GetDialogGroupInfo(b, name, sizeof name, &code);
  EXPECT_STREQ(name, "Ferncliff Dialogs");
  EXPECT_EQ(code, 1);
  AIRect bounds{};
  gAdm.dialog->GetBoundsRect(b, &bounds);
  EXPECT_EQ(bounds.left, 94);  // moved into the group's frame, keeping its size
  EXPECT_EQ(bounds.top, 119);
  EXPECT_EQ(bounds.right - bounds.left, 465);
  gAdm.dialog->GetBoundsRect(a, &bounds);
  EXPECT_EQ(bounds.right, 304);  // the first panel kept its bounds

  EXPECT_EQ(gAdm.group->GetDialogGroupInfo(b, name, 5, &code), kBufferTooSmallErr);
  EXPECT_STREQ(name, "Fern");
  EXPECT_EQ(code, 1);
  EXPECT_EQ(gAdm.group->SetDialogGroupInfo(b, "X", -1), kBadParameterErr);
  gAdm.dialog->Destroy(a);  // the group closes up
  gAdm.group->GetDialogGroupInfo(b, name, sizeof name, &code);
  EXPECT_EQ(code, 0);
  gAdm.group->SetDialogGroupInfo(b, "", 0);
  gAdm.group->GetDialogGroupInfo(b, name, sizeof name, &code);
  EXPECT_STREQ(name, "");
  gAdm.dialog->Destroy(b);
}

// ---- Drawing and icons ----

std::vector<unsigned char> pngOf(int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  std::vector<unsigned char> bytes;
  cairo_surface_write_to_png_stream(
      surface,
      +[](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<unsigned char>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(surface);
  return bytes;
}

TEST_F(DialogTest, IconsComeFromPngResourcesAndOutliveThePluginsReference) {
  sqhost::PluginResources resources = host().library()->resources();
  // Ids the plug-in's own pictures do not use.
  resources.images[{17052, 0}] = pngOf(15, 9);
  resources.images[{17053, 2}] = pngOf(18, 6);
  resources.images[{17099, 0}] = {'n', 'o', 't', ' ', 'p', 'n', 'g'};
  manager().useResources(&resources);

  ADMIconRef icon = nullptr;
  ASSERT_EQ(gAdm.icon->GetFromResource(plugin(), 17053, 2, &icon), kNoErr);
  int32_t width = 0;
  int32_t height = 0;
  gAdm.icon->GetSize(icon, &width, &height);
  EXPECT_EQ(width, 18);
  EXPECT_EQ(height, 6);
  ADMIconRef missing = reinterpret_cast<ADMIconRef>(1);
  EXPECT_EQ(gAdm.icon->GetFromResource(plugin(), 17053, 0, &missing), kResourceNotFoundErr);
  EXPECT_EQ(missing, nullptr);
  EXPECT_EQ(gAdm.icon->GetFromResource(plugin(), 17099, 0, &missing), kBadParameterErr);

  ADMDialogRef panel = nullptr;
  gAdm.dialog->Create(plugin(), "Icons", kAboutTemplate, kADMFloatingDialogStyle, nullptr, nullptr,
                      0, &panel);
  EXPECT_EQ(gAdm.dialog->SetIcon(panel, 0, icon), kNoErr);
  EXPECT_EQ(gAdm.dialog->SetIcon(panel, 2, icon), kBadParameterErr);
  EXPECT_EQ(gAdm.icon->Destroy(icon), kNoErr);
  EXPECT_EQ(gAdm.icon->Destroy(icon), kBadHandleErr);
  EXPECT_EQ(gAdm.icon->Destroy(nullptr), kNoErr);
  ASSERT_NE(manager().findDialog("Icons")->icons[0], nullptr);
  EXPECT_EQ(manager().findDialog("Icons")->icons[0]->width, 18);

  // A picture item shows its picture, the disabled one while disabled.
  const AIRect r{4, 33, 34, 58};
  ADMItemRef button = nullptr;
  gAdm.item->Create(panel, 32, kADMPicturePushButtonType, &r, nullptr, &button);
  EXPECT_EQ(gAdm.item->SetPictureID(button, 17052), kNoErr);
  EXPECT_EQ(gAdm.item->SetDisabledPictureID(button, 17053), kResourceNotFoundErr);  // index 0
  EXPECT_EQ(gAdm.item->SetPictureID(itemOf(panel, 2), 17052), kBadParameterErr);    // a label
  gAdm.dialog->Show(panel, 1);
  const sqhost::DisplayList list = manager().draw(*manager().findDialog("Icons"));
  bool found = false;
  for (const auto& op : list.ops) {
    if (op.kind == sqhost::DrawOp::Kind::Icon) {
      EXPECT_EQ(sqhost::describeOp(op), "icon 17052 at (11, 41) size 15x9");  // centred
      found = true;
    }
  }
  EXPECT_TRUE(found);
  gAdm.dialog->Destroy(panel);
  manager().useResources(nullptr);
}

AIErr drawMark(ADMItemRef item, ADMDrawerRef drawer) {
  AIRect bounds{};
  gAdm.drawer->GetBoundsRect(drawer, &bounds);
  gAdm.drawer->SetColor(drawer, kADMBackgroundColor);
  gAdm.drawer->ClearRect(drawer, &bounds);
  gAdm.item->DefaultDraw(item, drawer);
  gAdm.drawer->SetColor(drawer, ADM_RGB_COLOR(255, 0, 0));
  const AIPoint from{0, 0};
  const AIPoint to{bounds.right - 1, bounds.bottom - 1};
  gAdm.drawer->DrawLine(drawer, &from, &to);
  EXPECT_EQ(gAdm.drawer->Destroy(drawer), kBadParameterErr);  // the host's drawer
  return kNoErr;
}

TEST_F(DialogTest, DrawProcsAndAnnotationPortsRecordDisplayLists) {
  auto init = +[](ADMDialogRef dialog) -> AIErr {
    const AIRect r{20, 30, 40, 40};
    ADMItemRef user = nullptr;
    gAdm.item->Create(dialog, 60, kADMUserType, &r, nullptr, &user);
    gAdm.item->SetDrawProc(user, drawMark);
    return kNoErr;
  };
  ADMDialogRef panel = nullptr;
  gAdm.dialog->Create(plugin(), "Drawn", kAboutTemplate, kADMFloatingDialogStyle, init, nullptr, 0,
                      &panel);
  gAdm.dialog->Show(panel, 1);
  const sqhost::DisplayList drawn = manager().draw(*manager().findDialog("Drawn"));
  ASSERT_GE(drawn.ops.size(), 3u);
  EXPECT_EQ(sqhost::describeOp(drawn.ops.front()), "clear rect (0, 0, 465, 147) #E6E6E6FF");
  EXPECT_EQ(sqhost::describeOp(drawn.ops[drawn.ops.size() - 2]),
            "clear rect (20, 30, 40, 40) #E6E6E6FF");
  EXPECT_EQ(sqhost::describeOp(drawn.ops.back()), "line (20, 30) to (39, 39) #FF0000FF");
  ASSERT_EQ(drawn.ops.back().clip.size(), 1u);
  EXPECT_EQ(drawn.ops.back().clip[0].right, 40);  // an item draws only within itself
  // The labels of the template are drawn with their text.
  EXPECT_NE(drawn.describe().find("text \"Spindlequiver 1.4\""), std::string::npos);

  ADMItemRef user = itemOf(panel, 60);
  gAdm.item->Update(user);
  EXPECT_EQ(manager().findDialog("Drawn")->findItem(60)->lastDrawing.ops.size(), 2u);
  gAdm.dialog->Destroy(panel);

  // An annotator's drawer: colours resolved, clip and XOR mode kept with each shape.
  sqhost::DisplayList annotation;
  AIPortRef port = manager().openPort(annotation, AIRect{0, 0, 200, 100});
  ADMDrawerRef drawer = nullptr;
  const AIRect area{0, 0, 150, 100};
  ASSERT_EQ(gAdm.drawer->Create(port, &area, kADMPaletteFont, &drawer), kNoErr);
  EXPECT_EQ(gAdm.drawer->Create(port, &area, 9, &drawer), kBadParameterErr);
  ASSERT_EQ(gAdm.drawer->Create(port, &area, kADMPaletteFont, &drawer), kNoErr);
  EXPECT_EQ(gAdm.drawer->SetColor(drawer, 0x12345600), kBadParameterErr);
  const AIRGBColor blue{0, 0, 0xFFFF};
  gAdm.drawer->SetRGBColor(drawer, &blue);
  gAdm.drawer->SetDrawMode(drawer, kADMXorMode);
  const AIRect ring{10, 10, 22, 22};
  gAdm.drawer->FrameOval(drawer, &ring);
  gAdm.drawer->SetDrawMode(drawer, kADMNormalMode);
  const AIRect clip{0, 0, 5, 5};
  gAdm.drawer->SetClipRect(drawer, &clip);
  gAdm.drawer->FillRect(drawer, &ring);  // outside the clip: nothing
  gAdm.drawer->AddClipRect(drawer, &ring);
  const AIPoint baseline{12, 20};
  gAdm.drawer->DrawText(drawer, "Anchor", &baseline);
  int32_t width = 0;
  gAdm.drawer->GetTextWidth(drawer, "Anchor", &width);
  EXPECT_EQ(annotation.describe(),
            "frame oval (10, 10, 22, 22) #0000FFFF xor\n"
            "text \"Anchor\" at (12, 20) width " +
                std::to_string(width) + " font 2 #0000FFFF\n");
  manager().closePort(port);  // neither drawer was destroyed
  EXPECT_TRUE(noted("2 drawer(s) still alive"));
  AIRect bounds{};
  EXPECT_EQ(gAdm.drawer->GetBoundsRect(drawer, &bounds), kBadHandleErr);
}

}  // namespace
}  // namespace sqtest
