// dataslips.h - the explanations of what stops or puzzles the data
// reader: the plain text and the notes of a failure report (a number where
// a name belongs, a name where a number belongs, slipped keywords, too many
// rows), and the warnings about names.
#pragma once

#include <cstdint>
#include <string>

#include "diagram/datacursor.h"
#include "diagram/model.h"
#include "text/fixedtext.h"

namespace gridel::diagram {

namespace datareading {

// The note for a file whose first numbers are not a header.
extern const char* const headernote;

// Warn of a point or line whose name clashes with one read before.
void checkname(DataReader& rd, NameSet& seen, const text::Word& name, text::TextView written, const char* kind);

// The edge word ("top", "bottom", "left", "right") that `word` most likely
// means: the same word in other letter cases, a slip of a letter or two,
// or a word of the same sense ("above", "below"); "" for none.
std::string edgeslip(text::TextView word);

// Notes for names taken for the failing item and the one before that are
// slips of a keyword or numbers that do not read.
void slipnotes(DataReader& rd);

// A number where a name is expected: explained, and the run ends.
[[noreturn, gnu::cold]] void notaname(DataReader& rd, text::TextView word);

// Notes for a name met where a value of a data row or an area's grayscale
// was expected.
[[gnu::cold]] void explainname(DataReader& rd);

// A column of the header outside the data row: explained, and the run ends.
void checkcolumn(DataReader& rd, int16_t col, const char* which, const char* message);

// " (...)" for the last phase of a dropped list that is a slip; else "".
std::string slipinlist(const text::Word* phases, int16_t count);

// An interpolated point with too many rows, or rows that never meet the
// target; a line with too many rows: explained, and the run ends.
[[noreturn, gnu::cold]] void interpolationfailure(DataReader& rd, const InvariantPoint& p, bool toomanyrows);
[[noreturn, gnu::cold]] void toomanyrows(DataReader& rd, const UnivariantLine& l);

// A line with one data row or none, which its limits "begin" or "end"
// cannot have: explained, and the run ends.
[[gnu::cold]] void checkfewrows(DataReader& rd, const UnivariantLine& l);

// Explain a name that begins neither a point nor a line (`mark` the "#"
// word before it, if any).
void explainitemname(DataReader& rd, const text::Word& mark);

// Notes for a script keyword read as a line of an area.
void scriptinareanotes(DataReader& rd);

}  // namespace datareading

}  // namespace gridel::diagram
