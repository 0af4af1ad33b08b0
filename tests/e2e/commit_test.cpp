// commit_test.cpp - a run's outputs are committed as one set or not at all:
// under a file-size limit, with a rename that fails, with two runs on one
// diagram at once; what a killed run leaves is cleared; long names and
// unreadable files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

using Files = std::vector<std::string>;
using Set = std::map<std::string, std::string>;  // every file of a folder, by name
using testsupport::readfile;
using testsupport::writefile;

const std::string showcase = readfile(std::string(EXAMPLES_DIR) + "/showcase/gl-showcase.txt");
const std::string basic = readfile(std::string(EXAMPLES_DIR) + "/basic/gl-basic.txt");
const std::string oldclock = "2026-01-01 10:00", newclock = "2026-01-02 11:00";

Set contents(const std::string& dir) {
    Set set;
    for (const std::string& f : e2e::listfiles(dir)) set[f] = readfile(dir + "/" + f);
    return set;
}

// A run of gl-<name>.txt in `dir` with every format, at a clock.
e2e::Launch drawing(const std::string& dir, const std::string& name, const std::string& clock) {
    e2e::Launch l;
    l.dir = dir;
    l.args = {"-T", "pdf,svg,png", "gl-" + name + ".txt"};
    l.clock = clock;
    return l;
}

// A folder holding the showcase's data and the outputs of a run at `clock`.
std::string drawnfolder(const std::string& clock) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-showcase.txt", showcase);
    e2e::rungridelwith(drawing(dir, "showcase", clock));
    return dir;
}

TEST(Commit, AFileSizeLimitLeavesTheOldSetOrGivesTheNewOne) {
    std::string olddir = drawnfolder(oldclock), newdir = drawnfolder(newclock);
    const Set before = contents(olddir), after = contents(newdir);
    ASSERT_EQ(before.size(), 6u);
    for (rlim_t limit : {512, 2048, 4096, 16384, 45000, 1 << 20}) {
        std::string dir = drawnfolder(oldclock);
        e2e::Launch l = drawing(dir, "showcase", newclock);
        l.filesizelimit = limit;
        e2e::RunResult r = e2e::rungridelwith(l);
        Set now = contents(dir);
        if (r.status == 0) {
            EXPECT_EQ(now, after) << limit;
        } else {
            EXPECT_EQ(r.status, 2) << limit;
            EXPECT_NE(r.errors.find(": File too large\n"), std::string::npos) << r.errors;
            // The drawings stay; the log is the old one or the whole new one.
            Set expected = before;
            const std::string& log = now["gl-showcase.log"];
            if (log != before.at("gl-showcase.log")) {
                EXPECT_EQ(log.substr(0, 200), after.at("gl-showcase.log").substr(0, 200)) << limit;
                expected["gl-showcase.log"] = log;
            }
            EXPECT_EQ(now, expected) << limit;
        }
        e2e::removetree(dir);
    }
    e2e::removetree(olddir);
    e2e::removetree(newdir);
}

TEST(Commit, AFailedRenameLeavesEveryPreviousOutput) {
    std::string newdir = drawnfolder(newclock);
    const Set after = contents(newdir);
    const char* const renamed[] = {"gl-showcase.log", "gl-showcase.eps", "gl-showcase.pdf", "gl-showcase.svg",
                                   "gl-showcase.png"};
    for (int k = 1; k <= 6; ++k) {
        std::string dir = drawnfolder(oldclock);
        const Set before = contents(dir);
        e2e::Launch l = drawing(dir, "showcase", newclock);
        l.program = GRIDEL_FAULTS_BINARY;
        l.environment = {"GRIDEL_FAULT=rename:" + std::to_string(k)};
        e2e::RunResult r = e2e::rungridelwith(l);
        if (k <= 5) {
            EXPECT_EQ(r.status, 2) << k;
            EXPECT_EQ(r.errors, std::string("gridel: ") + renamed[k - 1] + ": Input/output error\n");
            EXPECT_EQ(contents(dir), before) << k;
        } else {
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(contents(dir), after);
        }
        e2e::removetree(dir);
    }
    e2e::removetree(newdir);
}

