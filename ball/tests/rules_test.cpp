// The play step: launching, clicks, special balls, the stock, hunting enemies, spawning
// and the end of a game.
#include <cmath>
#include "ball/tests/harness.h"
#include "platform/keys.h"

namespace balltest {
namespace {

using namespace ball;

// ---------------------------------------------------------------- launching

class LaunchTest : public BallTest {};

TEST_F(LaunchTest, FiresStockFrontFromLauncherStraightUpOrThirtyDegreesAside) {
  struct Case {
    std::initializer_list<int> keys;
    float vx, vy;
  } cases[] = {
      {{}, 0.0f, -5.0f},
      {{kKeyZ}, -2.5f, -4.330127f},
      {{kKeyX}, 2.5f, -4.330127f},
      {{kKeyZ, kKeyX}, 0.0f, -5.0f},
  };
  for (const Case& c : cases) {
    SetUp();
    HoldKeys(c.keys);
    FillStock(3);
    ballStock[0] = 6;
    scrollDistance = 100;
    PressAt(300, 300);
    PlayStep();
    const Ball& b = balls[0];
    ASSERT_TRUE(b.active);
    EXPECT_EQ(b.x, 300.0f);
    EXPECT_EQ(b.y, 380.0f);  // the bottom edge of the view
    EXPECT_NEAR(b.vx, c.vx, 1e-5);
    EXPECT_NEAR(b.vy, c.vy, 1e-5);
    EXPECT_EQ(b.type, 6);
    EXPECT_EQ(b.effectTimer, 0);
    EXPECT_EQ(b.launchTimer, 180);
    EXPECT_EQ(StockCount(), 2);
    EXPECT_EQ(ballStock[0], 1);
  }
}

TEST_F(LaunchTest, LauncherFollowsTheCursorInsideTheWalls) {
  FillStock(5);
  PressAt(20, 300);
  PlayStep();
  EXPECT_EQ(playerX, 176);
  EXPECT_EQ(balls[0].x, 176.0f);
  Release();
  frame::mouseX = 639;
  PlayStep();
  EXPECT_EQ(playerX, 464);
}

TEST_F(LaunchTest, OneLaunchPerPressAndNoneWithoutAFreeSlotOrABall) {
  FillStock(5);
  PressAt(300, 300);
  PlayStep();
  PlayStep();  // button still held: no second launch
  EXPECT_EQ(StockCount(), 4);
  EXPECT_FALSE(balls[1].active);

  for (int i = 0; i < kBallSlots; ++i) PutBall(i, 180 + 9 * i, 300, 0, -0.5f);
  Release();
  PlayStep();
  PressAt(300, 400);
  PlayStep();
  EXPECT_EQ(StockCount(), 4);  // every slot in use: the stock keeps its front ball

  SetUp();
  PressAt(300, 300);
  PlayStep();  // empty stock
  EXPECT_EQ(FirstFreeBall(), 0);
}

TEST_F(LaunchTest, AimKeysArePolledOnlyForALaunch) {
  FillStock(5);
  for (int i = 0; i < kBallSlots; ++i) PutBall(i, 180 + 9 * i, 300, 0, -0.5f);
  frame::keyLatch[kKeyZ] = 0;
  frame::keyLatch[kKeyX] = 0;
  PressAt(300, 400);
  PlayStep();  // no free slot: nothing is fired and Z and X are not looked at
  EXPECT_EQ(frame::keyLatch[kKeyZ], 0);
  EXPECT_EQ(frame::keyLatch[kKeyX], 0);

  balls[29].active = false;
  Release();
  PlayStep();
  PressAt(300, 400);
  PlayStep();
  EXPECT_TRUE(balls[29].active);
  EXPECT_EQ(frame::keyLatch[kKeyZ], 1);  // seen up by the launch
  EXPECT_EQ(frame::keyLatch[kKeyX], 1);
}

// ---------------------------------------------------------------- clicks

class ClickTest : public BallTest {};

TEST_F(ClickTest, ClickOnANormalBallStopsItOnceItsLaunchTimeIsOver) {
  FillStock(5);
  PutBall(0, 300, 301, 0, -1);
  PressAt(305, 300);
  PlayStep();
  EXPECT_EQ(balls[0].vx, 0.0f);
  EXPECT_EQ(balls[0].vy, 0.0f);
  EXPECT_EQ(StockCount(), 5);  // the click went to the ball, nothing was fired
  EXPECT_FALSE(balls[1].active);
}

TEST_F(ClickTest, ClickOnABallStillLaunchingIsSwallowed) {
  FillStock(5);
  PutBall(0, 300, 301, 0, -1, 1, 0, 10);
  PressAt(305, 300);
  PlayStep();
  EXPECT_FLOAT_EQ(balls[0].vy, -0.99f);
  EXPECT_EQ(balls[0].launchTimer, 9);
  EXPECT_EQ(StockCount(), 5);
  EXPECT_FALSE(balls[1].active);
}

TEST_F(ClickTest, ClickOnASpecialBallSetsItOffThenASecondClickStopsIt) {
  FillStock(5);
  PutBall(0, 300, 301, 0, -1, 3, 0, 5);
  PressAt(300, 300);
  PlayStep();
  EXPECT_EQ(balls[0].effectTimer, 30);
  EXPECT_FLOAT_EQ(balls[0].vy, -0.99f);  // not stopped
  EXPECT_EQ(StockCount(), 5);

  // While the effect runs and the launch time lasts, a click is swallowed.
  Release();
  PlayStep();
  PressAt(static_cast<int>(balls[0].x + 3), static_cast<int>(balls[0].y + balls[0].vy));
  PlayStep();
  EXPECT_NE(balls[0].vy, 0.0f);
  EXPECT_EQ(StockCount(), 5);

  balls[0].launchTimer = 0;
  Release();
  PlayStep();
  PressAt(static_cast<int>(balls[0].x + 3), static_cast<int>(balls[0].y + balls[0].vy));
  PlayStep();
  EXPECT_EQ(balls[0].vy, 0.0f);
  EXPECT_EQ(balls[0].vx, 0.0f);
  EXPECT_GT(balls[0].effectTimer, 0);  // the effect runs on
  EXPECT_EQ(StockCount(), 5);
}

TEST_F(ClickTest, ClickGoesToTheLowestSlotUnderTheCursorInScreenCoordinates) {
  FillStock(5);
  scrollDistance = 500;
  PutBall(3, 300, -200, 0, 0, 2);
  PutBall(1, 302, -198, 0, 0, 4);
  PressAt(301, 300);
  PlayStep();
  EXPECT_EQ(balls[1].effectTimer, 30);
  EXPECT_EQ(balls[3].effectTimer, 0);
  EXPECT_EQ(StockCount(), 5);
}

TEST_F(ClickTest, BallDestroyedInTheSameStepStillTakesTheClick) {
  FillStock(5);
  PutBall(0, 300, 300, 0, 0);
  PutEnemy(0, 300, 331, 4);
  PressAt(300, 300);
  PlayStep();
  EXPECT_FALSE(balls[0].active);
  EXPECT_EQ(StockCount(), 5);  // the click landed on the ball: nothing was fired
  EXPECT_EQ(FirstFreeBall(), 0);
}

TEST_F(ClickTest, ClickSixteenPixelsAwayFiresANewBall) {
  FillStock(5);
  PutBall(0, 300, 300, 0, 0, 2);
  PressAt(316, 300);
  PlayStep();
  EXPECT_EQ(balls[0].effectTimer, 0);
  EXPECT_TRUE(balls[1].active);
  EXPECT_EQ(StockCount(), 4);
}

// ---------------------------------------------------------------- special balls

class EffectTest : public BallTest {};

TEST_F(EffectTest, DriftsMoveThreePixelsAStepForThirtyStepsThenTheBallIsNormal) {
  PutBall(0, 300, 300, 0, 0, 2, 30);
  PutBall(1, 300, 400, 0, 0, 3, 30);
  for (int i = 0; i < 29; ++i) PlayStep();
  EXPECT_EQ(balls[0].x, 213.0f);
  EXPECT_EQ(balls[1].x, 387.0f);
  EXPECT_EQ(balls[0].type, 2);
  PlayStep();
  EXPECT_EQ(balls[0].x, 210.0f);
  EXPECT_EQ(balls[1].x, 390.0f);
  EXPECT_EQ(balls[0].type, 1);
  EXPECT_EQ(balls[1].type, 1);
  EXPECT_EQ(balls[0].effectTimer, 0);
  PlayStep();
  EXPECT_EQ(balls[0].x, 210.0f);  // no effect any more
}

TEST_F(EffectTest, BoostAndBrakeChangeTheRiseBeforeTheBallMoves) {
  PutBall(0, 300, 300, 0, 0, 4, 30);
  PutBall(1, 200, 300, 0, 0, 5, 30);
  PlayStep();
  EXPECT_FLOAT_EQ(balls[0].y, 299.9f);
  EXPECT_FLOAT_EQ(balls[0].vy, -0.099f);
  EXPECT_FLOAT_EQ(balls[1].y, 300.2f);
  EXPECT_FLOAT_EQ(balls[1].vy, 0.198f);
  for (int i = 0; i < 29; ++i) PlayStep();
  EXPECT_EQ(balls[0].type, 1);
  const float vy = balls[0].vy;
  PlayStep();
  EXPECT_FLOAT_EQ(balls[0].vy, vy * 0.99f);  // only the damping is left
}

TEST_F(EffectTest, BombClearsEnemiesWithin128OnTheStepAfterTheClick) {
  FillStock(3);
  PutBall(0, 300, 200, 0, 0, 6);
  PutEnemy(0, 300, 200 - 127.5f, 4);
  PutEnemy(1, 300 + 100, 200 + 50, 4);
  PutEnemy(2, 300, 200 + 128.5f, 4);
  PressAt(300, 200);
  PlayStep();
  EXPECT_EQ(balls[0].effectTimer, 1);
  EXPECT_TRUE(enemies[0].active);  // nothing happens in the step of the click
  Release();
  PlayStep();
  EXPECT_FALSE(enemies[0].active);
  EXPECT_FALSE(enemies[1].active);
  EXPECT_TRUE(enemies[2].active);
  EXPECT_EQ(balls[0].type, 1);
  EXPECT_EQ(balls[0].effectTimer, 0);
  EXPECT_TRUE(balls[0].active);
}

TEST_F(EffectTest, PiercingBallDestroysWhatItTouchesUntilItsTimeRunsOut) {
  PutBall(0, 300, 300, 0, 0, 7, 120);
  PutEnemy(0, 300, 320, 4);
  PutEnemy(1, 320, 300, 4);
  PlayStep();
  EXPECT_TRUE(balls[0].active);
  EXPECT_FALSE(enemies[0].active);
  EXPECT_FALSE(enemies[1].active);
  for (int i = 0; i < 119; ++i) PlayStep();
  EXPECT_EQ(balls[0].type, 1);
  PutEnemy(2, 300, 331, 4);
  PlayStep();
  EXPECT_FALSE(balls[0].active);  // destroyed, and not returned to the stock
  EXPECT_TRUE(enemies[2].active);
  EXPECT_EQ(StockCount(), 0);
}

TEST_F(EffectTest, PiercingBallDroppingOutStillPiercesInThatStep) {
  PutBall(0, 300, 497, 0, 0, 7, 50);
  PutEnemy(0, 300, 480, 4);
  PlayStep();
  EXPECT_FALSE(balls[0].active);
  EXPECT_EQ(ballStock[0], 7);
  EXPECT_EQ(ballStock[1], 1);
  EXPECT_FALSE(enemies[0].active);
}

TEST_F(EffectTest, StealthyBallIsNotHuntedUntilItsEffectEnds) {
  PutBall(0, 300, 300, 0, 0, 8, 2);
  PutEnemy(0, 300, 200, 1);
  PlayStep();  // timer 2 -> 1: still stealthy when the enemy looks
  EXPECT_EQ(enemies[0].y, 200.0f);
  PlayStep();  // timer 1 -> 0: the ball is normal again
  EXPECT_EQ(balls[0].type, 1);
  EXPECT_GT(enemies[0].y, 200.2f);
}

TEST_F(EffectTest, NormalBallCannotBeSetOff) {
  PutBall(0, 300, 300, 0, 0, 1, 0, 0);
  PressAt(300, 300);
  PlayStep();
  EXPECT_EQ(balls[0].effectTimer, 0);
}

// ---------------------------------------------------------------- the stock

class StockTest : public BallTest {};

TEST_F(StockTest, SpecialBallDroppingOutComesBackWithANormalBall) {
  FillStock(3, 2);
  PutBall(0, 300, 495, 0, 2, 5);
  PlayStep();
  EXPECT_FALSE(balls[0].active);
  EXPECT_EQ(StockCount(), 5);
  EXPECT_EQ(ballStock[3], 5);
  EXPECT_EQ(ballStock[4], 1);
}

TEST_F(StockTest, BallDroppingOutIsMeasuredAgainstTheView) {
  scrollDistance = 1000;
  PutBall(0, 300, 496 - 1000, 0, 0, 3);
  PlayStep();
  EXPECT_TRUE(balls[0].active);  // exactly 16 below the bottom edge: still in play
  balls[0].vy = 0.5f;
  PlayStep();
  EXPECT_FALSE(balls[0].active);
  EXPECT_EQ(ballStock[0], 3);
}

TEST_F(StockTest, NormalBallComesBackAsASpecialTwoInThreeElseAsTwoNormals) {
  int specials = 0, pairs = 0;
  for (int trial = 0; trial < 60; ++trial) {
    FillStock(4);
    int expectFirst, expectSecond;
    {
      RandomPreview next;
      if (next.Below(3) != 0) {
        expectFirst = 2 + next.Below(7);
        expectSecond = 0;
      } else {
        expectFirst = 1;
        expectSecond = 1;
      }
    }
    ReturnToStock(1);
    EXPECT_EQ(ballStock[4], expectFirst);
    EXPECT_EQ(ballStock[5], expectSecond);
    EXPECT_EQ(ballStock[6], 0);
    if (expectSecond) ++pairs; else ++specials;
  }
  EXPECT_GT(specials, pairs);
  EXPECT_GT(pairs, 0);
}

TEST_F(StockTest, LastEntryOnlyTakesOneRandomSpecialAndAFullStockLosesTheBall) {
  FillStock(29);
  int expected;
  {
    RandomPreview next;
    expected = 2 + next.Below(7);
  }
  ReturnToStock(5);
  EXPECT_EQ(ballStock[29], expected);
  EXPECT_EQ(StockCount(), 30);

  const uint32_t state = frame::randomState;
  ReturnToStock(1);
  EXPECT_EQ(StockCount(), 30);
  EXPECT_EQ(frame::randomState, state);  // nothing drawn for a lost ball
}

TEST_F(StockTest, EntryTwentyEightTakesASpecialAndItsCompanion) {
  FillStock(28);
  ReturnToStock(7);
  EXPECT_EQ(ballStock[28], 7);
  EXPECT_EQ(ballStock[29], 1);
}

TEST_F(StockTest, DestroyedBallDoesNotReturn) {
  FillStock(2);
  PutBall(0, 300, 300, 0, 0, 3);
  PutEnemy(0, 300, 331, 4);
  PlayStep();
  EXPECT_FALSE(balls[0].active);
  EXPECT_EQ(StockCount(), 2);
}

// ---------------------------------------------------------------- motion and camera

TEST_F(BallTest, BallSlowsDownAndBouncesOffTheWalls) {
  PutBall(0, 177, 300, -3, 0);
  PutBall(1, 463, 300, 3, 0);
  PlayStep();
  EXPECT_FLOAT_EQ(balls[0].x, 178.0f);
  EXPECT_FLOAT_EQ(balls[0].vx, 2.97f);
  EXPECT_FLOAT_EQ(balls[1].x, 462.0f);
  EXPECT_FLOAT_EQ(balls[1].vx, -2.97f);
}

TEST_F(BallTest, ViewFollowsTheHighestBallAboveTheMiddleLine) {
  PutBall(0, 300, 200, 0, 0);
  PutBall(1, 250, 150, 0, 0);
  PutBall(2, 350, 300, 0, 0);
  PlayStep();
  EXPECT_EQ(scrollStep, 106.0f);
  EXPECT_EQ(scrollDistance, 106.0f);
  PlayStep();
  EXPECT_EQ(scrollStep, 0.0f);
  EXPECT_EQ(scrollDistance, 106.0f);  // never goes back
}

// ---------------------------------------------------------------- enemies

class HuntTest : public BallTest {};

TEST_F(HuntTest, QuadrantFixAddsThreePointOneFourNotPi) {
  PutBall(0, 200, 100, 0, 0);
  Enemy& e = PutEnemy(0, 300, 100, 1);
  MoveEnemy(e);
  EXPECT_NEAR(e.x, 299.75f, 1e-4);
  EXPECT_GT(e.y, 100.0f);  // sin(3.14) is not 0: a tiny drift down
  EXPECT_NEAR(e.y, 100.0f + std::sin(3.14) * 0.25, 2e-5);
}

TEST_F(HuntTest, HuntingMoveSubtractsThePositionsAsFloats) {
  // Differences worked in double would end this move one float step lower in x
  // (176.570084).
  PutBall(0, 443.034973f, -805.841797f, 0, 0);
  Enemy& e = PutEnemy(0, 176.356033f, -242.900391f, 3);
  MoveEnemy(e);
  EXPECT_EQ(e.x, 176.570099f);
  EXPECT_EQ(e.y, -243.352249f);
}

TEST_F(HuntTest, TypeOneHuntsTheNearestBallCloserThan256) {
  PutBall(0, 300, 356, 0, 0);
  Enemy& e = PutEnemy(0, 300, 100, 1);
  MoveEnemy(e);
  EXPECT_EQ(e.y, 100.0f);  // exactly 256 away: out of reach
  balls[0].y = 355.5f;
  MoveEnemy(e);
  EXPECT_NEAR(e.y, 100.25f, 1e-5);
}

TEST_F(HuntTest, NearestSearchKeepsTheFirstBallUnlessAnotherIsBelowItsWholeDistance) {
  PutBall(0, 199.3f, 100, 0, 0);  // 100.7 away, to the left
  PutBall(1, 300, 200.3f, 0, 0);  // 100.3 away, below: not below 100
  Enemy& e = PutEnemy(0, 300, 100, 1);
  EXPECT_EQ(NearestBall(e, 256, false), 0);
  balls[1].y = 199.9f;  // 99.9 away: below 100
  EXPECT_EQ(NearestBall(e, 256, false), 1);
}

TEST_F(HuntTest, TypeTwoLocksOnWithoutMovingThenFollowsAndDropsALostTarget) {
  PutBall(2, 300, 300, 0, 0);
  PutBall(4, 300, 250, 0, 0);  // nearer, but farther than 128
  balls[4].y = 330;            // 130 away
  Enemy& e = PutEnemy(0, 300, 200, 2);
  PlayStep();
  EXPECT_EQ(e.target, 2);
  EXPECT_EQ(e.y, 200.0f);
  PlayStep();
  EXPECT_NEAR(e.y, 200.25f, 1e-5);
  EXPECT_EQ(e.target, 2);

  // The target drops out of the bottom: the enemy still moves toward where it was.
  balls[2].y = 600;
  balls[2].x = 400;
  PlayStep();
  EXPECT_FALSE(balls[2].active);
  EXPECT_GT(e.x, 300.0f);
  EXPECT_EQ(e.target, kNoTarget);
}

TEST_F(HuntTest, TypeTwoDropsATargetThatTurnsStealthy) {
  PutBall(0, 300, 300, 0, 0, 8);
  Enemy& e = PutEnemy(0, 300, 200, 2);
  PlayStep();
  EXPECT_EQ(e.target, 0);
  balls[0].effectTimer = 100;
  PlayStep();
  EXPECT_NEAR(e.y, 200.25f, 1e-5);
  EXPECT_EQ(e.target, kNoTarget);
  PlayStep();
  EXPECT_EQ(e.target, kNoTarget);  // stealthy: not picked again
}

TEST_F(HuntTest, TypeThreeGoesForTheHighestBallAboveIt) {
  PutBall(0, 300, 500, 0, 0);   // below: ignored
  PutBall(1, 100, -400, 0, 0);  // far above and to the left
  PutBall(2, 400, -200, 0, 0);
  Enemy& e = PutEnemy(0, 300, 0, 3);
  EXPECT_EQ(HighestBall(e), 1);
  MoveEnemy(e);
  EXPECT_LT(e.x, 300.0f);
  EXPECT_LT(e.y, 0.0f);

  // Ties are judged on whole pixels: a ball a fraction lower can still win.
  PutBall(0, 250, -100.5f, 0, 0);
  PutBall(1, 350, -100.3f, 0, 0);
  balls[2].active = false;
  EXPECT_EQ(HighestBall(e), 1);

  for (Ball& b : balls) b.active = false;
  PutBall(0, 300, 10, 0, 0);
  EXPECT_EQ(HighestBall(e), -1);
}

TEST_F(HuntTest, TypeFourStandsAndTypeFiveHuntsOnlySpecialBalls) {
  PutBall(0, 300, 150, 0, 0, 1);
  PutBall(1, 300, 900, 0, 0, 4);
  Enemy& still = PutEnemy(0, 300, 100, 4);
  Enemy& thief = PutEnemy(1, 300, 100, 5);
  MoveEnemy(still);
  MoveEnemy(thief);
  EXPECT_EQ(still.x, 300.0f);
  EXPECT_EQ(still.y, 100.0f);
  EXPECT_NEAR(thief.y, 100.5f, 1e-5);
  balls[1].effectTimer = 5;
  balls[1].type = 8;  // a stealthy special is not hunted
  EXPECT_EQ(NearestBall(thief, 99999, true), -1);
}

TEST_F(HuntTest, EnemiesLeaveThroughTheBottomOfTheView) {
  scrollDistance = 100;
  Enemy& low = PutEnemy(0, 300, 393, 4);
  Enemy& edge = PutEnemy(1, 200, 392, 4);
  PlayStep();
  EXPECT_FALSE(low.active);
  EXPECT_TRUE(edge.active);
}

// ---------------------------------------------------------------- spawning

class SpawnTest : public BallTest {};

TEST_F(SpawnTest, SpawnsAboveTheViewAfterTheScheduledDistance) {
  nextSpawnDistance = 16;
  scrollDistance = 16;
  Spawn();
  EXPECT_FALSE(enemies[0].active);  // not beyond yet
  scrollDistance = 17;
  int gap, x, type;
  {
    RandomPreview next;
    gap = next.Below(239);
    x = 176 + next.Below(288);
    type = enemyTypeTable[next.Below(8)];
  }
  Spawn();
  EXPECT_EQ(nextSpawnDistance, 16 + gap);
  const Enemy& e = enemies[0];
  ASSERT_TRUE(e.active);
  EXPECT_EQ(e.x, static_cast<float>(x));
  EXPECT_EQ(e.y, -33.0f);
  EXPECT_EQ(e.type, type);
  EXPECT_EQ(e.target, kNoTarget);
}

TEST_F(SpawnTest, GapShrinksWithTheScoreDownTo60) {
  struct Case {
    float distance;
    int bound;
  } cases[] = {{1000, 230}, {10000, 140}, {17950, 60}, {18000, 60}, {50000, 60}};
  for (const Case& c : cases) {
    nextSpawnDistance = 0;
    scrollDistance = c.distance;
    int gap;
    {
      RandomPreview next;
      gap = next.Below(c.bound);
    }
    Spawn();
    EXPECT_EQ(nextSpawnDistance, gap) << c.distance;
  }
}

TEST_F(SpawnTest, AtMostOneEnemyPerStepAndAFullTableStillAdvancesTheSchedule) {
  nextSpawnDistance = 0;
  scrollDistance = 5000;
  Spawn();
  EXPECT_TRUE(enemies[0].active);
  EXPECT_FALSE(enemies[1].active);
  for (int i = 0; i < kEnemySlots; ++i) PutEnemy(i, 300, 100, 4);
  nextSpawnDistance = 0;
  int gap;
  {
    RandomPreview next;
    gap = next.Below(190);
  }
  const uint32_t before = frame::randomState;
  Spawn();
  EXPECT_EQ(nextSpawnDistance, gap);
  const uint32_t after = frame::randomState;
  frame::randomState = before;
  frame::RandomBelow(190);
  EXPECT_EQ(frame::randomState, after);  // only the gap was drawn
}

TEST_F(SpawnTest, EasyModeTurnsTypeTwoIntoTypeFour) {
  int counts[2][6] = {};
  for (int mode = 0; mode < 2; ++mode) {
    easyMode = mode == 1;
    frame::SeedRandom(7);
    for (int i = 0; i < 1600; ++i) {
      enemies[0].active = false;
      nextSpawnDistance = 0;
      scrollDistance = 100;
      Spawn();
      ++counts[mode][enemies[0].type];
    }
  }
  EXPECT_GT(counts[0][2], 120);
  EXPECT_EQ(counts[1][2], 0);
  EXPECT_EQ(counts[1][4], counts[0][4] + counts[0][2]);  // same draws, same seed
  for (int t : {1, 3, 5}) EXPECT_EQ(counts[0][t], counts[1][t]);
}

// ---------------------------------------------------------------- the end

class EndTest : public BallTest {};

TEST_F(EndTest, GameEndsWhenTheStockIsEmptyAndNothingRises) {
  PutBall(0, 300, 300, 0, -0.0101f);  // rises by less than 0.01 after this step's damping
  PlayStep();
  EXPECT_EQ(frame::gameState, GameOver);
}

TEST_F(EndTest, GameGoesOnWhileABallRisesOrTheStockHoldsOne) {
  PutBall(0, 300, 400, 0, -0.02f);
  PlayStep();
  EXPECT_EQ(frame::gameState, Play);

  SetUp();
  FillStock(1);
  PlayStep();
  EXPECT_EQ(frame::gameState, Play);

  SetUp();
  PutBall(0, 300, 100, 0, 0);  // at rest, but the view still scrolls to it
  PlayStep();
  EXPECT_EQ(frame::gameState, Play);
  PlayStep();
  EXPECT_EQ(frame::gameState, GameOver);
}

TEST_F(EndTest, EscapeDuringPlayLeadsToTheGameOverScreen) {
  FillStock(5);
  PlayStep();  // Escape seen up
  HoldKeys({plat::VK_ESCAPE});
  PlayStep();
  EXPECT_EQ(frame::gameState, GameOver);
}

}  // namespace
}  // namespace balltest
