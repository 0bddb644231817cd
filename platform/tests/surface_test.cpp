// Pixel tests of the software surfaces: raster operations, clipping, stretching,
// rectangles, ellipses and lines.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <utility>

#include "platform/surface.h"

namespace plat {
namespace {

// A surface whose pixel (x, y) holds a distinct colour from base.
Surface Pattern(int w, int h, Colour base) {
  Surface s;
  s.Create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.Row(y)[x] = (base + static_cast<Colour>(y * 4099 + x * 77)) & 0xFFFFFF;
  return s;
}

Colour Ref(Rop rop, Colour d, Colour s) {
  switch (rop) {
    case Rop::Copy: return s;
    case Rop::And: return d & s;
    case Rop::Invert: return d ^ s;
    case Rop::NotCopy: return ~s & 0xFFFFFF;
  }
  return d;
}

// Straightforward per-pixel block transfer for comparison; w and h are small.
void RefBlit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const int x = dx + i, y = dy + j, u = sx + i, v = sy + j;
      if (x < 0 || y < 0 || x >= dst.width || y >= dst.height) continue;
      if (u < 0 || v < 0 || u >= src.width || v >= src.height) continue;
      dst.Row(y)[x] = Ref(rop, dst.Row(y)[x], src.Row(v)[u]);
    }
}

int Count(const Surface& s, Colour c) {
  int n = 0;
  for (Colour p : s.pixels) n += p == c;
  return n;
}

TEST(Surface, CreateAndAt) {
  Surface s;
  s.Create(3, 2);
  EXPECT_EQ(s.width, 3);
  EXPECT_EQ(s.height, 2);
  EXPECT_EQ(s.pixels.size(), 6u);
  EXPECT_EQ(Count(s, 0), 6);
  s.Row(1)[2] = 0x123456;
  EXPECT_EQ(s.At(2, 1), 0x123456u);
  EXPECT_EQ(s.At(3, 1), 0u);
  EXPECT_EQ(s.At(-1, 0), 0u);
  EXPECT_EQ(s.At(0, INT_MIN), 0u);
  s.Create(0, 5);
  EXPECT_EQ(s.width, 0);
  EXPECT_TRUE(s.pixels.empty());
  s.Create(4, -1);
  EXPECT_EQ(s.height, 0);
}

TEST(Blit, RasterOpsPixelForPixel) {
  const Colour dvals[] = {0x000000, 0xFFFFFF, 0x123456, 0xF0F0F0, 0x0F0F0F};
  const Colour svals[] = {0x000000, 0xFFFFFF, 0xABCDEF, 0x00FF00, 0x808080};
  for (Rop rop : {Rop::Copy, Rop::And, Rop::Invert, Rop::NotCopy}) {
    Surface d, s;
    d.Create(5, 5);
    s.Create(5, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) {
        d.Row(y)[x] = dvals[x];
        s.Row(y)[x] = svals[y];
      }
    const Surface before = d;
    Blit(d, 0, 0, 5, 5, s, 0, 0, rop);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(d.At(x, y), Ref(rop, before.At(x, y), s.At(x, y)))
            << "rop " << static_cast<int>(rop) << " at " << x << "," << y;
        EXPECT_EQ(d.At(x, y) >> 24, 0u);
      }
  }
}

TEST(Blit, WideRowsMatchPerPixelReference) {
  // Rows long enough for the four-pixel inner loop plus a ragged end.
  for (Rop rop : {Rop::Copy, Rop::And, Rop::Invert, Rop::NotCopy}) {
    Surface d = Pattern(37, 9, 0x10203), s = Pattern(41, 11, 0x7A5F00);
    Surface expect = d;
    Blit(d, 1, 2, 35, 6, s, 3, 1, rop);
    RefBlit(expect, 1, 2, 35, 6, s, 3, 1, rop);
    EXPECT_EQ(d.pixels, expect.pixels) << static_cast<int>(rop);
  }
}

TEST(Blit, ClipsAtEveryEdge) {
  const Surface src = Pattern(7, 5, 0x345678);
  for (Rop rop : {Rop::Copy, Rop::Invert}) {
    for (int dx = -9; dx <= 9; dx += 3)
      for (int dy = -7; dy <= 7; dy += 2)
        for (int sx = -4; sx <= 8; sx += 4)
          for (int sy = -3; sy <= 6; sy += 3)
            for (int w : {1, 4, 12})
              for (int h : {2, 9}) {
                Surface d = Pattern(6, 8, 0x111111), expect = d;
                Blit(d, dx, dy, w, h, src, sx, sy, rop);
                RefBlit(expect, dx, dy, w, h, src, sx, sy, rop);
                ASSERT_EQ(d.pixels, expect.pixels)
                    << dx << "," << dy << " " << w << "x" << h << " from " << sx << "," << sy;
              }
  }
}

