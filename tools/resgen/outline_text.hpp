// Text drawn from a TrueType font's glyph outlines, so its pixels depend only on the font file.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>
#include <string_view>

namespace sq::resgen {

// The font the generated pictures use, shipped by Debian's fonts-dejavu-core.
inline constexpr const char* kDefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// A font file opened with FreeType. Glyphs are read unhinted, in font units, and turned into
// Cairo paths, so neither FreeType's hinting nor any system font configuration affects the result.
class OutlineFont {
 public:
  // Throws std::runtime_error when the file cannot be read as a scalable font.
  explicit OutlineFont(const std::string& path);
  ~OutlineFont();
  OutlineFont(const OutlineFont&) = delete;
  OutlineFont& operator=(const OutlineFont&) = delete;

  // Horizontal advance of the text in pixels at the given pixel size (kerning included).
  double advance(std::string_view text, double pixelSize) const;

  // Appends the outlines of the text to the context's current path, with the baseline starting
  // at (x, y) in user space (y grows downwards). Characters the font lacks draw its missing glyph.
  void appendPath(cairo_t* cr, std::string_view text, double pixelSize, double x, double y) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sq::resgen
