// page.cpp - pathpoint.
#include "drawing/page.h"

namespace gridel::drawing {

const text::Word noname = {0, {}};

PathPoint pathpoint(const geometry::PageMap& m, long double x, long double y, const text::Word& name) {
    PathPoint p;
    geometry::topage(m, x, y, p.px, p.py);
    p.x = x;
    p.y = y;
    p.name = name;
    return p;
}

}  // namespace gridel::drawing
