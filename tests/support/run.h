// run.h - runs made for unit tests: each test builds its own, with files
// on scratch channels instead of the program's named ones.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "run/run.h"
#include "support/floors.h"

namespace testsupport {

// The stamp of a run at the end-to-end tests' clock.
constexpr const char* teststamp = "9.05 on Sun 6 Dec,2026";

// A run as start-up leaves it before the preferences are read: the
// default settings, the keyboard on standard input, only the screen open,
// the stamp `teststamp`.  On the heap: it holds the keyboard's buffer and
// the whole channel table.
std::unique_ptr<Run> freshrun();

// Open a channel of the run on a new file in the current folder, and close
// it again (the file is written in place; nothing is committed).
void openchannel(Run& run, int channel, const char* path);
void closechannel(Run& run, int channel);

// Everything `fn` writes to one channel of the run, opened on a file in a
// scratch folder for the call.
std::string written(Run& run, int channel, const std::function<void()>& fn);

}  // namespace testsupport
