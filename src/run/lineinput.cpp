// lineinput.cpp - buffered line reading, keyboard lines, prompts and questions.
#include "run/lineinput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "run/channels.h"
#include "run/failure.h"

LineReader keyboard = {0, 0, 0, false, false, false, {}};

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
        if (errno == EBADF && &r == &keyboard) {  // a closed standard input: nothing typed
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
}

}  // namespace

bool openreader(LineReader& reader, const char* path) {
    int fd = ::open(path, O_RDONLY);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {  // a folder is not a text file
        ::close(fd);
        return false;
    }
    setreader(reader, fd);
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

ReadResult readline(LineReader& reader, Text& line) {
    line.len = 0;
    skippendinglf(reader);
    if (!fill(reader)) return reader.failed ? readfailed : readatend;
    int len = 0;
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
        int take = static_cast<int>(upto - p);
        if (take > 255 - len) take = 255 - len;  // the rest of a long line is skipped
        std::memcpy(line.c + len, p, static_cast<size_t>(take));
        len += take;
        if (stop != nullptr) {
            reader.pos = static_cast<int>(stop + 1 - reader.buf);
            reader.pendingcr = *stop == '\r';
            line.len = static_cast<int16_t>(len);
            return readok;
        }
        reader.pos = reader.end;
        if (!fill(reader)) {  // a last line without a line end
            line.len = static_cast<int16_t>(len);
            return reader.failed ? readfailed : readok;
        }
    }
}

void flushall() { flushchannels(); }

void rstrings(LineReader& file, WordList& words) {
    // The file channels are made complete before each line is read; the
    // screen is pushed out wherever the keyboard is read, not here.
    flushfiles();
    Text line;
    if (readline(file, line) == readfailed) {
        std::fputc('"', stdout);
        std::fwrite(line.c, 1, static_cast<size_t>(line.len), stdout);
        std::fputs("\"\n", stdout);
        bombed("read in rstrings", "problems reading");
    }
    string2strings(line.c, line.len, words);
    for (int i = 1; i <= words.count; ++i) {
        if (words.w[i].c[0] == '%') {  // a comment: this word and all after it go
            for (int k = i; k <= words.count; ++k) words.w[k].len = 0;
            words.count = static_cast<int16_t>(i - 1);
            break;
        }
    }
}

void prstrings(WordList& words) {
    flushall();
    Text line;
    if (readline(keyboard, line) == readfailed) bombed("read in prstrings", "problems reading");
    // Backspace editing: each backspace takes itself and the character before it.
    int n = 0;
    for (int i = 0; i < line.len; ++i) {
        if (line.c[i] == '\b') {
            if (n > 0) --n;
        } else {
            line.c[n++] = line.c[i];
        }
    }
    string2strings(line.c, n, words);
}

void promptstrings(const char* prompt, WordList& words) {
    Text shown;
    settext(shown, prompt);
    addtext(shown, " : ");
    putstr(0, shown, 0, setwlog);
    prstrings(words);
    if (openChannels & (1u << chlog)) {
        Text copy;
        copy.len = 0;
        if (words.count == 0) {
            settext(copy, "(nothing input)");
        } else if (words.count == 1) {
            settext(copy, words.w[1]);
        } else {
            addtext(copy, " ");
            for (int i = 1; i <= words.count; ++i) {
                addtext(copy, words.w[i]);
                addtext(copy, " ");
            }
        }
        putstr(0, copy, 1, setlog);
    }
    if (words.count == 1 && iskill(words.w[1])) killrun();
}

Word promptword(const char* prompt) {
    static WordList words;  // large; kept out of the stack
    promptstrings(prompt, words);
    Word w;
    w.len = 0;
    if (words.count >= 1) w = words.w[1];
    return w;
}

bool query(const char* question) {
    Text shown;
    settext(shown, question);
    addtext(shown, " ? ");
    putstr(0, shown, 0, setwlog);
    flushall();
    Text line;
    if (readline(keyboard, line) == readfailed) ioerror("standard input");
    if (line.len == 1 && line.c[0] == '?') {
        putstr(1, "sorry, you are on your own...", 2, setwlog);
        putstr(0, shown, 0, setwlog);
        flushall();
        if (readline(keyboard, line) == readfailed) ioerror("standard input");
    }
    Text t = trimblanks(line);
    bool answer = t.len == 0 || istext(t, "1") || istext(t, "yes") || istext(t, "y") || istext(t, "Y");
    if (openChannels & (1u << chlog)) putstr(0, answer ? "yes" : "no", 1, setlog);
    if (iskill(t)) killrun();
    return answer;
}
