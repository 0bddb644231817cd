// The title, the new-game set-up, the play screen's layout and the game-over screen.
#include <cmath>
#include <vector>
#include "ball/tests/harness.h"
#include "platform/keys.h"

namespace balltest {
namespace {

using namespace ball;
using plat::VK_ESCAPE;

plat::Colour Back(int x, int y) { return frame::backDC.At(x, y); }

// ---------------------------------------------------------------- title

class TitleTest : public BallTest {
 protected:
  void SetUp() override {
    BallTest::SetUp();
    frame::gameState = Title;
    frame::mouseX = 320;
    frame::mouseY = 240;
    TitleStep();  // every key seen up once
  }
};

TEST_F(TitleTest, ZChoosesEasyXNormalAndTheLastKeyTestedWins) {
  HoldKeys({kKeyZ});
  TitleStep();
  EXPECT_EQ(frame::gameState, NewGame);
  EXPECT_TRUE(easyMode);

  SetUp();
  HoldKeys({kKeyX});
  TitleStep();
  EXPECT_EQ(frame::gameState, NewGame);
  EXPECT_FALSE(easyMode);

  SetUp();
  HoldKeys({kKeyZ, kKeyX});
  TitleStep();
  EXPECT_EQ(frame::gameState, NewGame);
  EXPECT_FALSE(easyMode);

  SetUp();
  HoldKeys({kKeyZ, kKeyX, VK_ESCAPE});
  TitleStep();
  EXPECT_EQ(frame::gameState, Quit);
}

TEST_F(TitleTest, KeyAlreadyDownAtTheFirstLookStartsNothing) {
  frame::ResetFrame();
  frame::CreateSurfaces(kSettings);
  frame::gameState = Title;
  HoldKeys({kKeyX});
  TitleStep();
  EXPECT_EQ(frame::gameState, Title);
}

TEST_F(TitleTest, BackgroundDriftsAwayFromTheCursorAndWrapsWithTheSignOfTheOffset) {
  titleScrollX = -1000;
  titleScrollY = 0;
  TitleStep();  // cursor at the centre: no drift
  EXPECT_EQ(titleScrollX, -1000.0f);
  // x offset -20: the tiles start at x = -20, 300 and 620.
  EXPECT_EQ(Back(0, 100), backImageDC.At(20, 100));
  EXPECT_EQ(Back(300, 470), backImageDC.At(0, 110));

  titleScrollX = 1000;
  TitleStep();
  EXPECT_EQ(Back(0, 100), backImageDC.At(300, 100));

  frame::mouseX = 420;
  frame::mouseY = 200;
  TitleStep();
  EXPECT_EQ(titleScrollX, 900.0f);
  EXPECT_EQ(titleScrollY, 40.0f);
}

// True when rows y0 to y1 show the background tile repeated from (ox, oy).
bool TilesAt(int ox, int oy, int y0, int y1) {
  for (int y = y0; y <= y1; ++y) {
    for (int x = 0; x < 640; ++x) {
      const int tx = ((x - ox) % 320 + 320) % 320;
      const int ty = ((y - oy) % 180 + 180) % 180;
      if (Back(x, y) != backImageDC.At(tx, ty)) return false;
    }
  }
  return true;
}

TEST_F(TitleTest, FarDriftKeepsTheExactOffsetsUpToTheIntLimitThenSaturates) {
  titleScrollX = 1.05e11f;   // 0.02 x = 2100000030.72: offset 30
  titleScrollY = -1.06e11f;  // 0.02 y = -2119999979.52: offset -119
  TitleStep();
  EXPECT_TRUE(TilesAt(30, -119, 90, 130));

  titleScrollX = 1e12f;  // beyond int range: INT32_MAX rem 320 = 127
  titleScrollY = -1e12f;  // INT32_MIN rem 180 = -128
  frameCounter = 2000000000;
  TitleStep();
  EXPECT_TRUE(TilesAt(127, -128, 90, 130));
  EXPECT_EQ(Back(639, 479), backImageDC.At(192, 67));  // the tiles still cover the screen
}

TEST_F(TitleTest, EightBallsOfEveryTypeCircleTheCursor) {
  frameCounter = 0;
  TitleStep();  // frameCounter 1
  // Ball k = 0 sits at cos(7 deg)*64 + 320 - 16, sin(5 deg)*64 + 240 - 16.
  const int x = static_cast<int>(std::cos(7 * 3.141592653 / 180) * 64 + 320 - 16);
  const int y = static_cast<int>(std::sin(5 * 3.141592653 / 180) * 64 + 240 - 16);
  EXPECT_EQ(Back(x + 16, y + 16), ballDC.At(16, 16));
}

TEST_F(TitleTest, ScrollIsKeptAcrossAGame) {
  titleScrollX = 1234;
  titleScrollY = -77;
  NewGameSetup();
  EXPECT_EQ(titleScrollX, 1234.0f);
  EXPECT_EQ(titleScrollY, -77.0f);
}

// ---------------------------------------------------------------- new game

TEST_F(BallTest, NewGameStartsWithTwentyBallsFiveSpecialAndAnEmptyCourse) {
  for (int round = 0; round < 20; ++round) {
    FillStock(30, 8);
    PutBall(7, 300, 300, 1, 1);
    PutEnemy(12, 300, 300, 3);
    scrollDistance = 999;
    frameCounter = 55;
    nextSpawnDistance = 3;
    frame::gameState = NewGame;
    NewGameSetup();
    int specials = 0;
    for (int i = 0; i < 20; ++i) {
      ASSERT_GE(ballStock[i], 1);
      ASSERT_LE(ballStock[i], 8);
      if (ballStock[i] > 1) ++specials;
    }
    EXPECT_EQ(specials, 5);
    for (int i = 20; i < kStockSize; ++i) EXPECT_EQ(ballStock[i], 0);
    EXPECT_EQ(StockCount(), 20);
    EXPECT_FALSE(balls[7].active);
    EXPECT_FALSE(enemies[12].active);
    EXPECT_EQ(scrollDistance, 0.0f);
    EXPECT_EQ(frameCounter, 0);
    EXPECT_EQ(nextSpawnDistance, 16);
    EXPECT_EQ(frame::gameState, Play);
  }
}

TEST_F(BallTest, ChoosingADifficultyKeepsTheTitlePictureForOneFrame) {
  frame::gameState = Title;
  frame::mouseX = 320;
  frame::mouseY = 240;
  Step();
  HoldKeys({kKeyX});
  Step();
  ASSERT_EQ(frame::gameState, NewGame);
  const std::vector<plat::Colour> title = frame::backDC.pixels;
  Step();
  EXPECT_EQ(frame::gameState, Play);
  EXPECT_TRUE(frame::backDC.pixels == title);
  Step();
  EXPECT_EQ(Back(10, 300), 0u);  // the play screen's black panel
}

// ---------------------------------------------------------------- play screen

class PlayScreenTest : public BallTest {};

TEST_F(PlayScreenTest, LauncherLinesAndPanelsSitWhereThePlayerExpectsThem) {
  FillStock(5);
  frame::mouseX = 300;
  PlayStep();
  const plat::Colour green = 0x00FF00, red = 0x0000FF, yellow = 0x00FFFF;
  EXPECT_EQ(Back(284, 472), green);
  EXPECT_EQ(Back(287, 479), green);
  EXPECT_EQ(Back(288, 472), 0u);
  EXPECT_EQ(Back(311, 479), 0u);
  EXPECT_EQ(Back(312, 472), green);
  EXPECT_EQ(Back(315, 479), green);
  EXPECT_EQ(Back(200, 476), red);
  EXPECT_EQ(Back(200, 479), red);
  EXPECT_EQ(Back(5, 240), yellow);
  EXPECT_EQ(Back(600, 240), yellow);
  EXPECT_EQ(Back(48, 212), 0xFFFFFFu);
  EXPECT_EQ(Back(112, 212), 0u);  // the line leaves out its end point
  EXPECT_EQ(Back(620, 400), 0u);
}

TEST_F(PlayScreenTest, TextsStartAtTheirCellsOnTheBlackPanels) {
  FillStock(3);
  scrollDistance = 1234.9f;
  PlayStep();
  const struct {
    int x, y;
  } cells[] = {{498, 18}, {18, 18}, {18, 55}};  // score, stock, "Next:"
  for (const auto& c : cells) {
    EXPECT_EQ(Back(c.x, c.y), 0xFFFFFFu) << c.x << "," << c.y;  // the text's white box
    EXPECT_EQ(Back(c.x - 1, c.y), 0u) << c.x << "," << c.y;
    EXPECT_EQ(Back(c.x, c.y - 1), 0u) << c.x << "," << c.y;
  }
}

TEST_F(PlayScreenTest, EveryBitmapIsLoadedIncludingTheEnemies) {
  // "data\enemy.bmp" is one character longer than the other paths; it loads all the same.
  for (const plat::Surface* s : {&ballDC, &maskDC, &backImageDC, &enemyDC}) {
    bool drawn = false;
    for (plat::Colour c : s->pixels) drawn = drawn || c != 0;
    EXPECT_TRUE(drawn);
  }
  EXPECT_GE(enemyDC.width, 160);
}

TEST_F(PlayScreenTest, CourseBackgroundMovesDownWithTheView) {
  scrollDistance = 190.7f;  // offset 10
  PlayStep();
  EXPECT_EQ(Back(160, 10), backImageDC.At(0, 0));
  EXPECT_EQ(Back(479, 9), backImageDC.At(319, 179));
  EXPECT_EQ(Back(200, 300), backImageDC.At(40, 110));
}

TEST_F(PlayScreenTest, NextColumnShowsTheFirstFiveStockEntries) {
  FillStock(30);
  for (int i = 0; i < 8; ++i) ballStock[i] = 8 - i;
  PlayStep();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Back(80, 64 + 32 * i), ballDC.At(32 * (7 - i) + 16, 16)) << i;
  }
  EXPECT_EQ(Back(80, 64 + 32 * 5), 0u);
}

