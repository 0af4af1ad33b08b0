// safefiles_test.cpp - a run never destroys a file: the drawing replaces the
// old one only when the run ends normally, no output may be the data file,
// and a closed standard stream lends its number to no output file.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

const std::string gooddata = "2 2 1 2\nu1 begin end 1 1 2 2\n*\n*\nwindow 0 3 0 3\nbigticks 1 0 1 0\n*\n";
// The geometry fails after the drawing was opened: the end lies before the start.
const std::string faileddata = "2 2 1 2\ni1 0.5 3\nu1 begin i1\n 1 1 2 2\n*\n*\nwindow 0 10 0 10\nbigticks 10 0 10 0\n*\n";

using Files = std::vector<std::string>;

TEST(SafeFiles, AFailedRunLeavesThePreviousDrawing) {
    std::string dir = e2e::makeworkdir();
    const std::string old = "%!PS-Adobe-3.0 EPSF-3.0\n% the last good drawing\n";
    const Files files = {"gl-log.txt", "gl-prefs.txt", "gl-test.eps", "gl-test.txt"};
    testsupport::writefile(dir + "/gl-prefs.txt", "datafile test\n");
    testsupport::writefile(dir + "/gl-test.txt", faileddata);
    testsupport::writefile(dir + "/gl-test.eps", old);
    testsupport::writefile(dir + "/gl-log.txt", "old log\n");

    // A failure report in the geometry: the log is the new one.
    e2e::RunResult r = e2e::rungridel(dir, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(testsupport::readfile(dir + "/gl-test.eps"), old);
    std::string log = testsupport::readfile(dir + "/gl-log.txt");
    EXPECT_NE(log.find(" BOMBED in add points : "), std::string::npos) << log;
    EXPECT_EQ(e2e::listfiles(dir), files);

    // A signal while the report waits for return: the drawing stays, the log
    // holds the transcript and a last line naming the signal, and the run
    // ends by the signal.
    const std::pair<int, std::string> signals[] = {{SIGTERM, "TERM"}, {SIGINT, "INT"}, {SIGHUP, "HUP"}};
    e2e::Launch held;
    held.dir = dir;
    held.holdinput = true;  // nothing typed: the report waits
    for (const auto& [sig, name] : signals) {
        e2e::Started run = e2e::startgridel(held);
        EXPECT_TRUE(e2e::waitfor(run, [](const std::string& screen, const std::string&) {
            return screen.find("hit return to exit program\n") != std::string::npos;
        })) << sig;
        kill(run.pid, sig);
        e2e::RunResult r = e2e::finishgridel(run, 30);
        EXPECT_EQ(r.signal, sig) << r.status;
        EXPECT_EQ(testsupport::readfile(dir + "/gl-test.eps"), old) << sig;
        EXPECT_EQ(testsupport::readfile(dir + "/gl-log.txt"), log + "\n-- run interrupted by SIG" + name + " --\n")
            << sig;
        EXPECT_EQ(e2e::listfiles(dir), files) << sig;
    }

    // A drawing that passes the file-size limit is a write error, not a
    // kill: status 2, the log is committed, the old drawing stays.
    testsupport::writefile(dir + "/gl-test.txt", gooddata);
    held.holdinput = false;
    held.filesizelimit = 1000;
    r = e2e::rungridelwith(held);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.errors, "gridel: gl-test.eps: File too large\n");
    EXPECT_EQ(testsupport::readfile(dir + "/gl-test.eps"), old);
    const std::string failedlog = testsupport::readfile(dir + "/gl-log.txt");
    EXPECT_EQ(failedlog.find("with diagram in file, gl-test.eps"), std::string::npos);  // it is not there
    EXPECT_NE(failedlog.find("\n-- the drawings were not saved: gl-test.eps: File too large --\n"
                             "-- kept from an earlier run: gl-test.eps --\n"), std::string::npos) << failedlog;
    EXPECT_EQ(e2e::listfiles(dir), files);
    e2e::removetree(dir);
}

TEST(SafeFiles, NoOutputMayBeTheDataFile) {
    struct Refused {
        std::string prefs, typed, datafile, link, what;
    };
    const Refused cases[] = {
        {"datafile log\n", "", "gl-log.txt", "", "suffix log names the log file gl-log.txt"},
        {"dontwrap yes\n", "log\n", "gl-log.txt", "", "suffix log names the log file gl-log.txt"},
        {"datafile x\n", "", "gl-x.txt", "gl-log.txt", "output gl-log.txt is the same file as the datafile"},
        {"datafile x\n", "", "gl-x.txt", "gl-x.eps", "output gl-x.eps is the same file as the datafile"},
    };
    for (const Refused& c : cases) {
        std::string dir = e2e::makeworkdir();
        testsupport::writefile(dir + "/gl-prefs.txt", c.prefs);
        testsupport::writefile(dir + "/" + c.datafile, gooddata);
        if (!c.link.empty()) {
            EXPECT_EQ(symlink(c.datafile.c_str(), (dir + "/" + c.link).c_str()), 0);
        }
        e2e::RunResult r = e2e::rungridel(dir, c.typed);
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_NE(r.screen.find("\n\n BOMBED in promptdatafile : " + c.what + "\n\n"), std::string::npos)
            << r.screen;
        EXPECT_EQ(testsupport::readfile(dir + "/" + c.datafile), gooddata) << c.what;
        for (const std::string& f : e2e::listfiles(dir)) EXPECT_NE(f[0], '.') << c.what << ": " << f;
        e2e::removetree(dir);
    }
}

// A closed standard input reads as nothing typed, and no output file takes
// the number of a closed stream: the log is the same as with all three open.
TEST(SafeFiles, ClosedStandardStreams) {
    auto run = [](int closed, std::string& log) {
        std::string dir = e2e::makeworkdir();  // no preferences: two questions, then a report
        e2e::RunResult r = e2e::rungridel(dir, "", e2e::defaultclock, 60, closed);
        log = testsupport::readfile(dir + "/gl-log.txt");
        e2e::removetree(dir);
        return r;
    };
    std::string wantlog;
    e2e::RunResult want = run(-1, wantlog);
    ASSERT_EQ(want.status, 1);
    for (int closed : {0, 1, 2}) {
        std::string log;
        e2e::RunResult r = run(closed, log);
        EXPECT_EQ(r.status, 1) << closed;
        EXPECT_EQ(r.errors, "") << closed;
        EXPECT_EQ(r.screen, closed == 1 ? "" : want.screen) << closed;
        EXPECT_EQ(log, wantlog) << closed;
    }
}

}  // namespace
