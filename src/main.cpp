// main.cpp - gridel: a phase diagram description in, a drawing out.
//
//   gridel [OPTION]... [DATAFILE]...   (gridel --help lists the options)
#include <cstdio>
#include <string>

#include "driver/commandline.h"
#include "driver/job.h"
#include "run/failure.h"
#include "run/run.h"
#include "run/signals.h"

int main(int argc, char** argv) {
    Options options;
    std::string problem;
    if (!readcommandline(argc, argv, options, problem)) {
        std::fprintf(stderr, "gridel: %s\n\n%s", problem.c_str(), usage().c_str());
        return exitioerror;
    }
    if (options.help) {
        std::fputs(usage().c_str(), stdout);
        return exitnormal;
    }
    if (options.version) {
        std::printf("%s\n", programbanner);
        return exitnormal;
    }
    int status = runjob(options);
    // A run cut short by SIGINT, SIGTERM or SIGHUP ends the process by that
    // signal, once its files are closed; a watch ends so, with status 0.
    if (!options.watch) endbysignal();
    return status;
}
