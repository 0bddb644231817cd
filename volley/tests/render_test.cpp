// The sprite renderer: colour key, tint, blending, clipping, the batch, the texture file
// and the fixed layout of a whole frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>
#include "platform/text.h"
#include "recorder.h"
#include "volley/render.h"

namespace volley {
namespace {

using test::TileCall;

constexpr plat::Colour kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr plat::Colour kRedKey = 0x0000FF;

struct RenderTest : ::testing::Test {
  plat::Surface screen;
  void SetUp() override {
    screen.Create(640, 480);
    renderSet.target = &screen;
    BeginBatch();
    // A 4x4 texture: white, a grey column, a red-keyed corner.
    plat::Surface tex;
    tex.Create(4, 4);
    for (plat::Colour& c : tex.pixels) c = 0xFFFFFF;
    for (int y = 0; y < 4; y++) tex.Row(y)[2] = 0x808080;
    tex.Row(0)[0] = kRedKey;
    ASSERT_TRUE(MakeTexture(0, tex));
  }
  void TearDown() override { renderSet.target = nullptr; }
  void Fill(plat::Colour c) {
    for (plat::Colour& p : screen.pixels) p = c;
  }
  void Paint(int x, int y, int sl, int st, int w, int h, uint32_t colour) {
    BeginBatch();
    DrawTile(0, x, y, sl, st, w, h, colour);
    EndBatch();
  }
};

TEST_F(RenderTest, TintShowsOnWhiteModulatesGreyAndRedIsTransparent) {
  Fill(kBlue);
  Paint(10, 20, 0, 0, 4, 4, 0xFFFF4040);
  EXPECT_EQ(screen.At(10, 20), kBlue);      // keyed red: the background shows
  EXPECT_EQ(screen.At(11, 20), 0x4040FFu);  // white texel: exactly the tint, as 0x00BBGGRR
  EXPECT_EQ(screen.At(12, 20), 0x202080u);  // grey texel: half the tint
  EXPECT_EQ(screen.At(13, 23), 0x4040FFu);
  EXPECT_EQ(screen.At(14, 20), kBlue);      // nothing beyond the tile
  EXPECT_EQ(screen.At(10, 24), kBlue);
}

TEST_F(RenderTest, RowsWithManyGapsKeepThePictureInTheGaps) {
  plat::Surface comb;
  comb.Create(7, 2);
  for (int x = 0; x < 7; x++) {
    comb.Row(0)[x] = x % 2 == 0 ? 0xFFFFFF : kRedKey;  // four runs in one row
    comb.Row(1)[x] = x < 2 || x > 4 ? 0x808080 : kRedKey;  // two runs
  }
  ASSERT_TRUE(MakeTexture(0, comb));
  Fill(kBlue);
  Paint(100, 100, 0, 0, 7, 2, 0xFF00FF00);
  for (int x = 0; x < 7; x++) {
    EXPECT_EQ(screen.At(100 + x, 100), x % 2 == 0 ? 0x00FF00u : kBlue) << x;
    EXPECT_EQ(screen.At(100 + x, 101), x < 2 || x > 4 ? 0x008000u : kBlue) << x;
  }
  EXPECT_EQ(screen.At(107, 100), kBlue);
}

TEST_F(RenderTest, TintAlphaBlends) {
  Fill(0);
  Paint(0, 0, 1, 0, 1, 1, 0x80FFFFFF);
  EXPECT_EQ(screen.At(0, 0), 0x808080u);
  Fill(0xFFFFFF);
  Paint(0, 0, 1, 0, 1, 1, 0x00000000);
  EXPECT_EQ(screen.At(0, 0), 0xFFFFFFu);  // fully transparent tint: nothing
}

TEST_F(RenderTest, OffScreenTilesAreDroppedAndEdgesClipped) {
  Fill(0);
  BeginBatch();
  DrawTile(0, 641, 0, 0, 0, 4, 4, 0xFFFFFFFF);
  DrawTile(0, 0, 481, 0, 0, 4, 4, 0xFFFFFFFF);
  DrawTile(0, -5, 0, 0, 0, 4, 4, 0xFFFFFFFF);
  DrawTile(0, 0, -5, 0, 0, 4, 4, 0xFFFFFFFF);
  EXPECT_EQ(renderSet.queued, 0);
  DrawTile(0, 640, 480, 0, 0, 4, 4, 0xFFFFFFFF);  // kept, but nothing is visible
  DrawTile(0, -4, 0, 0, 0, 4, 4, 0xFFFFFFFF);
  EXPECT_EQ(renderSet.queued, 2);
  DrawTile(0, -2, 100, 0, 0, 4, 4, 0xFFFFFFFF);  // right half shows
  DrawTile(0, 638, 478, 0, 0, 4, 4, 0xFFFFFFFF);  // top-left 2x2 shows
  EndBatch();
  EXPECT_EQ(screen.At(0, 100), 0x808080u);  // texture column 2
  EXPECT_EQ(screen.At(1, 100), 0xFFFFFFu);
  EXPECT_EQ(screen.At(639, 479), 0xFFFFFFu);
  EXPECT_EQ(screen.At(638, 478), 0u);  // keyed corner
  int lit = 0;
  for (plat::Colour c : screen.pixels) lit += c != 0;
  EXPECT_EQ(lit, 8 + 3);
}

TEST_F(RenderTest, SourceOutsideTheTextureDrawsNothingThere) {
  Fill(0);
  Paint(0, 0, 3, 2, 8, 8, 0xFFFFFFFF);  // only texels (3, 2)..(3, 3) exist
  int lit = 0;
  for (plat::Colour c : screen.pixels) lit += c != 0;
  EXPECT_EQ(lit, 2);
  Paint(0, 0, -100, -100, 8, 8, 0xFFFFFFFF);
  Paint(0, 0, 0, 0, -8, 8, 0xFFFFFFFF);
  lit = 0;
  for (plat::Colour c : screen.pixels) lit += c != 0;
  EXPECT_EQ(lit, 2);
  BeginBatch();
  DrawTile(7, 0, 0, 0, 0, 4, 4, 0xFFFFFFFF);   // empty slot
  DrawTile(99, 0, 0, 0, 0, 4, 4, 0xFFFFFFFF);  // no such slot
  EndBatch();
  EXPECT_EQ(screen.At(1, 0), 0u);
}

TEST_F(RenderTest, BatchDrawsAtTheEndInOrder) {
  Fill(0);
  BeginBatch();
  DrawTile(0, 0, 0, 1, 1, 2, 2, 0xFFFF0000);
  DrawTile(0, 1, 0, 1, 1, 2, 2, 0xFF00FF00);
  EXPECT_EQ(screen.At(0, 0), 0u);  // nothing until the batch ends
  EndBatch();
  EXPECT_EQ(screen.At(0, 0), 0x0000FFu);
  EXPECT_EQ(screen.At(1, 0), 0x00FF00u);  // the later tile is on top
  // A batch larger than the queue draws in order too.
  BeginBatch();
  for (int i = 0; i < kBatchSize + 10; i++) {
    DrawTile(0, 5, 5, 1, 1, 1, 1, i == kBatchSize + 9 ? 0xFF0000FF : 0xFF00FF00);
  }
  EndBatch();
  EXPECT_EQ(screen.At(5, 5), 0xFF0000u);
}

TEST_F(RenderTest, RemadeTextureIsNotDrawnFromOldTints) {
  Fill(0);
  Paint(0, 0, 0, 0, 4, 4, 0xFF00FF00);  // remembered tinted
  EXPECT_EQ(screen.At(1, 1), 0x00FF00u);
  plat::Surface grey;
  grey.Create(4, 4);
  for (plat::Colour& c : grey.pixels) c = 0x808080;
  ASSERT_TRUE(MakeTexture(0, grey));
  Paint(0, 0, 0, 0, 4, 4, 0xFF00FF00);
  EXPECT_EQ(screen.At(1, 1), 0x008000u);
  EXPECT_EQ(screen.At(0, 0), 0x008000u);  // no longer keyed out
}

TEST_F(RenderTest, MissingTextureGivesPlainSquares) {
  EXPECT_FALSE(LoadTexture(0, "no-such-dir/siro.bmp"));
  Fill(0);
  Paint(0, 0, 24, 24, 8, 8, 0xFFFF4040);
  for (int y = 0; y < 8; y++) {
    for (int x = 0; x < 8; x++) ASSERT_EQ(screen.At(x, y), 0x4040FFu);
  }
  EXPECT_EQ(screen.At(8, 8), 0u);
}

TEST_F(RenderTest, TheShippedTextureHasCellGaugeAndDot) {
  ASSERT_TRUE(LoadTexture(0, "siro.bmp"));  // tests run in build/volley
  const Texture& t = renderSet.textures[0];
  ASSERT_GE(t.width, 32);
  ASSERT_GE(t.height, 32);
  auto opaque = [&](int x, int y) { return t.alpha[y * t.width + x] == 255; };
  auto white = [&](int x, int y) { return opaque(x, y) && t.bgr[y * t.width + x] == 0xFFFFFF; };
  for (int y = 0; y < 8; y++) {
    for (int x = 0; x < 8; x++) ASSERT_TRUE(opaque(x, y));  // the grid cell covers its cell
  }
  EXPECT_TRUE(white(4, 4));
  for (int y = 0; y < 24; y++) {
    ASSERT_TRUE(opaque(0, y));  // the gauge bar is solid
    ASSERT_TRUE(opaque(1, y));
  }
  EXPECT_TRUE(white(1, 12));
  EXPECT_FALSE(opaque(24, 24));  // the dot's corners are keyed out
  EXPECT_FALSE(opaque(31, 31));
  EXPECT_TRUE(white(27, 27));  // its middle shows the tint
  EXPECT_FALSE(opaque(8, 8));
}

// The plain rule the batch must follow whatever way it takes: tile after tile, every
// texel that is not keyed out is the texel times the tint (each channel a * b / 255,
// rounded), laid over the picture with the texel's opacity times the tint's alpha.
namespace reference {
uint32_t Mul(uint32_t a, uint32_t b) { return (a * b * 2 + 255) / 510; }
void Paint(plat::Surface& s, const plat::Surface& tex, const TileCall& t) {
  const uint32_t a = t.colour >> 24, tint[3] = {(t.colour >> 16) & 0xFF, (t.colour >> 8) & 0xFF,
                                               t.colour & 0xFF};
  for (int j = 0; j < t.height; j++) {
    for (int i = 0; i < t.width; i++) {
      const int x = t.x + i, y = t.y + j, u = t.srcLeft + i, v = t.srcTop + j;
      if (x < 0 || y < 0 || x >= s.width || y >= s.height) continue;
      if (u < 0 || v < 0 || u >= tex.width || v >= tex.height) continue;
      const uint32_t texel = tex.At(u, v) & 0xFFFFFF;
      if (texel == 0x0000FF || a == 0) continue;  // keyed out, or no alpha
      uint32_t out = 0;
      for (int c = 0; c < 3; c++) {
        const uint32_t src = Mul((texel >> (8 * c)) & 0xFF, tint[c]);
        const uint32_t dst = (s.At(x, y) >> (8 * c)) & 0xFF;
        out |= std::min<uint32_t>(255, Mul(src, a) + Mul(dst, 255 - a)) << (8 * c);
      }
      s.Row(y)[x] = out;
    }
  }
}
}  // namespace reference

TEST(Batch, FastPathsDrawLikeThePlainRule) {
  // A texture like the game's: a cell with a dim edge, a gauge bar and a round dot with
  // a dark rim and keyed corners; and a speckled one with many colours and gaps.
  plat::Surface tex;
  tex.Create(32, 32);
  for (plat::Colour& c : tex.pixels) c = kRedKey;
  for (int y = 0; y < 24; y++) {
    for (int x = 0; x < 8; x++) {
      if (y < 8 || x < 2) tex.Row(y)[x] = x == 0 || y == 0 ? 0xC8C8C8 : 0xFFFFFF;
    }
  }
  for (int y = 0; y < 8; y++) {
    for (int x = 0; x < 8; x++) {
      const int ex = 2 * x - 7, ey = 2 * y - 7, d = ex * ex + ey * ey;
      if (d <= 36) tex.Row(24 + y)[24 + x] = 0xFFFFFF;
      else if (d <= 72) tex.Row(24 + y)[24 + x] = (x + y) % 2 ? 0x202020 : 0xC0C0C0;
    }
  }
  ASSERT_TRUE(MakeTexture(0, tex));
  plat::Surface speckled;  // too many colours for the short ways
  speckled.Create(8, 8);
  for (int y = 0; y < 8; y++) {
    for (int x = 0; x < 8; x++) {
      speckled.Row(y)[x] = (x * 7 + y * 3) % 5 == 0 ? kRedKey : 0x010203 * (x + 8 * y);
    }
  }
  ASSERT_TRUE(MakeTexture(1, speckled));
  const plat::Surface* textures[2] = {&tex, &speckled};

  uint32_t seed = 12345;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
  };
  auto colour = [&]() {
    const uint32_t alpha = next(8) == 0 ? static_cast<uint32_t>(next(256)) : 255u;
    return alpha << 24 | static_cast<uint32_t>(next(1 << 24));
  };
  std::vector<TileCall> tiles;
  // The grid: a lattice of cells, column after column, then one cell twice in a row and
  // a lattice of cells with a second tile on one cell (their order matters there).
  for (int c = 0; c < 40; c++) {
    for (int r = 0; r < 60; r++) tiles.push_back({0, 8 * c, 8 * r, 0, 0, 8, 8, colour()});
  }
  tiles.push_back({0, 16, 16, 0, 0, 8, 8, 0xFF00FF00});
  tiles.push_back({0, 16, 16, 0, 0, 8, 8, 0xFFFF0000});
  for (int k = 0; k < 40; k++) tiles.push_back({0, 8 * (k % 20), 400 + 8 * (k / 20), 0, 0, 8, 8, colour()});
  tiles.push_back({0, 8, 400, 0, 0, 8, 8, 0xFF0000FF});
  for (int k = 0; k < 30; k++) tiles.push_back({0, 8 * k, 320, 0, 0, 8, 8, colour()});
  // Dots everywhere, overlapping, some across the edges, some on the lattice.
  for (int k = 0; k < 3000; k++) {
    const int x = next(12) == 0 ? 8 * next(80) : next(660) - 10;
    const int y = next(12) == 0 ? 8 * next(60) : next(500) - 10;
    tiles.push_back({0, x, y, 24, 24, 8, 8, colour()});
  }
  // The gauge, speckled pieces, pieces reaching outside the texture.
  for (int i = 0; i < 120; i++) tiles.push_back({0, 336 + 2 * i, 445, 0, 0, 2, 24, colour()});
  for (int k = 0; k < 200; k++) tiles.push_back({1, next(660) - 10, next(500) - 10, 0, 0, 8, 8, colour()});
  for (int k = 0; k < 50; k++) tiles.push_back({0, next(640), next(480), 28, 28, 8, 8, colour()});

