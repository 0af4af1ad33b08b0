// model.h - the diagram model: points, lines, areas and the script settings.
//
// The readers fill it, the geometry completes it in place (crossover
// positions, trimmed and cut polylines, limit codes, area line indices) and
// the drawing only reads it.  Every table is indexed from 1 (entry 0 is
// unused); every capacity is fixed.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "run/prefs.h"
#include "text/fixedtext.h"

namespace gridel::diagram {

constexpr int maxvars = 20;       // values on one data row
constexpr int maxpoints = 500;    // invariant points
constexpr int maxlines = 1500;    // univariant lines
constexpr int maxareas = 300;     // shaded areas
constexpr int maxrows = 200;      // data rows of one line or interpolated point
constexpr int maxphases = 20;     // phase names kept for one point or line
constexpr int maxareanames = 15;  // line names of one area
constexpr int maxinfo = 10;       // info lines of the script

// Points an assembled line can hold.  Trimming leaves at most n = 202
// points.  On entry, cutting adds at most a corner, the entry point and the
// next data point; leaving through a corner adds the segment's start point
// and two cut points.  An entry only follows a segment that ended outside,
// which adds at most two, so two segments add at most five.  The held uncut
// rest never needs more room than the line would take if it stayed inside:
// at most 1 + 5(n - 1)/2 < 5n/2 = 505.
constexpr int linecapacity = 5 * (maxrows + 2) / 2;

// A line's points are kept apart from its record, in the diagram's point
// store: x and y of each line in a room of `linepointroom` values that
// begins a page of its own.  A line of up to 255 points then touches one
// page for its x and one for its y, and the pages of the rooms' unused ends
// are never taken from the system.
constexpr int linepointroom = 512;   // values of one room: linecapacity + 1, rounded up to whole pages
constexpr size_t storepage = 4096;   // the page size the rooms are aligned to
static_assert(linepointroom >= linecapacity + 1, "a room holds points 0..linecapacity");
static_assert(linepointroom * sizeof(long double) % storepage == 0, "each room begins a page");

// One invariant point.
struct InvariantPoint {
    text::Word name;                     // the point's name, beginning with "i"
    text::Word phases[maxphases + 1];    // nonzero-mode phase names 1..nphases
    text::Word zeromode1;                // first zero-mode phase; "none" for an empty list; empty without "-"
    text::Word zeromode2;                // second zero-mode phase, same rules
    int16_t nphases;               // phase names kept; 0 when the list was dropped
    bool invariantword;            // "invariant" closed a kept phase list
    bool pointword;                // no phase list of its own
    long double x;                 // position along the x axis, data units
    long double y;                 // position along the y axis
    bool crossover;                // placed where two lines cross (x, y are 0 until then)
    text::Word crossline1;               // first line of the crossing
    text::Word crossline2;               // second line of the crossing
};

// One univariant line.
struct UnivariantLine {
    text::Word name;                      // the line's name, beginning with "u"
    text::Word phases[maxphases + 1];     // nonzero-mode phase names 1..nphases
    text::Word zeromode;                  // zero-mode phase; "none" for an empty list; empty without "-"
    int16_t nphases;                // phase names kept; 0 when the list was dropped
    bool univariantword;            // "univariant" closed a kept phase list
    bool lineword;                  // no phase list of its own
    // x and y of the points 1..npts, in order along the line: each a room
    // of the diagram's point store, entries 0..linecapacity.
    long double* x;
    long double* y;
    int16_t npts;                   // points in use: at most 200 as read, more once cut
    text::Word beginname;                 // first limit: a point name, "begin" or "end"
    text::Word endname;                   // second limit, same form
    int16_t beginindex;             // resolved first limit: point k > 0, 0 data end, -1..-4 window edge
    int16_t endindex;               // resolved second limit, same codes
    bool connect;                   // no data points: drawn straight between its limit points
    bool xmonotone;                 // the x values never turn back (set by line assembly)
    bool outsidewindow;             // never enters the window (npts is then 0)
    bool dashed;                    // draw dashed
    bool thick;                     // draw thick
    bool rgbgiven;                  // a colour was given
    int16_t red;                    // colour components on a 0..255 scale (when rgbgiven)
    int16_t green;
    int16_t blue;
};

// A line as the heap monitor counts it: its record with its points in
// place, x and y each 0..linecapacity.
constexpr size_t linetablerecord =
    sizeof(UnivariantLine) - 2 * sizeof(long double*) + 2 * (linecapacity + 1) * sizeof(long double);

// One shaded area.
struct ShadedArea {
    double grayscale;                      // as written; 1 gives the light colour, 0 the dark
    text::Word linenames[maxareanames + 1];      // names of the bounding lines 1..15, in file order
    int16_t lineindex[maxareanames + 1];   // line numbers resolved from the names (visible lines only)
    int16_t nnames;                        // names read; lowered to the visible lines when drawn
    int16_t written;                       // names read, kept when nnames is lowered
    int16_t edge;                          // the window edge its edge word names (areaedge...), 0: none
    text::Word grayword;                         // the grayscale as written, for messages
};

// The window edges an area's edge word names (the codes a line's limits
// hold negated for the edge it is cut at).
constexpr int16_t areaedgebottom = 1;
constexpr int16_t areaedgeleft = 2;
constexpr int16_t areaedgetop = 3;
constexpr int16_t areaedgeright = 4;

// The plot window, in data units; xlow < xhigh and ylow < yhigh once read.
struct PlotWindow {
    long double xlow;   // left edge
    long double xhigh;  // right edge
    long double ylow;   // bottom edge
    long double yhigh;  // top edge
};

// Big ticks with their axis numbers, and small ticks.
struct TickMarks {
    long double xtickgap;   // gap of the big ticks along x (not zero)
    long double xstart;     // first big tick along x, inside the window
    long double ytickgap;   // gap of the big ticks along y (not zero)
    long double ystart;     // first big tick along y
    long double smallxgap;  // gap of the small ticks along x (when smallticks)
    long double smallygap;  // gap of the small ticks along y
    bool smallticks;        // small ticks are drawn
};

// Options of the drawing.  Only the answer yes turns an option on.
struct DrawingOptions {
    run::YesAskNo doareas;          // paint the shaded areas (default yes)
    run::YesAskNo showlineinfo;     // report every line in the log (default yes)
    run::YesAskNo numbering;        // label lines and points (default no)
    run::YesAskNo docircles;        // draw the points (default yes)
    int16_t numbersize;        // label font size, 4..14 when numbering (default 0)
    int16_t circlesize;        // circle radius in page points, 1..7 when set (default 0)
    long double darkcolour[3];   // red, green, blue of grayscale 0, on a 0..255 scale
    long double lightcolour[3];  // red, green, blue of grayscale 1, fixed at 255
    text::Text info[maxinfo + 1];    // free info lines 1..ninfo
    int16_t ninfo;             // info lines given
};

// The title line above the plot.
enum class TitleMode : int8_t {
    stamp,  // the program's line with the run's time (the default)
    given,  // the script's own text
    off,    // none
};

// The defaults a "style" line gives a figure for whatever its script does
// not give itself.
enum class FigureStyleName : int8_t { none, paper, slide };

// Where the key of numbered lines, points and fields stands.
enum class LegendPlace : int8_t { none, right, below };

// What a script may ask of a figure meant for print: titles, the plot's
// size, text sizes and line widths, halos, field names and a key.  All of
// it is off by default, and a script that asks for none of it is drawn as
// it always was.  Sizes of 0 stand for "not given".
struct FigureOptions {
    TitleMode title;         // the title line
    text::Text titletext;          // its text, when given
    text::Text xlabel;             // the axis titles; empty for none
    text::Text ylabel;
    long double widthmm;     // the plot box in millimetres; 0: the 460-point square
    long double heightmm;
    long double fontsize;    // points, for every text of the figure; 0: the sizes of old
    long double linewidth;   // points, of a plain line (thick twice it); 0: the widths of old
    bool halo;               // line and point numbers over a white halo, point numbers beside their point
    FigureStyleName style;   // "style paper", "style slide": defaults for whatever was not given
    bool fieldcomments;      // name the areas by the comments of their lines in the data file
    LegendPlace legend;      // the key
    uint8_t legendkinds;     // what the key lists (legendlines | ...); 0: every kind
    bool formulas = false;   // chemical formulas in the texts drawn with their counts as subscripts
};

// The kinds of entry a key may list.
constexpr uint8_t legendlines = 1;
constexpr uint8_t legendpoints = 2;
constexpr uint8_t legendfields = 4;

// A free text of the script, centred at a point of the data.
struct FreeText {
    long double x;
    long double y;
    text::Text text;
    int32_t line;  // the script line that gave it
};

// Frees a table taken from the heap as one zeroed block.
struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};

