// job.cpp - runjob: the pipeline of a run, from start-up to the closed files.
#include "driver/job.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "diagram/readdata.h"
#include "diagram/readscript.h"
#include "diagram/startdiagram.h"
#include "drawing/cairocanvas.h"
#include "drawing/drawdiagram.h"
#include "drawing/epscanvas.h"
#include "drawing/fontmeasure.h"
#include "drawing/page.h"
#include "drawing/pages.h"
#include "driver/watch.h"
#include "geometry/areas.h"
#include "geometry/assembly.h"
#include "geometry/crossovers.h"
#include "geometry/labels.h"
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

// Room left round the drawn content when an output is cropped, in points.
constexpr long double cropmargin = 4;

// The formats besides the EPS, with their channels.
struct ExtraFormat {
    int channel;
    PageFormat format;
};
constexpr ExtraFormat extraformats[] = {
    {chpdf, PageFormat::pdf},
    {chsvg, PageFormat::svg},
    {chpng, PageFormat::png},
};

// A run for a data file named on the command line works in that file's
// folder: its preferences, its log and its outputs are there, and its
// outputs are named gl-<name>, where <name> is the file's name without a
// leading "gl-" and without its extension.  False when the folder cannot
// be entered (reported).
bool namedatafile(Run& run, const std::string& path) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
        int reason = errno;
        std::fprintf(stderr, "gridel: %s: %s\n", folder.c_str(), std::strerror(reason));
        return false;
    }
    std::string stem = base;
    if (stem.compare(0, 3, "gl-") == 0) stem.erase(0, 3);
    size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.erase(dot);
    settext(run.datafilename, base.data(), static_cast<int>(base.size()));
    settext(run.typedname, path.data(), static_cast<int>(path.size()));
    settext(run.settings.datafile, stem.data(), static_cast<int>(stem.size()));
    settext(run.outputstem, "gl-");
    addtext(run.outputstem, stem.data(), static_cast<int>(stem.size()));
    return true;
}

// The command that lists the warnings of this run: the data file as it
// was named, quoted for the shell when it needs to be.
std::string checkcommand(const Run& run) {
    std::string command = "gridel --check";
    const std::string file(run.typedname.c, static_cast<size_t>(run.typedname.len));
    if (file.empty()) return command;
    if (file[0] == '-') command += " --";  // not an option
    bool plain = true;
    for (char c : file)
        plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || std::strchr("/._-+,:@%", c) != nullptr);
    if (plain) return command + " " + file;
    std::string quoted = "'";
    for (char c : file) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return command + " " + quoted + "'";
}

// Create an output file of the run as its channel; its name goes back.  A
// stem holding a NUL byte is reported by openoutput under the name it
// cannot create.
Text openformat(Run& run, int channel) {
    return openoutput(run, outputstem(run).c_str(), maketext<20>(outputextension(channel)), channel);
}

// Where ink is looked for when a figure's content decides its page: far
// round any plot box a script can ask for.
constexpr PageBox figurereach = {-20000, -20000, 20000, 20000};

// The page box of the drawing: the whole page, the drawn content with a
// margin round it, or the whole page grown to hold that, in whole points.
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

// Write the drawing in one of the other formats to its open channel.
void writeformat(Run& run, const ExtraFormat& f, const PageBox& box, int dpi,
                 const std::function<void(Canvas&)>& draw) {
    OutputChannel& channel = run.channels[f.channel];
    // An ending signal stops the writing; the run then ends as interrupted.
    auto sink = [&channel](const unsigned char* bytes, size_t n) {
        return pendingsignal() == 0 && channelwrite(channel, reinterpret_cast<const char*>(bytes), n);
    };
    std::string reason;
    if (!renderpage(f.format, box, dpi, sink, draw, reason)) {
        stopifinterrupted();
        if (errno != 0 && reason.empty()) ioerror(run, channel.path);
        outputfailure(run, channel.path, reason.c_str());
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
    attempt([&] {
        placecrossovers(run, diagram);
        assemblelines(run, diagram);
        if (isyes(diagram.options.doareas)) traceareas(run, diagram);
        placelabels(run, diagram);
    });
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
    run.drawingname = openformat(run, chps);
    for (const ExtraFormat& f : extraformats)
        if (run.outputs & (1u << f.channel)) openformat(run, f.channel);
    EpsCanvas eps(run);
    PageFit fit = pagefit(diagram, options.crop);
    if (fit == PageFit::fixed) eps.begin(pageheader(run.settings.banner, run.stamp));

    placecrossovers(run, diagram);
    assemblelines(run, diagram);
    stopifinterrupted();
    DrawingPlan plan;
    if (isyes(diagram.options.doareas)) plan.areas = traceareas(run, diagram);
    plan.labels = placelabels(run, diagram);
    plan.figure = planfigure(diagram, plan.areas, plan.labels, FontMeasure());
    stopifinterrupted();

    auto draw = [&](Canvas& canvas) { drawdiagram(diagram, plan, run.settings.banner, run.stamp, canvas); };
    PageBox box = pagebox(fit, draw);
    if (fit != PageFit::fixed) {
        PageHeader header = pageheader(run.settings.banner, run.stamp);
        header.boxleft = static_cast<int16_t>(box.left);
        header.boxbottom = static_cast<int16_t>(box.bottom);
        header.boxright = static_cast<int16_t>(box.right);
        header.boxtop = static_cast<int16_t>(box.top);
        eps.begin(header);
    }
    draw(eps);
    eps.end();
    // The other formats are whole documents too: begun (their creator
    // named, their title the data file's name), drawn and ended.
    PageHeader documentheader = pageheader(run.settings.banner, run.stamp);
    documentheader.title = run.datafilename.len > 0 ? run.datafilename : run.place.file;
    auto document = [&](Canvas& canvas) {
        canvas.begin(documentheader);
        draw(canvas);
        canvas.end();
    };
    for (const ExtraFormat& f : extraformats)
        if (run.outputs & (1u << f.channel)) writeformat(run, f, box, options.dpi, document);

    Text closing;
    settext(closing, programbanner);
    addtext(closing, " run at ");
    addtext(closing, run.stamp);
    putstr(run, 1, closing, 1, setwoutlog);
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
    if (path != nullptr && !namedatafile(*run, *path)) return exitioerror;
    run->outputs = 1u << chps;
    if (options.pdf) run->outputs |= 1u << chpdf;
    if (options.svg) run->outputs |= 1u << chsvg;
    if (options.png) run->outputs |= 1u << chpng;
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
