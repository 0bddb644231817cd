// The tower view: wall columns, the sky box, stars, the ground bands, the platforms'
// edge cases and the climber's pose; the title and the ending and their keys.
#include <cmath>
#include <vector>
#include "platform/keys.h"
#include "talvex/tests/harness.h"

namespace talvextest {
namespace {

using namespace talvex;
using plat::Colour;
using plat::VK_ESCAPE;
using plat::VK_LBUTTON;

constexpr Colour kGround = 0x007F7F;

Colour Back(int x, int y) { return frame::backDC.At(x, y); }

// A wall texture whose every pixel tells where it came from.
Colour TexturePixel(int x, int y) { return static_cast<Colour>(0x400000 | (y << 9) | x); }

class SceneTest : public TalvexTest {
 protected:
  void SetUp() override {
    TalvexTest::SetUp();
    ClearPlatforms();
    HideStars();
    plat::Surface& tower = frame::dcTable[kTowerSlot];
    tower.Create(320, 480);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 320; ++x) tower.Row(y)[x] = TexturePixel(x, y);
  }
};

TEST_F(SceneTest, WallColumnsFollowTheCylinderAndRepeatEvery180Degrees) {
  PlaceClimber(0, 0);
  EXPECT_EQ(WallColumn(160), 160);
  EXPECT_EQ(WallColumn(0), 0);
  PlaceClimber(180, 0);
  EXPECT_EQ(WallColumn(160), 160);
  PlaceClimber(90, 0);
  EXPECT_EQ(WallColumn(160), 0);  // 320 rem 320
  // Columns near the axis step by about one texel, near the edges by many.
  PlaceClimber(0, 0);
  EXPECT_EQ(WallColumn(170), 166);
  EXPECT_GT(WallColumn(1) - WallColumn(0), 10);

  // Every angle the climber can stand at gives columns inside the texture.
  for (float a = -3.0f; a <= 363.0f; a += 0.37f) {
    PlaceClimber(a, 0);
    for (int c = 0; c < 320; ++c) {
      const int s = WallColumn(c);
      ASSERT_TRUE(s >= 0 && s < 320) << a << " " << c;
    }
  }
}

TEST_F(SceneTest, ANegativeTextureColumnContinuesTheTextureFromItsRightEnd) {
  // Just left of angle 0 the leftmost columns compute -1 and below.
  PlaceClimber(-1, -1000);
  EXPECT_EQ(WallColumn(0), 319);
  DrawScene();
  EXPECT_EQ(Back(160, 0), TexturePixel(319, (480 - 1000 % 480) % 480));
  for (int y = 0; y < 480; y += 7) ASSERT_EQ(Back(160, y) & 0x1FF, 319u);
}

TEST_F(SceneTest, TheWallScrollsDownAsTheClimberRises) {
  for (float y : {0.0f, -1.0f, -479.0f, -480.0f, -1234.7f}) {
    PlaceClimber(37, y);
    DrawScene();
    const int dy = static_cast<int>(-y) % 480;
    for (int c = 0; c < 320; c += 13) {
      const int s = WallColumn(c);
      ASSERT_EQ(Back(160 + c, 0), TexturePixel(s, (480 - dy) % 480)) << y;
      if (dy > 0) {
        ASSERT_EQ(Back(160 + c, dy), TexturePixel(s, 0)) << y;
      }
      ASSERT_EQ(Back(160 + c, 300), TexturePixel(s, (780 - dy) % 480)) << y;
    }
  }
}

// The wall drawn the plain way, one pixel-wide transfer per column and copy, as reference.
TEST_F(SceneTest, TheWallMatchesOnePixelColumnTransfersAtManyAnglesAndHeights) {
  frame::dcTable[kStickSlot].Create(128, 32);
  frame::dcTable[kMaskSlot].Create(192, 64);
  for (plat::Colour& c : frame::dcTable[kMaskSlot].pixels) c = 0xFFFFFF;  // no climber
  plat::Surface reference;
  reference.Create(640, 480);
  uint32_t rng = 99;
  for (int round = 0; round < 60; ++round) {
    rng = rng * 1103515245u + 12345u;
    const float angle = -3 + static_cast<float>(rng >> 8) / (1u << 24) * 366;
    rng = rng * 1103515245u + 12345u;
    const float y = -104 - static_cast<float>(rng >> 8) / (1u << 24) * 3000;
    PlaceClimber(angle, y);
    DrawScene();
    plat::FillRect(reference, 0, 0, 640, 480, 0);
    const int dy = static_cast<int>(-y) % 480;
    for (int c = 0; c < 320; ++c) {
      const int s = WallColumn(c);
      plat::Blit(reference, 160 + c, dy, 1, 480, frame::dcTable[kTowerSlot], s, 0, plat::Rop::Copy);
      plat::Blit(reference, 160 + c, dy - 480, 1, 480, frame::dcTable[kTowerSlot], s, 0, plat::Rop::Copy);
    }
    for (int row = 0; row < 480; ++row)
      for (int x = 160; x < 480; ++x)
        ASSERT_EQ(Back(x, row), reference.At(x, row)) << angle << " " << y << " at " << x << "," << row;
  }
}

TEST_F(SceneTest, SkyBoxOpensAboveTheTopPlatformOnly) {
  platforms[kPlatforms - 1].y = -3000;
  PlaceClimber(0, -2000);
  EXPECT_EQ(SkyHeight(), 0);
  PlaceClimber(0, -2688);  // 312 below the top: the tower ends at row 0
  EXPECT_EQ(SkyHeight(), 0);
  PlaceClimber(0, -2900);
  EXPECT_EQ(SkyHeight(), 212);
  DrawScene();
  EXPECT_EQ(Back(160, 211), 0u);
  EXPECT_EQ(Back(479, 0), 0u);
  EXPECT_NE(Back(160, 212), 0u);
  EXPECT_NE(Back(479, 212), 0u);
}

TEST_F(SceneTest, GroundBandsEndWhereTheClimbSaysSo) {
  // On the ground the near band starts at the climber's feet, row 376.
  PlaceClimber(0, 0);
  DrawScene();
  EXPECT_NE(Back(320, 330), kGround);
  EXPECT_NE(Back(320, 375), kGround);
  EXPECT_EQ(Back(320, 376), kGround);
  EXPECT_EQ(Back(320, 479), kGround);
  EXPECT_EQ(Back(0, 240), kGround);
  EXPECT_EQ(Back(639, 239), 0u);

  PlaceClimber(0, -100);
  DrawScene();
  EXPECT_EQ(Back(320, 476), kGround);
  EXPECT_NE(Back(320, 475), kGround);
  PlaceClimber(0, -104);
  DrawScene();
  EXPECT_NE(Back(320, 479), kGround);

  // The side panels sink 1 row per 16 pixels climbed and are gone at 3840.
  PlaceClimber(0, -160);
  DrawScene();
  EXPECT_EQ(Back(10, 250), kGround);
  EXPECT_EQ(Back(10, 249), 0u);
  PlaceClimber(0, -3839);
  DrawScene();
  EXPECT_EQ(Back(10, 479), kGround);
  EXPECT_EQ(Back(630, 479), kGround);
  EXPECT_EQ(Back(10, 478), 0u);
  PlaceClimber(0, -3840);
  DrawScene();
  EXPECT_EQ(Back(10, 479), 0u);
  PlaceClimber(0, -5000);  // the box's height turns negative: still nothing on screen
  DrawScene();
  EXPECT_EQ(Back(10, 479), 0u);
}

class PlatformViewTest : public SceneTest {
 protected:
  static constexpr Colour kLeftHalf = 0x0000C0, kRightHalf = 0x00C000;
  void SetUp() override {
    SceneTest::SetUp();
    plat::Surface& pic = frame::dcTable[kPlatformSlot];
    plat::Surface& mask = frame::dcTable[kMaskSlot];
    pic.Create(64, 64);
    mask.Create(192, 64);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 192; ++x) mask.Row(y)[x] = x < 64 ? 0 : 0xFFFFFF;
      for (int x = 0; x < 64; ++x) pic.Row(y)[x] = x < 32 ? kLeftHalf : kRightHalf;
    }
    frame::dcTable[kStickSlot].Create(128, 32);  // no climber drawn over the platforms
  }
  // The first and last columns of row y that show the platform, or -1.
  static void Span(int y, int& first, int& last) {
    first = last = -1;
    for (int x = 0; x < 640; ++x) {
      const Colour c = Back(x, y);
      if (c != kLeftHalf && c != kRightHalf) continue;
      if (first < 0) first = x;
      last = x;
    }
  }
};

