// main.cpp - gridel: a phase diagram description in, a drawing out.
//
//   gridel [OPTION]... [DATAFILE]      (gridel --help lists the options)
#include <cstdio>
#include <string>

#include "driver/commandline.h"
#include "driver/job.h"
#include "run/failure.h"
#include "run/run.h"

int main(int argc, char** argv) {
    Options options;
    std::string problem;
    if (!readcommandline(argc, argv, options, problem)) {
        std::fprintf(stderr, "gridel: %s\n\n%s", problem.c_str(), usage());
        return exitioerror;
    }
    if (options.help) {
        std::fputs(usage(), stdout);
        return exitnormal;
    }
    if (options.version) {
        std::printf("%s\n", programbanner);
        return exitnormal;
    }
    return runjob(options);
}
