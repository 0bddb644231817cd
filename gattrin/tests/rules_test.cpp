// The siege update: contact windows, shakes and damage, bar moves and key polling, the
// spawn rule, the fresh window and the end of a game.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>
#include "gattrin/tests/harness.h"

namespace gattrintest {
namespace {

using namespace gattrin;

// ---------------------------------------------------------------- contact

class ContactTest : public GattrinTest {};

TEST_F(ContactTest, PhaseZeroAndPhaseAtTheLimitAreNoContact) {
  struct Case {
    float phaseBefore;  // the update adds 1
    float speed;
    bool contact;
  } cases[] = {
      {-1, 1.0f, false},   // phase 0
      {0, 1.0f, true},     // phase 1
      {118, 1.0f, true},   // phase 119
      {119, 1.0f, false},  // phase 120 = 120 / 1.0
      {58, 2.0f, true},
      {59, 2.0f, false},   // phase 60 = 120 / 2.0
  };
  for (const Case& c : cases) {
    SetUp();
    SetDoors(0, 0, 0, 0);
    Put(0, 0, c.phaseBefore, c.speed);
    FillTable();
    UpdateSiege();
    EXPECT_EQ(gateStrength, kStartStrength - (c.contact ? 1 : 0)) << c.phaseBefore << " " << c.speed;
  }
}

TEST_F(ContactTest, BeginsOnThe301stUpdateAfterTheSpawnAndLastsAsLongAsTheSpeedAllows) {
  struct Case {
    int r;  // RandomBelow(20) of the spawn
    int updates;
  } cases[] = {{0, 119}, {10, 59}, {19, 41}};
  for (const Case& c : cases) {
    SetUp();
    SetDoors(0, 0, 0, 0);
    Put(0, 4, -300, SpawnSpeed(c.r));
    FillTable();
    int first = 0, count = 0;
    for (int u = 1; u <= 500; ++u) {
      const int before = gateStrength;
      UpdateSiege();
      if (gateStrength < before) {
        if (first == 0) first = u;
        ++count;
      }
    }
    EXPECT_EQ(first, 301) << c.r;
    EXPECT_EQ(count, c.updates) << c.r;
  }
}

TEST_F(ContactTest, BarredDoorShakesLightlyOpenDoorHardAndOnlyOpenDoorsCost) {
  // Top barred, left open, one attacker on each in contact.
  SetDoors(1, 1, 0, 0);
  Put(0, 0, 10);
  Put(1, 4, 10);
  FillTable();
  int top, left;
  {
    RandomPreview p;
    top = p.Below(5) - 2;
    left = p.Below(17) - 8;
  }
  UpdateSiege();
  EXPECT_EQ(shake[Top], top);
  EXPECT_EQ(shake[Left], left);
  EXPECT_EQ(shake[Bottom], 0);
  EXPECT_EQ(shake[Right], 0);
  EXPECT_EQ(gateStrength, kStartStrength - 1);

  // Behind the game-over texts the siege shakes the open door as hard but costs nothing.
  frame::gameState = GameOver;
  {
    RandomPreview p;
    p.Below(5);
    left = p.Below(17) - 8;
  }
  UpdateSiege();
  EXPECT_EQ(gateStrength, kStartStrength - 1);
  EXPECT_EQ(shake[Left], left);
}

TEST_F(ContactTest, TheLaterSlotsShakeStandsOnASharedSide) {
  for (int barred : {1, 0}) {
    // Find a seed whose two shake draws differ, so the test can tell them apart.
    for (uint32_t seed = 1;; ++seed) {
      SetUp();
      frame::SeedRandom(seed);
      RandomPreview p;
      const int n = barred ? 5 : 17;
      if (p.Below(n) != p.Below(n)) break;
    }
    SetDoors(barred, 1, 1, 0);
    Put(3, 0, 20);  // top, moving right
    Put(7, 1, 30);  // top, moving left
    FillTable();
    int second;
    {
      RandomPreview p;
      const int n = barred ? 5 : 17;
      p.Below(n);
      second = p.Below(n) - (n / 2);
    }
    UpdateSiege();
    EXPECT_EQ(shake[Top], second) << barred;
    EXPECT_EQ(gateStrength, kStartStrength - (barred ? 0 : 2));
  }
}

TEST_F(ContactTest, BlowsAreHeardAtTheStartOfContactAndThenEveryBlowPeriod) {
  SetDoors(1, 1, 1, 0);
  Put(0, 0, 0, 1.0f);   // top, barred: contact from the first update on
  Put(1, 6, -4, 1.0f);  // right, open: contact from the fifth
  FillTable();
  std::vector<int> thuds, crashes;
  for (int u = 1; u <= 40; ++u) {
    soundCues.marked = 0;
    UpdateSiege();
    if (soundCues.marked & (1u << SoundPoundBar)) thuds.push_back(u);
    if (soundCues.marked & (1u << SoundPoundOpen)) crashes.push_back(u);
  }
  EXPECT_EQ(thuds, (std::vector<int>{1, 1 + kBlowPeriod, 1 + 2 * kBlowPeriod, 1 + 3 * kBlowPeriod}));
  EXPECT_EQ(crashes, (std::vector<int>{5, 5 + kBlowPeriod, 5 + 2 * kBlowPeriod, 5 + 3 * kBlowPeriod}));
}

TEST_F(ContactTest, ExitFreesTheSlotPastTheFarEndAndClearsItsFreshness) {
  Put(3, 2, 700, 1.0f, true);
  Put(0, 2, 639, 1.0f);
  Put(1, 2, 319, 2.0f);
  Put(2, 2, 320, 2.0f);
  FillTable();
  UpdateSiege();
  EXPECT_TRUE(attackers[0].active);   // 640 x 1.0 is not past 640
  EXPECT_TRUE(attackers[1].active);   // 320 x 2.0
  EXPECT_FALSE(attackers[2].active);  // 321 x 2.0
  EXPECT_FALSE(attackers[3].active);
  EXPECT_FALSE(attackers[3].recent);  // cleared in the update that freed it
  UpdateSiege();
  EXPECT_FALSE(attackers[0].active);
}

// ---------------------------------------------------------------- bar moves

class BarTest : public GattrinTest {};

TEST_F(BarTest, ArrowsPullFromTheFarDoorAndDropIntoTheNearOne) {
  struct Case {
    int vk;
    int pulled;   // door emptied from full doors and empty hands
    int dropped;  // door filled from empty doors and a bar in hand
  } cases[] = {{plat::VK_LEFT, Right, Left},
               {plat::VK_RIGHT, Left, Right},
               {plat::VK_UP, Bottom, Top},
               {plat::VK_DOWN, Top, Bottom}};
  for (const Case& c : cases) {
    SetUp();
    SetDoors(1, 1, 1, 1);
    Press(c.vk);
    UpdateSiege();
    EXPECT_EQ(handState, HoldingBar);
    for (int s = 0; s < 4; ++s) EXPECT_EQ(barInSlot[s], s == c.pulled ? 0 : 1) << c.vk << " " << s;
    EXPECT_EQ(soundCues.marked, 1u << SoundPull);

    SetUp();
    SetDoors(0, 0, 0, 0);
    handState = HoldingBar;
    Press(c.vk);
    UpdateSiege();
    EXPECT_EQ(handState, HandsEmpty);
    for (int s = 0; s < 4; ++s) EXPECT_EQ(barInSlot[s], s == c.dropped ? 1 : 0) << c.vk << " " << s;
    EXPECT_EQ(soundCues.marked, 1u << SoundSet);
  }
}

TEST_F(BarTest, AKeyWhoseDoorConditionFailsIsNotPolled) {
  // Empty hands and an empty right door: Left is never asked, so its latch stays as it
  // was, whether the key is up (a poll would arm it) or down (a poll would spend it).
  SetDoors(1, 1, 1, 0);
  frame::keyLatch[plat::VK_LEFT] = 0;
  UpdateSiege();
  EXPECT_EQ(frame::keyLatch[plat::VK_LEFT], 0);
  Press(plat::VK_LEFT);
  UpdateSiege();
  EXPECT_EQ(frame::keyLatch[plat::VK_LEFT], 1);
  EXPECT_EQ(handState, HandsEmpty);

  // With the right door barred the same key is polled (and, up, armed).
  SetUp();
  SetDoors(1, 1, 1, 1);
  frame::keyLatch[plat::VK_LEFT] = 0;
  UpdateSiege();
  EXPECT_EQ(frame::keyLatch[plat::VK_LEFT], 1);

  // Holding a bar, a full left door leaves Left unpolled.
  SetUp();
  SetDoors(1, 1, 1, 0);
  handState = HoldingBar;
  frame::keyLatch[plat::VK_LEFT] = 0;
  UpdateSiege();
  EXPECT_EQ(frame::keyLatch[plat::VK_LEFT], 0);
}

TEST_F(BarTest, OneMovePerUpdateAndTheFirstTestThatFiresEndsTheStep) {
  HoldKeys({plat::VK_LEFT, plat::VK_RIGHT});
  frame::keyLatch[plat::VK_LEFT] = 1;
  frame::keyLatch[plat::VK_RIGHT] = 1;
  SetDoors(1, 1, 1, 1);
  UpdateSiege();
  // Left pulled the right bar; Right was not asked, neither to pull nor to drop.
  EXPECT_EQ(barInSlot[Right], 0);
  EXPECT_EQ(barInSlot[Left], 1);
  EXPECT_EQ(handState, HoldingBar);
  EXPECT_EQ(frame::keyLatch[plat::VK_RIGHT], 1);
  // Next update: Left is spent (still held) and the left door is full, so Right drops
  // the bar back into the right door.
  UpdateSiege();
  EXPECT_EQ(barInSlot[Right], 1);
  EXPECT_EQ(handState, HandsEmpty);
}

TEST_F(BarTest, LockedHandsPollNothing) {
  handState = InputLocked;
  for (int vk : {plat::VK_LEFT, plat::VK_UP, plat::VK_RIGHT, plat::VK_DOWN}) frame::keyLatch[vk] = 0;
  frame::gameState = Title;
  UpdateSiege();
  for (int vk : {plat::VK_LEFT, plat::VK_UP, plat::VK_RIGHT, plat::VK_DOWN}) EXPECT_EQ(frame::keyLatch[vk], 0);
}

TEST_F(BarTest, ABarInHandLeavesOneDoorFewerAndTheEmptiedDoorTakesDamageAtOnce) {
  // Three bars: top, bottom and left. An attacker pounds the barred left door (between
  // two blows, so only the pull is heard).
  Put(0, 4, 51);
  FillTable();
  Press(plat::VK_RIGHT);
  UpdateSiege();
  EXPECT_EQ(barInSlot[Top] + barInSlot[Bottom] + barInSlot[Left] + barInSlot[Right], barCount - 1);
  EXPECT_EQ(barInSlot[Left], 0);
  EXPECT_EQ(gateStrength, kStartStrength - 1);
  EXPECT_EQ(soundCues.marked, 1u << SoundPull);
}

// ---------------------------------------------------------------- spawning

class SpawnTest : public GattrinTest {};

TEST_F(SpawnTest, WithTwoBarsAndFreshTopAndLeftOnlyTopAndLeftMayCome) {
  barCount = 2;
  Put(0, 1, -200, 1.0f, true);  // top
  Put(1, 5, -200, 1.0f, true);  // left
  Put(2, 6, -200, 1.0f, false);  // right, no longer fresh
  Put(3, 3, -200, 1.0f, true);
  attackers[3].active = false;   // bottom, fresh but gone
  for (int d = 0; d < 8; ++d) {
    const int side = d / 2;
    EXPECT_EQ(SpawnAllowed(d), side == Top || side == Left) << d;
  }
  barCount = 3;
  for (int d = 0; d < 8; ++d) EXPECT_TRUE(SpawnAllowed(d)) << d;
}

// Seeds the generator so that the spawn roll of the next update (no attacker, nothing
// else drawn before it) is 0.
void SeedForSpawn() {
  for (uint32_t seed = 1;; ++seed) {
    frame::SeedRandom(seed);
    RandomPreview p;
    if (p.Below(std::max(30, 120 - (tick + 1) / 200)) == 0) return;
  }
}

TEST_F(SpawnTest, ASpawnTakesTheLowestFreeSlotWithTheDrawnDirectionAndSpeed) {
  Put(0, 0, -1.0e6f);
  tick = 3999;  // the next update is tick 4000: one chance in 100
  SeedForSpawn();
  int d, r;
  {
    RandomPreview p;
    EXPECT_EQ(p.Below(100), 0);
    d = p.Below(8);
    r = p.Below(20);
  }
  UpdateSiege();
  const Attacker& a = attackers[1];
  ASSERT_TRUE(a.active);
  EXPECT_EQ(a.direction, d);
  EXPECT_EQ(a.phase, -300.0f);
  EXPECT_EQ(a.speed, SpawnSpeed(r));
  EXPECT_TRUE(a.recent);
  EXPECT_FALSE(attackers[2].active);
}

TEST_F(SpawnTest, ARefusedSpawnDrawsNoSpeed) {
  barCount = 2;
  tick = 100;
  // Three fresh sides leave at least two marked whatever side comes: always refused.
  Put(0, 0, -250, 1.0f, true);
  Put(1, 4, -250, 1.0f, true);
  Put(2, 2, -250, 1.0f, true);
  SeedForSpawn();
  uint32_t expected;
  {
    // The update draws the roll, the direction and the core's colour, nothing more.
    RandomPreview p;
    EXPECT_EQ(p.Below(120), 0);
    p.Below(8);
    p.Below(kStartStrength);
    expected = frame::randomState;
  }
  UpdateSiege();
  EXPECT_FALSE(attackers[3].active);
  EXPECT_EQ(frame::randomState, expected);
}

TEST_F(SpawnTest, TheChanceGrowsFromOneIn120ToOneIn30) {
  struct Case {
    int tick;  // tick of the update
    int n;     // the bound of its roll
  } cases[] = {{1, 120}, {199, 120}, {200, 119}, {17999, 31}, {18000, 30}, {100000, 30}};
  for (const Case& c : cases) {
    SetUp();
    tick = c.tick - 1;
    FillTable();
    attackers[63].active = false;  // one free slot
    // The roll is the update's first draw: pick a seed whose draw is a multiple of n
    // but not of its neighbours, so a wrong bound spawns nothing.
    uint32_t seed = 1;
    for (;; ++seed) {
      frame::SeedRandom(seed);
      const int raw = frame::RandomBelow(32768);
      if (raw % c.n == 0 && raw % (c.n + 1) != 0 && raw % (c.n - 1) != 0) break;
    }
    frame::SeedRandom(seed);
    UpdateSiege();
    EXPECT_TRUE(attackers[63].active) << c.tick;
  }
}

TEST_F(SpawnTest, TheTickStopsAtItsLargestValueInsteadOfOverflowing) {
  frame::gameState = Title;
  tick = INT32_MAX - 1;
  UpdateSiege();
  UpdateSiege();
  EXPECT_EQ(tick, INT32_MAX);
}

TEST_F(SpawnTest, FreshnessLastsTheContactPlusAMarginShorterWithThreeBars) {
  // recent clears once phase - 30 + b > 120 / speed - 300, b = 25 with three bars.
  struct Case {
    int bars;
    float speed;
    int last;  // the last update after the spawn with recent still set
  } cases[] = {{2, 1.0f, 150}, {3, 1.0f, 125}, {4, 2.0f, 90}};
  for (const Case& c : cases) {
    SetUp();
    barCount = c.bars;
    SetDoors(1, 1, 1, 1);
    Put(0, 0, -300, c.speed, true);
    FillTable();
    int last = 0;
    for (int u = 1; u <= 400; ++u) {
      UpdateSiege();
      if (attackers[0].recent) last = u;
    }
    EXPECT_EQ(last, c.last) << c.bars << " " << c.speed;
  }
}

// ---------------------------------------------------------------- game over

class GameOverTest : public GattrinTest {};

TEST_F(GameOverTest, StrengthTwoAndAnOpenDoorInContactEndTheGameInThatUpdate) {
  gateStrength = 2;
  SetDoors(1, 1, 1, 0);
  Put(0, 6, 10);
  FillTable();
  tick = 500;
  UpdateSiege();
  EXPECT_EQ(gateStrength, 1);
  EXPECT_EQ(frame::gameState, GameOver);
  EXPECT_EQ(endTick, 501);
  EXPECT_EQ(handState, InputLocked);
  EXPECT_EQ(soundCues.marked, (1u << SoundPoundOpen) | (1u << SoundFall));
}

TEST_F(GameOverTest, StrengthTwoWithoutContactPlaysOn) {
  gateStrength = 2;
  FillTable();
  UpdateSiege();
  EXPECT_EQ(frame::gameState, Play);
}

TEST_F(GameOverTest, EscapeEndsTheGameAndIsPolledFirstEveryPlayFrame) {
  tick = 58;
  Press(plat::VK_ESCAPE);
  FillTable();
  UpdateSiege();
  EXPECT_EQ(frame::gameState, GameOver);
  EXPECT_EQ(endTick, 59);
  EXPECT_EQ(soundCues.marked, 0u);  // giving up is not the gate's fall
  GameOverOverlay();
  EXPECT_EQ(std::string(textBuffer), "耐久時間0秒");

  // At strength 1 Escape is still polled (its latch is spent) before the strength ends
  // the game.
  SetUp();
  gateStrength = 1;
  Press(plat::VK_ESCAPE);
  UpdateSiege();
  EXPECT_EQ(frame::keyLatch[plat::VK_ESCAPE], 0);
  EXPECT_EQ(frame::gameState, GameOver);

  // Outside play the update does not poll Escape.
  SetUp();
  frame::gameState = Title;
  Press(plat::VK_ESCAPE);
  UpdateSiege();
  EXPECT_EQ(frame::keyLatch[plat::VK_ESCAPE], 1);
  EXPECT_EQ(frame::gameState, Title);
}

TEST_F(GameOverTest, TheTimeIsWholeSecondsOfSixtyUpdates) {
  for (int t : {59, 60, 119, 3600}) {
    endTick = t;
    frame::gameState = GameOver;
    GameOverOverlay();
    EXPECT_EQ(std::string(textBuffer), "耐久時間" + std::to_string(t / 60) + "秒");
  }
  endTick = 2147483647;
  GameOverOverlay();
  EXPECT_EQ(std::string(textBuffer), "耐久時間35791394秒");
}

}  // namespace
}  // namespace gattrintest
