// Large documents for benchmarks: closed wandering paths of 20 cubic segments each, in four layers.
#pragma once

#include <random>
#include <stdexcept>
#include <string>

#include "svg/svg_io.hpp"
#include "svg/svg_values.hpp"

namespace sqbench {

inline constexpr int kPaths = 10'000;  // 200,000 segments
inline constexpr int kSegmentsPerPath = 20;

// paths paths (a multiple of four) over a 2000 x 2000 area in four layers; every tenth path is
// selected, so its anchors are. The same seed gives the same document on every run.
inline sqhost::Document makeRandomDocument(int paths = kPaths) {
  std::mt19937 rng(42);
  std::uniform_real_distribution<float> coord(0, 2000), offset(-30, 30);
  auto f = [](float v) { return sqhost::svg::formatFloat(v); };
  std::string svg =
      "<svg xmlns='http://www.w3.org/2000/svg' xmlns:sq='urn:spindlequiver:host' "
      "xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape' viewBox='0 0 2000 2000'>";
  for (int layer = 0; layer < 4; ++layer) {
    svg += "<g inkscape:groupmode='layer'>";
    for (int p = 0; p < paths / 4; ++p) {
      float x = coord(rng), y = coord(rng);
      std::string d = "M " + f(x) + "," + f(y);
      for (int s = 1; s < kSegmentsPerPath; ++s) {
        x += offset(rng);
        y += offset(rng);
        d += " C " + f(x + offset(rng)) + "," + f(y + offset(rng)) + " " + f(x - 5) + "," +
             f(y - 5) + " " + f(x) + "," + f(y);
      }
      svg += "<path d='" + d + " Z'" + (p % 10 == 0 ? " sq:selected='1'" : "") + "/>";
    }
    svg += "</g>";
  }
  svg += "</svg>";
  sqhost::svg::ImportResult r = sqhost::svg::importSvg(svg);
  if (!r.ok()) throw std::runtime_error(r.error);
  return std::move(*r.document);
}

}  // namespace sqbench
