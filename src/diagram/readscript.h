// readscript.h - the script section of the data file: window, ticks and
// drawing options.
#pragma once

#include "diagram/model.h"
#include "run/linereader.h"
#include "run/run.h"
#include "text/fixedtext.h"

// The data file being read: the data reader opens it and reads its data
// section, the script reader reads the rest and closes it.
struct DataFile {
    LineReader reader;  // the open file
    Text name;          // its full name
};

// Read the script from the open data file to its end (or a "*" line),
// check that the window and the big ticks were given, and close the file.
void readscript(Run& run, Diagram& d, DataFile& file);
