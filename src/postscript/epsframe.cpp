// epsframe.cpp - openeps and drawframe.
#include "postscript/epsframe.h"

#include <cmath>
#include <cstdio>

#include "diagram/model.h"
#include "postscript/pathlines.h"
#include "postscript/pstext.h"
#include "run/channels.h"
#include "run/files.h"
#include "run/settings.h"
#include "text/numfmt.h"

namespace {

// The fixed layout: the plot square of the page transform, the title block
// starting ten points above it.
constexpr PageFrame pagelayout = {
    1, plotleft, plotright, plottop, plotbottom, 12, plotleft, plottop + 10,
};

}  // namespace

PageFrame pageframe = pagelayout;

namespace {

// One header line with its line end, straight to the drawing file.
void headerline(const Text& line) {
    OutputChannel& ch = channels[chps];
    if (std::fwrite(line.c, 1, static_cast<size_t>(line.len), ch.file) !=
            static_cast<size_t>(line.len) ||
        std::fputc('\n', ch.file) == EOF)
        ioerror(ch.path);
}

void headerline(const char* a, const Text& b) {
    Text line;
    settext(line, a);
    addtext(line, b);
    headerline(line);
}

// Tick marks along the bottom edge (xaxis) or the left edge, each `length`
// long: t goes from `t` by `gap` until it is at least high - gap.  The loop
// also ends when adding the gap no longer changes t (a gap below the
// arithmetic's resolution at that magnitude), and draws nothing for a gap
// that is not positive, which the script reader never lets through.
void ticks(bool xaxis, long double t, long double gap, long double high, long double length) {
    if (!(gap > 0)) return;
    const PlotWindow& w = plotwindow;
    for (;;) {
        long double next = t + gap;
        if (next == t) return;
        t = next;
        if (xaxis) {
            psmoveto(noname, t, w.ylow);
            pslineto(noname, t, w.ylow + length);
        } else {
            psmoveto(noname, w.xlow, t);
            pslineto(noname, w.xlow + length, t);
        }
        putstr(0, "stroke", 1, setps);
        if (t >= high - gap) return;
    }
}

// The axis number of a tick value: an integer text within 1e-5 of a whole
// number, else at most five decimals, as many as the value needs.
Text ticklabel(long double t) {
    Text label;
    int32_t whole = roundint(t);
    if (std::fabs(t - whole) < 1e-5L) {
        settext(label, real2intstr(whole));
    } else {
        int16_t d = decimalsneeded(true, 1, t);
        if (d > 5) d = 5;
        settext(label, real2str(t, d, true));
    }
    return label;
}

// Numbers along the bottom edge (xaxis) or the left edge, from `t` by
// `gap` while t stays below high plus 1e-5 of the window's span; the same
// guards as `ticks`.
void numbers(bool xaxis, long double t, long double gap, long double high, long double low,
             long double ticklength) {
    if (!(gap > 0)) return;
    const PlotWindow& w = plotwindow;
    for (;;) {
        long double next = t + gap;
        if (next == t) return;
        t = next;
        if (t - high >= 1e-5L * (high - low)) return;
        long double px, py;
        if (xaxis) {
            topage(t, w.ylow - 3 * ticklength, px, py);
            psshow(px, py, ticklabel(t), "centreshow", 1);
        } else {
            topage(w.xlow - 2 * ticklength, t, px, py);
            psshow(px, py - 4, ticklabel(t), "rightshow", 1);
        }
    }
}

// The title line and the info lines above the plot, the last at top + 10.
void titleblock() {
    const DrawingOptions& o = drawingoptions;
    int16_t n = o.ninfo;
    if (n < 0) n = 0;
    if (n > maxinfo) n = maxinfo;
    pageframe.textx = pageframe.left;
    pageframe.texty = static_cast<float>((n + 1) * 18 + pageframe.top + 10);
    for (int k = 1; k <= n + 1; ++k) {
        pageframe.texty -= 18;
        clearline(psline);
        appendint(-4, psline, 255, roundint(pageframe.textx));
        appendint(-4, psline, 255, roundint(pageframe.texty));
        appendfield(" moveto", 0, psline, 255);
        putstr(0, psline, 1, setps);
        clearline(psline);
        if (k == 1) {
            appendfield("( ", 0, psline, 255);
            appendfield(runsettings.banner, 0, psline, 255);
            appendfield(" (running at ", 0, psline, 255);
            appendfield(runstamp, 0, psline, 255);
            appendfield(") ) show", 0, psline, 255);
        } else {
            // Cut so that "(" + text + ") show" stays within a line's 250
            // characters: a longer line would end in the overflow mark
            // inside the open string.
            const Text& info = o.info[k - 1];
            appendfield("(", 0, psline, 255);
            appendfield(psstring(info.c, info.len, 250 - 7), 0, psline, 255);
            appendfield(") show", 0, psline, 255);
        }
        putstr(0, psline, 1, setps);
    }
}

}  // namespace

