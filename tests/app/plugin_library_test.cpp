// Loading plug-in libraries: the property list, and clear errors for what cannot be loaded.
#include "app/plugin_library.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "app/suite_registry.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/plugin_properties.h"

namespace {

TEST(PluginLibraryTest, RealPluginDeclaresItselfAndItsEntryPoint) {
  std::string error;
  auto lib = sqhost::PluginLibrary::open(SQ_PLUGIN_PATH, error);
  ASSERT_TRUE(lib) << error;
  EXPECT_EQ(lib->properties().kind, kSPPluginKind);
  EXPECT_EQ(lib->properties().interfaceVersion, 2);
  EXPECT_EQ(lib->properties().entryName, "PluginMain");
  EXPECT_EQ(lib->properties().name, "Spindlequiver");
  EXPECT_NE(lib->entry(), nullptr);
  // The keys are stored as little-endian 32-bit values: 'kind' appears as "dnik".
  const auto& bytes = lib->resources().propertyList;
  const std::string raw(bytes.begin(), bytes.end());
  EXPECT_NE(raw.find("dnik"), std::string::npos);
  EXPECT_NE(raw.find("AEPS"), std::string::npos);
  EXPECT_EQ(lib->resources().stringLists.at(16050).at(5), "<Others>");

  lib->unload();
  EXPECT_FALSE(lib->loaded());
  EXPECT_EQ(lib->entry(), nullptr);
  ASSERT_TRUE(lib->reload(error)) << error;
  EXPECT_NE(lib->entry(), nullptr);
}

TEST(PluginLibraryTest, MissingFileAndLibrariesThatAreNoPluginsAreNamed) {
  std::string error;
  EXPECT_FALSE(sqhost::PluginLibrary::open("/nonexistent/plugin.so", error));
  EXPECT_NE(error.find("not found"), std::string::npos) << error;

  // A shared library without a resource table.
  const std::string platform = SQ_PLATFORM_LIBRARY_PATH;
  EXPECT_FALSE(sqhost::PluginLibrary::open(platform, error));
  EXPECT_NE(error.find("no resource table"), std::string::npos) << error;

  // A file that is not a library at all.
  EXPECT_FALSE(sqhost::PluginLibrary::open(SQ_SOURCE_DIR "/CMakeLists.txt", error));
  EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
}

// Builds a property list in the published layout, with the given kind, version and entry name.
std::vector<unsigned char> propertyList(uint32_t kind, int32_t version, const char* entry) {
  std::vector<unsigned char> out;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
  };
  u32(0);
  u32(3);
  u32(kSPPropertyVendor), u32(kSPKindProperty), u32(0), u32(4), u32(kind);
  u32(kSPPropertyVendor), u32(kSPInterfaceVersionProperty), u32(0), u32(4), u32(version);
  u32(kSPPropertyVendor), u32(kSPCodeProperty), u32(0), u32(32), u32(kSPCodeProcessorX86_64);
  for (int i = 0; i < 28; ++i) out.push_back(i < 10 && entry[i] ? entry[i] : 0);
  return out;
}

TEST(PropertyListTest, ParsesKindVersionAndEntryAndRejectsDamage) {
  auto bytes = propertyList(kSPPluginKind, 2, "PluginMain");
  auto parsed = sqhost::parsePropertyList(bytes.data(), bytes.size());
  ASSERT_TRUE(parsed.properties) << parsed.error;
  EXPECT_EQ(parsed.properties->kind, kSPPluginKind);
  EXPECT_EQ(parsed.properties->interfaceVersion, 2);
  EXPECT_EQ(parsed.properties->entryName, "PluginMain");

  // Cut short: the last property runs past the end.
  parsed = sqhost::parsePropertyList(bytes.data(), bytes.size() - 8);
  EXPECT_FALSE(parsed.properties);
  EXPECT_NE(parsed.error.find("'code'"), std::string::npos) << parsed.error;

  parsed = sqhost::parsePropertyList(bytes.data(), 4);
  EXPECT_FALSE(parsed.properties);
}

TEST(SuiteRegistryTest, UseCountsFollowAcquireAndRelease) {
  sqhost::SuiteRegistry registry;
  const int table = 0;
  registry.add("X Suite", 2, &table);
  const void* out = &table;
  EXPECT_EQ(registry.acquire("X Suite", 3, &out), kSPSuiteNotFoundError);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(registry.acquire("X Suite", 2, &out), kNoErr);
  EXPECT_EQ(registry.acquire("X Suite", 2, &out), kNoErr);
  EXPECT_EQ(registry.useCount("X Suite", 2), 2);
  EXPECT_EQ(registry.release("X Suite", 2), kNoErr);
  EXPECT_EQ(registry.release("X Suite", 2), kNoErr);
  EXPECT_EQ(registry.release("X Suite", 2), kBadParameterErr);
  EXPECT_EQ(registry.release("Y Suite", 1), kSPSuiteNotFoundError);
  EXPECT_EQ(registry.totalUseCount(), 0);
}

}  // namespace
