// The ground view: the footprint and its score, the odd-row shift, the colours and the
// shake.
#include <cmath>
#include "quorin/tests/harness.h"

namespace quorintest {
namespace {

using namespace quorin;

// The sum of 16 - h over the tiles of the grid whose shifted column X and row y satisfy
// -34 < X - camX < 18 and -21.5 < y - camY < 13.5, worked out from the grid itself.
int FootprintSum() {
  int sum = 0;
  for (int row = 0; row < 120; ++row) {
    const int y = -480 + 8 * row;
    const int shift = (row % 2 == 0) ? 0 : (y >= 0 ? 8 : -8);
    for (int col = 0; col < 80; ++col) {
      const int X = -640 + 16 * col + shift;
      if (X - camX > -34 && X - camX < 18 && y - camY > -21.5 && y - camY < 13.5)
        sum += 16 - heightMap[(col + 1) % 20][(row + 1) % 20];
    }
  }
  return sum;
}

// Puts the camera at (x, y) just before the touchdown frame: the next Step lands.
void ReadyToLand(float x, float y) {
  camX = x;
  camY = y;
  driftX = driftY = 0;
  camZ = 182.0f;
  fallSpeed = 1.82f;
  fade = 1;
  descentPhase = Descending;
}

TEST_F(QuorinTest, TouchdownScoresExactlyTheFootprintOnce) {
  uint32_t seed = 99;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % 100000);
  };
  // Random places over the whole grid and beyond it (negative rows, odd rows, the edges),
  // and places where a tile lies exactly on a bound, which is left out.
  const float exact[][2] = {{2, 5.5f}, {-6, -2.5f}, {0, 0}, {-640, -480}, {624, 472}, {700, 600}};
  for (int trial = 0; trial < 300; ++trial) {
    NewLevel();
    float x, y;
    if (trial < 6) {
      x = exact[trial][0];
      y = exact[trial][1];
    } else {
      x = (next() - 50000) / 70.0f;
      y = (next() - 50000) / 90.0f;
    }
    life = 200;
    ReadyToLand(x, y);
    const int expected = FootprintSum();
    Step();
    ASSERT_EQ(descentPhase, Rising);
    ASSERT_EQ(landingScore - life, expected) << "camera at " << x << ", " << y;
    // The rise redraws the same tiles but never adds to the score.
    const int scored = landingScore;
    for (int i = 0; i < 10; ++i) Step();
    ASSERT_EQ(landingScore, scored);
  }
}

TEST_F(QuorinTest, BeyondTheWorldsEdgeTheViewIsBlackAndTheLandingFree) {
  FlattenGround(32);
  ReadyToLand(5000, -5000);
  Step();
  EXPECT_EQ(landingScore, life);
  for (plat::Colour c : frame::backDC.pixels) ASSERT_EQ(c, 0u);
}

// The left edge of the colour block in screen row `row` nearest to column `from`
// (searching right): the first lit pixel after a black one.
int BlockEdge(int row, int from) {
  for (int x = from; x < 640; ++x)
    if (frame::backDC.At(x - 1, row) == 0 && frame::backDC.At(x, row) != 0) return x;
  return -1;
}

TEST_F(QuorinTest, OddRowsShiftRightBelowZeroAndLeftAboveIt) {
  // At a level's start (camZ 100, the camera at 0) world x maps to 3.2 x + 320 on screen
  // and world y to 3.2 y + 240: row y = -8 covers screen rows 214..236, y = 0 rows
  // 240..262 and y = 8 rows 265..287.
  FlattenGround(20);
  fade = 1;
  camZ = 100;
  RenderGround();
  EXPECT_EQ(BlockEdge(220, 280), 294);  // y = -8: odd and negative, 8 units left
  EXPECT_EQ(BlockEdge(250, 300), 320);  // y = 0: even, not shifted
  EXPECT_EQ(BlockEdge(270, 330), 345);  // y = 8: odd and positive, 8 units right
  // The blocks are 2 pixels short of the 51.2-pixel pitch.
  EXPECT_NE(frame::backDC.At(320 + 48, 250), 0u);
  EXPECT_EQ(frame::backDC.At(320 + 49, 250), 0u);
}

