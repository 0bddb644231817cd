// One-pixel lines. A line's pixels follow the longer axis (the major one) from the end
// with the smaller major coordinate; the other (minor) coordinate is the exact line's,
// rounded halves up; the end point (x2, y2) is left out. Mostly horizontal lines are drawn
// as horizontal runs found arithmetically, so the pixels cost wide stores rather than a
// step each; everything is clipped in 64-bit arithmetic first, so no coordinate, however
// large, makes a store land outside the surface.
#include <algorithm>
#include <cstdint>
#include <cstring>

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

// Quotient and remainder of num / den for 0 <= num, 0 < den, in 32 bits when both fit
// (the division the short lines of the games need is then the cheap one).
inline void DivMod(int64_t num, int64_t den, int64_t& q, int64_t& r) {
  if (static_cast<uint64_t>(num) <= UINT32_MAX && static_cast<uint64_t>(den) <= UINT32_MAX) {
    const uint32_t n32 = static_cast<uint32_t>(num), d32 = static_cast<uint32_t>(den);
    q = n32 / d32;
    r = n32 % d32;
  } else {
    q = num / den;
    r = num % den;
  }
}

// The runs of a mostly horizontal line (da >= |db| > 0, da below 2^24, so every product
// fits in 64 bits) over columns lo..hi, minor the row of column lo. The row changes at
//   a1 + ceil((2k - 1) da / 2db)        going down (db > 0), k = minor + 1 - b1,
//   a1 + floor((2k + 1) da / 2|db|) + 1  going up (db < 0),   k = b1 - minor,
// and each step to the next row adds 2 da to the numerator, so one division per line
// finds every run.
void XMajorRuns(Surface& s, int64_t lo, int64_t hi, int64_t a1, int64_t b1, int64_t minor, int64_t da,
                int64_t db, Colour c) {
  const bool down = db > 0;
  const int64_t d = 2 * (down ? db : -db);
  const int64_t k = down ? minor + 1 - b1 : b1 - minor;
  const int64_t n = down ? (2 * k - 1) * da + d - 1 : (2 * k + 1) * da;  // never negative
  int64_t q, r, dq, dr;
  DivMod(n, d, q, r);
  DivMod(2 * da, d, dq, dr);
  // The last column of the current run is base + q.
  const int64_t base = a1 - (down ? 1 : 0);
  const int64_t rows = s.height, width = s.width;
  const int64_t step = down ? 1 : -1;
  Colour* const pixels = s.pixels.data();
  const Quad v = {c, c, c, c};
  for (int64_t a = lo; a <= hi; minor += step) {
    const int64_t end = std::min(hi, base + q);
    if (static_cast<uint64_t>(minor) < static_cast<uint64_t>(rows)) {
      FillRun(pixels + minor * width + a, end + 1 - a, v, c);
    } else if (down ? minor >= rows : minor < 0) {
      return;  // past the surface's last row, never to come back
    }
    a = end + 1;
    q += dq;
    r += dr;
    // Branch-free carry: which rows get the longer run follows no pattern.
    const int64_t carry = r >= d;
    r -= d & -carry;
    q += carry;
  }
}

}  // namespace

void DrawLineTo(Surface& s, int x1, int y1, int x2, int y2, Colour c) {
  c &= kMask;
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
  if (xMajor && da < (int64_t{1} << 24)) {
    XMajorRuns(s, lo, hi, a1, b1, minor, da, db, c);
    return;
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

}  // namespace plat
