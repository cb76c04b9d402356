// Writing rendered views as PNG files: the content written, and failures that leave files alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "render/render_test_support.hpp"
#include "render/view_renderer.hpp"
#include "support/host_fixture.hpp"

namespace sqhost::render {
namespace {

namespace fs = std::filesystem;
using testing::documentOf;
using testing::kRed;
using testing::pixelIs;
using testing::viewAt;

std::vector<unsigned char> bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t entries(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(PngOutput, WritesTheRenderedView) {
  sqtest::TempDir dir;
  const fs::path file = dir.path() / "view.png";
  const Document doc = documentOf(R"(<rect x="10" y="10" width="20" height="20" fill="red"/>)");
  const View view = viewAt(2, 120, 80);
  ASSERT_EQ(renderViewToPng(doc, view, {}, file), "");
  const Raster read = Raster::fromPng(bytesOf(file));
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(read.width(), 120);
  EXPECT_EQ(read.height(), 80);
  EXPECT_TRUE(pixelIs(read, 40, 40, kRed));
  EXPECT_EQ(entries(dir.path()), 1u);  // no temporary file left behind
}

TEST(PngOutput, FailuresLeaveExistingFilesUntouched) {
  sqtest::TempDir dir;
  const fs::path file = dir.path() / "keep.png";
  {
    std::ofstream out(file, std::ios::binary);
    out << "previous contents";
  }
  const Document doc = documentOf("");
  View bad = viewAt(1);
  bad.height = -5;
  const std::string renderError = renderViewToPng(doc, bad, {}, file);
  EXPECT_NE(renderError.find(file.string()), std::string::npos) << renderError;
  EXPECT_EQ(sqtest::readFile(file), "previous contents");

  // A target that cannot be replaced (a folder) fails at the rename; nothing is left over.
  const fs::path folder = dir.path() / "folder.png";
  fs::create_directory(folder);
  fs::path inside = folder / "x";
  std::ofstream(inside) << "x";
  const std::string renameError = renderViewToPng(doc, viewAt(1), {}, folder);
  EXPECT_NE(renameError, "");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(sqtest::readFile(inside), "x");
  EXPECT_EQ(entries(dir.path()), 2u);

  EXPECT_NE(renderViewToPng(doc, viewAt(1), {}, dir.path() / "missing" / "a.png"), "");
  EXPECT_EQ(sqtest::readFile(file), "previous contents");
}

}  // namespace
}  // namespace sqhost::render
