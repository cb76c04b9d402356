// What drawers record: drawing operations in order, with their colour, mode, font and clip.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/icon_image.hpp"
#include "sqsdk/suites/adm_types.h"
#include "sqsdk/types.h"

namespace sqhost {

// The dialog manager's palette, as 0xRRGGBBAA.
inline constexpr uint32_t kFaceRGBA = 0xE6E6E6FF;
inline constexpr uint32_t kTextRGBA = 0x000000FF;
inline constexpr uint32_t kHiliteRGBA = 0x3399FFFF;
inline constexpr uint32_t kDisabledRGBA = 0x8C8C8CFF;
inline constexpr uint32_t kTransparentRGBA = 0x00000000;

// An ADMColor as 0xRRGGBBAA: explicit colours as they are, codes from the palette. False for a
// value that is neither.
bool resolveColor(ADMColor color, uint32_t& outRGBA);

struct DrawOp {
  enum class Kind { Line, FillRect, FrameRect, ClearRect, FillOval, FrameOval, Icon, Text };
  Kind kind = Kind::FillRect;
  // Pixels covered: the shape's rectangle (rectangles, ovals, icons), the box between the end
  // points (lines, both ends included) or the text's box from ascent to descent.
  AIRect rect{};
  AIPoint from{};             // line start, icon top-left, text baseline start
  AIPoint to{};               // line end (drawn too)
  uint32_t rgba = kTextRGBA;  // for ClearRect the background; alpha 0 erases to transparency
  int32_t mode = 0;           // kADMNormalMode or kADMXorMode
  int32_t font = kADMDialogFont;
  std::vector<AIRect> clip;  // shapes show inside the union of these (never empty)
  std::string text;
  int32_t textWidth = 0;
  std::shared_ptr<const IconImage> icon;
};

// One drawing of a port, dialog or item. Coordinates are those of the port or dialog.
struct DisplayList {
  std::vector<DrawOp> ops;
  // One line per operation: "fill rect (0, 0, 10, 10) #FF0000FF", "text \"OK\" at (3, 12) ...".
  std::string describe() const;
};

std::string describeOp(const DrawOp& op);

// Rectangle helpers: empty when right <= left or bottom <= top.
bool isEmptyRect(const AIRect& r);
AIRect intersectRects(const AIRect& a, const AIRect& b);
AIRect offsetRect(const AIRect& r, int32_t dx, int32_t dy);

}  // namespace sqhost
