// failure.h - the value that carries a run's end up to the job, and the
// ways a run ends early: the one failure report (`bombed`), the stop on
// "kill" and the input/output error.
#pragma once

#include <cstring>

#include "text/fixedtext.h"

namespace gridel::run {

struct Run;

// Exit statuses of the program.
constexpr int exitnormal = 0;   // a normal run, or one stopped by "kill"
constexpr int exitfailed = 1;   // a run that ended in a failure report
constexpr int exitioerror = 2;  // a file could not be created or written
// A run ended by a signal: this plus the signal's number, as shells report it.
constexpr int exitsignalled = 128;

// The end of a run before its normal close.  The failure report, the kill,
// an input/output error and an ending signal write what they have to say
// and throw it; the job catches it once, closes the run's files as it asks
// (see commit.h) and returns `status`.  Nothing else throws it, and nothing
// but the job catches it, save the script reader of a check, which lists
// the failure of each script line and goes on with the next.
struct RunEnd {
    int status;
    bool ioerror;       // an input/output error: the log is kept unless it is the failing file
    char failing[256];  // that file's name as reported ("" for none)
    char reason[96];    // the system's reason for that file, as reported ("" for none)
};

// The end of a run by an input/output error in the file `failing`, for
// `reason`.
RunEnd ioerrorend(const char* failing, const char* reason = "");

// Report a failure on every open transcript channel, wait for return on the
// screen (in an interactive run) and end the run with the failure status:
// the job closes its files.
[[noreturn]] void bombed(Run& run, const char* where, const char* what, int whatlen);

[[noreturn]] inline void bombed(Run& run, const char* where, const char* what) {
    bombed(run, where, what, static_cast<int>(std::strlen(what)));
}

template <int Cap>
[[noreturn]] inline void bombed(Run& run, const char* where, const text::Str<Cap>& what) {
    bombed(run, where, what.c, what.len);
}

// True when the word, without surrounding blanks, is exactly "kill".
bool iskill(const char* word, int len);

template <int Cap>
inline bool iskill(const text::Str<Cap>& word) { return iskill(word.c, word.len); }

inline bool iskill(text::TextView word) { return iskill(word.c, static_cast<int>(word.len)); }

// Stop the run at the user's request: "-- run killed --", then the end of
// the run with status 0.
[[noreturn]] void killrun(Run& run);

// End the run when an ending signal has come (see signals.h), with the
// status of a run ended by that signal; the job closes its files as an
// interrupted run's.
void stopifinterrupted();

// End the run on an input/output error: one line on standard error naming
// the file and the system's reason, the transcript kept, the drawing
// dropped, exit status 2.
[[noreturn]] void ioerror(Run& run, const char* path);

// The same with a reason of the caller's (a library that failed to write).
[[noreturn]] void outputfailure(Run& run, const char* path, const char* reason);

}  // namespace gridel::run
