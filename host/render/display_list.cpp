// Display lists: palette colours, rectangle helpers and readable descriptions of operations.
#include "render/display_list.hpp"

#include <algorithm>
#include <cstdio>

namespace sqhost {
namespace {

std::string rectText(const AIRect& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

std::string pointText(const AIPoint& p) {
  return "(" + std::to_string(p.h) + ", " + std::to_string(p.v) + ")";
}

std::string colorText(uint32_t rgba) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%08X", rgba);
  return buffer;
}

}  // namespace

bool resolveColor(ADMColor color, uint32_t& outRGBA) {
  if ((color & 0xFFu) == 0xFFu) {
    outRGBA = color;
    return true;
  }
  switch (color) {
    case kADMBlackColor:
      outRGBA = 0x000000FF;
      return true;
    case kADMWhiteColor:
      outRGBA = 0xFFFFFFFF;
      return true;
    case kADMBackgroundColor:
      outRGBA = kFaceRGBA;
      return true;
    case kADMTextColor:
      outRGBA = kTextRGBA;
      return true;
    case kADMHiliteColor:
      outRGBA = kHiliteRGBA;
      return true;
    case kADMDisabledColor:
      outRGBA = kDisabledRGBA;
      return true;
    default:
      return false;
  }
}

bool isEmptyRect(const AIRect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

AIRect intersectRects(const AIRect& a, const AIRect& b) {
  return AIRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

AIRect offsetRect(const AIRect& r, int32_t dx, int32_t dy) {
  return AIRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

std::string describeOp(const DrawOp& op) {
  std::string text;
  switch (op.kind) {
    case DrawOp::Kind::Line:
      text = "line " + pointText(op.from) + " to " + pointText(op.to);
      break;
    case DrawOp::Kind::FillRect:
      text = "fill rect " + rectText(op.rect);
      break;
    case DrawOp::Kind::FrameRect:
      text = "frame rect " + rectText(op.rect);
      break;
    case DrawOp::Kind::ClearRect:
      text = "clear rect " + rectText(op.rect);
      break;
    case DrawOp::Kind::FillOval:
      text = "fill oval " + rectText(op.rect);
      break;
    case DrawOp::Kind::FrameOval:
      text = "frame oval " + rectText(op.rect);
      break;
    case DrawOp::Kind::Icon:
      return "icon " + std::to_string(op.icon ? op.icon->resourceID : 0) + " at " +
             pointText(op.from) + " size " + std::to_string(op.rect.right - op.rect.left) + "x" +
             std::to_string(op.rect.bottom - op.rect.top);
    case DrawOp::Kind::Text:
      text = "text \"" + op.text + "\" at " + pointText(op.from) + " width " +
             std::to_string(op.textWidth) + " font " + std::to_string(op.font);
      break;
  }
  text += " " + colorText(op.rgba);
  if (op.mode == 1) text += " xor";
  return text;
}

std::string DisplayList::describe() const {
  std::string text;
  for (const DrawOp& op : ops) text += describeOp(op) + "\n";
  return text;
}

}  // namespace sqhost
