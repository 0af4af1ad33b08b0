// run.h - everything one run holds while it lasts: its settings, its output
// channels, the keyboard, the run stamp.  `main` owns the one Run and hands
// it to every step that writes a transcript line, reads the keyboard or
// ends the run.
#pragma once

#include <cstdint>

#include "run/linereader.h"
#include "run/outputfile.h"
#include "text/fixedtext.h"

// The program's banner; its first word names the program's files.
constexpr const char* programbanner = "gridel 1.18";

// Channel numbers.  Only `w`, `log`, `ps` and the three other formats are
// ever opened.
enum ChannelNumber : int {
    chw = 0,     // the screen (standard output)
    chte = 1,    // reserved, never open
    chout = 2,   // text file "outfile"
    chlog = 3,   // the log gl-log.txt
    chic = 4,    // text file "icfile"
    chit = 5,    // text file "itfile"
    chgl = 6,    // text file "glfile"
    chcsv = 7,   // text file "csvfile"
    chcsv2 = 8,  // text file "csv2file"
    chps = 9,    // the EPS drawing
    // The drawing in the other formats, written whole at the end of the
    // run; never part of a channel set.
    chpdf = 10,
    chsvg = 11,
    chpng = 12,
};

// Channels in the table: the ten text channels and the three others.
constexpr int channelcount = 13;

// Settings of the run, filled by `startup` and `readprefs`.
struct RunSettings {
    Text banner;          // the program banner, "gridel 1.18"
    bool dontwrap;        // cut long screen lines at the page width (default true)
    bool monitorheap;     // report large allocations on the screen (default false)
    Word dataset;         // set from the preferences; nothing reads it
    Word datafile;        // suffix naming the data file and the drawing
    int16_t pagewidth;    // screen width, always within 80..250 (default 80)
    int16_t calcmode;     // set from the preferences; nothing reads it (default -1)
};

// Where the run stands in its input: the file being read and its line, or
// the item a later step works on and the line that defined it.  A failure
// report names it on standard error, as compilers do.
struct SourcePlace {
    Text file;     // the file; empty when the run is in none
    int32_t line;  // its line (1 for the first); 0 for the file as a whole
    Word item;     // the point, line or area concerned; empty while reading
};

struct Run {
    RunSettings settings;
    bool checking;               // --check: no transcript and no file; problems listed on standard error
    SourcePlace place;           // where the run stands in its input
    bool interactive;            // the keyboard may be read (no data file was named on the command line)
    Text datafilename;           // the data file named on the command line, in its folder; empty without
    Text outputstem;             // gl-<name> of every output of such a run; empty without
    uint32_t outputs;            // the drawing channels the run writes (chps, and chpdf.. by request)
    OutputChannel channels[channelcount];  // the channel table, by channel number
    uint32_t open;               // the set of open channels
    bool unflushed;              // putstr wrote to a file channel since the last flush
    LineReader keyboard;         // standard input
    Text stamp;                  // date and time of the run, fixed at start-up
    Text drawingname;            // full name of the EPS file, once it is opened
    int32_t heaptotal;           // bytes recorded by the heap monitor
};
