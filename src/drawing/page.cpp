// page.cpp - pathpoint.
#include "drawing/page.h"

const Word noname = {0, {}};

PathPoint pathpoint(const PageMap& m, long double x, long double y, const Word& name) {
    PathPoint p;
    topage(m, x, y, p.px, p.py);
    p.x = x;
    p.y = y;
    p.name = name;
    return p;
}
