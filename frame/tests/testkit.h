// Test helpers for the frame-based programs' in-process tests: keys held on the
// headless backend, a look ahead at the random generator, and the headless system
// driven by a recorded script as a headless run of a program is.
#pragma once
#include <gtest/gtest.h>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include "frame/frame.h"
#include "platform/options.h"
#include "platform/system.h"
#include "platform/tests/held_keys.h"

namespace frametest {

// Opens the headless system with the given keys held down from now on.
inline void HoldKeys(std::initializer_list<int> vks) { held_keys::Hold(vks); }

// Runs the generator ahead on a copy of its state: what the next draws will be.
struct RandomPreview {
  uint32_t saved;
  RandomPreview() : saved(frame::randomState) {}
  ~RandomPreview() { frame::randomState = saved; }
  int Below(int n) { return frame::RandomBelow(n); }
};

// Opens the headless system driven by the script at `path`, stopping after `frames`
// frames, with the frame reset and seeded as a headless run of a program is.
inline void OpenScripted(const std::string& path, long frames) {
  std::ifstream in(path);
  ASSERT_TRUE(in) << "cannot read " << path;
  std::stringstream text;
  text << in.rdbuf();
  plat::Options opts;
  opts.headless = true;
  opts.frames = frames;
  std::string error;
  ASSERT_TRUE(plat::ParseScript(text.str(), path, opts.script, error)) << error;
  frame::ResetFrame();
  frame::SeedRandom(1);
  ASSERT_TRUE(plat::OpenSystem(opts, plat::WindowConfig{}));
}

}  // namespace frametest
