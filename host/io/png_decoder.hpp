// Reading PNG pictures with libpng: the one decoder of the host and its tools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sqhost::io {

// The largest picture decoded: sides as Cairo's image surfaces allow, and a pixel count that
// keeps a damaged header from asking for gigabytes.
inline constexpr int kMaxPngSide = 32767;
inline constexpr std::int64_t kMaxPngPixels = std::int64_t{1} << 26;

struct PngSize {
  int width = 0;
  int height = 0;
};

// A decoded picture in the layout of Cairo's ARGB32 image surfaces: one native-endian 32-bit
// word per pixel, alpha in the top byte, colour premultiplied by alpha, rows top to bottom
// without padding. Colours are sRGB; palettes, grey levels, 16-bit samples and transparency
// chunks are converted to it.
struct PngPicture {
  PngSize size;
  std::vector<std::uint32_t> argb;
};

// What decoding found: the picture, or a message saying why there is none ("not a PNG image",
// "damaged PNG image: ...", "too large ...").
template <typename T>
struct PngResult {
  std::optional<T> value;
  std::string error;
  bool ok() const { return value.has_value(); }
};

// Reads only the header: the picture's size, without decoding its pixels.
PngResult<PngSize> readPngSize(std::span<const unsigned char> bytes);

// Decodes the whole picture. Never throws; damaged data gives an error, never a crash.
PngResult<PngPicture> decodePng(std::span<const unsigned char> bytes);

// How many pictures this process has decoded (successfully or not) since it started; header
// reads do not count. For tests and diagnostics of when decoding happens.
std::size_t pngDecodeCount();

}  // namespace sqhost::io
