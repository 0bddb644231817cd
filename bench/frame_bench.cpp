// The frame's costs: the yardstick copy, boxes, stretched cells, text and masked text,
// and whole frames of the frame demonstration program.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/bench.h"
#include "frame/demo/demo.h"
#include "frame/frame.h"
#include "platform/surface.h"
#include "platform/system.h"
#include "platform/text.h"

namespace {

// Surfaces with the scratch sizes of every layout (the demo's settings: 640x960).
void PrepareFrame() {
  bench::OpenHeadless();
  frame::ResetFrame();
  frame::CreateSurfaces(framedemo::Settings(false));
}

void Yardstick(benchmark::State& state) {
  plat::Surface src, dst;
  src.Create(640, 480);
  dst.Create(640, 480);
  for (auto _ : state) {
    plat::Blit(dst, 0, 0, 640, 480, src, 0, 0, plat::Rop::Copy);
    benchmark::DoNotOptimize(dst.pixels.data());
  }
}
BENCHMARK(Yardstick);

void DrawBox16(benchmark::State& state) {
  PrepareFrame();
  for (auto _ : state) frame::DrawBox(100, 100, 16, 16, 0x123456);
}
BENCHMARK(DrawBox16);
const bool kBox16 = bench::Target("DrawBox16", 0.01);

void DrawBoxFull(benchmark::State& state) {
  PrepareFrame();
  for (auto _ : state) frame::DrawBox(0, 0, 640, 480, 0);
}
BENCHMARK(DrawBoxFull);

// A 64x32 sprite cell stretched to about 96x44 and to about 530x250.
void StretchCell(benchmark::State& state) {
  PrepareFrame();
  plat::Surface cell;
  cell.Create(64, 32);
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  for (auto _ : state) plat::StretchBlit(frame::backDC, 40, 40, w, h, cell, 0, 0, 64, 32, plat::Rop::Copy);
}
BENCHMARK(StretchCell)->Args({96, 44})->Args({530, 250});

void MaskedA(benchmark::State& state) {
  PrepareFrame();
  for (auto _ : state) frame::DrawMaskedString(18, 18, "1234m/5678m", 0xFFFFFF);
}
BENCHMARK(MaskedA);

void MaskedB256(benchmark::State& state) {
  PrepareFrame();
  frame::dcTable[2].Create(640, 480);  // layout B's own scratch size
  for (auto _ : state) frame::DrawMaskedStringB(96, 0, "─", 0xFFFFFF, 256, 1);
}
BENCHMARK(MaskedB256);
const bool kB256 = bench::Target("MaskedB256", 3.0);

void MaskedC480(benchmark::State& state) {
  PrepareFrame();
  for (auto _ : state) frame::DrawMaskedStringC(80, 0, "＠", 0xFFFFFF, 480, 1);
}
BENCHMARK(MaskedC480);
const bool kC480 = bench::Target("MaskedC480", 2.0);

void DrawStringLine(benchmark::State& state) {
  PrepareFrame();
  for (auto _ : state) frame::DrawString(18, 450, "…それにしてもタイトル画面が謎だ 12345", 0);
}
BENCHMARK(DrawStringLine);

// One whole frame of the demonstration program: the state's step and the final copy.
void DemoFrame(benchmark::State& state) {
  bench::OpenHeadless();
  frame::ResetFrame();
  const frame::FrameSettings& s = framedemo::Settings(false);
  // The demo's pictures sit in its own folder, as when it is started from there.
  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(FRAMEDEMO_DIR);
  frame::CreateSurfaces(s);
  std::filesystem::current_path(here);
  s.setup();
  frame::gameState = static_cast<int>(state.range(0));
  for (auto _ : state) {
    s.step();
    plat::Present(frame::backDC);
    frame::gameState = static_cast<int>(state.range(0));
  }
}
BENCHMARK(DemoFrame)
    ->Arg(framedemo::Title)
    ->Arg(framedemo::Shapes)
    ->Arg(framedemo::Text)
    ->Arg(framedemo::Input);
const bool kDemo = bench::Target("DemoFrame", 3.0);

}  // namespace
