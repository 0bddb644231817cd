// volley's heaviest frame: the fourth attack phase with the bullet table full and the
// blast sweeping every cell, drawn by the software sprite renderer with its labels.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "bench/bench.h"
#include "platform/surface.h"
#include "volley/field.h"
#include "volley/render.h"

namespace {

bool NoKeys(int) { return false; }

// The measured frame, kept out of line so that a profiler can count it alone
// (valgrind --tool=callgrind --toggle-collect='*MeasuredFrame*').
[[gnu::noinline]] void MeasuredFrame(volley::PlayField& f) {
  volley::BeginFrame();  // as the game's loop: a picture cleared to black
  volley::FieldFrame(f);
}
uint32_t PhaseFourClock() { return 61000; }  // with phaseStart 0: the fourth phase

// The texture as siro.bmp lays it out: a grid cell with a dim edge, the gauge bar and a
// round dot with keyed-out corners, the rest pure red (transparent).
void MakeVolleyTexture() {
  plat::Surface t;
  t.Create(32, 32);
  for (plat::Colour& c : t.pixels) c = 0x0000FF;
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) t.Row(y)[x] = (x == 0 || y == 0) ? 0xC8C8C8 : 0xFFFFFF;
  for (int y = 8; y < 24; y++) {
    t.Row(y)[0] = 0xC8C8C8;
    t.Row(y)[1] = 0xFFFFFF;
  }
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) {
      const int ex = 2 * x - 7, ey = 2 * y - 7;
      const int d = ex * ex + ey * ey;
      if (d <= 36) t.Row(24 + y)[24 + x] = 0xFFFFFF;
      else if (d <= 72) t.Row(24 + y)[24 + x] = 0x202020;
    }
  volley::MakeTexture(0, t);
}

void VolleyHeaviestFrame(benchmark::State& state) {
  bench::OpenHeadless();
  char error[128];
  if (!volley::CreateFonts(error, sizeof error)) {
    state.SkipWithError(error);
    return;
  }
  MakeVolleyTexture();
  plat::Surface screen;
  screen.Create(640, 480);
  volley::renderSet.target = &screen;
  const volley::FieldIo saved = volley::fieldIo;
  volley::fieldIo.keyDown = NoKeys;
  volley::fieldIo.timeMs = PhaseFourClock;

  auto field = std::make_unique<volley::PlayField>();
  volley::PlayField& f = *field;
  volley::CreateField(f);
  f.phaseStart = 0;
  volley::SeedRoll(1);
  f.blastLevel = 200;  // a live blast: every cell is within reach
  f.shot.x = 160;
  f.shot.y = 240;
  // Let the streams run, then fill every free slot with a slow bullet somewhere on the
  // field: each measured frame starts from this full table.
  auto frame = [&] {
    volley::BeginFrame();  // as the game's loop: a picture cleared to black
    volley::FieldFrame(f);
  };
  for (int i = 0; i < 30; i++) {
    f.player.life = 50;
    frame();
  }
  for (int i = 0; i < volley::kBullets; i++) {
    volley::Mover& b = f.bullets[i];
    if (b.life != 0) continue;
    b = volley::Mover{8.0 + (i * 37) % 304, 8.0 + (i * 53) % 464, 0.5, 0.25, 1, (i * 7) % 360};
  }
  f.player.life = 50;  // in play: the shot step and the hits run
  auto start = std::make_unique<volley::PlayField>(f);
  int live = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(static_cast<void*>(&f), start.get(), sizeof f);  // about 90 KB
    state.ResumeTiming();
    MeasuredFrame(f);
    benchmark::DoNotOptimize(screen.pixels.data());
  }
  for (const volley::Mover& b : f.bullets) live += b.life != 0;
  state.counters["live_bullets"] = live;
  volley::fieldIo = saved;
  volley::renderSet.target = nullptr;
}
BENCHMARK(VolleyHeaviestFrame);
const bool kVolleyFrame = bench::Target("VolleyHeaviestFrame", 3.0);

}  // namespace
