// ioerror_test.cpp - a file that cannot be written ends the run with one line
// on standard error and the status 2, never with a run that looks successful.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "e2e/harness.h"

namespace {

const std::string data =
    "2 2 1 2\nu1 begin end 1 1 2 2\n*\n*\nwindow 0 3 0 3\nbigticks 1 0 1 0\n*\n";

// Run with one output file sent to a full disk.
e2e::RunResult runwithfull(const std::string& file) {
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-prefs.txt", "datafile test\n");
    testsupport::writefile(dir + "/gl-test.txt", data);
    EXPECT_EQ(symlink("/dev/full", (dir + "/" + file).c_str()), 0);
    e2e::RunResult r = e2e::rungridel(dir, "");
    e2e::removetree(dir);
    return r;
}

TEST(OutputErrors, AFullDiskEndsTheRunWithStatus2) {
    e2e::RunResult log = runwithfull("gl-log.txt");
    EXPECT_EQ(log.status, 2);
    EXPECT_EQ(log.errors, "gridel: gl-log.txt: No space left on device\n");

    e2e::RunResult drawing = runwithfull("gl-test.eps");
    EXPECT_EQ(drawing.status, 2);
    EXPECT_NE(drawing.errors.find("gridel: gl-test.eps: No space left on device\n"), std::string::npos)
        << drawing.errors;
    EXPECT_EQ(drawing.screen.find("BOMBED"), std::string::npos);
}

TEST(OutputErrors, FontsThatCannotBeLoadedEndTheRunWithStatus2) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizers' runtime needs files of its own (it reads the process's
    // maps to check a type): under ten open files it fails before gridel does.
    GTEST_SKIP() << "the sanitizers need more open files than the limit leaves";
#endif
    // With ten files open at most, fontconfig cannot read all it needs and
    // would give another face: the PDF and PNG are not made in it.
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-test.txt", data);
    int status;
    // The shell makes its redirections before the limit: it needs files of its own for them.
    std::string errors = testsupport::runcommand(
        "cd " + dir + " && exec 2>&1 >/dev/null && ulimit -n 10 && exec " GRIDEL_BINARY " -T pdf,png gl-test.txt", status);
    ASSERT_EQ(status, 2) << errors;
    EXPECT_EQ(errors.rfind("gridel: the fonts cannot be loaded: too few files may be open at once (", 0), 0u) << errors;
    EXPECT_FALSE(e2e::fileexists(dir + "/gl-test.pdf"));
    EXPECT_FALSE(e2e::fileexists(dir + "/gl-test.png"));
    const std::string log = testsupport::readfile(dir + "/gl-test.log");
    EXPECT_NE(log.find("\n-- the drawings were not saved: the fonts: too few files may be open at once ("),
              std::string::npos) << log;
    EXPECT_NE(log.find("-- no earlier drawing is kept --\n"), std::string::npos) << log;
    e2e::removetree(dir);
}

}  // namespace
