// heap.h - the heap monitor: a running total of the large blocks the program
// takes from the heap, reported on the screen when `monitorheap` is on.
#pragma once

#include <cstdint>

#include "text/fixedtext.h"

// Bytes recorded by the monitor since the start of the run.
extern int32_t heaptotal;

// Record an allocation of `bytes` under a tag (cut to 20 characters) and,
// with `monitorheap` on, report it straight to standard output.
void heapalloc(const char* tag, int32_t bytes);
