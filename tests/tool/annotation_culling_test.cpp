// Drawing the kept points over part of the view: exactly what the host's clip lets through, and
// every entry's segment read afresh (read together per path) or kept when its read fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/host.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/messages.h"
#include "sqsdk/suites/ai_path.h"
#include "support/in_process_plugin.hpp"
#include "tool/annotations.hpp"

namespace {

using sqhost::DrawOp;

// Path "grid": 30 points on a grid 60 apart, each with handles 25 to either side, so marks sit
// on, near and across the edges of the rectangles drawn below. Path "short": three points.
std::string document() {
  std::string d = "M 20 20";
  for (int i = 1; i < 30; ++i) {
    const int h = 20 + (i % 6) * 60, v = 20 + (i / 6) * 60;
    d += " C " + std::to_string(h - 55) + " " + std::to_string(v + 3) + " " +
         std::to_string(h - 25) + " " + std::to_string(v - 7) + " " + std::to_string(h) + " " +
         std::to_string(v);
  }
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 400 400\"><path id=\"grid\" "
         "d=\"" +
         d +
         "\"/><path id=\"short\" d=\"M 5 390 C 30 380 60 380 90 390 C 120 400 150 400 180 "
         "390\"/></svg>";
}

std::string describe(const DrawOp& op) {
  return std::to_string(static_cast<int>(op.kind)) + " " + std::to_string(op.rect.left) + "," +
         std::to_string(op.rect.top) + "," + std::to_string(op.rect.right) + "," +
         std::to_string(op.rect.bottom) + " " + std::to_string(op.rgba);
}

bool overlaps(const AIRect& a, const AIRealRect& b) {
  return std::max<float>(a.left, b.left) < std::min<float>(a.right, b.right) &&
         std::max<float>(a.top, b.top) < std::min<float>(a.bottom, b.bottom);
}

class AnnotationCulling : public ::testing::Test {
 protected:
  void SetUp() override {
    plugin.open(document());
    if (HasFatalFailure()) return;
    s.dragMode = sq::kDragMarquee;
    s.directionHandleMarkType = 4;
  }
  void TearDown() override { plugin.close(); }

  // Every point of a path kept with both handles shown, every other one with its out handle
  // selected.
  void keepAll(const std::string& name, int count) {
    for (int16_t i = 0; i < count; ++i) {
      sq::PointRecord& r = s.pointTable[s.pointCount++];
      r = sq::PointRecord{};
      r.art = plugin.art(name);
      r.segmentIndex = i;
      r.selectionState = 4;
      r.layerColor = {0x1200, 0x3400, 0x5600};
      r.shownParts = std::bitset<4>(0b111);
      r.handleFlags = std::bitset<4>(i % 2 == 0 ? 0b10 : 0b00);
    }
  }

  std::vector<std::string> draw(std::vector<AIRealRect> rects) {
    sqhost::DisplayList list;
    AIPortRef port = plugin.host().dialogs().openPort(list, AIRect{0, 0, 400, 400});
    AIAnnotatorMessage message{};
    message.view = plugin.viewHandle();
    message.port = port;
    message.invalidationRects = rects.data();
    message.invalidationRectCount = static_cast<int32_t>(rects.size());
    sq::onDraw(&message);
    plugin.host().dialogs().closePort(port);
    std::vector<std::string> out;
    for (const DrawOp& op : list.ops) out.push_back(describe(op));
    whole = list;
    return out;
  }

  sqtest::InProcessPlugin plugin;
  sq::PluginState& s = plugin.state();
  sqhost::DisplayList whole;
};

TEST_F(AnnotationCulling, PartOfTheViewGetsExactlyTheMarksThatReachIt) {
  keepAll("grid", 30);
  keepAll("short", 3);
  draw({{0, 0, 400, 400}});
  const sqhost::DisplayList all = whole;
  ASSERT_GT(all.ops.size(), 150u);
  auto check = [&](const std::vector<AIRealRect>& area) {
    std::vector<std::string> expected;
    for (const DrawOp& op : all.ops) {
      bool shows = false;
      for (const AIRealRect& r : area) shows = shows || overlaps(op.rect, r);
      if (shows) expected.push_back(describe(op));
    }
    EXPECT_EQ(draw(area), expected) << "area starting at " << area[0].left << "," << area[0].top;
  };
  // Rectangles cutting through marks, lines and gaps between them; one outside every mark.
  check({{78, 78, 82, 82}});
  check({{0, 0, 30, 400}});
  check({{101, 17, 160, 19}, {300, 200, 301, 330}});
  check({{0, 385, 400, 386}});
  check({{395, 395, 400, 400}});
  // A pixel at each outer corner of every mark: the farthest any mark reaches from its point.
  // (Pixels outside the port show nothing at all.)
  auto inPort = [](int32_t h, int32_t v) { return h >= 0 && v >= 0 && h < 400 && v < 400; };
  for (const DrawOp& op : all.ops) {
    const AIRect& r = op.rect;
    if (!inPort(r.left, r.top) || !inPort(r.right - 1, r.bottom - 1)) continue;
    check({{static_cast<float>(r.right - 1), static_cast<float>(r.bottom - 1),
            static_cast<float>(r.right), static_cast<float>(r.bottom)}});
    check({{static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.left + 1),
            static_cast<float>(r.top + 1)}});
  }
}

TEST_F(AnnotationCulling, EntriesAreReadAfreshOrKeptWhenTheirSegmentIsGone) {
  const auto* paths = sq::SuiteAs<AIPathSuite>(sq::SuiteId::Path);
  // Interleaved paths, indices out of order and far apart, then one beyond the short path's end.
  keepAll("grid", 30);
  keepAll("short", 3);
  std::swap(s.pointTable[3], s.pointTable[20]);
  std::swap(s.pointTable[10], s.pointTable[31]);
  sq::PointRecord& gone = s.pointTable[s.pointCount++];
  gone = s.pointTable[32];
  gone.segmentIndex = 7;
  const AIPathSegment stale{{1, 2}, {3, 4}, {5, 6}, 0};
  gone.segment = stale;
  draw({{0, 0, 400, 400}});
  for (int i = 0; i + 1 < s.pointCount; ++i) {
    const sq::PointRecord& r = s.pointTable[i];
    AIPathSegment now{};
    ASSERT_EQ(paths->GetPathSegments(r.art, r.segmentIndex, 1, &now), kNoErr);
    EXPECT_TRUE(r.segment.p.h == now.p.h && r.segment.p.v == now.p.v &&
                r.segment.in.h == now.in.h && r.segment.out.v == now.out.v)
        << "entry " << i;
  }
  EXPECT_EQ(gone.segment.p.h, stale.p.h);
  EXPECT_EQ(gone.segment.out.v, stale.out.v);
}

}  // namespace
