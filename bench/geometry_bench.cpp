// Curve geometry side by side with lib2geom: nearest distance, axis tangencies and fitting.
//
// Run: geometry_bench (Google Benchmark flags apply). After the timings it prints a summary:
// throughput ratios against lib2geom measured in the same run, and accuracy against a
// long-double reference over the same 100,000 random cubics and query points.
#include <2geom/bezier-utils.h>
#include <2geom/bezier.h>
#include <2geom/d2.h>
#include <2geom/nearest-time.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "geometry/fit.hpp"
#include "geometry/nearest.hpp"
#include "geometry/tangents.hpp"

namespace {

using sq::Curve;
using sq::Point;

constexpr int kQueryCount = 100000;
constexpr int kChainCount = 60;

// ---- Inputs -------------------------------------------------------------------------------

struct Query {
  Curve curve;
  Point x;
};

Point RandomPoint(std::mt19937_64& rng, double extent) {
  std::uniform_real_distribution<double> coord(-extent, extent);
  const double h = coord(rng);
  return {h, coord(rng)};
}

const std::vector<Query>& Queries() {
  static const std::vector<Query> queries = [] {
    std::mt19937_64 rng(20240601);
    std::vector<Query> q(kQueryCount);
    for (Query& item : q) {
      const Point p0 = RandomPoint(rng, 100);
      const Point p1 = RandomPoint(rng, 100);
      const Point p2 = RandomPoint(rng, 100);
      const Point p3 = RandomPoint(rng, 100);
      item = {{p0, p1, p2, p3}, RandomPoint(rng, 120)};
    }
    return q;
  }();
  return queries;
}

Geom::D2<Geom::Bezier> ToPeer(const Curve& c) {
  return {Geom::Bezier(c.p0.h, c.p1.h, c.p2.h, c.p3.h),
          Geom::Bezier(c.p0.v, c.p1.v, c.p2.v, c.p3.v)};
}

const std::vector<Geom::D2<Geom::Bezier>>& PeerCurves() {
  static const std::vector<Geom::D2<Geom::Bezier>> curves = [] {
    std::vector<Geom::D2<Geom::Bezier>> out;
    out.reserve(Queries().size());
    for (const Query& q : Queries()) out.push_back(ToPeer(q.curve));
    return out;
  }();
  return curves;
}

double PeerDistance(const Geom::D2<Geom::Bezier>& curve, Point x) {
  const Geom::Point p(x.h, x.v);
  const double t = Geom::nearest_time(p, curve);
  return Geom::distance(curve.valueAt(t), p);
}

Point Rotate(Point v, double a) {
  return {v.h * std::cos(a) - v.v * std::sin(a), v.h * std::sin(a) + v.v * std::cos(a)};
}

// An ordinary bent curve: handles a third of the chord long, turned by up to ±60°.
Curve RandomArc(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> turn(-1.0, 1.0);
  const Point p0 = RandomPoint(rng, 100);
  const Point p3 = RandomPoint(rng, 100);
  const Point third = (p3 - p0) * (1.0 / 3.0);
  return {p0, p0 + Rotate(third, turn(rng)), p3 - Rotate(third, turn(rng)), p3};
}

struct Chain {
  std::vector<Curve> curves;
  Curve start;  // the merge start: outer anchors and handles of the chain
};

Chain MakeChain(Curve left, Curve right) {
  return {{left, right}, {left.p0, left.p1, right.p2, right.p3}};
}

// Two halves of one cubic cut at t in [0.25, 0.75]: exactly mergeable.
const std::vector<Chain>& MergeableChains() {
  static const std::vector<Chain> chains = [] {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> cut(0.25, 0.75);
    std::vector<Chain> out;
    for (int i = 0; i < kChainCount; ++i) {
      const sq::CurveSplit halves = sq::SplitCurve(RandomArc(rng), cut(rng));
      out.push_back(MakeChain(halves.left, halves.right));
    }
    return out;
  }();
  return chains;
}

// Two ordinary curves joined smoothly (collinear handles of different lengths at the joint).
const std::vector<Chain>& TangentPairs() {
  static const std::vector<Chain> chains = [] {
    std::mt19937_64 rng(8);
    std::uniform_real_distribution<double> stretch(0.5, 2.0);
    std::uniform_real_distribution<double> turn(-0.8, 0.8);
    std::vector<Chain> out;
    for (int i = 0; i < kChainCount; ++i) {
      const Curve left = RandomArc(rng);
      const Point joint = left.p3;
      const Point chord = Rotate(left.p3 - left.p0, turn(rng)) * stretch(rng);
      const Point end = joint + chord;
      const Curve right{joint, joint + (joint - left.p2) * stretch(rng),
                        end - Rotate(chord * (1.0 / 3.0), turn(rng)), end};
      out.push_back(MakeChain(left, right));
    }
    return out;
  }();
  return chains;
}

// lib2geom fits sampled points: 17 per curve, the joint once.
std::vector<Geom::Point> ChainSamples(const Chain& chain) {
  std::vector<Geom::Point> points;
  for (size_t j = 0; j < chain.curves.size(); ++j) {
    for (int i = j == 0 ? 0 : 1; i <= 16; ++i) {
      const Point p = sq::PointAt(chain.curves[j], i / 16.0);
      points.emplace_back(p.h, p.v);
    }
  }
  return points;
}

Curve PeerFit(const std::vector<Geom::Point>& samples) {
  Geom::Point b[4];
  // The tolerance is a squared distance: 0.01 units. A miss still fills b with its best try.
  Geom::bezier_fit_cubic(b, samples.data(), static_cast<int>(samples.size()), 0.0001);
  return {{b[0][0], b[0][1]}, {b[1][0], b[1][1]}, {b[2][0], b[2][1]}, {b[3][0], b[3][1]}};
}

// ---- Reference ----------------------------------------------------------------------------

// Distance from x to c in long double: 256 samples, then Newton from every sampled minimum.
double ReferenceDistance(const Curve& c, Point x) {
  using L = long double;
  const L ph[4] = {c.p0.h, c.p1.h, c.p2.h, c.p3.h};
  const L pv[4] = {c.p0.v, c.p1.v, c.p2.v, c.p3.v};
  const auto at = [](const L* p, L t) {
    const L u = 1 - t;
    return u * u * u * p[0] + 3 * u * u * t * p[1] + 3 * u * t * t * p[2] + t * t * t * p[3];
  };
  const auto d1 = [](const L* p, L t) {
    const L u = 1 - t;
    return 3 * (u * u * (p[1] - p[0]) + 2 * u * t * (p[2] - p[1]) + t * t * (p[3] - p[2]));
  };
  const auto d2 = [](const L* p, L t) {
    return 6 * ((1 - t) * (p[2] - 2 * p[1] + p[0]) + t * (p[3] - 2 * p[2] + p[1]));
  };
  const auto squared = [&](L t) {
    const L dh = at(ph, t) - x.h;
    const L dv = at(pv, t) - x.v;
    return dh * dh + dv * dv;
  };
  constexpr int kSamples = 256;
  L sample[kSamples + 1];
  for (int i = 0; i <= kSamples; ++i) sample[i] = squared(static_cast<L>(i) / kSamples);
  L best = std::min(sample[0], sample[kSamples]);
  for (int i = 0; i <= kSamples; ++i) {
    const bool low =
        (i == 0 || sample[i] <= sample[i - 1]) && (i == kSamples || sample[i] <= sample[i + 1]);
    if (!low) continue;
    L t = static_cast<L>(i) / kSamples;
    for (int step = 0; step < 40; ++step) {
      const L dh = at(ph, t) - x.h;
      const L dv = at(pv, t) - x.v;
      const L g = dh * d1(ph, t) + dv * d1(pv, t);
      const L gp = d1(ph, t) * d1(ph, t) + d1(pv, t) * d1(pv, t) + dh * d2(ph, t) + dv * d2(pv, t);
      if (gp <= 0) break;
      const L next = std::clamp<L>(t - g / gp, 0, 1);
      if (next == t) break;
      t = next;
    }
    best = std::min({best, squared(t), sample[i]});
  }
  return static_cast<double>(std::sqrt(best));
}

double CurveSize(const Curve& c) {
  const double h0 = std::min({c.p0.h, c.p1.h, c.p2.h, c.p3.h});
  const double h1 = std::max({c.p0.h, c.p1.h, c.p2.h, c.p3.h});
  const double v0 = std::min({c.p0.v, c.p1.v, c.p2.v, c.p3.v});
  const double v1 = std::max({c.p0.v, c.p1.v, c.p2.v, c.p3.v});
  return std::max(h1 - h0, v1 - v0);
}

// Largest distance between the merged curve and the chain, measured both ways.
double Deviation(const Curve& merged, const Chain& chain) {
  double worst = 0.0;
  for (int i = 0; i <= 32; ++i) {
    const Point p = sq::PointAt(merged, i / 32.0);
    double nearest = std::numeric_limits<double>::infinity();
    for (const Curve& s : chain.curves) nearest = std::min(nearest, ReferenceDistance(s, p));
    worst = std::max(worst, nearest);
    for (const Curve& s : chain.curves) {
      worst = std::max(worst, ReferenceDistance(merged, sq::PointAt(s, i / 32.0)));
    }
  }
  return worst;
}

// ---- Benchmarks ---------------------------------------------------------------------------

void BM_DistanceToCurve(benchmark::State& state) {
  const std::vector<Query>& q = Queries();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(sq::DistanceToCurve(q[i].curve, q[i].x));
    if (++i == q.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DistanceToCurve);

void BM_Lib2geomNearestDistance(benchmark::State& state) {
  const std::vector<Query>& q = Queries();
  const std::vector<Geom::D2<Geom::Bezier>>& peer = PeerCurves();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PeerDistance(peer[i], q[i].x));
    if (++i == q.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Lib2geomNearestDistance);

void BM_AxisTangencies(benchmark::State& state) {
  const std::vector<Query>& q = Queries();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(sq::AxisTangencies(q[i].curve));
    if (++i == q.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AxisTangencies);

void FitMergeOver(benchmark::State& state, const std::vector<Chain>& chains) {
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(sq::FitMerge(chains[i].start, chains[i].curves));
    if (++i == chains.size()) i = 0;
  }
}

void PeerFitOver(benchmark::State& state, const std::vector<Chain>& chains) {
  std::vector<std::vector<Geom::Point>> samples;
  for (const Chain& c : chains) samples.push_back(ChainSamples(c));
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PeerFit(samples[i]));
    if (++i == chains.size()) i = 0;
  }
}

