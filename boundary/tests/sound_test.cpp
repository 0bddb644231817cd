// The media commands: the aliases opened at set-up, the beat's pulse and alternation on
// any clock value, and the order of the commands within a frame.
#include "boundary/tests/harness.h"

namespace boundarytest {
namespace {

using namespace boundary;

TEST_F(BoundaryTest, SetUpOpensTheEightAliasesInTableOrderAndStartsOnTheTitle) {
  bassIndex = 2;
  frame::gameState = Play;
  boundary::Setup();
  const std::vector<std::string> opens = {
      "open data\\out_m1.wav alias fan1", "open data\\out_m2.wav alias fan2",
      "open data\\out_m3.wav alias fan3", "open data\\out_m4.wav alias fan4",
      "open data\\bass.wav alias bass1",  "open data\\bass.wav alias bass2",
      "open data\\bass2.wav alias bure",  "open data\\hit.wav alias hit",
  };
  EXPECT_EQ(sent, opens);
  EXPECT_EQ(bassIndex, 1);
  EXPECT_EQ(frame::gameState, Title);
  EXPECT_EQ(health, kStartHealth);
}

// Frames 16 ms apart from a game started at `start`: the clock values of the beats and
// which device each one used.
struct Beat {
  uint32_t at;
  std::string command;
};

std::vector<Beat> BeatsFrom(uint32_t start, int frames) {
  std::vector<Beat> beats;
  lastBassTime = start - kBeatMs;  // as a new game at `start` leaves it
  for (int f = 1; f <= frames; ++f) {
    frame::frameStart = start + 16u * static_cast<uint32_t>(f);
    sent.clear();
    PlayFrame();
    for (const std::string& s : sent)
      if (s.rfind("play bass", 0) == 0) beats.push_back({frame::frameStart, s});
  }
  return beats;
}

TEST_F(BoundaryTest, BeatFallsOnTheFirstFrameMoreThan1714MsOnAndAlternatesOnAnyClock) {
  // Near the clock's sign change and its wrap, the pulse goes on unchanged.
  for (uint32_t start : {1000u, 0x80000000u - 3000u, 0xFFFFFFFFu - 3000u, 0xFFFFFFFFu - 1000u}) {
    SetUp();
    bassIndex = 1;
    const std::vector<Beat> beats = BeatsFrom(start, 600);
    ASSERT_EQ(beats.size(), 6u) << start;
    EXPECT_EQ(beats[0].at, start + 16);  // at once
    for (size_t i = 0; i < beats.size(); ++i) {
      EXPECT_EQ(beats[i].command, i % 2 == 0 ? "play bass1 from 0" : "play bass2 from 0");
      // 1728 ms: the first multiple of the 16 ms frame beyond 1714.
      if (i > 0) {
        EXPECT_EQ(beats[i].at - beats[i - 1].at, 1728u) << start << " beat " << i;
      }
    }
  }
}

TEST_F(BoundaryTest, BeatWaitsStrictlyMoreThan1714Ms) {
  lastBassTime = 5000;
  frame::frameStart = 5000 + kBeatMs;
  PlayFrame();
  EXPECT_TRUE(sent.empty());
  frame::frameStart += 1;
  PlayFrame();
  EXPECT_EQ(sent, std::vector<std::string>{"play bass1 from 0"});
  EXPECT_EQ(lastBassTime, 5000 + kBeatMs + 1);
  EXPECT_EQ(bassIndex, 2);
  EXPECT_TRUE(BeatDue(0xFFFFFFFFu - 10, 1705));
  EXPECT_FALSE(BeatDue(0xFFFFFFFFu - 10, 1703));
  EXPECT_TRUE(BeatDue(0x7FFFFFF0u, 0x7FFFFFF0u + 1715));
}

TEST_F(BoundaryTest, AFrameSendsTheBeatThenTheReleaseThenEachHitAndCatchInSlotOrder) {
  lastBassTime = 0;
  frame::frameStart = 2000;
  for (int i : {4, 7, 9}) Put(i, 100, 100, Caught);
  Put(2, frame::mouseX + 2, 240);
  Put(5, frame::mouseX - 2, 240);
  PlayFrame();
  EXPECT_EQ(sent, (std::vector<std::string>{"play bass1 from 0", "play fan2 from 0", "play hit from 0",
                                            "play hit from 0"}));

  // While charging: a catch, then a hit that is caught as well, then another catch.
  SetUp();
  Press();
  Put(1, frame::mouseX + 20, 240);
  Put(3, frame::mouseX, 240);
  Put(6, frame::mouseX - 25, 240);
  PlayFrame();
  EXPECT_EQ(sent, (std::vector<std::string>{"play bure from 0", "play hit from 0", "play bure from 0",
                                            "play bure from 0"}));
}

// The whole program through the frame's loop, started with the headless clock near its
// wrap: the commands it sends and when.
struct Sent {
  long frame;
  uint32_t frameStart;
  std::string command;
};
std::vector<Sent> timeline;
void RecordTimed(const char* command) { timeline.push_back({plat::FramesShown() + 1, frame::frameStart, command}); }

TEST(SoundLoopTest, AGameAcrossTheClockWrapKeepsTheBeatAndSendsOnlyKnownCommands) {
  OpenPlaythrough(true, 900);
  if (HasFatalFailure()) return;
  const uint32_t start = 0xFFFFFFFFu - 5000;
  plat::SleepMs(start);  // the virtual clock now starts 5 s before its wrap
  timeline.clear();
  plat::mediaSink = RecordTimed;
  frame::CreateSurfaces(kSettings);
  frame::gameState = kSettings.firstState;
  kSettings.setup();
  EXPECT_EQ(frame::RunLoop(kSettings), 0);
  plat::mediaSink = plat::SoundCommand;
  plat::CloseSystem();

  ASSERT_GE(timeline.size(), 8u);
  std::vector<Sent> beats;
  for (size_t i = 0; i < timeline.size(); ++i) {
    const std::string& c = timeline[i].command;
    if (i < 8) {
      EXPECT_EQ(c.rfind("open data\\", 0), 0u) << c;
      continue;
    }
    const bool known = c == "play hit from 0" || c == "play bure from 0" || c == "play bass1 from 0" ||
                       c == "play bass2 from 0" || (c.size() == 16 && c.rfind("play fan", 0) == 0 &&
                                                    c[8] >= '1' && c[8] <= '4' && c.substr(9) == " from 0");
    EXPECT_TRUE(known) << c;
    if (c.rfind("play bass", 0) == 0) beats.push_back(timeline[i]);
  }
  // The click on frame 40 starts the game; its first frame beats at once.
  ASSERT_GE(beats.size(), 7u);
  EXPECT_EQ(beats[0].frame, 41);
  EXPECT_EQ(beats[0].frameStart, start + 40 * 16);  // every frame took its 16 ms
  for (size_t i = 0; i < beats.size(); ++i) {
    EXPECT_EQ(beats[i].command, i % 2 == 0 ? "play bass1 from 0" : "play bass2 from 0");
    if (i == 0) continue;
    const uint32_t gap = beats[i].frameStart - beats[i - 1].frameStart;
    EXPECT_GT(gap, kBeatMs) << i;
    EXPECT_LE(gap, kBeatMs + 17) << i;
  }
  // The clock did wrap during the run.
  EXPECT_LT(beats.back().frameStart, 20000u);
}

}  // namespace
}  // namespace boundarytest
