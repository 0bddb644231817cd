// The attack schedule: each phase's bullets for a given clock and patternFrame.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include "recorder.h"

namespace volley {
namespace {

using test::rec;

const double kPi = std::acos(-1.0);

double Degrees(double radians) { return radians * 180 / kPi; }

// Direction of travel in degrees, 0..360.
double Heading(const Mover& b) {
  double d = Degrees(std::atan2(b.dy, b.dx));
  return d < 0 ? d + 360 : d;
}

// Angle from the line to the player (160, 360) as seen from the bullet's origin.
double RelativeToPlayer(const Mover& b, const PlayField& f) {
  double aim = Degrees(std::atan2(f.player.y - b.y, f.player.x - b.x));
  double d = Degrees(std::atan2(b.dy, b.dx)) - aim;
  return std::remainder(d, 360.0);
}

struct PatternTest : ::testing::Test {
  std::unique_ptr<PlayField> owner = std::make_unique<PlayField>();
  PlayField& f = *owner;
  void SetUp() override {
    test::UseRecorder();
    test::NewField(f, 0);
  }
  // One call with the clock at phaseStart + elapsed; patternFrame becomes frame.
  std::vector<int> Run(uint32_t elapsed, int frame, uint32_t phaseStart = 0) {
    f.phaseStart = phaseStart;
    f.patternFrame = frame - 1;
    rec.clock = phaseStart + elapsed;
    rec.clockReads = 0;
    RunPatterns(f);
    return test::LiveBullets(f);
  }
  const Mover& B(int i) { return f.bullets[i]; }
};

TEST_F(PatternTest, FrameCountsFirstAndTheClockIsReadThreeTimes) {
  Run(1000, 1);
  EXPECT_EQ(f.patternFrame, 1);
  EXPECT_EQ(rec.clockReads, 3);
  // The phase comes from the third reading.
  rec.clockScript = {14000, 14000, 15000};
  f.phaseStart = 0;
  f.patternFrame = 0;
  for (Mover& b : f.bullets) b.life = 0;
  rec.clockReads = 0;
  RunPatterns(f);
  EXPECT_EQ(test::LiveBullets(f).size(), 2u);  // phase 1 pairs
}

TEST_F(PatternTest, PhaseZeroOneUnaimedBulletEveryFrame) {
  auto live = Run(14999, 1);
  ASSERT_EQ(live.size(), 1u);
  const Mover& b = B(0);
  EXPECT_EQ(b.x, 160);
  EXPECT_EQ(b.y, 120);
  EXPECT_EQ(b.hue, 240);
  EXPECT_NEAR(std::hypot(b.dx, b.dy), 2.0, 1e-9);
  EXPECT_NEAR(Heading(b), 2.0, 1e-6);  // RollBelow(360) with seed 1
  live = Run(14999, 2);
  EXPECT_EQ(live.size(), 2u);
}

TEST_F(PatternTest, PhaseBoundariesAtFifteenSecondsAndSilenceFromTwoMinutes) {
  // phaseStart just before the clock wraps: the elapsed time is taken modulo 2^32.
  const uint32_t start = 0xFFFFF000u;
  EXPECT_EQ(Run(14999, 1, start).size(), 1u);
  SetUp();
  EXPECT_EQ(Run(15000, 1, start).size(), 2u);
  SetUp();
  EXPECT_EQ(Run(119999, 4, start).size(), 2u);  // phase 7 (b) at a 4th frame
  SetUp();
  const uint32_t before = rollState;
  for (int frame = 1; frame <= 240; frame++) Run(120000 + frame, frame, start);
  EXPECT_TRUE(test::LiveBullets(f).empty());
  EXPECT_EQ(rollState, before);
  SetUp();
  EXPECT_TRUE(Run(4000000000u, 120).empty());
}

TEST_F(PatternTest, PhaseOneTwoAimedBulletsDrawnHueThenAngle) {
  auto live = Run(20000, 1);
  ASSERT_EQ(live.size(), 2u);
  // Seed 1 sixteenths: 2, 1154, 395, 1656.
  EXPECT_EQ(B(0).hue, 2);
  EXPECT_NEAR(RelativeToPlayer(B(0), f), 1154 % 90 - 45, 0.6);
  EXPECT_NEAR(std::hypot(B(0).dx, B(0).dy), 2.0, 1e-9);
  EXPECT_EQ(B(1).hue, 395 % 30 + 90);
  EXPECT_NEAR(RelativeToPlayer(B(1), f), 1656 % 90 - 45, 0.6);
  EXPECT_NEAR(std::hypot(B(1).dx, B(1).dy), 4.0, 1e-9);
}

TEST_F(PatternTest, PhaseTwoTurningCrossesEveryFourthFrame) {
  EXPECT_TRUE(Run(31000, 3).empty());
  auto live = Run(31000, 4);  // clockDegrees 11160, s = 372
  ASSERT_EQ(live.size(), 8u);  // two crosses of four
  for (int i = 0; i < 8; i++) {
    const Mover& b = B(i);
    int off = 90 * (i / 2);
    double want = i % 2 == 0 ? 372 + off : off - 372;
    EXPECT_EQ(b.hue, i % 2 == 0 ? 240 : 60) << i;
    EXPECT_NEAR(std::hypot(b.dx, b.dy), 6.0, 1e-9);
    EXPECT_NEAR(std::remainder(Heading(b) - want, 360.0), 0, 1e-4) << i;
  }
  // clockDegrees follows the clock, not phaseStart, and wraps with its product.
  SetUp();
  Run(30000, 4, 1000);  // now 31000 again
  EXPECT_NEAR(std::remainder(Heading(B(0)) - 372, 360.0), 0, 1e-4);
  SetUp();
  Run(31000, 4, 0xFFFFFFFFu - 40000u);  // now is 2^32 - 9001: the product wraps
  const uint32_t now = 0xFFFFFFFFu - 9000u;
  const int s = static_cast<int>(now * 360u / 1000u / 30u);
  EXPECT_NEAR(std::remainder(Heading(B(0)) - s, 360.0), 0, 1e-3);
}

TEST_F(PatternTest, PhaseThreeFanOnlyOnMultiplesOf120) {
  EXPECT_TRUE(Run(45000, 1).empty());
  EXPECT_TRUE(Run(50000, 119).empty());
  auto live = Run(50000, 120);
  ASSERT_EQ(live.size(), 120u);
  const int base = 2;  // RollBelow(360), seed 1
  for (int i = 0; i < 120; i++) {
    ASSERT_EQ(B(i).hue, base + 4 * i);
    ASSERT_NEAR(std::hypot(B(i).dx, B(i).dy), 4.0, 1e-9);
    ASSERT_NEAR(RelativeToPlayer(B(i), f), i * 0.5 - 30.0, 0.01) << i;
  }
}

TEST_F(PatternTest, PhaseFourStreamsAndTheFullTable) {
  auto live = Run(61000, 5);
  ASSERT_EQ(live.size(), 128u);
  SeedRoll(1);
  for (int i = 0; i < 128; i++) {
    const Mover& b = B(i);
    int hue = static_cast<int>(RollBelow(330) + 180 - 5 * 0.1);
    int speed = RollBelow(12) + 24;
    int angle = RollBelow(4) + (i % 2 == 0 ? -12 : 8);
    ASSERT_EQ(b.hue, hue) << i;
    ASSERT_NEAR(std::hypot(b.dx, b.dy), speed, 1e-9) << i;
    ASSERT_NEAR(RelativeToPlayer(b, f), angle, 0.01) << i;
    ASSERT_TRUE(i % 2 == 0 ? angle <= -9 : angle >= 8);
  }

  SetUp();
  live = Run(61000, 6);
  ASSERT_EQ(live.size(), 129u);  // one slow aimed bullet every 6th frame
  EXPECT_NEAR(std::hypot(B(128).dx, B(128).dy), 2.0, 1e-9);
  EXPECT_GE(B(128).hue, 0);
  EXPECT_LT(B(128).hue, 360);

  // Full table: every aimed bullet lands in slot 1, so only the last one stays.
  SetUp();
  for (Mover& b : f.bullets) b = Mover{5, 5, 0, 0, 1, 999};
  Run(61000, 6);
  EXPECT_NEAR(std::hypot(B(1).dx, B(1).dy), 2.0, 1e-9);
  EXPECT_EQ(B(0).hue, 999);
  EXPECT_EQ(B(2).hue, 999);
  SetUp();
  for (Mover& b : f.bullets) b = Mover{5, 5, 0, 0, 1, 999};
  Run(61000, 7);
  EXPECT_GE(std::hypot(B(1).dx, B(1).dy), 24.0);
}

TEST_F(PatternTest, PhaseFiveHuesFollowThePatternFrame) {
  EXPECT_TRUE(Run(80000, 401).empty());
  auto live = Run(80000, 400);
  ASSERT_EQ(live.size(), 2u);
  EXPECT_EQ(B(0).hue, 260);
  EXPECT_EQ(B(1).hue, 440);
  EXPECT_NEAR(std::hypot(B(0).dx, B(0).dy), 2.0, 1e-9);
  EXPECT_NEAR(std::hypot(B(1).dx, B(1).dy), 6.0, 1e-9);
  SeedRoll(1);
  EXPECT_NEAR(RelativeToPlayer(B(0), f), RollBelow(90) - 45, 0.01);
  EXPECT_NEAR(RelativeToPlayer(B(1), f), RollBelow(90) - 45, 0.01);
  SetUp();
  Run(80000, 4004);
  EXPECT_EQ(B(0).hue, static_cast<int>(300 - 4004 * 0.1));  // -100.4 truncates to -100
  EXPECT_EQ(B(0).hue, -100);
}

TEST_F(PatternTest, PhaseSixThreeSources) {
  // Clock 92000: clockDegrees 33120, (33120 / 180) % 4 == 0; frame 30 is a 2nd, 10th, 3rd.
  auto live = Run(92000, 30);
  ASSERT_EQ(live.size(), 10u);
  EXPECT_EQ(B(0).x, 40);
  EXPECT_EQ(B(0).hue, 0);
  EXPECT_NEAR(std::hypot(B(0).dx, B(0).dy), 6.0, 1e-9);
  int s = 33120 / 10;
  for (int i = 1; i <= 8; i++) {
    EXPECT_EQ(B(i).x, 160);
    EXPECT_EQ(B(i).hue, 120);
    EXPECT_NEAR(Heading(B(i)), s % 120 + 30, 1e-4) << i;
    s += 15;
  }
  EXPECT_EQ(B(9).x, 280);
  EXPECT_EQ(B(9).hue, 240);
  SeedRoll(1);
  EXPECT_NEAR(RelativeToPlayer(B(0), f), RollBelow(9) - 4, 0.01);
  // Off the vertical, the 3.14 correction shows as a small error in the aim.
  EXPECT_NEAR(RelativeToPlayer(B(9), f), RollBelow(60) - 30, 0.2);

  // Clock 92500: clockDegrees 33300, (33300 / 180) % 4 == 1: the left stream pauses.
  SetUp();
  live = Run(92500, 30);
  ASSERT_EQ(live.size(), 9u);
  EXPECT_EQ(B(0).x, 160);
  SetUp();
  EXPECT_EQ(Run(92000, 31).size(), 0u);
  SetUp();
  EXPECT_EQ(Run(92000, 33).size(), 1u);  // only the right stream
}

TEST_F(PatternTest, PhaseSevenBurstsAndSwayingPair) {
  // Clock 105000: clockDegrees 37800, (37800 / 90) % 6 == 0; elapsedDegrees 37800.
  auto live = Run(105000, 4);
  ASSERT_EQ(live.size(), 5u);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(B(i).hue, (37800 / 500) * -12);
    EXPECT_NEAR(std::hypot(B(i).dx, B(i).dy), 8.0, 1e-9);
  }
  const double v = std::sin(37800 / 100.0) * 45.0;
  EXPECT_EQ(B(3).x, 80);
  EXPECT_EQ(B(3).hue, 60);
  EXPECT_NEAR(std::remainder(Heading(B(3)) - (v + 60), 360.0), 0, 1e-4);
  EXPECT_EQ(B(4).x, 240);
  EXPECT_EQ(B(4).hue, 300);
  EXPECT_NEAR(std::remainder(Heading(B(4)) - (v + 120), 360.0), 0, 1e-4);
  EXPECT_NEAR(std::hypot(B(4).dx, B(4).dy), 1.0, 1e-9);

  // The bursts' hue counts from phaseStart, the pause from the clock.
  SetUp();
  live = Run(105000, 5, 1500);  // now 106500: clockDegrees 38340, (38340 / 90) % 6 == 0
  ASSERT_EQ(live.size(), 3u);
  EXPECT_EQ(B(0).hue, (37800 / 500) * -12);
  SetUp();
  EXPECT_TRUE(Run(105300, 5).empty());  // clockDegrees 37908: paused
}

}  // namespace
}  // namespace volley
