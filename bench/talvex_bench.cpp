// talvex's heaviest frame: one play step with the climber holding on half-way up the
// tower: the wall's 320 screen columns (two column transfers each), the stars, about 20
// platforms in view, the climber and the two text lines (the copy to the window is not
// counted).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "bench/bench.h"
#include "frame/frame.h"
#include "talvex/talvex.h"

namespace {

struct Snapshot {
  talvex::Platform platforms[talvex::kPlatforms];
  float angle, y;
};

// The seed-1 tower with the platforms around the climber turned to face the viewer, so
// that about 20 of them are drawn; the climber holds on to platform 128.
Snapshot MidTower(int& drawn) {
  frame::SeedRandom(1);
  talvex::SetupTower();
  Snapshot s{};
  const talvex::Platform& hold = talvex::platforms[128];
  s.angle = hold.angle;
  s.y = hold.y + 10;
  drawn = 0;
  for (int i = 0; i < talvex::kPlatforms; ++i) {
    talvex::Platform p = talvex::platforms[i];
    if (std::abs(static_cast<int>(p.y + 120 - s.y)) < 280) {
      p.angle = s.angle + static_cast<float>((i * 37) % 120 - 60);
      if (i % 4 == 3) p.angle += 180;  // some behind the tower, as in play
      else ++drawn;
    }
    s.platforms[i] = p;
  }
  return s;
}

void TalvexPlayStep(benchmark::State& state) {
  bench::OpenHeadless();
  frame::ResetFrame();
  frame::backDC.Create(640, 480);
  frame::dcTable[2].Create(640, 480);
  frame::dcTable[talvex::kPlatformSlot].Create(64, 64);
  frame::dcTable[talvex::kMaskSlot].Create(192, 64);
  frame::dcTable[talvex::kStickSlot].Create(128, 32);
  frame::dcTable[talvex::kTowerSlot].Create(320, 480);
  int drawn = 0;
  const Snapshot start = MidTower(drawn);
  for (auto _ : state) {
    std::copy(std::begin(start.platforms), std::end(start.platforms), talvex::platforms);
    talvex::climberAngle = start.angle;
    talvex::climberY = start.y;
    talvex::angleVelocity = 0;
    talvex::verticalVelocity = 0;
    frame::gameState = talvex::Play;
    talvex::PlayStep();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
  state.counters["platforms"] = drawn;
}
BENCHMARK(TalvexPlayStep);
const bool kTalvexPlayStep = bench::Target("TalvexPlayStep", 4.0);

}  // namespace
