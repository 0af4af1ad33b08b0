// linereader.cpp - buffered line reading.
#include "run/linereader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "run/signals.h"

namespace gridel::run {

namespace {

// Read up to `room` bytes into `into` from the reader's file or text, as
// read(2) does.
ssize_t source(LineReader& r, char* into, size_t room) {
    if (r.memory == nullptr) return ::read(r.fd, into, room);
    size_t n = std::min(room, r.memorysize - r.memoryat);
    std::memcpy(into, r.memory + r.memoryat, n);
    r.memoryat += n;
    return static_cast<ssize_t>(n);
}

// Make at least one unread byte available; false at the end or on an error
// (which sets `failed`), an ending signal included.  read(2) is used rather than stdio so that a
// keyboard read returns as soon as a line is typed.
bool fill(LineReader& r) {
    if (r.pos < r.end) return true;
    if (r.ended || r.failed || (r.fd < 0 && r.memory == nullptr)) return false;
    for (;;) {
        ssize_t n = source(r, r.buf, sizeof r.buf);
        if (n > 0) {
            r.pos = 0;
            r.end = static_cast<int>(n);
            return true;
        }
        if (n == 0) {
            r.ended = true;
            return false;
        }
        // A read cut short by an ending signal fails, so that the run sees
        // the signal's note; any other signal is only a pause.
        if (errno == EINTR && pendingsignal() == 0) continue;
        if (errno == EBADF && r.keyboard) {  // a closed standard input: nothing typed
            r.ended = true;
            return false;
        }
        r.failed = true;
        return false;
    }
}

// An LF right after a line-ending CR belongs to that line end.
void skippendinglf(LineReader& r) {
    if (!r.pendingcr) return;
    r.pendingcr = false;
    if (fill(r) && r.buf[r.pos] == '\n') ++r.pos;
}

void setreader(LineReader& r, int fd) {
    r.fd = fd;
    r.pos = 0;
    r.end = 0;
    r.ended = false;
    r.failed = false;
    r.pendingcr = false;
    r.lineno = 0;
    r.keyboard = false;
    r.regular = false;
    r.memory = nullptr;
    r.memorysize = 0;
    r.memoryat = 0;
}

// Skip a UTF-8 byte order mark at the start of a newly opened file: some
// editors write one, and it is not part of the first word.  The first bytes
// are gathered (a pipe may deliver them one by one) before they are judged.
void skipbyteordermark(LineReader& r) {
    static const char mark[3] = {'\xEF', '\xBB', '\xBF'};
    while (r.end < 3 && !r.ended && !r.failed) {
        ssize_t n = source(r, r.buf + r.end, sizeof r.buf - static_cast<size_t>(r.end));
        if (n > 0) {
            r.end += static_cast<int>(n);
        } else if (n == 0) {
            r.ended = true;
        } else if (errno != EINTR || pendingsignal() != 0) {
            r.failed = true;
        }
    }
    if (r.end >= 3 && std::memcmp(r.buf, mark, 3) == 0) r.pos = 3;
}

}  // namespace

void openkeyboard(LineReader& reader) {
    setreader(reader, 0);
    reader.keyboard = true;
}

bool openreader(LineReader& reader, const char* path) {
    int fd = ::open(path, O_RDONLY);
    if (fd < 0) return false;
    struct stat st;
    bool known = ::fstat(fd, &st) == 0;
    if (!known || S_ISDIR(st.st_mode)) {  // a folder is not a text file
        int reason = known ? EISDIR : errno;
        ::close(fd);
        errno = reason;
        return false;
    }
    setreader(reader, fd);
    reader.regular = S_ISREG(st.st_mode);
    skipbyteordermark(reader);
    return true;
}

void openmemoryreader(LineReader& reader, const std::string& text) {
    setreader(reader, -1);
    reader.memory = text.data();
    reader.memorysize = text.size();
    reader.regular = true;
    skipbyteordermark(reader);
}

bool closereader(LineReader& reader) {
    reader.memory = nullptr;
    if (reader.fd < 0) return true;
    int rc = ::close(reader.fd);
    reader.fd = -1;
    return rc == 0;
}

bool atend(LineReader& reader) {
    skippendinglf(reader);
    return !fill(reader) && !reader.failed;
}

ReadResult readline(LineReader& reader, std::string& line) {
    line.clear();
    skippendinglf(reader);
    if (!fill(reader)) return reader.failed ? readfailed : readatend;
    ++reader.lineno;
    for (;;) {
        const char* p = reader.buf + reader.pos;
        const char* e = reader.buf + reader.end;
        // The line end is the first LF or CR: the first LF bounds the search
        // for a CR, which is rare.
        const char* stop = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(e - p)));
        const char* lf = stop != nullptr ? stop : e;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(lf - p)));
        if (cr != nullptr) stop = cr;
        const char* upto = stop != nullptr ? stop : e;
        size_t take = static_cast<size_t>(upto - p);
        if (line.size() + take > static_cast<size_t>(maxlinelength)) {
            // Too long: the line's first characters are kept for the report,
            // and the rest is left unread.
            size_t room = static_cast<size_t>(maxlinelength) - line.size();
            line.append(p, room);
            reader.pos += static_cast<int>(room);
            return readtoolong;
        }
        line.append(p, take);
        if (stop != nullptr) {
            reader.pos = static_cast<int>(stop + 1 - reader.buf);
            reader.pendingcr = *stop == '\r';
            return readok;
        }
        reader.pos = reader.end;
        if (!fill(reader)) return reader.failed ? readfailed : readok;  // a last line without a line end
    }
}

ReadResult skipline(LineReader& reader) {
    skippendinglf(reader);
    if (!fill(reader)) return reader.failed ? readfailed : readatend;
    ++reader.lineno;
    int64_t skipped = 0;
    for (;;) {
        const char* p = reader.buf + reader.pos;
        const char* e = reader.buf + reader.end;
        const char* stop = p;
        while (stop < e && *stop != '\n' && *stop != '\r') ++stop;
        skipped += stop - p;
        if (skipped > maxlinelength) return readtoolong;
        if (stop < e) {
            reader.pos = static_cast<int>(stop + 1 - reader.buf);
            reader.pendingcr = *stop == '\r';
            return readok;
        }
        reader.pos = reader.end;
        if (!fill(reader)) return reader.failed ? readfailed : readok;
    }
}

}  // namespace gridel::run
