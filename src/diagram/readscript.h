// readscript.h - the script section of the data file: window, ticks and
// drawing options.
#pragma once

#include "diagram/model.h"
#include "diagram/readdata.h"

// Read the script from the open data file to its end (or a "*" line),
// check that the window and the big ticks were given, and close the file.
void readscript(Run& run, Diagram& d, DataFile& file);

// The script of a data file whose data section failed, read as readscript
// reads it, for a check that lists all it can.  The script is taken to
// begin after the last line holding "*" before the first line that begins
// with a script keyword (area lines, which begin with a number, are
// skipped); without such a line nothing is read.
void readscriptafterfailure(Run& run, Diagram& d, const Text& datafile);
