// The headless backend and the message semantics both backends share: script events
// arrive in the drain before their frame, clicks release one frame later, --frames ends
// the run, the virtual clock and screenshots.
#include <gtest/gtest.h>
#include <png.h>
#include <cstdio>
#include <string>
#include <vector>
#include "platform/common/internal.h"
#include "platform/keys.h"
#include "platform/system.h"

namespace {

using plat::Event;
using plat::EventType;

std::vector<plat::ScriptEvent> Script(const char* text) {
  std::vector<plat::ScriptEvent> ev;
  std::string error;
  EXPECT_TRUE(plat::ParseScript(text, "test", ev, error)) << error;
  return ev;
}

struct HeadlessRun : testing::Test {
  plat::Options opts;
  plat::WindowConfig config;
  plat::Surface picture;

  void SetUp() override {
    opts.headless = true;
    opts.mute = true;
    picture.Create(plat::kScreenW, plat::kScreenH);
  }
  void TearDown() override { plat::CloseSystem(); }
  void Open() { ASSERT_TRUE(plat::OpenSystem(opts, config)); }

  std::vector<Event> Drain() {
    std::vector<Event> out;
    Event e;
    while (plat::PollEvent(e)) {
      out.push_back(e);
      if (e.type == EventType::Quit || out.size() > 100) break;
    }
    return out;
  }
};

TEST_F(HeadlessRun, EventsArriveInTheDrainBeforeTheirFrame) {
  opts.script = Script("1 mouse 10 20\n1 down z\n3 up z\n3 down 2\n4 mouse 30 40\n4 up rbutton\n");
  Open();
  std::vector<Event> d1 = Drain();  // before frame 1
  ASSERT_EQ(d1.size(), 2u);
  EXPECT_EQ(d1[0].type, EventType::MouseMove);
  EXPECT_EQ(d1[0].x, 10);
  EXPECT_EQ(d1[0].y, 20);
  EXPECT_EQ(d1[1].type, EventType::KeyDown);
  EXPECT_EQ(d1[1].vk, 'Z');
  EXPECT_TRUE(plat::KeyDown('Z'));
  plat::Present(picture);

  EXPECT_TRUE(Drain().empty());  // frame 2 has no events
  EXPECT_TRUE(plat::KeyDown('Z'));
  plat::Present(picture);

  std::vector<Event> d3 = Drain();
  ASSERT_EQ(d3.size(), 2u);
  EXPECT_EQ(d3[0].type, EventType::KeyUp);
  EXPECT_FALSE(plat::KeyDown('Z'));
  EXPECT_EQ(d3[1].type, EventType::RButtonDown);  // at the last mouse position
  EXPECT_EQ(d3[1].x, 10);
  EXPECT_EQ(d3[1].y, 20);
  EXPECT_TRUE(plat::KeyDown(plat::VK_RBUTTON));
  plat::Present(picture);

  std::vector<Event> d4 = Drain();
  ASSERT_EQ(d4.size(), 2u);
  EXPECT_EQ(d4[1].type, EventType::RButtonUp);
  EXPECT_EQ(d4[1].x, 30);
  EXPECT_EQ(d4[1].y, 40);
  EXPECT_FALSE(plat::KeyDown(plat::VK_RBUTTON));
  EXPECT_FALSE(plat::KeyDown(-1));
  EXPECT_FALSE(plat::KeyDown(256));
}

TEST_F(HeadlessRun, ClickReleasesOneFrameLater) {
  opts.script = Script("2 mouse 100 200\n2 click\n");
  Open();
  EXPECT_TRUE(Drain().empty());
  plat::Present(picture);
  std::vector<Event> d2 = Drain();
  ASSERT_EQ(d2.size(), 2u);
  EXPECT_EQ(d2[1].type, EventType::LButtonDown);
  EXPECT_EQ(d2[1].x, 100);
  EXPECT_EQ(d2[1].y, 200);
  EXPECT_TRUE(plat::KeyDown(plat::VK_LBUTTON));
  plat::Present(picture);
  std::vector<Event> d3 = Drain();
  ASSERT_EQ(d3.size(), 1u);
  EXPECT_EQ(d3[0].type, EventType::LButtonUp);
  EXPECT_EQ(d3[0].x, 100);
  EXPECT_FALSE(plat::KeyDown(plat::VK_LBUTTON));
  plat::Present(picture);
  EXPECT_TRUE(Drain().empty());
}

TEST_F(HeadlessRun, QuickSecondClickIsADoubleClick) {
  // Frames sleep 16 ms each: the clicks of frames 1 and 3 are 32 ms apart; the one of
  // frame 40 comes after more than 500 ms and is a plain press again.
  opts.script = Script("1 mouse 50 50\n1 click\n3 click\n5 click\n40 click\n");
  Open();
  std::vector<EventType> presses;
  for (int frame = 1; frame <= 41; ++frame) {
    for (const Event& e : Drain())
      if (e.type != EventType::MouseMove && e.type != EventType::LButtonUp) presses.push_back(e.type);
    plat::Present(picture);
    plat::SleepMs(16);
  }
  ASSERT_EQ(presses.size(), 4u);
  EXPECT_EQ(presses[0], EventType::LButtonDown);
  EXPECT_EQ(presses[1], EventType::LButtonDblClk);
  EXPECT_EQ(presses[2], EventType::LButtonDown);
  EXPECT_EQ(presses[3], EventType::LButtonDown);
}

TEST_F(HeadlessRun, FramesLimitQuitsWithZero) {
  opts.frames = 2;
  opts.script = Script("3 down z\n");
  Open();
  EXPECT_TRUE(Drain().empty());
  plat::Present(picture);
  EXPECT_TRUE(Drain().empty());
  plat::Present(picture);
  EXPECT_EQ(plat::FramesShown(), 2);
  std::vector<Event> d = Drain();
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].type, EventType::Quit);
  EXPECT_EQ(d[0].code, 0);
  Event again;
  EXPECT_FALSE(plat::PollEvent(again));  // taken once per drain, like the old quit message
  plat::Present(picture);                // a program that runs on is told again
  ASSERT_TRUE(plat::PollEvent(again));
  EXPECT_EQ(again.type, EventType::Quit);
  EXPECT_FALSE(plat::PollEvent(again));
}