TEST_F(PlatformViewTest, FacingCrossingTheLeftEdgeCrossingTheRightEdgeAndBehind) {
  int first, last;
  // rel 0: centred on the axis, the whole picture, rows top..top+63.
  platforms[0] = {-500, 40};
  PlaceClimber(40, -500);
  DrawScene();
  Span(328, first, last);
  EXPECT_EQ(first, 286);  // trunc(320 - 160 sin 12)
  EXPECT_EQ(last, 351);   // width trunc(320 sin 12) = 66
  EXPECT_EQ(Back(286, 328), kLeftHalf);
  EXPECT_EQ(Back(351, 328), kRightHalf);
  Span(327, first, last);
  EXPECT_EQ(first, -1);
  Span(391, first, last);
  EXPECT_EQ(first, 286);
  Span(392, first, last);
  EXPECT_EQ(first, -1);

  // rel -90: on the left edge, half hidden: the visible right half in 3 columns.
  PlaceClimber(130, -500);
  DrawScene();
  Span(340, first, last);
  EXPECT_EQ(first, 160);
  EXPECT_EQ(last, 162);
  EXPECT_EQ(Back(160, 340), kRightHalf);

  // rel -270: on the right edge, its left half shows.
  PlaceClimber(310, -500);
  DrawScene();
  Span(340, first, last);
  EXPECT_EQ(first, 476);
  EXPECT_EQ(last, 478);
  EXPECT_EQ(Back(478, 340), kLeftHalf);

  // rel -180 and the rest behind the tower: nothing.
  for (float a : {220.0f, 142.1f, 297.9f}) {
    PlaceClimber(a, -500);
    DrawScene();
    for (int y = 300; y < 400; y += 3) {
      Span(y, first, last);
      ASSERT_EQ(first, -1) << a;
    }
  }

  // Out of view vertically: |trunc(y + 120 - climberY)| must stay below 280.
  PlaceClimber(40, -500 + 400);
  DrawScene();
  Span(0, first, last);
  EXPECT_EQ(first, -1);
}

