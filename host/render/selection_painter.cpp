// Painting the host's selection display: outlines, anchor squares and shown handles of paths.
#include <algorithm>
#include <numbers>
#include <optional>
#include <utility>

#include "render/painters.hpp"

namespace sqhost::render {
namespace {

// Anchor squares are 2 · kAnchorHalf + 1 pixels wide, centred on the anchor's pixel; handle ends
// are dots of kHandleRadius pixels.
constexpr int kAnchorHalf = 2;
constexpr double kHandleRadius = 2.5;
// Selection marks reach this far beyond a path's bounds, or beyond the view.
constexpr double kMarkMargin = kAnchorHalf + 2;

struct Centre {
  double x;
  double y;
};

// The centre of the pixel View::toView gives for an artwork point.
std::optional<Centre> pixelCentre(const View& view, const AIRealPoint& p) {
  const std::optional<AIPoint> pixel = view.toView(p);
  if (!pixel) return std::nullopt;
  return Centre{ViewMapping::centre(pixel->h), ViewMapping::centre(pixel->v)};
}

bool nearView(const View& view, const Centre& c) {
  return c.x >= -kMarkMargin && c.y >= -kMarkMargin && c.x <= view.width + kMarkMargin &&
         c.y <= view.height + kMarkMargin;
}

void handle(cairo_t* cr, const View& view, const Centre& anchor, const Centre& end) {
  const std::optional<LineSegment> line =
      clipLine({anchor.x, anchor.y, end.x, end.y}, view.width, view.height, kMarkMargin);
  if (!line) return;
  cairo_move_to(cr, line->x0, line->y0);
  cairo_line_to(cr, line->x1, line->y1);
  cairo_stroke(cr);
  if (!nearView(view, end)) return;
  cairo_new_sub_path(cr);
  cairo_arc(cr, end.x, end.y, kHandleRadius, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
}

void anchorSquare(cairo_t* cr, const AIRGBColor& color, const Centre& c, bool filled) {
  const double left = c.x - 0.5 - kAnchorHalf;
  const double top = c.y - 0.5 - kAnchorHalf;
  const double side = 2 * kAnchorHalf + 1;
  cairo_rectangle(cr, left, top, side, side);
  if (filled) {
    setSourceColor(cr, color);
    cairo_fill(cr);
    return;
  }
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  // A one-pixel frame on the square's outermost pixels.
  cairo_rectangle(cr, left + 0.5, top + 0.5, side - 1, side - 1);
  setSourceColor(cr, color);
  cairo_stroke(cr);
}

void paintSelectedPath(cairo_t* cr, const ViewMapping& map, const View& view,
                       const PathGeometry& path, const AIRGBColor& color) {
  if (!path.bounds() || !map.meets(*path.bounds(), kMarkMargin)) return;
  setSourceColor(cr, color);
  cairo_set_line_width(cr, 1);
  appendPath(cr, map, path);
  cairo_stroke(cr);

  for (std::size_t i = 0; i < path.size(); ++i) {
    const ShownHandles shown = path.shownHandles(i);
    if (!shown.in && !shown.out) continue;
    const AIPathSegment& s = path.segment(i);
    const std::optional<Centre> anchor = pixelCentre(view, s.p);
    if (!anchor) continue;
    for (const auto& [showIt, end] : {std::pair{shown.in, s.in}, std::pair{shown.out, s.out}}) {
      if (!showIt) continue;
      if (const std::optional<Centre> centre = pixelCentre(view, end)) {
        handle(cr, view, *anchor, *centre);
      }
    }
  }
  for (std::size_t i = 0; i < path.size(); ++i) {
    const std::optional<Centre> anchor = pixelCentre(view, path.segment(i).p);
    if (!anchor || !nearView(view, *anchor)) continue;
    anchorSquare(cr, color, *anchor, path.selection(i) == SegmentSelection::kAnchor);
  }
}

void paintArtSelection(cairo_t* cr, const ViewMapping& map, const View& view, const Art& art,
                       const AIRGBColor& color) {
  if (art.hidden()) return;
  switch (art.type()) {
    case ArtType::kPath:
      if (art.selected() || art.path().selectedCount() > 0) {
        paintSelectedPath(cr, map, view, art.path(), color);
      }
      break;
    case ArtType::kGroup:
    case ArtType::kCompoundPath:
    case ArtType::kTextFrame:
      for (std::size_t i = art.childCount(); i-- > 0;) {
        paintArtSelection(cr, map, view, art.child(i), color);
      }
      break;
    case ArtType::kPluginArt:
      // Its result art is made by the plug-in and is not edited point by point.
      break;
  }
}

}  // namespace

void paintSelection(cairo_t* cr, const ViewMapping& map, const View& view,
                    const Document& document) {
  for (std::size_t i = document.layerCount(); i-- > 0;) {
    const Layer& layer = document.layer(i);
    if (layer.visible()) paintArtSelection(cr, map, view, layer.group(), layer.color());
  }
}

}  // namespace sqhost::render
