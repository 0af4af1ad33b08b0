// failure.h - the one way a run gives up (`bombed`), the stop on "kill",
// and the closing of every channel file.
#pragma once

#include "run/channels.h"
#include "text/fixedtext.h"

struct Run;

// Exit statuses of the program.
constexpr int exitnormal = 0;   // a normal run, or one stopped by "kill"
constexpr int exitfailed = 1;   // a run that ended in a failure report
constexpr int exitioerror = 2;  // a file could not be created or written

// Report a failure on every open transcript channel, wait for return on the
// screen (in an interactive run), close all files and end the run with the
// failure status.
[[noreturn]] void bombed(Run& run, const char* where, const char* what, int whatlen);

[[noreturn]] inline void bombed(Run& run, const char* where, const char* what) {
    bombed(run, where, what, static_cast<int>(std::strlen(what)));
}

template <int Cap>
[[noreturn]] inline void bombed(Run& run, const char* where, const Str<Cap>& what) {
    bombed(run, where, what.c, what.len);
}

// True when the word, without surrounding blanks, is exactly "kill".
bool iskill(const char* word, int len);

template <int Cap>
inline bool iskill(const Str<Cap>& word) { return iskill(word.c, word.len); }

inline bool iskill(TextView word) { return iskill(word.c, static_cast<int>(word.len)); }

// Stop the run at the user's request: "-- run killed --", close, exit 0.
[[noreturn]] void killrun(Run& run);

// End the screen line and close every open channel file.  The transcript
// files (out, log) are always committed; the files of channels 4 to 9 only
// when they were written and the run `finished` normally, else they are
// dropped and the files they would replace stay as they were.
void closeall(Run& run, bool finished = true);

// Close one channel file, committing it when it is to be kept (see
// closeoutput).  Returns false when the file could not be completed on disk.
bool closefile(OutputChannel& channel, bool keep, const char* name);

// Close every open channel file for a run that ends on an input/output
// error in the file `failing` (its name as reported; "" for none): the
// transcript files are committed unless they are the failing file, every
// other file is dropped.
void closeonerror(Run& run, const char* failing);
