// A fixture that drives the anchor and segment branches of a drag step directly: it prepares the
// state a press leaves behind, and for each step takes the document back to its state at the
// press, calls the branch and writes the three edited points, as the tool's drag handler does.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geometry/connector.hpp"
#include "geometry/curve.hpp"
#include "geometry/tangents.hpp"
#include "support/in_process_plugin.hpp"
#include "tool/drag.hpp"
#include "tool/gesture.hpp"

namespace sqtest {

// SVG (x, y) is artwork (x, -y).
inline AIRealPoint At(float x, float y) {
  return {x, -y};
}

class DragBranchTest : public ::testing::Test {
 protected:
  void open(const std::string& body) { plugin.open(body); }

  AIPathSegment segment(const std::string& name, int i) {
    return plugin.artNamed(name).path().segment(static_cast<std::size_t>(i));
  }
  std::vector<AIPathSegment> segments(const std::string& name) {
    const auto span = plugin.artNamed(name).path().segments();
    return {span.begin(), span.end()};
  }

  // A press on the anchor `index` of path `name`, with the anchor case of its handles.
  void pressAnchor(const std::string& name, int index) {
    const AIPathSegment p = segment(name, index);
    const bool inGone = sq::SamePoint(p.in, p.p);
    const bool outGone = sq::SamePoint(p.out, p.p);
    s.anchorCase = (p.corner ? 4 : 0) + (inGone ? (outGone ? 3 : 2) : (outGone ? 1 : 0));
    const auto path = segments(name);
    const bool closed = plugin.artNamed(name).path().closed();
    auto along = [&](float angle, float sign) {
      return AIRealPoint{p.p.h + sign * 100.0f * std::cos(angle),
                         p.p.v + sign * 100.0f * std::sin(angle)};
    };
    bool inSelected = false;
    switch (s.anchorCase) {
      case 1:
      case 5:
        s.handleTarget = p.in;
        break;
      case 2:
        s.handleTarget = p.out;
        inSelected = true;
        break;
      case 3:
      case 7:
        s.handleTarget = along(sq::OutgoingAngle(path, closed, index), 1.0f);
        break;
      case 6:
        s.handleTarget = along(sq::IncomingAngle(path, closed, index), -1.0f);
        inSelected = true;
        break;
      default:
        s.handleTarget = p.out;
        break;
    }
    press(name, index, sq::kDragAnchor);
    s.grabbedPoint.handleFlags[inSelected ? sq::kInHandleFlag : sq::kOutHandleFlag] = true;
    sq::StoreHandleDirection(s);
  }

  // A press on the segment that ends at anchor `end`, at parameter t.
  void pressSegment(const std::string& name, int end, float t) {
    press(name, end, sq::kDragSegment);
    s.segmentParameter = t;
    const AIRealPoint grab = sq::PointToHost(sq::PointAt(currentCurve(), t));
    s.grabPoint = s.pressPoint = s.lastCursor = s.slowCursor = s.snappedCursor = grab;
    s.grabbedSegmentBezier = sq::CurveToHost(currentCurve());
  }

  // One drag step to the cursor (artwork coordinates) with these modifier keys; for anchor drags
  // D is the cursor, or with Alt its projection onto the line of handleTarget.
  AIErr step(AIRealPoint cursor, int32_t modifiers = 0) {
    sq::DragStep st;
    st.view = plugin.viewHandle();
    st.modifiers = modifiers;
    st.cursor = cursor;
    st.delta = {cursor.h - s.lastCursor.h, cursor.v - s.lastCursor.v};
    const bool alt = (modifiers & sq::kAltKey) != 0;
    s.firstDragStep = s.dragStarted == 0 ? 1 : 0;
    if (s.firstDragStep && s.settings.pointdrag && alt) s.extendOnAltDrag = 1;
    s.dragStarted = 1;
    s.lastCursor = s.slowCursor = cursor;
    s.constraining = alt ? 1 : 0;
    // The host's undo of the previous step.
    for (int r = 0; r < 3; ++r) {
      if (pressed[r].art != nullptr) {
        EXPECT_EQ(sq::WritePoint(pressed[r]), kNoErr);
      }
    }
    AIErr result = kNoErr;
    if (s.dragMode == sq::kDragAnchor) {
      result = sq::AnchorDragStep(s, st, alt ? project(cursor) : cursor);
    } else if (s.dragMode == sq::kDragSegment) {
      result = sq::SegmentDragStep(s, st);
    }
    for (int r = 0; r < 3; ++r) {
      const sq::PointRecord& point = sq::EditedPoint(s, r);
      if (point.art != nullptr && point.segmentIndex >= 0) {
        EXPECT_EQ(sq::WritePoint(point), kNoErr);
      }
    }
    return result;
  }
  AIErr step(float x, float y, int32_t modifiers = 0) { return step(At(x, y), modifiers); }

