// The survival rules: new game, pushes, bombs, the play step and the light mosaic.
// Positions and speeds are floats; the constants are doubles, so each update is worked in
// double and stored back as a float.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
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

// Distance from body b to (x, y): the squared differences summed in float, the root in
// double.
double Distance(const Body& b, float x, float y) {
  const float dx = b.x - x;
  const float dy = b.y - y;
  return std::sqrt(static_cast<double>(dy * dy + dx * dx));
}

// Cell of a coordinate on a grid of `size`-pixel cells, `offset` cells from the origin,
// clamped to 0..n-1. Two coordinates less than `size` apart (a few pixels less, for the
// rounding of the division) land in the same or neighbouring cells, clamped or not.
int CellOf(float v, float size, int offset, int n) {
  const float c = std::floor(v / size) + static_cast<float>(offset);
  if (!(c >= 0.0f)) return 0;
  if (c >= static_cast<float>(n - 1)) return n - 1;
  return static_cast<int>(c);
}

void GiveOut() {
  if (player.active) Cue(SoundGiveOut);
  player.active = 0;
}

// Slot r's own move in the pair pass, before its pushes: walls, motion, a bomb's fuse,
// damping. True when a bomb exploded.
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

// The fast pair pass keeps the active slots 0..263 in a grid of 50-pixel cells, one
// doubly linked list per cell, so a body meets only the bodies of the nine cells around
// it. Pushes change only speeds: a body changes cell only when it moves, and leaves the
// grid when an explosion removes it.
constexpr float kPairCell = 50.0f;
constexpr int kPairGrid = 20;  // cells a side: x from -100, y from -250
constexpr int kNone = -1;
int16_t pairHead[kPairGrid * kPairGrid];
int16_t pairNext[kPairSlots], pairPrev[kPairSlots], pairCell[kPairSlots];

int PairCellOf(const Body& b) {
  return CellOf(b.y, kPairCell, 5, kPairGrid) * kPairGrid + CellOf(b.x, kPairCell, 2, kPairGrid);
}

void PairInsert(int i, int cell) {
  pairCell[i] = static_cast<int16_t>(cell);
  pairPrev[i] = kNone;
  pairNext[i] = pairHead[cell];
  if (pairHead[cell] != kNone) pairPrev[pairHead[cell]] = static_cast<int16_t>(i);
  pairHead[cell] = static_cast<int16_t>(i);
}

void PairRemove(int i) {
  if (pairPrev[i] != kNone) pairNext[pairPrev[i]] = pairNext[i];
  else pairHead[pairCell[i]] = pairNext[i];
  if (pairNext[i] != kNone) pairPrev[pairNext[i]] = pairPrev[i];
  pairCell[i] = kNone;
}

void PairBuild() {
  for (int16_t& h : pairHead) h = kNone;
  for (int i = 0; i < kPairSlots; ++i) {
    pairCell[i] = kNone;
    if (bodies[i].active) PairInsert(i, PairCellOf(bodies[i]));
  }
}

// After an explosion: the slots it removed leave the grid.
void PairDropInactive() {
  for (int i = 0; i < kPairSlots; ++i)
    if (pairCell[i] != kNone && !bodies[i].active) PairRemove(i);
}

// The slots of the grid near body r, in slot order: every slot that Push(r, a) would
// move r for, and perhaps a few just out of range, which Push leaves alone.
int PairNeighbours(int r, int16_t* out) {
  const Body& b = bodies[r];
  const int cx = pairCell[r] % kPairGrid, cy = pairCell[r] / kPairGrid;
  int n = 0;
  for (int y = std::max(cy - 1, 0); y <= std::min(cy + 1, kPairGrid - 1); ++y) {
    for (int x = std::max(cx - 1, 0); x <= std::min(cx + 1, kPairGrid - 1); ++x) {
      for (int a = pairHead[y * kPairGrid + x]; a != kNone; a = pairNext[a]) {
        const float dx = bodies[a].x - b.x;
        const float dy = bodies[a].y - b.y;
        if (a == r || dy * dy + dx * dx >= kPushRange * kPushRange + 1.0f) continue;
        int k = n++;
        for (; k > 0 && out[k - 1] > a; --k) out[k] = out[k - 1];
        out[k] = static_cast<int16_t>(a);
      }
    }
  }
  return n;
}

