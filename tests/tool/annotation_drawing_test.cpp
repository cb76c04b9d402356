// The tool's annotation drawing: what a draw message draws into the host's port, where and in
// which colour, and what the draw and invalidate messages invalidate. Expected pixels follow from
// the view mapping: the view below shows artwork (0, 0) at its top-left corner at zoom 1, so a
// point (h, v) lands on pixel (h, -v).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "app/host.hpp"
#include "render/font_metrics.hpp"
#include "resources/resource_ids.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/settings.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/adm_icon.h"
#include "support/in_process_plugin.hpp"
#include "svg/svg_io.hpp"
#include "tool/annotations.hpp"

namespace {

using sqhost::DrawOp;
using Ops = std::vector<std::string>;

constexpr double kPi = std::numbers::pi;
constexpr uint32_t kLayer = 0x123456FF;  // the layer colour given to every record below
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFF0000FF;
constexpr uint32_t kGrey = 0x888888FF;
constexpr uint32_t kMarquee = 0x4F80FFFF;
// Picture resources of the tool.
constexpr int32_t kArrowheads = sq::kArrowheadIconID, kRing = sq::kRingIconID,
                  kLabels = sq::kLabelIconID, kDot = sq::kDotIconID;
constexpr int32_t kSmallFont = 6, kLargeFont = 5;

std::string hex(uint32_t rgba) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%08X", rgba);
  return buffer;
}
std::string pt(int32_t x, int32_t y) {
  return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
}
std::string box(const AIRect& r) {
  return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

// Expected operations, in the form opText gives recorded ones.
std::string line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t c) {
  return "line " + pt(x0, y0) + "-" + pt(x1, y1) + " " + hex(c);
}
std::string shape(const std::string& kind, const AIRect& r, uint32_t c) {
  return kind + " " + box(r) + " " + hex(c);
}
std::string icon(int32_t id, int32_t index, int32_t x, int32_t y) {
  return "icon " + std::to_string(id) + ":" + std::to_string(index) + " at " + pt(x, y);
}
std::string text(const std::string& t, int32_t x, int32_t y, int32_t font, uint32_t c) {
  return "text '" + t + "' at " + pt(x, y) + " font " + std::to_string(font) + " " + hex(c);
}

std::string opText(const DrawOp& op) {
  using K = DrawOp::Kind;
  static const char* const names[] = {"line",     "fillrect",  "framerect", "clearrect",
                                      "filloval", "frameoval", "icon",      "text"};
  if (op.kind == K::Line) return line(op.from.h, op.from.v, op.to.h, op.to.v, op.rgba);
  if (op.kind == K::Text) return text(op.text, op.from.h, op.from.v, op.font, op.rgba);
  if (op.kind == K::Icon) {
    return icon(op.icon ? op.icon->resourceID : -1, op.icon ? op.icon->resourceIndex : -1,
                op.from.h, op.from.v);
  }
  return shape(names[static_cast<int>(op.kind)], op.rect, op.rgba);
}

