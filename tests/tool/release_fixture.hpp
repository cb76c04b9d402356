// Releasing the tool's button: the fixture leaves in the state record what a press on an anchor,
// a handle or a segment prepares, and calls the release handler with the keys then held.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/curve.hpp"
#include "geometry/point_table.hpp"
#include "geometry/tangents.hpp"
#include "support/in_process_plugin.hpp"
#include "svg/svg_io.hpp"
#include "tool/gesture.hpp"
#include "tool/tool_handlers.hpp"

namespace sqtest {

inline constexpr int32_t kShift = 0x20;
inline constexpr int32_t kAlt = 0x80;

class ReleaseTest : public ::testing::Test {
 protected:
  void open(const std::string& svg) {
    plugin.open(svg);
    s.pickRadius = s.snapTolerance = 6;
    s.currentView = plugin.viewHandle();
    s.dragMode = sq::kDragMarquee;
    s.pressPoint = {350, -50};  // away from everything
  }

  // A press on point `index` (for a segment: on the curve ending there, at t).
  void grab(const std::string& name, int index, int32_t mode, float t = 0.5f) {
    const AIArtHandle art = plugin.art(name);
    const auto& geometry = path(name);
    sq::ReadPoint(s.grabbedPoint, art, index);
    s.previousPoint = sq::PointRecord{};
    if (const auto p = geometry.previous(static_cast<std::size_t>(index))) {
      sq::ReadPoint(s.previousPoint, art, static_cast<int32_t>(*p));
    }
    s.grabbedConnector = s.previousConnector = s.nextConnector = sq::ConnectorState{};
    const AIPathSegment& seg = s.grabbedPoint.segment;
    s.anchorCase = (seg.corner ? 4 : 0) + (sq::SamePoint(seg.in, seg.p) ? 2 : 0) +
                   (sq::SamePoint(seg.out, seg.p) ? 1 : 0);
    s.dragMode = mode;
    s.dragStarted = 0;
    s.segmentParameter = t;
    const sq::Curve c = sq::CurveBetween(s.previousPoint.segment, seg);
    s.pressPoint = mode == sq::kDragSegment ? sq::PointToHost(sq::PointAt(c, t)) : seg.p;
  }

  // The release inside an undo context, as the host runs a gesture: the undo entries it left.
  std::size_t release(int32_t modifiers = 0) {
    plugin.host().dialogs().setEventModifiers(modifiers);
    AIToolMessage message{};
    message.d.self = plugin.pluginRef();
    message.cursor = s.pressPoint;
    auto& undo = plugin.host().undo();
    const std::size_t before = undo.undoCount();
    undo.beginContext("Tool");
    sq::onMouseUp(&message);
    undo.endContext();
    return undo.undoCount() - before;
  }

  void keep(const std::string& name, int index, bool in, bool out) {
    sq::appendEntry(s, plugin.art(name), index, segment(name, static_cast<std::size_t>(index)), in,
                    out);
  }

  const sqhost::PathGeometry& path(const std::string& name) { return plugin.artNamed(name).path(); }
  const AIPathSegment& segment(const std::string& name, std::size_t i) {
    return path(name).segment(i);
  }
  std::vector<int> states(const std::string& name) {
    std::vector<int> out;
    for (const auto state : path(name).selections()) out.push_back(static_cast<int>(state));
    return out;
  }
  std::string document() { return sqhost::svg::exportSvg(*plugin.host().currentDocument()); }

  static double length(AIRealPoint anchor, AIRealPoint handle) {
    return std::hypot(handle.h - anchor.h, handle.v - anchor.v);
  }
  static double angle(AIRealPoint anchor, AIRealPoint handle) {
    return std::atan2(handle.v - anchor.v, handle.h - anchor.h);
  }
  static void expectAt(const AIRealPoint& p, double h, double v) {
    EXPECT_NEAR(p.h, h, 1e-3);
    EXPECT_NEAR(p.v, v, 1e-3);
  }

  InProcessPlugin plugin;
  sq::PluginState& s = plugin.state();
};

}  // namespace sqtest
