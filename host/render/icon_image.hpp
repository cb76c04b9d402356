// Images the dialog manager shows: a plug-in's PNG resources, decoded once and shared.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace sqhost {

// A PNG resource with its size. Shared by everything that shows it, so the plug-in destroying its
// own reference does not take the image away from a dialog or drawing that still uses it.
struct IconImage {
  int32_t resourceID = 0;
  int32_t resourceIndex = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<unsigned char> png;  // the resource's bytes, for renderers
};

// Reads the PNG's size with Cairo. Null when the bytes are not a readable PNG image.
std::shared_ptr<const IconImage> decodeIcon(const std::vector<unsigned char>& png, int32_t id,
                                            int32_t index);

}  // namespace sqhost
