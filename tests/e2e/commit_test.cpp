// commit_test.cpp - a run's outputs are committed as one set or not at all;
// the lock per diagram; long names and unreadable files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "e2e/harness.h"

namespace {

using Set = std::map<std::string, std::string>;
using testsupport::readfile;
using testsupport::writefile;

const std::string showcase = readfile(std::string(EXAMPLES_DIR) + "/showcase/gl-showcase.txt");
const std::string basic = readfile(std::string(EXAMPLES_DIR) + "/basic/gl-basic.txt");
const std::string clocks[2] = {"2026-01-01 10:00", "2026-01-02 11:00"};

// A run of gl-<name>.txt in `dir` with every format, at a clock.
e2e::Launch drawing(const std::string& dir, const std::string& name, const std::string& clock) {
    e2e::Launch l;
    l.dir = dir;
    l.args = {"-T", "pdf,svg,png", "gl-" + name + ".txt"};
    l.clock = clock;
    return l;
}

// A folder holding a data file and the outputs of a run of it at a clock.
std::string drawnfolder(const std::string& data, const std::string& clock) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-d.txt", data);
    e2e::rungridelwith(drawing(dir, "d", clock));
    return dir;
}

TEST(Commit, AFailureAtAnyStepLeavesTheOldSetOrGivesTheNewOne) {
    std::string newdir = drawnfolder(showcase, clocks[1]);
    const Set after = e2e::contents(newdir);
    // File-size limits that stop the log, a drawing, or nothing; a fault
    // at each rename in turn (log, EPS, PDF, SVG, PNG), then at none.
    const struct {
        rlim_t limit;
        int rename;
    } cases[] = {{512, 0}, {2048, 0}, {4096, 0}, {16384, 0}, {45000, 0}, {1 << 20, 0},
                 {0, 1},   {0, 2},    {0, 3},    {0, 4},     {0, 5},     {0, 6}};
    for (const auto& c : cases) {
        std::string dir = drawnfolder(showcase, clocks[0]);
        const Set before = e2e::contents(dir);
        e2e::Launch l = drawing(dir, "d", clocks[1]);
        l.filesizelimit = c.limit;
        if (c.rename > 0) l.program = GRIDEL_FAULTS_BINARY;
        l.environment = {"GRIDEL_FAULT=rename:" + std::to_string(c.rename)};
        e2e::RunResult r = e2e::rungridelwith(l);
        Set now = e2e::contents(dir), expected = r.status == 0 ? after : before;
        // A run that failed before the renames may keep its log, whole.
        const std::string& log = now["gl-d.log"];
        if (r.status == 2 && c.rename == 0 && log != before.at("gl-d.log")) {
            EXPECT_EQ(log.substr(0, 200), after.at("gl-d.log").substr(0, 200)) << c.limit;
            expected["gl-d.log"] = log;
        }
        EXPECT_EQ(r.status, c.rename == 6 || c.limit >= 1 << 20 ? 0 : 2) << c.limit << " " << c.rename;
        const char* reason = c.rename > 0 ? ": Input/output error\n" : ": File too large\n";
        EXPECT_TRUE(r.status == 0 || r.errors.find(reason) != std::string::npos) << r.errors;
        EXPECT_EQ(now, expected) << c.limit << " " << c.rename << " " << r.errors;
        e2e::removetree(dir);
    }
    e2e::removetree(newdir);
}

TEST(Commit, TwoRunsOnOneDiagramAtOnceLeaveOneRunsSet) {
    Set sets[2];
    for (int k = 0; k < 2; ++k) {
        std::string dir = drawnfolder(basic, clocks[k]);
        sets[k] = e2e::contents(dir);
        e2e::removetree(dir);
    }
    std::string dir = drawnfolder(basic, clocks[0]);
    for (int pair = 0; pair < 40; ++pair) {
        e2e::Started one = e2e::startgridel(drawing(dir, "d", clocks[0]));
        e2e::Started two = e2e::startgridel(drawing(dir, "d", clocks[1]));
        EXPECT_EQ(e2e::finishgridel(one).status + e2e::finishgridel(two).status, 0);
        Set now = e2e::contents(dir);
        EXPECT_TRUE(now == sets[0] || now == sets[1]) << "pair " << pair;
    }
    e2e::removetree(dir);
}

TEST(Commit, ARunWaitsForTheLockAndClearsWhatAKilledRunLeft) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-d.txt", basic);
    // The temporary files of a killed run, and files that only look alike.
    for (const char* left : {".gl-d.eps.Ab12Cd", ".gl-d.log.qwerty", ".gl-d.png.000000"})
        writefile(dir + "/" + left, "partial");
    std::vector<std::string> expected = {".gl-d.eps.toolong", ".gl-dd.eps.abcdef", ".gl-d.txt.abcdef", "gl-d.eps", "gl-d.log",
                      "gl-d.pdf", "gl-d.png", "gl-d.svg", "gl-d.txt"};
    for (size_t k = 0; k < 3; ++k) writefile(dir + "/" + expected[k], "other");
    std::sort(expected.begin(), expected.end());
    int held = open((dir + "/.gl-d.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    e2e::Launch check = drawing(dir, "d", clocks[0]);
    check.args = {"--check", "gl-d.txt"};
    EXPECT_EQ(e2e::rungridelwith(check).status, 0);  // a check takes no lock
    e2e::Started waiting = e2e::startgridel(drawing(dir, "d", clocks[0]));
    EXPECT_TRUE(e2e::waitfor(waiting, [](auto&, auto& errors) {
        return errors == "gridel: waiting for another run writing gl-d.* in this folder\n";
    }));
    EXPECT_FALSE(e2e::fileexists(dir + "/gl-d.log"));
    unlink((dir + "/.gl-d.lock").c_str());  // as a run gives its lock back
    close(held);
    EXPECT_EQ(e2e::finishgridel(waiting).status, 0);
    EXPECT_EQ(e2e::listfiles(dir), expected);
    e2e::removetree(dir);
}

TEST(Commit, DataFileNamesUpToTheLimitOfAName) {
    for (size_t length : {245, 250, 255}) {
        std::string dir = e2e::makeworkdir(), stem(length - 7, 'n');
        writefile(dir + "/gl-" + stem + ".txt", basic);
        EXPECT_EQ(e2e::rungridelwith(drawing(dir, stem, clocks[0])).status, 0) << length;
        EXPECT_EQ(e2e::listfiles(dir).size(), 6u) << length;  // the data file, the log and four drawings
        for (const std::string& f : e2e::listfiles(dir)) EXPECT_EQ(f.size(), length);
        e2e::removetree(dir);
    }
}

TEST(Files, AnUnreadableFileIsAnInputOutputError) {
    // Root reads any file: the program runs as nobody when it can.
    if (access("/usr/bin/setpriv", X_OK) != 0 || geteuid() != 0) GTEST_SKIP() << "no way to run as another user";
    for (const std::string unreadable : {"gl-d.txt", "gl-prefs.txt"}) {
        std::string dir = e2e::makeworkdir();
        writefile(dir + "/gl-d.txt", basic);
        writefile(dir + "/gl-prefs.txt", "dontwrap yes\n");
        int status;
        std::string errors = testsupport::runcommand("cd " + dir + " && chmod 777 . && chmod 0 " + unreadable +
            " && setpriv --reuid=65534 --regid=65534 --clear-groups " GRIDEL_BINARY " gl-d.txt 2>&1 >/dev/null", status);
        EXPECT_EQ(errors, "gridel: " + unreadable + ": Permission denied\n");
        EXPECT_EQ(status, 2);
        e2e::removetree(dir);
    }
}

}  // namespace
