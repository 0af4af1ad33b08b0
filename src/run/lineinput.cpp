// lineinput.cpp - buffered line reading, keyboard lines, prompts and questions.
#include "run/lineinput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "run/channels.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/run.h"

namespace {

// Make at least one unread byte available; false at the end or on an error
// (which sets `failed`).  read(2) is used rather than stdio so that a
// keyboard read returns as soon as a line is typed.
bool fill(LineReader& r) {
    if (r.pos < r.end) return true;
    if (r.ended || r.failed || r.fd < 0) return false;
    for (;;) {
        ssize_t n = ::read(r.fd, r.buf, sizeof r.buf);
        if (n > 0) {
            r.pos = 0;
            r.end = static_cast<int>(n);
            return true;
        }
        if (n == 0) {
            r.ended = true;
            return false;
        }
        if (errno == EINTR) continue;
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
}

// Skip a UTF-8 byte order mark at the start of a newly opened file: some
// editors write one, and it is not part of the first word.  The first bytes
// are gathered (a pipe may deliver them one by one) before they are judged.
void skipbyteordermark(LineReader& r) {
    static const char mark[3] = {'\xEF', '\xBB', '\xBF'};
    while (r.end < 3 && !r.ended && !r.failed) {
        ssize_t n = ::read(r.fd, r.buf + r.end, sizeof r.buf - static_cast<size_t>(r.end));
        if (n > 0) {
            r.end += static_cast<int>(n);
        } else if (n == 0) {
            r.ended = true;
        } else if (errno != EINTR) {
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
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {  // a folder is not a text file
        ::close(fd);
        return false;
    }
    setreader(reader, fd);
    reader.regular = S_ISREG(st.st_mode);
    skipbyteordermark(reader);
    return true;
}

bool closereader(LineReader& reader) {
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

void flushall(Run& run) { flushchannels(run); }

void rstrings(Run& run, LineReader& file, WordList& words) {
    // The file channels are made complete before a read that may wait (a
    // pipe, a terminal); a regular file never waits, and its lines are read
    // without a system call each for the log.  The screen is pushed out
    // wherever the keyboard is read, not here.
    if (!file.regular) flushfiles(run);
    ReadResult got = readline(file, words.line);
    atline(run, file.lineno);
    if (got == readfailed) {
        int reason = errno;
        size_t shown = words.line.size() < 255 ? words.line.size() : 255;
        std::fputc('"', stdout);
        std::fwrite(words.line.data(), 1, shown, stdout);
        std::fputs("\"\n", stdout);
        explain(run, std::string("the file could not be read: ") + std::strerror(reason));
        bombed(run, "read in rstrings", "problems reading");
    }
    if (got == readtoolong) {
        explain(run, "this line is longer than 1048576 bytes", {"is it a text file, with its lines ended?"});
        bombed(run, "read in rstrings", toolongmessage);
    }
    splitline(words);
    dropcomment(words);
}

void prstrings(Run& run, WordList& words) {
    flushall(run);
    ReadResult got = readline(run.keyboard, words.line);
    if (got == readfailed) bombed(run, "read in prstrings", "problems reading");
    if (got == readtoolong) bombed(run, "read in prstrings", toolongmessage);
    // Backspace editing: each backspace takes itself and the character before it.
    std::string& line = words.line;
    size_t n = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\b') {
            if (n > 0) --n;
        } else {
            line[n++] = line[i];
        }
    }
    line.resize(n);
    splitline(words);
}

void promptstrings(Run& run, const char* prompt, WordList& words) {
    Text shown;
    settext(shown, prompt);
    addtext(shown, " : ");
    putstr(run, 0, shown, 0, setwlog);
    prstrings(run, words);
    if (isopen(run, chlog)) {
        Text copy;
        copy.len = 0;
        if (words.count == 0) {
            settext(copy, "(nothing input)");
        } else if (words.count == 1) {
            settext(copy, wordat(words, 1));
        } else {
            addtext(copy, " ");
            for (int i = 1; i <= words.count && copy.len < capof(copy); ++i) {
                addtext(copy, wordat(words, i));
                addtext(copy, " ");
            }
        }
        putstr(run, 0, copy, 1, setlog);
    }
    if (words.count == 1 && iskill(wordat(words, 1))) killrun(run);
}

Word promptword(Run& run, const char* prompt) {
    WordList words;
    promptstrings(run, prompt, words);
    return wordat(words, 1);
}

bool query(Run& run, const char* question) {
    Text shown;
    settext(shown, question);
    addtext(shown, " ? ");
    putstr(run, 0, shown, 0, setwlog);
    flushall(run);
    std::string line;
    auto answerline = [&] {
        ReadResult got = readline(run.keyboard, line);
        if (got == readfailed) ioerror(run, "standard input");
        if (got == readtoolong) bombed(run, "read in prstrings", toolongmessage);
    };
    answerline();
    if (line == "?") {
        putstr(run, 1, "sorry, you are on your own...", 2, setwlog);
        putstr(run, 0, shown, 0, setwlog);
        flushall(run);
        answerline();
    }
    int first, last;
    trimbounds(line.data(), static_cast<int>(line.size()), first, last);
    TextView t = {line.data() + (last > 0 ? first - 1 : 0), last > 0 ? last - first + 1 : 0};
    bool answer = t.len == 0 || istext(t, "1") || istext(t, "yes") || istext(t, "y") || istext(t, "Y");
    if (isopen(run, chlog)) putstr(run, 0, answer ? "yes" : "no", 1, setlog);
    if (iskill(t)) killrun(run);
    return answer;
}
