// The chapter flow: title, prologue, chapter pages, replays, the ending.
#include <cstring>
#include "zombie/tests/test_support.h"

namespace {

using namespace ztest;
using namespace zombie;

class Flow : public ZombieTest {
 protected:
  void SetUp() override {
    ZombieTest::SetUp();
    data = new TempData(PlainPeople(), PlainStage(), PlainStory());
  }
  void TearDown() override {
    delete data;
    ZombieTest::TearDown();
  }
  // One frame with a fresh click of the left button, then the release.
  void ClickFrame() {
    frame::clickArmed[0] = 1;
    frame::mouseDown[0] = 1;
    Step();
    frame::mouseDown[0] = 0;
  }
  TempData* data = nullptr;
};

TEST_F(Flow, AWholeGameFromTitleToTitle) {
  frame::gameState = Title;
  Step();
  EXPECT_EQ(frame::gameState, Title);
  ClickFrame();
  EXPECT_EQ(frame::gameState, NewGame);
  EXPECT_EQ(chapter, 0);
  Step();  // the squad is generated
  EXPECT_EQ(frame::gameState, Story);
  EXPECT_GT(squad[6].maxHp, 0);
  Step();  // the prologue's page
  EXPECT_EQ(frame::gameState, StoryWait);
  EXPECT_STREQ(chapterTitle, "T0");
  Step();
  EXPECT_EQ(frame::gameState, StoryWait);
  ClickFrame();
  EXPECT_EQ(chapter, 1);
  EXPECT_EQ(frame::gameState, Story);
  Step();
  EXPECT_STREQ(chapterTitle, "T1");
  ClickFrame();
  EXPECT_EQ(frame::gameState, SetUpStage);
  Step();
  EXPECT_EQ(frame::gameState, zombie::Battle);
  EXPECT_EQ(turn, 7);
  Step();  // the introduction
  EXPECT_EQ(frame::gameState, Waiting);
  Step();
  EXPECT_EQ(frame::gameState, Waiting);
  ClickFrame();
  EXPECT_EQ(frame::gameState, zombie::Battle);

  // Win: every column empty.
  personColumns[0] = personColumns[1] = personColumns[2] = EMPTY_COLUMN;
  Step();
  ClickFrame();
  EXPECT_EQ(frame::gameState, StageWon);
  Step();
  EXPECT_EQ(chapter, 2);
  EXPECT_EQ(frame::gameState, Story);
  Step();
  EXPECT_STREQ(chapterTitle, "T2");  // tokens 8 to 11
  ClickFrame();
  Step();
  EXPECT_EQ(frame::gameState, zombie::Battle);

  // Loss: a protected person beaten; the same chapter is shown and played again.
  turn = 0;
  squad[1].hp = 1;
  stageEntries[2].hp = 0;
  Step();
  EXPECT_EQ(frame::gameState, Waiting);
  ClickFrame();
  EXPECT_EQ(frame::gameState, Story);
  Step();
  EXPECT_EQ(chapter, 2);
  EXPECT_STREQ(chapterTitle, "T2");
  ClickFrame();
  Step();
  EXPECT_EQ(frame::gameState, zombie::Battle);
  EXPECT_EQ(squad[1].hp, squad[1].maxHp);
  EXPECT_GT(stageEntries[2].hp, 0);

  // Winning the fifth stage leads to the ending without a story page.
  chapter = 5;
  frame::gameState = StageWon;
  Step();
  EXPECT_EQ(chapter, 6);
  Step();
  EXPECT_EQ(frame::gameState, Ending);
  EXPECT_STREQ(chapterTitle, "T2");
  Step();
  EXPECT_EQ(frame::gameState, Ending);
  ClickFrame();
  EXPECT_EQ(frame::gameState, Title);
}

TEST_F(Flow, StoryPagesDrawTheirTextAndLeaveMissingLinesEmpty) {
  chapter = 7;  // beyond the file: every token is missing
  ShowStory(7);
  EXPECT_STREQ(chapterTitle, "");
  const plat::Surface& back = frame::backDC;
  const plat::Surface& image = frame::dcTable[3];
  for (int y = 54; y < 108; ++y)
    for (int x = 18; x < 200; ++x) ASSERT_EQ(back.At(x, y), image.At(x, y)) << x << "," << y;
  ShowStory(1);
  EXPECT_STREQ(chapterTitle, "T1");
  EXPECT_EQ(back.At(18, 56), 0xFFFFFFu);  // the line's white text box
  EXPECT_EQ(back.At(18, 92), 0xFFFFFFu);
}

TEST_F(Flow, EscapeQuitsOnlyFromTheTitle) {
  OpenWithKeys("1 down escape\n");
  frame::keyLatch[plat::VK_ESCAPE] = 1;
  frame::gameState = StoryWait;
  Step();
  frame::gameState = Ending;
  Step();
  EXPECT_EQ(frame::gameState, Ending);
  EXPECT_EQ(frame::keyLatch[plat::VK_ESCAPE], 1);
  frame::gameState = Title;
  ClickFrame();  // a click and Escape in the same frame: Escape wins
  EXPECT_EQ(frame::gameState, Quit);
}

}  // namespace
