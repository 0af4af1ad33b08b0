// polylabel.cpp - visualcentre, boxroom, roomiestspot and the tests they
// are made of.
#include "geometry/polylabel.h"

#include <algorithm>
#include <cmath>
#include <queue>

#include "geometry/neargrid.h"
#include "run/failure.h"

namespace gridel::geometry {

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

// An obstacle is kept for a search when it may lie this much farther (as a
// fraction of the sizes at hand) than the room can be: rounding never
// leaves out one that counts.
constexpr long double keepmargin = 1e-6L;

// More than the rounding of any room, distance or page coordinate can
// amount to (long doubles carry 19 digits; the page's sizes are below a
// million points): a test that must never decide otherwise than the exact
// one decides with this to spare.
constexpr long double roundingslack = 1e-6L;

// The obstacles a RoomSearch files are looked up by the rectangles round
// the places asked about, larger than most of them: so many to a cell.
constexpr long double obstaclespercell = 8;

// A RoomSearch files the obstacles within so many times its polygon's
// width or height (the larger) of the polygon.
constexpr long double zonereach = 3;

// The side of the cells a search starts from over a box (not a number
// when the box has no inside).
long double startside(long double width, long double height) {
    return std::max(std::min(width, height), std::max(width, height) / maxstartcells);
}

// The offset from the point of the segment a-b nearest p to p.
Spot segmentoffset(Spot p, Spot a, Spot b) {
    long double dx = b.x - a.x, dy = b.y - a.y;
    long double len2 = dx * dx + dy * dy;
    long double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0L, 1.0L);
    return {p.x - (a.x + t * dx), p.y - (a.y + t * dy)};
}

// Euclidean distance from p to the segment a-b.
long double segmentdistance(Spot p, Spot a, Spot b) {
    Spot o = segmentoffset(p, a, b);
    return std::hypot(o.x, o.y);
}

// The least Euclidean distance from a point to segments offered one by
// one, as the least of their segmentdistances, with the root taken only
// of the offsets that may be least: an offset whose square is larger than
// the least square by more than a millionth of a millionth lies farther
// by far more than the rounding of the square or of the root.
class LeastDistance {
public:
    void clear() {
        least2 = INFINITY;
        bound = INFINITY;
        near.clear();
    }
    void offer(Spot o) {
        long double s2 = o.x * o.x + o.y * o.y;
        if (!(s2 <= least2 * close)) return;
        near.push_back(o);
        if (s2 < least2) {
            least2 = s2;
            bound = std::sqrt(s2) * close;
        }
    }
    // At least the least distance so far (the bound a search of the
    // nearest may stop at).
    const long double& atleast() const { return bound; }
    long double least() const {
        long double d = INFINITY;
        for (const Spot& o : near)
            if (o.x * o.x + o.y * o.y <= least2 * close) d = std::min(d, std::hypot(o.x, o.y));
        return d;
    }

private:
    static constexpr long double close = 1 + 1e-12L;
    long double least2 = INFINITY;
    long double bound = INFINITY;
    std::vector<Spot> near;
};

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

