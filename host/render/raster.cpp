// Image surfaces for rendering: creation, PNG decoding and encoding, and pixel reads.
#include "render/raster.hpp"

#include <cstring>

#include "io/png_decoder.hpp"

namespace sqhost::render {
namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<unsigned char>*>(closure);
  try {
    out->insert(out->end(), data, data + length);
  } catch (...) {
    return CAIRO_STATUS_NO_MEMORY;
  }
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

Raster Raster::create(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
    return failed("an image of " + std::to_string(width) + " x " + std::to_string(height) +
                  " pixels is not possible (each side must be 1 to " + std::to_string(kMaxSide) +
                  ")");
  }
  Raster raster;
  raster.surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  const cairo_status_t status = cairo_surface_status(raster.surface_.get());
  if (status != CAIRO_STATUS_SUCCESS) return failed(cairo_status_to_string(status));
  return raster;  // Cairo clears new image surfaces to transparent.
}

Raster Raster::fromPng(const std::vector<unsigned char>& png) {
  io::PngResult<io::PngPicture> decoded = io::decodePng(png);
  if (!decoded.ok()) return failed(std::move(decoded.error));
  const io::PngPicture& picture = *decoded.value;
  Raster raster = create(picture.size.width, picture.size.height);
  if (!raster.ok()) return raster;
  // The decoder gives the surface's own layout; only the row stride differs.
  cairo_surface_flush(raster.surface());
  unsigned char* data = cairo_image_surface_get_data(raster.surface());
  const int stride = cairo_image_surface_get_stride(raster.surface());
  const auto width = static_cast<std::size_t>(picture.size.width);
  for (int y = 0; y < picture.size.height; ++y) {
    std::memcpy(data + static_cast<std::ptrdiff_t>(y) * stride,
                picture.argb.data() + static_cast<std::size_t>(y) * width, width * 4);
  }
  cairo_surface_mark_dirty(raster.surface());
  return raster;
}

Raster Raster::failed(std::string message) {
  Raster raster;
  raster.error_ = std::move(message);
  return raster;
}

int Raster::width() const {
  return surface_ ? cairo_image_surface_get_width(surface_.get()) : 0;
}

int Raster::height() const {
  return surface_ ? cairo_image_surface_get_height(surface_.get()) : 0;
}

Context Raster::context() const {
  if (!surface_) return nullptr;
  Context cr(cairo_create(surface_.get()));
  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_GRAY);
  return cr;
}

Raster Raster::copy() const {
  if (!surface_) return failed(error_);
  Raster out = create(width(), height());
  if (!out.ok()) return out;
  Context cr = out.context();
  cairo_set_source_surface(cr.get(), surface_.get(), 0, 0);
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr.get());
  return out;
}

Rgba Raster::pixel(int x, int y) const {
  if (!surface_ || x < 0 || y < 0 || x >= width() || y >= height()) return Rgba{};
  cairo_surface_flush(surface_.get());
  const unsigned char* data = cairo_image_surface_get_data(surface_.get());
  const int stride = cairo_image_surface_get_stride(surface_.get());
  uint32_t word = 0;
  std::memcpy(&word, data + static_cast<std::ptrdiff_t>(y) * stride + std::ptrdiff_t{x} * 4,
              sizeof word);
  const auto a = static_cast<uint8_t>(word >> 24);
  if (a == 0) return Rgba{};
  // Cairo stores premultiplied colour; undo it with rounding.
  auto channel = [a](uint32_t premultiplied) {
    return static_cast<uint8_t>((premultiplied * 255 + a / 2) / a);
  };
  return Rgba{channel((word >> 16) & 0xFF), channel((word >> 8) & 0xFF), channel(word & 0xFF), a};
}

Raster::Png Raster::encodePng() const {
  Png png;
  if (!surface_) {
    png.error = error_.empty() ? "no image" : error_;
    return png;
  }
  cairo_surface_flush(surface_.get());
  const cairo_status_t status =
      cairo_surface_write_to_png_stream(surface_.get(), appendBytes, &png.bytes);
  if (status != CAIRO_STATUS_SUCCESS) {
    png.bytes.clear();
    png.error = std::string("cannot encode PNG: ") + cairo_status_to_string(status);
  }
  return png;
}

}  // namespace sqhost::render
