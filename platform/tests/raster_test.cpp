// The fast transfers against plain per-pixel references, on many random cases and on
// every CPU path this machine offers.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/surface.h"
#include "platform/tests/row_paths.h"
#include "platform/tests/alloc_counter.h"

namespace plat {
namespace {

Colour Apply(Rop rop, Colour d, Colour s) {
  switch (rop) {
    case Rop::Copy: return s & 0xFFFFFF;
    case Rop::And: return d & s & 0xFFFFFF;
    case Rop::Invert: return (d ^ s) & 0xFFFFFF;
    case Rop::NotCopy: return ~s & 0xFFFFFF;
  }
  return d;
}

const Rop kRops[] = {Rop::Copy, Rop::And, Rop::Invert, Rop::NotCopy};

Surface Noise(int w, int h, std::mt19937& rng) {
  Surface s;
  s.Create(w, h);
  for (Colour& p : s.pixels) p = rng() & 0xFFFFFF;
  return s;
}

// Per pixel, from a snapshot of the source, so overlap never matters.
void RefBlit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
  const Surface from = src;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const int64_t x = int64_t{dx} + i, y = int64_t{dy} + j, u = int64_t{sx} + i, v = int64_t{sy} + j;
      if (x < 0 || y < 0 || x >= dst.width || y >= dst.height) continue;
      if (u < 0 || v < 0 || u >= from.width || v >= from.height) continue;
      Colour& d = dst.Row(static_cast<int>(y))[x];
      d = Apply(rop, d, from.Row(static_cast<int>(v))[u]);
    }
}

// Source span [j0, j1) of destination index i: nearest pixel when enlarging, every
// pixel that collapses onto i when shrinking.
void Range(int64_t i, int64_t dn, int64_t sn, int64_t& j0, int64_t& j1) {
  if (sn <= dn) {
    j0 = i * sn / dn;
    j1 = j0 + 1;
  } else {
    j0 = (i * sn + dn - 1) / dn;
    j1 = ((i + 1) * sn + dn - 1) / dn;
  }
}

// The stretch pixel by pixel: each destination pixel ANDs its source block.
void RefStretch(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh, Rop rop) {
  if (!dw || !dh || !sw || !sh) return;
  const int64_t DX = dw < 0 ? int64_t{dx} + dw : dx, DW = std::abs(dw);
  const int64_t DY = dh < 0 ? int64_t{dy} + dh : dy, DH = std::abs(dh);
  const int64_t SX = sw < 0 ? int64_t{sx} + sw : sx, SW = std::abs(sw);
  const int64_t SY = sh < 0 ? int64_t{sy} + sh : sy, SH = std::abs(sh);
  const bool mx = (dw < 0) != (sw < 0), my = (dh < 0) != (sh < 0);
  for (int64_t a = 0; a < DH; ++a)
    for (int64_t b = 0; b < DW; ++b) {
      const int64_t x = DX + b, y = DY + a;
      if (x < 0 || y < 0 || x >= dst.width || y >= dst.height) continue;
      int64_t c0, c1, r0, r1;
      Range(mx ? DW - 1 - b : b, DW, SW, c0, c1);
      Range(my ? DH - 1 - a : a, DH, SH, r0, r1);
      c0 = std::max<int64_t>(c0 + SX, 0), c1 = std::min<int64_t>(c1 + SX, src.width);
      r0 = std::max<int64_t>(r0 + SY, 0), r1 = std::min<int64_t>(r1 + SY, src.height);
      if (c0 >= c1 || r0 >= r1) continue;
      Colour v = 0xFFFFFF;
      for (int64_t r = r0; r < r1; ++r)
        for (int64_t c = c0; c < c1; ++c) v &= src.Row(static_cast<int>(r))[c];
      Colour& d = dst.Row(static_cast<int>(y))[x];
      d = Apply(rop, d, v);
    }
}

TEST(RowPaths, BaselineAlwaysAvailable) {
  const RowPath before = ActiveRowPath();
  EXPECT_TRUE(UseRowPath(RowPath::Baseline));
  EXPECT_EQ(ActiveRowPath(), RowPath::Baseline);
  UseRowPath(before);
}

