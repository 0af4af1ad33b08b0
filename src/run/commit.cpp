// commit.cpp - commitrun and closeended: finishing, committing and dropping
// a run's outputs, putting back what a failed commit replaced, and the last
// lines that say so.
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

namespace gridel::run {

namespace {

// A name as it may be shown: it may come from a file.
std::string shown(const std::string& name) { return text::shownbytes(name.data(), name.size()); }

// One line on standard error after "gridel: ".
void reportline(Run& run, const std::string& line) {
    std::fflush(run.screen);
    std::fputs(("gridel: " + line + "\n").c_str(), run.errors);
}

// One line on standard error: the file and the system's reason.
void reportfile(Run& run, const char* path, int reason) { reportline(run, shown(path) + ": " + std::strerror(reason)); }

// A file that could not be finished: a line on the screen naming its
// channel, and the reason on standard error.
void reportclosing(Run& run, int channel, const OutputChannel& c, int reason) {
    std::fputs("problem closing ", run.screen);
    std::fputs(channelname(run, channel), run.screen);
    std::fputc('\n', run.screen);
    reportfile(run, c.path, reason);
}

// Drop every open drawing: the files they would replace stay as they were.
void dropdrawings(Run& run) {
    for (int ch = chps; ch < channelcount; ++ch) {
        if (!isopen(run, ch)) continue;
        if (!dropoutput(run.channels[ch])) {
            std::fputs("problem erasing  ", run.screen);
            std::fputs(channelname(run, ch), run.screen);
            std::fputc('\n', run.screen);
        }
        run.open &= ~(1u << ch);
    }
}

// The folder part of a path, "." for none.
std::string folderof(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash == nullptr ? std::string(".") : std::string(path, static_cast<size_t>(slash - path) + 1);
}

// Errors of a link that say the file system gives no second names: the
// file is replaced without a copy, as it would be without this care.
bool nolinks(int reason) {
    return reason == EPERM || reason == EOPNOTSUPP || reason == ENOSYS || reason == EXDEV || reason == EMLINK;
}

// One file of a set taking its final name.
struct Entry {
    OutputChannel* c = nullptr;
    bool existed = false;  // a file had the final name before
    std::string copy;      // that file's hidden second name; "" when none
    bool renamed = false;  // the final name holds this run's file
    bool mixed = false;    // renamed, and the earlier file could not be put back
};

// The entries for the open files of the channels `first` to `last` that
// take a name: files written in place (a device) have none.
std::vector<Entry> entriesof(Run& run, int first, int last) {
    std::vector<Entry> set;
    for (int ch = first; ch <= last; ++ch) {
        if (!isopen(run, ch) || !run.channels[ch].pending) continue;
        Entry e;
        e.c = &run.channels[ch];
        struct stat st;
        e.existed = ::lstat(run.channels[ch].target, &st) == 0;
        set.push_back(e);
    }
    return set;
}

// Why a set was not committed, and what is mixed in it.
struct Failure {
    std::string file;                // the file the reason is about
    std::string reason;              // the system's reason
    std::vector<std::string> mixed;  // a line for each final name that holds this run's file
};

void failat(Failure& f, const char* file, int reason) {
    f.file = file;
    f.reason = std::strerror(reason);
}

// A second name for the file `target`, hidden beside it: the copy that puts
// it back if the commit fails.  0, or the reason it could not be made.
int keepold(const char* target, std::string& copy) {
    std::string folder = folderof(target);
    const char* slash = std::strrchr(target, '/');
    std::string name = slash == nullptr ? target : slash + 1;
    std::string stem = (slash == nullptr ? std::string() : folder) +
                       hiddenstem(name, oldmark.size() + randomtail, namelimit(folder.c_str())) + oldmark;
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[randomtail];
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return errno;
        copy = stem;
        for (unsigned char r : random) copy += letters[r % (sizeof letters - 1)];
        if (!faultat("link") && ::link(target, copy.c_str()) == 0) return 0;
        if (errno != EEXIST) break;
    }
    int reason = errno;
    copy.clear();
    return reason;
}

// Make the copies of the files the set replaces; false when one could not
// be made, and the copies made are removed again.
bool keepolds(std::vector<Entry>& set, Failure& f) {
    for (Entry& e : set) {
        if (!e.existed) continue;
        int reason = keepold(e.c->target, e.copy);
        if (reason == 0 || nolinks(reason)) continue;
        failat(f, e.c->path, reason);
        for (Entry& made : set)
            if (!made.copy.empty() && ::unlink(made.copy.c_str()) == 0) made.copy.clear();
        return false;
    }
    return true;
}

// Give every file of the set its final name, in order; false at the first
// that fails.
bool renameall(std::vector<Entry>& set, Failure& f) {
    for (Entry& e : set) {
        if (faultat("rename") || ::rename(e.c->temp, e.c->target) != 0) {
            failat(f, e.c->path, errno);
            return false;
        }
        e.c->pending = false;
        e.renamed = true;
    }
    return true;
}

// Make the folders of the set durable; false when one could not be.
bool syncfolders(const std::vector<Entry>& set, Failure& f) {
    std::vector<std::string> folders;
    for (const Entry& e : set) {
        std::string folder = folderof(e.c->target);
        bool seen = false;
        for (const std::string& done : folders) seen = seen || done == folder;
        if (seen) continue;
        folders.push_back(folder);
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) continue;  // a folder that cannot be opened is not one the files could be renamed in
        bool synced = !faultat("fsync") && ::fsync(fd) == 0;
        int reason = errno;
        ::close(fd);
        // A file system that cannot make a folder durable says so (EINVAL):
        // its renames are as durable as it makes them.
        if (!synced && reason != EINVAL) {
            failat(f, folder.c_str(), reason);
            return false;
        }
    }
    return true;
}

