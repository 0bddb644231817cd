// Shared set-up for boundary's in-process tests: the headless system, the frame's
// surfaces with boundary's settings, an empty field, and a recorder for media commands.
#pragma once
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "boundary/boundary.h"
#include "boundary/settings.h"
#include "frame/tests/testkit.h"
#include "platform/cues.h"
#include "platform/options.h"
#include "platform/system.h"

namespace boundarytest {

// Every media command sent while a SinkRecorder lives.
inline std::vector<std::string> sent;
inline void Record(const char* command) { sent.push_back(command); }

struct SinkRecorder {
  SinkRecorder() {
    sent.clear();
    plat::mediaSink = Record;
  }
  ~SinkRecorder() { plat::mediaSink = plat::SoundCommand; }
};

using frametest::RandomPreview;

// The generator's state after n more draws from now.
inline uint32_t StateAfter(int n) {
  RandomPreview p;
  for (int i = 0; i < n; ++i) p.Below(2);
  return frame::randomState;
}

inline void OpenHeadless(const std::vector<plat::ScriptEvent>& script = {}, long frames = -1) {
  plat::Options opts;
  opts.headless = true;
  opts.script = script;
  opts.frames = frames;
  ASSERT_TRUE(plat::OpenSystem(opts, plat::WindowConfig{}));
}

// Opens the headless backend or a real window driven by the playthrough script, with the
// frame reset and seeded as a headless run of the program is.
inline void OpenPlaythrough(bool headless, long frames) {
  std::ifstream in(BOUNDARY_SOURCE_DIR "/tests/playthrough.script");
  ASSERT_TRUE(in);
  std::stringstream text;
  text << in.rdbuf();
  plat::Options opts;
  opts.headless = headless;
  opts.scale = 1;
  opts.frames = frames;
  std::string error;
  ASSERT_TRUE(plat::ParseScript(text.str(), "playthrough.script", opts.script, error)) << error;
  frame::ResetFrame();
  frame::SeedRandom(1);
  plat::WindowConfig config;
  config.caption = boundary::kSettings.caption;
  config.cursor = boundary::kSettings.cursor;
  ASSERT_TRUE(plat::OpenSystem(opts, config));
}

class BoundaryTest : public ::testing::Test {
 protected:
  SinkRecorder recorder;

  void SetUp() override {
    OpenHeadless();
    frame::ResetFrame();
    frame::CreateSurfaces(boundary::kSettings);
    frame::SeedRandom(4321);
    using namespace boundary;
    for (DustParticle& p : particles) p = DustParticle{0, 0, 0, 0, false, Drifting, 0};
    for (DustSource& s : sources) s = DustSource{0, 0, false, 0};
    charge = 0;
    health = kStartHealth;
    score = 0;
    gameOverCountdown = 0;
    frameCounter = 0;
    bassIndex = 1;
    lastBassTime = 0;
    frame::frameStart = 0;  // no beat unless a test moves the clock on
    frame::gameState = Play;
    frame::mouseX = 320;
    frame::mouseY = 300;
    sent.clear();
  }

  void TearDown() override { plat::CloseSystem(); }

  static boundary::DustParticle& Put(int slot, float x, float y, int state = boundary::Drifting,
                                     int timer = 0, float vx = 0, float vy = 0) {
    boundary::DustParticle& p = boundary::particles[slot];
    p = boundary::DustParticle{x, y, vx, vy, true, state, timer};
    return p;
  }

  static void Press() { frame::mouseDown[0] = 1; }
  static void Release() { frame::mouseDown[0] = 0; }

  static int Count(const std::string& command) {
    int n = 0;
    for (const std::string& s : sent) n += s == command;
    return n;
  }
};

}  // namespace boundarytest
