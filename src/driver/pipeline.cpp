// pipeline.cpp - drawrun: start-up, the diagram read, the geometry, the
// drawing in every format the run writes, and the commit of its outputs.
#include "driver/pipeline.h"

#include <cerrno>
#include <functional>
#include <string>

#include "diagram/readdata.h"
#include "diagram/readscript.h"
#include "diagram/startdiagram.h"
#include "drawing/drawdiagram.h"
#include "drawing/formats.h"
#include "drawing/plan.h"
#include "run/channels.h"
#include "run/commit.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/signals.h"
#include "run/startup.h"

namespace gridel::driver {

namespace {

// Write the drawing in every format the run writes, in the table's order,
// each a whole document (begun with its creator named and its title the
// data file's name, drawn and ended) on the page `box`.  A format whose
// page cannot be made or written ends the run.
void writedrawings(run::Run& run, const drawing::PageBox& box, int dpi, const std::function<void(drawing::Canvas&)>& draw) {
    // The data file's name: named on the command line, or chosen in a
    // classic run, where the run still stands in it.
    const text::Text& title = run.datafile.name.len > 0 ? run.datafile.name : run.place.file;
    drawing::PageHeader header = documentheader(run.settings.banner, run.stamp, box, title);
    auto document = [&](drawing::Canvas& canvas) {
        canvas.begin(header);
        draw(canvas);
        canvas.end();
    };
    for (int k = 0; k < drawing::formatcount; ++k) {
        int channel = run::chps + k;
        if (!(run.outputs & (1u << channel))) continue;
        run::ChannelSink sink(run, channel);
        std::string reason;
        if (!drawing::drawingformats[k].page(box, dpi, sink, document, reason)) {
            run::stopifinterrupted();  // an ending signal stopped the writing
            const char* path = run.channels[channel].path;
            if (errno != 0 && reason.empty()) run::ioerror(run, path);
            run::outputfailure(run, path, reason.c_str());
        }
    }
}

// A check: what a run reads and computes, with its warnings, and nothing
// drawn or written.  A failure is reported and the check goes on with what
// can still be read: after one in the preferences, the data file with the
// defaults; after one in the data section, the script section.  The
// geometry needs the whole diagram: it runs only when all was read.
int checkrun(run::Run& run) {
    int status = run::exitnormal;
    auto attempt = [&](const std::function<void()>& step) {
        try {
            step();
            return true;
        } catch (const run::RunEnd& end) {
            if (end.status != run::exitfailed) throw;  // an input/output error ends the check
            status = run::exitfailed;
            return false;
        }
    };
    attempt([&] { startup(run, run::programbanner); });
    diagram::Diagram diagram;
    diagram::startdiagram(run, diagram);
    diagram::ReadProgress progress;
    if (!attempt([&] { diagram::readdata(run, diagram, progress); })) {
        if (progress.datafile.len > 0 && !progress.script)
            attempt([&] { diagram::readscriptafterfailure(run, diagram, progress.datafile); });
        return status;
    }
    attempt([&] { drawing::plandrawing(run, diagram); });
    return status;
}

}  // namespace

int drawrun(run::Run& run, bool crop, int dpi) {
    if (run.checking) return checkrun(run);
    startup(run, run::programbanner);
    diagram::Diagram diagram;
    diagram::startdiagram(run, diagram);
    diagram::readdata(run, diagram);
    run::stopifinterrupted();

    // The outputs are created before the geometry runs, so that one that
    // cannot be created stops the run before the log reports the lines.
    for (int channel = run::chps; channel < run::chps + drawing::formatcount; ++channel) {
        if (!(run.outputs & (1u << channel))) continue;
        text::Text name = opendrawing(run, channel);
        if (channel == run::chps) run.drawingname = name;
    }
    drawing::DrawingPlan plan = drawing::plandrawing(run, diagram);
    auto draw = [&](drawing::Canvas& canvas) { drawing::drawdiagram(diagram, plan, run.settings.banner, run.stamp, canvas); };
    writedrawings(run, drawing::pagebox(drawing::pagefit(diagram, crop), draw, &plan.widths), dpi, draw);

    text::Text closing;
    text::settext(closing, run::programbanner);
    text::addtext(closing, " run at ");
    addtext(closing, run.stamp);
    putstr(run, 1, closing, 1, run::setwlog);
    // The line that names the drawing is written by the commit, once the
    // drawings are in place: a run whose drawings were not kept says so instead.
    settext(closing, "with diagram in file, ");
    addtext(closing, run.drawingname);
    int status = commitrun(run, closing.c, closing.len);
    if (status == run::exitnormal) reportwarnings(run, checkcommand(run));
    return status;
}

void askformats(run::Run& run, uint32_t formats) {
    for (int k = 0; k < drawing::formatcount; ++k) {
        run.drawings[k] = drawing::drawingformats[k].kind;
        if (drawing::drawingformats[k].always || (formats & (1u << k))) run.outputs |= 1u << (run::chps + k);
    }
}

}  // namespace gridel::driver
