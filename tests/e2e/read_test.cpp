// read_test.cpp - reading data files through the real binary: the listing
// in the log, the script echoes, and every failure report of the readers.
#include <gtest/gtest.h>

#include <string>

#include "e2e/harness.h"

namespace {

struct Outcome {
    int status = -1;
    std::string screen;
    std::string log;
};

// Run gridel on a data file gl-test.txt named by the preferences.
Outcome runwith(const std::string& data, const std::string& prefs = "datafile test\n",
                const std::string& typed = "") {
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-prefs.txt", prefs);
    testsupport::writefile(dir + "/gl-test.txt", data);
    e2e::RunResult r = e2e::rungridel(dir, typed);
    Outcome o;
    o.status = r.signalled || r.timedout ? -2 : r.status;
    o.screen = r.screen;
    o.log = testsupport::readfile(dir + "/gl-log.txt");
    e2e::removetree(dir);
    return o;
}

const std::string logstart =
    "[display/print with fixed width font (eg Monaco)]\n\n\nrunning at 9.05 on Sun 6 Dec,2026\n";

const std::string script = "window 400 700 2 6\nbigticks 50 400 1 2\nshowlineinfo no\n*\n";

// The worked example of a small diagram.
const std::string example =
    "% sample diagram data\n"
    "4 3 1 2\n"
    "i1 ky sill and - q H2O\n"
    "   550.0 4.0 0.1 0.2\n"
    "i2 crossover u1 u2\n"
    "u1 ky sill - and i1 begin\n"
    "   550 4.0 1 1\n"
    "   600 5.0 1 1\n"
    "u2 ky and univariant i1 end rgb 255 0 0 dashed\n"
    "   560 5.0 1 1   590 4.0 1 1\n"
    "u3 sill and - ky i1 i2 connect\n"
    "*\n"
    "0.3 u1 u2\n"
    "*\n"
    "window 400 700 2 6\n"
    "bigticks 50 400 1 2\n"
    "*\n";

const std::string examplelisting =
    "  i1) ky sill and (q H2O)\n"
    "  i2)  - crossover\n"
    "  u1) ky sill (and) - 2 data points\n"
    "  u2) ky and univariant - 2 data points\n"
    "  u3) sill and (ky) - connect\n"
    "\n"
    "areas\n"
    "  1)  u1 u2 \n"
    "window: xlow = 400.00, xhigh = 700.00, ylow = 2.00, yhigh = 6.00\n"
    "big ticks and axis labels: start x = 400.00, x gap = 50.00, start y = 2.00, y gap = 1.00\n";

bool startswith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

TEST(Read, WorkedExampleIsListedItemByItem) {
    Outcome o = runwith(example);
    EXPECT_EQ(o.status, 0);
    EXPECT_PRED2(startswith, o.log, logstart + examplelisting);
    // The screen shows the two echoes only, the big ticks cut at 78 characters.
    EXPECT_PRED2(startswith, o.screen,
                 "gridel 1.18 (portable version)\n\n"
                 "window: xlow = 400.00, xhigh = 700.00, ylow = 2.00, yhigh = 6.00\n"
                 "big ticks and axis labels: start x = 400.00, x gap = 50.00, start y = 2.00, y #\n");
}

TEST(Read, LineEndsOfAnySystemReadTheSame) {
    std::string crlf, cr;
    for (char c : example) {
        if (c == '\n') {
            crlf += "\r\n";
            cr += '\r';
        } else {
            crlf += c;
            cr += c;
        }
    }
    for (const std::string& data : {crlf, cr}) {
        Outcome o = runwith(data, "datafile test\r\n");
        EXPECT_EQ(o.status, 0);
        EXPECT_PRED2(startswith, o.log, logstart + examplelisting);
    }
}

TEST(Read, PageWidthAndWrapSettingsShowOnTheScreen) {
    const std::string ticks =
        "big ticks and axis labels: start x = 400.00, x gap = 50.00, start y = 2.00, y gap = 1.00\n";
    Outcome wide = runwith(example, "datafile test\nsetpagewidth 120\n");
    EXPECT_NE(wide.screen.find("\n" + ticks), std::string::npos);
    Outcome whole = runwith(example, "datafile test\ndontwrap no\n");
    EXPECT_NE(whole.screen.find("\n" + ticks), std::string::npos);
    Outcome narrow = runwith(example, "datafile test\nsetpagewidth 60\n");
    EXPECT_EQ(narrow.screen.find("\n" + ticks), std::string::npos);
}

TEST(Read, ADataFileRunWritesItsScreenLinesWhole) {
    // The classic run cuts the big ticks echo at 78 characters; the same
    // diagram named on the command line shows every screen line whole, even
    // with preferences that ask for the cut, and its log is the classic one.
    const std::string ticks =
        "big ticks and axis labels: start x = 400.00, x gap = 50.00, start y = 2.00, y gap = 1.00\n";
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-prefs.txt", "datafile test\ndontwrap yes\nsetpagewidth 80\n");
    testsupport::writefile(dir + "/gl-test.txt", example);
    e2e::RunResult classic = e2e::rungridel(dir, "");
    e2e::Launch l;
    l.dir = dir;
    l.args = {"gl-test.txt"};
    e2e::RunResult named = e2e::rungridelwith(l);
    EXPECT_EQ(classic.status, 0);
    EXPECT_EQ(named.status, 0);
    EXPECT_NE(classic.screen.find("start y = 2.00, y #\n"), std::string::npos) << classic.screen;
    EXPECT_NE(named.screen.find("\n" + ticks), std::string::npos) << named.screen;
    EXPECT_EQ(named.screen.find('#'), std::string::npos) << named.screen;
    EXPECT_EQ(testsupport::readfile(dir + "/gl-test.log"), testsupport::readfile(dir + "/gl-log.txt"));
    e2e::removetree(dir);
}

TEST(Read, SuffixTypedAtThePrompt) {
    Outcome o = runwith(example, "dontwrap yes\n", "test other\n");
    EXPECT_EQ(o.status, 0);
    EXPECT_PRED2(startswith, o.log, logstart + "suffix to name for datafile :  test other \n" + examplelisting);
    EXPECT_PRED2(startswith, o.screen, "gridel 1.18 (portable version)\n\nsuffix to name for datafile : window:");
}

TEST(Read, ListingsOfHeadersStylesAndHashLines) {
    const std::string data =
        "2 2 1 2\n"
        "i1 1 1  i2 invariant 2 2  i3 a b invariant 3 3\n"
        "i4 a b 4 4  i5 a - 5 5  i6 a - invariant 6 6  i7 a b point 7 7\n"
        "u1 i1 i2 1 1 2 2\n"
        "u2 il x - i1 i2 1 1 2 2\n"
        "#drop u3 a line i1 i2 connect\n"
        "u4 univariant i1 end red thick 1 1 2 2 3 3\n"
        "# u5 a b - i3 i4 connect\n"
        "u6 a - univariant begin i7 1 1\n"
        "*\n"
        "1 u1 u2 0.5 u4\n"
        "*\n" +
        script;
    Outcome o = runwith(data);
    EXPECT_EQ(o.status, 0);
    EXPECT_PRED2(startswith, o.log,
                 logstart +
                     "  i1) point\n"
                     "  i2) point\n"
                     "  i3) a b invariant\n"
                     "  i4) point\n"
                     "  i5) a (none none)\n"
                     "  i6) a (none none)\n"
                     "  i7) point\n"
                     "  u1) line - 2 data points\n"
                     "  u2) il x (none) - 2 data points\n"
                     "  u3) line - connect\n"
                     "  u4) line - 3 data points\n"
                     "  u5) a b (none) - connect\n"
                     "  u6) a (none) - 1 data points\n"
                     "\nareas\n"
                     "  1)  u1 u2 \n"
                     "  2)  u4 \n");
}

TEST(Read, InterpolatedPointsAndLines) {
    // Column 3 is the interpolation value; the target is 2.5 (b = 0).
    const std::string plain =
        "3 2 1 2 x 3 2.5\n"
        "i1 0 0 1  10 20 2  30 40 3\n"
        "u1 i1 begin 1 1 2.5  2 2 7  3 3 2.5\n"
        "*\n*\n" +
        script;
    Outcome o = runwith(plain);
    EXPECT_EQ(o.status, 0);
    EXPECT_PRED2(startswith, o.log, logstart + "  i1) point\n  u1) line - 2 data points\n");
    // With a slope b: runs of equal x or equal y are interpolated one by one.
    const std::string sloped =
        "3 2 1 2 x 3 1 1\n"
        "u1 begin end\n"
        "  0 0 0  0 1 4  0 2 0\n"   // an x-run crossing I = 1 + y twice: one point
        "  5 2 9  6 2 1\n"          // a y-run from the last row on: one more point
        "*\n*\n" +
        script;
    o = runwith(sloped);
    EXPECT_EQ(o.status, 0);
    EXPECT_PRED2(startswith, o.log, logstart + "  u1) line - 2 data points\n");
}

struct Failure {
    const char* label;
    std::string data;
    std::string where;
    std::string what;
};

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

std::string numbered(const std::string& before, int from, int to, const std::string& after) {
    std::string out;
    for (int i = from; i <= to; ++i) out += before + std::to_string(i) + after;
    return out;
}

void expectfailure(const Failure& f) {
    Outcome o = runwith(f.data);
    std::string block = "\n\n BOMBED in " + f.where + " : " + f.what + "\n\n";
    EXPECT_EQ(o.status, 1) << f.label;
    std::string screenend = block + "\nhit return to exit program\n\n";
    EXPECT_TRUE(o.screen.size() >= screenend.size() &&
                o.screen.compare(o.screen.size() - screenend.size(), screenend.size(), screenend) == 0)
        << f.label << "\nscreen:\n"
        << o.screen;
    EXPECT_TRUE(o.log.size() >= block.size() && o.log.compare(o.log.size() - block.size(), block.size(), block) == 0)
        << f.label << "\nlog:\n"
        << o.log;
}

TEST(ReadFailures, DataSection) {
    const std::string head = "4 3 1 2\n";
    const Failure cases[] = {
        {"empty file", "", "readdata", "not enough in file"},
        {"comments only", "% nothing\n\n  % more\n", "readdata", "not enough in file"},
        {"starts with *", "*\n4 3 1 2\n", "readdata", "not enough in file"},
        {"no areas end", head + "i1 1 2 3 4\n*\n", "reading", "unexpected end of input: grayscale for area"},
        {"row cut short", head + "i1 1 2", "reading", "unexpected end of input: reading coordinates for i1"},
        {"name in nvars", "abc 3 1 2\n", "getinteger",
         "expecting an integer (1); got: abc - no of variables in each point"},
        {"nvars too large", "21 3 1 2\n", "readdata", "too many variables in each line of input: max = 20"},
        {"xcol 0", "4 3 0 2\n", "readdata", "xcol not in range: must be 1 <=> 4"},
        {"ycol 5", "4 3 1 5\n", "readdata", "ycol not in range: must be 1 <=> 4"},
        {"icol 5", "4 3 1 2 x 5 0.5\n", "readdata", "icol not in range: must be 1 <=> 4"},
        {"icol = ycol", "4 3 1 2 x 2 0.5\n", "readdata", "icol same as xcol or ycol"},
        {"< in name", head + "i<1 1 2 3 4\n", "read data", "< in name: line/point name unassigned?"},
        {"not i or u", head + "q1 1 2 3 4\n", "read data",
         "point/line name must start with i/u but this name is q1"},
        {"501 points", head + numbered("i", 1, 501, " 1 2 3 4\n") + "*\n*\n" + script, "read data",
         "too many points: max = 500"},
        {"21 phases", head + "i1" + numbered(" p", 1, 21, "") + " - 1 2 3 4\n", "readdata",
         "too many phases in header in nonzero-mode phases for i1"},
        {"1501 lines", head + numbered("u", 1, 1501, " begin end 1 2 3 4 5 6 7 8\n") + "*\n*\n" + script,
         "readdata", "too many lines: max = 1500"},
        {"1501st line with #", head + numbered("u", 1, 1500, " begin end 1 2 3 4 5 6 7 8\n") +
                                   "# u9 begin end 1 2 3 4 5 6 7 8\n*\n*\n" + script,
         "readdata", "too many lines: max = 1500"},
        {"201 rows", head + "u1 begin end\n" + repeat("1 2 3 4\n", 201) + "*\n*\n" + script, "readdata",
         "too much data for line in reading coordinates for u1"},
        {"number after a line name", head + "u1 5 1 2 3 4\n", "reading",
         "expecting a name; got: 5 - nonzero-mode phases for u1"},
        {"one point begin end", head + "u1 begin end 1 2 3 4\n*\n*\n" + script, "readdata",
         "one point with begin end: reading coordinates for u1"},
        {"thick after dashed", head + "u1 i1 i2 dashed thick 1 2 3 4\n", "reading",
         "expecting a single (1); got: thick - reading coordinates for u1"},
        {"bad crossover line", head + "i2 crossover u1 5\n", "reading",
         "expecting a name; got: 5 - reading crossover linesi2"},
        {"real too large", head + "i1 1 2 1e+5000 4\n", "reading",
         "expecting a single (2); got: 1e+5000 - reading coordinates for i1"},
        {"301 areas", head + "i1 1 2 3 4\n*\n" + repeat("0.5 u1\n", 301) + "*\n" + script, "readdata",
         "too many areas: max = 300"},
        {"16 names in an area", head + "i1 1 2 3 4\n*\n0.5" + numbered(" u", 1, 16, "") + "\n*\n" + script,
         "readdata", "too many points in area: max = 15"},
    };
    for (const Failure& f : cases) expectfailure(f);
}

TEST(ReadFailures, Interpolation) {
    const std::string head = "3 2 1 2 x 3 2.5\n";
    const Failure cases[] = {
        {"201 rows for a point", head + "i1\n" + repeat("1 1 1\n", 201) + "*\n*\n" + script, "read data",
         "too much data for line: max = 200"},
        {"target never met", head + "i1 1 1 1  2 2 2  3 3 2.5\n*\n*\n" + script, "read data",
         "interpolation failed for i1"},
        {"no row on the target", head + "u1 begin i1 1 1 1  2 2 2\n*\n*\n" + script, "readdata",
         "default connect with begin/end: reading coordinates for u1"},
    };
    for (const Failure& f : cases) expectfailure(f);
}

TEST(ReadFailures, Script) {
    const std::string data = "4 3 1 2\ni1 1 2 3 4\n*\n*\n";
    const std::string w = "window 0 10 0 10\n";
    const std::string t = "bigticks 2 0 2 0\n";
    const Failure cases[] = {
        {"window short", data + "window 1 2 3\n", "readdata", "window bad in script (xlow, xhigh, ylow, yhigh needed)"},
        {"xhigh = xlow", data + "window 5 5 0 1\n", "readdata", "xhigh must be greater than xlow"},
        {"yhigh < ylow", data + "window 0 1 2 1\n", "readdata", "yhigh must be greater than ylow"},
        {"bigticks short", data + w + "bigticks 1 2 x 4\n", "readdata",
         "bigticks bad in script (xtick gap, xstart, ytick gap, ystart needed)"},
        {"zero gap", data + w + "bigticks 0 0 2 0\n", "read script", "zero gap"},
        {"negative gap", data + w + "bigticks 2 0 -2 0\n", "read script", "negative gap"},
        {"x start", data + w + "bigticks 2 -1 2 0\n", "readdata", "x start must be >=xlow and <=xhigh"},
        {"y start", data + w + "bigticks 2 10 2 10.5\n", "readdata", "y start must be >=ylow and <=yhigh"},
        {"ticks before window", data + "bigticks 2 1 2 1\n" + w, "readdata", "x start must be >=xlow and <=xhigh"},
        {"small ticks short", data + w + t + "smallticks 1\n", "readdata",
         "small ticks bad in script (xtick gap, ytick gap)"},
        {"zero small gap", data + w + t + "smallticks ask 0 1\n", "read script", "zero small gap"},
        {"negative small gap", data + w + t + "smallticks 1 -1\n", "read script", "negative small gap"},
        {"eleven info lines", data + w + t + repeat("info a line\n", 11), "script", "too much info!!"},
        {"no window", data + t, "readdata", "window script needed (xlow, xhigh, ylow, yhigh)"},
        {"no bigticks", data + w + "*\n" + t, "readdata",
         "bigticks script needed (xtick gap, xstart, ytick gap, ystart)"},
        {"too many big ticks", data + "window 0 1 0 1\nbigticks 0.00005 0 0.5 0\n", "read script", "too many ticks"},
        {"too many ticks with the final window", data + t + "window 0 100000 0 10\n", "read script",
         "too many ticks"},
        {"too many small ticks", data + w + t + "smallticks 1 0.0001\n", "read script", "too many ticks"},
    };
    for (const Failure& f : cases) expectfailure(f);
}

TEST(ReadFailures, EchoComesBeforeTheCheck) {
    Outcome o = runwith("4 3 1 2\ni1 1 2 3 4\n*\n*\nwindow 5 5 0 1\n");
    EXPECT_NE(o.log.find("window: xlow = 5.00, xhigh = 5.00, ylow = 0, yhigh = 1.00\n\n\n BOMBED in readdata"),
              std::string::npos)
        << o.log;
}

TEST(ReadLimits, TheLargestCountsAreAccepted) {
    std::string data = "20 3 1 2\n";
    std::string row = " 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20\n";
    data += numbered("i", 1, 500, row);
    data += "u1" + numbered(" p", 1, 20, "") + " univariant begin end\n" + repeat(row, 200);
    data += numbered("u", 2, 1500, " i1 i2 connect\n");
    data += "*\n" + repeat("0.5 u1 u2 u3 u4 u5 u6 u7 u8 u9 u10 u11 u12 u13 u14 u15\n", 300) + "*\n";
    data += "window 0 30 0 30\nbigticks 1 0 1 0\nshowlineinfo no\ndoareas no\ndocircles no\n" +
            repeat("info a line\n", 10) + "*\n";
    Outcome o = runwith(data);
    EXPECT_EQ(o.log.find("BOMBED"), std::string::npos) << o.log.substr(o.log.size() - 300);
    EXPECT_NE(o.log.find("  i500) point\n  u1) " + numbered("p", 1, 20, " ") + "univariant - 200 data points\n"),
              std::string::npos);
    EXPECT_NE(o.log.find("  u1500) line - connect\n\nareas\n"), std::string::npos);
    EXPECT_NE(o.log.find("  300) u1 u2 u3"), std::string::npos);
}

}  // namespace
