// files.cpp - standard streams, signals, promptdatafile, openoutput and
// closeoutput.
#include "run/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/run.h"

namespace {


const int endingsignals[] = {SIGINT, SIGTERM, SIGHUP};

// The channel table whose temporary files the signal handler removes: the
// one state the program keeps outside its Run, since a handler is given
// nothing but the signal.
OutputChannel* guardedchannels = nullptr;

// Remove the temporary files, then end the run by the signal itself, as it
// would have without the handler.  Only async-signal-safe calls.
extern "C" void removetemporaries(int sig) {
    if (guardedchannels != nullptr)
        for (int ch = 0; ch < channelcount; ++ch)
            if (guardedchannels[ch].pending) ::unlink(guardedchannels[ch].temp);
    std::signal(sig, SIG_DFL);
    std::raise(sig);  // delivered when the handler returns
}

// Where an output file's bytes go.
enum class Destination {
    fresh,    // nothing is there: a new file
    regular,  // a regular file, replaced when committed
    direct,   // anything else: written in place (or the open reports why not)
};

// Follow symbolic links from `name` (at most 40) to the file its bytes would
// reach; that path goes to `target`, and an existing file's permissions to
// `mode`.
Destination resolve(const char* name, char (&target)[pathcapacity], mode_t& mode) {
    char at[pathcapacity];
    if (std::strlen(name) >= sizeof at) return Destination::direct;
    std::strcpy(at, name);
    for (int hops = 0; hops <= 40; ++hops) {
        struct stat st;
        if (::lstat(at, &st) != 0) {
            if (errno != ENOENT) return Destination::direct;
            std::strcpy(target, at);
            return Destination::fresh;
        }
        if (S_ISREG(st.st_mode)) {
            std::strcpy(target, at);
            mode = st.st_mode & 07777;
            return Destination::regular;
        }
        if (!S_ISLNK(st.st_mode)) return Destination::direct;
        char link[pathcapacity];
        ssize_t n = ::readlink(at, link, sizeof link - 1);
        if (n < 0) return Destination::direct;
        link[n] = '\0';
        // A relative link is read from the folder that holds it.
        const char* slash = link[0] == '/' ? nullptr : std::strrchr(at, '/');
        size_t keep = slash != nullptr ? static_cast<size_t>(slash - at) + 1 : 0;
        if (keep + static_cast<size_t>(n) >= sizeof at) return Destination::direct;
        std::memcpy(at + keep, link, static_cast<size_t>(n) + 1);
    }
    return Destination::direct;  // a loop of links: the open reports it
}

// The temporary name beside `target`: ".<name>.XXXXXX" in its folder.
bool tempname(const char* target, char (&temp)[pathcapacity]) {
    const char* slash = std::strrchr(target, '/');
    size_t folder = slash != nullptr ? static_cast<size_t>(slash - target) + 1 : 0;
    size_t name = std::strlen(target + folder);
    static const char tail[] = ".XXXXXX";
    if (folder + 1 + name + sizeof tail > sizeof temp) return false;
    std::memcpy(temp, target, folder);
    temp[folder] = '.';
    std::memcpy(temp + folder + 1, target + folder, name);
    std::memcpy(temp + folder + 1 + name, tail, sizeof tail);  // with its NUL
    return true;
}

// The permissions a newly created file gets: 0666 less the umask.
mode_t freshmode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

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

void guardoutputfiles(Run& run) {
    guardedchannels = run.channels;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = removetemporaries;
    sigemptyset(&action.sa_mask);
    for (int sig : endingsignals) sigaddset(&action.sa_mask, sig);  // one handler at a time
    for (int sig : endingsignals) {
        struct sigaction before;
        if (::sigaction(sig, &action, &before) == 0 && before.sa_handler == SIG_IGN)
            ::sigaction(sig, &before, nullptr);  // ignored by whoever started the run (nohup)
    }
    std::signal(SIGXFSZ, SIG_IGN);
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
        explain(run, std::string("the data file would be the log, ") + path + ", which every run rewrites",
                {"give the data file another name, such as gl-mylog.txt"});
        refuse(run, chlog, what);
    }
    if (!named || !openreader(file, path)) {
        Text m;
        settext(m, "cannot locate file \"");
        addtext(m, name);
        addtext(m, "\"");
        putstr(run, 1, m, 1, setwoutlog);
        explain(run, "the data file was not found");
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
            explain(run, std::string("the output ") + run.channels[ch].path + " would replace the data file");
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
            explain(run, std::string("the output ") + drawingpath + " would replace the data file");
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
    std::memcpy(channel.path, path, sizeof channel.path);
    channel.pending = 0;
    FILE* f = nullptr;
    mode_t mode = 0;
    Destination where = resolve(path, channel.target, mode);
    if (where == Destination::direct) {
        f = std::fopen(path, "w");
        if (f == nullptr) ioerror(run, path);
    } else {
        // A write-protected file stays protected, as it would be if opened
        // for writing in place.
        if (where == Destination::regular && ::access(channel.target, W_OK) != 0) ioerror(run, path);
        if (where == Destination::fresh) mode = freshmode();
        if (!tempname(channel.target, channel.temp)) {
            errno = ENAMETOOLONG;
            ioerror(run, path);
        }
        channel.pending = 1;  // from here a signal removes whatever mkstemp creates
        int fd = ::mkstemp(channel.temp);
        if (fd < 0) {
            channel.pending = 0;
            ioerror(run, path);
        }
        ::fchmod(fd, mode);
        f = ::fdopen(fd, "w");
        if (f == nullptr) {
            int reason = errno;
            ::close(fd);
            ::unlink(channel.temp);
            channel.pending = 0;
            errno = reason;
            ioerror(run, path);
        }
    }
    // The staging buffer gathers the bytes (see channels.h); without one, the
    // file keeps the library's own buffering.
    channel.buffer = static_cast<char*>(std::malloc(stagingsize));
    channel.staged = 0;
    if (channel.buffer != nullptr) std::setvbuf(f, nullptr, _IONBF, 0);
    channel.file = f;
    channel.written = false;
    run.open |= 1u << number;
    return full;
}

Closed closeoutput(OutputChannel& channel, bool commit) {
    Closed result = Closed::done;
    int reason = 0;
    if (channel.file != nullptr && !drainchannel(channel)) {
        reason = errno;
        result = Closed::notcompleted;
    }
    if (channel.file != nullptr && std::fclose(channel.file) != 0 && result == Closed::done) {
        reason = errno;
        result = Closed::notcompleted;
    }
    channel.file = nullptr;
    std::free(channel.buffer);
    channel.buffer = nullptr;
    if (channel.pending) {
        if (commit && result == Closed::done) {
            if (::rename(channel.temp, channel.target) != 0) {
                reason = errno;
                result = Closed::notcompleted;
                ::unlink(channel.temp);
            }
        } else if (::unlink(channel.temp) != 0 && result == Closed::done) {
            reason = errno;
            result = Closed::notremoved;
        }
        channel.pending = 0;
    }
    errno = reason;
    return result;
}
