// files.h - the standard streams of a run, the data file chosen by its
// suffix, and the run's output files (see outputfile.h), named after it.
#pragma once

#include <string>

#include "run/channels.h"
#include "run/lineinput.h"
#include "run/outputfile.h"
#include "text/fixedtext.h"

struct Run;

// The extension of an output channel's file: ".eps" for the drawing,
// ".pdf", ".svg", ".png" for its other formats; "" for the others.
const char* outputextension(int channel);

// The stem of the run's outputs: gl-<suffix>, or gl-<name> for a data file
// named on the command line.
std::string outputstem(const Run& run);

// The name of a drawing of the run: the stem and the channel's extension.
std::string outputname(const Run& run, int channel);

// The name of the run's log: gl-<name>.log beside the drawings for a data
// file named on the command line, gl-log.txt in a classic run.
std::string logname(const Run& run);

// A file `name` in the data file's folder as the command line named that
// folder ("docs/" + name), for messages; the name alone in a classic run.
std::string shownname(const Run& run, const char* name);

// Reopen standard input, output and error on /dev/null when they are closed,
// so that no file opened later takes their numbers.  The first call of the
// program.
void openstandardstreams();

// Find and open prefix + suffix + ".txt" for reading, asking for the suffix
// when it is empty (the suffix is updated in place); or the data file named
// on the command line.  Returns the full name.  No suffix, a file that
// cannot be opened, or a data file that is one of the run's output files
// (the log, a drawing) ends the run; in the last case the output file is
// left as it was.  A file that is there but cannot be read is an
// input/output error.  A classic run locks its drawings (see lock.h) as soon
// as the suffix names them.
Text promptdatafile(Run& run, const char* prefix, Word& suffix, LineReader& file);

// Create the file name + extension for writing as channel `channel` of the
// run, and open the channel; it replaces a file of that name when
// committed.  Returns the full name; a file that cannot be created (its
// name too long included) ends the run with an input/output error.
Text openoutput(Run& run, const char* name, const Word& extension, int channel);
