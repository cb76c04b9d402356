// The steps of rendering a view: the mapping to raster coordinates and the painters that use it.
#pragma once

#include <cairo.h>

#include <optional>

#include "document/document.hpp"
#include "render/display_list.hpp"
#include "render/raster.hpp"
#include "views/view.hpp"

namespace sqhost::render {

// Maps artwork points to Cairo coordinates on a view's raster. Pixel (x, y) covers [x, x + 1) x
// [y, y + 1); an artwork point goes to the centre of the pixel View::toView gives for it, so a
// one-pixel line through anchors at whole view pixels covers exactly those pixels. Coordinates
// far outside the view are clamped well inside the range Cairo can represent.
class ViewMapping {
 public:
  explicit ViewMapping(const View& view);

  double x(float h) const;
  double y(float v) const;
  double zoom() const { return zoom_; }
  // The centre of a view pixel.
  static double centre(int32_t pixel) { return pixel + 0.5; }
  // Whether an artwork rectangle, widened by margin pixels on every side, meets the view.
  bool meets(const AIRealRect& r, double marginPixels) const;

 private:
  double left_;
  double top_;
  double zoom_;
  double width_;
  double height_;
};

// A straight line between two points in raster coordinates.
struct LineSegment {
  double x0;
  double y0;
  double x1;
  double y1;
};

// Cuts a line to its part inside the raster widened by margin pixels, keeping its direction, so
// lines to points far outside need no coordinates Cairo cannot hold. Nothing when it misses.
std::optional<LineSegment> clipLine(LineSegment line, double width, double height, double margin);

// The 16-bit channels of a colour as Cairo's 0..1.
void setSourceColor(cairo_t* cr, const AIRGBColor& color);
// Appends a path's curves (and its closing segment when closed) to the current Cairo path.
void appendPath(cairo_t* cr, const ViewMapping& map, const PathGeometry& path);

// The outline of every artboard, the active one darker.
void paintArtboards(cairo_t* cr, const ViewMapping& map, const Document& document);
// The artwork of every visible layer, bottom-most first, painted from the host's model.
void paintArtwork(cairo_t* cr, const ViewMapping& map, const Document& document);
// The artwork of a document read from SVG as the SVG renderer draws its text (edits applied)
// under viewMatrix(view). False, with nothing drawn, for a document without a source or text the
// renderer cannot read.
bool paintSource(cairo_t* cr, const View& view, const Document& document);
// From SVG user units (artwork (h, v) is (h, -v)) to the view's raster, as ViewMapping maps.
cairo_matrix_t viewMatrix(const View& view);
// Outlines, anchor squares and shown handles of every selected, visible path, in layer colour.
void paintSelection(cairo_t* cr, const ViewMapping& map, const View& view,
                    const Document& document);
// Paints a display list drawn on the view's port over the raster. ClearRect with a transparent
// colour shows what lay beneath the annotations: base is the raster before any were painted.
void paintDisplayList(const Raster& target, const Raster& base, const DisplayList& list);

}  // namespace sqhost::render
