// Opening (and saving) an SVG of 10,000 paths with 200,000 segments in all, generated in memory.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "svg/svg_io.hpp"
#include "svg/svg_values.hpp"

namespace {

constexpr int kPaths = 10'000;
constexpr int kSegmentsPerPath = 20;  // anchors: the move-to and 19 curves

// Closed paths of smooth cubic segments with node types and some selection, in four layers.
std::string makeSvg() {
  std::mt19937 rng(42);
  std::uniform_real_distribution<float> coord(0, 2000), offset(-30, 30);
  std::string svg =
      "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
      "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
      "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" "
      "xmlns:sq=\"urn:spindlequiver:host\" width=\"2000\" height=\"2000\" viewBox=\"0 0 2000 "
      "2000\">\n";
  for (int layer = 0; layer < 4; ++layer) {
    svg +=
        "<g inkscape:groupmode=\"layer\" inkscape:label=\"Layer " + std::to_string(layer) + "\">\n";
    for (int p = 0; p < kPaths / 4; ++p) {
      float x = coord(rng), y = coord(rng);
      std::string d = "M " + sqhost::svg::formatFloat(x) + "," + sqhost::svg::formatFloat(y);
      for (int s = 1; s < kSegmentsPerPath; ++s) {
        x += offset(rng);
        y += offset(rng);
        d += " C " + sqhost::svg::formatFloat(x + offset(rng)) + "," +
             sqhost::svg::formatFloat(y + offset(rng)) + " " + sqhost::svg::formatFloat(x - 5) +
             "," + sqhost::svg::formatFloat(y - 5) + " " + sqhost::svg::formatFloat(x) + "," +
             sqhost::svg::formatFloat(y);
      }
      d += " Z";
      svg +=
          "<path d=\"" + d + "\" sodipodi:nodetypes=\"" + std::string(kSegmentsPerPath, 's') + "\"";
      if (p % 10 == 0) svg += " sq:selected=\"1\"";
      svg += " style=\"fill:none;stroke:#000000;stroke-width:1\"/>\n";
    }
    svg += "</g>\n";
  }
  svg += "</svg>\n";
  return svg;
}

const std::string& bigSvg() {
  static const std::string svg = makeSvg();
  return svg;
}

void BM_OpenSvg(benchmark::State& state) {
  const std::string& svg = bigSvg();
  std::size_t segments = 0;
  for (auto _ : state) {
    sqhost::svg::ImportResult result = sqhost::svg::importSvg(svg);
    if (!result.ok()) {
      state.SkipWithError(result.error.c_str());
      return;
    }
    segments = 0;
    for (std::size_t l = 0; l < result.document->layerCount(); ++l) {
      const sqhost::Art& top = result.document->layer(l).group();
      for (std::size_t i = 0; i < top.childCount(); ++i) segments += top.child(i).path().size();
    }
    benchmark::DoNotOptimize(result);
  }
  state.counters["segments"] = static_cast<double>(segments);
  state.counters["MB"] = static_cast<double>(svg.size()) / 1e6;
}
BENCHMARK(BM_OpenSvg)->Unit(benchmark::kMillisecond);

void BM_SaveSvg(benchmark::State& state) {
  sqhost::svg::ImportResult result = sqhost::svg::importSvg(bigSvg());
  if (!result.ok()) {
    state.SkipWithError(result.error.c_str());
    return;
  }
  for (auto _ : state) {
    std::string text = sqhost::svg::exportSvg(*result.document);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_SaveSvg)->Unit(benchmark::kMillisecond);

void BM_CopyDocument(benchmark::State& state) {
  sqhost::svg::ImportResult result = sqhost::svg::importSvg(bigSvg());
  if (!result.ok()) {
    state.SkipWithError(result.error.c_str());
    return;
  }
  for (auto _ : state) {
    sqhost::Document copy = *result.document;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_CopyDocument)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
