// Writes a random input script for a headless run: mouse moves and clicks inside the
// 640x480 picture, presses and releases of the given keys, and Escape about once in
// 5,000 frames (rare, as it may end the program).
//   monkey FRAMES SEED [KEY...]   (KEY: a script key name, e.g. left z space)
// The same arguments always give the same script.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// xorshift32: small, fast and the same everywhere.
uint32_t Next(uint32_t& s) {
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: monkey FRAMES SEED [KEY...]\n");
    return 2;
  }
  long frames = std::strtol(argv[1], nullptr, 10);
  uint32_t seed = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
  std::vector<std::string> keys(argv + 3, argv + argc);
  uint32_t s = seed * 2654435761u + 0x9E3779B9u;
  if (s == 0) s = 1;
  std::vector<bool> held(keys.size(), false);
  std::printf("# monkey %ld %u\n", frames, seed);
  for (long f = 1; f <= frames; ++f) {
    uint32_t r = Next(s) % 1000;
    if (r < 150) {
      std::printf("%ld mouse %u %u\n", f, Next(s) % 640, Next(s) % 480);
    } else if (r < 200) {
      std::printf("%ld mouse %u %u\n%ld click\n", f, Next(s) % 640, Next(s) % 480, f);
    } else if (r < 420 && !keys.empty()) {
      // A press held for a while, as a player holds an arrow key.
      size_t k = Next(s) % keys.size();
      std::printf("%ld %s %s\n", f, held[k] ? "up" : "down", keys[k].c_str());
      held[k] = !held[k];
    } else if (r == 999 && Next(s) % 5 == 0) {
      std::printf("%ld down escape\n%ld up escape\n", f, f + 1);
    }
  }
  return 0;
}
