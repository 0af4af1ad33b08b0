// figure.h - where the texts of a figure go: the line and point numbers
// (with halos: each point's beside it, clear of its lines, and no two
// labels on one another), the names of the fields at their visual centres
// (a number in a name's place when the name does not fit), the axis titles
// outside the axis numbers, and the key with its columns.  Places only:
// the drawing floor draws them.
#pragma once

#include <cstdint>
#include <vector>

#include "diagram/model.h"
#include "geometry/areas.h"
#include "geometry/freetexts.h"
#include "geometry/labels.h"
#include "geometry/pagemap.h"
#include "geometry/polylabel.h"
#include "geometry/textmeasure.h"
#include "text/fixedtext.h"

namespace gridel::geometry {

// The sizes of a figure's texts, in points, from its options.
struct FigureStyle {
    long double fontsize;    // axis numbers, title and info lines, axis titles, the key
    long double labelsize;   // line and point numbers
    long double fieldsize;   // field names, made smaller when they do not fit ...
    long double leastsize;   // ... down to this
    long double halo;        // width of the white band round a line's or point's number; 0: none
    long double circle;      // radius of a point's circle in points
    bool metricframe;        // the frame's texts are placed by the font's metrics (a size or
                             // a font size was given); else where they always stood
};

FigureStyle figurestyle(const diagram::Diagram& d);

// A line's or point's number on the page.
struct PlacedLabel {
    int16_t item;          // the line's or point's number in its table
    text::TextView text;         // its name without the first letter
    long double x;         // the text is centred on x ...
    long double baseline;  // ... with its baseline here
    Rect box;              // the room it takes, its halo included
};

// A number kept where it may be read as another item's: in every place
// tried, a line, a circle or a number lay as near its box as its own line
// or circle, or nearer.  It stands where it is least in the way; the run
// warns of it.
struct UnclearNumber {
    enum class Near : int8_t { line, circle, label };
    bool point;       // a point's number; else a line's
    int16_t item;     // the line's or point's number in its table
    Near nearest;     // what lies nearest where it stands: ...
    int16_t other;    // ... this line or point (0: another number or a text)
};

// A field's name (or the number standing in for it).
struct FieldLabel {
    int16_t area;               // the area's number
    int16_t number;             // 0: the name is shown; else the number shown in its place
    long double size;           // points
    std::vector<text::Text> lines;    // the text, line by line, each centred on x
    long double x;
    long double baseline;       // of the first line; each next one `leading` lower
    long double leading;
    Rect box;                   // the room the text takes
};

// One entry of the key: a number and what it stands for.
struct LegendEntry {
    text::Text number;
    TextFace face;           // the number's face, as on the plot
    text::Text text;
    long double numberright;  // the number ends here ...
    long double textleft;     // ... and the text starts here
    long double baseline;
    int group;                // 0 lines, 1 points, 2 fields
};

struct Legend {
    std::vector<LegendEntry> entries;  // none: no key
    Rect box;
};

// An axis title: its text centred on (x, y), on its baseline; the y
// axis's turned a quarter, reading upwards.
struct AxisTitle {
    text::Text text;  // empty: none
    long double x;
    long double y;
};

// Where the frame's numbers go when the frame is placed by metrics.
struct FrameNumbers {
    long double xbaseline;  // the x axis numbers' baseline
    long double yright;     // the y axis numbers end here ...
    long double ydrop;      // ... with their baselines this far below their ticks
    long double yleft;      // the left end of the widest y number (measured only for a figure)
};

struct FigurePlan {
    PageMap map;
    FigureStyle style;
    FrameNumbers numbers;
    std::vector<PlacedLabel> linelabels;   // in line order; only the labels drawn
    std::vector<PlacedLabel> pointlabels;  // in point order
    std::vector<UnclearNumber> unclear;    // points' first, then lines', in order
    std::vector<FieldLabel> fields;        // in area order
    std::vector<int16_t> crowded;          // areas whose number, with no room, stands too near another number
    std::vector<PlacedText> texts;         // the script's free texts, in order
    AxisTitle xlabel;
    AxisTitle ylabel;
    Legend legend;
};

// How the planning finds what lies near a place: among the items filed
// by where they lie (always, but in the test that checks it), or by
// looking at every item.  Both give the same places.
enum class PlanSearch : int8_t { filed, scan };

// Plan the figure's texts once the lines are assembled and the areas
// traced: `mids` are the lines' half-way points (placelabels).  Texts are
// measured only where a place depends on their width.  The planning ends
// the run when a signal came to end it (it may take a while).
FigurePlan planfigure(const diagram::Diagram& d, const std::vector<AreaBoundary>& areas, const std::vector<LabelPlace>& mids,
                      const TextMeasure& measure, PlanSearch search = PlanSearch::filed);

// What the key says of a line or a point: its phases as the log lists
// them, the zero-mode phases in parentheses ("ky and (sill)"); empty when
// it has none.
text::Text phasetext(const diagram::UnivariantLine& line);
text::Text phasetext(const diagram::InvariantPoint& point);

}  // namespace gridel::geometry
