// channels.h - the output channels: every line the program writes to the
// screen, the log or the drawing leaves through `putstr`, assembled
// beforehand in a line buffer (text/linebuffer.h).
#pragma once

#include <cstdint>
#include <cstring>

#include "run/bytesink.h"
#include "run/failure.h"
#include "run/run.h"
#include "text/fixedtext.h"
#include "text/linebuffer.h"

namespace gridel::run {

// Channel sets: bit i stands for channel i.  These are the sets the
// program's call sites use.
constexpr uint32_t setw = 1u << chw;                 // {w}
constexpr uint32_t setlog = 1u << chlog;             // {log}
constexpr uint32_t setwlog = setw | setlog;          // {w, log}
constexpr uint32_t setps = 1u << chps;               // {ps}

// The channel's name in messages ("logfile", "psfile", ...; empty for the
// screen and for a drawing channel the run knows no format of).
const char* channelname(const Run& run, int channel);

// True when the channel is open in the run.
bool isopen(const Run& run, int channel);

// Write a text to every open channel of the set, with line ends before and
// after: 0 gives none, 1 gives one, any other count two.  An ending signal
// that has come ends the run here (see signals.h).
void putstr(Run& run, int16_t before, const char* text, int len, int16_t after, uint32_t set);

inline void putstr(Run& run, int16_t before, const char* text, int16_t after, uint32_t set) {
    putstr(run, before, text, static_cast<int>(std::strlen(text)), after, set);
}

template <int Cap>
inline void putstr(Run& run, int16_t before, const text::Str<Cap>& text, int16_t after, uint32_t set) {
    putstr(run, before, text.c, text.len, after, set);
}

inline void putstr(Run& run, int16_t before, const text::LineBuffer& line, int16_t after, uint32_t set) {
    putstr(run, before, line.text.c, line.text.len, after, set);
}

// putstr(run, 0, text, len, 1, {channel}) for one file channel (log, ps),
// for the lines a drawing or a report writes by the hundred thousand.
void putline(Run& run, int channel, const char* text, int len);

// Push the screen and every open file channel out to their devices.
void flushchannels(Run& run);

// Push every open file channel out (the screen is left as it is).
void flushfiles(Run& run);

// A drawing channel of the run as a byte sink: a line goes out exactly as
// putline sends it, other bytes straight on.  The sink never ends the run:
// it says false when an ending signal has come or the file could not take
// the bytes (errno set), and its writer's caller ends the run.
class ChannelSink final : public ByteSink {
public:
    ChannelSink(Run& run, int channel) : run(run), channel(channel) {}
    bool write(const char* bytes, size_t n) override;
    bool line(const char* text, size_t n) override;

private:
    Run& run;
    int channel;
};

}  // namespace gridel::run