TEST(Raster, BlitMatchesReferenceOnRandomCases) {
  OnEveryPath([] {
    std::mt19937 rng(11);
    for (int t = 0; t < 400; ++t) {
      Surface a = Noise(1 + rng() % 70, 1 + rng() % 40, rng);
      Surface b = Noise(1 + rng() % 70, 1 + rng() % 40, rng);
      const bool self = t % 4 == 0;  // overlapping transfers within one surface
      const Surface& src = self ? a : b;
      const int w = rng() % 80, h = rng() % 45;
      const int dx = static_cast<int>(rng() % 100) - 20, dy = static_cast<int>(rng() % 60) - 15;
      const int sx = static_cast<int>(rng() % 100) - 20, sy = static_cast<int>(rng() % 60) - 15;
      const Rop rop = kRops[rng() % 4];
      Surface want = a;
      RefBlit(want, dx, dy, w, h, self ? a : b, sx, sy, rop);
      Blit(a, dx, dy, w, h, src, sx, sy, rop);
      ASSERT_EQ(a.pixels, want.pixels) << "case " << t;
    }
  });
}

TEST(Raster, StretchMatchesReferenceEnlargingShrinkingMirroredClipped) {
  OnEveryPath([] {
    std::mt19937 rng(12);
    Surface src = Noise(90, 50, rng);
    for (int t = 0; t < 1500; ++t) {
      Surface d = Noise(1 + rng() % 120, 1 + rng() % 60, rng);
      const auto pick = [&](int lo, int hi) { return lo + static_cast<int>(rng() % (hi - lo + 1)); };
      int sw = pick(1, 70), sh = pick(1, 40), dw = pick(1, 130), dh = pick(1, 70);
      // Mostly modest factors, both ways, with every sign combination.
      if (t % 3 == 0) dw = std::max(1, sw * pick(1, 3) / pick(1, 3));
      if (rng() % 4 == 0) sw = -sw;
      if (rng() % 4 == 0) dw = -dw;
      if (rng() % 4 == 0) sh = -sh;
      if (rng() % 4 == 0) dh = -dh;
      const int sx = pick(-20, 100), sy = pick(-10, 55);
      const int dx = pick(-40, 120), dy = pick(-20, 70);
      const Rop rop = kRops[rng() % 4];
      Surface want = d;
      RefStretch(want, dx, dy, dw, dh, src, sx, sy, sw, sh, rop);
      StretchBlit(d, dx, dy, dw, dh, src, sx, sy, sw, sh, rop);
      ASSERT_EQ(d.pixels, want.pixels) << "case " << t << ": " << dw << "x" << dh << " from " << sw << "x" << sh
                                       << " at " << sx << "," << sy;
    }
  });
}

TEST(Raster, StretchWorkloadShapes) {
  // The shapes the games use: a sheet cell enlarged with AND, a sprite narrowed.
  OnEveryPath([] {
    std::mt19937 rng(13);
    Surface sheet = Noise(1280, 960, rng), sprite = Noise(64, 64, rng);
    for (int t = 0; t < 40; ++t) {
      Surface d = Noise(640, 480, rng), want = d;
      const int L = (t % 13) * 51 - 20, T = (t / 13) * 25 - 10;
      const int sx = t == 39 ? 1250 : (t * 37) % 1216, sy = (t * 53) % 928;  // the last cell runs off the sheet
      RefStretch(want, L, T, 96, 44, sheet, sx, sy, 64, 32, Rop::And);
      StretchBlit(d, L, T, 96, 44, sheet, sx, sy, 64, 32, Rop::And);
      RefStretch(want, 600 - t * 17, t * 13 - 30, 58, 64, sprite, 0, 0, 64, 64, kRops[t % 4]);
      StretchBlit(d, 600 - t * 17, t * 13 - 30, 58, 64, sprite, 0, 0, 64, 64, kRops[t % 4]);
      ASSERT_EQ(d.pixels, want.pixels) << "case " << t;
    }
  });
}

