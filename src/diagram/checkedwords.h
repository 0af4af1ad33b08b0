// checkedwords.h - the checked word readers of the data section: a word that
// must be an integer or a number, read or the run ends with a failure
// report quoting the word and what was being read.
#pragma once

#include <cstdint>

#include "run/run.h"
#include "text/fixedtext.h"
#include "text/tokens.h"

namespace gridel::diagram {

// A word that must be an integer; anything else ends the run, quoting the
// word (its first 20 characters) and the context (what was being read).
int16_t getinteger(run::Run& run, text::WordKind kind, text::TextView word, const text::Text& context);

// A word that must be a number (integer, real or a/b); anything else ends
// the run.
long double getsingle(run::Run& run, text::WordKind kind, text::TextView word, const text::Text& context);

// A warning for a text of the data file at `line` (a name, an info line)
// that holds bytes that are not UTF-8 or characters no drawing can show:
// the PDF, SVG and PNG draw U+FFFD for them.
void warnundrawable(run::Run& run, int32_t line, text::TextView text, const char* what);

// A warning for each fault of a drawn text's markup (text/markup.h): a `$`
// without its partner, which is drawn as a dollar sign, and an unknown
// `\name`, drawn as written.
void warnmarkup(run::Run& run, int32_t line, text::TextView text, const char* what);

}  // namespace gridel::diagram
