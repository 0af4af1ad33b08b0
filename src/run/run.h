// run.h - everything one run holds while it lasts: its settings, its output
// channels, the keyboard, the run stamp.  The job makes one Run for each
// diagram it draws and hands it to every step that writes a transcript
// line, reads the keyboard or ends the run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "run/linereader.h"
#include "run/outputfile.h"
#include "text/fixedtext.h"

namespace gridel::run {

// The program's banner; its first word names the program's files.
constexpr const char* programbanner = "gridel 1.18";

// Channel numbers: the screen, the log and the drawings.  The drawings
// follow one another from chps, one for each format of the drawing floor's
// table (the EPS first), in the table's order.
enum ChannelNumber : int {
    chw = 0,    // the screen (standard output)
    chlog = 1,  // the log
    chps = 2,   // the first drawing: the EPS
};

// Room for drawing formats in the channel table.
constexpr int drawingcapacity = 6;

// Channels in the table.
constexpr int channelcount = chps + drawingcapacity;

// A drawing a run may write, as the table of formats describes it: the
// ending of its file and its channel's name in messages ("pdffile").
struct DrawingKind {
    const char* ending;
    const char* channelname;
};

// The data file named on the command line, held once: as it was typed
// ("docs/gl-x.txt", for messages), its name in its folder ("gl-x.txt",
// where the run works) and the stem of the run's outputs ("gl-x"); all
// empty in a classic run.  See datafilename (files.h).
struct DataFileName {
    text::Text typed;
    text::Text name;
    text::Text stem;
};

// Settings of the run, filled by `startup` and `readprefs`.
struct RunSettings {
    text::Text banner;          // the program banner, "gridel 1.18"
    bool dontwrap;        // cut long screen lines at the page width (default true; off for a DATAFILE run)
    bool monitorheap;     // report large allocations on the screen (default false)
    text::Word datafile;        // suffix naming the data file and the drawing in a classic run
    int16_t pagewidth;    // screen width, always within 80..250 (default 80)
};

// Where the run stands in its input: the file being read, its line and the
// word at fault, or the item a later step works on and where its name
// stands in the file.  A failure report names it on standard error, as
// compilers do, with the line quoted and a mark under the word, and says
// the problem plainly when the step that fails gave a plain text.
struct SourcePlace {
    text::Text file;      // the file as messages name it; empty when the run is in none
    text::Text path;      // the name it is opened by to quote its lines
    int32_t line;   // its line (1 for the first); 0 for the file as a whole
    int32_t column; // the byte of the line where the word at fault begins (1 for the first); 0 for none
    int32_t width;  // the bytes of that word
    text::Word item;      // the point, line or area concerned; empty while reading
    std::string text;  // the line itself when it stands in no file (a line given on the command line)
    std::string plain;               // the failure about to be reported, said plainly; empty for its own words
    std::vector<std::string> notes;  // hints that go with it
};

// A problem a run found, as data: where it stands and what it says.  A run
// drawn in memory gathers them (see MemoryRun) besides writing them.
struct Finding {
    std::string path;     // the file as messages name it; empty for none
    int32_t line;         // 1 for the first; 0 for the file as a whole
    int32_t column;       // 1 for the first byte; 0 for none
    bool error;           // a failure that ended the run, else a warning
    std::string message;  // the text after "error: " or "warning: "
    std::vector<std::string> notes;
};

// A run drawn in memory: the files it reads, by name, and what it found.
// Its outputs go to memory (see OutputChannel), and it takes no lock and
// asks nothing; the run's screen and standard error are streams of its
// own (Run::screen, Run::errors).
struct MemoryRun {
    std::vector<std::pair<std::string, std::string>> inputs;  // name, text
    bool anyname = false;  // a name none of them has reads the first (the classic run's data file)
    std::vector<Finding> findings;
};

// The text of the file `name` of a memory run; null when it has none.
const std::string* memoryinput(const MemoryRun& memory, const char* name);

// The runs that may write a diagram's outputs hold a lock on them (see
// lock.h); a classic run holds two, its log's and its drawings'.
constexpr int lockcount = 2;

// Script lines read after the data file's own script: a style file, or
// one line given on the command line (-e).  They apply in the order they
// were given, a later line winning.
struct ScriptSource {
    std::string shown;  // the style file as the command line named it, or "-e"
    std::string path;   // the name it is opened by (absolute); empty for a line
    std::string line;   // the line given on the command line
    int32_t number;     // which -e line it is (1 for the first); 0 for a file
};

struct Run {
    RunSettings settings;
    bool checking;               // --check: no transcript and no file; problems listed on standard error
    SourcePlace place;           // where the run stands in its input
    bool interactive;            // the keyboard may be read (no data file was named on the command line)
    DataFileName datafile;       // the data file named on the command line; empty without
    DrawingKind drawings[drawingcapacity];  // the drawing channels from chps on; an unknown one has no ending
    uint32_t outputs;            // the drawing channels the run writes (chps, and the others by request)
    OutputChannel channels[channelcount];  // the channel table, by channel number
    uint32_t open;               // the set of open channels
    bool unflushed;              // putstr wrote to a file channel since the last flush
    int locks[lockcount];        // descriptors of the locks held; 0 (standard input, never a lock) for none
    char lockfiles[lockcount][pathcapacity];  // the lock files they hold, beside the outputs
    LineReader keyboard;         // standard input
    text::Text stamp;                  // date and time of the run, fixed at start-up
    text::Text drawingname;            // full name of the EPS file, once it is opened
    int32_t heaptotal;           // bytes recorded by the heap monitor
    int32_t warnings;            // warnings found (listed on standard error by --check only)
    std::vector<ScriptSource> styles;  // script lines read after the data file's script
    FILE* screen = stdout;       // the screen
    FILE* errors = stderr;       // standard error
    MemoryRun* memory = nullptr; // a run drawn in memory; null for a run on files
};

}  // namespace gridel::run
