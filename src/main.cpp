// main.cpp - gridel: a phase diagram description in, an EPS drawing out.
//
// One run, in a fixed order: start-up, the start of the diagram, reading the
// data file, the drawing file opened, crossovers, line assembly, area
// boundaries and label places, drawing, the closing stamp, closing all
// files (only then does the drawing replace an older one of its name).
#include <csignal>

#include "diagram/readdata.h"
#include "diagram/startdiagram.h"
#include "drawing/drawdiagram.h"
#include "drawing/epscanvas.h"
#include "geometry/areas.h"
#include "geometry/assembly.h"
#include "geometry/crossovers.h"
#include "geometry/labels.h"
#include "run/channels.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/run.h"
#include "run/startup.h"

namespace {

// Create gl-<suffix>.eps as the channel `ps`; its name goes to the run.
void opendrawing(Run& run) {
    Text base;
    settext(base, "gl-");
    addtext(base, run.settings.datafile);
    const Word extension = maketext<20>(".eps");
    char cbase[256];
    // The data file was found under the same suffix, so it holds no NUL
    // byte; if it did, openoutput reports the name it cannot create.
    if (tocstring(base, cbase))
        run.drawingname = openoutput(run, cbase, extension, chps);
    else
        run.drawingname = openoutput(run, "gl-", run.settings.datafile, chps);
}

}  // namespace

int main() {
    // Before any file is opened: a closed standard stream must not lend its
    // number to the log or the drawing.
    openstandardstreams();
    // A screen piped into a program that stops reading must not kill the
    // run: the log and the drawing are still completed.
    std::signal(SIGPIPE, SIG_IGN);

    Run run{};
    guardoutputfiles(run);
    startup(run, programbanner);
    Diagram diagram;
    startdiagram(run, diagram);
    readdata(run, diagram);

    opendrawing(run);
    EpsCanvas eps(run);
    eps.begin(pageheader(run.settings.banner, run.stamp));
    run.channels[chps].written = true;

    placecrossovers(run, diagram);
    assemblelines(run, diagram);
    DrawingPlan plan;
    if (isyes(diagram.options.doareas)) plan.areas = traceareas(run, diagram);
    plan.labels = placelabels(run, diagram);
    drawdiagram(diagram, plan, run.settings.banner, run.stamp, eps);
    eps.end();

    Text closing;
    settext(closing, programbanner);
    addtext(closing, " run at ");
    addtext(closing, run.stamp);
    putstr(run, 1, closing, 1, setwoutlog);
    settext(closing, "with diagram in file, ");
    addtext(closing, run.drawingname);
    putstr(run, 0, closing, 1, setwoutlog);
    closeall(run);
    return exitnormal;
}
