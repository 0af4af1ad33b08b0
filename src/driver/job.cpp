// job.cpp - runjob: the runs the command line asks for, each in its data
// file's folder with its outputs locked, and the watch that draws them again.
#include "driver/job.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "driver/pipeline.h"
#include "driver/watch.h"
#include "run/commit.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/lock.h"
#include "run/run.h"
#include "run/signals.h"

namespace {

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
    askformats(*run, options.formats);
    int status;
    try {
        status = drawrun(*run, options.crop, options.dpi);
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
