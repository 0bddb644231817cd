// The AVX2 row kernels (x86-64 only): eight lanes, and gathers done with lane permutes of
// a 16-pixel source window. Chosen at run time when the CPU has AVX2.
#if defined(__x86_64__)
#include <immintrin.h>

#include <cstring>

#include "rows.h"

// Everything below is compiled for AVX2: clang takes the target as a function attribute
// applied to every function, GCC as a target pragma.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "rows_impl.h"

namespace plat::rows {
namespace {

constexpr int kMaxK = 4;  // source pixels per output the permutes handle

// Window start and lane indices for every whole group of 8 outputs whose source pixels
// fit one window of 8 pixels or, failing that, 16; the other groups and the last partial
// group are gathered one by one. base[g] is the window start of a narrow group, -2 - start
// of a wide one, -1 for one by one. p.window is 8 when every group is narrow.
void Prepare(GatherPlan& p, int* base, int32_t* lanes) {
  const int groups = p.n / 8;
  bool allNarrow = true;
  for (int g = 0; g < groups; ++g) {
    int lo = p.first[8 * g], hi = p.last[8 * g];
    for (int j = 1; j < 8; ++j) {
      lo = p.first[8 * g + j] < lo ? p.first[8 * g + j] : lo;
      hi = p.last[8 * g + j] > hi ? p.last[8 * g + j] : hi;
    }
    // Keep the window inside the row: start it earlier near the row's end.
    const int window = hi - lo < 8 ? 8 : 16;
    int b = lo;
    if (b + window > p.width) b = p.width - window;
    if (p.k > kMaxK || b < 0 || hi - b >= window) {
      base[g] = -1;
      allNarrow = false;
      continue;
    }
    base[g] = window == 8 ? b : -2 - b;
    allNarrow &= window == 8;
    for (int t = 0; t < p.k; ++t)
      for (int j = 0; j < 8; ++j) {
        const int i = 8 * g + j;
        // Past its own last pixel an output repeats that pixel: ANDing it again is harmless.
        const int c = p.first[i] + t < p.last[i] ? p.first[i] + t : p.last[i];
        lanes[(g * p.k + t) * 8 + j] = c - b;
      }
  }
  p.window = allNarrow ? 8 : 16;
  p.base = base;
  p.lanes = lanes;
}

// The gathered source of group g from its window of 8 or 16 pixels at b.
template <bool Narrow>
inline __m256i GatherGroup(const Colour* s, const GatherPlan& p, int g, int b) {
  const int32_t* idx = p.lanes + g * p.k * 8;
  const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + b));
  if constexpr (Narrow) {
    __m256i acc = _mm256_permutevar8x32_epi32(lo, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(idx)));
    for (int t = 1; t < p.k; ++t) {
      const __m256i ix = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(idx + 8 * t));
      acc = _mm256_and_si256(acc, _mm256_permutevar8x32_epi32(lo, ix));
    }
    return acc;
  } else {
    const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + b + 8));
    const __m256i seven = _mm256_set1_epi32(7);
    __m256i acc = _mm256_set1_epi32(-1);
    for (int t = 0; t < p.k; ++t, idx += 8) {
      const __m256i ix = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(idx));
      const __m256i a = _mm256_permutevar8x32_epi32(lo, ix);
      const __m256i c = _mm256_permutevar8x32_epi32(hi, ix);
      acc = _mm256_and_si256(acc, _mm256_blendv_epi8(a, c, _mm256_cmpgt_epi32(ix, seven)));
    }
    return acc;
  }
}

// d[i] = op(d[i], gathered source i) on `rows` rows, the gather and the operation in one
// pass; each group is gathered once for all rows.
template <class F, bool One>
void GatherWith(Colour* d, ptrdiff_t ds, const Colour* s, const GatherPlan& p, int many) {
  const int rows = One ? 1 : many;
  const int groups = p.base ? p.n / 8 : 0;
  for (int g = 0; g < groups; ++g) {
    const int b = p.base[g];
    if (b == -1) {
      for (int i = 8 * g; i < 8 * g + 8; ++i) {
        const Colour v = GatherOne(s, p, i);
        for (int r = 0; r < rows; ++r) d[r * ds + i] = F{}(d[r * ds + i], v);
      }
      continue;
    }
    const V8 v = reinterpret_cast<V8>(b >= 0 ? GatherGroup<true>(s, p, g, b) : GatherGroup<false>(s, p, g, -2 - b));
    for (int r = 0; r < rows; ++r) Vec<8>::Store(d + r * ds + 8 * g, F{}(Vec<8>::Load(d + r * ds + 8 * g), v));
  }
  for (int i = 8 * groups; i < p.n; ++i) {
    const Colour v = GatherOne(s, p, i);
    for (int r = 0; r < rows; ++r) d[r * ds + i] = F{}(d[r * ds + i], v);
  }
}

