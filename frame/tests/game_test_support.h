// Helpers for the games' in-process tests: key state held through the headless backend,
// and a look ahead at the random generator's next draws.
#pragma once
#include <gtest/gtest.h>
#include <initializer_list>
#include "frame/frame.h"
#include "platform/options.h"
#include "platform/system.h"

namespace frametest {

// Opens the headless system with the given keys held down from now on.
inline void HoldKeys(std::initializer_list<int> vks) {
  plat::Options opts;
  opts.headless = true;
  for (int vk : vks) {
    plat::ScriptEvent ev;
    ev.kind = plat::ScriptEvent::Down;
    ev.frame = 1;
    ev.vk = vk;
    opts.script.push_back(ev);
  }
  ASSERT_TRUE(plat::OpenSystem(opts, plat::WindowConfig{}));
  plat::Event e;
  while (plat::PollEvent(e)) {
  }
}

// Runs the generator ahead on a copy of its state: what the next draws will be.
struct RandomPreview {
  uint32_t saved;
  RandomPreview() : saved(frame::randomState) {}
  ~RandomPreview() { frame::randomState = saved; }
  int Below(int n) { return frame::RandomBelow(n); }
};

}  // namespace frametest
