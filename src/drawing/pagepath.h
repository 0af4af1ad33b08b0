// pagepath.h - a path as PostScript builds it, and the parts of it that
// lie within a device's reach.
//
// The canvases that paint or write shapes (cairo, SVG) build the path of
// the canvas calls here: subpaths of points joined by straight segments,
// and whole circles.  A device holds coordinates only so far (cairo's
// fixed-point numbers, a viewer's), while a path point may lie as far off
// as 1e20 points; what lies beyond the reach is cut off, which changes
// nothing on the page: a stroke keeps its place in the dash pattern, a
// fill keeps the winding number of every point within the reach.
#pragma once

#include <vector>

namespace gridel::drawing {

// A point in page points, y upwards.
struct PagePoint {
    long double x;
    long double y;
};

// A page coordinate as the EPS writes it: beyond 1e20 (or not a number)
// it is 1e20 with its sign.
inline long double pagecoord(long double p) {
    if (p >= -1e20L && p <= 1e20L) return p;
    return p < 0 ? -1e20L : 1e20L;
}

// One subpath: points joined by straight segments, or a whole circle.
struct Subpath {
    std::vector<PagePoint> points;  // a circle: its start, at angle 0
    bool closed = false;
    bool circle = false;
    PagePoint centre = {0, 0};
    long double radius = 0;  // a negative radius starts the circle at angle 180
};

// The path being built.  Coordinates are taken through pagecoord.
class PagePath {
public:
    // A new subpath at a point; straight on to a point (after a closed
    // subpath, from where that one started; on an empty path, a new
    // subpath); a closed circle of radius r, a subpath of its own.
    void moveto(long double px, long double py) { add(px, py, true); }
    void lineto(long double px, long double py) { add(px, py, false); }
    void circle(long double px, long double py, long double r);
    void clear() { subpaths.clear(); }
    const std::vector<Subpath>& parts() const { return subpaths; }

private:
    void add(long double px, long double py, bool start);
    std::vector<Subpath> subpaths;
};

// The box of page points a device holds with room to spare.
struct Reach {
    PagePoint low;
    PagePoint high;
    bool holds(const PagePoint& p) const {
        return p.x >= low.x && p.x <= high.x && p.y >= low.y && p.y <= high.y;
    }
};

// One part of a path to paint.
struct PathPiece {
    const Subpath* circle = nullptr;  // a whole circle within reach, drawn as the device draws circles
    std::vector<PagePoint> points;    // otherwise: a polygon, or a polyline
    bool closed = false;              // joined back to its start
    bool cut = false;                 // a piece of a subpath cut at the reach
    long double phase = 0;            // the length of its subpath before it (for the dash pattern)
};

// What to stroke of a path: each subpath whole when it lies within reach,
// else its pieces within reach, each with its phase.  A circle of radius 0
// and a subpath of fewer than two points stroke nothing.
std::vector<PathPiece> strokepieces(const PagePath& path, const Reach& reach);

// What to fill of a path: each subpath as a closed polygon cut to the
// reach (or a circle within reach).  Fewer than three points fill nothing.
std::vector<PathPiece> fillpieces(const PagePath& path, const Reach& reach);

}  // namespace gridel::drawing
