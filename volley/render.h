// The sprite renderer of volley: tinted texture rectangles, alpha-blended onto a
// 640x480 software picture in one batch per frame, and anti-aliased labels.
#pragma once
#include <cstdint>
#include <vector>
#include "platform/surface.h"
#include "platform/text.h"

namespace volley {

constexpr int kFontSlots = 4;
constexpr int kFontHeights[kFontSlots] = {36, 54, 24, 45};
constexpr int kTextureSlots = 8;
constexpr int kMaxTexture = 1024;   // larger images are refused
constexpr int kBatchSize = 8192;    // tiles queued before the batch draws on its own

constexpr int kPalette = 32;         // distinct colours a texture can draw as runs

// A texture prepared for drawing: colours in the picture's 0x00BBGGRR order and an
// opacity per texel (the colour key made it 0 or 255). For speed the texels are also
// kept as runs: each texel's palette entry (0: transparent) and how many texels from it
// to the right share that entry, so a tile row is drawn as a few fills.
struct Texture {
  int width = 0, height = 0;
  std::vector<uint32_t> bgr;
  std::vector<uint8_t> alpha;
  std::vector<uint8_t> entry;
  std::vector<uint8_t> run;
  std::vector<uint32_t> mask;       // per texel: all ones where opaque, 0 where keyed out
  uint32_t id = 0;                  // changes whenever the texture is made again
  uint32_t palette[kPalette] = {};  // entries 1 and up: the distinct opaque colours
  int paletteSize = 0;              // 0: too many colours, drawn texel by texel
  bool loaded = false;
};

struct Tile {
  int slot, x, y, srcLeft, srcTop, width, height;
  uint32_t colour;  // 0xAARRGGBB
};

struct RenderSet {
  plat::Surface* target = nullptr;  // borrowed: the picture shown each frame
  const plat::Font* fonts[kFontSlots] = {};
  Texture textures[kTextureSlots];
  Tile batch[kBatchSize];
  int queued = 0;
  // Where each run of tiles of one piece (slot and source rectangle) starts in the batch.
  int runStart[kBatchSize];
  int runs = 0;
  bool clearFirst = false;  // the picture is cleared to black before the batch is drawn
};
extern RenderSet renderSet;

// Makes texture slot `slot` from a picture: pure red (0x0000FF in the picture's colour
// order) becomes transparent. Returns false when the picture is empty or too large.
bool MakeTexture(int slot, const plat::Surface& picture);

// Loads a bitmap file into texture slot `slot`. When the file is missing or unreadable
// (the loader prints the warning), the slot becomes plain opaque white, so every tile is
// drawn as an untextured square in its tint and the game stays playable; returns false.
bool LoadTexture(int slot, const char* path);

// Creates the four fonts. Returns false, naming the size, when one cannot be made.
bool CreateFonts(char* error, int cap);

void BeginBatch();
// BeginBatch for a whole frame: the picture is to be cleared to opaque black first. The
// clearing is left to the drawing, which skips the pixels that a lattice of opaque tiles
// at the start of the batch covers anyway; the picture comes out the same.
void BeginFrame();
// Queues one tile: the rectangle (srcLeft, srcTop) of size width x height of the texture
// in `slot`, tinted by the ARGB colour, with its top left at (x, y). Tiles wholly to the
// right of or below the picture, or wholly left of or above it, are dropped.
void DrawTile(int slot, int x, int y, int srcLeft, int srcTop, int width, int height,
              uint32_t colour);
// Draws the queued tiles in order and empties the batch.
void EndBatch();
inline bool SamePiece(const Tile& a, const Tile& b) {
  return a.slot == b.slot && a.srcLeft == b.srcLeft && a.srcTop == b.srcTop &&
         a.width == b.width && a.height == b.height;
}
// DrawTile itself, for callers that queue thousands of tiles a frame.
inline void QueueTile(int slot, int x, int y, int srcLeft, int srcTop, int width, int height,
                      uint32_t colour) {
  if (x > 640 || y > 480 || int64_t{x} + width < 0 || int64_t{y} + height < 0) return;
  RenderSet& rs = renderSet;
  if (rs.queued == kBatchSize) EndBatch();  // a full batch draws itself and starts again
  Tile& t = rs.batch[rs.queued];
  t = Tile{slot, x, y, srcLeft, srcTop, width, height, colour};
  if (rs.runs == 0 || !SamePiece(t, rs.batch[rs.queued - 1])) rs.runStart[rs.runs++] = rs.queued;
  rs.queued++;
}
// Anti-aliased text (code page 932) in the rectangle (x, y)-(x + 640, y + 128).
void DrawLabel(int x, int y, const char* text, int a, int r, int g, int b, int fontSlot);

// Draws one tile at once (what the batch does for each queued tile).
void PaintTile(plat::Surface& s, const Texture& t, const Tile& tile);

}  // namespace volley
