// Decoding the plug-in's PNG resources with Cairo.
#include "render/icon_image.hpp"

#include <cairo.h>

#include <cstring>

namespace sqhost {
namespace {

struct PngSource {
  const std::vector<unsigned char>* bytes;
  std::size_t offset;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length) {
  auto* source = static_cast<PngSource*>(closure);
  if (source->bytes->size() - source->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, source->bytes->data() + source->offset, length);
  source->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::shared_ptr<const IconImage> decodeIcon(const std::vector<unsigned char>& png, int32_t id,
                                            int32_t index) {
  PngSource source{&png, 0};
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readPng, &source);
  const bool readable = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  IconImage image;
  if (readable) {
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
  }
  cairo_surface_destroy(surface);
  if (!readable) return nullptr;
  image.resourceID = id;
  image.resourceIndex = index;
  image.png = png;
  return std::make_shared<const IconImage>(std::move(image));
}

}  // namespace sqhost