TEST(Commit, TwoRunsOnOneDiagramAtOnceLeaveOneRunsSet) {
    Set sets[2];
    const std::string clocks[2] = {oldclock, newclock};
    for (int k = 0; k < 2; ++k) {
        std::string dir = e2e::makeworkdir();
        writefile(dir + "/gl-basic.txt", basic);
        e2e::rungridelwith(drawing(dir, "basic", clocks[k]));
        sets[k] = contents(dir);
        e2e::removetree(dir);
    }
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-basic.txt", basic);
    for (int pair = 0; pair < 40; ++pair) {
        e2e::Started one = e2e::startgridel(drawing(dir, "basic", clocks[0]));
        e2e::Started two = e2e::startgridel(drawing(dir, "basic", clocks[1]));
        EXPECT_EQ(e2e::finishgridel(one).status, 0);
        EXPECT_EQ(e2e::finishgridel(two).status, 0);
        Set now = contents(dir);
        EXPECT_TRUE(now == sets[0] || now == sets[1]) << "pair " << pair;
    }
    e2e::removetree(dir);
}

TEST(Commit, ARunWaitsForTheLockAndClearsWhatAKilledRunLeft) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-x.txt", basic);
    // The temporary files and the lock file of a killed run, and files of
    // other names that only look alike.
    const Files left = {".gl-x.eps.Ab12Cd", ".gl-x.log.qwerty", ".gl-x.png.000000"};
    const Files others = {".gl-x.eps.toolong", ".gl-xy.eps.abcdef", ".gl-x.txt.abcdef"};
    for (const std::string& f : left) writefile(dir + "/" + f, "partial");
    for (const std::string& f : others) writefile(dir + "/" + f, "other");
    int held = open((dir + "/.gl-x.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    e2e::Launch check = drawing(dir, "x", oldclock);
    check.args = {"--check", "gl-x.txt"};
    EXPECT_EQ(e2e::rungridelwith(check).status, 0);  // a check takes no lock
    e2e::Started waiting = e2e::startgridel(drawing(dir, "x", oldclock));
    EXPECT_TRUE(e2e::waitfor(waiting, [](const std::string&, const std::string& errors) {
        return errors == "gridel: waiting for another run writing gl-x.* in this folder\n";
    }));
    EXPECT_FALSE(e2e::fileexists(dir + "/gl-x.log"));
    unlink((dir + "/.gl-x.lock").c_str());  // as a run gives its lock back
    close(held);
    EXPECT_EQ(e2e::finishgridel(waiting).status, 0);
    Files expected = {"gl-x.eps", "gl-x.log", "gl-x.pdf", "gl-x.png", "gl-x.svg", "gl-x.txt"};
    expected.insert(expected.begin(), others.begin(), others.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(e2e::listfiles(dir), expected);
    e2e::removetree(dir);
}

TEST(Commit, DataFileNamesUpToTheLimitOfAName) {
    for (size_t length : {245, 250, 255}) {
        std::string dir = e2e::makeworkdir();
        std::string stem = std::string(length - 7, 'n');
        writefile(dir + "/gl-" + stem + ".txt", basic);
        e2e::RunResult r = e2e::rungridelwith(drawing(dir, stem, oldclock));
        EXPECT_EQ(r.status, 0) << length << r.errors;
        EXPECT_EQ(e2e::listfiles(dir).size(), 6u) << length;  // the data file, the log and four drawings
        for (const std::string& f : e2e::listfiles(dir)) EXPECT_EQ(f.size(), length);
        e2e::removetree(dir);
    }
}

TEST(Files, AnUnreadableFileIsAnInputOutputError) {
    // Root reads any file: the program runs as nobody when it can.
    if (access("/usr/bin/setpriv", X_OK) != 0 || geteuid() != 0) GTEST_SKIP() << "no way to run as another user";
    for (const char* unreadable : {"gl-x.txt", "gl-prefs.txt"}) {
        std::string dir = e2e::makeworkdir();
        chmod(dir.c_str(), 0777);
        writefile(dir + "/gl-x.txt", basic);
        writefile(dir + "/gl-prefs.txt", "dontwrap yes\n");
        chmod((dir + "/" + unreadable).c_str(), 0);
        e2e::Launch l;
        l.dir = dir;
        l.program = "/usr/bin/setpriv";
        l.args = {"--reuid=65534", "--regid=65534", "--clear-groups", GRIDEL_BINARY, "gl-x.txt"};
        e2e::RunResult r = e2e::rungridelwith(l);
        if (r.status == 127 || r.errors.find("setpriv") != std::string::npos) GTEST_SKIP() << r.errors;
        EXPECT_EQ(r.status, 2) << unreadable;
        EXPECT_EQ(r.errors, std::string("gridel: ") + unreadable + ": Permission denied\n");
        e2e::removetree(dir);
    }
}

}  // namespace
