// Software surfaces: block transfers with raster operations, stretching, rectangles
// and ellipses. Every routine clips in 64-bit arithmetic first, so no coordinate
// (however large or negative) makes it touch a pixel outside its surfaces.
#include "../surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "rows.h"

namespace plat {

namespace {

constexpr Colour kMask = 0xFFFFFF;

// The kernels in use: the widest path the CPU has, or the baseline when the environment
// asks for it. Picked on first use.
const rows::Kernels* active = nullptr;
RowPath activePath = RowPath::Baseline;

bool HasAvx2() {
#if defined(__x86_64__)
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2") && rows::Avx2() != nullptr;
#else
  return false;
#endif
}

bool HasAvx512() {
#if defined(__x86_64__)
  return HasAvx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512vl");
#else
  return false;
#endif
}

const rows::Kernels& K() {
  if (!active) {
    const char* want = std::getenv("KOBAKO_ROWS");
    const bool baseline = want && std::strcmp(want, "baseline") == 0;
    UseRowPath(baseline ? RowPath::Baseline : HasAvx512() ? RowPath::Avx512 : RowPath::Avx2);
  }
  return *active;
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

// A transfer after clipping: target and source origins, row length and row count.
struct Span {
  int X, Y, U, V, n, rows;
};

// Clips a w x h transfer from src (sx, sy) to dst (dx, dy) to both surfaces.
bool ClipTransfer(const Surface& dst, int64_t x0, int64_t y0, int64_t w, int64_t h,
                  const Surface& src, int64_t u0, int64_t v0, Span& out) {
  if (w <= 0 || h <= 0) return false;
  // Move the start inside both surfaces, then cut the size to both right/bottom edges.
  if (x0 < 0) { u0 -= x0; w += x0; x0 = 0; }
  if (u0 < 0) { x0 -= u0; w += u0; u0 = 0; }
  if (y0 < 0) { v0 -= y0; h += y0; y0 = 0; }
  if (v0 < 0) { y0 -= v0; h += v0; v0 = 0; }
  w = std::min({w, int64_t{dst.width} - x0, int64_t{src.width} - u0});
  h = std::min({h, int64_t{dst.height} - y0, int64_t{src.height} - v0});
  if (w <= 0 || h <= 0) return false;
  out = {static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(u0), static_cast<int>(v0),
         static_cast<int>(w), static_cast<int>(h)};
  return true;
}

// A row whose target starts inside its own source span (same row of one surface) is
// walked backwards, so every source pixel is read before it is overwritten.
template <class F>
void Backward(Colour* d, const Colour* s, int n, F f) {
  for (int i = n - 1; i >= 0; --i) d[i] = f(d[i], s[i]);
}

void RowBackward(Colour* d, const Colour* s, int n, Rop rop) {
  switch (rop) {
    case Rop::Copy: return Backward(d, s, n, [](Colour, Colour y) { return y; });
    case Rop::And: return Backward(d, s, n, [](Colour x, Colour y) { return x & y & kMask; });
    case Rop::Invert: return Backward(d, s, n, [](Colour x, Colour y) { return (x ^ y) & kMask; });
    case Rop::NotCopy: return Backward(d, s, n, [](Colour, Colour y) { return ~y & kMask; });
  }
}

template <class T>
void Grow(std::vector<T>& v, size_t n) {
  if (v.size() < n) v.resize(n);
}

}  // namespace

bool UseRowPath(RowPath path) {
  switch (path) {
    case RowPath::Avx512:
      if (!HasAvx512()) return false;
      active = rows::Avx2();
      break;
    case RowPath::Avx2:
      if (!HasAvx2()) return false;
      active = rows::Avx2();
      break;
    case RowPath::Baseline:
      active = &rows::Baseline();
      break;
  }
  activePath = path;
  return true;
}

RowPath ActiveRowPath() {
  K();
  return activePath;
}

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

void SetPixel(Surface& s, int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
  s.Row(y)[x] = c & kMask;
}

void Blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
  Span t;
  if (!ClipTransfer(dst, dx, dy, w, h, src, sx, sy, t)) return;
  const int n = t.n, rows = t.rows;
  if (rop == Rop::Copy && &dst != &src && n == dst.width && n == src.width) {
    std::memcpy(dst.Row(t.Y), src.Row(t.V), static_cast<size_t>(n) * rows * sizeof(Colour));
    return;
  }
  const auto op = K().op[rows::OpOf(rop)];
  const ptrdiff_t ds = dst.width, ss = src.width;
  if (&dst == &src && t.Y == t.V && t.X > t.U && t.X < t.U + n) {
    for (int r = 0; r < rows; ++r) RowBackward(dst.Row(t.Y + r) + t.X, src.Row(t.V + r) + t.U, n, rop);
  } else if (&dst == &src && t.Y > t.V) {
    // Within one surface, walk rows bottom-up when the target lies below the source so an
    // overlapping transfer reads every source row before it is overwritten.
    op(dst.Row(t.Y + rows - 1) + t.X, -ds, src.Row(t.V + rows - 1) + t.U, -ss, n, rows);
  } else {
    op(dst.Row(t.Y) + t.X, ds, src.Row(t.V) + t.U, ss, n, rows);
  }
}

void BlitMasked(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int maskY, int imageY) {
  Span m, x;
  if (!ClipTransfer(dst, dx, dy, w, h, src, sx, maskY, m)) {
    Blit(dst, dx, dy, w, h, src, sx, imageY, Rop::Invert);
    return;
  }
  const bool image = ClipTransfer(dst, dx, dy, w, h, src, sx, imageY, x);
  // One pass needs the image rows to be the first rows of the mask's, on another surface.
  if (&dst == &src || (image && (x.X != m.X || x.Y != m.Y || x.n != m.n || x.rows > m.rows))) {
    Blit(dst, dx, dy, w, h, src, sx, maskY, Rop::And);
    Blit(dst, dx, dy, w, h, src, sx, imageY, Rop::Invert);
    return;
  }
  const int both = image ? x.rows : 0;
  const ptrdiff_t ds = dst.width, ss = src.width;
  if (both > 0) K().andXor(dst.Row(m.Y) + m.X, ds, src.Row(m.V) + m.U, src.Row(x.V) + x.U, ss, m.n, both);
  if (m.rows > both)
    K().op[rows::kAnd](dst.Row(m.Y + both) + m.X, ds, src.Row(m.V + both) + m.U, ss, m.n, m.rows - both);
}

namespace {

// Runs of one pair shorter than this, and gaps of unchanged pixels shorter than this
// between changed ones, go into literal runs: a short run costs more to start than its
// pixels cost to combine.
constexpr int kShortRun = 8;

// Packs one transfer row whose masks and images (cut to 24 bits) are m[0..n-1] and
// x[0..n-1], its first pixel at transfer column x0, in one pass over its runs of one pair:
// long ones are kept as pairs (or left out when they change nothing), and what lies
// between goes into literal runs.
void PackRow(PackedMask& out, const Colour* m, const Colour* x, int n, int x0) {
  const auto literal = [&](int from, int to) {
    while (from < to && m[from] == kMask && x[from] == 0) ++from;
    if (from >= to) return;
    out.runs.push_back({x0 + from, to - from, 0, 0, static_cast<int>(out.lits.size())});
    out.lits.insert(out.lits.end(), m + from, m + to);
    out.lits.insert(out.lits.end(), x + from, x + to);
  };
  int from = 0, changed = 0;  // the literal run to come: [from, changed)
  for (int i = 0; i < n;) {
    const Colour mi = m[i], xi = x[i];
    int j = i + 1;
    while (j < n && m[j] == mi && x[j] == xi) ++j;
    const bool same = mi == kMask && xi == 0;
    if (j - i >= kShortRun && (same || (mi & xi) == 0)) {
      literal(from, changed);
      if (!same) out.runs.push_back({x0 + i, j - i, mi, xi, -1});
      from = changed = j;
    } else if (!same) {
      changed = j;
    }
    i = j;
  }
  literal(from, changed);
}

}  // namespace

void PackMasked(PackedMask& out, const Surface& src, int sx, int maskY, int imageY, int w, int h) {
  out.w = std::max(w, 0);
  out.h = std::max(h, 0);
  out.rows.clear();
  out.runs.clear();
  out.lits.clear();
  // The transfer columns and rows the source has, for the mask and for the image.
  const int64_t c0 = std::max<int64_t>(0, -int64_t{sx}), c1 = std::min<int64_t>(w, int64_t{src.width} - sx);
  const int64_t ma = std::max<int64_t>(0, -int64_t{maskY}), mb = std::min<int64_t>(h, int64_t{src.height} - maskY);
  const int64_t ia = std::max<int64_t>(0, -int64_t{imageY}), ib = std::min<int64_t>(h, int64_t{src.height} - imageY);
  if (c0 < c1 && (ma < mb || ia < ib)) {
    const int n = static_cast<int>(c1 - c0);
    const int64_t lo = ma >= mb ? ia : ia >= ib ? ma : std::min(ma, ia);
    const int64_t hi = ma >= mb ? ib : ia >= ib ? mb : std::max(mb, ib);
    // Room for the most any source could need (a row has at most one literal run per
    // run of one pair or gap, each at least kShortRun long), so packing a transfer no
    // larger than one packed before allocates nothing.
    const int64_t both = ma < mb && ia < ib ? std::max<int64_t>(0, std::min(mb, ib) - std::max(ma, ia)) : 0;
    const size_t rows = static_cast<size_t>(std::max<int64_t>(mb - ma, 0) + std::max<int64_t>(ib - ia, 0) - both);
    out.rows.reserve(rows + 1);
    out.runs.reserve(rows * (2 * (n / kShortRun) + 1));
    out.lits.reserve(rows * 2 * n);
    static std::vector<Colour> m, x;
    Grow(m, n);
    Grow(x, n);
    for (int64_t r = lo; r < hi; ++r) {
      const bool hasMask = r >= ma && r < mb, hasImage = r >= ia && r < ib;
      if (!hasMask && !hasImage) {
        // Between the two bands: on to the one still ahead.
        r = (ma > r && ma < mb ? ma : ia) - 1;
        continue;
      }
      Colour changes = 0;
      if (hasMask) {
        const Colour* s = src.Row(static_cast<int>(maskY + r)) + (sx + c0);
        for (int i = 0; i < n; ++i) changes |= ~(m[i] = s[i] & kMask);
      } else {
        std::fill(m.begin(), m.begin() + n, kMask);
      }
      if (hasImage) {
        const Colour* s = src.Row(static_cast<int>(imageY + r)) + (sx + c0);
        for (int i = 0; i < n; ++i) changes |= x[i] = s[i] & kMask;
      } else {
        std::fill(x.begin(), x.begin() + n, 0);
      }
      if ((changes & kMask) == 0) continue;
      const int first = static_cast<int>(out.runs.size());
      PackRow(out, m.data(), x.data(), n, static_cast<int>(c0));
      if (static_cast<int>(out.runs.size()) > first) out.rows.push_back({static_cast<int>(r), first});
    }
  }
  out.rows.push_back({INT32_MAX, static_cast<int>(out.runs.size())});
}

void BlitPacked(Surface& dst, int dx, int dy, const PackedMask& p) {
  if (p.rows.size() < 2) return;
  const int64_t x0 = std::max<int64_t>(0, -int64_t{dx}), x1 = std::min<int64_t>(p.w, int64_t{dst.width} - dx);
  const int64_t y0 = std::max<int64_t>(0, -int64_t{dy}), y1 = std::min<int64_t>(p.h, int64_t{dst.height} - dy);
  if (x0 >= x1 || y0 >= y1) return;
  const auto byRow = [](const PackedMask::Row& a, int64_t y) { return a.y < y; };
  const auto first = std::lower_bound(p.rows.begin(), p.rows.end() - 1, y0, byRow);
  const auto last = std::lower_bound(first, p.rows.end() - 1, y1, byRow);
  if (first == last) return;
  K().packed(dst.Row(static_cast<int>(dy + y0)) + (dx + x0), dst.width, &*first, static_cast<int>(last - first),
             p.runs.data(), p.lits.data(), static_cast<int>(y0), static_cast<int>(x0), static_cast<int>(x1));
}

void BlitColumns(Surface& dst, int dx, int dy, int h, const Surface& src,
                 const int* cols, int n, int sy, Rop rop) {
  if (h <= 0 || n <= 0 || !cols) return;
  if (&dst == &src) {
    // Later columns may read what earlier ones wrote: keep the order of single transfers.
    for (int i = 0; i < n; ++i) Blit(dst, dx + i, dy, 1, h, src, cols[i], sy, rop);
    return;
  }
  int64_t y0 = dy, v0 = sy, ch = h;
  if (y0 < 0) { v0 -= y0; ch += y0; y0 = 0; }
  if (v0 < 0) { y0 -= v0; ch += v0; v0 = 0; }
  ch = std::min({ch, int64_t{dst.height} - y0, int64_t{src.height} - v0});
  const int64_t i0 = std::max<int64_t>(0, -int64_t{dx});
  const int64_t i1 = std::min<int64_t>(n, int64_t{dst.width} - dx);
  if (ch <= 0 || i0 >= i1) return;
  const int Y = static_cast<int>(y0), V = static_cast<int>(v0), rows = static_cast<int>(ch);
  const int first = static_cast<int>(i0), count = static_cast<int>(i1 - i0);
  const int X = static_cast<int>(dx + i0);
  const int* cs = cols + first;
  bool inside = true;
  for (int i = 0; i < count; ++i) inside &= cs[i] >= 0 && cs[i] < src.width;
  if (!inside) {
    // Columns off the source are left alone, one by one.
    for (int i = 0; i < count; ++i)
      if (cs[i] >= 0 && cs[i] < src.width) Blit(dst, X + i, Y, 1, rows, src, cs[i], V, rop);
    return;
  }
  const rows::Kernels& k = K();
  const rows::Op op = rows::OpOf(rop);
  // Storage that only grows: no allocation once it is large enough.
  static std::vector<Colour> line;
  static std::vector<int> base;
  static std::vector<int32_t> lanes;
  if (k.prepare && k.gatherOp[op]) {
    // The wide path gathers each row through permutes of source windows, planned once.
    rows::GatherPlan plan;
    plan.first = plan.last = cs;
    plan.n = count;
    plan.width = src.width;
    Grow(base, static_cast<size_t>(count / 8 + 1));
    Grow(lanes, static_cast<size_t>((count / 8 + 1) * 8));
    k.prepare(plan, base.data(), lanes.data());
    if (k.stretch[op]) {
      // Every destination row takes its own source row: one run each, in one call.
      static std::vector<rows::StretchRun> runs;
      Grow(runs, static_cast<size_t>(rows));
      for (int r = 0; r < rows; ++r) runs[r] = {static_cast<ptrdiff_t>(r) * src.width, 1};
      k.stretch[op](dst.Row(Y) + X, dst.width, src.Row(V), runs.data(), rows, 0, plan);
      return;
    }
    for (int r = 0; r < rows; ++r) k.gatherOp[op](dst.Row(Y + r) + X, 0, src.Row(V + r), plan, 1);
    return;
  }
  Grow(line, static_cast<size_t>(count));
  for (int r = 0; r < rows; ++r) {
    Colour* d = dst.Row(Y + r) + X;
    const Colour* s = src.Row(V + r);
    if (rop == Rop::Copy) {
      k.pick(d, s, cs, count);
    } else {
      k.pick(line.data(), s, cs, count);
      k.op[op](d, 0, line.data(), 0, count, 1);
    }
  }
}

namespace {

// The source range [j0, j1) of destination index i (0..dn-1) of a stretch of sn source
// pixels onto dn: one pixel, floor(i sn / dn), when enlarging; when shrinking, all pixels
// that collapse onto i, ceil(i sn / dn) up to ceil((i + 1) sn / dn). Walked one index at a
// time (step +1 or -1) with one division at the start instead of two per index.
class StretchWalk {
 public:
  StretchWalk(int64_t i, int64_t dn, int64_t sn, int step)
      : dn_(dn), whole_(sn / dn), part_(sn % dn), step_(step), shrink_(sn > dn) {
    q_ = i * sn / dn;
    r_ = i * sn % dn;
  }
  void Range(int64_t& j0, int64_t& j1) const {
    if (!shrink_) {
      j0 = q_;
      j1 = q_ + 1;
      return;
    }
    j0 = q_ + (r_ != 0);
    // (i + 1) sn = (q + whole) dn + r + part
    const int64_t r1 = r_ + part_;
    j1 = q_ + whole_ + (r1 >= dn_) + (r1 != 0 && r1 != dn_);
  }
  void Next() {
    if (step_ > 0) {
      q_ += whole_;
      r_ += part_;
      if (r_ >= dn_) { r_ -= dn_; ++q_; }
    } else {
      q_ -= whole_;
      r_ -= part_;
      if (r_ < 0) { r_ += dn_; --q_; }
    }
  }

