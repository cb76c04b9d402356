// Art objects: creation, attributes, path editing with the selected attribute in step, copies.
#include "document/art.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace sqhost {

bool operator==(const PathStyle& a, const PathStyle& b) {
  return a.fill == b.fill && sameColor(a.fillColor, b.fillColor) && a.stroke == b.stroke &&
         sameColor(a.strokeColor, b.strokeColor) && a.strokeWidth == b.strokeWidth &&
         a.evenOdd == b.evenOdd;
}

bool operator==(const TextInfo& a, const TextInfo& b) {
  return a.type == b.type && a.contents == b.contents && samePoint(a.origin, b.origin);
}

Art::Art(ArtId id, ArtType type) : id_(id) {
  data_.type = type;
}

std::unique_ptr<Art> Art::create(ArtType type) {
  if (type == ArtType::kPluginArt) return createPluginArt({});
  return std::unique_ptr<Art>(new Art(allocateId(), type));
}

std::unique_ptr<Art> Art::createTextFrame(TextFrameType type, std::string contents) {
  auto art = std::unique_ptr<Art>(new Art(allocateId(), ArtType::kTextFrame));
  art->data_.text.type = type;
  art->data_.text.contents = std::move(contents);
  if (type != TextFrameType::kPoint) {
    auto path = create(ArtType::kPath);
    path->parent_ = art.get();
    art->children_.push_back(std::move(path));
  }
  return art;
}

std::unique_ptr<Art> Art::createTextFrame(TextFrameType type, std::string contents,
                                          std::unique_ptr<Art> path) {
  if (type == TextFrameType::kPoint || !path || path->type() != ArtType::kPath ||
      path->parent_ != nullptr || path->attached_) {
    return nullptr;
  }
  auto art = std::unique_ptr<Art>(new Art(allocateId(), ArtType::kTextFrame));
  art->data_.text.type = type;
  art->data_.text.contents = std::move(contents);
  path->parent_ = art.get();
  art->children_.push_back(std::move(path));
  return art;
}

std::unique_ptr<Art> Art::createPluginArt(std::string pluginGroup) {
  return createPluginArt(std::move(pluginGroup), create(ArtType::kGroup));
}

std::unique_ptr<Art> Art::createPluginArt(std::string pluginGroup, std::unique_ptr<Art> result) {
  if (!result || result->type() != ArtType::kGroup || result->parent_ != nullptr ||
      result->attached_ || result->layerGroupOf_ != kNoId) {
    return nullptr;
  }
  auto art = std::unique_ptr<Art>(new Art(allocateId(), ArtType::kPluginArt));
  art->data_.pluginGroup = std::move(pluginGroup);
  result->parent_ = art.get();
  art->children_.push_back(std::move(result));
  return art;
}

std::size_t Art::indexInParent() const {
  if (parent_ == nullptr) return 0;
  const auto& siblings = parent_->children_;
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [this](const std::unique_ptr<Art>& c) { return c.get() == this; });
  return static_cast<std::size_t>(it - siblings.begin());
}

const Art* Art::textPath() const {
  if (type() != ArtType::kTextFrame || children_.empty()) return nullptr;
  return children_.front().get();
}

const Art* Art::pluginResult() const {
  if (type() != ArtType::kPluginArt || children_.empty()) return nullptr;
  return children_.front().get();
}

std::optional<AIRealRect> Art::bounds() const {
  if (type() == ArtType::kPath) return data_.path.bounds();
  std::optional<AIRealRect> result;
  for (const auto& child : children_) {
    std::optional<AIRealRect> b = child->bounds();
    if (!b) continue;
    if (!result) {
      result = b;
    } else {
      result->left = std::min(result->left, b->left);
      result->right = std::max(result->right, b->right);
      result->top = std::max(result->top, b->top);
      result->bottom = std::min(result->bottom, b->bottom);
    }
  }
  return result;
}

AIErr Art::setAttributes(std::uint32_t mask, bool on) {
  if ((mask & ~kArtUserAttributes) != 0) return kBadParameterErr;
  if (on) {
    data_.attributes |= mask;
  } else {
    data_.attributes &= ~mask;
  }
  if (type() == ArtType::kPath && (mask & kArtSelected) != 0) {
    PathGeometry& path = data_.path;
    if (!on) {
      path.setAllSelections(SegmentSelection::kNone);
    } else if (path.selectedCount() == 0) {
      path.setAllSelections(SegmentSelection::kAnchor);
    }
  }
  return kNoErr;
}

AIErr Art::setStyle(const PathStyle& style) {
  if (type() != ArtType::kPath) return kBadParameterErr;
  if (!std::isfinite(style.strokeWidth)) return kNonFiniteErr;
  if (style.strokeWidth < 0) return kBadParameterErr;
  data_.style = style;
  return kNoErr;
}

