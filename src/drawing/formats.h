// formats.h - the table of drawing formats: every format the program
// writes is one row, with its name on the command line, its file's ending,
// its channel's name in messages and the function that draws its page.
// The command line, the run's output names and the page drawing all read
// this table; a new format is one row here and one page function.
#pragma once

#include <string>
#include <string_view>

#include "drawing/pages.h"
#include "run/run.h"

namespace gridel::drawing {

struct DrawingFormat {
    const char* name;  // as -T names it
    bool always;       // written by every run, asked for or not
    run::DrawingKind kind;  // its file's ending and its channel's name
    PageWriter page;
};

// The formats in the order a run writes them; the row's place is its
// channel's place after chps.  The first is the drawing the run's closing
// line names.
inline constexpr DrawingFormat drawingformats[] = {
    {"eps", true, {".eps", "psfile"}, epspage},
    {"pdf", false, {".pdf", "pdffile"}, pdfpage},
    {"svg", false, {".svg", "svgfile"}, svgpage},
    {"png", false, {".png", "pngfile"}, pngpage},
};

constexpr int formatcount = static_cast<int>(sizeof drawingformats / sizeof drawingformats[0]);
static_assert(formatcount <= run::drawingcapacity, "the channel table has no room for every format");

// The row of the format named `name`; -1 for none.
int findformat(std::string_view name);

// Which formats a list names.
enum class FormatSet { all, always, asked };

// The names of the formats of a set in a list as a sentence gives it:
// "pdf, svg or png".
std::string formatnames(FormatSet set);

}  // namespace gridel::drawing
