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

// Preferences whose second line is too long to be read.
std::string overlongprefs() {
    std::string prefs = "dontwrap\n";
    prefs.append(1048577, 'x');
    return prefs + "\n";
}

TEST(Diagnostics, EachFailureNamesItsLine) {
    struct Case {
        const char* label;
        std::string data;
        std::string prefs;
        std::string errors;  // standard error
    };
    const Case cases[] = {
        // the data reader: the word it was at
        {"unused column", "3 2 1 2\ni1 1 2 3\nu1 line begin end\n  1 1 1  2 2 2\n  3 3 1/0 4 4 4\n" + script, "",
         "gl-mine.txt:5:7: error: '1/0' cannot be read: each part of a fraction is a whole number from 1 to 32766 "
         "in size\n  3 3 1/0 4 4 4\n      ^~~\n"},
        {"end of input", "2 2 1 2\ni1 1 2\n\nu1 line begin", "",
         "gl-mine.txt:4:14: error: the file ends in the middle of the two limits of u1\nu1 line begin\n"
         "             ^\n"},
        // the script reader: the word at fault, or the file when something is missing
        {"script line", "2 2 1 2\ni1 1 2\n*\n*\nwindow 0 4 0 4\nbigticks 0 0 1 0\n", "",
         "gl-mine.txt:6:10: error: the gap between big ticks must be greater than 0\nbigticks 0 0 1 0\n         ^\n"
         "note: bigticks is written x gap, x start, y gap, y start\n"},
        {"script missing", "2 2 1 2\ni1 1 2\n*\n*\nwindow 0 4 0 4\n", "",
         "gl-mine.txt: error: the script has no bigticks line (x gap, x start, y gap, y start)\n"},
        // the line reader of the preferences file
        {"preferences", "2 2 1 2\ni1 1 2\n" + script, overlongprefs(),
         "gl-prefs.txt:2: error: this line is longer than 1048576 bytes\nnote: is it a text file, with its lines "
         "ended?\n"},
        // later steps: the name of the item, where it was defined
        {"crossover", "2 2 1 2\ni1 crossover u1 u2\nu1 line begin end 0 0 1 1\nu2 line begin end 0 1 1 2\n" + script,
         "",
         "gl-mine.txt:2:1: error: the lines u1 and u2 do not cross within their data rows, so i1 has no place\n"
         "i1 crossover u1 u2\n^~\nnote: extend the lines' rows past their crossing, or give i1 its position as a "
         "data row\n"},
        {"assembly", "2 2 1 2\ni1 1 2\nu1 line begin end 0 0 1 1\n\n  u3 line i1 i9 0 0 1 1\n" + script, "",
         "gl-mine.txt:5:3: error: the limit 'i9' of u3 is not a point, nor 'begin' or 'end'\n"
         "  u3 line i1 i9 0 0 1 1\n  ^~\nnote: a limit is a point's name, 'begin' (the first data row) or 'end' "
         "(the last)\n"},
        {"window cuts", "2 2 1 2\nu1 line begin end\n 2 2  2 -2  6 -2  6 6  2 6  2 2\n" + script, "",
         "gl-mine.txt:2:1: error: u1 leaves the window by one edge and comes back by the opposite one\n"
         "u1 line begin end\n^~\nnote: split the line where it leaves, or widen the window\n"},
        {"areas", "2 2 1 2\nu1 line begin end 0 0 1 1\n*\n0.5 u1\n\n0.5 u7\n*\nwindow 0 4 0 4\nbigticks 1 0 1 0\n*\n",
         "",
         "gl-mine.txt:6:1: error: area 2 names the line 'u7', which is not defined\n0.5 u7\n^\n"
         "note: an area's lines are the names of lines read before the first '*'\n"},
        {"labels", "2 2 1 2\nu1 line begin end 1 1 1 1\n" + script, "",
         "gl-mine.txt:2:1: error: u1 has no length to put its number on: its drawn points all coincide\n"
         "u1 line begin end 1 1 1 1\n^~\nnote: check its rows and limits, or leave out numbering\n"},
    };
    for (const Case& c : cases) {
        Ran r = rundata(c.data, {}, c.prefs);
        EXPECT_EQ(r.run.status, 1) << c.label;
        EXPECT_EQ(r.run.errors, c.errors) << c.label;
        EXPECT_NE(r.run.screen.find(" BOMBED in "), std::string::npos) << c.label;
    }
}

