// settings.h - run-wide state: the run settings, the run stamp, the drawing's
// name and the three shared line buffers.  One instance each, alive for the
// whole run.
#pragma once

#include <cstdint>

#include "run/channels.h"
#include "text/fixedtext.h"

// The program's banner; its first word names the program's files.
constexpr const char* programbanner = "gridel 1.18";

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

extern RunSettings runsettings;

// Date and time of the run, computed once at start-up.
extern Text runstamp;

// Full name of the EPS file, set when the drawing is opened.
extern Text drawingFileName;

// The shared line buffers in which output lines are assembled.  Each user
// clears the buffer before it builds a line.
extern LineBuffer listline;    // listings, the line report, area warnings
extern LineBuffer scriptline;  // the script reader's echo lines
extern LineBuffer psline;      // PostScript lines
