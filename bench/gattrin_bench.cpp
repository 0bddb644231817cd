// gattrin's heaviest frame: the title's demonstration with all 64 attackers on screen,
// half of them pounding the doors and half sliding along the edges, every one with its
// beam, followed by the title overlay (the copy to the window is not counted).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <iterator>

#include "bench/bench.h"
#include "frame/frame.h"
#include "gattrin/gattrin.h"

namespace {

void GattrinTitleFrame(benchmark::State& state) {
  bench::OpenHeadless();
  frame::ResetFrame();
  frame::backDC.Create(640, 480);
  frame::SeedRandom(1);
  frame::mouseX = 320;
  frame::mouseY = 200;
  gattrin::barCount = 4;
  gattrin::ResetSiege();
  gattrin::handState = gattrin::InputLocked;
  gattrin::Attacker start[gattrin::kAttackerSlots];
  for (int i = 0; i < gattrin::kAttackerSlots; ++i) {
    const float speed = 1.0f + 0.1f * static_cast<float>(i % 20);
    // Even slots in contact (0 < phase x speed < 120), odd ones elsewhere on their edge.
    const float phase = i % 2 == 0 ? 1.0f + static_cast<float>(i % 37) : 100.0f / speed + static_cast<float>(i);
    start[i] = gattrin::Attacker{i % 8, phase, true, true, speed};
  }
  for (auto _ : state) {
    std::copy(std::begin(start), std::end(start), gattrin::attackers);
    gattrin::tick = 500;
    gattrin::soundCues.marked = 0;
    frame::gameState = gattrin::Title;
    gattrin::UpdateSiege();
    gattrin::TitleOverlay();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
}
BENCHMARK(GattrinTitleFrame);
const bool kGattrinTitleFrame = bench::Target("GattrinTitleFrame", 1.5);

}  // namespace
