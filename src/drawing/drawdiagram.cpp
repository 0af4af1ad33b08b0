// drawdiagram.cpp - pageheader and drawdiagram.
#include "drawing/drawdiagram.h"

#include "drawing/areas.h"
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

void drawdiagram(const Diagram& d, const DrawingPlan& plan, const Text& banner, const Text& stamp,
                 Canvas& canvas) {
    if (isyes(d.options.doareas)) paintareas(d, plan.areas, canvas);
    drawframe(d, banner, stamp, canvas);
    drawlines(d, plan.labels, canvas);
    if (isyes(d.options.docircles)) drawpoints(d, lastlinedashed(d), canvas);
}
