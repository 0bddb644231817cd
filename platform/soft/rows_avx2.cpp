// The AVX2 row kernels (x86-64 only): eight lanes, and gathers done with lane permutes of
// a 16-pixel source window. Chosen at run time when the CPU has AVX2.
#if defined(__x86_64__)
#include <immintrin.h>

#include <cstring>

#include "rows.h"

#pragma GCC push_options
#pragma GCC target("avx2")

#include "rows_impl.h"

namespace plat::rows {
namespace {

constexpr int kMaxK = 4;  // source pixels per output the permutes handle

// Window start and lane indices for every whole group of 8 outputs whose source pixels
// fit one window of 8 pixels (when every group does) or 16; the other groups and the last
// partial group are gathered one by one.
void Prepare(GatherPlan& p, int* base, int32_t* lanes) {
  const int groups = p.n / 8;
  bool narrow = p.width >= 8;
  for (int g = 0; g < groups && narrow; ++g) narrow = p.last[8 * g + 7] - p.first[8 * g] < 8 &&
                                                     p.last[8 * g] - p.first[8 * g + 7] < 8;
  p.window = narrow ? 8 : 16;
  for (int g = 0; g < groups; ++g) {
    int lo = p.first[8 * g], hi = p.last[8 * g];
    for (int j = 1; j < 8; ++j) {
      lo = p.first[8 * g + j] < lo ? p.first[8 * g + j] : lo;
      hi = p.last[8 * g + j] > hi ? p.last[8 * g + j] : hi;
    }
    // Keep the window inside the row: start it earlier near the row's end.
    int b = lo;
    if (b + p.window > p.width) b = p.width - p.window;
    if (p.k > kMaxK || b < 0 || hi - b >= p.window) {
      base[g] = -1;
      continue;
    }
    base[g] = b;
    for (int t = 0; t < p.k; ++t)
      for (int j = 0; j < 8; ++j) {
        const int i = 8 * g + j;
        // Past its own last pixel an output repeats that pixel: ANDing it again is harmless.
        const int c = p.first[i] + t < p.last[i] ? p.first[i] + t : p.last[i];
        lanes[(g * p.k + t) * 8 + j] = c - b;
      }
  }
  p.base = base;
  p.lanes = lanes;
}

// The gathered source of group g (one window of 8 or 16 pixels at base[g]).
template <bool Narrow>
inline __m256i GatherGroup(const Colour* s, const GatherPlan& p, int g) {
  const int b = p.base[g];
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

// d[i] = op(d[i], gathered source i), the gather and the operation in one pass.
template <class F, bool Narrow>
void GatherWith(Colour* d, const Colour* s, const GatherPlan& p) {
  const int groups = p.base ? p.n / 8 : 0;
  for (int g = 0; g < groups; ++g) {
    if (p.base[g] < 0) {
      for (int i = 8 * g; i < 8 * g + 8; ++i) d[i] = F{}(d[i], GatherOne(s, p, i));
      continue;
    }
    const V8 v = reinterpret_cast<V8>(GatherGroup<Narrow>(s, p, g));
    Vec<8>::Store(d + 8 * g, F{}(Vec<8>::Load(d + 8 * g), v));
  }
  for (int i = 8 * groups; i < p.n; ++i) d[i] = F{}(d[i], GatherOne(s, p, i));
}

// The commonest gather, an enlargement: one permute of one 8-pixel window per group.
template <class F>
void GatherSingle(Colour* d, const Colour* s, const GatherPlan& p) {
  const int groups = p.base ? p.n / 8 : 0;
  const int32_t* idx = p.lanes;
  for (int g = 0; g < groups; ++g, idx += 8) {
    const int b = p.base[g];
    if (b < 0) {
      for (int i = 8 * g; i < 8 * g + 8; ++i) d[i] = F{}(d[i], s[p.first[i]]);
      continue;
    }
    const __m256i ix = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(idx));
    const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + b));
    const V8 v = reinterpret_cast<V8>(_mm256_permutevar8x32_epi32(w, ix));
    Vec<8>::Store(d + 8 * g, F{}(Vec<8>::Load(d + 8 * g), v));
  }
  for (int i = 8 * groups; i < p.n; ++i) d[i] = F{}(d[i], s[p.first[i]]);
}

template <class F>
void GatherOp(Colour* d, const Colour* s, const GatherPlan& p) {
  if (p.window == 8 && p.k == 1) GatherSingle<F>(d, s, p);
  else if (p.window == 8) GatherWith<F, true>(d, s, p);
  else GatherWith<F, false>(d, s, p);
}

void Pick(Colour* out, const Colour* s, const int* cols, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i ix = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cols + i));
    const __m256i v = _mm256_i32gather_epi32(reinterpret_cast<const int*>(s), ix, 4);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), v);
  }
  for (; i < n; ++i) out[i] = s[cols[i]];
}

Kernels Make() {
  Kernels k = MakeKernels<8>("avx2");
  k.gather = GatherOp<CopyOp>;
  k.gatherOp[kCopy] = GatherOp<CopyOp>;
  k.gatherOp[kAnd] = GatherOp<AndOp>;
  k.gatherOp[kXor] = GatherOp<XorOp>;
  k.gatherOp[kNot] = GatherOp<NotOp>;
  k.gatherOp[kCopyMasked] = GatherOp<MaskOp>;
  k.pick = Pick;
  k.prepare = Prepare;
  return k;
}

}  // namespace

const Kernels* Avx2() {
  static const Kernels k = Make();
  return &k;
}

}  // namespace plat::rows

#pragma GCC pop_options
#endif
