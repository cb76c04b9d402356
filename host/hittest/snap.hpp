// Cursor snapping: onto anchors near the cursor and onto custom constraint lines.
#pragma once

#include <span>
#include <string_view>

#include "document/document.hpp"
#include "views/view.hpp"

namespace sqhost {

// What a control string lets snap: its first word is a set of letters, of which 'A' (anchors) and
// 'T' (custom constraints) have an effect; the rest is accepted and ignored.
struct SnapControl {
  bool anchors = false;
  bool constraints = false;
  bool any = false;  // at least one letter: the grid applies
};
SnapControl parseSnapControl(std::string_view control);

// A line through origin in an absolute direction (radians, counter-clockwise from +h). A hard line
// always takes the cursor; a soft one only within the snapping tolerance.
struct SnapLine {
  AIRealPoint origin{0, 0};
  double angle = 0;
  bool soft = false;
};

// Where the cursor went, and which of the lines took it (their index; -1 for none).
struct SnapResult {
  AIRealPoint point{0, 0};
  int line = -1;
};

// The cursor after snapping in view (whose zoom turns tolerancePixels into artwork units), taking
// the first rule that gives a point: the projection onto the nearest hard line; the nearest
// pickable anchor of document within tolerance when smart guides are on in the view; the
// projection onto the nearest soft line within tolerance; the nearest grid point (multiples of
// gridSpacing from the artwork origin) when the view's snap-to-grid option is on and gridSpacing is
// positive; else the cursor itself. An empty control string (no letters) never snaps.
SnapResult snapCursor(const Document& document, const View& view, const AIRealPoint& cursor,
                      SnapControl control, std::span<const SnapLine> lines, float tolerancePixels,
                      double gridSpacing = 0);

}  // namespace sqhost
