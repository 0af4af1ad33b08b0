// capture.h - helpers for unit tests: capture the screen, run code that
// ends the run, work in a scratch folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/files.h"

namespace testsupport {

// Everything `fn` writes to standard output.
std::string capturescreen(const std::function<void()>& fn);

// Run `fn` in a child process with standard input at its end and standard
// output joined to standard error; for EXPECT_EXIT.
void inchild(const std::function<void()>& fn);

// A regular expression matching the literal text.
std::string literal(const std::string& text);

// A fresh scratch folder that becomes the current folder until `leave`.
std::string enterscratch();
void leavescratch(const std::string& dir);

// Every name in a folder, hidden ones included, sorted.
std::vector<std::string> folder(const std::string& path);

}  // namespace testsupport
