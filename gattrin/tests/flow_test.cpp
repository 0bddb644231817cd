// The state machine frame by frame: the title's demonstration, starting games, the end
// of a game and Escape from each screen; a whole scripted run through the frame's loop
// with its sound commands; and frames that allocate nothing.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "gattrin/tests/harness.h"
#include "platform/tests/alloc_counter.h"

namespace gattrintest {
namespace {

using namespace gattrin;

class FlowTest : public GattrinTest {
 protected:
  // Marks the back buffer so that a frame that draws nothing can be told apart.
  static void Mark() { frame::backDC.pixels[0] = 0x123456; }
  static bool Marked() { return frame::backDC.pixels[0] == 0x123456; }
};

TEST_F(FlowTest, TitlePlayAndGameOverWithEscapeFromEach) {
  // Entering the title: a four-bar demonstration with locked hands, nothing drawn.
  frame::gameState = EnterTitle;
  Mark();
  Step();
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(barCount, 4);
  EXPECT_EQ(handState, InputLocked);
  for (int s = 0; s < 4; ++s) EXPECT_EQ(barInSlot[s], 1);
  EXPECT_TRUE(Marked());

  // Escape on the title quits.
  Press(plat::VK_ESCAPE);
  Step();
  EXPECT_EQ(frame::gameState, Quit);

  // A click on the three-bar button; the starting frame draws nothing.
  frame::gameState = Title;
  HoldKeys({});
  PressAt(150, 400);
  Step();
  EXPECT_EQ(frame::gameState, NewGame);
  Mark();
  tick = 77;
  gateStrength = 3;
  Step();
  EXPECT_EQ(frame::gameState, Play);
  EXPECT_TRUE(Marked());
  EXPECT_EQ(barInSlot[Top] + barInSlot[Bottom] + barInSlot[Left] + barInSlot[Right], 3);
  EXPECT_EQ(barInSlot[Right], 0);
  EXPECT_EQ(handState, HandsEmpty);
  EXPECT_EQ(gateStrength, kStartStrength);
  EXPECT_EQ(tick, 0);
  Step();
  EXPECT_EQ(tick, 1);

  // Escape in play ends the game; still held, it does not also quit the game-over screen.
  Press(plat::VK_ESCAPE);
  Step();
  EXPECT_EQ(frame::gameState, GameOver);
  EXPECT_EQ(endTick, 2);
  Step();
  EXPECT_EQ(frame::gameState, GameOver);
  EXPECT_EQ(tick, 3);  // the siege goes on behind the texts
  Press(plat::VK_ESCAPE);
  Step();
  EXPECT_EQ(frame::gameState, Quit);

  // A click on the game-over screen returns to the title, which starts afresh.
  frame::gameState = GameOver;
  HoldKeys({});
  PressAt(5, 5);
  Step();
  EXPECT_EQ(frame::gameState, EnterTitle);
  Step();
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(barCount, 4);
}

TEST_F(FlowTest, TheTitlesDemonstrationNeverDamagesTheGate) {
  frame::gameState = EnterTitle;
  int most = 0;
  for (int i = 0; i < 6000; ++i) {
    Step();
    int n = 0;
    for (const Attacker& a : attackers) n += a.active;
    most = std::max(most, n);
  }
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(gateStrength, kStartStrength);
  EXPECT_GT(most, 3);
}

TEST_F(FlowTest, FramesAllocateNothing) {
  for (int i = 0; i < kAttackerSlots; ++i) Put(i, i % 8, 1 + i % 100, 1.0f + (i % 20) * 0.1f);
  frame::gameState = Title;
  Step();  // glyphs cached
  frame::gameState = GameOver;
  endTick = 12345;
  Step();
  const long before = alloc_counter::Allocations();
  for (int i = 0; i < 50; ++i) {
    frame::gameState = i % 2 ? Title : GameOver;
    Step();
  }
  EXPECT_EQ(alloc_counter::Allocations(), before);
}

// ---------------------------------------------------------------- a whole run

struct Sent {
  long frame;
  std::string command;
};
std::vector<Sent> sent;
void Record(const char* command) { sent.push_back({plat::FramesShown() + 1, command}); }

struct FrameLog {
  int state;  // gameState after the frame
  int tick, strength, endTick;
  uint64_t picture;  // hash of the back buffer
};
std::vector<FrameLog> frames;

uint64_t Hash(const plat::Surface& s) {
  uint64_t h = 1469598103934665603ull;
  for (plat::Colour c : s.pixels) h = (h ^ c) * 1099511628211ull;
  return h;
}

void LoggedStep() {
  Step();
  frames.push_back({frame::gameState, tick, gateStrength, endTick, Hash(frame::backDC)});
}

// Runs the program's loop over tests/play.script with the given media sink.
int RunPlay(void (*sink)(const char*)) {
  std::ifstream in(GATTRIN_TESTS_DIR "/play.script");
  EXPECT_TRUE(in) << "cannot read play.script";
  std::stringstream text;
  text << in.rdbuf();
  plat::Options opts;
  opts.headless = true;
  opts.frames = 4000;
  std::string error;
  EXPECT_TRUE(plat::ParseScript(text.str(), "play.script", opts.script, error)) << error;
  frame::ResetFrame();
  frame::SeedRandom(1);
  EXPECT_TRUE(plat::OpenSystem(opts, plat::WindowConfig{}));
  frame::FrameSettings s = kSettings;
  s.step = LoggedStep;
  frame::CreateSurfaces(s);
  frame::gameState = s.firstState;
  plat::mediaSink = sink;
  frames.clear();
  sent.clear();
  s.setup();
  const int status = frame::RunLoop(s);
  plat::mediaSink = plat::SoundCommand;
  plat::CloseSystem();
  return status;
}

TEST(PlayRunTest, AScriptedRunPlaysBothGamesAndSendsItsCues) {
  ASSERT_EQ(RunPlay(Record), 0);
  // Escape at frame 1850 quits from the game-over screen.
  ASSERT_EQ(frames.size(), 1850u);
  const auto at = [](long f) { return frames[f - 1]; };
  EXPECT_EQ(at(59).state, Title);
  EXPECT_EQ(at(60).state, NewGame);  // the click on the three-bar button
  EXPECT_EQ(at(61).state, Play);
  EXPECT_EQ(at(61).picture, at(60).picture);  // the starting frame draws nothing
  EXPECT_EQ(at(62).tick, 1);
  EXPECT_EQ(at(399).state, Play);
  EXPECT_EQ(at(400).state, GameOver);  // Escape
  EXPECT_EQ(at(400).endTick, 339);
  EXPECT_EQ(at(460).state, EnterTitle);
  EXPECT_EQ(at(462).state, Title);
  EXPECT_EQ(at(500).state, NewGame);  // the two-bar button
  // The two-bar game runs until the gate falls at 1.
  long fall = 0;
  for (long f = 502; f < 1800 && !fall; ++f)
    if (at(f).state == GameOver) fall = f;
  ASSERT_NE(fall, 0);
  EXPECT_EQ(at(fall).strength, 1);
  EXPECT_EQ(at(fall - 1).strength, 2);
  EXPECT_EQ(at(1800).state, EnterTitle);
  EXPECT_EQ(at(1850).state, Quit);

  const char* const names[] = {"pull", "set", "thud", "crash", "fall"};
  ASSERT_GE(sent.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(sent[i].frame, 1);
    EXPECT_EQ(sent[i].command, std::string("open data\\") + names[i] + ".wav alias " + names[i]);
  }
  std::vector<long> pulls, sets, falls, crashes;
  for (size_t i = 5; i < sent.size(); ++i) {
    const Sent& s = sent[i];
    for (size_t j = 5; j < i; ++j) EXPECT_FALSE(sent[j].frame == s.frame && sent[j].command == s.command);
    if (s.command == "play pull from 0") pulls.push_back(s.frame);
    if (s.command == "play set from 0") sets.push_back(s.frame);
    if (s.command == "play fall from 0") falls.push_back(s.frame);
    if (s.command == "play crash from 0") crashes.push_back(s.frame);
  }
  EXPECT_EQ(pulls, (std::vector<long>{100, 120}));
  EXPECT_EQ(sets, (std::vector<long>{110, 130}));
  EXPECT_EQ(falls, std::vector<long>{fall});
  EXPECT_FALSE(crashes.empty());
}

TEST(PlayRunTest, PicturesAndRulesAreTheSameWithoutSound) {
  ASSERT_EQ(RunPlay(Record), 0);
  const std::vector<FrameLog> withSound = frames;
  ASSERT_EQ(RunPlay(nullptr), 0);
  ASSERT_EQ(frames.size(), withSound.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].picture, withSound[i].picture) << "frame " << i + 1;
    EXPECT_EQ(frames[i].tick, withSound[i].tick);
    EXPECT_EQ(frames[i].strength, withSound[i].strength);
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace gattrintest