AIErr Art::setTextContents(std::string contents) {
  if (type() != ArtType::kTextFrame) return kBadParameterErr;
  data_.text.contents = std::move(contents);
  return kNoErr;
}

AIErr Art::setTextOrigin(const AIRealPoint& origin) {
  if (type() != ArtType::kTextFrame) return kBadParameterErr;
  if (!isFinite(origin)) return kNonFiniteErr;
  data_.text.origin = origin;
  return kNoErr;
}

void Art::syncPathSelected() {
  const PathGeometry& path = data_.path;
  if (path.selectedCount() > 0) {
    data_.attributes |= kArtSelected;
  } else if (!path.empty()) {
    data_.attributes &= ~kArtSelected;
  }
}

AIErr Art::setSegments(std::size_t index, std::span<const AIPathSegment> values) {
  if (type() != ArtType::kPath) return kBadParameterErr;
  return data_.path.setSegments(index, values);
}

AIErr Art::insertSegments(std::size_t index, std::span<const AIPathSegment> values) {
  if (type() != ArtType::kPath) return kBadParameterErr;
  bool wasSelectedEmpty = selected() && data_.path.empty();
  AIErr err = data_.path.insertSegments(index, values);
  if (err != kNoErr) return err;
  // A selected path with nothing in it becomes a selected path with every anchor selected.
  if (wasSelectedEmpty) data_.path.setAllSelections(SegmentSelection::kAnchor);
  syncPathSelected();
  return kNoErr;
}

AIErr Art::deleteSegments(std::size_t index, std::size_t count) {
  if (type() != ArtType::kPath) return kBadParameterErr;
  AIErr err = data_.path.deleteSegments(index, count);
  if (err != kNoErr) return err;
  syncPathSelected();
  return kNoErr;
}

AIErr Art::setClosed(bool closed) {
  if (type() != ArtType::kPath) return kBadParameterErr;
  data_.path.setClosed(closed);
  return kNoErr;
}

AIErr Art::setSegmentSelection(std::size_t i, SegmentSelection state) {
  if (type() != ArtType::kPath) return kBadParameterErr;
  AIErr err = data_.path.setSelection(i, state);
  if (err != kNoErr) return err;
  syncPathSelected();
  return kNoErr;
}

AIErr Art::reverse() {
  if (type() != ArtType::kPath) return kBadParameterErr;
  data_.path.reverse();
  return kNoErr;
}

AIErr Art::restoreData(ArtData data) {
  if (data.type != type()) return kBadParameterErr;
  data_ = std::move(data);
  return kNoErr;
}

bool Art::canHoldChild(ArtType child) const {
  switch (type()) {
    case ArtType::kGroup:
      return true;
    case ArtType::kCompoundPath:
      return child == ArtType::kPath;
    case ArtType::kTextFrame:
      return child == ArtType::kPath && data_.text.type != TextFrameType::kPoint &&
             children_.empty();
    case ArtType::kPluginArt:
      return child == ArtType::kGroup && children_.empty();
    case ArtType::kPath:
      return false;
  }
  return false;
}

AIErr Art::appendChild(std::unique_ptr<Art> child) {
  if (!child || attached_ || child->parent_ != nullptr || child->layerGroupOf_ != kNoId ||
      !canHoldChild(child->type())) {
    return kBadParameterErr;
  }
  child->parent_ = this;
  children_.push_back(std::move(child));
  return kNoErr;
}

std::unique_ptr<Art> Art::cloneImpl(bool freshIds) const {
  auto copy = std::unique_ptr<Art>(new Art(freshIds ? allocateId() : id_, type()));
  copy->data_ = data_;
  copy->layerGroupOf_ = freshIds ? kNoId : layerGroupOf_;
  copy->children_.reserve(children_.size());
  for (const auto& child : children_) {
    auto c = child->cloneImpl(freshIds);
    c->parent_ = copy.get();
    copy->children_.push_back(std::move(c));
  }
  return copy;
}

std::unique_ptr<Art> Art::clone() const {
  return cloneImpl(false);
}
std::unique_ptr<Art> Art::cloneWithNewIds() const {
  return cloneImpl(true);
}

bool operator==(const Art& a, const Art& b) {
  if (a.id_ != b.id_ || a.layerGroupOf_ != b.layerGroupOf_ || !(a.data_ == b.data_) ||
      a.children_.size() != b.children_.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.children_.size(); ++i) {
    if (!(*a.children_[i] == *b.children_[i])) return false;
  }
  return true;
}

bool sameContent(const Art& a, const Art& b) {
  if (!(a.data_ == b.data_) || a.children_.size() != b.children_.size()) return false;
  for (std::size_t i = 0; i < a.children_.size(); ++i) {
    if (!sameContent(*a.children_[i], *b.children_[i])) return false;
  }
  return true;
}

}  // namespace sqhost
