// job.cpp - runjob: the pipeline of a run, from start-up to the closed files.
#include "driver/job.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "diagram/readdata.h"
#include "diagram/startdiagram.h"
#include "drawing/cairocanvas.h"
#include "drawing/drawdiagram.h"
#include "drawing/epscanvas.h"
#include "drawing/page.h"
#include "geometry/areas.h"
#include "geometry/assembly.h"
#include "geometry/crossovers.h"
#include "geometry/labels.h"
#include "run/channels.h"
#include "run/commit.h"
#include "run/failure.h"
#include "run/files.h"
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
    settext(run.settings.datafile, stem.data(), static_cast<int>(stem.size()));
    settext(run.outputstem, "gl-");
    addtext(run.outputstem, stem.data(), static_cast<int>(stem.size()));
    return true;
}

// Create an output file of the run as its channel; its name goes back.
Text openformat(Run& run, int channel) {
    Text name = outputname(run, channel);
    const char* extension = outputextension(channel);
    int stemlength = name.len - static_cast<int>(std::strlen(extension));
    char stem[256];
    std::memcpy(stem, name.c, static_cast<size_t>(stemlength));
    stem[stemlength] = '\0';
    // A stem holding a NUL byte is reported by openoutput under the name it
    // cannot create.
    return openoutput(run, stem, maketext<20>(extension), channel);
}

// The page box of the drawing: the whole page, or the drawn content with a
// margin round it, in whole points.
PageBox pagebox(bool crop, const std::function<void(Canvas&)>& draw) {
    PageBox page = {pageboxleft, pageboxbottom, pageboxright, pageboxtop};
    PageBox ink;
    if (!crop || !inkbox(draw, ink)) return page;
    return {std::floor(ink.left - cropmargin), std::floor(ink.bottom - cropmargin),
            std::ceil(ink.right + cropmargin), std::ceil(ink.top + cropmargin)};
}

// Write the drawing in one of the other formats to its open channel.
void writeformat(Run& run, const ExtraFormat& f, const PageBox& box, int dpi,
                 const std::function<void(Canvas&)>& draw) {
    OutputChannel& channel = run.channels[f.channel];
    auto sink = [&channel](const unsigned char* bytes, size_t n) {
        return channelwrite(channel, reinterpret_cast<const char*>(bytes), n);
    };
    std::string reason;
    if (!renderpage(f.format, box, dpi, sink, draw, reason)) {
        if (errno != 0 && reason.empty()) ioerror(run, channel.path);
        outputfailure(run, channel.path, reason.c_str());
    }
    channel.written = true;
}

// The rest of a check: the geometry, with its warnings; nothing is drawn.
int checkrest(Run& run, Diagram& diagram) {
    placecrossovers(run, diagram);
    assemblelines(run, diagram);
    if (isyes(diagram.options.doareas)) traceareas(run, diagram);
    placelabels(run, diagram);
    return exitnormal;
}

// The run from start-up to its closed files, when it ends normally; a run
// that ends early throws its end (RunEnd) from wherever it stops.
int drawrun(Run& run, const Options& options) {
    startup(run, programbanner);
    Diagram diagram;
    startdiagram(run, diagram);
    readdata(run, diagram);
    if (run.checking) return checkrest(run, diagram);

    // The outputs are created before the geometry runs, so that one that
    // cannot be created stops the run before the log reports the lines.
    run.drawingname = openformat(run, chps);
    for (const ExtraFormat& f : extraformats)
        if (run.outputs & (1u << f.channel)) openformat(run, f.channel);
    EpsCanvas eps(run);
    if (!options.crop) eps.begin(pageheader(run.settings.banner, run.stamp));
    run.channels[chps].written = true;

    placecrossovers(run, diagram);
    assemblelines(run, diagram);
    DrawingPlan plan;
    if (isyes(diagram.options.doareas)) plan.areas = traceareas(run, diagram);
    plan.labels = placelabels(run, diagram);

    auto draw = [&](Canvas& canvas) { drawdiagram(diagram, plan, run.settings.banner, run.stamp, canvas); };
    PageBox box = pagebox(options.crop, draw);
    if (options.crop) {
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
    // named), drawn and ended.
    auto document = [&](Canvas& canvas) {
        canvas.begin(pageheader(run.settings.banner, run.stamp));
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
    settext(closing, "with diagram in file, ");
    addtext(closing, run.drawingname);
    putstr(run, 0, closing, 1, setwoutlog);
    return closeall(run) ? exitnormal : exitioerror;
}

}  // namespace

int runjob(const Options& options) {
    // Before any file is opened: a closed standard stream must not lend its
    // number to the log or the drawing.
    openstandardstreams();
    // A screen piped into a program that stops reading must not kill the
    // run: the log and the drawing are still completed.
    std::signal(SIGPIPE, SIG_IGN);

    Run run{};
    run.checking = options.check;
    run.interactive = options.datafile.empty() && !options.check;
    if (!options.datafile.empty() && !namedatafile(run, options.datafile)) return exitioerror;
    run.outputs = 1u << chps;
    if (options.pdf) run.outputs |= 1u << chpdf;
    if (options.svg) run.outputs |= 1u << chsvg;
    if (options.png) run.outputs |= 1u << chpng;

    guardoutputfiles(run.channels, channelcount);
    try {
        return drawrun(run, options);
    } catch (const RunEnd& end) {
        return closeended(run, end);
    }
}