// The commonest gather, an enlargement (p.window == 8, p.k == 1): one permute of one
// 8-pixel window per group.
template <class F, bool One>
void GatherSingle(Colour* d, ptrdiff_t ds, const Colour* s, const GatherPlan& p, int many) {
  const int rows = One ? 1 : many;
  const int groups = p.base ? p.n / 8 : 0;
  const int32_t* idx = p.lanes;
  for (int g = 0; g < groups; ++g, idx += 8) {
    const int b = p.base[g];  // every group has a narrow window here
    const __m256i ix = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(idx));
    const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + b));
    const V8 v = reinterpret_cast<V8>(_mm256_permutevar8x32_epi32(w, ix));
    for (int r = 0; r < rows; ++r) Vec<8>::Store(d + r * ds + 8 * g, F{}(Vec<8>::Load(d + r * ds + 8 * g), v));
  }
  for (int i = 8 * groups; i < p.n; ++i)
    for (int r = 0; r < rows; ++r) d[r * ds + i] = F{}(d[r * ds + i], s[p.first[i]]);
}

template <class F>
void GatherOp(Colour* d, ptrdiff_t ds, const Colour* s, const GatherPlan& p, int rows) {
  // One row (the commonest case) is compiled on its own, without the loop over rows.
  const bool single = p.window == 8 && p.k == 1;
  if (rows == 1) single ? GatherSingle<F, true>(d, ds, s, p, 1) : GatherWith<F, true>(d, ds, s, p, 1);
  else single ? GatherSingle<F, false>(d, ds, s, p, rows) : GatherWith<F, false>(d, ds, s, p, rows);
}

// The operation of a stretch on a value gathered once and applied to many rows: the AND
// masks the gathered value once instead of once per row.
template <class F>
struct Applied {
  static V8 Prepare(V8 v) { return v; }
  static V8 Apply(V8 d, V8 v) { return F{}(d, v); }
};
template <>
struct Applied<AndOp> {
  static V8 Prepare(V8 v) { return v & kMask; }
  static V8 Apply(V8 d, V8 v) { return d & v; }
};

// Output i of a plan whose outputs AND at most two source pixels: the AND of its first
// and last (the same pixel for one).
inline Colour Pair(const Colour* row, const GatherPlan& p, int i) { return row[p.first[i]] & row[p.last[i]]; }

// Group g of a source row: outputs 8g..8g+7, each the AND of at most K source pixels.
// Narrow: every group of the plan reads one 8-pixel window.
template <int K, bool Narrow>
[[gnu::always_inline]] inline __m256i Group(const Colour* row, const GatherPlan& p, const int32_t* idx, int g) {
  const int b = p.base[g];
  if (Narrow || b >= 0) {
    const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + b));
    __m256i v = _mm256_permutevar8x32_epi32(w, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(idx)));
    if constexpr (K == 2)
      v = _mm256_and_si256(v, _mm256_permutevar8x32_epi32(w, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(idx + 8))));
    return v;
  }
  if (b < -1) {
    const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row - 2 - b));
    const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 6 - b));
    const __m256i seven = _mm256_set1_epi32(7);
    const auto pick = [&](const int32_t* at) {
      const __m256i ix = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
      return _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(lo, ix), _mm256_permutevar8x32_epi32(hi, ix),
                                _mm256_cmpgt_epi32(ix, seven));
    };
    __m256i v = pick(idx);
    if constexpr (K == 2) v = _mm256_and_si256(v, pick(idx + 8));
    return v;
  }
  Colour one[8];
  for (int i = 0; i < 8; ++i) one[i] = Pair(row, p, 8 * g + i);
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(one));
}

// One run: the source row gathered group by group and applied to its destination rows,
// Rows of them (0: count of them).
template <class F, int K, bool Narrow, int Rows>
inline void Run(Colour* d, ptrdiff_t ds, const Colour* row, const GatherPlan& p, int count) {
  using A = Applied<F>;
  const int groups = p.n / 8;
  const int32_t* idx = p.lanes;
  for (int g = 0; g < groups; ++g, idx += 8 * K) {
    const V8 w = A::Prepare(reinterpret_cast<V8>(Group<K, Narrow>(row, p, idx, g)));
    Colour* o = d + 8 * g;
    if constexpr (Rows == 1) {
      Vec<8>::Store(o, A::Apply(Vec<8>::Load(o), w));
    } else if constexpr (Rows == 2) {
      Vec<8>::Store(o, A::Apply(Vec<8>::Load(o), w));
      Vec<8>::Store(o + ds, A::Apply(Vec<8>::Load(o + ds), w));
    } else {
      for (int c = 0; c < count; ++c, o += ds) Vec<8>::Store(o, A::Apply(Vec<8>::Load(o), w));
    }
  }
  for (int i = 8 * groups; i < p.n; ++i) {
    const Colour v = Pair(row, p, i);
    Colour* o = d + i;
    for (int c = 0; c < count; ++c, o += ds) *o = F{}(*o, v);
  }
}

