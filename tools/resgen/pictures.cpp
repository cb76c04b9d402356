// Drawing of the tool's pictures with Cairo.
#include "pictures.hpp"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace sq::resgen {
namespace {

// The pictures are placed with a given pixel on the point they mark, so shapes are centred on
// that pixel's centre (hence the halves).
constexpr double kRingCentre = 12.5;
constexpr double kRingRadius = 9.5;  // with the line width, both edges fall on pixel borders
constexpr double kRingLineWidth = 2.0;
constexpr double kArrowheadCentre = 18.5;
constexpr double kArrowheadTip = 17.0;   // distance from the centre to the tip
constexpr double kArrowheadBase = 11.5;  // distance from the centre to the base, clear of the ring
constexpr double kArrowheadHalfWidth = 3.5;
constexpr double kDotCentre = 8.5;
constexpr double kDotRadius = 5.0;
constexpr double kLabelFontSize = 11.0;
constexpr double kLabelTextRight = 82.0;  // the text ends here, a little before the ring
constexpr double kLabelBaseline = 16.5;   // puts the capitals' middle on the ring's centre

void setRed(cairo_t* cr) {
  cairo_set_source_rgb(cr, 1, 0, 0);
}

void strokeRing(cairo_t* cr, double centreX, double centreY) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, centreX, centreY, kRingRadius, 0, 2 * std::numbers::pi);
  cairo_set_line_width(cr, kRingLineWidth);
  setRed(cr);
  cairo_stroke(cr);
}

}  // namespace

Surface drawArrowhead(int index) {
  if (index < 0 || index >= kArrowheadCount) {
    throw std::out_of_range("no arrowhead with this index");
  }
  Surface surface = makeSurface(kArrowheadSize, kArrowheadSize);
  Context context = makeContext(surface);
  cairo_t* cr = context.get();
  // Direction in the picture, whose y axis points down: (cos a, -sin a).
  const double angle = (180.0 + 10.0 * index) * std::numbers::pi / 180.0;
  const double ux = std::cos(angle);
  const double uy = -std::sin(angle);
  const double c = kArrowheadCentre;
  cairo_move_to(cr, c + kArrowheadTip * ux, c + kArrowheadTip * uy);
  cairo_line_to(cr, c + kArrowheadBase * ux - kArrowheadHalfWidth * uy,
                c + kArrowheadBase * uy + kArrowheadHalfWidth * ux);
  cairo_line_to(cr, c + kArrowheadBase * ux + kArrowheadHalfWidth * uy,
                c + kArrowheadBase * uy - kArrowheadHalfWidth * ux);
  cairo_close_path(cr);
  setRed(cr);
  cairo_fill(cr);
  return surface;
}

Surface drawRing() {
  Surface surface = makeSurface(kRingSize, kRingSize);
  Context context = makeContext(surface);
  strokeRing(context.get(), kRingCentre, kRingCentre);
  return surface;
}

Surface drawLabel(const OutlineFont& font, int index) {
  if (index < 0 || index >= static_cast<int>(kLabelTexts.size())) {
    throw std::out_of_range("no label with this index");
  }
  const std::string_view text = kLabelTexts[static_cast<size_t>(index)];
  Surface surface = makeSurface(kLabelWidth, kLabelHeight);
  Context context = makeContext(surface);
  cairo_t* cr = context.get();
  strokeRing(cr, kLabelRingLeft + kRingCentre, kRingCentre);
  const double left = kLabelTextRight - font.advance(text, kLabelFontSize);
  font.appendPath(cr, text, kLabelFontSize, left, kLabelBaseline);
  setRed(cr);
  cairo_fill(cr);
  return surface;
}

Surface drawDot() {
  Surface surface = makeSurface(kDotSize, kDotSize);
  Context context = makeContext(surface);
  cairo_t* cr = context.get();
  cairo_arc(cr, kDotCentre, kDotCentre, kDotRadius, 0, 2 * std::numbers::pi);
  cairo_set_source_rgb(cr, 1, 0, 1);
  cairo_fill(cr);
  return surface;
}

}  // namespace sq::resgen
