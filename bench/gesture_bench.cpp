// The tool's gestures on the 200,000-segment document, message by message through the host and
// the plug-in: one drag step of a group drag of 4,000 handles kept by a marquee, one anchor drag
// step, one segment drag step, and the mouse up that ends a 4,000-handle marquee. Each is set
// against one track-cursor message at the same point in the same state, measured in the same
// run. Every sample is one message timed on the thread's CPU clock, so the summary gives the
// median and the 99th percentile.
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

enum class Gesture { kGroupDrag, kAnchorDrag, kSegmentDrag, kMarqueeUp };
constexpr Gesture kGestures[] = {Gesture::kGroupDrag, Gesture::kAnchorDrag, Gesture::kSegmentDrag,
                                 Gesture::kMarqueeUp};
// Paths whose every handle is shown and then kept by the marquee: 100 paths of 20 points with
// two handles each.
constexpr int kKeptPaths = 100;

const char* nameOf(Gesture g) {
  switch (g) {
    case Gesture::kGroupDrag:
      return "group_drag_step";
    case Gesture::kAnchorDrag:
      return "anchor_drag_step";
    case Gesture::kSegmentDrag:
      return "segment_drag_step";
    case Gesture::kMarqueeUp:
      return "marquee_mouse_up";
  }
  return "";
}

double threadNanoseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

struct Bench {
  std::filesystem::path preferences;
  std::unique_ptr<sqhost::Host> host;
  AIRealPoint keptHandle{};  // an out handle among the kept ones
  AIRealPoint anchor{};      // an anchor of a path with nothing shown
  AIRealPoint segment{};     // a point on a segment of such a path
  AIRealPoint empty{};       // a point over nothing
  AIRealRect all{};          // a rectangle round the whole drawing
};

