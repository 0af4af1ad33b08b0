// channels.cpp - putstr, the screen's page-width cut and the field rules.
#include "run/channels.h"

#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "run/failure.h"
#include "run/run.h"
#include "run/signals.h"
#include "text/shown.h"

namespace gridel::run {

namespace {

// Line ends for a before or after count: 0 none, 1 one, anything else two.
int lineends(int16_t count) { return count == 0 ? 0 : (count == 1 ? 1 : 2); }

// The screen is a transcript; the log holds the same text, so a screen that
// cannot be written (a closed pipe) does not end the run.
void screenwrite(FILE* screen, const RunSettings& settings, int16_t before, const char* text, int len, int16_t after) {
    static const char ends[2] = {'\n', '\n'};
    std::fwrite(ends, 1, static_cast<size_t>(lineends(before)), screen);
    int cut = settings.pagewidth - 2;
    if (settings.dontwrap && len > cut) {
        std::fwrite(text, 1, static_cast<size_t>(cut), screen);
        std::fputc('#', screen);
    } else {
        std::fwrite(text, 1, static_cast<size_t>(len), screen);
    }
    std::fwrite(ends, 1, static_cast<size_t>(lineends(after)), screen);
    if (after == 0) std::fflush(screen);  // a prompt must be visible before the keyboard is read
}

// The text goes into the channel's staging buffer, with its line ends;
// false when the file could not take what had to go out first (errno set).
bool stage(OutputChannel& ch, int16_t before, const char* text, int len, int16_t after) {
    if (len < 0) len = 0;
    int nb = lineends(before), na = lineends(after);
    if (ch.buffer != nullptr && ch.staged + nb + len + na <= stagingsize) {  // the usual case: one copy
        char* out = ch.buffer + ch.staged;
        for (int k = 0; k < nb; ++k) *out++ = '\n';
        std::memcpy(out, text, static_cast<size_t>(len));
        out += len;
        for (int k = 0; k < na; ++k) *out++ = '\n';
        ch.staged = static_cast<int>(out - ch.buffer);
        return true;
    }
    static const char ends[2] = {'\n', '\n'};
    return channelwrite(ch, ends, static_cast<size_t>(nb)) && channelwrite(ch, text, static_cast<size_t>(len)) &&
           channelwrite(ch, ends, static_cast<size_t>(na));
}

// The text goes from the caller's line buffer into the channel; a file
// that cannot take it ends the run.
void filewrite(Run& run, OutputChannel& ch, int16_t before, const char* text, int len, int16_t after) {
    run.unflushed = true;
    if (!stage(ch, before, text, len, after)) ioerror(run, ch.path);
}

}  // namespace

const char* channelname(const Run& run, int channel) {
    if (channel == chlog) return "logfile";
    if (channel < chps || channel >= channelcount) return "";
    const char* name = run.drawings[channel - chps].channelname;
    return name != nullptr ? name : "";
}

bool isopen(const Run& run, int channel) { return (run.open & (1u << channel)) != 0; }

void putstr(Run& run, int16_t before, const char* text, int len, int16_t after, uint32_t set) {
    stopifinterrupted();
    uint32_t effective = set & run.open;
    if (effective == 0) return;
    if (effective & (1u << chw)) screenwrite(run.screen, run.settings, before, text, len, after);
    for (int ch : {chlog, chps})
        if (effective & (1u << ch)) filewrite(run, run.channels[ch], before, text, len, after);
}

void putline(Run& run, int channel, const char* text, int len) {
    stopifinterrupted();
    if (!isopen(run, channel)) return;
    filewrite(run, run.channels[channel], 0, text, len, 1);
}

void flushchannels(Run& run) {
    std::fflush(run.screen);
    flushfiles(run);
}

void flushfiles(Run& run) {
    // The files are flushed only when putstr wrote to them since the last
    // flush: the data reader asks for a flush before every line it reads.
    if (!run.unflushed) return;
    run.unflushed = false;
    for (int ch : {chlog, chps}) {
        OutputChannel& c = run.channels[ch];
        if (isopen(run, ch) && c.file != nullptr && (!drainchannel(c) || std::fflush(c.file) != 0))
            ioerror(run, c.path);
    }
}

bool ChannelSink::write(const char* bytes, size_t n) {
    return pendingsignal() == 0 && channelwrite(run.channels[channel], bytes, n);
}

bool ChannelSink::line(const char* text, size_t n) {
    if (pendingsignal() != 0) return false;
    run.unflushed = true;
    return stage(run.channels[channel], 0, text, static_cast<int>(n), 1);
}

}  // namespace gridel::run