// The region's items filed for the searches: the polygon's edges by cell
// and by height, the obstacles (the segments, then the boxes) by cell.
// Unusable (every search looks at every item) when the region asks for
// that or an item is not finite.
class RoomIndex {
public:
    // With `obstacles`, the room is asked for only at points of `reach`:
    // the obstacles that cannot come nearer to any of them than the
    // polygon's edges are left out.
    RoomIndex(const Region& r, bool obstacles, const Rect& reach = {}) : region(r) {
        usable = !r.scan;
        if (!usable) return;
        std::vector<Rect> boxes;
        size_t n = r.polygon.size();
        for (size_t i = 0; i < n; ++i) boxes.push_back(bounds(r.polygon[i], r.polygon[(i + 1) % n]));
        usable = edges.build(boxes);
        bands.build(r.polygon);
        if (!obstacles || !usable) return;
        // Inside the polygon, the room along the axes is at most half its
        // extent's narrower side (a ray along an axis leaves the polygon
        // before it leaves the extent); outside it is below zero.  An
        // obstacle farther than that from every point of `reach` never
        // sets the room there.
        Rect extent = boxes.front();
        for (const Rect& b : boxes) extent = unite(extent, b);
        long double most = std::max(0.0L, std::min(extent.right - extent.left, extent.top - extent.bottom) / 2);
        long double size = std::max({std::fabs(reach.left), std::fabs(reach.right), std::fabs(reach.bottom),
                                     std::fabs(reach.top), std::fabs(extent.left), std::fabs(extent.right),
                                     std::fabs(extent.bottom), std::fabs(extent.top)});
        long double limit = most + keepmargin * (1 + most + size);
        bool filter = std::isfinite(limit) && std::isfinite(size);
        auto keep = [&](const Rect& b) {
            long double gap = std::max({0.0L, b.left - reach.right, reach.left - b.right, b.bottom - reach.top,
                                        reach.bottom - b.top});
            return !filter || !(gap > limit);
        };
        boxes.clear();
        for (size_t k = 0; k < r.segments.size(); ++k) {
            Rect b = bounds(r.segments[k].a, r.segments[k].b);
            if (keep(b)) {
                boxes.push_back(b);
                kept.push_back(static_cast<int32_t>(k));
            }
        }
        nsegments = kept.size();
        for (size_t k = 0; k < r.boxes.size(); ++k) {
            if (keep(r.boxes[k])) {
                boxes.push_back(r.boxes[k]);
                kept.push_back(static_cast<int32_t>(k));
            }
        }
        usable = others.build(boxes);
    }

    // The same as room(region, p, euclid), looking only at what is near p.
    long double room(Spot p, bool euclid) const {
        if (!usable) return geometry::room(region, p, euclid);
        const std::vector<Spot>& polygon = region.polygon;
        size_t n = polygon.size();
        long double least = INFINITY;
        if (euclid) {
            nearest.clear();
            edges.nearest(p, nearest.atleast(), [&](int32_t i) {
                nearest.offer(segmentoffset(p, polygon[static_cast<size_t>(i)], polygon[(static_cast<size_t>(i) + 1) % n]));
            });
            least = nearest.least();
        } else {
            edges.nearest(p, least, [&](int32_t i) {
                least = std::min(least, axisdistance(p, polygon[static_cast<size_t>(i)],
                                                     polygon[(static_cast<size_t>(i) + 1) % n]));
            });
        }
        long double d = std::min(bands.inside(polygon, p) ? least : -least, rectdistance(p, region.window, euclid));
        if (euclid) return d;
        others.nearest(p, d, [&](int32_t i) {
            size_t k = static_cast<size_t>(kept[static_cast<size_t>(i)]);
            if (static_cast<size_t>(i) < nsegments) {
                d = std::min(d, axisdistance(p, region.segments[k].a, region.segments[k].b));
            } else {
                d = std::min(d, -rectdistance(p, region.boxes[k], false));
            }
        });
        return d;
    }

private:
    static Rect bounds(Spot a, Spot b) {
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    }
    static Rect unite(const Rect& a, const Rect& b) {
        return {std::min(a.left, b.left), std::min(a.bottom, b.bottom), std::max(a.right, b.right),
                std::max(a.top, b.top)};
    }

    const Region& region;
    bool usable;
    NearGrid edges;
    EdgeBands bands;
    NearGrid others;
    mutable LeastDistance nearest;  // the Euclidean room's edges
    std::vector<int32_t> kept;  // the obstacles filed in `others`: segments, then boxes
    size_t nsegments = 0;       // how many of them are segments
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
Spot search(const Rect& box, const Measure& measure, long double reach, long double precision, long double& best,
            long double enough = -INFINITY, bool* nowhere = nullptr) {
    long double hopeless = enough - roundingslack;
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
        if (cells % signalcheck == 0) run::stopifinterrupted();
        Cell c = queue.top();
        queue.pop();
        if (c.d > best) {
            best = c.d;
            found = c.c;
        }
        if (c.most - best <= precision) break;  // the queue holds none better
        if (best < enough && c.most < hopeless) {  // no cell left can reach `enough`
            // Nor any point looked at: nowhere in the box is there room
            // within the slack of `enough`.
            if (nowhere != nullptr) *nowhere = best < hopeless;
            break;
        }
        long double h = c.half / 2;
        for (int i = 0; i < 4; ++i) {
            queue.push(cell({c.c.x + (i % 2 == 0 ? -h : h), c.c.y + (i < 2 ? -h : h)}, h));
            ++cells;
        }
    }
    return found;
}

