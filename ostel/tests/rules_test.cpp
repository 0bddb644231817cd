// The survival rules step by step: endurance, giving out, bombs, throwing, the fade, the
// spawn chance, pushes, the light colours, and the fast passes against the plain ones.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include "ostel/tests/harness.h"
#include "platform/keys.h"

namespace osteltest {
namespace {

using namespace ostel;

using RulesTest = OstelTest;

TEST_F(RulesTest, NewGameKeepsThePlayersSpeedAndLinesEightMotesAlongTheFloor) {
  player.vx = 1.5f;
  player.vy = -0.25f;
  player.active = 0;
  endurance = -40;
  for (int i = 0; i < kPairSlots; ++i) bodies[i].active = 1;
  plat::SleepMs(5000);
  uint32_t saved = frame::randomState;
  NewGame();
  EXPECT_EQ(endurance, 900);
  EXPECT_EQ(playStart, 5000u);
  EXPECT_EQ(player.x, 320.0f);
  EXPECT_EQ(player.y, 360.0f);
  EXPECT_EQ(player.vx, 1.5f);
  EXPECT_EQ(player.vy, -0.25f);
  EXPECT_TRUE(player.active);
  frame::randomState = saved;
  for (int i = 0; i < kPairSlots; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(bodies[i].active, i < 8 ? 1 : 0);
    if (i >= 8) continue;
    EXPECT_EQ(bodies[i].x, 80.0f * i + 40);
    EXPECT_EQ(bodies[i].y, 448.0f);
    EXPECT_EQ(bodies[i].vx, static_cast<float>((frame::RandomBelow(21) - 10) * 0.2));
    EXPECT_EQ(bodies[i].vy, 0.0f);
  }
}

TEST_F(RulesTest, AMoteTouchingEveryStepCostsANetFourteenUntilThePlayerGivesOut) {
  int touchPlays = 0, giveOutPlays = 0;
  for (int step = 1; step <= 70; ++step) {
    Put(0, player.x + 5, player.y + 5);
    const bool wasActive = player.active;
    SurvivalStep();
    for (const std::string& c : sent) {
      touchPlays += c == "play touch from 0";
      giveOutPlays += c == "play giveout from 0";
    }
    sent.clear();
    cues.Send();
    if (step <= 65) {
      EXPECT_EQ(endurance, 899 - 14 * step) << step;  // 900 is the ceiling: the first step nets 15
      EXPECT_TRUE(player.active) << step;
    }
    if (step == 66) {
      EXPECT_TRUE(wasActive);
      EXPECT_FALSE(player.active);
    }
  }
  // A player that has given out is still pushed and still loses endurance, silently.
  EXPECT_EQ(endurance, 899 - 14 * 70);
  EXPECT_EQ(touchPlays, 65);
  EXPECT_EQ(giveOutPlays, 1);
}

TEST_F(RulesTest, EnduranceRecoversOnePerStepAndNeverPassesNineHundred) {
  Steps(30);
  EXPECT_EQ(endurance, 900);
  endurance = 100;
  player = Body{320, 100, 0, 0, 1, 0};
  Steps(10);
  EXPECT_EQ(endurance, 110);
}

TEST_F(RulesTest, ThePlayerGivesOutOnlyBelowY544) {
  player.y = 544.0f;
  player.vy = 0.5f;
  fadeLevel = 255;
  // y is tested before the step's motion: 544 itself is still in play.
  SurvivalStep();
  EXPECT_TRUE(player.active);
  EXPECT_GT(player.y, 544.0f);
  SurvivalStep();
  EXPECT_FALSE(player.active);
  EXPECT_EQ(fadeLevel, 254);
}

TEST_F(RulesTest, ABombExplodes180StepsAfterTheThrow) {
  Hold({kKeyX});
  player = Body{100, 100, 0, 0, 1, 0};
  SurvivalStep();
  Hold({});
  ASSERT_EQ(ActiveBombs(), 1);
  const Body& bomb = bodies[kFirstBomb];
  EXPECT_EQ(bomb.fuse, 179);
  EXPECT_GT(bomb.x, 100.0f);  // thrown to the right
  cues.marked = 0;
  Steps(178);
  EXPECT_EQ(ActiveBombs(), 1);
  EXPECT_EQ(cues.marked, 0u);
  Steps(1);
  EXPECT_EQ(ActiveBombs(), 0);
  EXPECT_TRUE(cues.marked & (1u << SoundBlast));
  EXPECT_TRUE(player.active);  // the bomb flew well clear
}

TEST_F(RulesTest, ABlastTakesWhatIsCloserThan128Pixels) {
  Body& bomb = Put(kFirstBomb, 300, 300, 0, 0, 1);
  Put(0, 300 + 127.5f, 300);  // inside
  Put(1, 300, 300 + 128.0f);  // on the edge: stays
  Put(2, 200, 220);           // 128.06 away: stays
  player = Body{300, 172.0f, 0, 0, 1, 0};  // exactly 128 away
  MoveBodies();
  EXPECT_FALSE(bomb.active);
  EXPECT_FALSE(bodies[0].active);
  EXPECT_TRUE(bodies[1].active);
  EXPECT_TRUE(bodies[2].active);
  EXPECT_TRUE(player.active);

  SetUp();
  Put(kFirstBomb, 300, 300, 0, 0, 1);
  player = Body{300, 300 - 120.0f, 0, 0, 1, 0};
  MoveBodies();
  EXPECT_FALSE(player.active);
  EXPECT_EQ(cues.marked, (1u << SoundBlast) | (1u << SoundGiveOut));
}

TEST_F(RulesTest, ABombThatJustExplodedIsStillPushedThisStep) {
  // A second bomb 10 pixels to the right pushes the first, which explodes this step:
  // its speed still turns away from its neighbour and is damped.
  Body& first = Put(kFirstBomb, 300, 300, 0, 0, 1);
  Put(kFirstBomb + 1, 310, 300, 0, 0, 100);
  MoveBodies();
  EXPECT_FALSE(first.active);
  EXPECT_LT(first.vx, -0.45f);
  // Motes precede the bombs: a mote in range has moved this step, then goes.
  SetUp();
  Body& mote = Put(5, 250, 300, 1, 0);
  Put(kFirstBomb, 300, 300, 0, 0, 1);
  MoveBodies();
  EXPECT_FALSE(mote.active);
  EXPECT_EQ(mote.x, 251.0f);
  Steps(3);
  EXPECT_EQ(mote.x, 251.0f);
}

TEST_F(RulesTest, HoldingXThrowsEverySixtyStepsAndAFullTableOnlyRestartsTheCooldown) {
  Hold({kKeyX, kKeyZ});
  int throws = 0;
  for (int step = 1; step <= 170; ++step) {
    const int before = ActiveBombs();
    SurvivalStep();
    if (ActiveBombs() > before) {
      ++throws;
      EXPECT_EQ((step - 1) % 60, 0) << step;
      EXPECT_GT(bodies[kFirstBomb + throws - 1].vx, 0.0f);  // X wins; Z finds the cooldown
    }
  }
  EXPECT_EQ(throws, 3);

  SetUp();
  for (int i = 0; i < kBombs; ++i) Put(kFirstBomb + i, 40.0f + 70 * i, 20, 0, 0, 1000);
  Hold({kKeyX});
  SurvivalStep();
  EXPECT_EQ(fireCooldown, 60);
  EXPECT_EQ(cues.marked & (1u << SoundThrow), 0u);
  bodies[kFirstBomb + 3].active = 0;
  Steps(59);
  EXPECT_EQ(ActiveBombs(), 7);
  Steps(1);
  EXPECT_EQ(ActiveBombs(), 8);
  EXPECT_EQ(bodies[kFirstBomb + 3].fuse, 179);
}

TEST_F(RulesTest, TheCooldownStopsAtTheBottomOfItsRangeInsteadOfWrapping) {
  fireCooldown = INT32_MIN + 1;
  Steps(3);
  EXPECT_EQ(fireCooldown, INT32_MIN);
  Hold({kKeyZ});
  SurvivalStep();
  EXPECT_EQ(ActiveBombs(), 1);
  EXPECT_LT(bodies[kFirstBomb].vx, 0.0f);
}

TEST_F(RulesTest, SeveralMotesTouchingInOneStepPlayTheTouchOnce) {
  Put(0, player.x + 5, player.y);
  Put(1, player.x - 5, player.y);
  Put(2, player.x, player.y + 5);
  SurvivalStep();
  EXPECT_EQ(endurance, 900 - 45);
  cues.Send();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "play touch from 0"), 1);
}

