// The point editor panel's pictures: row marks, point buttons, stepping arrows, the words on the
// adjustment buttons, the link mark and the panel's icon, each the size of the item showing it.
#pragma once

#include <cstdint>
#include <span>

#include "outline_text.hpp"
#include "raster.hpp"

namespace sq::resgen {

// One panel picture: its resource id, a short name for its file, and its size in pixels.
struct PanelPicture {
  int32_t id = 0;
  const char* name = "";
  int width = 0;
  int height = 0;
};

// Every panel picture, by id. A picture shown while its item is disabled is drawn like its normal
// picture, in grey.
std::span<const PanelPicture> panelPictures();

// Draws panel picture id. Throws std::out_of_range for an id that is not a panel picture.
Surface drawPanelPicture(const OutlineFont& font, int32_t id);

}  // namespace sq::resgen
