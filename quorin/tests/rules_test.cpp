// The descent frame by frame, level generation, the title and the end of a game.
#include <cmath>
#include <cstdlib>
#include "platform/keys.h"
#include "quorin/tests/harness.h"

namespace quorintest {
namespace {

using namespace quorin;

// Runs the generator ahead on a copy of its state: what the next draws will be.
struct RandomPreview {
  uint32_t saved;
  RandomPreview() : saved(frame::randomState) {}
  ~RandomPreview() { frame::randomState = saved; }
};

TEST_F(QuorinTest, FallTakes92FramesToTouchDownAnd18ToRise) {
  FlattenGround(16);
  EXPECT_EQ(levelCounter, 1);
  EXPECT_EQ(camZ, 100.0f);
  EXPECT_EQ(PlayUntilPhase(Rising), 92);
  EXPECT_LT(fallSpeed, 0);
  EXPECT_LT(200 - camZ, 18);
  int frames = 0;
  while (levelCounter == 1 && frames < 100) {
    Step();
    ++frames;
  }
  EXPECT_EQ(frames, 18);
  EXPECT_EQ(levelCounter, 2);
  EXPECT_EQ(descentPhase, Descending);
  EXPECT_EQ(camZ, 100.0f);
  EXPECT_EQ(fallSpeed, 0.0f);
  EXPECT_EQ(frame::gameState, Playing);
}

TEST_F(QuorinTest, ArrowsAddDriftThatStaysAndMovesTheCamera) {
  HoldKeys({plat::VK_RIGHT, plat::VK_UP});
  for (int i = 0; i < 10; ++i) Step();
  EXPECT_NEAR(driftX, 1.0f, 1e-5);
  EXPECT_NEAR(driftY, -1.0f, 1e-5);
  // The drift is added before the keys are read, so the camera lags one frame behind.
  EXPECT_NEAR(camX, 4.5f, 1e-4);
  HoldKeys({});
  const float held = driftX;
  for (int i = 0; i < 20; ++i) Step();
  EXPECT_EQ(driftX, held);
  EXPECT_NEAR(camX, 4.5f + 20 * held, 1e-3);
  // Both arrows of an axis cancel; nothing limits the drift.
  HoldKeys({plat::VK_LEFT, plat::VK_RIGHT, plat::VK_DOWN});
  for (int i = 0; i < 50; ++i) Step();
  EXPECT_NEAR(driftX, held, 1e-5);
  EXPECT_NEAR(driftY, 4.0f, 1e-4);
}

TEST_F(QuorinTest, FadeReachesOneAfterTenFramesAndRestartsWithEachLevel) {
  for (int i = 0; i < 9; ++i) Step();
  EXPECT_LT(fade, 1);
  Step();
  EXPECT_GE(fade, 1);
  const float full = fade;
  for (int i = 0; i < 50; ++i) Step();
  EXPECT_EQ(fade, full);
  PlayLevel();
  EXPECT_EQ(fade, 0.0f);  // the frame that starts a level fades before the level is made
}

TEST_F(QuorinTest, NewLevelDrawsRowByRowThenRaisesEightMountainGroups) {
  for (int trial = 0; trial < 20; ++trial) {
    int expected[20][20];
    TexOrigin tex[20][20];
    {
      RandomPreview preview;
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
          expected[x][y] = frame::RandomBelow(32);
          tex[x][y].x = frame::RandomBelow(1216);
          tex[x][y].y = frame::RandomBelow(928);
        }
      // Each group: two unused draws, then its centre; four pyramids 36 high and 6 tiles
      // wide around the points 10 tiles away from it along both axes.
      for (int m = 0; m < 8; ++m) {
        frame::RandomBelow(20);
        frame::RandomBelow(20);
        const int cx = frame::RandomBelow(20), cy = frame::RandomBelow(20);
        for (int px : {cx - 10, cx + 10})
          for (int py : {cy - 10, cy + 10})
            for (int y = 0; y < 20; ++y)
              for (int x = 0; x < 20; ++x) {
                const int d = 36 - 6 * (std::abs(x - px) + std::abs(y - py));
                if (d > 0) expected[x][y] += d;
              }
      }
    }
    NewLevel();
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        ASSERT_EQ(heightMap[x][y], std::min(expected[x][y], 32)) << x << "," << y;
        ASSERT_EQ(texOrigin[x][y].x, tex[x][y].x);
        ASSERT_EQ(texOrigin[x][y].y, tex[x][y].y);
      }
  }
}

