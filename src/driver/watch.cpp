// watch.cpp - startwatch, waitforchange and endwatch.
#include "driver/watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "run/signals.h"

namespace {

// The preferences file beside a data file, which changes its drawing too.
const char* const prefsname = "gl-prefs.txt";

// The changes that count: a file written and closed, renamed into place, or
// touched.  A file being written, or removed, is drawn when it is complete
// again.
constexpr uint32_t changes = IN_CLOSE_WRITE | IN_MOVED_TO | IN_ATTRIB;

// After a change, the quiet that ends a save made in several steps, and the
// longest wait for that quiet.
constexpr long quietms = 100;
constexpr long longestms = 2000;

// Mark the data files that an event concerns; true when it concerns one.
bool markdue(const Watch& watch, const inotify_event& event, std::vector<bool>& due) {
    bool any = false;
    if (event.mask & IN_Q_OVERFLOW) {  // events were lost: everything may have changed
        std::fill(due.begin(), due.end(), true);
        return true;
    }
    if (event.len == 0) return false;
    for (const Watch::Folder& folder : watch.folders) {
        if (folder.wd != event.wd) continue;
        bool prefs = std::strcmp(event.name, prefsname) == 0;
        for (size_t k = 0; k < folder.files.size(); ++k) {
            if (prefs || folder.names[k] == event.name) {
                due[folder.files[k]] = true;
                any = true;
            }
        }
    }
    return any;
}

}  // namespace

void startwatch(Watch& watch, const std::vector<std::string>& datafiles) {
    watch.fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch.fd < 0) {
        std::fprintf(stderr, "gridel: cannot watch the data files: %s\n", std::strerror(errno));
        return;
    }
    for (size_t k = 0; k < datafiles.size(); ++k) {
        const std::string& path = datafiles[k];
        size_t slash = path.rfind('/');
        std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        int wd = ::inotify_add_watch(watch.fd, folder.c_str(), changes | IN_ONLYDIR);
        if (wd < 0) {
            std::fprintf(stderr, "gridel: %s: cannot watch it: %s\n", folder.c_str(), std::strerror(errno));
            continue;
        }
        // The same folder named twice gives the same watch.
        auto same = std::find_if(watch.folders.begin(), watch.folders.end(),
                                 [wd](const Watch::Folder& f) { return f.wd == wd; });
        if (same == watch.folders.end()) same = watch.folders.insert(watch.folders.end(), Watch::Folder{wd, {}, {}});
        same->files.push_back(k);
        same->names.push_back(name);
    }
}

bool waitforchange(Watch& watch, std::vector<bool>& due) {
    std::fill(due.begin(), due.end(), false);
    if (watch.fd < 0 || watch.folders.empty()) return false;
    // The ending signals are held back but while the program sleeps, so that
    // one that comes just before the sleep still wakes it.
    sigset_t held;
    holdsignals(held);
    bool changed = false;
    struct timespec first = {0, 0};
    for (;;) {
        if (pendingsignal() != 0) break;
        struct timespec quiet = {0, quietms * 1000 * 1000};
        struct pollfd ready = {watch.fd, POLLIN, 0};
        int got = ::ppoll(&ready, 1, changed ? &quiet : nullptr, &held);
        if (got < 0 && errno != EINTR) break;
        if (got == 0) break;  // quiet after a change: time to draw
        alignas(inotify_event) char events[16 * (sizeof(inotify_event) + 256)];
        ssize_t n;
        while ((n = ::read(watch.fd, events, sizeof events)) > 0) {
            for (char* at = events; at < events + n;) {
                const inotify_event& event = *reinterpret_cast<const inotify_event*>(at);
                if (markdue(watch, event, due) && !changed) {
                    changed = true;
                    ::clock_gettime(CLOCK_MONOTONIC, &first);
                }
                at += sizeof(inotify_event) + event.len;
            }
        }
        if (changed) {
            struct timespec now;
            ::clock_gettime(CLOCK_MONOTONIC, &now);
            long waited = (now.tv_sec - first.tv_sec) * 1000 + (now.tv_nsec - first.tv_nsec) / 1000000;
            if (waited > longestms) break;  // a file that never stops changing is drawn all the same
        }
    }
    releasesignals(held);
    return changed && pendingsignal() == 0;
}

void endwatch(Watch& watch) {
    if (watch.fd >= 0) ::close(watch.fd);
    watch.fd = -1;
    watch.folders.clear();
}
