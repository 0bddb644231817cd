// A whole game through the frame's loop, in-process: the same script, seed and frame
// count as the command-line playthrough, with every state change recorded.
#include <algorithm>
#include <cstdlib>
#include "boundary/tests/harness.h"
#include "platform/tests/gl_driver_pin.h"

namespace boundarytest {
namespace {

using namespace boundary;

struct Change {
  long frame;
  int state;
  int score;
  int health;
};
std::vector<Change> changes;
int mostBursting;

void RecordingStep() {
  const int before = frame::gameState;
  Step();
  int bursting = 0;
  for (const DustParticle& p : particles) bursting += p.active && p.state == Bursting;
  mostBursting = std::max(mostBursting, bursting);
  if (frame::gameState != before) changes.push_back({plat::FramesShown() + 1, frame::gameState, score, health});
}

TEST(PlaythroughTest, ScriptedGameEndsAndReturnsToTheTitle) {
  OpenPlaythrough(true, 2450);
  if (HasFatalFailure()) return;
  SinkRecorder recorder;
  frame::FrameSettings settings = kSettings;
  settings.step = RecordingStep;
  frame::CreateSurfaces(settings);
  frame::gameState = settings.firstState;
  settings.setup();
  changes.clear();
  mostBursting = 0;
  EXPECT_EQ(frame::RunLoop(settings), 0);
  plat::CloseSystem();
  // Recorded from this build: a change here means the rules, the draw order or the input
  // handling changed.
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].frame, 40);
  EXPECT_EQ(changes[0].state, Play);
  EXPECT_EQ(changes[1].frame, 2363);
  EXPECT_EQ(changes[1].state, Title);
  EXPECT_EQ(changes[1].score, 34);
  EXPECT_EQ(changes[1].health, -2);
  EXPECT_EQ(mostBursting, 5);  // the releases set off chains
  EXPECT_EQ(sent.size(), 70u);
}

// In a real window (under Xvfb in the test script) with the sound output behind the
// recorder: the game starts and beats through the mixer as on the headless backend.
void RecordAndPlay(const char* command) {
  Record(command);
  plat::SoundCommand(command);
}

TEST(WindowPlaythroughTest, AScriptedGamePlaysThroughTheSoundOutput) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY: the window test needs an X server";
  OpenPlaythrough(false, 160);
  if (HasFatalFailure()) return;
  SinkRecorder recorder;
  plat::mediaSink = RecordAndPlay;
  frame::CreateSurfaces(kSettings);
  frame::gameState = kSettings.firstState;
  kSettings.setup();
  changes.clear();
  EXPECT_EQ(frame::RunLoop(kSettings), 0);
  plat::CloseSystem();
  ASSERT_GE(sent.size(), 9u);
  EXPECT_EQ(sent[0], "open data\\out_m1.wav alias fan1");
  EXPECT_EQ(sent[8], "play bass1 from 0");  // the first play frame beats at once
  EXPECT_EQ(frame::gameState, Play);
}

}  // namespace
}  // namespace boundarytest
