// diagnostics.h - problems with a file named the way compilers name them,
// on standard error: a failure as FILE:LINE:COLUMN: error: WHAT with the
// line quoted, a mark under the word at fault and notes with hints; under
// --check the warnings for what the readers accept without a word; after a
// normal run, the count of those warnings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "run/run.h"
#include "text/fixedtext.h"

namespace gridel::run {

// Stand in `file` (a file being read from its start, or the data file for
// the steps after reading); no item.  The file is opened by `path` to quote
// its lines, and named `shown` in messages.
void enterfile(Run& run, const text::Text& path, const text::Text& shown);

inline void enterfile(Run& run, const text::Text& file) { enterfile(run, file, file); }

// Stand at a line of the current file; no word, no item.
inline void atline(Run& run, int32_t line) {
    run.place.line = line;
    run.place.column = 0;
    run.place.item.len = 0;
}

// Stand at the word of `width` bytes that begins at byte `column` (1 for
// the first) of a line of the current file; no item.
inline void atword(Run& run, int32_t line, int32_t column, int32_t width) {
    run.place.line = line;
    run.place.column = column;
    run.place.width = width;
    run.place.item.len = 0;
}

// Work on an item defined at `line` of the current file, its name at
// `column` (0 when not known).
void atitem(Run& run, int32_t line, int32_t column, const text::Word& item);

inline void atitem(Run& run, int32_t line, const text::Word& item) { atitem(run, line, 0, item); }

// Leave every file and item.
void leavefiles(Run& run);

// Say the failure about to be reported plainly for standard error, with
// notes that hint at the fix.  The report on the screen and in the log
// keeps its own words.
void explain(Run& run, std::string plain, std::vector<std::string> notes = {});

// One more note for the failure about to be reported.
void addnote(Run& run, std::string note);

// The lines for a failure report with the message `what`:
// "FILE:LINE:COLUMN: error: WHAT" (WHAT the plain text when one was given,
// else "ITEM: " and the report's own words), then the line with a mark
// under the word at fault, then the notes.  Written when the run stands in
// a file or checks.  The plain text and the notes are used up.
void reportfailure(Run& run, const char* what, int whatlen);

// A warning "FILE:LINE: warning: ITEM: TEXT" for a line of the current
// file (0: the file as a whole) and an item (may be empty): counted in
// every run, written under --check only.
void warning(Run& run, int32_t line, const text::Word& item, const std::string& text);

// A note "FILE:LINE: note: ITEM: TEXT" that tells a checking user what the
// run made of a line: written under --check only, and not counted.
void checknote(Run& run, int32_t line, const text::Word& item, const std::string& text);

// After a run that was not a check: one line saying how many warnings it
// found and that `command` lists them; nothing when there were none.
void reportwarnings(Run& run, const std::string& command);

// A word, and a whole number written as the program writes numbers, as
// parts of a warning's text.
std::string wordtext(const text::Word& word);
std::string wholetext(long double value);

// A word in single quotes, for a message.
std::string quotedword(text::TextView word);

template <int Cap>
inline std::string quotedword(const text::Str<Cap>& word) { return quotedword(viewof(word)); }

// The known word nearest to `word` by the count of letters to change,
// insert or delete, when it is near enough to be a likely slip; else "".
std::string nearestword(const std::string& word, const char* const* known, int count);

}  // namespace gridel::run