TEST_F(QuorinTest, LandingOnLowGroundLeavesLifeAndHighGroundCostsTheExcess) {
  FlattenGround(16);  // every tile scores 0
  PlayLevel();
  EXPECT_EQ(life, 200);
  FlattenGround(0);  // the sum is positive: life never grows
  PlayLevel();
  EXPECT_EQ(life, 200);
  FlattenGround(17);  // each tile of the footprint costs 1
  EXPECT_EQ(PlayUntilPhase(Rising), 92);
  const int cost = life - landingScore;
  EXPECT_GT(cost, 0);
  EXPECT_EQ(life, 200);  // taken only at the end of the rise
  PlayLevel();
  EXPECT_EQ(life, 200 - cost);
  EXPECT_EQ(frame::gameState, Playing);
}

TEST_F(QuorinTest, GameEndsWhenLifeDropsBelowZeroAndWritesTheLevel) {
  EXPECT_FALSE(std::filesystem::exists(recordFile));
  FlattenGround(32);  // far more than 200 life
  PlayLevel();
  EXPECT_LT(life, 0);
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(ReadText(recordFile), "1");
  EXPECT_EQ(levelCounter, 2);  // the next level is generated behind the title
  // A new game: three levels survived, the fourth lost.
  ClickTitle();
  for (int level = 0; level < 3; ++level) {
    FlattenGround(16);
    PlayLevel();
  }
  EXPECT_EQ(ReadText(recordFile), "1");  // landings that leave life write nothing
  FlattenGround(32);
  PlayLevel();
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(ReadText(recordFile), "4");
}

TEST_F(QuorinTest, RecordThatCannotBeWrittenIsReportedAndTheTitleReturns) {
  const std::string missing = (dir / "no-such-folder" / "die.txt").string();
  recordPath = missing.c_str();
  FlattenGround(32);
  ::testing::internal::CaptureStderr();
  PlayLevel();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(missing), std::string::npos) << err;
  EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(levelCounter, 2);
  EXPECT_EQ(camZ, 100.0f);
}

TEST_F(QuorinTest, LifeExactlyZeroPlaysOnUntilALandingCostsMore) {
  life = 0;
  FlattenGround(16);
  EXPECT_EQ(PlayUntilPhase(Rising), 92);  // the landing is scored: the phase moves on
  bool drawn = false;
  for (plat::Colour c : frame::backDC.pixels) drawn |= c != 0;
  EXPECT_TRUE(drawn);
  PlayLevel();
  EXPECT_EQ(life, 0);
  EXPECT_EQ(frame::gameState, Playing);
  FlattenGround(17);
  PlayLevel();
  EXPECT_LT(life, 0);
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(ReadText(recordFile), "2");
}

TEST_F(QuorinTest, TitleShowsThePictureAndAClickStartsANewGame) {
  frame::gameState = Title;
  for (plat::Colour& c : titleDC.pixels) c = 0x123456;
  life = -5;
  levelCounter = 9;
  Step();
  EXPECT_EQ(frame::backDC.At(0, 0), 0x123456u);
  EXPECT_EQ(frame::backDC.At(639, 479), 0x123456u);
  EXPECT_EQ(frame::gameState, Title);
  // A new game from the title does not touch the record.
  ClickTitle();
  EXPECT_EQ(frame::gameState, Playing);
  EXPECT_EQ(life, 200);
  EXPECT_EQ(levelCounter, 1);
  EXPECT_FALSE(std::filesystem::exists(recordFile));
}

TEST_F(QuorinTest, EscapeQuitsFromPlayAndFromTheTitle) {
  Step();  // sees Escape up
  HoldKeys({plat::VK_ESCAPE});
  Step();
  EXPECT_EQ(frame::gameState, Quit);
  HoldKeys({});
  frame::gameState = Title;
  Step();
  HoldKeys({plat::VK_ESCAPE});
  Step();
  EXPECT_EQ(frame::gameState, Quit);
}

}  // namespace
}  // namespace quorintest
