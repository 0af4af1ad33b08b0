// points.cpp - drawpoints.
#include "drawing/points.h"

#include "drawing/items.h"
#include "drawing/page.h"

namespace {

constexpr long double circlelinewidth = 0.2L;

}  // namespace

void drawpoints(const Diagram& d, bool dashed, Canvas& canvas) {
    const PlotWindow& w = d.window;
    const DrawingOptions& o = d.options;
    bool numbering = isyes(o.numbering);
    canvas.linewidth(circlelinewidth);
    canvas.blank();
    for (int k = 1; k <= d.npoints && k <= maxpoints; ++k) {
        const InvariantPoint& p = d.points[k];
        if (!(p.x > w.xlow && p.x < w.xhigh && p.y > w.ylow && p.y < w.yhigh)) continue;
        if (dashed) {
            canvas.dash(false);
            dashed = false;
        }
        ItemGroup group(canvas, itemid(p.name, "point", k), "point", pointtitle(p));
        long double px, py;
        topage(w, p.x, p.y, px, py);
        canvas.circle(px, py, o.circlesize);
        canvas.stroke();
        if (!numbering) {
            canvas.blank();
            continue;
        }
        TextView label = {p.name.c + (p.name.len > 1 ? 1 : 0), p.name.len > 1 ? p.name.len - 1 : 0};
        canvas.text(px, py - o.numbersize / 3.0L, label, TextRole::centred);
        canvas.blank();
    }
}
