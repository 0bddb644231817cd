// Software surfaces: block transfers with raster operations, stretching, rectangles,
// ellipses and lines. Every routine clips in 64-bit arithmetic first, so no coordinate
// (however large or negative) makes it touch a pixel outside its surfaces.
#include "../surface.h"

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr Colour kMask = 0xFFFFFF;

inline Colour Apply(Rop rop, Colour d, Colour s) {
  switch (rop) {
    case Rop::Copy: return s & kMask;
    case Rop::And: return d & s & kMask;
    case Rop::Invert: return (d ^ s) & kMask;
    case Rop::NotCopy: return ~s & kMask;
  }
  return d;
}

// Four pixels at a time with GCC vector extensions (SSE2 on x86-64), the rest one by
// one. op is applied to the destination and source values.
using V4 = uint32_t __attribute__((vector_size(16)));

template <class Op>
inline void RowForward(Colour* d, const Colour* s, int n, Op op) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    V4 a, b;
    std::memcpy(&a, d + i, sizeof a);
    std::memcpy(&b, s + i, sizeof b);
    a = op(a, b);
    std::memcpy(d + i, &a, sizeof a);
  }
  for (; i < n; ++i) d[i] = op(d[i], s[i]);
}

template <class Op>
inline void RowBackward(Colour* d, const Colour* s, int n, Op op) {
  for (int i = n - 1; i >= 0; --i) d[i] = op(d[i], s[i]);
}

template <class Op>
inline void RowWith(Colour* d, const Colour* s, int n, Op op) {
  // A target that starts inside the source span of the same row is walked backwards, so
  // every source pixel is read before it is overwritten.
  if (d > s && d < s + n) RowBackward(d, s, n, op);
  else RowForward(d, s, n, op);
}

// One row of a block transfer; n > 0. Handles overlap within a row (same surface).
void RowOp(Colour* d, const Colour* s, int n, Rop rop) {
  switch (rop) {
    case Rop::Copy:
      std::memmove(d, s, static_cast<size_t>(n) * sizeof(Colour));
      return;
    case Rop::And:
      RowWith(d, s, n, [](auto x, auto y) { return x & y & kMask; });
      return;
    case Rop::Invert:
      RowWith(d, s, n, [](auto x, auto y) { return (x ^ y) & kMask; });
      return;
    case Rop::NotCopy:
      RowWith(d, s, n, [](auto, auto y) { return ~y & kMask; });
      return;
  }
}

// Clips a span [lo, lo + len) to [0, limit); returns false when nothing is left.
inline bool ClipSpan(int64_t& lo, int64_t& len, int64_t limit) {
  if (lo < 0) {
    len += lo;
    lo = 0;
  }
  if (lo + len > limit) len = limit - lo;
  return len > 0;
}

}  // namespace

void Surface::Create(int w, int h) {
  if (w < 1 || h < 1) {
    width = height = 0;
    pixels.clear();
    return;
  }
  width = w;
  height = h;
  pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
}

Colour Surface::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return pixels[static_cast<size_t>(y) * width + x];
}

void Blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
  if (w <= 0 || h <= 0) return;
  int64_t x0 = dx, y0 = dy, u0 = sx, v0 = sy, cw = w, ch = h;
  // Move the start inside both surfaces, then cut the size to both right/bottom edges.
  if (x0 < 0) { u0 -= x0; cw += x0; x0 = 0; }
  if (u0 < 0) { x0 -= u0; cw += u0; u0 = 0; }
  if (y0 < 0) { v0 -= y0; ch += y0; y0 = 0; }
  if (v0 < 0) { y0 -= v0; ch += v0; v0 = 0; }
  cw = std::min({cw, int64_t{dst.width} - x0, int64_t{src.width} - u0});
  ch = std::min({ch, int64_t{dst.height} - y0, int64_t{src.height} - v0});
  if (cw <= 0 || ch <= 0) return;
  const int n = static_cast<int>(cw);
  const int rows = static_cast<int>(ch);
  const int X = static_cast<int>(x0), Y = static_cast<int>(y0);
  const int U = static_cast<int>(u0), V = static_cast<int>(v0);

  if (rop == Rop::Copy && &dst != &src && n == dst.width && n == src.width) {
    std::memcpy(dst.Row(Y), src.Row(V), static_cast<size_t>(n) * rows * sizeof(Colour));
    return;
  }
  // Within one surface, walk rows bottom-up when the target lies below the source so an
  // overlapping transfer reads every source row before it is overwritten.
  if (&dst == &src && Y > V) {
    for (int r = rows - 1; r >= 0; --r) RowOp(dst.Row(Y + r) + X, src.Row(V + r) + U, n, rop);
  } else {
    for (int r = 0; r < rows; ++r) RowOp(dst.Row(Y + r) + X, src.Row(V + r) + U, n, rop);
  }
}

