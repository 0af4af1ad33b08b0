// fuzzmain.cpp - the fuzzing entry point: one input file becomes one run of
// gridel in a scratch folder, with nothing typed at the keyboard.
//
// The input is the data file gl-fuzz.txt.  When it begins with a line
// "@prefs", the lines up to a line "@data" are the preferences file instead
// of the usual "datafile fuzz" (see split.h).  The program's own main is
// compiled in under another name, and asked for every format, so that the
// PDF, SVG and PNG renderings are fuzzed with the EPS.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "fuzz/split.h"

int gridelmain(int argc, char** argv);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: gridel-fuzz input-file\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    fuzzsplit::Parts parts = fuzzsplit::split(all.str());

    const char* dir = std::getenv("GRIDEL_FUZZ_DIR");
    std::string work = dir != nullptr ? dir : "/tmp/gridel-fuzz-work";
    mkdir(work.c_str(), 0755);
    if (chdir(work.c_str()) != 0) return 2;
    for (const char* old : {"gl-fuzz.eps", "gl-fuzz.pdf", "gl-fuzz.svg", "gl-fuzz.png", "gl-log.txt"}) unlink(old);
    std::ofstream("gl-prefs.txt", std::ios::binary) << parts.prefs;
    std::ofstream("gl-fuzz.txt", std::ios::binary) << parts.data;

    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    if (std::getenv("GRIDEL_FUZZ_SHOW") == nullptr) dup2(devnull, 1);
    setenv("GRIDEL_CLOCK", "2026-12-06 09:05", 1);
    char program[] = "gridel", option[] = "-T", formats[] = "pdf,svg,png";
    char* args[] = {program, option, formats, nullptr};
    return gridelmain(3, args);
}
