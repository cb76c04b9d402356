// Start-up and shut-down of the plug-in in one process: load the host and the plug-in, Startup,
// application started, Shutdown, unload; against the host starting without a plug-in, measured
// in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#include "app/host.hpp"

namespace {

std::filesystem::path preferenceFile() {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "sq-startup-bench-preferences.json";
  return file;
}

sqhost::HostOptions options(const std::string& pluginPath) {
  sqhost::HostOptions made;
  made.pluginPath = pluginPath;
  made.preferenceFile = preferenceFile();
  return made;
}

// The whole life of the plug-in in a host: what a user pays for each run of the application.
void BM_PluginLifecycle(benchmark::State& state) {
  for (auto _ : state) {
    sqhost::Host host(options(SQ_PLUGIN_PATH));
    std::string error;
    if (!host.start(error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    host.shutDown();
  }
}

// The host on its own: the suites published, the preference file read, no plug-in to load.
void BM_HostAlone(benchmark::State& state) {
  for (auto _ : state) {
    sqhost::Host host(options(""));
    std::string error;
    benchmark::DoNotOptimize(host.start(error));
  }
}

class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations > 0 && run.run_type == Run::RT_Iteration) {
        seconds[run.benchmark_name()] =
            run.real_accumulated_time / static_cast<double>(run.iterations);
        cpuSeconds[run.benchmark_name()] =
            run.cpu_accumulated_time / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
  std::map<std::string, double> cpuSeconds;
};

}  // namespace

// Real time matters here: writing the preference file waits for the disk, not the CPU.
BENCHMARK(BM_HostAlone)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PluginLifecycle)->Unit(benchmark::kMicrosecond)->UseRealTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // A first run stores the plug-in's defaults; the measured runs start from an existing file, as
  // every run after the first does.
  std::filesystem::remove(preferenceFile());
  {
    sqhost::Host host(options(SQ_PLUGIN_PATH));
    std::string error;
    if (!host.start(error)) throw std::runtime_error(error);
  }
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto life = reporter.seconds.find("BM_PluginLifecycle/real_time");
  const auto alone = reporter.seconds.find("BM_HostAlone/real_time");
  if (life != reporter.seconds.end() && alone != reporter.seconds.end()) {
    const double lifeCpu = reporter.cpuSeconds["BM_PluginLifecycle/real_time"];
    const double aloneCpu = reporter.cpuSeconds["BM_HostAlone/real_time"];
    std::printf("\nSummary (same run; ratio = plug-in start-up and shut-down / host alone)\n");
    std::printf("real time: plug-in %8.1f us   host alone %8.1f us   ratio %.2f\n",
                life->second * 1e6, alone->second * 1e6, life->second / alone->second);
    std::printf("CPU time:  plug-in %8.1f us   host alone %8.1f us   ratio %.2f\n", lifeCpu * 1e6,
                aloneCpu * 1e6, lifeCpu / aloneCpu);
  }
  std::filesystem::remove(preferenceFile());
  return 0;
}