TEST_F(RulesTest, PushesWithinFortyEightPixelsUseTheQuadrantConstant) {
  // b to the right of a: straight back by 0.5.
  Body& a = Put(0, 100, 100);
  Put(1, 147.9f, 100);
  Push(0, 1);
  EXPECT_NEAR(a.vx, -0.5f, 1e-6);
  EXPECT_NEAR(a.vy, 0.0f, 1e-6);
  // b to the left: the angle is 3.14 rather than pi, so a small downward part remains.
  a = Body{100, 100, 0, 0, 1, 0};
  Put(1, 60, 100);
  Push(0, 1);
  EXPECT_NEAR(a.vx, 0.5f, 1e-5);
  EXPECT_NE(a.vy, 0.0f);
  EXPECT_NEAR(a.vy, -std::sin(static_cast<double>(static_cast<float>(3.14))) * 0.5, 1e-7);
  // 48 pixels and more: nothing; the player pays 15 per push.
  a = Body{100, 100, 0, 0, 1, 0};
  Put(1, 100, 148);
  Push(0, 1);
  EXPECT_EQ(a.vy, 0.0f);
  Put(1, player.x, player.y + 30);
  Push(kPlayer, 1);
  EXPECT_EQ(endurance, 885);
  EXPECT_NEAR(player.vy, -0.5f, 1e-6);
}

