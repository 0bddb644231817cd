// A whole game through the frame's loop, in-process: the same script, seed and frame
// count as the command-line playthrough, with every state change recorded.
#include <algorithm>
#include <fstream>
#include <sstream>
#include "boundary/tests/harness.h"

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
  std::ifstream in(BOUNDARY_SOURCE_DIR "/tests/playthrough.script");
  ASSERT_TRUE(in);
  std::stringstream text;
  text << in.rdbuf();
  plat::Options opts;
  opts.headless = true;
  opts.frames = 2450;
  std::string error;
  ASSERT_TRUE(plat::ParseScript(text.str(), "playthrough.script", opts.script, error)) << error;
  frame::ResetFrame();
  frame::SeedRandom(1);
  ASSERT_TRUE(plat::OpenSystem(opts, plat::WindowConfig{}));
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

}  // namespace
}  // namespace boundarytest
