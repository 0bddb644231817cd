// Recording stand-ins for the field's drawing, keys and clock.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "volley/field.h"

namespace volley::test {

struct TileCall {
  int slot, x, y, srcLeft, srcTop, width, height;
  uint32_t colour;
};

struct LabelCall {
  int x, y;
  std::string text;
  int a, r, g, b, fontSlot;
  size_t tilesBefore;  // tiles recorded when the label was drawn
  int batchEndsBefore;
};

struct Recorder {
  std::vector<TileCall> tiles;
  std::vector<LabelCall> labels;
  int batchEnds = 0;
  bool keys[256] = {};
  uint32_t clock = 0;              // returned by every read unless clockScript has values
  std::vector<uint32_t> clockScript;  // returned read after read, first to last
  int clockReads = 0;
};

extern Recorder rec;

// Puts the recorder in place of all of fieldIo, empties it, clears the key latches and
// the marked sound cues, and seeds the generator with 1.
void UseRecorder();
// Only the keys and the clock from the recorder; drawing goes to the real renderer.
void UseRecorderInput();

// A field as the program creates it, with the clock at `now`.
void NewField(PlayField& f, uint32_t now = 0);

// Indices of the live bullets, in slot order.
std::vector<int> LiveBullets(const PlayField& f);

}  // namespace volley::test
