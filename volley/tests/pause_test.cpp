// The help card's pause, seen by the attack schedule: the rules read a clock that stands
// still while the card is shown, so the phases keep to the game's own frames.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include "platform/system.h"
#include "recorder.h"

namespace volley {
namespace {

using test::rec;

struct AttackRun {
  int phaseOneFrame = 0;  // the game frame that spawned the first bullet of phase 1
  long framesShown = 0;
};

// Runs the program's loop headless on the platform's clock and keys (drawing recorded)
// until the attack's second phase spawns its first bullet: phase 0 spawns only hue 240.
AttackRun RunUntilPhaseOne(const char* script) {
  plat::Options opts;
  opts.headless = true;
  opts.mute = true;
  std::string error;
  EXPECT_TRUE(plat::ParseScript(script, "script", opts.script, error)) << error;
  plat::WindowConfig config;
  config.presentTicksClock = true;
  EXPECT_TRUE(plat::OpenSystem(opts, config));
  test::UseRecorder();
  fieldIo.timeMs = plat::TimeMs;
  fieldIo.keyDown = plat::KeyDown;
  auto field = std::make_unique<PlayField>();
  CreateField(*field);
  plat::Surface picture;
  picture.Create(plat::kScreenW, plat::kScreenH);
  AttackRun run;
  for (int frame = 1; frame <= 2000 && run.phaseOneFrame == 0; ++frame) {
    plat::Event e;
    while (plat::PollEvent(e)) {
    }
    rec.tiles.clear();
    rec.labels.clear();
    FieldFrame(*field);
    plat::Present(picture);
    plat::SleepMs(1);
    for (const Mover& b : field->bullets)
      if (b.life > 0 && b.hue != 240) run.phaseOneFrame = frame;
  }
  run.framesShown = plat::FramesShown();
  plat::CloseSystem();
  return run;
}

TEST(HelpCardPause, AttackPhaseStartsAtTheSameGameFrame) {
  const AttackRun plain = RunUntilPhaseOne("");
  ASSERT_GT(plain.phaseOneFrame, 800);  // 15 s at about 17.7 ms a frame
  EXPECT_LT(plain.phaseOneFrame, 900);
  // A pause of about 100 frames (1.7 s on the backend's clock) in the middle of phase 0.
  const AttackRun paused = RunUntilPhaseOne("400 down f1\n401 up f1\n500 down escape\n501 up escape\n");
  EXPECT_EQ(paused.phaseOneFrame, plain.phaseOneFrame);
  EXPECT_EQ(paused.framesShown, plain.framesShown + 101);  // the card's frames were shown
}

}  // namespace
}  // namespace volley
