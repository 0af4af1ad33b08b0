// slips.h - the common slips in a data file, named: what a word that stops
// the reading was most likely meant to be, for the plain text and the
// notes of a failure report on standard error.
#pragma once

#include <string>
#include <vector>

#include "text/fixedtext.h"

namespace gridel::diagram {

// Notes for a word that stands where a number is expected and is not one,
// when its shape shows what was meant: a decimal comma, values joined by
// commas, a point without a digit on one side, a plus sign, a Fortran
// exponent, a comment begun with "#" or "//".  Empty when none applies.
std::vector<std::string> numbernotes(text::TextView word);

// True when the word begins as a comment does in other programs ("#" or
// "//"), where a data file's comment begins with "%".
bool commentslip(text::TextView word);

// True when the word looks meant as a number: it begins with a digit, or
// with a sign or a point followed by a digit or a point.
bool meantasnumber(text::TextView word);

// True when the word could begin an item where the data reader looks for
// one: "*", a point or line name, or a "#" mark.
bool beginsitem(text::TextView word);

// The long keyword of a point or a line (a header word, a limit, a style
// word) that the word is a slip of, or "" when none is near.  Short
// keywords ("end", "line", "red", ...) are never offered: too many phase
// names lie a letter away from them.
std::string misspeltkeyword(text::TextView word);

// What the data reader was reading, from its context text, in plain words
// ("a data row of u1"); the context itself when it is not one of the
// reader's.
std::string contextphrase(const text::Text& context);

}  // namespace gridel::diagram