// Kept stretches against stretching every platform anew, over many layouts, and after
// the cells' pixels change.
TEST_F(SceneTest, KeptPlatformStretchesDrawWhatFreshStretchesDraw) {
  frame::SeedRandom(5);
  SetupTower();
  HideStars();
  std::vector<plat::Colour> kept;
  for (int round = 0; round < 80; ++round) {
    if (round == 40) {
      // New cells: the kept stretches must not show the old ones.
      for (plat::Colour& c : frame::dcTable[kPlatformSlot].pixels) c ^= 0x3F2F1F;
      frame::dcTable[kMaskSlot].Row(30)[20] ^= 0xFFFFFF;
    }
    const Platform& p = platforms[(round * 53) % 200];
    PlaceClimber(p.angle + static_cast<float>((round * 67) % 360) - 180, p.y + static_cast<float>(round % 50));
    keepPlatformStretches = true;
    DrawScene();
    kept = frame::backDC.pixels;
    keepPlatformStretches = false;
    DrawScene();
    keepPlatformStretches = true;
    for (size_t i = 0; i < kept.size(); ++i)
      ASSERT_EQ(kept[i], frame::backDC.pixels[i]) << "round " << round << " at " << i % 640 << "," << i / 640;
  }
}

TEST_F(PlatformViewTest, LowerPlatformsAreDrawnOverHigherOnes) {
  platforms[0] = {-500, 40};
  platforms[1] = {-510, 40};
  // Platform 1 sits 10 rows higher; where the two overlap, platform 0's top rows show.
  plat::Surface& pic = frame::dcTable[kPlatformSlot];
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) pic.Row(y)[x] = y < 10 ? kLeftHalf : kRightHalf;
  PlaceClimber(40, -500);
  DrawScene();
  EXPECT_EQ(Back(320, 318), kLeftHalf);   // platform 1's top rows
  EXPECT_EQ(Back(320, 330), kLeftHalf);   // platform 0's top rows over platform 1's body
  EXPECT_EQ(Back(320, 340), kRightHalf);
}

