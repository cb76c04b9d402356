// The plug-in's own code linked into a test, talking in-process to a host that holds one document.
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
#include "svg/svg_io.hpp"

namespace sqtest {

// A host (not started) that shows the real plug-in's resources, with the plug-in code of the test
// binary holding its suites and using state() as its state record with the default settings. The
// document's view is 400 x 400 pixels at zoom 1 with artwork (0, 0) at its top-left corner, so
// artwork (h, v) is pixel (h, -v): SVG coordinates are view pixels.
class InProcessPlugin {
 public:
  InProcessPlugin() = default;
  InProcessPlugin(const InProcessPlugin&) = delete;
  InProcessPlugin& operator=(const InProcessPlugin&) = delete;
  ~InProcessPlugin() { close(); }

  // Opens a whole SVG document in a fresh host; a host opened before is closed first. The state
  // record is kept (with its settings set back to the defaults).
  void open(const std::string& svg) {
    close();
    std::string error;
    library_ = sqhost::PluginLibrary::open(SQ_PLUGIN_PATH, error);
    ASSERT_NE(library_, nullptr) << error;
    sqhost::HostOptions options;
    options.pluginPath = SQ_PLUGIN_PATH;
    options.preferenceFile = dir_.path() / "p.json";
    host_ = std::make_unique<sqhost::Host>(options);
    host_->dialogs().useResources(&library_->resources());
    auto imported = sqhost::svg::importSvg(svg);
    ASSERT_TRUE(imported.ok()) << imported.error;
    host_->openDocument(std::move(*imported.document));
    sqhost::View& v = view();
    v.width = v.height = 400;
    v.zoom = 1;
    v.center = {200, -200};
    sq::AcquireCount() = 0;
    ASSERT_EQ(sq::AcquireSuites(host_->basicSuite()), kNoErr);
    acquired_ = true;
    sq::SetState(state_.get());
    sq::SetDefaultSettings(*state_);
  }

  void close() {
    sq::SetState(nullptr);
    if (acquired_) sq::ReleaseSuites(host_->basicSuite());
    acquired_ = false;
    host_.reset();
    library_.reset();
  }

  sqhost::Host& host() { return *host_; }
  sqhost::View& view() { return *host_->currentView(); }
  AIDocumentViewHandle viewHandle() { return sqhost::ViewList::handleOf(view()); }
  sq::PluginState& state() { return *state_; }
  SPPluginRef pluginRef() const { return host_->pluginRef(); }

  // The model object with this SVG id (any layer, any depth).
  const sqhost::Art& artNamed(const std::string& name) {
    const sqhost::Document& doc = *host_->currentDocument();
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

  TempDir dir_;
  std::unique_ptr<sqhost::PluginLibrary> library_;
  std::unique_ptr<sqhost::Host> host_;
  bool acquired_ = false;
  std::unique_ptr<sq::PluginState> state_ = std::make_unique<sq::PluginState>();
};

}  // namespace sqtest
