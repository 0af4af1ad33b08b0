// lock.h - one run at a time per diagram.  A run that may write a
// diagram's outputs holds an exclusive lock (flock) on them for its whole
// life, taken through a hidden file named after them in their folder,
// ".<stem>.lock", which the run that holds the lock removes when it gives
// the lock back.  A second run waits for the first, and says so on
// standard error when that lasts more than a second.  Under the lock, a run
// removes the temporary files of the same outputs that a killed run left.
#pragma once

#include "run/run.h"

namespace gridel::run {

// Take lock `slot` of the run: the lock of the outputs <stem> with the
// ending of each drawing the run knows, <stem>.log (and gl-log.txt for the
// stem gl-log) in the folder the stem names, else the current one.  A folder where no lock file can be
// made is not locked: the outputs cannot be made there either, and their
// creation says why.
void lockoutputs(Run& run, int slot, const char* stem);

// Give back every lock the run holds.
void unlockoutputs(Run& run);

}  // namespace gridel::run