namespace {

// Maps destination index i (0..dn-1) of a stretch of sn source pixels onto dn pixels to
// the source range [j0, j1): one pixel when enlarging, all pixels that collapse onto i
// when shrinking.
inline void StretchRange(int64_t i, int64_t dn, int64_t sn, int64_t& j0, int64_t& j1) {
  if (sn <= dn) {
    j0 = i * sn / dn;
    j1 = j0 + 1;
  } else {
    j0 = (i * sn + dn - 1) / dn;
    j1 = ((i + 1) * sn + dn - 1) / dn;
  }
}

// Normalises a rectangle edge given as start and signed extent: returns the start of the
// covered span, its length, and whether it was given reversed.
inline void Normalise(int64_t pos, int64_t ext, int64_t& start, int64_t& len, bool& rev) {
  rev = ext < 0;
  start = rev ? pos + ext : pos;
  len = rev ? -ext : ext;
}

}  // namespace

void StretchBlit(Surface& dst, int dx, int dy, int dw, int dh,
                 const Surface& src, int sx, int sy, int sw, int sh, Rop rop) {
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
  if (dw == sw && dh == sh && dw > 0 && dh > 0) {
    Blit(dst, dx, dy, dw, dh, src, sx, sy, rop);
    return;
  }
  int64_t DX, DW, DY, DH, SX, SW, SY, SH;
  bool rdx, rdy, rsx, rsy;
  Normalise(dx, dw, DX, DW, rdx);
  Normalise(dy, dh, DY, DH, rdy);
  Normalise(sx, sw, SX, SW, rsx);
  Normalise(sy, sh, SY, SH, rsy);
  const bool mirrorX = rdx != rsx, mirrorY = rdy != rsy;

  // Destination span that lies on the destination surface.
  int64_t cx = DX, cw = DW, cy = DY, ch = DH;
  if (!ClipSpan(cx, cw, dst.width) || !ClipSpan(cy, ch, dst.height)) return;

  // Source column span of every visible destination column, worked out once per call.
  // The table only grows, so after the first calls no allocation happens here.
  static std::vector<int> columns;
  if (columns.size() < static_cast<size_t>(2 * cw)) columns.resize(static_cast<size_t>(2 * cw));
  int64_t visible = 0;  // columns whose source span lies (partly) on the source
  for (int64_t x = cx; x < cx + cw; ++x) {
    int64_t k = x - DX;
    if (mirrorX) k = DW - 1 - k;
    int64_t c0, c1;
    StretchRange(k, DW, SW, c0, c1);
    c0 = std::max<int64_t>(c0 + SX, 0);
    c1 = std::min<int64_t>(c1 + SX, src.width);
    columns[2 * (x - cx)] = c0 < c1 ? static_cast<int>(c0) : -1;
    columns[2 * (x - cx) + 1] = static_cast<int>(std::max(c0, c1));
    if (c0 < c1) ++visible;
  }
  if (visible == 0) return;
  const int n = static_cast<int>(cw);

  for (int64_t y = cy; y < cy + ch; ++y) {
    int64_t i = y - DY;
    if (mirrorY) i = DH - 1 - i;
    int64_t r0, r1;
    StretchRange(i, DH, SH, r0, r1);
    r0 = std::max<int64_t>(r0 + SY, 0);
    r1 = std::min<int64_t>(r1 + SY, src.height);
    if (r0 >= r1) continue;  // source rows outside: leave the destination row alone
    Colour* drow = dst.Row(static_cast<int>(y)) + cx;
    const int* col = columns.data();
    if (r1 - r0 == 1 && SW <= DW) {
      const Colour* srow = src.Row(static_cast<int>(r0));
      for (int x = 0; x < n; ++x)
        if (col[2 * x] >= 0) drow[x] = Apply(rop, drow[x], srow[col[2 * x]]);
      continue;
    }
    for (int x = 0; x < n; ++x) {
      const int c0 = col[2 * x], c1 = col[2 * x + 1];
      if (c0 < 0) continue;
      Colour v = kMask;
      for (int64_t r = r0; r < r1; ++r) {
        const Colour* srow = src.Row(static_cast<int>(r));
        for (int c = c0; c < c1; ++c) v &= srow[c];
      }
      drow[x] = Apply(rop, drow[x], v);
    }
  }
}

