// capture.cpp - screen capture and scratch folders for unit tests.
#include "support/capture.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "run/failure.h"
#include "support/floors.h"

namespace testsupport {

namespace {
std::string origin;  // the folder the tests started in
}

std::string capturescreen(const std::function<void()>& fn) {
    std::fflush(stdout);
    char name[] = "/tmp/gridel-screen-XXXXXX";
    int fd = mkstemp(name);
    int saved = dup(1);
    dup2(fd, 1);
    fn();
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    close(fd);
    std::string text = readfile(name);
    unlink(name);
    return text;
}

testing::AssertionResult endsrun(const std::function<void()>& fn, int status, const std::string& text) {
    int saved = dup(0);
    int devnull = open("/dev/null", O_RDONLY);
    dup2(devnull, 0);
    close(devnull);
    int ended = -1;
    std::string screen = capturescreen([&] {
        try {
            fn();
        } catch (const RunEnd& end) {
            ended = end.status;
        }
    });
    dup2(saved, 0);
    close(saved);
    if (ended != status) return testing::AssertionFailure() << "the run's status: " << ended << " (-1: it went on)";
    if (screen.find(text) == std::string::npos)
        return testing::AssertionFailure() << "the screen lacks \"" << text << "\":\n" << screen;
    return testing::AssertionSuccess();
}

std::string enterscratch() {
    char buf[4096];
    if (origin.empty() && getcwd(buf, sizeof buf) != nullptr) origin = buf;
    char name[] = "/tmp/gridel-unit-XXXXXX";
    std::string dir = mkdtemp(name);
    if (chdir(dir.c_str()) != 0) std::abort();
    return dir;
}

void leavescratch(const std::string& dir) {
    if (chdir(origin.c_str()) != 0) std::abort();
    std::string command = "rm -rf '" + dir + "'";
    if (std::system(command.c_str()) != 0) std::abort();
}

std::vector<std::string> folder(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace testsupport
