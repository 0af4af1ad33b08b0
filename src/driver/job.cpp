// job.cpp - runjob: the runs the command line asks for, each in its data
// file's folder with its outputs locked, and the watch that draws them again.
#include "driver/job.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "diagram/readscript.h"
#include "drawing/formats.h"
#include "driver/pipeline.h"
#include "driver/report.h"
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

namespace gridel::driver {

namespace {

// What every run of the command shares besides its options: the style
// files (named from the starting folder, which a run leaves for its data
// file's) and -e lines, and where the outputs go, made absolute.
struct JobPlan {
    std::vector<run::ScriptSource> styles;
    std::string outputstem;  // -o, absolute; empty for none
    std::string outdir;      // --outdir, absolute and ending in "/"; empty for none
};

template <int Cap>
std::string textstring(const text::Str<Cap>& text) { return std::string(text.c, static_cast<size_t>(text.len)); }

// A name from the starting folder `home`, made absolute.
std::string fromhome(const std::string& home, const std::string& name) {
    return name[0] == '/' ? name : home + "/" + name;
}

// The -o stem as written, less an ending of a drawing or of the log that
// was typed with it ("figs/x.png" names figs/x.png and its fellows).
std::string plainstem(std::string stem) {
    auto ends = [&](const char* ending) {
        size_t n = std::strlen(ending);
        return stem.size() > n && stem.compare(stem.size() - n, n, ending) == 0 && stem[stem.size() - n - 1] != '/';
    };
    for (const drawing::DrawingFormat& f : drawing::drawingformats)
        if (f.kind.ending != nullptr && ends(f.kind.ending)) return stem.erase(stem.size() - std::strlen(f.kind.ending));
    if (ends(".log")) stem.erase(stem.size() - 4);
    return stem;
}

// A line on standard error for a command that cannot start; status 2.
int refusejob(const std::string& what) {
    std::fprintf(stderr, "gridel: %s\n", what.c_str());
    return run::exitioerror;
}

// The plan of the command, or the status of a command that cannot start
// (said on standard error): a -o that names a folder, a --outdir that is
// not one, or data files that would write the same outputs in it.
int planjob(const Options& options, JobPlan& plan) {
    char cwd[run::pathcapacity];
    if (::getcwd(cwd, sizeof cwd) == nullptr) return refusejob(std::string("the current folder: ") + std::strerror(errno));
    const std::string home = cwd;
    int32_t lines = 0;
    for (const StyleArgument& a : options.styles) {
        if (a.isline)
            plan.styles.push_back({"-e", "", a.text, ++lines});
        else
            plan.styles.push_back({a.text, fromhome(home, a.text), "", 0});
    }
    // A style file that cannot be read would end every run: none starts.
    for (const run::ScriptSource& style : plan.styles) {
        if (style.number > 0) continue;
        struct stat st;
        if (::stat(style.path.c_str(), &st) != 0 || ::access(style.path.c_str(), R_OK) != 0)
            return refusejob(style.shown + ": " + std::strerror(errno));
        if (S_ISDIR(st.st_mode)) return refusejob(style.shown + ": " + std::strerror(EISDIR));
    }
    if (!options.output.empty()) {
        std::string stem = plainstem(options.output);
        if (stem.back() == '/' || stem.substr(stem.rfind('/') + 1) == "." || stem.substr(stem.rfind('/') + 1) == "..")
            return refusejob("-o " + options.output + " names a folder: give the outputs' name, such as " +
                             (stem.back() == '/' ? stem : stem + "/") + "gl-mine");
        plan.outputstem = fromhome(home, stem);
    }
    if (!options.outdir.empty()) {
        std::string dir = fromhome(home, options.outdir);
        struct stat st;
        if (::stat(dir.c_str(), &st) != 0) return refusejob(options.outdir + ": " + std::strerror(errno));
        if (!S_ISDIR(st.st_mode)) return refusejob(options.outdir + ": not a folder");
        plan.outdir = dir.back() == '/' ? dir : dir + "/";
        // Two data files of one name would write the same outputs there.
        for (size_t a = 0; a < options.datafiles.size(); ++a)
            for (size_t b = a + 1; b < options.datafiles.size(); ++b) {
                std::string stem = textstring(run::datafilename(options.datafiles[a]).stem);
                if (stem != textstring(run::datafilename(options.datafiles[b]).stem)) continue;
                return refusejob(options.datafiles[a] + " and " + options.datafiles[b] + " would both write " + stem +
                                 ".* in " + options.outdir);
            }
    }
    return run::exitnormal;
}

// The name of an output `full` as the command line leads to it: from the
// folder -o or --outdir named as typed, or from the data file's folder.
std::string shownoutput(const run::Run& run, const Options& options, const std::string& full) {
    std::string base = full.substr(full.rfind('/') + 1);
    if (!options.output.empty()) {
        std::string stem = plainstem(options.output);
        return stem.substr(0, stem.rfind('/') + 1) + base;
    }
    if (!options.outdir.empty()) return options.outdir + (options.outdir.back() == '/' ? "" : "/") + base;
    return run::shownname(run, base.c_str());
}

// How a run ended, for the report lines: the files it wrote, its
// warnings, or where it failed.
void reportrun(const run::Run& run, const Options& options, int status, const run::RunEnd* end, RunReport& report) {
    report.status = status;
    report.warnings = run.warnings;
    if (status == run::exitnormal && !run.checking) {
        for (int ch = run::chps; ch < run::chps + drawing::formatcount; ++ch)
            if (run.outputs & (1u << ch)) report.written.push_back(shownoutput(run, options, run::outputname(run, ch)));
        report.written.push_back(shownoutput(run, options, run::logname(run)));
    }
    if (end != nullptr && end->ioerror) {
        report.failedat = end->failing;
    } else if (status != run::exitnormal && run.place.file.len > 0) {
        report.failedat = textstring(run.place.file);
        for (int32_t part : {run.place.line, run.place.line > 0 ? run.place.column : 0}) {
            if (part <= 0) break;
            report.failedat += ':';
            report.failedat += std::to_string(part);
        }
    }
}

// One run, in a Run of its own: the classic one (no path) or the diagram
// of a data file, in that file's folder.  Its files are closed and its
// locks given back whether it ends normally or early; its exit status,
// and how it ended in `report` when there is one.
int runone(const Options& options, const JobPlan& plan, const std::string* path, RunReport* report = nullptr) {
    auto run = std::make_unique<run::Run>();
    run->checking = options.check;
    run->interactive = path == nullptr && !options.check;
    if (path != nullptr) {
        // The run works in the data file's folder.
        run->datafile = run::datafilename(*path);
        std::string stem = !plan.outputstem.empty() ? plan.outputstem
                           : !plan.outdir.empty()   ? plan.outdir + textstring(run->datafile.stem)
                                                    : std::string();
        if (stem.size() > static_cast<size_t>(text::capof(run->datafile.stem)))
            return refusejob(stem + ": the outputs' name is too long (at most " +
                             std::to_string(capof(run->datafile.stem)) + " bytes)");
        if (!stem.empty()) text::settext(run->datafile.stem, stem.data(), static_cast<int>(stem.size()));
        run->styles = plan.styles;
        if (int status = run::enterdatafolder(*run); status != run::exitnormal) {
            if (report != nullptr) report->status = status, report->failedat = *path;
            return status;
        }
    }
    askformats(*run, options.formats);
    int status;
    try {
        status = drawrun(*run, options.crop, options.dpi);
        if (report != nullptr) reportrun(*run, options, status, nullptr, *report);
    } catch (const run::RunEnd& end) {
        status = closeended(*run, end);
        if (report != nullptr) reportrun(*run, options, status, &end, *report);
    }
    run::unlockoutputs(*run);
    return status;
}

// Draw the data files whose `due` is set, each in its own folder and as if
// it had been drawn alone, until an ending signal comes; the highest exit
// status of the runs.  `home` is the folder the command started in, which
// every data file's name starts from.  In a batch each transcript is
// headed by its data file's name; in a watch each run is followed by its
// report line.  How each run ended is in `reports`.
int drawdatafiles(const Options& options, const JobPlan& plan, const std::vector<bool>& due, int home,
                  std::vector<RunReport>& reports) {
    int status = run::exitnormal;
    bool batch = options.datafiles.size() > 1;
    reports.clear();
    for (size_t k = 0; k < options.datafiles.size() && run::pendingsignal() == 0; ++k) {
        if (!due[k]) continue;
        if (batch && !options.check) {
            if (k > 0) std::fputc('\n', stdout);
            std::fputs((batchheading(options.datafiles[k]) + "\n").c_str(), stdout);
        }
        RunReport report;
        report.datafile = options.datafiles[k];
        auto start = std::chrono::steady_clock::now();
        status = std::max(status, runone(options, plan, &options.datafiles[k], &report));
        report.milliseconds = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        if (options.watch && report.status < run::exitsignalled) {  // an interrupted run has no line
            std::fflush(stdout);
            std::fprintf(stderr, "%s\n", redrawline(clocknow(), report).c_str());
            std::fflush(stderr);
        }
        reports.push_back(report);
        if (::fchdir(home) != 0) {
            int reason = errno;
            std::fprintf(stderr, "gridel: the starting folder: %s\n", std::strerror(reason));
            return run::exitioerror;
        }
    }
    return status;
}

}  // namespace

int runjob(const Options& options) {
    // Before any file is opened: a closed standard stream must not lend its
    // number to the log or the drawing.
    run::openstandardstreams();
    run::installsignals();
    JobPlan plan;
    if (options.datafiles.empty()) return runone(options, plan, nullptr);
    if (int status = planjob(options, plan); status != run::exitnormal) return status;

    int home = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (home < 0) {
        int reason = errno;
        std::fprintf(stderr, "gridel: the current folder: %s\n", std::strerror(reason));
        return run::exitioerror;
    }
    // The watch starts before the first drawing, so that a change made
    // while it is drawn is seen after it.
    Watch watch;
    std::vector<std::string> stylefiles;
    for (const StyleArgument& a : options.styles)
        if (!a.isline) stylefiles.push_back(a.text);
    if (options.watch) startwatch(watch, options.datafiles, stylefiles);
    if (options.watch && !watch.folders.empty()) {
        std::fprintf(stderr, "%s\n", watchingline(options.datafiles, stylefiles).c_str());
        std::fflush(stderr);
    }
    std::vector<bool> due(options.datafiles.size(), true);
    std::vector<RunReport> reports;
    int status = drawdatafiles(options, plan, due, home, reports);
    if (options.datafiles.size() > 1 && !options.watch && run::pendingsignal() == 0) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", batchline(reports, options.check).c_str());
    }
    if (options.watch && watch.folders.empty()) {
        // Nothing could be watched (reported): the watch ends at once, and
        // that is an error of its own.
        endwatch(watch);
        status = std::max(status, run::exitioerror);
    } else if (options.watch) {
        while (waitforchange(watch, due)) drawdatafiles(options, plan, due, home, reports);
        endwatch(watch);
        status = run::exitnormal;  // a watch ends only when it is interrupted
    }
    ::close(home);
    return status;
}

}  // namespace gridel::driver
