// The plug-in's pictures: the size from the PNG header, the pixels decoded on first use.
#include "render/icon_image.hpp"

#include "io/png_decoder.hpp"

namespace sqhost {

const render::Raster& IconImage::raster() const {
  if (!raster_) raster_ = render::Raster::fromPng(png);
  return *raster_;
}

std::shared_ptr<const IconImage> decodeIcon(const std::vector<unsigned char>& png, int32_t id,
                                            int32_t index) {
  const io::PngResult<io::PngSize> header = io::readPngSize(png);
  if (!header.ok()) return nullptr;
  auto image = std::make_shared<IconImage>();
  image->resourceID = id;
  image->resourceIndex = index;
  image->width = header.value->width;
  image->height = header.value->height;
  image->png = png;
  return image;
}

}  // namespace sqhost
