// The tool's antialiased pictures: direction arrowheads, ring, ring labels and tangency dot.
#pragma once

#include <array>
#include <string_view>

#include "outline_text.hpp"
#include "raster.hpp"

namespace sq::resgen {

inline constexpr int kArrowheadSize = 36;
inline constexpr int kArrowheadCount = 36;
inline constexpr int kRingSize = 24;
inline constexpr int kLabelWidth = 108;
inline constexpr int kLabelHeight = 24;
inline constexpr int kLabelRingLeft = 84;  // the ring's 24 x 24 square starts here in a label
inline constexpr int kDotSize = 17;

// Label texts in the order of the hover label kinds.
inline constexpr std::array<std::string_view, 6> kLabelTexts{
    "Smooth point", "Corner point", "In handle", "Out handle", "Open path", "Closed path"};

// Arrowhead i (0..35): a red filled arrowhead near the rim of a 36 x 36 square, pointing away
// from the centre in the direction 180 + 10 i degrees, counter-clockwise with y up (0 points
// left, 9 down, 18 right, 27 up). Throws std::out_of_range for other indices.
Surface drawArrowhead(int index);

// The red ring (24 x 24), centred on pixel (12, 12).
Surface drawRing();

// Label j (0..5): 108 x 24, red text right-aligned before a red ring whose centre is pixel
// (96, 12), identical to the ring picture placed at x = 84. Throws std::out_of_range otherwise.
Surface drawLabel(const OutlineFont& font, int index);

// The magenta tangency dot (17 x 17), centred on pixel (8, 8).
Surface drawDot();

}  // namespace sq::resgen
