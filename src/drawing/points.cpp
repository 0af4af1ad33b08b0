// points.cpp - drawpoints.
#include "drawing/points.h"

#include "drawing/figure.h"
#include "drawing/items.h"
#include "drawing/page.h"

void drawpoints(const Diagram& d, const FigurePlan& plan, bool dashed, Canvas& canvas) {
    const PlotWindow& w = d.window;
    const DrawingOptions& o = d.options;
    // With halos the numbers are drawn once every point is.
    bool numbering = isyes(o.numbering) && plan.style.halo == 0;
    size_t nextlabel = 0;
    canvas.linewidth(lineweights(d).circle);
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
        topage(plan.map, p.x, p.y, px, py);
        canvas.circle(px, py, plan.style.circle);
        canvas.stroke();
        if (!numbering) {
            canvas.blank();
            continue;
        }
        if (nextlabel < plan.pointlabels.size() && plan.pointlabels[nextlabel].item == k)
            drawlabel(d, plan, plan.pointlabels[nextlabel++], TextFace::regular, canvas);
        canvas.blank();
    }
}
