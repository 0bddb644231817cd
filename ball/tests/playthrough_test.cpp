// A whole game through the frame's loop, in-process: the same script, seed and frame
// count as the command-line playthrough, with every state change recorded.
#include <vector>
#include "ball/tests/harness.h"

namespace balltest {
namespace {

struct Change {
  long frame;
  int state;
  int score;
};

std::vector<Change> changes;

void RecordingStep() {
  const int before = frame::gameState;
  ball::Step();
  if (frame::gameState != before) {
    changes.push_back({plat::FramesShown() + 1, frame::gameState, static_cast<int>(ball::scrollDistance)});
  }
}

TEST(PlaythroughTest, ScriptedNormalGameEndsAndReturnsToTheTitle) {
  balltest::OpenPlaythrough(1720);
  if (HasFatalFailure()) return;
  frame::FrameSettings settings = ball::kSettings;
  settings.step = RecordingStep;
  frame::CreateSurfaces(settings);
  frame::gameState = ball::Title;
  changes.clear();
  EXPECT_EQ(frame::RunLoop(settings), 0);
  plat::CloseSystem();

  // Recorded from this build: a change here means the rules, the draw order or the
  // input handling changed.
  ASSERT_EQ(changes.size(), 4u);
  EXPECT_EQ(changes[0].frame, 60);
  EXPECT_EQ(changes[0].state, ball::NewGame);
  EXPECT_EQ(changes[1].frame, 61);
  EXPECT_EQ(changes[1].state, ball::Play);
  EXPECT_EQ(changes[2].state, ball::GameOver);
  EXPECT_EQ(changes[2].frame, 1593);
  EXPECT_EQ(changes[2].score, 1337);
  EXPECT_EQ(changes[3].frame, 1641);
  EXPECT_EQ(changes[3].state, ball::Title);
}

}  // namespace
}  // namespace balltest
