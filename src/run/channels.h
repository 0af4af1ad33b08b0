// channels.h - the output channels: every line the program writes to the
// screen, the log or the drawing leaves through `putstr`, assembled
// beforehand in a line buffer (text/linebuffer.h).
#pragma once

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "text/fixedtext.h"
#include "text/linebuffer.h"

struct Run;

// Channel numbers.  Only `w`, `log` and `ps` are ever opened.
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

// Channel sets: bit i stands for channel i.  These are the sets the
// program's call sites use.
constexpr uint32_t setw = 1;          // {w}
constexpr uint32_t setlog = 8;        // {log}
constexpr uint32_t setwlog = 9;       // {w, log}
constexpr uint32_t setwoutlog = 13;   // {w, out, log}
constexpr uint32_t setps = 512;       // {ps}

// Room for a file's path as the system gives it (a symbolic link's target).
constexpr int pathcapacity = 4096;

// One output file.  It is written under a temporary name beside the file it
// replaces and takes that file's place only when it is committed (see
// files.h), so an old file stays whole until then.
struct OutputChannel {
    FILE* file;       // the open text file; null while closed (the screen uses stdout)
    char* buffer;     // bytes on their way to the file, taken from the heap while it is open
    int staged;       // bytes in `buffer`
    bool written;     // text was written since start-up (kept for channels 4..9)
    char path[256];   // full file name, for input/output error reports
    char target[pathcapacity];  // the file the temporary one replaces when committed
    char temp[pathcapacity];    // the temporary file being written
    volatile sig_atomic_t pending;  // `temp` exists and is neither committed nor removed
};

// Bytes of an output file gathered before they are handed to the system:
// the file itself is unbuffered, so a drawing of many megabytes costs a
// copy a line and a system call a block, not a library call a line.
constexpr int stagingsize = 1 << 16;

// Append bytes to a channel's file (through its staging buffer); false on
// a write error, with errno set.
bool channelwrite(OutputChannel& channel, const char* bytes, size_t n);

// Hand the staged bytes to the system; false on a write error.
bool drainchannel(OutputChannel& channel);

// The channel's name in messages ("logfile", "psfile", ...; empty for 0 and 1).
const char* channelname(int channel);

// True when the channel is open in the run.
bool isopen(const Run& run, int channel);

// Write a text to every open channel of the set, with line ends before and
// after: 0 gives none, 1 gives one, any other count two.
void putstr(Run& run, int16_t before, const char* text, int len, int16_t after, uint32_t set);

inline void putstr(Run& run, int16_t before, const char* text, int16_t after, uint32_t set) {
    putstr(run, before, text, static_cast<int>(std::strlen(text)), after, set);
}

template <int Cap>
inline void putstr(Run& run, int16_t before, const Str<Cap>& text, int16_t after, uint32_t set) {
    putstr(run, before, text.c, text.len, after, set);
}

inline void putstr(Run& run, int16_t before, const LineBuffer& line, int16_t after, uint32_t set) {
    putstr(run, before, line.text.c, line.text.len, after, set);
}

// putstr(run, 0, text, len, 1, {channel}) for one file channel (2..9),
// for the lines a drawing or a report writes by the hundred thousand.
void putline(Run& run, int channel, const char* text, int len);

// Push the screen and every open file channel out to their devices.
void flushchannels(Run& run);

// Push every open file channel out (the screen is left as it is).
void flushfiles(Run& run);

// End the run on an input/output error: one line on standard error naming
// the file and the system's reason, the transcript kept, the drawing
// dropped, exit status 2.
[[noreturn]] void ioerror(Run& run, const char* path);

// The same with a reason of the caller's (a library that failed to write).
[[noreturn]] void outputfailure(Run& run, const char* path, const char* reason);
