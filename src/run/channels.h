// channels.h - the output channels: every line the program writes to the
// screen, the log or the drawing leaves through `putstr`, and every line is
// assembled beforehand in a line buffer with `appendfield`, `appendreal` and
// `appendint`.
#pragma once

#include <csignal>
#include <cstdint>
#include <cstdio>

#include "text/fixedtext.h"

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
};

// Channel sets: bit i stands for channel i.  These are the sets the
// program's call sites use.
constexpr uint32_t setw = 1;          // {w}
constexpr uint32_t setlog = 8;        // {log}
constexpr uint32_t setwlog = 9;       // {w, log}
constexpr uint32_t setwoutlog = 13;   // {w, out, log}
constexpr uint32_t setps = 512;       // {ps}

// Room for a file's path as the system gives it (a symbolic link's target).
constexpr int pathcapacity = 4096;

// One output channel's file.  A file is written under a temporary name
// beside the file it replaces and takes that file's place only when it is
// committed (see files.h), so an old file stays whole until then.
struct OutputChannel {
    FILE* file;       // the open text file; null while closed (the screen uses stdout)
    bool written;     // text was written since start-up (kept for channels 4..9)
    char path[256];   // full file name, for input/output error reports
    char target[pathcapacity];  // the file the temporary one replaces when committed
    char temp[pathcapacity];    // the temporary file being written
    volatile sig_atomic_t pending;  // `temp` exists and is neither committed nor removed
};

extern OutputChannel channels[10];
extern uint32_t openChannels;  // set of the open channels

// The channel's name in messages ("logfile", "psfile", ...; empty for 0 and 1).
const char* channelname(int channel);

// Byte that ends a line buffer that would have passed 250 characters.
constexpr char overflowmark = static_cast<char>(0xA4);

// A line assembled field by field.  A field that would take it past 250
// characters is replaced by the overflow mark, and the line is closed:
// later fields are dropped.  It knows it is closed by its own flag, so a
// byte 0xA4 that comes from the input is an ordinary character.
struct LineBuffer {
    Text text;    // the line so far
    bool closed;  // the overflow mark was written; nothing more is taken
};

inline void clearline(LineBuffer& line) {
    line.text.len = 0;
    line.closed = false;
}

// Start the line with a text (cut to its capacity).
inline void setline(LineBuffer& line, const char* s) {
    settext(line.text, s);
    line.closed = false;
}

constexpr int16_t capof(const LineBuffer&) { return 255; }

// Write a text to every open channel of the set, with line ends before and
// after: 0 gives none, 1 gives one, any other count two.
void putstr(int16_t before, const char* text, int len, int16_t after, uint32_t set);

inline void putstr(int16_t before, const char* text, int16_t after, uint32_t set) {
    putstr(before, text, static_cast<int>(std::strlen(text)), after, set);
}

template <int Cap>
inline void putstr(int16_t before, const Str<Cap>& text, int16_t after, uint32_t set) {
    putstr(before, text.c, text.len, after, set);
}

inline void putstr(int16_t before, const LineBuffer& line, int16_t after, uint32_t set) {
    putstr(before, line.text.c, line.text.len, after, set);
}

// Append a text to a line buffer in a field of the given width (0: no fill,
// positive: right-aligned, negative: left-aligned).  A line that would pass
// 250 characters gets the overflow mark instead and takes nothing more.
void appendfield(const char* text, int len, int16_t width, LineBuffer& line, int16_t capacity);

inline void appendfield(const char* text, int16_t width, LineBuffer& line, int16_t capacity) {
    appendfield(text, static_cast<int>(std::strlen(text)), width, line, capacity);
}

template <int Cap>
inline void appendfield(const Str<Cap>& text, int16_t width, LineBuffer& line, int16_t capacity) {
    appendfield(text.c, text.len, width, line, capacity);
}

// Append x written by `real2str` with the given digit count.
void appendreal(int16_t digits, bool fixed, int16_t width, LineBuffer& line, int16_t capacity,
                long double x);

// Append x rounded to an integer by `real2intstr`.
void appendint(int16_t width, LineBuffer& line, int16_t capacity, long double x);

// Push the screen and every open file channel out to their devices.
void flushchannels();

// Push every open file channel out (the screen is left as it is).
void flushfiles();

// End the run on an input/output error: one line on standard error naming
// the file and the system's reason, exit status 2.
[[noreturn]] void ioerror(const char* path);
