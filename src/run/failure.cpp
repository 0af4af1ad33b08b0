// failure.cpp - the failure report, the kill stop and the input/output
// error.
#include "run/failure.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "run/diagnostics.h"
#include "run/linereader.h"
#include "run/run.h"
#include "text/shown.h"
#include "run/signals.h"
#include "text/tokens.h"

namespace gridel::run {

namespace {

void writeall(Run& run, OutputChannel& channel, const char* bytes, size_t n) {
    if (!channelwrite(channel, bytes, n)) ioerror(run, channel.path);
}

}  // namespace

void bombed(Run& run, const char* where, const char* what, int whatlen) {
    // The block: two line ends, " BOMBED in ", where, " : ", what, two line ends.
    char block[600];
    size_t n = 0;
    auto add = [&](const char* s, size_t len) {
        if (len > sizeof block - n) len = sizeof block - n;
        std::memcpy(block + n, s, len);
        n += len;
    };
    size_t wherelen = std::strlen(where);
    add("\n\n BOMBED in ", 13);
    add(where, wherelen > 255 ? 255 : wherelen);
    add(" : ", 3);
    add(what, static_cast<size_t>(whatlen > 255 ? 255 : whatlen));
    add("\n\n", 2);

    uint32_t open = run.open;
    if (open & (1u << chw)) std::fwrite(block, 1, n, run.screen);
    reportfailure(run, what, whatlen);  // where, on standard error
    if (open & (1u << chw)) {
        if (run.interactive) {  // a run from the command line never waits
            std::fputs("\nhit return to exit program\n", run.screen);
            std::fflush(run.screen);
            skipline(run.keyboard);  // whatever comes back, the run ends
        }
    }
    // The log gets its copy only after the user has pressed return.
    OutputChannel& log = run.channels[chlog];
    if ((open & (1u << chlog)) && log.file != nullptr) writeall(run, log, block, n);
    throw RunEnd{exitfailed, false, {}, {}};
}

bool iskill(const char* word, int len) {
    int first, last;
    text::trimbounds(word, len, first, last);
    return last - first + 1 == 4 && last > 0 && std::memcmp(word + first - 1, "kill", 4) == 0;
}

void killrun(Run& run) {
    static const char notice[] = "\n-- run killed --\n";
    const size_t n = sizeof notice - 1;
    uint32_t open = run.open;
    if (open & (1u << chw)) std::fwrite(notice, 1, n, run.screen);
    OutputChannel& log = run.channels[chlog];
    if ((open & (1u << chlog)) && log.file != nullptr) writeall(run, log, notice, n);
    throw RunEnd{exitnormal, false, {}, {}};
}

void stopifinterrupted() {
    if (int sig = pendingsignal()) throw RunEnd{exitsignalled + sig, false, {}, {}};
}

RunEnd ioerrorend(const char* failing, const char* reason) {
    RunEnd end{exitioerror, true, {}, {}};
    std::snprintf(end.failing, sizeof end.failing, "%s", failing);
    std::snprintf(end.reason, sizeof end.reason, "%s", reason);
    return end;
}

void ioerror(Run& run, const char* path) { outputfailure(run, path, std::strerror(errno)); }

void outputfailure(Run& run, const char* path, const char* reason) {
    std::fflush(run.screen);
    std::fputs("gridel: ", run.errors);
    std::fputs(text::shownbytes(path, std::strlen(path)).c_str(), run.errors);  // a name may come from a file
    std::fputs(": ", run.errors);
    std::fputs(reason, run.errors);
    std::fputc('\n', run.errors);
    throw ioerrorend(path, reason);
}

}  // namespace gridel::run
