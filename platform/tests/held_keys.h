// For the games' in-process tests: opens the headless system (its virtual clock back at
// 0) with the given keys, or mouse buttons 1 and 2, held down from now on.
#pragma once
#include <gtest/gtest.h>
#include <initializer_list>
#include "platform/options.h"
#include "platform/system.h"

namespace held_keys {

inline void Hold(std::initializer_list<int> vks) {
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

}  // namespace held_keys
