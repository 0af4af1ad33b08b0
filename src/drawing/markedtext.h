// markedtext.h - texts with markup (math stretches, formulas) set as
// pieces: each run of one style placed along the baseline, in the fonts of
// the PDF and PNG, so that every format puts each piece where they do.
//
// A script is set at scriptscale of the text's size, a subscript's
// baseline subdrop of the size below the text's, a superscript's
// superrise above it.  A text that needs no markup is not set here: each
// canvas keeps its plain way of drawing it.
#pragma once

#include <string>
#include <vector>

#include "drawing/canvas.h"
#include "drawing/fonts.h"
#include "text/markup.h"

namespace gridel::drawing {

constexpr long double scriptscale = 0.7L;
constexpr long double subdrop = 0.15L;
constexpr long double superrise = 0.37L;

// One piece of a set text: drawable UTF-8 in one style, starting `x`
// points along the baseline from the text's start, `rise` points above
// the baseline.
struct SetPiece {
    std::string utf8;
    TextStyle style;
    bool italic;  // set in italics by the markup (style.italic may also come from the text's face)
    text::Shift shift;
    long double x;
    long double rise;
};

struct SetText {
    std::vector<SetPiece> pieces;
    long double width;  // the advance of the whole text
};

// The style of a text's look.
TextStyle styleof(const TextLook& look);

// Whether a text in this look is drawn through markup.
bool ismarked(text::TextView text, const TextLook& look);

// `text` read with the markup and set in `look`'s size and face.
SetText setmarked(text::TextView text, const TextLook& look, TextSetter& setter);

}  // namespace gridel::drawing
