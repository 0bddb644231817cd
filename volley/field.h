// The play field of volley: the player, the charged shot, the bullet table and the hue
// grid, one frame of play and the attack schedule. All drawing, key reads and clock
// reads go through fieldIo, so tests can record them and run without a window.
#pragma once
#include <cstdint>

namespace volley {

// One moving object: the player, the shot or a bullet.
struct Mover {
  double x = 0, y = 0;    // centre, pixels
  double dx = 0, dy = 0;  // pixels per frame
  int32_t life = 0;       // 0: inactive
  int32_t hue = 0;        // degrees, or 899 grey / 999 white
};

enum ShotState : int32_t { Idle = 0, Charging = 1, Flying = 2, Spent = 3 };

constexpr int kBullets = 2048;
constexpr int kColumns = 40;
constexpr int kRows = 60;
constexpr int kCells = kColumns * kRows;

struct PlayField {
  Mover player;
  Mover shot;
  int32_t blastLevel = 0;
  Mover bullets[kBullets];
  float hueGrid[kCells] = {};  // cell (c, r) is hueGrid[c * kRows + r]
  int32_t shotState = Idle;
  int32_t shotCharge = 0;
  uint32_t phaseStart = 0;
  int32_t patternFrame = 0;
};

// The outside world as the field sees it.
struct FieldIo {
  void (*drawTile)(int slot, int x, int y, int srcLeft, int srcTop, int width, int height,
                   uint32_t colour);
  void (*endBatch)();  // closes the sprite batch before the labels are drawn
  void (*drawLabel)(int x, int y, const char* text, int a, int r, int g, int b, int fontSlot);
  bool (*keyDown)(int vk);
  uint32_t (*timeMs)();
};
extern FieldIo fieldIo;  // starts on the sprite renderer and the platform's keys and clock

// Keys the game polls.
constexpr int kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28;
constexpr int kKeyZ = 0x5A, kKeyX = 0x58;
constexpr bool kHold = true, kEdge = false;

// Sets every field to zero, then to its starting value; phaseStart from the clock.
void CreateField(PlayField& f);

// 0xAARRGGBB of a hue in degrees; 899 is grey and 999 white.
uint32_t HueColour(int h);

// The runtime's generator: state = state * 214013 + 2531011, value (state >> 16) & 0x7FFF.
void SeedRoll(uint32_t seed);
int RollBelow(int n);
extern uint32_t rollState;

// Key poll with a latch per key (codes 0..199): hold mode reports a key while it is down,
// edge mode once per press.
bool KeyHit(int vk, bool hold);
void ClearKeyLatches();

void UpdateMover(Mover& m);
void SpawnBullet(PlayField& f, int x, int y, float angle, float speed, bool aimed, int hue);
// The same, for a run of spawns with nothing freed in between (one RunPatterns call):
// the search for a free slot goes on from where the last one stopped.
struct SpawnCursor {
  int next = 0;  // no free slot below this one
};
void SpawnBullet(PlayField& f, SpawnCursor& cursor, int x, int y, float angle, float speed,
                 bool aimed, int hue);
void ResetField(PlayField& f);
void RunPatterns(PlayField& f);
void FieldFrame(PlayField& f);

// Float to int toward zero, saturating instead of overflowing far outside the int range.
int Truncate(double v);

}  // namespace volley
