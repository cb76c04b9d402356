// FreeType glyph outlines converted to Cairo paths.
#include "outline_text.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <stdexcept>

namespace sq::resgen {
namespace {

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// Maps font units (y up) to user space (y down) while an outline is being decomposed. Contours
// are left open: filling closes every sub-path.
struct PathBuilder {
  cairo_t* cr;
  double originX;
  double originY;
  double scale;
  double lastX = 0;  // current point in font units, for converting quadratic curves
  double lastY = 0;

  double toX(double fontX) const { return originX + fontX * scale; }
  double toY(double fontY) const { return originY - fontY * scale; }
};

PathBuilder& builder(void* user) {
  return *static_cast<PathBuilder*>(user);
}

int moveTo(const FT_Vector* to, void* user) {
  PathBuilder& b = builder(user);
  cairo_move_to(b.cr, b.toX(to->x), b.toY(to->y));
  b.lastX = to->x;
  b.lastY = to->y;
  return 0;
}

int lineTo(const FT_Vector* to, void* user) {
  PathBuilder& b = builder(user);
  cairo_line_to(b.cr, b.toX(to->x), b.toY(to->y));
  b.lastX = to->x;
  b.lastY = to->y;
  return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  PathBuilder& b = builder(user);
  // A quadratic with control q becomes the cubic with controls p + 2/3 (q - p) and e + 2/3 (q - e).
  const double c1x = b.lastX + 2.0 / 3.0 * (control->x - b.lastX);
  const double c1y = b.lastY + 2.0 / 3.0 * (control->y - b.lastY);
  const double c2x = to->x + 2.0 / 3.0 * (control->x - to->x);
  const double c2y = to->y + 2.0 / 3.0 * (control->y - to->y);
  cairo_curve_to(b.cr, b.toX(c1x), b.toY(c1y), b.toX(c2x), b.toY(c2y), b.toX(to->x), b.toY(to->y));
  b.lastX = to->x;
  b.lastY = to->y;
  return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  PathBuilder& b = builder(user);
  cairo_curve_to(b.cr, b.toX(c1->x), b.toY(c1->y), b.toX(c2->x), b.toY(c2->y), b.toX(to->x),
                 b.toY(to->y));
  b.lastX = to->x;
  b.lastY = to->y;
  return 0;
}

}  // namespace

struct OutlineFont::Impl {
  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library;
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face;  // declared last: released before the library

  // Loads the glyph of a character unscaled and unhinted; returns its glyph index.
  FT_UInt load(char c) const {
    const FT_UInt index = FT_Get_Char_Index(face.get(), static_cast<unsigned char>(c));
    if (FT_Load_Glyph(face.get(), index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
      throw std::runtime_error("cannot load the outline of a glyph");
    }
    return index;
  }

  // Kerning between two glyphs in font units (0 when the font has none).
  FT_Pos kerning(FT_UInt left, FT_UInt right) const {
    FT_Vector delta{0, 0};
    if (left != 0 && FT_HAS_KERNING(face.get()) &&
        FT_Get_Kerning(face.get(), left, right, FT_KERNING_UNSCALED, &delta) != 0) {
      return 0;
    }
    return delta.x;
  }

  double scale(double pixelSize) const { return pixelSize / face->units_per_EM; }
};

OutlineFont::OutlineFont(const std::string& path) : impl_(std::make_unique<Impl>()) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    throw std::runtime_error("cannot initialise FreeType");
  }
  impl_->library.reset(library);
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    throw std::runtime_error("cannot open the font " + path);
  }
  impl_->face.reset(face);
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    throw std::runtime_error("not a scalable font: " + path);
  }
}

OutlineFont::~OutlineFont() = default;

double OutlineFont::advance(std::string_view text, double pixelSize) const {
  FT_Pos total = 0;
  FT_UInt previous = 0;
  for (char c : text) {
    const FT_UInt index = impl_->load(c);
    total += impl_->kerning(previous, index) + impl_->face->glyph->advance.x;
    previous = index;
  }
  return static_cast<double>(total) * impl_->scale(pixelSize);
}

void OutlineFont::appendPath(cairo_t* cr, std::string_view text, double pixelSize, double x,
                             double y) const {
  const FT_Outline_Funcs funcs{moveTo, lineTo, conicTo, cubicTo, 0, 0};
  const double scale = impl_->scale(pixelSize);
  FT_Pos pen = 0;
  FT_UInt previous = 0;
  for (char c : text) {
    const FT_UInt index = impl_->load(c);
    pen += impl_->kerning(previous, index);
    PathBuilder b{cr, x + static_cast<double>(pen) * scale, y, scale};
    if (FT_Outline_Decompose(&impl_->face->glyph->outline, &funcs, &b) != 0) {
      throw std::runtime_error("cannot decompose a glyph outline");
    }
    pen += impl_->face->glyph->advance.x;
    previous = index;
  }
}

}  // namespace sq::resgen
