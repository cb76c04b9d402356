// Start-up, shut-down, unload and reload of the real plug-in, as the host sees them.
#include <gtest/gtest.h>

#include "resources/resource_ids.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "support/host_fixture.hpp"

namespace {

using sqtest::HostTest;

const char* const kAllKeys[] = {"shift_equalizes",
                                "anchor_allHandles",
                                "drag_break",
                                "slowdrag",
                                "pointdrag",
                                "slowdragCtrl",
                                "multi_extendPro",
                                "multi_extendSAZ",
                                "precision",
                                "shift_multi",
                                "slowdrag_div",
                                "smoothing",
                                "MHIncrement",
                                "MHScale",
                                "MHRotate",
                                "MHSetLength",
                                "MHSetAngle",
                                "use_ring",
                                "use_ring_paths",
                                "ring_has_text",
                                "boxed_text",
                                "boxed_text_large",
                                "expanded",
                                "counterrotate",
                                "addpoints",
                                "snap_to_tangencies",
                                "highlight_tangencies",
                                "recognize_connectors",
                                "angle_threshhold"};

using Lifecycle = HostTest;

TEST_F(Lifecycle, StartUpRegistersEverythingInOrder) {
  sqhost::Host& h = startHost();
  EXPECT_EQ(lastResult("SP Interface", "Startup"), kNoErr);
  const auto& r = h.registrations();
  const sqhost::ToolRecord* tool = r.toolByName("Spindlequiver Tool");
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(tool->title, "Spindlequiver Tool");
  EXPECT_EQ(tool->tooltip, "Spindlequiver Tool");
  EXPECT_EQ(tool->options, 0x21);
  const sqhost::ToolRecord* pen = r.toolByName("Pen Tool");
  EXPECT_EQ(tool->group, pen->group);
  EXPECT_EQ(tool->toolset, pen->toolset);
  EXPECT_EQ(tool->infoVariables, (std::vector<int32_t>{15, 16, 2, 3, 4, 5}));

  ASSERT_EQ(r.annotators().size(), 1u);
  EXPECT_EQ(r.annotators()[0]->name, "Spindlequiver Annotator");
  EXPECT_FALSE(r.annotators()[0]->active);

  ASSERT_EQ(r.menuItems().size(), 1u);
  EXPECT_EQ(r.menuItems()[0]->text, "Spindlequiver");
  EXPECT_EQ(r.menuItems()[0]->group, "Tool Palettes");
  EXPECT_EQ(r.menuItems()[0]->options, 1);

  ASSERT_EQ(r.notifiers().size(), 14u);
  EXPECT_EQ(r.notifiers()[0]->name, "Spindlequiver - DocViewChanged");
  EXPECT_EQ(r.notifiers()[1]->type, "AI Art Selection Changed Notifier");
  EXPECT_EQ(r.notifiers()[13]->name, "Spindlequiver - RulerOriginChanged");
  for (std::size_t i = 0; i < 14; ++i) {
    EXPECT_EQ(r.notifiers()[i]->active, i != 0 && i != 3) << r.notifiers()[i]->name;
  }
  // Every suite acquired for a message has been released again, except the one acquisition the
  // point editor panel holds while it exists, and nothing leaked but the state record.
  EXPECT_EQ(h.suites().totalUseCount(), 40);
  EXPECT_EQ(h.liveBlockCount(), 1u);
  EXPECT_TRUE(h.dialogs().dialogsShown().empty());
  h.dialogs().closeAll();
  EXPECT_EQ(h.suites().totalUseCount(), 0);
}

TEST_F(Lifecycle, FirstStartStoresDefaultsAndShutDownWritesTheRest) {
  startHost();
  {
    const auto store = storedPreferences();
    EXPECT_EQ(store.getBoolean("Spindlequiver", "PVisible"), true);
    EXPECT_EQ(store.getInteger("Spindlequiver", "precision"), 3);
    EXPECT_EQ(store.getReal("Spindlequiver", "smoothing"), 0.333);
    for (const char* key : kAllKeys) {
      EXPECT_EQ(store.getValue("Spindlequiver", key).has_value(),
                std::string(key) != "shift_equalizes")
          << key;
    }
  }
  stopHost();
  const auto store = storedPreferences();
  EXPECT_EQ(store.getBoolean("Spindlequiver", "shift_equalizes"), false);
  EXPECT_EQ(host_, nullptr);
}

TEST_F(Lifecycle, StoredValuesAreClampedAndKeptThroughShutDown) {
  {
    sqhost::PreferenceStore store(prefsFile());
    store.putInteger("Spindlequiver", "precision", 7);
    store.putReal("Spindlequiver", "smoothing", 0.05);
    store.putReal("Spindlequiver", "angle_threshhold", 0);
    store.putReal("Spindlequiver", "MHScale", 25000);
    store.putBoolean("Spindlequiver", "boxed_text_large", true);
    ASSERT_TRUE(store.save().ok());
  }
  sqhost::Host& h = startHost();
  EXPECT_EQ(lastResult("SP Interface", "Startup"), kNoErr);
  h.preferences().clearWrites();
  stopHost();
  const auto store = storedPreferences();
  EXPECT_EQ(store.getInteger("Spindlequiver", "precision"), 4);
  EXPECT_EQ(store.getReal("Spindlequiver", "smoothing"), 0.1);
  EXPECT_EQ(store.getReal("Spindlequiver", "angle_threshhold"), 1.0);
  EXPECT_EQ(store.getReal("Spindlequiver", "MHScale"), 20000.0);
  // Read, used, never written: it survives untouched.
  EXPECT_EQ(store.getBoolean("Spindlequiver", "boxed_text_large"), true);
}

TEST_F(Lifecycle, MistypedKeysKeepTheirDefaultsWithoutAnErrorDialog) {
  // "angle_threshhold" is the last key read, so its failing read would be start-up's result;
  // "PVisible" is read when the panel is made.
  for (const bool lastOnly : {true, false}) {
    SCOPED_TRACE(lastOnly);
    {
      sqhost::PreferenceStore store(prefsFile());
      store.putBoolean("Spindlequiver", "angle_threshhold", true);
      store.putBoolean("Spindlequiver", "precision", true);
      if (!lastOnly) store.putInteger("Spindlequiver", "PVisible", 0);
      ASSERT_TRUE(store.save().ok());
    }
    sqhost::Host& h = startHost();
    EXPECT_EQ(lastResult("SP Interface", "Startup"), kNoErr);
    EXPECT_EQ(lastResult("AI Notifier", "AI Notify"), kNoErr);
    EXPECT_TRUE(h.dialogs().dialogsShown().empty());  // no "Plug-in Error"
    EXPECT_TRUE(h.dialogs().findDialog("SpindlequiverInfoDialog")->visible);
    stopHost();
    // The defaults were used, and are what the next run finds.
    const auto store = storedPreferences();
    EXPECT_EQ(store.getReal("Spindlequiver", "angle_threshhold"), 5.0);
    EXPECT_EQ(store.getInteger("Spindlequiver", "precision"), 3);
    EXPECT_EQ(store.getBoolean("Spindlequiver", "PVisible"), true);
  }
}

TEST_F(Lifecycle, WellTypedKeysWithoutPVisibleAreReadWithoutWarnings) {
  // Telling a first start from a later one must not read keys with another type than stored: the
  // host reports each such read as a mistyped key.
  {
    sqhost::PreferenceStore store(prefsFile());
    store.putReal("Spindlequiver", "angle_threshhold", 7.0);
    store.putInteger("Spindlequiver", "precision", 2);
    ASSERT_TRUE(store.save().ok());
  }
  testing::internal::CaptureStderr();
  startHost();
  stopHost();
  const std::string warnings = testing::internal::GetCapturedStderr();
  EXPECT_EQ(warnings.find("stored as"), std::string::npos) << warnings;
  // Not a first start: the stored values were kept, not replaced by the defaults.
  const auto store = storedPreferences();
  EXPECT_EQ(store.getReal("Spindlequiver", "angle_threshhold"), 7.0);
  EXPECT_EQ(store.getInteger("Spindlequiver", "precision"), 2);
}

TEST_F(Lifecycle, LargeBoxedTextIsNeverWrittenBack) {
  {
    sqhost::PreferenceStore store(prefsFile());
    store.putInteger("Spindlequiver", "precision", 2);
    ASSERT_TRUE(store.save().ok());
  }
  sqhost::Host& h = startHost();
  std::vector<std::string> written;
  h.preferences().setWriteObserver(
      [&](const sqhost::PreferenceWrite& w) { written.push_back(w.key); });
  stopHost();
  // The settings' 28 keys, and the four docking keys of the panel, which alone writes "PVisible".
  EXPECT_EQ(written.size(), 28u + 4);
  EXPECT_EQ(std::count(written.begin(), written.end(), "boxed_text_large"), 0);
  EXPECT_EQ(std::count(written.begin(), written.end(), "PVisible"), 1);
  EXPECT_EQ(written.front(), "DockCode");
  EXPECT_EQ(storedPreferences().getBoolean("Spindlequiver", "boxed_text_large"), std::nullopt);
}

TEST_F(Lifecycle, UnloadAndReloadKeepTheSameStateRecord) {
  // The host unloads and reloads the library after every message; settings loaded at start-up
  // must survive every cycle, and shut-down must still find and free the one state record.
  {
    sqhost::PreferenceStore store(prefsFile());
    store.putInteger("Spindlequiver", "precision", 2);
    ASSERT_TRUE(store.save().ok());
  }
  sqhost::Host& h = startHost(/*unloadEachMessage=*/true);
  EXPECT_EQ(lastResult("SP Interface", "Startup"), kNoErr);
  ASSERT_EQ(h.liveBlockCount(), 1u);
  // The library stays loaded while the point editor panel exists; without it, it comes and goes.
  h.dialogs().closeAll();
  for (int i = 0; i < 3; ++i) {
    SPInterfaceMessage about{};
    h.send("SP Interface", "About", &about);  // cancelled at once: no event answers it
  }
  EXPECT_EQ(lastResult("SP Access", "Reload"), kNoErr);
  EXPECT_EQ(h.dialogs().dialogsShown().size(), 3u);
  EXPECT_EQ(h.suites().totalUseCount(), 0);
  EXPECT_EQ(h.liveBlockCount(), 1u);
  stopHost();
  // The record was freed by the plug-in, and the settings it held were written back.
  EXPECT_EQ(storedPreferences().getInteger("Spindlequiver", "precision"), 2);
}

TEST_F(Lifecycle, ShutDownFreesTheRecordAndClearsTheGlobals) {
  sqhost::Host& h = startHost();
  ASSERT_EQ(h.liveBlockCount(), 1u);
  std::string error;
  EXPECT_FALSE(h.unloadPlugin(error));  // the panel's callbacks point into the library
  h.dialogs().closeAll();
  ASSERT_TRUE(h.unloadPlugin(error)) << error;
  ASSERT_TRUE(h.reloadPlugin(error)) << error;
  h.shutDown();
  EXPECT_EQ(h.liveBlockCount(), 0u);
  EXPECT_EQ(lastResult("SP Interface", "Shutdown"), kNoErr);
}

TEST_F(Lifecycle, UnknownCallersAndSelectorsAnswerZero) {
  sqhost::Host& h = startHost();
  SPInterfaceMessage m{};
  EXPECT_EQ(h.send("AI Somewhere", "AI Something", &m), kNoErr);
  EXPECT_EQ(h.send("SP Interface", "Purge", &m), kNoErr);
  AIToolMessage tool{};
  EXPECT_EQ(h.send("AI Tool", "AI Decrease Diameter", &tool), kNoErr);
  EXPECT_TRUE(h.dialogs().dialogsShown().empty());
  EXPECT_EQ(h.suites().totalUseCount(), 40);  // the panel's acquisition only
}

TEST_F(Lifecycle, AboutShowsTheProductAndClosesWithOk) {
  sqhost::Host& h = startHost();
  sqhost::Event press;
  press.kind = sqhost::Event::Kind::DialogPress;
  press.item = 1;
  h.events().post(press);
  SPInterfaceMessage about{};
  EXPECT_EQ(h.send("SP Interface", "About", &about), kNoErr);
  ASSERT_EQ(h.dialogs().dialogsShown().size(), 1u);
  const sqhost::DialogRecord& shown = h.dialogs().dialogsShown()[0];
  EXPECT_EQ(shown.name, "SpindlequiverAboutDialog");
  EXPECT_EQ(shown.dialogID, sq::kAboutDialogID);
  EXPECT_EQ(shown.closedWith, 1);
  EXPECT_FALSE(shown.cancelled);
  bool product = false;
  for (const auto& item : shown.items) product = product || item.text == "Spindlequiver 1.4";
  EXPECT_TRUE(product);
  EXPECT_TRUE(h.events().empty());
}

}  // namespace
