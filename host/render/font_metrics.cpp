// Font faces of the dialog manager and advance widths measured from them.
#include "render/font_metrics.hpp"

#include <array>
#include <cmath>

#include "sqsdk/suites/adm_types.h"

namespace sqhost {
namespace {

// Advance widths of DejaVu Sans in thousandths of an em for U+0020..U+007E, then U+00A0..U+00FF,
// measured with Cairo at 1000 pixels per em with metric hinting off.
constexpr std::array<uint16_t, 191> kRegular = {
    318, 401,  460, 838, 636, 950, 780, 275, 390, 390, 500, 838, 318, 361, 318,  337, 636, 636,
    636, 636,  636, 636, 636, 636, 636, 636, 337, 337, 838, 838, 838, 531, 1000, 684, 686, 698,
    770, 632,  575, 775, 752, 295, 295, 656, 557, 863, 748, 787, 603, 787, 695,  635, 611, 732,
    684, 989,  685, 611, 685, 390, 337, 390, 838, 500, 500, 613, 635, 550, 635,  615, 352, 635,
    634, 278,  278, 579, 278, 974, 634, 612, 635, 635, 411, 521, 392, 634, 592,  818, 592, 592,
    525, 636,  337, 636, 838, 318, 401, 636, 636, 636, 636, 337, 500, 500, 1000, 471, 612, 838,
    361, 1000, 500, 500, 838, 401, 401, 500, 636, 636, 318, 500, 401, 471, 612,  969, 969, 969,
    531, 684,  684, 684, 684, 684, 684, 974, 698, 632, 632, 632, 632, 295, 295,  295, 295, 775,
    748, 787,  787, 787, 787, 787, 838, 787, 732, 732, 732, 732, 611, 605, 630,  613, 613, 613,
    613, 613,  613, 982, 550, 615, 615, 615, 615, 278, 278, 278, 278, 612, 634,  612, 612, 612,
    612, 612,  838, 612, 634, 634, 634, 634, 592, 635, 592,
};
constexpr std::array<uint16_t, 191> kBold = {
    348,  456, 521, 838, 696, 1002, 872, 306,  457,  457, 523, 838,  380,  415,  380, 365,
    696,  696, 696, 696, 696, 696,  696, 696,  696,  696, 400, 400,  838,  838,  838, 580,
    1000, 774, 762, 734, 830, 683,  683, 821,  837,  372, 372, 775,  637,  995,  837, 850,
    733,  850, 770, 720, 682, 812,  774, 1103, 771,  724, 725, 457,  365,  457,  838, 500,
    500,  675, 716, 593, 716, 678,  435, 716,  712,  343, 343, 665,  343,  1042, 712, 687,
    716,  716, 493, 595, 478, 712,  652, 924,  645,  652, 582, 712,  365,  712,  838, 348,
    456,  696, 696, 636, 696, 365,  500, 500,  1000, 564, 646, 838,  415,  1000, 500, 500,
    838,  438, 438, 500, 736, 636,  380, 500,  438,  564, 646, 1035, 1035, 1035, 580, 774,
    774,  774, 774, 774, 774, 1085, 734, 683,  683,  683, 683, 372,  372,  372,  372, 838,
    837,  850, 850, 850, 850, 850,  838, 850,  812,  812, 812, 812,  724,  738,  719, 675,
    675,  675, 675, 675, 675, 1048, 593, 678,  678,  678, 678, 343,  343,  343,  343, 687,
    712,  687, 687, 687, 687, 687,  838, 687,  712,  712, 712, 712,  652,  716,  652,
};
constexpr std::array<uint16_t, 191> kOblique = {
    318, 401,  460, 838, 636, 950, 780, 275, 390, 390, 500, 838, 318, 361, 318,  337, 636, 636,
    636, 636,  636, 636, 636, 636, 636, 636, 337, 337, 838, 838, 838, 531, 1000, 684, 686, 698,
    770, 632,  575, 775, 752, 295, 295, 656, 557, 863, 748, 787, 603, 787, 695,  635, 611, 732,
    684, 989,  685, 611, 685, 390, 337, 390, 838, 500, 500, 613, 635, 550, 635,  615, 352, 635,
    634, 278,  278, 579, 278, 974, 634, 612, 635, 635, 411, 521, 392, 634, 592,  818, 592, 592,
    525, 636,  337, 636, 838, 318, 401, 636, 636, 636, 636, 337, 500, 500, 1000, 471, 617, 838,
    361, 1000, 500, 500, 838, 401, 401, 500, 636, 636, 318, 500, 401, 471, 617,  969, 969, 969,
    531, 684,  684, 684, 684, 684, 684, 974, 698, 632, 632, 632, 632, 295, 295,  295, 295, 775,
    748, 787,  787, 787, 787, 787, 838, 787, 732, 732, 732, 732, 611, 608, 630,  613, 613, 613,
    613, 613,  613, 995, 550, 615, 615, 615, 615, 278, 278, 278, 278, 612, 634,  612, 612, 612,
    612, 612,  838, 612, 634, 634, 634, 634, 592, 635, 592,
};

// Other characters take the width of the replacement for an unknown glyph, about that of "n".
constexpr uint16_t kFallbackWidth = 634;
constexpr uint16_t kFallbackBoldWidth = 712;

// Ascent and descent of the face in thousandths of an em.
constexpr double kAscent = 928.2;
constexpr double kDescent = 235.8;

constexpr std::array<FontFace, 7> kFaces = {{
    {"DejaVu Sans", 12, false, false},  // kADMDefaultFont stands for the dialog font here
    {"DejaVu Sans", 12, false, false},  // kADMDialogFont
    {"DejaVu Sans", 10, false, false},  // kADMPaletteFont
    {"DejaVu Sans", 12, false, true},   // kADMItalicDialogFont
    {"DejaVu Sans", 10, false, true},   // kADMItalicPaletteFont
    {"DejaVu Sans", 12, true, false},   // kADMBoldDialogFont
    {"DejaVu Sans", 10, true, false},   // kADMBoldPaletteFont
}};

// Decodes one code point and advances i; malformed bytes count as one unknown character each.
uint32_t nextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  int length = 1;
  uint32_t cp = lead;
  if (lead >= 0xF8 || (lead >= 0x80 && lead < 0xC0)) {
    ++i;
    return 0xFFFD;
  }
  if (lead >= 0xF0) {
    length = 4;
    cp = lead & 0x07u;
  } else if (lead >= 0xE0) {
    length = 3;
    cp = lead & 0x0Fu;
  } else if (lead >= 0xC0) {
    length = 2;
    cp = lead & 0x1Fu;
  }
  if (i + static_cast<std::size_t>(length) > text.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (next & 0x3Fu);
  }
  i += static_cast<std::size_t>(length);
  return cp;
}

uint32_t advance(const FontFace& face, uint32_t cp) {
  const auto& table = face.bold ? kBold : (face.italic ? kOblique : kRegular);
  if (cp >= 0x20 && cp <= 0x7E) return table[cp - 0x20];
  if (cp >= 0xA0 && cp <= 0xFF) return table[cp - 0xA0 + 95];
  return face.bold ? kFallbackBoldWidth : kFallbackWidth;
}

}  // namespace

bool isKnownFont(int32_t font) {
  return font >= kADMDefaultFont && font <= kADMBoldPaletteFont;
}

const FontFace& fontFace(int32_t font) {
  if (font < kADMDialogFont || font > kADMBoldPaletteFont) return kFaces[kADMDialogFont];
  return kFaces[static_cast<std::size_t>(font)];
}

int32_t textWidth(int32_t font, std::string_view utf8) {
  const FontFace& face = fontFace(font);
  uint64_t total = 0;
  for (std::size_t i = 0; i < utf8.size();) total += advance(face, nextCodePoint(utf8, i));
  return static_cast<int32_t>(std::lround(static_cast<double>(total) * face.size / 1000.0));
}

int32_t fontAscent(int32_t font) {
  return static_cast<int32_t>(std::lround(kAscent * fontFace(font).size / 1000.0));
}

int32_t fontDescent(int32_t font) {
  return static_cast<int32_t>(std::lround(kDescent * fontFace(font).size / 1000.0));
}

}  // namespace sqhost
