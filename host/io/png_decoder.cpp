// Reading PNG pictures through libpng's simplified interface, into premultiplied ARGB words.
#include "io/png_decoder.hpp"

#include <png.h>

#include <array>
#include <atomic>
#include <cstring>

namespace sqhost::io {
namespace {

std::atomic<std::size_t> gDecodeCount{0};

// libpng's reader state; freeing it is safe at any point, also after libpng freed it itself.
struct Reader {
  png_image image{};
  Reader() { image.version = PNG_IMAGE_VERSION; }
  ~Reader() { png_image_free(&image); }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;
};

std::string libpngMessage(const png_image& image) {
  const std::size_t length = ::strnlen(image.message, sizeof image.message);
  return length == 0 ? std::string("unknown error") : std::string(image.message, length);
}

// Reads the header into the reader; an error message when the bytes are no usable picture.
std::string begin(Reader& reader, std::span<const unsigned char> bytes) {
  constexpr std::size_t kSignatureSize = 8;
  if (bytes.size() < kSignatureSize || png_sig_cmp(bytes.data(), 0, kSignatureSize) != 0) {
    return "not a PNG image (the PNG signature is missing)";
  }
  if (png_image_begin_read_from_memory(&reader.image, bytes.data(), bytes.size()) == 0) {
    return "damaged PNG image: " + libpngMessage(reader.image);
  }
  const png_uint_32 width = reader.image.width;
  const png_uint_32 height = reader.image.height;
  if (width > kMaxPngSide || height > kMaxPngSide ||
      std::int64_t{width} * std::int64_t{height} > kMaxPngPixels) {
    return "the PNG image is too large (" + std::to_string(width) + " x " + std::to_string(height) +
           " pixels)";
  }
  return {};
}

PngSize sizeOf(const Reader& reader) {
  return PngSize{static_cast<int>(reader.image.width), static_cast<int>(reader.image.height)};
}

// Premultiplies one colour channel by alpha with exact rounding, as Cairo's own reader does.
std::uint32_t premultiplied(std::uint32_t alpha, std::uint32_t colour) {
  const std::uint32_t t = alpha * colour + 0x80;
  return (t + (t >> 8)) >> 8;
}

}  // namespace

PngResult<PngSize> readPngSize(std::span<const unsigned char> bytes) {
  try {
    Reader reader;
    std::string error = begin(reader, bytes);
    if (!error.empty()) return {std::nullopt, std::move(error)};
    return {sizeOf(reader), {}};
  } catch (...) {
    return {std::nullopt, "out of memory while reading a PNG image"};
  }
}

PngResult<PngPicture> decodePng(std::span<const unsigned char> bytes) {
  gDecodeCount.fetch_add(1, std::memory_order_relaxed);
  try {
    Reader reader;
    std::string error = begin(reader, bytes);
    if (!error.empty()) return {std::nullopt, std::move(error)};
    PngPicture picture;
    picture.size = sizeOf(reader);
    // libpng writes straight RGBA bytes into the words' storage; each word is then rewritten in
    // place as premultiplied ARGB.
    reader.image.format = PNG_FORMAT_RGBA;
    picture.argb.resize(static_cast<std::size_t>(picture.size.width) *
                        static_cast<std::size_t>(picture.size.height));
    static_assert(sizeof(std::uint32_t) == 4);
    if (png_image_finish_read(&reader.image, nullptr, picture.argb.data(), 0, nullptr) == 0) {
      return {std::nullopt, "damaged PNG image: " + libpngMessage(reader.image)};
    }
    for (std::uint32_t& word : picture.argb) {
      std::array<unsigned char, 4> rgba{};
      std::memcpy(rgba.data(), &word, rgba.size());
      const std::uint32_t a = rgba[3];
      if (a == 0) {
        word = 0;
        continue;
      }
      word = (a << 24) | (premultiplied(a, rgba[0]) << 16) | (premultiplied(a, rgba[1]) << 8) |
             premultiplied(a, rgba[2]);
    }
    return {std::move(picture), {}};
  } catch (...) {
    return {std::nullopt, "out of memory while decoding a PNG image"};
  }
}

std::size_t pngDecodeCount() {
  return gDecodeCount.load(std::memory_order_relaxed);
}

}  // namespace sqhost::io
