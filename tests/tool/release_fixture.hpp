// Releasing the tool's button after the press has prepared its state: the fixture sets what a
// press on an anchor, a handle or a segment leaves in the state record and calls the release
// handler with the keys held at that moment.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/curve.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/messages.h"
#include "support/in_process_plugin.hpp"
#include "svg/svg_io.hpp"
#include "tool/gesture.hpp"
#include "tool/tool_handlers.hpp"

namespace sqtest {

class ReleaseTest : public ::testing::Test {
 protected:
  void open(const std::string& svg) {
    plugin.open(svg);
    s.pickRadius = s.snapTolerance = 6;
    s.currentView = plugin.viewHandle();
    s.toolSelected = 1;
    s.toolDragged = 0;
    s.dragMode = sq::kDragMarquee;
  }

  // A press on point `index` of the path: the point and its neighbours read, the anchor case of
  // its corner flag and retracted handles, the connector records cleared.
  void grab(const std::string& name, int index, int32_t mode) {
    const AIArtHandle art = plugin.art(name);
    const auto& path = plugin.artNamed(name).path();
    sq::ReadPoint(s.grabbedPoint, art, index);
    s.previousPoint = s.nextPoint = sq::PointRecord{};
    s.previousPoint.segmentIndex = s.nextPoint.segmentIndex = -1;
    if (const auto p = path.previous(static_cast<std::size_t>(index))) {
      sq::ReadPoint(s.previousPoint, art, static_cast<int32_t>(*p));
    }
    if (const auto n = path.next(static_cast<std::size_t>(index))) {
      sq::ReadPoint(s.nextPoint, art, static_cast<int32_t>(*n));
    }
    s.grabbedConnector = s.previousConnector = s.nextConnector = sq::ConnectorState{};
    const AIPathSegment& seg = s.grabbedPoint.segment;
    const bool inRetracted = seg.in.h == seg.p.h && seg.in.v == seg.p.v;
    const bool outRetracted = seg.out.h == seg.p.h && seg.out.v == seg.p.v;
    s.anchorCase = (seg.corner ? 4 : 0) + (inRetracted ? 2 : 0) + (outRetracted ? 1 : 0);
    s.dragMode = mode;
    s.dragStarted = s.marqueeShown = s.marqueeCancelled = 0;
    s.pressPoint = mode == sq::kDragInHandle    ? seg.in
                   : mode == sq::kDragOutHandle ? seg.out
                                                : seg.p;
  }

  // A press on the curve that ends at point `index`, at parameter t.
  void grabSegment(const std::string& name, int index, float t) {
    grab(name, index, sq::kDragSegment);
    s.segmentParameter = t;
    const sq::Curve c = sq::CurveBetween(s.previousPoint.segment, s.grabbedPoint.segment);
    s.pressPoint = s.grabPoint = sq::PointToHost(sq::PointAt(c, t));
  }

  AIErr release(int32_t modifiers = 0) {
    plugin.host().dialogs().setEventModifiers(modifiers);
    AIToolMessage message{};
    message.d.self = plugin.pluginRef();
    message.cursor = s.pressPoint;
    return sq::onMouseUp(&message);
  }

  // The release inside an undo context, as the host runs a gesture; the number of undo entries it
  // left.
  std::size_t releaseAsGesture(int32_t modifiers = 0) {
    auto& undo = plugin.host().undo();
    const std::size_t before = undo.undoCount();
    undo.beginContext("Tool");
    release(modifiers);
    undo.endContext();
    return undo.undoCount() - before;
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

  // Adds a table entry for point `index` with the given handles kept.
  void keep(const std::string& name, int index, bool in, bool out) {
    sq::PointRecord& r = s.pointTable[s.pointCount++];
    r = sq::PointRecord{};
    r.art = plugin.art(name);
    r.segmentIndex = static_cast<int16_t>(index);
    r.segment = r.savedSegment = segment(name, static_cast<std::size_t>(index));
    r.selectionState = 4;
    r.shownParts.set(sq::kAnchorShown);
    if (in) {
      r.handleFlags.set(sq::kInHandleFlag);
      r.shownParts.set(sq::kInHandleShown);
      ++s.selectedHandleCount;
      ++s.selectedInHandleCount;
    }
    if (out) {
      r.handleFlags.set(sq::kOutHandleFlag);
      r.shownParts.set(sq::kOutHandleShown);
      ++s.selectedHandleCount;
    }
  }

  static double length(AIRealPoint anchor, AIRealPoint handle) {
    return std::hypot(handle.h - anchor.h, handle.v - anchor.v);
  }
  static double angle(AIRealPoint anchor, AIRealPoint handle) {
    return std::atan2(handle.v - anchor.v, handle.h - anchor.h);
  }

  InProcessPlugin plugin;
  sq::PluginState& s = plugin.state();
};

}  // namespace sqtest
