// plan.cpp - plandrawing and pagebox.
#include "drawing/plan.h"

#include <cmath>

#include "drawing/cairocanvas.h"
#include "drawing/fontmeasure.h"
#include "drawing/page.h"
#include "geometry/areas.h"
#include "geometry/assembly.h"
#include "geometry/crossovers.h"
#include "geometry/labels.h"
#include "run/diagnostics.h"
#include "run/failure.h"

namespace gridel::drawing {

namespace {

// Room left round the drawn content when an output is cropped, in points.
constexpr long double cropmargin = 4;

// Where ink is looked for when a figure's content decides its page: far
// round any plot box a script can ask for.
constexpr PageBox figurereach = {-20000, -20000, 20000, 20000};

// A warning for each number kept where it may be read as another item's.
void warnunclear(run::Run& run, const diagram::Diagram& d, const geometry::FigurePlan& figure) {
    using geometry::UnclearNumber;
    for (const UnclearNumber& u : figure.unclear) {
        const text::Word& name = u.point ? d.points[u.item].name : d.lines[u.item].name;
        int32_t line = u.point ? d.pointlines[static_cast<size_t>(u.item)] : d.linelines[static_cast<size_t>(u.item)];
        std::string own = u.point ? "its own circle" : "its own line";
        std::string other;
        if (u.nearest == UnclearNumber::Near::line) other = run::wordtext(d.lines[u.other].name);
        if (u.nearest == UnclearNumber::Near::circle) other = run::wordtext(d.points[u.other].name);
        if (other.empty())
            run::warning(run, line, name, "its number stands as near another number or text as " + own +
                                         ", or nearer, in every place tried");
        else
            run::warning(run, line, name, "its number may be read as " + other + "'s: it stands as near " + other +
                                         " as " + own + ", or nearer, in every place tried");
    }
}

// A warning for each field whose number, standing in for a name that fits
// nowhere, found no room either and stands at the field's centre within a
// digit's width of a line's or point's number or a free text.
void warncrowded(run::Run& run, const diagram::Diagram& d, const geometry::FigurePlan& figure) {
    for (int16_t area : figure.crowded)
        run::warning(run, d.arealines[static_cast<size_t>(area)], diagram::areaname(area),
                     "its name fits nowhere and its number has no room either: at the field's centre it stands "
                     "within a digit's width of another number or text");
}

}  // namespace

DrawingPlan plandrawing(run::Run& run, diagram::Diagram& diagram) {
    geometry::placecrossovers(run, diagram);
    geometry::assemblelines(run, diagram);
    run::stopifinterrupted();
    DrawingPlan plan;
    if (diagram::isyes(diagram.options.doareas)) plan.areas = geometry::traceareas(run, diagram);
    plan.labels = geometry::placelabels(run, diagram);
    plan.figure = planfigure(diagram, plan.areas, plan.labels, FontMeasure(diagram.figure.formulas, &plan.widths));
    warnunclear(run, diagram, plan.figure);
    warncrowded(run, diagram, plan.figure);
    run::stopifinterrupted();
    return plan;
}

PageBox pagebox(PageFit fit, const std::function<void(Canvas&)>& draw, const SetWidths* widths) {
    PageBox page = {pageboxleft, pageboxbottom, pageboxright, pageboxtop};
    PageBox ink;
    if (fit == PageFit::fixed || !inkbox(draw, fit == PageFit::cropped ? page : figurereach, ink, false, widths))
        return page;
    PageBox content = {std::floor(ink.left - cropmargin), std::floor(ink.bottom - cropmargin),
                       std::ceil(ink.right + cropmargin), std::ceil(ink.top + cropmargin)};
    if (fit != PageFit::grown) return content;
    return {std::fmin(page.left, content.left), std::fmin(page.bottom, content.bottom),
            std::fmax(page.right, content.right), std::fmax(page.top, content.top)};
}

}  // namespace gridel::drawing
