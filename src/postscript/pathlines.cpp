// pathlines.cpp - topage, psmoveto, pslineto, polyline.
#include "postscript/pathlines.h"

#include "run/channels.h"
#include "run/settings.h"

const Word noname = {0, {}};

namespace {

void pathline(const char* op, const Word& name, long double x, long double y) {
    long double px, py;
    topage(x, y, px, py);
    psline.len = 0;
    appendreal(2, true, 0, psline, 255, px);
    appendfield(" ", 0, psline, 255);
    appendreal(2, true, 0, psline, 255, py);
    appendfield(op, 0, psline, 255);
    appendfield("  %  {", 0, psline, 255);
    appendreal(3, true, 0, psline, 255, x);
    appendfield(",", 0, psline, 255);
    appendreal(3, true, 0, psline, 255, y);
    appendfield("}  ", 0, psline, 255);
    appendfield(name, 0, psline, 255);
    putstr(0, psline, 1, setps);
}

}  // namespace

void topage(long double x, long double y, long double& px, long double& py) {
    const PlotWindow& w = plotwindow;
    px = (plotright - plotleft) * (x - w.xlow) / (w.xhigh - w.xlow) + plotleft;
    py = (plottop - plotbottom) * (y - w.ylow) / (w.yhigh - w.ylow) + plotbottom;
}

void psmoveto(const Word& name, long double x, long double y) { pathline(" moveto", name, x, y); }

void pslineto(const Word& name, long double x, long double y) { pathline(" lineto", name, x, y); }

void polyline(bool forward, const Word& name, const UnivariantLine& line) {
    int n = line.npts;
    if (forward) {
        for (int k = 2; k <= n; ++k) pslineto(k == 2 ? name : noname, line.x[k], line.y[k]);
    } else {
        for (int k = n - 1; k >= 1; --k) pslineto(k == n - 1 ? name : noname, line.x[k], line.y[k]);
    }
}
