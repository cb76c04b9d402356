// Hovering while the tool keeps points: only handles selected in the point table are ringed.
#include <gtest/gtest.h>

#include "resources/resource_ids.hpp"
#include "sqsdk/messages.h"
#include "support/in_process_plugin.hpp"
#include "tool/hover.hpp"

namespace {

// The wave's middle point (150, 200) is selected with both handles shown: in (120, 120), out
// (180, 280). Zoom 1, artwork (x, -y) at pixel (x, y).
class HoverKeptPoints : public ::testing::Test {
 protected:
  void SetUp() override {
    plugin.open(R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:sq="urn:spindlequiver:host"
                       viewBox="0 0 400 400">
                    <path id="wave" d="M 40 200 C 70 120 120 120 150 200 C 180 280 230 280 260 200"
                          sq:selection="0 4 0"/></svg>)");
    s.pickRadius = s.snapTolerance = 6;
    s.currentView = plugin.viewHandle();

    // The table keeps the middle point's in handle.
    sq::PointRecord& kept = s.pointTable[s.pointCount++];
    kept.art = plugin.art("wave");
    kept.segmentIndex = 1;
    kept.segment = plugin.artNamed("wave").path().segment(1);
    kept.handleFlags[sq::kInHandleFlag] = true;
    s.selectedHandleCount = s.selectedInHandleCount = 1;
  }

  void hover(float x, float y) {
    AIToolMessage message{};
    message.d.self = plugin.pluginRef();
    message.cursor = {x, -y};
    sq::hoverHitTest(s, message);
  }
  int32_t cursor() { return plugin.driver().cursor(); }

  sqtest::InProcessPlugin plugin;
  sq::PluginState& s = plugin.state();
};

TEST_F(HoverKeptPoints, OnlyAKeptHandleIsRinged) {
  hover(121, 121);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorSelectedHandle));
  EXPECT_TRUE(s.ringShown);
  EXPECT_EQ(s.hoverLabelKind, sq::kLabelInHandle);
  EXPECT_STREQ(s.hoverLabel, "In handle");
  EXPECT_EQ(s.hoverPoint.h, 120);
  EXPECT_EQ(s.hoverPoint.v, -120);

  // The other handle of the same point is shown by the host but not kept.
  hover(180, 279);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorTableArrow));
  EXPECT_FALSE(s.ringShown);
  EXPECT_EQ(s.hoverLabelKind, sq::kLabelNone);
  EXPECT_EQ(s.hoverArt != nullptr, true);  // still a hit, with nothing to show
}

TEST_F(HoverKeptPoints, AnchorsAndSegmentsShowNothingWhilePointsAreKept) {
  for (const auto& [x, y] :
       {std::pair{150.0f, 201.0f}, std::pair{40.0f, 200.0f}, std::pair{95.0f, 141.0f}}) {
    hover(x, y);
    EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorTableArrow)) << x << ", " << y;
    EXPECT_FALSE(s.ringShown);
    EXPECT_FALSE(s.addPointPreview);
    EXPECT_EQ(s.arrowAngle, -1);
  }
  // Away from everything: the arrow for kept points.
  hover(350, 50);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorTableArrow));
  EXPECT_EQ(s.hoverArt, nullptr);
}

}  // namespace