void BM_FitMerge_Mergeable(benchmark::State& s) {
  FitMergeOver(s, MergeableChains());
}
void BM_FitMerge_TangentPairs(benchmark::State& s) {
  FitMergeOver(s, TangentPairs());
}
void BM_Lib2geomFit_Mergeable(benchmark::State& s) {
  PeerFitOver(s, MergeableChains());
}
void BM_Lib2geomFit_TangentPairs(benchmark::State& s) {
  PeerFitOver(s, TangentPairs());
}
BENCHMARK(BM_FitMerge_Mergeable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FitMerge_TangentPairs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lib2geomFit_Mergeable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lib2geomFit_TangentPairs)->Unit(benchmark::kMicrosecond);

// ---- Summary ------------------------------------------------------------------------------

// Keeps the mean CPU time per iteration (ns) of every run while printing as usual. CPU time,
// not wall time: on a shared machine it is the steadier of the two.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations > 0) {
        nanoseconds[run.benchmark_name()] =
            run.cpu_accumulated_time * 1e9 / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> nanoseconds;
};

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0.0;
  const size_t k = std::min(values.size() - 1, static_cast<size_t>(fraction * values.size()));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
  return values[k];
}

void PrintDistanceAccuracy() {
  std::vector<double> ours;
  std::vector<double> peer;
  ours.reserve(Queries().size());
  peer.reserve(Queries().size());
  for (size_t i = 0; i < Queries().size(); ++i) {
    const Query& q = Queries()[i];
    const double reference = ReferenceDistance(q.curve, q.x);
    const double size = CurveSize(q.curve);
    ours.push_back(std::abs(sq::DistanceToCurve(q.curve, q.x) - reference) / size);
    peer.push_back(std::abs(PeerDistance(PeerCurves()[i], q.x) - reference) / size);
  }
  std::printf("distance error / curve size over %zu queries (long-double reference):\n",
              ours.size());
  std::printf("  DistanceToCurve      max %.3g   99.9th percentile %.3g\n",
              *std::max_element(ours.begin(), ours.end()), Percentile(ours, 0.999));
  std::printf("  lib2geom             max %.3g   99.9th percentile %.3g\n",
              *std::max_element(peer.begin(), peer.end()), Percentile(peer, 0.999));
}

