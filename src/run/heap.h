// heap.h - the heap monitor: a running total of the large blocks the program
// takes from the heap, reported on the screen when `monitorheap` is on.
#pragma once

#include <cstdint>

#include "run/run.h"

namespace gridel::run {

// Record an allocation of `bytes` under a tag (cut to 20 characters) in the
// run's total and, with `monitorheap` on, report it straight to standard
// output.
void heapalloc(Run& run, const char* tag, int32_t bytes);

}  // namespace gridel::run
