// commandline.h - the command line: options in the usual short and long
// forms, and the data files.
//
//   gridel [OPTION]... [DATAFILE]...
//
// With no data file the run is the classic one: the preferences file, the
// prompts and the keyboard of the current folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gridel::driver {

// A style file (--style) or a script line (-e), in command-line order.
struct StyleArgument {
    bool isline;       // -e LINE; else --style FILE
    std::string text;  // the line, or the file's name as typed
};

// What the command line asks for.
struct Options {
    uint32_t formats = 0;     // -T: the formats asked for, a bit for each row of the table of formats
    bool crop = false;        // --crop: every output cut to the drawn content
    int dpi = 150;            // --dpi: PNG resolution, pixels per inch
    bool check = false;       // --check: the whole job, no file written
    bool watch = false;       // --watch: draw again whenever a data file changes
    bool help = false;        // -h, --help
    bool version = false;     // -V, --version
    std::vector<StyleArgument> styles;   // --style FILE, -e LINE: script lines after each data file's script
    std::string output;                  // -o STEM: the outputs' name of the one data file; empty for none
    std::string outdir;                  // --outdir DIR: the folder of every output; empty for none
    std::vector<std::string> datafiles;  // the data files, as typed; none for the classic run
};

// The lowest and highest PNG resolutions accepted.
constexpr int mindpi = 10;
constexpr int maxdpi = 600;

// Read the command line.  False for an unknown option, a bad value, an
// empty data file name or options that do not go together (-o with
// several data files or none), with one line saying which in `problem`;
// an option is quoted as it was typed.
bool readcommandline(int argc, char** argv, Options& options, std::string& problem);

// The usage text, for --help and after a bad command line.
std::string usage();

}  // namespace gridel::driver
