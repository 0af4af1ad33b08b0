// commit_test.cpp - a run's outputs are committed as one set or not at all;
// the lock per diagram; long names and unreadable files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <set>
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

TEST(Commit, AFileSizeLimitLeavesTheOldSetOrGivesTheNewOne) {
    std::string newdir = drawnfolder(showcase, clocks[1]);
    const Set after = e2e::contents(newdir);
    // File-size limits that stop the log, a drawing, or nothing.
    for (rlim_t limit : {512, 2048, 4096, 16384, 45000, 1 << 20}) {
        std::string dir = drawnfolder(showcase, clocks[0]);
        const Set before = e2e::contents(dir);
        e2e::Launch l = drawing(dir, "d", clocks[1]);
        l.filesizelimit = limit;
        e2e::RunResult r = e2e::rungridelwith(l);
        Set now = e2e::contents(dir), expected = r.status == 0 ? after : before;
        // A run that failed before the renames may keep its log, whole,
        // saying that its drawings were not saved.
        const std::string& log = now["gl-d.log"];
        if (r.status == 2 && log != before.at("gl-d.log")) {
            EXPECT_EQ(log.substr(0, 200), after.at("gl-d.log").substr(0, 200)) << limit;
            EXPECT_NE(log.find("\n-- the drawings were not saved: gl-d."), std::string::npos) << log;
            EXPECT_NE(log.find("File too large --\n-- kept from an earlier run: gl-d.eps, gl-d.pdf, gl-d.svg, gl-d.png --\n"),
                      std::string::npos) << log;
            EXPECT_EQ(log.find("with diagram in file"), std::string::npos);
            expected["gl-d.log"] = log;
        }
        EXPECT_EQ(r.status, limit >= 1 << 20 ? 0 : 2) << limit;
        EXPECT_TRUE(r.status == 0 || r.errors.find(": File too large\n") != std::string::npos) << r.errors;
        EXPECT_EQ(now, expected) << limit << " " << r.errors;
        e2e::removetree(dir);
    }
    e2e::removetree(newdir);
}

// A fault at each step of the commit, with and without the putting back
// failing too.  The calls, in order, with every format: the writes and the
// fsyncs of the EPS, PDF, SVG and PNG, the links that keep the earlier ones,
// their renames, the fsync of the folder; then the log's write, fsync, link
// and rename, and the folder's fsync again.
TEST(Commit, AFaultAtAnyStepKeepsTheOldSetOrNamesItsCopies) {
    std::string newdir = drawnfolder(showcase, clocks[1]);
    const Set after = e2e::contents(newdir);
    const std::string outputs[] = {"gl-d.eps", "gl-d.pdf", "gl-d.svg", "gl-d.png", "gl-d.log"};
    std::vector<std::string> faults;
    for (int k = 1; k <= 5; ++k)
        for (const char* step : {"write", "link", "rename"}) faults.push_back(step + (":" + std::to_string(k)));
    for (int k = 1; k <= 7; ++k) faults.push_back("fsync:" + std::to_string(k));
    for (const std::string& fault : faults) {
        for (const std::string restore : {"", ",restore:1+"}) {
            SCOPED_TRACE(fault + restore);
            std::string dir = drawnfolder(showcase, clocks[0]);
            const Set before = e2e::contents(dir);
            e2e::Launch l = drawing(dir, "d", clocks[1]);
            l.program = GRIDEL_FAULTS_BINARY;
            l.environment = {"GRIDEL_FAULT=" + fault + restore};
            e2e::RunResult r = e2e::rungridelwith(l);
            EXPECT_EQ(r.status, 2);
            EXPECT_NE(r.errors.find(": Input/output error\n"), std::string::npos) << r.errors;
            Set now = e2e::contents(dir);
            const std::string& log = now["gl-d.log"];
            // The last fsync failing, and nothing put back: the whole new set
            // is in place, its log a successful run's, and every earlier
            // file is named.
            bool wholenew = log == after.at("gl-d.log");
            bool newlog = log != before.at("gl-d.log") && !wholenew;
            if (newlog) {  // this run's log, which says the drawings were not saved
                EXPECT_EQ(log.substr(0, 200), after.at("gl-d.log").substr(0, 200));
                EXPECT_NE(log.find("\n-- the drawings were not saved: "), std::string::npos) << log;
                EXPECT_EQ(log.find("with diagram in file"), std::string::npos) << log;
            }
            // Every earlier output is in place, or this run's file is there
            // and the earlier one's copy is named on standard error and in
            // the log.
            std::set<std::string> named;
            for (const std::string& o : outputs) {
                if (now[o] == before.at(o) || (o == "gl-d.log" && !wholenew)) continue;
                EXPECT_EQ(now[o], after.at(o)) << o;
                std::string head = o + " is this run's; the earlier one is kept as ";
                size_t at = r.errors.find("gridel: the set of outputs is mixed: " + head);
                ASSERT_NE(at, std::string::npos) << o << "\n" << r.errors;
                at = r.errors.find(" as ", at) + 4;
                std::string copy = r.errors.substr(at, r.errors.find('\n', at) - at);
                EXPECT_EQ(now[copy], before.at(o)) << copy;
                EXPECT_TRUE(!newlog || log.find("-- the set is mixed: " + head + copy + " --\n") != std::string::npos)
                    << log;
                named.insert(copy);
            }
            EXPECT_TRUE(restore != "" || named.empty());
            // Nothing else is left: no temporary file, no copy that is not named.
            for (const auto& [name, bytes] : now)
                EXPECT_TRUE(before.count(name) == 1 || named.count(name) == 1) << "left: " << name;
            e2e::removetree(dir);
        }
    }
    // A failure in a folder without earlier outputs leaves none of this
    // run's files unless it says which.
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-d.txt", showcase);
    e2e::Launch l = drawing(dir, "d", clocks[1]);
    l.program = GRIDEL_FAULTS_BINARY;
    l.environment = {"GRIDEL_FAULT=rename:3,restore:2+"};
    e2e::RunResult r = e2e::rungridelwith(l);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.errors.find("gridel: gl-d.svg: Input/output error\n"
                            "gridel: the set of outputs is mixed: gl-d.eps is this run's; there was none before\n"),
              std::string::npos) << r.errors;
    EXPECT_EQ(e2e::listfiles(dir), (std::vector<std::string>{"gl-d.eps", "gl-d.log", "gl-d.txt"}));
    const std::string log = readfile(dir + "/gl-d.log");
    EXPECT_NE(log.find("\n-- the drawings were not saved: gl-d.svg: Input/output error --\n"
                       "-- the set is mixed: gl-d.eps is this run's; there was none before --\n"
                       "-- no earlier drawing is kept --\n"), std::string::npos) << log;
    e2e::removetree(dir);
}

