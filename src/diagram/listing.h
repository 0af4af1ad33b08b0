// listing.h - the log listing of what was read: one line per point, line
// and area, written as soon as the item is read.
#pragma once

#include <cstdint>

#include "diagram/model.h"
#include "run/run.h"

namespace gridel::diagram {

// Kinds of listed items.
constexpr int16_t itempoint = 1;
constexpr int16_t itemline = 2;
constexpr int16_t itemarea = 3;

// List item number k of the kind (1 point, 2 line, 3 area) to the log; any
// other kind writes nothing.
void listitem(run::Run& run, const Diagram& d, int16_t kind, int16_t k);

}  // namespace gridel::diagram
