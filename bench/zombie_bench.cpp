// zombie's heaviest frame: a player's turn of the battle with all three columns and the
// reserve filled, both info boxes open and nine people in the waiting list; the field,
// the panel, the turn marker and every label with its hit test.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/bench.h"
#include "frame/frame.h"
#include "zombie/zombie.h"

namespace {

void PrepareBattle() {
  bench::OpenHeadless();
  frame::ResetFrame();
  frame::backDC.Create(640, 480);
  frame::dcTable[3].Create(640, 480);
  frame::dcTable[4].Create(48, 16);
  zombie::ResetGame();
  for (int m = 1; m <= 6; ++m) {
    zombie::ZombieRecord& z = zombie::squad[m];
    z.maxHp = 100 + m;
    z.hp = 90;
    z.slaughter = 20;
    z.panic = 80;
    std::snprintf(z.name, sizeof z.name, "Zombiera%d", m);
  }
  for (int k = 1; k <= 16; ++k) {
    zombie::PersonRecord& p = zombie::stageEntries[k];
    p.row = k <= 3 ? k : 0;
    p.hp = p.maxHp = 100;
    p.slaughter = 20;
    p.courage = 50;
    p.isProtected = k % 2;
    p.present = 1;
    std::snprintf(p.name, sizeof p.name, "Person%d", k);
    if (k <= 12) zombie::stageSlots[k] = k;
  }
  zombie::nextSlot = 3;
  for (int c = 0; c < 3; ++c) {
    zombie::zombieColumns[c] = c + 1;
    zombie::personColumns[c] = c + 1;
    zombie::reserve[c] = c + 4;
  }
  zombie::turn = 1;
  zombie::selectedZombie = 2;
  zombie::selectedPerson = 2;
  frame::gameState = zombie::Battle;
  frame::mouseX = 300;  // over nothing: no command is carried out
  frame::mouseY = 300;
}

void ZombieBattleFrame(benchmark::State& state) {
  PrepareBattle();
  for (auto _ : state) {
    zombie::BattleStep();
    frame::frameStart += 16;
    benchmark::DoNotOptimize(frame::backDC.pixels.data());
  }
}
BENCHMARK(ZombieBattleFrame);
const bool kBattle = bench::Target("ZombieBattleFrame", 10.0);

}  // namespace
