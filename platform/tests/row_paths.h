// Runs a test body once per CPU row path the machine has, restoring the default after.
#pragma once
#include <gtest/gtest.h>

#include "platform/surface.h"

namespace plat {

template <class F>
void OnEveryPath(F body) {
  const RowPath before = ActiveRowPath();
  for (RowPath p : {RowPath::Baseline, RowPath::Avx2, RowPath::Avx512}) {
    if (!UseRowPath(p)) continue;
    SCOPED_TRACE(p == RowPath::Baseline ? "baseline path" : p == RowPath::Avx2 ? "avx2 path" : "avx512 path");
    body();
  }
  UseRowPath(before);
}

}  // namespace plat
