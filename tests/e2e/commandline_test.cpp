// commandline_test.cpp - the options and the data file named on the command
// line, through the real binary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

std::string example(const std::string& name) {
    return testsupport::readfile(std::string(EXAMPLES_DIR) + "/" + name + "/gl-" + name + ".txt");
}

e2e::RunResult run(const std::string& dir, std::vector<std::string> args) {
    e2e::Launch l;
    l.dir = dir;
    l.args = std::move(args);
    return e2e::rungridelwith(l);
}

bool startswith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

TEST(CommandLine, HelpVersionAndBadUse) {
    std::string dir = e2e::makeworkdir();
    e2e::RunResult r = run(dir, {"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(startswith(r.screen, "Usage: gridel [OPTION]... [DATAFILE]...\n")) << r.screen;
    EXPECT_EQ(r.errors, "");
    EXPECT_EQ(run(dir, {"-h"}).screen, r.screen);
    r = run(dir, {"-V"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.screen, "gridel 1.18\n");
    EXPECT_EQ(run(dir, {"--version"}).screen, "gridel 1.18\n");
    // An unknown option or a bad value: one line quoting the option as it
    // was typed and the usage on standard error, status 2, and no file at all.
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--colour"}, "unknown option '--colour'"},
        {{"-x"}, "unknown option '-x'"},
        {{"-hx"}, "unknown option '-x'"},
        {{"-T", "jpg"}, "unknown format 'jpg' (eps, pdf, svg or png)"},
        {{"-T"}, "option '-T' needs a value"},
        {{"x.txt", "--dpi"}, "option '--dpi' needs a value"},
        {{"--crop=yes", "x.txt"}, "option '--crop=yes' takes no value"},
        {{"--check=1"}, "option '--check=1' takes no value"},
        {{"--dpi", "0"}, "bad resolution '0' (a whole number from 10 to 600)"},
        {{"--dpi=abc"}, "bad resolution 'abc' (a whole number from 10 to 600)"},
        {{"--dpi", "601"}, "bad resolution '601' (a whole number from 10 to 600)"},
        {{"--watch"}, "--watch needs a data file to watch"},
        {{"a", ""}, "a data file's name is empty"}};
    for (const auto& [args, line] : bad) {
        r = run(dir, args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.screen, "") << args[0];
        EXPECT_TRUE(startswith(r.errors, "gridel: " + line + "\n\nUsage: gridel")) << r.errors;
    }
    EXPECT_TRUE(e2e::listfiles(dir).empty());
    e2e::removetree(dir);
}

TEST(CommandLine, ADataFileIsDrawnInItsOwnFolder) {
    // The run works beside the data file: its preferences apply but for the
    // data file they name, the outputs go there, the current folder gets
    // nothing, and the outputs are named after the file.  The screen and the
    // log are those of the same diagram drawn the classic way.
    std::string here = e2e::makeworkdir(), there = e2e::makeworkdir(), classic = e2e::makeworkdir();
    testsupport::writefile(there + "/gl-showcase.txt", example("showcase"));
    testsupport::writefile(there + "/gl-prefs.txt", "datafile other\nsetpagewidth 120\n");
    testsupport::writefile(classic + "/gl-showcase.txt", example("showcase"));
    testsupport::writefile(classic + "/gl-prefs.txt", "datafile showcase\nsetpagewidth 120\n");
    e2e::RunResult named = run(here, {there + "/gl-showcase.txt"});
    e2e::RunResult plain = e2e::rungridel(classic, "");
    EXPECT_EQ(named.status, 0) << named.screen;
    EXPECT_EQ(named.screen, plain.screen);
    EXPECT_EQ(testsupport::readfile(there + "/gl-showcase.log"), testsupport::readfile(classic + "/gl-log.txt"));
    EXPECT_EQ(testsupport::readfile(there + "/gl-showcase.eps"), testsupport::readfile(classic + "/gl-showcase.eps"));
    EXPECT_TRUE(e2e::listfiles(here).empty());

    // Any name: without "gl-" and its extension it names the outputs.  No
    // preferences file: no notice and no question.
    testsupport::writefile(here + "/run 5.data.txt", example("basic"));
    named = run(here, {"run 5.data.txt"});
    EXPECT_EQ(named.status, 0) << named.screen;
    EXPECT_EQ(named.screen.find("prefs"), std::string::npos) << named.screen;
    EXPECT_NE(named.screen.find("with diagram in file, gl-run 5.data.eps\n"), std::string::npos) << named.screen;
    EXPECT_TRUE(e2e::fileexists(here + "/gl-run 5.data.eps"));
    for (const std::string& d : {here, there, classic}) e2e::removetree(d);
}

TEST(CommandLine, AFailingRunNeverWaitsForTheKeyboard) {
    // Standard input is held open and nothing is typed: the failure report
    // ends the run at once, and no drawing is left.
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-bad.txt", "2 2 1 2\ni1 1 x\n");
    e2e::Launch l;
    l.dir = dir;
    l.args = {"gl-bad.txt"};
    l.holdinput = true;
    l.timeoutseconds = 10;
    e2e::RunResult r = e2e::rungridelwith(l);
    EXPECT_FALSE(r.timedout);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.screen.find(" BOMBED in reading : expecting a single (1); got: x - reading coordinates for i1\n"),
              std::string::npos)
        << r.screen;
    EXPECT_EQ(r.screen.find("hit return"), std::string::npos);
    EXPECT_EQ(r.errors,
              "gl-bad.txt:2:6: error: a number was expected here (a data row of i1), not 'x'\ni1 1 x\n     ^\n");
    EXPECT_EQ(e2e::listfiles(dir), (std::vector<std::string>{"gl-bad.log", "gl-bad.txt"}));
    // A data file that is not there.
    r = run(dir, {"gl-none.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.screen.find("cannot locate file \"gl-none.txt\""), std::string::npos);
    e2e::removetree(dir);
}

TEST(CommandLine, OtherFormatsBesideTheDrawing) {
    // -T adds formats (repeated or with commas); the EPS is the same bytes
    // either way; --crop cuts every output to the content, the EPS's box
    // included; --dpi sets the PNG's size.
    std::string plain = e2e::makeworkdir(), more = e2e::makeworkdir();
    for (const std::string& d : {plain, more}) testsupport::writefile(d + "/gl-basic.txt", example("basic"));
    e2e::RunResult r = run(plain, {"gl-basic.txt"});
    ASSERT_EQ(r.status, 0);
    r = run(more, {"-T", "pdf", "--format=svg,png", "-T", "eps", "gl-basic.txt"});
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(e2e::listfiles(more), (std::vector<std::string>{"gl-basic.eps", "gl-basic.log", "gl-basic.pdf",
                                                                "gl-basic.png", "gl-basic.svg", "gl-basic.txt"}));
    EXPECT_EQ(testsupport::readfile(more + "/gl-basic.eps"), testsupport::readfile(plain + "/gl-basic.eps"));
    EXPECT_TRUE(startswith(testsupport::readfile(more + "/gl-basic.pdf"), "%PDF-"));
    EXPECT_NE(testsupport::readfile(more + "/gl-basic.svg").find("<svg"), std::string::npos);
    std::string png = testsupport::readfile(more + "/gl-basic.png");
    ASSERT_TRUE(startswith(png, "\x89PNG\r\n\x1a\n"));
    auto be32 = [&png](size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 1086u);  // 521 points at 150 dpi
    EXPECT_EQ(be32(20), 1555u);  // 746 points

    r = run(more, {"--crop", "-T", "png", "--dpi", "72", "gl-basic.txt"});
    ASSERT_EQ(r.status, 0) << r.errors;
    std::string eps = testsupport::readfile(more + "/gl-basic.eps");
    size_t box = eps.find("%%BoundingBox: ");
    ASSERT_NE(box, std::string::npos);
    int left, bottom, right, top;
    ASSERT_EQ(std::sscanf(eps.c_str() + box, "%%%%BoundingBox: %d %d %d %d", &left, &bottom, &right, &top), 4);
    EXPECT_NE(eps.substr(box, 30), "%%BoundingBox: 4 4 525 750\n%%T");
    EXPECT_LE(right - left, 525 - 4);
    EXPECT_GT(right - left, 400);  // the plot square and its numbers
    png = testsupport::readfile(more + "/gl-basic.png");
    EXPECT_EQ(be32(16), static_cast<unsigned>(right - left));  // at 72 dpi a point is a pixel
    EXPECT_EQ(be32(20), static_cast<unsigned>(top - bottom));
    EXPECT_EQ(testsupport::ghostscript(more + "/gl-basic.eps"), "");
    for (const std::string& d : {plain, more}) e2e::removetree(d);
}

}  // namespace
