// files.h - the standard streams of a run, the data file named on the
// command line or chosen by its suffix, and the run's output files (see
// outputfile.h), named after it.
#pragma once

#include <string>

#include "run/channels.h"
#include "run/lineinput.h"
#include "run/outputfile.h"
#include "run/run.h"
#include "text/fixedtext.h"

namespace gridel::run {

// The data file `typed` as the command line names it: a run for it works
// in its folder, where its name is the part after the last "/", and its
// outputs are named gl-<name>, where <name> is the file's name without a
// leading "gl-" and without its extension.
DataFileName datafilename(const std::string& typed);

// Enter the folder of the data file the run was given.  A folder that is
// not there makes the data file one that is not there: the run's failure
// report for it, without a transcript; a folder that cannot be entered is
// an input/output error, reported.  The exit status; exitnormal when the
// run may start.
int enterdatafolder(Run& run);

// The command that lists the warnings of this run: the data file as it
// was named, quoted for the shell when it needs to be.
std::string checkcommand(const Run& run);

// The stem of the run's outputs: gl-<suffix>, or gl-<name> for a data file
// named on the command line.
std::string outputstem(const Run& run);

// The name of a drawing of the run: the stem and the channel's ending.
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
text::Text promptdatafile(Run& run, const char* prefix, text::Word& suffix, LineReader& file);

// Open the file `path` of the run for reading: the text of that name in a
// run drawn in memory (none: false, errno ENOENT), else the file.
bool openinput(Run& run, LineReader& reader, const char* path);

// Create the file name + extension for writing as channel `channel` of the
// run, and open the channel; it replaces a file of that name when
// committed.  Returns the full name; a file that cannot be created (its
// name too long included) ends the run with an input/output error.
text::Text openoutput(Run& run, const char* name, const text::Word& extension, int channel);

// Open the drawing channel `channel` as the run's output of its kind (see
// openoutput): its full name.  A stem holding a NUL byte is reported by
// the name it cannot create.
text::Text opendrawing(Run& run, int channel);

}  // namespace gridel::run
