// The one fixture of scenario tests: a host with the real plug-in, its session and a driver.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "app/host.hpp"
#include "session/session.hpp"
#include "support/session_driver.hpp"
#include "support/test_files.hpp"

namespace sqtest {

// A host with the real plug-in, a private folder holding its preference file and the files its
// session reads and writes, and a session driver over it.
class HostFixture {
 public:
  HostFixture() = default;
  HostFixture(const HostFixture&) = delete;
  HostFixture& operator=(const HostFixture&) = delete;
  ~HostFixture() { stop(); }

  const std::filesystem::path& folder() const { return dir_.path(); }
  std::filesystem::path prefsFile() const { return dir_.path() / "preferences.json"; }

  // Makes the host (not started yet) with the real plug-in library; a host made before is
  // shut down first.
  sqhost::Host& make(bool unloadEachMessage = false) {
    stop();
    sqhost::HostOptions options;
    options.pluginPath = SQ_PLUGIN_PATH;
    options.preferenceFile = prefsFile();
    options.unloadAfterEveryMessage = unloadEachMessage;
    host_ = std::make_unique<sqhost::Host>(options);
    session_ = std::make_unique<sqhost::Session>(*host_);
    session_->setInputBase(folder());
    session_->setOutputBase(folder());
    driver_ = std::make_unique<SessionDriver>(*session_);
    return *host_;
  }

  // Makes and starts the host; fails the test when the plug-in cannot be loaded.
  sqhost::Host& start(bool unloadEachMessage = false) {
    sqhost::Host& h = make(unloadEachMessage);
    std::string error;
    EXPECT_TRUE(h.start(error)) << error;
    return h;
  }

  // Shuts the host down and destroys it (nothing when there is none).
  void stop() {
    driver_.reset();
    session_.reset();
    if (host_) host_->shutDown();
    host_.reset();
  }

  bool running() const { return host_ != nullptr; }
  sqhost::Host& host() { return *host_; }
  sqhost::Session& session() { return *session_; }
  SessionDriver& driver() { return *driver_; }

  // The preferences as the next start would find them: the file, through a fresh store, or
  // while a host runs (it writes the file once, at shut-down) the values held for the file.
  sqhost::PreferenceStore storedPreferences() const {
    if (host_ && host_->started()) return host_->preferences();
    sqhost::PreferenceStore store(prefsFile());
    store.load();
    return store;
  }

  // The error of the last message sent with this caller and selector.
  AIErr lastResult(const std::string& caller, const std::string& selector) const {
    const auto& results = host_->messageResults();
    for (auto it = results.rbegin(); it != results.rend(); ++it) {
      if (it->caller == caller && it->selector == selector) return it->error;
    }
    ADD_FAILURE() << "no message " << caller << " / " << selector << " was sent";
    return 0;
  }

  // Whether the host noted a line containing fragment.
  bool noted(const std::string& fragment) const {
    for (const auto& line : host_->observer().lines()) {
      if (line.find(fragment) != std::string::npos) return true;
    }
    return false;
  }

 protected:
  TempDir dir_;
  std::unique_ptr<sqhost::Host> host_;

 private:
  std::unique_ptr<sqhost::Session> session_;
  std::unique_ptr<SessionDriver> driver_;
};

// The fixture for Google Test: the host is shut down after each test.
class HostTest : public ::testing::Test, public HostFixture {
 protected:
  sqhost::Host& makeHost(bool unloadEachMessage = false) { return make(unloadEachMessage); }
  sqhost::Host& startHost(bool unloadEachMessage = false) { return start(unloadEachMessage); }
  void stopHost() { stop(); }

  void TearDown() override { stop(); }
};

}  // namespace sqtest
