// One frame of play: grid drift, player, shot, restart, bullets, hits, blast, gauge and
// the side panel.
#include "volley/field.h"

#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include "platform/system.h"
#include "volley/render.h"
#include "volley/sound.h"

namespace volley {

FieldIo fieldIo = {DrawTile, EndBatch, DrawLabel, plat::KeyDown, plat::TimeMs};

uint32_t rollState = 0;
static uint8_t keyLatch[200];

namespace {

constexpr double kDegrees = 0.017453292516666667;

struct Label {
  int x, y;
  const char* text;
  int a, r, g, b;
  int fontSlot;
};

// The title runs down the panel one character a line, zig-zagging through the rainbow.
const Label kLabels[] = {
    {360, 40, "虹", 255, 255, 0, 0, 1},
    {380, 80, "色", 255, 255, 128, 0, 3},
    {360, 120, "弾", 255, 255, 255, 0, 0},
    {380, 160, "幕", 255, 0, 255, 0, 1},
    {360, 200, "遊", 255, 0, 255, 255, 3},
    {380, 240, "戯", 255, 0, 0, 255, 0},
    {336, 320, "操作方法", 255, 255, 255, 255, 2},
    {336, 345, "上下左右で移動", 255, 255, 255, 255, 2},
    {336, 370, "Ｚで貯めて離して発射", 255, 255, 255, 255, 2},
    {336, 395, "発射中にＺで爆発", 255, 255, 255, 255, 2},
    {336, 420, "Ｘでリセット", 255, 255, 255, 255, 2},
};

void InitMover(Mover& m, int life) {
  m = Mover{};
  m.x = 160;
  m.y = 360;
  m.life = life;
}

// The grid cell under a point of the field. A bullet exactly on the right edge (x = 320)
// or the bottom edge (y = 480) has no cell of its own; it takes the edge cell it touches
// (column 39, row 59), so the grid is never indexed outside its cells.
int CellAt(double x, double y) {
  int c = Truncate(x / 8);
  int r = Truncate(y / 8);
  c = c < 0 ? 0 : (c >= kColumns ? kColumns - 1 : c);
  r = r < 0 ? 0 : (r >= kRows ? kRows - 1 : r);
  return c * kRows + r;
}

}  // namespace

int Truncate(double v) {
#if defined(__SSE2__)
  // The processor's conversion gives INT32_MIN for anything it cannot represent.
  const int fast = _mm_cvttsd_si32(_mm_set_sd(v));
  if (fast != INT32_MIN) return fast;
#endif
  if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;  // also NaN
  if (v >= 2147483647.0) return INT32_MAX;
  return static_cast<int>(v);
}

namespace {

// Truncate of a float, without the trip through a double (which changes no value).
inline int TruncateFloat(float v) {
#if defined(__SSE2__)
  const int fast = _mm_cvttss_si32(_mm_set_ss(v));
  if (fast != INT32_MIN) return fast;
#endif
  return Truncate(v);
}

}  // namespace

void CreateField(PlayField& f) {
  std::memset(static_cast<void*>(&f), 0, sizeof f);
  InitMover(f.player, 1);
  InitMover(f.shot, 0);
  for (Mover& b : f.bullets) InitMover(b, 0);
  for (float& v : f.hueGrid) v = 0.0f;
  f.blastLevel = 0;
  f.shotState = Idle;
  f.shotCharge = 0;
  f.patternFrame = 0;
  f.phaseStart = fieldIo.timeMs();
}

namespace {

uint32_t HueFormula(int h) {
  auto channel = [](double t) -> uint32_t {
    return static_cast<uint32_t>(Truncate(std::cos(t * kDegrees) * 127 + 128)) & 0xFF;
  };
  const double t = h;
  return 0xFF000000u | channel(t) << 16 | channel(t + 120) << 8 | channel(t + 240);
}

// Thousands of colours a frame, from a few hundred hues: each slot remembers the last
// hue that fell into it and its colour (a colour is never 0, so 0 marks an empty slot).
struct HueSlot {
  int32_t hue;
  uint32_t colour;
};
HueSlot hueSlots[4096];

inline uint32_t Hue(int h) {
  if (h == 899) return 0xFF808080u;
  if (h == 999) return 0xFFFFFFFFu;
  HueSlot& slot = hueSlots[static_cast<uint32_t>(h) & 4095];
  if (slot.colour != 0 && slot.hue == h) return slot.colour;
  slot.hue = h;
  slot.colour = HueFormula(h);
  return slot.colour;
}

// The frame's tiles: straight into the sprite batch when drawing goes to the sprite
// renderer, otherwise through fieldIo. Inlined always: it runs for every bullet, and a
// call would cost more than the queueing itself.
[[gnu::always_inline]] inline void PutTile(int slot, int x, int y, int srcLeft, int srcTop,
                                           int width, int height, uint32_t colour) {
  if (fieldIo.drawTile == DrawTile) {
    QueueTile(slot, x, y, srcLeft, srcTop, width, height, colour);
  } else {
    fieldIo.drawTile(slot, x, y, srcLeft, srcTop, width, height, colour);
  }
}

// UpdateMover without its tile: the move and the end of life of an active mover.
[[gnu::always_inline]] inline void Step(Mover& m) {
  if (m.life > 100) {
    m.life--;
  } else {
    m.x += m.dx;
    m.y += m.dy;
  }
  if (m.life <= 0 || m.life == 100) {
    m.life = 0;
  } else if (m.life == 1 && (std::fabs(160 - m.x) > 160 || std::fabs(240 - m.y) > 240)) {
    m.life = 0;
  }
}

// UpdateMover, inlined into the loops of the frame.
[[gnu::always_inline]] inline void Move(Mover& m) {
  if (m.life == 0) return;
  Step(m);
  PutTile(0, Truncate(m.x - 4), Truncate(m.y - 4), 24, 24, 8, 8, Hue(m.hue));
}

}  // namespace

uint32_t HueColour(int h) { return Hue(h); }

void SeedRoll(uint32_t seed) { rollState = seed; }

int RollBelow(int n) {
  if (n == 0) return 0;
  rollState = rollState * 214013u + 2531011u;
  int r = static_cast<int>((rollState >> 16) & 0x7FFF);
  return (r / 16) % n;
}

bool KeyHit(int vk, bool hold) {
  if (vk < 0 || vk >= 200) return false;
  if (!fieldIo.keyDown(vk)) {
    keyLatch[vk] = 1;
    return false;
  }
  if (hold) return true;
  if (keyLatch[vk] == 1) {
    keyLatch[vk] = 0;
    return true;
  }
  return false;
}

void ClearKeyLatches() { std::memset(keyLatch, 0, sizeof keyLatch); }

void UpdateMover(Mover& m) { Move(m); }

void SpawnBullet(PlayField& f, int x, int y, float angle, float speed, bool aimed, int hue) {
  SpawnCursor cursor;
  SpawnBullet(f, cursor, x, y, angle, speed, aimed, hue);
}

void SpawnBullet(PlayField& f, SpawnCursor& cursor, int x, int y, float angle, float speed,
                 bool aimed, int hue) {
  // The first slot whose life is 0; when all are in use, slot 1 for an aimed bullet and
  // slot 0 for the others, overwriting them.
  int slot = cursor.next;
  while (slot < kBullets && f.bullets[slot].life != 0) slot++;
  cursor.next = slot;
  if (slot == kBullets) slot = aimed ? 1 : 0;
  double b = 0;
  if (aimed) {
    double px = f.player.x, py = f.player.y;
    b = std::atan((y - py) / (x - px - 0.01));
    if (px < x) b += 3.14;
  }
  double a = angle * kDegrees + b;
  Mover& m = f.bullets[slot];
  m.x = x;
  m.y = y;
  m.dx = std::cos(a) * speed;
  m.dy = std::sin(a) * speed;
  m.life = 1;
  m.hue = hue;
}

void ResetField(PlayField& f) {
  f.player.life++;
  f.phaseStart = fieldIo.timeMs();
  for (float& v : f.hueGrid) v = 0.0f;
  f.player.x = 160;
  f.player.y = 360;
  f.patternFrame = 0;
  for (Mover& b : f.bullets) b.life = 0;
}

void FieldFrame(PlayField& f) {
  // 1. The grid cools by a tenth of a degree a frame and is drawn column after column.
  // Neighbouring cells mostly share a hue: its colour is looked up only when it changes.
  static uint32_t gridColours[kCells];
  int lastHue = TruncateFloat(static_cast<float>(static_cast<double>(f.hueGrid[0]) - 0.1));
  uint32_t lastColour = Hue(lastHue);
  for (int i = 0; i < kCells; i++) {
    float& v = f.hueGrid[i];
    v = static_cast<float>(static_cast<double>(v) - 0.1);
    const int h = TruncateFloat(v);
    if (h != lastHue) {
      lastHue = h;
      lastColour = Hue(h);
    }
    gridColours[i] = lastColour;
  }
  if (fieldIo.drawTile == DrawTile) {
    QueueLattice(0, 0, 0, 0, 0, 8, 8, kColumns, kRows, gridColours);
  } else {
    for (int c = 0; c < kColumns; c++) {
      for (int r = 0; r < kRows; r++) {
        fieldIo.drawTile(0, 8 * c, 8 * r, 0, 0, 8, 8, gridColours[c * kRows + r]);
      }
    }
  }

  // 2. The shot starts from, and hits are measured against, the start-of-frame position.
  const double x0 = f.player.x, y0 = f.player.y;

  // 3. Player.
  Mover& p = f.player;
  if (p.life != 0) {
    if (KeyHit(kKeyLeft, kHold)) p.x -= 2.0;
    if (KeyHit(kKeyRight, kHold)) p.x += 2.0;
    if (KeyHit(kKeyUp, kHold)) p.y -= 2.0;
    if (KeyHit(kKeyDown, kHold)) p.y += 2.0;
    if (p.x < 0) p.x = 0;
    if (p.x > 320) p.x = 320;
    if (p.y < 0) p.y = 0;
    if (p.y > 480) p.y = 480;
    p.hue = 899;
    Move(p);
  }

  // 4. The attack.
  RunPatterns(f);

  // 5. The shot: charge while Z is held, fly on release, detonate on the next Z press or
  // at the top of the field. Each state's test sees the state the one before it left, so
  // a shot launched this frame can detonate this frame, and a shot that detonates at the
  // top while Z is up is ready again in the same frame.
  if (p.life != 0) {
    if (f.shotState == Idle && KeyHit(kKeyZ, kEdge)) {
      f.shotState = Charging;
      f.shotCharge = 1;
      MarkCue(kCueCharge);
    }
    if (f.shotState == Charging) {
      if (KeyHit(kKeyZ, kHold)) f.shotCharge++;
      if (!KeyHit(kKeyZ, kHold)) {
        Mover& s = f.shot;
        s.x = x0;
        s.y = y0;
        s.dx = 0.0;
        s.dy = -4.0;
        s.life = f.shotCharge / 8 > 16 ? 16 : f.shotCharge / 8;
        f.shotState = Flying;
        MarkCue(kCueFire);
      }
    }
    if (f.shotState == Flying) {
      if (f.shot.y < 0.0 || KeyHit(kKeyZ, kEdge)) {
        f.blastLevel += 100;
        f.shotState = Spent;
        MarkCue(f.blastLevel > 100 ? kCueBoom : kCueClick);  // the blast starts at the second
      }
    }
    if (f.shotState == Spent && !KeyHit(kKeyZ, kHold)) f.shotState = Idle;
    Move(f.shot);
  }

  // 6. Restart.
  if (KeyHit(kKeyX, kEdge)) {
    ResetField(f);
    MarkCue(kCueRestart);
  }

  // 7. Bullets: a bullet over a cell of nearly its own hue vanishes and cools the cell.
  // 8. Hits against the start-of-frame position; bullets are not used up. The bullet pass
  // touches neither the player nor the other bullets, so each bullet is also tested for
  // a hit as soon as it is done, which counts the same hits as a second pass would.
  // Every bullet is moved and drawn first, then tested against its cell in slot order: a
  // test changes only its bullet's life, its cell and the player, which no move reads,
  // so the outcome is that of one pass; the short testing loop runs faster on its own.
  const bool hitsCount = p.life != 0;
  static int16_t cellUnder[kBullets];  // the cell under a bullet live after its move, or -1
  // On the sprite renderer the bullets' tiles go straight to the end of the batch.
  Placed* out = fieldIo.drawTile == DrawTile ? OpenTiles(0, 24, 24, 8, 8, kBullets) : nullptr;
  for (int i = 0; i < kBullets; i++) {
    Mover& b = f.bullets[i];
    cellUnder[i] = -1;
    if (b.life == 0) continue;  // neither moved, drawn, tested nor hitting
    const double bx0 = b.x, by0 = b.y;
    Step(b);
    const int x = Truncate(b.x - 4), y = Truncate(b.y - 4);
    if (out != nullptr) {
      out = PlaceTile(out, x, y, 8, 8, Hue(b.hue));
    } else {
      PutTile(0, x, y, 24, 24, 8, 8, Hue(b.hue));
    }
    if (b.life != 0) cellUnder[i] = static_cast<int16_t>(CellAt(bx0, by0));
  }
  if (out != nullptr) CloseTiles(out);
  for (int i = 0; i < kBullets; i++) {
    if (cellUnder[i] < 0) continue;
    Mover& b = f.bullets[i];
    float& cell = f.hueGrid[cellUnder[i]];
    int d = TruncateFloat(static_cast<float>(b.hue) - cell);
    int m = d % 360;
    if (std::abs(180 - std::abs(m)) > 165) {
      b.life--;
      cell = static_cast<float>(static_cast<double>(cell) - 15.0);
    }
    if (hitsCount && b.life != 0) {
      const double ex = x0 - b.x, ey = y0 - b.y;
      if (ex * ex + ey * ey < 64) {
        p.life--;
        MarkCue(kCueHit);
      }
    }
  }

  // 9. Blast: from the second detonation on, every cell within reach of the shot turns
  // by 12 degrees a frame. The squared radius is taken in doubles so that it cannot
  // overflow after many detonations.
  if (f.blastLevel > 100) {
    const double radius = 12.0 * (static_cast<double>(f.blastLevel) - 100);
    const double reach = radius * radius;
    const double sx = f.shot.x, sy = f.shot.y;
    // Two rows at a time in a pair of doubles: the same operations on each, so the same
    // results as one row at a time.
    typedef double Pair __attribute__((vector_size(16)));
    static_assert(kRows % 2 == 0, "rows are taken in pairs");
    for (int c = 0; c < kColumns; c++) {
      const double ex = sx - 8 * c - 4;
      const double ex2 = ex * ex;
      float* column = f.hueGrid + c * kRows;
      for (int r = 0; r < kRows; r += 2) {
        const Pair ey = Pair{sy, sy} - Pair{static_cast<double>(8 * r), static_cast<double>(8 * r + 8)} - 4.0;
        const auto in = ex2 + ey * ey < reach;
        if (in[0]) column[r] = static_cast<float>(static_cast<double>(column[r]) + 12.0);
        if (in[1]) column[r + 1] = static_cast<float>(static_cast<double>(column[r + 1]) + 12.0);
      }
    }
  }

  // 10. Charge gauge.
  for (int i = 0; i < 120; i++) {
    PutTile(0, 336 + 2 * i, 445, 0, 0, 2, 24, i < f.shotCharge ? Hue(3 * i) : Hue(899));
  }

  // 11. Side panel.
  fieldIo.endBatch();
  for (const Label& l : kLabels) fieldIo.drawLabel(l.x, l.y, l.text, l.a, l.r, l.g, l.b, l.fontSlot);
}

}  // namespace volley
