// capture.h - helpers for unit tests: capture the screen, run code that
// ends the run, work in a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/floors.h"

namespace testsupport {

// Everything `fn` writes to standard output.
std::string capturescreen(const std::function<void()>& fn);

// Success when `fn`, with standard input at its end, ends the run with the
// exit status `status` and shows `text` on the screen on its way.
testing::AssertionResult endsrun(const std::function<void()>& fn, int status, const std::string& text);

// A fresh scratch folder that becomes the current folder until `leave`.
std::string enterscratch();
void leavescratch(const std::string& dir);

// Every name in a folder, hidden ones included, sorted.
std::vector<std::string> folder(const std::string& path);

}  // namespace testsupport