Bench& bench() {
  static Bench b = [] {
    Bench made;
    made.preferences = std::filesystem::temp_directory_path() / "sq-gesture-bench-preferences.json";
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

// Sends one event and returns the thread CPU time it took: the tool's message and what the host
// does when it is idle after it (the notifications it caused and the annotation paint of the
// view). Notifications still pending are delivered afterwards, untimed.
double send(sqhost::Event::Kind kind, const AIRealPoint& at, int32_t modifiers = 0) {
  sqhost::Event e;
  e.kind = kind;
  e.point = at;
  e.modifiers = modifiers;
  const double start = threadNanoseconds();
  if (!bench().host->handleEvent(e)) throw std::runtime_error("an event failed");
  const double took = threadNanoseconds() - start;
  bench().host->deliverNotifications();
  bench().host->clearInvalidationLogs();
  return took;
}

std::optional<sqhost::HitResult> hostHit(const AIRealPoint& p) {
  sqhost::Host& host = *bench().host;
  return sqhost::hitTest(*host.currentDocument(), *host.currentView(), {p, 6, sqhost::kNoId});
}

// Whether the host's hit test at p finds this part of this segment of this path.
bool hitsExactly(const AIRealPoint& p, sqhost::HitPart part, sqhost::ArtId path,
                 std::size_t segment) {
  const auto hit = hostHit(p);
  return hit && hit->part == part && hit->path == path && hit->segment == segment;
}

// A fresh benchmark document. With showHandles the first kKeptPaths selected paths show every
// handle (both sides of every segment selected) and the others keep their anchors selected;
// without, nothing is selected, so that a press on an anchor or a segment grabs it. The view shows
// the middle of the drawing at zoom 1. Finds a kept out handle, and an anchor and a segment of an
// unselected path, that the host's hit test finds at their own places.
void openDocument(bool showHandles) {
  Bench& b = bench();
  sqhost::Host& host = *b.host;
  if (sqhost::Document* open = host.currentDocument()) host.closeDocument(open->id());
  host.openDocument(sqbench::makeRandomDocument());
  sqhost::View& view = *host.currentView();
  view.width = 1200;
  view.height = 1200;
  view.zoom = 1;
  view.center = {1000, -1000};
  sqhost::Document& doc = *host.currentDocument();
  std::vector<sqhost::ArtId> kept;
  std::vector<sqhost::ArtId> plain;
  for (std::size_t l = 0; l < doc.layerCount(); ++l) {
    const sqhost::Art& layer = doc.layer(l).group();
    for (std::size_t i = 0; i < layer.childCount(); ++i) {
      const sqhost::Art& path = layer.child(i);
      if (path.selected() && !showHandles) {
        doc.modifyArt(path.id())->setSelected(false);
      } else if (path.selected() && kept.size() < static_cast<std::size_t>(kKeptPaths)) {
        kept.push_back(path.id());
        for (std::size_t s = 0; s < path.path().size(); ++s) {
          doc.modifyArt(path.id())->setSegmentSelection(s, sqhost::SegmentSelection::kInOut);
        }
      } else if (!path.selected()) {
        plain.push_back(path.id());
      }
    }
  }
  host.documentChanged();
  host.deliverNotifications();
  bool handle = false;
  for (std::size_t k = 0; k < kept.size() && !handle; ++k) {
    const sqhost::PathGeometry& path = doc.findArt(kept[k])->path();
    for (std::size_t s = 0; s < path.size() && !handle; ++s) {
      if (hitsExactly(path.segment(s).out, sqhost::HitPart::kOutHandle, kept[k], s)) {
        b.keptHandle = path.segment(s).out;
        handle = true;
      }
    }
  }
  bool anchor = false;
  bool segment = false;
  for (std::size_t k = 0; k < plain.size() && !(anchor && segment); ++k) {
    const sqhost::PathGeometry& path = doc.findArt(plain[k])->path();
    for (std::size_t s = 1; s < path.size() && !(anchor && segment); ++s) {
      if (!anchor && hitsExactly(path.segment(s).p, sqhost::HitPart::kAnchor, plain[k], s)) {
        b.anchor = path.segment(s).p;
        anchor = true;
      }
      const AIRealBezier curve = path.bezier(s - 1);
      const AIRealPoint middle{(curve.p0.h + curve.p3.h) / 2, (curve.p0.v + curve.p3.v) / 2};
      const AIRealPoint onCurve = sqhost::nearestOnCurve(curve, middle).point;
      if (!segment && hitsExactly(onCurve, sqhost::HitPart::kSegment, plain[k], s)) {
        b.segment = onCurve;
        segment = true;
      }
    }
  }
  // Paths wander up to 600 units beyond the 2000-unit square they start in.
  b.all = {-800, 800, 2800, -2800};
  b.empty = {-700, 700};
  if ((showHandles && !handle) || !anchor || !segment || hostHit(b.empty)) {
    throw std::runtime_error("no points to press");
  }
}

// A marquee round the whole drawing: it keeps the shown handles in the tool's own selection.
void marqueeAll(bool timeUp, std::vector<double>* samples) {
  const Bench& b = bench();
  send(sqhost::Event::Kind::MouseDown, {b.all.left, b.all.top});
  send(sqhost::Event::Kind::MouseDrag, {b.all.left + 10, b.all.top - 10});
  send(sqhost::Event::Kind::MouseDrag, {b.all.right, b.all.bottom});
  const double took = send(sqhost::Event::Kind::MouseUp, {b.all.right, b.all.bottom});
  if (timeUp && samples != nullptr) samples->push_back(took);
}

void report(benchmark::State& state, std::vector<double>& samples) {
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  auto at = [&](double q) {
    return samples[std::min(samples.size() - 1, static_cast<std::size_t>(q * samples.size()))];
  };
  state.counters["p50_us"] = at(0.50) / 1000;
  state.counters["p99_us"] = at(0.99) / 1000;
}

// Where each gesture presses, in the state it presses in (the kept handles only for the group
// drag; a click on empty canvas empties the tool's selection).
AIRealPoint prepare(Gesture g) {
  openDocument(g == Gesture::kGroupDrag || g == Gesture::kMarqueeUp);
  const Bench& b = bench();
  switch (g) {
    case Gesture::kGroupDrag:
      marqueeAll(false, nullptr);
      return b.keptHandle;
    case Gesture::kAnchorDrag:
      return b.anchor;
    case Gesture::kSegmentDrag:
      return b.segment;
    case Gesture::kMarqueeUp:
      return {b.all.left, b.all.top};
  }
  return b.empty;
}

void BM_Gesture(benchmark::State& state, Gesture g) {
  const AIRealPoint press = prepare(g);
  std::vector<double> samples;
  samples.reserve(4096);
  if (g == Gesture::kMarqueeUp) {
    for (auto _ : state) marqueeAll(true, &samples);
  } else {
    send(sqhost::Event::Kind::MouseDown, press);
    int step = 0;
    for (auto _ : state) {
      // Back and forth between two places, so that every step edits.
      ++step;
      const AIRealPoint at{press.h + 6.0f + static_cast<float>(step % 2) * 3.0f, press.v + 4.0f};
      samples.push_back(send(sqhost::Event::Kind::MouseDrag, at));
    }
    send(sqhost::Event::Kind::MouseUp, press);
  }
  report(state, samples);
}

// Where a drag step's time goes besides the drag message: the annotations drawn for the whole
// view in the state of the drag (the host paints them when it is idle after every event).
void BM_Paint(benchmark::State& state, Gesture g) {
  const AIRealPoint press = prepare(g);
  sqhost::Host& host = *bench().host;
  send(sqhost::Event::Kind::MouseDown, press);
  send(sqhost::Event::Kind::MouseDrag, {press.h + 6.0f, press.v + 4.0f});
  std::vector<double> samples;
  samples.reserve(4096);
  for (auto _ : state) {
    const double start = threadNanoseconds();
    benchmark::DoNotOptimize(host.paintAnnotations(*host.currentView(), true));
    samples.push_back(threadNanoseconds() - start);
  }
  send(sqhost::Event::Kind::MouseUp, press);
  report(state, samples);
}

// One track-cursor message at the gesture's press point, in the state the gesture starts from.
void BM_Track(benchmark::State& state, Gesture g) {
  const AIRealPoint at = prepare(g);
  std::vector<double> samples;
  samples.reserve(4096);
  send(sqhost::Event::Kind::MouseMove, at);
  for (auto _ : state) samples.push_back(send(sqhost::Event::Kind::MouseMove, at));
  report(state, samples);
}

std::string benchName(const char* what, Gesture g) {
  return std::string(what) + "/" + nameOf(g);
}

class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      // Keyed by the registered name, without the "/iterations:N" the fixed counts add.
      std::string name = run.benchmark_name();
      name = name.substr(0, name.find("/iterations:"));
      auto& c = counters[name];
      for (const auto& [name, counter] : run.counters) c[name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, std::map<std::string, double>> counters;
};

void printSummary(const RecordingReporter& r) {
  std::printf(
      "\nSummary (200,000 segments): thread CPU time per message in us, with the host's idle work "
      "after it (same run); paint = the whole view's annotations in the drag's state, part of "
      "the message's time; ratio = the gesture's message / a track-cursor message at the same "
      "point\n");
  std::printf("%-18s %9s %9s %9s %9s %9s %9s %10s %10s\n", "message", "p50", "p99", "paint p50",
              "paint p99", "track p50", "track p99", "ratio p50", "ratio p99");
  for (Gesture g : kGestures) {
    const auto m = r.counters.find(benchName("BM_Gesture", g));
    const auto t = r.counters.find(benchName("BM_Track", g));
    if (m == r.counters.end() || t == r.counters.end()) continue;
    if (!m->second.contains("p50_us") || !t->second.contains("p50_us")) continue;
    const double mp50 = m->second.at("p50_us"), mp99 = m->second.at("p99_us");
    const double tp50 = t->second.at("p50_us"), tp99 = t->second.at("p99_us");
    const auto p = r.counters.find(benchName("BM_Paint", g));
    const bool painted = p != r.counters.end() && p->second.contains("p50_us");
    std::printf("%-18s %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %10.2f %10.2f\n", nameOf(g), mp50, mp99,
                painted ? p->second.at("p50_us") : 0.0, painted ? p->second.at("p99_us") : 0.0,
                tp50, tp99, tp50 > 0 ? mp50 / tp50 : 0.0, tp99 > 0 ? mp99 / tp99 : 0.0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (Gesture g : kGestures) {
    // The marquee's mouse up needs a whole gesture per sample: fewer of them.
    const int iterations = g == Gesture::kMarqueeUp ? 60 : 400;
    benchmark::RegisterBenchmark(benchName("BM_Gesture", g).c_str(), BM_Gesture, g)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(iterations);
    if (g != Gesture::kMarqueeUp) {
      benchmark::RegisterBenchmark(benchName("BM_Paint", g).c_str(), BM_Paint, g)
          ->Unit(benchmark::kMicrosecond)
          ->Iterations(200);
    }
    benchmark::RegisterBenchmark(benchName("BM_Track", g).c_str(), BM_Track, g)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(400);
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
