// Helpers shared by the SVG tests: fixture loading and lookup of art by name.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "document/document.hpp"
#include "svg/svg_io.hpp"

namespace sqhost::testing {

inline std::string fixturePath(const std::string& name) {
  return std::string(SQ_SOURCE_DIR) + "/tests/fixtures/svg/" + name;
}

inline Document openFixture(const std::string& name) {
  svg::ImportResult result = svg::importSvgFile(fixturePath(name));
  EXPECT_TRUE(result.ok()) << result.error;
  return result.ok() ? std::move(*result.document) : Document();
}

inline const Art* findNamed(const Art& art, const std::string& name) {
  if (art.name() == name) return &art;
  for (std::size_t i = 0; i < art.childCount(); ++i) {
    if (const Art* found = findNamed(art.child(i), name)) return found;
  }
  return nullptr;
}

inline const Art& named(const Document& doc, const std::string& name) {
  for (std::size_t i = 0; i < doc.layerCount(); ++i) {
    if (const Art* found = findNamed(doc.layer(i).group(), name)) return *found;
  }
  ADD_FAILURE() << "no art named " << name;
  static const auto kNothing = Art::create(ArtType::kGroup);
  return *kNothing;
}

inline ::testing::AssertionResult pointIs(const AIRealPoint& p, float h, float v) {
  if (p.h == h && p.v == v) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << p.h << ", " << p.v << ") is not (" << h << ", " << v << ")";
}

inline ::testing::AssertionResult pointNear(const AIRealPoint& p, float h, float v,
                                            float tolerance = 1e-3f) {
  if (std::abs(p.h - h) <= tolerance && std::abs(p.v - v) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "(" << p.h << ", " << p.v << ") is not near (" << h << ", " << v << ")";
}

}  // namespace sqhost::testing