TEST_F(HeadlessRun, ClockMovesOnlyBySleeps) {
  Open();
  EXPECT_EQ(plat::TimeMs(), 0u);
  plat::Present(picture);
  EXPECT_EQ(plat::TimeMs(), 0u);
  plat::SleepMs(16);
  plat::SleepMs(0);
  plat::SleepMs(17);
  EXPECT_EQ(plat::TimeMs(), 33u);
  EXPECT_FALSE(plat::IsMinimised());
  plat::WaitEvent();  // returns at once
  EXPECT_FALSE(plat::AskYesNo("question", "caption"));
}

TEST_F(HeadlessRun, PresentsTickTheClockAtSixtyHertz) {
  config.presentTicksClock = true;
  Open();
  uint32_t previous = 0;
  for (int i = 1; i <= 60; ++i) {
    plat::Present(picture);
    uint32_t now = plat::TimeMs();
    EXPECT_EQ(now, static_cast<uint32_t>(i * 1000 / 60)) << i;
    EXPECT_GE(now - previous, 16u);
    EXPECT_LE(now - previous, 17u);
    previous = now;
  }
  EXPECT_EQ(plat::TimeMs(), 1000u);  // no drift
  plat::SleepMs(1);
  EXPECT_EQ(plat::TimeMs(), 1001u);
  plat::CloseSystem();
  Open();  // a new run starts at 0 again
  EXPECT_EQ(plat::TimeMs(), 0u);
  EXPECT_EQ(plat::FramesShown(), 0);
}

TEST_F(HeadlessRun, ClockStartsWhereAskedAndWrapsAt32Bits) {
  config.presentTicksClock = true;
  opts.clockStart = 0xFFFFFFFFu - 5;
  Open();
  EXPECT_EQ(plat::TimeMs(), 0xFFFFFFFAu);
  plat::SleepMs(10);
  EXPECT_EQ(plat::TimeMs(), 4u);
  plat::Present(picture);
  EXPECT_EQ(plat::TimeMs(), 20u);
}

