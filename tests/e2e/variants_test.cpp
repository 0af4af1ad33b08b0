// variants_test.cpp - one data file, many figures: style files and -e
// lines applied after its script, outputs named by -o and --outdir.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

using testsupport::readfile;
using testsupport::writefile;

const std::string basic = readfile(std::string(EXAMPLES_DIR) + "/basic/gl-basic.txt");

// The data file with lines put at the end of its script, before its "*".
std::string withscript(const std::string& lines) {
    std::string data = basic;
    data.insert(data.rfind("*\n"), lines);
    return data;
}

// A run in `dir` with these arguments.
e2e::RunResult rungridel(const std::string& dir, const std::vector<std::string>& args) {
    e2e::Launch l;
    l.dir = dir;
    l.args = args;
    return e2e::rungridelwith(l);
}

// Every value of an SVG attribute, in order.
std::vector<std::string> attributes(const std::string& svg, const std::string& element, const std::string& name) {
    std::vector<std::string> out;
    std::regex re("<" + element + " [^>]*\\b" + name + "=\"([^\"]*)\"");
    for (std::sregex_iterator m(svg.begin(), svg.end(), re), end; m != end; ++m) out.push_back((*m)[1].str());
    return out;
}

// The drawings of a data file whose script ends with `lines`, drawn alone
// in a folder of its own: what a style must give.
std::map<std::string, std::string> drawnwith(const std::string& lines) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-basic.txt", withscript(lines));
    rungridel(dir, {"-T", "svg", "gl-basic.txt"});
    auto files = e2e::contents(dir);
    e2e::removetree(dir);
    return files;
}

TEST(Variants, StylesAndLinesDrawTheFiguresTheirLinesWouldDrawInTheScript) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-basic.txt", basic);
    writefile(dir + "/column.txt", "% a journal's column\nstyle paper\nsize 84\n");
    ASSERT_EQ(mkdir((dir + "/paper").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir + "/slide").c_str(), 0755), 0);
    e2e::RunResult paper = rungridel(dir, {"--style", "column.txt", "-T", "svg", "-o", "paper/gl-basic", "gl-basic.txt"});
    e2e::RunResult slide =
        rungridel(dir, {"-T", "svg", "-e", "style slide", "--line=title Slide", "-o", "slide/gl-basic", "gl-basic.txt"});
    EXPECT_EQ(paper.status, 0) << paper.errors;
    EXPECT_EQ(slide.status, 0) << slide.errors;
    EXPECT_EQ(readfile(dir + "/gl-basic.txt"), basic);  // the data file's own script untouched

    // Each figure is the one its lines give at the end of the script.
    auto paperalone = drawnwith("style paper\nsize 84\n"), slidealone = drawnwith("style slide\ntitle Slide\n");
    for (const char* ending : {".eps", ".svg"}) {
        EXPECT_EQ(readfile(dir + "/paper/gl-basic" + ending), paperalone[std::string("gl-basic") + ending]) << ending;
        EXPECT_EQ(readfile(dir + "/slide/gl-basic" + ending), slidealone[std::string("gl-basic") + ending]) << ending;
    }
    // And they are the two figures: a column's page, circles of SIZE 3
    // scaled with the font size (7 and 16 points of 12) and lines of
    // their widths; the slide's title.
    std::string p = readfile(dir + "/paper/gl-basic.svg"), s = readfile(dir + "/slide/gl-basic.svg");
    std::vector<std::string> pr = attributes(p, "circle", "r"), sr = attributes(s, "circle", "r");
    ASSERT_FALSE(pr.empty());
    ASSERT_EQ(pr.size(), sr.size());
    EXPECT_EQ(pr[0], "1.75");
    EXPECT_EQ(sr[0], "4");
    EXPECT_EQ(attributes(s, "circle", "stroke-width")[0], "0.8");
    EXPECT_NE(attributes(p, "svg", "width"), attributes(s, "svg", "width"));
    EXPECT_NE(s.find("<g id=\"title\" class=\"title\">\n<text x="), std::string::npos);
    EXPECT_EQ(p.find("<g id=\"title\""), std::string::npos);  // a column's figure has none
    // The transcript and the log say what was applied.
    EXPECT_NE(paper.screen.find("\nstyle file column.txt applied\n"), std::string::npos);
    std::string log = readfile(dir + "/slide/gl-basic.log");
    EXPECT_NE(log.find("\n-e line 1 applied: style slide\n-e line 2 applied: title Slide\n"), std::string::npos) << log;
    e2e::removetree(dir);
}

TEST(Variants, AFailingStyleLineIsReportedWhereItStands) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-basic.txt", basic);
    writefile(dir + "/wide.txt", "size 100 60\n  bigticks 0 200 2 0\n");
    struct Case {
        std::vector<std::string> args;
        const char* errors;
    };
    const Case cases[] = {
        {{"-e", "fontsize 9", "-e", "window 0 1 0 x", "gl-basic.txt"},
         "-e:2:14: error: window needs four numbers, xlow xhigh ylow yhigh: 'x' is not one\n"
         "window 0 1 0 x\n"
         "             ^\n"},
        {{"--style", "wide.txt", "gl-basic.txt"},
         "wide.txt:2:12: error: the gap between big ticks must be greater than 0\n"
         "  bigticks 0 200 2 0\n"
         "           ^\n"
         "note: bigticks is written x gap, x start, y gap, y start\n"},
        {{"--check", "-e", "legend up", "-e", "windwo 1", "gl-basic.txt"},
         "-e:1: warning: legend takes \"right\" or \"below\", then any of \"lines\", \"points\" and \"fields\", each once: the line is ignored\n"
         "-e:2: warning: unknown script keyword \"windwo\" is ignored (did you mean \"window\"?)\n"},
        {{"--style", "none.txt", "gl-basic.txt"}, "gridel: none.txt: No such file or directory\n"},
    };
    for (const Case& c : cases) {
        e2e::RunResult r = rungridel(dir, c.args);
        EXPECT_EQ(r.errors, c.errors) << c.args[1];
        EXPECT_EQ(r.status, c.args[1] == "none.txt" ? 2 : c.args[0] == "--check" ? 0 : 1) << c.args[1];
        // No drawing is made, and the data file stays as it was.
        EXPECT_FALSE(e2e::fileexists(dir + "/gl-basic.eps"));
        EXPECT_EQ(readfile(dir + "/gl-basic.txt"), basic);
    }
    e2e::removetree(dir);
}

