// files.h - the data file chosen by its suffix, and the creation of output
// files.
#pragma once

#include "run/channels.h"
#include "run/lineinput.h"
#include "text/fixedtext.h"

// Find and open prefix + suffix + ".txt" for reading, asking for the suffix
// when it is empty (the suffix is updated in place).  Returns the full name.
// No suffix, or a file that cannot be opened, ends the run.
Text promptdatafile(const char* prefix, Word& suffix, LineReader& file);

// Create (or replace) the file name + extension for writing on a channel.
// Returns the full name; a file that cannot be created ends the run with an
// input/output error.
Text openoutput(const char* name, const Word& extension, OutputChannel& channel);
