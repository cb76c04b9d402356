// Hit testing and cursor snapping in a document of 10,000 paths with 200,000 segments in all,
// with the document unchanged and right after a change.
#include <benchmark/benchmark.h>

#include <span>

#include "hittest/hit_test.hpp"
#include "hittest/snap.hpp"
#include "random_document.hpp"

namespace {

const sqhost::Document& document() {
  static const sqhost::Document doc = sqbench::makeRandomDocument();
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

// A hit test right after a change: one path moved (the index walks the document and moves one
// entry), or one path put one place lower or higher in its layer (the index is built again).
void BM_HitTestAfterChange(benchmark::State& state, bool structural) {
  static sqhost::Document doc = sqbench::makeRandomDocument();
  sqhost::View view;
  view.zoom = 1;
  const sqhost::HitRequest request{{1000, -1000}, 6, sqhost::kNoId};
  const sqhost::Art& layer = doc.layer(0).group();
  const sqhost::ArtId path = layer.child(layer.childCount() / 2).id();
  const std::size_t index = layer.childCount() / 2;
  float shift = 1;
  for (auto _ : state) {
    if (structural) {
      doc.insertArt(layer.id(), index + (shift > 0 ? 1 : 0), doc.removeArt(path));
      shift = -shift;
    } else {
      AIPathSegment s = doc.findArt(path)->path().segment(0);
      s.p.h += (shift = -shift);
      doc.modifyArt(path)->setSegments(0, std::span(&s, 1));
    }
    benchmark::DoNotOptimize(sqhost::hitTest(doc, view, request));
  }
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
BENCHMARK_CAPTURE(BM_HitTestAfterChange, one_path_moved, false)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_HitTestAfterChange, one_path_reordered, true)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SnapToAnchor)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
