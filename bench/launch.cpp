// launch.cpp - runs a program once for the benchmark and writes what it cost:
//   exit status, wall time (ns), user and system CPU time (us), peak resident
//   memory (KiB)
// to RESULTFILE, one line.  bench/timing.py starts it for every timed run.
//
// A child's ru_maxrss includes the peak of the process that started it (the
// kernel carries the old memory's peak across exec), so the run is started
// from this small process rather than from the Python driver: the floor under
// the peak memory is this program's, about 1 to 2 MB, not the driver's.
//
// Usage: launch RESULTFILE PROGRAM [ARGUMENTS...]
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: launch RESULTFILE PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    // posix_spawn shares this process's memory until the exec instead of
    // copying it: the quickest start there is.
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[2], nullptr, nullptr, argv + 2, environ);
    if (failed != 0) {
        std::fprintf(stderr, "launch: cannot start %s: %s\n", argv[2], std::strerror(failed));
        return 2;
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("launch: wait4");
            return 2;
        }
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const long long wall =
        (end.tv_sec - start.tv_sec) * 1000000000LL + (end.tv_nsec - start.tv_nsec);
    auto micros = [](const timeval& t) { return t.tv_sec * 1000000LL + t.tv_usec; };
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    std::fprintf(out, "%d %lld %lld %lld %ld\n", code, wall, micros(usage.ru_utime),
                 micros(usage.ru_stime), usage.ru_maxrss);
    return std::fclose(out) == 0 ? 0 : 2;
}
