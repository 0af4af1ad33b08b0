// polylabel.cpp - visualcentre, boxroom, roomiestspot and the tests they
// are made of.
#include "geometry/polylabel.h"

#include <algorithm>
#include <cmath>
#include <queue>

#include "geometry/neargrid.h"
#include "run/failure.h"

namespace {

// A search stops splitting cells after this many, whatever the precision:
// it then answers with the best point found so far.
constexpr int maxcells = 20000;

// How many cells a search splits between two looks for a signal that ends
// the run (the count goes up by four at a time).
constexpr int signalcheck = 256;

// A long or narrow region is covered by at most this many starting cells
// along its long side.
constexpr long double maxstartcells = 64;

// What rounding may take off a distance, as a fraction of the sizes at
// hand: far more than it does.
constexpr long double roundingsliver = 1e-9L;

// The side of the cells a search starts from over a box (not a number
// when the box has no inside).
long double startside(long double width, long double height) {
    return std::max(std::min(width, height), std::max(width, height) / maxstartcells);
}

long double distance(Spot p, Spot q) { return std::hypot(p.x - q.x, p.y - q.y); }

// Euclidean distance from p to the segment a-b.
long double segmentdistance(Spot p, Spot a, Spot b) {
    long double dx = b.x - a.x, dy = b.y - a.y;
    long double len2 = dx * dx + dy * dy;
    long double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0L, 1.0L);
    return distance(p, {a.x + t * dx, a.y + t * dy});
}

// Distance along the axes (the larger of the two offsets) from p to the
// segment a-b: the least over the segment of a convex piecewise-linear
// function, found at one of its corners.
long double axisdistance(Spot p, Spot a, Spot b) {
    long double ax = a.x - p.x, ay = a.y - p.y, dx = b.x - a.x, dy = b.y - a.y;
    auto at = [&](long double t) { return std::max(std::fabs(ax + t * dx), std::fabs(ay + t * dy)); };
    long double best = std::min(at(0), at(1));
    auto consider = [&](long double num, long double den) {
        if (den == 0) return;
        long double t = num / den;
        if (t > 0 && t < 1) best = std::min(best, at(t));
    };
    consider(-ax, dx);            // x offset zero
    consider(-ay, dy);            // y offset zero
    consider(ay - ax, dx - dy);   // offsets equal
    consider(-ay - ax, dx + dy);  // offsets opposite
    return best;
}

// Signed distance to a rectangle's edges: positive inside, negative
// outside; along the axes, or Euclidean outside when `euclid`.
long double rectdistance(Spot p, const Rect& r, bool euclid) {
    long double inside = std::min({p.x - r.left, r.right - p.x, p.y - r.bottom, r.top - p.y});
    if (inside >= 0) return inside;
    long double ox = std::max({r.left - p.x, p.x - r.right, 0.0L});
    long double oy = std::max({r.bottom - p.y, p.y - r.top, 0.0L});
    return euclid ? -std::hypot(ox, oy) : -std::max(ox, oy);
}

// Signed distance to the polygon's edges: positive inside.
long double polygondistance(const std::vector<Spot>& polygon, Spot p, bool euclid) {
    long double least = INFINITY;
    size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i) {
        const Spot& a = polygon[i];
        const Spot& b = polygon[(i + 1) % n];
        least = std::min(least, euclid ? segmentdistance(p, a, b) : axisdistance(p, a, b));
    }
    return insidepolygon(polygon, p) ? least : -least;
}

// The region's room at p: Euclidean from the polygon and the window only,
// or along the axes from everything, obstacles included.
long double room(const Region& r, Spot p, bool euclid) {
    long double d = std::min(polygondistance(r.polygon, p, euclid), rectdistance(p, r.window, euclid));
    if (euclid) return d;
    for (const Segment& s : r.segments) d = std::min(d, axisdistance(p, s.a, s.b));
    for (const Rect& b : r.boxes) d = std::min(d, -rectdistance(p, b, false));
    return d;
}

Region scaled(const Region& r, long double w, long double h);
Rect searchbox(const std::vector<Spot>& polygon, const Rect& window);

// A region seen in coordinates where a w by h box is the unit square, for
// asking its room at many points (`many`: the polygon's edges are filed by
// cell and by height too) or a few.  It answers exactly as room() on the
// scaled region, looking only at the obstacles near the point (and at the
// edges near it, when filed).
class RoomIndex {
public:
    RoomIndex(const FiledRegion& f, long double w, long double h, bool many) : filed(f), w(w), h(h) {
        const Region& r = f.region;
        if (!f.obstacles) {
            plain = scaled(r, w, h);
            return;
        }
        for (const Spot& p : r.polygon) polygon.push_back({p.x / w, p.y / h});
        window = {r.window.left / w, r.window.bottom / h, r.window.right / w, r.window.top / h};
        if (!many) return;
        std::vector<Rect> boxes;
        size_t n = polygon.size();
        for (size_t i = 0; i < n; ++i) boxes.push_back(bounds(polygon[i], polygon[(i + 1) % n]));
        filededges = edges.build(boxes);
        if (filededges) bands.build(polygon);
    }

