// readdata.h - the data section reader: the whole data file into the model.
#pragma once

#include "diagram/model.h"
#include "run/lineinput.h"
#include "run/run.h"
#include "text/fixedtext.h"

// The data file being read: the script reader closes it.
struct DataFile {
    LineReader reader;  // the open file
    Text name;          // its full name
    // Words after the "*" that ends the areas, on its line, are not read:
    // the first of them, when there are any (its line; 0 for none).
    int32_t restline = 0;
    int32_t restcolumn = 0;
};

// How far the reading of the data file got, for a check that goes on
// after a failure.
struct ReadProgress {
    Text datafile = {0, {}};   // the data file's name as opened; empty until it is
    bool script = false;       // the script reader has begun
};

// Ask for and open the data file, read its data section into the diagram
// (whose tables exist), then hand the file to the script reader, which
// closes it.
void readdata(Run& run, Diagram& d, ReadProgress& progress);

inline void readdata(Run& run, Diagram& d) {
    ReadProgress progress;
    readdata(run, d, progress);
}

// A warning for a text of the data file at `line` (a name,
// an info line) that holds bytes that are not UTF-8 or characters no
// drawing can show: the PDF, SVG and PNG draw U+FFFD for them.
void warnundrawable(Run& run, int32_t line, TextView text, const char* what);
