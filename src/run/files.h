// files.h - the standard streams of a run, the data file chosen by its
// suffix, and the run's output files (see outputfile.h), named after it.
#pragma once

#include "run/channels.h"
#include "run/lineinput.h"
#include "run/outputfile.h"
#include "text/fixedtext.h"

struct Run;

// The extension of an output channel's file: ".eps" for the drawing,
// ".pdf", ".svg", ".png" for its other formats; "" for the others.
const char* outputextension(int channel);

// The name of an output of the run: gl-<suffix> (or the stem of a data file
// named on the command line) and the channel's extension.
Text outputname(const Run& run, int channel);

// Reopen standard input, output and error on /dev/null when they are closed,
// so that no file opened later takes their numbers.  The first call of the
// program.
void openstandardstreams();

// Find and open prefix + suffix + ".txt" for reading, asking for the suffix
// when it is empty (the suffix is updated in place); or the data file named
// on the command line.  Returns the full name.  No suffix, a file that
// cannot be opened, or a data file that is one of the run's output files
// (the log, a drawing) ends the run; in the last case the output file is
// left as it was.
Text promptdatafile(Run& run, const char* prefix, Word& suffix, LineReader& file);

// Create the file name + extension for writing as channel `channel` of the
// run, and open the channel; it replaces a file of that name when
// committed.  Returns the full name; a file that cannot be created ends the
// run with an input/output error.
Text openoutput(Run& run, const char* name, const Word& extension, int channel);
