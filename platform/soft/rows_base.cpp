// The baseline row kernels: four lanes (SSE2 on x86-64, whatever the compiler makes of
// 16-byte vectors elsewhere). They run on every CPU.
#include "rows_impl.h"

namespace plat::rows {

const Kernels& Baseline() {
  static constexpr Kernels k = MakeKernels<4>("baseline");
  return k;
}

#if !defined(__x86_64__)
const Kernels* Avx2() { return nullptr; }
#endif

}  // namespace plat::rows