  plat::Surface fast, plain;
  fast.Create(640, 480);
  plain.Create(640, 480);
  for (size_t i = 0; i < fast.pixels.size(); i++) fast.pixels[i] = plain.pixels[i] = 0x102030 * (i % 7);
  renderSet.target = &fast;
  BeginBatch();
  for (const TileCall& t : tiles) DrawTile(t.slot, t.x, t.y, t.srcLeft, t.srcTop, t.width, t.height, t.colour);
  EndBatch();
  renderSet.target = nullptr;
  for (const TileCall& t : tiles) {
    if (t.x > 640 || t.y > 480 || t.x + t.width < 0 || t.y + t.height < 0) continue;
    reference::Paint(plain, *textures[t.slot], t);
  }
  for (int y = 0; y < 480; y++) {
    for (int x = 0; x < 640; x++) ASSERT_EQ(fast.At(x, y), plain.At(x, y)) << x << "," << y;
  }
}

// Small pieces of few colours whose rows are single runs are drawn from lists of stores
// and a cache of tinted quads. Random such pieces (and near misses: rows with gaps, more
// row kinds), two, four and eight texels wide and up to 24 high, at every edge of
// pictures of two widths, in tints that repeat, in more tints than the cache has room
// for, and in tints that differ only in alpha or only after the texture is made again.
TEST(Batch, StampsDrawLikeThePlainRule) {
  uint32_t seed = 2024;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
  };
  const uint32_t kInks[4] = {0xFFFFFF, 0x202020, 0xC8C8C8, 0x4080F0};
  for (int round = 0; round < 12; round++) {
    // Eight pieces side by side in a 64x24 texture, each with two row kinds (a third now
    // and then) that are runs of one or two inks, or a row with a gap.
    plat::Surface tex;
    tex.Create(64, 24);
    for (plat::Colour& c : tex.pixels) c = kRedKey;
    struct PieceAt { int left, width, height; };
    std::vector<PieceAt> pieces;
    for (int k = 0; k < 8; k++) {
      const int w = k < 2 ? 2 : (next(2) ? 8 : 4), h = 1 + next(24), left = 8 * k;
      pieces.push_back({left, w, h});
      uint32_t kinds[3][8];
      for (auto& kind : kinds) {
        // Pieces two wide: rows opaque on both texels (one with a gap now and then).
        const int start = w == 2 ? 0 : next(w - 3), length = w == 2 ? 2 : 4 + next(w - 3 - start);
        const uint32_t a = kInks[next(4)], b = kInks[next(4)];
        const int split = start + next(length + 1);
        for (int i = 0; i < 8; i++) {
          kind[i] = i < start || i >= start + length ? kRedKey : (i < split ? a : b);
        }
        if (next(6) == 0 && (length > 2 || w == 2)) kind[start + 1] = kRedKey;  // a gap
      }
      // Half the pieces have two row kinds and no empty rows (two row classes).
      const bool twoKinds = next(2) == 0;
      for (int j = 0; j < h; j++) {
        const int kind = twoKinds ? next(2) : next(10) == 0 ? 2 : next(3) == 0 ? -1 : next(2);
        for (int i = 0; i < w; i++) tex.Row(j)[left + i] = kind < 0 ? kRedKey : kinds[kind][i];
      }
    }
    ASSERT_TRUE(MakeTexture(0, tex));
    // Tints: a few that repeat, and many more than the cache holds.
    std::vector<uint32_t> few;
    for (int k = 0; k < 6; k++) few.push_back(0xFF000000u | static_cast<uint32_t>(next(1 << 24)));
    for (const int width : {640, 200}) {
      const int height = width == 640 ? 480 : 120;
      std::vector<TileCall> tiles;
      for (int k = 0; k < 3000; k++) {
        const PieceAt& piece = pieces[next(8)];
        int x = next(width + 20) - 10, y = next(height + 30) - 25;
        if (next(10) == 0) x = next(2) ? -piece.width + next(3) : width - next(3);
        uint32_t colour = next(2) ? few[next(6)] : 0xFF000000u | static_cast<uint32_t>(next(1 << 24));
        if (next(40) == 0) colour = (colour & 0xFFFFFF) | static_cast<uint32_t>(next(255)) << 24;
        tiles.push_back({0, x, y, piece.left, 0, piece.width, piece.height, colour});
      }
      plat::Surface fast, plain;
      fast.Create(width, height);
      plain.Create(width, height);
      for (size_t i = 0; i < fast.pixels.size(); i++) fast.pixels[i] = plain.pixels[i] = 0x0A0B0C * (i % 5);
      renderSet.target = &fast;
      BeginBatch();
      for (const TileCall& t : tiles) DrawTile(t.slot, t.x, t.y, t.srcLeft, t.srcTop, t.width, t.height, t.colour);
      EndBatch();
      // One tile at a time too, through the same cache.
      for (int k = 0; k < 200; k++) {
        const TileCall& t = tiles[k];
        PaintTile(fast, renderSet.textures[0], Tile{0, t.x, t.y, t.srcLeft, t.srcTop, t.width, t.height, t.colour});
      }
      renderSet.target = nullptr;
      for (const TileCall& t : tiles) {
        if (t.x > width || t.y > height || t.x + t.width < 0 || t.y + t.height < 0) continue;
        reference::Paint(plain, tex, t);
      }
      for (int k = 0; k < 200; k++) reference::Paint(plain, tex, tiles[k]);
      for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
          ASSERT_EQ(fast.At(x, y), plain.At(x, y)) << x << "," << y << " round " << round;
        }
      }
    }
  }
}

