// The fixture with the plug-in's own code linked into the test talking in-process to the host.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/host.hpp"
#include "app/plugin_library.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/settings.hpp"
#include "support/host_fixture.hpp"

namespace sqtest {

// A host (not started) that shows the real plug-in's resources, with the plug-in code of the test
// binary holding its suites and using state() as its state record with the default settings.
// Documents open as the session driver opens them: SVG coordinates are view pixels.
class InProcessPlugin : public HostFixture {
 public:
  InProcessPlugin() = default;
  ~InProcessPlugin() { close(); }

  // Opens an SVG document (see SessionDriver::open) in a fresh host; a host opened before is
  // closed first. The state record is kept (with its settings set back to the defaults).
  void open(const std::string& svg) {
    close();
    std::string error;
    library_ = sqhost::PluginLibrary::open(SQ_PLUGIN_PATH, error);
    ASSERT_NE(library_, nullptr) << error;
    make();
    host().dialogs().useResources(&library_->resources());
    driver().open(svg);
    if (::testing::Test::HasFatalFailure()) return;
    sq::AcquireCount() = 0;
    ASSERT_EQ(sq::AcquireSuites(host().basicSuite()), kNoErr);
    acquired_ = true;
    sq::SetState(state_.get());
    sq::SetDefaultSettings(*state_);
  }

  void close() {
    sq::SetState(nullptr);
    if (acquired_) sq::ReleaseSuites(host().basicSuite());
    acquired_ = false;
    stop();
    library_.reset();
  }

  sqhost::View& view() { return *host().currentView(); }
  AIDocumentViewHandle viewHandle() { return sqhost::ViewList::handleOf(view()); }
  sq::PluginState& state() { return *state_; }
  SPPluginRef pluginRef() { return host().pluginRef(); }

  // The model object with this SVG id (any layer, any depth).
  const sqhost::Art& artNamed(const std::string& name) {
    const sqhost::Document& doc = *host().currentDocument();
    for (std::size_t i = 0; i < doc.layerCount(); ++i) {
      if (const sqhost::Art* found = find(doc.layer(i).group(), name)) return *found;
    }
    ADD_FAILURE() << "no art named " << name;
    return doc.layer(0).group();
  }
  AIArtHandle art(const std::string& name) {
    return reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(artNamed(name).id()));
  }

 private:
  static const sqhost::Art* find(const sqhost::Art& a, const std::string& name) {
    if (a.name() == name) return &a;
    for (std::size_t i = 0; i < a.childCount(); ++i) {
      if (const sqhost::Art* f = find(a.child(i), name)) return f;
    }
    return nullptr;
  }

  std::unique_ptr<sqhost::PluginLibrary> library_;
  bool acquired_ = false;
  std::unique_ptr<sq::PluginState> state_ = std::make_unique<sq::PluginState>();
};

}  // namespace sqtest
