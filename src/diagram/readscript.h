// readscript.h - the script section of the data file: window, ticks and
// drawing options.
#pragma once

#include "diagram/model.h"
#include "run/linereader.h"
#include "run/run.h"
#include "text/fixedtext.h"

namespace gridel::diagram {

// The data file being read: the data reader opens it and reads its data
// section, the script reader reads the rest and closes it.
struct DataFile {
    run::LineReader reader;  // the open file
    text::Text name;          // its full name
    // Words after the "*" that ends the areas, on its line, are not read:
    // the first of them, when there are any (its line; 0 for none).
    int32_t restline = 0;
    int32_t restcolumn = 0;
};

// Read the script from the open data file to its end (or a "*" line),
// check that the window and the big ticks were given, and close the file.
void readscript(run::Run& run, Diagram& d, DataFile& file);

// The script of a data file whose data section failed, read as readscript
// reads it, for a check that lists all it can.  The script is taken to
// begin after the last line holding "*" before the first line that begins
// with a script keyword (area lines, which begin with a number, are
// skipped); without such a line nothing is read.
void readscriptafterfailure(run::Run& run, Diagram& d, const text::Text& datafile);

}  // namespace gridel::diagram
