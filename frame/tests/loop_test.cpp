// The main loop on the headless backend: message drain, key latches, pacing, quitting.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/demo/demo.h"
#include "frame/frame.h"
#include "platform/keys.h"
#include "platform/system.h"
#include "platform/tests/alloc_counter.h"

namespace {

std::function<void()> stepBody;
int framesRun = 0;
void Step() {
  ++framesRun;
  if (stepBody) stepBody();
}

frame::FrameSettings LoopSettings() {
  frame::FrameSettings s;
  s.name = "looptest";
  s.firstState = 1;
  s.step = Step;
  return s;
}

// Runs the loop over a script until it quits; returns the exit status.
int RunScript(const std::string& script, long frames, std::function<void()> body,
        frame::FrameSettings s = LoopSettings()) {
  frame::ResetFrame();
  plat::Options opts;
  opts.headless = true;
  opts.mute = true;
  opts.frames = frames;
  std::string error;
  EXPECT_TRUE(plat::ParseScript(script, "script", opts.script, error)) << error;
  EXPECT_TRUE(plat::OpenSystem(opts, plat::WindowConfig{}));
  frame::CreateSurfaces(s);
  frame::gameState = s.firstState;
  framesRun = 0;
  stepBody = std::move(body);
  const int status = frame::RunLoop(s);
  stepBody = nullptr;
  plat::CloseSystem();
  return status;
}

TEST(Loop, KeyHeldAtFirstPollIsNotAHit) {
  std::vector<int> hits;
  RunScript("1 down z\n4 up z\n6 down z\n", 8, [&] { hits.push_back(frame::KeyHit('Z', frame::edge)); });
  EXPECT_EQ(hits, (std::vector<int>{0, 0, 0, 0, 0, 1, 0, 0}));
}

TEST(Loop, HoldPollArmsTheEdgeLatch) {
  std::vector<int> hold, edgeHits;
  // Hold polls only, while the key is up; the press at frame 3 is then a new hit.
  RunScript("3 down space\n", 4, [&] {
    if (framesRun < 3) {
      hold.push_back(frame::KeyHit(plat::VK_SPACE, frame::hold));
    } else {
      hold.push_back(frame::KeyHit(plat::VK_SPACE, frame::hold));
      edgeHits.push_back(frame::KeyHit(plat::VK_SPACE, frame::edge));
    }
  });
  EXPECT_EQ(hold, (std::vector<int>{0, 0, 1, 1}));
  // Unlike the mouse, a hold report leaves the latch for the edge poll.
  EXPECT_EQ(edgeHits, (std::vector<int>{1, 0}));
}

TEST(Loop, PressAndReleaseInOneDrainIsNotSeen) {
  std::vector<int> down, clicks;
  // The click at frame 40 comes 608 ms after the first press: not a double click.
  RunScript("2 down lbutton\n2 up lbutton\n40 click\n", 41, [&] {
    down.push_back(frame::mouseDown[0]);
    clicks.push_back(frame::MouseClicked(frame::edge));
  });
  std::vector<int> want(41, 0);
  want[39] = 1;
  EXPECT_EQ(down, want);
  EXPECT_EQ(clicks, want);
}

TEST(Loop, SecondPressOfADoubleClickIsNotDown) {
  std::vector<int> down;
  RunScript("2 click\n5 click\n", 6, [&] { down.push_back(frame::mouseDown[0]); });
  EXPECT_EQ(down, (std::vector<int>{0, 1, 0, 0, 0, 0}));
}

TEST(Loop, MouseMovesReachTheFrame) {
  std::vector<int> xs;
  RunScript("2 mouse 10 20\n2 mouse 30 40\n", 2, [&] { xs.push_back(frame::mouseX * 1000 + frame::mouseY); });
  EXPECT_EQ(xs, (std::vector<int>{0, 30040}));
}

TEST(Loop, PacingSleepsOutTheBudget) {
  std::vector<uint32_t> starts;
  // Frame 2 works for 30 ms: its wait is negative, so it sleeps 0 and frame 3 gets a
  // full budget again.
  RunScript("", 4, [&] {
    starts.push_back(plat::TimeMs());
    if (framesRun == 2) plat::SleepMs(30);
  });
  EXPECT_EQ(starts, (std::vector<uint32_t>{0, 16, 46, 62}));
}

TEST(Loop, FastForwardSkipsTheSleep) {
  frame::FrameSettings s = LoopSettings();
  s.fastForwardKey = true;
  s.frameBudget = 33;
  std::vector<uint32_t> starts;
  // Y is down during frames 2 and 3: neither sleeps, and frame 4 paces again.
  RunScript("2 down y\n4 up y\n", 6, [&] { starts.push_back(plat::TimeMs()); }, s);
  EXPECT_EQ(starts, (std::vector<uint32_t>{0, 33, 33, 33, 66, 99}));
  // Without the setting, Y is just a key.
  starts.clear();
  RunScript("1 down y\n", 3, [&] { starts.push_back(plat::TimeMs()); });
  EXPECT_EQ(starts, (std::vector<uint32_t>{0, 16, 32}));
}

TEST(Pace, SignedWaitAcrossTheClockWrap) {
  EXPECT_EQ(frame::PaceWait(100, 110, 16), 6);
  EXPECT_EQ(frame::PaceWait(100, 130, 16), -14);
  EXPECT_EQ(frame::PaceWait(0xFFFFFFFAu, 0xFFFFFFFCu, 16), 14);
  EXPECT_EQ(frame::PaceWait(0xFFFFFFF8u, 2, 16), 6);
  EXPECT_EQ(frame::PaceWait(0xFFFFFFF0u, 5, 16), -5);
  EXPECT_EQ(frame::PaceWait(0, 0x80000000u, 16), static_cast<int32_t>(0x80000010u));
}

TEST(Loop, QuitStateEndsBeforeTheNextCopy) {
  const int status = RunScript("", -1, [&] {
    if (framesRun == 2) frame::gameState = 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(framesRun, 2);
  // Frame 2 was still copied and paced; the quit state itself shows nothing.
  EXPECT_EQ(plat::FramesShown(), 2);
  EXPECT_EQ(plat::TimeMs(), 32u);
}

TEST(Loop, QuitStateAtStartRunsNoFrame) {
  frame::FrameSettings s = LoopSettings();
  s.firstState = 0;
  EXPECT_EQ(RunScript("", -1, nullptr, s), 0);
  EXPECT_EQ(framesRun, 0);
  EXPECT_EQ(plat::FramesShown(), 0);
}

TEST(Loop, FrameLimitQuitsWithZero) {
  EXPECT_EQ(RunScript("", 5, nullptr), 0);
  EXPECT_EQ(framesRun, 5);
}

TEST(Startup, SurfacesPerSettings) {
  frame::ResetFrame();
  frame::FrameSettings s = LoopSettings();
  const frame::ImageLoad images[] = {{"data\\no-such-file.bmp", 4}, {"data\\x.bmp", 12}};
  s.images = images;
  s.imageCount = 2;
  s.imageW = 320;
  s.imageH = 180;
  s.maskedLayout = frame::MaskedLayout::C;
  s.extraW = 1280;
  s.extraH = 480;
  s.frameStartAtStartup = false;
  frame::CreateSurfaces(s);
  EXPECT_EQ(frame::backDC.width * 1000 + frame::backDC.height, 640480);
  EXPECT_EQ(frame::dcTable[2].width * 1000 + frame::dcTable[2].height, 640960);
  EXPECT_EQ(frame::dcTable[3].width * 1000 + frame::dcTable[3].height, 1280480);
  // A missing picture leaves a blank surface of the expected size.
  EXPECT_EQ(frame::dcTable[4].width * 1000 + frame::dcTable[4].height, 320180);
  EXPECT_EQ(frame::dcTable[4].At(5, 5), 0u);
  EXPECT_EQ(frame::frameStart, 0u);
  EXPECT_EQ(frame::activeSettings, &s);
}

TEST(Startup, CommandLine) {
  frame::ResetFrame();
  framesRun = 0;
  const frame::FrameSettings s = LoopSettings();
  const char* ok[] = {"looptest", "--headless", "--frames", "3", nullptr};
  EXPECT_EQ(frame::RunFrame(s, 4, const_cast<char**>(ok)), 0);
  EXPECT_EQ(framesRun, 3);
  // Seeded with 1 on the headless backend, one value thrown away, three frames drew none.
  EXPECT_EQ(frame::randomState, 22695478u);
  const char* bad[] = {"looptest", "--no-such-option", nullptr};
  EXPECT_EQ(frame::RunFrame(s, 2, const_cast<char**>(bad)), 2);
  plat::SetDataFolder(nullptr);  // the command line chose the test program's folder
}

// The demonstration program, both generations, through every page.
const frame::FrameSettings* demo = nullptr;

TEST(Demo, VisitsEveryPageAndQuits) {
  const char* script =
      "2 mouse 60 207\n3 click\n"     // title: the shapes page
      "6 down space\n7 up space\n"    // shuffle the boxes
      "8 down escape\n9 up escape\n"  // back to the title
      "11 mouse 60 229\n12 click\n"   // the text page
      "15 mouse 545 458\n16 click\n"  // its back button
      "18 down 51\n19 up 51\n"        // '3': the input page
      "20 down 68\n21 up 68\n22 down left\n30 up left\n23 down rbutton\n24 up rbutton\n"
      "32 down escape\n33 up escape\n35 down escape\n36 up escape\n";
  for (bool table : {false, true}) {
    demo = &framedemo::Settings(table);
    frame::FrameSettings s = *demo;
    s.step = Step;
    std::vector<int> states;
    const int status = RunScript(script, 60, [&] {
      states.push_back(frame::gameState);
      demo->step();
    }, s);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(states.size(), 35u) << "Escape on the title quits; table " << table;
    EXPECT_EQ(states[3], framedemo::Shapes);
    EXPECT_EQ(states[8], framedemo::Title);
    EXPECT_EQ(states[12], framedemo::Text);
    EXPECT_EQ(states[16], framedemo::Title);
    EXPECT_EQ(states[18], framedemo::Input);
    EXPECT_EQ(states[32], framedemo::Title);
  }
}

// Once every page has been drawn (fonts and glyphs loaded), frames allocate nothing.
TEST(Demo, FramesDoNotAllocate) {
  // Each pass visits shapes, text and input through the digit keys and Escape.
  std::string script;
  for (int pass = 0; pass < 2; ++pass) {
    const int f = 20 * pass;
    for (int page = 0; page < 3; ++page) {
      const int g = f + 2 + 6 * page;  // frame 1 sees the keys up
      script += std::to_string(g) + " down " + std::to_string(49 + page) + "\n" + std::to_string(g + 1) +
                " up " + std::to_string(49 + page) + "\n" + std::to_string(g + 3) + " down escape\n" +
                std::to_string(g + 4) + " up escape\n";
    }
  }
  const long before = alloc_counter::Allocations();
  std::vector<int> probe(100);
  ASSERT_GT(alloc_counter::Allocations(), before) << "the allocation counter is not in use";
  for (bool table : {false, true}) {
    demo = &framedemo::Settings(table);
    frame::FrameSettings s = *demo;
    s.step = Step;
    long during = 0;
    std::vector<int> states;
    states.reserve(64);
    RunScript(script, 40, [&] {
      states.push_back(frame::gameState);
      const long before = alloc_counter::Allocations();
      demo->step();
      if (framesRun > 21) during += alloc_counter::Allocations() - before;
    }, s);
    EXPECT_EQ(states[22], framedemo::Shapes);
    EXPECT_EQ(states[28], framedemo::Text);
    EXPECT_EQ(states[34], framedemo::Input);
    EXPECT_EQ(during, 0) << "table " << table;
  }
}

}  // namespace
