// diagnostics_test.cpp - where a problem is: the FILE:LINE: line of each
// failure on standard error, and the findings of --check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

const std::string script = "*\n*\nwindow 0 4 0 4\nbigticks 1 0 1 0\nnumbering yes\n*\n";

struct Ran {
    e2e::RunResult run;
    std::vector<std::string> files;  // what the folder holds afterwards
};

// A data file gl-mine.txt (and preferences, when given) run by name.
Ran rundata(const std::string& data, std::vector<std::string> options = {}, const std::string& prefs = "") {
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-mine.txt", data);
    if (!prefs.empty()) testsupport::writefile(dir + "/gl-prefs.txt", prefs);
    e2e::Launch l;
    l.dir = dir;
    l.args = std::move(options);
    l.args.push_back("gl-mine.txt");
    Ran r{e2e::rungridelwith(l), e2e::listfiles(dir)};
    e2e::removetree(dir);
    return r;
}

TEST(Diagnostics, EachFailureNamesItsLine) {
    struct Case {
        const char* label;
        std::string data;
        std::string prefs;
        std::string line;  // the line on standard error
    };
    const Case cases[] = {
        // the data reader: the line of the word it was at
        {"data section", "2 2 1 2\ni1 1 2\nu1 line begin end\n  1 1\n  2 600,0\n" + script, "",
         "gl-mine.txt:5: expecting a single (1); got: 600,0 - reading coordinates for u1\n"},
        {"unused column", "3 2 1 2\ni1 1 2 3\nu1 line begin end\n  1 1 1  2 2 2\n  3 3 1/0 4 4 4\n" + script, "",
         "gl-mine.txt:5: expecting a single (3); got: 1/0 - reading coordinates for u1\n"},
        {"end of input", "2 2 1 2\ni1 1 2\n\nu1 line begin", "", "gl-mine.txt:4: unexpected end of input: line limit names for u1\n"},
        // the script reader: its line, or the file when something is missing
        {"script line", "2 2 1 2\ni1 1 2\n*\n*\nwindow 0 4 0 4\nbigticks 0 0 1 0\n", "",
         "gl-mine.txt:6: zero gap\n"},
        {"script missing", "2 2 1 2\ni1 1 2\n*\n*\nwindow 0 4 0 4\n", "",
         "gl-mine.txt: bigticks script needed (xtick gap, xstart, ytick gap, ystart)\n"},
        // the line reader of the preferences file
        {"preferences", "2 2 1 2\ni1 1 2\n" + script, "dontwrap\n" + std::string(1048577, 'x') + "\n",
         "gl-prefs.txt:2: line longer than 1048576 characters\n"},
        // later steps: the line where the item was defined, and the item
        {"crossover", "2 2 1 2\ni1 crossover u1 u2\nu1 line begin end 0 0 1 1\nu2 line begin end 0 1 1 2\n" + script,
         "", "gl-mine.txt:2: i1: lines don't cross for i1\n"},
        {"assembly", "2 2 1 2\ni1 1 2\nu1 line begin end 0 0 1 1\n\nu3 line i1 i9 0 0 1 1\n" + script, "",
         "gl-mine.txt:5: u3: not recognised: i9\n"},
        {"window cuts", "2 2 1 2\nu1 line begin end\n 2 2  2 -2  6 -2  6 6  2 6  2 2\n" + script, "",
         "gl-mine.txt:2: u1: wierd line shape in u1\n"},
        {"areas", "2 2 1 2\nu1 line begin end 0 0 1 1\n*\n0.5 u1\n\n0.5 u7\n*\nwindow 0 4 0 4\nbigticks 1 0 1 0\n*\n",
         "", "gl-mine.txt:6: area 2: not recognised: u7\n"},
        {"labels", "2 2 1 2\nu1 line begin end 1 1 1 1\n" + script, "",
         "gl-mine.txt:2: u1: zero sum distance for u1\n"},
    };
    for (const Case& c : cases) {
        Ran r = rundata(c.data, {}, c.prefs);
        EXPECT_EQ(r.run.status, 1) << c.label;
        EXPECT_EQ(r.run.errors, c.line) << c.label;
        EXPECT_NE(r.run.screen.find(" BOMBED in "), std::string::npos) << c.label;
    }
}

