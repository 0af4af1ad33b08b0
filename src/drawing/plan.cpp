// plan.cpp - plandrawing and pagebox.
#include "drawing/plan.h"

#include <cmath>

#include "drawing/cairocanvas.h"
#include "drawing/fontmeasure.h"
#include "drawing/page.h"
#include "geometry/areas.h"
#include "geometry/assembly.h"
#include "geometry/crossovers.h"
#include "geometry/freetexts.h"
#include "geometry/labels.h"
#include "run/failure.h"

namespace {

// Room left round the drawn content when an output is cropped, in points.
constexpr long double cropmargin = 4;

// Where ink is looked for when a figure's content decides its page: far
// round any plot box a script can ask for.
constexpr PageBox figurereach = {-20000, -20000, 20000, 20000};

// The halo of a free text, in its size, when the numbers have none to
// take it from (they are not drawn): theirs, 0.3 of their size.
constexpr long double texthalo = 0.3L;

// The width of the free texts' halo: the numbers' halo in proportion to
// the texts' size, when `labels halo` gives halos; else none.
long double freetexthalo(const Diagram& d, const FigureStyle& style) {
    if (!d.figure.halo) return 0;
    if (style.labelsize > 0 && style.halo > 0) return style.halo * style.fontsize / style.labelsize;
    return texthalo * style.fontsize;
}

}  // namespace

DrawingPlan plandrawing(Run& run, Diagram& diagram) {
    placecrossovers(run, diagram);
    assemblelines(run, diagram);
    stopifinterrupted();
    DrawingPlan plan;
    if (isyes(diagram.options.doareas)) plan.areas = traceareas(run, diagram);
    plan.labels = placelabels(run, diagram);
    plan.figure = planfigure(diagram, plan.areas, plan.labels, FontMeasure(diagram.figure.formulas));
    plan.texts = placefreetexts(diagram, plan.figure.map, plan.figure.style.fontsize, freetexthalo(diagram, plan.figure.style),
                                FontMeasure(diagram.figure.formulas));
    stopifinterrupted();
    return plan;
}

PageBox pagebox(PageFit fit, const std::function<void(Canvas&)>& draw) {
    PageBox page = {pageboxleft, pageboxbottom, pageboxright, pageboxtop};
    PageBox ink;
    if (fit == PageFit::fixed || !inkbox(draw, fit == PageFit::cropped ? page : figurereach, ink)) return page;
    PageBox content = {std::floor(ink.left - cropmargin), std::floor(ink.bottom - cropmargin),
                       std::ceil(ink.right + cropmargin), std::ceil(ink.top + cropmargin)};
    if (fit != PageFit::grown) return content;
    return {std::fmin(page.left, content.left), std::fmin(page.bottom, content.bottom),
            std::fmax(page.right, content.right), std::fmax(page.top, content.top)};
}
