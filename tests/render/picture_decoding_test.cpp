// Decoding pictures into rasters: the plug-in's pictures give the pixels they always gave, and a
// picture is decoded when it is first drawn, not when the plug-in starts.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/plugin_library.hpp"
#include "io/png_decoder.hpp"
#include "render/drawer.hpp"
#include "render/icon_image.hpp"
#include "render/raster.hpp"
#include "render/render_test_support.hpp"
#include "render/view_renderer.hpp"
#include "sqsdk/suites/adm_drawer.h"
#include "support/host_fixture.hpp"

namespace sqhost::render {
namespace {

// FNV-1a over the size and every stored (premultiplied ARGB) pixel word.
uint64_t checksum(const Raster& raster) {
  uint64_t hash = 1469598103934665603ull;
  const auto mix = [&hash](uint32_t word) {
    for (int i = 0; i < 4; ++i) {
      hash ^= (word >> (8 * i)) & 0xFF;
      hash *= 1099511628211ull;
    }
  };
  mix(static_cast<uint32_t>(raster.width()));
  mix(static_cast<uint32_t>(raster.height()));
  cairo_surface_flush(raster.surface());
  const unsigned char* data = cairo_image_surface_get_data(raster.surface());
  const int stride = cairo_image_surface_get_stride(raster.surface());
  for (int y = 0; y < raster.height(); ++y) {
    for (int x = 0; x < raster.width(); ++x) {
      uint32_t word = 0;
      std::memcpy(&word, data + std::ptrdiff_t{y} * stride + std::ptrdiff_t{x} * 4, sizeof word);
      mix(word);
    }
  }
  return hash;
}

struct Expected {
  int32_t id;
  int32_t index;  // -1 for a cursor
  uint64_t checksum;
};

// What the earlier decoder (Cairo's PNG reader) made of each picture of the plug-in.
constexpr Expected kPluginPictures[] = {
    {16051, 0, 0xedbe182d4cd24907ull},
    {16056, 0, 0x02831fa6ab71e04bull},
    {16082, 0, 0x7540e4a2926425c1ull},
    {16082, 1, 0x7fa15f7397198283ull},
    {16082, 2, 0x16dd3e03b73e1b45ull},
    {16082, 3, 0xd29673f1697a091bull},
    {16082, 4, 0xccb597772dc183ddull},
    {16082, 5, 0x63c57e4bb9149f99ull},
    {16091, 0, 0x807e76709679cef5ull},
    {16091, 1, 0x26fa4f11151d4bc3ull},
    {16091, 2, 0xa64eacdc9fe5e0afull},
    {16091, 3, 0x23a18a093c7952b1ull},
    {16091, 4, 0xf6f372bc6deb1da5ull},
    {16091, 5, 0x2da8b6867101237full},
    {16091, 6, 0x3bb25902a85f9bb9ull},
    {16091, 7, 0x03692419af25b8e9ull},
    {16091, 8, 0xb901826e64a0b5cbull},
    {16091, 9, 0x3eae27bed714f86bull},
    {16091, 10, 0x30a02c13e0042eb9ull},
    {16091, 11, 0x3cbccd4981c37925ull},
    {16091, 12, 0xf5f1562c3f0ced83ull},
    {16091, 13, 0x068b4edca4156ee3ull},
    {16091, 14, 0x40c072f0b62e672bull},
    {16091, 15, 0x42c2ff021b7e7631ull},
    {16091, 16, 0x3d48e211e72c6a23ull},
    {16091, 17, 0x16e9bf6d6d02fd93ull},
    {16091, 18, 0xc29956d134e6e58dull},
    {16091, 19, 0xef874badca67e045ull},
    {16091, 20, 0x713e6e8c33c61eddull},
    {16091, 21, 0x105852b7cadbfdc7ull},
    {16091, 22, 0x627e7caa97ce0569ull},
    {16091, 23, 0x96248aa5c800228bull},
    {16091, 24, 0xd4f264457ceb1953ull},
    {16091, 25, 0xc489b0804b348b97ull},
    {16091, 26, 0x370288ddb7fa9937ull},
    {16091, 27, 0xf241a7477abba0b3ull},
    {16091, 28, 0xf4b72be953119765ull},
    {16091, 29, 0x8d7942921adf9485ull},
    {16091, 30, 0xa7f2e73ca9a39241ull},
    {16091, 31, 0xbcdb3e127d11b277ull},
    {16091, 32, 0x7b1b83960c6b05afull},
    {16091, 33, 0xfeda754e8c94d3e5ull},
    {16091, 34, 0xa908fcc92d045169ull},
    {16091, 35, 0x8a36211e7b31f22full},
    {16127, 0, 0xd9ec9dc5e8cf2013ull},
    {16000, -1, 0x0bb390df331a2b2aull},
    {16001, -1, 0x62d2d17782f3509full},
    {16002, -1, 0x8312a15a7da60587ull},
    {16003, -1, 0x726a808f70383cc6ull},
    {16004, -1, 0xb3ebdfc0da606846ull},
    {16005, -1, 0xbc87c5d0b4d9fbc3ull},
    {16006, -1, 0x6e745d292e36111aull},
    {16007, -1, 0xa0fff39ffefedc7bull},
    {16008, -1, 0xe5a3992eccd422f6ull},
    {16009, -1, 0xf20acbbd5f80b9abull},
    {16010, -1, 0x658476854e3453baull},
    // The point editor panel's pictures.
    {16052, 0, 0x6d003d8683277861ull},
    {16053, 0, 0x4eaf1e0bc798d257ull},
    {16054, 0, 0xc07f3e2b7b0759a9ull},
    {16055, 0, 0x4eb560f94c9d5e61ull},
    {16059, 0, 0x8c4b089ad3d7a478ull},
    {16060, 0, 0x04f55e351164e7d1ull},
    {16061, 0, 0xae7c25daf1559414ull},
    {16062, 0, 0x4bc617a99cdc6855ull},
    {16063, 0, 0xf6e3af374503c9e4ull},
    {16064, 0, 0x9bc31c693c8e8d0full},
    {16065, 0, 0xddc2cb0b2f085534ull},
    {16066, 0, 0x1277031004ed0334ull},
    {16067, 0, 0x10ca815b2b927ba1ull},
    {16068, 0, 0x070017b8b0313a08ull},
    {16069, 0, 0xdd5bc2d0763aa4beull},
    {16070, 0, 0x04ecde2c7ab17b17ull},
    {16071, 0, 0xe5a11b1b31f5cb2eull},
    {16072, 0, 0x2bbabb802e52ef3cull},
    {16073, 0, 0xd6a83aaa3bc05f74ull},
    {16074, 0, 0x61e51b370efdc69dull},
    {16075, 0, 0xdda37e9af5116ac1ull},
    {16076, 0, 0xced7289a1fe31300ull},
    {16077, 0, 0x21268af7552c4db4ull},
    {16078, 0, 0x91cf65ab8ea80eb6ull},
    {16079, 0, 0x50eecd424bb24deaull},
    {16080, 0, 0x821e814d6fc95b2dull},
    {16081, 0, 0x4dbb520d9b8a4535ull},
    {16088, 0, 0x95fb11dba031cf11ull},
    {16089, 0, 0xb5b8420b33a13e31ull},
    {16090, 0, 0xb25b44c066689809ull},
};

TEST(PictureDecoding, ThePluginsPicturesKeepTheirPixels) {
  std::string error;
  const auto library = PluginLibrary::open(SQ_PLUGIN_PATH, error);
  ASSERT_TRUE(library) << error;
  const PluginResources& resources = library->resources();
  ASSERT_EQ(resources.images.size() + resources.cursors.size(), std::size(kPluginPictures));
  for (const Expected& expected : kPluginPictures) {
    SCOPED_TRACE(std::to_string(expected.id) + ":" + std::to_string(expected.index));
    const bool cursor = expected.index < 0;
    ASSERT_TRUE(cursor ? resources.cursors.contains(expected.id)
                       : resources.images.contains({expected.id, expected.index}));
    const std::vector<unsigned char>& png =
        cursor ? resources.cursors.at(expected.id).png
               : resources.images.at({expected.id, expected.index});
    const Raster raster = Raster::fromPng(png);
    ASSERT_TRUE(raster.ok()) << raster.error();
    EXPECT_EQ(checksum(raster), expected.checksum);
  }
}

// A 7 x 5 picture in one of libpng's layouts, with every byte value spread over it.
std::vector<unsigned char> encoded(png_uint_32 format) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 7;
  image.height = 5;
  image.format = format;
  std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = static_cast<unsigned char>((i * 37 + 11) % 256);
  }
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::vector<unsigned char> out(size);
  EXPECT_NE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr), 0)
      << image.message;
  out.resize(size);
  return out;
}

