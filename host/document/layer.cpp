// Layers: creation, copies, comparison and the default layer colours.
#include "document/layer.hpp"

#include <array>

namespace sqhost {

AIRGBColor defaultLayerColor(std::size_t n) {
  // Light blue, red, green, blue, yellow, magenta, cyan, grey, orange (8-bit values x 257).
  static constexpr std::array<AIRGBColor, 9> kColors{{
      {0x4F4F, 0x8080, 0xFFFF},
      {0xFFFF, 0x4F4F, 0x4F4F},
      {0x4F4F, 0xFFFF, 0x4F4F},
      {0x4F4F, 0x4F4F, 0xFFFF},
      {0xFFFF, 0xFFFF, 0x4F4F},
      {0xFFFF, 0x4F4F, 0xFFFF},
      {0x4F4F, 0xFFFF, 0xFFFF},
      {0x8080, 0x8080, 0x8080},
      {0xFFFF, 0x8080, 0x0000},
  }};
  return kColors[n % kColors.size()];
}

std::unique_ptr<Layer> Layer::create(LayerProps props) {
  auto layer = std::unique_ptr<Layer>(new Layer());
  layer->id_ = allocateId();
  layer->props_ = std::move(props);
  layer->group_ = Art::create(ArtType::kGroup);
  layer->group_->layerGroupOf_ = layer->id_;
  return layer;
}

std::unique_ptr<Layer> Layer::clone() const {
  auto copy = std::unique_ptr<Layer>(new Layer());
  copy->id_ = id_;
  copy->props_ = props_;
  copy->group_ = group_->clone();
  return copy;
}

bool operator==(const Layer& a, const Layer& b) {
  return a.id_ == b.id_ && a.props_ == b.props_ && *a.group_ == *b.group_;
}

bool sameContent(const Layer& a, const Layer& b) {
  return a.props_ == b.props_ && sameContent(*a.group_, *b.group_);
}

}  // namespace sqhost
