// The studio's update after one user step on a drawing of 20,000 segments (1,000 paths, every
// tenth selected): after a cursor movement over the drawing, and after one drag step of an anchor.
// Only update() is timed (on the process CPU clock); the step itself runs between the samples.
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/host.hpp"
#include "random_document.hpp"
#include "session/session.hpp"
#include "studio/studio_session.hpp"

namespace {

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Bench {
  std::unique_ptr<sqhost::Host> host;
  std::unique_ptr<sqhost::Session> session;
  std::unique_ptr<sqhost::studio::StudioSession> studio;
  AIRealPoint anchor{0, 0};  // the first anchor of a selected path in the view
};

Bench& bench() {
  static Bench b = [] {
    Bench made;
    const auto preferences =
        std::filesystem::temp_directory_path() / "sq-studio-bench-preferences.json";
    std::filesystem::remove(preferences);
    sqhost::HostOptions options;
    options.pluginPath = SQ_PLUGIN_PATH;
    options.preferenceFile = preferences;
    made.host = std::make_unique<sqhost::Host>(options);
    std::string error;
    if (!made.host->start(error)) throw std::runtime_error(error);
    made.session = std::make_unique<sqhost::Session>(*made.host);
    made.studio = std::make_unique<sqhost::studio::StudioSession>(
        *made.session, std::filesystem::temp_directory_path());
    made.host->openDocument(sqbench::makeRandomDocument(1'000));
    sqhost::View& view = *made.host->currentView();
    view.width = 1200;
    view.height = 900;
    view.center = {1000, -1000};
    view.zoom = 0.5F;
    made.host->selectTool(*made.host->registrations().toolByName("Spindlequiver Tool"));
    const sqhost::Document& doc = *made.host->currentDocument();
    for (std::size_t l = 0; l < doc.layerCount() && made.anchor.h == 0; ++l) {
      const sqhost::Art& layer = doc.layer(l).group();
      for (std::size_t i = 0; i < layer.childCount(); ++i) {
        if (layer.child(i).selected()) {
          made.anchor = layer.child(i).path().segment(0).p;
          break;
        }
      }
    }
    made.studio->fullUpdate(0);
    return made;
  }();
  return b;
}

void handle(sqhost::Event::Kind kind, AIRealPoint p) {
  sqhost::Event e;
  e.kind = kind;
  e.point = p;
  bench().host->handleEvent(e);
}

void BM_UpdateAfterCursorMove(benchmark::State& state) {
  Bench& b = bench();
  int i = 0;
  for (auto _ : state) {
    ++i;
    handle(sqhost::Event::Kind::MouseMove,
           {b.anchor.h + static_cast<float>(i % 2 == 0 ? 0 : 40), b.anchor.v});
    const double start = cpuSeconds();
    benchmark::DoNotOptimize(b.studio->update(i));
    state.SetIterationTime(cpuSeconds() - start);
  }
}
BENCHMARK(BM_UpdateAfterCursorMove)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(3);

void BM_UpdateAfterDragStep(benchmark::State& state) {
  Bench& b = bench();
  handle(sqhost::Event::Kind::MouseMove, b.anchor);
  handle(sqhost::Event::Kind::MouseDown, b.anchor);
  b.studio->update(0);
  int i = 0;
  for (auto _ : state) {
    ++i;
    handle(sqhost::Event::Kind::MouseDrag,
           {b.anchor.h + static_cast<float>(i % 20), b.anchor.v - static_cast<float>(i % 7)});
    const double start = cpuSeconds();
    benchmark::DoNotOptimize(b.studio->update(i));
    state.SetIterationTime(cpuSeconds() - start);
  }
  handle(sqhost::Event::Kind::MouseUp, b.anchor);
  b.studio->update(0);
}
BENCHMARK(BM_UpdateAfterDragStep)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(3);

}  // namespace

BENCHMARK_MAIN();
