// Helpers shared by the SVG tests: fixture loading and lookup of art by name.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <pugixml.hpp>
#include <string>
#include <vector>

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

// The elements of two texts that differ, compared as XML trees: "path#wave@d" for an attribute,
// "+path#new" and "-path#old" for elements only one side has (matched by id, else by position).
inline std::vector<std::string> treeDifferences(const std::string& before,
                                                const std::string& after) {
  pugi::xml_document a, b;
  EXPECT_TRUE(a.load_string(before.c_str()));
  EXPECT_TRUE(b.load_string(after.c_str()));
  std::vector<std::string> out;
  auto label = [](pugi::xml_node n) {
    return std::string(n.name()) + "#" + n.attribute("id").value();
  };
  std::function<void(pugi::xml_node, pugi::xml_node)> compare = [&](pugi::xml_node x,
                                                                    pugi::xml_node y) {
    for (pugi::xml_attribute at : x.attributes()) {
      pugi::xml_attribute other = y.attribute(at.name());
      if (!other || std::string(other.value()) != at.value()) {
        out.push_back(label(x) + "@" + at.name());
      }
    }
    for (pugi::xml_attribute at : y.attributes()) {
      if (!x.attribute(at.name())) out.push_back(label(x) + "@" + at.name());
    }
    std::vector<pugi::xml_node> xs, ys;
    for (pugi::xml_node c : x.children()) {
      if (c.type() == pugi::node_element) xs.push_back(c);
    }
    for (pugi::xml_node c : y.children()) {
      if (c.type() == pugi::node_element) ys.push_back(c);
    }
    std::size_t j = 0;
    for (pugi::xml_node c : xs) {
      std::string id = c.attribute("id").value();
      std::size_t found = ys.size();
      for (std::size_t k = j; k < ys.size(); ++k) {
        if (std::string(ys[k].attribute("id").value()) == id) {
          found = k;
          break;
        }
      }
      if (found == ys.size()) {
        out.push_back("-" + label(c));
        continue;
      }
      for (; j < found; ++j) out.push_back("+" + label(ys[j]));
      if (std::string(c.name()) != ys[j].name()) out.push_back(label(c) + ">" + ys[j].name());
      compare(c, ys[j++]);
    }
    for (; j < ys.size(); ++j) out.push_back("+" + label(ys[j]));
  };
  compare(a.document_element(), b.document_element());
  return out;
}

}  // namespace sqhost::testing
