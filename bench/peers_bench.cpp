// The heaviest frames of the games still to come, as call streams on our layer: the same
// streams the peer harness (shared/peers/wine-gdi) replays on the old drawing API, each
// frame ending with one 640x480 copy. Each runs on the widest CPU path and again on the
// baseline path (the *Baseline runs carry no target).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/bench.h"
#include "frame/frame.h"
#include "platform/surface.h"

namespace {

using plat::Rop;
using plat::Surface;

// Surfaces filled with the harness's noise, so AND transfers do real work.
void Noise(Surface& s, int w, int h) {
  s.Create(w, h);
  unsigned v = 12345;
  for (plat::Colour& p : s.pixels) {
    v = v * 1103515245u + 12345u;
    p = ((v >> 8) | 0x404040) & 0xFFFFFF;
  }
}

struct Peers {
  Surface window, sheet, tower, sprite, mask;
  std::vector<int> wall;  // the tower's texture column of each wall column
  Peers() {
    bench::OpenHeadless();
    frame::ResetFrame();
    Noise(frame::backDC, 640, 480);
    Noise(frame::dcTable[2], 640, 480);  // the scratch surface of layout B
    frame::ForgetScratch();
    Noise(window, 640, 480);
    Noise(sheet, 1280, 960);
    Noise(tower, 320, 480);
    Noise(sprite, 64, 64);
    Noise(mask, 64, 64);
    for (int c = 0; c < 320; ++c) {
      int src = static_cast<int>(std::asin(1 - c * 0.00625) * 180 / 3.141592653 * 16 / 9 + 160) % 320;
      wall.push_back(src < 0 ? src + 320 : src);
    }
  }
  void Present() { plat::Blit(window, 0, 0, 640, 480, frame::backDC, 0, 0, Rop::Copy); }
};

Peers& World() {
  static Peers p;
  return p;
}

constexpr plat::Colour Rgb(int r, int g, int b) { return r | g << 8 | b << 16; }

// A descent frame at a level's start: 250 tiles, each a box and a stretched sheet cell.
void DescentFrame(Peers& p) {
  frame::DrawBox(0, 0, 640, 480, 0);
  const double D = 100.0;
  for (int t = 0; t < 250; ++t) {
    const int L = (t % 13) * 51 - 20, T = (t / 13) * 25 - 10;
    frame::DrawBox(L, T, static_cast<int>(2560 / D * 2 - 2), static_cast<int>(1280 / D * 2 - 2), Rgb(t & 255, 40, 0));
    plat::StretchBlit(frame::backDC, L, T, static_cast<int>(4800 / D * 2), static_cast<int>(2240 / D * 2), p.sheet,
                      (t * 37) % 1216, (t * 53) % 928, 64, 32, Rop::And);
  }
  p.Present();
}

// A tower frame: the wall as two column transfers, stars, 20 masked sprites, side boxes.
void TowerFrame(Peers& p) {
  frame::DrawBox(0, 0, 640, 480, 0);
  plat::BlitColumns(frame::backDC, 160, 100, 480, p.tower, p.wall.data(), 320, 0, Rop::Copy);
  plat::BlitColumns(frame::backDC, 160, 100 - 480, 480, p.tower, p.wall.data(), 320, 0, Rop::Copy);
  for (int i = 0; i < 256; ++i) plat::SetPixel(frame::backDC, (i * 131) % 640, (i * 71) % 480, Rgb(200, 180, 220));
  for (int q = 0; q < 20; ++q) {
    plat::StretchBlit(frame::backDC, 200 + q * 11, q * 22, 58, 64, p.mask, 0, 0, 64, 64, Rop::And);
    plat::StretchBlit(frame::backDC, 200 + q * 11, q * 22, 58, 64, p.sprite, 0, 0, 64, 64, Rop::Invert);
  }
  frame::DrawBox(0, 240, 160, 240, 0x007F7F);
  frame::DrawBox(480, 240, 160, 240, 0x007F7F);
  p.Present();
}

// A light-painting step: 256 squares of 16x16.
void MosaicFrame(Peers& p) {
  for (int i = 0; i < 256; ++i)
    frame::DrawBox((i * 97) % 640 - 8, (i * 61) % 480 - 8, 16, 16, Rgb(i, 255 - i, i / 2));
  p.Present();
}

// The dust game's title: four large masked texts and 49 scan bars.
void TitleFrame(Peers& p) {
  frame::DrawBox(0, 0, 640, 480, 0);
  frame::DrawMaskedStringB(160, 240, "line", 0xFFFFFF, 96, 1);
  frame::DrawMaskedStringB(96, 0, "\x84\x9f", 0xFFFFFF, 256, 1);
  frame::DrawMaskedStringB(468, 380, "dust", 0xFFFFFF, 72, 1);
  frame::DrawMaskedStringB(0, 0, "EXPERIMENTAL   ", 0xFFFFFF, 72, 1);
  for (int i = -1; i <= 47; ++i) frame::DrawBox(0, 10 * i + 3, 700, 9, 0);
  frame::SyncScratch();  // as the frame loop does after each step
  p.Present();
}

template <void (*Frame)(Peers&), plat::RowPath Path>
void Run(benchmark::State& state) {
  Peers& p = World();
  const plat::RowPath before = plat::ActiveRowPath();
  if (Path == plat::RowPath::Baseline) plat::UseRowPath(Path);
  for (auto _ : state) {
    Frame(p);
    benchmark::DoNotOptimize(p.window.pixels.data());
  }
  plat::UseRowPath(before);
}

constexpr plat::RowPath kBest = plat::RowPath::Avx2, kBase = plat::RowPath::Baseline;

BENCHMARK(Run<DescentFrame, kBest>)->Name("Descent");
BENCHMARK(Run<TowerFrame, kBest>)->Name("Tower");
BENCHMARK(Run<MosaicFrame, kBest>)->Name("Mosaic");
BENCHMARK(Run<TitleFrame, kBest>)->Name("Title");
BENCHMARK(Run<DescentFrame, kBase>)->Name("DescentBaseline");
BENCHMARK(Run<TowerFrame, kBase>)->Name("TowerBaseline");
BENCHMARK(Run<MosaicFrame, kBase>)->Name("MosaicBaseline");
BENCHMARK(Run<TitleFrame, kBase>)->Name("TitleBaseline");
const bool kDescent = bench::Target("Descent", 10.0);
const bool kTower = bench::Target("Tower", 5.0);
const bool kMosaic = bench::Target("Mosaic", 1.3);
const bool kTitle = bench::Target("Title", 3.0);

}  // namespace
