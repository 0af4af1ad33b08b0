// pagemap.cpp - pagemap and topage.
#include "geometry/pagemap.h"

#include <cmath>

namespace gridel::geometry {

namespace {

// size * (v - low) / (high - low) + origin; when the product overflows (a
// window spanning more than a 460th of the 80-bit range) the quotient is
// taken first, so that the window still maps onto the plot box.
long double scaletopage(long double size, long double v, long double low, long double high, long double origin) {
    long double p = size * (v - low) / (high - low) + origin;
    if (std::isinf(size * (v - low)) && !std::isinf(v - low)) p = (v - low) / (high - low) * size + origin;
    return p;
}

}  // namespace

PageMap pagemap(const diagram::Diagram& d) {
    PageMap m = {d.window, plotleft, plotbottom, plotright, plottop};
    if (d.figure.widthmm > 0) {
        m.right = m.left + d.figure.widthmm * pointspermm;
        m.top = m.bottom + d.figure.heightmm * pointspermm;
    }
    return m;
}

void topage(const PageMap& m, long double x, long double y, long double& px, long double& py) {
    px = scaletopage(m.right - m.left, x, m.window.xlow, m.window.xhigh, m.left);
    py = scaletopage(m.top - m.bottom, y, m.window.ylow, m.window.yhigh, m.bottom);
}

}  // namespace gridel::geometry
