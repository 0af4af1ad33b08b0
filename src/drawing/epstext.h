// epstext.h - a styled text as plain PostScript when the Latin-1 fonts of
// the printer cannot show it as one string: a text with markup (italics,
// sub- and superscripts, pieces in other sizes), or one holding characters
// beyond Latin-1.
//
// The text is set in pieces as the PDF sets it (markedtext.h), each piece
// placed by a moveto of its own; the runs of a piece that the Latin-1 fonts
// show are strings, every other character is drawn as the outline of its
// glyph in the font the PDF takes it from (PostScript path operators,
// filled), so the EPS shows every character the PDF shows.  A halo is the
// strings' charpaths and the outlines stroked in white first.
#pragma once

#include <string>
#include <vector>

#include "drawing/canvas.h"
#include "drawing/fonts.h"

namespace gridel::drawing {

// Whether the EPS draws a styled text here rather than as one Latin-1
// string: it has markup, or a character beyond Latin-1.
bool epsmarked(text::TextView text, const TextLook& look);

// The lines that draw the text at page point (px, py) as `role` places it,
// from "gsave" to "grestore".  The fonts /Helvetica-Latin1,
// /Helvetica-Bold-Latin1, /Helvetica-Oblique-Latin1 and
// /Helvetica-BoldOblique-Latin1 must be defined (see epsmarkedfonts).
std::vector<std::string> epsmarkedtext(long double px, long double py, text::TextView text, TextRole role,
                                       const TextLook& look, TextSetter& setter);

// The line that defines the one font of those the styled texts' procedures
// do not.
extern const char* const epsmarkedfonts;

}  // namespace gridel::drawing
