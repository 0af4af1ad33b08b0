// labelsides.cpp - where the line and point numbers go: as of old on
// their points, or with halos beside a point and along a line, clear of
// one another, each nearer its own line or circle than anything else.
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>

#include "geometry/linepoints.h"
#include "geometry/planner.h"

namespace gridel::geometry {

namespace {

// The gap between a point's circle and its number, in font sizes.
constexpr long double pointgap = 0.25L;

// How a candidate place for a label is marked down: off the window, on
// another label, on a point's circle, across a line.
constexpr int offwindow = 1000;
constexpr int onlabel = 100;
constexpr int oncircle = 50;
constexpr int acrossline = 10;
constexpr int misread = 5;  // another item as near as its own, or nearer

// How much farther than its own line or circle anything else must be from
// a number, in points: less is a tie to the eye and in print.
constexpr long double hairline = 0.1L;

// A margin, relative to the coordinates, over the rounding of a number's
// reach: a segment the exact test counts always lies in the cells looked at.
constexpr long double reachslack = 1e-12L;

// The directions round a point's circle tried for its number when none of
// the eight sides will do (every 15 degrees).
constexpr int turnsteps = 24;

// The places along a line tried for its number between the first ones
// (which are a twentieth of its length apart) on either side of half-way.
constexpr int finesteps = 9;

// The centre of an a by b half-sized box in the direction `angle` from a
// circle's centre, as near as leaves `reach` between the centre and the
// box.
Spot roundcircle(long double angle, long double a, long double b, long double reach) {
    long double ux = std::cos(angle), uy = std::sin(angle);
    auto distance = [&](long double t) {
        return std::hypot(std::max(0.0L, std::fabs(t * ux) - a), std::max(0.0L, std::fabs(t * uy) - b));
    };
    long double low = 0, high = reach + a + b;
    for (int i = 0; i < 60; ++i) {
        long double mid = (low + high) / 2;
        (distance(mid) < reach ? low : high) = mid;
    }
    return {high * ux, high * uy};
}

// The label text of a point or line: its name without the first letter.
text::TextView labeltext(const text::Word& name) {
    return {name.c + (name.len > 1 ? 1 : 0), name.len > 1 ? name.len - 1 : 0};
}

// A label on its point as of old: centred, its baseline a third of its
// size below.  When field names are placed it is in their way.
PlacedLabel oldlabel(Planner& pl, int16_t item, text::TextView text, Spot c) {
    long double s = pl.plan.style.labelsize, baseline = c.y - s / 3;
    PlacedLabel l = {item, text, c.x, baseline, {c.x, baseline, c.x, baseline}};
    if (pl.d.fieldnames.empty()) return l;
    long double w = pl.width(text, TextFace::regular, s);
    l.box = {c.x - w / 2, baseline, c.x + w / 2, baseline + capheight * s};
    pl.taken.add(l.box);
    return l;
}

// Whether a segment's box (`span`) lies clear of a rectangle by more than
// the rounding of crosses() can bridge: crosses() then says no.  Its cuts
// of the segment to the rectangle's slabs are exact but for a few
// roundings of the segment's run along an axis, which the slack
// outweighs.  Every step is monotone in the span's sides, so a box that
// holds the span and lies apart tells that the span lies apart.
constexpr long double crossslack = 1e-9L;

bool farapart(const Rect& span, const Rect& r) {
    long double slack = crossslack * SegmentGrid::runof(span);
    return span.right < r.left - slack || span.left > r.right + slack || span.top < r.bottom - slack ||
           span.bottom > r.top + slack;
}

// How bad a label's box is where it stands; `own` is a line the label
// may sit on (0: none).  The segments are looked up by the small cells,
// and most of those near the box lie clear of it, or in solid ink wholly
// inside it, which their float boxes tell before the segment is read and
// put to the crossing test (not in the look at everything, which the
// quick look is checked against).  The count stops at `bound`: a place
// that bad is no better than one found before, and in solid ink the lines
// across it are many.  Below `bound` it is exact.  The look at everything
// is never given a bound.
int badness(const Planner& pl, const Rect& box, int16_t own, int bound = std::numeric_limits<int>::max()) {
    int bad = within(box, pl.window) ? 0 : offwindow;
    if (bad >= bound) return bad;
    bad += onlabel * pl.taken.overlapping(grown(box, numberspacing(pl)), pl.scan);
    if (bad >= bound) return bad;
    bad += oncircle * pl.circles.overlapping(box, pl.scan);
    if (bad >= bound) return bad;
    if (pl.scan) {
        pl.grid.near(box, [&](const Segment& s, int16_t line) {
            if (line != own && crosses(s, box)) bad += acrossline;
        });
        return bad;
    }
    // A segment with both ends in the box crosses it, as crosses() finds
    // (its cuts to the slabs keep all of it).
    auto holds = [&](const Spot& p) { return p.x >= box.left && p.x <= box.right && p.y >= box.bottom && p.y <= box.top; };
    // In floats: the box grown by the most slack of any segment, rounded
    // outward (a float box apart from it holds a segment farapart()
    // finds apart), and the box rounded inward (one inside it, a segment
    // with both ends in the box).
    long double slack = crossslack * pl.grid.mostrun;
    FloatBox outer = FloatBox::holding(grown(box, slack)), inner = FloatBox::heldby(box);
    auto one = [&](const SegmentGrid::Filed& f) {
        if (f.line == own || f.box.apart(outer)) return false;
        if (!f.box.inside(inner)) {
            const Segment& s = pl.grid.segment(f.number);
            if (!(holds(s.a) && holds(s.b)) && (farapart(SegmentGrid::boxof(s), box) || !crosses(s, box))) return false;
        }
        bad += acrossline;
        return bad >= bound;
    };
    // The segments alone in a small cell are told together when the box
    // holding them all lies apart from the number's, or inside it: in
    // solid ink, most cells under a number lie wholly inside its box.
    using Filed = SegmentGrid::Filed;
    auto block = [&](const FloatBox& whole, const Filed* first, const Filed* last) {
        if (whole.apart(outer)) return false;
        if (!whole.inside(inner)) return std::any_of(first, last, one);
        // All of them cross it but the number's own line's.
        const Filed* from = std::lower_bound(first, last, own, [](const Filed& f, int16_t line) { return f.line < line; });
        const Filed* to = std::find_if(from, last, [&](const Filed& f) { return f.line != own; });
        bad += acrossline * static_cast<int>((last - first) - (to - from));
        return bad >= bound;
    };
    pl.grid.nearblocks(box, block, one);
    return bad;
}

// A place's badness with the mark for a number that may be misread
// (`penalty`) when it is below `best` (no best yet when negative), else
// -1: the place is then no better than the best.
int better(const Planner& pl, const Rect& box, int16_t own, int penalty, int best) {
    if (pl.scan) {  // the look at everything counts all
        int bad = penalty + badness(pl, box, own);
        return best < 0 || bad < best ? bad : -1;
    }
    if (best < 0) return penalty + badness(pl, box, own);
    int bound = best - penalty;
    if (bound <= 0) return -1;
    int bad = badness(pl, box, own, bound);
    return bad < bound ? penalty + bad : -1;
}

// The squares of the distances on the page from a point, a segment and a
// box to a box or a point, and of a circle's (given by its box) to a box:
// 0 where they touch or overlap.  Squares, for the many compared spare
// the root.
long double gap2(long double dx, long double dy) { return dx * dx + dy * dy; }

long double gap2(Spot p, const Rect& r) {
    return gap2(std::max({0.0L, r.left - p.x, p.x - r.right}), std::max({0.0L, r.bottom - p.y, p.y - r.top}));
}

long double gap2(const Rect& a, const Rect& b) {
    return gap2(std::max({0.0L, b.left - a.right, a.left - b.right}),
                std::max({0.0L, b.bottom - a.top, a.bottom - b.top}));
}

long double gap2(Spot p, const Segment& s) {
    long double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y, len2 = dx * dx + dy * dy;
    long double t = len2 > 0 ? std::clamp(((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / len2, 0.0L, 1.0L) : 0;
    return gap2(p.x - s.a.x - t * dx, p.y - s.a.y - t * dy);
}

// Two convex shapes apart are nearest at a corner of one: the segment's
// ends to the box, the box's corners to the segment.
long double gap2(const Segment& s, const Rect& r) {
    if (crosses(s, r)) return 0;
    long double g = std::min(gap2(s.a, r), gap2(s.b, r));
    for (Spot corner : {Spot{r.left, r.bottom}, Spot{r.right, r.bottom}, Spot{r.left, r.top}, Spot{r.right, r.top}})
        g = std::min(g, gap2(corner, s));
    return g;
}

long double circlegap2(const Rect& circle, const Rect& r) {
    Spot c = {(circle.left + circle.right) / 2, (circle.bottom + circle.top) / 2};
    long double g = std::max(0.0L, std::sqrt(gap2(c, r)) - (circle.right - circle.left) / 2);
    return g * g;
}

// Whose a number reads as: the item nearest its box, its halo included
// (the number and the white round it are one patch on the page, and a
// line that runs into the patch runs into the number).  A line's number
// is measured from its own line (`ownline`), a point's from its own
// circle (`ownpoint`); the number is clear when every other line and
// circle lies farther from it than that, by a hairline, and every label
// placed so far as far and a digit's width away (numberspacing).  The stretches
// of line that run into a point's own circle do not count against its
// number: they meet at the circle and read as the point's, and a number
// beside a circle where four lines meet could never be farther from them
// all than from the circle.  The search looks only at what lies within
// those distances, among the filed items; what lies nearest is found
// when asked (`nearest`), else the first that lies too near.
struct Reading {
    bool clear;
    UnclearNumber::Near nearest;
    int16_t other;
};

Reading reading(const Planner& pl, const Rect& box, int16_t ownline, int16_t ownpoint, bool nearest = false) {
    long double own2 = INFINITY, spacing = numberspacing(pl);
    // A line's number is centred on its line: its own line runs into it.
    if (ownline > 0) own2 = 0;
    Spot centre{};
    long double radius2 = -1;  // none: no segment runs into its circle
    if (ownpoint > 0) {
        // The circles are filed in point order.
        auto at = std::lower_bound(pl.circlepoints.begin(), pl.circlepoints.end(), ownpoint);
        if (at != pl.circlepoints.end() && *at == ownpoint) {
            const Rect& c = pl.circles.all()[static_cast<size_t>(at - pl.circlepoints.begin())];
            own2 = circlegap2(c, box);
            centre = {(c.left + c.right) / 2, (c.bottom + c.top) / 2};
            radius2 = gap2((c.right - c.left) / 2, 0);
        }
    }
    if (!std::isfinite(own2)) own2 = 0;  // a point drawn without a circle: nothing may touch its number
    long double limit = std::sqrt(own2) + hairline, limit2 = limit * limit, spacing2 = spacing * spacing;
    Reading r = {true, UnclearNumber::Near::line, 0};
    long double nearest2 = INFINITY;
    auto done = [&] { return !r.clear && !nearest; };  // one is enough to tell
    auto stop = [&] { return done() && !pl.scan; };    // the look at everything looks at all
    auto nearer = [&](long double g2, UnclearNumber::Near kind, int16_t other) {
        if (g2 < limit2 && g2 < nearest2) {
            nearest2 = g2;
            r = {false, kind, other};
        }
    };
    Rect reach = grown(box, std::max(limit, spacing));
    auto segment = [&](const Segment& s, int16_t line) {
        if (line == ownline || !(gap2(SegmentGrid::boxof(s), box) < limit2) || gap2(centre, s) <= radius2) return false;
        nearer(gap2(s, box), UnclearNumber::Near::line, line);
        return stop();
    };
    // Only the segments whose boxes come within `limit` of the number's
    // count: they are looked up through the small cells, with a margin
    // over the rounding of that reach, and a segment whose float box lies
    // that far is not read (its own box lies farther).  Whether any is too
    // near is told in any order.  Which is nearest is the first found in
    // the order of the large cells over the whole reach, as the look at
    // every item finds it (of two lines as near, that one is named).
    Rect close = grown(box, limit);
    long double margin = reachslack * (1 + std::fabs(close.left) + std::fabs(close.right) + std::fabs(close.bottom) +
                                       std::fabs(close.top));
    Rect looked = grown(close, margin);
    FloatBox outer = FloatBox::holding(looked);
    auto far = [&](const SegmentGrid::Filed& f) {
        return f.line == ownline || f.box.apart(outer) || gap2(f.box.rect(), box) >= limit2;
    };
    if (pl.scan) {
        pl.grid.near(reach, segment);
    } else if (!nearest) {
        auto one = [&](const SegmentGrid::Filed& f) { return !far(f) && segment(pl.grid.segment(f.number), f.line); };
        // A cell's segments alone in it are passed over together when the
        // box holding them lies that far.
        pl.grid.nearblocks(
            looked,
            [&](const FloatBox& whole, const SegmentGrid::Filed* first, const SegmentGrid::Filed* last) {
                return !whole.apart(outer) && std::any_of(first, last, one);
            },
            one);
    } else {
        long double least2 = INFINITY;
        SegmentGrid::Turn first{};
        int16_t which = 0;
        pl.grid.nearfiled(looked, [&](const SegmentGrid::Filed& f) {
            if (far(f)) return;
            const Segment& s = pl.grid.segment(f.number);
            if (!(gap2(SegmentGrid::boxof(s), box) < limit2) || gap2(centre, s) <= radius2) return;
            long double g2 = gap2(s, box);
            if (!(g2 <= least2)) return;
            SegmentGrid::Turn t = pl.grid.turn(f.number, reach);
            if (g2 < least2 || t < first) {
                least2 = g2;
                first = t;
                which = f.line;
            }
        });
        if (std::isfinite(least2)) nearer(least2, UnclearNumber::Near::line, which);
    }
    if (stop()) return r;
    pl.circles.near(reach, pl.scan, [&](int i, const Rect& c) {
        int16_t point = pl.circlepoints[static_cast<size_t>(i)];
        if (point != ownpoint) nearer(circlegap2(c, box), UnclearNumber::Near::circle, point);
        return stop();
    });
    if (stop()) return r;
    pl.taken.near(reach, pl.scan, [&](int, const Rect& b) {
        long double g2 = gap2(b, box);
        nearer(g2 < spacing2 ? std::min(g2, own2) : g2, UnclearNumber::Near::label, 0);
        return stop();
    });
    return r;
}

// A polyline with the lengths of its pieces, measured once: a line's
// number is tried at many fractions of its length.
struct Polyline {
    std::vector<Spot> pts;
    std::vector<long double> lens;  // lens[i]: from pts[i] to pts[i + 1]
    long double total = 0;

    explicit Polyline(std::vector<Spot> points) : pts(std::move(points)) {
        for (size_t i = 1; i < pts.size(); ++i) {
            lens.push_back(std::hypot(pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y));
            total += lens.back();
        }
    }

    // The point at a fraction of the length.
    Spot along(long double fraction) const {
        long double goal = fraction * total;
        for (size_t i = 1; i < pts.size(); ++i) {
            long double len = lens[i - 1];
            if (len > 0 && goal <= len) {
                long double t = goal / len;
                return {pts[i - 1].x + t * (pts[i].x - pts[i - 1].x), pts[i - 1].y + t * (pts[i].y - pts[i - 1].y)};
            }
            goal -= len;
        }
        return pts.back();
    }
};

// A label of width w centred on c, its cap height centred on c too.
PlacedLabel centredlabel(int16_t item, text::TextView text, Spot c, long double w, long double h, long double margin) {
    Rect box = {c.x - w / 2, c.y - h / 2, c.x + w / 2, c.y + h / 2};
    return {item, text, c.x, box.bottom, grown(box, margin)};
}

}  // namespace

// The point labels: on the point as of old, or with halos beside it, on
// the first side (upper right, upper left, lower right, lower left, right,
// left, above, below) where it stays in the window clear of lines, circles
// and labels, else on the side where it is least in the way.
void placepointlabels(Planner& pl) {
    const diagram::Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    const FigureStyle& st = plan.style;
    if (!diagram::isyes(d.options.numbering)) return;
    long double s = st.labelsize, r = st.circle;
    long double h = capheight * s, margin = st.halo / 2, gap = pointgap * s;
    // The places round a circle, by the number's width and the step: most
    // numbers are as wide as many others.
    std::map<std::pair<long double, int>, Spot> turns;
    for (int k = 1; k <= d.npoints && k <= diagram::maxpoints; ++k) {
        run::stopifinterrupted();
        const diagram::InvariantPoint& p = d.points[k];
        if (!pointdrawn(d, p)) continue;
        Spot c;
        topage(plan.map, p.x, p.y, c.x, c.y);
        text::TextView text = labeltext(p.name);
        if (st.halo == 0) {
            plan.pointlabels.push_back(oldlabel(pl, static_cast<int16_t>(k), text, c));
            continue;
        }
        long double w = pl.width(text, TextFace::bold, s);
        static const int sides[8][2] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        PlacedLabel best{};
        int bestbad = -1;
        Reading bestread{};
        // The number's ink from (left, bottom); true when it stands there
        // in nobody's way and is read as its point's.
        // Past the first places (`clearonly`) only one where it reads as
        // its point's can do better than the best of those.
        auto tryat = [&](long double left, long double bottom, bool clearonly) {
            Rect box = grown({left, bottom, left + w, bottom + h}, margin);
            Reading read = reading(pl, box, 0, static_cast<int16_t>(k));
            if (clearonly && !read.clear) return false;
            int bad = better(pl, box, 0, read.clear ? 0 : misread, bestbad);
            if (bad < 0) return false;
            best = {static_cast<int16_t>(k), text, left + w / 2, bottom, box};
            bestbad = bad;
            bestread = read;
            return bad == 0;
        };
        bool placed = false;
        for (const auto& side : sides) {
            long double off = side[0] != 0 && side[1] != 0 ? r * std::sqrt(0.5L) + gap : r + gap;
            long double left = side[0] > 0 ? c.x + off : side[0] < 0 ? c.x - off - w : c.x - w / 2;
            long double bottom = side[1] > 0 ? c.y + off : side[1] < 0 ? c.y - off - h : c.y - h / 2;
            if ((placed = tryat(left, bottom, false))) break;
        }
        // Between the lines that leave a point the room where it reads as
        // the point's may lie at none of the eight sides: then round the
        // circle a few degrees at a time, the ink as far from the centre
        // as at a side.
        for (int step = 0; !placed && !bestread.clear && step < turnsteps; ++step) {
            auto turned = turns.find({w, step});
            if (turned == turns.end()) {
                long double angle = 2 * std::numbers::pi_v<long double> * step / turnsteps;
                turned = turns.emplace(std::make_pair(w, step), roundcircle(angle, w / 2, h / 2, r + gap)).first;
            }
            Spot at = turned->second;
            placed = tryat(c.x + at.x - w / 2, c.y + at.y - h / 2, true);
        }
        if (!bestread.clear) {
            bestread = reading(pl, best.box, 0, static_cast<int16_t>(k), true);
            plan.unclear.push_back({true, static_cast<int16_t>(k), bestread.nearest, bestread.other});
        }
        plan.pointlabels.push_back(best);
        pl.taken.add(best.box);
    }
}

// The line labels: at the half-way point when that lies inside the window;
// with halos moved along the line (a twentieth of its length at a time, to
// a tenth of it from either end) when they would be in the way there.
void placelinelabels(Planner& pl, const std::vector<LabelPlace>& mids) {
    const diagram::Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    const FigureStyle& st = plan.style;
    if (!diagram::isyes(d.options.numbering)) return;
    long double s = st.labelsize, h = capheight * s, margin = st.halo / 2;
    int n = d.nlines < diagram::maxlines ? d.nlines : diagram::maxlines;
    for (int k = 1; k <= n && static_cast<size_t>(k) < mids.size(); ++k) {
        run::stopifinterrupted();
        const diagram::UnivariantLine& line = d.lines[k];
        if (linelength(line) <= 0) continue;
        const LabelPlace& mid = mids[static_cast<size_t>(k)];
        if (!insidewindow(d.window, mid.x, mid.y)) continue;
        Spot c;
        topage(plan.map, mid.x, mid.y, c.x, c.y);
        text::TextView text = labeltext(line.name);
        if (st.halo == 0) {
            plan.linelabels.push_back(oldlabel(pl, static_cast<int16_t>(k), text, c));
            continue;
        }
        long double w = pl.width(text, TextFace::regular, s);
        Polyline path(pagepoints(plan.map, line));
        int16_t item = static_cast<int16_t>(k);
        auto weigh = [&](const PlacedLabel& l, Reading& read) {
            read = reading(pl, l.box, item, 0);
            return badness(pl, l.box, item) + (read.clear ? 0 : misread);
        };
        Reading bestread{};
        PlacedLabel best = centredlabel(item, text, c, w, h, margin);
        int bestbad = weigh(best, bestread);
        auto tryalong = [&](long double fraction, bool clearonly) {
            Spot at = path.along(fraction);
            if (!(at.x > plan.map.left && at.x < plan.map.right && at.y > plan.map.bottom && at.y < plan.map.top))
                return;
            PlacedLabel here = centredlabel(item, text, at, w, h, margin);
            Reading read = reading(pl, here.box, item, 0);
            if (clearonly && !read.clear) return;
            int bad = better(pl, here.box, item, read.clear ? 0 : misread, bestbad);
            if (bad >= 0) {
                best = here;
                bestbad = bad;
                bestread = read;
            }
        };
        for (int step = 1; step <= 8 && bestbad > 0; ++step)
            for (int sign : {-1, 1}) tryalong(0.5L + sign * step * 0.05L, false);
        // Where every one of those may be misread (on a crossing, in a
        // narrow wedge), the places half-way between them.
        for (int step = 1; step <= finesteps && !bestread.clear; ++step)
            for (int sign : {-1, 1}) tryalong(0.5L + sign * (step - 0.5L) * 0.05L, true);
        if (!bestread.clear) {
            bestread = reading(pl, best.box, item, 0, true);
            plan.unclear.push_back({false, item, bestread.nearest, bestread.other});
        }
        plan.linelabels.push_back(best);
        pl.taken.add(best.box);
    }
}

}  // namespace gridel::geometry
