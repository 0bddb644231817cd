// boundary's frames: the title (four masked texts at heights 96, 256, 72 and 72 under 49
// scan bars) and the heaviest play frame (every particle slot bursting at its widest,
// sixteen sources, the full charge and twelve health strokes on the line), each with its
// drawing (the copy to the window is not counted).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "bench/bench.h"
#include "boundary/boundary.h"
#include "boundary/settings.h"
#include "frame/frame.h"
#include "platform/cues.h"
#include "platform/surface.h"

namespace {

void Prepare() {
  bench::OpenHeadless();
  frame::ResetFrame();
  frame::CreateSurfaces(boundary::kSettings);
  frame::SeedRandom(1);
  plat::mediaSink = nullptr;  // the commands are not part of the frame's cost
}

void BoundaryTitleFrame(benchmark::State& state) {
  Prepare();
  frame::gameState = boundary::Title;
  boundary::frameCounter = 0;
  for (auto _ : state) {
    boundary::TitleFrame();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
  plat::mediaSink = plat::SoundCommand;
}
BENCHMARK(BoundaryTitleFrame);
const bool kTitle = bench::Target("BoundaryTitleFrame", 2.5);

struct Field {
  boundary::DustParticle particles[boundary::kParticles];
  boundary::DustSource sources[boundary::kSources];
};

// Every slot in use, spread over the picture; sources gliding across both lanes. All
// bursting, fresh enough to draw nine long strokes each, is the heaviest frame there is;
// all drifting, swinging through the line, is the crowded field of a long game.
Field Crowded(int state) {
  Field f{};
  for (int i = 0; i < boundary::kParticles; ++i)
    f.particles[i] = boundary::DustParticle{20.0f + 4.7f * i, 70.0f + 2.6f * (i % 128), i % 7 - 3.0f,
                                            i % 5 - 2.0f, true, state, 30};
  for (int i = 0; i < boundary::kSources; ++i)
    f.sources[i] = boundary::DustSource{40.0f * i, i % 2 ? -2.0f : 2.0f, true, i % 2};
  return f;
}

void PlayFrames(benchmark::State& state, int particleState) {
  Prepare();
  const Field start = Crowded(particleState);
  frame::mouseX = 320;
  frame::mouseDown[0] = 1;
  for (auto _ : state) {
    std::copy(std::begin(start.particles), std::end(start.particles), boundary::particles);
    std::copy(std::begin(start.sources), std::end(start.sources), boundary::sources);
    boundary::charge = boundary::kFullCharge;
    boundary::health = boundary::kStartHealth;
    boundary::score = 0;
    boundary::gameOverCountdown = 0;
    frame::gameState = boundary::Play;
    boundary::PlayFrame();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
  plat::mediaSink = plat::SoundCommand;
}

void BoundaryHeaviestPlayFrame(benchmark::State& state) { PlayFrames(state, boundary::Bursting); }
BENCHMARK(BoundaryHeaviestPlayFrame);
const bool kPlay = bench::Target("BoundaryHeaviestPlayFrame", 1.5);

void BoundaryFullFieldPlayFrame(benchmark::State& state) { PlayFrames(state, boundary::Drifting); }
BENCHMARK(BoundaryFullFieldPlayFrame);

// The bursts' strokes of the heaviest frame alone (no black fill, no random draws): 1152
// lines a frame, fresh ones for each of 64 frames so that the branch predictor cannot
// learn them, as it cannot in play.
struct StrokeEnds {
  int x1, y1, x2, y2;
};

void BoundaryHeaviestStrokes(benchmark::State& state) {
  Prepare();
  const Field f = Crowded(boundary::Bursting);
  constexpr int kPerFrame = boundary::kParticles * 9, kFrames = 64;
  std::vector<StrokeEnds> strokes;
  strokes.reserve(kPerFrame * kFrames);
  for (int frame = 0; frame < kFrames; ++frame)
    for (const boundary::DustParticle& p : f.particles)
      for (int i = 0; i < 9; ++i) {
        const int x1 = static_cast<int>(p.x - frame::RandomBelow(96));
        const int y1 = static_cast<int>(p.y - 8 + frame::RandomBelow(17));
        const int x2 = static_cast<int>(p.x + frame::RandomBelow(96));
        const int y2 = static_cast<int>(p.y - 8 + frame::RandomBelow(17));
        strokes.push_back({x1, y1, x2, y2});
      }
  size_t at = 0;
  for (auto _ : state) {
    for (size_t i = at; i < at + kPerFrame; ++i) {
      const StrokeEnds& l = strokes[i];
      plat::DrawLineTo(frame::backDC, l.x1, l.y1, l.x2, l.y2, 0xC040E0);
    }
    at = (at + kPerFrame) % strokes.size();
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
}
BENCHMARK(BoundaryHeaviestStrokes);

}  // namespace