TEST(Blit, ExtremeCoordinatesTouchNothingOutside) {
  const Surface src = Pattern(8, 8, 0x400000);
  Surface d = Pattern(8, 8, 0x000033);
  const Surface before = d;
  const int ext[] = {INT_MIN, INT_MIN + 1, -1000000000, 1000000000, INT_MAX - 1, INT_MAX};
  for (int a : ext)
    for (int b : ext) {
      Blit(d, a, 0, 8, 8, src, 0, 0, Rop::Copy);
      Blit(d, 0, a, 8, 8, src, 0, b, Rop::Copy);
      Blit(d, 0, 0, 8, 8, src, a, b, Rop::Copy);
      Blit(d, a, b, INT_MAX, INT_MAX, src, 0, 0, Rop::Copy);
    }
  EXPECT_EQ(d.pixels, before.pixels);
  Blit(d, 0, 0, 8, 8, src, 0, 0, Rop::Copy);
  Surface all = before;
  Blit(all, 0, 0, INT_MAX, INT_MAX, src, 0, 0, Rop::Copy);  // size cut to the surfaces
  EXPECT_EQ(all.pixels, src.pixels);
  Blit(all, INT_MIN, INT_MIN, INT_MAX, INT_MAX, src, 0, 0, Rop::NotCopy);  // nothing reaches
  EXPECT_EQ(all.pixels, src.pixels);
  Blit(all, 0, 0, -5, 3, src, 0, 0, Rop::NotCopy);  // negative size does nothing
  EXPECT_EQ(all.pixels, src.pixels);
  Surface empty;
  Blit(d, 0, 0, 8, 8, empty, 0, 0, Rop::Copy);
  Blit(empty, 0, 0, 8, 8, src, 0, 0, Rop::Copy);
}

TEST(Blit, OverlappingTransferWithinOneSurface) {
  // Every direction of overlap reads the source as it was before the transfer.
  const int shifts[][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {3, 2}, {-2, -3}, {5, -1}};
  for (Rop rop : {Rop::Copy, Rop::Invert}) {
    for (const auto& sh : shifts) {
      Surface s = Pattern(20, 12, 0x050505);
      Surface expect = s;
      const Surface copy = s;
      RefBlit(expect, 4 + sh[0], 3 + sh[1], 11, 6, copy, 4, 3, rop);
      Blit(s, 4 + sh[0], 3 + sh[1], 11, 6, s, 4, 3, rop);
      EXPECT_EQ(s.pixels, expect.pixels) << sh[0] << "," << sh[1];
    }
  }
}

TEST(StretchBlit, EnlargeReplicatesAndShrinkAnds) {
  Surface src;
  src.Create(2, 2);
  src.Row(0)[0] = 0x0000FF;
  src.Row(0)[1] = 0x00FF00;
  src.Row(1)[0] = 0xFF0000;
  src.Row(1)[1] = 0xFFFFFF;
  Surface d;
  d.Create(4, 4);
  StretchBlit(d, 0, 0, 4, 4, src, 0, 0, 2, 2, Rop::Copy);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.At(x, y), src.At(x / 2, y / 2)) << x << "," << y;

  // Shrinking: the pixels that fall onto one destination pixel are ANDed.
  Surface wide;
  wide.Create(4, 2);
  const Colour row0[] = {0xFF00FF, 0x00FFFF, 0xF0F0F0, 0x3C3C3C};
  const Colour row1[] = {0xFFFFFF, 0xFFFF00, 0xFFFFFF, 0xFFFFFF};
  for (int x = 0; x < 4; ++x) {
    wide.Row(0)[x] = row0[x];
    wide.Row(1)[x] = row1[x];
  }
  Surface small;
  small.Create(2, 1);
  StretchBlit(small, 0, 0, 2, 1, wide, 0, 0, 4, 2, Rop::Copy);
  EXPECT_EQ(small.At(0, 0), 0xFF00FFu & 0x00FFFF & 0xFFFFFF & 0xFFFF00);
  EXPECT_EQ(small.At(1, 0), 0xF0F0F0u & 0x3C3C3C);

  // The operation applies to the combined source value.
  small.Row(0)[0] = 0x0F0F0F;
  StretchBlit(small, 0, 0, 1, 1, wide, 0, 0, 2, 1, Rop::Invert);
  EXPECT_EQ(small.At(0, 0), 0x0F0F0Fu ^ (0xFF00FF & 0x00FFFF));
}