// The mosaic keeps the active motes sorted by 42-pixel cell, row by row, so the motes of
// five neighbouring cells of a row lie side by side. Motes within 80 pixels of a point
// lie within two cells of its cell.
constexpr float kLightCell = 42.0f;
constexpr int kLightReach = 2;
constexpr int kLightCols = 20, kLightRows = 16;  // x from -84, y from -84
float lightX[kMotes + 4], lightY[kMotes + 4];  // four more, read and ignored by the last group
int lightStart[kLightCols * kLightRows + 1];

void LightBuild() {
  int cellOf[kMotes];
  int count[kLightCols * kLightRows] = {};
  for (int m = 0; m < kMotes; ++m) {
    cellOf[m] = kNone;
    const Body& b = bodies[m];
    if (!b.active) continue;
    cellOf[m] = CellOf(b.y, kLightCell, 2, kLightRows) * kLightCols + CellOf(b.x, kLightCell, 2, kLightCols);
    ++count[cellOf[m]];
  }
  lightStart[0] = 0;
  for (int c = 0; c < kLightCols * kLightRows; ++c) lightStart[c + 1] = lightStart[c] + count[c];
  int fill[kLightCols * kLightRows];
  std::copy(lightStart, lightStart + kLightCols * kLightRows, fill);
  for (int m = 0; m < kMotes; ++m) {
    if (cellOf[m] == kNone) continue;
    const int k = fill[cellOf[m]]++;
    lightX[k] = bodies[m].x;
    lightY[k] = bodies[m].y;
  }
}

// ceilRoot[n]: the least m with m x m >= n. For a float s of 1 or more, the distance
// sqrt(s) lies in (m - 1, m] with m = ceilRoot[ceil(s)], far enough from m - 1 that
// truncate(80 - sqrt(s)) is exactly 80 - m.
struct CeilRoots {
  uint8_t v[6401];
  constexpr CeilRoots() : v() {
    int m = 0;
    for (int n = 0; n <= 6400; ++n) {
      while (m * m < n) ++m;
      v[n] = static_cast<uint8_t>(m);
    }
  }
};
constexpr CeilRoots ceilRoot;

// glow80[n] = 80 - ceilRoot[n]: a mote's light at a squared distance whose ceiling is n.
struct Glow80 {
  uint8_t v[6401];
  constexpr Glow80() : v() {
    for (int n = 0; n <= 6400; ++n) v[n] = static_cast<uint8_t>(80 - ceilRoot.v[n]);
  }
};
constexpr Glow80 glow80;

using V4f = float __attribute__((vector_size(16)));
using V4i = int32_t __attribute__((vector_size(16)));
constexpr V4i kLanes = {0, 1, 2, 3};
constexpr V4f kOutOfReach = {6400.0f, 6400.0f, 6400.0f, 6400.0f};

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

// The plain light sums at (fx, fy): every active body measured.
void PlainLight(float fx, float fy, int& moteLight, int& bombLight, int& playerLight) {
  moteLight = 0;
  for (int m = 0; m < kMotes; ++m)
    if (bodies[m].active) moteLight += Falloff(80, Distance(bodies[m], fx, fy));
  bombLight = 0;
  for (int i = kFirstBomb; i < kFirstBomb + kBombs; ++i)
    if (bodies[i].active) bombLight += 4 * Falloff(60, Distance(bodies[i], fx, fy));
  playerLight = player.active ? 4 * Falloff(60, Distance(player, fx, fy)) : 0;
}

// max(0, truncate(reach - sqrt(s))) for the squared distance s, through the root table.
// Below 1 the root is taken: there 80 - sqrt(s) can round up to 80.
int Glow(float s, int reach) {
  if (!(s < static_cast<float>(reach * reach))) return 0;
  if (s < 1.0f) return Falloff(reach, std::sqrt(static_cast<double>(s)));
  int n = static_cast<int>(s);
  n += static_cast<float>(n) < s;
  return reach - ceilRoot.v[n];
}

int GlowOf(const Body& b, float fx, float fy, int reach) {
  const float dx = b.x - fx;
  const float dy = b.y - fy;
  return Glow(dy * dy + dx * dx, reach);
}

