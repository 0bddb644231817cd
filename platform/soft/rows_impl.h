// Row kernels written once over a vector width, included by each CPU path's source file
// (rows_base.cpp, rows_avx2.cpp) and compiled there for that CPU. Everything here has
// internal linkage, so no path's code can stand in for another's at link time.
#pragma once
#include <cstring>

#include "rows.h"

namespace plat::rows {
namespace {

constexpr Colour kMask = 0xFFFFFF;

// GCC drops vector_size on a type that depends on a template parameter, so the two
// widths are spelled out.
using V4 = uint32_t __attribute__((vector_size(16)));
using V8 = uint32_t __attribute__((vector_size(32)));
template <int W> struct VecType;
template <> struct VecType<4> { using T = V4; };
template <> struct VecType<8> { using T = V8; };

template <int W>
struct Vec {
  using T = typename VecType<W>::T;
  static_assert(sizeof(T) == 4 * W);
  static T Load(const Colour* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void Store(Colour* p, T v) { std::memcpy(p, &v, sizeof v); }
};

struct CopyOp {
  template <class T> T operator()(T, T s) const { return s; }
};
struct AndOp {
  template <class T> T operator()(T d, T s) const { return d & s & kMask; }
};
struct XorOp {
  template <class T> T operator()(T d, T s) const { return (d ^ s) & kMask; }
};
struct NotOp {
  template <class T> T operator()(T, T s) const { return ~s & kMask; }
};
struct MaskOp {
  template <class T> T operator()(T, T s) const { return s & kMask; }
};

// One row, W lanes at a time, then four, then one by one. Each block is loaded before it
// is stored, so a target at or before its source in the same row is safe.
template <int W, class F>
inline void Row(Colour* d, const Colour* s, int n, F f) {
  int i = 0;
  for (; i + W <= n; i += W) Vec<W>::Store(d + i, f(Vec<W>::Load(d + i), Vec<W>::Load(s + i)));
  if constexpr (W > 4) {
    for (; i + 4 <= n; i += 4) Vec<4>::Store(d + i, f(Vec<4>::Load(d + i), Vec<4>::Load(s + i)));
  }
  for (; i < n; ++i) d[i] = f(d[i], s[i]);
}

template <int W, class F>
void Rows(Colour* d, ptrdiff_t ds, const Colour* s, ptrdiff_t ss, int n, int rows) {
  for (int r = 0; r < rows; ++r, d += ds, s += ss) Row<W>(d, s, n, F{});
}

// The masked-text combination on one row: the AND mask and the XOR image in one pass.
template <int W>
inline void AndXorRow(Colour* d, const Colour* m, const Colour* x, int n) {
  const auto f = [](auto a, auto b, auto c) { return ((a & b & kMask) ^ c) & kMask; };
  int i = 0;
  for (; i + W <= n; i += W) Vec<W>::Store(d + i, f(Vec<W>::Load(d + i), Vec<W>::Load(m + i), Vec<W>::Load(x + i)));
  if constexpr (W > 4) {
    for (; i + 4 <= n; i += 4) Vec<4>::Store(d + i, f(Vec<4>::Load(d + i), Vec<4>::Load(m + i), Vec<4>::Load(x + i)));
  }
  for (; i < n; ++i) d[i] = f(d[i], m[i], x[i]);
}

template <int W>
void AndXorRows(Colour* d, ptrdiff_t ds, const Colour* m, const Colour* x, ptrdiff_t ss, int n, int rows) {
  for (int r = 0; r < rows; ++r, d += ds, m += ss, x += ss) AndXorRow<W>(d, m, x, n);
}

// A packed run of one mask and image pair, whose image and mask share no bit: applying it
// twice gives what once does, so the last block may overlap the one before. A black mask
// is a plain fill.
template <int W>
inline void PairRun(Colour* d, int n, Colour m, Colour k) {
  using T = typename Vec<W>::T;
  if constexpr (W > 4) {
    if (n < W) return PairRun<4>(d, n, m, k);
  }
  if (n < W) {
    for (int i = 0; i < n; ++i) d[i] = (d[i] & m) ^ k;
    return;
  }
  T vm, vk;
  for (int j = 0; j < W; ++j) vm[j] = m, vk[j] = k;
  if (m == 0) {
    for (int i = 0; i + W <= n; i += W) Vec<W>::Store(d + i, vk);
    Vec<W>::Store(d + n - W, vk);
    return;
  }
  for (int i = 0; i + W <= n; i += W) Vec<W>::Store(d + i, (Vec<W>::Load(d + i) & vm) ^ vk);
  if (n % W) Vec<W>::Store(d + n - W, (Vec<W>::Load(d + n - W) & vm) ^ vk);
}

template <int W>
void PackedRows(Colour* d, ptrdiff_t ds, const PackedMask::Row* rows, int nRows, const PackedMask::Run* runs,
                const Colour* lits, int y0, int x0, int x1) {
  for (int r = 0; r < nRows; ++r) {
    Colour* row = d + (rows[r].y - y0) * ds;
    for (int j = rows[r].first; j < rows[r + 1].first; ++j) {
      const PackedMask::Run& run = runs[j];
      const int a = run.x > x0 ? run.x : x0, b = run.x + run.n < x1 ? run.x + run.n : x1;
      if (a >= b) continue;
      if (run.lit < 0) {
        PairRun<W>(row + (a - x0), b - a, run.m, run.k);
      } else {
        const Colour* m = lits + run.lit + (a - run.x);
        AndXorRow<W>(row + (a - x0), m, m + run.n, b - a);
      }
    }
  }
}

// Long copies go to the C library, which moves memory faster than any loop here.
template <int W>
void CopyRows(Colour* d, ptrdiff_t ds, const Colour* s, ptrdiff_t ss, int n, int rows) {
  if (n >= 64) {
    for (int r = 0; r < rows; ++r, d += ds, s += ss) std::memmove(d, s, static_cast<size_t>(n) * sizeof(Colour));
    return;
  }
  Rows<W, CopyOp>(d, ds, s, ss, n, rows);
}

template <int W>
void FillRows(Colour* d, ptrdiff_t stride, int n, int rows, Colour c) {
  typename Vec<W>::T v;
  for (int j = 0; j < W; ++j) v[j] = c;
  if (n >= W && n <= 2 * W) {
    // Small boxes: two blocks a row, the second overlapping the first. Each row is a cache
    // line or two of its own; asking for all of them for writing first lets their misses
    // overlap (a mosaic of 16x16 boxes costs about a tenth less).
    for (int r = 0; r < rows; ++r) {
      __builtin_prefetch(d + r * stride, 1);
      __builtin_prefetch(d + r * stride + n - 1, 1);
    }
    for (int r = 0; r < rows; ++r, d += stride) {
      Vec<W>::Store(d, v);
      Vec<W>::Store(d + n - W, v);
    }
    return;
  }
  for (int r = 0; r < rows; ++r, d += stride) {
    int i = 0;
    for (; i + W <= n; i += W) Vec<W>::Store(d + i, v);
    // A row of at least W pixels ends with one block overlapping the last: same colour.
    if (i < n && n >= W) Vec<W>::Store(d + n - W, v);
    else for (; i < n; ++i) d[i] = c;
  }
}

// Output i of a gather on its own.
inline Colour GatherOne(const Colour* s, const GatherPlan& p, int i) {
  Colour v = s[p.first[i]];
  for (int c = p.first[i] + 1; c <= p.last[i]; ++c) v &= s[c];
  return v;
}

void GatherEach(Colour* out, const Colour* s, const GatherPlan& p) {
  for (int i = 0; i < p.n; ++i) out[i] = GatherOne(s, p, i);
}

void PickEach(Colour* out, const Colour* s, const int* cols, int n) {
  for (int i = 0; i < n; ++i) out[i] = s[cols[i]];
}

template <int W>
constexpr Kernels MakeKernels(const char* name) {
  Kernels k{};
  k.name = name;
  k.op[kCopy] = CopyRows<W>;
  k.op[kAnd] = Rows<W, AndOp>;
  k.op[kXor] = Rows<W, XorOp>;
  k.op[kNot] = Rows<W, NotOp>;
  k.op[kCopyMasked] = Rows<W, MaskOp>;
  k.andXor = AndXorRows<W>;
  k.packed = PackedRows<W>;
  k.fill = FillRows<W>;
  k.gather = GatherEach;
  k.pick = PickEach;
  k.prepare = nullptr;
  return k;
}

}  // namespace
}  // namespace plat::rows
