// commit.cpp - commitrun and closeended: finishing, committing and dropping
// a run's outputs.
#include "run/commit.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "run/channels.h"
#include "run/faultpoint.h"
#include "run/signals.h"
#include "text/shown.h"

namespace {

// One line on standard error: the file and the system's reason.
void reportfile(const char* path, int reason) {
    std::fflush(stdout);
    std::fputs("gridel: ", stderr);
    std::fputs(shownbytes(path, std::strlen(path)).c_str(), stderr);  // a name may come from a file
    std::fputs(": ", stderr);
    std::fputs(std::strerror(reason), stderr);
    std::fputc('\n', stderr);
}

// A file that could not be finished: a line on the screen naming its
// channel, and the reason on standard error.
void reportclosing(int channel, const OutputChannel& c, int reason) {
    std::fputs("problem closing ", stdout);
    std::fputs(channelname(channel), stdout);
    std::fputc('\n', stdout);
    reportfile(c.path, reason);
}

// Drop every open drawing: the files they would replace stay as they were.
void dropdrawings(Run& run) {
    for (int ch = chps; ch < channelcount; ++ch) {
        if (!isopen(run, ch)) continue;
        if (!dropoutput(run.channels[ch])) {
            std::fputs("problem erasing  ", stdout);
            std::fputs(channelname(ch), stdout);
            std::fputc('\n', stdout);
        }
        run.open &= ~(1u << ch);
    }
}

// The folder part of a path, "." for none.
std::string folderof(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash == nullptr ? std::string(".") : std::string(path, static_cast<size_t>(slash - path) + 1);
}

// A second name for the file `target`, hidden beside it like a temporary
// file (so that a run killed while it exists leaves nothing a later run
// does not remove); "" when the file system gives none.
std::string keepold(const char* target) {
    std::string folder = folderof(target);
    const char* slash = std::strrchr(target, '/');
    std::string name = slash == nullptr ? target : slash + 1;
    std::string stem = (slash == nullptr ? std::string() : folder) +
                       hiddenstem(name, 1 + randomtail, namelimit(folder.c_str())) + ".";
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[randomtail];
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return "";
        std::string backup = stem;
        for (unsigned char r : random) backup += letters[r % (sizeof letters - 1)];
        if (::link(target, backup.c_str()) == 0) return backup;
        if (errno != EEXIST) return "";
    }
    return "";
}

// Give every finished temporary file of `files` its final name, then make
// their folders durable.  A file that had a name keeps a second one until
// all are renamed; when a rename fails, the renamed files get their old
// contents back (or go, when there was none) and every temporary file is
// removed.  False when a rename failed, with its file in `failed` and errno
// set.
bool commitoutputs(const std::vector<OutputChannel*>& files, const OutputChannel*& failed) {
    // Only temporary files take names; a file written in place (a device)
    // has nothing to rename and nothing to put back.
    std::vector<OutputChannel*> renaming;
    for (OutputChannel* c : files)
        if (c->pending) renaming.push_back(c);
    std::vector<std::string> old(renaming.size());
    for (size_t i = 0; i < renaming.size(); ++i) {
        struct stat st;
        if (::lstat(renaming[i]->target, &st) == 0) old[i] = keepold(renaming[i]->target);
    }
    size_t done = 0;
    int reason = 0;
    for (; done < renaming.size(); ++done) {
        OutputChannel& c = *renaming[done];
        if (faultat("rename") || ::rename(c.temp, c.target) != 0) {
            reason = errno;
            break;
        }
        c.pending = false;
    }
    bool complete = done == renaming.size();
    if (!complete) {
        failed = renaming[done];
        for (size_t i = 0; i < done; ++i) {
            const char* target = renaming[i]->target;
            if (!old[i].empty() ? ::rename(old[i].c_str(), target) == 0 : ::unlink(target) == 0) old[i].clear();
        }
        for (size_t i = done; i < renaming.size(); ++i) dropoutput(*renaming[i]);
    }
    for (const std::string& o : old)
        if (!o.empty()) ::unlink(o.c_str());
    std::vector<std::string> folders;
    for (const OutputChannel* c : renaming) {
        std::string folder = folderof(c->target);
        bool seen = false;
        for (const std::string& f : folders) seen = seen || f == folder;
        if (seen) continue;
        folders.push_back(folder);
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
    errno = reason;
    return complete;
}

// Finish the log and commit it alone, for a run that keeps no drawing; the
// exit status, `status` unless the log could not be kept.  `announce`
// says whether a failure is also shown on the screen.
int commitlog(Run& run, int status, bool announce) {
    OutputChannel& log = run.channels[chlog];
    run.open &= ~(1u << chlog);
    if (!finishoutput(log)) {
        int reason = errno;
        if (announce)
            reportclosing(chlog, log, reason);
        else
            reportfile(log.path, reason);
        dropoutput(log);
        return exitioerror;
    }
    const OutputChannel* failed = nullptr;
    if (!commitoutputs({&log}, failed)) {
        reportfile(log.path, errno);
        return exitioerror;
    }
    return status;
}

// The last line of an interrupted run, on the screen and in the log; false
// when the log could not take it.
bool noteinterrupt(Run& run, int sig) {
    char notice[48];
    int n = std::snprintf(notice, sizeof notice, "\n-- run interrupted by SIG%s --\n", signalname(sig));
    if (isopen(run, chw)) std::fwrite(notice, 1, static_cast<size_t>(n), stdout);
    OutputChannel& log = run.channels[chlog];
    return !isopen(run, chlog) || channelwrite(log, notice, static_cast<size_t>(n));
}

}  // namespace

