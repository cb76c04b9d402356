// Two-colour pixel art with transparency: the tool's eleven cursors and its panel icon.
#pragma once

#include "raster.hpp"

namespace sq::resgen {

inline constexpr int kCursorSize = 32;
inline constexpr int kCursorCount = 11;  // codes 0 to 10, resources 16000 + code
inline constexpr int kCursorHotspotX = 1;
inline constexpr int kCursorHotspotY = 1;

// The picture of cursor code 0..10: an outlined or solid arrow with its tip on the hotspot, and
// the sign of the code to its lower right. Every pixel is opaque black, opaque white or fully
// transparent. Throws std::out_of_range for other codes.
Surface drawCursor(int code);

inline constexpr int kToolIconWidth = 22;
inline constexpr int kToolIconHeight = 18;

// The tool's icon in the host's tool panel (22 x 18): the cursor's outlined arrow with one handle.
Surface drawToolIcon();

}  // namespace sq::resgen
