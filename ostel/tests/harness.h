// Shared set-up for ostel's in-process tests: the frame's surfaces with ostel's
// settings, an empty field, scripted key state and a recorder for the media commands.
#pragma once
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>
#include "ostel/ostel.h"
#include "ostel/settings.h"
#include "platform/system.h"
#include "platform/tests/held_keys.h"

namespace osteltest {

inline std::vector<std::string> sent;
inline void Record(const char* command) { sent.push_back(command); }

class OstelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    held_keys::Hold({});
    frame::ResetFrame();
    frame::CreateSurfaces(ostel::kSettings);
    frame::SeedRandom(4321);
    using namespace ostel;
    for (Body& b : bodies) b = Body{};
    endurance = kFullEndurance;
    fireCooldown = 0;
    fadeLevel = 255;
    playStart = 0;
    playEnd = 0;
    player = Body{320, 200, 0, 0, 1, 0};
    frame::gameState = Play;
    cues.marked = 0;
    sent.clear();
    plat::mediaSink = Record;
  }

  void TearDown() override {
    plat::mediaSink = plat::SoundCommand;
    plat::CloseSystem();
  }

  // Keys held from now on; the rest of the state stays as it is.
  static void Hold(std::initializer_list<int> vks) { held_keys::Hold(vks); }

  static ostel::Body& Put(int slot, float x, float y, float vx = 0, float vy = 0, int fuse = 0) {
    ostel::bodies[slot] = ostel::Body{x, y, vx, vy, 1, fuse};
    return ostel::bodies[slot];
  }

  // Steps of play with no spawning (the clock stays near the start, and the chance is
  // kept off by the random state only where a test says so).
  static void Steps(int n) {
    for (int i = 0; i < n; ++i) ostel::SurvivalStep();
  }

  static int ActiveBombs() {
    int n = 0;
    for (int i = ostel::kFirstBomb; i < ostel::kFirstBomb + ostel::kBombs; ++i) n += ostel::bodies[i].active;
    return n;
  }
};

}  // namespace osteltest