// Put back the earlier files of the renamed entries, last first; a final
// name that keeps this run's file is mixed, and the copy of the earlier
// one stays.  Files not yet renamed are dropped.
void putback(std::vector<Entry>& set, Failure& f) {
    for (auto e = set.rbegin(); e != set.rend(); ++e) {
        if (!e->renamed) {
            dropoutput(*e->c);
            continue;
        }
        const char* target = e->c->target;
        bool back = !faultat("restore") &&
                    (!e->copy.empty() ? ::rename(e->copy.c_str(), target) == 0 : !e->existed && (::unlink(target) == 0 || errno == ENOENT));
        if (back) {
            e->copy.clear();
            e->renamed = false;
            continue;
        }
        e->mixed = true;
        std::string line = shown(e->c->path) + " is this run's; ";
        if (!e->copy.empty())
            line += "the earlier one is kept as " + shown(e->copy);
        else
            line += e->existed ? "the earlier one could not be kept" : "there was none before";
        f.mixed.push_back(line);
    }
}

// Commit the finished files of a set: copies of what they replace, their
// names, their folders made durable.  False when a step failed: what they
// replaced is put back (or named in `f` as mixed).
bool commitset(std::vector<Entry>& set, Failure& f) {
    if (!keepolds(set, f)) {
        for (Entry& e : set) dropoutput(*e.c);
        return false;
    }
    if (renameall(set, f) && syncfolders(set, f)) return true;
    putback(set, f);
    return false;
}

// Remove the copies that are no longer needed: all but the mixed set's.
void removecopies(std::vector<Entry>& set) {
    for (Entry& e : set)
        if (!e.mixed && !e.copy.empty()) ::unlink(e.copy.c_str());
}

// Standard error's lines for a mixed set.
void reportmixed(Run& run, const Failure& f) {
    for (const std::string& line : f.mixed) reportline(run, "the set of outputs is mixed: " + line);
}

// A line on the screen and in the log, after the run's lines; false when
// the log could not take it.
bool noteline(Run& run, const std::string& line) {
    std::string text = line + "\n";
    if (isopen(run, chw)) std::fwrite(text.data(), 1, text.size(), run.screen);
    return !isopen(run, chlog) || channelwrite(run.channels[chlog], text.data(), text.size());
}

// The last lines of a run whose drawings were not committed: why, what is
// mixed, and which earlier drawings keep their names.  False when the log
// could not take them.
bool notenotsaved(Run& run, const Failure& f, const std::vector<Entry>& drawings) {
    bool kept = noteline(run, "\n-- the drawings were not saved: " + shown(f.file) + ": " + f.reason + " --");
    for (const std::string& line : f.mixed) kept = noteline(run, "-- the set is mixed: " + line + " --") && kept;
    std::string earlier;
    for (const Entry& e : drawings)
        if (e.existed && !e.mixed) earlier += (earlier.empty() ? "" : ", ") + shown(e.c->path);
    return noteline(run, earlier.empty() ? "-- no earlier drawing is kept --"
                                         : "-- kept from an earlier run: " + earlier + " --") && kept;
}

// Finish the log and commit it alone, for a run that keeps no drawing; the
// exit status, `status` unless the log could not be kept.  `announce`
// says whether a failure is also shown on the screen.
int commitlog(Run& run, int status, bool announce) {
    OutputChannel& log = run.channels[chlog];
    std::vector<Entry> set = entriesof(run, chlog, chlog);
    run.open &= ~(1u << chlog);
    if (!finishoutput(log)) {
        int reason = errno;
        if (announce)
            reportclosing(run, chlog, log, reason);
        else
            reportfile(run, log.path, reason);
        dropoutput(log);
        return exitioerror;
    }
    Failure f;
    bool committed = commitset(set, f);
    removecopies(set);
    if (committed) return status;
    reportline(run, shown(f.file) + ": " + f.reason);
    reportmixed(run, f);
    return exitioerror;
}

