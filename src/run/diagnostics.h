// diagnostics.h - problems with a file named the way compilers name them,
// FILE:LINE: WHAT, on standard error: the line of a failure report, and
// under --check the warnings for what the readers accept without a word.
#pragma once

#include <cstdint>
#include <string>

#include "run/run.h"
#include "text/fixedtext.h"

// Stand in `file` (a file being read from its start, or the data file for
// the steps after reading); no item.
void enterfile(Run& run, const Text& file);

// Stand at a line of the current file; no item.
void atline(Run& run, int32_t line);

// Work on an item defined at `line` of the current file.
void atitem(Run& run, int32_t line, const Word& item);

// Leave every file and item.
void leavefiles(Run& run);

// The line for a failure report with the message `what`:
// "FILE:LINE: ITEM: WHAT" (under --check "FILE:LINE: error: ITEM: WHAT"),
// written when the run stands in a file or checks.
void reportfailure(Run& run, const char* what, int whatlen);

// Under --check, a warning "FILE:LINE: warning: ITEM: TEXT" for a line of
// the current file (0: the file as a whole) and an item (may be empty);
// otherwise nothing.
void warning(Run& run, int32_t line, const Word& item, const std::string& text);

// A word, and a whole number written as the program writes numbers, as
// parts of a warning's text.
std::string wordtext(const Word& word);
std::string wholetext(long double value);

// The known word nearest to `word` by the count of letters to change,
// insert or delete, when it is near enough to be a likely slip; else "".
std::string nearestword(const std::string& word, const char* const* known, int count);