// A stream of tiles written straight into the batch queues what QueueTile would: tiles
// off the picture dropped, the run of the piece continued or begun, and no stream at all
// when the batch has no room for it.
TEST(Batch, TileStreamsQueueAsQueueTileDoes) {
  plat::Surface tex;
  tex.Create(32, 32);
  for (int y = 0; y < 32; y++) {
    for (int x = 0; x < 32; x++) tex.Row(y)[x] = x >= 24 && y >= 24 ? 0x606060 : 0xFFFFFF;
  }
  ASSERT_TRUE(MakeTexture(0, tex));
  const int xs[] = {-9, -8, 0, 100, 632, 640, 641, 5, 300};
  const int ys[] = {0, 7, -8, -9, 480, 481, 200, 472, 3};
  int queued[2] = {};
  auto paint = [&](plat::Surface& s, bool stream) {
    renderSet.target = &s;
    BeginFrame();
    DrawTile(0, 10, 10, 0, 0, 8, 8, 0xFF102030);
    if (stream) CloseTiles(OpenTiles(0, 24, 24, 8, 8, 9));  // an empty stream of another piece
    for (int round = 0; round < 3; round++) {
      const int sl = round == 1 ? 24 : 0;  // the second round continues no run
      Placed* out = stream ? OpenTiles(0, sl, sl, 8, 8, 9) : nullptr;
      if (stream) {
        ASSERT_NE(out, nullptr);
      }
      for (int k = 0; k < 9; k++) {
        const uint32_t colour = 0xFF000000u | static_cast<uint32_t>(round * 0x404040 + k * 0x1020);
        if (stream) {
          out = PlaceTile(out, xs[k] + 12 * round, ys[k], 8, 8, colour);
        } else {
          DrawTile(0, xs[k] + 12 * round, ys[k], sl, sl, 8, 8, colour);
        }
      }
      if (stream) CloseTiles(out);
    }
    queued[stream] = renderSet.queued;
    DrawTile(0, 20, 20, 0, 0, 8, 8, 0xFF405060);
    EndBatch();
    renderSet.target = nullptr;
  };
  plat::Surface streamed, plain;
  streamed.Create(640, 480);
  plain.Create(640, 480);
  paint(streamed, true);
  paint(plain, false);
  EXPECT_TRUE(streamed.pixels == plain.pixels);
  EXPECT_EQ(queued[1], queued[0]);
  // An empty stream leaves nothing behind, and a batch without room gives none.
  BeginBatch();
  CloseTiles(OpenTiles(0, 0, 0, 8, 8, 4));
  EXPECT_EQ(renderSet.queued, 0);
  EXPECT_EQ(OpenTiles(0, 0, 0, 8, 8, kBatchSize + 1), nullptr);
  for (int k = 0; k < kBatchSize - 2; k++) QueueTile(0, 0, 0, 0, 0, 8, 8, 0xFF000000);
  EXPECT_NE(OpenTiles(0, 0, 0, 8, 8, 2), nullptr);
  EXPECT_EQ(OpenTiles(0, 0, 0, 8, 8, 3), nullptr);
  BeginBatch();
}