TEST(StretchBlit, UnevenScalesMirrorAndClip) {
  const Surface src = Pattern(5, 3, 0x101010);
  Surface d;
  d.Create(12, 8);
  // 5 -> 12 columns: each destination column takes source column x * 5 / 12.
  StretchBlit(d, 0, 0, 12, 3, src, 0, 0, 5, 3, Rop::Copy);
  for (int x = 0; x < 12; ++x) EXPECT_EQ(d.At(x, 1), src.At(x * 5 / 12, 1)) << x;

  // A negative destination width mirrors; the rectangle then ends at the given x.
  Surface m;
  m.Create(5, 3);
  StretchBlit(m, 5, 0, -5, 3, src, 0, 0, 5, 3, Rop::Copy);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(m.At(x, 2), src.At(4 - x, 2)) << x;

  // Partly off both surfaces: visible pixels are right, nothing else changes.
  Surface c = Pattern(6, 6, 0x222222);
  const Surface before = c;
  StretchBlit(c, -4, -2, 10, 10, src, -1, 0, 5, 5, Rop::Copy);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const int u = (x + 4) * 5 / 10 - 1, v = (y + 2) * 5 / 10;
      const bool inside = u >= 0 && u < 5 && v < 3;
      EXPECT_EQ(c.At(x, y), inside ? src.At(u, v) : before.At(x, y)) << x << "," << y;
    }
  StretchBlit(c, INT_MIN, INT_MAX, INT_MAX, INT_MIN, src, INT_MAX, INT_MIN, INT_MIN, INT_MAX, Rop::And);
  StretchBlit(c, 0, 0, 1000000, 1000000, src, INT_MAX - 2, 0, 2, 2, Rop::Copy);
  StretchBlit(c, 0, 0, 6, 6, src, 0, 0, 0, 3, Rop::Copy);
}

TEST(FillRect, OldRectangleRuleAndNormalisedCorners) {
  Surface s;
  s.Create(10, 10);
  FillRect(s, 2, 3, 5, 7, 0xABCDEF);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(s.At(x, y), (x >= 2 && x < 5 && y >= 3 && y < 7) ? 0xABCDEFu : 0u) << x << "," << y;
  // Swapped corners (a negative width and height) cover the same pixels.
  Surface t;
  t.Create(10, 10);
  FillRect(t, 5, 7, 2, 3, 0xABCDEF);
  EXPECT_EQ(t.pixels, s.pixels);
  // Empty and far-away rectangles draw nothing; huge ones fill the surface.
  FillRect(t, 4, 4, 4, 9, 0x1);
  FillRect(t, INT_MIN, INT_MIN, -1, -1, 0x1);
  FillRect(t, 10, 0, INT_MAX, INT_MAX, 0x1);
  EXPECT_EQ(t.pixels, s.pixels);
  FillRect(t, INT_MAX, INT_MAX, INT_MIN, INT_MIN, 0xFFFFFFFF);
  EXPECT_EQ(Count(t, 0xFFFFFF), 100);  // the top byte never reaches a surface
}

TEST(FillEllipse, StaysInBoxAndIsSymmetric) {
  const int boxes[][4] = {{2, 3, 12, 13}, {0, 0, 7, 4}, {1, 1, 2, 2}, {5, 2, 25, 9}, {3, 3, 6, 20}};
  for (const auto& b : boxes) {
    Surface s;
    s.Create(30, 24);
    FillEllipse(s, b[0], b[1], b[2], b[3], 0x00FF00);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x)
        if (s.At(x, y) != 0) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
          minY = std::min(minY, y);
          maxY = std::max(maxY, y);
          // Mirror images across the box's centre lines are set too.
          EXPECT_EQ(s.At(b[0] + b[2] - 1 - x, y), 0x00FF00u);
          EXPECT_EQ(s.At(x, b[1] + b[3] - 1 - y), 0x00FF00u);
        }
    // Touches all four sides of the box, with right and bottom excluded.
    EXPECT_EQ(minX, b[0]);
    EXPECT_EQ(maxX, b[2] - 1);
    EXPECT_EQ(minY, b[1]);
    EXPECT_EQ(maxY, b[3] - 1);
  }
}

