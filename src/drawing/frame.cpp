// frame.cpp - drawframe: title block, window box, ticks, axis numbers.
#include "drawing/frame.h"

#include <cmath>

#include "drawing/figure.h"
#include "drawing/items.h"
#include "drawing/page.h"
#include "geometry/axisnumbers.h"
#include "text/markup.h"
#include "text/numfmt.h"

namespace {

constexpr long double titlelinewidth = 1;      // the title block's lines
constexpr int titleleading = 18;               // points between title lines
constexpr int titlegap = 10;                   // from the square's top to the last title line

// Tick marks along the bottom edge (xaxis) or the left edge, each `length`
// long: t goes from `t` by `gap` until it is at least high - gap.  The loop
// also ends when adding the gap no longer changes t (a gap below the
// arithmetic's resolution at that magnitude), and draws nothing for a gap
// that is not positive, which the script reader never lets through.
void ticks(const PageMap& m, Canvas& canvas, bool xaxis, long double t, long double gap, long double high,
           long double length) {
    const PlotWindow& w = m.window;
    if (!(gap > 0)) return;
    for (;;) {
        long double next = t + gap;
        if (next == t) return;
        t = next;
        if (xaxis) {
            canvas.moveto(pathpoint(m, t, w.ylow, noname));
            canvas.lineto(pathpoint(m, t, w.ylow + length, noname));
        } else {
            canvas.moveto(pathpoint(m, w.xlow, t, noname));
            canvas.lineto(pathpoint(m, w.xlow + length, t, noname));
        }
        canvas.stroke();
        if (t >= high - gap) return;
    }
}

// Numbers along the bottom edge (xaxis) or the left edge at the values
// axisvalues gives from `t` by `gap`: where they always stood, or where
// the plan puts them.
void numbers(const FigurePlan& plan, Canvas& canvas, bool xaxis, long double t, long double gap,
             long double high, long double low, long double ticklength) {
    const PageMap& m = plan.map;
    const PlotWindow& w = m.window;
    for (long double v : axisvalues(t, gap, high, low)) {
        long double px, py;
        Word label = ticklabel(v);
        if (plan.style.metricframe) {
            TextLook style = textlook(plan.style.fontsize);
            if (xaxis) {
                topage(m, v, w.ylow, px, py);
                canvas.styledtext(px, plan.numbers.xbaseline, viewof(label), TextRole::centred, style);
            } else {
                topage(m, w.xlow, v, px, py);
                canvas.styledtext(plan.numbers.yright, py - plan.numbers.ydrop, viewof(label), TextRole::right, style);
            }
        } else if (xaxis) {
            topage(m, v, w.ylow - 3 * ticklength, px, py);
            canvas.text(px, py, viewof(label), TextRole::centred);
        } else {
            topage(m, w.xlow - 2 * ticklength, v, px, py);
            canvas.text(px, py - 4, viewof(label), TextRole::right);
        }
    }
}

// The title line and the info lines above the plot, the last at top + 10
// (with a font size, 10 points in 12 above and 18 in 12 apart).
void titleblock(const Diagram& d, const FigurePlan& plan, const Text& banner, const Text& stamp, Canvas& canvas) {
    const DrawingOptions& o = d.options;
    const FigureOptions& f = d.figure;
    int16_t n = o.ninfo;
    if (n < 0) n = 0;
    if (n > maxinfo) n = maxinfo;
    bool metric = plan.style.metricframe;
    long double fs = plan.style.fontsize;
    long double leading = metric ? fs * titleleading / framefontsize : titleleading;
    long double gap = metric ? fs * titlegap / framefontsize : titlegap;
    long double top = plan.map.top;
    float y = static_cast<float>((n + 1) * leading + top + gap);
    // A line of the script's own with markup is drawn with it even in the
    // frame of old, in the frame's font.
    auto show = [&](const Text& line, TextRole role) {
        if (metric)
            canvas.styledtext(plan.map.left, y, viewof(line), TextRole::caption, writtenlook(d, fs));
        else if (role == TextRole::caption && hasmarkup(viewof(line), f.formulas))
            canvas.styledtext(plan.map.left, y, viewof(line), TextRole::caption, writtenlook(d, framefontsize));
        else
            canvas.text(plan.map.left, y, viewof(line), role);
    };
    y -= static_cast<float>(leading);
    if (f.title != TitleMode::off) {
        ItemGroup group(canvas, "title", "title");
        Text title;
        if (f.title == TitleMode::given) {
            title = f.titletext;
        } else {
            settext(title, " ");
            addtext(title, banner);
            addtext(title, " (running at ");
            addtext(title, stamp);
            addtext(title, ") ");
        }
        show(title, f.title == TitleMode::given ? TextRole::caption : TextRole::heading);
    }
    ItemGroup group(canvas, "info", "info");
    for (int k = 2; k <= n + 1; ++k) {
        y -= static_cast<float>(leading);
        show(o.info[k - 1], TextRole::caption);
    }
}

}  // namespace

void drawframe(const Diagram& d, const FigurePlan& plan, const Text& banner, const Text& stamp, Canvas& canvas) {
    const PageMap& m = plan.map;
    const PlotWindow& w = d.window;
    const TickMarks& tm = d.ticks;
    LineWeights weights = lineweights(d);
    long double xt = (w.xhigh - w.xlow) / 60;
    long double yt = (w.yhigh - w.ylow) / 60;

    canvas.font(framefontsize);
    canvas.blank();
    canvas.linewidth(titlelinewidth);
    titleblock(d, plan, banner, stamp, canvas);

    canvas.linewidth(weights.box);
    canvas.blank();
    canvas.comment("window box");
    canvas.blank();
    {
        ItemGroup group(canvas, "frame", "frame");
        canvas.moveto(pathpoint(m, w.xlow, w.ylow, noname));
        canvas.lineto(pathpoint(m, w.xlow, w.yhigh, noname));
        canvas.lineto(pathpoint(m, w.xhigh, w.yhigh, noname));
        canvas.lineto(pathpoint(m, w.xhigh, w.ylow, noname));
        canvas.lineto(pathpoint(m, w.xlow, w.ylow, noname));
        canvas.stroke();
    }
    canvas.blank();

    canvas.linewidth(weights.tick);
    canvas.blank();
    {
        ItemGroup group(canvas, "ticks", "ticks");
        ticks(m, canvas, true, tm.xstart - tm.xtickgap, tm.xtickgap, w.xhigh, yt);
        ticks(m, canvas, false, tm.ystart - tm.ytickgap, tm.ytickgap, w.yhigh, xt);
    }

    canvas.font(framefontsize);
    canvas.blank();
    {
        ItemGroup group(canvas, "axis-numbers", "axis-numbers");
        numbers(plan, canvas, true, tm.xstart - tm.xtickgap, tm.xtickgap, w.xhigh, w.xlow, yt);
        numbers(plan, canvas, false, tm.ystart - tm.ytickgap, tm.ytickgap, w.yhigh, w.ylow, xt);
    }

    if (tm.smallticks) {
        ItemGroup group(canvas, "small-ticks", "ticks small");
        ticks(m, canvas, true, w.xlow, tm.smallxgap, w.xhigh, yt / 2);
        ticks(m, canvas, false, w.ylow, tm.smallygap, w.yhigh, xt / 2);
    }
}
