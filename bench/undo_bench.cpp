// Undo on the 200,000-segment document: the memory 1,000 selection changes keep, against the
// document's own size, and one UndoChanges + SetPathSegments drag step, against SetPathSegments
// alone, measured in the same run.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "document/document_list.hpp"
#include "random_document.hpp"
#include "undo/undo_manager.hpp"

// Every allocation of the process is counted (usable bytes, so frees need no size), with the
// highest count reached since the last reset.
namespace {

std::atomic<std::size_t> gLiveBytes{0};
std::atomic<std::size_t> gPeakBytes{0};

void* countedAlloc(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const std::size_t live = gLiveBytes.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
  std::size_t peak = gPeakBytes.load();
  while (live > peak && !gPeakBytes.compare_exchange_weak(peak, live)) {
  }
  return p;
}

void countedFree(void* p) noexcept {
  if (p == nullptr) return;
  gLiveBytes.fetch_sub(malloc_usable_size(p));
  std::free(p);
}

void resetPeak() {
  gPeakBytes.store(gLiveBytes.load());
}

}  // namespace

void* operator new(std::size_t size) {
  return countedAlloc(size);
}
void* operator new[](std::size_t size) {
  return countedAlloc(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return countedAlloc(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept {
  countedFree(p);
}
void operator delete[](void* p) noexcept {
  countedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
  countedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  countedFree(p);
}

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

// Every path of the document, in tree order.
std::vector<sqhost::ArtId> pathIds(const sqhost::Document& doc) {
  std::vector<sqhost::ArtId> ids;
  for (std::size_t l = 0; l < doc.layerCount(); ++l) {
    const sqhost::Art& group = doc.layer(l).group();
    for (std::size_t i = 0; i < group.childCount(); ++i) ids.push_back(group.child(i).id());
  }
  return ids;
}

// One selection change as a click makes it: the selected paths are deselected and one other path
// is selected, in one undo context.
void changeSelection(sqhost::Document& doc, sqhost::UndoManager& undo,
                     std::vector<sqhost::ArtId>& selected, sqhost::ArtId next) {
  undo.beginContext("Selection");
  for (sqhost::ArtId id : selected) doc.modifyArt(id)->setSelected(false);
  doc.modifyArt(next)->setSelected(true);
  undo.endContext();
  selected.assign(1, next);
}

// Peak memory while making state.range(0) selection changes, each its own undo entry, as a ratio
// to the memory the document itself takes.
void BM_SelectionChanges(benchmark::State& state) {
  const auto changes = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    sqhost::DocumentList documents;
    sqhost::UndoManager undo(documents);
    const std::size_t empty = gLiveBytes.load();
    sqhost::Document& doc = documents.open(sqbench::makeRandomDocument());
    const std::size_t documentBytes = gLiveBytes.load() - empty;
    undo.attach(doc);
    const std::vector<sqhost::ArtId> paths = pathIds(doc);
    std::vector<sqhost::ArtId> selected;
    for (sqhost::ArtId id : paths) {
      if (doc.findArt(id)->selected()) selected.push_back(id);
    }
    std::mt19937 rng(7);
    resetPeak();
    const std::size_t start = gLiveBytes.load();
    for (std::size_t i = 0; i < changes; ++i) {
      sqhost::ArtId next = paths[rng() % paths.size()];
      while (selected.size() == 1 && next == selected.front()) next = paths[rng() % paths.size()];
      changeSelection(doc, undo, selected, next);
    }
    const std::size_t peak = gPeakBytes.load() - start;
    if (undo.undoCount() != changes) state.SkipWithError("a selection change made no entry");
    state.counters["document_MiB"] = static_cast<double>(documentBytes) / kMiB;
    state.counters["history_MiB"] = static_cast<double>(peak) / kMiB;
    state.counters["ratio"] = static_cast<double>(peak) / static_cast<double>(documentBytes);
    undo.detach(doc);
  }
}

// A document with its undo manager and a context open, as during a drag, on one path.
struct Drag {
  sqhost::DocumentList documents;
  sqhost::UndoManager undo{documents};
  sqhost::Document* doc = nullptr;
  sqhost::ArtId path = sqhost::kNoId;

  Drag() {
    doc = &documents.open(sqbench::makeRandomDocument());
    undo.attach(*doc);
    path = pathIds(*doc)[pathIds(*doc).size() / 2];
    undo.beginContext("Drag");
    undo.markGestureStart();
  }
  ~Drag() {
    undo.endContext();
    undo.detach(*doc);
  }
  // Moves the path's second anchor by dx.
  void move(float dx) {
    AIPathSegment s = doc->findArt(path)->path().segment(1);
    s.p.h += dx;
    doc->modifyArt(path)->setSegments(1, std::span(&s, 1));
  }
};

Drag& drag() {
  static Drag d;
  return d;
}

// One drag step as the tool makes it: take back the previous step, then move the point again.
void BM_UndoChangesAndSetSegments(benchmark::State& state) {
  Drag& d = drag();
  float dx = 0;
  for (auto _ : state) {
    d.undo.undoChanges();
    d.move(dx += 0.25f);
  }
}

// The baseline: the same move without taking anything back.
void BM_SetSegments(benchmark::State& state) {
  Drag& d = drag();
  float dx = 0;
  for (auto _ : state) d.move(dx += 0.25f);
  d.undo.undoChanges();
}

// Keeps the CPU time per iteration and the counters of every run while printing as usual.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
      Seen& seen = runs_[run.benchmark_name()];
      seen.nanoseconds = run.cpu_accumulated_time * 1e9 / static_cast<double>(run.iterations);
      for (const auto& [name, counter] : run.counters) seen.counters[name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  struct Seen {
    double nanoseconds = 0;
    std::map<std::string, double> counters;
  };
  const Seen* find(const std::string& name) const {
    auto it = runs_.find(name);
    return it == runs_.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::string, Seen> runs_;
};

}  // namespace

BENCHMARK(BM_SelectionChanges)
    ->Arg(20)
    ->Arg(100)
    ->Arg(1000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoChangesAndSetSegments)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SetSegments)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("\nSummary (same run)\n");
  for (const char* changes : {"20", "100", "1000"}) {
    const auto* run =
        reporter.find(std::string("BM_SelectionChanges/") + changes + "/iterations:1");
    if (run == nullptr || run->counters.count("ratio") == 0) continue;
    std::printf("%5s selection changes: document %.1f MiB, history peak %.1f MiB, ratio %.2f\n",
                changes, run->counters.at("document_MiB"), run->counters.at("history_MiB"),
                run->counters.at("ratio"));
  }
  const auto* step = reporter.find("BM_UndoChangesAndSetSegments");
  const auto* alone = reporter.find("BM_SetSegments");
  if (step != nullptr && alone != nullptr) {
    std::printf(
        "UndoChanges + SetPathSegments %.2f us, SetPathSegments alone %.2f us, ratio %.1f\n",
        step->nanoseconds / 1000, alone->nanoseconds / 1000,
        step->nanoseconds / alone->nanoseconds);
  }
  return 0;
}
