// commandline.cpp - readcommandline and the usage text.
#include "driver/commandline.h"

#include <getopt.h>

#include <cstring>
#include <utility>

#include "drawing/formats.h"
#include "text/tokens.h"

namespace gridel::driver {

namespace {

// The usage text; "@ASKED@" and "@ALWAYS@" stand for the names of the
// formats a run writes when asked and always.
const char usagetext[] =
    "Usage: gridel [OPTION]... [DATAFILE]...\n"
    "Draw the phase diagram described in each DATAFILE as gl-<name>.eps beside\n"
    "it, with the transcript of its run on the screen and in gl-<name>.log.\n"
    "Without DATAFILE, draw the diagram that gl-prefs.txt names (or that you\n"
    "type the name of) in the current folder, with the log gl-log.txt.\n"
    "\n"
    "  -T, --format=FORMAT  also write the drawing as FORMAT: @ASKED@\n"
    "                       (@ALWAYS@ is always written); repeat the option or\n"
    "                       separate formats with commas: -T pdf,png\n"
    "      --crop           cut every output to the drawn content plus 4 points\n"
    "      --dpi=N          resolution of the PNG, 10 to 600 (default 150)\n"
    "      --check          read and check the whole diagram, write no file, and\n"
    "                       list its problems as FILE:LINE: lines\n"
    "      --watch          after drawing, draw again whenever a DATAFILE, the\n"
    "                       gl-prefs.txt beside it or a style file changes,\n"
    "                       until interrupted\n"
    "      --style=FILE     read FILE's script lines after each DATAFILE's script\n"
    "  -e, --line=LINE      apply the script line LINE after it (style files and\n"
    "                       lines apply in their order; a later line wins)\n"
    "  -o, --output=STEM    name the outputs of the one DATAFILE STEM.eps,\n"
    "                       STEM.png, ..., STEM.log\n"
    "      --outdir=DIR     write every DATAFILE's outputs into the folder DIR\n"
    "  -h, --help           show this help and exit\n"
    "  -V, --version        show the version and exit\n"
    "\n"
    "Exit status: 0 when every drawing was made, 1 after a failure report,\n"
    "2 when a file could not be read or written or the command line is wrong\n"
    "(the highest of the runs).\n"
    "A short manual: man gridel.  The full reference: reference.md in\n"
    "/usr/share/doc/gridel (or /usr/local/share/doc/gridel), docs/ in the sources.\n";

enum : int { optcrop = 256, optdpi, optcheck, optwatch, optstyle, optoutdir };

// One or more formats separated by commas.
bool readformats(const char* list, Options& o, std::string& problem) {
    std::string all = list;
    size_t at = 0;
    for (;;) {
        size_t comma = all.find(',', at);
        std::string one = all.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        int row = drawing::findformat(one);
        if (row < 0) {
            problem = "unknown format '" + one + "' (" + drawing::formatnames(drawing::FormatSet::all) + ")";
            return false;
        }
        o.formats |= 1u << row;
        if (comma == std::string::npos) return true;
        at = comma + 1;
    }
}

// A whole number from mindpi to maxdpi, written in plain digits and read
// by the program's own integer reader.
bool readdpi(const char* text, Options& o, std::string& problem) {
    size_t n = std::strlen(text);
    bool good = n >= 1 && n <= 4 && std::strspn(text, "0123456789") == n;
    int16_t value = 0;
    text::Text message;
    good = good && text::str2int(text, static_cast<int32_t>(n), value, message);
    if (!good || value < mindpi || value > maxdpi) {
        problem = std::string("bad resolution '") + text + "' (a whole number from 10 to 600)";
        return false;
    }
    o.dpi = value;
    return true;
}

}  // namespace

std::string usage() {
    std::string text = usagetext;
    for (auto [mark, set] : {std::pair{"@ASKED@", drawing::FormatSet::asked}, std::pair{"@ALWAYS@", drawing::FormatSet::always}})
        text.replace(text.find(mark), std::strlen(mark), formatnames(set));
    return text;
}

bool readcommandline(int argc, char** argv, Options& options, std::string& problem) {
    const option longoptions[] = {
        {"format", required_argument, nullptr, 'T'},
        {"crop", no_argument, nullptr, optcrop},
        {"dpi", required_argument, nullptr, optdpi},
        {"check", no_argument, nullptr, optcheck},
        {"watch", no_argument, nullptr, optwatch},
        {"style", required_argument, nullptr, optstyle},
        {"line", required_argument, nullptr, 'e'},
        {"output", required_argument, nullptr, 'o'},
        {"outdir", required_argument, nullptr, optoutdir},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };
    optind = 1;
    opterr = 0;  // the messages are ours
    for (;;) {
        int c = getopt_long(argc, argv, ":T:e:o:hV", longoptions, nullptr);
        if (c == -1) break;
        // The option as typed: a long one is the word on the command line
        // ("--crop=yes"), a short one its letter.  An unknown letter may
        // stand inside a group ("-hx"), where the word is not yet passed.
        bool unknownletter =
            c == '?' && optopt != 0 && optopt < optcrop && optopt != 'T' && optopt != 'e' && optopt != 'o' && optopt != 'h' &&
            optopt != 'V';
        bool islong = !unknownletter && std::strncmp(argv[optind - 1], "--", 2) == 0;
        std::string shown = islong ? std::string(argv[optind - 1]) : std::string("-") + static_cast<char>(optopt);
        switch (c) {
            case 'T':
                if (!readformats(optarg, options, problem)) return false;
                break;
            case optcrop: options.crop = true; break;
            case optdpi:
                if (!readdpi(optarg, options, problem)) return false;
                break;
            case optcheck: options.check = true; break;
            case optwatch: options.watch = true; break;
            case optstyle:
                if (*optarg == '\0') {
                    problem = "a style file's name is empty";
                    return false;
                }
                options.styles.push_back({false, optarg});
                break;
            case 'e':
                // Each line its own -e, so that a failure names it by its number.
                if (std::strpbrk(optarg, "\r\n") != nullptr) {
                    problem = "an -e line holds one script line: give each line its own -e";
                    return false;
                }
                options.styles.push_back({true, optarg});
                break;
            case 'o':
                if (*optarg == '\0') {
                    problem = "the output name of -o is empty";
                    return false;
                }
                options.output = optarg;
                break;
            case optoutdir:
                if (*optarg == '\0') {
                    problem = "the folder of --outdir is empty";
                    return false;
                }
                options.outdir = optarg;
                break;
            case 'h': options.help = true; break;
            case 'V': options.version = true; break;
            case ':':
                problem = "option '" + shown + "' needs a value";
                return false;
            default:
                if (islong && optopt != 0)
                    problem = "option '" + shown + "' takes no value";
                else
                    problem = "unknown option '" + shown + "'";
                return false;
        }
    }
    for (int k = optind; k < argc; ++k) {
        if (argv[k][0] == '\0') {
            problem = "a data file's name is empty";
            return false;
        }
        options.datafiles.push_back(argv[k]);
    }
    if (options.watch && options.datafiles.empty()) {
        problem = "--watch needs a data file to watch";
        return false;
    }
    if (options.datafiles.empty() && (!options.styles.empty() || !options.output.empty() || !options.outdir.empty())) {
        problem = "--style, -e, -o and --outdir need a data file";
        return false;
    }
    if (!options.output.empty() && options.datafiles.size() > 1) {
        problem = "-o names the outputs of one data file, and " + std::to_string(options.datafiles.size()) +
                  " are given: use --outdir DIR to put theirs in one folder";
        return false;
    }
    if (!options.output.empty() && !options.outdir.empty()) {
        problem = "-o and --outdir do not go together: -o STEM may name a folder itself (figs/gl-x-slide)";
        return false;
    }
    return true;
}

}  // namespace gridel::driver
