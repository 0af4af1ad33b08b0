// readscript.h - the script section of the data file: window, ticks and
// drawing options.
#pragma once

#include "diagram/model.h"
#include "diagram/readdata.h"

// Read the script from the open data file to its end (or a "*" line),
// check that the window and the big ticks were given, and close the file.
void readscript(Run& run, Diagram& d, DataFile& file);
