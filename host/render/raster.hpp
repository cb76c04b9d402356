// Image surfaces for rendering: an owned Cairo surface and context, pixel reads and PNG encoding.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sqhost::render {

// A straight (not premultiplied) 8-bit colour.
struct Rgba {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 0;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct ContextDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// An ARGB32 image surface that owns its pixels. A default-constructed or failed raster holds no
// surface: ok() is false and error() says why.
class Raster {
 public:
  // The largest side Cairo's image surfaces accept.
  static constexpr int kMaxSide = 32767;

  Raster() = default;
  // A fully transparent surface of the given size; sides must be within 1 .. kMaxSide.
  static Raster create(int width, int height);
  // Decodes PNG bytes into an ARGB32 surface; a failed raster saying why for anything unreadable.
  static Raster fromPng(const std::vector<unsigned char>& png);
  // A failed raster carrying a message.
  static Raster failed(std::string message);

  bool ok() const { return surface_ != nullptr; }
  const std::string& error() const { return error_; }
  int width() const;
  int height() const;
  // The surface, still owned by the raster; null when !ok().
  cairo_surface_t* surface() const { return surface_.get(); }

  // A drawing context with grey-level antialiasing, so output does not depend on per-machine
  // rendering preferences. Null when !ok().
  Context context() const;
  // A separate copy of the pixels.
  Raster copy() const;

  // The pixel at (x, y) in straight colour; transparent outside the surface.
  Rgba pixel(int x, int y) const;

  // The image as PNG bytes; on failure the bytes are empty and the message is set.
  struct Png {
    std::vector<unsigned char> bytes;
    std::string error;
  };
  Png encodePng() const;

 private:
  struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
  };
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
  std::string error_;
};

}  // namespace sqhost::render