TEST_F(SceneTest, StarsLeftOfTheFieldsStartKeepTheirDrawsAndWriteNothing) {
  // Angle -2.5: offset (-2 * 32) div 9 = -7, so a star at x 3 lands at -4.
  for (Star& s : stars) s = {3, 10};
  PlaceClimber(-2.5f, -2000);
  frame::DrawBox(0, 0, 640, 480, 0, 1);
  uint32_t expected;
  {
    RandomPreview preview;
    for (int i = 0; i < 3 * kStars; ++i) preview.Below(128);
    expected = frame::randomState;
  }
  DrawScene();
  EXPECT_EQ(frame::randomState, expected);
  for (int x = 600; x < 640; ++x) EXPECT_EQ(Back(x, 9), 0u) << x;  // where x -4 of row 10 would land

  // The ending: trunc(angle) + starX = -1.
  for (Star& s : stars) s = {1, 10};
  PlaceClimber(-2.5f, -2000);
  frame::dcTable[kEndMaskSlot].Create(640, 480);  // all black: the picture covers every star
  for (Colour& c : frame::dcTable[kEndMaskSlot].pixels) c = 0xFFFFFF;
  frame::dcTable[kEndSlot].Create(640, 480);
  frame::gameState = Ending;
  EndingStep();
  EXPECT_EQ(Back(639, 9), 0u);
  EXPECT_FLOAT_EQ(climberAngle, -1.5f);
}

TEST_F(SceneTest, AStarTakesRedGreenBlueInThatOrderAndHidesBehindTheTower) {
  stars[0] = {40, 100};    // beside the tower
  stars[1] = {300, 100};   // in front of the wall: hidden
  PlaceClimber(0, -2000);
  int r, g, b;
  {
    RandomPreview preview;
    r = 128 + preview.Below(128);
    g = 128 + preview.Below(128);
    b = 128 + preview.Below(128);
  }
  DrawScene();
  EXPECT_EQ(Back(40, 100), static_cast<Colour>(r | g << 8 | b << 16));
  EXPECT_EQ(Back(300, 100) >> 22, 1u);  // still the wall

  // Turning 9 degrees shifts the field 32 pixels.
  PlaceClimber(9, -2000);
  DrawScene();
  EXPECT_NE(Back(72, 100), 0u);
  EXPECT_EQ(Back(40, 100), 0u);
}

TEST_F(SceneTest, PoseFollowsHoldingThenTheTurn) {
  struct Case {
    bool clinging, inRange;
    float av;
    Pose pose;
  } cases[] = {{true, true, -3, Holding}, {true, false, -3, MovingLeft}, {false, true, 0.6f, MovingRight},
               {false, false, 0.5f, Standing}, {false, false, -0.5f, Standing}};
  for (const Case& c : cases) {
    clinging = c.clinging;
    inGripRange = c.inRange;
    angleVelocity = c.av;
    EXPECT_EQ(ClimberPose(), c.pose);
  }
}