TEST(FillEllipse, RadiusFiveCircleIsRound) {
  Surface s;
  s.Create(20, 20);
  FillEllipse(s, 5, 5, 15, 15, 0xFFFFFF);
  // Row widths grow to the middle and shrink again, the same across the diagonal.
  int prev = 0, area = 0;
  for (int y = 5; y < 15; ++y) {
    int w = 0, h = 0;
    for (int x = 0; x < 20; ++x) {
      w += s.At(x, y) != 0;
      h += s.At(y, x) != 0;
    }
    EXPECT_EQ(w, h) << y;
    if (y < 10) {
      EXPECT_GE(w, prev);
    }
    EXPECT_GE(w, 4);
    prev = w;
    area += w;
  }
  EXPECT_NEAR(area, 78.5, 8);  // pi r^2
  EXPECT_EQ(s.At(5, 5), 0u);   // corners stay empty
  EXPECT_EQ(s.At(14, 14), 0u);
  // Clipped and degenerate boxes are safe.
  FillEllipse(s, -1000000000, -5, 1000000000, 5, 0x1);
  FillEllipse(s, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0x2);
  FillEllipse(s, 3, 3, 3, 9, 0x3);
  EXPECT_EQ(Count(s, 3), 0);
}

std::set<std::pair<int, int>> LinePixels(int x1, int y1, int x2, int y2) {
  Surface s;
  s.Create(40, 40);
  DrawLineTo(s, x1, y1, x2, y2, 0xFFFFFF);
  std::set<std::pair<int, int>> p;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (s.At(x, y) != 0) p.insert({x, y});
  return p;
}

TEST(DrawLineTo, EndPointExcludedAndDirectionIndependent) {
  const int lines[][4] = {{2, 3, 30, 3},  {5, 5, 5, 20},   {1, 1, 20, 20}, {3, 30, 33, 21},
                          {10, 2, 14, 35}, {0, 0, 39, 1},  {7, 7, 8, 9},   {30, 5, 2, 17}};
  for (const auto& l : lines) {
    auto fwd = LinePixels(l[0], l[1], l[2], l[3]);
    auto back = LinePixels(l[2], l[3], l[0], l[1]);
    const int steps = std::max(std::abs(l[2] - l[0]), std::abs(l[3] - l[1]));
    EXPECT_EQ(static_cast<int>(fwd.size()), steps);
    EXPECT_TRUE(fwd.count({l[0], l[1]}));
    EXPECT_FALSE(fwd.count({l[2], l[3]}));
    EXPECT_TRUE(back.count({l[2], l[3]}));
    EXPECT_FALSE(back.count({l[0], l[1]}));
    // Apart from the end points, both directions cover the same pixels.
    fwd.erase({l[0], l[1]});
    back.erase({l[2], l[3]});
    EXPECT_EQ(fwd, back) << l[0] << "," << l[1] << " " << l[2] << "," << l[3];
    // Connected: one pixel per step along the longer axis.
    for (const auto& p : fwd) {
      int near = 0;
      for (const auto& q : fwd) near += std::max(std::abs(p.first - q.first), std::abs(p.second - q.second)) == 1;
      EXPECT_GE(near, fwd.size() > 1 ? 1 : 0);
    }
  }
  EXPECT_TRUE(LinePixels(4, 4, 4, 4).empty());
  EXPECT_EQ(LinePixels(4, 4, 5, 4), (std::set<std::pair<int, int>>{{4, 4}}));
}

