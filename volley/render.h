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

// What a queued tile draws: the texture slot and the rectangle of it.
struct Piece {
  int slot, srcLeft, srcTop, width, height;
};
inline bool operator==(const Piece& a, const Piece& b) {
  return a.slot == b.slot && a.srcLeft == b.srcLeft && a.srcTop == b.srcTop &&
         a.width == b.width && a.height == b.height;
}
// A queued tile: where and in what colour. Tiles come in long runs of one piece, so the
// piece is kept once a run, which keeps the batch small.
struct Placed {
  int x, y;
  uint32_t colour;
};
struct Run {
  Piece piece;
  int start;         // its first tile in the batch
  bool lattice;      // a queued lattice (no tiles in the batch; see QueueLattice)
};
constexpr int kLatticeColours = 160 * 120;  // cells of the largest lattice queued at once

struct RenderSet {
  plat::Surface* target = nullptr;  // borrowed: the picture shown each frame
  const plat::Font* fonts[kFontSlots] = {};
  Texture textures[kTextureSlots];
  Placed batch[kBatchSize];
  int queued = 0;
  Run run[kBatchSize + 1];  // the runs of tiles of one piece, in order (one may be a lattice)
  int runs = 0;
  // The queued lattice: its first tile at (latticeX, latticeY), its colours column after
  // column; latticeCols 0: none in this batch.
  int latticeX = 0, latticeY = 0, latticeCols = 0, latticeRows = 0;
  uint32_t latticeColours[kLatticeColours];
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
// DrawTile itself, for callers that queue thousands of tiles a frame.
inline void QueueTile(int slot, int x, int y, int srcLeft, int srcTop, int width, int height,
                      uint32_t colour) {
  if (x > 640 || y > 480 || int64_t{x} + width < 0 || int64_t{y} + height < 0) return;
  RenderSet& rs = renderSet;
  if (rs.queued == kBatchSize) EndBatch();  // a full batch draws itself and starts again
  const Piece piece{slot, srcLeft, srcTop, width, height};
  if (rs.runs == 0 || !(rs.run[rs.runs - 1].piece == piece) || rs.run[rs.runs - 1].lattice) {
    rs.run[rs.runs++] = Run{piece, rs.queued, false};
  }
  rs.batch[rs.queued++] = Placed{x, y, colour};
}
// QueueTile for a long stream of tiles of one piece, without a search or a count kept in
// memory per tile: OpenTiles makes the batch end in a run of the piece and returns where
// the next tile goes, or null when the batch has no room for `count` more (queue them with
// QueueTile then); PlaceTile writes one tile there, dropping it as QueueTile would; and
// CloseTiles queues what was written.
inline Placed* OpenTiles(int slot, int srcLeft, int srcTop, int width, int height, int count) {
  RenderSet& rs = renderSet;
  if (count > kBatchSize - rs.queued) return nullptr;
  const Piece piece{slot, srcLeft, srcTop, width, height};
  Run* last = rs.runs > 0 ? &rs.run[rs.runs - 1] : nullptr;
  if (last != nullptr && !last->lattice && last->start == rs.queued) {
    last->piece = piece;  // a run left empty by an earlier stream: this one takes it
  } else if (last == nullptr || !(last->piece == piece) || last->lattice) {
    rs.run[rs.runs++] = Run{piece, rs.queued, false};
  }
  return rs.batch + rs.queued;
}
inline Placed* PlaceTile(Placed* at, int x, int y, int width, int height, uint32_t colour) {
  *at = Placed{x, y, colour};
  const bool shown = !(x > 640 || y > 480 || int64_t{x} + width < 0 || int64_t{y} + height < 0);
  return at + (shown ? 1 : 0);
}
inline void CloseTiles(const Placed* end) {
  renderSet.queued = static_cast<int>(end - renderSet.batch);
}

// Queues a lattice of tiles of one piece, column after column: tile (c, r) at
// (x + c * width, y + r * height) in colours[c * rows + r]. The same as QueueTile for each
// in that order, only faster: the lattice is kept as one entry of the batch.
void QueueLattice(int slot, int x, int y, int srcLeft, int srcTop, int width, int height,
                  int cols, int rows, const uint32_t* colours);
// Anti-aliased text (code page 932) in the rectangle (x, y)-(x + 640, y + 128).
void DrawLabel(int x, int y, const char* text, int a, int r, int g, int b, int fontSlot);

// Draws one tile at once (what the batch does for each queued tile).
void PaintTile(plat::Surface& s, const Texture& t, const Tile& tile);

}  // namespace volley
