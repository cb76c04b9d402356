// Decoding PNG pictures: premultiplied pixels, sizes from the header alone, and damaged data
// refused with a message, never a crash.
#include "io/png_decoder.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <string>
#include <vector>

namespace sqhost::io {
namespace {

// A width x height RGBA picture made by libpng from straight colour bytes.
std::vector<unsigned char> encodeRgba(int width, int height,
                                      const std::vector<unsigned char>& rgba) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::vector<unsigned char> out(size);
  EXPECT_NE(png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr), 0);
  out.resize(size);
  return out;
}

uint32_t crc32Of(const unsigned char* data, std::size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void putBigEndian(std::vector<unsigned char>& bytes, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

// The picture with another width in its header, its checksum made right again.
std::vector<unsigned char> withWidth(std::vector<unsigned char> png, uint32_t width) {
  constexpr std::size_t kIhdrType = 12;  // after the signature and the chunk's length
  putBigEndian(png, kIhdrType + 4, width);
  putBigEndian(png, kIhdrType + 4 + 13, crc32Of(png.data() + kIhdrType, 4 + 13));
  return png;
}

TEST(PngDecoder, GivesPremultipliedArgbWordsAndTheSizeFromTheHeader) {
  const std::vector<unsigned char> rgba = {
      255, 0,   0,  255,  // opaque red
      200, 100, 50, 128,  // half transparent
      10,  20,  30, 0,    // transparent: its colour is gone
  };
  const std::vector<unsigned char> png = encodeRgba(3, 1, rgba);

  const std::size_t before = pngDecodeCount();
  const PngResult<PngSize> size = readPngSize(png);
  ASSERT_TRUE(size.ok()) << size.error;
  EXPECT_EQ(size.value->width, 3);
  EXPECT_EQ(size.value->height, 1);
  EXPECT_EQ(pngDecodeCount(), before) << "reading the header decodes nothing";

  const PngResult<PngPicture> decoded = decodePng(png);
  ASSERT_TRUE(decoded.ok()) << decoded.error;
  EXPECT_EQ(pngDecodeCount(), before + 1);
  // 200 * 128 / 255 = 100.4, 100 * 128 / 255 = 50.2, 50 * 128 / 255 = 25.1
  EXPECT_EQ(decoded.value->argb, (std::vector<uint32_t>{0xFFFF0000u, 0x80643219u, 0u}));
}

TEST(PngDecoder, DamagedDataIsRefusedWithAMessage) {
  std::vector<unsigned char> rgba(4 * 4 * 4);
  for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<unsigned char>(i * 13);
  const std::vector<unsigned char> png = encodeRgba(4, 4, rgba);
  ASSERT_TRUE(decodePng(png).ok());

  const auto refused = [](const std::vector<unsigned char>& bytes, const std::string& words) {
    const PngResult<PngPicture> decoded = decodePng(bytes);
    EXPECT_FALSE(decoded.ok());
    EXPECT_NE(decoded.error.find(words), std::string::npos) << decoded.error;
  };
  refused({}, "not a PNG image");
  refused({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, "not a PNG image");
  refused(std::vector<unsigned char>(png.begin(), png.begin() + 8), "damaged PNG image");
  refused(std::vector<unsigned char>(png.begin(), png.end() - 20), "damaged PNG image");
  refused(withWidth(png, 0x7FFFFFFFu), "damaged PNG image");  // beyond what PNG allows
  refused(withWidth(png, 40000), "too large");
  std::vector<unsigned char> badChecksum = png;
  badChecksum[29] ^= 0xFF;  // the header chunk's checksum
  refused(badChecksum, "damaged PNG image");
  EXPECT_FALSE(readPngSize(withWidth(png, 40000)).ok());

  // Every truncation and every flipped byte gives a picture or a message, never a crash.
  for (std::size_t length = 0; length < png.size(); ++length) {
    const std::vector<unsigned char> cut(png.begin(), png.begin() + static_cast<long>(length));
    const PngResult<PngPicture> decoded = decodePng(cut);
    EXPECT_TRUE(decoded.ok() || !decoded.error.empty()) << length;
  }
  for (std::size_t at = 0; at < png.size(); ++at) {
    std::vector<unsigned char> flipped = png;
    flipped[at] ^= 0x5A;
    const PngResult<PngPicture> decoded = decodePng(flipped);
    if (decoded.ok()) {
      EXPECT_EQ(decoded.value->argb.size(),
                static_cast<std::size_t>(decoded.value->size.width) *
                    static_cast<std::size_t>(decoded.value->size.height));
    } else {
      EXPECT_FALSE(decoded.error.empty()) << at;
    }
  }
}

}  // namespace
}  // namespace sqhost::io