// The pixels of a line by their definition, one at a time: along the longer axis from the
// end with the smaller coordinate, the other coordinate rounded halves up; the end point
// (x2, y2) left out; clipped to the surface.
void ReferenceLine(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
  const int64_t adx = std::llabs(int64_t{x2} - x1), ady = std::llabs(int64_t{y2} - y1);
  if (adx == 0 && ady == 0) return;
  const bool xMajor = adx >= ady;
  int64_t a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1, a2 = xMajor ? x2 : y2, b2 = xMajor ? y2 : x2;
  const int64_t skip = a2;  // the end point's major coordinate
  if (a1 > a2) {
    std::swap(a1, a2);
    std::swap(b1, b2);
  }
  const int64_t da = a2 - a1, db = b2 - b1;
  const int64_t from = std::max<int64_t>(a1, -1), to = std::min<int64_t>(a2, 2000);
  for (int64_t a = from; a <= to; ++a) {
    if (a == skip) continue;
    __extension__ using Wide = __int128;
    const Wide num = Wide{a - a1} * (2 * db) + da, den = 2 * da;
    Wide q = num / den;
    if (num % den < 0) --q;
    const int64_t b = b1 + static_cast<int64_t>(q);
    const int64_t x = xMajor ? a : b, y = xMajor ? b : a;
    if (x >= 0 && y >= 0 && x < s.width && y < s.height) s.Row(static_cast<int>(y))[x] = c;
  }
}

TEST(DrawLineTo, MatchesTheReferenceOnRandomLinesOfEveryKind) {
  uint64_t seed = 88172645463325252ull;
  auto next = [&](int64_t lo, int64_t hi) {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    return static_cast<int>(lo + static_cast<int64_t>(seed % static_cast<uint64_t>(hi - lo + 1)));
  };
  Surface fast, ref;
  for (int i = 0; i < 20000; ++i) {
    const int w = next(1, 90), h = next(1, 70);
    fast.Create(w, h);
    ref.Create(w, h);
    // Mostly lines near the surface, some far out, some with huge coordinates.
    const int reach = i % 10 == 0 ? 1 << 30 : (i % 3 == 0 ? 400 : 120);
    const int x1 = next(-reach, reach), y1 = next(-reach, reach);
    int x2 = next(-reach, reach), y2 = next(-reach, reach);
    if (i % 4 == 0) y2 = y1 + next(-20, 20);  // shallow, like most strokes of the games
    const Colour c = static_cast<Colour>(next(1, 0xFFFFFF));
    DrawLineTo(fast, x1, y1, x2, y2, c);
    ReferenceLine(ref, x1, y1, x2, y2, c);
    ASSERT_EQ(fast.pixels, ref.pixels) << x1 << "," << y1 << " " << x2 << "," << y2 << " on " << w << "x" << h;
  }
}

TEST(DrawLineTo, HugeCoordinatesAreClipped) {
  Surface s;
  s.Create(16, 8);
  DrawLineTo(s, INT_MIN, 5, INT_MAX, 5, 0xFF);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(s.At(x, 5), 0xFFu);
  EXPECT_EQ(Count(s, 0xFF), 16);
  DrawLineTo(s, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0xFF00);  // the main diagonal
  for (int i = 0; i < 8; ++i) EXPECT_EQ(s.At(i, i), 0xFF00u) << i;
  DrawLineTo(s, 3, INT_MAX, 3, INT_MIN, 0x1);
  DrawLineTo(s, -50, -50, -10, 100, 0x2);
  EXPECT_EQ(Count(s, 0x2), 0);
}

TEST(DrawLineTo, AxisLinesMatchAUnitStepWalk) {
  // Horizontal and vertical lines take a span path. The reference walks from the start
  // point toward the end point one pixel per step, leaving the end point out.
  uint32_t seed = 99;
  const auto next = [&](int lo, int hi) {
    seed = seed * 1103515245u + 12345u;
    return lo + static_cast<int>((seed >> 8) % static_cast<uint32_t>(hi - lo + 1));
  };
  Surface fast, ref;
  fast.Create(23, 17);
  ref.Create(23, 17);
  for (int i = 0; i < 4000; ++i) {
    const int a = next(-30, 50), b = next(-30, 50), fixed = next(-5, 27);
    const bool horizontal = next(0, 1) == 0;
    const Colour c = static_cast<Colour>(next(1, 0xFFFFFF));
    const int x1 = horizontal ? a : fixed, y1 = horizontal ? fixed : a;
    const int x2 = horizontal ? b : fixed, y2 = horizontal ? fixed : b;
    DrawLineTo(fast, x1, y1, x2, y2, c);
    for (int p = a; p != b; p += b > a ? 1 : -1) {
      const int x = horizontal ? p : fixed, y = horizontal ? fixed : p;
      if (x >= 0 && x < ref.width && y >= 0 && y < ref.height) ref.Row(y)[x] = c;
    }
    ASSERT_EQ(fast.pixels, ref.pixels) << x1 << "," << y1 << " " << x2 << "," << y2;
  }
}

}  // namespace
}  // namespace plat