TEST_F(PlayScreenTest, BallsFlashWhileTheirEffectRunsAndEnemiesShowTheirType) {
  PutBall(0, 300, 300, 0, 0, 3, 10);
  PutBall(1, 400, 300, 0, 0, 5);
  PutEnemy(0, 220, 400, 4);
  PlayStep();  // frameCounter 1: odd, the ball's own picture
  EXPECT_EQ(Back(303, 300), ballDC.At(32 * 2 + 16, 16));
  EXPECT_EQ(Back(400, 300), ballDC.At(32 * 4 + 16, 16));
  EXPECT_EQ(Back(220, 400), enemyDC.At(32 * 3 + 16, 16));
  PlayStep();  // frameCounter 2: even, the flash
  EXPECT_EQ(Back(306, 300), ballDC.At(256 + 16, 16));
  EXPECT_EQ(Back(400, 300), ballDC.At(32 * 4 + 16, 16));
}

// ---------------------------------------------------------------- game over

class GameOverTest : public BallTest {
 protected:
  void SetUp() override {
    BallTest::SetUp();
    FillStock(3);
    PlayStep();
    picture = frame::backDC.pixels;
    frame::gameState = GameOver;
    GameOverStep();  // button and Escape seen up
  }
  std::vector<plat::Colour> picture;
};

