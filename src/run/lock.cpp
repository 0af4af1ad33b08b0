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

namespace gridel::run {

namespace {

// How long a run waits in silence for another run's lock.
constexpr auto quietwait = std::chrono::seconds(1);

// The folder part of a stem, up to its last "/" ("" for none).
std::string folderof(const std::string& stem) {
    size_t slash = stem.rfind('/');
    return slash == std::string::npos ? std::string() : stem.substr(0, slash + 1);
}

// True when `copy` is a second name of the file named `name` (following
// links): removing it loses nothing.
bool samefile(const std::string& copy, const std::string& name) {
    struct stat a, b;
    return ::lstat(copy.c_str(), &a) == 0 && ::stat(name.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

// Remove the temporary files (".<output>.XXXXXX") of the outputs of `stem`
// in its folder (the current one when it names none) (its drawings in every format the run knows and
// its log): under the lock no living run writes them.  The copies
// (".<output>.old.XXXXXX") a killed commit left go too when they are
// second names of the outputs in place; a copy that is all that is left
// of an earlier output stays.
void sweeptemporaries(const Run& run, const std::string& stem) {
    std::string where = folderof(stem), base = stem.substr(where.size());
    size_t limit = namelimit(where.c_str());
    std::vector<std::string> outputs;
    for (const DrawingKind& kind : run.drawings)
        if (kind.ending != nullptr) outputs.push_back(base + kind.ending);
    outputs.push_back(base + ".log");
    if (stem == "gl-log") outputs.push_back("gl-log.txt");
    std::vector<std::string> heads, copyheads;
    for (const std::string& output : outputs) {
        heads.push_back(hiddenstem(output, 1 + randomtail, limit) + ".");
        copyheads.push_back(hiddenstem(output, oldmark.size() + randomtail, limit) + oldmark);
    }
    DIR* folder = ::opendir(where.empty() ? "." : where.c_str());
    if (folder == nullptr) return;
    while (dirent* entry = ::readdir(folder)) {
        std::string name = entry->d_name;
        for (size_t k = 0; k < outputs.size(); ++k) {
            if (name.size() != copyheads[k].size() + randomtail || name.compare(0, copyheads[k].size(), copyheads[k]) != 0)
                continue;
            if (samefile(where + name, where + outputs[k])) ::unlinkat(::dirfd(folder), name.c_str(), 0);
            name.clear();  // a copy, never a temporary file
        }
        for (const std::string& head : heads)
            if (name.size() == head.size() + randomtail && name.compare(0, head.size(), head) == 0)
                ::unlinkat(::dirfd(folder), name.c_str(), 0);
    }
    ::closedir(folder);
}

// How long a run has waited for a lock, and whether it has said so: one
// wait, however many times the lock file changes hands during it.
struct LockWait {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    bool told = false;
};

// Wait for the lock of the open lock file `fd`: a few tries in silence, then
// a word on standard error (once in the whole `wait`) and a wait for as long
// as it takes.  False when the file system gives no lock.  An ending signal
// ends the run.
bool waitforlock(int fd, const char* stem, LockWait& wait) {
    auto& start = wait.start;
    bool& told = wait.told;
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
    if (run.memory != nullptr) return;  // a run in memory writes no file
    std::string where = folderof(stem);
    std::string name = where + hiddenstem(stem + where.size(), 5, namelimit(where.c_str())) + ".lock";
    if (name.size() >= sizeof run.lockfiles[slot]) return;
    for (int other = 0; other < lockcount; ++other)
        if (run.locks[other] > 0 && name == run.lockfiles[other]) return;  // held already
    LockWait wait;
    for (int tries = 0; tries < 100; ++tries) {  // a file system that never agrees gives no lock
        int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) return;
        if (!waitforlock(fd, stem, wait)) {
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
            sweeptemporaries(run, stem);
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

}  // namespace gridel::run
