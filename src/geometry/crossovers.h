// crossovers.h - crossover points placed where their two lines cross.
#pragma once

#include "diagram/model.h"
#include "run/run.h"

namespace gridel::geometry {

// Give every crossover point the position where its two lines first cross;
// a line that is missing or lines that never cross end the run.
void placecrossovers(run::Run& run, diagram::Diagram& d);

}  // namespace gridel::geometry
