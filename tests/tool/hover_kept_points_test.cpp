// Hovering while the tool keeps points: only handles selected in the point table are ringed.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/host.hpp"
#include "app/plugin_library.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/settings.hpp"
#include "sqsdk/messages.h"
#include "support/host_fixture.hpp"
#include "svg/svg_io.hpp"
#include "tool/hover.hpp"

namespace {

// The wave's middle point (150, 200) is selected with both handles shown: in (120, 120), out
// (180, 280). Zoom 1, artwork (x, -y) at pixel (x, y).
class HoverKeptPoints : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    library = sqhost::PluginLibrary::open(SQ_PLUGIN_PATH, error);
    ASSERT_NE(library, nullptr) << error;
    sqhost::HostOptions options;
    options.pluginPath = SQ_PLUGIN_PATH;
    options.preferenceFile = dir.path() / "p.json";
    host = std::make_unique<sqhost::Host>(options);
    host->dialogs().useResources(&library->resources());
    auto imported = sqhost::svg::importSvg(
        R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:sq="urn:spindlequiver:host"
                viewBox="0 0 400 400">
             <path id="wave" d="M 40 200 C 70 120 120 120 150 200 C 180 280 230 280 260 200"
                   sq:selection="0 4 0"/></svg>)");
    ASSERT_TRUE(imported.ok()) << imported.error;
    host->openDocument(std::move(*imported.document));
    sqhost::View& view = *host->currentView();
    view.width = view.height = 400;
    view.zoom = 1;
    view.center = {200, -200};
    sq::AcquireCount() = 0;
    ASSERT_EQ(sq::AcquireSuites(host->basicSuite()), kNoErr);
    acquired = true;
    sq::SetState(&s);
    sq::SetDefaultSettings(s);
    s.pickRadius = s.snapTolerance = 6;
    s.currentView = sqhost::ViewList::handleOf(view);

    // The table keeps the middle point's in handle.
    const sqhost::Art& wave = host->currentDocument()->layer(0).group().child(0);
    sq::PointRecord& kept = s.pointTable[s.pointCount++];
    kept.art = reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(wave.id()));
    kept.segmentIndex = 1;
    kept.segment = wave.path().segment(1);
    kept.handleFlags[sq::kInHandleFlag] = true;
    s.selectedHandleCount = s.selectedInHandleCount = 1;
  }
  void TearDown() override {
    sq::SetState(nullptr);
    if (acquired) sq::ReleaseSuites(host->basicSuite());
  }

  void hover(float x, float y) {
    AIToolMessage message{};
    message.d.self = host->pluginRef();
    message.cursor = {x, -y};
    sq::hoverHitTest(s, message);
  }
  int32_t cursor() {
    const auto& c = host->dialogs().cursor();
    return c ? c->id : -1;
  }

  sqtest::TempDir dir;
  std::unique_ptr<sqhost::PluginLibrary> library;
  std::unique_ptr<sqhost::Host> host;
  bool acquired = false;
  std::unique_ptr<sq::PluginState> state = std::make_unique<sq::PluginState>();
  sq::PluginState& s = *state;
};

TEST_F(HoverKeptPoints, OnlyAKeptHandleIsRinged) {
  hover(121, 121);
  EXPECT_EQ(cursor(), 16008);
  EXPECT_TRUE(s.ringShown);
  EXPECT_EQ(s.hoverLabelKind, sq::kLabelInHandle);
  EXPECT_STREQ(s.hoverLabel, "In handle");
  EXPECT_EQ(s.hoverPoint.h, 120);
  EXPECT_EQ(s.hoverPoint.v, -120);

  // The other handle of the same point is shown by the host but not kept.
  hover(180, 279);
  EXPECT_EQ(cursor(), 16007);
  EXPECT_FALSE(s.ringShown);
  EXPECT_EQ(s.hoverLabelKind, sq::kLabelNone);
  EXPECT_EQ(s.hoverArt != nullptr, true);  // still a hit, with nothing to show
}

TEST_F(HoverKeptPoints, AnchorsAndSegmentsShowNothingWhilePointsAreKept) {
  for (const auto& [x, y] :
       {std::pair{150.0f, 201.0f}, std::pair{40.0f, 200.0f}, std::pair{95.0f, 141.0f}}) {
    hover(x, y);
    EXPECT_EQ(cursor(), 16007) << x << ", " << y;
    EXPECT_FALSE(s.ringShown);
    EXPECT_FALSE(s.addPointPreview);
    EXPECT_EQ(s.arrowAngle, -1);
  }
  // Away from everything: the arrow for kept points.
  hover(350, 50);
  EXPECT_EQ(cursor(), 16007);
  EXPECT_EQ(s.hoverArt, nullptr);
}

}  // namespace