TEST(PictureDecoding, GreyOpaqueAndTranslucentLayoutsKeepTheirPixels) {
  // Opaque pictures, which the earlier decoder read into another surface format first, and grey
  // ones, which it widened to colour.
  const std::pair<png_uint_32, uint64_t> layouts[] = {
      {PNG_FORMAT_GRAY, 0xe0e123648a99d32eull},
      {PNG_FORMAT_GA, 0xcdf3fc130e083effull},
      {PNG_FORMAT_RGB, 0x1af54d523372b2b5ull},
      {PNG_FORMAT_RGBA, 0x6e27f979495d9a8eull},
  };
  for (const auto& [format, expected] : layouts) {
    SCOPED_TRACE(format);
    const Raster raster = Raster::fromPng(encoded(format));
    ASSERT_TRUE(raster.ok()) << raster.error();
    EXPECT_EQ(checksum(raster), expected);
  }
}

class PictureTiming : public sqtest::HostTest {};

TEST_F(PictureTiming, StartUpDecodesNoPictureAndDrawingOneDecodesItOnce) {
  const std::size_t before = io::pngDecodeCount();
  Host& host = startHost();
  // The plug-in loaded its pictures at start-up: their sizes are known, their pixels are not.
  EXPECT_EQ(io::pngDecodeCount(), before);

  constexpr int32_t kRingPicture = 16056;
  AIErr error = kNoErr;
  const std::shared_ptr<const IconImage> ring = host.dialogs().loadImage(kRingPicture, 0, error);
  ASSERT_TRUE(ring) << error;
  EXPECT_GT(ring->width, 0);
  EXPECT_FALSE(ring->decoded());
  EXPECT_EQ(io::pngDecodeCount(), before);

  DisplayList list;
  Drawer drawer(list, AIRect{0, 0, 100, 100}, AIRect{0, 0, 100, 100}, AIPoint{0, 0}, kADMDialogFont,
                kTransparentRGBA);
  drawer.icon(ring, AIPoint{10, 10});
  RenderOptions options;
  options.annotations = &list;
  const Document document = testing::documentOf("");
  for (int paint = 0; paint < 3; ++paint) {
    const Raster painted = renderView(document, testing::viewAt(1), options);
    ASSERT_TRUE(painted.ok()) << painted.error();
    EXPECT_EQ(io::pngDecodeCount(), before + 1) << "paint " << paint;
  }
  EXPECT_TRUE(ring->decoded());
  EXPECT_EQ(ring->raster().width(), ring->width);
}

}  // namespace
}  // namespace sqhost::render
