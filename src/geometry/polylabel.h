// polylabel.h - where a text has the most room inside a region of the page:
// the region's visual centre (the inside point farthest from its boundary,
// found by the polylabel method: a search over square cells that keeps
// splitting the cells that could still hold a farther point), and the
// place where a box of a given width and height keeps clearest of the
// boundary and of obstacles (the same search, in coordinates where the
// box is a square and distances are measured along the axes).
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace gridel::geometry {

// A point of the page, in points.
struct Spot {
    long double x;
    long double y;
};

// A rectangle of the page; left <= right, bottom <= top.
struct Rect {
    long double left;
    long double bottom;
    long double right;
    long double top;
};

struct Segment {
    Spot a;
    Spot b;
};

// Room for a text: inside a polygon (closed back to its first point,
// inside by the non-zero winding rule) and inside a window, clear of some
// segments and rectangles.
struct Region {
    std::vector<Spot> polygon;
    Rect window;
    std::vector<Segment> segments;
    std::vector<Rect> boxes;
    bool scan = false;  // the searches look at every item, not only at those near
                        // (the plain search the filed one is checked against)
};

// The region's visual centre, within `precision` points: the point inside
// the polygon and the window farthest from the polygon's edges and the
// window's; `room` is that distance (0 or less when there is no inside).
// The obstacles play no part.
Spot visualcentre(const Region& region, long double precision, long double& room);

// How much a box of width w and height h centred at c could grow, as a
// factor of its size, and still lie inside the polygon and the window clear
// of every obstacle: 1 or more when the box fits, 0 or less when its centre
// is outside or on an obstacle.
long double boxroom(const Region& region, Spot c, long double w, long double h);

// The centre where a w by h box has the most room (see boxroom), found
// within `precision` of the box's size; that room in `room`.
Spot roomiestspot(const Region& region, long double w, long double h, long double precision, long double& room);

class NearGrid;

// boxroom and roomiestspot asked of one region again and again, for boxes
// of many sizes: the region's obstacles are filed once, and each question
// looks only at those that can matter to its answer, which is exactly the
// answer of the plain functions.  A region marked `scan` is answered by the
// plain functions.  The region must outlive the search.
class RoomSearch {
public:
    explicit RoomSearch(const Region& region);
    ~RoomSearch();

    long double boxroom(Spot c, long double w, long double h) const;

    // Whether a w by h box centred at c fits (boxroom 1 or more): no box
    // no smaller than one a search wanting room 1 has shown to fit nowhere
    // fits anywhere.
    bool fits(Spot c, long double w, long double h) const;

    // As roomiestspot; but when `enough` is given, a search that can no
    // longer find that much room stops and answers a room below it (its
    // place then not the roomiest).  When the room found is `enough` or
    // more, the place and the room are those of roomiestspot.  A box no
    // smaller either way than one a search has shown to fit nowhere is
    // answered at once, and so is a search asked before.
    Spot roomiestspot(long double w, long double h, long double precision, long double& room,
                      long double enough = -INFINITY) const;

private:
    // Whether a search wanting room `enough` or more has shown that a box
    // no larger either way fits nowhere.
    bool shownnowhere(long double w, long double h, long double enough) const;

    // The search of roomiestspot over `box` of the region `s` scaled to
    // the box; `shown` when it shows that the box fits nowhere.
    Spot filedsearch(Region& s, const Rect& box, long double w, long double h, long double precision, long double& best,
                     long double enough, bool& shown) const;

    // Files the obstacles and the edges, the first time a search needs
    // them (a box that fits nowhere near is answered without).
    void file() const;

    const Region& region;
    mutable bool filing = false;
    // The obstacles near the polygon (`filed`: their numbers among the
    // segments, then the boxes), filed by `obstacles`; the questions that
    // reach past `zone`, or come before the filing, look at all of them.
    // No grid when unusable.
    mutable std::unique_ptr<NearGrid> obstacles;
    mutable std::vector<int32_t> filed;
    mutable Rect zone{};
    // The polygon's edges filed at the region's own sizes: a search asks
    // them, and the obstacles, for the room where a box is shrunk to the
    // unit square, with no filing of its own.  None when unusable.
    mutable std::unique_ptr<NearGrid> edges;
    mutable long double largest = 0;  // the largest size of a coordinate filed
    // The boxes a search wanting room `enough` has shown to fit nowhere.
    struct Nowhere {
        long double w;
        long double h;
        long double enough;
    };
    mutable std::vector<Nowhere> nowhere;
    // The other searches' answers: a box may be tried early, to show it
    // fits nowhere, and again in its turn.
    struct Answer {
        long double w;
        long double h;
        long double precision;
        long double enough;
        Spot at;
        long double room;
    };
    mutable std::vector<Answer> answers;
};

// Whether two rectangles share more than an edge.
bool overlaps(const Rect& a, const Rect& b);

// Whether the segment crosses or touches the inside of the rectangle.
bool crosses(const Segment& s, const Rect& r);

// The non-zero winding rule: whether p is inside the closed polygon.
bool insidepolygon(const std::vector<Spot>& polygon, Spot p);

}  // namespace gridel::geometry