TEST(Raster, StretchesOfShapesInTurnKeepTheirOwnColumnTables) {
  // More shapes in rotation than tables are kept, each drawn again from other cells.
  OnEveryPath([] {
    std::mt19937 rng(14);
    Surface sheet = Noise(300, 200, rng);
    struct { int dw, dh, sw, sh; } shapes[] = {{96, 44, 64, 32}, {58, 64, 64, 64}, {-40, 30, 20, 30},
                                               {17, 9, 50, 20},  {64, 20, 63, 20}, {33, 33, -33, 11}};
    Surface d = Noise(400, 300, rng), want = d;
    for (int t = 0; t < 72; ++t) {
      const auto& s = shapes[t % 6];
      const int dx = static_cast<int>(rng() % 420) - 40, dy = static_cast<int>(rng() % 320) - 30;
      const int sx = 40 + static_cast<int>(rng() % 180), sy = 40 + static_cast<int>(rng() % 100);
      const Rop rop = kRops[rng() % 4];
      RefStretch(want, dx, dy, s.dw, s.dh, sheet, sx, sy, s.sw, s.sh, rop);
      StretchBlit(d, dx, dy, s.dw, s.dh, sheet, sx, sy, s.sw, s.sh, rop);
      ASSERT_EQ(d.pixels, want.pixels) << "case " << t;
    }
  });
}

TEST(Raster, StretchesOfOneShapeOnAndOffTheSourceAgreeWithReference) {
  // One shape drawn again and again from cells that lie wholly on the sheet and from cells
  // that run off it at any edge, so that kept tables serve some calls and not others;
  // every raster operation, every mirroring, and pixels whose top byte is not 0.
  OnEveryPath([] {
    std::mt19937 rng(17);
    Surface sheet = Noise(200, 120, rng);
    for (Colour& p : sheet.pixels) p |= (rng() & 0xFFu) << 24;
    struct { int dw, dh, sw, sh; } shapes[] = {{96, 44, 64, 32}, {58, 64, 64, 64}, {40, 25, 24, 10},
                                               {-96, 44, 64, 32}, {58, -70, 64, 64}, {31, 17, -37, -9}};
    for (const auto& s : shapes) {
      Surface d = Noise(320, 200, rng);
      for (Colour& p : d.pixels) p |= (rng() & 0xFFu) << 24;
      Surface want = d;
      for (int t = 0; t < 40; ++t) {
        const bool off = t % 3 == 0;
        const int sx = off ? static_cast<int>(rng() % 300) - 80 : 70 + static_cast<int>(rng() % 40);
        const int sy = off ? static_cast<int>(rng() % 200) - 70 : 70 + static_cast<int>(rng() % 20);
        const int dx = static_cast<int>(rng() % 360) - 60, dy = static_cast<int>(rng() % 240) - 50;
        const Rop rop = kRops[rng() % 4];
        RefStretch(want, dx, dy, s.dw, s.dh, sheet, sx, sy, s.sw, s.sh, rop);
        StretchBlit(d, dx, dy, s.dw, s.dh, sheet, sx, sy, s.sw, s.sh, rop);
        ASSERT_EQ(d.pixels, want.pixels) << s.dw << "x" << s.dh << " case " << t;
      }
    }
  });
}

TEST(Raster, StretchesOfMoreShapesThanTablesAllocateNothingOnceSeen) {
  // Ten shapes in turn, more than there are kept tables, so each pass moves shapes between
  // tables; the second pass must neither allocate nor draw differently from the reference.
  OnEveryPath([] {
    std::mt19937 rng(19);
    Surface sheet = Noise(260, 200, rng), d = Noise(300, 200, rng), want = d;
    long before = 0;
    for (int pass = 0; pass < 2; ++pass) {
      if (pass == 1) before = alloc_counter::Allocations();
      for (int t = 0; t < 10; ++t) {
        const int dw = 20 + 23 * t, dh = 10 + 9 * t, sw = 30 + 7 * (t % 4), sh = 12 + 5 * (t % 3);
        RefStretch(want, 5 * t - 20, 7 * t - 10, dw, dh, sheet, 3 * t, 2 * t, sw, sh, Rop::And);
        StretchBlit(d, 5 * t - 20, 7 * t - 10, dw, dh, sheet, 3 * t, 2 * t, sw, sh, Rop::And);
      }
    }
    EXPECT_EQ(alloc_counter::Allocations(), before);
    EXPECT_EQ(d.pixels, want.pixels);
  });
}