TEST_F(QuorinTest, ColoursFollowHeightAndCameraAndWrapPastTwoFiftyFive) {
  fade = 1;
  camZ = 100;
  FlattenGround(30);
  brightness = 1;
  RenderGround();
  // red = trunc(64 x 100 x 0.005) = 32, green = trunc(30 x 100 x 0.005) = 15
  EXPECT_EQ(frame::backDC.At(330, 250), 32u | 15u << 8);
  brightness = 20;  // red 640 and green 300 keep their low 8 bits
  RenderGround();
  EXPECT_EQ(frame::backDC.At(330, 250), (640u & 0xFF) | (300u & 0xFF) << 8);
  // Half faded in: both channels halved while descending.
  brightness = 1;
  fade = 0.5f;
  RenderGround();
  EXPECT_EQ(frame::backDC.At(330, 250), 16u | 7u << 8);
  // Brightness 0: black all over.
  brightness = 0;
  fade = 1;
  RenderGround();
  for (plat::Colour c : frame::backDC.pixels) ASSERT_EQ(c, 0u);
  // Values no integer holds give 0 instead of undefined behaviour.
  EXPECT_EQ(LowByte(1e300), 0u);
  EXPECT_EQ(LowByte(std::nan("")), 0u);
  EXPECT_EQ(LowByte(-1), 0xFFu);
}

TEST_F(QuorinTest, ShippedBrightnessNeverWrapsAChannelAtTouchdown) {
  ReadOptions();
  ASSERT_EQ(brightness, kDefaultBrightness);  // no file in the test folder: the default
  const std::string shipped = ReadText(QUORIN_SOURCE_DIR "/option.txt");
  WriteText(optionFile, shipped);
  ASSERT_TRUE(ReadOptions());
  EXPECT_EQ(brightness, kDefaultBrightness);
  EXPECT_FALSE(popupWindow);
  // The brightest frame of a level: the touchdown, on the highest ground.
  FlattenGround(32);
  EXPECT_EQ(PlayUntilPhase(Rising), 92);
  const double red = 64 * camZ * brightness * 0.005, green = 32 * brightness * camZ * 0.005;
  EXPECT_LT(red, 256);
  EXPECT_LT(green, 256);
  EXPECT_GT(red, 200);  // and bright enough to see
  EXPECT_EQ(frame::backDC.At(320, 240), LowByte(red) | LowByte(green) << 8);
}

TEST_F(QuorinTest, ShakeOnlyWhileDescendingAndOnlyBelowFullLife) {
  // At full life no draw can exceed 1000, so the camera never shakes.
  for (int i = 0; i < 300; ++i) {
    RenderGround();
    ASSERT_EQ(shakeX, 0.0f);
  }
  // At life 0: a shake whenever RandomBelow(1000) > 800, by up to 100 units each way.
  life = 0;
  int shaken = 0;
  for (int i = 0; i < 1000; ++i) {
    const uint32_t before = frame::randomState;
    const int roll = frame::RandomBelow(1000);
    const int dx = frame::RandomBelow(201) - 100, dy = frame::RandomBelow(201) - 100;
    frame::randomState = before;
    RenderGround();
    if (roll > 800) {
      ++shaken;
      ASSERT_EQ(shakeX, static_cast<float>(dx));
      ASSERT_EQ(shakeY, static_cast<float>(dy));
    } else {
      ASSERT_EQ(shakeX, 0.0f);
    }
  }
  EXPECT_GT(shaken, 100);
  // Landing and rising never draw a shake.
  descentPhase = Rising;
  const uint32_t before = frame::randomState;
  RenderGround();
  EXPECT_EQ(frame::randomState, before);
}

}  // namespace
}  // namespace quorintest
