// signals.h - the signals that end a run.  SIGINT, SIGTERM and SIGHUP do
// no more than note that they came: the run sees the note at its next
// line, read or step and ends as an interrupted run, so that its files are
// closed as they should be (see commit.h).  A second one ends the process
// at once.  A file passing the size limit is a write error, and a closed
// screen pipe does not end the run.
#pragma once

#include <signal.h>

namespace gridel::run {

// Install the handlers (signals ignored at start stay ignored).  Once, before
// the first run.
void installsignals();

// The ending signal that came (SIGINT, SIGTERM or SIGHUP), or 0.
int pendingsignal();

// Its name without "SIG" ("INT", "TERM", "HUP").
const char* signalname(int sig);

// Hold the ending signals back (`held` gets the mask to restore) while a
// run's outputs take their names, so that no signal cuts through that.
void holdsignals(sigset_t& held);
void releasesignals(const sigset_t& held);

// End the process by the signal that came, as it would have ended without
// the handler; nothing when none came.
void endbysignal();

}  // namespace gridel::run
