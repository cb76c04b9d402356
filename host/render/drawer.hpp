// A drawer: records lines, rectangles, ovals, icons and text into a display list, clipped.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "render/display_list.hpp"

namespace sqhost {

class Drawer {
 public:
  // Draws into list. bounds is the drawer's own rectangle in its coordinates; limit (drawer
  // coordinates too) is where its port ends: nothing shows outside bounds and limit. origin is
  // added to every coordinate recorded (an item's place in its dialog). font is the font a new
  // drawer draws in and stands for kADMDefaultFont; background is what ClearRect paints.
  Drawer(DisplayList& list, const AIRect& bounds, const AIRect& limit, AIPoint origin, int32_t font,
         uint32_t background);

  const AIRect& bounds() const { return bounds_; }
  AIPoint origin() const { return origin_; }
  DisplayList& list() { return *list_; }

  void setMode(int32_t mode) { mode_ = mode; }
  void setClip(const AIRect& rect);
  void addClip(const AIRect& rect);
  void setColor(uint32_t rgba) { rgba_ = rgba; }
  // kADMDefaultFont becomes the drawer's own font.
  void setFont(int32_t font);
  int32_t font() const { return font_; }
  uint32_t color() const { return rgba_; }

  void line(AIPoint from, AIPoint to);
  void fillRect(const AIRect& rect) { shape(DrawOp::Kind::FillRect, rect, rgba_); }
  void frameRect(const AIRect& rect) { shape(DrawOp::Kind::FrameRect, rect, rgba_); }
  void clearRect(const AIRect& rect) { shape(DrawOp::Kind::ClearRect, rect, background_); }
  void fillOval(const AIRect& rect) { shape(DrawOp::Kind::FillOval, rect, rgba_); }
  void frameOval(const AIRect& rect) { shape(DrawOp::Kind::FrameOval, rect, rgba_); }
  void icon(const std::shared_ptr<const IconImage>& image, AIPoint topLeft);
  void text(std::string_view utf8, AIPoint baselineStart);
  int32_t textWidth(std::string_view utf8) const;

 private:
  void shape(DrawOp::Kind kind, const AIRect& rect, uint32_t rgba);
  // Whether any of cover (drawer coordinates) is inside the clip: what falls outside is dropped
  // before an operation is made for it.
  bool visible(const AIRect& cover) const;
  // Adds op when any of cover is inside the clip.
  void record(DrawOp&& op, const AIRect& cover);

  DisplayList* list_;
  AIRect bounds_;
  AIRect limit_;  // bounds within the port
  AIPoint origin_;
  int32_t defaultFont_;
  int32_t font_;
  uint32_t background_;
  uint32_t rgba_ = 0x000000FF;
  int32_t mode_ = 0;
  std::vector<AIRect> clip_;  // drawer coordinates, each within limit_
};

}  // namespace sqhost
