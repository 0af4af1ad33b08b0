// startup.h - the start of a run: banner, preferences, log, run stamp.
#pragma once

#include "run/run.h"

// Prepare the run: the keyboard, the screen, the banner, the preferences,
// the log and the stamp.  The first step of the run.
void startup(Run& run, const char* banner);