// The last line of an interrupted run, on the screen and in the log; false
// when the log could not take it.
bool noteinterrupt(Run& run, int sig) {
    return noteline(run, std::string("\n-- run interrupted by SIG") + signalname(sig) + " --");
}

// Keep the log of a run whose drawings were dropped, with its last lines
// `note` (when it can take them); the exit status, `status` unless the log
// could not be kept.
template <typename Note>
int keeplogalone(Run& run, int status, bool announce, Note note) {
    if (isopen(run, chlog) && !note()) {
        reportfile(run, run.channels[chlog].path, errno);
        dropoutput(run.channels[chlog]);
        run.open &= ~(1u << chlog);
        return exitioerror;
    }
    return isopen(run, chlog) ? commitlog(run, status, announce) : status;
}

}  // namespace

int commitrun(Run& run, const char* closing, int closinglen) {
    std::vector<Entry> drawings = entriesof(run, chps, channelcount - 1);
    Failure failure;
    bool finished = true;
    for (int ch = chps; ch < channelcount && finished; ++ch) {
        if (isopen(run, ch) && !finishoutput(run.channels[ch])) {
            int reason = errno;
            std::fputc('\n', run.screen);
            reportclosing(run, ch, run.channels[ch], reason);
            failat(failure, run.channels[ch].path, reason);
            finished = false;  // the drawings are dropped: the rest need not be written
        }
    }
    sigset_t held;
    holdsignals(held);
    int status = exitnormal;
    if (int sig = pendingsignal()) {  // the log alone is kept
        if (finished) std::fputc('\n', run.screen);
        dropdrawings(run);
        status = keeplogalone(run, finished ? exitsignalled + sig : exitioerror, true,
                              [&] { return noteinterrupt(run, sig); });
    } else if (!finished || !commitset(drawings, failure)) {
        if (finished) {
            std::fputc('\n', run.screen);
            reportline(run, shown(failure.file) + ": " + failure.reason);
        }
        reportmixed(run, failure);
        dropdrawings(run);
        status = keeplogalone(run, exitioerror, true, [&] { return notenotsaved(run, failure, drawings); });
    } else {
        run.open &= ~((1u << channelcount) - (1u << chps));  // the drawings are in place
        OutputChannel& log = run.channels[chlog];
        std::vector<Entry> logset = entriesof(run, chlog, chlog);
        bool written = !isopen(run, chlog) || closing == nullptr ||
                       (channelwrite(log, closing, static_cast<size_t>(closinglen)) && channelwrite(log, "\n", 1));
        bool logfinished = !isopen(run, chlog) || (written && finishoutput(log));
        int reason = errno;
        Failure logfailure;
        bool committed = logfinished && commitset(logset, logfailure);
        if (!logfinished) dropoutput(log);
        bool hadlog = isopen(run, chlog);
        run.open &= ~(1u << chlog);
        if (committed) {
            if (closing != nullptr) putstr(run, 0, closing, closinglen, 1, setw);
            std::fputc('\n', run.screen);
        } else {  // without its log the run is not kept: the earlier set is put back
            std::fputc('\n', run.screen);
            if (!logfinished) {
                reportclosing(run, chlog, log, reason);
                failat(logfailure, log.path, reason);
            } else {
                reportline(run, shown(logfailure.file) + ": " + logfailure.reason);
            }
            putback(drawings, logfailure);
            reportmixed(run, logfailure);
            if (hadlog) notenotsaved(run, logfailure, drawings);  // on the screen alone
            status = exitioerror;
        }
        removecopies(logset);
    }
    removecopies(drawings);
    run.open = 0;
    releasesignals(held);
    std::fflush(run.screen);
    return status;
}

int closeended(Run& run, const RunEnd& end) {
    if (!end.ioerror && !run.checking) std::fputc('\n', run.screen);  // a check writes nothing but its findings
    int status = end.status;
    OutputChannel& log = run.channels[chlog];
    bool keeplog = isopen(run, chlog) && !(end.ioerror && std::strcmp(log.path, end.failing) == 0);
    // Drawings lost to an input/output error (in one of them, or in what
    // they need): the log says so and what is kept.
    std::vector<Entry> drawings = entriesof(run, chps, channelcount - 1);
    bool drawingfailed = false;
    for (int ch = chps; ch < channelcount; ++ch) drawingfailed = drawingfailed || (end.ioerror && isopen(run, ch));
    if (int sig = pendingsignal()) {
        status = exitsignalled + sig;
        if (!noteinterrupt(run, sig) && keeplog) {
            reportfile(run, log.path, errno);
            keeplog = false;
            status = exitioerror;
        }
    } else if (drawingfailed && keeplog) {
        Failure f;
        f.file = end.failing;
        f.reason = end.reason;
        if (!notenotsaved(run, f, drawings)) {
            reportfile(run, log.path, errno);
            keeplog = false;
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
    std::fflush(run.screen);
    return status;
}

}  // namespace gridel::run