TEST_F(HeadlessRun, ScreenshotsShowThePictureOfTheirFrame) {
  std::string first = testing::TempDir() + "shot_first.png";
  std::string second = testing::TempDir() + "shot_second.png";
  std::remove(first.c_str());
  std::remove(second.c_str());
  opts.screenshots = {{2, first}, {3, second}};
  Open();
  picture.Row(0)[0] = 0x0000FF;  // red
  plat::Present(picture);
  std::FILE* none = std::fopen(first.c_str(), "rb");
  EXPECT_EQ(none, nullptr);
  if (none) std::fclose(none);
  picture.Row(5)[7] = 0xFF8040;  // blue 0xFF, green 0x80, red 0x40
  picture.Row(479)[639] = 0x00FF00;
  plat::Present(picture);
  picture.Row(5)[7] = 0;
  plat::Present(picture);

  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, first.c_str())) << first;
  image.format = PNG_FORMAT_RGB;
  ASSERT_EQ(image.width, 640u);
  ASSERT_EQ(image.height, 480u);
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  auto at = [&](int x, int y) {
    const png_byte* p = &rgb[(static_cast<size_t>(y) * 640 + x) * 3];
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
  };
  EXPECT_EQ(at(0, 0), 0x0000FFu);
  EXPECT_EQ(at(7, 5), 0xFF8040u);
  EXPECT_EQ(at(639, 479), 0x00FF00u);
  EXPECT_EQ(at(1, 0), 0u);

  png_image later = {};
  later.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&later, second.c_str()));
  later.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb2(PNG_IMAGE_SIZE(later));
  ASSERT_TRUE(png_image_finish_read(&later, nullptr, rgb2.data(), 0, nullptr));
  EXPECT_EQ(rgb2[(5 * 640 + 7) * 3], 0);
}

TEST_F(HeadlessRun, UnwritableScreenshotEndsTheRunWithStatusOne) {
  opts.screenshots = {{1, "/no/such/folder/shot.png"}};
  Open();
  testing::internal::CaptureStderr();
  plat::Present(picture);
  plat::Present(picture);  // the run goes on
  std::string err = testing::internal::GetCapturedStderr();
  plat::CloseSystem();
  EXPECT_NE(err.find(": cannot write PNG file /no/such/folder/shot.png"), std::string::npos) << err;
  EXPECT_EQ(plat::ExitStatus(0), 1);
  EXPECT_EQ(plat::ExitStatus(2), 2);  // a status of its own is kept
  opts.screenshots.clear();
  Open();  // the next run starts clean
  plat::CloseSystem();
  EXPECT_EQ(plat::ExitStatus(0), 0);
}