// The common slips, each in a diagram written the way a user writes it:
// the error names the word at fault where it stands, and a note the fix.
TEST(Diagnostics, CommonSlipsAreNamedWithTheirFix) {
    const std::string diagram =
        "% The aluminosilicate triple point: T (C) and P (kbar).\n"
        "%   values per row, system size, x column, y column\n"
        "2 3 1 2\n"
        "i1 ky and sill invariant        % the triple point\n"
        "   504 3.75\n"
        "u1 ky and - sill i1 end         % kyanite = andalusite\n"
        "   504 3.75\n"
        "   200 0.1\n"
        "u2 and sill - ky i1 end         % andalusite = sillimanite\n"
        "   504 3.75   800 -0.7\n"
        "u3 ky sill - and i1 end thick   % kyanite = sillimanite\n"
        "   504 3.75   800 9.67\n"
        "*\n"
        "0.9 u1 u2\n"
        "*\n"
        "window 200 800 0 10\n"
        "bigticks 100 200 2 0\n"
        "smallticks 50 1\n"
        "*\n";
    std::string longtitle = "title ";
    longtitle.append(240, 'a');
    longtitle += " (\u00b0C)\n";
    struct Slip {
        const char* label;
        std::vector<std::pair<std::string, std::string>> edits;  // the slip made in the diagram
        std::vector<std::string> options;
        int status;
        std::string errors;  // standard error
    };
    const Slip slips[] = {
        {"decimal comma", {{"   504 3.75\nu1", "   504,5 3.75\nu1"}}, {}, 1,
         "gl-mine.txt:5:4: error: a number was expected here (a data row of i1), not '504,5'\n   504,5 3.75\n"
         "   ^~~~~\nnote: decimals are written with a point: '504.5', not '504,5'\n"},
        {"rows stop at a word that is not a number", {{"200 0.1", "200,0 0.1"}}, {}, 1,
         "gl-mine.txt:8:4: error: '200,0' is not a number, so the data rows of u1 end before it\n   200,0 0.1\n"
         "   ^~~~~\nnote: decimals are written with a point: '200.0', not '200,0'\n"},
        {"... after one row of a line from begin to end",
         {{"sill i1 end ", "sill begin end"}, {"200 0.1", "200,0 0.1"}}, {}, 1,
         "gl-mine.txt:8:4: error: '200,0' is not a number, so the data rows of u1 end before it, after one row\n"
         "   200,0 0.1\n   ^~~~~\nnote: decimals are written with a point: '200.0', not '200,0'\n"
         "note: a line from 'begin' to 'end' needs at least two data rows\n"},
        {"a line with one data row", {{"   504 3.75   800 9.67", "   800 9.67"}}, {}, 1,
         "gl-mine.txt:11:1: error: u3 has one data row, so it cannot run from i1 to 'end'\n"
         "u3 ky sill - and i1 end thick   % kyanite = sillimanite\n^~\n"
         "note: give u3 at least two data rows, or two points as its limits\n"},
        {"a numpy header", {{"% The alum", "# The alum"}}, {}, 1,
         "gl-mine.txt:1:1: error: a whole number was expected here (the header's first number, the count of values "
         "on each data row), not '#'\n# The aluminosilicate triple point: T (C) and P (kbar).\n^\n"
         "note: a comment begins with '%': '#' and '//' do not begin comments\n"
         "note: a data file begins with its header, NVARS SIZE XCOL YCOL, as in '2 2 1 2'\n"},
        {"a // comment", {{"   504 3.75\nu1", "   504 3.75     // the triple point\nu1"}}, {}, 1,
         "gl-mine.txt:5:17: error: '//' does not begin a comment: it is read as the name of the next point or line\n"
         "   504 3.75     // the triple point\n                ^~\n"
         "note: a comment begins with '%': '#' and '//' do not begin comments\n"},
        {"no * before the areas", {{"*\n0.9", "0.9"}}, {}, 1,
         "gl-mine.txt:13:5: error: a number was expected here (a data row of u3), not 'u1'\n0.9 u1 u2\n    ^~\n"
         "note: if the areas begin here, a line holding '*' must come before them, to end the points and lines\n"},
        {"no * after the areas", {{"0.9 u1 u2\n*\n", "0.9 u1 u2\n"}}, {}, 1,
         "gl-mine.txt:15:12: error: a name was expected here (the lines of an area), not the number '800'\n"
         "window 200 800 0 10\n           ^~~\nnote: an area is a grayscale followed by the names of its lines\n"
         "note: 'window' on line 15 was read as a line of an area: a line holding '*' ends the areas, and the script "
         "comes after it\n"},
        {"dahsed", {{"end thick ", "end thick dahsed"}}, {}, 1,
         "gl-mine.txt:11:31: error: a number was expected here (a data row of u3), not 'dahsed'\n"
         "u3 ky sill - and i1 end thick dahsed  % kyanite = sillimanite\n                              ^~~~~~\n"
         "note: did you mean 'dashed'?\n"},
        {"begn", {{"ky i1 end", "ky begn i1"}}, {}, 1,
         "gl-mine.txt:9:1: error: the limit 'begn' of u2 is not a point, nor 'begin' or 'end'\n"
         "u2 and sill - ky begn i1         % andalusite = sillimanite\n^~\nnote: did you mean 'begin'?\n"},
        {"conect", {{"ky i1 end ", "ky i1 end conect"}}, {}, 1,
         "gl-mine.txt:9:25: error: a number was expected here (a data row of u2), not 'conect'\n"
         "u2 and sill - ky i1 end conect        % andalusite = sillimanite\n                        ^~~~~~\n"
         "note: did you mean 'connect'?\n"},
        {"invarient", {{"sill invariant", "sill invarient"}}, {"--check"}, 0,
         "gl-mine.txt:4: warning: i1: its phase list is dropped: a list ends with \"-\", \"invariant\" or "
         "\"crossover\" (is 'invarient' meant as \"invariant\"?)\n"},
        {"smalticks", {{"smallticks", "smalticks"}}, {}, 0,
         "gl-mine.txt: note: 1 warning; 'gridel --check gl-mine.txt' lists them\n"},
        {"smalticks, checked", {{"smallticks", "smalticks"}}, {"--check"}, 0,
         "gl-mine.txt:18: warning: unknown script keyword \"smalticks\" is ignored (did you mean \"smallticks\"?)\n"},
        {"a decimal comma in the script", {{"0 10\nbig", "0 10,5\nbig"}}, {}, 1,
         "gl-mine.txt:16:18: error: window needs four numbers, xlow xhigh ylow yhigh: '10,5' is not one\n"
         "window 200 800 0 10,5\n                 ^~~~\nnote: decimals are written with a point: '10.5', not '10,5'\n"},
        {"windwo, in a run", {{"window 200", "windwo 200"}}, {}, 1, 
         "gl-mine.txt:17:14: error: no window line comes before this bigticks line\nbigticks 100 200 2 0\n"
         "             ^~~\nnote: 'windwo' on line 16: did you mean 'window'?\n"
         "note: the window line must come before the bigticks line\n"},
        {"a '#' comment among the items", {{"   200 0.1\n", "   200 0.1\n# kyanite field\n"}}, {}, 1, 
         "gl-mine.txt:9:3: error: '#' does not begin a comment: it drops the item named by the word after it, and "
         "'kyanite' names no point or line\n# kyanite field\n  ^~~~~~~\n"
         "note: a comment begins with '%': '#' and '//' do not begin comments\n"},
        {"a '#' comment after an area", {{"0.9 u1 u2\n", "0.9 u1 u2   # the andalusite field\n"}}, {}, 1, 
         "gl-mine.txt:14:1: error: area 1 names the line '#', which is not defined\n"
         "0.9 u1 u2   # the andalusite field\n^\n"
         "note: a comment begins with '%': '#' and '//' do not begin comments\n"
         "note: an area's lines are the names of lines read before the first '*'\n"},
        {"a '#' comment in the script", {{"smallticks 50 1\n", "# ticks\nsmallticks 50 1\n"}}, {"--check"}, 0, 
         "gl-mine.txt:18: warning: unknown script keyword \"#\" is ignored (a comment begins with '%': '#' and '//' "
         "do not begin comments)\n"},
        {"a thousands separator", {{"200 0.1", "1,234.5 0.1"}}, {}, 1, 
         "gl-mine.txt:8:4: error: '1,234.5' is not a number, so the data rows of u1 end before it\n   1,234.5 0.1\n"
         "   ^~~~~~~\nnote: a number is written without thousands separators: '1234.5', not '1,234.5'\n"},
        {"every failing script line, checked", {{"0 10\nbig", "0 10,5\nbig"}, {"smallticks 50 1", "smallticks 50 0"}},
         {"--check"}, 1, 
         "gl-mine.txt:16:18: error: window needs four numbers, xlow xhigh ylow yhigh: '10,5' is not one\n"
         "window 200 800 0 10,5\n                 ^~~~\nnote: decimals are written with a point: '10.5', not '10,5'\n"
         "gl-mine.txt:18:15: error: the gap between small ticks must be greater than 0\nsmallticks 50 0\n"
         "              ^\n"},
        {"keyword lines with extra or bad words, checked",
         {{"smallticks 50 1\n",
           "smallticks 50 1 1\ndoareas off\nsize 50 abc\nsize 50 nan\nfield 99999 x\nfield x y\nlegend below up\n"}},
         {"--check"}, 0, 
         "gl-mine.txt:18: warning: smallticks takes XGAP YGAP (when on): '1' is not read\n"
         "gl-mine.txt:19: warning: doareas takes no arguments: 'off' is not read\n"
         "gl-mine.txt:20: warning: size needs a width and an optional height in millimetres, each from 1 to 2000: the "
         "line is ignored\n"
         "gl-mine.txt:21: warning: size needs a width and an optional height in millimetres, each from 1 to 2000: the "
         "line is ignored\n"
         "gl-mine.txt:22: warning: there is no area 99999 (the data file has 1): the line is ignored\n"
         "gl-mine.txt:23: warning: field needs an area's number and its name: the line is ignored\n"
         "gl-mine.txt:24: warning: legend takes \"right\" or \"below\", then any of \"lines\", \"points\" and \"fields\", each once: the line is ignored\n"},
        {"markup slips in the texts, checked",
         {{"smallticks 50 1\n",
           "smallticks 50 1\nxlabel $T (\xC2\xB0" "C)\ntitle $\\alfa$ and $\\beta$\nformulas\nformulas on\n"}},
         {"--check"}, 0,
         "gl-mine.txt:19: warning: the axis title '$T (\xC2\xB0" "C)' has a '$' without its partner at character 1: it "
         "is drawn as a dollar sign (write \\$ for a dollar, $...$ round math)\n"
         "gl-mine.txt:20: warning: the title '$\\alfa$ and $\\beta$' names '\\alfa' at character 2, which the markup "
         "does not know: it is drawn as written\n"
         "gl-mine.txt:22: warning: formulas takes no words: the line is ignored\n"},
        // A title is cut between characters to what every drawing shows.
        {"a long title, checked", {{"smallticks 50 1\n", longtitle}},
         {"--check"}, 0, 
         "gl-mine.txt:18: warning: the title is cut to its first 242 of 246 bytes: it is drawn in at most 243 bytes "
         "once written for PostScript\n"},
        {"windwo, checked: named where it fails, and the window still missing",
         {{"window 200", "windwo 200"}}, {"--check"}, 1, 
         "gl-mine.txt:16: warning: unknown script keyword \"windwo\" is ignored (did you mean \"window\"?)\n"
         "gl-mine.txt:17:14: error: no window line comes before this bigticks line\nbigticks 100 200 2 0\n"
         "             ^~~\nnote: 'windwo' on line 16: did you mean 'window'?\n"
         "note: the window line must come before the bigticks line\n"
         "gl-mine.txt: error: the script has no window line (xlow xhigh ylow yhigh)\n"
         "note: 'windwo' on line 16: did you mean 'window'?\n"},
        // Bytes that would command the terminal are shown escaped.
        {"control bytes", {{"800 9.67", "800 \x1b]0;owned\a9.67"}}, {}, 1,
         "gl-mine.txt:12:19: error: a number was expected here (a data row of u3), not '\\x1b]0;owned\\x079.67'\n"
         "   504 3.75   800 \\x1b]0;owned\\x079.67\n                  ^~~~~~~~~~~~~~~~~~~~\n"},
    };
    EXPECT_EQ(e2e::withoutareanotes(rundata(diagram).run.errors), "");  // the diagram itself is clean
    for (const Slip& slip : slips) {
        std::string data = diagram;
        for (const auto& [from, to] : slip.edits) {
            size_t at = data.find(from);
            ASSERT_NE(at, std::string::npos) << slip.label;
            data.replace(at, from.size(), to);
        }
        Ran r = rundata(data, slip.options);
        EXPECT_EQ(r.run.status, slip.status) << slip.label;
        EXPECT_EQ(e2e::withoutareanotes(r.run.errors), slip.errors) << slip.label;
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
        "gl-mine.txt:5: warning: u1: its end point i2 lies 0.35 window sizes away from the line of its data rows\n"
        "gl-mine.txt:8: warning: u3: it lies wholly outside the window and is not drawn\n"
        "gl-mine.txt:19: warning: area 2: its boundary does not come back to where it started: it is closed by a "
        "straight join\n";
    EXPECT_EQ(r.run.errors, expected);

    // A failure is listed as an error, with the status of a failed run.
    r = rundata("2 2 1 2\ni1 1 2\nu3 line i1 i9 0 0 1 1\n" + script, {"--check"});
    EXPECT_EQ(r.run.status, 1);
    EXPECT_EQ(r.run.screen, "");
    EXPECT_EQ(r.run.errors,
              "gl-mine.txt:3:1: error: the limit 'i9' of u3 is not a point, nor 'begin' or 'end'\n"
              "u3 line i1 i9 0 0 1 1\n^~\nnote: a limit is a point's name, 'begin' (the first data row) or 'end' "
              "(the last)\n");
    EXPECT_EQ(r.files, (std::vector<std::string>{"gl-mine.txt"}));

    // After a failure the check goes on with what it can still read: the
    // data file after the preferences, the script after the data section.
    r = rundata("2 2 1 2\ni1 1 2\nu1 line begin end 0 0 1 1 2,5 3\n*\n*\nwindow 0 4 0 4\nbigticks 1 0 1 0\n"
                "numbering 20\n*\n",
                {"--check"}, overlongprefs());
    EXPECT_EQ(r.run.status, 1);
    EXPECT_EQ(r.run.errors,
              "gl-prefs.txt:2: error: this line is longer than 1048576 bytes\nnote: is it a text file, with its lines "
              "ended?\n"
              "gl-mine.txt:3:27: error: '2,5' is not a number, so the data rows of u1 end before it\n"
              "u1 line begin end 0 0 1 1 2,5 3\n                          ^~~\n"
              "note: decimals are written with a point: '2.5', not '2,5'\n"
              "gl-mine.txt:8: warning: numbering size 20 is taken as 14\n");

    // A limit point on its line between sparse rows is not far from it; two
    // lines of an area that share no point are named.
    r = rundata("2 2 1 2\ni1 crossover u1 u2\nu1 line begin end 0 0 4 4\nu2 line begin end 0 4 4 0\n"
                "u3 line i1 end 0 0 4 4\ni2 1 3\ni3 3 3\nu4 line i2 i3 connect\n*\n0.5 u4 u3\n*\n"
                "window 0 4 0 4\nbigticks 1 0 1 0\n*\n",
                {"--check"});
    EXPECT_EQ(r.run.errors,
              "gl-mine.txt:10: warning: area 1: its lines u4 and u3 share no point: the shape filled is likely not "
              "the field meant\n");
}

}  // namespace
