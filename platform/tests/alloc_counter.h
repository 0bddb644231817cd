// Counts the test program's heap allocations, so tests can check that drawing and frames
// allocate nothing once their caches are warm. Link alloc_counter.cpp into the test
// program to use it.
#pragma once

namespace alloc_counter {

long Allocations();

}  // namespace alloc_counter
