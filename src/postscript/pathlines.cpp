// pathlines.cpp - topage, psmoveto, pslineto, polyline.
#include "postscript/pathlines.h"

#include <cmath>

#include "postscript/pstext.h"
#include "run/channels.h"
#include "run/settings.h"

const Word noname = {0, {}};

namespace {

// A PostScript comment ends at a line end or a form feed, and what follows
// it on the line is run as PostScript; such a byte in a name is written as
// a blank so that the whole name stays inside the comment.
Word commentname(const Word& name) {
    Word safe = name;
    for (int i = 0; i < safe.len; ++i)
        if (safe.c[i] == '\n' || safe.c[i] == '\r' || safe.c[i] == '\f') safe.c[i] = ' ';
    return safe;
}

void pathline(const char* op, const Word& name, long double x, long double y) {
    long double px, py;
    topage(x, y, px, py);
    clearline(psline);
    appendpagepoint(psline, px, py);
    appendfield(op, 0, psline, 255);
    appendfield("  %  {", 0, psline, 255);
    appendreal(3, true, 0, psline, 255, x);
    appendfield(",", 0, psline, 255);
    appendreal(3, true, 0, psline, 255, y);
    appendfield("}  ", 0, psline, 255);
    appendfield(commentname(name), 0, psline, 255);
    putstr(0, psline, 1, setps);
}

}  // namespace

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

void topage(long double x, long double y, long double& px, long double& py) {
    const PlotWindow& w = plotwindow;
    px = scaletopage(plotright - plotleft, x, w.xlow, w.xhigh, plotleft);
    py = scaletopage(plottop - plotbottom, y, w.ylow, w.yhigh, plotbottom);
}

void psmoveto(const Word& name, long double x, long double y) { pathline(" moveto", name, x, y); }

void pslineto(const Word& name, long double x, long double y) { pathline(" lineto", name, x, y); }

void polyline(bool forward, const Word& name, const UnivariantLine& line) {
    int n = line.npts;
    if (n > linecapacity) n = linecapacity;
    if (forward) {
        for (int k = 2; k <= n; ++k) pslineto(k == 2 ? name : noname, line.x[k], line.y[k]);
    } else {
        for (int k = n - 1; k >= 1; --k) pslineto(k == n - 1 ? name : noname, line.x[k], line.y[k]);
    }
}
