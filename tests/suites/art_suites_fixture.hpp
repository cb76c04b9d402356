// A host with a document built from SVG text and the art-side suites acquired, for suite tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sqsdk/messages.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_layer.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_path_style.h"
#include "sqsdk/suites/ai_plugin_group.h"
#include "sqsdk/suites/ai_text_frame.h"
#include "sqsdk/suites/ai_user.h"
#include "support/host_fixture.hpp"
#include "svg/svg_io.hpp"

namespace sqtest {

class ArtSuitesTest : public HostTest {
 protected:
  // A host without the plug-in started (suites only), or with it (notifications reach it).
  void SetUp() override { makeHost(); }
  void restartWithPlugin() {
    stopHost();
    startHost();
  }

  void acquireAll() {
    acquire(kAIArtSuite, kAIArtSuiteVersion, art);
    acquire(kAIArtSetSuite, kAIArtSetSuiteVersion, sets);
    acquire(kAILayerSuite, kAILayerSuiteVersion, layers);
    acquire(kAIUserSuite, kAIUserSuiteVersion, user);
    acquire(kAIPathSuite, kAIPathSuiteVersion, paths);
    acquire(kAIPathStyleSuite, kAIPathStyleSuiteVersion, styles);
    acquire(kAITextFrameSuite, kAITextFrameSuiteVersion, text);
    acquire(kAIPluginGroupSuite, kAIPluginGroupSuiteVersion, plugins);
  }

  template <typename Suite>
  void acquire(const char* name, int32_t version, const Suite*& out) {
    const void* table = nullptr;
    ASSERT_EQ(host().basicSuite()->AcquireSuite(name, version, &table), kNoErr) << name;
    out = static_cast<const Suite*>(table);
  }

  // Opens a 400 x 400 document whose body is SVG content (artwork v = -y) and acquires the suites.
  sqhost::Document& open(const std::string& body) {
    acquireAll();
    auto r = sqhost::svg::importSvg(
        "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
        "xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape' "
        "xmlns:sodipodi='http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd' "
        "xmlns:sq='urn:spindlequiver:host' viewBox='0 0 400 400'>" +
        body + "</svg>");
    EXPECT_TRUE(r.ok()) << r.error;
    return host().openDocument(std::move(*r.document));
  }

  sqhost::Document& doc() { return *host().currentDocument(); }

  // The handle of the object with the given name (SVG id), searched through the whole tree.
  AIArtHandle named(const std::string& name) {
    const sqhost::Art* found = nullptr;
    auto walk = [&](auto& self, const sqhost::Art& a) -> void {
      if (a.name() == name) found = &a;
      for (std::size_t i = 0; i < a.childCount(); ++i) self(self, a.child(i));
    };
    for (std::size_t i = 0; i < doc().layerCount(); ++i) walk(walk, doc().layer(i).group());
    EXPECT_NE(found, nullptr) << name;
    return found ? handle(found->id()) : nullptr;
  }
  static AIArtHandle handle(sqhost::ArtId id) {
    return reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(id));
  }
  const sqhost::Art& model(AIArtHandle h) {
    return *doc().findArt(static_cast<sqhost::ArtId>(reinterpret_cast<uintptr_t>(h)));
  }

  int32_t attr(AIArtHandle h, int32_t which = kAIArtSelected | kAIArtLocked | kAIArtHidden) {
    int32_t value = -1;
    EXPECT_EQ(art->GetArtUserAttr(h, which, &value), kNoErr);
    return value;
  }
  std::vector<int32_t> states(AIArtHandle h) {
    int32_t n = 0;
    EXPECT_EQ(paths->GetPathSegmentCount(h, &n), kNoErr);
    std::vector<int32_t> out(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) paths->GetPathSegmentSelected(h, i, &out[i]);
    return out;
  }
  // The handles of a set that matched the rules, in order.
  std::vector<AIArtHandle> match(std::vector<AIArtMatchRule> rules) {
    AIArtSet set = nullptr;
    EXPECT_EQ(sets->NewArtSet(&set), kNoErr);
    EXPECT_EQ(sets->MatchingArtSet(set, rules.data(), static_cast<int32_t>(rules.size())), kNoErr);
    std::vector<AIArtHandle> out = contents(set);
    EXPECT_EQ(sets->DisposeArtSet(set), kNoErr);
    return out;
  }
  std::vector<AIArtHandle> contents(AIArtSet set) {
    int32_t n = 0;
    EXPECT_EQ(sets->CountArtSet(set, &n), kNoErr);
    std::vector<AIArtHandle> out(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) EXPECT_EQ(sets->IndexArtSet(set, i, &out[i]), kNoErr);
    return out;
  }
  // The number of notifications of any kind the plug-in has received so far.
  std::size_t notificationsReceived() {
    std::size_t n = 0;
    for (const auto& r : host().messageResults()) {
      if (r.caller == kCallerAINotify && r.selector == kSelectorAINotify) ++n;
    }
    return n;
  }

  const AIArtSuite* art = nullptr;
  const AIArtSetSuite* sets = nullptr;
  const AILayerSuite* layers = nullptr;
  const AIUserSuite* user = nullptr;
  const AIPathSuite* paths = nullptr;
  const AIPathStyleSuite* styles = nullptr;
  const AITextFrameSuite* text = nullptr;
  const AIPluginGroupSuite* plugins = nullptr;
};

inline AIPathSegment corner(float h, float v) {
  return AIPathSegment{{h, v}, {h, v}, {h, v}, 1};
}

}  // namespace sqtest
