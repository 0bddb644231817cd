// Sound cues: which events of a step ask for which clip, and the commands a whole game
// sends (clips opened once, at most one play per clip per frame, plays at the right frames).
#include <string>
#include <vector>
#include "ball/tests/harness.h"
#include "platform/keys.h"

namespace balltest {
namespace {

using namespace ball;

constexpr uint32_t Bit(Sound s) { return 1u << s; }

struct Sent {
  long frame;  // the frame being stepped when the command went out
  std::string command;
};

std::vector<Sent> sent;

void Record(const char* command) { sent.push_back({plat::FramesShown() + 1, command}); }

class SoundCueTest : public BallTest {
 protected:
  void SetUp() override {
    BallTest::SetUp();
    soundCues.marked = 0;
  }
};

TEST_F(SoundCueTest, EachEventOfAStepMarksItsOwnCue) {
  // Launch.
  FillStock(3);
  PressAt(300, 300);
  PlayStep();
  EXPECT_EQ(soundCues.marked, Bit(SoundLaunch));

  // A click on a normal ball that has flown long enough stops it.
  SetUp();
  FillStock(1);
  PutBall(0, 300, 300, 0, -1);
  PressAt(300, 300);
  PlayStep();
  EXPECT_EQ(soundCues.marked, Bit(SoundStop));

  // A click on a ball still inside its launch time neither stops it nor sounds.
  SetUp();
  FillStock(1);
  PutBall(0, 300, 300, 0, -1, 1, 0, 50);
  PressAt(300, 300);
  PlayStep();
  EXPECT_EQ(soundCues.marked, 0u);

  // A click on a special ball sets off its power.
  SetUp();
  FillStock(1);
  PutBall(0, 300, 300, 0, -1, 2);
  PressAt(300, 300);
  PlayStep();
  EXPECT_EQ(soundCues.marked, Bit(SoundPower));

  // An enemy destroys a ball.
  SetUp();
  FillStock(1);
  PutBall(0, 300, 300, 0, -1);
  PutEnemy(0, 300, 280, 4);
  PlayStep();
  EXPECT_EQ(soundCues.marked, Bit(SoundHit));

  // A pierce ball at work destroys the enemy instead, silently.
  SetUp();
  FillStock(1);
  PutBall(0, 300, 300, 0, -1, 7, 100);
  PutEnemy(0, 300, 280, 4);
  PlayStep();
  EXPECT_EQ(soundCues.marked, 0u);
}

TEST_F(SoundCueTest, BombSoundsWhenItGoesOffNotWhenClicked) {
  FillStock(1);
  PutBall(0, 300, 300, 0, -1, 6);
  PutEnemy(0, 300, 200, 4);
  PressAt(300, 300);
  PlayStep();
  EXPECT_EQ(soundCues.marked, 0u);
  Release();
  PlayStep();
  EXPECT_EQ(soundCues.marked, Bit(SoundBomb));
  EXPECT_FALSE(enemies[0].active);
}

TEST_F(SoundCueTest, ReturnSoundsOnlyWhenTheStockTakesTheBallBackAndAloneWhenAnEnemyTouchesIt) {
  FillStock(1);
  PutBall(0, 300, 495, 0, 2);
  PlayStep();
  EXPECT_EQ(soundCues.marked, Bit(SoundReturn));

  SetUp();
  FillStock(kStockSize);
  PutBall(0, 300, 495, 0, 2);
  PlayStep();
  EXPECT_EQ(soundCues.marked, 0u);

  // A ball that drops out onto an enemy comes back; it is not also heard being hit.
  SetUp();
  FillStock(1);
  PutBall(0, 300, 495, 0, 2);
  PutEnemy(0, 300, 490, 4);
  PlayStep();
  EXPECT_EQ(soundCues.marked, Bit(SoundReturn));
}

TEST_F(SoundCueTest, StartAndGameOverMarkTheirCues) {
  NewGameSetup();
  EXPECT_EQ(soundCues.marked, Bit(SoundStart));

  SetUp();
  PlayStep();  // empty stock, nothing rising: the game ends
  EXPECT_EQ(frame::gameState, GameOver);
  EXPECT_EQ(soundCues.marked, Bit(SoundGameOver));

  SetUp();
  FillStock(5);
  PlayStep();  // Escape seen up
  HoldKeys({plat::VK_ESCAPE});
  PlayStep();
  EXPECT_EQ(frame::gameState, GameOver);
  EXPECT_EQ(soundCues.marked, Bit(SoundGameOver));
}

TEST(SoundPlaythroughTest, AGameOpensEveryClipOnceAndPlaysEachAtMostOncePerFrame) {
  balltest::OpenPlaythrough(1720);
  if (HasFatalFailure()) return;
  frame::CreateSurfaces(kSettings);
  frame::gameState = Title;
  sent.clear();
  plat::mediaSink = Record;
  kSettings.setup();
  EXPECT_EQ(frame::RunLoop(kSettings), 0);
  plat::mediaSink = plat::SoundCommand;
  plat::CloseSystem();

  const char* const names[] = {"start", "launch", "power", "stop", "hit", "bomb", "return", "gameover"};
  ASSERT_GE(sent.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(sent[i].frame, 1);
    EXPECT_EQ(sent[i].command, std::string("open data\\") + names[i] + ".wav alias " + names[i]);
  }

  std::vector<long> starts, launches, gameOvers;
  for (size_t i = 8; i < sent.size(); ++i) {
    const Sent& s = sent[i];
    ASSERT_EQ(s.command.rfind("play ", 0), 0u) << s.command;
    for (size_t j = 8; j < i; ++j) EXPECT_FALSE(sent[j].frame == s.frame && sent[j].command == s.command);
    if (s.command == "play start from 0") starts.push_back(s.frame);
    if (s.command == "play launch from 0") launches.push_back(s.frame);
    if (s.command == "play gameover from 0") gameOvers.push_back(s.frame);
  }
  // The game starts on frame 61 and ends on frame 1593 (see the playthrough test).
  EXPECT_EQ(starts, std::vector<long>{61});
  EXPECT_EQ(gameOvers, std::vector<long>{1593});
  ASSERT_FALSE(launches.empty());
  EXPECT_EQ(launches.front(), 76);
}

}  // namespace
}  // namespace balltest
