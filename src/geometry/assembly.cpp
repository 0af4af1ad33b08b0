// assembly.cpp - assemblelines with whichpoint, monotone, pointposition and
// addpoints: each line resolved, trimmed to its limit points, reported and
// cut at the window, one line after the other.
#include "geometry/assembly.h"

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

#include "diagram/model.h"
#include "geometry/linepoints.h"
#include "geometry/linereport.h"
#include "geometry/windowcuts.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "text/numfmt.h"

namespace gridel::geometry {

namespace {

// End the run through "add points" when a word limit sits on the wrong side:
// "\"<word>\" should be \"<other>\" for <line>?".
[[noreturn]] void wrongword(run::Run& run, const char* word, const char* other, const diagram::UnivariantLine& line, int rows,
                            const text::Word& point) {
    const text::Word& linename = line.name;
    std::string name = run::wordtext(linename), at = run::wordtext(point);
    bool toend = std::strcmp(word, "end") == 0;
    std::string run1 = toend ? "from " + at + " to 'end'" : "from 'begin' to " + at;
    if (rows <= 1)
        explain(run, name + " has one data row, so it cannot run " + run1,
                {"give " + name + " at least two data rows, or two points as its limits"});
    else
        explain(run, at + (toend ? " lies after the last" : " lies before the first") + std::string(" data row of ") +
                         name + ", so " + name + " cannot run " + run1,
                {std::string("did you mean '") + other + "'? Or reverse the order of the rows"});
    text::Text what;
    text::settext(what, "\"");
    text::addtext(what, word);
    addtext(what, "\" should be \"");
    addtext(what, other);
    addtext(what, "\" for ");
    addtext(what, linename);
    addtext(what, "?");
    bombed(run, "add points", what);
}

// Exchange the two limits of a line: positions, indices and names.
void exchangelimits(diagram::UnivariantLine& line, int16_t& b, int16_t& e) {
    int16_t t = b;
    b = e;
    e = t;
    t = line.beginindex;
    line.beginindex = line.endindex;
    line.endindex = t;
    text::Word w = line.beginname;
    line.beginname = line.endname;
    line.endname = w;
}

// Store point `point` of the points table as point k of the line.
void putlimit(run::Run& run, const diagram::Diagram& d, diagram::UnivariantLine& line, int k, int16_t point) {
    setlinepoint(run, line, k, d.points[point].x, d.points[point].y, "add points");
}

// The line becomes [begin point?, copied data points from..to, end point?];
// the begin and end points are added when their index is positive.
void rebuild(run::Run& run, const diagram::Diagram& d, diagram::UnivariantLine& line, const PointCopy& data, int from, int to, int16_t beginpoint,
             int16_t endpoint) {
    int k = 0;
    if (beginpoint > 0) putlimit(run, d, line, ++k, beginpoint);
    for (int j = from; j <= to; ++j) setlinepoint(run, line, ++k, data.x[j], data.y[j], "add points");
    if (endpoint > 0) putlimit(run, d, line, ++k, endpoint);
    line.npts = static_cast<int16_t>(k);
}

// A limit point this far from its line as read (in window widths and
// heights) is likely a slip of a name or a number.
constexpr long double farlimit = 0.1L;

// The square of the distance from (px, py) to the segment from (ax, ay)
// to (bx, by).
long double segmentdistance2(long double ax, long double ay, long double bx, long double by, long double px,
                             long double py) {
    long double dx = bx - ax, dy = by - ay;
    long double length2 = dx * dx + dy * dy;
    long double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
    if (!(t > 0)) t = 0;  // a t that is not a number counts as 0 too
    if (t > 1) t = 1;
    long double ex = ax + t * dx - px, ey = ay + t * dy - py;
    return ex * ex + ey * ey;
}

// Warn of a limit point that lies far from the line its data rows draw
// (measured to the line between the rows, not to the rows alone, so that
// sparse rows do not make a point on the line look far from it).  The
// search stops at the first segment near enough.
void checklimit(run::Run& run, const diagram::Diagram& d, const diagram::UnivariantLine& l, int16_t point, const char* which) {
    if (point <= 0 || l.connect) return;
    const diagram::PlotWindow& w = d.window;
    const diagram::InvariantPoint& p = d.points[point];
    const long double width = w.xhigh - w.xlow, height = w.yhigh - w.ylow;
    const long double px = p.x / width, py = p.y / height;
    int n = linelength(l);
    long double nearest2 = -1;
    for (int k = 1; k <= n; ++k) {
        int j = k < n ? k + 1 : k;  // a line of one row is that row
        long double r2 = segmentdistance2(l.x[k] / width, l.y[k] / height, l.x[j] / width, l.y[j] / height, px, py);
        if (r2 <= farlimit * farlimit) return;
        if (nearest2 < 0 || r2 < nearest2) nearest2 = r2;
    }
    long double nearest = std::sqrt(nearest2);
    if (!(nearest > farlimit)) return;
    text::Word far = text::real2str(nearest, 2, true);
    warning(run, run.place.line, l.name,
            std::string("its ") + which + " point " + run::wordtext(p.name) + " lies " + run::wordtext(far) +
                " window sizes away from the line of its data rows");
}

}  // namespace

namespace {

// The number of the first point of each name, so that resolving the limits
// of every line does not search the points table each time.
using PointIndex = std::unordered_map<std::string_view, int16_t>;

PointIndex indexpoints(const diagram::Diagram& d) {
    PointIndex index;
    index.reserve(static_cast<size_t>(d.npoints > 0 ? d.npoints : 0));
    for (int16_t i = 1; i <= d.npoints; ++i) {
        const text::Word& name = d.points[i].name;
        index.emplace(std::string_view(name.c, static_cast<size_t>(name.len)), i);  // the first one stays
    }
    return index;
}

// A limit that names no point: "begin" or "end" (0), or the run ends.
int16_t nopoint(run::Run& run, const text::Word& name) {
    if (!text::istext(name, "begin") && !istext(name, "end")) {
        static const char* const limits[] = {"begin", "end"};
        std::string near = run::nearestword(run::wordtext(name), limits, 2);
        explain(run, "the limit " + run::quotedword(name) + " of " + run::wordtext(run.place.item) +
                         " is not a point, nor 'begin' or 'end'",
                {near.empty() ? "a limit is a point's name, 'begin' (the first data row) or 'end' (the last)"
                              : "did you mean '" + near + "'?"});
        text::Text what;
        text::settext(what, "not recognised: ");
        text::addtext(what, name);
        bombed(run, "which point", what);
    }
    return 0;
}

// whichpoint, looked up in the index.
int16_t indexedpoint(run::Run& run, const PointIndex& index, const text::Word& name) {
    auto at = index.find(std::string_view(name.c, static_cast<size_t>(name.len)));
    return at != index.end() ? at->second : nopoint(run, name);
}

}  // namespace

int16_t whichpoint(run::Run& run, const diagram::Diagram& d, const text::Word& name) {
    for (int16_t i = 1; i <= d.npoints; ++i) {
        if (text::sametext(d.points[i].name, name)) return i;
    }
    return nopoint(run, name);
}

void monotone(diagram::Diagram& d, int16_t line) {
    diagram::UnivariantLine& l = d.lines[line];
    int n = linelength(l);
    if (n < 3) {
        l.xmonotone = true;
        return;
    }
    int k = 2;
    while (k <= n && l.x[k] == l.x[1]) ++k;
    if (k > n) {
        l.xmonotone = false;
        return;
    }
    bool rising = l.x[k - 1] < l.x[k];
    for (int j = k; j < n; ++j) {
        if (rising ? l.x[j + 1] < l.x[j] : l.x[j + 1] > l.x[j]) {
            l.xmonotone = false;
            return;
        }
    }
    l.xmonotone = true;
}

int16_t pointposition(const diagram::Diagram& d, int16_t line, int16_t point) {
    const diagram::UnivariantLine& l = d.lines[line];
    const long double* a = l.xmonotone ? l.x : l.y;
    long double v = l.xmonotone ? d.points[point].x : d.points[point].y;
    int n = linelength(l);
    if (n <= 1) return static_cast<int16_t>(n);
    for (int k = 1; k < n; ++k) {
        if ((a[k] <= v && v <= a[k + 1]) || (a[k + 1] <= v && v <= a[k])) {
            return static_cast<int16_t>(k);
        }
    }
    if (a[1] < a[n]) return static_cast<int16_t>(v > a[n] ? n : 0);
    return static_cast<int16_t>(v > a[1] ? 0 : n);
}

void addpoints(run::Run& run, diagram::Diagram& d, int16_t line) {
    diagram::UnivariantLine& l = d.lines[line];
    int16_t b = l.beginindex > 0 ? pointposition(d, line, l.beginindex) : -1;
    int16_t e = l.endindex > 0 ? pointposition(d, line, l.endindex) : -1;

    if (b < 0 && e < 0) return;  // both limits are the data's own ends
    PointCopy data;  // the line as read
    copypoints(l, data);
    int n = data.n;
    if (b >= 0 && e >= 0) {
        if (b == e) {  // both in the same gap: the straight segment between them
            rebuild(run, d, l, data, 1, 0, l.beginindex, l.endindex);
            return;
        }
        if (b > e) exchangelimits(l, b, e);
        rebuild(run, d, l, data, b + 1, e, l.beginindex, l.endindex);
        return;
    }
    // Exactly one limit is a point: "begin" belongs at the begin, "end" at the end.
    if (text::istext(l.endname, "begin") || istext(l.beginname, "end")) exchangelimits(l, b, e);
    if (text::istext(l.endname, "end")) {
        if (b == n) wrongword(run, "end", "begin", l, n, d.points[l.beginindex].name);
        rebuild(run, d, l, data, b + 1, n, l.beginindex, 0);
    } else {
        if (e == 0) wrongword(run, "begin", "end", l, n, d.points[l.endindex].name);
        rebuild(run, d, l, data, 1, e, 0, l.endindex);
    }
}

void assemblelines(run::Run& run, diagram::Diagram& d) {
    const PointIndex points = indexpoints(d);
    ReportRows rows;  // the current line's report rows
    for (int16_t i = 1; i <= d.nlines; ++i) {
        diagram::UnivariantLine& l = d.lines[i];
        atitem(run, d.linelines[i], d.linecolumns[i], l.name);
        monotone(d, i);
        l.beginindex = indexedpoint(run, points, l.beginname);
        l.endindex = indexedpoint(run, points, l.endname);
        if (l.connect) {
            if (l.beginindex <= 0 || l.endindex <= 0) {
                explain(run, run::wordtext(l.name) + " is a connect line, so both its limits must be points, not 'begin' or 'end'");
                bombed(run, "lines", "connect not using a point");
            }
            setlinepoint(run, l, 1, d.points[l.beginindex].x, d.points[l.beginindex].y, "lines");
            setlinepoint(run, l, 2, d.points[l.endindex].x, d.points[l.endindex].y, "lines");
            l.npts = 2;
        }
        linereport(run, d, i, 1, rows);
        checklimit(run, d, l, l.beginindex, "begin");
        checklimit(run, d, l, l.endindex, "end");
        if (!l.connect) addpoints(run, d, i);
        linereport(run, d, i, 2, rows);
        windowcuts(run, d, i);
        linereport(run, d, i, 3, rows);
        if (l.outsidewindow) warning(run, run.place.line, l.name, "it lies wholly outside the window and is not drawn");
    }
    atline(run, 0);
}

}  // namespace gridel::geometry
