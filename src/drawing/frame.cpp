// frame.cpp - drawframe: title block, window box, ticks, axis numbers.
#include "drawing/frame.h"

#include <cmath>

#include "drawing/items.h"
#include "drawing/page.h"
#include "text/numfmt.h"

namespace {

constexpr long double titlelinewidth = 1;      // the title block's lines
constexpr long double boxlinewidth = 0.5L;     // the window box
constexpr long double ticklinewidth = 0.2L;    // ticks
constexpr int titleleading = 18;               // points between title lines
constexpr int titlegap = 10;                   // from the square's top to the last title line

// Tick marks along the bottom edge (xaxis) or the left edge, each `length`
// long: t goes from `t` by `gap` until it is at least high - gap.  The loop
// also ends when adding the gap no longer changes t (a gap below the
// arithmetic's resolution at that magnitude), and draws nothing for a gap
// that is not positive, which the script reader never lets through.
void ticks(const PlotWindow& w, Canvas& canvas, bool xaxis, long double t, long double gap, long double high,
           long double length) {
    if (!(gap > 0)) return;
    for (;;) {
        long double next = t + gap;
        if (next == t) return;
        t = next;
        if (xaxis) {
            canvas.moveto(pathpoint(w, t, w.ylow, noname));
            canvas.lineto(pathpoint(w, t, w.ylow + length, noname));
        } else {
            canvas.moveto(pathpoint(w, w.xlow, t, noname));
            canvas.lineto(pathpoint(w, w.xlow + length, t, noname));
        }
        canvas.stroke();
        if (t >= high - gap) return;
    }
}

// The axis number of a tick value: an integer text within 1e-5 of a whole
// number, else at most five decimals, as many as the value needs.
Word ticklabel(long double t) {
    int32_t whole = roundint(t);
    if (std::fabs(t - whole) < 1e-5L) return real2intstr(whole);
    int16_t n = decimalsneeded(true, 1, t);
    if (n > 5) n = 5;
    return real2str(t, n, true);
}

// Numbers along the bottom edge (xaxis) or the left edge, from `t` by
// `gap` while t stays below high plus 1e-5 of the window's span; the same
// guards as `ticks`.
void numbers(const PlotWindow& w, Canvas& canvas, bool xaxis, long double t, long double gap,
             long double high, long double low, long double ticklength) {
    if (!(gap > 0)) return;
    for (;;) {
        long double next = t + gap;
        if (next == t) return;
        t = next;
        if (t - high >= 1e-5L * (high - low)) return;
        long double px, py;
        Word label = ticklabel(t);
        if (xaxis) {
            topage(w, t, w.ylow - 3 * ticklength, px, py);
            canvas.text(px, py, viewof(label), TextRole::centred);
        } else {
            topage(w, w.xlow - 2 * ticklength, t, px, py);
            canvas.text(px, py - 4, viewof(label), TextRole::right);
        }
    }
}

// The title line and the info lines above the plot, the last at top + 10.
void titleblock(const Diagram& d, const Text& banner, const Text& stamp, Canvas& canvas) {
    const DrawingOptions& o = d.options;
    int16_t n = o.ninfo;
    if (n < 0) n = 0;
    if (n > maxinfo) n = maxinfo;
    float y = static_cast<float>((n + 1) * titleleading + plottop + titlegap);
    y -= titleleading;
    {
        ItemGroup group(canvas, "title", "title");
        Text title;
        settext(title, " ");
        addtext(title, banner);
        addtext(title, " (running at ");
        addtext(title, stamp);
        addtext(title, ") ");
        canvas.text(plotleft, y, viewof(title), TextRole::heading);
    }
    ItemGroup group(canvas, "info", "info");
    for (int k = 2; k <= n + 1; ++k) {
        y -= titleleading;
        canvas.text(plotleft, y, viewof(o.info[k - 1]), TextRole::caption);
    }
}

}  // namespace

void drawframe(const Diagram& d, const Text& banner, const Text& stamp, Canvas& canvas) {
    const PlotWindow& w = d.window;
    const TickMarks& tm = d.ticks;
    long double xt = (w.xhigh - w.xlow) / 60;
    long double yt = (w.yhigh - w.ylow) / 60;

    canvas.font(framefontsize);
    canvas.blank();
    canvas.linewidth(titlelinewidth);
    titleblock(d, banner, stamp, canvas);

    canvas.linewidth(boxlinewidth);
    canvas.blank();
    canvas.comment("window box");
    canvas.blank();
    {
        ItemGroup group(canvas, "frame", "frame");
        canvas.moveto(pathpoint(w, w.xlow, w.ylow, noname));
        canvas.lineto(pathpoint(w, w.xlow, w.yhigh, noname));
        canvas.lineto(pathpoint(w, w.xhigh, w.yhigh, noname));
        canvas.lineto(pathpoint(w, w.xhigh, w.ylow, noname));
        canvas.lineto(pathpoint(w, w.xlow, w.ylow, noname));
        canvas.stroke();
    }
    canvas.blank();

    canvas.linewidth(ticklinewidth);
    canvas.blank();
    {
        ItemGroup group(canvas, "ticks", "ticks");
        ticks(w, canvas, true, tm.xstart - tm.xtickgap, tm.xtickgap, w.xhigh, yt);
        ticks(w, canvas, false, tm.ystart - tm.ytickgap, tm.ytickgap, w.yhigh, xt);
    }

    canvas.font(framefontsize);
    canvas.blank();
    {
        ItemGroup group(canvas, "axis-numbers", "axis-numbers");
        numbers(w, canvas, true, tm.xstart - tm.xtickgap, tm.xtickgap, w.xhigh, w.xlow, yt);
        numbers(w, canvas, false, tm.ystart - tm.ytickgap, tm.ytickgap, w.yhigh, w.ylow, xt);
    }

    if (tm.smallticks) {
        ItemGroup group(canvas, "small-ticks", "ticks small");
        ticks(w, canvas, true, w.xlow, tm.smallxgap, w.xhigh, yt / 2);
        ticks(w, canvas, false, w.ylow, tm.smallygap, w.yhigh, xt / 2);
    }
}
