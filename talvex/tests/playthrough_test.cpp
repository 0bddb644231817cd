// Whole runs of the program's loop on the headless backend, driven by the recorded
// scripts: a climb from the ground up the first platforms, and the last push over the
// top into the ending, back to a new tower's title and out with Escape.
#include <algorithm>
#include <string>
#include <vector>
#include "platform/tests/alloc_counter.h"
#include "talvex/tests/harness.h"

namespace talvextest {
namespace {

using namespace talvex;

struct Sent {
  long frame;
  std::string command;
};
std::vector<Sent> sent;
void Record(const char* command) { sent.push_back({plat::FramesShown() + 1, command}); }

// What each frame of a run left behind.
struct FrameLog {
  int state;
  float climberY;
  bool holding;
  uint64_t picture;  // a hash of the back buffer
};
std::vector<FrameLog> frames;

uint64_t Hash(const std::vector<plat::Colour>& px) {
  uint64_t h = 1469598103934665603ull;
  for (plat::Colour c : px) h = (h ^ c) * 1099511628211ull;
  return h;
}

void LoggedStep() {
  Step();
  frames.push_back({frame::gameState, climberY, clinging && inGripRange, Hash(frame::backDC.pixels)});
}

// Runs the program's loop as `talvex --headless --input SCRIPT --frames N` does, with
// the given start height; returns the loop's exit status.
int RunScript(const char* script, long frameLimit, float startHeight, void (*sink)(const char*)) {
  frametest::OpenScripted(std::string(TALVEX_SOURCE_DIR "/tests/") + script, frameLimit);
  if (::testing::Test::HasFatalFailure()) return -1;
  frame::FrameSettings settings = kSettings;
  settings.step = LoggedStep;
  frame::CreateSurfaces(settings);
  frame::gameState = settings.firstState;
  sent.clear();
  frames.clear();
  plat::mediaSink = sink;
  // The program's own state as it starts: zero.
  angleVelocity = 0;
  clinging = inGripRange = false;
  fpsShown = 0;
  testStartHeight = startHeight;
  settings.setup();
  const int status = frame::RunLoop(settings);
  plat::mediaSink = plat::SoundCommand;
  testStartHeight = 0;
  plat::CloseSystem();
  return status;
}

long FirstPlay(const char* command) {
  for (const Sent& s : sent)
    if (s.command == command) return s.frame;
  return -1;
}

TEST(PlaythroughTest, AClimbWalksJumpsGripsCrawlsAndPushesOffUpTheFirstPlatforms) {
  EXPECT_EQ(RunScript("climb.script", 400, 0, Record), 0);
  ASSERT_EQ(frames.size(), 340u);  // Escape on frame 340 ends the run
  EXPECT_EQ(frames.back().state, Quit);
  EXPECT_EQ(frames[18].state, Title);
  EXPECT_EQ(frames[19].state, Play);  // the click of frame 20

  // The climber holds on 13 metres up, then lets go and falls back to the ground.
  float highestHeld = 0;
  for (const FrameLog& f : frames)
    if (f.holding) highestHeld = std::min(highestHeld, f.climberY);
  EXPECT_LT(highestHeld, -260.0f);
  EXPECT_EQ(frames[338].climberY, 0.0f);

  ASSERT_GE(sent.size(), 4u);
  EXPECT_EQ(sent[0].command, "open data\\jump.wav alias jump");
  EXPECT_EQ(sent[3].command, "open data\\ending.wav alias ending");
  EXPECT_EQ(FirstPlay("play jump from 0"), 63);
  EXPECT_GT(FirstPlay("play grip from 0"), 63);
  EXPECT_GT(FirstPlay("play pushoff from 0"), FirstPlay("play grip from 0"));
  EXPECT_EQ(FirstPlay("play ending from 0"), -1);
}

TEST(PlaythroughTest, SoundChangesNothingThatIsComputedOrDrawn) {
  RunScript("climb.script", 300, 0, Record);
  const std::vector<FrameLog> withSound = frames;
  EXPECT_GT(sent.size(), 10u);
  RunScript("climb.script", 300, 0, nullptr);
  ASSERT_EQ(frames.size(), withSound.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    ASSERT_EQ(frames[i].picture, withSound[i].picture) << "frame " << i + 1;
    ASSERT_EQ(frames[i].climberY, withSound[i].climberY);
  }
}

TEST(PlaythroughTest, ThePushOverTheTopShowsTheEndingThenANewTowersTitle) {
  EXPECT_EQ(RunScript("ending.script", 400, 4999, Record), 0);
  ASSERT_EQ(frames.size(), 160u);
  const auto firstEnding = std::find_if(frames.begin(), frames.end(),
                                        [](const FrameLog& f) { return f.state == Ending; });
  ASSERT_NE(firstEnding, frames.end());
  const long endingFrame = firstEnding - frames.begin() + 1;
  EXPECT_EQ(endingFrame, 64);
  EXPECT_EQ(FirstPlay("play ending from 0"), endingFrame);
  EXPECT_EQ(frames[138].state, Ending);
  EXPECT_EQ(frames[139].state, Title);  // the click of frame 140
  EXPECT_EQ(frames[139].climberY, 0.0f);
  EXPECT_EQ(frames[159].state, Quit);
  // The stars drift behind the picture, so no two ending frames are alike.
  EXPECT_NE(frames[100].picture, frames[101].picture);
}

// Every cache (glyphs, stretch tables, kept stretches) is warm after one pass over the
// same frames: a second pass allocates nothing.
TEST_F(TalvexTest, FramesAllocateNothingOnceWarm) {
  HideStars();
  frame::DrawMaskedString(0, 0, "0123456789m/fps:", 0xFFFFFF);  // every glyph of the texts
  long before = 0;
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) before = alloc_counter::Allocations();
    for (int i = 0; i < 20; ++i) {
      PlaceClimber(static_cast<float>(i * 19), -2000 - 13.0f * i);
      TitleStep();
      PlaceClimber(static_cast<float>(i * 19), -2000 - 13.0f * i);
      PlayStep();
      EndingStep();
    }
  }
  EXPECT_EQ(alloc_counter::Allocations(), before);
}

}  // namespace
}  // namespace talvextest