// A later run removes the copies a killed commit left when they are second
// names of the outputs in place, and keeps one that holds an earlier file.
TEST(Commit, ALaterRunKeepsOnlyTheCopiesThatHoldAnEarlierFile) {
    std::string dir = drawnfolder(basic, clocks[0]);
    ASSERT_EQ(link((dir + "/gl-d.eps").c_str(), (dir + "/.gl-d.eps.old.Ab12Cd").c_str()), 0);
    writefile(dir + "/.gl-d.pdf.old.Xy34Zw", "an earlier drawing");
    e2e::rungridelwith(drawing(dir, "d", clocks[1]));
    std::vector<std::string> files = e2e::listfiles(dir);
    EXPECT_EQ(std::count(files.begin(), files.end(), ".gl-d.eps.old.Ab12Cd"), 0);
    EXPECT_EQ(readfile(dir + "/.gl-d.pdf.old.Xy34Zw"), "an earlier drawing");
    e2e::removetree(dir);
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

TEST(Commit, TheWaitingNoteCountsTheWholeWaitBehindSeveralRuns) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-d.txt", basic);
    const std::string lockfile = dir + "/.gl-d.lock";
    int held = open(lockfile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    e2e::Started waiting = e2e::startgridel(drawing(dir, "d", clocks[0]));
    // Other runs take the lock one after another, each for less than the
    // quiet second: the lock file changes hands as a run gives it back.
    for (int handoff = 0; handoff < 6; ++handoff) {
        usleep(400 * 1000);
        unlink(lockfile.c_str());
        int next = open(lockfile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_EQ(flock(next, LOCK_EX), 0);
        close(held);
        held = next;
    }
    // 2.4 s in all, never a whole second on one lock file: the note is there.
    EXPECT_TRUE(e2e::waitfor(waiting, [](auto&, auto& errors) {
        return errors == "gridel: waiting for another run writing gl-d.* in this folder\n";
    }, 0));
    unlink(lockfile.c_str());
    close(held);
    EXPECT_EQ(e2e::finishgridel(waiting).status, 0);
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