int commitrun(Run& run) {
    std::fputc('\n', stdout);
    bool finished = true;
    for (int ch = chps; ch < channelcount && finished; ++ch) {
        if (isopen(run, ch) && !finishoutput(run.channels[ch])) {
            reportclosing(ch, run.channels[ch], errno);
            finished = false;  // the drawings are dropped: the rest need not be written
        }
    }
    sigset_t held;
    holdsignals(held);
    int status = exitnormal;
    int sig = pendingsignal();
    if (!finished || sig != 0) {  // the log alone is kept
        dropdrawings(run);
        status = finished ? exitsignalled + sig : exitioerror;
        if (sig != 0 && !noteinterrupt(run, sig)) {
            reportfile(run.channels[chlog].path, errno);
            dropoutput(run.channels[chlog]);
            run.open &= ~(1u << chlog);
            status = exitioerror;
        }
        if (isopen(run, chlog)) status = commitlog(run, status, true);
    } else {
        std::vector<OutputChannel*> files;
        for (int ch = chlog; ch < channelcount; ++ch)
            if (isopen(run, ch)) files.push_back(&run.channels[ch]);
        OutputChannel& log = run.channels[chlog];
        const OutputChannel* failed = nullptr;
        if (isopen(run, chlog) && !finishoutput(log)) {
            reportclosing(chlog, log, errno);
            for (OutputChannel* c : files) dropoutput(*c);
            status = exitioerror;
        } else if (!commitoutputs(files, failed)) {
            reportfile(failed->path, errno);
            status = exitioerror;
        }
    }
    run.open = 0;
    releasesignals(held);
    std::fflush(stdout);
    return status;
}

int closeended(Run& run, const RunEnd& end) {
    if (!end.ioerror && !run.checking) std::fputc('\n', stdout);  // a check writes nothing but its findings
    int status = end.status;
    OutputChannel& log = run.channels[chlog];
    bool keeplog = isopen(run, chlog) && !(end.ioerror && std::strcmp(log.path, end.failing) == 0);
    if (int sig = pendingsignal()) {
        status = exitsignalled + sig;
        if (!noteinterrupt(run, sig) && keeplog) {
            reportfile(log.path, errno);
            keeplog = false;
            status = exitioerror;
        }
    }
    dropdrawings(run);
    sigset_t held;
    holdsignals(held);
    if (keeplog) {
        status = commitlog(run, status, !end.ioerror);
    } else if (isopen(run, chlog)) {
        dropoutput(log);
    }
    run.open = 0;
    releasesignals(held);
    std::fflush(stdout);
    return status;
}
