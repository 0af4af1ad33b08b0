// files.cpp - standard streams, promptdatafile and openoutput.
#include "run/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/lock.h"
#include "run/run.h"

namespace gridel::run {

namespace {

template <int Cap>
std::string textstring(const text::Str<Cap>& text) {
    return std::string(text.c, static_cast<size_t>(text.len));
}

// True when `path` leads to the file described by `st`.
bool samefile(const char* path, const struct stat& st) {
    struct stat other;
    return ::stat(path, &other) == 0 && other.st_dev == st.st_dev && other.st_ino == st.st_ino;
}

// Refuse a data file that an output file would replace, leaving that output
// file as it was: the channel (when the output is open) is dropped, not
// committed.
[[noreturn]] void refuse(Run& run, int channel, const text::Text& what) {
    if (channel >= 0) {
        dropoutput(run.channels[channel]);
        run.open &= ~(1u << channel);
    }
    bombed(run, "promptdatafile", what);
}

}  // namespace

const std::string* memoryinput(const MemoryRun& memory, const char* name) {
    for (const auto& [file, text] : memory.inputs)
        if (file == name) return &text;
    return memory.anyname && !memory.inputs.empty() ? &memory.inputs.front().second : nullptr;
}

bool openinput(Run& run, LineReader& reader, const char* path) {
    if (run.memory == nullptr) return openreader(reader, path);
    const std::string* text = memoryinput(*run.memory, path);
    if (text == nullptr) {
        errno = ENOENT;
        return false;
    }
    openmemoryreader(reader, *text);
    return true;
}

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

DataFileName datafilename(const std::string& typed) {
    size_t slash = typed.rfind('/');
    std::string base = slash == std::string::npos ? typed : typed.substr(slash + 1);
    std::string stem = base;
    if (stem.compare(0, 3, "gl-") == 0) stem.erase(0, 3);
    size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.erase(dot);
    DataFileName file;
    text::settext(file.typed, typed.data(), static_cast<int>(typed.size()));
    settext(file.name, base.data(), static_cast<int>(base.size()));
    settext(file.stem, "gl-");
    text::addtext(file.stem, stem.data(), static_cast<int>(stem.size()));
    return file;
}

int enterdatafolder(Run& run) {
    std::string typed = textstring(run.datafile.typed);
    std::string folder = typed.substr(0, typed.rfind('/') + 1);
    if (folder.empty() || ::chdir(folder.c_str()) == 0) return exitnormal;
    int reason = errno;
    if (reason == ENOENT || reason == ENOTDIR) {
        // As for a data file missing from a folder that is there.
        enterfile(run, run.datafile.typed, run.datafile.typed);
        explain(run, "the data file was not found");
        reportfailure(run, "datafile needed", 15);
        return exitfailed;
    }
    std::fprintf(run.errors, "gridel: %s: %s\n", folder.c_str(), std::strerror(reason));
    return exitioerror;
}

std::string checkcommand(const Run& run) {
    std::string command = "gridel --check";
    const std::string file = textstring(run.datafile.typed);
    if (file.empty()) return command;
    if (file[0] == '-') command += " --";  // not an option
    bool plain = true;
    for (char c : file)
        plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || std::strchr("/._-+,:@%", c) != nullptr);
    if (plain) return command + " " + file;
    std::string quoted = "'";
    for (char c : file) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return command + " " + quoted + "'";
}

std::string outputstem(const Run& run) {
    if (run.datafile.stem.len > 0) return textstring(run.datafile.stem);
    return "gl-" + textstring(run.settings.datafile);
}

std::string outputname(const Run& run, int channel) {
    const char* ending = run.drawings[channel - chps].ending;
    return outputstem(run) + (ending != nullptr ? ending : "");
}

std::string logname(const Run& run) {
    if (run.datafile.stem.len > 0) return outputstem(run) + ".log";
    return "gl-log.txt";
}

std::string shownname(const Run& run, const char* name) {
    const text::Text& typed = run.datafile.typed;
    int folder = typed.len;
    while (folder > 0 && typed.c[folder - 1] != '/') --folder;
    return std::string(typed.c, static_cast<size_t>(folder)) + name;
}

