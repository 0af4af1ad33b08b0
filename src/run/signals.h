// signals.h - the signals that end a run: SIGINT, SIGTERM and SIGHUP remove
// the temporary output files of the run's channels before they end the
// process, and a file passing the size limit is a write error.
#pragma once

#include "run/outputfile.h"

// Make SIGINT, SIGTERM and SIGHUP remove the temporary file of every
// channel of `table` (`count` of them) before they end the process (signals
// ignored at start stay ignored), and ignore SIGXFSZ, so that a file passing
// the size limit is a write error.
void guardoutputfiles(OutputChannel* table, int count);