TEST_F(RulesTest, TheFadeRuns255StepsAndItsLastStepStillPaints) {
  player.y = 600;
  SurvivalStep();
  EXPECT_FALSE(player.active);
  for (int step = 2; step <= 254; ++step) SurvivalStep();
  EXPECT_EQ(fadeLevel, 1);
  EXPECT_EQ(frame::gameState, Play);
  plat::SleepMs(1234);
  const uint32_t now = plat::TimeMs();
  for (plat::Colour& p : frame::backDC.pixels) p = 0xFFFFFF;
  const uint32_t before = frame::randomState;
  SurvivalStep();
  EXPECT_EQ(fadeLevel, 0);
  EXPECT_EQ(frame::gameState, GameOver);
  EXPECT_EQ(playEnd, now);
  EXPECT_NE(frame::randomState, before);
  int black = 0;
  for (plat::Colour p : frame::backDC.pixels) black += p == 0;
  EXPECT_GT(black, 16 * 16 * 50);  // the faded squares are black
}

TEST_F(RulesTest, EscapeQuitsAtTheEndOfTheStep) {
  Hold({kKeyEscape});
  frame::keyLatch[kKeyEscape] = 1;
  Put(0, 100, 100, 2, 0);
  const uint32_t before = frame::randomState;
  SurvivalStep();
  EXPECT_EQ(frame::gameState, Quit);
  EXPECT_EQ(bodies[0].x, 102.0f);
  EXPECT_NE(frame::randomState, before);
}

TEST_F(RulesTest, TheSpawnChanceGrowsWithPlayTimeInUnsignedArithmetic) {
  // 19900 s of play make the chance 20000 in 20000; so does a start beyond the clock's
  // wrap, and a difference too large for a signed count.
  for (uint32_t elapsed : {19900000u, 3000000000u}) {
    SetUp();
    plat::SleepMs(700);
    playStart = plat::TimeMs() - elapsed;
    uint32_t saved = frame::randomState;
    frame::RandomBelow(20000);
    const int x = frame::RandomBelow(640);
    const int vx = frame::RandomBelow(41);
    frame::randomState = saved;
    Put(0, 50, 50);
    player.y = 300;
    // Movement and pushes of the spawn step happen after spawning; undo them by looking
    // at the first free slot before the pass moves it.
    SurvivalStep();
    ASSERT_TRUE(bodies[1].active) << elapsed;
    EXPECT_NEAR(bodies[1].x, static_cast<float>(x) + static_cast<float>((vx - 20) * 0.2), 1e-4);
    EXPECT_EQ(bodies[1].vx, static_cast<float>(static_cast<float>((vx - 20) * 0.2) * 0.99));
    EXPECT_LT(bodies[1].y, -127.0f);
  }
  // At the start of play the chance is 100 in 20000.
  SetUp();
  int spawned = 0;
  for (int i = 0; i < 2000; ++i) {
    bodies[0].active = 0;
    SurvivalStep();
    spawned += bodies[0].active;
  }
  EXPECT_GT(spawned, 2);
  EXPECT_LT(spawned, 25);
}

TEST_F(RulesTest, LightIsRedToBlueForThePlayerGreenForBombsGreyForMotes) {
  player = Body{100, 100, 0, 0, 1, 0};
  EXPECT_EQ(LightAt(100, 100), 0x0000F0u);  // 4 x 60, pure red at full endurance
  EXPECT_EQ(LightAt(130, 100), 0x000078u);
  endurance = 9;
  EXPECT_EQ(LightAt(100, 100), 0xF00000u);  // pure blue below 10
  endurance = 450;                          // 45 degrees: magenta
  EXPECT_EQ(LightAt(100, 100), 0xA900A9u);
  player.active = 0;
  EXPECT_EQ(LightAt(100, 100), 0u);
  Put(kFirstBomb, 400, 300);
  Put(kFirstBomb + 1, 400, 310);
  EXPECT_EQ(LightAt(400, 300), 0x00FF00u);  // 240 + 200, limited
  Put(0, 200, 300);
  EXPECT_EQ(LightAt(200, 300), 0x505050u);  // 80
  Put(1, 210, 300);
  Put(2, 200, 280);
  Put(3, 200, 380);  // 80 away: no light
  EXPECT_EQ(LightAt(200, 300), 0xD2D2D2u);  // 80 + 70 + 60
  Put(4, 200, 300);
  EXPECT_EQ(LightAt(200, 300), 0xFFFFFFu);
  // The fade scales each channel; a negative channel wraps to its low 8 bits.
  fadeLevel = 128;
  EXPECT_EQ(LightAt(200, 300), 0x808080u);  // 255 x 128 / 255
  fadeLevel = 255;
  for (int i = 0; i < kPairSlots; ++i) bodies[i].active = 0;
  player = Body{100, 100, 0, 0, 1, 0};
  endurance = -200;  // -20 degrees
  const double theta = -20 * 3.141592653 / 180;
  const int red = static_cast<int>(std::sin(theta) * 240);
  const int blue = static_cast<int>(std::cos(theta) * 240);
  EXPECT_EQ(LightAt(100, 100), (static_cast<uint32_t>(red) & 0xFF) + 65536u * blue);
}

