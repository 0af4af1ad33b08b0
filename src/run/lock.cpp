// lock.cpp - lockoutputs and unlockoutputs.
#include "run/lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "run/failure.h"
#include "run/signals.h"

namespace {

// How long a run waits in silence for another run's lock.
constexpr auto quietwait = std::chrono::seconds(1);

// The outputs a lock covers, after its stem.
constexpr char lockedextensions[][5] = {".eps", ".pdf", ".svg", ".png", ".log"};

// Remove the temporary files (".<output>.XXXXXX") of the outputs of `stem`
// in the current folder: under the lock no living run writes them.
void sweeptemporaries(const std::string& stem) {
    size_t limit = namelimit("");
    std::vector<std::string> heads;
    for (const char* extension : lockedextensions)
        heads.push_back(hiddenstem(stem + extension, 1 + randomtail, limit) + ".");
    if (stem == "gl-log") heads.push_back(hiddenstem("gl-log.txt", 1 + randomtail, limit) + ".");
    DIR* folder = ::opendir(".");
    if (folder == nullptr) return;
    while (dirent* entry = ::readdir(folder)) {
        std::string name = entry->d_name;
        for (const std::string& head : heads)
            if (name.size() == head.size() + randomtail && name.compare(0, head.size(), head) == 0)
                ::unlinkat(::dirfd(folder), name.c_str(), 0);
    }
    ::closedir(folder);
}

// Wait for the lock of the open lock file `fd`: a few tries in silence, then
// a word on standard error and a wait for as long as it takes.  False when
// the file system gives no lock.  An ending signal ends the run.
bool waitforlock(int fd, const char* stem) {
    auto start = std::chrono::steady_clock::now();
    bool told = false;
    for (;;) {
        if (::flock(fd, told ? LOCK_EX : LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (pendingsignal() != 0) {
            ::close(fd);
            stopifinterrupted();
        }
        if (!told && std::chrono::steady_clock::now() - start > quietwait) {
            std::fprintf(stderr, "gridel: waiting for another run writing %s.* in this folder\n", stem);
            told = true;
        } else if (!told) {
            struct timespec pause = {0, 20 * 1000 * 1000};
            ::nanosleep(&pause, nullptr);
        }
    }
}

}  // namespace

void lockoutputs(Run& run, int slot, const char* stem) {
    std::string name = hiddenstem(stem, 5, namelimit("")) + ".lock";
    if (name.size() >= sizeof run.lockfiles[slot]) return;
    for (int other = 0; other < lockcount; ++other)
        if (run.locks[other] > 0 && name == run.lockfiles[other]) return;  // held already
    for (int tries = 0; tries < 100; ++tries) {  // a file system that never agrees gives no lock
        int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) return;
        if (!waitforlock(fd, stem)) {
            ::close(fd);
            return;
        }
        // The run that held the lock may have removed the file meanwhile:
        // the lock counts only on the file that has the name now.
        struct stat held, named;
        if (::fstat(fd, &held) == 0 && ::lstat(name.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino) {
            run.locks[slot] = fd;
            std::memcpy(run.lockfiles[slot], name.c_str(), name.size() + 1);
            sweeptemporaries(stem);
            return;
        }
        ::close(fd);
    }
}

void unlockoutputs(Run& run) {
    for (int slot = lockcount - 1; slot >= 0; --slot) {
        if (run.locks[slot] <= 0) continue;
        ::unlink(run.lockfiles[slot]);  // while it is held, so that no run waits on a file without a name
        ::close(run.locks[slot]);
        run.locks[slot] = 0;
    }
}
