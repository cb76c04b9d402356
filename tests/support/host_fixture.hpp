// A host with the real plug-in loaded, a private preference file, and helpers to inspect both.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>

#include "app/host.hpp"

namespace sqtest {

// A folder of its own for each test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("sqtest-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeFile(const std::filesystem::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

class HostTest : public ::testing::Test {
 protected:
  std::filesystem::path prefsFile() const { return dir_.path() / "preferences.json"; }

  // Creates the host (not started yet) with the real plug-in.
  sqhost::Host& makeHost(bool unloadEachMessage = false) {
    sqhost::HostOptions options;
    options.pluginPath = SQ_PLUGIN_PATH;
    options.preferenceFile = prefsFile();
    options.unloadAfterEveryMessage = unloadEachMessage;
    host_ = std::make_unique<sqhost::Host>(options);
    return *host_;
  }

  // Creates and starts the host; fails the test when the plug-in cannot be loaded.
  sqhost::Host& startHost(bool unloadEachMessage = false) {
    sqhost::Host& h = makeHost(unloadEachMessage);
    std::string error;
    EXPECT_TRUE(h.start(error)) << error;
    return h;
  }

  void stopHost() {
    if (host_) host_->shutDown();
    host_.reset();
  }

  sqhost::Host& host() { return *host_; }

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

  bool noted(const std::string& fragment) const {
    for (const auto& line : host_->observer().lines()) {
      if (line.find(fragment) != std::string::npos) return true;
    }
    return false;
  }

  void TearDown() override { stopHost(); }

  TempDir dir_;
  std::unique_ptr<sqhost::Host> host_;
};

}  // namespace sqtest
