// drawpoints.cpp - drawpoints.
#include "postscript/drawpoints.h"

#include "diagram/model.h"
#include "postscript/pathlines.h"
#include "postscript/pstext.h"
#include "run/channels.h"
#include "run/settings.h"

void drawpoints(bool dashed) {
    const PlotWindow& w = plotwindow;
    const DrawingOptions& o = drawingoptions;
    bool numbering = isyes(o.numbering);
    pslinewidth(0.2L, 2);
    for (int k = 1; k <= npoints && k <= maxpoints; ++k) {
        const InvariantPoint& p = points[k];
        if (!(p.x > w.xlow && p.x < w.xhigh && p.y > w.ylow && p.y < w.yhigh)) continue;
        long double px, py;
        topage(p.x, p.y, px, py);
        long double r = o.circlesize;
        if (dashed) {  // circles are always drawn solid
            putstr(0, "[]  0 setdash", 1, setps);
            dashed = false;
        }
        clearline(psline);
        appendpagepoint(psline, px + r, py);
        appendfield(" moveto", 0, psline, 255);
        putstr(0, psline, 1, setps);
        clearline(psline);
        appendpagepoint(psline, px, py);
        appendfield(" ", 0, psline, 255);
        appendreal(2, true, 0, psline, 255, r);
        appendfield(" 0 360 arc", 0, psline, 255);
        putstr(0, psline, 1, setps);
        putstr(0, "closepath", 1, setps);
        putstr(0, "stroke", numbering ? 1 : 2, setps);
        if (numbering) psshow(px, py - o.numbersize / 3.0L, pslabel(p.name), "centreshow", 2);
    }
}
