// quorin's heaviest descent frames: the ground drawn at a level's start (about 250 tiles
// of 96x44 stretched cells), close to the ground while still falling (a few dozen cells
// stretched past 500 pixels) and on the touchdown frame (the footprint only).
#include <benchmark/benchmark.h>

#include "bench/bench.h"
#include "frame/frame.h"
#include "quorin/quorin.h"

namespace {

// A level generated from a fixed seed over a texture sheet of noise, the camera at the
// given fall with the fade complete.
void Prepare(float z, int phase) {
  bench::OpenHeadless();
  frame::ResetFrame();
  frame::backDC.Create(640, 480);
  quorin::sheetDC.Create(1280, 960);
  uint32_t seed = 1;
  for (plat::Colour& c : quorin::sheetDC.pixels) {
    seed = seed * 1664525u + 1013904223u;
    c = (seed >> 8) | 0x808080;
  }
  frame::SeedRandom(3);
  quorin::brightness = quorin::kDefaultBrightness;
  quorin::ResetGame();
  quorin::camZ = z;
  quorin::fade = 1;
  quorin::descentPhase = phase;
}

// One frame of the ground at the given fall and phase.
void Ground(benchmark::State& state, float z, int phase) {
  Prepare(z, phase);
  for (auto _ : state) {
    quorin::RenderGround();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
}

void QuorinLevelStart(benchmark::State& state) { Ground(state, 100, quorin::Descending); }
BENCHMARK(QuorinLevelStart);
const bool kLevelStart = bench::Target("QuorinLevelStart", 8.0);

// Height 19: cells stretched to 505x235.
void QuorinNearGround(benchmark::State& state) { Ground(state, 181, quorin::Descending); }
BENCHMARK(QuorinNearGround);
const bool kNearGround = bench::Target("QuorinNearGround", 8.0);

// The footprint of a touchdown, cells stretched to 587x273.
void QuorinTouchdown(benchmark::State& state) { Ground(state, 183.72f, quorin::Rising); }
BENCHMARK(QuorinTouchdown);
const bool kTouchdown = bench::Target("QuorinTouchdown", 8.0);

}  // namespace
