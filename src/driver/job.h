// job.h - one whole run of the program, as the command line asks for it.
#pragma once

#include "driver/commandline.h"

namespace gridel::driver {

// Run the job: start-up, the diagram read, the geometry, the drawing in
// every format asked for, the closing stamp, every file closed.  Returns
// the exit status, of a run that ended normally or early (a failure
// report, a kill, an input/output error).
int runjob(const Options& options);

}  // namespace gridel::driver
