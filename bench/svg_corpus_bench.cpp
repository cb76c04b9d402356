// Open, save and view of the SVG corpus (tests/corpus/list.txt, when installed) and of the
// 200,000-segment document, each with a ratio to a baseline run in the same benchmark: saving the
// whole document from the model (what every save did before documents kept their source) and
// painting the view from the model (what the view did before it drew the source).
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "random_document.hpp"
#include "render/view_renderer.hpp"
#include "svg/svg_io.hpp"
#include "svg/svg_source.hpp"

namespace {

using Clock = std::chrono::steady_clock;

struct Corpus {
  std::vector<std::string> texts;
  std::vector<sqhost::Document> documents;
};

const Corpus& corpus() {
  static const Corpus c = [] {
    Corpus out;
    std::ifstream list(std::string(SQ_SOURCE_DIR) + "/tests/corpus/list.txt");
    for (std::string line; std::getline(list, line);) {
      if (line.empty() || line[0] == '#') continue;
      std::ifstream in(line, std::ios::binary);
      if (!in) continue;
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      sqhost::svg::ImportResult r = sqhost::svg::importSvg(text, line);
      if (!r.ok()) continue;
      out.texts.push_back(std::move(text));
      out.documents.push_back(std::move(*r.document));
    }
    return out;
  }();
  return c;
}

const sqhost::Document& big() {
  static const sqhost::Document doc = sqbench::makeRandomDocument();
  return doc;
}

const std::string& bigText() {
  return dynamic_cast<const sqhost::svg::SvgSource&>(*big().source()).text;
}

template <class F>
double secondsPer(F&& f, int runs) {
  const auto start = Clock::now();
  for (int i = 0; i < runs; ++i) f();
  return std::chrono::duration<double>(Clock::now() - start).count() / runs;
}

// Runs f in the benchmark loop and reports its time as a ratio to baseline's.
template <class F, class B>
void withRatio(benchmark::State& state, const char* name, F&& f, B&& baseline, int baselineRuns) {
  double spent = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    f();
    spent += std::chrono::duration<double>(Clock::now() - start).count();
  }
  const double per = spent / static_cast<double>(state.iterations());
  state.counters[name] = per / secondsPer(baseline, baselineRuns);
}

// Every document with its one path's middle point moved: an edit to splice in.
sqhost::Document edited(const sqhost::Document& doc) {
  sqhost::Document copy = doc;
  struct Find {
    const sqhost::Art* found = nullptr;
    void visit(const sqhost::Art& art) {
      if (found != nullptr) return;
      if (art.type() == sqhost::ArtType::kPath && art.path().size() >= 2) found = &art;
      for (std::size_t i = 0; i < art.childCount() && found == nullptr; ++i) visit(art.child(i));
    }
  } find;
  for (std::size_t i = 0; i < copy.layerCount(); ++i) find.visit(copy.layer(i).group());
  if (find.found != nullptr) {
    AIPathSegment s = find.found->path().segment(1);
    s.p.h += 1;
    copy.modifyArt(find.found->id())->setSegments(1, std::span(&s, 1));
  }
  return copy;
}

sqhost::Document withoutSource(const sqhost::Document& doc) {
  sqhost::Document copy = doc;
  copy.setSource(nullptr);
  return copy;
}

sqhost::View fitted(const sqhost::Document& doc, int pixels) {
  const AIRealRect& b = doc.artboard(0).bounds;
  sqhost::View view;
  view.width = view.height = pixels;
  const double side = std::max<double>({b.right - b.left, b.top - b.bottom, 1.0});
  view.zoom = static_cast<float>(pixels / side);
  view.center = {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
  return view;
}

void BM_CorpusOpen(benchmark::State& state) {
  const Corpus& c = corpus();
  if (c.texts.empty()) return state.SkipWithError("the corpus is not installed");
  for (auto _ : state) {
    for (const std::string& text : c.texts) benchmark::DoNotOptimize(sqhost::svg::importSvg(text));
  }
  state.counters["files"] = static_cast<double>(c.texts.size());
}
BENCHMARK(BM_CorpusOpen)->Unit(benchmark::kMillisecond);

void BM_CorpusSaveEdited(benchmark::State& state) {
  const Corpus& c = corpus();
  if (c.texts.empty()) return state.SkipWithError("the corpus is not installed");
  std::vector<sqhost::Document> docs, plain;
  for (const sqhost::Document& d : c.documents) {
    docs.push_back(edited(d));
    plain.push_back(withoutSource(docs.back()));
  }
  withRatio(
      state, "vs_whole_save",
      [&] {
        for (const auto& d : docs) benchmark::DoNotOptimize(sqhost::svg::writeSvg(d));
      },
      [&] {
        for (const auto& d : plain) benchmark::DoNotOptimize(sqhost::svg::writeSvg(d));
      },
      3);
}
BENCHMARK(BM_CorpusSaveEdited)->Unit(benchmark::kMillisecond);

void BM_CorpusView(benchmark::State& state) {
  const Corpus& c = corpus();
  if (c.texts.empty()) return state.SkipWithError("the corpus is not installed");
  std::vector<sqhost::Document> plain;
  for (const sqhost::Document& d : c.documents) plain.push_back(withoutSource(d));
  sqhost::render::RenderOptions options;
  withRatio(
      state, "vs_model_painter",
      [&] {
        for (const auto& d : c.documents) {
          benchmark::DoNotOptimize(sqhost::render::renderView(d, fitted(d, 256), options));
        }
      },
      [&] {
        for (const auto& d : plain) {
          benchmark::DoNotOptimize(sqhost::render::renderView(d, fitted(d, 256), options));
        }
      },
      2);
}
BENCHMARK(BM_CorpusView)->Unit(benchmark::kMillisecond);

void BM_BigOpen(benchmark::State& state) {
  const std::string& text = bigText();
  for (auto _ : state) benchmark::DoNotOptimize(sqhost::svg::importSvg(text));
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_BigOpen)->Unit(benchmark::kMillisecond);

void BM_BigSaveEdited(benchmark::State& state) {
  const sqhost::Document doc = edited(big());
  const sqhost::Document plain = withoutSource(doc);
  withRatio(
      state, "vs_whole_save", [&] { benchmark::DoNotOptimize(sqhost::svg::writeSvg(doc)); },
      [&] { benchmark::DoNotOptimize(sqhost::svg::writeSvg(plain)); }, 3);
}
BENCHMARK(BM_BigSaveEdited)->Unit(benchmark::kMillisecond);

void BM_BigSaveUnchanged(benchmark::State& state) {
  const sqhost::Document plain = withoutSource(big());
  withRatio(
      state, "vs_whole_save", [&] { benchmark::DoNotOptimize(sqhost::svg::writeSvg(big())); },
      [&] { benchmark::DoNotOptimize(sqhost::svg::writeSvg(plain)); }, 3);
}
BENCHMARK(BM_BigSaveUnchanged)->Unit(benchmark::kMillisecond);

void BM_BigView(benchmark::State& state) {
  const sqhost::Document plain = withoutSource(big());
  sqhost::render::RenderOptions options;
  withRatio(
      state, "vs_model_painter",
      [&] {
        benchmark::DoNotOptimize(sqhost::render::renderView(big(), fitted(big(), 800), options));
      },
      [&] {
        benchmark::DoNotOptimize(sqhost::render::renderView(plain, fitted(plain, 800), options));
      },
      2);
}
BENCHMARK(BM_BigView)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
