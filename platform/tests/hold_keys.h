// For the games' in-process tests: key state as a scripted run would give it.
#pragma once
#include <gtest/gtest.h>
#include <initializer_list>
#include "platform/options.h"
#include "platform/system.h"

namespace plattest {

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

}  // namespace plattest
