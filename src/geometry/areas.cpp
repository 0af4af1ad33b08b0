// areas.cpp - an area's boundary: the walk along its lines, the joins along the window's border, and the side an edge word asks for.
#include "geometry/areas.h"

#include <string>

#include <cmath>

#include "diagram/slips.h"
#include "run/channels.h"
#include "run/diagnostics.h"
#include "run/failure.h"

namespace gridel::geometry {

namespace {

const text::Word noname = {0, {}};

// Window edges, as stored negated in a line's limit codes.
constexpr int edgebottom = 1;
constexpr int edgeleft = 2;
constexpr int edgetop = 3;
constexpr int edgeright = 4;

// The end where a trace finishes, and the end where it starts.
int finishend(bool forward) { return forward ? 2 : 1; }
int startend(bool forward) { return forward ? 1 : 2; }

// The limit code, x and y at end 1 or end 2 of a line.
int16_t endcode(const diagram::UnivariantLine& line, int end) {
    return end == 1 ? line.beginindex : line.endindex;
}
long double endx(const diagram::UnivariantLine& line, int end) { return end == 1 ? line.x[1] : line.x[line.npts]; }
long double endy(const diagram::UnivariantLine& line, int end) { return end == 1 ? line.y[1] : line.y[line.npts]; }

// Both codes name the same invariant point.
bool samepoint(int16_t a, int16_t b) { return a > 0 && a == b; }

// On to a point of the boundary.
void lineto(BoundaryPath& path, long double x, long double y, const text::Word& name) {
    path.pieces.push_back({x, y, 0, true, name});
}

// The window corner where two neighbouring edges meet.
void cornerlineto(BoundaryPath& path, int edge1, int edge2) {
    const diagram::PlotWindow& w = path.window;
    long double x = (edge1 == edgeleft || edge2 == edgeleft) ? w.xlow : w.xhigh;
    long double y = (edge1 == edgebottom || edge2 == edgebottom) ? w.ylow : w.yhigh;
    lineto(path, x, y, noname);
}

// On along a line's points after its first (forward) or before its last
// (backward): the trace is taken to stand at the other end already.  The
// name goes with the first point.
void polyline(BoundaryPath& path, bool forward, const text::Word& name, const diagram::UnivariantLine& line) {
    if (line.npts < 2) return;  // no point besides the one the trace stands at
    path.pieces.push_back({0, 0, static_cast<int16_t>(&line - path.lines), forward, name});
}

// The direction of line N that starts it nearest to where line U finished
// (at end `uend`, code c): forward when c is N's begin code, backward when
// it is N's end code, otherwise towards N's nearer end.
bool directionfrom(const diagram::PlotWindow& w, int16_t c, int uend, const diagram::UnivariantLine& U, const diagram::UnivariantLine& N) {
    if (c == N.beginindex) return true;
    if (c == N.endindex) return false;
    return enddistance(w, uend, 1, U, N) < enddistance(w, uend, 2, U, N);
}

// The direction of line A that finishes it nearest to where line B starts
// (at end `bend`, code c): backward when c is A's begin code, forward when
// it is A's end code, otherwise towards A's nearer end.
bool directiontowards(const diagram::PlotWindow& w, int16_t c, int bend, const diagram::UnivariantLine& A, const diagram::UnivariantLine& B) {
    if (c == A.beginindex) return false;
    if (c == A.endindex) return true;
    return enddistance(w, 2, bend, A, B) < enddistance(w, 1, bend, A, B);
}

// How the walk goes on from one line to the next.
struct WalkStep {
    bool fromforward;   // direction of the line the step goes on from (the first line at the start)
    bool nextforward;   // direction of the next line
    bool edgejoin;      // the two are joined along the window's border
    int16_t failure;    // 0, or the code of the warning when no way on was found
};

WalkStep joinedat(bool a, bool b) { return {a, b, false, 0}; }
WalkStep joinedbyedge(bool a, bool b) { return {a, b, true, 0}; }
WalkStep failed(int16_t code) { return {true, true, false, code}; }

// Directions of the first two lines A and B of a walk, by which of their
// four codes are points.  Codes are compared as plain numbers.
WalkStep startwalk(const diagram::PlotWindow& w, const diagram::UnivariantLine& A, const diagram::UnivariantLine& B) {
    const int16_t ab = A.beginindex, ae = A.endindex, bb = B.beginindex, be = B.endindex;
    int pattern = (ab > 0 ? 8 : 0) | (ae > 0 ? 4 : 0) | (bb > 0 ? 2 : 0) | (be > 0 ? 1 : 0);
    switch (pattern) {
    case 0b1111:
        if (ae == bb) return joinedat(true, true);
        if (ae == be) return joinedat(true, false);
        if (ab == bb) return joinedat(false, true);
        if (ab == be) return joinedat(false, false);
        return failed(1);
    case 0b1110:
        if (ae == bb) return joinedat(true, true);
        if (ab == bb) return joinedat(false, true);
        return failed(2);
    case 0b1101:
        if (ae == be) return joinedat(true, false);
        if (ab == be) return joinedat(false, false);
        return failed(3);
    case 0b1011:
        if (ab == bb) return joinedat(false, true);
        if (ab == be) return joinedat(false, false);
        return failed(4);
    case 0b0111:
        if (ae == bb) return joinedat(true, true);
        if (ae == be) return joinedat(true, false);
        return failed(5);
    case 0b1010:
        if (ab == bb) return joinedat(false, true);
        return joinedbyedge(true, false);
    case 0b1001:
        if (ab == be) return joinedat(false, false);
        return joinedbyedge(true, true);
    case 0b0110:
        if (ae == bb) return joinedat(true, true);
        return joinedbyedge(false, false);
    case 0b0101:
        if (ae == be) return joinedat(true, false);
        return joinedbyedge(false, true);
    case 0b0011: return failed(6);
    case 0b1100: return failed(7);
    case 0b1000: return joinedbyedge(true, directionfrom(w, ae, 2, A, B));
    case 0b0100: return joinedbyedge(false, directionfrom(w, ab, 1, A, B));
    case 0b0010: return joinedbyedge(directiontowards(w, be, 2, A, B), false);
    case 0b0001: return joinedbyedge(directiontowards(w, bb, 1, A, B), true);
    default: return failed(8);
    }
}

// The direction of the next line N after line U, traced in direction
// `uforward`, and whether they are joined along the border.
WalkStep nextstep(const diagram::PlotWindow& w, const diagram::UnivariantLine& U, bool uforward, const diagram::UnivariantLine& N) {
    int uend = finishend(uforward);
    int16_t c = endcode(U, uend);
    bool nbegin = N.beginindex > 0, nend = N.endindex > 0;
    if (c > 0) {
        if (nbegin && nend) {
            if (c == N.beginindex) return joinedat(uforward, true);
            if (c == N.endindex) return joinedat(uforward, false);
            return failed(1);
        }
        if (nbegin) return c == N.beginindex ? joinedat(uforward, true) : failed(2);
        if (nend) return c == N.endindex ? joinedat(uforward, false) : failed(3);
        return failed(4);
    }
    if (nbegin && nend) return failed(5);
    if (nbegin) return joinedbyedge(uforward, false);
    if (nend) return joinedbyedge(uforward, true);
    return joinedbyedge(uforward, directionfrom(w, c, uend, U, N));
}

void startwarning(run::Run& run, int16_t area, int16_t code) {
    text::LineBuffer line;
    text::clearline(line);
    text::appendfield("\xA5 something funny with area ", 0, line, 255);
    text::appendint(0, line, 255, area);
    appendfield(": can't get started (", 0, line, 255);
    appendint(0, line, 255, code);
    appendfield(")", 0, line, 255);
    putstr(run, 0, line, 1, run::setwlog);
    warning(run, run.place.line, run.place.item,
            "its boundary cannot be started (code " + run::wholetext(code) + "): it is filled with nothing");
}

void walkwarning(run::Run& run, int16_t area, int16_t code, const text::Word& nextname) {
    text::LineBuffer line;
    text::clearline(line);
    text::appendfield("\xA5 something funny (", 0, line, 255);
    text::appendint(0, line, 255, code);
    appendfield(") with area ", 0, line, 255);
    appendint(0, line, 255, area);
    appendfield(" looking at line ", 0, line, 255);
    appendfield(nextname, 0, line, 255);
    putstr(run, 0, line, 1, run::setwlog);
    warning(run, run.place.line, run.place.item,
            "its boundary cannot be traced on to line " + run::wordtext(nextname) +
                " (code " + run::wholetext(code) + "): what was traced is filled");
}

// Start the boundary at the end where a line's trace starts.
void movetostart(BoundaryPath& path, const diagram::UnivariantLine& line, bool forward) {
    int end = startend(forward);
    path.pieces.clear();
    lineto(path, endx(line, end), endy(line, end), line.name);
}

// One line closed along the window's border.
void oneline(BoundaryPath& path, const diagram::UnivariantLine& L) {
    movetostart(path, L, true);
    polyline(path, true, noname, L);
    edgeconnect(path, 2, 1, L, L);
}

// Two lines that both run from edge to edge.
void twolinesedgetoedge(BoundaryPath& path, const diagram::UnivariantLine& A, const diagram::UnivariantLine& B) {
    movetostart(path, A, true);
    polyline(path, true, noname, A);
    bool d;
    if (A.endindex == B.beginindex || A.beginindex == B.endindex)
        d = true;
    else if (A.endindex == B.endindex || A.beginindex == B.beginindex)
        d = false;
    else
        d = enddistance(path.window, 2, 1, A, B) < enddistance(path.window, 2, 2, A, B);
    edgeconnect(path, 2, startend(d), A, B);
    polyline(path, d, B.name, B);
    edgeconnect(path, finishend(d), 1, B, A);
}

// Two lines of which at least one end is a point or a data end.
void twolinesjoined(BoundaryPath& path, const diagram::UnivariantLine& A, const diagram::UnivariantLine& B) {
    bool da, db;
    if (samepoint(A.endindex, B.beginindex)) {
        da = true, db = true;
    } else if (samepoint(A.endindex, B.endindex)) {
        da = true, db = false;
    } else if (samepoint(A.beginindex, B.beginindex)) {
        da = false, db = true;
    } else {
        da = false, db = false;
    }
    movetostart(path, A, da);
    polyline(path, da, A.name, A);
    polyline(path, db, B.name, B);
    edgeconnect(path, finishend(db), startend(da), B, A);
}

// Three or more lines, each traced from where the one before finished.
void walk(run::Run& run, BoundaryPath& path, const diagram::Diagram& d, int16_t area, const diagram::ShadedArea& a, int16_t m) {
    const diagram::PlotWindow& w = d.window;
    const diagram::UnivariantLine& first = d.lines[a.lineindex[1]];
    WalkStep step = startwalk(w, first, d.lines[a.lineindex[2]]);
    if (step.failure != 0) {
        startwarning(run, area, step.failure);
        return;
    }
    movetostart(path, first, step.fromforward);
    polyline(path, step.fromforward, noname, first);
    if (step.edgejoin)
        edgeconnect(path, finishend(step.fromforward), startend(step.nextforward), first,
                    d.lines[a.lineindex[2]]);
    bool firstforward = step.fromforward;
    bool uforward = step.nextforward;
    for (int16_t k = 2; k <= m; ++k) {
        const diagram::UnivariantLine& U = d.lines[a.lineindex[k]];
        if (k < m) {
            const diagram::UnivariantLine& N = d.lines[a.lineindex[k + 1]];
            step = nextstep(w, U, uforward, N);
            if (step.failure != 0) {
                walkwarning(run, area, step.failure, N.name);
                return;
            }
            polyline(path, uforward, U.name, U);
            if (step.edgejoin) edgeconnect(path, finishend(uforward), startend(step.nextforward), U, N);
            uforward = step.nextforward;
        } else {
            polyline(path, uforward, U.name, U);
            // Back to the first line; a data end gets no join and "fill"
            // closes the path straight.
            if (endcode(U, finishend(uforward)) < 0)
                edgeconnect(path, finishend(uforward), startend(firstforward), U, first);
        }
    }
}

// The border is measured counterclockwise from the bottom-left corner, one
// unit an edge: bottom 0..1, right 1..2, top 2..3, left 3..4.  The edge of
// each unit, and the unit of each edge.
constexpr int16_t unitedges[4] = {edgebottom, edgeright, edgetop, edgeleft};
int unitof(int edge) { return edge == edgebottom ? 0 : edge == edgeright ? 1 : edge == edgetop ? 2 : 3; }

long double unitclamp(long double f) { return f < 0 ? 0 : f > 1 ? 1 : f; }

// Where a point of edge `edge` lies along the border.
long double borderplace(const diagram::PlotWindow& w, int edge, long double x, long double y) {
    long double fx = unitclamp((x - w.xlow) / (w.xhigh - w.xlow));
    long double fy = unitclamp((y - w.ylow) / (w.yhigh - w.ylow));
    switch (unitof(edge)) {
    case 0: return fx;
    case 1: return 1 + fy;
    case 2: return 3 - fx;
    default: return 4 - fy;
    }
}

// How much of each edge the border from place `start` on counterclockwise
// for `length` units runs along.
void alongborder(long double start, long double length, long double cover[5]) {
    for (int k = 0; k < 5; ++k) cover[k] = 0;
    for (int k = 0; k < 8; ++k) {
        long double from = start > k ? start : k;
        long double to = start + length < k + 1 ? start + length : k + 1;
        if (to > from) cover[unitedges[k % 4]] += to - from;
    }
}

// The window corner at a whole place of the border (0 the bottom-left).
void cornerat(const diagram::PlotWindow& w, int place, long double& x, long double& y) {
    int k = ((place % 4) + 4) % 4;
    x = (k == 1 || k == 2) ? w.xhigh : w.xlow;
    y = (k == 2 || k == 3) ? w.yhigh : w.ylow;
}

// Keep the join just made along the border, from the point (px, py) of
// edge e to (qx, qy) of edge h, its usual corners the pieces from `at` on.
void keepjoin(BoundaryPath& path, int e, long double px, long double py, int h, long double qx, long double qy,
              size_t at) {
    const diagram::PlotWindow& w = path.window;
    BorderJoin join{};
    join.from = static_cast<int16_t>(e);
    join.to = static_cast<int16_t>(h);
    join.at = at;
    join.corners = static_cast<int16_t>(path.pieces.size() - at);
    long double sp = borderplace(w, e, px, py), sq = borderplace(w, h, qx, qy);
    long double ccwlength = sq - sp < 0 ? sq - sp + 4 : sq - sp;
    int steps = (unitof(h) - unitof(e) + 4) % 4;  // edges passed counterclockwise
    // The usual way: straight along one edge, else by the fewer corners,
    // else (opposite edges) by the side whose corner it went to first.
    bool usualccw;
    if (e == h) {
        usualccw = sq >= sp;
    } else if (steps != 2) {
        usualccw = steps == 1;
    } else {
        long double cx, cy;
        cornerat(w, unitof(e) + 1, cx, cy);
        usualccw = join.corners > 0 && path.pieces[at].x == cx && path.pieces[at].y == cy;
    }
    if (usualccw) {
        alongborder(sp, ccwlength, join.usual);
        alongborder(sq, 4 - ccwlength, join.other);
    } else {
        alongborder(sq, 4 - ccwlength, join.usual);
        alongborder(sp, ccwlength, join.other);
    }
    // The other way's corners: clockwise when the usual way is
    // counterclockwise, and the other way about; all four from an edge
    // back to the same edge.
    int othercount = e == h ? 4 : usualccw ? 4 - steps : steps;
    for (int k = 0; k < othercount; ++k) {
        int place = usualccw ? unitof(e) - k : unitof(e) + 1 + k;
        cornerat(w, place, join.otherx[k], join.othery[k]);
    }
    join.othercorners = static_cast<int16_t>(othercount);
    path.joins.push_back(join);
}

// Take join k of a traced boundary the other way round.
void turnjoin(BoundaryPath& path, size_t k) {
    BorderJoin& join = path.joins[k];
    auto first = path.pieces.begin() + static_cast<std::ptrdiff_t>(join.at);
    path.pieces.erase(first, first + join.corners);
    std::vector<BoundaryPiece> corners;
    for (int16_t c = 0; c < join.othercorners; ++c) corners.push_back({join.otherx[c], join.othery[c], 0, true, noname});
    path.pieces.insert(path.pieces.begin() + static_cast<std::ptrdiff_t>(join.at), corners.begin(), corners.end());
    int16_t shift = static_cast<int16_t>(join.othercorners - join.corners);
    for (size_t later = k + 1; later < path.joins.size(); ++later)
        path.joins[later].at = static_cast<size_t>(static_cast<std::ptrdiff_t>(path.joins[later].at) + shift);
    join.turned = true;
}

}  // namespace

int16_t whichline(run::Run& run, const diagram::Diagram& d, const text::Word& name) {
    for (int16_t k = 1; k <= d.nlines && k <= diagram::maxlines; ++k)
        if (text::sametext(d.lines[k].name, name)) return k;
    std::vector<std::string> notes = {"an area's lines are the names of lines read before the first '*'"};
    if (diagram::commentslip(text::viewof(name))) notes.insert(notes.begin(), diagram::numbernotes(viewof(name)).front());
    explain(run, run::wordtext(run.place.item) + " names the line " + run::quotedword(name) + ", which is not defined", notes);
    text::Text what;
    text::settext(what, "not recognised: ");
    text::addtext(what, name);
    bombed(run, "which line", what);
}

long double enddistance(const diagram::PlotWindow& w, int a, int b, const diagram::UnivariantLine& A, const diagram::UnivariantLine& B) {
    long double dx = (endx(A, a) - endx(B, b)) / (w.xhigh - w.xlow);
    long double dy = (endy(A, a) - endy(B, b)) / (w.yhigh - w.ylow);
    return std::sqrt(dx * dx + dy * dy);
}

void edgeconnect(BoundaryPath& path, int a, int b, const diagram::UnivariantLine& A, const diagram::UnivariantLine& B) {
    const diagram::PlotWindow& w = path.window;
    int e = -endcode(A, a);
    int h = -endcode(B, b);
    long double px = endx(A, a), py = endy(A, a);
    long double qx = endx(B, b), qy = endy(B, b);
    size_t at = path.pieces.size();
    if (e >= 1 && e <= 4 && h >= 1 && h <= 4 && e != h) {
        bool bottomtop = (e == edgebottom && h == edgetop) || (e == edgetop && h == edgebottom);
        bool leftright = (e == edgeleft && h == edgeright) || (e == edgeright && h == edgeleft);
        if (bottomtop) {
            // Bottom to top or back: by the side nearer the ends' mean x.
            int side = (px + qx - 2 * w.xlow) < (w.xhigh - w.xlow) ? edgeleft : edgeright;
            cornerlineto(path, e, side);
            cornerlineto(path, h, side);
        } else if (leftright) {
            // Left to right or back: by the top or the bottom, nearer the mean y.
            int side = (2 * w.yhigh - py - qy) < (w.yhigh - w.ylow) ? edgetop : edgebottom;
            cornerlineto(path, e, side);
            cornerlineto(path, h, side);
        } else {
            cornerlineto(path, e, h);
        }
    }
    if (e >= 1 && e <= 4 && h >= 1 && h <= 4) keepjoin(path, e, px, py, h, qx, qy, at);
    lineto(path, qx, qy, noname);
}

void areaboundary(run::Run& run, const diagram::Diagram& d, int16_t area, BoundaryPath& path) {
    path.pieces.clear();
    if (area < 1 || area > diagram::maxareas) return;
    const diagram::ShadedArea& a = d.areas[area];
    int16_t m = a.nnames > diagram::maxareanames ? diagram::maxareanames : a.nnames;
    if (m < 1) return;
    if (m == 1) {
        oneline(path, d.lines[a.lineindex[1]]);
        return;
    }
    if (m >= 3) {
        walk(run, path, d, area, a, m);
        return;
    }
    const diagram::UnivariantLine& A = d.lines[a.lineindex[1]];
    const diagram::UnivariantLine& B = d.lines[a.lineindex[2]];
    if (A.beginindex < 0 && A.endindex < 0 && B.beginindex < 0 && B.endindex < 0)
        twolinesedgetoedge(path, A, B);
    else
        twolinesjoined(path, A, B);
}

void areaboundarytoedge(run::Run& run, const diagram::Diagram& d, int16_t area, BoundaryPath& path) {
    path.joins.clear();
    areaboundary(run, d, area, path);
    if (area < 1 || area > diagram::maxareas) return;
    int16_t edge = d.areas[area].edge;
    if (edge < diagram::areaedgebottom || edge > diagram::areaedgeright) return;
    for (const BorderJoin& join : path.joins)
        if (join.usual[edge] > alongedge) return;  // it runs along that edge already
    for (size_t k = 0; k < path.joins.size(); ++k)
        if (path.joins[k].other[edge] > alongedge) {
            turnjoin(path, k);
            return;
        }
}

void boundarypoints(const diagram::Diagram& d, const std::vector<BoundaryPiece>& pieces, std::vector<BoundaryPoint>& points) {
    points.clear();
    for (const BoundaryPiece& piece : pieces) {
        if (piece.line == 0) {
            points.push_back({piece.x, piece.y, piece.name});
            continue;
        }
        const diagram::UnivariantLine& line = d.lines[piece.line];
        int n = line.npts > diagram::linecapacity ? diagram::linecapacity : line.npts;
        if (piece.forward) {
            for (int k = 2; k <= n; ++k) points.push_back({line.x[k], line.y[k], k == 2 ? piece.name : noname});
        } else {
            for (int k = n - 1; k >= 1; --k) points.push_back({line.x[k], line.y[k], k == n - 1 ? piece.name : noname});
        }
    }
}

}  // namespace gridel::geometry
