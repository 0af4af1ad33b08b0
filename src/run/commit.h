// commit.h - the closing of a run's files.
//
// At a normal end, every drawing is finished first: its bytes written out,
// made durable (fsync) and closed.  Only when all of them are, they take
// their final names one after another with SIGINT, SIGTERM and SIGHUP held
// back, and their folder is made durable; then the log gets its closing
// line, is finished and takes its name, and the folder is made durable
// again.  Until then every file they replace stays exactly as it was.  A
// file they replace keeps a second, hidden name (a hard link,
// ".<name>.old.XXXXXX") until all have taken theirs: a step that fails puts
// back what the renames before it replaced, so the folder keeps the
// earlier set whole.
//
// When the drawings cannot be committed, the log says so in its last lines
// (instead of naming the drawing) and says which earlier drawings are
// kept, and is committed alone.  When putting an earlier file back fails
// too, its hidden copy stays: standard error and the log say that the set
// is mixed and name the copy.  A run whose log cannot be committed keeps
// the earlier set whole (or names the copies) and says why on standard
// error.
//
// A run that ends early (a failure report, a kill, an interrupt, an
// input/output error) commits its log alone, the same way, with a last line
// when a signal ended it or a drawing could not be written; its drawings
// are dropped.
#pragma once

#include "run/failure.h"
#include "run/run.h"

namespace gridel::run {

// Close the files of a run that ended normally: `closing` (the line that
// names the drawing, `closinglen` bytes; none when null) goes to the screen
// and the log once the drawings have their names, and the screen line is
// ended.  The exit status: normal, or an input/output error (reported).
int commitrun(Run& run, const char* closing = nullptr, int closinglen = 0);

// Close the files of a run that ended early, as its end asks; the exit
// status of the run.
int closeended(Run& run, const RunEnd& end);

}  // namespace gridel::run
