// page.cpp - topage and pathpoint.
#include "drawing/page.h"

#include <cmath>

const Word noname = {0, {}};

namespace {

// size * (v - low) / (high - low) + origin; when the product overflows (a
// window spanning more than a 460th of the 80-bit range) the quotient is
// taken first, so that the window still maps onto the plot square.
long double scaletopage(long double size, long double v, long double low, long double high, long double origin) {
    long double p = size * (v - low) / (high - low) + origin;
    if (std::isinf(size * (v - low)) && !std::isinf(v - low)) p = (v - low) / (high - low) * size + origin;
    return p;
}

}  // namespace

void topage(const PlotWindow& w, long double x, long double y, long double& px, long double& py) {
    px = scaletopage(plotright - plotleft, x, w.xlow, w.xhigh, plotleft);
    py = scaletopage(plottop - plotbottom, y, w.ylow, w.yhigh, plotbottom);
}

PathPoint pathpoint(const PlotWindow& w, long double x, long double y, const Word& name) {
    PathPoint p;
    topage(w, x, y, p.px, p.py);
    p.x = x;
    p.y = y;
    p.name = name;
    return p;
}
