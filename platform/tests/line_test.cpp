// Lines drawn by runs against a plain walk that sets one pixel per step along the longer
// axis, on every CPU path: exhaustively on a small grid (every direction, zero length, one
// pixel, clipping at each edge), on random lines near, across and far outside surfaces,
// and on long shallow lines whose runs span many vector stores.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>

#include "platform/surface.h"
#include "platform/tests/row_paths.h"

namespace plat {
namespace {

// The old stepping: from the end with the smaller major coordinate, the minor coordinate
// kept as a remainder over 2 da (halves rounded up), one pixel per step; the end point
// (x2, y2) left out; pixels off the surface skipped. Walks only the columns that can land
// on the surface.
void WalkLine(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
  c &= 0xFFFFFF;
  const int64_t adx = std::llabs(int64_t{x2} - x1), ady = std::llabs(int64_t{y2} - y1);
  if (adx == 0 && ady == 0) return;
  const bool xMajor = adx >= ady;
  int64_t a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1, a2 = xMajor ? x2 : y2, b2 = xMajor ? y2 : x2;
  const int64_t skip = a2;
  if (a1 > a2) {
    std::swap(a1, a2);
    std::swap(b1, b2);
  }
  const int64_t da = a2 - a1, db = b2 - b1, limit = xMajor ? s.width : s.height;
  const int64_t from = std::max<int64_t>(a1, 0), to = std::min<int64_t>(a2, limit - 1);
  if (from > to) return;
  __extension__ using Wide = __int128;
  // minor and remainder at column `from`, then one step per column.
  const Wide num = Wide{from - a1} * (2 * db) + da, den = 2 * da;
  Wide q = num / den, rem = num % den;
  if (rem < 0) {
    rem += den;
    --q;
  }
  int64_t minor = b1 + static_cast<int64_t>(q);
  for (int64_t a = from; a <= to; ++a) {
    const int64_t x = xMajor ? a : minor, y = xMajor ? minor : a;
    if (a != skip && x >= 0 && y >= 0 && x < s.width && y < s.height) s.Row(static_cast<int>(y))[x] = c;
    rem += 2 * db;
    if (rem >= den) {
      rem -= den;
      ++minor;
    } else if (rem < 0) {
      rem += den;
      --minor;
    }
  }
}

// Draws onto a surface already holding other colours, so a store past a run shows.
void Expect(Surface& fast, Surface& ref, int x1, int y1, int x2, int y2, Colour c) {
  DrawLineTo(fast, x1, y1, x2, y2, c);
  WalkLine(ref, x1, y1, x2, y2, c);
  ASSERT_EQ(fast.pixels, ref.pixels) << x1 << "," << y1 << " -> " << x2 << "," << y2 << " on " << fast.width
                                     << "x" << fast.height;
}

TEST(LineRuns, EveryLineOnASmallGrid) {
  // Both ends anywhere from three pixels outside to three past a 9 x 7 surface: every
  // direction and slope, zero length, single pixels, each edge and corner crossed.
  OnEveryPath([] {
    Surface fast, ref;
    fast.Create(9, 7);
    ref.Create(9, 7);
    Colour c = 1;
    for (int x1 = -3; x1 <= 11; ++x1)
      for (int y1 = -3; y1 <= 9; ++y1)
        for (int x2 = -3; x2 <= 11; ++x2)
          for (int y2 = -3; y2 <= 9; ++y2) {
            c = c * 1103515245u + 12345u;
            Expect(fast, ref, x1, y1, x2, y2, c);
            if (HasFatalFailure()) return;
          }
  });
}

TEST(LineRuns, RandomLinesNearAcrossAndFarOutside) {
  OnEveryPath([] {
    std::mt19937 rng(5);
    const auto in = [&](int64_t lo, int64_t hi) {
      return static_cast<int>(lo + static_cast<int64_t>(rng() % static_cast<uint64_t>(hi - lo + 1)));
    };
    Surface fast, ref;
    for (int i = 0; i < 6000; ++i) {
      const int w = in(1, 200), h = in(1, 120);
      fast.Create(w, h);
      ref.Create(w, h);
      const int reach = i % 7 == 0 ? INT_MAX / 2 : (i % 3 == 0 ? 600 : 250);
      for (int j = 0; j < 6; ++j) {
        const int x1 = in(-reach, reach), y1 = in(-reach, reach);
        int x2 = in(-reach, reach), y2 = in(-reach, reach);
        if (j % 2 == 0) y2 = y1 + in(-20, 20);  // shallow, like most strokes
        if (j == 5) x2 = x1 + in(-3, 3);        // steep
        Expect(fast, ref, x1, y1, x2, y2, static_cast<Colour>(rng()));
        if (HasFatalFailure()) return;
      }
    }
  });
}

TEST(LineRuns, LongShallowLinesAndRunsOfEveryLength) {
  // Runs from one pixel to past a hundred (one to many eight-pixel stores), lines longer
  // than the surface by far, and ones long enough to need the wide arithmetic.
  OnEveryPath([] {
    Surface fast, ref;
    fast.Create(300, 40);
    ref.Create(300, 40);
    Colour c = 7;
    for (int rise = 1; rise <= 40; ++rise)
      for (int len : {rise, rise + 1, 8 * rise - 1, 8 * rise, 8 * rise + 1, 17 * rise + 3, 299, 300, 301}) {
        for (int x1 : {-5, 0, 3}) {
          c += 0x10203;
          Expect(fast, ref, x1, 1, x1 + len, 1 + rise, c);
          Expect(fast, ref, x1 + len, 38 - rise, x1, 38, c ^ 0xFF);
          Expect(fast, ref, x1, 20 + rise / 2, x1 + len, 20 - rise / 2, c ^ 0xFF00);
          if (HasFatalFailure()) return;
        }
      }
    const int big = 1 << 24;
    for (int da : {big - 1, big, big + 1, INT_MAX})
      for (int db : {1, 3, 39, 1 << 20}) {
        Expect(fast, ref, -da / 2, 0, da - da / 2, db % 40, ++c);
        Expect(fast, ref, 299, 39, 299 - da, 39 - db, ++c);
        if (HasFatalFailure()) return;
      }
  });
}

TEST(LineRuns, SteepestShallowSlopesOnATallSurface) {
  // Rises up to past a thousand rows, over as many columns or up to 2^15 and beyond, all
  // on the surface: run ends come from a reciprocal of the rise, which must give the exact
  // quotient for every numerator these lines reach.
  OnEveryPath([] {
    Surface fast, ref;
    fast.Create(1100, 1060);
    ref.Create(1100, 1060);
    Colour c = 11;
    for (int rise : {1, 2, 3, 7, 100, 511, 512, 513, 1000, 1021, 1022, 1023, 1024, 1025, 1050}) {
      for (int run : {rise, rise + 1, 2 * rise - 1, 2 * rise, 3 * rise + 1, 32766, 32767, 32768, 40000}) {
        c = c * 69069u + 7u;
        const int x = run > 1100 ? 1099 - run / 2 : 0;  // long ones cross the surface
        const int y = 5 + (rise > 1050 ? 0 : (1050 - rise) / 2);
        Expect(fast, ref, x, y, x + run, y + rise, c);
        Expect(fast, ref, x + run, y, x, y + rise, c ^ 0xFFFF);
        if (HasFatalFailure()) return;
      }
    }
  });
}

TEST(LineRuns, RowsLeavingAndEnteringTheSurface) {
  // Shallow lines crossing the top or bottom edge on the way: the runs off the surface
  // are skipped, the ones on it drawn, in both directions.
  OnEveryPath([] {
    Surface fast, ref;
    fast.Create(64, 10);
    ref.Create(64, 10);
    Colour c = 3;
    for (int y1 = -12; y1 <= 22; ++y1)
      for (int y2 = -12; y2 <= 22; y2 += 3)
        for (int x1 : {-40, -1, 0, 5}) {
          c = c * 69069u + 1u;
          Expect(fast, ref, x1, y1, x1 + 100, y2, c);
          Expect(fast, ref, x1 + 100, y1, x1, y2, c + 1);
          if (HasFatalFailure()) return;
        }
  });
}

}  // namespace
}  // namespace plat
