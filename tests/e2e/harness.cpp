// harness.cpp - running the binary and comparing its output.
#include "e2e/harness.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace e2e {

using testsupport::readfile;
using testsupport::writefile;
using testsupport::runcommand;

std::string makeworkdir() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/gridel-e2e-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) return "";
    return std::string(buf.data());
}

void removetree(const std::string& dir) {
    if (dir.empty() || dir == "/") return;
    DIR* d = opendir(dir.c_str());
    if (d != nullptr) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            std::string path = dir + "/" + name;
            struct stat st;
            if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                removetree(path);
            else
                unlink(path.c_str());
        }
        closedir(d);
    }
    rmdir(dir.c_str());
}

bool fileexists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

namespace {

// Names of the entries directly in a folder that are folders (or not), sorted.
std::vector<std::string> listentries(const std::string& dir, bool folders) {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return names;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st;
        if (stat((dir + "/" + name).c_str(), &st) == 0 && (folders ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode)))
            names.push_back(name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::vector<std::string> listfiles(const std::string& dir) { return listentries(dir, false); }

std::vector<std::string> listfolders(const std::string& dir) { return listentries(dir, true); }

std::map<std::string, std::string> contents(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const std::string& f : listfiles(dir)) files[f] = readfile(dir + "/" + f);
    return files;
}

RunResult rungridel(const std::string& dir, const std::string& typed, const std::string& clock,
                    int timeoutseconds, int closedstream) {
    std::string base = makeworkdir();
    writefile(base + "/stdin", typed);
    RunResult result = rungridelfrom(dir, base + "/stdin", clock, timeoutseconds, closedstream);
    removetree(base);
    return result;
}

namespace {

// Start the program as `l` says, with standard input from `inpath`, or from
// the pipe `held` when that is open; `base` is to hold what it writes.
Started launchgridel(const Launch& l, const std::string& base, const std::string& inpath, int held,
                     int closedstream) {
    Started run;
    run.base = base;
    std::string outpath = run.base + "/stdout", errpath = run.base + "/stderr";
    run.pid = fork();
    if (run.pid == 0) {
        if (chdir(l.dir.c_str()) != 0) _exit(127);
        int in = held >= 0 ? held : open(inpath.c_str(), O_RDONLY);
        int out = open(outpath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errpath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0) _exit(127);
        const int streams[3] = {in, out, err};
        for (int fd = 0; fd < 3; ++fd) {
            if (fd == closedstream)
                close(fd);
            else
                dup2(streams[fd], fd);
        }
        for (int fd : streams)
            if (fd > 2) close(fd);
        for (int sig : {SIGINT, SIGTERM, SIGHUP}) signal(sig, SIG_DFL);  // whatever the test runner ignores
        if (l.filesizelimit > 0) {
            struct rlimit limit = {l.filesizelimit, l.filesizelimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        setenv("GRIDEL_CLOCK", l.clock.c_str(), 1);
        for (const std::string& e : l.environment) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(l.program.c_str()));
        for (const std::string& a : l.args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(l.program.c_str(), argv.data());
        _exit(127);
    }
    return run;
}

}  // namespace

std::string sofar(const Started& run, bool errors) {
    return readfile(run.base + (errors ? "/stderr" : "/stdout"));
}

bool waitfor(const Started& run, const std::function<bool(const std::string&, const std::string&)>& done,
             int seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done(sofar(run, false), sofar(run, true))) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

RunResult finishgridel(Started& run, int timeoutseconds) {
    RunResult result;
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutseconds);
    for (;;) {
        pid_t done = waitpid(run.pid, &status, WNOHANG);
        if (done == run.pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(run.pid, SIGKILL);
            waitpid(run.pid, &status, 0);
            result.timedout = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.signalled = result.signal != 0;
    result.screen = sofar(run, false);
    result.errors = sofar(run, true);
    removetree(run.base);
    if (run.typing >= 0) close(run.typing);
    run.typing = -1;
    return result;
}

Started startgridel(const Launch& l) {
    if (l.holdinput) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return Started{};
        Started run = launchgridel(l, makeworkdir(), "", fds[0], -1);
        close(fds[0]);
        run.typing = fds[1];
        return run;
    }
    std::string base = makeworkdir();
    writefile(base + "/stdin", l.typed);
    return launchgridel(l, base, base + "/stdin", -1, -1);
}

RunResult rungridelfrom(const std::string& dir, const std::string& inpath, const std::string& clock,
                        int timeoutseconds, int closedstream) {
    Launch l;
    l.dir = dir;
    l.clock = clock;
    Started run = launchgridel(l, makeworkdir(), inpath, -1, closedstream);
    return finishgridel(run, timeoutseconds);
}

RunResult rungridelwith(const Launch& l) {
    Started run = startgridel(l);
    return finishgridel(run, l.timeoutseconds);
}

namespace {

// One byte made visible: control bytes as ^X, high bytes as <A4>.
void visible(std::string& out, unsigned char ch) {
    static const char hex[] = "0123456789ABCDEF";
    if (ch == '\t') {
        out += "^I";
    } else if (ch < 32 || ch == 127) {
        out += '^';
        out += static_cast<char>(ch == 127 ? '?' : ch + 64);
    } else if (ch >= 128) {
        out += '<';
        out += hex[ch >> 4];
        out += hex[ch & 15];
        out += '>';
    } else {
        out += static_cast<char>(ch);
    }
}

// Each line made visible and ended with "$", so that trailing blanks and a
// missing last line end show.
std::string visiblelines(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "$\n";
        else
            visible(out, static_cast<unsigned char>(c));
    }
    if (!text.empty() && text.back() != '\n') out += "  (no line end)\n";
    return out;
}

}  // namespace

std::string withoutareanotes(const std::string& errors) {
    std::string out;
    size_t start = 0;
    while (start < errors.size()) {
        size_t end = errors.find('\n', start);
        end = end == std::string::npos ? errors.size() : end + 1;
        std::string line = errors.substr(start, end - start);
        size_t note = line.find(": note: area ");
        if (note == std::string::npos || line.find(": closed along ", note) == std::string::npos) out += line;
        start = end;
    }
    return out;
}

bool cleanerrors(const std::string& errors, int status) {
    if (errors.empty()) return true;
    if (errors.back() != '\n' || errors.find("Sanitizer") != std::string::npos ||
        errors.find("runtime error") != std::string::npos)
        return false;
    // Bytes from the files are shown escaped: no control byte but the line
    // ends and tabs reaches the terminal.
    for (char c : errors)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') || c == 0x7F) return false;
    size_t end = errors.find('\n');
    std::string first = errors.substr(0, end);
    if (status == 0)  // the count of the warnings, in one line
        return end == errors.size() - 1 && first.find(": note: ") != std::string::npos &&
               first.find(" lists them") != std::string::npos;
    // One failure: its line, then the quoted line and the notes.
    return status == 1 && first.find(": error: ") != std::string::npos &&
           errors.find(": error: ", end) == std::string::npos;
}

std::string showdiff(const std::string& expected, const std::string& actual, const std::string& label) {
    if (expected == actual) return "";
    std::string dir = makeworkdir();
    writefile(dir + "/expected", visiblelines(expected));
    writefile(dir + "/actual", visiblelines(actual));
    int status;
    std::string out = runcommand("cd '" + dir + "' && diff -u expected actual 2>&1", status);
    removetree(dir);
    return "--- " + label + " differs (expected -, actual +):\n" + out;
}

std::vector<std::string> casenames() {
    return listfolders(E2E_CASES);
}

namespace {

std::string trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

}  // namespace

std::string runcase(const std::string& casedir) {
    std::string report;
    std::string work = makeworkdir();
    if (work.empty()) return "cannot make a working folder";
    std::vector<std::string> given = listfiles(casedir + "/files");
    for (const std::string& f : given) writefile(work + "/" + f, readfile(casedir + "/files/" + f));
    for (const std::string& d : listfolders(casedir + "/files")) mkdir((work + "/" + d).c_str(), 0755);
    std::string typed = fileexists(casedir + "/stdin") ? readfile(casedir + "/stdin") : "";
    std::string clock = fileexists(casedir + "/clock") ? trimmed(readfile(casedir + "/clock")) : defaultclock;
    int wantstatus = fileexists(casedir + "/status") ? std::atoi(trimmed(readfile(casedir + "/status")).c_str()) : 0;

    RunResult r = rungridel(work, typed, clock);
    if (r.timedout) report += "the run did not end within the time limit\n";
    if (r.signalled) report += "the run was ended by a signal\n";
    if (r.status != wantstatus)
        report += "exit status " + std::to_string(r.status) + ", expected " + std::to_string(wantstatus) + "\n";
    if (fileexists(casedir + "/expect/stderr"))
        report += showdiff(readfile(casedir + "/expect/stderr"), r.errors, "standard error");
    else if (!r.errors.empty())
        report += "standard error was not empty:\n" + r.errors + "\n";

    std::vector<std::string> expected = listfiles(casedir + "/expect");
    for (const std::string& f : expected) {
        std::string want = readfile(casedir + "/expect/" + f);
        if (f == "stderr") continue;
        if (f == "screen") {
            report += showdiff(want, r.screen, "screen");
        } else if (!fileexists(work + "/" + f)) {
            report += "missing file " + f + "\n";
        } else {
            report += showdiff(want, readfile(work + "/" + f), f);
        }
    }
    for (const std::string& f : listfiles(work)) {
        bool known = std::find(given.begin(), given.end(), f) != given.end() ||
                     std::find(expected.begin(), expected.end(), f) != expected.end();
        if (!known) report += "unexpected file " + f + " left in the folder\n";
    }
    if (r.status == 0) {
        for (const std::string& f : listfiles(work)) {
            if (f.size() > 4 && f.compare(f.size() - 4, 4, ".eps") == 0) report += testsupport::ghostscript(work + "/" + f);
        }
    }
    if (report.empty()) removetree(work);
    else report += "(the run's folder is kept: " + work + ")\n";
    return report;
}

}  // namespace e2e