TEST(Diagnostics, CheckListsWhatIsAcceptedSilentlyAndWritesNothing) {
    const std::string data =
        "2 2 1 2\n"
        "i1 ky sill and 1 1\n"                            // 2: a phase list that is dropped
        "i2 3 3\n"
        "i3 90 90\n"                                      // 4: outside the window
        "u1 ky sill i1 i2 rgb 300 0 0\n"                  // 5: dropped list; colour out of range; end point far
        "   1 1 2 2\n"
        "u2 line i1 i2 connect\n"
        "u3 line begin end 20 20 30 30\n"                 // 8: wholly outside the window
        "uverylongnameofaline12345 line begin end 1 2 2 1\n"   // 9: cut
        "uverylongnameofaline12399 line begin end 1 2.5 2 1\n"  // 10: cut, and the same as line 9's
        "i4 1 1\ni5 3 1\ni6 3 3\n"
        "u4 line i4 i5 connect\nu5 line i5 i6 connect\nu6 line i6 end 3 3 1.5 2.5\n"
        "*\n"
        "1.5 u1 u2\n"                                     // 18: grayscale out of range
        "0.5 u4 u5 u6\n"                                  // 19: closed by a straight join
        "*\n"
        "window 0 4 0 4\nbigticks 1 0 1 0\n"
        "smalticks 0.5 0.5\n"                             // 23: unknown keyword
        "showlineinfo ask\n"                              // 24: ask
        "numbering 20\n"                                  // 25: size taken as 14
        "*\n";
    Ran r = rundata(data, {"--check"}, "dontwrap ask\nsetpagewdth 100\n*\n");
    EXPECT_EQ(r.run.status, 0);
    EXPECT_EQ(r.run.screen, "");
    EXPECT_EQ(r.files, (std::vector<std::string>{"gl-mine.txt", "gl-prefs.txt"}));
    const std::string expected =
        "gl-prefs.txt:1: warning: \"ask\" does not ask: dontwrap is taken as no\n"
        "gl-prefs.txt:2: warning: unknown keyword \"setpagewdth\" is ignored (did you mean \"setpagewidth\"?)\n"
        "gl-mine.txt:2: warning: i1: its phase list is dropped: a list ends with \"-\", \"invariant\" or \"crossover\"\n"
        "gl-mine.txt:5: warning: u1: its phase list is dropped: before its limits a list ends with \"-\" or \"univariant\"\n"
        "gl-mine.txt:5: warning: u1: the colour component '300' lies outside 0..255\n"
        "gl-mine.txt:9: warning: the name 'uverylongnameofaline12345' is cut to its first 20 characters, 'uverylongnameofaline'\n"
        "gl-mine.txt:10: warning: the name 'uverylongnameofaline12399' is cut to its first 20 characters, 'uverylongnameofaline'\n"
        "gl-mine.txt:10: warning: uverylongnameofaline: the names 'uverylongnameofaline12345' and "
        "'uverylongnameofaline12399' are the same in their first 20 characters\n"
        "gl-mine.txt:18: warning: area 1: its grayscale '1.5' lies outside 0..1 and is taken as 1\n"
        "gl-mine.txt:23: warning: unknown script keyword \"smalticks\" is ignored (did you mean \"smallticks\"?)\n"
        "gl-mine.txt:24: warning: \"ask\" does not ask: showlineinfo is taken as no: the log gets no line report\n"
        "gl-mine.txt:25: warning: numbering size 20 is taken as 14\n"
        "gl-mine.txt:4: warning: i3: it lies outside the window or on its edge: no circle is drawn\n"
        "gl-mine.txt:5: warning: u1: its end point i2 lies 0.35 window sizes from its nearest data point\n"
        "gl-mine.txt:8: warning: u3: it lies wholly outside the window and is not drawn\n"
        "gl-mine.txt:19: warning: area 2: its boundary does not come back to where it started: it is closed by a "
        "straight join\n";
    EXPECT_EQ(r.run.errors, expected);

    // A failure is listed as an error, with the status of a failed run.
    r = rundata("2 2 1 2\ni1 1 2\nu3 line i1 i9 0 0 1 1\n" + script, {"--check"});
    EXPECT_EQ(r.run.status, 1);
    EXPECT_EQ(r.run.screen, "");
    EXPECT_EQ(r.run.errors, "gl-mine.txt:3: error: u3: not recognised: i9\n");
    EXPECT_EQ(r.files, (std::vector<std::string>{"gl-mine.txt"}));
}

}  // namespace