 private:
  int64_t dn_, whole_, part_, q_ = 0, r_ = 0;
  int step_;
  bool shrink_;
};

// Normalises a rectangle edge given as start and signed extent: returns the start of the
// covered span, its length, and whether it was given reversed.
inline void Normalise(int64_t pos, int64_t ext, int64_t& start, int64_t& len, bool& rev) {
  rev = ext < 0;
  start = rev ? pos + ext : pos;
  len = rev ? -ext : ext;
}

// Working storage of the stretch; it only grows, so after the first calls no allocation
// happens in a frame.
// What decides a stretch's column table besides where its source lies.
struct ColumnShape {
  int64_t off = -1, cw = 0, DW = 0, SW = 0;
  bool mirror = false;
  int room = 0;  // source pixels readable from the leftmost column (capped)
  const rows::Kernels* kern = nullptr;
  bool operator==(const ColumnShape&) const = default;
};

struct StretchTables {
  std::vector<int> first, last, base;
  std::vector<int32_t> lanes;
  ColumnShape shape;  // of the table held, or empty
  uint64_t used = 0;  // when last used, to replace the least recent
  rows::GatherPlan plan;
  int xa = 0, span = 0;  // first visible column after cx; source columns used
};

// The destination rows of a stretch as runs of one source row each, for the one-call
// path: what decides them, and the runs with their source rows relative to the first.
struct RowShape {
  int64_t off = -1, ch = 0, DH = 0, SH = 0;
  bool mirror = false;
  int width = 0;  // of the source, which spaces the rows
  bool operator==(const RowShape&) const = default;
};

struct RowTable {
  RowShape shape;
  std::vector<rows::StretchRun> runs;
  int n = 0;
  int64_t first = 0, last = 0;  // source rows of the first and last run, relative to sy
  uint64_t used = 0;
};

// The least recently used of a few tables.
template <class T, size_t N>
T& Oldest(T (&tables)[N]) {
  T* t = &tables[0];
  for (T& u : tables)
    if (u.used < t->used) t = &u;
  return *t;
}

// Grows that storage of every table at once, so that a shape that later lands in another
// table finds it large enough: once the scene's shapes have been seen, none allocates.
template <class T, size_t N, class V>
void GrowAll(T (&tables)[N], std::vector<V> T::*member, size_t n) {
  for (T& t : tables) Grow(t.*member, n);
}

// A few column tables, so that the shapes of one scene (whole cells, and cells clipped at
// either edge of the picture on rows of either shift) each keep theirs; the least recently
// used is replaced.
constexpr int kTables = 8;
struct StretchStore {
  StretchTables tables[kTables];
  uint64_t clock = 0;
  std::vector<Colour> stack, built;
  std::vector<rows::StretchRun> runs;
  RowTable rowTables[kTables];
};

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

