// prefs.h - the preferences file gl-prefs.txt, and the yes/ask/no decoder of
// keyword lines.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "text/tokens.h"

namespace gridel::run {

struct Run;

// Answer code of a keyword line.  Every consumer treats only yes as on.
enum YesAskNo : int32_t {
    answeryes = 0,
    answerno = 1,
    answerask = 2,
};

// Decode the answer word (word 2) of a keyword line of n >= 1 words: the
// code, and the index of the last word consumed (1, or 2 when word 2 was
// an answer word).
void readyesno(const text::WordList& words, int32_t n, YesAskNo& code, int32_t& last);

// Fill the run settings from gl-prefs.txt, or announce that there is none
// and ask whether to continue.
void readprefs(Run& run);

// The keywords of gl-prefs.txt, each with its arguments as the reference
// writes them, in the order the reference lists them.
std::vector<std::pair<const char*, const char*>> prefskeywordlist();

}  // namespace gridel::run
