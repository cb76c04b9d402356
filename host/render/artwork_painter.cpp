// Painting artboards and artwork of a document onto a view's raster, bottom-most object first.
#include <algorithm>
#include <cmath>

#include "render/painters.hpp"

namespace sqhost::render {
namespace {

// Beyond this many pixels outside the view nothing shows, and Cairo's fixed-point coordinates
// (24.8 bits) still hold the clamped value with room for strokes.
constexpr double kFarPixels = 4.0e6;

// The dark thin line of paths that have neither fill nor stroke, and of text frame outlines.
constexpr double kWireGrey = 0.25;
constexpr double kActiveArtboardGrey = 0.2;
constexpr double kArtboardGrey = 0.6;
// Half the arm of the cross that marks point text, in pixels.
constexpr int kPointTextArm = 3;

double clampFar(double value, double extent) {
  return std::clamp(value, -kFarPixels, extent + kFarPixels);
}

void thinLine(cairo_t* cr, double grey) {
  cairo_set_source_rgb(cr, grey, grey, grey);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

}  // namespace

void paintArtboards(cairo_t* cr, const ViewMapping& map, const Document& document) {
  // The active artboard last, so its darker outline wins where two meet.
  for (std::size_t pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < document.artboardCount(); ++i) {
      const bool active = i == document.activeArtboard();
      if (active != (pass == 1)) continue;
      const AIRealRect& b = document.artboard(i).bounds;
      if (!map.meets(b, 1)) continue;
      const double left = map.x(b.left);
      const double top = map.y(b.top);
      cairo_rectangle(cr, left, top, map.x(b.right) - left, map.y(b.bottom) - top);
      thinLine(cr, active ? kActiveArtboardGrey : kArtboardGrey);
    }
  }
}

namespace {

bool meetsView(const ViewMapping& map, const PathGeometry& path, double marginPixels) {
  return path.bounds() && map.meets(*path.bounds(), marginPixels);
}

// Fills and strokes the current Cairo path with a path style (consuming it).
void paintStyled(cairo_t* cr, const ViewMapping& map, const PathStyle& style) {
  const double strokeWidth = style.stroke ? static_cast<double>(style.strokeWidth) * map.zoom() : 0;
  if (style.fill) {
    cairo_set_fill_rule(cr, style.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    setSourceColor(cr, style.fillColor);
    cairo_fill_preserve(cr);
  }
  if (strokeWidth > 0) {
    setSourceColor(cr, style.strokeColor);
    cairo_set_line_width(cr, strokeWidth);
    cairo_stroke_preserve(cr);
  } else if (!style.fill) {
    thinLine(cr, kWireGrey);
  }
  cairo_new_path(cr);
}

double strokeMargin(const ViewMapping& map, const PathStyle& style) {
  return (style.stroke ? static_cast<double>(style.strokeWidth) * map.zoom() : 0) + 2;
}

void paintPath(cairo_t* cr, const ViewMapping& map, const Art& art) {
  if (!meetsView(map, art.path(), strokeMargin(map, art.style()))) return;
  appendPath(cr, map, art.path());
  paintStyled(cr, map, art.style());
}

// The paths of a compound path form one shape, painted with the style of its first path.
void paintCompound(cairo_t* cr, const ViewMapping& map, const Art& art) {
  if (art.childCount() == 0) return;
  const PathStyle& style = art.child(0).style();
  const double margin = strokeMargin(map, style);
  bool any = false;
  for (std::size_t i = 0; i < art.childCount(); ++i) {
    const Art& part = art.child(i);
    if (part.hidden() || part.type() != ArtType::kPath) continue;
    if (!meetsView(map, part.path(), margin)) continue;
    appendPath(cr, map, part.path());
    any = true;
  }
  if (any) paintStyled(cr, map, style);
}

void paintTextFrame(cairo_t* cr, const ViewMapping& map, const Art& art) {
  if (const Art* path = art.textPath()) {
    if (path->hidden() || !meetsView(map, path->path(), 2)) return;
    appendPath(cr, map, path->path());
    thinLine(cr, kWireGrey);
    return;
  }
  const AIRealPoint origin = art.text().origin;
  const double x = map.x(origin.h);
  const double y = map.y(origin.v);
  // The arms end on pixel edges, so every pixel of the cross is wholly covered.
  const double reach = kPointTextArm + 0.5;
  cairo_move_to(cr, x - reach, y);
  cairo_line_to(cr, x + reach, y);
  cairo_move_to(cr, x, y - reach);
  cairo_line_to(cr, x, y + reach);
  thinLine(cr, kWireGrey);
}

void paintArt(cairo_t* cr, const ViewMapping& map, const Art& art) {
  if (art.hidden()) return;
  switch (art.type()) {
    case ArtType::kGroup:
      for (std::size_t i = art.childCount(); i-- > 0;) paintArt(cr, map, art.child(i));
      break;
    case ArtType::kPath:
      paintPath(cr, map, art);
      break;
    case ArtType::kCompoundPath:
      paintCompound(cr, map, art);
      break;
    case ArtType::kTextFrame:
      paintTextFrame(cr, map, art);
      break;
    case ArtType::kPluginArt:
      if (const Art* result = art.pluginResult()) paintArt(cr, map, *result);
      break;
  }
}

}  // namespace

ViewMapping::ViewMapping(const View& view)
    : zoom_(view.zoom), width_(view.width), height_(view.height) {
  const AIRealPoint topLeft = view.topLeft();
  left_ = topLeft.h;
  top_ = topLeft.v;
}

// The same arithmetic as View::toView, without the rounding, plus half a pixel to the centre.
double ViewMapping::x(float h) const {
  return clampFar((static_cast<double>(h) - left_) * zoom_ + 0.5, width_);
}

double ViewMapping::y(float v) const {
  return clampFar((top_ - static_cast<double>(v)) * zoom_ + 0.5, height_);
}

bool ViewMapping::meets(const AIRealRect& r, double marginPixels) const {
  const double left = (static_cast<double>(r.left) - left_) * zoom_;
  const double right = (static_cast<double>(r.right) - left_) * zoom_;
  const double top = (top_ - static_cast<double>(r.top)) * zoom_;
  const double bottom = (top_ - static_cast<double>(r.bottom)) * zoom_;
  return std::max(left, right) >= -marginPixels && std::min(left, right) <= width_ + marginPixels &&
         std::max(top, bottom) >= -marginPixels && std::min(top, bottom) <= height_ + marginPixels;
}

std::optional<LineSegment> clipLine(LineSegment line, double width, double height, double margin) {
  // Liang-Barsky: narrow the parameter range [t0, t1] edge by edge.
  const double dx = line.x1 - line.x0;
  const double dy = line.y1 - line.y0;
  double t0 = 0;
  double t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {line.x0 + margin, width + margin - line.x0, line.y0 + margin,
                       height + margin - line.y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return std::nullopt;  // parallel to this edge and outside it
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return std::nullopt;
  }
  return LineSegment{line.x0 + t0 * dx, line.y0 + t0 * dy, line.x0 + t1 * dx, line.y0 + t1 * dy};
}

void setSourceColor(cairo_t* cr, const AIRGBColor& color) {
  cairo_set_source_rgb(cr, color.red / 65535.0, color.green / 65535.0, color.blue / 65535.0);
}

void appendPath(cairo_t* cr, const ViewMapping& map, const PathGeometry& path) {
  if (path.empty()) return;
  const AIRealPoint start = path.segment(0).p;
  cairo_move_to(cr, map.x(start.h), map.y(start.v));
  for (std::size_t k = 0; k < path.bezierCount(); ++k) {
    const AIRealBezier b = path.bezier(k);
    cairo_curve_to(cr, map.x(b.p1.h), map.y(b.p1.v), map.x(b.p2.h), map.y(b.p2.v), map.x(b.p3.h),
                   map.y(b.p3.v));
  }
  if (path.closed()) cairo_close_path(cr);
}

void paintArtwork(cairo_t* cr, const ViewMapping& map, const Document& document) {
  for (std::size_t i = document.layerCount(); i-- > 0;) {
    const Layer& layer = document.layer(i);
    if (layer.visible()) paintArt(cr, map, layer.group());
  }
}

}  // namespace sqhost::render
