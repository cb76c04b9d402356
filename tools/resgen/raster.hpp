// Cairo image surfaces owned by smart pointers, PNG encoding and decoding, and pixel access.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace sq::resgen {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// A straight (not premultiplied) 8-bit colour.
struct Rgba {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 0;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

inline constexpr Rgba kTransparent{0, 0, 0, 0};
inline constexpr Rgba kBlack{0, 0, 0, 255};
inline constexpr Rgba kWhite{255, 255, 255, 255};

// A fully transparent ARGB32 surface. Throws std::runtime_error when Cairo cannot make it.
Surface makeSurface(int width, int height);

// A drawing context on the surface with grey-level antialiasing, so that the output does not
// depend on any per-machine rendering preference.
Context makeContext(const Surface& surface);

// The surface as the bytes of a PNG file (8-bit RGBA, no text or time chunks).
std::vector<unsigned char> encodePng(const Surface& surface);

// Reads PNG bytes back into a surface with the host's decoder. Throws std::runtime_error on
// malformed data.
Surface decodePng(std::span<const unsigned char> png);

int surfaceWidth(const Surface& surface);
int surfaceHeight(const Surface& surface);

// Pixel access in straight colour; both require 0 <= x < width and 0 <= y < height.
Rgba pixelAt(const Surface& surface, int x, int y);
void setPixel(const Surface& surface, int x, int y, Rgba colour);

}  // namespace sq::resgen