// A frame begun with BeginFrame starts from black, whatever the picture held, and a
// queued lattice draws as its tiles one by one would: first in the batch or not, solid
// or with keyed-out texels, opaque or not, on the picture or across its edge.
TEST(Batch, FrameClearAndQueuedLatticesDrawLikeThePlainRule) {
  plat::Surface tex;
  tex.Create(32, 32);
  for (plat::Colour& c : tex.pixels) c = kRedKey;
  for (int y = 0; y < 8; y++) {
    for (int x = 0; x < 8; x++) {
      tex.Row(y)[x] = x == 0 || y == 0 ? 0xC8C8C8 : 0xFFFFFF;  // a solid cell
      const int ex = 2 * x - 7, ey = 2 * y - 7, d = ex * ex + ey * ey;
      if (d <= 36) tex.Row(24 + y)[24 + x] = 0xFFFFFF;  // a dot with keyed corners
      else if (d <= 72) tex.Row(24 + y)[24 + x] = 0x202020;
    }
  }
  ASSERT_TRUE(MakeTexture(0, tex));

  struct Lattice {
    int x, y, srcLeft, srcTop, cols, rows;
    uint32_t alpha;  // of one cell in the middle; the rest are opaque
  };
  uint32_t seed = 99;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
  };
  auto opaque = [&] { return 0xFF000000u | static_cast<uint32_t>(next(1 << 24)); };
  // Each case: tiles before, a lattice, another lattice, tiles after.
  const Lattice kGrid{0, 0, 0, 0, 40, 60, 255};
  const std::vector<std::vector<Lattice>> cases = {
      {},
      {kGrid},
      {kGrid, {320, 0, 0, 0, 40, 60, 255}},    // the second one is queued tile by tile
      {{16, 8, 0, 0, 10, 5, 255}},             // a part of the picture
      {{0, 0, 24, 24, 80, 60, 255}},           // the dot: rows with keyed-out texels
      {{0, 0, 0, 0, 40, 60, 128}},             // one cell blends
      {{600, 400, 0, 0, 10, 20, 255}},         // across the edges
      {{4, 0, 0, 0, 40, 60, 255}},             // off the lattice of its size
  };
  for (size_t n = 0; n < cases.size(); n++) {
    for (bool tilesBefore : {false, true}) {
      std::vector<TileCall> before, after;
      for (int k = 0; k < (tilesBefore ? 50 : 0); k++) {
        before.push_back({0, next(660) - 10, next(500) - 10, 24, 24, 8, 8, opaque()});
      }
      for (int k = 0; k < 300; k++) {
        after.push_back({0, next(660) - 10, next(500) - 10, 24, 24, 8, 8, opaque()});
      }
      std::vector<std::vector<uint32_t>> colours;
      for (const Lattice& l : cases[n]) {
        colours.emplace_back();
        // Neighbouring cells often share a colour (along a column, and along a row).
        std::vector<uint32_t>& c = colours.back();
        for (int i = 0; i < l.cols * l.rows; i++) {
          const int choice = next(4);
          if (choice == 0 && i > 0) c.push_back(c[i - 1]);
          else if (choice == 1 && i >= l.rows) c.push_back(c[i - l.rows]);
          else c.push_back(opaque());
        }
        colours.back()[l.cols * l.rows / 2] = l.alpha << 24 | 0x3366CC;
      }

      plat::Surface fast, plain;
      fast.Create(640, 480);
      plain.Create(640, 480);
      for (size_t i = 0; i < fast.pixels.size(); i++) fast.pixels[i] = 0x123456u + i;
      for (plat::Colour& c : plain.pixels) c = 0;
      renderSet.target = &fast;
      BeginFrame();
      auto queue = [](const std::vector<TileCall>& tiles) {
        for (const TileCall& t : tiles) {
          DrawTile(t.slot, t.x, t.y, t.srcLeft, t.srcTop, t.width, t.height, t.colour);
        }
      };
      queue(before);
      for (size_t k = 0; k < cases[n].size(); k++) {
        const Lattice& l = cases[n][k];
        QueueLattice(0, l.x, l.y, l.srcLeft, l.srcTop, 8, 8, l.cols, l.rows, colours[k].data());
      }
      queue(after);
      EndBatch();
      renderSet.target = nullptr;

      for (const TileCall& t : before) reference::Paint(plain, tex, t);
      for (size_t k = 0; k < cases[n].size(); k++) {
        const Lattice& l = cases[n][k];
        for (int c = 0; c < l.cols; c++) {
          for (int r = 0; r < l.rows; r++) {
            reference::Paint(plain, tex, {0, l.x + 8 * c, l.y + 8 * r, l.srcLeft, l.srcTop, 8,
                                          8, colours[k][c * l.rows + r]});
          }
        }
      }
      for (const TileCall& t : after) reference::Paint(plain, tex, t);
      for (int y = 0; y < 480; y++) {
        for (int x = 0; x < 640; x++) {
          ASSERT_EQ(fast.At(x, y), plain.At(x, y))
              << x << "," << y << " case " << n << (tilesBefore ? " after tiles" : "");
        }
      }
    }
  }
  // A frame with nothing drawn, and one with only a label, start from black too.
  plat::Surface screen;
  screen.Create(640, 480);
  for (plat::Colour& c : screen.pixels) c = 0xABCDEF;
  renderSet.target = &screen;
  BeginFrame();
  EndBatch();
  EXPECT_EQ(std::count(screen.pixels.begin(), screen.pixels.end(), 0u), 640 * 480);
  for (plat::Colour& c : screen.pixels) c = 0xABCDEF;
  BeginFrame();
  DrawLabel(0, 0, "", 255, 255, 255, 255, 0);
  EXPECT_EQ(std::count(screen.pixels.begin(), screen.pixels.end(), 0u), 640 * 480);
  renderSet.target = nullptr;
}