Ops join(std::initializer_list<Ops> parts) {
  Ops all;
  for (const Ops& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Path "p": point 1 at (100, 150) with its in handle at (60, 140) and out handle at (140, 160);
// point 2 (300, 300) has both handles on its anchor. Path "q": point 1 at (120, 40) with the in
// handle retracted and the out handle at (200, 40) along the straight segment from point 0.
constexpr const char* kDocument =
    R"(<path id="p" d="M 20 300 C 20 300 60 140 100 150 C 140 160 300 300 300 300"/>
       <path id="q" d="M 40 40 L 120 40 C 200 40 240 60 280 60"/>)";

class AnnotationDrawing : public ::testing::Test {
 protected:
  void SetUp() override { open(kDocument); }

  void open(const std::string& body) {
    plugin.open("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 400 400\">" + body +
                "</svg>");
    if (HasFatalFailure()) return;
    host = &plugin.host();
    view = &plugin.view();

    s.marqueeColor = kMarquee;
    sq::Settings& set = s.settings;
    set.use_ring = set.use_ring_paths = 1;
    set.ring_has_text = set.boxed_text = set.boxed_text_large = set.slowdragCtrl = 0;
    set.snap_to_tangencies = set.highlight_tangencies = set.recognize_connectors = 0;
    s.angleThresholdRadians = 5 * kPi / 180;
    s.directionHandleMarkType = 4;
    s.unselectedAnchorMarkLarge = 0;
    s.selectedAnchorMarkLarge = 0;
    s.dragMode = sq::kDragMarquee;
    s.toolDragged = 2;
    s.arrowAngle = -1;
    s.hoverLabelKind = 6;
    s.viewRect = s.labelRect = s.marqueeViewRect = s.cursorMarkRect = kSentinel;

    const auto* icons = sq::SuiteAs<ADMIconSuite>(sq::SuiteId::ADMIcon);
    ASSERT_NE(icons, nullptr);
    const SPPluginRef plugin = host->pluginRef();
    for (int i = 0; i < sq::kArrowheadCount; ++i) {
      ASSERT_EQ(icons->GetFromResource(plugin, kArrowheads, i, &s.arrowheadIcons[i]), kNoErr);
    }
    ASSERT_EQ(icons->GetFromResource(plugin, kRing, 0, &s.ringIcon), kNoErr);
    for (int j = 0; j < sq::kLabelCount; ++j) {
      ASSERT_EQ(icons->GetFromResource(plugin, kLabels, j, &s.labelIcons[j]), kNoErr);
    }
    ASSERT_EQ(icons->GetFromResource(plugin, kDot, 0, &s.dotIcon), kNoErr);
    view->dirty.clear();
  }

  void TearDown() override {
    // Ctrl held by a test is process-wide keyboard state.
    if (host) host->dialogs().setEventModifiers(0);
    plugin.close();
    host = nullptr;
    view = nullptr;
  }

  AIArtHandle art(const std::string& name) { return plugin.art(name); }
  AIDocumentViewHandle viewHandle() { return plugin.viewHandle(); }

  // A table entry; shown: bits 0 in handle, 1 out handle, 2 anchor; flags: 0 in, 1 out selected.
  sq::PointRecord& addEntry(const std::string& name, int16_t index, int16_t state,
                            unsigned shown = 0b111, unsigned flags = 0) {
    sq::PointRecord& r = s.pointTable[s.pointCount++];
    r.art = art(name);
    r.segmentIndex = index;
    r.selectionState = state;
    r.layerColor = {0x1200, 0x3400, 0x5600};
    r.shownParts = std::bitset<4>(shown);
    r.handleFlags = std::bitset<4>(flags);
    return r;
  }
  // A record drawn from its own segment: an anchor alone at artwork (h, v).
  static void anchorRecord(sq::PointRecord& r, float h, float v, int16_t index) {
    r.segmentIndex = index;
    r.selectionState = 1;
    r.layerColor = {0x1200, 0x3400, 0x5600};
    r.segment.p = r.segment.in = r.segment.out = AIRealPoint{h, v};
    r.shownParts = std::bitset<4>(0b100);
  }

  // Sends one draw message over the given invalidated rectangles; returns the operations drawn.
  std::vector<DrawOp> drawOps(std::vector<AIRealRect> rects = {{0, 0, 400, 400}}) {
    sqhost::DisplayList list;
    const std::size_t notes = host->observer().lines().size();
    AIPortRef port = host->dialogs().openPort(list, AIRect{0, 0, 400, 400});
    AIAnnotatorMessage message{};
    message.view = viewHandle();
    message.port = port;
    message.invalidationRects = rects.data();
    message.invalidationRectCount = static_cast<int32_t>(rects.size());
    sq::onDraw(&message);
    host->dialogs().closePort(port);
    // Every drawer made for the message was destroyed by the annotator itself.
    const auto& lines = host->observer().lines();
    for (std::size_t i = notes; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].find("still alive"), std::string::npos) << lines[i];
    }
    return list.ops;
  }
  Ops draw(std::vector<AIRealRect> rects = {{0, 0, 400, 400}}) {
    Ops out;
    for (const DrawOp& op : drawOps(std::move(rects))) out.push_back(opText(op));
    return out;
  }

  static constexpr AIRect kSentinel{-77, -77, -66, -66};
  sqtest::InProcessPlugin plugin;
  sqhost::Host* host = nullptr;
  sqhost::View* view = nullptr;
  sq::PluginState& s = plugin.state();
};

