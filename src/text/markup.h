// markup.h - the markup of a figure's texts: math stretches between
// dollar signs and chemical formulas, read into runs of one style each.
//
// Between `$` and `$` a text is read as the usual math markup: ASCII
// letters in italics, `_x` and `_{...}` a subscript, `^x` and `^{...}` a
// superscript, `\alpha` ... `\omega` and the capital Greek letters (and a
// few signs, see the table in markup.cpp), `\mathrm{...}` upright, braces
// grouping without being shown; blanks are shown as written, except those
// that end a name before a letter (`$\Delta V$` is ΔV, `$2 \times 10$` keeps
// its blanks).  Outside the dollars a text is as written,
// except that `\$` is a dollar sign everywhere.  A `$` left without a
// partner stays a dollar sign; an unknown `\name` stays as written.  Both
// are reported as faults, so that a check can name them.
//
// With formulas on, each word outside the dollars that is a chemical
// formula (see isformula) has its counts as subscripts.
//
// A text without a `$` and without a formula is one run of itself, so the
// caller can keep its plain way of drawing it (hasmarkup tells).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/fixedtext.h"

namespace gridel::text {

// Where a run stands against the baseline.
enum class Shift : int8_t { base, sub, super };

// A stretch of text in one style: its bytes (UTF-8 as written, markup
// removed), italic or as the text's face, and its shift.
struct MarkRun {
    std::string text;
    bool italic;
    Shift shift;
};

// Something in the markup that is not what its writer meant.
struct MarkupFault {
    enum Kind : int8_t {
        unbalanced,   // a `$` without its partner
        unknownname,  // a `\name` the markup does not know
    } kind;
    int32_t at;        // byte offset in the text
    std::string name;  // the unknown name, backslash included
};

// Whether `text` is drawn otherwise than as written: it holds a math
// stretch or an escaped dollar, or, with `formulas`, a formula.  A lone `$`
// leaves a text as it is.
bool hasmarkup(TextView text, bool formulas);

// The runs of `text`, neighbours of the same style joined; the faults
// found go to `faults` when given.  Empty runs are left out.
std::vector<MarkRun> markup(TextView text, bool formulas, std::vector<MarkupFault>* faults = nullptr);

// The math stretches of `text`: the offsets of the `$` that opens each and
// of the `$` that closes it.  A text broken into lines is broken outside
// them.
std::vector<std::pair<int32_t, int32_t>> mathstretches(TextView text);

// Whether the word (ASCII letters and digits) is a chemical formula:
// optional leading digits (a coefficient), then element symbols of the
// periodic table, each a capital with an optional small letter and an
// optional count of digits not starting with 0; at least one count; and
// at least two symbols, unless the one symbol is a gas written with two
// atoms (H2, N2, O2, F2, Cl2, Br2, I2).  So H2O, CO2, Al2SiO5, TiO2, O2
// and 2H2O are formulas; g, bi, mu2, g1, liq, ky, Bi2, S1 and FeO (no
// count) are not.
bool isformula(TextView word);

}  // namespace gridel::text