// Lattices of random pieces opaque from edge to edge (4 or 8 on a side, up to four inks,
// rows that repeat and rows that do not, so one to eight row classes) are stored row by
// row across each band of cells. Colours repeat along rows and columns, and the many
// distinct ones make cells of one band share slots of the tinted-quad cache.
TEST(Batch, SolidLatticesOfRandomPiecesDrawLikeThePlainRule) {
  uint32_t seed = 4242;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
  };
  const uint32_t kInks[4] = {0xFFFFFF, 0x202020, 0xC8C8C8, 0x4080F0};
  for (int round = 0; round < 64; round++) {
    const int w = next(2) ? 8 : 4, h = next(2) ? 8 : 4;
    plat::Surface tex;
    tex.Create(8, 8);
    const int kinds = 1 + next(h);  // distinct row kinds; rows repeat them at random
    uint32_t kind[8][8];
    for (int k = 0; k < kinds; k++) {
      for (int i = 0; i < 8; i++) kind[k][i] = kInks[next(1 + round % 4)];
    }
    for (int j = 0; j < 8; j++) {
      const int k = j < kinds ? j : next(kinds);
      for (int i = 0; i < 8; i++) tex.Row(j)[i] = kind[k][i];
    }
    ASSERT_TRUE(MakeTexture(0, tex));
    const int cols = 1 + next(640 / w), rows = 1 + next(480 / h);
    const int x = w * next(640 / w - cols + 1), y = h * next(480 / h - rows + 1);
    std::vector<uint32_t> colours;
    for (int i = 0; i < cols * rows; i++) {
      const int choice = next(4);
      if (choice == 0 && i > 0) colours.push_back(colours[i - 1]);
      else if (choice == 1 && i >= rows) colours.push_back(colours[i - rows]);
      else colours.push_back(0xFF000000u | static_cast<uint32_t>(next(1 << 24)));
    }
    plat::Surface fast, plain;
    fast.Create(640, 480);
    plain.Create(640, 480);
    const bool frame = round % 2 == 0;  // a whole frame: cleared to black around it
    for (size_t i = 0; i < fast.pixels.size(); i++) fast.pixels[i] = plain.pixels[i] = 0x10203u * (i % 7);
    if (frame) std::fill(plain.pixels.begin(), plain.pixels.end(), 0u);
    renderSet.target = &fast;
    if (frame) BeginFrame(); else BeginBatch();
    QueueLattice(0, x, y, 0, 0, w, h, cols, rows, colours.data());
    EndBatch();
    renderSet.target = nullptr;
    for (int c = 0; c < cols; c++) {
      for (int r = 0; r < rows; r++) {
        reference::Paint(plain, tex, {0, x + w * c, y + h * r, 0, 0, w, h, colours[c * rows + r]});
      }
    }
    for (int py = 0; py < 480; py++) {
      for (int px = 0; px < 640; px++) {
        ASSERT_EQ(fast.At(px, py), plain.At(px, py)) << px << "," << py << " round " << round;
      }
    }
  }
}

