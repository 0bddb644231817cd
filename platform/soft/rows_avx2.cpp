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

constexpr int kWindow = 16;  // source pixels a group of 8 outputs may reach
constexpr int kMaxK = 4;     // source pixels per output the permutes handle

// Window start and lane indices for every whole group of 8 outputs whose source pixels
// fit one window; the others (and the last partial group) are gathered one by one.
void Prepare(GatherPlan& p, int* base, int32_t* lanes) {
  const int groups = p.n / 8;
  for (int g = 0; g < groups; ++g) {
    int lo = p.first[8 * g], hi = p.last[8 * g];
    for (int j = 1; j < 8; ++j) {
      lo = p.first[8 * g + j] < lo ? p.first[8 * g + j] : lo;
      hi = p.last[8 * g + j] > hi ? p.last[8 * g + j] : hi;
    }
    // Keep the window inside the row: start it earlier near the row's end.
    int b = lo;
    if (b + kWindow > p.width) b = p.width - kWindow;
    if (p.k > kMaxK || b < 0 || hi - b >= kWindow) {
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

void Gather(Colour* out, const Colour* s, const GatherPlan& p) {
  const int groups = p.base ? p.n / 8 : 0;
  const __m256i seven = _mm256_set1_epi32(7);
  for (int g = 0; g < groups; ++g) {
    const int b = p.base[g];
    if (b < 0) {
      GatherRange(out, s, p, 8 * g, 8 * g + 8);
      continue;
    }
    const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + b));
    const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + b + 8));
    __m256i acc = _mm256_set1_epi32(-1);
    const int32_t* idx = p.lanes + g * p.k * 8;
    for (int t = 0; t < p.k; ++t, idx += 8) {
      const __m256i ix = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(idx));
      const __m256i a = _mm256_permutevar8x32_epi32(lo, ix);
      const __m256i c = _mm256_permutevar8x32_epi32(hi, ix);
      acc = _mm256_and_si256(acc, _mm256_blendv_epi8(a, c, _mm256_cmpgt_epi32(ix, seven)));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8 * g), acc);
  }
  GatherRange(out, s, p, 8 * groups, p.n);
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
  k.gather = Gather;
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
