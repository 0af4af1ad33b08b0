// drawdiagram.cpp - the document headers, drawdiagram and pagefit.
#include "drawing/drawdiagram.h"

#include "drawing/areas.h"
#include "drawing/figure.h"
#include "drawing/frame.h"
#include "drawing/lines.h"
#include "drawing/page.h"
#include "drawing/points.h"

namespace gridel::drawing {

namespace {

// The credit after the banner on the document's creator line.
constexpr const char* creatorcredit = "(phase diagram drawing)";

}  // namespace

PageHeader pageheader(const text::Text& banner, const text::Text& stamp) {
    PageHeader h;
    h.boxleft = pageboxleft;
    h.boxbottom = pageboxbottom;
    h.boxright = pageboxright;
    h.boxtop = pageboxtop;
    text::settext(h.creator, banner);
    text::addtext(h.creator, " ");
    addtext(h.creator, creatorcredit);
    h.created = stamp;
    h.fontsize = framefontsize;
    return h;
}

PageHeader documentheader(const text::Text& banner, const text::Text& stamp, const PageBox& box, const text::Text& title) {
    PageHeader h = pageheader(banner, stamp);
    h.boxleft = static_cast<int16_t>(box.left);
    h.boxbottom = static_cast<int16_t>(box.bottom);
    h.boxright = static_cast<int16_t>(box.right);
    h.boxtop = static_cast<int16_t>(box.top);
    h.title = title;
    return h;
}

void drawdiagram(const diagram::Diagram& d, const DrawingPlan& plan, const text::Text& banner, const text::Text& stamp,
                 Canvas& canvas) {
    if (diagram::isyes(d.options.doareas)) {
        paintareas(d, plan.figure.map, plan.areas, canvas);
        drawfieldnames(d, plan.figure, canvas);
    }
    drawframe(d, plan.figure, banner, stamp, canvas);
    drawlines(d, plan.figure, canvas);
    if (diagram::isyes(d.options.docircles)) drawpoints(d, plan.figure, lastlinedashed(d), canvas);
    drawfreetexts(d, plan.figure.texts, canvas);
    drawhalolabels(d, plan.figure, canvas);
    drawtitlesandkey(d, plan.figure, canvas);
}

PageFit pagefit(const diagram::Diagram& d, bool crop) {
    const diagram::FigureOptions& f = d.figure;
    bool reaching = f.legend != diagram::LegendPlace::none || f.xlabel.len > 0 || f.ylabel.len > 0 || f.fontsize > 0;
    if (f.widthmm > 0 || (crop && reaching)) return PageFit::content;
    if (crop) return PageFit::cropped;
    return reaching ? PageFit::grown : PageFit::fixed;
}

}  // namespace gridel::drawing