TEST(Raster, ColumnsEqualOnePixelTransfersAtEveryEdge) {
  OnEveryPath([] {
    std::mt19937 rng(14);
    Surface src = Noise(40, 30, rng);
    std::vector<int> cols(60);
    for (int t = 0; t < 600; ++t) {
      Surface d = Noise(1 + rng() % 50, 1 + rng() % 35, rng);
      const int n = static_cast<int>(rng() % 60);
      const bool wild = t % 3 == 0;  // some columns off the source
      for (int& c : cols) c = wild ? static_cast<int>(rng() % 60) - 10 : static_cast<int>(rng() % 40);
      const int h = static_cast<int>(rng() % 45);
      const int dx = static_cast<int>(rng() % 70) - 30, dy = static_cast<int>(rng() % 50) - 20;
      const int sy = static_cast<int>(rng() % 40) - 10;
      const Rop rop = kRops[rng() % 4];
      Surface want = d;
      for (int i = 0; i < n; ++i) RefBlit(want, dx + i, dy, 1, h, src, cols[i], sy, rop);
      BlitColumns(d, dx, dy, h, src, cols.data(), n, sy, rop);
      ASSERT_EQ(d.pixels, want.pixels) << "case " << t;
    }
    // Within one surface, later columns read what earlier ones wrote.
    Surface a = Noise(20, 10, rng), want = a;
    const int same[] = {3, 4, 5, 6, 2};
    for (int i = 0; i < 5; ++i) Blit(want, 4 + i, 1, 1, 8, want, same[i], 0, Rop::Invert);
    BlitColumns(a, 4, 1, 8, a, same, 5, 0, Rop::Invert);
    EXPECT_EQ(a.pixels, want.pixels);
  });
}

TEST(Raster, ColumnsOfTheTowerWall) {
  // 320 columns drawn twice, the second time from far above the surface.
  OnEveryPath([] {
    std::mt19937 rng(15);
    Surface tex = Noise(320, 480, rng), d = Noise(640, 480, rng), want = d;
    std::vector<int> cols(320);
    for (int c = 0; c < 320; ++c) cols[c] = (c * 7919) % 320;
    for (int c = 0; c < 320; ++c) {
      RefBlit(want, 160 + c, 100, 1, 480, tex, cols[c], 0, Rop::Copy);
      RefBlit(want, 160 + c, -380, 1, 480, tex, cols[c], 0, Rop::Copy);
    }
    BlitColumns(d, 160, 100, 480, tex, cols.data(), 320, 0, Rop::Copy);
    BlitColumns(d, 160, -380, 480, tex, cols.data(), 320, 0, Rop::Copy);
    EXPECT_EQ(d.pixels, want.pixels);
  });
}

TEST(Raster, ColumnsThatAdvanceSlowlyOrRepeatUnderEveryOperation) {
  // Walls whose source columns climb a few at a time or repeat (gathered in windows by the
  // wide path), clipped at every edge, with each raster operation.
  OnEveryPath([] {
    std::mt19937 rng(18);
    Surface tex = Noise(120, 60, rng);
    std::vector<int> cols(150);
    for (int t = 0; t < 200; ++t) {
      const int step = 1 + static_cast<int>(rng() % 12), start = static_cast<int>(rng() % 40);
      const int n = 1 + static_cast<int>(rng() % 150);
      for (int i = 0; i < n; ++i) cols[i] = std::min(119, start + i * step / 8);
      if (t % 2) std::reverse(cols.begin(), cols.begin() + n);
      Surface d = Noise(160, 50, rng), want = d;
      const int dx = static_cast<int>(rng() % 200) - 60, dy = static_cast<int>(rng() % 60) - 20;
      const int h = 1 + static_cast<int>(rng() % 60), sy = static_cast<int>(rng() % 20) - 5;
      const Rop rop = kRops[t % 4];
      for (int i = 0; i < n; ++i) RefBlit(want, dx + i, dy, 1, h, tex, cols[i], sy, rop);
      BlitColumns(d, dx, dy, h, tex, cols.data(), n, sy, rop);
      ASSERT_EQ(d.pixels, want.pixels) << "case " << t;
    }
  });
}