TEST_F(GameOverTest, TextGoesOverTheLastPlayPicture) {
  EXPECT_EQ(frame::gameState, GameOver);
  EXPECT_EQ(Back(100, 300), picture[300 * 640 + 100]);
  EXPECT_EQ(Back(300, 300), picture[300 * 640 + 300]);
  EXPECT_EQ(Back(283, 40), picture[40 * 640 + 283]);
  EXPECT_NE(Back(284, 36), picture[36 * 640 + 284]);  // the text's white box
  EXPECT_NE(Back(205, 74), picture[74 * 640 + 205]);
}

TEST_F(GameOverTest, ClickReturnsToTheTitleAndEscapeQuits) {
  PressAt(100, 100);
  GameOverStep();
  EXPECT_EQ(frame::gameState, Title);

  SetUp();
  HoldKeys({VK_ESCAPE});
  GameOverStep();
  EXPECT_EQ(frame::gameState, Quit);

  SetUp();
  PressAt(100, 100);
  HoldKeys({VK_ESCAPE});
  GameOverStep();
  EXPECT_EQ(frame::gameState, Quit);  // Escape is tested after the click
}

TEST_F(GameOverTest, ButtonHeldSinceThePlayIsNotAClick) {
  frame::mouseDown[0] = 1;
  frame::clickArmed[0] = 0;
  GameOverStep();
  EXPECT_EQ(frame::gameState, GameOver);
}

}  // namespace
}  // namespace balltest
