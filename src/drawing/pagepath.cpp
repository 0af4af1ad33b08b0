// pagepath.cpp - PagePath, strokepieces and fillpieces.
#include "drawing/pagepath.h"

#include <cmath>

namespace gridel::drawing {

namespace {

// A circle that does not lie within reach becomes a polygon of this many
// sides, which can be cut like any path.
constexpr int circlesides = 720;

constexpr long double pi = 3.141592653589793238462643383279502884L;

// The part t0..t1 of the segment a-b inside the reach; false when none of
// it is.
bool cutsegment(const PagePoint& a, const PagePoint& b, const Reach& reach, long double& t0, long double& t1) {
    t0 = 0;
    t1 = 1;
    long double dx = b.x - a.x, dy = b.y - a.y;
    auto edge = [&](long double p, long double q) {  // keeps the t with p * t <= q
        if (p == 0) return q >= 0;
        long double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            if (r > t0) t0 = r;
        } else {
            if (r < t0) return false;
            if (r < t1) t1 = r;
        }
        return true;
    };
    return edge(-dx, a.x - reach.low.x) && edge(dx, reach.high.x - a.x) && edge(-dy, a.y - reach.low.y) &&
           edge(dy, reach.high.y - a.y);
}

PagePoint along(const PagePoint& a, const PagePoint& b, long double t) {
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// A polygon cut to the reach, edge by edge; inside it every point keeps
// the winding number it had.
std::vector<PagePoint> cutpolygon(std::vector<PagePoint> poly, const Reach& reach) {
    const PagePoint& lo = reach.low;
    const PagePoint& hi = reach.high;
    for (int edge = 0; edge < 4 && !poly.empty(); ++edge) {
        auto inside = [&](const PagePoint& p) {
            switch (edge) {
                case 0: return p.x >= lo.x;
                case 1: return p.x <= hi.x;
                case 2: return p.y >= lo.y;
                default: return p.y <= hi.y;
            }
        };
        auto cross = [&](const PagePoint& p, const PagePoint& q) {
            long double c = edge == 0 ? lo.x : edge == 1 ? hi.x : edge == 2 ? lo.y : hi.y;
            long double t = edge < 2 ? (c - p.x) / (q.x - p.x) : (c - p.y) / (q.y - p.y);
            PagePoint r = along(p, q, t);
            if (edge < 2) r.x = c; else r.y = c;
            return r;
        };
        std::vector<PagePoint> out;
        for (size_t i = 0; i < poly.size(); ++i) {
            const PagePoint& prev = poly[i == 0 ? poly.size() - 1 : i - 1];
            const PagePoint& cur = poly[i];
            bool curin = inside(cur), previn = inside(prev);
            if (curin != previn) out.push_back(cross(prev, cur));
            if (curin) out.push_back(cur);
        }
        poly = out;
    }
    return poly;
}

// The corners of a circle as a polygon, from angle 0 on.
std::vector<PagePoint> circlepolygon(const PagePoint& centre, long double r) {
    std::vector<PagePoint> poly;
    for (int k = 0; k < circlesides; ++k) {
        long double a = 2 * pi * k / circlesides;
        poly.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
    }
    return poly;
}

bool circleheld(const Subpath& s, const Reach& reach) {
    long double r = std::fabs(s.radius);
    return reach.holds({s.centre.x - r, s.centre.y - r}) && reach.holds({s.centre.x + r, s.centre.y + r});
}

// The piece a subpath is painted as when it needs no cutting (a circle
// within reach, or points all within reach), with `inside` set; else its
// points as a polygon to cut, with `inside` false.  False when it paints
// nothing (a circle of radius 0).
bool wholepiece(const Subpath& s, const Reach& reach, PathPiece& piece, bool& inside) {
    if (s.circle && s.radius == 0) return false;
    piece = PathPiece{};
    piece.closed = s.closed;
    if (s.circle && circleheld(s, reach)) {
        piece.circle = &s;
        inside = true;
        return true;
    }
    piece.points = s.circle ? circlepolygon(s.centre, s.radius) : s.points;
    inside = true;
    for (const PagePoint& p : piece.points) inside = inside && reach.holds(p);
    return true;
}

}  // namespace

void PagePath::add(long double px, long double py, bool start) {
    PagePoint p = {pagecoord(px), pagecoord(py)};
    if (start || subpaths.empty()) {
        subpaths.push_back(Subpath{});
    } else if (subpaths.back().closed) {
        // After a closed subpath a new one starts where that one started.
        PagePoint from = subpaths.back().points.front();
        subpaths.push_back(Subpath{});
        subpaths.back().points.push_back(from);
    }
    subpaths.back().points.push_back(p);
}

void PagePath::circle(long double px, long double py, long double r) {
    Subpath s;
    s.circle = true;
    s.closed = true;
    s.centre = {pagecoord(px), pagecoord(py)};
    s.radius = pagecoord(r);
    s.points.push_back({pagecoord(s.centre.x + s.radius), s.centre.y});
    subpaths.push_back(s);
}

std::vector<PathPiece> strokepieces(const PagePath& path, const Reach& reach) {
    std::vector<PathPiece> pieces;
    for (const Subpath& s : path.parts()) {
        PathPiece whole;
        bool inside;
        if (!wholepiece(s, reach, whole, inside)) continue;
        if (inside) {
            if (whole.circle != nullptr || whole.points.size() >= 2) pieces.push_back(whole);
            continue;
        }
        std::vector<PagePoint>& points = whole.points;
        if (points.size() < 2) continue;
        if (s.closed) points.push_back(points.front());
        long double walked = 0;  // length of the subpath up to the segment
        PathPiece piece;
        piece.cut = true;
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            const PagePoint& a = points[i];
            const PagePoint& b = points[i + 1];
            long double length = std::hypot(b.x - a.x, b.y - a.y);
            long double t0, t1;
            if (cutsegment(a, b, reach, t0, t1)) {
                if (piece.points.empty() || t0 > 0) {
                    if (piece.points.size() >= 2) pieces.push_back(piece);
                    piece.points.assign(1, along(a, b, t0));
                    piece.phase = walked + t0 * length;
                }
                piece.points.push_back(along(a, b, t1));
                if (t1 < 1) {
                    pieces.push_back(piece);
                    piece.points.clear();
                }
            } else if (!piece.points.empty()) {
                if (piece.points.size() >= 2) pieces.push_back(piece);
                piece.points.clear();
            }
            walked += length;
        }
        if (piece.points.size() >= 2) pieces.push_back(piece);
    }
    return pieces;
}

std::vector<PathPiece> fillpieces(const PagePath& path, const Reach& reach) {
    std::vector<PathPiece> pieces;
    for (const Subpath& s : path.parts()) {
        PathPiece piece;
        bool inside;
        if (!wholepiece(s, reach, piece, inside)) continue;
        piece.closed = true;
        if (!inside) {
            piece.points = cutpolygon(piece.points, reach);
            piece.cut = true;
        }
        if (piece.circle != nullptr || piece.points.size() >= 3) pieces.push_back(piece);
    }
    return pieces;
}

}  // namespace gridel::drawing
