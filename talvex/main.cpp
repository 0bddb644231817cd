// talvex: the game frame run with talvex's settings.
//
// One option is kept out of --help because it is for test runs only:
// --start-height N (pixels, 1..100000) starts the first climb that high up the tower.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "talvex/settings.h"

namespace {

// Takes --start-height N out of argv; false (with a message) when N is not a height.
bool TakeStartHeight(int& argc, char** argv) {
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--start-height") != 0) {
      argv[kept++] = argv[i];
      continue;
    }
    char* end = nullptr;
    const long n = i + 1 < argc ? std::strtol(argv[i + 1], &end, 10) : 0;
    if (i + 1 >= argc || end == argv[i + 1] || *end != 0 || n < 1 || n > 100000) {
      std::fprintf(stderr, "talvex: --start-height needs a height in pixels from 1 to 100000\n");
      return false;
    }
    talvex::testStartHeight = static_cast<float>(n);
    ++i;
  }
  argc = kept;
  argv[argc] = nullptr;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!TakeStartHeight(argc, argv)) return 2;
  return frame::RunFrame(talvex::kSettings, argc, argv);
}
