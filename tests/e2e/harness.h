// harness.h - runs the real gridel binary in a fresh folder with the clock
// fixed, and compares what it leaves behind byte for byte.
//
// A case folder under tests/e2e/cases holds:
//   files/          copied into the working folder before the run
//                   (gl-prefs.txt, gl-<suffix>.txt, ...)
//   stdin           what the user types (absent: nothing, input closed)
//   expect/screen   the expected standard output
//   expect/<name>   every other file expected in the folder afterwards
//                   (gl-log.txt, gl-<suffix>.eps, ...)
//   files/<folder>/ becomes an empty folder of that name (to block a file name)
//   expect/stderr   the expected standard error (absent: it must stay empty)
//   status          the expected exit status (absent: 0)
//   clock           the fixed clock, "YYYY-MM-DD HH:MM" (absent: 2026-12-06 09:05)
// After the run the folder must hold exactly files/ and expect/ (less the
// screen), and after a normal run every drawing must pass Ghostscript.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/floors.h"

namespace e2e {

constexpr const char* defaultclock = "2026-12-06 09:05";

struct RunResult {
    int status = -1;          // exit status when the program exited by itself
    bool signalled = false;   // ended by a signal
    int signal = 0;           // that signal
    bool timedout = false;    // killed after the time limit
    std::string screen;       // standard output
    std::string errors;       // standard error
};

// A new empty folder under the system's temporary folder.
std::string makeworkdir();

// Remove a folder and everything in it.
void removetree(const std::string& dir);

bool fileexists(const std::string& path);

// Names of the regular files directly in a folder, sorted.
std::vector<std::string> listfiles(const std::string& dir);

// Run gridel in `dir` with the given typed input and clock.  A standard
// stream numbered `closedstream` (0, 1 or 2) is closed instead.
RunResult rungridel(const std::string& dir, const std::string& typed,
                    const std::string& clock = defaultclock, int timeoutseconds = 60,
                    int closedstream = -1);

// Run gridel in `dir` with standard input read from a file (a device such as
// /dev/zero included).
RunResult rungridelfrom(const std::string& dir, const std::string& inputpath,
                        const std::string& clock = defaultclock, int timeoutseconds = 60,
                        int closedstream = -1);

// How to start the program, for the runs the two above do not cover.
struct Launch {
    std::string dir;                // the folder it runs in
    std::vector<std::string> args;  // its arguments
    std::string typed;              // what standard input holds
    bool holdinput = false;         // standard input a pipe kept open (nothing typed, no end)
    std::string clock = defaultclock;
    int timeoutseconds = 60;
    std::string program = GRIDEL_BINARY;   // the program started
    std::vector<std::string> environment;  // more variables, as NAME=VALUE
    rlim_t filesizelimit = 0;              // the largest file it may write, in bytes (0: no limit)
};

RunResult rungridelwith(const Launch& launch);

// A run not yet waited for: its process, its output's folder, its held input.
struct Started {
    pid_t pid = -1;
    std::string base;
    int typing = -1;
};

// Start a run; wait for it (killed after `timeoutseconds`, a held input
// closed after); what it wrote so far.
Started startgridel(const Launch& launch);
RunResult finishgridel(Started& run, int timeoutseconds = 60);
std::string sofar(const Started& run, bool errors = false);

// Wait (at most `seconds`) until `done` holds for its output and error so far.
bool waitfor(const Started& run, const std::function<bool(const std::string&, const std::string&)>& done,
             int seconds = 30);

// A readable unified diff of two texts, with control bytes, the bytes 0xA4
// and 0xA5 and trailing blanks made visible; empty when they are equal.
std::string showdiff(const std::string& expected, const std::string& actual,
                     const std::string& label);

// True when standard error holds what a run may write there after it ended
// with status `status`: nothing or the one line counting the warnings after
// a normal end; after a failure report, one FILE:LINE:COLUMN: error: line
// with the lines that quote the file and give notes; never a raw control
// byte.
bool cleanerrors(const std::string& errors, int status);

// Standard error of a check without its notes on the areas closed along
// the border ("FILE:LINE: note: area N: closed along ..."), for tests
// about the other lines.
std::string withoutareanotes(const std::string& errors);

// The bytes of every regular file directly in a folder, by name.
std::map<std::string, std::string> contents(const std::string& dir);

// Names of the folders directly in a folder, sorted.
std::vector<std::string> listfolders(const std::string& dir);

// Every case folder, sorted by name.
std::vector<std::string> casenames();

// Run one case folder; returns a report of every mismatch (empty when all is
// as expected).
std::string runcase(const std::string& casedir);

}  // namespace e2e