  // Source columns of every visible destination column, relative to the leftmost one (lo).
  // The mapping is monotonic, so the columns whose source lies (partly) on the source
  // surface form one run [xa, xa + n). A stretch of the same shape as the last one, wholly
  // on its source (the cells of one sheet), reuses the last table and its lane indices.
  static StretchStore store;
  const rows::Kernels& kern = K();
  const int64_t off = cx - DX;
  int64_t j0, j1, e0, e1;
  StretchWalk(mirrorX ? DW - 1 - (off + cw - 1) : off, DW, SW, 1).Range(j0, j1);
  StretchWalk(mirrorX ? DW - 1 - off : off + cw - 1, DW, SW, 1).Range(e0, e1);
  const bool whole = SX + j0 >= 0 && SX + e1 <= src.width;
  // Unmirrored at the same width every output takes its own source column: no gather.
  const bool straight = !mirrorX && SW == DW;
  ColumnShape shape{off, cw, DW, SW, mirrorX, 0, &kern};
  if (whole) shape.room = static_cast<int>(std::min<int64_t>(src.width - (SX + j0), e1 - j0 + 16));
  StretchTables* held = nullptr;
  if (whole)
    for (StretchTables& t : store.tables)
      if (t.shape == shape) held = &t;
  if (!held) held = &Oldest(store.tables);
  held->used = ++store.clock;
  StretchTables& tab = *held;
  if (!whole || !(shape == tab.shape)) {
    tab.shape = {};
    GrowAll(store.tables, &StretchTables::first, static_cast<size_t>(cw));
    GrowAll(store.tables, &StretchTables::last, static_cast<size_t>(cw));
    int64_t xa = -1;
    int n = 0, k = 1, lo = src.width, hi = -1;
    StretchWalk across(mirrorX ? DW - 1 - off : off, DW, SW, mirrorX ? -1 : 1);
    for (int64_t x = cx; x < cx + cw; ++x, across.Next()) {
      int64_t c0, c1;
      across.Range(c0, c1);
      c0 = std::max<int64_t>(c0 + SX, 0);
      c1 = std::min<int64_t>(c1 + SX, src.width);
      if (c0 >= c1) continue;
      if (xa < 0) xa = x;
      tab.first[n] = static_cast<int>(c0);
      tab.last[n] = static_cast<int>(c1 - 1);
      k = std::max(k, static_cast<int>(c1 - c0));
      lo = std::min(lo, static_cast<int>(c0));
      hi = std::max(hi, static_cast<int>(c1 - 1));
      ++n;
    }
    if (n == 0) return;
    for (int i = 0; i < n; ++i) tab.first[i] -= lo, tab.last[i] -= lo;
    tab.xa = static_cast<int>(xa - cx);
    tab.plan = {};
    tab.plan.first = tab.first.data();
    tab.plan.last = tab.last.data();
    tab.plan.n = n;
    tab.plan.k = k;
    tab.plan.width = whole ? shape.room : src.width - lo;
    tab.span = hi - lo + 1;
    if (!straight && kern.prepare) {
      GrowAll(store.tables, &StretchTables::base, static_cast<size_t>(n / 8 + 1));
      GrowAll(store.tables, &StretchTables::lanes, static_cast<size_t>((n / 8 + 1) * 8 * k));
      kern.prepare(tab.plan, tab.base.data(), tab.lanes.data());
    }
    if (whole) tab.shape = shape;
  }
  // Another table's growth may have moved this one's storage: point the plan at it anew.
  tab.plan.first = tab.first.data();
  tab.plan.last = tab.last.data();
  if (tab.plan.base) {
    tab.plan.base = tab.base.data();
    tab.plan.lanes = tab.lanes.data();
  }
  const rows::GatherPlan& plan = tab.plan;
  const int n = plan.n;
  const int64_t xa = cx + tab.xa;
  // Leftmost source column: on a reused table the stretch lies wholly on the source.
  const int lo = whole ? static_cast<int>(SX + j0) : static_cast<int>(std::max<int64_t>(SX + j0, 0)), span = tab.span;
  const rows::Op which = rop == Rop::Copy ? rows::kCopyMasked : rows::OpOf(rop);
  // Where the path can, the whole stretch goes to one kernel call: each destination row
  // takes one source row (no rows collapse), onto another surface, and each output ANDs at
  // most two source pixels. The rows are listed as runs of one source row each.
  if (kern.stretch[which] && !straight && plan.base && plan.k <= 2 && SH <= DH && &dst != &src) {
    // The runs of a shape seen lately are kept; they serve wherever all its source rows
    // lie on the source.
    const RowShape rs{cy - DY, ch, DH, SH, mirrorY, src.width};
    RowTable* rt = nullptr;
    for (RowTable& t : store.rowTables)
      if (t.shape == rs) rt = &t;
    if (!rt) {
      rt = &Oldest(store.rowTables);
      GrowAll(store.rowTables, &RowTable::runs, static_cast<size_t>(ch));
      int n = 0;
      int64_t first = 0, last = 0;
      StretchWalk down(mirrorY ? DH - 1 - (cy - DY) : cy - DY, DH, SH, mirrorY ? -1 : 1);
      for (int64_t y = 0; y < ch; ++y, down.Next()) {
        int64_t r0, r1;
        down.Range(r0, r1);
        if (n > 0 && r0 == last) {
          ++rt->runs[n - 1].count;
          continue;
        }
        if (n == 0) first = r0;
        rt->runs[n++] = {static_cast<ptrdiff_t>(r0 - first) * src.width, 1};
        last = r0;
      }
      rt->n = n;
      rt->first = first;
      rt->last = last;
      rt->shape = rs;
    }
    rt->used = ++store.clock;
    if (SY + std::min(rt->first, rt->last) >= 0 && SY + std::max(rt->first, rt->last) < src.height) {
      kern.stretch[which](dst.Row(static_cast<int>(cy)) + xa, dst.width, src.Row(static_cast<int>(SY + rt->first)) + lo,
                          rt->runs.data(), rt->n, span, plan);
      return;
    }
    // Rows off the source: the runs of the rows on it, built for this call.
    Grow(store.runs, static_cast<size_t>(ch));
    rows::StretchRun* runs = store.runs.data();
    int nRuns = 0;
    int64_t y0 = -1, last = -1;
    StretchWalk down(mirrorY ? DH - 1 - (cy - DY) : cy - DY, DH, SH, mirrorY ? -1 : 1);
    for (int64_t y = cy; y < cy + ch; ++y, down.Next()) {
      int64_t r0, r1;
      down.Range(r0, r1);
      r0 += SY;
      if (r0 < 0 || r0 >= src.height) continue;  // rows off the source are left alone
      if (y0 < 0) y0 = y;
      if (r0 == last) {
        ++runs[nRuns - 1].count;
      } else {
        runs[nRuns++] = {static_cast<ptrdiff_t>(r0) * src.width + lo, 1};
        last = r0;
      }
    }
    if (nRuns > 0)
      kern.stretch[which](dst.Row(static_cast<int>(y0)) + xa, dst.width, src.Row(0), runs, nRuns, span, plan);
    return;
  }
  Grow(store.built, static_cast<size_t>(n));
  const auto op = kern.op[which];
  // A path that gathers and applies in one pass needs no built row.
  const auto fused = kern.gatherOp[which];

