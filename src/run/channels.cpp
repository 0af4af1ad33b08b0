// channels.cpp - putstr, the screen's page-width cut and the field rules.
#include "run/channels.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "run/failure.h"
#include "run/settings.h"
#include "text/numfmt.h"

OutputChannel channels[10];
uint32_t openChannels = 0;

namespace {

const char* const names[10] = {
    "", "", "outfile", "logfile", "icfile", "itfile", "glfile", "csvfile", "csv2file", "psfile",
};

// Line ends for a before or after count: 0 none, 1 one, anything else two.
int lineends(int16_t count) { return count == 0 ? 0 : (count == 1 ? 1 : 2); }

// The screen is a transcript; the log holds the same text, so a screen that
// cannot be written (a closed pipe) does not end the run.
void screenwrite(int16_t before, const char* text, int len, int16_t after) {
    static const char ends[2] = {'\n', '\n'};
    std::fwrite(ends, 1, static_cast<size_t>(lineends(before)), stdout);
    int cut = runsettings.pagewidth - 2;
    if (runsettings.dontwrap && len > cut) {
        std::fwrite(text, 1, static_cast<size_t>(cut), stdout);
        std::fputc('#', stdout);
    } else {
        std::fwrite(text, 1, static_cast<size_t>(len), stdout);
    }
    std::fwrite(ends, 1, static_cast<size_t>(lineends(after)), stdout);
    if (after == 0) std::fflush(stdout);  // a prompt must be visible before the keyboard is read
}

// True when putstr has written to a file channel since the last flush.
bool unflushed = false;

// The text goes from the caller's line buffer straight into the file's
// buffer; a line end is one character.
void filewrite(OutputChannel& ch, int16_t before, const char* text, int len, int16_t after) {
    FILE* f = ch.file;
    unflushed = true;
    int nb = lineends(before), na = lineends(after);
    bool ok = true;
    for (int k = 0; k < nb; ++k) ok = ok && std::fputc('\n', f) != EOF;
    if (len > 0) ok = ok && std::fwrite(text, 1, static_cast<size_t>(len), f) == static_cast<size_t>(len);
    for (int k = 0; k < na; ++k) ok = ok && std::fputc('\n', f) != EOF;
    if (!ok) ioerror(ch.path);
}

}  // namespace

const char* channelname(int channel) {
    return channel >= 0 && channel < 10 ? names[channel] : "";
}

void putstr(int16_t before, const char* text, int len, int16_t after, uint32_t set) {
    uint32_t effective = set & openChannels;
    if (effective == 0) return;
    if (effective & 1u) screenwrite(before, text, len, after);
    for (int ch = 2; ch < 10; ++ch) {
        if (effective & (1u << ch)) {
            filewrite(channels[ch], before, text, len, after);
            if (ch >= 4) channels[ch].written = true;
        }
    }
}

namespace {

// appendfield itself, inlined into appendreal, whose numbers are the most
// frequent field.
inline void appendpadded(const char* text, int len, int16_t width, LineBuffer& buffer, int16_t capacity) {
    if (buffer.closed) return;
    Text& line = buffer.text;
    int lnow = line.len;
    if (capacity > 255) capacity = 255;
    // The padded form: fill on the left for a positive width, on the right
    // for a negative one; a text longer than its field is never cut.
    int fill = 0;
    if (width > 0) fill = width - len;
    if (width < 0) fill = -width - len;
    if (fill < 0) fill = 0;
    if (lnow > 0 && lnow + len > 250) {  // the fill is not counted here
        // The mark is appended and the line cut to its capacity: a line
        // already full keeps its characters and takes no mark.
        if (lnow < capacity) {
            line.c[lnow] = overflowmark;
            line.len = static_cast<int16_t>(lnow + 1);
        }
        buffer.closed = true;
        return;
    }
    char* out = line.c;
    int at = lnow;
    if (width > 0 && fill > 0) {
        int n = fill < capacity - at ? fill : capacity - at;
        if (n > 0) {
            std::memset(out + at, ' ', static_cast<size_t>(n));
            at += n;
        }
    }
    {
        int n = len < capacity - at ? len : capacity - at;
        if (n > 0) {
            std::memcpy(out + at, text, static_cast<size_t>(n));
            at += n;
        }
    }
    if (width < 0 && fill > 0) {
        int n = fill < capacity - at ? fill : capacity - at;
        if (n > 0) {
            std::memset(out + at, ' ', static_cast<size_t>(n));
            at += n;
        }
    }
    line.len = static_cast<int16_t>(at);
}

}  // namespace

void appendfield(const char* text, int len, int16_t width, LineBuffer& line, int16_t capacity) {
    appendpadded(text, len, width, line, capacity);
}

void appendreal(int16_t digits, bool fixed, int16_t width, LineBuffer& buffer, int16_t capacity,
                long double x) {
    Word t = real2str(x, digits, fixed);
    Text& line = buffer.text;
    int lnow = line.len;
    int fill = (width > 0 ? width : -width) - t.len;
    // The common case, a number with at most 16 characters of fill on a
    // line far from its limits (so no mark and no cut can apply): whole
    // blocks of fill and characters are copied (what lies past the line's
    // length means nothing), then the length is set.  Anything else goes
    // by the rules.
    if (capacity >= 255 && lnow + 40 <= 255 && fill <= 16 && !buffer.closed) {
        char* out = line.c + lnow;
        if (width > 0 && fill > 0) {
            std::memset(out, ' ', 16);
            out += fill;
        }
        std::memcpy(out, t.c, 20);
        out += t.len;
        if (width < 0 && fill > 0) {
            std::memset(out, ' ', 16);
            out += fill;
        }
        line.len = static_cast<int16_t>(out - line.c);
        return;
    }
    appendpadded(t.c, t.len, width, buffer, capacity);
}

void appendint(int16_t width, LineBuffer& line, int16_t capacity, long double x) {
    Word t = real2intstr(x);
    appendfield(t.c, t.len, width, line, capacity);
}

void flushchannels() {
    std::fflush(stdout);
    flushfiles();
}

void flushfiles() {
    // The files are flushed only when putstr wrote to them since the last
    // flush: the data reader asks for a flush before every line it reads.
    if (!unflushed) return;
    unflushed = false;
    for (int ch = 2; ch < 10; ++ch) {
        if ((openChannels & (1u << ch)) && channels[ch].file != nullptr) {
            if (std::fflush(channels[ch].file) != 0) ioerror(channels[ch].path);
        }
    }
}

void ioerror(const char* path) {
    const char* reason = std::strerror(errno);
    std::fflush(stdout);
    std::fputs("gridel: ", stderr);
    std::fputs(path, stderr);
    std::fputs(": ", stderr);
    std::fputs(reason, stderr);
    std::fputc('\n', stderr);
    closeonerror(path);
    std::exit(exitioerror);
}
