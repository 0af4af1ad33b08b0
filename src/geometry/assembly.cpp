// assembly.cpp - assemblelines with whichpoint, monotone, pointposition and
// addpoints: each line resolved, trimmed to its limit points, reported and
// cut at the window, one line after the other.
#include "geometry/assembly.h"

#include <cmath>
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

namespace {

// End the run through "add points" when a word limit sits on the wrong side:
// "\"<word>\" should be \"<other>\" for <line>?".
[[noreturn]] void wrongword(Run& run, const char* word, const char* other, const Word& linename) {
    Text what;
    settext(what, "\"");
    addtext(what, word);
    addtext(what, "\" should be \"");
    addtext(what, other);
    addtext(what, "\" for ");
    addtext(what, linename);
    addtext(what, "?");
    bombed(run, "add points", what);
}

// Exchange the two limits of a line: positions, indices and names.
void exchangelimits(UnivariantLine& line, int16_t& b, int16_t& e) {
    int16_t t = b;
    b = e;
    e = t;
    t = line.beginindex;
    line.beginindex = line.endindex;
    line.endindex = t;
    Word w = line.beginname;
    line.beginname = line.endname;
    line.endname = w;
}

// Store point `point` of the points table as point k of the line.
void putlimit(Run& run, const Diagram& d, UnivariantLine& line, int k, int16_t point) {
    setlinepoint(run, line, k, d.points[point].x, d.points[point].y, "add points");
}

// The line becomes [begin point?, copied data points from..to, end point?];
// the begin and end points are added when their index is positive.
void rebuild(Run& run, const Diagram& d, UnivariantLine& line, const PointCopy& data, int from, int to, int16_t beginpoint,
             int16_t endpoint) {
    int k = 0;
    if (beginpoint > 0) putlimit(run, d, line, ++k, beginpoint);
    for (int j = from; j <= to; ++j) setlinepoint(run, line, ++k, data.x[j], data.y[j], "add points");
    if (endpoint > 0) putlimit(run, d, line, ++k, endpoint);
    line.npts = static_cast<int16_t>(k);
}

// A limit point this far from every data point of its line (in window
// widths and heights) is likely a slip of a name or a number.
constexpr long double farlimit = 0.1L;

// Under --check, warn of a limit point that lies far from its line's data.
void checklimit(Run& run, const Diagram& d, const UnivariantLine& l, int16_t point, const char* which) {
    if (!run.checking || point <= 0 || l.connect) return;
    const PlotWindow& w = d.window;
    const InvariantPoint& p = d.points[point];
    long double nearest = -1;
    for (int k = 1; k <= linelength(l); ++k) {
        long double dx = (l.x[k] - p.x) / (w.xhigh - w.xlow);
        long double dy = (l.y[k] - p.y) / (w.yhigh - w.ylow);
        long double r = std::sqrt(dx * dx + dy * dy);
        if (nearest < 0 || r < nearest) nearest = r;
    }
    if (!(nearest > farlimit)) return;
    Word far = real2str(nearest, 2, true);
    warning(run, run.place.line, l.name,
            std::string("its ") + which + " point " + wordtext(p.name) +
                " lies " + wordtext(far) +
                " window sizes from its nearest data point");
}

}  // namespace

namespace {

// The number of the first point of each name, so that resolving the limits
// of every line does not search the points table each time.
using PointIndex = std::unordered_map<std::string_view, int16_t>;

PointIndex indexpoints(const Diagram& d) {
    PointIndex index;
    index.reserve(static_cast<size_t>(d.npoints > 0 ? d.npoints : 0));
    for (int16_t i = 1; i <= d.npoints; ++i) {
        const Word& name = d.points[i].name;
        index.emplace(std::string_view(name.c, static_cast<size_t>(name.len)), i);  // the first one stays
    }
    return index;
}

// A limit that names no point: "begin" or "end" (0), or the run ends.
int16_t nopoint(Run& run, const Word& name) {
    if (!istext(name, "begin") && !istext(name, "end")) {
        Text what;
        settext(what, "not recognised: ");
        addtext(what, name);
        bombed(run, "which point", what);
    }
    return 0;
}

// whichpoint, looked up in the index.
int16_t indexedpoint(Run& run, const PointIndex& index, const Word& name) {
    auto at = index.find(std::string_view(name.c, static_cast<size_t>(name.len)));
    return at != index.end() ? at->second : nopoint(run, name);
}

}  // namespace

int16_t whichpoint(Run& run, const Diagram& d, const Word& name) {
    for (int16_t i = 1; i <= d.npoints; ++i) {
        if (sametext(d.points[i].name, name)) return i;
    }
    return nopoint(run, name);
}

void monotone(Diagram& d, int16_t line) {
    UnivariantLine& l = d.lines[line];
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

int16_t pointposition(const Diagram& d, int16_t line, int16_t point) {
    const UnivariantLine& l = d.lines[line];
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

void addpoints(Run& run, Diagram& d, int16_t line) {
    UnivariantLine& l = d.lines[line];
    PointCopy data;  // the line as read
    copypoints(l, data);
    int n = data.n;
    int16_t b = l.beginindex > 0 ? pointposition(d, line, l.beginindex) : -1;
    int16_t e = l.endindex > 0 ? pointposition(d, line, l.endindex) : -1;

    if (b < 0 && e < 0) return;  // both limits are the data's own ends
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
    if (istext(l.endname, "begin") || istext(l.beginname, "end")) exchangelimits(l, b, e);
    if (istext(l.endname, "end")) {
        if (b == n) wrongword(run, "end", "begin", l.name);
        rebuild(run, d, l, data, b + 1, n, l.beginindex, 0);
    } else {
        if (e == 0) wrongword(run, "begin", "end", l.name);
        rebuild(run, d, l, data, 1, e, 0, l.endindex);
    }
}

void assemblelines(Run& run, Diagram& d) {
    const PointIndex points = indexpoints(d);
    ReportRows rows;  // the current line's report rows
    for (int16_t i = 1; i <= d.nlines; ++i) {
        UnivariantLine& l = d.lines[i];
        atitem(run, d.linelines[i], l.name);
        monotone(d, i);
        l.beginindex = indexedpoint(run, points, l.beginname);
        l.endindex = indexedpoint(run, points, l.endname);
        if (l.connect) {
            if (l.beginindex <= 0 || l.endindex <= 0) bombed(run, "lines", "connect not using a point");
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
