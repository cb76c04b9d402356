// Painting an annotation display list over a view's raster: shapes, text and icons, clipped.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "render/font_metrics.hpp"
#include "render/painters.hpp"
#include "sqsdk/suites/adm_drawer.h"

namespace sqhost::render {
namespace {

// The font library keeps a few allocations for the life of the process that the leak checker of
// sanitizer builds would report; they are the library's own, so they are left out of its report.
class LibraryAllocations {
 public:
#if defined(__SANITIZE_ADDRESS__)
  LibraryAllocations() {
    __lsan_disable();
  }
  ~LibraryAllocations() {
    __lsan_enable();
  }
#else
  LibraryAllocations() = default;
#endif
  LibraryAllocations(const LibraryAllocations&) = delete;
  LibraryAllocations& operator=(const LibraryAllocations&) = delete;
};

void setRgba(cairo_t* cr, uint32_t rgba) {
  cairo_set_source_rgba(cr, ((rgba >> 24) & 0xFF) / 255.0, ((rgba >> 16) & 0xFF) / 255.0,
                        ((rgba >> 8) & 0xFF) / 255.0, (rgba & 0xFF) / 255.0);
}

// Rectangles are cut to the raster widened by this margin, and lines clipped to it, so that far
// coordinates never reach Cairo; ovals, text and icons reaching beyond kFarPixels are not drawn.
constexpr double kMargin = 16;
constexpr double kFarPixels = 4.0e6;

struct Box {
  double left;
  double top;
  double right;
  double bottom;
  double width() const { return right - left; }
  double height() const { return bottom - top; }
};

Box toBox(const AIRect& r) {
  return Box{static_cast<double>(r.left), static_cast<double>(r.top), static_cast<double>(r.right),
             static_cast<double>(r.bottom)};
}

Box cut(const AIRect& r, double width, double height) {
  auto clamp = [](double v, double extent) { return std::clamp(v, -kMargin, extent + kMargin); };
  const Box b = toBox(r);
  return Box{clamp(b.left, width), clamp(b.top, height), clamp(b.right, width),
             clamp(b.bottom, height)};
}

bool withinReach(const AIRect& r) {
  return std::abs(static_cast<double>(r.left)) < kFarPixels &&
         std::abs(static_cast<double>(r.right)) < kFarPixels &&
         std::abs(static_cast<double>(r.top)) < kFarPixels &&
         std::abs(static_cast<double>(r.bottom)) < kFarPixels;
}

// Restricts drawing to the union of the rectangles (nothing when there is none).
void clipTo(cairo_t* cr, const std::vector<AIRect>& clip, double width, double height) {
  cairo_new_path(cr);
  for (const AIRect& r : clip) {
    if (isEmptyRect(r)) continue;
    const Box b = cut(r, width, height);
    cairo_rectangle(cr, b.left, b.top, b.width(), b.height());
  }
  // Every rectangle winds the same way, so the non-zero rule gives their union.
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_clip(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
  cairo_restore(cr);
}

void setFont(cairo_t* cr, int32_t font, cairo_antialias_t antialias) {
  const FontFace& face = fontFace(font);
  cairo_select_font_face(cr, face.family,
                         face.italic ? CAIRO_FONT_SLANT_OBLIQUE : CAIRO_FONT_SLANT_NORMAL,
                         face.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, face.size);
  // Unhinted metrics, as the widths of the font table were measured.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_antialias(options, antialias);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

// Paints the shape of a line, rectangle, oval or text operation in the current source, on a
// raster of the given size.
void paintShape(cairo_t* cr, const DrawOp& op, cairo_antialias_t antialias, double width,
                double height) {
  const AIRect& r = op.rect;
  switch (op.kind) {
    case DrawOp::Kind::Line: {
      // A one-pixel line through the pixel centres; square caps take in both end pixels.
      cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
      if (op.from.h == op.to.h && op.from.v == op.to.v) {
        if (op.from.h >= 0 && op.from.v >= 0 && op.from.h < width && op.from.v < height) {
          cairo_rectangle(cr, op.from.h, op.from.v, 1, 1);
          cairo_fill(cr);
        }
        return;
      }
      const std::optional<LineSegment> line = clipLine(
          {op.from.h + 0.5, op.from.v + 0.5, op.to.h + 0.5, op.to.v + 0.5}, width, height, kMargin);
      if (!line) return;
      cairo_move_to(cr, line->x0, line->y0);
      cairo_line_to(cr, line->x1, line->y1);
      cairo_set_line_width(cr, 1);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
      cairo_stroke(cr);
      return;
    }
    case DrawOp::Kind::FillRect:
    case DrawOp::Kind::ClearRect: {
      const Box b = cut(r, width, height);
      cairo_rectangle(cr, b.left, b.top, b.width(), b.height());
      cairo_fill(cr);
      return;
    }
    case DrawOp::Kind::FrameRect: {
      // The outermost pixels: the rectangle less its interior.
      const Box b = cut(r, width, height);
      cairo_rectangle(cr, b.left, b.top, b.width(), b.height());
      if (toBox(r).width() > 2 && toBox(r).height() > 2) {
        const Box inner =
            cut(AIRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, width, height);
        cairo_rectangle(cr, inner.left, inner.top, inner.width(), inner.height());
      }
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      cairo_fill(cr);
      return;
    }
    case DrawOp::Kind::FillOval: {
      if (!withinReach(r)) return;
      const Box b = toBox(r);
      cairo_set_antialias(cr, antialias);
      ellipse(cr, b.left + b.width() / 2, b.top + b.height() / 2, b.width() / 2, b.height() / 2);
      cairo_fill(cr);
      return;
    }
    case DrawOp::Kind::FrameOval: {
      if (!withinReach(r)) return;
      const Box b = toBox(r);
      cairo_set_antialias(cr, antialias);
      if (b.width() <= 2 || b.height() <= 2) {
        cairo_rectangle(cr, b.left, b.top, b.width(), b.height());
        cairo_fill(cr);
        return;
      }
      // A one-pixel line through the centres of the outermost pixels.
      ellipse(cr, b.left + b.width() / 2, b.top + b.height() / 2, (b.width() - 1) / 2,
              (b.height() - 1) / 2);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      return;
    }
    case DrawOp::Kind::Text: {
      if (!withinReach(r)) return;
      [[maybe_unused]] const LibraryAllocations fonts;
      setFont(cr, op.font, antialias);
      cairo_move_to(cr, op.from.h, op.from.v);
      cairo_show_text(cr, op.text.c_str());
      return;
    }
    case DrawOp::Kind::Icon:
      return;
  }
}

AIRect boundingBox(const std::vector<AIRect>& rects) {
  AIRect box{0, 0, 0, 0};
  bool first = true;
  for (const AIRect& r : rects) {
    if (isEmptyRect(r)) continue;
    box = first ? r
                : AIRect{std::min(box.left, r.left), std::min(box.top, r.top),
                         std::max(box.right, r.right), std::max(box.bottom, r.bottom)};
    first = false;
  }
  return box;
}

// Inverts the pixels the shape covers by the colour: each channel becomes channel ^ colour, so
// painting the same operation twice gives back the original. Coverage is all or nothing.
void paintXor(const Raster& target, const DrawOp& op) {
  // Text may reach a little beyond its box (overhangs of slanted glyphs).
  const AIRect view{0, 0, target.width(), target.height()};
  const AIRect shown = intersectRects(op.rect, view);
  if (isEmptyRect(shown)) return;
  const AIRect grown{shown.left - 2, shown.top - 2, shown.right + 2, shown.bottom + 2};
  const AIRect region = intersectRects(intersectRects(boundingBox(op.clip), grown), view);
  if (isEmptyRect(region)) return;
  const int w = region.right - region.left;
  const int h = region.bottom - region.top;

  struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
  };
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> mask(
      cairo_image_surface_create(CAIRO_FORMAT_A8, w, h));
  if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return;
  {
    Context cr(cairo_create(mask.get()));
    cairo_translate(cr.get(), -region.left, -region.top);
    clipTo(cr.get(), op.clip, target.width(), target.height());
    cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
    cairo_set_source_rgba(cr.get(), 0, 0, 0, 1);
    paintShape(cr.get(), op, CAIRO_ANTIALIAS_NONE, target.width(), target.height());
  }
  cairo_surface_flush(mask.get());
  cairo_surface_flush(target.surface());

  const unsigned char* coverage = cairo_image_surface_get_data(mask.get());
  const int maskStride = cairo_image_surface_get_stride(mask.get());
  unsigned char* pixels = cairo_image_surface_get_data(target.surface());
  const int stride = cairo_image_surface_get_stride(target.surface());
  const uint32_t flip = op.rgba >> 8;  // 0x00RRGGBB, as the surface stores colour
  for (int y = 0; y < h; ++y) {
    const unsigned char* row = coverage + static_cast<std::ptrdiff_t>(y) * maskStride;
    unsigned char* out = pixels + static_cast<std::ptrdiff_t>(y + region.top) * stride +
                         std::ptrdiff_t{region.left} * 4;
    for (int x = 0; x < w; ++x) {
      if (row[x] < 128) continue;
      uint32_t word = 0;
      std::memcpy(&word, out + std::ptrdiff_t{x} * 4, sizeof word);
      // The view underneath is opaque, so its stored colour is the colour itself.
      word = (word ^ flip) | 0xFF000000u;
      std::memcpy(out + std::ptrdiff_t{x} * 4, &word, sizeof word);
    }
  }
  cairo_surface_mark_dirty_rectangle(target.surface(), region.left, region.top, w, h);
}

}  // namespace

void paintDisplayList(const Raster& target, const Raster& base, const DisplayList& list) {
  Context context = target.context();
  if (!context) return;
  cairo_t* cr = context.get();
  for (const DrawOp& op : list.ops) {
    if (op.mode == kADMXorMode && op.kind != DrawOp::Kind::Icon &&
        op.kind != DrawOp::Kind::ClearRect) {
      paintXor(target, op);
      continue;
    }
    cairo_save(cr);
    clipTo(cr, op.clip, target.width(), target.height());
    if (op.kind == DrawOp::Kind::Icon) {
      // A picture is decoded the first time it is drawn and kept with the picture.
      const Raster* image = op.icon && withinReach(op.rect) ? &op.icon->raster() : nullptr;
      if (image != nullptr && image->ok()) {
        cairo_set_source_surface(cr, image->surface(), op.from.h, op.from.v);
        cairo_paint(cr);
      }
    } else if (op.kind == DrawOp::Kind::ClearRect) {
      // An annotation port's background is transparent: what lies beneath shows again.
      cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
      if ((op.rgba & 0xFF) == 0 && base.ok()) {
        cairo_set_source_surface(cr, base.surface(), 0, 0);
      } else {
        setRgba(cr, op.rgba);
      }
      paintShape(cr, op, CAIRO_ANTIALIAS_GRAY, target.width(), target.height());
    } else {
      setRgba(cr, op.rgba);
      paintShape(cr, op, CAIRO_ANTIALIAS_GRAY, target.width(), target.height());
    }
    cairo_restore(cr);
  }
}

}  // namespace sqhost::render
