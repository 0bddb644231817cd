// Shared by every benchmark file of collection_bench. A file registers its benchmarks
// with BENCHMARK(...) as usual; the program's main prints, after Google Benchmark's own
// report, a summary of every result as a multiple of the yardstick (one full 640x480
// buffer copy, the benchmark named "Yardstick").
#pragma once

namespace bench {

// Opens the headless system once for the whole run (fonts, virtual clock, no window).
// Call it at the start of any benchmark that draws text or uses the system.
void OpenHeadless();

// Declares a target: the benchmark `name` should take at most `yardsticks` yardsticks.
// The summary marks each target as met or missed. Use at namespace scope:
//   static const bool kTarget = bench::Target("BM_Something", 3.0);
bool Target(const char* name, double yardsticks);

}  // namespace bench
