// Matching art sets in a document of 10,000 paths with 200,000 segments, through the suite.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "app/host.hpp"
#include "sqsdk/suites/ai_art_set.h"

namespace {

constexpr int kLayers = 4;
constexpr int kPaths = 10'000;
constexpr int kSegmentsPerPath = 20;
constexpr int kPathsPerGroup = 10;

// Four layers of groups of ten closed paths; every selectEvery-th path has its anchors selected.
sqhost::Document makeDocument(int selectEvery) {
  std::mt19937 rng(42);
  std::uniform_real_distribution<float> coord(0, 2000), offset(-30, 30);
  sqhost::Document doc;
  int made = 0;
  for (int l = 0; l < kLayers; ++l) {
    sqhost::LayerProps props;
    props.name = "Layer " + std::to_string(l + 1);
    const sqhost::LayerId layer = doc.insertLayer(doc.layerCount(), props).value;
    const sqhost::ArtId top = doc.findLayer(layer)->group().id();
    for (int g = 0; g < kPaths / kLayers / kPathsPerGroup; ++g) {
      const sqhost::ArtId group = doc.createArt(sqhost::ArtType::kGroup, top, 0).value;
      for (int p = 0; p < kPathsPerGroup; ++p, ++made) {
        auto path = sqhost::Art::create(sqhost::ArtType::kPath);
        std::vector<AIPathSegment> segments;
        float x = coord(rng), y = coord(rng);
        for (int s = 0; s < kSegmentsPerPath; ++s) {
          x += offset(rng);
          y += offset(rng);
          segments.push_back({{x, y}, {x - 5, y - 5}, {x + 5, y + 5}, 0});
        }
        path->insertSegments(0, segments);
        path->setClosed(true);
        if (made % selectEvery == 0) path->setSelected(true);
        doc.insertArt(group, 0, std::move(path));
      }
    }
  }
  return doc;
}

// Matches with the document unchanged since the last match (the list is shared), or changed
// before each match (the document is walked again).
void runMatch(benchmark::State& state, int selectEvery, bool changeEach = false) {
  sqhost::HostOptions options;
  options.preferenceFile = std::filesystem::temp_directory_path() / "sq-art-set-bench.json";
  auto host = std::make_unique<sqhost::Host>(options);
  host->openDocument(makeDocument(selectEvery));
  const void* table = nullptr;
  if (host->basicSuite()->AcquireSuite(kAIArtSetSuite, kAIArtSetSuiteVersion, &table) != kNoErr) {
    state.SkipWithError("no art set suite");
    return;
  }
  const auto* sets = static_cast<const AIArtSetSuite*>(table);
  AIArtSet set = nullptr;
  sets->NewArtSet(&set);
  const AIArtMatchRule selected{kAIAnyArt, kAIArtSelected, kAIArtSelected};
  int32_t count = 0;
  sqhost::Document& doc = *host->currentDocument();
  const sqhost::ArtId some = doc.layer(0).group().child(0).id();
  for (auto _ : state) {
    if (changeEach) doc.modifyArt(some);
    sets->MatchingArtSet(set, &selected, 1);
    sets->CountArtSet(set, &count);
    benchmark::DoNotOptimize(count);
  }
  sets->DisposeArtSet(set);
  state.counters["matched"] = count;
}

// A tenth of the paths selected (with their groups), and every path selected.
void BM_MatchSelectedTenth(benchmark::State& state) {
  runMatch(state, 10);
}
void BM_MatchSelectedAll(benchmark::State& state) {
  runMatch(state, 1);
}
void BM_MatchSelectedTenthAfterChange(benchmark::State& state) {
  runMatch(state, 10, true);
}
BENCHMARK(BM_MatchSelectedTenth)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MatchSelectedAll)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MatchSelectedTenthAfterChange)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
