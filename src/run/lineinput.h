// lineinput.h - lines of a run's files and of the keyboard as words;
// prompts and yes/no questions.  A line that cannot be read, or one longer
// than `maxlinelength`, ends the run.
#pragma once

#include "run/linereader.h"
#include "text/fixedtext.h"
#include "text/tokens.h"

namespace gridel::run {

struct Run;

// Write out the screen and every open file channel before a keyboard read.
void flushall(Run& run);

// One line of a text file as words, a word beginning with "%" and all after
// it dropped.  A read error or an overlong line ends the run.
void rstrings(Run& run, LineReader& file, text::WordList& words);

// One line typed at the keyboard, with backspace editing, as words.
void prstrings(Run& run, text::WordList& words);

// Ask with a prompt, read the answer as words, copy it into the log; "kill"
// stops the run.
void promptstrings(Run& run, const char* prompt, text::WordList& words);

// Ask with a prompt; the first word typed (or empty).
text::Word promptword(Run& run, const char* prompt);

// Ask a yes/no question; return alone means yes.
bool query(Run& run, const char* question);

}  // namespace gridel::run
