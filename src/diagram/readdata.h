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
};

// Ask for and open the data file, read its data section into the diagram
// (whose tables exist), then hand the file to the script reader, which
// closes it.
void readdata(Run& run, Diagram& d);

// Under --check, a warning for a text of the data file at `line` (a name,
// an info line) that holds bytes that are not UTF-8 or characters no
// drawing can show: the PDF, SVG and PNG draw U+FFFD for them.
void warnundrawable(Run& run, int32_t line, TextView text, const char* what);