// A whole stretch whose outputs each AND at most K = plan.k (1 or 2) source pixels. Each
// group of 8 outputs is gathered once per source row, in a register, and applied straight
// to every destination row of that source row; no row is built in memory.
template <class F, int K, bool Narrow>
void StretchWith(Colour* d, ptrdiff_t ds, const Colour* s, const StretchRun* runs, int nRuns, int span,
                 const GatherPlan& p) {
  constexpr int kAhead = 6;  // runs fetched ahead: the rows of a sheet cell lie far apart
  for (int j = 0; j < nRuns; ++j) {
    if (j + kAhead < nRuns)
      for (int c = 0; c < span; c += 16) __builtin_prefetch(s + runs[j + kAhead].off + c);
    const Colour* row = s + runs[j].off;
    const int count = runs[j].count;
    if (count == 1) Run<F, K, Narrow, 1>(d, ds, row, p, 1);
    else if (count == 2) Run<F, K, Narrow, 2>(d, ds, row, p, 2);
    else Run<F, K, Narrow, 0>(d, ds, row, p, count);
    d += count * ds;
  }
}

template <class F>
void Stretch(Colour* d, ptrdiff_t ds, const Colour* s, const StretchRun* runs, int nRuns, int span,
             const GatherPlan& p) {
  const bool narrow = p.window == 8;
  if (p.k == 1) {
    if (narrow) StretchWith<F, 1, true>(d, ds, s, runs, nRuns, span, p);
    else StretchWith<F, 1, false>(d, ds, s, runs, nRuns, span, p);
  } else {
    if (narrow) StretchWith<F, 2, true>(d, ds, s, runs, nRuns, span, p);
    else StretchWith<F, 2, false>(d, ds, s, runs, nRuns, span, p);
  }
}

// The gather alone, into one row.
void Gather(Colour* out, const Colour* s, const GatherPlan& p) { GatherOp<CopyOp>(out, 0, s, p, 1); }

void Pick(Colour* out, const Colour* s, const int* cols, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i ix = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cols + i));
    const __m256i v = _mm256_i32gather_epi32(reinterpret_cast<const int*>(s), ix, 4);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), v);
  }
  for (; i < n; ++i) out[i] = s[cols[i]];
}

// Wide fills store whole aligned 32-byte blocks, four at a time, which is faster than
// unaligned stores; narrow ones skip the aligning steps.
void Fill(Colour* d, ptrdiff_t stride, int n, int rows, Colour c) {
  if (n < 64) {
    FillRows<8>(d, stride, n, rows, c);
    return;
  }
  const __m256i v = _mm256_set1_epi32(static_cast<int>(c));
  for (int r = 0; r < rows; ++r, d += stride) {
    int i = 0;
    for (; i < n && (reinterpret_cast<uintptr_t>(d + i) & 31) != 0; ++i) d[i] = c;
    for (; i + 32 <= n; i += 32) {
      _mm256_store_si256(reinterpret_cast<__m256i*>(d + i), v);
      _mm256_store_si256(reinterpret_cast<__m256i*>(d + i + 8), v);
      _mm256_store_si256(reinterpret_cast<__m256i*>(d + i + 16), v);
      _mm256_store_si256(reinterpret_cast<__m256i*>(d + i + 24), v);
    }
    for (; i + 8 <= n; i += 8) _mm256_store_si256(reinterpret_cast<__m256i*>(d + i), v);
    for (; i < n; ++i) d[i] = c;
  }
}

Kernels Make() {
  Kernels k = MakeKernels<8>("avx2");
  k.gather = Gather;
  k.gatherOp[kCopy] = GatherOp<CopyOp>;
  k.gatherOp[kAnd] = GatherOp<AndOp>;
  k.gatherOp[kXor] = GatherOp<XorOp>;
  k.gatherOp[kNot] = GatherOp<NotOp>;
  k.gatherOp[kCopyMasked] = GatherOp<MaskOp>;
  k.stretch[kCopy] = Stretch<CopyOp>;
  k.stretch[kAnd] = Stretch<AndOp>;
  k.stretch[kXor] = Stretch<XorOp>;
  k.stretch[kNot] = Stretch<NotOp>;
  k.stretch[kCopyMasked] = Stretch<MaskOp>;
  k.pick = Pick;
  k.fill = Fill;
  k.prepare = Prepare;
  return k;
}

}  // namespace

const Kernels* Avx2() {
  static const Kernels k = Make();
  return &k;
}

}  // namespace plat::rows

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif
