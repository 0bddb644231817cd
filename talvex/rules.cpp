// The tower, the climber's physics, the two text lines of a play step and the win test.
#include <cmath>
#include <cstdio>
#include "platform/keys.h"
#include "talvex/talvex.h"

namespace talvex {

using frame::hold;
using frame::KeyHit;
using frame::RandomBelow;

float climberAngle;
float climberY;
float angleVelocity;
float verticalVelocity;
bool inGripRange;
bool clinging;
Platform platforms[kPlatforms];
Star stars[kStars];
int fpsFrames;
int fpsShown;
uint32_t fpsNextTime;
float testStartHeight;

namespace {

constexpr plat::Colour kWhite = 0xFFFFFF;

char textBuffer[64];  // texts with numbers are formatted here before drawing

const Platform& Top() { return platforms[kPlatforms - 1]; }

}  // namespace

void SetupTower() {
  fpsNextTime = frame::frameStart + 1000;
  fpsFrames = 0;
  int h = -24;
  for (int i = 0; i < kPlatforms; ++i) {
    // Four draws per index, in this order: angle, gap, starX, starY.
    platforms[i].angle = static_cast<float>(RandomBelow(360));
    platforms[i].y = static_cast<float>(h);
    h -= 8 + RandomBelow(24);
    stars[i].starX = RandomBelow(1280);
    stars[i].starY = RandomBelow(480);
  }
  climberAngle = platforms[0].angle;
  climberY = 0;
  verticalVelocity = 0;
}

bool InGripRange(const Platform& p) {
  // The angle difference is not folded, so a platform across the 0/360 seam is out of reach.
  const double da = 3 * (climberAngle - p.angle);
  const double dy = climberY - p.y;
  return std::sqrt(da * da + dy * dy) < 48;
}

void MoveClimber() {
  // Holding in the previous step: clinging survives only a step that held Z, and that
  // step's range is still in inGripRange.
  const bool wasHolding = clinging && inGripRange;
  inGripRange = false;
  for (const Platform& p : platforms) {
    if (InGripRange(p)) inGripRange = true;
  }

  if (KeyHit(kKeyZ, hold)) {
    if (inGripRange) {
      if (!wasHolding) Cue(SoundGrip);
      clinging = true;
      if (KeyHit(plat::VK_DOWN, hold)) verticalVelocity += 0.4;
      if (KeyHit(plat::VK_LEFT, hold)) angleVelocity -= 0.4;
      if (KeyHit(plat::VK_RIGHT, hold)) angleVelocity += 0.4;
      if (KeyHit(plat::VK_UP, hold)) verticalVelocity -= 0.8;
      angleVelocity *= 0.7;
      verticalVelocity *= 0.7;
    }
  } else if (clinging) {
    clinging = false;
    if (inGripRange) {
      const bool left = KeyHit(plat::VK_LEFT, hold);
      const bool right = KeyHit(plat::VK_RIGHT, hold);
      const bool up = KeyHit(plat::VK_UP, hold);
      if (left) angleVelocity -= 0.4;
      if (right) angleVelocity += 0.4;
      if (up) verticalVelocity -= 1.6;
      if (left || right || up) Cue(SoundPushOff);
    }
  }

  // The wrap comes before the move, so a step may end a little outside -1..360.
  if (climberAngle < -1) climberAngle += 360;
  if (climberAngle > 360) climberAngle -= 360;

  climberAngle += angleVelocity;
  climberY += verticalVelocity;
  verticalVelocity += 0.2;

  if (climberY >= 0) {
    climberY = 0;
    verticalVelocity = 0;
    angleVelocity = 0;
    if (KeyHit(plat::VK_LEFT, hold)) angleVelocity -= 2;
    if (KeyHit(plat::VK_RIGHT, hold)) angleVelocity += 2;
    if (KeyHit(plat::VK_UP, hold)) {
      verticalVelocity = -6;
      Cue(SoundJump);
    }
  }
}

void DrawTexts() {
  std::snprintf(textBuffer, sizeof textBuffer, "%dm/%dm", static_cast<int>(-Top().y * 0.05),
                static_cast<int>(-climberY * 0.05));
  frame::DrawMaskedString(18, 18, textBuffer, kWhite);
  // Compared as a signed difference, so the update stays once a second across the
  // clock's 32-bit wrap.
  if (static_cast<int32_t>(frame::frameStart - fpsNextTime) > 0) {
    fpsNextTime = plat::TimeMs() + 1000;
    fpsShown = fpsFrames;
    fpsFrames = 0;
  }
  std::snprintf(textBuffer, sizeof textBuffer, "fps:%d", fpsShown);
  frame::DrawMaskedString(18, 36, textBuffer, kWhite);
}

bool ClimberHasWon() { return Top().y - 64 > climberY; }

void PlayStep() {
  ++fpsFrames;
  MoveClimber();
  DrawScene();
  DrawTexts();
  if (ClimberHasWon()) {
    frame::gameState = Ending;
    Cue(SoundEnding);
  }
  if (KeyHit(plat::VK_ESCAPE, frame::edge)) frame::gameState = Quit;
}

}  // namespace talvex
