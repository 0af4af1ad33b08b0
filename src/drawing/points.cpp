// points.cpp - drawpoints.
#include "drawing/points.h"

#include "drawing/figure.h"
#include "drawing/items.h"
#include "drawing/page.h"

namespace gridel::drawing {

void drawpoints(const diagram::Diagram& d, const geometry::FigurePlan& plan, bool dashed, Canvas& canvas) {
    const diagram::PlotWindow& w = d.window;
    const diagram::DrawingOptions& o = d.options;
    // With halos the numbers are drawn once every point is.
    bool numbering = diagram::isyes(o.numbering) && plan.style.halo == 0;
    size_t nextlabel = 0;
    canvas.linewidth(lineweights(d).circle);
    canvas.blank();
    for (int k = 1; k <= d.npoints && k <= diagram::maxpoints; ++k) {
        const diagram::InvariantPoint& p = d.points[k];
        if (!(p.x > w.xlow && p.x < w.xhigh && p.y > w.ylow && p.y < w.yhigh)) continue;
        if (dashed) {
            canvas.dash(false);
            dashed = false;
        }
        ItemGroup group(canvas, itemid(p.name, "point", k), "point", pointtitle(p));
        long double px, py;
        geometry::topage(plan.map, p.x, p.y, px, py);
        canvas.circle(px, py, plan.style.circle);
        canvas.stroke();
        if (!numbering) {
            canvas.blank();
            continue;
        }
        if (nextlabel < plan.pointlabels.size() && plan.pointlabels[nextlabel].item == k)
            drawlabel(d, plan, plan.pointlabels[nextlabel++], geometry::TextFace::regular, canvas);
        canvas.blank();
    }
}

}  // namespace gridel::drawing
