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
    gridel::driver::Options options;
    std::string problem;
    if (!gridel::driver::readcommandline(argc, argv, options, problem)) {
        std::fprintf(stderr, "gridel: %s\n\n%s", problem.c_str(), gridel::driver::usage().c_str());
        return gridel::run::exitioerror;
    }
    if (options.help) {
        std::fputs(gridel::driver::usage().c_str(), stdout);
        return gridel::run::exitnormal;
    }
    if (options.version) {
        std::printf("%s\n", gridel::run::programbanner);
        return gridel::run::exitnormal;
    }
    int status = gridel::driver::runjob(options);
    // A run cut short by SIGINT, SIGTERM or SIGHUP ends the process by that
    // signal, once its files are closed; a watch ends so, with status 0.
    if (!options.watch) gridel::run::endbysignal();
    return status;
}