void PrintFitAccuracy(const char* label, const std::vector<Chain>& chains) {
  std::vector<double> ours;
  std::vector<double> peer;
  for (const Chain& chain : chains) {
    ours.push_back(Deviation(sq::FitMerge(chain.start, chain.curves).curve, chain));
    peer.push_back(Deviation(PeerFit(ChainSamples(chain)), chain));
  }
  const auto over = [](const std::vector<double>& v, double limit) {
    return std::count_if(v.begin(), v.end(), [limit](double d) { return d > limit; });
  };
  std::printf(
      "%s (%zu chains): deviation from the chain: max / median / count over 0.01 / "
      "count over 1 unit\n",
      label, chains.size());
  std::printf("  FitMerge             %.3g / %.3g / %td / %td\n",
              *std::max_element(ours.begin(), ours.end()), Percentile(ours, 0.5), over(ours, 0.01),
              over(ours, 1.0));
  std::printf("  lib2geom fit         %.3g / %.3g / %td / %td\n",
              *std::max_element(peer.begin(), peer.end()), Percentile(peer, 0.5), over(peer, 0.01),
              over(peer, 1.0));
}

void PrintRatio(const RecordingReporter& r, const char* label, const std::string& ours,
                const std::string& peer, double scale, const char* unit) {
  const auto a = r.nanoseconds.find(ours);
  const auto b = r.nanoseconds.find(peer);
  if (a == r.nanoseconds.end() || b == r.nanoseconds.end()) return;
  std::printf("%-30s ours %9.1f %s   lib2geom %9.1f %s   lib2geom time / ours %.3g\n", label,
              a->second / scale, unit, b->second / scale, unit, b->second / a->second);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Queries();
  PeerCurves();
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nSummary (same run, CPU time per call)\n");
  PrintRatio(reporter, "nearest distance per query", "BM_DistanceToCurve",
             "BM_Lib2geomNearestDistance", 1.0, "ns");
  PrintRatio(reporter, "fit, mergeable pair", "BM_FitMerge_Mergeable", "BM_Lib2geomFit_Mergeable",
             1000.0, "us");
  PrintRatio(reporter, "fit, tangent-continuous pair", "BM_FitMerge_TangentPairs",
             "BM_Lib2geomFit_TangentPairs", 1000.0, "us");
  const auto tangencies = reporter.nanoseconds.find("BM_AxisTangencies");
  if (tangencies != reporter.nanoseconds.end()) {
    std::printf("%-30s %.1f ns per curve\n", "AxisTangencies", tangencies->second);
  }
  PrintDistanceAccuracy();
  PrintFitAccuracy("exactly mergeable pairs", MergeableChains());
  PrintFitAccuracy("tangent-continuous pairs", TangentPairs());
  return 0;
}