text::Text promptdatafile(Run& run, const char* prefix, text::Word& suffix, LineReader& file) {
    text::Text name;
    if (run.datafile.name.len > 0) {  // named on the command line
        name = run.datafile.name;
    } else {
        if (suffix.len == 0 && run.interactive) suffix = promptword(run, "suffix to name for datafile");
        if (suffix.len == 0) bombed(run, "promptdatafile", "expecting a suffix for data filename");
        text::settext(name, prefix);
        text::addtext(name, suffix);
        addtext(name, ".txt");
        // The drawings are named now: no other run may write them from here.
        if (!run.checking) lockoutputs(run, 1, outputstem(run).c_str());
    }
    // Failures from here on name the data file, as the command line did.
    enterfile(run, name, run.datafile.typed.len > 0 ? run.datafile.typed : name);
    char path[256];
    bool named = text::tocstring(name, path);
    // The log is open already: a data file of the log's name would be
    // replaced by the log (the suffix "log" of a classic run, a data file
    // named gl-<name>.log on the command line).
    if (named && isopen(run, chlog) && std::strcmp(path, run.channels[chlog].path) == 0) {
        text::Text what;
        if (run.datafile.name.len > 0) {
            text::settext(what, "output ");
            text::addtext(what, path);
            text::addtext(what, " is the same file as the datafile");
            explain(run, std::string("the log ") + path + " would replace the data file",
                    {"give the data file a name that does not end in .log, such as gl-mine.txt"});
        } else {
            text::settext(what, "suffix ");
            text::addtext(what, suffix);
            text::addtext(what, " names the log file ");
            addtext(what, path);
            explain(run, std::string("the data file would be the log, ") + path + ", which every run rewrites",
                    {"give the data file another name, such as gl-mylog.txt"});
        }
        refuse(run, chlog, what);
    }
    bool opened = named && openinput(run, file, path);
    if (!opened && named && errno != ENOENT && errno != ENOTDIR && errno != EISDIR) {
        // There, but not to be read (no permission, a loop of links, ...):
        // an input/output error, as for any file the run cannot use.
        std::string shown = run.datafile.typed.len > 0 ? textstring(run.datafile.typed) : std::string(path);
        ioerror(run, shown.c_str());
    }
    if (!opened) {
        text::Text m;
        text::settext(m, "cannot locate file \"");
        text::addtext(m, name);
        text::addtext(m, "\"");
        putstr(run, 1, m, 1, setwlog);
        explain(run, "the data file was not found");
        bombed(run, "promptdatafile", "datafile needed");
    }
    // Any other name that leads to the data file (a link) is refused too:
    // the open outputs, and the drawings still to come.
    struct stat data;
    if (::fstat(file.fd, &data) == 0) {
        text::Text what;
        for (int ch = chlog; ch < channelcount; ++ch) {
            if (!isopen(run, ch) || !samefile(run.channels[ch].path, data)) continue;
            text::settext(what, "output ");
            text::addtext(what, run.channels[ch].path);
            text::addtext(what, " is the same file as the datafile");
            explain(run, std::string("the output ") + run.channels[ch].path + " would replace the data file");
            refuse(run, ch, what);
        }
        for (int ch = chps; ch < channelcount; ++ch) {
            if (!(run.outputs & (1u << ch))) continue;
            std::string drawing = outputname(run, ch);
            if (!samefile(drawing.c_str(), data)) continue;
            text::settext(what, "output ");
            text::addtext(what, drawing.data(), static_cast<int>(drawing.size()));
            text::addtext(what, " is the same file as the datafile");
            explain(run, "the output " + drawing + " would replace the data file");
            refuse(run, -1, what);
        }
    }
    return name;
}

text::Text openoutput(Run& run, const char* name, const text::Word& extension, int number) {
    OutputChannel& channel = run.channels[number];
    std::string full = std::string(name) + std::string(extension.c, static_cast<size_t>(extension.len));
    // A name holding a NUL byte cannot be created; one longer than a path
    // name may be cannot either.
    if (full.find('\0') != std::string::npos) {
        for (char& c : full)
            if (c == '\0') c = '?';
        errno = EINVAL;
        ioerror(run, full.c_str());
    }
    if (full.size() >= sizeof channel.path) {
        errno = ENAMETOOLONG;
        ioerror(run, full.c_str());
    }
    bool created = run.memory != nullptr ? creatememoryoutput(channel, full.c_str()) : createoutput(channel, full.c_str());
    if (!created) ioerror(run, full.c_str());
    run.open |= 1u << number;
    text::Text shown;
    text::settext(shown, full.data(), static_cast<int>(full.size()));
    return shown;
}

text::Text opendrawing(Run& run, int channel) {
    const char* ending = run.drawings[channel - chps].ending;
    return openoutput(run, outputstem(run).c_str(), text::maketext<20>(ending != nullptr ? ending : ""), channel);
}

}  // namespace gridel::run
