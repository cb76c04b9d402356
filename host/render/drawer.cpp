// Drawers: clipping and recording of drawing operations.
#include "render/drawer.hpp"

#include <algorithm>

#include "render/font_metrics.hpp"

namespace sqhost {

Drawer::Drawer(DisplayList& list, const AIRect& bounds, const AIRect& limit, AIPoint origin,
               int32_t font, uint32_t background)
    : list_(&list),
      bounds_(bounds),
      limit_(intersectRects(bounds, limit)),
      origin_(origin),
      defaultFont_(font == kADMDefaultFont ? kADMDialogFont : font),
      font_(defaultFont_),
      background_(background) {
  if (!isEmptyRect(limit_)) clip_.push_back(limit_);
}

void Drawer::setClip(const AIRect& rect) {
  clip_.clear();
  addClip(rect);
}

void Drawer::addClip(const AIRect& rect) {
  const AIRect inside = intersectRects(rect, limit_);
  if (!isEmptyRect(inside)) clip_.push_back(inside);
}

void Drawer::setFont(int32_t font) {
  font_ = font == kADMDefaultFont ? defaultFont_ : font;
}

void Drawer::line(AIPoint from, AIPoint to) {
  const AIRect cover{std::min(from.h, to.h), std::min(from.v, to.v), std::max(from.h, to.h) + 1,
                     std::max(from.v, to.v) + 1};
  if (!visible(cover)) return;
  DrawOp op;
  op.kind = DrawOp::Kind::Line;
  op.from = from;
  op.to = to;
  op.rgba = rgba_;
  op.rect = cover;
  record(std::move(op), cover);
}

void Drawer::shape(DrawOp::Kind kind, const AIRect& rect, uint32_t rgba) {
  if (isEmptyRect(rect) || !visible(rect)) return;
  DrawOp op;
  op.kind = kind;
  op.rect = rect;
  op.rgba = rgba;
  record(std::move(op), rect);
}

void Drawer::icon(const std::shared_ptr<const IconImage>& image, AIPoint topLeft) {
  if (!image) return;
  DrawOp op;
  op.kind = DrawOp::Kind::Icon;
  op.from = topLeft;
  op.rect = AIRect{topLeft.h, topLeft.v, topLeft.h + image->width, topLeft.v + image->height};
  op.icon = image;
  op.rgba = 0xFFFFFFFF;
  const AIRect cover = op.rect;
  record(std::move(op), cover);
}

void Drawer::text(std::string_view utf8, AIPoint baselineStart) {
  const int32_t width = textWidth(utf8);
  if (width <= 0) return;
  DrawOp op;
  op.kind = DrawOp::Kind::Text;
  op.from = baselineStart;
  op.text = std::string(utf8);
  op.textWidth = width;
  op.font = font_;
  op.rgba = rgba_;
  op.rect = AIRect{baselineStart.h, baselineStart.v - fontAscent(font_), baselineStart.h + width,
                   baselineStart.v + fontDescent(font_)};
  const AIRect cover = op.rect;
  record(std::move(op), cover);
}

int32_t Drawer::textWidth(std::string_view utf8) const {
  return sqhost::textWidth(font_, utf8);
}

bool Drawer::visible(const AIRect& cover) const {
  return std::any_of(clip_.begin(), clip_.end(), [&](const AIRect& c) {
    return std::max(c.left, cover.left) < std::min(c.right, cover.right) &&
           std::max(c.top, cover.top) < std::min(c.bottom, cover.bottom);
  });
}

void Drawer::record(DrawOp&& op, const AIRect& cover) {
  if (!visible(cover)) return;
  // Icons keep their own colours and are never inverted.
  if (op.kind != DrawOp::Kind::Icon) op.mode = mode_;
  const int32_t dx = origin_.h;
  const int32_t dy = origin_.v;
  op.rect = offsetRect(op.rect, dx, dy);
  op.from = AIPoint{op.from.h + dx, op.from.v + dy};
  if (op.kind == DrawOp::Kind::Line) op.to = AIPoint{op.to.h + dx, op.to.v + dy};
  op.clip = clip_;
  if (dx != 0 || dy != 0) {
    for (AIRect& c : op.clip) c = offsetRect(c, dx, dy);
  }
  list_->ops.push_back(std::move(op));
}

}  // namespace sqhost
