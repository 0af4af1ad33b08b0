// startdiagram.h - the start of the diagram: the log heading and the two
// large tables.
#pragma once

#include "diagram/model.h"
#include "run/run.h"

namespace gridel::diagram {

// Write "running at " and the run stamp to the log, and create the points
// and lines tables (reported to the heap monitor as "inv" and "uni").
void startdiagram(run::Run& run, Diagram& d);

}  // namespace gridel::diagram
