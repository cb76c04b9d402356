// The views of the open documents, front view first for each document.
#include "views/view_list.hpp"

#include <algorithm>
#include <cmath>

namespace sqhost {

View& ViewList::open(const Document& document, int32_t width, int32_t height) {
  auto view = std::make_unique<View>();
  view->id = allocateId();
  view->document = document.id();
  view->width = width;
  view->height = height;
  const AIRealRect a = document.artboard(document.activeArtboard()).bounds;
  view->center = {(a.left + a.right) / 2, (a.top + a.bottom) / 2};
  const float w = std::max(a.right - a.left, 1.0f);
  const float h = std::max(a.top - a.bottom, 1.0f);
  // Fit the artboard with a margin of 5 % on each side, at a zoom the host allows.
  const float fit = std::min(width / (w * 1.1f), height / (h * 1.1f));
  view->zoom = std::clamp(fit, 1.0f / 32, 64.0f);
  views_.insert(views_.begin(), std::move(view));
  return *views_.front();
}

void ViewList::closeDocument(DocumentId document) {
  std::erase_if(views_, [document](const auto& v) { return v->document == document; });
}

std::vector<View*> ViewList::of(DocumentId document) const {
  std::vector<View*> out;
  for (const auto& v : views_) {
    if (v->document == document) out.push_back(v.get());
  }
  return out;
}

View* ViewList::front(DocumentId document) const {
  for (const auto& v : views_) {
    if (v->document == document) return v.get();
  }
  return nullptr;
}

View* ViewList::find(ObjectId id) const {
  for (const auto& v : views_) {
    if (v->id == id) return v.get();
  }
  return nullptr;
}

void ViewList::bringToFront(View& view) {
  auto it =
      std::find_if(views_.begin(), views_.end(), [&](const auto& v) { return v.get() == &view; });
  if (it == views_.end()) return;
  std::rotate(views_.begin(), it, it + 1);
}

}  // namespace sqhost
