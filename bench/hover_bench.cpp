// Cursor tracking with the tool: one mouse movement through the host (the Track Cursor message
// with the plug-in's hover hit test, then the idle annotation paint) over empty space, an anchor,
// a shown handle and a curve, on documents of 2,000, 20,000 and 200,000 segments, against the
// host's own hit test at the same point, measured in the same run. Every sample is timed on the
// process CPU clock, so the summary gives the median and the 99th percentile, not only the mean.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/host.hpp"
#include "hittest/hit_test.hpp"
#include "random_document.hpp"

namespace {

enum class Place { kEmpty, kAnchor, kHandle, kSegment };
constexpr Place kPlaces[] = {Place::kEmpty, Place::kAnchor, Place::kHandle, Place::kSegment};
constexpr int kSizes[] = {100, 1'000, 10'000};  // paths of 20 segments

const char* nameOf(Place place) {
  switch (place) {
    case Place::kEmpty:
      return "empty";
    case Place::kAnchor:
      return "anchor";
    case Place::kHandle:
      return "handle";
    case Place::kSegment:
      return "segment";
  }
  return "";
}

// A host with the tool chosen and one benchmark document open at a time, with the points to hover.
struct Bench {
  std::filesystem::path preferences;
  std::unique_ptr<sqhost::Host> host;
  int paths = 0;
  std::map<Place, AIRealPoint> points;
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
    made.host->selectTool(*made.host->registrations().toolByName("Spindlequiver Tool"));
    return made;
  }();
  return b;
}

std::optional<sqhost::HitResult> hostHit(const AIRealPoint& p, float tolerance = 6) {
  sqhost::Host& host = *bench().host;
  return sqhost::hitTest(*host.currentDocument(), *host.currentView(),
                         {p, tolerance, sqhost::kNoId});
}

bool hits(const AIRealPoint& p, sqhost::HitPart part) {
  const auto hit = hostHit(p);
  return hit && hit->part == part;
}

// Calls f for each path of the document lying wholly in the view, until it returns true.
template <typename F>
void forPathsInView(F&& f) {
  sqhost::Host& host = *bench().host;
  const sqhost::Document& doc = *host.currentDocument();
  const AIRealRect view = host.currentView()->bounds();
  for (std::size_t l = 0; l < doc.layerCount(); ++l) {
    const sqhost::Art& layer = doc.layer(l).group();
    for (std::size_t i = 0; i < layer.childCount(); ++i) {
      const sqhost::Art& path = layer.child(i);
      const auto& b = path.path().bounds();
      if (b && b->left > view.left && b->right < view.right && b->top < view.top &&
          b->bottom > view.bottom && f(path)) {
        return;
      }
    }
  }
}

// Finds a point of each kind. The handle is shown by selecting both sides of one segment of a path
// that had nothing selected, as a click on a handle would.
void findPoints() {
  Bench& b = bench();
  sqhost::Host& host = *b.host;
  b.points.clear();
  AIRealPoint empty{2200, -1000};  // right of the drawing
  while (hostHit(empty, 30)) empty.v += 40;
  b.points[Place::kEmpty] = empty;
  forPathsInView([&](const sqhost::Art& path) {
    const AIRealPoint p = path.path().segment(0).p;
    if (hits(p, sqhost::HitPart::kAnchor)) b.points[Place::kAnchor] = p;
    return b.points.count(Place::kAnchor) != 0;
  });
  forPathsInView([&](const sqhost::Art& path) {
    const AIRealBezier curve = path.path().bezier(3);
    const AIRealPoint p = sqhost::nearestOnCurve(
                              curve, {(curve.p0.h + curve.p3.h) / 2, (curve.p0.v + curve.p3.v) / 2})
                              .point;
    if (hits(p, sqhost::HitPart::kSegment)) b.points[Place::kSegment] = p;
    return b.points.count(Place::kSegment) != 0;
  });
  forPathsInView([&](const sqhost::Art& path) {
    if (path.path().selectedCount() != 0) return false;
    sqhost::Document& doc = *host.currentDocument();
    doc.modifyArt(path.id())->setSegmentSelection(5, sqhost::SegmentSelection::kInOut);
    const AIRealPoint p = path.path().segment(5).out;
    if (hits(p, sqhost::HitPart::kOutHandle)) {
      b.points[Place::kHandle] = p;
      return true;
    }
    doc.modifyArt(path.id())->setSegmentSelection(5, sqhost::SegmentSelection::kNone);
    return false;
  });
  host.documentChanged();
  host.deliverNotifications();
  for (Place place : kPlaces) {
    if (b.points.count(place) == 0) throw std::runtime_error(std::string("no ") + nameOf(place));
  }
}

