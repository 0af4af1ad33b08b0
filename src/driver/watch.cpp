// watch.cpp - startwatch, waitforchange and endwatch.
#include "driver/watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "run/signals.h"

namespace gridel::driver {

namespace {

// The preferences file beside a data file, which changes its drawing too.
const char* const prefsname = "gl-prefs.txt";

// The changes that count: a file written and closed, renamed into place, or
// touched.  A file being written, or removed, is drawn when it is complete
// again.
constexpr uint32_t changes = IN_CLOSE_WRITE | IN_MOVED_TO | IN_ATTRIB;

// The events that end the watch of a folder: it was removed or moved away.
constexpr uint32_t folderends = IN_DELETE_SELF | IN_MOVE_SELF;

// How often a folder that is gone is looked for again.
constexpr long lookagainms = 500;

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
        if (folder.wd != event.wd || folder.wd < 0) continue;
        bool prefs = std::strcmp(event.name, prefsname) == 0;
        for (size_t k = 0; k < folder.files.size(); ++k) {
            bool style = folder.files[k] == allfiles;
            if (style ? folder.names[k] != event.name : !prefs && folder.names[k] != event.name) continue;
            if (style)
                std::fill(due.begin(), due.end(), true);
            else
                due[folder.files[k]] = true;
            any = true;
        }
    }
    return any;
}

// A watched folder that was removed or moved away: no longer watched, and
// said so.
void foldergone(Watch& watch, const inotify_event& event) {
    for (Watch::Folder& folder : watch.folders) {
        if (folder.wd != event.wd || folder.wd < 0) continue;
        if (event.mask & IN_MOVE_SELF) ::inotify_rm_watch(watch.fd, folder.wd);  // it would follow the folder
        folder.wd = -1;
        std::fprintf(stderr, "gridel: %s: the watched folder is gone; its files are drawn again when it is back\n",
                     folder.path.c_str());
    }
}

// Watch again the folders that are gone and have come back, and mark their
// data files that are there; true when one is to be drawn.
bool lookagain(Watch& watch, std::vector<bool>& due) {
    bool any = false;
    for (Watch::Folder& folder : watch.folders) {
        struct stat st;
        // A folder removed while it is the current one keeps its name "."
        // but has no link left: it cannot come back.
        if (folder.wd >= 0 || ::stat(folder.path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_nlink == 0)
            continue;
        int wd = ::inotify_add_watch(watch.fd, folder.path.c_str(), changes | folderends | IN_ONLYDIR);
        if (wd < 0) continue;
        folder.wd = wd;
        std::fprintf(stderr, "gridel: %s: the watched folder is back\n", folder.path.c_str());
        std::string head = folder.path == "." ? "" : folder.path;
        for (size_t k = 0; k < folder.files.size(); ++k) {
            if (::access((head + folder.names[k]).c_str(), F_OK) != 0) continue;
            if (folder.files[k] == allfiles)
                std::fill(due.begin(), due.end(), true);
            else
                due[folder.files[k]] = true;
            any = true;
        }
    }
    return any;
}

// True when a watched folder is gone.
bool anygone(const Watch& watch) {
    return std::any_of(watch.folders.begin(), watch.folders.end(), [](const Watch::Folder& f) { return f.wd < 0; });
}

}  // namespace

void startwatch(Watch& watch, const std::vector<std::string>& datafiles, const std::vector<std::string>& styles) {
    watch.fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch.fd < 0) {
        std::fprintf(stderr, "gridel: cannot watch the data files: %s\n", std::strerror(errno));
        return;
    }
    for (size_t k = 0; k < datafiles.size() + styles.size(); ++k) {
        bool style = k >= datafiles.size();
        const std::string& path = style ? styles[k - datafiles.size()] : datafiles[k];
        size_t slash = path.rfind('/');
        std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        int wd = ::inotify_add_watch(watch.fd, folder.c_str(), changes | folderends | IN_ONLYDIR);
        if (wd < 0) {
            std::fprintf(stderr, "gridel: %s: cannot watch it: %s\n", folder.c_str(), std::strerror(errno));
            continue;
        }
        // The same folder named twice gives the same watch.
        auto same = std::find_if(watch.folders.begin(), watch.folders.end(),
                                 [wd](const Watch::Folder& f) { return f.wd == wd; });
        if (same == watch.folders.end())
            same = watch.folders.insert(watch.folders.end(), Watch::Folder{wd, folder, {}, {}});
        same->files.push_back(style ? allfiles : k);
        same->names.push_back(name);
    }
}

bool waitforchange(Watch& watch, std::vector<bool>& due) {
    std::fill(due.begin(), due.end(), false);
    if (watch.fd < 0 || watch.folders.empty()) return false;
    // The ending signals are held back but while the program sleeps, so that
    // one that comes just before the sleep still wakes it.
    sigset_t held;
    run::holdsignals(held);
    bool changed = false;
    struct timespec first = {0, 0};
    for (;;) {
        if (run::pendingsignal() != 0) break;
        struct timespec quiet = {0, quietms * 1000 * 1000}, look = {0, lookagainms * 1000 * 1000};
        struct pollfd ready = {watch.fd, POLLIN, 0};
        int got = ::ppoll(&ready, 1, changed ? &quiet : anygone(watch) ? &look : nullptr, &held);
        if (got < 0 && errno != EINTR) break;
        if (got == 0 && changed) break;  // quiet after a change: time to draw
        if (got == 0) {
            if (lookagain(watch, due)) {
                changed = true;
                ::clock_gettime(CLOCK_MONOTONIC, &first);
            }
            continue;
        }
        alignas(inotify_event) char events[16 * (sizeof(inotify_event) + 256)];
        ssize_t n;
        while ((n = ::read(watch.fd, events, sizeof events)) > 0) {
            for (char* at = events; at < events + n;) {
                const inotify_event& event = *reinterpret_cast<const inotify_event*>(at);
                if (event.mask & folderends) foldergone(watch, event);
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
    run::releasesignals(held);
    return changed && run::pendingsignal() == 0;
}

void endwatch(Watch& watch) {
    if (watch.fd >= 0) ::close(watch.fd);
    watch.fd = -1;
    watch.folders.clear();
}

}  // namespace gridel::driver