void FillRect(Surface& s, int left, int top, int right, int bottom, Colour c) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, s.width);
  bottom = std::min(bottom, s.height);
  if (left >= right || top >= bottom) return;
  c &= kMask;
  // One row is filled pixel by pixel; the others are copied from it, which runs at
  // block-copy speed instead of one 4-byte store per pixel.
  Colour* first = s.Row(top) + left;
  std::fill(first, first + (right - left), c);
  const size_t bytes = static_cast<size_t>(right - left) * sizeof(Colour);
  for (int y = top + 1; y < bottom; ++y) std::memcpy(s.Row(y) + left, first, bytes);
}

void FillEllipse(Surface& s, int left, int top, int right, int bottom, Colour c) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const int64_t W = int64_t{right} - left, H = int64_t{bottom} - top;
  if (W <= 0 || H <= 0) return;
  c &= kMask;
  // A pixel is inside when its centre lies in the ellipse inscribed in the box. In
  // half-pixel units relative to the box centre, X = 2(x - left) + 1 - W and likewise Y,
  // and the test is X^2 H^2 + Y^2 W^2 <= W^2 H^2, done exactly in 128 bits for any box
  // that can matter (boxes wider or taller than 2^30 use the float estimate alone).
  __extension__ using Wide = __int128;
  const bool exact = W < (int64_t{1} << 30) && H < (int64_t{1} << 30);
  const Wide W2 = Wide{W} * W, H2 = Wide{H} * H, limit = exact ? W2 * H2 : 0;
  const int y0 = std::max(top, 0), y1 = static_cast<int>(std::min<int64_t>(bottom, s.height));
  for (int y = y0; y < y1; ++y) {
    const int64_t Y = 2 * (int64_t{y} - top) + 1 - H;
    const double f = 1.0 - static_cast<double>(Y) * static_cast<double>(Y) / (static_cast<double>(H) * static_cast<double>(H));
    if (f < 0) continue;
    // Largest |X| of the parity of W - 1 with X^2 H^2 <= W^2 H^2 - Y^2 W^2.
    const double guess = static_cast<double>(W) * __builtin_sqrt(f);
    int64_t X = static_cast<int64_t>(guess) + (exact ? 2 : 0);
    if (((X - (W - 1)) & 1) != 0) X += exact ? 1 : -1;
    if (exact) {
      const Wide rest = limit - Wide{Y} * Y * W2;
      while (X >= 0 && Wide{X} * X * H2 > rest) X -= 2;
    }
    if (X < 0) continue;
    // Columns with |2(x - left) + 1 - W| <= X.
    const int64_t xl = left + (W - 1 - X) / 2, xr = left + (W - 1 + X) / 2 + 1;
    const int a = static_cast<int>(std::max<int64_t>(xl, 0));
    const int b = static_cast<int>(std::min<int64_t>(xr, s.width));
    if (a < b) std::fill(s.Row(y) + a, s.Row(y) + b, c);
  }
}

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
      Colour* row = s.Row(static_cast<int>(fixed));
      std::fill(row + lo, row + hi + 1, c);
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
  __extension__ using Wide = __int128;
  const Wide num0 = Wide{lo - a1} * (2 * db) + da;
  Wide q = num0 / den, r = num0 % den;
  if (r < 0) { r += den; --q; }
  int64_t minor = b1 + static_cast<int64_t>(q);
  int64_t rem = static_cast<int64_t>(r);
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