TEST(Variants, OutputAndOutdirNameExactlyTheirFilesAndCommitThemTogether) {
    std::string dir = e2e::makeworkdir();
    for (const char* folder : {"/a", "/b", "/figs", "/out"}) ASSERT_EQ(mkdir((dir + folder).c_str(), 0755), 0);
    writefile(dir + "/a/gl-x.txt", basic);
    writefile(dir + "/b/gl-y.txt", basic);
    // -o: the drawings and the log under the stem, nothing beside the data
    // file; what a killed run left under the stem's temporary names goes.
    writefile(dir + "/figs/.gl-x-slide.png.Ab12Cd", "a killed run's");
    e2e::RunResult r = rungridel(dir, {"-T", "png", "-o", "figs/gl-x-slide.png", "-e", "style slide", "a/gl-x.txt"});
    EXPECT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(e2e::listfiles(dir + "/figs"),
              (std::vector<std::string>{"gl-x-slide.eps", "gl-x-slide.log", "gl-x-slide.png"}));
    EXPECT_EQ(e2e::listfiles(dir + "/a"), std::vector<std::string>{"gl-x.txt"});
    EXPECT_EQ(e2e::listfiles(dir), std::vector<std::string>{});
    EXPECT_NE(r.screen.find("with diagram in file, " + dir + "/figs/gl-x-slide.eps\n"), std::string::npos);

    // A run that fails keeps the drawings it would have replaced, whole,
    // and leaves its transcript in the log, as any run does.
    auto before = e2e::contents(dir + "/figs");
    r = rungridel(dir, {"-T", "png", "-o", "figs/gl-x-slide", "-e", "window 1 0 0 1", "a/gl-x.txt"});
    EXPECT_EQ(r.status, 1);
    auto after = e2e::contents(dir + "/figs");
    EXPECT_NE(after["gl-x-slide.log"].find("BOMBED in readdata : xhigh must be greater than xlow"), std::string::npos);
    before.erase("gl-x-slide.log");
    after.erase("gl-x-slide.log");
    EXPECT_EQ(after, before);
    EXPECT_EQ(e2e::listfiles(dir + "/figs"),
              (std::vector<std::string>{"gl-x-slide.eps", "gl-x-slide.log", "gl-x-slide.png"}));
    before = e2e::contents(dir + "/figs");

    // --outdir: every data file's outputs in the folder, under their names.
    r = rungridel(dir, {"--outdir", "out", "-T", "svg", "a/gl-x.txt", "b/gl-y.txt"});
    EXPECT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.errors, "2 drawn, 0 failed\n");
    EXPECT_EQ(e2e::listfiles(dir + "/out"), (std::vector<std::string>{"gl-x.eps", "gl-x.log", "gl-x.svg", "gl-y.eps",
                                                                      "gl-y.log", "gl-y.svg"}));
    EXPECT_EQ(e2e::listfiles(dir + "/a"), std::vector<std::string>{"gl-x.txt"});
    EXPECT_EQ(e2e::listfiles(dir + "/b"), std::vector<std::string>{"gl-y.txt"});

    // What cannot be done is refused before anything is written.
    writefile(dir + "/b/gl-x.txt", basic);
    struct Refusal {
        std::vector<std::string> args;
        const char* says;
    };
    const Refusal refusals[] = {
        {{"-o", "figs/z", "a/gl-x.txt", "b/gl-y.txt"}, "gridel: -o names the outputs of one data file, and 2 are given"},
        {{"-o", "figs/z", "--outdir", "out", "a/gl-x.txt"}, "gridel: -o and --outdir do not go together"},
        {{"-o", "figs/", "a/gl-x.txt"}, "gridel: -o figs/ names a folder: give the outputs' name, such as figs/gl-mine\n"},
        {{"--outdir", "nowhere", "a/gl-x.txt"}, "gridel: nowhere: No such file or directory\n"},
        {{"--outdir", "a/gl-x.txt", "b/gl-y.txt"}, "gridel: a/gl-x.txt: not a folder\n"},
        {{"--outdir", "out", "a/gl-x.txt", "b/gl-x.txt"},
         "gridel: a/gl-x.txt and b/gl-x.txt would both write gl-x.* in out\n"},
        {{"-e", "style slide"}, "gridel: --style, -e, -o and --outdir need a data file"},
        {{"-e", "style slide\nsize 84", "a/gl-x.txt"}, "gridel: an -e line holds one script line"},
    };
    const auto all = e2e::contents(dir + "/out");
    for (const Refusal& c : refusals) {
        r = rungridel(dir, c.args);
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_EQ(r.errors.compare(0, std::string(c.says).size(), c.says), 0) << r.errors;
    }
    EXPECT_EQ(e2e::contents(dir + "/out"), all);
    EXPECT_EQ(e2e::contents(dir + "/figs"), before);
    EXPECT_EQ(e2e::listfiles(dir + "/a"), std::vector<std::string>{"gl-x.txt"});
    e2e::removetree(dir);
}

}  // namespace
