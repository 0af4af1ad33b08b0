// drawing.cpp - the drawing tests' fixture.
#include "drawing/drawing.h"

#include "drawing/drawdiagram.h"
#include "drawing/epscanvas.h"
#include "drawing/fontmeasure.h"
#include "drawing/plan.h"
#include "run/channels.h"
#include "run/commit.h"
#include "run/files.h"
#include "support/capture.h"
#include "support/model.h"
#include "support/floors.h"

namespace drawtest {

void Drawing::SetUp() {
    dir = testsupport::enterscratch();
    reset();
}

void Drawing::TearDown() { testsupport::leavescratch(dir); }

void Drawing::reset() {
    d = testsupport::freshdiagram();
    d.window = {0, 1, 0, 1};
    d.ticks = {0.5L, 0, 0.5L, 0, 0, 0, false};
}

std::string Drawing::drawn(const std::function<void(Canvas&)>& fn) {
    MemorySink sink;
    EpsCanvas eps(sink);
    fn(eps);
    return sink.kept;
}

std::string Drawing::drawnfile(const char* suffix) {
    run.drawingname = openoutput(run, (std::string("gl-") + suffix).c_str(), maketext<20>(".eps"), chps);
    DrawingPlan plan = plandrawing(run, d);
    ChannelSink sink(run, chps);
    EpsCanvas eps(sink);
    eps.begin(pageheader(run.settings.banner, run.stamp));
    drawdiagram(d, plan, run.settings.banner, run.stamp, eps);
    eps.end();
    testsupport::capturescreen([&] { commitrun(run); });
    return testsupport::readfile(std::string("gl-") + suffix + ".eps");
}

FigurePlan Drawing::figureplan() { return planfigure(d, {}, placelabels(run, d), FontMeasure()); }

std::string Drawing::ghostscriptof(const std::string& drawing) {
    testsupport::writefile("check.eps", drawing);
    return testsupport::ghostscript("check.eps");
}

}  // namespace drawtest
