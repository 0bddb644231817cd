// Row kernels of the software surfaces: whole rows (or stacks of rows) of one raster
// operation, fills and gathers. One table per CPU path; surface.cpp picks one at run time
// and does all clipping, so a kernel only ever sees pixels inside its surfaces.
#pragma once
#include <cstddef>
#include <cstdint>

#include "../surface.h"

namespace plat::rows {

// The operations of a transfer; Rop's four plus a copy that clears the top byte (the
// stretch applies every operation on masked colours).
enum Op { kCopy, kAnd, kXor, kNot, kCopyMasked, kOps };

inline Op OpOf(Rop rop) {
  switch (rop) {
    case Rop::Copy: return kCopy;
    case Rop::And: return kAnd;
    case Rop::Invert: return kXor;
    case Rop::NotCopy: return kNot;
  }
  return kCopy;
}

// Source columns of a gather: output i is the AND of s[first[i]..last[i]]. A wide path
// may add its own tables (window starts and lane indices per group of outputs).
struct GatherPlan {
  const int* first = nullptr;
  const int* last = nullptr;
  int n = 0;         // outputs
  int k = 1;         // largest last - first + 1
  int width = 0;     // pixels readable from the row start (the source width)
  int window = 16;   // wide path: 8 when every group reads one 8-pixel window
  const int* base = nullptr;      // wide path: per group, its window (see its Prepare)
  const int32_t* lanes = nullptr; // wide path: k lane-index vectors per group
};

// One source row's share of a stretch: `count` consecutive destination rows take the
// gather of the source row at offset `off`.
struct StretchRun {
  ptrdiff_t off;
  int count;
};

struct Kernels {
  const char* name;
  // rows x n pixels: d[i] = op(d[i], s[i]) for each row, rows dStride / sStride apart.
  // Within a row d may equal or lie before s (same surface); never after inside it.
  void (*op[kOps])(Colour* d, ptrdiff_t dStride, const Colour* s, ptrdiff_t sStride, int n, int rows);
  // rows x n pixels: d[i] = (d[i] AND m[i]) XOR x[i], m and x rows sStride apart.
  void (*andXor)(Colour* d, ptrdiff_t dStride, const Colour* m, const Colour* x, ptrdiff_t sStride, int n, int rows);
  // The runs of nRows packed rows (rows[nRows] gives the end of the last) applied with d
  // the target of transfer row y0, column x0; every run is cut to the columns [x0, x1).
  void (*packed)(Colour* d, ptrdiff_t dStride, const PackedMask::Row* rows, int nRows, const PackedMask::Run* runs,
                 const Colour* lits, int y0, int x0, int x1);
  // rows x n pixels set to c.
  void (*fill)(Colour* d, ptrdiff_t stride, int n, int rows, Colour c);
  // out[i] = AND of the plan's source pixels of output i in row s, for i < plan.n.
  void (*gather)(Colour* out, const Colour* s, const GatherPlan& plan);
  // d[i] = op(d[i], gathered source i) in one pass, on `rows` destination rows dStride
  // apart from the one source row; null when the path has none (then gather into a row
  // and apply op).
  void (*gatherOp[kOps])(Colour* d, ptrdiff_t dStride, const Colour* s, const GatherPlan& plan, int rows);
  // A whole stretch in one call: for each of the nRuns runs, its count destination rows
  // (from d on, dStride apart, run after run) become op(row, gather of s + run.off). Needs
  // a plan made by prepare with plan.k <= 2; null when the path has none. Source rows are
  // fetched a few runs ahead over `span` pixels.
  void (*stretch[kOps])(Colour* d, ptrdiff_t dStride, const Colour* s, const StretchRun* runs, int nRuns, int span,
                        const GatherPlan& plan);
  // out[i] = s[cols[i]] for i < n.
  void (*pick)(Colour* out, const Colour* s, const int* cols, int n);
  // Lane tables for gather (null when the path gathers one by one): fills base (one per
  // group of 8 outputs) and lanes (plan.k * 8 per group). Storage is the caller's.
  void (*prepare)(GatherPlan& plan, int* base, int32_t* lanes);
};

const Kernels& Baseline();
// The AVX2 table on x86-64 builds; null elsewhere.
const Kernels* Avx2();

}  // namespace plat::rows