template <typename Record>
using Table = std::unique_ptr<Record[], FreeBlock>;

// The whole diagram: built by the reader, completed in place by the
// geometry, read by the drawing.
struct Diagram {
    int16_t nvars = 0;             // values on each data row, 1..20
    Table<InvariantPoint> points;  // the points table, entries 1..500
    int16_t npoints = 0;           // points read
    Table<UnivariantLine> lines;   // the lines table, entries 1..1500
    Table<long double> pointstore;  // the rooms of the lines' points (see linepointroom)
    int16_t nlines = 0;            // lines kept
    Table<ShadedArea> areas;       // the areas table, entries 1..300
    int16_t nareas = 0;            // areas read
    // The line of the data file where each point, line and area was
    // defined (entry k for item k), and the byte of that line where its
    // name (an area's grayscale) begins, for messages that name it.
    std::vector<int32_t> pointlines, linelines, arealines;
    std::vector<int32_t> pointcolumns, linecolumns, areacolumns;
    // The comment that ends each area's line in the data file, and the name
    // each area is drawn with (entry k for area k; an empty text: none).
    // Each is empty until an area has one; the script reader makes the
    // names nareas + 1 entries long when it names any.
    std::vector<text::Text> areacomments, fieldnames;
    PlotWindow window = {0, 0, 0, 0};
    TickMarks ticks = {0, 0, 0, 0, 0, 0, false};
    DrawingOptions options = {
        run::answeryes, run::answeryes, run::answerno, run::answeryes, 0, 0, {0, 0, 0}, {255, 255, 255}, {}, 0,
    };
    FigureOptions figure = {TitleMode::stamp, {0, {}}, {0, {}}, {0, {}}, 0, 0, 0, 0, false, FigureStyleName::none, false,
                            LegendPlace::none, 0};
    std::vector<FreeText> texts;  // the script's free texts, in order
};

// "area <k>", the name messages give area k.
text::Word areaname(int16_t k);

// The edge an area's edge word names ("bottom", "left", "top", "right"),
// 0 for any other word; and the word for an edge ("" for 0).
int16_t areaedgeof(text::TextView word);
const char* areaedgeword(int16_t edge);

// An area's line as it could be written: its grayscale as written, its
// line names and its edge word, the edge `edge` in place of its own.
std::string arealinetext(const ShadedArea& a, int16_t edge);

// Only the answer yes turns an option on.
inline bool isyes(run::YesAskNo answer) { return answer == run::answeryes; }

}  // namespace gridel::diagram
