// The tower's set-up, grip range, holding, push-off, the ground, the texts and the win.
#include <cmath>
#include <cstring>
#include <vector>
#include "platform/keys.h"
#include "talvex/tests/harness.h"

namespace talvextest {
namespace {

using namespace talvex;
using plat::VK_DOWN;
using plat::VK_ESCAPE;
using plat::VK_LEFT;
using plat::VK_RIGHT;
using plat::VK_UP;

constexpr uint32_t Bit(Sound s) { return 1u << s; }

// A wall of platforms: angles 80..280 every 10 degrees, heights -200..-420 every 20
// pixels, so a climber holding on anywhere in it stays in grip range.
void PlatformGrid() {
  TalvexTest::ClearPlatforms();
  int i = 0;
  for (int row = 0; row < 12; ++row)
    for (int a = 80; a <= 280; a += 10) platforms[i++] = {-200.0f - 20 * row, static_cast<float>(a)};
}

TEST_F(TalvexTest, SetupTowerDrawsAngleGapStarXStarYPerPlatformAndStandsAtTheFoot) {
  frame::SeedRandom(77);
  frame::frameStart = 5000;
  angleVelocity = 1.5f;
  std::vector<int> draws;
  {
    RandomPreview preview;
    for (int i = 0; i < kPlatforms; ++i) {
      draws.push_back(preview.Below(360));
      draws.push_back(preview.Below(24));
      draws.push_back(preview.Below(1280));
      draws.push_back(preview.Below(480));
    }
  }
  SetupTower();
  int h = -24;
  for (int i = 0; i < kPlatforms; ++i) {
    EXPECT_EQ(platforms[i].angle, draws[4 * i]);
    EXPECT_EQ(platforms[i].y, h);
    h -= 8 + draws[4 * i + 1];
    EXPECT_EQ(stars[i].starX, draws[4 * i + 2]);
    EXPECT_EQ(stars[i].starY, draws[4 * i + 3]);
  }
  EXPECT_EQ(climberAngle, platforms[0].angle);
  EXPECT_EQ(climberY, 0.0f);
  EXPECT_EQ(verticalVelocity, 0.0f);
  EXPECT_EQ(angleVelocity, 1.5f);  // left as it was
  EXPECT_EQ(fpsNextTime, 6000u);
  EXPECT_EQ(fpsFrames, 0);
}

TEST_F(TalvexTest, GripRangeIsStrictAndNeverFoldsTheAngleAcrossTheSeam) {
  const Platform p{-100, 2};
  PlaceClimber(1, -100);
  EXPECT_TRUE(InGripRange(p));
  PlaceClimber(359, -100);
  EXPECT_FALSE(InGripRange(p));  // 3 degrees apart around the tower, 357 in the rule
  PlaceClimber(18, -100);
  EXPECT_FALSE(InGripRange(p));  // exactly 48
  PlaceClimber(17.9f, -100);
  EXPECT_TRUE(InGripRange(p));
  PlaceClimber(2, -52);
  EXPECT_FALSE(InGripRange(p));
  PlaceClimber(2, -52.5f);
  EXPECT_TRUE(InGripRange(p));
}

TEST_F(TalvexTest, HoldingInRangeReachesTheSteadySpeeds) {
  struct Case {
    std::initializer_list<int> keys;
    float perStepY, perStepAngle;
  } cases[] = {
      {{kKeyZ}, 0.4667f, 0},
      {{kKeyZ, VK_UP}, -1.4f, 0},
      {{kKeyZ, VK_LEFT}, 0.4667f, -0.9333f},
      {{kKeyZ, VK_RIGHT}, 0.4667f, 0.9333f},
  };
  for (const Case& c : cases) {
    PlatformGrid();
    PlaceClimber(180, -310);
    HoldKeys(c.keys);
    Move(30);
    const float y = climberY, a = climberAngle;
    Move(10);
    EXPECT_NEAR((climberY - y) / 10, c.perStepY, 0.005);
    EXPECT_NEAR((climberAngle - a) / 10, c.perStepAngle, 0.005);
    EXPECT_TRUE(clinging && inGripRange);
    EXPECT_EQ(ClimberPose(), Holding);
  }
}

TEST_F(TalvexTest, ZFarFromEveryPlatformChangesNothing) {
  ClearPlatforms();
  PlaceClimber(90, -300);
  angleVelocity = 1;
  HoldKeys({kKeyZ, VK_UP, VK_LEFT});
  Move(20);
  const float withZ = climberY, angleWithZ = climberAngle;
  PlaceClimber(90, -300);
  angleVelocity = 1;
  HoldKeys({});
  Move(20);
  EXPECT_EQ(climberY, withZ);
  EXPECT_EQ(climberAngle, angleWithZ);  // in the air nothing damps the turn
  EXPECT_FALSE(clinging);
  EXPECT_EQ(soundCues.marked, 0u);
}

TEST_F(TalvexTest, ReleasingZInRangePushesOffOnceAndOutOfRangeOnlyLetsGo) {
  PlatformGrid();
  PlaceClimber(180, -310);
  HoldKeys({kKeyZ, VK_UP});
  Move(5);
  EXPECT_EQ(soundCues.marked, Bit(SoundGrip));  // the grip sounds once, when the hold starts
  soundCues.marked = 0;
  HoldKeys({VK_UP});
  const float v = verticalVelocity;
  Move(1);
  EXPECT_FALSE(clinging);
  EXPECT_FLOAT_EQ(verticalVelocity, v - 1.6f + 0.2f);
  EXPECT_EQ(soundCues.marked, Bit(SoundPushOff));
  soundCues.marked = 0;
  const float v2 = verticalVelocity;
  Move(1);  // still in range, still Up: no second push
  EXPECT_FLOAT_EQ(verticalVelocity, v2 + 0.2f);
  EXPECT_EQ(soundCues.marked, 0u);

  // Let go out of range: clinging ends, nothing pushes.
  PlaceClimber(180, -310);
  HoldKeys({kKeyZ});
  Move(2);
  ClearPlatforms();
  HoldKeys({VK_UP, VK_LEFT});
  angleVelocity = 0;
  verticalVelocity = 0;
  Move(1);
  EXPECT_FALSE(clinging);
  EXPECT_FLOAT_EQ(verticalVelocity, 0.2f);
  EXPECT_EQ(angleVelocity, 0.0f);

  // Left and Right push sideways.
  PlatformGrid();
  PlaceClimber(180, -310);
  HoldKeys({kKeyZ});
  Move(2);
  HoldKeys({VK_RIGHT});
  const float a = angleVelocity;
  Move(1);
  EXPECT_FLOAT_EQ(angleVelocity, a + 0.4f);
}

TEST_F(TalvexTest, OnTheGroundKeysWalkAndJumpAndTheClimberNeverSinksBelowIt) {
  ClearPlatforms();
  PlaceClimber(100, 0);
  HoldKeys({VK_LEFT, VK_RIGHT});
  Move(3);
  EXPECT_EQ(climberAngle, 100.0f);
  EXPECT_EQ(angleVelocity, 0.0f);

  HoldKeys({VK_LEFT});
  Move(1);
  EXPECT_EQ(angleVelocity, -2.0f);
  Move(1);
  EXPECT_EQ(climberAngle, 98.0f);
  EXPECT_EQ(ClimberPose(), MovingLeft);

  // A jump from the ground rises 93 pixels; Up held jumps again on every landing.
  PlaceClimber(100, 0);
  HoldKeys({VK_UP});
  Move(1);
  EXPECT_EQ(verticalVelocity, -6.0f);
  EXPECT_EQ(soundCues.marked, Bit(SoundJump));
  float highest = 0;
  int jumps = 0;
  for (int i = 0; i < 200; ++i) {
    soundCues.marked = 0;
    Move(1);
    highest = std::min(highest, climberY);
    ASSERT_LE(climberY, 0.0f);
    if (soundCues.marked == Bit(SoundJump)) ++jumps;
  }
  EXPECT_NEAR(highest, -93.0f, 0.01);
  EXPECT_GE(jumps, 3);

  // Falling fast onto the ground stops dead at 0.
  PlaceClimber(100, -1);
  verticalVelocity = 50;
  angleVelocity = 3;
  HoldKeys({});
  Move(1);
  EXPECT_EQ(climberY, 0.0f);
  EXPECT_EQ(verticalVelocity, 0.0f);
  EXPECT_EQ(angleVelocity, 0.0f);
}

TEST_F(TalvexTest, TheClimberStaysAboveTheGroundWhateverIsPressed) {
  const std::initializer_list<int> combos[] = {
      {kKeyZ, VK_UP}, {VK_UP}, {kKeyZ, VK_DOWN}, {kKeyZ, VK_LEFT, VK_UP}, {}, {VK_RIGHT, VK_UP}, {kKeyZ}};
  for (int round = 0; round < 60; ++round) {
    HoldKeys(combos[round % 7]);
    for (int i = 0; i < 17; ++i) {
      MoveClimber();
      ASSERT_LE(climberY, 0.0f);
    }
  }
}

TEST_F(TalvexTest, TheAngleWrapsBeforeTheMove) {
  ClearPlatforms();
  PlaceClimber(-1.5f, -500);
  angleVelocity = -0.5f;
  Move(1);
  EXPECT_FLOAT_EQ(climberAngle, 358.0f);
  PlaceClimber(-0.9f, -500);
  angleVelocity = -2;
  Move(1);
  EXPECT_FLOAT_EQ(climberAngle, -2.9f);  // not below -1 when the wrap looked
  PlaceClimber(360.5f, -500);
  angleVelocity = 1;
  Move(1);
  EXPECT_FLOAT_EQ(climberAngle, 1.5f);
}

// The two lines of a play step, as the masked text draws them.
void ExpectTexts(const char* height, const char* fps) {
  frame::DrawBox(0, 0, 640, 480, 0, 1);
  DrawTexts();
  const std::vector<plat::Colour> drawn = frame::backDC.pixels;
  frame::DrawBox(0, 0, 640, 480, 0, 1);
  frame::DrawMaskedString(18, 18, height, 0xFFFFFF);
  frame::DrawMaskedString(18, 36, fps, 0xFFFFFF);
  EXPECT_TRUE(drawn == frame::backDC.pixels) << height << " " << fps;
}

TEST_F(TalvexTest, HeightLineTruncatesTowardZero) {
  platforms[kPlatforms - 1].y = -4999;
  PlaceClimber(0, 0);
  ExpectTexts("249m/0m", "fps:0");
  PlaceClimber(0, -39.9f);
  ExpectTexts("249m/1m", "fps:0");
  PlaceClimber(0, -40);
  ExpectTexts("249m/2m", "fps:0");
}

TEST_F(TalvexTest, FrameRateUpdatesOnceASecondAcrossTheClockWrap) {
  for (uint32_t start : {0u, 0xFFFFFE00u}) {
    frame::frameStart = start;
    SetupTower();
    fpsShown = 0;
    int updatedAt = -1;
    for (int i = 1; i <= 25 && updatedAt < 0; ++i) {
      frame::frameStart = start + 50u * i;
      ++fpsFrames;
      DrawTexts();
      if (fpsShown != 0) updatedAt = i;
    }
    EXPECT_EQ(updatedAt, 21) << start;  // the first frame that starts after 1000 ms
    EXPECT_EQ(fpsShown, 21);
    EXPECT_EQ(fpsFrames, 0);
  }
}

TEST_F(TalvexTest, WinningTakesMoreThan64PixelsAboveTheTopPlatformAndEscapeQuits) {
  ClearPlatforms();
  platforms[kPlatforms - 1].y = -3000;
  PlaceClimber(0, -3064);
  EXPECT_FALSE(ClimberHasWon());
  climberY = -3064.01f;
  EXPECT_TRUE(ClimberHasWon());

  // A play step moves first: rising from just below the line wins this step.
  PlaceClimber(0, -3063.9f);
  verticalVelocity = -1;
  PlayStep();
  EXPECT_EQ(frame::gameState, Ending);
  EXPECT_EQ(soundCues.marked, Bit(SoundEnding));

  frame::gameState = Play;
  PlaceClimber(0, 0);
  PlayStep();  // Escape seen up
  HoldKeys({VK_ESCAPE});
  PlayStep();
  EXPECT_EQ(frame::gameState, Quit);
}

}  // namespace
}  // namespace talvextest
