// pipeline.h - the steps of one run, from start-up to its committed
// outputs, whatever its channels are: the files of the command line or the
// memory of the library (see library.cpp).
#pragma once

#include <cstdint>

#include "run/run.h"

namespace gridel::driver {

// The run from start-up to its closed outputs, when it ends normally (a
// check when the run checks); a run that ends early throws its end
// (RunEnd) from wherever it stops.  `crop` cuts the page to the drawn
// content; `dpi` is the PNG resolution.  The exit status.
int drawrun(run::Run& run, bool crop, int dpi);

// Give the run the table of drawing formats and ask for the drawings of
// `formats` (a bit for each row of the table) and those every run writes.
void askformats(run::Run& run, uint32_t formats);

}  // namespace gridel::driver
