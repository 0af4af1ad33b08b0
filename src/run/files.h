// files.h - the standard streams and signals of a run, the data file chosen
// by its suffix, and the output files, which never destroy what they replace.
//
// An output file is written under a temporary name in the folder of the
// file it replaces (".<name>.XXXXXX") and renamed to its final name only
// when it is committed; until then the old file stays exactly as it was.  A
// final name that is a symbolic link to a regular file keeps the link: the
// file it points to is replaced.  A final name that exists and is not a
// regular file (a device such as /dev/null, a FIFO) is written directly.
#pragma once

#include "run/channels.h"
#include "run/lineinput.h"
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

// Make SIGINT, SIGTERM and SIGHUP remove every temporary output file of the
// run's channels before they end the run (signals ignored at start stay
// ignored), and ignore SIGXFSZ, so that a file passing the size limit is a
// write error.
void guardoutputfiles(Run& run);

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

// What closing an output file came to.
enum class Closed {
    done,          // closed, and committed or dropped as asked
    notcompleted,  // closing or committing failed (errno says why): the old file stays
    notremoved,    // closed, but its temporary file could not be removed
};

// Close a channel's file.  With `commit` a file written under a temporary
// name takes its final name; without, the temporary file is removed and the
// final name keeps what it had.  A file written directly is only closed.
Closed closeoutput(OutputChannel& channel, bool commit);
