// files.h - whole files read and written, and Ghostscript's verdict on a
// drawing: shared by the unit and the end-to-end tests.
#pragma once

#include <string>

namespace testsupport {

std::string readfile(const std::string& path);
void writefile(const std::string& path, const std::string& content);

// Run a shell command: its standard output, and its exit status in
// `status` (-1 when it did not exit normally or could not start).
std::string runcommand(const std::string& command, int& status);

// Run Ghostscript on a drawing (with -dSAFER on the null device); empty when
// it was accepted silently, else what it said and its status.  Output of
// any kind counts against it: a drawing prints nothing.
std::string ghostscript(const std::string& epspath);

}  // namespace testsupport
