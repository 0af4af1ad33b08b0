// frame.cpp - drawframe: title block, window box, ticks, axis numbers.
#include "drawing/frame.h"

#include <cmath>

#include "drawing/figure.h"
#include "drawing/items.h"
#include "drawing/page.h"
#include "geometry/axisnumbers.h"
#include "text/markup.h"
#include "text/numfmt.h"

namespace gridel::drawing {

namespace {

constexpr long double titlelinewidth = 1;      // the title block's lines
constexpr int titleleading = 18;               // points between title lines
constexpr int titlegap = 10;                   // from the square's top to the last title line

// Tick marks along the bottom edge (xaxis) or the left edge, each `length`
// long: t goes from `t` by `gap` until it is at least high - gap.  The loop
// also ends when adding the gap no longer changes t (a gap below the
// arithmetic's resolution at that magnitude), and draws nothing for a gap
// that is not positive, which the script reader never lets through.
void ticks(const geometry::PageMap& m, Canvas& canvas, bool xaxis, long double t, long double gap, long double high,
           long double length) {
    const diagram::PlotWindow& w = m.window;
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
void numbers(const geometry::FigurePlan& plan, Canvas& canvas, bool xaxis, long double t, long double gap,
             long double high, long double low, long double ticklength) {
    const geometry::PageMap& m = plan.map;
    const diagram::PlotWindow& w = m.window;
    for (long double v : geometry::axisvalues(t, gap, high, low)) {
        long double px, py;
        text::Word label = geometry::ticklabel(v);
        if (plan.style.metricframe) {
            TextLook style = textlook(plan.style.fontsize);
            if (xaxis) {
                geometry::topage(m, v, w.ylow, px, py);
                canvas.styledtext(px, plan.numbers.xbaseline, text::viewof(label), TextRole::centred, style);
            } else {
                geometry::topage(m, w.xlow, v, px, py);
                canvas.styledtext(plan.numbers.yright, py - plan.numbers.ydrop, text::viewof(label), TextRole::right, style);
            }
        } else if (xaxis) {
            geometry::topage(m, v, w.ylow - 3 * ticklength, px, py);
            canvas.text(px, py, text::viewof(label), TextRole::centred);
        } else {
            geometry::topage(m, w.xlow - 2 * ticklength, v, px, py);
            canvas.text(px, py - 4, text::viewof(label), TextRole::right);
        }
    }
}

// The title line and the info lines above the plot, the last at top + 10
// (with a font size, 10 points in 12 above and 18 in 12 apart).
void titleblock(const diagram::Diagram& d, const geometry::FigurePlan& plan, const text::Text& banner, const text::Text& stamp, Canvas& canvas) {
    const diagram::DrawingOptions& o = d.options;
    const diagram::FigureOptions& f = d.figure;
    int16_t n = o.ninfo;
    if (n < 0) n = 0;
    if (n > diagram::maxinfo) n = diagram::maxinfo;
    bool metric = plan.style.metricframe;
    long double fs = plan.style.fontsize;
    long double leading = metric ? fs * titleleading / framefontsize : titleleading;
    long double gap = metric ? fs * titlegap / framefontsize : titlegap;
    long double top = plan.map.top;
    float y = static_cast<float>((n + 1) * leading + top + gap);
    // A line of the script's own with markup is drawn with it even in the
    // frame of old, in the frame's font.
    auto show = [&](const text::Text& line, TextRole role) {
        if (metric)
            canvas.styledtext(plan.map.left, y, viewof(line), TextRole::caption, writtenlook(d, fs));
        else if (role == TextRole::caption && hasmarkup(viewof(line), f.formulas))
            canvas.styledtext(plan.map.left, y, viewof(line), TextRole::caption, writtenlook(d, framefontsize));
        else
            canvas.text(plan.map.left, y, viewof(line), role);
    };
    y -= static_cast<float>(leading);
    if (f.title != diagram::TitleMode::off) {
        ItemGroup group(canvas, "title", "title");
        text::Text title;
        if (f.title == diagram::TitleMode::given) {
            title = f.titletext;
        } else {
            text::settext(title, " ");
            text::addtext(title, banner);
            addtext(title, " (running at ");
            addtext(title, stamp);
            addtext(title, ") ");
        }
        show(title, f.title == diagram::TitleMode::given ? TextRole::caption : TextRole::heading);
    }
    ItemGroup group(canvas, "info", "info");
    for (int k = 2; k <= n + 1; ++k) {
        y -= static_cast<float>(leading);
        show(o.info[k - 1], TextRole::caption);
    }
}

}  // namespace

void drawframe(const diagram::Diagram& d, const geometry::FigurePlan& plan, const text::Text& banner, const text::Text& stamp, Canvas& canvas) {
    const geometry::PageMap& m = plan.map;
    const diagram::PlotWindow& w = d.window;
    const diagram::TickMarks& tm = d.ticks;
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

}  // namespace gridel::drawing
