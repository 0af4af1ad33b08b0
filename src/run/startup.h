// startup.h - the start of a run: banner, preferences, log, run stamp.
#pragma once

// Prepare the run environment; the first call of the run.
void startup(const char* banner);
