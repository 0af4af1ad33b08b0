// drawlines.cpp - findmid and drawlines.
#include "postscript/drawlines.h"

#include <cmath>

#include "postscript/pathlines.h"
#include "postscript/pstext.h"
#include "run/channels.h"
#include "run/failure.h"
#include "run/settings.h"

namespace {

const char* const separator = "% ---------------------------------------------------";

// One colour component, right-aligned in six characters.  It is written as
// a blank and a field of five, which is the same for every text of up to
// five characters (all of 0..255) and keeps a blank before a wider one: an
// rgb value of 2550 or more would otherwise run into the component before
// it and make a number PostScript cannot read.
void colourcomponent(int16_t value) {
    appendfield(" ", 0, psline, 255);
    appendreal(2, true, 5, psline, 255, static_cast<double>(value) / 255.0);
}

// Width, dash and colour of one line.
void linestyle(const UnivariantLine& line) {
    pslinewidth(line.thick ? 0.6L : 0.3L, 1);
    putstr(0, line.dashed ? "[3]  0  setdash" : "[]  0 setdash", 1, setps);
    clearline(psline);
    if (line.rgbgiven) {
        colourcomponent(line.red);
        colourcomponent(line.green);
        colourcomponent(line.blue);
    } else {
        appendfield("0  0  0 ", 0, psline, 255);
    }
    appendfield(" setrgbcolor", 0, psline, 255);
    putstr(0, psline, 2, setps);
}

// The line's number at its half-way point, when that lies inside the window.
void linelabel(const UnivariantLine& line) {
    const PlotWindow& w = plotwindow;
    long double xm, ym;
    findmid(line, xm, ym);
    if (!(xm > w.xlow && xm < w.xhigh && ym > w.ylow && ym < w.yhigh)) return;
    long double px, py;
    topage(xm, ym, px, py);
    psshow(px, py - drawingoptions.numbersize / 3.0L, pslabel(line.name), "centreshow", 2);
}

}  // namespace

void findmid(const UnivariantLine& line, long double& xm, long double& ym) {
    const PlotWindow& w = plotwindow;
    long double width = w.xhigh - w.xlow;
    long double height = w.yhigh - w.ylow;
    int n = line.npts;
    if (n > linecapacity) n = linecapacity;
    long double cum[linecapacity + 1] = {};
    cum[1] = 0;
    for (int k = 2; k <= n; ++k) {
        long double dx = (line.x[k] - line.x[k - 1]) / width;
        long double dy = (line.y[k] - line.y[k - 1]) / height;
        cum[k] = cum[k - 1] + std::sqrt(dx * dx + dy * dy);
    }
    long double half = n >= 1 ? 0.5L * cum[n] : 0;
    if (half == 0) {
        Text what;
        settext(what, "zero sum distance for ");
        addtext(what, line.name);
        bombed("findmid", what);
    }
    int j = 2;
    while (j < n && !(cum[j] >= half)) ++j;
    if (cum[j] == half) {
        xm = line.x[j];
        ym = line.y[j];
        return;
    }
    long double t = (half - cum[j - 1]) / (cum[j] - cum[j - 1]);
    xm = line.x[j - 1] + t * (line.x[j] - line.x[j - 1]);
    ym = line.y[j - 1] + t * (line.y[j] - line.y[j - 1]);
}

bool drawlines() {
    bool dashed = false;
    bool numbering = isyes(drawingoptions.numbering);
    if (numbering) {
        psfontline(psline, 0, drawingoptions.numbersize);
        putstr(1, psline, 2, setps);
    }
    for (int k = 1; k <= nlines && k <= maxlines; ++k) {
        const UnivariantLine& line = lines[k];
        if (line.npts <= 0) continue;
        putstr(0, separator, 2, setps);
        linestyle(line);
        dashed = line.dashed;
        psmoveto(line.name, line.x[1], line.y[1]);
        polyline(true, noname, line);
        putstr(0, "stroke", 2, setps);
        if (numbering) linelabel(line);
    }
    if (nlines <= 0) return dashed;
    putstr(0, "0  0  0  setrgbcolor", 2, setps);
    putstr(0, separator, 2, setps);
    return dashed;
}