bool sameRect(const AIRect& a, const AIRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
#define EXPECT_RECT(actual, ...) \
  EXPECT_TRUE(sameRect(actual, AIRect{__VA_ARGS__})) << box(actual) << " vs " << box({__VA_ARGS__})

// ---- Whether anything is drawn ---------------------------------------------------------------

TEST_F(AnnotationDrawing, SomethingToShowDecidesTogetherWithSuspensionCtrlAndPendingRedraw) {
  // Each case lists what is set: drag (an anchor drag), marquee, points (one kept point), ring,
  // no-use-ring, tangency (snapped), open / closed / handle (label kind 4 / 5 / 3), snap and
  // highlight (the tangency settings), connectors, suspended, ctrl, slowctrl, pending (a full
  // redraw).
  const std::string drawn =
      "drag, marquee, points, ring, tangency, open snap highlight, closed snap highlight, "
      "connectors, ring ctrl slowctrl, points suspended pending, points ctrl pending";
  const std::string notDrawn =
      ", pending, ring no-use-ring, open snap, open highlight, handle snap highlight, "
      "ring suspended, ring ctrl, ring suspended ctrl slowctrl, ring suspended pending, "
      "points suspended, drag ctrl";
  std::vector<std::pair<std::string, bool>> cases;
  for (const auto& [list, draws] : {std::pair{drawn, true}, std::pair{notDrawn, false}}) {
    std::size_t from = 0;
    for (std::size_t comma; (comma = list.find(',', from)) != std::string::npos; from = comma + 2) {
      cases.emplace_back(list.substr(from, comma - from), draws);
    }
    cases.emplace_back(list.substr(from), draws);
  }
  for (const auto& [flags, draws] : cases) {
    const auto has = [&flags](const std::string& word) {
      return (" " + flags + " ").find(" " + word + " ") != std::string::npos;
    };
    auto fresh = std::make_unique<sq::PluginState>();
    sq::PluginState& p = *fresh;
    p.settings = s.settings;
    p.dragMode = has("drag") ? sq::kDragAnchor : sq::kDragMarquee;
    p.marqueeShown = has("marquee");
    p.pointCount = has("points") ? 1 : 0;
    p.ringShown = has("ring");
    p.settings.use_ring = !has("no-use-ring");
    p.tangencySnapped = has("tangency");
    p.hoverLabelKind = has("open") ? 4 : has("closed") ? 5 : has("handle") ? 3 : 6;
    p.settings.snap_to_tangencies = has("snap");
    p.settings.highlight_tangencies = has("highlight");
    p.settings.recognize_connectors = has("connectors");
    p.toolSuspended = has("suspended");
    p.settings.slowdragCtrl = has("slowctrl");
    p.fullRedrawPending = has("pending");
    EXPECT_EQ(sq::shouldDraw(p, has("ctrl")), draws) << "'" << flags << "'";
  }
}

TEST_F(AnnotationDrawing, SuspensionAndCtrlHideTheRingButNotAPendingRedrawOfPoints) {
  // With nothing to show, a pending redraw stays pending and no drawer is set up over the view.
  s.fullRedrawPending = 1;
  EXPECT_TRUE(draw().empty());
  EXPECT_EQ(s.fullRedrawPending, 1);
  EXPECT_RECT(s.viewRect, -77, -77, -66, -66);
  s.fullRedrawPending = 0;

  s.ringShown = 1;
  s.hoverPoint = {200, -200};
  const Ops ringOnly = {icon(kRing, 0, 188, 188)};

  s.toolSuspended = 1;
  EXPECT_TRUE(draw().empty());
  s.toolSuspended = 0;

  host->dialogs().setEventModifiers(kAICtrlModifier);
  EXPECT_TRUE(draw().empty());
  s.settings.slowdragCtrl = 1;
  EXPECT_EQ(draw(), ringOnly);
  EXPECT_RECT(s.viewRect, 0, 0, 400, 400);
  s.settings.slowdragCtrl = 0;

  // A pending full redraw with kept points draws everything and is then done.
  addEntry("p", 2, 1, 0b100);
  s.fullRedrawPending = 1;
  EXPECT_EQ(draw(), (Ops{shape("fillrect", {298, 298, 302, 302}, kLayer),
                         shape("framerect", {298, 298, 302, 302}, kLayer), ringOnly[0]}));
  EXPECT_EQ(s.fullRedrawPending, 0);
  EXPECT_TRUE(draw().empty());  // Ctrl is still held and nothing is pending any more
}

// ---- Clip ------------------------------------------------------------------------------------

TEST_F(AnnotationDrawing, FirstInvalidatedRectangleSetsTheClipAndLaterOnesAreAdded) {
  addEntry("p", 2, 1, 0b100);
  const std::vector<DrawOp> ops = drawOps(
      {{0.9f, 0.2f, 50.7f, 50.5f}, {250.9f, 280.2f, 350.6f, 320.8f}, {5.5f, 6.6f, 7.7f, 8.8f}});
  ASSERT_EQ(ops.size(), 2u);  // the anchor mark at (300, 300) lies only in the second rectangle
  for (const DrawOp& op : ops) {
    ASSERT_EQ(op.clip.size(), 3u);
    EXPECT_RECT(op.clip[0], 0, 0, 50, 50);
    EXPECT_RECT(op.clip[1], 250, 280, 350, 320);
    EXPECT_RECT(op.clip[2], 5, 6, 7, 8);
  }
  // Outside every invalidated rectangle nothing shows.
  EXPECT_TRUE(draw({{0, 0, 50, 50}}).empty());
}

// ---- Point marks -----------------------------------------------------------------------------

TEST_F(AnnotationDrawing, UnselectedHandleMarksFollowTheHostMarkType) {
  struct Case {
    int32_t type;
    Ops mark;  // after the handle line; handle at (60, 140)
  };
  const Case cases[] = {
      {10,
       {shape("fillrect", {59, 138, 62, 141}, kLayer),
        shape("frameoval", {58, 137, 63, 142}, kLayer)}},
      {11,
       {shape("filloval", {58, 138, 63, 143}, kWhite),
        shape("frameoval", {57, 137, 63, 143}, kLayer)}},
      {4, {shape("filloval", {58, 138, 63, 143}, kLayer)}},
      {12, {shape("filloval", {58, 138, 63, 143}, kLayer)}},
  };
  sq::PointRecord& entry = addEntry("p", 1, 0, 0b001, /*flags=out selected*/ 0b10);
  for (const Case& c : cases) {
    s.directionHandleMarkType = c.type;
    Ops expected = {line(60, 140, 100, 150, kLayer)};
    expected.insert(expected.end(), c.mark.begin(), c.mark.end());
    EXPECT_EQ(draw(), expected) << "mark type " << c.type;
  }
  // The segment was read from the path.
  EXPECT_EQ(entry.segment.in.h, 60.0f);
  EXPECT_EQ(entry.segment.out.v, -160.0f);
}

TEST_F(AnnotationDrawing, SelectedHandlesGetTheLargerRing) {
  struct Case {
    int32_t type;
    unsigned shown, flags;
    int32_t hx, hy;
    uint32_t fill;
  };
  const Case cases[] = {
      {4, 0b001, 0b01, 60, 140, kWhite},  {10, 0b001, 0b01, 60, 140, kWhite},
      {11, 0b001, 0b01, 60, 140, kLayer}, {12, 0b001, 0b01, 60, 140, kLayer},
      {4, 0b010, 0b10, 140, 160, kWhite},
  };
  for (const Case& c : cases) {
    s.pointCount = 0;
    addEntry("p", 1, 0, c.shown, c.flags);
    s.directionHandleMarkType = c.type;
    const Ops expected = {line(c.hx, c.hy, 100, 150, kLayer),
                          shape("filloval", {c.hx - 3, c.hy - 3, c.hx + 5, c.hy + 5}, c.fill),
                          shape("frameoval", {c.hx - 3, c.hy - 3, c.hx + 4, c.hy + 4}, kLayer)};
    EXPECT_EQ(draw(), expected) << "type " << c.type << " shown " << c.shown;
  }
}

TEST_F(AnnotationDrawing, AnchorMarkSizeAndFillFollowSelectionAndPreferences) {
  struct Case {
    int32_t selectedLarge, unselectedLarge;
    int16_t state;
    bool large;
    uint32_t fill;
  };
  const Case cases[] = {
      {0, 0, 1, false, kLayer}, {1, 0, 1, true, kLayer}, {1, 0, 0, false, kWhite},
      {1, 0, 4, false, kWhite}, {0, 1, 0, true, kWhite}, {0, 1, 1, true, kLayer},
      {0, 0, 3, false, kWhite},
  };
  for (const Case& c : cases) {
    s.pointCount = 0;
    addEntry("p", 1, c.state, 0b100);
    s.selectedAnchorMarkLarge = c.selectedLarge;
    s.unselectedAnchorMarkLarge = c.unselectedLarge;
    const AIRect r = c.large ? AIRect{97, 147, 102, 152} : AIRect{98, 148, 102, 152};
    EXPECT_EQ(draw(), (Ops{shape("fillrect", r, c.fill), shape("framerect", r, kLayer)}))
        << c.selectedLarge << c.unselectedLarge << " state " << c.state;
  }
}

TEST_F(AnnotationDrawing, ShownPartsAndRetractedHandlesDecideWhatIsDrawn) {
  const Ops in = {line(60, 140, 100, 150, kLayer), shape("filloval", {58, 138, 63, 143}, kLayer)};
  const Ops out = {line(140, 160, 100, 150, kLayer),
                   shape("filloval", {138, 158, 143, 163}, kLayer)};
  const Ops anchor = {shape("fillrect", {98, 148, 102, 152}, kWhite),
                      shape("framerect", {98, 148, 102, 152}, kLayer)};
  const std::pair<unsigned, Ops> cases[] = {{0b000, {}},
                                            {0b1000, {}},
                                            {0b001, in},
                                            {0b010, out},
                                            {0b100, anchor},
                                            {0b111, join({in, out, anchor})},
                                            {0b110, join({out, anchor})}};
  for (const auto& [shown, expected] : cases) {
    s.pointCount = 0;
    addEntry("p", 1, 0, shown);
    EXPECT_EQ(draw(), expected) << "shown parts " << shown;
  }
  // Point 1 of "q" has its in handle on the anchor; point 2 of "p" has both there.
  s.pointCount = 0;
  addEntry("q", 1, 0, 0b011);
  addEntry("p", 2, 0, 0b011);
  EXPECT_EQ(draw(),
            (Ops{line(200, 40, 120, 40, kLayer), shape("filloval", {198, 38, 203, 43}, kLayer)}));
  // Entries are drawn in table order, each from its own path.
  s.pointCount = 0;
  addEntry("q", 1, 0, 0b100);
  addEntry("p", 1, 0, 0b100);
  EXPECT_EQ(draw(), join({{shape("fillrect", {118, 38, 122, 42}, kWhite),
                           shape("framerect", {118, 38, 122, 42}, kLayer)},
                          anchor}));
}

TEST_F(AnnotationDrawing, NoHandleLinesWhileTheMarqueeIsShownOrCancelled) {
  addEntry("p", 1, 1, 0b011);
  for (int shown = 0; shown <= 1; ++shown) {
    s.marqueeShown = shown;
    s.marqueeCancelled = 1 - shown;
    const Ops ops = draw();
    const Ops marks = {shape("filloval", {58, 138, 63, 143}, kLayer),
                       shape("filloval", {138, 158, 143, 163}, kLayer)};
    ASSERT_GE(ops.size(), 2u) << "marquee shown " << shown;
    EXPECT_EQ(Ops(ops.begin(), ops.begin() + 2), marks) << "marquee shown " << shown;
    for (const std::string& op : ops) EXPECT_EQ(op.rfind("line", 0), std::string::npos) << op;
  }
}

TEST_F(AnnotationDrawing, HiddenEdgesDropPointMarksButKeepRingLineAndMarquee) {
  addEntry("p", 1, 1);
  s.hideEdges = 1;
  s.ringShown = 1;
  s.hoverPoint = {200, -200};
  s.tangencySnapped = 1;
  s.tangencyPoint = {200, -200};
  s.arrowAngle = 0;
  s.marqueeShown = 1;
  s.pressPoint = {10, -10};
  s.marqueeCorner = s.previousMarqueeCorner = {20, -30};
  EXPECT_EQ(draw(),
            (Ops{line(-3800, 200, 4200, 200, kRed), icon(kRing, 0, 188, 188),
                 icon(kArrowheads, 18, 182, 182), shape("framerect", {10, 10, 21, 31}, kMarquee)}));
}

// ---- The point being dragged ------------------------------------------------------------------

TEST_F(AnnotationDrawing, SingleDraggedEntryIsDrawnFromTheGrabbedPointAndItsNeighbours) {
  addEntry("p", 1, 1);  // at (100, 150): must not be drawn
  s.dragStarted = 1;
  anchorRecord(s.grabbedPoint, 200, -200, 1);
  anchorRecord(s.previousPoint, 150, -250, 0);
  anchorRecord(s.nextPoint, 250, -250, 2);
  s.grabbedConnector.isConnector = s.previousConnector.isConnector = 1;  // table not empty: no C
  const auto mark = [](int32_t x, int32_t y) {
    const AIRect r{x - 2, y - 2, x + 2, y + 2};
    return Ops{shape("fillrect", r, kLayer), shape("framerect", r, kLayer)};
  };
  const Ops grabbed = mark(200, 200), previous = mark(150, 250), next = mark(250, 250);

  for (int32_t mode : {sq::kDragAnchor, sq::kDragInHandle, sq::kDragOutHandle}) {
    s.dragMode = mode;
    EXPECT_EQ(draw(), join({grabbed, previous, next})) << "mode " << mode;
  }
  s.dragMode = sq::kDragSegment;
  EXPECT_EQ(draw(), join({grabbed, previous}));
  s.dragMode = sq::kDragAnchor;
  s.nextPoint.segmentIndex = -1;
  EXPECT_EQ(draw(), join({grabbed, previous}));
  s.nextPoint.segmentIndex = 2;
  s.previousPoint.segmentIndex = -1;
  EXPECT_EQ(draw(), join({grabbed, next}));
  s.previousPoint.segmentIndex = 0;

  // A selected handle of the dragged point still gets the larger ring (the table is not empty).
  s.grabbedPoint.segment.in = {190, -200};
  s.grabbedPoint.shownParts = std::bitset<4>(0b101);
  s.grabbedPoint.handleFlags = std::bitset<4>(0b01);
  EXPECT_EQ(draw(), join({{line(190, 200, 200, 200, kLayer),
                           shape("filloval", {187, 197, 195, 205}, kWhite),
                           shape("frameoval", {187, 197, 194, 204}, kLayer)},
                          grabbed,
                          previous,
                          next}));
  s.grabbedPoint.shownParts = std::bitset<4>(0b100);

  // Hidden edges, or a marquee, or more than one entry: not this branch.
  s.hideEdges = 1;
  EXPECT_TRUE(draw().empty());
  s.hideEdges = 0;
  addEntry("q", 1, 1);
  const Ops table = draw();
  ASSERT_FALSE(table.empty());
  EXPECT_EQ(table[0], line(60, 140, 100, 150, kLayer));
}

TEST_F(AnnotationDrawing, PressWithoutKeptPointsDrawsConnectorMarksOnTheEditedPoints) {
  s.dragMode = sq::kDragAnchor;
  anchorRecord(s.grabbedPoint, 200, -200, 1);
  anchorRecord(s.previousPoint, 150, -250, 0);
  anchorRecord(s.nextPoint, 250, -250, 2);
  s.grabbedConnector.isConnector = 1;
  s.nextConnector.isConnector = 1;
  EXPECT_EQ(draw(), (Ops{shape("fillrect", {198, 198, 202, 202}, kLayer),
                         shape("framerect", {198, 198, 202, 202}, kLayer),
                         text("C", 197, 189, kSmallFont, kRed),
                         shape("fillrect", {148, 248, 152, 252}, kLayer),
                         shape("framerect", {148, 248, 152, 252}, kLayer),
                         shape("fillrect", {248, 248, 252, 252}, kLayer),
                         shape("framerect", {248, 248, 252, 252}, kLayer),
                         text("C", 247, 239, kSmallFont, kRed)}));
  // A marquee press draws no edited points.
  s.dragMode = sq::kDragMarquee;
  s.ringShown = 1;
  s.hoverPoint = {300, -300};
  EXPECT_EQ(draw(), (Ops{icon(kRing, 0, 288, 288)}));
}

// ---- Ring, label and arrowhead ------------------------------------------------------------------

TEST_F(AnnotationDrawing, RingAndLabelPlacesDependOnTheTextSettings) {
  s.ringShown = 1;
  s.hoverPoint = {200, -200};
  s.arrowAngle = 0;
  s.hoverLabelKind = 1;
  std::snprintf(s.hoverLabel, sizeof s.hoverLabel, "Corner point");
  const int32_t w = sqhost::textWidth(kSmallFont, "Corner point");
  const std::string arrow = icon(kArrowheads, 18, 182, 182);
  struct Case {
    int32_t hasText, boxed;
    Ops ops;
    AIRect cursorMark;
  };
  const Case cases[] = {
      {0, 0, {icon(kRing, 0, 188, 188), arrow}, {182, 182, 224, 224}},
      {0, 1, {icon(kRing, 0, 188, 188), arrow}, {182, 182, 224, 224}},
      {1, 0, {icon(kLabels, 1, 104, 188), arrow}, {98, 182, 224, 224}},
      {1,
       1,
       {icon(kRing, 0, 188, 188), shape("fillrect", {213, 213, 220 + w, 228}, kWhite),
        shape("framerect", {213, 213, 220 + w, 228}, kRed),
        text("Corner point", 217, 224, kSmallFont, kRed), arrow},
       {182, 182, 308, 224}},
  };
  for (const Case& c : cases) {
    s.settings.ring_has_text = c.hasText;
    s.settings.boxed_text = c.boxed;
    s.cursorMarkRect = kSentinel;
    EXPECT_EQ(draw(), c.ops) << "text " << c.hasText << " boxed " << c.boxed;
    EXPECT_TRUE(sameRect(s.cursorMarkRect, c.cursorMark)) << box(s.cursorMarkRect);
  }
  EXPECT_RECT(s.labelRect, 207, 207, 226 + w, 234);

  // Each label kind has its own picture.
  s.settings.boxed_text = 0;
  for (int32_t kind = 0; kind < 6; ++kind) {
    s.hoverLabelKind = kind;
    EXPECT_EQ(draw(), (Ops{icon(kLabels, kind, 104, 188), arrow})) << "kind " << kind;
  }
  // With boxed text and nothing labelled only the ring is drawn.
  s.settings.boxed_text = 1;
  s.hoverLabelKind = 6;
  s.arrowAngle = -1;
  s.labelRect = kSentinel;
  EXPECT_EQ(draw(), (Ops{icon(kRing, 0, 188, 188)}));
  EXPECT_RECT(s.labelRect, -77, -77, -66, -66);
}

TEST_F(AnnotationDrawing, LargeBoxedLabelUsesTheLargerFontAndATallerBox) {
  s.ringShown = 1;
  s.hoverPoint = {120, -80};
  s.hoverLabelKind = 4;
  std::snprintf(s.hoverLabel, sizeof s.hoverLabel, "Open path");
  s.settings.ring_has_text = s.settings.boxed_text = s.settings.boxed_text_large = 1;
  const int32_t w = sqhost::textWidth(kLargeFont, "Open path");
  EXPECT_EQ(draw(),
            (Ops{icon(kRing, 0, 108, 68), shape("fillrect", {133, 93, 140 + w, 110}, kWhite),
                 shape("framerect", {133, 93, 140 + w, 110}, kRed),
                 text("Open path", 137, 106, kLargeFont, kRed)}));
  EXPECT_RECT(s.labelRect, 127, 87, 146 + w, 116);

  // Its drawer is kept to the invalidated area like the other one.
  for (const DrawOp& op : drawOps({{100.5f, 60.9f, 150, 100}})) {
    ASSERT_EQ(op.clip.size(), 1u) << opText(op);
    EXPECT_RECT(op.clip[0], 100, 60, 150, 100);
  }
}

TEST_F(AnnotationDrawing, ArrowheadPictureIsTheNearestToTheDirection) {
  const double deg = kPi / 180;
  const std::pair<double, int32_t> cases[] = {
      {0, 18},           {kPi / 2, 27},      {kPi, 0},
      {3 * kPi / 2, 9},  {174.99 * deg, 35}, {175.01 * deg, 0},
      {184.99 * deg, 0}, {185.01 * deg, 1},  {4.99 * deg, 18},
      {5.01 * deg, 19},  {359.99 * deg, 18}, {-1, -1},
      {999, -1},         {2 * kPi, -1},      {-0.001, -1},
  };
  s.ringShown = 1;
  s.hoverPoint = {200, -200};
  for (const auto& [angle, index] : cases) {
    EXPECT_EQ(sq::arrowheadIndex(angle), index) << angle;
    s.arrowAngle = angle;
    Ops expected = {icon(kRing, 0, 188, 188)};
    if (index >= 0) expected.push_back(icon(kArrowheads, index, 182, 182));
    EXPECT_EQ(draw(), expected) << angle;
  }
}

// ---- Add-point preview ----------------------------------------------------------------------

TEST_F(AnnotationDrawing, TangencyDotsOnlyForThePreviewAtCandidatesStrictlyInside) {
  // The curve's points at t = 0.25, 0.5 and 0.75 are (90, -180), (200, -120) and (310, -180).
  s.hoverBezier = sq::Curve{{40, -360}, {40, -40}, {360, -40}, {360, -360}};
  const double candidates[8] = {0.5, 0, 1, 2, 99, -0.25, 0.25, 0.75};
  std::copy(std::begin(candidates), std::end(candidates), s.tangencyCandidates);
  s.hoverLabelKind = 4;  // with both settings on there is something to show
  s.settings.snap_to_tangencies = 1;
  const Ops dots = {icon(kDot, 0, 192, 112), icon(kDot, 0, 82, 172), icon(kDot, 0, 302, 172)};
  struct Case {
    int32_t preview, highlight, dragged;
    bool drawn;
  };
  const Case cases[] = {
      {1, 1, 2, true}, {0, 1, 2, false}, {1, 1, 1, false}, {1, 1, 0, false}, {1, 0, 2, false}};
  for (const Case& c : cases) {
    s.addPointPreview = c.preview;
    s.settings.highlight_tangencies = c.highlight;
    s.settings.recognize_connectors = 1 - c.highlight;  // keeps something to show
    s.toolDragged = c.dragged;
    EXPECT_EQ(draw(), c.drawn ? dots : Ops{})
        << c.preview << c.highlight << " dragged " << c.dragged;
  }
}

TEST_F(AnnotationDrawing, TangencyLineRunsFourThousandPixelsEachWayAlongTheArrow) {
  s.tangencySnapped = 1;
  s.tangencyPoint = {200, -200};
  struct Case {
    float zoom;
    double angle;
  };
  for (const Case c : {Case{1, 0}, Case{2, kPi / 6}, Case{0.5f, 3 * kPi / 4}, Case{4, 5.0}}) {
    view->zoom = c.zoom;
    s.arrowAngle = c.angle;
    const double length = 4000.0 / c.zoom;
    const auto end = [&](double sign) {
      const AIRealPoint p{static_cast<float>(200 + sign * length * std::cos(c.angle)),
                          static_cast<float>(-200 + sign * length * std::sin(c.angle))};
      return *view->toView(p);
    };
    const AIPoint a = end(-1), b = end(1);
    EXPECT_EQ(draw(), (Ops{line(a.h, a.v, b.h, b.v, kRed)})) << c.zoom << " " << c.angle;
  }
}

// ---- Marquee --------------------------------------------------------------------------------

TEST_F(AnnotationDrawing, MarqueeFrameIsOnePixelLargerAndInvalidatesOldAndNewPlaces) {
  s.marqueeShown = 1;
  s.pressPoint = {100, -120};
  s.marqueeCorner = {160, -60};
  s.previousMarqueeCorner = {180, -200};
  EXPECT_EQ(draw(), (Ops{shape("framerect", {100, 60, 161, 121}, kMarquee)}));
  EXPECT_EQ(s.marqueeStartView.h, 100);
  EXPECT_EQ(s.marqueeStartView.v, 120);
  EXPECT_EQ(s.marqueeCornerView.h, 160);
  EXPECT_EQ(s.marqueeCornerView.v, 60);
  EXPECT_RECT(s.marqueeViewRect, 96, 56, 165, 125);
  ASSERT_EQ(view->dirty.size(), 2u);
  EXPECT_RECT(view->dirty[0], 96, 116, 184, 204);  // around the previous corner
  EXPECT_RECT(view->dirty[1], 96, 56, 165, 125);

  // Cancelled: the old place is still invalidated, nothing is framed.
  view->dirty.clear();
  s.marqueeViewRect = kSentinel;
  s.marqueeCancelled = 1;
  s.previousMarqueeCorner = s.marqueeCorner;
  EXPECT_TRUE(draw().empty());
  ASSERT_EQ(view->dirty.size(), 1u);
  EXPECT_RECT(view->dirty[0], 96, 56, 164, 124);
  EXPECT_RECT(s.marqueeViewRect, -77, -77, -66, -66);
}

// ---- Connector marks of the hovered path ----------------------------------------------------

TEST_F(AnnotationDrawing, ConnectorMarksAreRedWithinTheAllowanceAndGreyOutside) {
  // Point 1 of each path sits at (120, 40) after a straight segment from (40, 40); its out
  // handle lies `length` away, `degrees` off the straight direction.
  struct Case {
    double length, degrees;
    uint32_t color;
  };
  const Case cases[] = {
      {80, 0, kRed},
      {80, 1.15, kGrey},
      {2, 0.035, kRed},
      {2, 0.045, kGrey},
      {0.5, 0.15, kRed},
      {0.5, 0.25, kGrey},
      {0.005, 8, kRed},
      {0.005, 12, kGrey},
      // A hair clockwise of the line deviates as little as a hair counter-clockwise.
      {80, -0.02, kRed},
      {80, -1.15, kGrey},
      {2, -0.035, kRed},
      {0.5, -0.25, kGrey},
      {0.005, -8, kRed},
  };
  std::string body;
  int n = 0;
  for (const Case& c : cases) {
    const double r = c.degrees * kPi / 180;
    char d[200];
    std::snprintf(d, sizeof d, "M 40 40 L 120 40 C %.9g %.9g 240 60 280 60",
                  120 + c.length * std::cos(r), 40 - c.length * std::sin(r));
    body += "<path id=\"c" + std::to_string(n++) + "\" d=\"" + d + "\"/>";
  }
  TearDown();
  open(body);
  s.settings.recognize_connectors = 1;
  s.angleThresholdRadians = 30 * kPi / 180;
  for (n = 0; n < static_cast<int>(std::size(cases)); ++n) {
    s.hoverArt = art("c" + std::to_string(n));
    EXPECT_EQ(draw(), (Ops{text("C", 117, 29, kSmallFont, cases[n].color)}))
        << "length " << cases[n].length << " degrees " << cases[n].degrees;
  }
  // Only while no press is under way, and only with connectors recognised.
  s.hoverArt = art("c0");
  s.dragMode = sq::kDragAnchor;
  EXPECT_TRUE(draw().empty());
  s.dragMode = sq::kDragMarquee;
  s.settings.recognize_connectors = 0;
  s.ringShown = 1;
  s.hoverPoint = {200, -200};
  EXPECT_EQ(draw(), (Ops{icon(kRing, 0, 188, 188)}));
}

// ---- Invalidate message -----------------------------------------------------------------------

TEST_F(AnnotationDrawing, InvalidateCoversTheMarqueeOrTheWholeView) {
  AIAnnotatorMessage message{};
  message.view = viewHandle();
  s.marqueeShown = 1;
  s.marqueeViewRect = AIRect{30, 40, 90, 120};
  EXPECT_EQ(sq::onInvalidate(&message), kNoErr);
  ASSERT_EQ(view->dirty.size(), 1u);
  EXPECT_RECT(view->dirty[0], 30, 40, 90, 120);

  view->dirty.clear();
  s.marqueeShown = 0;
  EXPECT_EQ(sq::onInvalidate(&message), kNoErr);
  ASSERT_EQ(view->dirty.size(), 1u);
  EXPECT_RECT(view->dirty[0], 0, 0, 400, 400);
  EXPECT_RECT(s.viewRect, 0, 0, 400, 400);
}

}  // namespace
