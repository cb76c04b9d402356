// A host started with the real plug-in, and the ADM suites for test code acting as a plug-in.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
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

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    prefs_ = std::filesystem::temp_directory_path() /
             ("sq-dialogs-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
              info->name() + ".json");
    std::filesystem::remove(prefs_);
    host_ = std::make_unique<sqhost::Host>(sqhost::HostOptions{SQ_PLUGIN_PATH, prefs_});
    std::string error;
    ASSERT_TRUE(host_->start(error)) << error;
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
    host_->dialogs().closeAll();
    host_->events().clear();
    baseline_ = host_->observer().lines().size();
  }

  void TearDown() override {
    if (host_) {
      for (const auto& [name, version] : acquired_)
        host_->basicSuite()->ReleaseSuite(name, version);
    }
    acquired_.clear();
    gAdm = AdmSuites{};
    host_.reset();
    std::filesystem::remove(prefs_);
  }

  template <typename Suite>
  void acquire(const char* name, int32_t version, const Suite*& out) {
    const void* table = nullptr;
    ASSERT_EQ(host_->basicSuite()->AcquireSuite(name, version, &table), kNoErr) << name;
    out = static_cast<const Suite*>(table);
    acquired_.emplace_back(name, version);
  }

  sqhost::Host& host() { return *host_; }
  sqhost::DialogManager& manager() { return host_->dialogs(); }
  SPPluginRef plugin() { return host_->pluginRef(); }

  void post(sqhost::Event::Kind kind, int32_t item = 0, double number = 0,
            const std::string& dialog = "", const std::string& text = "", int32_t modifiers = 0) {
    sqhost::Event e;
    e.kind = kind;
    e.item = item;
    e.number = number;
    e.dialog = dialog;
    e.text = text;
    e.modifiers = modifiers;
    host_->events().post(e);
  }
  void press(int32_t item, const std::string& dialog = "") {
    post(sqhost::Event::Kind::DialogPress, item, 0, dialog);
  }

  // Observer lines noted since the test started.
  std::vector<std::string> notes() const {
    const auto& lines = host_->observer().lines();
    return std::vector<std::string>(lines.begin() + static_cast<long>(baseline_), lines.end());
  }
  bool noted(const std::string& fragment) const {
    for (const auto& line : notes()) {
      if (line.find(fragment) != std::string::npos) return true;
    }
    return false;
  }

 private:
  std::filesystem::path prefs_;
  std::unique_ptr<sqhost::Host> host_;
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
