// quicknumbers.h - the words of data rows read in one pass: each decided
// exactly as the plain readers of numbers.h decide it, or left to them.
#pragma once

#include <cstdint>

#include "text/wordkinds.h"
#include "text/words.h"

namespace gridel::text {

// A data word read in one pass, for the reader of data rows: its kind when
// it is a number that `realvalue` (integer or real) or `str2rational`
// (a/b) reads, with that very value in *value when `value` is not null.
// kindempty means "not decided here": the word may be a name, may not
// read, or lies outside the common shapes (more than 19 digits, an
// exponent of five digits or more, a part of a/b of more than five
// digits); the caller then takes the step-by-step path, which decides and
// reports.
WordKind quicksingle(const char* word, int32_t len, long double* value);

// The words first..first+n-1 of a split list read as a data row, each
// decided as by quicksingle: values[j] is set for each word j (1..n) whose
// bit j is set in `used` (the others are only checked), and `lastkind` is
// the kind of the last word.  False when a word is not decided, and then
// the values are not all set; n is at most 63.
bool quickrow(const WordList& words, int32_t first, int32_t n, uint64_t used, long double* values,
              WordKind& lastkind);

}  // namespace gridel::text
