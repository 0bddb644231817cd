// One-pixel lines. A line's pixels follow the longer axis (the major one) from the end
// with the smaller major coordinate; the other (minor) coordinate is the exact line's,
// rounded halves up; the end point (x2, y2) is left out. Mostly horizontal lines are drawn
// as horizontal runs found arithmetically, so the pixels cost wide stores rather than a
// step each; everything is clipped in 64-bit arithmetic first, so no coordinate, however
// large, makes a store land outside the surface.
#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "../surface.h"

namespace plat {

namespace {

constexpr Colour kMask = 0xFFFFFF;

using Quad = uint32_t __attribute__((vector_size(16)));

inline void Store4(Colour* d, Quad v) { std::memcpy(d, &v, sizeof v); }

// n >= 1 pixels of one colour. The last store overlaps the ones before it instead of a
// tail loop, so the runs of one line (lengths within one of each other) take the same
// branches each time and the branch predictor keeps up.
inline void FillRun(Colour* d, int64_t n, Quad v, Colour c) {
  if (n >= 8) {
    Colour* const last = d + n - 8;
    for (Colour* p = d; p < last; p += 8) {
      Store4(p, v);
      Store4(p + 4, v);
    }
    Store4(last, v);
    Store4(last + 4, v);
  } else if (n >= 4) {
    Store4(d, v);
    Store4(d + n - 4, v);
  } else {
    d[0] = c;
    d[n >> 1] = c;
    d[n - 1] = c;
  }
}

// A mostly horizontal line's runs, one row each. In the mirrored minor coordinate
// (the row offset from b1 in the line's direction, t = step * (minor - b1), so the slope
// e = |db| is never negative) the row offset of column a is
//   t(a) = floor(((a - a1) 2e + da - bias) / 2da),  bias = 1 going up, 0 going down,
// (halves round toward the larger minor either way), so the run of offset t ends at
//   a1 - 1 + floor(((2t + 1) da + bias + 2e - 1) / 2e)
// and each row adds 2da to that numerator. Going up or down costs no branch.
struct Runs {
  int64_t lo, hi;      // columns to draw
  int64_t last;        // last column of the current run is last + q
  int64_t row;         // row of the current run
  int64_t step;        // +1 going down, -1 going up
  int64_t dq;          // 2da / d: the longest run is dq + 1 pixels
  int64_t d;           // 2e
  // Short lines with every row on the surface (quick): each run's end is the numerator
  // n, grown by two = 2da a row, times the reciprocal of d, so no division is made and
  // no run waits for the one before it.
  bool quick;
  uint64_t n, two, magic;
  // Otherwise: one division, then the quotient q and remainder r of each run's numerator
  // carried from row to row (2da / d = dq rest dr).
  int64_t q, r, dr;
};

// Reciprocals of d = 2e for the slopes of short lines: (n * kMagic[e]) >> 64 is n / 2e for
// every 32-bit n (2^64 / d rounded up, exact for 32-bit numerators and divisors).
constexpr int kMagicSlopes = 1024;
constexpr auto kMagic = [] {
  struct Table {
    uint64_t m[kMagicSlopes];
  } t{};
  for (int e = 1; e < kMagicSlopes; ++e) t.m[e] = UINT64_MAX / static_cast<uint64_t>(2 * e) + 1;
  return t;
}();

inline uint64_t MulHigh(uint64_t a, uint64_t b) {
  __extension__ using Wide = unsigned __int128;
  return static_cast<uint64_t>((Wide{a} * b) >> 64);
}

// da >= e > 0, da below 2^24 so every product fits in 64 bits; lo >= a1.
inline Runs MakeRuns(int64_t lo, int64_t hi, int64_t a1, int64_t b1, int64_t da, int64_t db, int64_t rows) {
  // Selects by arithmetic: which way a stroke slopes follows no pattern.
  const int64_t down = db > 0, sign = 2 * down - 1, e = db * sign, bias = 1 - down, d = 2 * e;
  // The row offset of the first column: at the line's start it is 0, one column on 0 or
  // 1; only a line clipped at its start needs a division.
  const int64_t off = lo - a1;
  int64_t t;
  if (off <= 1) t = off & (d >= da + bias);
  else t = (off * d + da - bias) / (2 * da);
  const int64_t n = (2 * t + 1) * da + bias + d - 1;
  Runs u;
  u.lo = lo;
  u.hi = hi;
  u.last = a1 - 1;
  u.step = sign;
  u.row = b1 + sign * t;
  u.d = d;
  // The rows run monotonically from u.row to at most b1 + db; below 2^15 columns every
  // numerator fits 32 bits.
  u.quick = static_cast<uint64_t>(u.row) < static_cast<uint64_t>(rows) &&
            static_cast<uint64_t>(b1 + db) < static_cast<uint64_t>(rows) && da < (int64_t{1} << 15) &&
            e < kMagicSlopes;
  if (u.quick) {
    u.magic = kMagic.m[e];
    u.n = static_cast<uint64_t>(n);
    u.two = static_cast<uint64_t>(2 * da);
    u.dq = static_cast<int64_t>(MulHigh(u.two, u.magic));
    return u;
  }
  u.q = n / d;
  u.r = n % d;
  u.dq = 2 * da / d;
  u.dr = 2 * da % d;
  return u;
}

// Walks the runs, calling fill(row pointer + first column, length) for each run on the
// surface; stops once the rows have left the surface for good.
template <class Fill>
__attribute__((always_inline)) inline void WalkRuns(Surface& s, Runs u, const Fill& fill) {
  const int64_t rows = s.height, width = s.width;
  Colour* const pixels = s.pixels.data();
  if (u.quick) {
    // An offset rather than a pointer: after the last run it points past the rows.
    int64_t row = u.row * width;
    const int64_t rowStep = u.step * width;
    uint64_t n = u.n;
    for (int64_t a = u.lo; a <= u.hi; row += rowStep, n += u.two) {
      const int64_t end = std::min(u.hi, u.last + static_cast<int64_t>(MulHigh(n, u.magic)));
      fill(pixels + row + a, end + 1 - a);
      a = end + 1;
    }
    return;
  }
  for (int64_t a = u.lo; a <= u.hi; u.row += u.step) {
    const int64_t end = std::min(u.hi, u.last + u.q);
    if (static_cast<uint64_t>(u.row) < static_cast<uint64_t>(rows)) {
      fill(pixels + u.row * width + a, end + 1 - a);
    } else if ((u.row < 0) == (u.step < 0)) {
      return;  // past the surface's first or last row, never to come back
    }
    a = end + 1;
    u.q += u.dq;
    u.r += u.dr;
    // Branch-free carry: which rows get the longer run follows no pattern.
    const int64_t carry = u.r >= u.d;
    u.r -= u.d & -carry;
    u.q += carry;
  }
}

struct QuadFill {
  Quad v;
  Colour c;
  void operator()(Colour* d, int64_t n) const { FillRun(d, n, v, c); }
};

// The runs of one line on each CPU path. Each path compiles the whole line, set-up
// included, for its own instructions (see DrawLineWith).
struct BaselinePath {
  static inline void Runs(Surface& s, const Runs& u, Colour c) {
    QuadFill f{Quad{c, c, c, c}, c};
    WalkRuns(s, u, f);
  }
};

#if defined(__x86_64__)
#define KOBAKO_AVX2 __attribute__((target("avx2,bmi,bmi2")))
#define KOBAKO_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx2,bmi,bmi2")))

// Walks a line's runs with Path::Walk<Blocks>, where Blocks is the number of stores of
// Path::kLanes pixels that its longest run (dq + 1 pixels) takes, so every run of a line
// takes the same stores and nothing in the walk depends on a run's length. Counts up to
// four are unrolled; Walk<0> loops over a count known only at run time.
template <class Path>
inline void MaskedRuns(Surface& s, const Runs& u, Colour c) {
  const int64_t blocks = (u.dq + Path::kLanes) / Path::kLanes;
  switch (blocks) {
    case 1: return Path::template Walk<1>(s, u, c, 1);
    case 2: return Path::template Walk<2>(s, u, c, 2);
    case 3: return Path::template Walk<3>(s, u, c, 3);
    case 4: return Path::template Walk<4>(s, u, c, 4);
    default: return Path::template Walk<0>(s, u, c, blocks);
  }
}

// Eight-lane stores masked by a comparison of the lane numbers with the run's length.
template <int Blocks>
struct MaskedFill {
  Colour c;
  int64_t blocks;
  // Inlined into the walk, whose loop then keeps the vectors in registers.
  KOBAKO_AVX2 inline void operator()(Colour* d, int64_t n) const {
    const __m256i v = _mm256_set1_epi32(static_cast<int>(c)), lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i left = _mm256_sub_epi32(_mm256_set1_epi32(static_cast<int>(n)), lanes);
    const __m256i eight = _mm256_set1_epi32(8), zero = _mm256_setzero_si256();
    const int64_t count = Blocks ? Blocks : blocks;
    for (int64_t j = 0; j < count; ++j) {
      _mm256_maskstore_epi32(reinterpret_cast<int*>(d + 8 * j), _mm256_cmpgt_epi32(left, zero), v);
      left = _mm256_sub_epi32(left, eight);
    }
  }
};

// Sixteen-lane stores under a mask register made from the run's length in one
// instruction.
template <int Blocks>
struct KMaskedFill {
  Colour c;
  int64_t blocks;
  KOBAKO_AVX512 inline void operator()(Colour* d, int64_t n) const {
    const __m512i v = _mm512_set1_epi32(static_cast<int>(c));
    if (Blocks >= 1) {
      // n <= 16 * Blocks <= 64: the low n bits set, sixteen a store.
      const uint64_t m = _bzhi_u64(~uint64_t{0}, static_cast<unsigned>(n));
      for (int j = 0; j < Blocks; ++j)
        _mm512_mask_storeu_epi32(d + 16 * j, static_cast<__mmask16>(m >> (16 * j)), v);
      return;
    }
    for (int64_t j = 0; j < blocks; ++j) {
      const auto left = static_cast<unsigned>(std::clamp<int64_t>(n - 16 * j, 0, 16));
      _mm512_mask_storeu_epi32(d + 16 * j, static_cast<__mmask16>(_bzhi_u32(0xFFFF, left)), v);
    }
  }
};

template <class Path>
struct Masked {
  static void Runs(Surface& s, const struct Runs& u, Colour c) { MaskedRuns<Path>(s, u, c); }
};

// Each Walk compiles the walk with its fill inlined, for the path's instructions.
struct Avx2Path : Masked<Avx2Path> {
  static constexpr int kLanes = 8;
  template <int Blocks>
  KOBAKO_AVX2 static void Walk(Surface& s, const struct Runs& u, Colour c, int64_t blocks) {
    WalkRuns(s, u, MaskedFill<Blocks>{c, blocks});
  }
};

struct Avx512Path : Masked<Avx512Path> {
  static constexpr int kLanes = 16;
  template <int Blocks>
  KOBAKO_AVX512 static void Walk(Surface& s, const struct Runs& u, Colour c, int64_t blocks) {
    WalkRuns(s, u, KMaskedFill<Blocks>{c, blocks});
  }
};
#endif

// The whole line; inlined into one function per CPU path.
template <class Path>
__attribute__((always_inline)) inline void DrawLineWith(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
  const int64_t adx = x2 > x1 ? int64_t{x2} - x1 : int64_t{x1} - x2;
  const int64_t ady = y2 > y1 ? int64_t{y2} - y1 : int64_t{y1} - y2;
  if (adx == 0 && ady == 0) return;
  // Horizontal and vertical lines (most of the dashes and rules the games draw) cover a
  // plain span from the start point toward the end point, which is left out.
  if (ady == 0 || adx == 0) {
    const bool horizontal = ady == 0;
    const int64_t from = horizontal ? x1 : y1, to = horizontal ? x2 : y2;
    const int64_t fixed = horizontal ? y1 : x1;
    if (fixed < 0 || fixed >= (horizontal ? s.height : s.width)) return;
    int64_t lo = std::min(from, to), hi = std::max(from, to);
    if (from < to) --hi; else ++lo;
    lo = std::max<int64_t>(lo, 0);
    hi = std::min<int64_t>(hi, (horizontal ? s.width : s.height) - 1);
    if (lo > hi) return;
    if (horizontal) {
      FillRun(s.Row(static_cast<int>(fixed)) + lo, hi + 1 - lo, Quad{c, c, c, c}, c);
    } else {
      for (int64_t y = lo; y <= hi; ++y) s.Row(static_cast<int>(y))[fixed] = c;
    }
    return;
  }
  const bool xMajor = adx >= ady;
  // Work in (major, minor) coordinates. The pixels follow the line between the two end
  // points ordered by the major coordinate, so drawing either way covers the same pixels;
  // only the end point (x2, y2) is left out.
  int64_t a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
  int64_t a2 = xMajor ? x2 : y2, b2 = xMajor ? y2 : x2;
  const int64_t majorLimit = xMajor ? s.width : s.height;
  const int64_t minorLimit = xMajor ? s.height : s.width;
  // Span of major coordinates to draw: from a1 towards a2, excluding a2.
  int64_t lo = std::min(a1, a2), hi = std::max(a1, a2);  // inclusive
  if (a1 < a2) --hi; else ++lo;
  if (a1 > a2) { std::swap(a1, a2); std::swap(b1, b2); }
  lo = std::max<int64_t>(lo, 0);
  hi = std::min<int64_t>(hi, majorLimit - 1);
  if (lo > hi) return;
  // minor(a) = b1 + floor(((a - a1) * 2 (b2 - b1) + da) / (2 da)), rounding halves up.
  const int64_t da = a2 - a1, db = b2 - b1, den = 2 * da;
  if (xMajor && da < (int64_t{1} << 24)) {
    Path::Runs(s, MakeRuns(lo, hi, a1, b1, da, db, minorLimit), c);
    return;
  }
  // The first pixel's minor coordinate and remainder, in 128 bits only when the line is
  // long enough for 64 to overflow.
  int64_t minor, rem;
  if (da < (int64_t{1} << 24)) {
    const int64_t num0 = (lo - a1) * (2 * db) + da;
    int64_t q = num0 / den, r = num0 % den;
    if (r < 0) { r += den; --q; }
    minor = b1 + q;
    rem = r;
  } else {
    __extension__ using Wide = __int128;
    const Wide num0 = Wide{lo - a1} * (2 * db) + da;
    Wide q = num0 / den, r = num0 % den;
    if (r < 0) { r += den; --q; }
    minor = b1 + static_cast<int64_t>(q);
    rem = static_cast<int64_t>(r);
  }
  // Steep lines (and the rare very long shallow ones) a pixel per major step.
  for (int64_t a = lo; a <= hi; ++a) {
    if (minor >= 0 && minor < minorLimit) {
      if (xMajor) s.Row(static_cast<int>(minor))[a] = c;
      else s.Row(static_cast<int>(a))[minor] = c;
    }
    rem += 2 * db;
    if (rem >= den) { rem -= den; ++minor; }
    else if (rem < 0) { rem += den; --minor; }
  }
}

void BaselineLine(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
  DrawLineWith<BaselinePath>(s, x1, y1, x2, y2, c);
}

#if defined(__x86_64__)
KOBAKO_AVX2 void Avx2Line(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
  DrawLineWith<Avx2Path>(s, x1, y1, x2, y2, c);
}

KOBAKO_AVX512 void Avx512Line(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
  DrawLineWith<Avx512Path>(s, x1, y1, x2, y2, c);
}
#endif

}  // namespace

void DrawLineTo(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
  c &= kMask;
#if defined(__x86_64__)
  switch (ActiveRowPath()) {
    case RowPath::Avx512: return Avx512Line(s, x1, y1, x2, y2, c);
    case RowPath::Avx2: return Avx2Line(s, x1, y1, x2, y2, c);
    case RowPath::Baseline: break;
  }
#endif
  BaselineLine(s, x1, y1, x2, y2, c);
}

}  // namespace plat
