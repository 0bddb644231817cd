// collection_bench's main: runs the registered benchmarks with the console reporter, then
// prints each result as a ratio to the yardstick, with the declared targets.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "platform/system.h"

namespace bench {

namespace {

std::map<std::string, double>& Targets() {
  static std::map<std::string, double> targets;
  return targets;
}

bool systemOpen = false;

struct Result {
  std::string name;
  double seconds;  // CPU time per iteration (steadier than wall time on a busy machine)
};

// The console report as usual, and every run kept for the summary.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.error_occurred || r.iterations == 0 || r.run_type != Run::RT_Iteration) continue;
      results.push_back({r.benchmark_name(), r.cpu_accumulated_time / static_cast<double>(r.iterations)});
    }
  }
  std::vector<Result> results;
};

void PrintSummary(const std::vector<Result>& results) {
  double yard = 0;
  for (const Result& r : results)
    if (r.name == "Yardstick") yard = r.seconds;
  if (yard <= 0) {
    std::printf("\n(no Yardstick result: run it too to see ratios)\n");
    return;
  }
  std::printf("\nIn yardsticks (one 640x480 buffer copy = %.1f us):\n", yard * 1e6);
  std::printf("%-44s %12s %11s  %s\n", "benchmark", "cpu (us)", "yardsticks", "target");
  int missed = 0;
  for (const Result& r : results) {
    const double ratio = r.seconds / yard;
    std::string target;
    // A target names a benchmark family; its runs with arguments share it.
    for (const auto& [name, limit] : Targets())
      if (r.name == name || r.name.rfind(name + "/", 0) == 0) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "<= %g %s", limit, ratio <= limit ? "met" : "MISSED");
        target = buf;
        missed += ratio > limit;
      }
    std::printf("%-44s %12.2f %11.4f  %s\n", r.name.c_str(), r.seconds * 1e6, ratio, target.c_str());
  }
  if (missed) std::printf("%d target(s) missed\n", missed);
}

}  // namespace

void OpenHeadless() {
  if (systemOpen) return;
  plat::Options opts;
  opts.headless = true;
  opts.mute = true;
  if (!plat::OpenSystem(opts, plat::WindowConfig{})) {
    std::fprintf(stderr, "collection_bench: the headless system did not open\n");
    std::exit(1);
  }
  systemOpen = true;
}

bool Target(const char* name, double yardsticks) {
  Targets()[name] = yardsticks;
  return true;
}

}  // namespace bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  bench::PrintSummary(reporter.results);
  benchmark::Shutdown();
  return 0;
}
