// The host fixture with the real plug-in started, and the ADM suites for test callbacks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/host.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_basic.h"
#include "sqsdk/suites/adm_dialog.h"
#include "sqsdk/suites/adm_dialog_group.h"
#include "sqsdk/suites/adm_drawer.h"
#include "sqsdk/suites/adm_entry.h"
#include "sqsdk/suites/adm_icon.h"
#include "sqsdk/suites/adm_item.h"
#include "sqsdk/suites/adm_list.h"
#include "sqsdk/suites/adm_notifier.h"
#include "sqsdk/suites/adm_tracker.h"
#include "support/host_fixture.hpp"

namespace sqtest {

struct AdmSuites {
  const ADMBasicSuite* basic = nullptr;
  const ADMDialogSuite* dialog = nullptr;
  const ADMDialogGroupSuite* group = nullptr;
  const ADMItemSuite* item = nullptr;
  const ADMListSuite* list = nullptr;
  const ADMEntrySuite* entry = nullptr;
  const ADMDrawerSuite* drawer = nullptr;
  const ADMIconSuite* icon = nullptr;
  const ADMNotifierSuite* notifier = nullptr;
  const ADMTrackerSuite* tracker = nullptr;
};

// Test callbacks are plain C function pointers: they reach the suites through this.
inline AdmSuites gAdm;

// Template ids of the plug-in's resources used by the tests.
inline constexpr int32_t kAboutTemplate = 16050;
inline constexpr int32_t kErrorTemplate = 16051;
inline constexpr int32_t kPreferencesTemplate = 16052;

class DialogTest : public HostTest {
 protected:
  void SetUp() override {
    startHost();
    if (HasFailure()) return;
    acquire(kADMBasicSuite, kADMBasicSuiteVersion, gAdm.basic);
    acquire(kADMDialogSuite, kADMDialogSuiteVersion, gAdm.dialog);
    acquire(kADMDialogGroupSuite, kADMDialogGroupSuiteVersion, gAdm.group);
    acquire(kADMItemSuite, kADMItemSuiteVersion, gAdm.item);
    acquire(kADMListSuite, kADMListSuiteVersion, gAdm.list);
    acquire(kADMEntrySuite, kADMEntrySuiteVersion, gAdm.entry);
    acquire(kADMDrawerSuite, kADMDrawerSuiteVersion, gAdm.drawer);
    acquire(kADMIconSuite, kADMIconSuiteVersion, gAdm.icon);
    acquire(kADMNotifierSuite, kADMNotifierSuiteVersion, gAdm.notifier);
    acquire(kADMTrackerSuite, kADMTrackerSuiteVersion, gAdm.tracker);
    // Dialogs the plug-in made for itself at start-up are not part of these tests.
    host().dialogs().closeAll();
    host().events().clear();
    baseline_ = host().observer().lines().size();
  }

  void TearDown() override {
    if (running()) {
      for (const auto& [name, version] : acquired_)
        host().basicSuite()->ReleaseSuite(name, version);
    }
    acquired_.clear();
    gAdm = AdmSuites{};
    HostTest::TearDown();
  }

  template <typename Suite>
  void acquire(const char* name, int32_t version, const Suite*& out) {
    const void* table = nullptr;
    ASSERT_EQ(host().basicSuite()->AcquireSuite(name, version, &table), kNoErr) << name;
    out = static_cast<const Suite*>(table);
    acquired_.emplace_back(name, version);
  }

  sqhost::DialogManager& manager() { return host().dialogs(); }
  SPPluginRef plugin() { return host().pluginRef(); }

  void post(sqhost::Event::Kind kind, int32_t item = 0, double number = 0,
            const std::string& dialog = "", const std::string& text = "", int32_t modifiers = 0) {
    sqhost::Event e;
    e.kind = kind;
    e.item = item;
    e.number = number;
    e.dialog = dialog;
    e.text = text;
    e.modifiers = modifiers;
    host().events().post(e);
  }
  void press(int32_t item, const std::string& dialog = "") {
    post(sqhost::Event::Kind::DialogPress, item, 0, dialog);
  }
  // Applies a dialog action event to a panel, as the host's loop does.
  bool applyAction(const sqhost::Event& e, std::string& error) {
    return manager().applyAction(*e.dialogAction(), error);
  }

  // Observer lines noted since the test started.
  std::vector<std::string> notes() {
    const auto& lines = host().observer().lines();
    return std::vector<std::string>(lines.begin() + static_cast<long>(baseline_), lines.end());
  }
  bool noted(const std::string& fragment) {
    for (const auto& line : notes()) {
      if (line.find(fragment) != std::string::npos) return true;
    }
    return false;
  }

 private:
  std::vector<std::pair<const char*, int32_t>> acquired_;
  std::size_t baseline_ = 0;
};

// Reads an item's text through the suite.
inline std::string itemText(ADMItemRef item) {
  char buffer[256] = {};
  gAdm.item->GetText(item, buffer, sizeof buffer);
  return buffer;
}

inline ADMItemRef itemOf(ADMDialogRef dialog, int32_t id) {
  ADMItemRef item = nullptr;
  gAdm.dialog->GetItem(dialog, id, &item);
  return item;
}

inline bool isType(ADMNotifierRef notifier, const char* type) {
  AIBoolean is = 0;
  gAdm.notifier->IsNotifierType(notifier, type, &is);
  return is != 0;
}

}  // namespace sqtest