// Random crowded states: clusters of motes and bombs, some fuses about to run out, the
// player among them.
void RandomState(uint32_t seed) {
  frame::SeedRandom(seed);
  const int cx = frame::RandomBelow(640), cy = frame::RandomBelow(600) - 100;
  const int spread = 20 + frame::RandomBelow(300);
  const int share = frame::RandomBelow(100);
  for (int i = 0; i < kPairSlots; ++i) {
    Body& b = bodies[i];
    b.active = frame::RandomBelow(100) < share;
    b.x = static_cast<float>(cx + frame::RandomBelow(2 * spread) - spread) + frame::RandomBelow(1000) / 997.0f;
    b.y = static_cast<float>(cy + frame::RandomBelow(2 * spread) - spread) + frame::RandomBelow(1000) / 991.0f;
    b.vx = (frame::RandomBelow(200) - 100) / 37.0f;
    b.vy = (frame::RandomBelow(200) - 100) / 41.0f;
    b.fuse = i >= kFirstBomb ? 1 + frame::RandomBelow(3) : 0;
  }
  if (seed % 7 == 0) bodies[3].x = bodies[2].x - 0.00001f;  // a nearly vertical pair
  player = Body{static_cast<float>(cx), static_cast<float>(cy), 0.3f, -0.2f,
                static_cast<uint8_t>(seed % 3 != 0), 0};
  endurance = 900 - frame::RandomBelow(1200);
  fadeLevel = player.active ? 255 : frame::RandomBelow(255);
}

TEST_F(RulesTest, TheFastPairPassMatchesThePlainAllPairsPassBitForBit) {
  int pushed = 0;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    RandomState(seed);
    Body start[kBodies];
    std::memcpy(start, bodies, sizeof bodies);
    const int32_t enduranceStart = endurance;
    cues.marked = 0;
    MoveBodiesReference();
    Body plain[kBodies];
    std::memcpy(plain, bodies, sizeof bodies);
    const int32_t plainEndurance = endurance;
    const uint32_t plainCues = cues.marked;

    std::memcpy(bodies, start, sizeof bodies);
    endurance = enduranceStart;
    cues.marked = 0;
    MoveBodies();
    ASSERT_EQ(std::memcmp(bodies, plain, sizeof bodies), 0) << "seed " << seed;
    ASSERT_EQ(endurance, plainEndurance);
    ASSERT_EQ(cues.marked, plainCues);
    for (int i = 0; i < kPairSlots; ++i) pushed += start[i].vx != plain[i].vx;
  }
  EXPECT_GT(pushed, 5000);  // the states were crowded enough to mean something
}

TEST_F(RulesTest, TheFastLightMatchesThePlainOneSquareForSquare) {
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    RandomState(seed);
    frame::SeedRandom(seed * 77);
    if (seed % 4 == 0) {
      // Motes on and just beside the coming sample points, where the distance is below 1.
      const float offsets[4] = {0.0f, 1e-6f, 0.5f, 0.999f};
      for (int m = 0; m < 64; ++m) {
        const int px = frame::RandomBelow(640), py = frame::RandomBelow(480);
        bodies[m] = Body{px + offsets[m % 4], static_cast<float>(py), 0, 0, 1, 0};
      }
      frame::SeedRandom(seed * 77);
    }
    for (plat::Colour& p : frame::backDC.pixels) p = 0x123456;
    PaintLightReference();
    const std::vector<plat::Colour> plain = frame::backDC.pixels;
    const uint32_t plainRandom = frame::randomState;
    frame::SeedRandom(seed * 77);
    for (plat::Colour& p : frame::backDC.pixels) p = 0x123456;
    PaintLight();
    ASSERT_EQ(frame::randomState, plainRandom);
    ASSERT_TRUE(frame::backDC.pixels == plain) << "seed " << seed;
  }
}

}  // namespace
}  // namespace osteltest
