// labelsides.cpp - where the line and point numbers go: as of old on
// their points, or with halos beside a point and along a line, clear of
// one another.
#include <algorithm>
#include <cmath>

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

// How bad a label's box is where it stands; `own` is a line the label
// may sit on (0: none).
int badness(const Planner& pl, const Rect& box, int16_t own) {
    int bad = within(box, pl.window) ? 0 : offwindow;
    bad += onlabel * pl.taken.overlapping(grown(box, numberspacing(pl)), pl.scan);
    bad += oncircle * pl.circles.overlapping(box, pl.scan);
    pl.grid.near(box, [&](const Segment& s, int16_t line) {
        if (line != own && crosses(s, box)) bad += acrossline;
    });
    return bad;
}

// The point at a fraction of a polyline's length.
Spot along(const std::vector<Spot>& pts, long double fraction) {
    long double total = 0;
    for (size_t i = 1; i < pts.size(); ++i) total += std::hypot(pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y);
    long double goal = fraction * total;
    for (size_t i = 1; i < pts.size(); ++i) {
        long double len = std::hypot(pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y);
        if (len > 0 && goal <= len) {
            long double t = goal / len;
            return {pts[i - 1].x + t * (pts[i].x - pts[i - 1].x), pts[i - 1].y + t * (pts[i].y - pts[i - 1].y)};
        }
        goal -= len;
    }
    return pts.back();
}

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
        for (const auto& side : sides) {
            long double off = side[0] != 0 && side[1] != 0 ? r * std::sqrt(0.5L) + gap : r + gap;
            long double left = side[0] > 0 ? c.x + off : side[0] < 0 ? c.x - off - w : c.x - w / 2;
            long double bottom = side[1] > 0 ? c.y + off : side[1] < 0 ? c.y - off - h : c.y - h / 2;
            Rect box = grown({left, bottom, left + w, bottom + h}, margin);
            int bad = badness(pl, box, 0);
            if (bestbad < 0 || bad < bestbad) {
                best = {static_cast<int16_t>(k), text, left + w / 2, bottom, box};
                bestbad = bad;
            }
            if (bad == 0) break;
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
        std::vector<Spot> pts = pagepoints(plan.map, line);
        PlacedLabel best = centredlabel(static_cast<int16_t>(k), text, c, w, h, margin);
        int bestbad = badness(pl, best.box, static_cast<int16_t>(k));
        for (int step = 1; step <= 8 && bestbad > 0; ++step) {
            for (int sign : {-1, 1}) {
                Spot at = along(pts, 0.5L + sign * step * 0.05L);
                if (!(at.x > plan.map.left && at.x < plan.map.right && at.y > plan.map.bottom && at.y < plan.map.top))
                    continue;
                PlacedLabel here = centredlabel(static_cast<int16_t>(k), text, at, w, h, margin);
                int bad = badness(pl, here.box, static_cast<int16_t>(k));
                if (bad < bestbad) {
                    best = here;
                    bestbad = bad;
                }
            }
        }
        plan.linelabels.push_back(best);
        pl.taken.add(best.box);
    }
}

}  // namespace gridel::geometry
