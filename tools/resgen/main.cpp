// sq_resgen: draws the tool's cursors and pictures and writes them as PNG files and C++ fragments.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "catalogue.hpp"

namespace {

void writeFile(const std::filesystem::path& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Draws the tool's cursors and pictures as PNG files and C++ resource fragments."};
  std::string imagesDir;
  std::string generatedDir;
  std::string fontPath = sq::resgen::kDefaultFontPath;
  app.add_option("--images", imagesDir, "directory for the PNG files")->required();
  app.add_option("--generated", generatedDir, "directory for image_data.inc and image_entries.inc")
      ->required();
  app.add_option("--font", fontPath, "TrueType font for the label texts")->capture_default_str();
  CLI11_PARSE(app, argc, argv);

  try {
    const sq::resgen::OutlineFont font(fontPath);
    const auto resources = sq::resgen::buildResources(font);
    std::filesystem::create_directories(imagesDir);
    std::filesystem::create_directories(generatedDir);
    size_t total = 0;
    for (const auto& resource : resources) {
      writeFile(std::filesystem::path(imagesDir) / resource.fileName, resource.png.data(),
                resource.png.size());
      total += resource.png.size();
    }
    const std::string data = sq::resgen::imageDataFragment(resources);
    const std::string entries = sq::resgen::imageEntriesFragment(resources);
    writeFile(std::filesystem::path(generatedDir) / "image_data.inc", data.data(), data.size());
    writeFile(std::filesystem::path(generatedDir) / "image_entries.inc", entries.data(),
              entries.size());
    std::printf("%zu resources, %zu PNG bytes\n", resources.size(), total);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "sq_resgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
