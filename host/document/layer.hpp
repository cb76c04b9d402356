// Layers: name, colour, visibility and lock, and the group that holds the layer's art.
#pragma once

#include <memory>
#include <string>

#include "document/art.hpp"

namespace sqhost {

struct LayerProps {
  std::string name;
  AIRGBColor color{0x4F4F, 0x8080, 0xFFFF};  // the colour the host draws selections in
  bool visible = true;
  bool locked = false;  // a locked layer is not editable
  friend bool operator==(const LayerProps& a, const LayerProps& b) {
    return a.name == b.name && sameColor(a.color, b.color) && a.visible == b.visible &&
           a.locked == b.locked;
  }
};

// The default colour of the n-th layer (0-based) a document gets: a small cycle of distinct hues.
AIRGBColor defaultLayerColor(std::size_t n);

class Layer {
 public:
  // A new detached layer with a fresh id and an empty group.
  static std::unique_ptr<Layer> create(LayerProps props);

  Layer(const Layer&) = delete;
  Layer& operator=(const Layer&) = delete;

  LayerId id() const { return id_; }
  const LayerProps& props() const { return props_; }
  const std::string& name() const { return props_.name; }
  const AIRGBColor& color() const { return props_.color; }
  bool visible() const { return props_.visible; }
  bool locked() const { return props_.locked; }
  bool editable() const { return !props_.locked; }
  // The layer's top-level group; its children are the layer's art, topmost first.
  const Art& group() const { return *group_; }

  // A deep copy with the same ids (a before-image of a removed layer).
  std::unique_ptr<Layer> clone() const;

  friend bool operator==(const Layer& a, const Layer& b);
  friend bool sameContent(const Layer& a, const Layer& b);

 private:
  friend class Document;
  Layer() = default;

  LayerId id_ = kNoId;
  LayerProps props_;
  std::unique_ptr<Art> group_;
};

}  // namespace sqhost
