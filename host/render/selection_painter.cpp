// Painting the host's selection display: outlines, anchor squares and shown handles of paths.
#include <numbers>
#include <optional>
#include <utility>

#include "render/painters.hpp"
#include "render/selection_marks.hpp"

namespace sqhost::render {
namespace {

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

void collectPath(const ViewMapping& map, const View& view, const Art& art, const AIRGBColor& color,
                 std::vector<PathMarks>& out) {
  const PathGeometry& path = art.path();
  if (!path.bounds() || !map.meets(*path.bounds(), kMarkMargin)) return;
  PathMarks& marks = out.emplace_back();
  marks.art = art.id();
  marks.path = &path;
  marks.color = color;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const ShownHandles shown = path.shownHandles(i);
    if (!shown.in && !shown.out) continue;
    const AIPathSegment& s = path.segment(i);
    const std::optional<Centre> anchor = pixelCentre(view, s.p);
    if (!anchor) continue;
    for (const auto& [showIt, end] : {std::pair{shown.in, s.in}, std::pair{shown.out, s.out}}) {
      if (!showIt) continue;
      const std::optional<Centre> centre = pixelCentre(view, end);
      if (!centre) continue;
      const std::optional<LineSegment> line = clipLine({anchor->x, anchor->y, centre->x, centre->y},
                                                       view.width, view.height, kMarkMargin);
      if (!line) continue;
      marks.handles.push_back({*line, nearView(view, *centre)});
    }
  }
  for (std::size_t i = 0; i < path.size(); ++i) {
    const std::optional<Centre> anchor = pixelCentre(view, path.segment(i).p);
    if (!anchor || !nearView(view, *anchor)) continue;
    marks.anchors.push_back({anchor->x, anchor->y, path.selection(i) == SegmentSelection::kAnchor});
  }
}

void collectArt(const ViewMapping& map, const View& view, const Art& art, const AIRGBColor& color,
                std::vector<PathMarks>& out) {
  if (art.hidden()) return;
  switch (art.type()) {
    case ArtType::kPath:
      if (art.selected() || art.path().selectedCount() > 0) {
        collectPath(map, view, art, color, out);
      }
      break;
    case ArtType::kGroup:
    case ArtType::kCompoundPath:
    case ArtType::kTextFrame:
      for (std::size_t i = art.childCount(); i-- > 0;)
        collectArt(map, view, art.child(i), color, out);
      break;
    case ArtType::kPluginArt:
      // Its result art is made by the plug-in and is not edited point by point.
      break;
  }
}

void anchorSquare(cairo_t* cr, const AIRGBColor& color, const PathMarks::Anchor& a) {
  const double left = a.x - 0.5 - kAnchorHalf;
  const double top = a.y - 0.5 - kAnchorHalf;
  const double side = 2 * kAnchorHalf + 1;
  cairo_rectangle(cr, left, top, side, side);
  if (a.filled) {
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

void paintMarks(cairo_t* cr, const ViewMapping& map, const PathMarks& marks) {
  setSourceColor(cr, marks.color);
  cairo_set_line_width(cr, 1);
  appendPath(cr, map, *marks.path);
  cairo_stroke(cr);
  for (const PathMarks::Handle& h : marks.handles) {
    cairo_move_to(cr, h.line.x0, h.line.y0);
    cairo_line_to(cr, h.line.x1, h.line.y1);
    cairo_stroke(cr);
    if (!h.dot) continue;
    cairo_new_sub_path(cr);
    cairo_arc(cr, h.line.x1, h.line.y1, kHandleRadius, 0, 2 * std::numbers::pi);
    cairo_fill(cr);
  }
  for (const PathMarks::Anchor& a : marks.anchors) anchorSquare(cr, marks.color, a);
}

}  // namespace

std::vector<PathMarks> collectSelection(const ViewMapping& map, const View& view,
                                        const Document& document) {
  std::vector<PathMarks> out;
  for (std::size_t i = document.layerCount(); i-- > 0;) {
    const Layer& layer = document.layer(i);
    if (layer.visible()) collectArt(map, view, layer.group(), layer.color(), out);
  }
  return out;
}

void paintSelection(cairo_t* cr, const ViewMapping& map, const View& view,
                    const Document& document) {
  for (const PathMarks& marks : collectSelection(map, view, document)) paintMarks(cr, map, marks);
}

}  // namespace sqhost::render
