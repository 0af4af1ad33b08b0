// commit.h - the closing of a run's files: at its normal end, and at an
// early end (RunEnd) as that end asks.
#pragma once

#include "run/failure.h"
#include "run/run.h"

// End the screen line and close every open channel file.  The transcript
// files (out, log) are always committed; the files of channels 4 to 9 only
// when they were written and the run `finished` normally, else they are
// dropped and the files they would replace stay as they were.  False when a
// file could not be completed on disk (reported): the run must then end
// with an input/output error.
bool closeall(Run& run, bool finished = true);

// Close one channel file, committing it when it is to be kept (see
// closeoutput).  Returns false when the file could not be completed on disk.
bool closefile(OutputChannel& channel, bool keep, const char* name);

// Close every open channel file for a run that ends on an input/output
// error in the file `failing` (its name as reported; "" for none): the
// transcript files are committed unless they are the failing file, every
// other file is dropped.
void closeonerror(Run& run, const char* failing);

// Close the files of a run that ended early, as its end asks; the exit
// status of the run.
int closeended(Run& run, const RunEnd& end);
