// Drawing of the point editor panel's pictures with Cairo. Lines of odd width sit on pixel
// centres (the halves) so that they come out crisp.
#include "panel_pictures.hpp"

#include <algorithm>
#include <array>
#include <numbers>
#include <stdexcept>
#include <string_view>

namespace sq::resgen {
namespace {

// The colours of one look: lines and anchors, and the handles' dots.
struct Palette {
  double ink[3];
  double accent[3];
};

constexpr Palette kNormal{{0.13, 0.13, 0.13}, {0.16, 0.42, 0.82}};
constexpr Palette kDisabled{{0.62, 0.62, 0.62}, {0.70, 0.70, 0.70}};

constexpr double kWordsFontSize = 10.5;

enum class Shape {
  AngleMark,
  AnchorMark,
  InMark,
  OutMark,
  Retract,
  Smooth,
  Corner,
  Split,
  SmartRemove,
  Previous,
  Next,
  Link,
  Icon,
  Words,
};

struct Entry {
  PanelPicture picture;
  Shape shape;
  bool disabled;
  std::string_view words;  // for Shape::Words
};

constexpr Entry kEntries[] = {
    {{16052, "angle-mark", 15, 9}, Shape::AngleMark, false, ""},
    {{16053, "anchor-mark", 18, 6}, Shape::AnchorMark, false, ""},
    {{16054, "in-mark", 18, 6}, Shape::InMark, false, ""},
    {{16055, "out-mark", 18, 6}, Shape::OutMark, false, ""},
    {{16059, "retract", 30, 25}, Shape::Retract, false, ""},
    {{16060, "smooth", 30, 25}, Shape::Smooth, false, ""},
    {{16061, "corner", 30, 25}, Shape::Corner, false, ""},
    {{16062, "split", 30, 25}, Shape::Split, false, ""},
    {{16063, "smart-remove", 30, 25}, Shape::SmartRemove, false, ""},
    {{16064, "anchor-mark-disabled", 18, 6}, Shape::AnchorMark, true, ""},
    {{16065, "in-mark-disabled", 18, 6}, Shape::InMark, true, ""},
    {{16066, "out-mark-disabled", 18, 6}, Shape::OutMark, true, ""},
    {{16067, "angle-mark-disabled", 15, 9}, Shape::AngleMark, true, ""},
    {{16068, "increment", 60, 18}, Shape::Words, false, "Increment"},
    {{16069, "scale", 60, 18}, Shape::Words, false, "Scale"},
    {{16070, "rotate", 60, 18}, Shape::Words, false, "Rotate"},
    {{16071, "set-length", 60, 18}, Shape::Words, false, "Set length"},
    {{16072, "set-angle", 60, 18}, Shape::Words, false, "Set angle"},
    {{16073, "retract-disabled", 30, 25}, Shape::Retract, true, ""},
    {{16074, "smooth-disabled", 30, 25}, Shape::Smooth, true, ""},
    {{16075, "corner-disabled", 30, 25}, Shape::Corner, true, ""},
    {{16076, "split-disabled", 30, 25}, Shape::Split, true, ""},
    {{16077, "smart-remove-disabled", 30, 25}, Shape::SmartRemove, true, ""},
    {{16078, "previous-point", 20, 16}, Shape::Previous, false, ""},
    {{16079, "next-point", 20, 16}, Shape::Next, false, ""},
    {{16080, "previous-point-disabled", 20, 16}, Shape::Previous, true, ""},
    {{16081, "next-point-disabled", 20, 16}, Shape::Next, true, ""},
    {{16088, "panel-icon", 16, 16}, Shape::Icon, false, ""},
    {{16089, "link-mark", 5, 14}, Shape::Link, false, ""},
    {{16090, "select-point-0", 75, 16}, Shape::Words, false, "Select point 0"},
};

constexpr auto kPictures = [] {
  std::array<PanelPicture, std::size(kEntries)> pictures{};
  for (std::size_t i = 0; i < std::size(kEntries); ++i) pictures[i] = kEntries[i].picture;
  return pictures;
}();

void use(cairo_t* cr, const double (&rgb)[3]) {
  cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
}

void line(cairo_t* cr, double x0, double y0, double x1, double y1) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

// A filled square anchor of the given size with its top-left corner at (x, y).
void anchor(cairo_t* cr, const Palette& p, double x, double y, double size) {
  use(cr, p.ink);
  cairo_rectangle(cr, x, y, size, size);
  cairo_fill(cr);
}

// A smooth anchor: a small filled circle.
void smoothAnchor(cairo_t* cr, const Palette& p, double cx, double cy) {
  use(cr, p.ink);
  cairo_arc(cr, cx, cy, 2.5, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
}

// A handle's end: a dot in the accent colour.
void handleDot(cairo_t* cr, const Palette& p, double cx, double cy, double radius = 2.0) {
  use(cr, p.accent);
  cairo_arc(cr, cx, cy, radius, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
}

// A filled triangle arrowhead with its tip at (x, y), pointing along (dx, 0), dx = +-1.
void arrowTip(cairo_t* cr, double x, double y, double dx, double length, double halfWidth) {
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x - dx * length, y - halfWidth);
  cairo_line_to(cr, x - dx * length, y + halfWidth);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void drawAngleMark(cairo_t* cr, const Palette& p) {
  use(cr, p.ink);
  cairo_set_line_width(cr, 1);
  line(cr, 1, 7.5, 14, 7.5);
  line(cr, 1.5, 7.5, 10.5, 1);
  cairo_arc_negative(cr, 1.5, 7.5, 6.5, 0, -0.62);
  cairo_stroke(cr);
}

void drawRowMark(cairo_t* cr, const Palette& p, Shape shape) {
  cairo_set_line_width(cr, 1);
  use(cr, p.ink);
  switch (shape) {
    case Shape::AnchorMark:
      line(cr, 0, 2.5, 18, 2.5);
      anchor(cr, p, 7, 0, 5);
      break;
    case Shape::InMark:
      line(cr, 4, 2.5, 13, 2.5);
      anchor(cr, p, 13, 0, 5);
      handleDot(cr, p, 3, 2.5, 2.5);
      break;
    default:
      line(cr, 5, 2.5, 14, 2.5);
      anchor(cr, p, 0, 0, 5);
      handleDot(cr, p, 15, 2.5, 2.5);
      break;
  }
}

void drawRetract(cairo_t* cr, const Palette& p) {
  anchor(cr, p, 12.5, 10, 5);
  handleDot(cr, p, 5.5, 12.5);
  handleDot(cr, p, 24.5, 12.5);
  use(cr, p.ink);
  cairo_set_line_width(cr, 1);
  line(cr, 8, 12.5, 9.5, 12.5);
  arrowTip(cr, 11.5, 12.5, 1, 3, 2.5);
  line(cr, 20.5, 12.5, 22, 12.5);
  arrowTip(cr, 18.5, 12.5, -1, 3, 2.5);
}

void drawSmooth(cairo_t* cr, const Palette& p) {
  use(cr, p.ink);
  cairo_set_line_width(cr, 1.2);
  cairo_move_to(cr, 4, 21);
  cairo_curve_to(cr, 6, 12, 10, 9.5, 15, 9.5);
  cairo_curve_to(cr, 20, 9.5, 24, 12, 26, 21);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1);
  use(cr, p.accent);
  line(cr, 6, 9.5, 24, 9.5);
  handleDot(cr, p, 5, 9.5);
  handleDot(cr, p, 25, 9.5);
  smoothAnchor(cr, p, 15, 9.5);
}

void drawCorner(cairo_t* cr, const Palette& p) {
  use(cr, p.ink);
  cairo_set_line_width(cr, 1.2);
  cairo_move_to(cr, 5, 21);
  cairo_line_to(cr, 15, 7);
  cairo_line_to(cr, 25, 21);
  cairo_stroke(cr);
  anchor(cr, p, 12.5, 4.5, 5);
}

void drawSplit(cairo_t* cr, const Palette& p) {
  use(cr, p.ink);
  cairo_set_line_width(cr, 1.2);
  line(cr, 3, 16, 11, 13.5);
  line(cr, 19, 11.5, 27, 9);
  anchor(cr, p, 9.5, 11, 5);
  anchor(cr, p, 15.5, 9, 5);
}

void drawSmartRemove(cairo_t* cr, const Palette& p) {
  use(cr, p.ink);
  cairo_set_line_width(cr, 1.2);
  line(cr, 3, 17.5, 27, 17.5);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 12.5, 15, 5, 5);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill_preserve(cr);
  use(cr, p.ink);
  cairo_stroke(cr);
  use(cr, p.accent);
  cairo_set_line_width(cr, 2);
  line(cr, 11, 7, 19, 7);
}

void drawStep(cairo_t* cr, const Palette& p, bool next) {
  use(cr, p.ink);
  const double dx = next ? 1 : -1;
  arrowTip(cr, 10 + dx * 3.5, 8, dx, 7, 4);
}

void drawLink(cairo_t* cr, const Palette& p) {
  use(cr, p.ink);
  cairo_set_line_width(cr, 1);
  for (const double top : {0.5, 6.5}) {
    cairo_save(cr);
    cairo_translate(cr, 2.5, top + 3.5);
    cairo_scale(cr, 2.0, 3.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    cairo_stroke(cr);
  }
}

void drawIcon(cairo_t* cr, const Palette& p) {
  use(cr, p.ink);
  cairo_set_line_width(cr, 1.2);
  cairo_move_to(cr, 1, 15);
  cairo_curve_to(cr, 3, 10, 5, 8.5, 8, 8.5);
  cairo_curve_to(cr, 11, 8.5, 13, 10, 15, 15);
  cairo_stroke(cr);
  use(cr, p.accent);
  cairo_set_line_width(cr, 1);
  line(cr, 2.5, 4, 13.5, 13);
  handleDot(cr, p, 2.5, 4);
  handleDot(cr, p, 13.5, 13);
  anchor(cr, p, 6, 6.5, 4);
}

// The words centred in the picture, at the largest size up to kWordsFontSize that leaves a margin
// of three pixels on either side.
void drawWords(cairo_t* cr, const Palette& p, const OutlineFont& font, std::string_view words,
               int width, int height) {
  double size = kWordsFontSize;
  const double room = width - 6.0;
  const double advance = font.advance(words, size);
  if (advance > room) size *= room / advance;
  const double left = (width - font.advance(words, size)) / 2;
  // Capitals are about 0.73 of the pixel size tall: centre them on the middle row.
  const double baseline = height / 2.0 + 0.73 * size / 2;
  font.appendPath(cr, words, size, left, baseline);
  use(cr, p.ink);
  cairo_fill(cr);
}

}  // namespace

std::span<const PanelPicture> panelPictures() {
  return kPictures;
}

Surface drawPanelPicture(const OutlineFont& font, int32_t id) {
  const auto found = std::find_if(std::begin(kEntries), std::end(kEntries),
                                  [id](const Entry& e) { return e.picture.id == id; });
  if (found == std::end(kEntries)) throw std::out_of_range("no panel picture with this id");
  const Entry& e = *found;
  const Palette& p = e.disabled ? kDisabled : kNormal;
  Surface surface = makeSurface(e.picture.width, e.picture.height);
  Context context = makeContext(surface);
  cairo_t* cr = context.get();
  switch (e.shape) {
    case Shape::AngleMark:
      drawAngleMark(cr, p);
      break;
    case Shape::AnchorMark:
    case Shape::InMark:
    case Shape::OutMark:
      drawRowMark(cr, p, e.shape);
      break;
    case Shape::Retract:
      drawRetract(cr, p);
      break;
    case Shape::Smooth:
      drawSmooth(cr, p);
      break;
    case Shape::Corner:
      drawCorner(cr, p);
      break;
    case Shape::Split:
      drawSplit(cr, p);
      break;
    case Shape::SmartRemove:
      drawSmartRemove(cr, p);
      break;
    case Shape::Previous:
    case Shape::Next:
      drawStep(cr, p, e.shape == Shape::Next);
      break;
    case Shape::Link:
      drawLink(cr, p);
      break;
    case Shape::Icon:
      drawIcon(cr, p);
      break;
    case Shape::Words:
      drawWords(cr, p, font, e.words, e.picture.width, e.picture.height);
      break;
  }
  return surface;
}

}  // namespace sq::resgen