  // The grabbed segment as it is in memory now.
  sq::Curve currentCurve() {
    return sq::CurveBetween(s.previousPoint.segment, s.grabbedPoint.segment);
  }

  // Every coordinate of every segment of the path is finite.
  bool allFinite(const std::string& name) {
    for (const AIPathSegment& g : segments(name)) {
      for (float f : {g.p.h, g.p.v, g.in.h, g.in.v, g.out.h, g.out.v}) {
        if (!std::isfinite(f)) return false;
      }
    }
    return true;
  }

  sqtest::InProcessPlugin plugin;
  sq::PluginState& s = plugin.state();

 private:
  void press(const std::string& name, int index, int32_t mode) {
    const AIArtHandle art = plugin.art(name);
    const auto path = segments(name);
    const bool closed = plugin.artNamed(name).path().closed();
    const int n = static_cast<int>(path.size());
    s.dragMode = mode;
    s.dragStarted = s.firstDragStep = s.extendOnAltDrag = s.anchorMoved = 0;
    s.spaceMoved = s.spaceBlocked = s.coincidingNeighbour = 0;
    s.grabbedConnector = s.previousConnector = s.nextConnector = sq::ConnectorState{};
    s.previousPoint = s.nextPoint = sq::PointRecord{};
    s.previousPoint.segmentIndex = s.nextPoint.segmentIndex = -1;
    ASSERT_EQ(sq::ReadPoint(s.grabbedPoint, art, index), kNoErr);
    const int previous = index > 0 ? index - 1 : (closed ? n - 1 : -1);
    const int next = index + 1 < n ? index + 1 : (closed ? 0 : -1);
    if (previous >= 0) sq::ReadPoint(s.previousPoint, art, previous);
    if (next >= 0) sq::ReadPoint(s.nextPoint, art, next);

    sq::ConnectorQuery query;
    query.recognizeConnectors = s.settings.recognize_connectors != 0;
    query.angleThresholdRadians = s.angleThresholdRadians;
    query.dragMode = mode;
    query.anchorCase = s.anchorCase;
    s.grabbedConnector = sq::TestConnector(path[index], index, path, closed, query);
    if (previous >= 0)
      s.previousConnector = sq::TestConnector(path[previous], previous, path, closed, query);
    if (next >= 0) s.nextConnector = sq::TestConnector(path[next], next, path, closed, query);
    s.pressPoint = s.grabPoint = s.lastCursor = s.slowCursor = s.snappedCursor =
        s.grabbedPoint.segment.p;
    pressed[0] = s.grabbedPoint;
    pressed[1] = s.previousPoint;
    pressed[2] = s.nextPoint;
    for (auto& p : pressed) {
      if (p.segmentIndex < 0) p.art = nullptr;
    }
  }

  AIRealPoint project(AIRealPoint c) const {
    const AIRealPoint a = s.grabbedPoint.savedSegment.p;
    const double dh = s.handleDirection.h, dv = s.handleDirection.v;
    const double len2 = dh * dh + dv * dv;
    if (len2 == 0.0) return a;
    const double k = ((c.h - a.h) * dh + (c.v - a.v) * dv) / len2;
    return {static_cast<float>(a.h + k * dh), static_cast<float>(a.v + k * dv)};
  }

  sq::PointRecord pressed[3];
};

inline bool Near(AIRealPoint a, AIRealPoint b, double tolerance = 1e-3) {
  return std::abs(a.h - b.h) <= tolerance && std::abs(a.v - b.v) <= tolerance;
}

inline double LengthOf(AIRealPoint from, AIRealPoint to) {
  return std::hypot(static_cast<double>(to.h) - from.h, static_cast<double>(to.v) - from.v);
}

inline double AngleOf(AIRealPoint from, AIRealPoint to) {
  return std::atan2(static_cast<double>(to.v) - from.v, static_cast<double>(to.h) - from.h);
}

}  // namespace sqtest