TEST(Raster, MaskedTransferEqualsAndThenInvert) {
  // Mask and image bands of one surface, the image band often running off its bottom.
  OnEveryPath([] {
    std::mt19937 rng(17);
    for (int t = 0; t < 300; ++t) {
      Surface d = Noise(1 + rng() % 80, 1 + rng() % 60, rng), want = d;
      const Surface bands = Noise(1 + rng() % 90, 1 + rng() % 120, rng);
      const int w = rng() % 90, h = rng() % 80;
      const int dx = static_cast<int>(rng() % 100) - 20, dy = static_cast<int>(rng() % 80) - 20;
      const int sx = static_cast<int>(rng() % 30) - 10, maskY = static_cast<int>(rng() % 60) - 5;
      const int imageY = static_cast<int>(rng() % 130) - 5;
      RefBlit(want, dx, dy, w, h, bands, sx, maskY, Rop::And);
      RefBlit(want, dx, dy, w, h, bands, sx, imageY, Rop::Invert);
      BlitMasked(d, dx, dy, w, h, bands, sx, maskY, imageY);
      ASSERT_EQ(d.pixels, want.pixels) << "case " << t;
    }
  });
}

// Bands like a masked text's: blocks of one mask and image pair (a glyph's ink), white
// mask over black image (nothing changes), lone pixels and noise, in runs of every length.
Surface TextLikeBands(int w, int h, std::mt19937& rng) {
  Surface s;
  s.Create(w, h);
  const Colour pairs[][2] = {{0, 0xFFFFFF}, {0, 0x123456}, {0x0F0F0F, 0xF0F0F0}, {0xFFFFFF, 0}, {0xFF00FF, 0}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w;) {
      const int kind = static_cast<int>(rng() % 8), len = 1 + static_cast<int>(rng() % (rng() % 2 ? 4 : 40));
      for (int i = x; i < std::min(w, x + len); ++i)
        s.Row(y)[i] = kind < 5 ? pairs[kind][y % 2] : kind < 7 ? 0xFFFFFF * (y % 2 == 0) : rng() & 0xFFFFFF;
      x += len;
    }
  // Whole rows of the mask white and the image black.
  for (int y = 0; y + 1 < h; y += 2)
    if (rng() % 4 == 0)
      for (int x = 0; x < w; ++x) s.Row(y)[x] = 0xFFFFFF, s.Row(y + 1)[x] = 0;
  return s;
}

TEST(Raster, PackedMaskedTransferEqualsTheMaskedOne) {
  // Masks on even rows and images on odd ones (or the other way round, or running off the
  // band's edges), packed once into a reused store and drawn at many places, partly off
  // the target.
  OnEveryPath([] {
    std::mt19937 rng(19);
    PackedMask packed;
    for (int t = 0; t < 400; ++t) {
      const Surface bands = TextLikeBands(1 + rng() % 120, 2 + rng() % 100, rng);
      const int w = static_cast<int>(rng() % 130) - 5, h = static_cast<int>(rng() % 70) - 5;
      const int sx = static_cast<int>(rng() % 30) - 10;
      const int maskY = static_cast<int>(rng() % 50) - 5, imageY = maskY + 2 * static_cast<int>(rng() % 40) - 39;
      PackMasked(packed, bands, sx, maskY, imageY, w, h);
      for (int place = 0; place < 3; ++place) {
        Surface d = Noise(1 + rng() % 140, 1 + rng() % 80, rng), want = d, masked = d;
        const int dx = static_cast<int>(rng() % 160) - 30, dy = static_cast<int>(rng() % 100) - 30;
        RefBlit(want, dx, dy, w, h, bands, sx, maskY, Rop::And);
        RefBlit(want, dx, dy, w, h, bands, sx, imageY, Rop::Invert);
        BlitMasked(masked, dx, dy, w, h, bands, sx, maskY, imageY);
        BlitPacked(d, dx, dy, packed);
        ASSERT_EQ(d.pixels, want.pixels) << "case " << t << " place " << place;
        ASSERT_EQ(masked.pixels, want.pixels) << "case " << t << " place " << place;
      }
    }
  });
}

