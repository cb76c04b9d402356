// The host's selection display as marks in view pixels: what the painter draws and the studio
// sends.
#pragma once

#include <vector>

#include "document/document.hpp"
#include "render/painters.hpp"
#include "views/view.hpp"

namespace sqhost::render {

// Anchor squares are 2 · kAnchorHalf + 1 pixels wide, centred on the anchor's pixel; handle ends
// are dots of kHandleRadius pixels.
inline constexpr int kAnchorHalf = 2;
inline constexpr double kHandleRadius = 2.5;

// The marks of one selected path, in the order they are drawn: its outline (a 1-pixel line in
// the layer's colour), then its shown handles, then its anchor squares. Coordinates are raster
// coordinates of the view (ViewMapping: pixel centres at x + 0.5).
struct PathMarks {
  ArtId art = kNoId;                   // the path object
  const PathGeometry* path = nullptr;  // the outline; valid while the document is unchanged
  AIRGBColor color{};
  struct Handle {
    LineSegment line;  // from the anchor towards the handle, cut to the view and its margin
    bool dot = false;  // the handle's end lies near the view: a dot at line's end
  };
  std::vector<Handle> handles;
  struct Anchor {
    double x = 0;
    double y = 0;
    bool filled = false;  // a selected anchor: filled; otherwise white with a frame
  };
  std::vector<Anchor> anchors;
};

// The marks of every selected, visible path that reaches the view, bottom layer first.
std::vector<PathMarks> collectSelection(const ViewMapping& map, const View& view,
                                        const Document& document);

}  // namespace sqhost::render
