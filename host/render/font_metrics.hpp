// The dialog manager's fonts: a fixed face and size per font number, and their text widths.
#pragma once

#include <cstdint>
#include <string_view>

namespace sqhost {

// How a font number is drawn. Widths come from a table measured once from this face, so they are
// the same on every machine; a renderer draws with the same face and size, metrics unhinted.
struct FontFace {
  const char* family;
  double size;  // pixels per em
  bool bold;
  bool italic;
};

// True for kADMDefaultFont .. kADMBoldPaletteFont.
bool isKnownFont(int32_t font);
// The face of a concrete font number (kADMDialogFont .. kADMBoldPaletteFont); the dialog font for
// any other number.
const FontFace& fontFace(int32_t font);

// The advance width in whole pixels of UTF-8 text on one line (rounded once, at the end).
int32_t textWidth(int32_t font, std::string_view utf8);
// Pixels from the baseline up to the top of the tallest glyphs, and down to the lowest.
int32_t fontAscent(int32_t font);
int32_t fontDescent(int32_t font);

}  // namespace sqhost
