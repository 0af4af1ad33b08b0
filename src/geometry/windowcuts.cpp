// windowcuts.cpp - windowcontains and windowcuts: a line cut at the window's
// edges segment by segment, in place.
//
// While a line is inside the window its points after the current segment
// are held, uncut, after its last kept point; leaving cuts them off at the
// exit point, entering copies them in again after the entry point.
#include "geometry/windowcuts.h"

#include "diagram/model.h"
#include "geometry/linepoints.h"
#include "run/diagnostics.h"
#include "run/failure.h"

namespace gridel::geometry {

namespace {

// The cuts of one segment.
struct SegmentCuts {
    int count;           // edges cut, 0..4
    int first;           // first edge cut, by edge number
    int second;          // second edge cut, by edge number
    long double cx[5];   // cut point on edge e = 1..4
    long double cy[5];
};

// Record a cut of edge e.
void addcut(SegmentCuts& cuts, int e) {
    ++cuts.count;
    if (cuts.count == 1) cuts.first = e;
    if (cuts.count == 2) cuts.second = e;
}

// The start lies strictly on one side of the level v and the end on the
// other side or on it.
bool passes(long double a1, long double a2, long double v) {
    return (a1 > v && a2 <= v) || (a1 < v && a2 >= v);
}

// Cut the segment from (x1, y1) to (x2, y2) at the four edges in order.
SegmentCuts cutsegment(const diagram::PlotWindow& w, long double x1, long double y1, long double x2, long double y2) {
    SegmentCuts cuts = {0, 0, 0, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
    // A segment that passes no edge's level cuts none, whatever its slope:
    // most segments of a line lie within the window, and need no division.
    if (!passes(y1, y2, w.ylow) && !passes(x1, x2, w.xlow) && !passes(y1, y2, w.yhigh) &&
        !passes(x1, x2, w.xhigh))
        return cuts;
    bool vertical = x2 == x1;
    bool horizontal = y2 == y1;
    long double m = 0;
    long double c = 0;
    if (!vertical && !horizontal) {
        m = (y2 - y1) / (x2 - x1);
        c = (x2 * y1 - x1 * y2) / (x2 - x1);
    }
    const long double ylevel[5] = {0, w.ylow, 0, w.yhigh, 0};
    const long double xlevel[5] = {0, 0, w.xlow, 0, w.xhigh};
    for (int e = 1; e <= 4; ++e) {
        if (e == 1 || e == 3) {  // bottom, top
            cuts.cy[e] = ylevel[e];
            if (horizontal) continue;
            cuts.cx[e] = vertical ? x1 : (ylevel[e] - c) / m;
            if (passes(y1, y2, ylevel[e]) && w.xlow <= cuts.cx[e] && cuts.cx[e] <= w.xhigh)
                addcut(cuts, e);
        } else {  // left, right
            cuts.cx[e] = xlevel[e];
            if (vertical) continue;
            cuts.cy[e] = horizontal ? y1 : m * xlevel[e] + c;
            if (passes(x1, x2, xlevel[e]) && w.ylow <= cuts.cy[e] && cuts.cy[e] <= w.yhigh)
                addcut(cuts, e);
        }
    }
    return cuts;
}

// The window corner where edges e and f meet; false for opposite edges or
// anything that is not an edge.
bool cornerof(const diagram::PlotWindow& w, int e, int f, long double& x, long double& y) {
    int lo = e < f ? e : f;
    int hi = e < f ? f : e;
    if (lo == 1 && hi == 2) { x = w.xlow; y = w.ylow; return true; }
    if (lo == 2 && hi == 3) { x = w.xlow; y = w.yhigh; return true; }
    if (lo == 3 && hi == 4) { x = w.xhigh; y = w.yhigh; return true; }
    if (lo == 1 && hi == 4) { x = w.xhigh; y = w.ylow; return true; }
    return false;
}

// The code of the first edge, in edge order, that the point lies within the
// tolerance of; 0 when it lies near none.
int16_t nearedge(const diagram::PlotWindow& w, long double x, long double y) {
    auto near = [](long double a, long double b) {
        long double d = a - b;
        return (d < 0 ? -d : d) < edgetolerance;
    };
    if (near(y, w.ylow)) return -1;
    if (near(x, w.xlow)) return -2;
    if (near(y, w.yhigh)) return -3;
    if (near(x, w.xhigh)) return -4;
    return 0;
}

[[noreturn]] void weirdshape(run::Run& run, const text::Word& linename) {
    explain(run, run::wordtext(linename) + " leaves the window by one edge and comes back by the opposite one",
            {"split the line where it leaves, or widen the window"});
    text::Text what;
    text::settext(what, "wierd line shape in ");
    text::addtext(what, linename);
    bombed(run, "lines", what);
}

}  // namespace

bool windowcontains(const diagram::PlotWindow& w, long double x, long double y) {
    return w.xlow <= x && x <= w.xhigh && w.ylow <= y && y <= w.yhigh;
}

bool passesanedgebysegments(const diagram::PlotWindow& w, const diagram::UnivariantLine& l, int count) {
    for (int k = 1; k < count; ++k)
        if (passes(l.y[k], l.y[k + 1], w.ylow) || passes(l.x[k], l.x[k + 1], w.xlow) ||
            passes(l.y[k], l.y[k + 1], w.yhigh) || passes(l.x[k], l.x[k + 1], w.xhigh))
            return true;
    return false;
}

// Each end of every segment lies strictly on the window's side of every
// edge's level, so none passes one.  A NaN fails every comparison.
bool strictlyinside(const diagram::PlotWindow& w, const diagram::UnivariantLine& l, int count) {
    for (int k = 1; k <= count; ++k)
        if (!(w.xlow < l.x[k] && l.x[k] < w.xhigh && w.ylow < l.y[k] && l.y[k] < w.yhigh)) return false;
    return true;
}

void windowcuts(run::Run& run, diagram::Diagram& d, int16_t line) {
    const diagram::PlotWindow& w = d.window;
    diagram::UnivariantLine& l = d.lines[line];
    // Most lines pass no edge at all: then nothing is cut, and the line
    // stays as it is, whole inside the window or whole outside it.
    int count = linelength(l);
    // Most lines lie strictly inside, which a look at each point shows.
    bool passesanedge = !strictlyinside(w, l, count) && passesanedgebysegments(w, l, count);
    if (!passesanedge) {
        l.npts = static_cast<int16_t>(count);
        l.outsidewindow = !(count >= 1 && windowcontains(w, l.x[1], l.y[1]));
        if (l.outsidewindow) {
            l.npts = 0;
            return;
        }
        if (l.beginindex == 0) l.beginindex = nearedge(w, l.x[1], l.y[1]);
        if (l.endindex == 0 && count >= 1) l.endindex = nearedge(w, l.x[count], l.y[count]);
        return;
    }
    PointCopy data;  // the line as assembled
    copypoints(l, data);
    int n = data.n;
    bool inside = n >= 1 && windowcontains(w, data.x[1], data.y[1]);
    bool started = false;
    int16_t b = l.beginindex;
    int16_t e = l.endindex;
    int total = 0;
    int npts = n;  // the line's points in use while it is cut

    for (int k = 1; k < n; ++k) {
        SegmentCuts cuts = cutsegment(w, data.x[k], data.y[k], data.x[k + 1], data.y[k + 1]);
        if (cuts.count > 2) {
            explain(run, "a segment of " + run::wordtext(l.name) + " passes exactly through a corner of the window",
                    {"move the window slightly"});
            bombed(run, "edge", "too many cuts");
        }
        total += cuts.count;
        if (cuts.count == 1) {
            int f = cuts.first;
            if (!started && !inside) b = static_cast<int16_t>(-f);
            if (inside) {  // leaving: keep the points so far and the exit point
                npts = npts + k - n + 1;
                setlinepoint(run, l, npts, cuts.cx[f], cuts.cy[f], "lines");
                e = static_cast<int16_t>(-f);
            } else {  // entering: the entry point, then the rest of the data
                int p = started ? npts + 1 : 1;
                npts = p + n - k;
                if (started && -f != e) {  // back through another edge: its corner first
                    long double cornerx, cornery;
                    if (!cornerof(w, f, -e, cornerx, cornery)) weirdshape(run, l.name);
                    setlinepoint(run, l, p, cornerx, cornery, "lines");
                    e = l.endindex;
                    total -= 2;
                    ++npts;
                    ++p;
                }
                setlinepoint(run, l, p, cuts.cx[f], cuts.cy[f], "lines");
                for (int j = k + 1; j <= n; ++j) setlinepoint(run, l, p + j - k, data.x[j], data.y[j], "lines");
            }
            inside = !inside;
            started = true;
        } else if (cuts.count == 2) {
            // Across the window, or out through a corner.  A line that is
            // inside drops its held rest first and keeps its points up to
            // this segment's start.
            int kept = 0;
            if (started) kept = inside ? npts + k - n : npts;
            npts = kept + 2;
            if (started) total -= 2;
            setlinepoint(run, l, npts - 1, cuts.cx[cuts.first], cuts.cy[cuts.first], "lines");
            setlinepoint(run, l, npts, cuts.cx[cuts.second], cuts.cy[cuts.second], "lines");
            if (!started) b = static_cast<int16_t>(-cuts.first);
            e = static_cast<int16_t>(-cuts.second);
            inside = false;
            started = true;
        }
    }
    l.npts = static_cast<int16_t>(npts);
    if (total < 0 || total > 2) {
        explain(run, run::wordtext(l.name) + " leaves and enters the window in a way that cannot be followed",
                {"split the line where it leaves, or widen the window"});
        bombed(run, "lines", "bad cuts of window edge");
    }
    l.beginindex = b;
    l.endindex = e;
    l.outsidewindow = total == 0 && !(npts >= 1 && windowcontains(w, l.x[1], l.y[1]));
    if (l.outsidewindow) {
        l.npts = 0;
        return;
    }
    if (l.beginindex == 0) l.beginindex = nearedge(w, l.x[1], l.y[1]);
    if (l.endindex == 0 && npts >= 1) l.endindex = nearedge(w, l.x[npts], l.y[npts]);
}

}  // namespace gridel::geometry
