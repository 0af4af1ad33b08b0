// commit.cpp - closeall, closefile, closeonerror and closeended.
#include "run/commit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "run/channels.h"

bool closeall(Run& run, bool finished) {
    if (!run.checking) std::fputc('\n', stdout);  // a check writes nothing but its findings
    bool complete = true;
    for (int ch = 2; ch < channelcount; ++ch) {
        OutputChannel& c = run.channels[ch];
        if (!isopen(run, ch) || c.file == nullptr) continue;
        bool keep = (ch == chout || ch == chlog) ? true : finished && c.written;
        if (!closefile(c, keep, channelname(ch))) complete = false;
    }
    run.open = 0;
    std::fflush(stdout);
    // A file whose last bytes could not be written is an input/output error:
    // the run must not look successful.
    return complete;
}

namespace {

// One line on standard error: the file and the system's reason.
void reportfile(const char* path, int reason) {
    std::fputs("gridel: ", stderr);
    std::fputs(path, stderr);
    std::fputs(": ", stderr);
    std::fputs(std::strerror(reason), stderr);
    std::fputc('\n', stderr);
}

}  // namespace

bool closefile(OutputChannel& channel, bool keep, const char* name) {
    Closed result = closeoutput(channel, keep);
    if (result == Closed::notcompleted) {
        int reason = errno;
        std::fputs("problem closing ", stdout);
        std::fputs(name, stdout);
        std::fputc('\n', stdout);
        reportfile(channel.path, reason);
        return false;
    }
    if (result == Closed::notremoved) {
        std::fputs("problem erasing  ", stdout);
        std::fputs(name, stdout);
        std::fputc('\n', stdout);
    }
    return true;
}

void closeonerror(Run& run, const char* failing) {
    for (int ch = 2; ch < channelcount; ++ch) {
        OutputChannel& c = run.channels[ch];
        if (!isopen(run, ch) || c.file == nullptr) continue;
        bool keep = (ch == chout || ch == chlog) && std::strcmp(c.path, failing) != 0;
        // The failing file's own close fails again: the run has reported it.
        if (closeoutput(c, keep) == Closed::notcompleted && keep) reportfile(c.path, errno);
    }
    run.open = 0;
}

int closeended(Run& run, const RunEnd& end) {
    if (end.ioerror) {
        closeonerror(run, end.failing);
        return end.status;
    }
    return closeall(run, false) ? end.status : exitioerror;
}