void openeps() {
    Text base;
    settext(base, "gl-");
    addtext(base, runsettings.datafile);
    const Word extension = maketext<20>(".eps");
    char cbase[256];
    // The data file was found under the same suffix, so it holds no NUL
    // byte; if it did, openoutput reports the name it cannot create.
    if (tocstring(base, cbase))
        drawingFileName = openoutput(cbase, extension, channels[chps]);
    else
        drawingFileName = openoutput("gl-", runsettings.datafile, channels[chps]);
    openChannels |= 1u << chps;

    pageframe = pagelayout;

    Text line;
    headerline(maketext("%!PS-Adobe-3.0 EPSF-3.0"));
    headerline(maketext("%%BoundingBox: 4 4 525 750"));
    headerline(maketext("%%Title:  output"));
    settext(line, runsettings.banner);
    addtext(line, " ");
    addtext(line, creatorcredit);
    headerline("%%Creator: ", line);
    headerline("%%CreationDate: ", runstamp);
    headerline(maketext("%%EndComments"));
    LineBuffer font;
    psfontline(font, 2, pageframe.fontsize);
    headerline(font.text);
    headerline(maketext(""));
}

void drawframe() {
    const PlotWindow& w = plotwindow;
    const TickMarks& tm = tickmarks;
    long double xt = (w.xhigh - w.xlow) / 60;
    long double yt = (w.yhigh - w.ylow) / 60;

    putstr(0, "/Helvetica findfont 12 scalefont setfont", 1, setps);
    clearline(psline);
    appendint(0, psline, 255, pageframe.linewidth);
    appendfield(" setlinewidth", 0, psline, 255);
    putstr(1, psline, 1, setps);
    titleblock();

    pslinewidth(0.5L, 2);
    putstr(0, "% window box", 2, setps);
    psmoveto(noname, w.xlow, w.ylow);
    pslineto(noname, w.xlow, w.yhigh);
    pslineto(noname, w.xhigh, w.yhigh);
    pslineto(noname, w.xhigh, w.ylow);
    pslineto(noname, w.xlow, w.ylow);
    putstr(0, "stroke", 2, setps);

    pslinewidth(0.2L, 2);
    ticks(true, tm.xstart - tm.xtickgap, tm.xtickgap, w.xhigh, yt);
    ticks(false, tm.ystart - tm.ytickgap, tm.ytickgap, w.yhigh, xt);

    psfontline(psline, 0, 12);
    putstr(0, psline, 2, setps);
    numbers(true, tm.xstart - tm.xtickgap, tm.xtickgap, w.xhigh, w.xlow, yt);
    numbers(false, tm.ystart - tm.ytickgap, tm.ytickgap, w.yhigh, w.ylow, xt);

    if (tm.smallticks) {
        ticks(true, w.xlow, tm.smallxgap, w.xhigh, yt / 2);
        ticks(false, w.ylow, tm.smallygap, w.yhigh, xt / 2);
    }
}
