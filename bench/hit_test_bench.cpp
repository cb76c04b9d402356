// Hit testing and cursor snapping in a document of 10,000 paths with 200,000 segments in all.
#include <benchmark/benchmark.h>

#include <random>
#include <stdexcept>
#include <string>

#include "hittest/hit_test.hpp"
#include "hittest/snap.hpp"
#include "svg/svg_io.hpp"
#include "svg/svg_values.hpp"

namespace {

constexpr int kPaths = 10'000;
constexpr int kSegmentsPerPath = 20;

// Closed wandering paths of cubic segments over a 2000 x 2000 area in four layers; every tenth
// path is selected, so its handles are shown too.
sqhost::Document makeDocument() {
  std::mt19937 rng(42);
  std::uniform_real_distribution<float> coord(0, 2000), offset(-30, 30);
  auto f = [](float v) { return sqhost::svg::formatFloat(v); };
  std::string svg =
      "<svg xmlns='http://www.w3.org/2000/svg' xmlns:sq='urn:spindlequiver:host' "
      "xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape' viewBox='0 0 2000 2000'>";
  for (int layer = 0; layer < 4; ++layer) {
    svg += "<g inkscape:groupmode='layer'>";
    for (int p = 0; p < kPaths / 4; ++p) {
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

const sqhost::Document& document() {
  static const sqhost::Document doc = makeDocument();
  return doc;
}

// A point on a path in the middle of the area (a curve hit), and one between paths.
void BM_HitTest(benchmark::State& state, AIRealPoint point) {
  const sqhost::Document& doc = document();
  sqhost::View view;
  view.zoom = 1;
  const sqhost::HitRequest request{point, 6, sqhost::kNoId};
  std::size_t hits = 0;
  for (auto _ : state) {
    auto hit = sqhost::hitTest(doc, view, request);
    hits += hit.has_value();
    benchmark::DoNotOptimize(hit);
  }
  state.counters["hit"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}

void BM_SnapToAnchor(benchmark::State& state) {
  const sqhost::Document& doc = document();
  sqhost::View view;
  view.zoom = 1;
  view.smartGuides = true;
  const sqhost::SnapControl control = sqhost::parseSnapControl("AP v i o");
  for (auto _ : state) {
    benchmark::DoNotOptimize(sqhost::snapCursor(doc, view, {1000, -1000}, control, {}, 6));
  }
}

}  // namespace

BENCHMARK_CAPTURE(BM_HitTest, at_a_point, AIRealPoint{1000, -1000})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_HitTest, far_outside, AIRealPoint{5000, 5000})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SnapToAnchor)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
