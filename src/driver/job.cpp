// job.cpp - runjob: the pipeline of a run, from start-up to the closed files.
#include "driver/job.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "diagram/readdata.h"
#include "diagram/readscript.h"
#include "diagram/startdiagram.h"
#include "drawing/drawdiagram.h"
#include "drawing/formats.h"
#include "drawing/plan.h"
#include "driver/watch.h"
#include "run/channels.h"
#include "run/commit.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/lock.h"
#include "run/run.h"
#include "run/signals.h"
#include "run/startup.h"

namespace {

// Write the drawing in every format the run writes, in the table's order,
// each a whole document (begun with its creator named and its title the
// data file's name, drawn and ended) on the page `box`.  A format whose
// page cannot be made or written ends the run.
void writedrawings(Run& run, const PageBox& box, int dpi, const std::function<void(Canvas&)>& draw) {
    // The data file's name: named on the command line, or chosen in a
    // classic run, where the run still stands in it.
    const Text& title = run.datafile.name.len > 0 ? run.datafile.name : run.place.file;
    PageHeader header = documentheader(run.settings.banner, run.stamp, box, title);
    auto document = [&](Canvas& canvas) {
        canvas.begin(header);
        draw(canvas);
        canvas.end();
    };
    for (int k = 0; k < formatcount; ++k) {
        int channel = chps + k;
        if (!(run.outputs & (1u << channel))) continue;
        ChannelSink sink(run, channel);
        std::string reason;
        if (!drawingformats[k].page(box, dpi, sink, document, reason)) {
            stopifinterrupted();  // an ending signal stopped the writing
            const char* path = run.channels[channel].path;
            if (errno != 0 && reason.empty()) ioerror(run, path);
            outputfailure(run, path, reason.c_str());
        }
    }
}

// A check: what a run reads and computes, with its warnings, and nothing
// drawn or written.  A failure is reported and the check goes on with what
// can still be read: after one in the preferences, the data file with the
// defaults; after one in the data section, the script section.  The
// geometry needs the whole diagram: it runs only when all was read.
int checkrun(Run& run) {
    int status = exitnormal;
    auto attempt = [&](const std::function<void()>& step) {
        try {
            step();
            return true;
        } catch (const RunEnd& end) {
            if (end.status != exitfailed) throw;  // an input/output error ends the check
            status = exitfailed;
            return false;
        }
    };
    attempt([&] { startup(run, programbanner); });
    Diagram diagram;
    startdiagram(run, diagram);
    ReadProgress progress;
    if (!attempt([&] { readdata(run, diagram, progress); })) {
        if (progress.datafile.len > 0 && !progress.script)
            attempt([&] { readscriptafterfailure(run, diagram, progress.datafile); });
        return status;
    }
    attempt([&] { plandrawing(run, diagram); });
    return status;
}

// The run from start-up to its closed files, when it ends normally; a run
// that ends early throws its end (RunEnd) from wherever it stops.
int drawrun(Run& run, const Options& options) {
    if (run.checking) return checkrun(run);
    startup(run, programbanner);
    Diagram diagram;
    startdiagram(run, diagram);
    readdata(run, diagram);
    stopifinterrupted();

    // The outputs are created before the geometry runs, so that one that
    // cannot be created stops the run before the log reports the lines.
    for (int channel = chps; channel < chps + formatcount; ++channel) {
        if (!(run.outputs & (1u << channel))) continue;
        Text name = opendrawing(run, channel);
        if (channel == chps) run.drawingname = name;
    }
    DrawingPlan plan = plandrawing(run, diagram);
    auto draw = [&](Canvas& canvas) { drawdiagram(diagram, plan, run.settings.banner, run.stamp, canvas); };
    writedrawings(run, pagebox(pagefit(diagram, options.crop), draw), options.dpi, draw);

    Text closing;
    settext(closing, programbanner);
    addtext(closing, " run at ");
    addtext(closing, run.stamp);
    putstr(run, 1, closing, 1, setwlog);
    // The line that names the drawing is written by the commit, once the
    // drawings are in place: a run whose drawings were not kept says so instead.
    settext(closing, "with diagram in file, ");
    addtext(closing, run.drawingname);
    int status = commitrun(run, closing.c, closing.len);
    if (status == exitnormal) reportwarnings(run, checkcommand(run));
    return status;
}

// One run, in a Run of its own: the classic one (no path) or the diagram
// of a data file, in that file's folder.  Its files are closed and its
// locks given back whether it ends normally or early; its exit status.
int runone(const Options& options, const std::string* path) {
    auto run = std::make_unique<Run>();
    run->checking = options.check;
    run->interactive = path == nullptr && !options.check;
    if (path != nullptr) {
        // The run works in the data file's folder.
        run->datafile = datafilename(*path);
        if (int status = enterdatafolder(*run); status != exitnormal) return status;
    }
    for (int k = 0; k < formatcount; ++k) {
        run->drawings[k] = drawingformats[k].kind;
        if (drawingformats[k].always || (options.formats & (1u << k))) run->outputs |= 1u << (chps + k);
    }
    int status;
    try {
        status = drawrun(*run, options);
    } catch (const RunEnd& end) {
        status = closeended(*run, end);
    }
    unlockoutputs(*run);
    return status;
}

// Draw the data files whose `due` is set, each in its own folder and as if
// it had been drawn alone, until an ending signal comes; the highest exit
// status of the runs.  `home` is the folder the command started in, which
// every data file's name starts from.
int drawdatafiles(const Options& options, const std::vector<bool>& due, int home) {
    int status = exitnormal;
    for (size_t k = 0; k < options.datafiles.size() && pendingsignal() == 0; ++k) {
        if (!due[k]) continue;
        status = std::max(status, runone(options, &options.datafiles[k]));
        if (::fchdir(home) != 0) {
            int reason = errno;
            std::fprintf(stderr, "gridel: the starting folder: %s\n", std::strerror(reason));
            return exitioerror;
        }
    }
    return status;
}

}  // namespace

int runjob(const Options& options) {
    // Before any file is opened: a closed standard stream must not lend its
    // number to the log or the drawing.
    openstandardstreams();
    installsignals();
    if (options.datafiles.empty()) return runone(options, nullptr);

    int home = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (home < 0) {
        int reason = errno;
        std::fprintf(stderr, "gridel: the current folder: %s\n", std::strerror(reason));
        return exitioerror;
    }
    // The watch starts before the first drawing, so that a change made
    // while it is drawn is seen after it.
    Watch watch;
    if (options.watch) startwatch(watch, options.datafiles);
    std::vector<bool> due(options.datafiles.size(), true);
    int status = drawdatafiles(options, due, home);
    if (options.watch && watch.folders.empty()) {
        // Nothing could be watched (reported): the watch ends at once, and
        // that is an error of its own.
        endwatch(watch);
        status = std::max(status, exitioerror);
    } else if (options.watch) {
        while (waitforchange(watch, due)) drawdatafiles(options, due, home);
        endwatch(watch);
        status = exitnormal;  // a watch ends only when it is interrupted
    }
    ::close(home);
    return status;
}
