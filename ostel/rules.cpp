// The survival rules: new game, pushes, bombs, the play step and the light mosaic.
// Positions and speeds are floats; the constants are doubles, so each update is worked in
// double and stored back as a float.
#include <algorithm>
#include <climits>
#include <cmath>
#include "ostel/ostel.h"

namespace ostel {

Body bodies[kBodies];
int32_t endurance;
int32_t fireCooldown;
int32_t fadeLevel;
uint32_t playStart;
uint32_t playEnd;

namespace {

constexpr float kPushRange = 48.0f;
constexpr float kBlastRange = 128.0f;
constexpr float kFar = 1.0e15f;  // where the fast passes keep inactive bodies

// Distance from body b to (x, y): the squared differences summed in float, the root in
// double.
double Distance(const Body& b, float x, float y) {
  const float dx = b.x - x;
  const float dy = b.y - y;
  return std::sqrt(static_cast<double>(dy * dy + dx * dx));
}

// Marks in near[i] the points i of (xs, ys) closer than sqrt(limit) to (x, y). A plain
// loop over fixed arrays, which the compiler turns into vector code.
template <int N>
void MarkNear(const float (&xs)[N], const float (&ys)[N], float x, float y, float limit,
              uint8_t (&near)[N]) {
  for (int i = 0; i < N; ++i) {
    const float dx = xs[i] - x;
    const float dy = ys[i] - y;
    near[i] = dx * dx + dy * dy < limit;
  }
}

void GiveOut() {
  if (player.active) Cue(SoundGiveOut);
  player.active = 0;
}

// Steps 10.1 to 10.4 for slot r: walls, motion, a bomb's fuse, damping. True when a bomb
// exploded.
bool MoveOne(int r) {
  Body& b = bodies[r];
  if (b.x > 640.0f) b.vx = -b.vx;
  if (b.x < 0.0f) b.vx = -b.vx;
  if (b.y > 480.0f) b.vy = -b.vy;
  b.y += b.vy;
  b.x += b.vx;
  b.vy = static_cast<float>(b.vy + 0.01);
  bool exploded = false;
  if (r >= kFirstBomb) {
    b.fuse -= 1;
    b.vy = static_cast<float>(b.vy + 0.01);
    if (b.fuse == 0) {
      ExplodeBomb(r);
      exploded = true;
    }
  }
  b.vy = static_cast<float>(b.vy * 0.99);
  b.vx = static_cast<float>(b.vx * 0.99);
  return exploded;
}

// Where the fast pair pass looks for neighbours: the positions of slots 0..263, inactive
// ones far away. Pushes change only speeds, so a slot's entry changes only when it moves
// or an explosion removes bodies.
float pairX[kPairSlots], pairY[kPairSlots];
uint8_t pairNear[kPairSlots];

void MirrorPair(int i) {
  const Body& b = bodies[i];
  pairX[i] = b.active ? b.x : kFar;
  pairY[i] = b.active ? b.y : kFar;
}

// The light of a step: the endurance angle and the positions of the motes.
float moteX[kMotes], moteY[kMotes];
uint8_t moteNear[kMotes];

int Falloff(double reach, double d) {
  const int v = static_cast<int>(reach - d);
  return v > 0 ? v : 0;
}

// Channel scaled by the fade; the low 8 bits, so a negative value wraps.
uint32_t Faded(int c) { return static_cast<uint32_t>(c * fadeLevel / 255) & 0xFFu; }

plat::Colour Mix(int moteLight, int bombLight, int playerLight, double sinT, double cosT) {
  moteLight = std::min(moteLight, 255);
  const int red = std::min(255, static_cast<int>(sinT * playerLight + moteLight));
  const int green = std::min(255, moteLight + bombLight);
  const int blue = std::min(255, static_cast<int>(cosT * playerLight + moteLight));
  return Faded(red) + Faded(green) * 256u + Faded(blue) * 65536u;
}

double Theta() { return (endurance / 10) * 3.141592653 / 180; }

// Bombs and the player: nine bodies, measured directly.
void OtherLight(float fx, float fy, int& bombLight, int& playerLight) {
  bombLight = 0;
  for (int i = kFirstBomb; i < kFirstBomb + kBombs; ++i)
    if (bodies[i].active) bombLight += 4 * Falloff(60, Distance(bodies[i], fx, fy));
  playerLight = player.active ? 4 * Falloff(60, Distance(player, fx, fy)) : 0;
}

plat::Colour FastLight(int px, int py, double sinT, double cosT) {
  const float fx = static_cast<float>(px);
  const float fy = static_cast<float>(py);
  // Only motes within 80 pixels give light; the margin keeps every one of them.
  MarkNear(moteX, moteY, fx, fy, 6401.0f, moteNear);
  int moteLight = 0;
  for (int m = 0; m < kMotes; ++m)
    if (moteNear[m]) moteLight += Falloff(80, Distance(bodies[m], fx, fy));
  int bombLight, playerLight;
  OtherLight(fx, fy, bombLight, playerLight);
  return Mix(moteLight, bombLight, playerLight, sinT, cosT);
}

}  // namespace

void NewGame() {
  endurance = kFullEndurance;
  playStart = plat::TimeMs();
  player.x = 320.0f;
  player.y = 360.0f;
  player.active = 1;
  for (int i = 0; i < kPairSlots; ++i) bodies[i].active = 0;
  for (int b = 0; b < 8; ++b) {
    Body& m = bodies[b];
    m.x = static_cast<float>(80 * b + 40);
    m.y = 448.0f;
    m.active = 1;
    m.vx = static_cast<float>((frame::RandomBelow(21) - 10) * 0.2);
    m.vy = 0.0f;
  }
}

void Push(int ai, int bi) {
  Body& a = bodies[ai];
  const Body& b = bodies[bi];
  const float dy = b.y - a.y;
  const float dx = b.x - a.x;
  if (std::sqrt(static_cast<double>(dy * dy + dx * dx)) >= kPushRange) return;
  float phi = static_cast<float>(std::atan(dy / (dx + 0.00001)));
  if (b.x < a.x) phi = static_cast<float>(phi + 3.14);
  a.vx = static_cast<float>(a.vx - std::cos(static_cast<double>(phi)) * 0.5);
  a.vy = static_cast<float>(a.vy - std::sin(static_cast<double>(phi)) * 0.5);
  if (ai == kPlayer) {
    endurance -= 15;
    if (player.active) Cue(SoundTouch);
  }
}

void ThrowBomb(int dir) {
  if (fireCooldown > 0) return;
  fireCooldown = 60;
  for (int i = kFirstBomb; i < kFirstBomb + kBombs; ++i) {
    Body& b = bodies[i];
    if (b.active) continue;
    b.x = player.x;
    b.y = player.y;
    b.active = 1;
    b.vx = static_cast<float>(3 * dir);
    b.vy = -2.0f;
    b.fuse = 180;
    Cue(SoundThrow);
    return;
  }
}

void ExplodeBomb(int i) {
  Body& bomb = bodies[i];
  for (int m = 0; m < kMotes; ++m)
    if (Distance(bodies[m], bomb.x, bomb.y) < kBlastRange) bodies[m].active = 0;
  if (Distance(player, bomb.x, bomb.y) < kBlastRange) GiveOut();
  bomb.active = 0;
  Cue(SoundBlast);
}

void MoveBodiesReference() {
  for (int r = 0; r < kPairSlots; ++r) {
    if (!bodies[r].active) continue;
    MoveOne(r);
    for (int a = 0; a < kPairSlots; ++a)
      if (a != r && bodies[a].active) Push(r, a);
    if (r < kMotes) Push(r, kPlayer);
  }
}

// The same pass, with the far pairs sorted out in one vector sweep per body: only
// bodies within a hair more than the push range go through Push, which decides exactly,
// in slot order as before.
void MoveBodies() {
  for (int i = 0; i < kPairSlots; ++i) MirrorPair(i);
  for (int r = 0; r < kPairSlots; ++r) {
    Body& b = bodies[r];
    if (!b.active) continue;
    if (MoveOne(r)) {
      for (int i = 0; i < kPairSlots; ++i) MirrorPair(i);
    } else {
      MirrorPair(r);
    }
    MarkNear(pairX, pairY, b.x, b.y, kPushRange * kPushRange + 1.0f, pairNear);
    pairNear[r] = 0;
    for (int a = 0; a < kPairSlots; ++a)
      if (pairNear[a]) Push(r, a);
    if (r < kMotes) Push(r, kPlayer);
  }
}

void SurvivalStep() {
  // The cooldown only ever counts down; it stops at the bottom of its range instead of
  // wrapping round after a year of play.
  if (fireCooldown > INT32_MIN) fireCooldown -= 1;
  endurance = std::min(endurance + 1, kFullEndurance);
  if (endurance < 0 || player.y > 544.0f) GiveOut();
  fadeLevel -= 1;
  if (player.active) fadeLevel = 255;
  if (fadeLevel == 0) {
    playEnd = plat::TimeMs();
    frame::gameState = GameOver;
  }

  if (frame::KeyHit(kKeyLeft, frame::hold)) player.vx = static_cast<float>(player.vx - 0.05);
  if (frame::KeyHit(kKeyRight, frame::hold)) player.vx = static_cast<float>(player.vx + 0.05);
  if (frame::KeyHit(kKeyX, frame::hold)) ThrowBomb(+1);
  if (frame::KeyHit(kKeyZ, frame::hold)) ThrowBomb(-1);

  if (player.x > 640.0f) player.vx = -player.vx;
  if (player.x < 0.0f) player.vx = -player.vx;
  if (player.y < 0.0f) player.vy = -player.vy;
  player.y += player.vy;
  player.x += player.vx;
  player.vy = static_cast<float>(player.vy + 0.01);
  player.vy = static_cast<float>(player.vy * 0.99);
  player.vx = static_cast<float>(player.vx * 0.99);

  for (int m = 0; m < kMotes; ++m)
    if (bodies[m].active) Push(kPlayer, m);

  const int r = frame::RandomBelow(20000);
  if (static_cast<uint32_t>(r) < (plat::TimeMs() - playStart) / 1000u + 100u) {
    for (int m = 0; m < kMotes; ++m) {
      Body& b = bodies[m];
      if (b.active) continue;
      b.x = static_cast<float>(frame::RandomBelow(640));
      b.y = -128.0f;
      b.active = 1;
      b.vx = static_cast<float>((frame::RandomBelow(41) - 20) * 0.2);
      b.vy = 0.0f;
      break;
    }
  }

  MoveBodies();
  PaintLight();
  if (frame::KeyHit(kKeyEscape, frame::edge)) frame::gameState = Quit;
}

plat::Colour LightAt(int px, int py) {
  const float fx = static_cast<float>(px);
  const float fy = static_cast<float>(py);
  int moteLight = 0;
  for (int m = 0; m < kMotes; ++m)
    if (bodies[m].active) moteLight += Falloff(80, Distance(bodies[m], fx, fy));
  int bombLight, playerLight;
  OtherLight(fx, fy, bombLight, playerLight);
  const double theta = Theta();
  return Mix(moteLight, bombLight, playerLight, std::sin(theta), std::cos(theta));
}

void PaintLightReference() {
  for (int k = 0; k < kSquares; ++k) {
    const int px = frame::RandomBelow(640);
    const int py = frame::RandomBelow(480);
    frame::DrawBox(px - 8, py - 8, 16, 16, LightAt(px, py), 1);
  }
}

void PaintLight() {
  for (int m = 0; m < kMotes; ++m) {
    moteX[m] = bodies[m].active ? bodies[m].x : kFar;
    moteY[m] = bodies[m].active ? bodies[m].y : kFar;
  }
  const double theta = Theta();
  const double sinT = std::sin(theta), cosT = std::cos(theta);
  for (int k = 0; k < kSquares; ++k) {
    const int px = frame::RandomBelow(640);
    const int py = frame::RandomBelow(480);
    frame::DrawBox(px - 8, py - 8, 16, 16, FastLight(px, py, sinT, cosT), 1);
  }
}

}  // namespace ostel
