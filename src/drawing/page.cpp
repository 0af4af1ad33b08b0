// page.cpp - topage on the square and pathpoint.
#include "drawing/page.h"

const Word noname = {0, {}};

namespace {

PageMap squaremap(const PlotWindow& w) { return {w, plotleft, plotbottom, plotright, plottop}; }

}  // namespace

void topage(const PlotWindow& w, long double x, long double y, long double& px, long double& py) {
    topage(squaremap(w), x, y, px, py);
}

PathPoint pathpoint(const PageMap& m, long double x, long double y, const Word& name) {
    PathPoint p;
    topage(m, x, y, p.px, p.py);
    p.x = x;
    p.y = y;
    p.name = name;
    return p;
}

PathPoint pathpoint(const PlotWindow& w, long double x, long double y, const Word& name) {
    return pathpoint(squaremap(w), x, y, name);
}