    long double room(Spot p, bool euclid) const {
        if (!filed.obstacles) return ::room(plain, p, euclid);
        size_t n = polygon.size();
        long double least = INFINITY;
        auto edge = [&](size_t i) {
            const Spot& a = polygon[i];
            const Spot& b = polygon[(i + 1) % n];
            least = std::min(least, euclid ? segmentdistance(p, a, b) : axisdistance(p, a, b));
        };
        bool inside;
        if (filededges) {
            edges.nearest(p, least, [&](int32_t i) { edge(static_cast<size_t>(i)); });
            inside = bands.inside(polygon, p);
        } else {
            for (size_t i = 0; i < n; ++i) edge(i);
            inside = insidepolygon(polygon, p);
        }
        long double d = std::min(inside ? least : -least, rectdistance(p, window, euclid));
        if (euclid) return d;
        const Region& r = filed.region;
        size_t nsegments = r.segments.size();
        // The obstacles are filed where they lie in the region; p is
        // placed among them to within rounding, hence one ring of slack.
        filed.obstacles->nearest(
            {p.x * w, p.y * h}, d,
            [&](int32_t i) {
                size_t k = static_cast<size_t>(i);
                if (k < nsegments) {
                    const Segment& g = r.segments[k];
                    Spot a = {g.a.x / w, g.a.y / h}, b = {g.b.x / w, g.b.y / h};
                    // The gap to the segment's box, less a sliver for
                    // rounding, is no more than its distance: a segment
                    // whose box is as far as the room is passed over.
                    long double gap = std::max({std::min(a.x, b.x) - p.x, p.x - std::max(a.x, b.x),
                                                std::min(a.y, b.y) - p.y, p.y - std::max(a.y, b.y)});
                    long double sliver = roundingsliver * (1 + std::fabs(p.x) + std::fabs(p.y) + std::fabs(gap));
                    if (gap - sliver >= d) return;
                    d = std::min(d, axisdistance(p, a, b));
                } else {
                    const Rect& q = r.boxes[k - nsegments];
                    d = std::min(d, -rectdistance(p, {q.left / w, q.bottom / h, q.right / w, q.top / h}, false));
                }
            },
            1 / w, 1 / h, 1);
        return d;
    }

    // The part of the window the polygon covers at most, scaled.
    Rect area() const {
        return filed.obstacles ? searchbox(polygon, window) : searchbox(plain.polygon, plain.window);
    }

private:
    static Rect bounds(Spot a, Spot b) {
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    }

    const FiledRegion& filed;
    long double w;
    long double h;
    Region plain;                // the scaled region, when nothing is filed
    std::vector<Spot> polygon;   // scaled
    Rect window{};               // scaled
    bool filededges = false;
    NearGrid edges;
    EdgeBands bands;
};

struct Cell {
    Spot c;
    long double half;  // half the cell's side
    long double d;     // the room at its centre
    long double most;  // the most room any point of the cell can have
};

// The polylabel search over the rectangle `box` for the point of most room
// by `measure`, whose value changes no faster than the distance (reach
// times the half side bounds a cell); stops when no cell can beat the best
// by more than `precision`.
template <class Measure>
Spot search(const Rect& box, const Measure& measure, long double reach, long double precision, long double& best) {
    Spot centre = {(box.left + box.right) / 2, (box.bottom + box.top) / 2};
    long double width = box.right - box.left, height = box.top - box.bottom;
    Cell top = {centre, 0, measure(centre), 0};
    best = top.d;
    Spot found = centre;
    if (!(std::min(width, height) > 0) || !std::isfinite(width) || !std::isfinite(height)) return found;
    long double side = startside(width, height);
    auto cell = [&](Spot c, long double half) {
        long double d = measure(c);
        return Cell{c, half, d, d + reach * half};
    };
    auto lower = [](const Cell& a, const Cell& b) { return a.most < b.most; };
    std::priority_queue<Cell, std::vector<Cell>, decltype(lower)> queue(lower);
    for (long double x = box.left; x < box.right; x += side)
        for (long double y = box.bottom; y < box.top; y += side) queue.push(cell({x + side / 2, y + side / 2}, side / 2));
    int cells = 0;
    while (!queue.empty() && cells < maxcells) {
        if (cells % signalcheck == 0) stopifinterrupted();
        Cell c = queue.top();
        queue.pop();
        if (c.d > best) {
            best = c.d;
            found = c.c;
        }
        if (c.most - best <= precision) break;  // the queue holds none better
        long double h = c.half / 2;
        for (int i = 0; i < 4; ++i) {
            queue.push(cell({c.c.x + (i % 2 == 0 ? -h : h), c.c.y + (i < 2 ? -h : h)}, h));
            ++cells;
        }
    }
    return found;
}

