// startup.h - the start of a run: banner, preferences, log, run stamp.
#pragma once

#include "run/run.h"

namespace gridel::run {

// Prepare the run: the keyboard, the stamp, the screen, the banner, the
// preferences and the log (a check has no screen, no banner and no log).
// The first step of the run.
void startup(Run& run, const char* banner);

}  // namespace gridel::run
