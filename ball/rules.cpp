// One step of play: balls, the camera, launching, spawning, hunting enemies, the end.
#include <algorithm>
#include <cmath>
#include "ball/ball.h"

namespace ball {

float scrollDistance;
float scrollStep;
int32_t nextSpawnDistance;
int playerX;
int frameCounter;
bool easyMode;
int ballStock[kStockSize];
Ball balls[kBallSlots];
Enemy enemies[kEnemySlots];

namespace {

double Distance(double ax, double ay, double bx, double by) {
  const double dx = ax - bx;
  const double dy = ay - by;
  return std::sqrt(dx * dx + dy * dy);
}

double Distance(const Ball& b, const Enemy& e) { return Distance(b.x, b.y, e.x, e.y); }

// Moves the enemy toward (tx, ty) at speed s; the quadrant fix adds 3.14, not pi.
// The coordinate differences are float subtractions; the 0.00001 makes the divisor double.
void MoveToward(Enemy& e, float tx, float ty, double s) {
  const float dy = ty - e.y;
  const float dx = tx - e.x;
  double angle = std::atan(dy / (dx + 0.00001));
  if (e.x > tx) angle += 3.14;
  e.x = static_cast<float>(e.x + std::cos(angle) * s);
  e.y = static_cast<float>(e.y + std::sin(angle) * s);
}

// Applies the running effect of a ball once, then counts its timer down.
void ApplyEffect(Ball& b) {
  switch (b.type) {
    case 2: b.x -= 3; break;
    case 3: b.x += 3; break;
    case 4: b.vy = static_cast<float>(b.vy - 0.1); break;
    case 5: b.vy = static_cast<float>(b.vy + 0.2); break;
    case 6:
      for (Enemy& e : enemies) {
        if (Distance(b, e) < 128) e.active = false;
      }
      Cue(SoundBomb);
      break;
    default: break;  // 7 pierce and 8 stealth act elsewhere
  }
  b.effectTimer -= 1;
  if (b.effectTimer == 0) b.type = 1;
}

}  // namespace

int FirstFreeBall() {
  for (int i = 0; i < kBallSlots; ++i) {
    if (!balls[i].active) return i;
  }
  return -1;
}

int FirstFreeEnemy() {
  for (int i = 0; i < kEnemySlots; ++i) {
    if (!enemies[i].active) return i;
  }
  return -1;
}

int StockCount() {
  int n = 0;
  while (n < kStockSize && ballStock[n] != 0) ++n;
  return n;
}

bool Eligible(const Ball& b) { return b.active && !(b.effectTimer > 0 && b.type == 8); }

void ReturnToStock(int type) {
  const int j = StockCount();
  if (j == kStockSize) return;  // full stock: the ball is lost
  Cue(SoundReturn);
  if (j == kStockSize - 1) {
    ballStock[j] = 2 + frame::RandomBelow(7);
  } else if (type > 1) {
    ballStock[j] = type;
    ballStock[j + 1] = 1;
  } else if (frame::RandomBelow(3) != 0) {
    ballStock[j] = 2 + frame::RandomBelow(7);
  } else {
    ballStock[j] = 1;
    ballStock[j + 1] = 1;
  }
}

int NearestBall(const Enemy& e, int bound, bool specialOnly) {
  int best = -1;
  int bestDist = bound;
  for (int j = 0; j < kBallSlots; ++j) {
    const Ball& b = balls[j];
    const double d = Distance(b, e);
    if (Eligible(b) && (!specialOnly || b.type > 1) && static_cast<float>(bestDist) > d) {
      best = j;
      bestDist = static_cast<int>(d);
    }
  }
  return best;
}

int HighestBall(const Enemy& e) {
  int best = -1;
  int bestY = static_cast<int>(e.y);
  for (int j = 0; j < kBallSlots; ++j) {
    const Ball& b = balls[j];
    if (Eligible(b) && static_cast<float>(bestY) > b.y) {
      best = j;
      bestY = static_cast<int>(b.y);
    }
  }
  return best;
}

void MoveEnemy(Enemy& e) {
  int j = -1;
  double speed = 0;
  switch (e.type) {
    case 1: j = NearestBall(e, 256, false); speed = 0.25; break;
    case 2:
      if (e.target == kNoTarget) {
        e.target = NearestBall(e, 128, false);
        return;
      }
      {
        const Ball& t = balls[e.target];
        MoveToward(e, t.x, t.y, 0.25);
        if (!Eligible(t)) e.target = kNoTarget;
      }
      return;
    case 3: j = HighestBall(e); speed = 0.5; break;
    case 5: j = NearestBall(e, 99999, true); speed = 0.5; break;
    default: return;  // type 4 stands still
  }
  if (j >= 0) MoveToward(e, balls[j].x, balls[j].y, speed);
}

void Launch(bool z, bool x) {
  const int slot = FirstFreeBall();
  if (slot < 0 || ballStock[0] == 0) return;
  const int degrees = -90 - 30 * z + 30 * x;
  Ball& b = balls[slot];
  b.x = static_cast<float>(playerX);
  b.y = 480 - scrollDistance;
  b.vx = static_cast<float>(std::cos(degrees * 3.141592653 / 180) * 5);
  b.vy = static_cast<float>(std::sin(degrees * 3.141592653 / 180) * 5);
  b.active = true;
  b.type = ballStock[0];
  b.effectTimer = 0;
  b.launchTimer = 180;
  std::copy(ballStock + 1, ballStock + kStockSize, ballStock);
  ballStock[kStockSize - 1] = 0;
  Cue(SoundLaunch);
}

void Spawn() {
  if (!(static_cast<float>(nextSpawnDistance) < scrollDistance)) return;
  const int gap = static_cast<int>(240 - 0.01 * scrollDistance);
  nextSpawnDistance += frame::RandomBelow(std::max(60, gap));
  const int slot = FirstFreeEnemy();
  if (slot < 0) return;
  Enemy& e = enemies[slot];
  e.x = static_cast<float>(kWallLeft + frame::RandomBelow(288));
  e.y = -scrollDistance - 16;
  int type = enemyTypeTable[frame::RandomBelow(8)];
  if (easyMode && type == 2) type = 4;
  e.type = type;
  e.target = kNoTarget;
  e.active = true;
}

bool GameIsOver() {
  if (ballStock[0] != 0 || !(scrollStep < 0.01)) return false;
  for (const Ball& b : balls) {
    if (b.active && b.vy < -0.01) return false;
  }
  return true;
}

void PlayStep() {
  frameCounter += 1;
  playerX = std::clamp(frame::mouseX, kWallLeft, kWallRight);
  bool clickAvailable = frame::MouseClicked(0, frame::edge);
  scrollStep = 0;

  for (Ball& b : balls) {
    // A ball that drops out or is destroyed part-way still finishes its pass: the
    // camera, the rest of the enemy scan and the click all see it this step.
    if (!b.active) continue;
    if (b.effectTimer > 0) ApplyEffect(b);
    if (b.launchTimer > 0) b.launchTimer -= 1;

    b.x += b.vx;
    b.y += b.vy;
    b.vx = static_cast<float>(b.vx * 0.99);
    b.vy = static_cast<float>(b.vy * 0.99);

    if (b.x < kWallLeft) {
      b.vx = -b.vx;
      b.x = 352 - b.x;
    }
    if (b.x > kWallRight) {
      b.vx = -b.vx;
      b.x = 928 - b.x;
    }

    if (b.y > 496 - scrollDistance) {
      b.active = false;
      ReturnToStock(b.type);
    }

    if (b.y + scrollDistance < 256) scrollStep = std::max(scrollStep, 256 - b.y - scrollDistance);

    for (Enemy& e : enemies) {
      if (!e.active || !(Distance(b, e) < 32)) continue;
      if (b.effectTimer > 0 && b.type == 7) {
        e.active = false;
      } else {
        if (b.active) Cue(SoundHit);  // not for a ball that just dropped out
        b.active = false;
      }
    }

    if (clickAvailable &&
        Distance(b.x, static_cast<double>(b.y + scrollDistance), frame::mouseX, frame::mouseY) < 16) {
      if (b.type > 1 && b.effectTimer == 0) {
        b.effectTimer = effectDuration[b.type];
        if (b.type != 6) Cue(SoundPower);  // the bomb sounds when it goes off
      } else if (b.launchTimer == 0) {
        b.vx = 0;
        b.vy = 0;
        Cue(SoundStop);
      }
      clickAvailable = false;
    }
  }

  scrollDistance += scrollStep;

  if (clickAvailable && ballStock[0] != 0 && FirstFreeBall() >= 0) {
    const bool z = frame::KeyHit(kKeyZ, frame::hold);
    const bool x = frame::KeyHit(kKeyX, frame::hold);
    Launch(z, x);
  }

  Spawn();

  for (Enemy& e : enemies) {
    if (!e.active) continue;
    MoveEnemy(e);
    if (e.y > 492 - scrollDistance) e.active = false;
  }

  if (GameIsOver()) frame::gameState = GameOver;

  DrawPlayScreen();

  if (frame::KeyHit(kKeyEscape, frame::edge)) frame::gameState = GameOver;
  if (frame::gameState == GameOver) Cue(SoundGameOver);
}

}  // namespace ball
