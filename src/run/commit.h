// commit.h - the closing of a run's files.
//
// At a normal end, every output is finished first: its bytes written out,
// made durable (fsync) and closed, the drawings and then the log.  Only
// when all of them are, they take their final names one after another
// with SIGINT, SIGTERM and SIGHUP held back, and their folder is made
// durable.  Until then every file they replace stays exactly as it was.
// A file they replace keeps a second name (a hard link) until all have
// taken theirs: a rename that fails puts back what the renames before it
// replaced.
//
// A run that ends early (a failure report, a kill, an interrupt, an
// input/output error) commits its log alone, the same way, with a last line
// when a signal ended it; its drawings are dropped.
#pragma once

#include "run/failure.h"
#include "run/run.h"

// Close the files of a run that ended normally, the screen line ended
// first; the exit status: normal, or an input/output error (reported).
int commitrun(Run& run);

// Close the files of a run that ended early, as its end asks; the exit
// status of the run.
int closeended(Run& run, const RunEnd& end);