// Labels are remembered after their first drawing; the picture must not change by it.
TEST(Labels, RememberedLabelsDrawLikeTheTextRenderer) {
  ASSERT_TRUE(plat::InitText());
  char error[128];
  ASSERT_TRUE(CreateFonts(error, sizeof error)) << error;
  static const char* const kText = "\x8F\xE3\x89\xBA Zz";  // two kanji and letters
  plat::Surface direct, cached;
  for (plat::Colour background : {0u, 0x336699u}) {
    direct.Create(640, 480);
    cached.Create(640, 480);
    for (plat::Colour& c : direct.pixels) c = 0;
    for (int y = 100; y < 130; y++) {
      for (int x = 300; x < 340; x++) direct.Row(y)[x] = background;  // under part of it
    }
    cached.pixels = direct.pixels;
    plat::DrawSmoothText(direct, 280, 96, 280 + 640, 96 + 128, kText, 0xFFFF8000,
                         renderSet.fonts[1]);
    renderSet.target = &cached;
    for (int i = 0; i < 2; i++) {  // the first drawing learns, the second uses the cache
      plat::Surface again = cached;
      renderSet.target = &again;
      DrawLabel(280, 96, kText, 0x1FF, 255, 128, 0, 1);  // only the low bytes count
      ASSERT_EQ(again.pixels, direct.pixels) << "background " << background << " pass " << i;
    }
    renderSet.target = nullptr;
  }
}