// F1 in the script opens the help card in the drain before frame 3; the card is shown
// (and counted) for frames 3 to 5, Escape at 6 closes it and its release at 7 resumes.
TEST_F(HeadlessRun, HelpCardStopsTheClockAndKeepsItsKeysFromTheProgram) {
  config.presentTicksClock = true;
  opts.script = Script("3 down f1\n3 up f1\n4 down z\n5 mouse 9 9\n6 down escape\n7 up escape\n"
                       "7 down x\n");
  const std::string shot = testing::TempDir() + "card.png";
  opts.screenshots = {{4, shot}};
  plat::SetHelpText("help line");
  Open();
  for (int y = 0; y < plat::kScreenH; ++y)
    for (int x = 0; x < plat::kScreenW; ++x) picture.Row(y)[x] = 0xFFFFFF;
  plat::Present(picture);
  plat::Present(picture);
  const uint32_t before = plat::TimeMs();
  std::vector<Event> d = Drain();  // the whole pause happens in here
  EXPECT_FALSE(plat::Paused());
  EXPECT_EQ(plat::TimeMs(), before);  // no time passed for the program
  EXPECT_EQ(plat::FramesShown(), 6);  // frames 3 to 6 showed the card
  std::string got;
  for (const Event& e : d) got += std::to_string(static_cast<int>(e.type)) + ":" + std::to_string(e.vk) + " ";
  // Z's press went to the card; the mouse move and X (after the resume) reach the program.
  ASSERT_EQ(d.size(), 2u) << got;
  EXPECT_EQ(d[0].type, EventType::MouseMove);
  EXPECT_EQ(d[1].type, EventType::KeyDown);
  EXPECT_EQ(d[1].vk, 'X');
  EXPECT_FALSE(plat::KeyDown(plat::VK_ESCAPE));
  plat::Present(picture);
  EXPECT_GE(plat::TimeMs() - before, 16u);  // the clock runs on from where it stopped
  EXPECT_LE(plat::TimeMs() - before, 17u);

  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, shot.c_str())) << shot;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  EXPECT_EQ(rgb[0], 0x3F);  // the picture dimmed around the card
  EXPECT_NE(rgb[(240 * 640 + 320) * 3], 0x3F);  // the panel in the middle
  EXPECT_EQ(picture.At(0, 0), 0xFFFFFFu);  // the program's own picture is untouched
  plat::SetHelpText(nullptr);
}

TEST_F(HeadlessRun, AQuitDuringThePauseEndsIt) {
  opts.script = Script("2 down f1\n");
  opts.frames = 4;
  Open();
  plat::Present(picture);
  std::vector<Event> d = Drain();
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].type, EventType::Quit);
  EXPECT_FALSE(plat::Paused());
  EXPECT_EQ(plat::FramesShown(), 4);
}

TEST(WindowPlacement, LargestScaleThatFitsTheUsableArea) {
  using plat::detail::PlaceWindow;
  plat::detail::WindowPlacement p = PlaceWindow(0, 0, 0, 1600, 1200);
  EXPECT_EQ(p.scale, 2);
  EXPECT_FALSE(p.reduced);
  EXPECT_EQ(p.x, 160);  // centred, the frame's room on every side
  EXPECT_EQ(p.y, 40 + 96);
  p = PlaceWindow(3, 0, 0, 1600, 1200);  // asked for more than fits
  EXPECT_EQ(p.scale, 2);
  EXPECT_TRUE(p.reduced);
  p = PlaceWindow(1, 0, 0, 1600, 1200);  // less is kept
  EXPECT_EQ(p.scale, 1);
  EXPECT_FALSE(p.reduced);
  EXPECT_EQ(PlaceWindow(0, 0, 0, 3840, 2160 - 48).scale, 4);
  EXPECT_EQ(PlaceWindow(0, 0, 0, 1920, 1080 - 40).scale, 2);  // a task bar takes its share
  EXPECT_EQ(PlaceWindow(0, 0, 0, 1920, 1000).scale, 1);       // 960 + the title bar does not fit
  EXPECT_EQ(PlaceWindow(0, 0, 0, 9999, 9999).scale, 8);
  p = PlaceWindow(0, 0, 0, 600, 400);  // smaller than the picture: 1, at the area's corner
  EXPECT_EQ(p.scale, 1);
  EXPECT_EQ(p.x, 8);
  EXPECT_EQ(p.y, 40);
  p = PlaceWindow(0, 1920, 30, 1280, 1024);  // a second screen, a bar at its top
  EXPECT_EQ(p.scale, 1);
  EXPECT_GE(p.x, 1920);
  EXPECT_GE(p.y, 30 + 40);
  p = PlaceWindow(5, 0, 0, 0, 0);  // desktop unknown: as asked, placed by the system
  EXPECT_EQ(p.scale, 5);
  EXPECT_FALSE(p.known);
}

TEST_F(HeadlessRun, SoundCommandsAreHarmless) {
  Open();
  plat::SoundCommand("open data\\missing.wav alias hit");
  plat::SoundCommand("play hit from 0");
  plat::SoundCommand("nonsense");
  plat::SoundCommand(nullptr);
  plat::SoundCommand("close all");
}

}  // namespace