// The part of the window the polygon covers at most.
Rect searchbox(const std::vector<Spot>& polygon, const Rect& window) {
    Rect b = {INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (const Spot& p : polygon) {
        b.left = std::min(b.left, p.x);
        b.bottom = std::min(b.bottom, p.y);
        b.right = std::max(b.right, p.x);
        b.top = std::max(b.top, p.y);
    }
    b.left = std::max(b.left, window.left);
    b.bottom = std::max(b.bottom, window.bottom);
    b.right = std::min(b.right, window.right);
    b.top = std::min(b.top, window.top);
    return b;
}

// The region in coordinates where a w by h box is the unit square.
Region scaled(const Region& r, long double w, long double h) {
    auto s = [&](Spot p) { return Spot{p.x / w, p.y / h}; };
    auto sr = [&](const Rect& q) { return Rect{q.left / w, q.bottom / h, q.right / w, q.top / h}; };
    Region out;
    out.scan = r.scan;
    for (const Spot& p : r.polygon) out.polygon.push_back(s(p));
    out.window = sr(r.window);
    for (const Segment& g : r.segments) out.segments.push_back({s(g.a), s(g.b)});
    for (const Rect& b : r.boxes) out.boxes.push_back(sr(b));
    return out;
}

}  // namespace

bool insidepolygon(const std::vector<Spot>& polygon, Spot p) {
    int winding = 0;
    size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i) {
        const Spot& a = polygon[i];
        const Spot& b = polygon[(i + 1) % n];
        long double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0) ++winding;
        } else if (b.y <= p.y && side < 0) {
            --winding;
        }
    }
    return winding != 0;
}

bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

bool crosses(const Segment& s, const Rect& r) {
    // A segment whose box keeps clear of the rectangle by more than
    // rounding could ever bridge does not cross it (the cut below says the
    // same, at more cost).
    long double sliver = roundingsliver * (1 + std::fabs(r.left) + std::fabs(r.right) + std::fabs(r.bottom) +
                                           std::fabs(r.top) + std::fabs(s.a.x) + std::fabs(s.b.x) +
                                           std::fabs(s.a.y) + std::fabs(s.b.y));
    if (std::max(s.a.x, s.b.x) < r.left - sliver || std::min(s.a.x, s.b.x) > r.right + sliver ||
        std::max(s.a.y, s.b.y) < r.bottom - sliver || std::min(s.a.y, s.b.y) > r.top + sliver)
        return false;
    // Cut the segment to the rectangle's slab in x, then in y.
    long double t0 = 0, t1 = 1;
    long double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    auto slab = [&](long double p, long double d, long double low, long double high) {
        if (d == 0) return p >= low && p <= high;
        long double ta = (low - p) / d, tb = (high - p) / d;
        if (ta > tb) std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        return t0 <= t1;
    };
    return slab(s.a.x, dx, r.left, r.right) && slab(s.a.y, dy, r.bottom, r.top);
}

FiledRegion::FiledRegion(const Region& r) : region(r) {
    if (r.scan) return;
    std::vector<Rect> boxes;
    for (const Segment& s : r.segments)
        boxes.push_back({std::min(s.a.x, s.b.x), std::min(s.a.y, s.b.y), std::max(s.a.x, s.b.x), std::max(s.a.y, s.b.y)});
    boxes.insert(boxes.end(), r.boxes.begin(), r.boxes.end());
    obstacles = std::make_unique<NearGrid>();
    if (!obstacles->build(boxes)) obstacles.reset();
}

FiledRegion::~FiledRegion() = default;

Spot visualcentre(const Region& region, long double precision, long double& best) {
    return visualcentre(FiledRegion(region), precision, best);
}

Spot visualcentre(const FiledRegion& filed, long double precision, long double& best) {
    best = 0;
    if (filed.region.polygon.size() < 3) return {0, 0};
    RoomIndex index(filed, 1, 1, true);
    auto measure = [&](Spot p) { return index.room(p, true); };
    return search(searchbox(filed.region.polygon, filed.region.window), measure, std::sqrt(2.0L), precision, best);
}

long double boxroom(const Region& region, Spot c, long double w, long double h) {
    return boxroom(FiledRegion(region), c, w, h);
}

long double boxroom(const FiledRegion& filed, Spot c, long double w, long double h) {
    if (!(w > 0 && h > 0) || filed.region.polygon.size() < 3) return 0;
    RoomIndex index(filed, w, h, false);
    return 2 * index.room({c.x / w, c.y / h}, false);
}

Spot roomiestspot(const Region& region, long double w, long double h, long double precision, long double& best) {
    return roomiestspot(FiledRegion(region), w, h, precision, best);
}

Spot roomiestspot(const FiledRegion& filed, long double w, long double h, long double precision,
                  long double& best) {
    best = 0;
    if (!(w > 0 && h > 0) || filed.region.polygon.size() < 3) return {0, 0};
    RoomIndex index(filed, w, h, true);
    Rect box = index.area();
    auto measure = [&](Spot p) { return 2 * index.room(p, false); };
    // The room is twice the distance, so it grows at most twice as fast.
    Spot found = search(box, measure, 2, precision, best);
    return {found.x * w, found.y * h};
}
