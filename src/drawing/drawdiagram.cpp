// drawdiagram.cpp - the document headers, drawdiagram and pagefit.
#include "drawing/drawdiagram.h"

#include "drawing/areas.h"
#include "drawing/figure.h"
#include "drawing/frame.h"
#include "drawing/lines.h"
#include "drawing/page.h"
#include "drawing/points.h"

namespace {

// The credit after the banner on the document's creator line.
constexpr const char* creatorcredit = "(phase diagram drawing)";

}  // namespace

PageHeader pageheader(const Text& banner, const Text& stamp) {
    PageHeader h;
    h.boxleft = pageboxleft;
    h.boxbottom = pageboxbottom;
    h.boxright = pageboxright;
    h.boxtop = pageboxtop;
    settext(h.creator, banner);
    addtext(h.creator, " ");
    addtext(h.creator, creatorcredit);
    h.created = stamp;
    h.fontsize = framefontsize;
    return h;
}

PageHeader documentheader(const Text& banner, const Text& stamp, const PageBox& box, const Text& title) {
    PageHeader h = pageheader(banner, stamp);
    h.boxleft = static_cast<int16_t>(box.left);
    h.boxbottom = static_cast<int16_t>(box.bottom);
    h.boxright = static_cast<int16_t>(box.right);
    h.boxtop = static_cast<int16_t>(box.top);
    h.title = title;
    return h;
}

void drawdiagram(const Diagram& d, const DrawingPlan& plan, const Text& banner, const Text& stamp,
                 Canvas& canvas) {
    if (isyes(d.options.doareas)) {
        paintareas(d, plan.figure.map, plan.areas, canvas);
        drawfieldnames(d, plan.figure, canvas);
    }
    drawframe(d, plan.figure, banner, stamp, canvas);
    drawlines(d, plan.figure, canvas);
    if (isyes(d.options.docircles)) drawpoints(d, plan.figure, lastlinedashed(d), canvas);
    drawfreetexts(d, plan.figure.texts, canvas);
    drawhalolabels(d, plan.figure, canvas);
    drawtitlesandkey(d, plan.figure, canvas);
}

PageFit pagefit(const Diagram& d, bool crop) {
    const FigureOptions& f = d.figure;
    bool reaching = f.legend != LegendPlace::none || f.xlabel.len > 0 || f.ylabel.len > 0 || f.fontsize > 0;
    if (f.widthmm > 0 || (crop && reaching)) return PageFit::content;
    if (crop) return PageFit::cropped;
    return reaching ? PageFit::grown : PageFit::fixed;
}
