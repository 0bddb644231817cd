// ostel's frames: the heaviest play step (every mote and bomb in flight, the pair pass and
// the painting), the mosaic alone, the title and the game-over screen.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/bench.h"
#include "frame/frame.h"
#include "ostel/ostel.h"
#include "ostel/settings.h"

namespace {

using namespace ostel;

Body crowded[kBodies];

// All 256 motes and 8 bombs spread over the field (a few of them close enough to push),
// bombs far from exploding, the player in the middle of it.
void Crowd() {
  frame::SeedRandom(99);
  for (int i = 0; i < kPairSlots; ++i) {
    crowded[i] = Body{static_cast<float>(frame::RandomBelow(640)), static_cast<float>(frame::RandomBelow(480)),
                      (frame::RandomBelow(41) - 20) * 0.1f, (frame::RandomBelow(41) - 20) * 0.1f, 1,
                      i >= kFirstBomb ? 150 : 0};
  }
  crowded[kPlayer] = Body{320, 240, 0.2f, -0.1f, 1, 0};
}

void Prepare() {
  bench::OpenHeadless();
  frame::ResetFrame();
  frame::CreateSurfaces(kSettings);
  Crowd();
  frame::SeedRandom(1);
}

void Restore() {
  std::memcpy(bodies, crowded, sizeof bodies);
  endurance = 900;
  fireCooldown = 30;
  fadeLevel = 255;
  playStart = 0;
  frame::gameState = Play;
}

void OstelHeaviestStep(benchmark::State& state) {
  Prepare();
  for (auto _ : state) {
    Restore();
    SurvivalStep();
    cues.marked = 0;
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
}
BENCHMARK(OstelHeaviestStep);
const bool kHeaviestStep = bench::Target("OstelHeaviestStep", 5.0);

void OstelMosaic(benchmark::State& state) {
  Prepare();
  Restore();
  for (auto _ : state) {
    PaintLight();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
}
BENCHMARK(OstelMosaic);
const bool kMosaic = bench::Target("OstelMosaic", 1.5);

void OstelTitleFrame(benchmark::State& state) {
  Prepare();
  frame::gameState = Title;
  for (auto _ : state) {
    TitleStep();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
}
BENCHMARK(OstelTitleFrame);
const bool kTitleFrame = bench::Target("OstelTitleFrame", 2.0);

void OstelGameOverFrame(benchmark::State& state) {
  Prepare();
  frame::gameState = GameOver;
  playStart = 1000;
  playEnd = 48500;
  for (auto _ : state) {
    GameOverStep();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
}
BENCHMARK(OstelGameOverFrame);
const bool kGameOverFrame = bench::Target("OstelGameOverFrame", 2.0);

}  // namespace