// The part of the window the polygon covers at most.
Rect searchbox(const Region& r) {
    Rect b = {INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (const Spot& p : r.polygon) {
        b.left = std::min(b.left, p.x);
        b.bottom = std::min(b.bottom, p.y);
        b.right = std::max(b.right, p.x);
        b.top = std::max(b.top, p.y);
    }
    b.left = std::max(b.left, r.window.left);
    b.bottom = std::max(b.bottom, r.window.bottom);
    b.right = std::min(b.right, r.window.right);
    b.top = std::min(b.top, r.window.top);
    return b;
}

// The region's polygon and window (not its obstacles) in coordinates where
// a w by h box is the unit square.
Region scaledframe(const Region& r, long double w, long double h) {
    Region out;
    out.scan = r.scan;
    for (const Spot& p : r.polygon) out.polygon.push_back({p.x / w, p.y / h});
    out.window = {r.window.left / w, r.window.bottom / h, r.window.right / w, r.window.top / h};
    return out;
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

Spot visualcentre(const Region& region, long double precision, long double& best) {
    best = 0;
    if (region.polygon.size() < 3) return {0, 0};
    RoomIndex index(region, false);
    auto measure = [&](Spot p) { return index.room(p, true); };
    return search(searchbox(region), measure, std::sqrt(2.0L), precision, best);
}

long double boxroom(const Region& region, Spot c, long double w, long double h) {
    if (!(w > 0 && h > 0) || region.polygon.size() < 3) return 0;
    Region s = scaled(region, w, h);
    return 2 * room(s, {c.x / w, c.y / h}, false);
}

Spot roomiestspot(const Region& region, long double w, long double h, long double precision, long double& best) {
    best = 0;
    if (!(w > 0 && h > 0) || region.polygon.size() < 3) return {0, 0};
    Region s = scaled(region, w, h);
    Rect box = searchbox(s);
    // Every point the search looks at lies in its starting cells (only the
    // box's centre when it has no inside).
    long double width = box.right - box.left, height = box.top - box.bottom;
    long double side = startside(width, height);
    Rect reach = {box.left, box.bottom, box.right + side, box.top + side};
    if (!(std::min(width, height) > 0)) reach = {-INFINITY, -INFINITY, INFINITY, INFINITY};
    RoomIndex index(s, true, reach);
    auto measure = [&](Spot p) { return 2 * index.room(p, false); };
    // The room is twice the distance, so it grows at most twice as fast.
    Spot found = search(box, measure, 2, precision, best);
    return {found.x * w, found.y * h};
}

namespace {

bool finite(const Rect& r) {
    return std::isfinite(r.left) && std::isfinite(r.bottom) && std::isfinite(r.right) && std::isfinite(r.top);
}

// The region's obstacles whose boxes may meet q (a rectangle in the
// region's own coordinates) added to `out` scaled as `scaled` scales them,
// in their order: segments, then boxes.  Those filed in `grid` (numbered
// by `filed`) are looked up when q lies within `zone`; otherwise, or when
// one of them does not scale to finite numbers, all of them are added.
void gather(const Region& r, const NearGrid* grid, const std::vector<int32_t>& filed, const Rect& zone, const Rect& q,
            long double w, long double h, Region& out) {
    size_t nsegments = r.segments.size(), count = nsegments + r.boxes.size();
    bool usable = true;
    auto add = [&](size_t i) {
        if (i < nsegments) {
            const Segment& g = r.segments[i];
            out.segments.push_back({{g.a.x / w, g.a.y / h}, {g.b.x / w, g.b.y / h}});
            const Segment& s = out.segments.back();
            usable = usable && finite({s.a.x, s.a.y, s.b.x, s.b.y});
        } else {
            const Rect& b = r.boxes[i - nsegments];
            out.boxes.push_back({b.left / w, b.bottom / h, b.right / w, b.top / h});
            usable = usable && finite(out.boxes.back());
        }
    };
    if (grid != nullptr && finite(q) && q.left >= zone.left && q.right <= zone.right && q.bottom >= zone.bottom &&
        q.top <= zone.top) {
        std::vector<int32_t> ids;
        grid->meeting(q, [&](int32_t id) { ids.push_back(filed[static_cast<size_t>(id)]); });
        std::sort(ids.begin(), ids.end());
        for (int32_t id : ids) add(static_cast<size_t>(id));
    } else if (finite(q)) {
        // Nothing filed: a look at every obstacle's box.
        for (size_t i = 0; i < count && usable; ++i) {
            Rect b;
            if (i < nsegments) {
                const Segment& g = r.segments[i];
                b = {std::min(g.a.x, g.b.x), std::min(g.a.y, g.b.y), std::max(g.a.x, g.b.x), std::max(g.a.y, g.b.y)};
            } else {
                b = r.boxes[i - nsegments];
            }
            usable = finite(b);
            if (b.left <= q.right && b.right >= q.left && b.bottom <= q.top && b.top >= q.bottom) add(i);
        }
    } else {
        usable = false;
    }
    if (usable) return;
    out.segments.clear();
    out.boxes.clear();
    usable = true;
    for (size_t i = 0; i < count; ++i) add(i);
}

bool finitepolygon(const std::vector<Spot>& polygon) {
    for (const Spot& p : polygon)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    return true;
}

}  // namespace

RoomSearch::RoomSearch(const Region& r) : region(r) {}

void RoomSearch::file() const {
    if (filing) return;
    filing = true;
    const Region& r = region;
    if (r.scan || r.polygon.empty() || !finitepolygon(r.polygon)) return;
    // The questions asked of a polygon look at most about its width and
    // height away from it (a box that fits is no larger; a search's cells
    // reach a little past it): what lies farther is not filed.
    Rect extent = {r.polygon[0].x, r.polygon[0].y, r.polygon[0].x, r.polygon[0].y};
    for (const Spot& p : r.polygon)
        extent = {std::min(extent.left, p.x), std::min(extent.bottom, p.y), std::max(extent.right, p.x),
                  std::max(extent.top, p.y)};
    long double around = zonereach * std::max(extent.right - extent.left, extent.top - extent.bottom) + 1;
    zone = {extent.left - around, extent.bottom - around, extent.right + around, extent.top + around};
    if (!finite(zone)) return;
    std::vector<Rect> boxes;
    boxes.reserve(r.segments.size() + r.boxes.size());
    filed.reserve(r.segments.size() + r.boxes.size());
    bool usable = true;  // an obstacle not finite leaves every question to look at all
    auto file = [&](const Rect& b, size_t i) {
        usable = usable && finite(b);
        if (b.left <= zone.right && b.right >= zone.left && b.bottom <= zone.top && b.top >= zone.bottom) {
            boxes.push_back(b);
            filed.push_back(static_cast<int32_t>(i));
        }
    };
    for (size_t i = 0; i < r.segments.size(); ++i) {
        const Segment& s = r.segments[i];
        file({std::min(s.a.x, s.b.x), std::min(s.a.y, s.b.y), std::max(s.a.x, s.b.x), std::max(s.a.y, s.b.y)}, i);
    }
    for (size_t i = 0; i < r.boxes.size(); ++i) file(r.boxes[i], r.segments.size() + i);
    auto grid = std::make_unique<NearGrid>();
    if (usable && grid->build(boxes, obstaclespercell)) obstacles = std::move(grid);
    if (!obstacles) return;
    std::vector<Rect> sides;
    size_t n = r.polygon.size();
    for (size_t i = 0; i < n; ++i) {
        Spot a = r.polygon[i], b = r.polygon[(i + 1) % n];
        sides.push_back({std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
    }
    auto edgegrid = std::make_unique<NearGrid>();
    if (edgegrid->build(sides)) edges = std::move(edgegrid);
    for (const Rect& b : boxes)
        largest = std::max({largest, std::fabs(b.left), std::fabs(b.bottom), std::fabs(b.right), std::fabs(b.top)});
    for (const Spot& p : r.polygon) largest = std::max({largest, std::fabs(p.x), std::fabs(p.y)});
}

RoomSearch::~RoomSearch() = default;

long double RoomSearch::boxroom(Spot c, long double w, long double h) const {
    if (region.scan) return geometry::boxroom(region, c, w, h);
    if (!(w > 0 && h > 0) || region.polygon.size() < 3) return 0;
    Region s = scaledframe(region, w, h);
    Spot p = {c.x / w, c.y / h};
    // As room() along the axes: an obstacle whose box lies farther from p
    // than the room the polygon and the window leave never lowers it.
    long double d = std::min(polygondistance(s.polygon, p, false), rectdistance(p, s.window, false));
    long double e = std::max(d, 0.0L);
    e += roundingslack * (1 + e + std::fabs(p.x) + std::fabs(p.y));
    Rect q = {(p.x - e) * w, (p.y - e) * h, (p.x + e) * w, (p.y + e) * h};
    gather(region, obstacles.get(), filed, zone, q, w, h, s);
    for (const Segment& g : s.segments) d = std::min(d, axisdistance(p, g.a, g.b));
    for (const Rect& b : s.boxes) d = std::min(d, -rectdistance(p, b, false));
    return 2 * d;
}

// A box at least as wide and as high as one shown to fit nowhere fits
// nowhere: where it had room k, the smaller box would have room k or more
// (every distance, measured in box sizes, is at least as large).  The
// search showed the smaller box's room to fall short of `enough` by more
// than any rounding, everywhere in the polygon and the window.
bool RoomSearch::shownnowhere(long double w, long double h, long double enough) const {
    if (!(enough > -INFINITY)) return false;
    for (const Nowhere& n : nowhere)
        if (w >= n.w && h >= n.h && enough >= n.enough) return true;
    return false;
}

bool RoomSearch::fits(Spot c, long double w, long double h) const {
    if (shownnowhere(w, h, 1)) return false;
    return boxroom(c, w, h) >= 1;
}

Spot RoomSearch::roomiestspot(long double w, long double h, long double precision, long double& best,
                              long double enough) const {
    if (region.scan) return geometry::roomiestspot(region, w, h, precision, best);
    best = 0;
    if (!(w > 0 && h > 0) || region.polygon.size() < 3) return {0, 0};
    if (shownnowhere(w, h, enough)) {
        best = -INFINITY;
        return {0, 0};
    }
    Region s = scaledframe(region, w, h);
    Rect box = searchbox(s);
    long double width = box.right - box.left, height = box.top - box.bottom;
    // Where a box has room k, a line through its centre along either axis
    // runs k inside the polygon and the window: a box that wants more than
    // their common extent fits nowhere.
    if (enough > 0 && (width < enough - roundingslack || height < enough - roundingslack)) {
        best = -INFINITY;
        return {0, 0};
    }
    // A search asked before is answered as it was.
    for (const Answer& a : answers)
        if (a.w == w && a.h == h && a.precision == precision && a.enough == enough) {
            best = a.room;
            return a.at;
        }
    bool shown = false;  // the search shows that the box fits nowhere
    Spot found = filedsearch(s, box, w, h, precision, best, enough, shown);
    if (shown)
        nowhere.push_back({w, h, enough});
    else
        answers.push_back({w, h, precision, enough, found, best});
    return found;
}

Spot RoomSearch::filedsearch(Region& s, const Rect& box, long double w, long double h, long double precision,
                             long double& best, long double enough, bool& shown) const {
    long double width = box.right - box.left, height = box.top - box.bottom;
    long double side = startside(width, height);
    Rect reach = {box.left, box.bottom, box.right + side, box.top + side};
    if (!(std::min(width, height) > 0)) reach = {-INFINITY, -INFINITY, INFINITY, INFINITY};
    // The obstacles RoomIndex keeps lie within `limit` of the reach (it
    // reckons the limit so, from the polygon's extent): only those near
    // enough are gathered, with room to spare.
    Rect q = {-INFINITY, -INFINITY, INFINITY, INFINITY};
    if (finite(reach) && finitepolygon(s.polygon)) {
        Rect extent = {s.polygon[0].x, s.polygon[0].y, s.polygon[0].x, s.polygon[0].y};
        for (const Spot& p : s.polygon)
            extent = {std::min(extent.left, p.x), std::min(extent.bottom, p.y), std::max(extent.right, p.x),
                      std::max(extent.top, p.y)};
        long double most = std::max(0.0L, std::min(extent.right - extent.left, extent.top - extent.bottom) / 2);
        long double size = std::max({std::fabs(reach.left), std::fabs(reach.right), std::fabs(reach.bottom),
                                     std::fabs(reach.top), std::fabs(extent.left), std::fabs(extent.right),
                                     std::fabs(extent.bottom), std::fabs(extent.top)});
        long double limit = most + keepmargin * (1 + most + size);
        long double spare = limit + roundingslack * (1 + size);
        if (std::isfinite(spare))
            q = {(reach.left - spare) * w, (reach.bottom - spare) * h, (reach.right + spare) * w, (reach.top + spare) * h};
    }
    file();
    bool filedfar = edges && finite(q) && q.left >= zone.left && q.right <= zone.right && q.bottom >= zone.bottom &&
                    q.top <= zone.top && std::isfinite(largest / std::min(w, h));
    if (!filedfar) {
        gather(region, obstacles.get(), filed, zone, q, w, h, s);
        RoomIndex index(s, true, reach);
        auto measure = [&](Spot p) { return 2 * index.room(p, false); };
        Spot found = search(box, measure, 2, precision, best, enough, &shown);
        return {found.x * w, found.y * h};
    }
    // The room as RoomIndex reckons it, through the edges and obstacles
    // filed at their own sizes.  Every obstacle RoomIndex keeps lies in q
    // and so is filed: the least distance is the same.  A distance where
    // the box is the unit square is at least 1 / max(w, h) times the one
    // at the filed sizes.
    EdgeBands bands;
    bands.build(s.polygon);
    long double scale = 1 / std::max(w, h);
    size_t n = s.polygon.size(), nsegments = region.segments.size();
    auto measure = [&](Spot p) {
        Spot u = {p.x * w, p.y * h};
        long double least = INFINITY;
        edges->nearest(
            u, least,
            [&](int32_t i) {
                least = std::min(least, axisdistance(p, s.polygon[static_cast<size_t>(i)],
                                                     s.polygon[(static_cast<size_t>(i) + 1) % n]));
            },
            scale);
        long double d = std::min(bands.inside(s.polygon, p) ? least : -least, rectdistance(p, s.window, false));
        // The rings round u's cell are looked at while the room is below
        // zero too: u is p at the filed sizes only to the last bit, and a
        // box that holds p may lie in the cell beside u's.
        long double bound = std::max(d, 0.0L) + roundingslack;
        obstacles->nearest(
            u, bound,
            [&](int32_t id) {
                size_t k = static_cast<size_t>(filed[static_cast<size_t>(id)]);
                if (k < nsegments) {
                    const Segment& g = region.segments[k];
                    d = std::min(d, axisdistance(p, {g.a.x / w, g.a.y / h}, {g.b.x / w, g.b.y / h}));
                } else {
                    const Rect& b = region.boxes[k - nsegments];
                    d = std::min(d, -rectdistance(p, {b.left / w, b.bottom / h, b.right / w, b.top / h}, false));
                }
                bound = std::max(d, 0.0L) + roundingslack;
            },
            scale);
        return 2 * d;
    };
    Spot found = search(box, measure, 2, precision, best, enough, &shown);
    return {found.x * w, found.y * h};
}

}  // namespace gridel::geometry
