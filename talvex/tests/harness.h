// Shared set-up for talvex's in-process tests: the frame's surfaces with talvex's
// bitmaps, a tower, scripted key state and helpers to lay out platforms.
#pragma once
#include <gtest/gtest.h>
#include "frame/tests/testkit.h"
#include "talvex/settings.h"
#include "talvex/talvex.h"

namespace talvextest {

using frametest::HoldKeys;
using frametest::RandomPreview;

class TalvexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HoldKeys({});
    frame::ResetFrame();
    frame::CreateSurfaces(talvex::kSettings);
    frame::SeedRandom(1);
    talvex::SetupTower();
    talvex::angleVelocity = 0;
    talvex::inGripRange = false;
    talvex::clinging = false;
    talvex::soundCues.marked = 0;
    frame::gameState = talvex::Play;
  }

  void TearDown() override { plat::CloseSystem(); }

 public:
  // Every platform far above the climber and out of view; the highest one very high, so
  // the climb is never won by accident.
  static void ClearPlatforms() {
    for (int i = 0; i < talvex::kPlatforms; ++i) talvex::platforms[i] = {-50000.0f - i, 180};
    talvex::platforms[talvex::kPlatforms - 1].y = -100000;
  }

  // Stars that never show: their shifted x stays negative at every angle.
  static void HideStars() {
    for (talvex::Star& s : talvex::stars) s = {-5000, 0};
  }

  // The climber in the air at (angle, y), at rest.
  static void PlaceClimber(float angle, float y) {
    talvex::climberAngle = angle;
    talvex::climberY = y;
    talvex::angleVelocity = 0;
    talvex::verticalVelocity = 0;
  }

  // Steps the climber's physics n times.
  static void Move(int n) {
    for (int i = 0; i < n; ++i) talvex::MoveClimber();
  }
};

}  // namespace talvextest