// The title's lines pulse through greys 64..192 with the clock, a quarter turn apart.
TEST_F(SceneTest, TitleLinesPulseInGreyAQuarterTurnApart) {
  frame::dcTable[kStickSlot].Create(128, 32);
  auto bandHas = [](int y0, Colour grey) {
    for (int y = y0; y < y0 + 18; ++y)
      for (int x = 18; x < 160; ++x)
        if (Back(x, y) == grey) return true;
    return false;
  };
  frame::gameState = Title;
  PlaceClimber(0, 0);
  frame::frameStart = 0;
  TitleStep();
  EXPECT_TRUE(bandHas(18, 0x808080));
  EXPECT_TRUE(bandHas(36, 0x404040));
  EXPECT_TRUE(bandHas(54, 0x808080));
  EXPECT_TRUE(bandHas(72, 0xC0C0C0));
  frame::frameStart = 450;  // 90 degrees on
  TitleStep();
  EXPECT_TRUE(bandHas(18, 0xC0C0C0));
  EXPECT_TRUE(bandHas(36, 0x7F7F7F));  // sin of 360 degrees comes out just below 0
  EXPECT_TRUE(bandHas(72, 0x808080));
  EXPECT_FALSE(bandHas(90, 0x808080));
}

TEST_F(TalvexTest, TitlePlayAndEndingKeysAndEscapeFromEach) {
  frame::gameState = Title;
  TitleStep();  // the button seen up
  HoldKeys({VK_LBUTTON});
  TitleStep();
  EXPECT_EQ(frame::gameState, Play);
  TitleStep();  // held: no new press
  EXPECT_EQ(frame::gameState, Play);

  HoldKeys({});
  frame::gameState = Title;
  TitleStep();
  HoldKeys({VK_ESCAPE});
  TitleStep();
  EXPECT_EQ(frame::gameState, Quit);

  // The ending builds a new tower before the title.
  HoldKeys({});
  frame::gameState = Ending;
  EndingStep();
  const Platform old0 = platforms[0], old1 = platforms[1];
  climberY = -6000;
  HoldKeys({VK_LBUTTON});
  EndingStep();
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(climberY, 0.0f);
  EXPECT_FALSE(platforms[0].angle == old0.angle && platforms[1].angle == old1.angle);
  EXPECT_EQ(climberAngle, platforms[0].angle);

  HoldKeys({});
  frame::gameState = Ending;
  EndingStep();
  HoldKeys({VK_ESCAPE});
  EndingStep();
  EXPECT_EQ(frame::gameState, Quit);

  // Step dispatches on the state; a state without a routine does nothing.
  frame::gameState = 3;
  const uint32_t seed = frame::randomState;
  Step();
  EXPECT_EQ(frame::randomState, seed);
}

TEST_F(TalvexTest, EndingShowsItsPictureOverStarsThatDriftOnePixelAFrame) {
  for (Star& s : stars) s = {1000, 0};
  stars[0] = {5, 7};
  climberAngle = 10.7f;
  frame::gameState = Ending;
  EndingStep();
  const plat::Surface& mask = frame::dcTable[kEndMaskSlot];
  const plat::Surface& pic = frame::dcTable[kEndSlot];
  // Where the mask is black the picture shows; where white, the star (or black).
  EXPECT_EQ(Back(470, 120), pic.At(470, 120));
  EXPECT_EQ(mask.At(470, 120), 0u);
  ASSERT_EQ(mask.At(15, 7), 0xFFFFFFu);  // the sky of the picture lets stars through
  ASSERT_EQ(mask.At(16, 7), 0xFFFFFFu);
  EXPECT_NE(Back(15, 7), 0u);
  EXPECT_FLOAT_EQ(climberAngle, 11.7f);
  EndingStep();
  EXPECT_NE(Back(16, 7), 0u);
  EXPECT_EQ(Back(15, 7), 0u);
}

}  // namespace
}  // namespace talvextest