plat::Colour FastLight(int px, int py, double sinT, double cosT) {
  const float fx = static_cast<float>(px);
  const float fy = static_cast<float>(py);
  const int cx = CellOf(fx, kLightCell, 2, kLightCols), cy = CellOf(fy, kLightCell, 2, kLightRows);
  int moteLight = 0;
  for (int y = std::max(cy - kLightReach, 0); y <= std::min(cy + kLightReach, kLightRows - 1); ++y) {
    const int row = y * kLightCols;
    const int end = lightStart[row + std::min(cx + kLightReach, kLightCols - 1) + 1];
    for (int k = lightStart[row + std::max(cx - kLightReach, 0)]; k < end; k += 4) {
      // Four motes at a time; lanes past the end count as out of reach.
      V4f mx, my;
      std::memcpy(&mx, lightX + k, sizeof mx);
      std::memcpy(&my, lightY + k, sizeof my);
      const V4f dx = mx - fx;
      const V4f dy = my - fy;
      V4f s = dy * dy + dx * dx;
      s = k + kLanes < end ? s : kOutOfReach;
      // 6400 and more (and NaN) read the table's last entry, 80 - 80.
      const V4f c = s < kOutOfReach ? s : kOutOfReach;
      V4i n = __builtin_convertvector(c, V4i);
      n -= __builtin_convertvector(n, V4f) < c;  // ceil: true lanes are -1
      moteLight += glow80.v[n[0]] + glow80.v[n[1]] + glow80.v[n[2]] + glow80.v[n[3]];
      const V4i close = s < 1.0f;
      if (close[0] | close[1] | close[2] | close[3]) {
        for (int i = 0; i < 4; ++i)
          if (close[i]) moteLight += Glow(s[i], 80) - glow80.v[n[i]];
      }
    }
  }
  int bombLight = 0;
  for (int i = kFirstBomb; i < kFirstBomb + kBombs; ++i)
    if (bodies[i].active) bombLight += 4 * GlowOf(bodies[i], fx, fy, 60);
  const int playerLight = player.active ? 4 * GlowOf(player, fx, fy, 60) : 0;
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
  // sqrt(s) >= 48 exactly when s >= 48 x 48: the root is correctly rounded and 2304 is a
  // perfect square. A NaN goes on, as its root would.
  if (dy * dy + dx * dx >= kPushRange * kPushRange) return;
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

// The same pass with the neighbours found through the grid.
void MoveBodies() {
  PairBuild();
  int16_t near[kPairSlots];
  for (int r = 0; r < kPairSlots; ++r) {
    Body& b = bodies[r];
    if (!b.active) continue;
    const bool exploded = MoveOne(r);
    const int cell = PairCellOf(b);
    if (cell != pairCell[r]) {
      PairRemove(r);
      PairInsert(r, cell);
    }
    const int n = PairNeighbours(r, near);
    if (exploded) PairDropInactive();
    for (int k = 0; k < n; ++k)
      if (bodies[near[k]].active) Push(r, near[k]);
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
  int moteLight, bombLight, playerLight;
  PlainLight(static_cast<float>(px), static_cast<float>(py), moteLight, bombLight, playerLight);
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

// DrawBox(px - 8, py - 8, 16, 16, colour, 1) for a sample point on the screen: the square
// clipped to the back buffer, written row by row without a call per row.
void PaintSquare(int px, int py, plat::Colour colour) {
  plat::Surface& back = frame::backDC;
  const int left = std::max(px - 8, 0), right = std::min(px + 8, back.width);
  const int top = std::max(py - 8, 0), bottom = std::min(py + 8, back.height);
  if (right - left == 16) {
    for (int y = top; y < bottom; ++y) {
      plat::Colour* row = back.Row(y) + left;
      for (int x = 0; x < 16; ++x) row[x] = colour;
    }
    return;
  }
  for (int y = top; y < bottom; ++y) {
    plat::Colour* row = back.Row(y);
    for (int x = left; x < right; ++x) row[x] = colour;
  }
}

void PaintLight() {
  LightBuild();
  const double theta = Theta();
  const double sinT = std::sin(theta), cosT = std::cos(theta);
  for (int k = 0; k < kSquares; ++k) {
    const int px = frame::RandomBelow(640);
    const int py = frame::RandomBelow(480);
    PaintSquare(px, py, FastLight(px, py, sinT, cosT));
  }
}

}  // namespace ostel
