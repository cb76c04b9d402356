// Cairo image surfaces: creation, PNG encoding and decoding, and pixel access.
#include "raster.hpp"

#include <cstring>
#include <stdexcept>
#include <string>

#include "io/png_decoder.hpp"

namespace sq::resgen {
namespace {

void check(cairo_status_t status, const char* what) {
  if (status != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error(std::string(what) + ": " + cairo_status_to_string(status));
  }
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<unsigned char>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// Drops the ancillary chunks (Cairo writes a background colour) and keeps the critical ones:
// each chunk carries its own checksum, so the rest of the file stays valid.
std::vector<unsigned char> withoutAncillaryChunks(const std::vector<unsigned char>& png) {
  constexpr size_t kSignatureSize = 8;
  constexpr size_t kChunkOverhead = 12;  // length, type and checksum
  if (png.size() < kSignatureSize) {
    throw std::runtime_error("PNG output too short");
  }
  std::vector<unsigned char> out(png.begin(), png.begin() + kSignatureSize);
  size_t at = kSignatureSize;
  while (at < png.size()) {
    if (png.size() - at < kChunkOverhead) {
      throw std::runtime_error("truncated PNG chunk");
    }
    const size_t length = (size_t{png[at]} << 24) | (size_t{png[at + 1]} << 16) |
                          (size_t{png[at + 2]} << 8) | size_t{png[at + 3]};
    if (png.size() - at - kChunkOverhead < length) {
      throw std::runtime_error("truncated PNG chunk");
    }
    const bool critical = (png[at + 4] & 0x20) == 0;  // upper-case first letter of the type
    if (critical) {
      out.insert(out.end(), png.begin() + static_cast<ptrdiff_t>(at),
                 png.begin() + static_cast<ptrdiff_t>(at + kChunkOverhead + length));
    }
    at += kChunkOverhead + length;
  }
  return out;
}

// Address of the pixel's native-endian 32-bit ARGB word.
unsigned char* pixelBytes(const Surface& surface, int x, int y) {
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  return data + static_cast<ptrdiff_t>(y) * stride + static_cast<ptrdiff_t>(x) * 4;
}

void checkBounds(const Surface& surface, int x, int y) {
  if (x < 0 || y < 0 || x >= surfaceWidth(surface) || y >= surfaceHeight(surface)) {
    throw std::out_of_range("pixel outside the surface");
  }
}

}  // namespace

Surface makeSurface(int width, int height) {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  check(cairo_surface_status(surface.get()), "cannot create an image surface");
  return surface;  // Cairo clears new image surfaces to transparent.
}

Context makeContext(const Surface& surface) {
  Context cr(cairo_create(surface.get()));
  check(cairo_status(cr.get()), "cannot create a drawing context");
  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_GRAY);
  return cr;
}

std::vector<unsigned char> encodePng(const Surface& surface) {
  cairo_surface_flush(surface.get());
  std::vector<unsigned char> png;
  check(cairo_surface_write_to_png_stream(surface.get(), appendBytes, &png), "cannot encode PNG");
  return withoutAncillaryChunks(png);
}

Surface decodePng(std::span<const unsigned char> png) {
  namespace io = sqhost::io;
  io::PngResult<io::PngPicture> decoded = io::decodePng(png);
  if (!decoded.ok()) throw std::runtime_error("cannot decode PNG: " + decoded.error);
  const io::PngPicture& picture = *decoded.value;
  Surface surface = makeSurface(picture.size.width, picture.size.height);
  cairo_surface_flush(surface.get());
  for (int y = 0; y < picture.size.height; ++y) {
    std::memcpy(
        pixelBytes(surface, 0, y),
        picture.argb.data() + static_cast<size_t>(y) * static_cast<size_t>(picture.size.width),
        static_cast<size_t>(picture.size.width) * 4);
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

int surfaceWidth(const Surface& surface) {
  return cairo_image_surface_get_width(surface.get());
}

int surfaceHeight(const Surface& surface) {
  return cairo_image_surface_get_height(surface.get());
}

Rgba pixelAt(const Surface& surface, int x, int y) {
  checkBounds(surface, x, y);
  cairo_surface_flush(surface.get());
  uint32_t word = 0;
  std::memcpy(&word, pixelBytes(surface, x, y), sizeof word);
  const auto a = static_cast<uint8_t>(word >> 24);
  if (a == 0) {
    return kTransparent;
  }
  // Cairo stores premultiplied colour; undo it with rounding.
  auto channel = [a](uint32_t premultiplied) {
    return static_cast<uint8_t>((premultiplied * 255 + a / 2) / a);
  };
  return Rgba{channel((word >> 16) & 0xFF), channel((word >> 8) & 0xFF), channel(word & 0xFF), a};
}

void setPixel(const Surface& surface, int x, int y, Rgba colour) {
  checkBounds(surface, x, y);
  cairo_surface_flush(surface.get());
  auto premultiply = [&colour](uint8_t c) {
    return static_cast<uint32_t>((c * colour.a + 127) / 255);
  };
  const uint32_t word = (static_cast<uint32_t>(colour.a) << 24) | (premultiply(colour.r) << 16) |
                        (premultiply(colour.g) << 8) | premultiply(colour.b);
  std::memcpy(pixelBytes(surface, x, y), &word, sizeof word);
  cairo_surface_mark_dirty_rectangle(surface.get(), x, y, 1, 1);
}

}  // namespace sq::resgen
