// Shared set-up for ball's in-process tests: the frame's surfaces with ball's bitmaps,
// a clean course, scripted key state and helpers to place balls and enemies.
#pragma once
#include <gtest/gtest.h>
#include "ball/ball.h"
#include "ball/settings.h"
#include "frame/tests/testkit.h"

namespace balltest {

using frametest::HoldKeys;
using frametest::RandomPreview;

// Opens the headless system driven by the recorded playthrough script, with the frame
// reset and seeded as a headless run of the program is.
inline void OpenPlaythrough(long frames) {
  frametest::OpenScripted(BALL_SOURCE_DIR "/tests/playthrough.script", frames);
}

class BallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HoldKeys({});
    frame::ResetFrame();
    frame::CreateSurfaces(ball::kSettings);
    frame::SeedRandom(12345);
    using namespace ball;
    for (Ball& b : balls) b = Ball{};
    for (Enemy& e : enemies) e = Enemy{0, 0, 0, false, kNoTarget};
    for (int& s : ballStock) s = 0;
    scrollDistance = 0;
    scrollStep = 0;
    nextSpawnDistance = 1000000;  // no spawns unless a test asks for them
    frameCounter = 0;
    easyMode = false;
    frame::gameState = Play;
    // The cursor rests in the left panel, away from every ball, button up.
    frame::mouseX = 40;
    frame::mouseY = 400;
  }

  void TearDown() override { plat::CloseSystem(); }

  static ball::Ball& PutBall(int slot, float x, float y, float vx, float vy, int type = 1,
                             int effectTimer = 0, int launchTimer = 0) {
    ball::Ball& b = ball::balls[slot];
    b = ball::Ball{x, y, vx, vy, type, true, effectTimer, launchTimer};
    return b;
  }

  static ball::Enemy& PutEnemy(int slot, float x, float y, int type) {
    ball::Enemy& e = ball::enemies[slot];
    e = ball::Enemy{x, y, type, true, ball::kNoTarget};
    return e;
  }

  // A fresh press of the left button at (x, y), seen by the next step.
  static void PressAt(int x, int y) {
    frame::mouseX = x;
    frame::mouseY = y;
    frame::mouseDown[0] = 1;
    frame::clickArmed[0] = 1;
  }

  static void Release() { frame::mouseDown[0] = 0; }

  static void FillStock(int n, int type = 1) {
    for (int i = 0; i < ball::kStockSize; ++i) ball::ballStock[i] = i < n ? type : 0;
  }
};

}  // namespace balltest