TEST(Raster, PackedTextOfOneColourKeepsNoLiteralPixels) {
  // A glyph of one colour on white becomes runs of one pair, and only where the ink is.
  Surface bands;
  bands.Create(64, 4);
  FillRect(bands, 0, 0, 64, 4, 0xFFFFFF);
  FillRect(bands, 10, 0, 30, 1, 0);         // ink in the mask
  FillRect(bands, 0, 2, 64, 4, 0);          // image rows black...
  FillRect(bands, 10, 2, 30, 3, 0x00FF00);  // ...but for the ink
  PackedMask p;
  PackMasked(p, bands, 0, 0, 2, 64, 2);
  ASSERT_EQ(p.runs.size(), 1u);
  EXPECT_EQ(p.runs[0].x, 10);
  EXPECT_EQ(p.runs[0].n, 20);
  EXPECT_TRUE(p.lits.empty());
}

TEST(Raster, PackingAgainIntoTheSameStoreAllocatesNothing) {
  // A store that once held a transfer keeps room for any other no larger, whatever its
  // pixels.
  std::mt19937 rng(20);
  PackedMask p;
  PackMasked(p, TextLikeBands(100, 60, rng), 0, 0, 30, 100, 30);
  std::vector<Surface> sources;
  for (int i = 0; i < 20; ++i) sources.push_back(TextLikeBands(100, 60, rng));
  sources.push_back(Noise(100, 60, rng));
  const long before = alloc_counter::Allocations();
  for (const Surface& s : sources) PackMasked(p, s, static_cast<int>(rng() % 5), 0, 30, 100, 30);
  EXPECT_EQ(alloc_counter::Allocations(), before);
}

TEST(Raster, SinglePixelsAreClipped) {
  Surface s;
  s.Create(5, 4);
  const int xs[] = {-1, 0, 4, 5, INT32_MIN, INT32_MAX};
  const int ys[] = {-1, 0, 3, 4, INT32_MIN, INT32_MAX};
  for (int x : xs)
    for (int y : ys) SetPixel(s, x, y, 0xFF123456);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const bool corner = (x == 0 || x == 4) && (y == 0 || y == 3);
      EXPECT_EQ(s.At(x, y), corner ? 0x123456u : 0u) << x << "," << y;
    }
}

TEST(Raster, FillsMatchReference) {
  OnEveryPath([] {
    std::mt19937 rng(16);
    for (int t = 0; t < 300; ++t) {
      Surface s = Noise(1 + rng() % 60, 1 + rng() % 30, rng), want = s;
      const int l = static_cast<int>(rng() % 80) - 10, r = static_cast<int>(rng() % 80) - 10;
      const int tp = static_cast<int>(rng() % 40) - 5, b = static_cast<int>(rng() % 40) - 5;
      const Colour c = rng();
      for (int y = std::max(0, std::min(tp, b)); y < std::min(want.height, std::max(tp, b)); ++y)
        for (int x = std::max(0, std::min(l, r)); x < std::min(want.width, std::max(l, r)); ++x)
          want.Row(y)[x] = c & 0xFFFFFF;
      FillRect(s, l, tp, r, b, c);
      ASSERT_EQ(s.pixels, want.pixels) << "case " << t;
    }
  });
}

}  // namespace
}  // namespace plat
