// Cursor tracking with the tool over a document of 10,000 paths: one mouse movement through the
// host (the Track Cursor message with the plug-in's hover hit test, then the idle annotation
// paint), against the host's own hit test at the same point measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/host.hpp"
#include "hittest/hit_test.hpp"
#include "random_document.hpp"

namespace {

struct Bench {
  std::filesystem::path preferences;
  std::unique_ptr<sqhost::Host> host;
};

Bench& bench() {
  static Bench b = [] {
    Bench made;
    made.preferences = std::filesystem::temp_directory_path() / "sq-hover-bench-preferences.json";
    std::filesystem::remove(made.preferences);
    sqhost::HostOptions options;
    options.pluginPath = SQ_PLUGIN_PATH;
    options.preferenceFile = made.preferences;
    made.host = std::make_unique<sqhost::Host>(options);
    std::string error;
    if (!made.host->start(error)) throw std::runtime_error(error);
    made.host->openDocument(sqbench::makeRandomDocument());
    sqhost::View& view = *made.host->currentView();
    view.width = 800;
    view.height = 600;
    view.zoom = 1;
    view.center = {1900,
                   -1000};  // the drawing's right edge: paths on the left, nothing on the right
    made.host->selectTool(*made.host->registrations().toolByName("Spindlequiver Tool"));
    made.host->deliverNotifications();
    return made;
  }();
  return b;
}

// An anchor of a path inside the view, and a point right of the drawing with nothing near it.
AIRealPoint anchorPoint() {
  const sqhost::Document& doc = *bench().host->currentDocument();
  const sqhost::Art& layer = doc.layer(0).group();
  for (std::size_t i = 0; i < layer.childCount(); ++i) {
    const AIRealPoint p = layer.child(i).path().segment(0).p;
    if (p.h > 1700 && p.h < 1800 && p.v < -900 && p.v > -1100) return p;
  }
  throw std::runtime_error("no anchor in the view");
}
constexpr AIRealPoint kEmptyPoint{2200, -1000};

void BM_TrackCursor(benchmark::State& state, bool overAnchor) {
  sqhost::Host& host = *bench().host;
  sqhost::Event move;
  move.kind = sqhost::Event::Kind::MouseMove;
  move.point = overAnchor ? anchorPoint() : kEmptyPoint;
  for (auto _ : state) {
    benchmark::DoNotOptimize(host.handleEvent(move));
  }
}

void BM_HostHitTest(benchmark::State& state, bool overAnchor) {
  sqhost::Host& host = *bench().host;
  const sqhost::HitRequest request{overAnchor ? anchorPoint() : kEmptyPoint, 6, sqhost::kNoId};
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        sqhost::hitTest(*host.currentDocument(), *host.currentView(), request));
  }
}

// Keeps the CPU time per iteration (ns) of every run while printing as usual.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations > 0 && run.run_type == Run::RT_Iteration) {
        nanoseconds[run.benchmark_name()] =
            run.cpu_accumulated_time * 1e9 / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> nanoseconds;
};

void printRatio(const RecordingReporter& r, const char* label, const std::string& tracked,
                const std::string& baseline) {
  const auto a = r.nanoseconds.find(tracked);
  const auto b = r.nanoseconds.find(baseline);
  if (a == r.nanoseconds.end() || b == r.nanoseconds.end()) return;
  std::printf("%-24s mouse movement %8.1f us   host hit test %8.1f us   ratio %.2f\n", label,
              a->second / 1000, b->second / 1000, a->second / b->second);
}

}  // namespace

BENCHMARK_CAPTURE(BM_TrackCursor, over_an_anchor, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HostHitTest, over_an_anchor, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TrackCursor, over_nothing, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HostHitTest, over_nothing, false)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("\nSummary (same run, CPU time per call; ratio = mouse movement / host hit test)\n");
  printRatio(reporter, "over an anchor", "BM_TrackCursor/over_an_anchor",
             "BM_HostHitTest/over_an_anchor");
  printRatio(reporter, "over nothing", "BM_TrackCursor/over_nothing",
             "BM_HostHitTest/over_nothing");
  bench().host->shutDown();
  std::filesystem::remove(bench().preferences);
  return 0;
}
