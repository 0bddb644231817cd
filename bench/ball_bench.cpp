// ball's heaviest frame: one play step with all thirty balls in flight, thirty hunting
// enemies and a full stock, with its drawing (the copy to the window is not counted).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <iterator>

#include "ball/ball.h"
#include "bench/bench.h"
#include "frame/frame.h"

namespace {

struct Snapshot {
  ball::Ball balls[ball::kBallSlots];
  ball::Enemy enemies[ball::kEnemySlots];
  int stock[ball::kStockSize];
  float scrollDistance;
  int32_t nextSpawnDistance;
};

// A crowded course: balls rising across the whole width, enemies of the four hunting
// types among them (none touching a ball, so nothing is lost during the step).
Snapshot Crowded() {
  Snapshot s{};
  for (int i = 0; i < ball::kBallSlots; ++i) {
    const int type = 1 + i % 8;
    s.balls[i] = ball::Ball{180.0f + 9.5f * i, 120.0f + 11.0f * (i % 10), 0.3f, -1.5f, type, true,
                            i % 3 == 0 && type > 1 ? 20 : 0, 100};
  }
  const int hunters[4] = {1, 2, 3, 5};
  for (int i = 0; i < ball::kEnemySlots; ++i) {
    const int type = hunters[i % 4];
    s.enemies[i] = ball::Enemy{180.0f + 9.5f * i, -40.0f + (i % 2) * 400.0f, type, true,
                               type == 2 ? i % ball::kBallSlots : ball::kNoTarget};
  }
  for (int& e : s.stock) e = 2;
  s.scrollDistance = 1000;
  s.nextSpawnDistance = 0;
  return s;
}

void Restore(const Snapshot& s) {
  std::copy(std::begin(s.balls), std::end(s.balls), ball::balls);
  std::copy(std::begin(s.enemies), std::end(s.enemies), ball::enemies);
  std::copy(std::begin(s.stock), std::end(s.stock), ball::ballStock);
  ball::scrollDistance = s.scrollDistance;
  ball::nextSpawnDistance = s.nextSpawnDistance;
}

void BallPlayStep(benchmark::State& state) {
  bench::OpenHeadless();
  frame::ResetFrame();
  frame::backDC.Create(640, 480);
  ball::ballDC.Create(288, 32);
  ball::maskDC.Create(64, 32);
  ball::backImageDC.Create(320, 180);
  ball::enemyDC.Create(160, 32);
  frame::SeedRandom(1);
  frame::mouseX = 320;
  frame::mouseY = 400;
  const Snapshot start = Crowded();
  for (auto _ : state) {
    Restore(start);
    frame::gameState = ball::Play;
    ball::PlayStep();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
}
BENCHMARK(BallPlayStep);
const bool kBallPlayStep = bench::Target("BallPlayStep", 3.0);

}  // namespace
