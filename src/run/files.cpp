// files.cpp - standard streams, promptdatafile and openoutput.
#include "run/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/run.h"

namespace {

// True when `path` leads to the file described by `st`.
bool samefile(const char* path, const struct stat& st) {
    struct stat other;
    return ::stat(path, &other) == 0 && other.st_dev == st.st_dev && other.st_ino == st.st_ino;
}

// Refuse a data file that an output file would replace, leaving that output
// file as it was: the channel (when the output is open) is dropped, not
// committed.
[[noreturn]] void refuse(Run& run, int channel, const Text& what) {
    if (channel >= 0) {
        closeoutput(run.channels[channel], false);
        run.open &= ~(1u << channel);
    }
    bombed(run, "promptdatafile", what);
}

}  // namespace

void openstandardstreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        int got = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (got >= 0 && got != fd) {  // the lowest free number is fd itself; this is a safeguard
            ::dup2(got, fd);
            ::close(got);
        }
    }
}

const char* outputextension(int channel) {
    switch (channel) {
        case chps: return ".eps";
        case chpdf: return ".pdf";
        case chsvg: return ".svg";
        case chpng: return ".png";
        default: return "";
    }
}

Text outputname(const Run& run, int channel) {
    Text name;
    if (run.outputstem.len > 0) {
        name = run.outputstem;
    } else {
        settext(name, "gl-");
        addtext(name, run.settings.datafile);
    }
    addtext(name, outputextension(channel));
    return name;
}

Text promptdatafile(Run& run, const char* prefix, Word& suffix, LineReader& file) {
    Text name;
    if (run.datafilename.len > 0) {  // named on the command line
        name = run.datafilename;
    } else {
        if (suffix.len == 0 && run.interactive) suffix = promptword(run, "suffix to name for datafile");
        if (suffix.len == 0) bombed(run, "promptdatafile", "expecting a suffix for data filename");
        settext(name, prefix);
        addtext(name, suffix);
        addtext(name, ".txt");
    }
    enterfile(run, name);  // failures from here on name the data file
    char path[256];
    bool named = tocstring(name, path);
    // The log is open already: a data file of the log's name would be
    // replaced by the log (the suffix "log").
    if (named && isopen(run, chlog) && std::strcmp(path, run.channels[chlog].path) == 0) {
        Text what;
        settext(what, "suffix ");
        addtext(what, suffix);
        addtext(what, " names the log file ");
        addtext(what, path);
        refuse(run, chlog, what);
    }
    if (!named || !openreader(file, path)) {
        Text m;
        settext(m, "cannot locate file \"");
        addtext(m, name);
        addtext(m, "\"");
        putstr(run, 1, m, 1, setwoutlog);
        bombed(run, "promptdatafile", "datafile needed");
    }
    // Any other name that leads to the data file (a link) is refused too:
    // the open outputs, and the drawings still to come.
    struct stat data;
    if (::fstat(file.fd, &data) == 0) {
        Text what;
        for (int ch = 2; ch < channelcount; ++ch) {
            if (!isopen(run, ch) || !samefile(run.channels[ch].path, data)) continue;
            settext(what, "output ");
            addtext(what, run.channels[ch].path);
            addtext(what, " is the same file as the datafile");
            refuse(run, ch, what);
        }
        for (int ch = chps; ch < channelcount; ++ch) {
            if (!(run.outputs & (1u << ch))) continue;
            Text drawing = outputname(run, ch);
            char drawingpath[256];
            if (!tocstring(drawing, drawingpath) || !samefile(drawingpath, data)) continue;
            settext(what, "output ");
            addtext(what, drawing);
            addtext(what, " is the same file as the datafile");
            refuse(run, -1, what);
        }
    }
    return name;
}

Text openoutput(Run& run, const char* name, const Word& extension, int number) {
    OutputChannel& channel = run.channels[number];
    Text full;
    settext(full, name);
    addtext(full, extension);
    char path[256];
    if (!tocstring(full, path)) {  // a name holding a NUL byte cannot be created
        for (int i = 0; i < full.len; ++i) path[i] = full.c[i] == '\0' ? '?' : full.c[i];
        path[full.len] = '\0';
        errno = EINVAL;
        ioerror(run, path);
    }
    if (!createoutput(channel, path)) ioerror(run, path);
    run.open |= 1u << number;
    return full;
}
