// Pictures the host shows for the plug-in: its PNG resources, sized at once, decoded when drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "render/raster.hpp"

namespace sqhost {

// A PNG resource with its size. Shared by everything that shows it, so the plug-in destroying its
// own reference does not take the image away from a dialog or drawing that still uses it.
struct IconImage {
  int32_t resourceID = 0;
  int32_t resourceIndex = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<unsigned char> png;  // the resource's bytes

  // The pixels, decoded on the first call and kept for every later one; a failed raster (ok()
  // false, error() saying why) when the bytes do not decode. For the host's user-interface
  // thread only.
  const render::Raster& raster() const;
  bool decoded() const { return raster_.has_value(); }

 private:
  mutable std::optional<render::Raster> raster_;
};

// Reads the PNG's size from its header; the pixels wait until the picture is first drawn. Null
// when the bytes are not a PNG image with a usable header.
std::shared_ptr<const IconImage> decodeIcon(const std::vector<unsigned char>& png, int32_t id,
                                            int32_t index);

}  // namespace sqhost
