// Helpers of the rendering tests: documents from SVG snippets, views and pixel checks.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "document/document.hpp"
#include "render/raster.hpp"
#include "svg/svg_io.hpp"
#include "views/view.hpp"

namespace sqhost::render::testing {

// A document from the body of a 100 x 100 SVG drawing (artwork h = x, v = -y).
inline Document documentOf(const std::string& body) {
  const std::string text =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" "
      "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
      "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "xmlns:sq=\"urn:spindlequiver:host\" viewBox=\"0 0 100 100\">" +
      body + "</svg>";
  svg::ImportResult result = svg::importSvg(text);
  EXPECT_TRUE(result.ok()) << result.error;
  return result.ok() ? std::move(*result.document) : Document();
}

// The same document as the host's own model only, without the text it was read from: painted by
// the host's painter, as a new document is.
inline Document modelOnlyDocumentOf(const std::string& body) {
  Document doc = documentOf(body);
  doc.setSource(nullptr);
  return doc;
}

// A view of width x height pixels at the zoom whose top-left pixel shows artwork (0, 0), so
// that view pixels are SVG user units times the zoom.
inline View viewAt(float zoom, int32_t width = 100, int32_t height = 100) {
  View view;
  view.width = width;
  view.height = height;
  view.zoom = zoom;
  view.center = {static_cast<float>(width) / (2 * zoom), -static_cast<float>(height) / (2 * zoom)};
  return view;
}

inline constexpr Rgba kWhite{255, 255, 255, 255};
inline constexpr Rgba kRed{255, 0, 0, 255};
inline constexpr Rgba kBlue{0, 0, 255, 255};

inline std::string text(const Rgba& c) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "(%d, %d, %d, %d)", c.r, c.g, c.b, c.a);
  return buffer;
}

inline ::testing::AssertionResult pixelIs(const Raster& raster, int x, int y, const Rgba& want) {
  const Rgba got = raster.pixel(x, y);
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "pixel (" << x << ", " << y << ") is " << text(got) << ", not " << text(want);
}

}  // namespace sqhost::render::testing