// A whole frame through the real renderer: the fixed layout of the picture.
TEST(FrameLayout, GridPlayerGaugeAndPanel) {
  ASSERT_TRUE(plat::InitText());
  char error[128];
  ASSERT_TRUE(CreateFonts(error, sizeof error)) << error;
  ASSERT_TRUE(LoadTexture(0, "siro.bmp"));
  plat::Surface screen;
  screen.Create(640, 480);
  renderSet.target = &screen;
  test::UseRecorderInput();
  auto f = std::make_unique<PlayField>();
  test::NewField(*f, 0);
  test::rec.clock = 200000;  // no attack
  BeginBatch();
  FieldFrame(*f);
  renderSet.target = nullptr;

  EXPECT_EQ(screen.At(4, 4), 0x4040FFu);     // cells of hue 0
  EXPECT_EQ(screen.At(316, 476), 0x4040FFu);
  EXPECT_EQ(screen.At(160, 360), 0x808080u);  // the grey player dot
  EXPECT_EQ(screen.At(337, 460), 0x808080u);  // the empty gauge
  EXPECT_EQ(screen.At(575, 460), 0x808080u);
  EXPECT_EQ(screen.At(577, 460), 0u);
  EXPECT_EQ(screen.At(330, 200), 0u);         // the panel is black
  EXPECT_EQ(screen.At(620, 20), 0u);
  // The title's first character is red; the controls are white.
  int red = 0, white = 0, other = 0;
  for (int y = 40; y < 78; y++) {
    for (int x = 360; x < 420; x++) {
      plat::Colour c = screen.At(x, y);
      if (c == 0) continue;
      ((c & 0xFFFF00) == 0 ? red : other)++;
    }
  }
  for (int y = 345; y < 365; y++) {
    for (int x = 336; x < 500; x++) {
      plat::Colour c = screen.At(x, y);
      if ((c & 0xFF) == ((c >> 8) & 0xFF) && (c & 0xFF) == (c >> 16) && c != 0) white++;
    }
  }
  EXPECT_GT(red, 50);
  EXPECT_EQ(other, 0);
  EXPECT_GT(white, 100);
}

}  // namespace
}  // namespace volley
