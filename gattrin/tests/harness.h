// Shared set-up for gattrin's in-process tests: the frame's surfaces, a clean siege in
// play, scripted key state and helpers to place attackers.
#pragma once
#include <gtest/gtest.h>
#include "frame/tests/testkit.h"
#include "gattrin/gattrin.h"
#include "gattrin/settings.h"
#include "platform/keys.h"
#include "platform/system.h"

namespace gattrintest {

using frametest::HoldKeys;
using frametest::RandomPreview;

class GattrinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HoldKeys({});
    frame::ResetFrame();
    frame::CreateSurfaces(gattrin::kSettings);
    frame::SeedRandom(4242);
    using namespace gattrin;
    for (Attacker& a : attackers) a = Attacker{};
    barCount = 3;
    ResetSiege();
    for (int& s : shake) s = 0;
    endTick = 0;
    soundCues.marked = 0;
    frame::gameState = Play;
    frame::mouseX = 10;
    frame::mouseY = 10;
  }

  void TearDown() override { plat::CloseSystem(); }

  static void SetDoors(int top, int bottom, int left, int right) {
    gattrin::barInSlot[gattrin::Top] = top;
    gattrin::barInSlot[gattrin::Bottom] = bottom;
    gattrin::barInSlot[gattrin::Left] = left;
    gattrin::barInSlot[gattrin::Right] = right;
  }

  static gattrin::Attacker& Put(int slot, int direction, float phase, float speed = 1.0f,
                                bool recent = false) {
    gattrin::Attacker& a = gattrin::attackers[slot];
    a = gattrin::Attacker{direction, phase, recent, true, speed};
    return a;
  }

  // Fills every free slot with an attacker far from the gate, so that no spawn can
  // happen and nothing but the test's own attackers touches a door.
  static void FillTable() {
    for (gattrin::Attacker& a : gattrin::attackers)
      if (!a.active) a = gattrin::Attacker{0, -1.0e6f, false, true, 1.0f};
  }

  // A speed as the spawn rule makes it: (r + 10) x 0.1 in double, stored as float.
  static float SpawnSpeed(int r) { return static_cast<float>((r + 10) * 0.1); }

  // A fresh press of the left button at (x, y), seen by the next poll.
  static void PressAt(int x, int y) {
    frame::mouseX = x;
    frame::mouseY = y;
    frame::mouseDown[0] = 1;
    frame::clickArmed[0] = 1;
  }

  // A fresh press of a key: held down, its latch armed as if it had been seen up.
  static void Press(int vk) {
    HoldKeys({vk});
    frame::keyLatch[vk] = 1;
  }
};

}  // namespace gattrintest
