// crossovers.cpp - placecrossovers: every crossover point placed where its
// two lines first cross, searched segment pair by segment pair on the lines
// as read.  All comparisons are exact.
#include "geometry/crossovers.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "diagram/model.h"
#include "geometry/linepoints.h"
#include "run/diagnostics.h"
#include "run/failure.h"

namespace gridel::geometry {

namespace {

// One segment of a line, with the straight line it lies on.
struct Segment {
    long double x1, y1;  // start point
    long double x2, y2;  // end point
    bool vertical;       // x2 = x1 exactly: no slope
    long double m;       // slope (when not vertical)
    long double c;       // intercept: the segment lies on y = m x + c
};

// Segment k of a line: from its point k to its point k + 1.
Segment segmentof(const diagram::UnivariantLine& line, int k) {
    Segment s;
    s.x1 = line.x[k];
    s.y1 = line.y[k];
    s.x2 = line.x[k + 1];
    s.y2 = line.y[k + 1];
    s.vertical = s.x2 == s.x1;
    s.m = 0;
    s.c = 0;
    if (!s.vertical) {
        s.m = (s.y2 - s.y1) / (s.x2 - s.x1);
        s.c = (s.x2 * s.y1 - s.x1 * s.y2) / (s.x2 - s.x1);
    }
    return s;
}

// x lies within the segment's x-range, both ends included, in either order.
bool withinx(const Segment& s, long double x) {
    if (s.x1 <= s.x2) return s.x1 <= x && x <= s.x2;
    return s.x2 <= x && x <= s.x1;
}

// Test segment a of the first line against segment b of the second; when
// they cross, (x, y) is the crossing.  Only x-ranges are tested.  A crossing
// that overflows the 80-bit range (a segment so steep that its slope is
// infinite gives a y that is not a number) is not taken: no drawing can
// hold it.
bool segmentscross(const Segment& a, const Segment& b, long double& x, long double& y) {
    if (a.vertical && b.vertical) return false;
    if (a.vertical) {
        if (!withinx(b, a.x1)) return false;
        x = a.x1;
        y = b.m * a.x1 + b.c;
    } else if (b.vertical) {
        if (!withinx(a, b.x1)) return false;
        x = b.x1;
        y = a.m * b.x1 + a.c;
    } else {
        if (a.m == b.m) return false;  // parallel or collinear
        long double cx = (a.c - b.c) / (b.m - a.m);
        if (!withinx(a, cx) || !withinx(b, cx)) return false;
        x = cx;
        y = a.m * cx + a.c;
    }
    return std::isfinite(x) && std::isfinite(y);
}

// The first line of that name, or end the run: "<name> not found".
int16_t crossline(run::Run& run, const diagram::Diagram& d, const text::Word& name) {
    for (int16_t i = 1; i <= d.nlines; ++i) {
        if (text::sametext(d.lines[i].name, name)) return i;
    }
    explain(run, "the crossover point " + run::wordtext(run.place.item) + " names the line " + run::quotedword(name) +
                     ", which is not defined");
    text::Text what;
    text::settext(what, name);
    text::addtext(what, " not found");
    bombed(run, "crossover", what);
}

// Place one crossover point at the first crossing of its lines: the first
// line's segments in order, and for each the second line's in order.
void placecrossover(run::Run& run, const diagram::Diagram& d, diagram::InvariantPoint& point) {
    const diagram::UnivariantLine& a = d.lines[crossline(run, d, point.crossline1)];
    const diagram::UnivariantLine& b = d.lines[crossline(run, d, point.crossline2)];
    int na = linelength(a);
    int nb = linelength(b);
    // The second line's segments, each worked out once rather than once for
    // every segment of the first.
    std::vector<Segment> bs;
    bs.reserve(static_cast<size_t>(nb > 1 ? nb - 1 : 0));
    for (int l = 1; l < nb; ++l) bs.push_back(segmentof(b, l));
    for (int k = 1; k < na; ++k) {
        Segment sa = segmentof(a, k);
        for (const Segment& sb : bs) {
            if (segmentscross(sa, sb, point.x, point.y)) return;
        }
    }
    std::vector<std::string> notes;
    for (const diagram::UnivariantLine* line : {&a, &b})
        if (linelength(*line) < 2) notes.push_back(run::wordtext(line->name) + " has fewer than two data rows");
    notes.push_back("extend the lines' rows past their crossing, or give " + run::wordtext(point.name) +
                    " its position as a data row");
    explain(run,
            "the lines " + run::wordtext(a.name) + " and " + run::wordtext(b.name) + " do not cross within their data rows, so " +
                run::wordtext(point.name) + " has no place",
            notes);
    text::Text what;
    text::settext(what, "lines don't cross for ");
    addtext(what, point.name);
    bombed(run, "crossover", what);
}

}  // namespace

void placecrossovers(run::Run& run, diagram::Diagram& d) {
    for (int16_t i = 1; i <= d.npoints; ++i) {
        if (!d.points[i].crossover) continue;
        atitem(run, d.pointlines[i], d.pointcolumns[i], d.points[i].name);
        placecrossover(run, d, d.points[i]);
    }
    atline(run, 0);
    // Every point has its position now: one outside the window gets no
    // circle, which a warning points out.
    if (!diagram::isyes(d.options.docircles)) return;
    const diagram::PlotWindow& w = d.window;
    for (int16_t i = 1; i <= d.npoints; ++i) {
        const diagram::InvariantPoint& p = d.points[i];
        if (!(p.x > w.xlow && p.x < w.xhigh && p.y > w.ylow && p.y < w.yhigh))
            warning(run, d.pointlines[i], p.name, "it lies outside the window or on its edge: no circle is drawn");
    }
}

}  // namespace gridel::geometry