  // Each destination row applies the row built from its source rows; consecutive rows
  // from the same source rows share one build and one kernel call (unless the transfer
  // writes its own source, which rebuilds every row).
  int64_t builtR0 = -1, builtR1 = -1;
  constexpr int64_t kAhead = 8;
  int64_t fetched = mirrorY ? src.height : 0;  // rows asked for: [fetched, ..) or [.., fetched)
  const Colour* out = nullptr;
  int64_t runY = 0;
  int runRows = 0;
  const auto flush = [&] {
    if (runRows == 0) return;
    Colour* d = dst.Row(static_cast<int>(runY)) + xa;
    if (fused && !straight) fused(d, dst.width, out, plan, runRows);
    else op(d, dst.width, out, 0, n, runRows);
    runRows = 0;
  };
  StretchWalk down(mirrorY ? DH - 1 - (cy - DY) : cy - DY, DH, SH, mirrorY ? -1 : 1);
  for (int64_t y = cy; y < cy + ch; ++y, down.Next()) {
    int64_t r0, r1;
    down.Range(r0, r1);
    r0 = std::max<int64_t>(r0 + SY, 0);
    r1 = std::min<int64_t>(r1 + SY, src.height);
    if (r0 >= r1) {  // source rows outside: leave the destination row alone
      flush();
      continue;
    }
    if (r0 != builtR0 || r1 != builtR1 || &dst == &src) {
      flush();
      const Colour* line = src.Row(static_cast<int>(r0));
      // The source rows of a small cell of a large sheet lie a whole sheet row apart and
      // are seldom in the nearest caches: keep the next few rows on their way.
      const int64_t a = mirrorY ? std::max<int64_t>(r0 - kAhead, 0) : std::max(r1, fetched);
      const int64_t b = mirrorY ? std::min(r0, fetched) : std::min<int64_t>(r1 + kAhead, src.height);
      for (int64_t r = a; r < b; ++r)
        for (int c = lo; c < lo + span; c += 16) __builtin_prefetch(src.Row(static_cast<int>(r)) + c);
      fetched = mirrorY ? std::min(fetched, a) : std::max(fetched, b);
      if (r1 - r0 > 1) {
        // Rows collapsing onto one destination row are ANDed first, over the used columns.
        Grow(store.stack, static_cast<size_t>(src.width));
        Colour* acc = store.stack.data();
        kern.op[rows::kCopy](acc + lo, 0, line + lo, 0, span, 1);
        for (int64_t r = r0 + 1; r < r1; ++r)
          kern.op[rows::kAnd](acc + lo, 0, src.Row(static_cast<int>(r)) + lo, 0, span, 1);
        line = acc;
      }
      line += lo;
      if (straight || fused) {
        out = line;
      } else {
        kern.gather(store.built.data(), line, plan);
        out = store.built.data();
      }
      builtR0 = r0;
      builtR1 = r1;
    }
    if (runRows == 0) runY = y;
    ++runRows;
  }
  flush();
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
  if (right - left == s.width) {
    // Whole rows lie end to end: filled as one long row.
    K().fill(s.Row(top), 0, s.width * (bottom - top), 1, c);
    return;
  }
  K().fill(s.Row(top) + left, s.width, right - left, bottom - top, c);
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
    if (a < b) K().fill(s.Row(y) + a, s.width, b - a, 1, c);
  }
}

}  // namespace plat
