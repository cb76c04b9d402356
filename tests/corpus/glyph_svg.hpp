// Glyph outlines of a packaged font as small SVG documents (quadratic curves, node types read
// from the outline), for the corpus test.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace sqhost::testing {

// Decomposes a glyph outline into SVG path data in font units (y flipped), with a node type per
// on-curve point: 's' where the curve runs straight through it, 'c' elsewhere.
class GlyphPath {
 public:
  static std::string of(FT_Outline& outline, std::string& types) {
    GlyphPath g;
    FT_Outline_Funcs funcs{};
    funcs.move_to = [](const FT_Vector* to, void* u) { return self(u).move(*to); };
    funcs.line_to = [](const FT_Vector* to, void* u) { return self(u).node('L', nullptr, *to); };
    funcs.conic_to = [](const FT_Vector* c, const FT_Vector* to, void* u) {
      return self(u).node('Q', c, *to);
    };
    funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* u) {
      (void)c1;
      return self(u).node('L', c2, *to);
    };
    FT_Outline_Decompose(&outline, &funcs, &g);
    g.close();
    types = g.types_;
    return g.d_;
  }

 private:
  static GlyphPath& self(void* u) { return *static_cast<GlyphPath*>(u); }
  static std::string xy(const FT_Vector& p) {
    return std::to_string(p.x) + "," + std::to_string(-p.y);
  }
  int move(const FT_Vector& to) {
    close();
    d_ += (d_.empty() ? "M " : " M ") + xy(to);
    start_ = last_ = to;
    open_ = true;
    dirs_.clear();
    return 0;
  }
  int node(char command, const FT_Vector* control, const FT_Vector& to) {
    const FT_Vector from = control != nullptr ? *control : last_;
    dirs_.push_back({std::atan2(double(from.y - last_.y), double(from.x - last_.x)),
                     std::atan2(double(to.y - from.y), double(to.x - from.x))});
    d_ += std::string(" ") + command + " ";
    if (control != nullptr) d_ += xy(*control) + " ";
    d_ += xy(to);
    last_ = to;
    return 0;
  }
  // Closes the contour: letters for its start, each node, and the start again.
  void close() {
    if (!open_) return;
    d_ += " Z";
    const std::size_t n = dirs_.size();
    auto smooth = [&](std::size_t in, std::size_t out) {
      const double a = std::fabs(std::remainder(dirs_[in].second - dirs_[out].first, 2 * M_PI));
      return a < 1e-3 ? 's' : 'c';
    };
    std::string letters;
    for (std::size_t i = 0; i + 1 < n; ++i) letters += smooth(i, i + 1);
    const char first = n > 0 ? smooth(n - 1, 0) : 'c';
    types_ += first + letters + first;
    open_ = false;
  }

  std::string d_, types_;
  FT_Vector start_{}, last_{};
  bool open_ = false;
  std::vector<std::pair<double, double>> dirs_;  // per node: direction in, direction out
};

// One SVG document per character of chars that the font has; empty when it cannot be read.
inline std::vector<std::string> glyphDocuments(const std::string& fontPath,
                                               const std::string& chars) {
  std::vector<std::string> out;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return out;
  FT_Face face = nullptr;
  if (FT_New_Face(library, fontPath.c_str(), 0, &face) == 0) {
    for (unsigned char c : chars) {
      if (FT_Load_Char(face, c, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) continue;
      std::string types;
      const std::string d = GlyphPath::of(face->glyph->outline, types);
      if (d.empty()) continue;
      out.push_back(
          "<svg xmlns=\"http://www.w3.org/2000/svg\" "
          "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" "
          "viewBox=\"-200 -2000 2400 2600\">\n  <path id=\"glyph\" d=\"" +
          d + "\" sodipodi:nodetypes=\"" + types + "\" fill=\"#333\"/>\n</svg>\n");
    }
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  return out;
}

}  // namespace sqhost::testing
