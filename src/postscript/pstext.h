// pstext.h - pieces of PostScript text shared by the drawing's units: texts
// from the data file made safe inside a PostScript string, page points, the
// font, line-width and label lines.
#pragma once

#include <cstdint>

#include "run/channels.h"
#include "text/fixedtext.h"

// The contents of a PostScript string holding `len` bytes of `text`: "(",
// ")" and "\" get a backslash in front, and the byte 0xA4 (the line
// buffers' overflow mark) is written as the octal escape \244.  The result
// holds at most `limit` characters (at most 255) and is cut between whole
// escapes, never inside one.
Text psstring(const char* text, int len, int16_t limit);

// The label of a point or line: its name without the first character, as
// string contents.
Text pslabel(const Word& name);

// Append "<px> <py>" to `line`, both with two decimals.
void appendpagepoint(LineBuffer& line, long double px, long double py);

// "/Helvetica findfont <size> scalefont setfont" in `line`, the size as an
// integer in a field of the given width.
void psfontline(LineBuffer& line, int16_t width, int16_t size);

// "<width> setlinewidth", the width with two decimals, to the drawing.
void pslinewidth(long double width, int16_t after);

// "<px> <py> (<label>) <procedure>", the page point with two decimals, to
// the drawing; `label` already holds string contents.
void psshow(long double px, long double py, const Text& label, const char* procedure,
            int16_t after);