// Opens the benchmark document of the given size in place of the one open.
void useDocument(int paths) {
  Bench& b = bench();
  if (b.paths == paths) return;
  sqhost::Host& host = *b.host;
  if (sqhost::Document* open = host.currentDocument()) host.closeDocument(open->id());
  host.openDocument(sqbench::makeRandomDocument(paths));
  sqhost::View& view = *host.currentView();
  view.width = 800;
  view.height = 600;
  view.zoom = 1;
  view.center = {1900, -1000};  // the drawing's right edge: paths on the left, nothing on the right
  host.deliverNotifications();
  b.paths = paths;
  findPoints();
}

double cpuNanoseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// What reading the clock itself costs: the median of back-to-back readings.
double clockCost() {
  static const double cost = [] {
    std::vector<double> d;
    for (int i = 0; i < 1001; ++i) {
      const double a = cpuNanoseconds();
      d.push_back(cpuNanoseconds() - a);
    }
    std::nth_element(d.begin(), d.begin() + 500, d.end());
    return d[500];
  }();
  return cost;
}

// Runs f batch times per sample and reports the CPU time per call: p50, p99 and mean.
template <typename F>
void timeSamples(benchmark::State& state, int batch, F&& f) {
  std::vector<double> samples;
  samples.reserve(1 << 14);
  const double overhead = clockCost();
  for (auto _ : state) {
    const double start = cpuNanoseconds();
    for (int i = 0; i < batch; ++i) f();
    const double end = cpuNanoseconds();
    samples.push_back(std::max(0.0, end - start - overhead) / batch);
  }
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  auto at = [&](double q) {
    return samples[std::min(samples.size() - 1, static_cast<std::size_t>(q * samples.size()))];
  };
  double sum = 0;
  for (double s : samples) sum += s;
  state.counters["p50_us"] = at(0.50) / 1000;
  state.counters["p99_us"] = at(0.99) / 1000;
  state.counters["mean_us"] = sum / static_cast<double>(samples.size()) / 1000;
}

void BM_Movement(benchmark::State& state, int paths, Place place) {
  useDocument(paths);
  sqhost::Host& host = *bench().host;
  sqhost::Event move;
  move.kind = sqhost::Event::Kind::MouseMove;
  move.point = bench().points.at(place);
  host.handleEvent(move);  // the first movement after a change builds what later ones reuse
  timeSamples(state, 1, [&] {
    benchmark::DoNotOptimize(host.handleEvent(move));
    host.clearInvalidationLogs();
  });
}

// The host's hit test is far cheaper than the clock's resolution allows for one call, so each
// sample times a batch of calls.
void BM_HostHitTest(benchmark::State& state, int paths, Place place) {
  useDocument(paths);
  sqhost::Host& host = *bench().host;
  const sqhost::HitRequest request{bench().points.at(place), 6, sqhost::kNoId};
  timeSamples(state, 64, [&] {
    benchmark::DoNotOptimize(
        sqhost::hitTest(*host.currentDocument(), *host.currentView(), request));
  });
}

std::string benchName(const char* what, int paths, Place place) {
  return std::string(what) + "/" + std::to_string(paths * sqbench::kSegmentsPerPath) +
         "_segments/" + nameOf(place);
}

// Keeps the counters of every run while printing as usual.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      auto& c = counters[run.benchmark_name()];
      for (const auto& [name, counter] : run.counters) c[name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, std::map<std::string, double>> counters;
};

void printSummary(const RecordingReporter& r) {
  std::printf(
      "\nSummary: CPU time per call in us (same run); ratio = mouse movement / host hit test\n");
  std::printf("%9s %-8s %11s %11s %11s %11s %10s %10s\n", "segments", "place", "move p50",
              "move p99", "hit p50", "hit p99", "ratio p50", "ratio p99");
  for (int paths : kSizes) {
    for (Place place : kPlaces) {
      const auto m = r.counters.find(benchName("BM_Movement", paths, place));
      const auto h = r.counters.find(benchName("BM_HostHitTest", paths, place));
      if (m == r.counters.end() || h == r.counters.end()) continue;
      const double mp50 = m->second.at("p50_us"), mp99 = m->second.at("p99_us");
      const double hp50 = h->second.at("p50_us"), hp99 = h->second.at("p99_us");
      std::printf("%9d %-8s %11.2f %11.2f %11.3f %11.3f %10.1f %10.1f\n",
                  paths * sqbench::kSegmentsPerPath, nameOf(place), mp50, mp99, hp50, hp99,
                  hp50 > 0 ? mp50 / hp50 : 0.0, hp99 > 0 ? mp99 / hp99 : 0.0);
      if (place == Place::kEmpty) {
        std::printf("%9s %-8s %11.3f us per path at p50, %.3f at p99\n", "", "", mp50 / paths,
                    mp99 / paths);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int paths : kSizes) {
    for (Place place : kPlaces) {
      benchmark::RegisterBenchmark(benchName("BM_Movement", paths, place).c_str(), BM_Movement,
                                   paths, place)
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(benchName("BM_HostHitTest", paths, place).c_str(),
                                   BM_HostHitTest, paths, place)
          ->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  printSummary(reporter);
  bench().host->shutDown();
  std::filesystem::remove(bench().preferences);
  return 0;
}
