// hostile_test.cpp - damaged and hostile data files through the real binary:
// each run ends by itself with a normal end or one failure report, writes
// nothing to standard error, and leaves a drawing Ghostscript accepts.
// (The limits of the tables, each plus one, are covered by read_test.cpp.)
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "e2e/harness.h"

namespace {

struct Outcome {
    int status = -1;     // exit status, -2 after a signal or the time limit
    std::string screen;  // standard output
    std::string errors;  // standard error
    std::string log;     // gl-log.txt
    std::string eps;     // gl-test.eps, empty when none was written
    std::string gs;      // what Ghostscript said of the drawing after a normal run
};

Outcome rundata(const std::string& data, const std::string& prefs = "datafile test\n") {
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-prefs.txt", prefs);
    testsupport::writefile(dir + "/gl-test.txt", data);
    e2e::RunResult r = e2e::rungridel(dir, "", e2e::defaultclock, 30);
    Outcome out;
    out.status = r.signalled || r.timedout ? -2 : r.status;
    out.screen = r.screen;
    out.errors = r.errors;
    out.log = testsupport::readfile(dir + "/gl-log.txt");
    if (e2e::fileexists(dir + "/gl-test.eps")) {
        out.eps = testsupport::readfile(dir + "/gl-test.eps");
        if (out.status == 0) out.gs = testsupport::ghostscript(dir + "/gl-test.eps");
    }
    e2e::removetree(dir);
    return out;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The run ended cleanly: status 0 or 1, nothing on standard error but the
// line naming where a failure was found, and a drawing of a normal run that
// Ghostscript accepts.
void expectclean(const Outcome& r, const std::string& label) {
    EXPECT_TRUE(r.status == 0 || r.status == 1) << label << ": status " << r.status;
    EXPECT_TRUE(e2e::cleanerrors(r.errors, r.status)) << label << ": " << r.errors;
    EXPECT_EQ(r.gs, "") << label;
}

void expectnormal(const Outcome& r, const std::string& label) {
    expectclean(r, label);
    EXPECT_EQ(r.status, 0) << label << "\n" << r.screen.substr(r.screen.size() > 600 ? r.screen.size() - 600 : 0);
    EXPECT_FALSE(r.eps.empty()) << label;
}

void expectbombed(const Outcome& r, const std::string& where, const std::string& what, const std::string& label) {
    expectclean(r, label);
    EXPECT_EQ(r.status, 1) << label;
    EXPECT_TRUE(contains(r.log, "\n\n BOMBED in " + where + " : " + what + "\n\n")) << label << "\nlog:\n" << r.log;
}

const std::string script = "window 0 4 0 4\nbigticks 1 0 1 0\nnumbering yes\ndocircles\nshowlineinfo no\n*\n";

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

struct Bombs {
    const char* label;
    std::string data;
    std::string where;
    std::string what;
};

TEST(Hostile, FilesCutOffAnywhereEndWithOneReport) {
    const std::string head = "2 2 1 2\ni1 1 2\n";
    const Bombs cases[] = {
        {"in the middle of a name", head + "u1 line begin en", "reading",
         "unexpected end of input: reading coordinates for u1"},
        {"in the middle of a number", head + "u1 line begin end\n 1 1 2 2.", "reading",
         "expecting a single (1); got: 2. - reading coordinates for u1"},
        {"in a phase list", head + "u1 ky si", "reading", "unexpected end of input: nonzero-mode phases for u1"},
        {"in an area", head + "u1 line begin end 1 1 2 2\n*\n0.5 u1", "reading",
         "unexpected end of input: grayscale for area"},
        {"in the middle of the script's keyword", head + "u1 line begin end 1 1 2 2\n*\n*\nwindow 0 4 0 4\nbigti",
         "readdata", "bigticks script needed (xtick gap, xstart, ytick gap, ystart)"},
        {"in the script's numbers", head + "u1 line begin end 1 1 2 2\n*\n*\nwindow 0 4 0 4\nbigticks 1 0 1",
         "readdata", "bigticks bad in script (xtick gap, xstart, ytick gap, ystart needed)"},
        {"in a crossover", head + "i2 crossover u1", "reading", "unexpected end of input: reading crossover linesi2"},
    };
    for (const Bombs& c : cases) expectbombed(rundata(c.data), c.where, c.what, c.label);
}

TEST(Hostile, BinaryGarbageEndsWithAReport) {
    // Every byte value, then bytes from a fixed pseudo-random sequence.
    std::string garbage;
    for (int round = 0; round < 4; ++round)
        for (int b = 0; b < 256; ++b) garbage += static_cast<char>(b);
    uint32_t s = 12345;
    for (int i = 0; i < 20000; ++i) {
        s = s * 1103515245u + 12345u;
        garbage += static_cast<char>(s >> 24);
    }
    for (const std::string& data : {garbage, garbage.substr(1000), "4 3 1 2\n" + garbage}) {
        Outcome r = rundata(data);
        expectclean(r, "garbage");
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(contains(r.screen, " BOMBED in "));
    }
    // Garbage as the preferences file: the suffix is whatever it names.
    Outcome r = rundata("4 3 1 2\n", garbage);
    expectclean(r, "garbage preferences");
}

TEST(Hostile, LongLinesAndLongWordsAreReadWhole) {
    // A name is kept (and quoted) as its first 20 characters; a number is
    // read from all its digits: 100,000 leading zeros change nothing, and
    // 100,000 digits overflow every number format.
    const std::string longname(100000, 'a');
    expectbombed(rundata("2 2 1 2\n" + longname + "\n"), "read data",
                 "point/line name must start with i/u but this name is " + std::string(20, 'a'), "long name");
    Outcome r = rundata("2 2 1 2\ni1 " + std::string(100000, '0') + "1.5 2\n*\n*\n" + script);
    expectnormal(r, "leading zeros");
    EXPECT_TRUE(contains(r.eps, "\n222.50 380.00 2.00 0 360 arc\n")) << r.eps;  // the circle at (1.5, 2)
    expectbombed(rundata("2 2 1 2\ni1 " + std::string(100000, '1') + "\n 2\n*\n*\n" + script), "reading",
                 "expecting a single (2); got: " + std::string(20, '1') + " - reading coordinates for i1",
                 "long number");
    // Every word of a line is kept: an info line of 221 words holds the
    // 127 that fill its 255 characters, and the text is cut again to fit
    // its line in the drawing.
    r = rundata("2 2 1 2\nu1 line begin end 1 1 2 2\n*\n*\nwindow 0 4 0 4\nbigticks 1 0 1 0\ninfo" +
                repeat(" w", 221) + "\n*\n");
    expectnormal(r, "221 words");
    EXPECT_TRUE(contains(r.eps, "\n(" + repeat(" w", 121) + " ) show\n")) << r.eps;
    // A line of 1,048,576 characters is read; one more ends the run.
    const std::string row = "u1 line begin end 1 1 2 2";
    r = rundata("2 2 1 2\n" + row + std::string(1048576 - row.size(), ' ') + "\n*\n*\n" + script);
    expectnormal(r, "longest line");
    expectbombed(rundata("2 2 1 2\n" + row + std::string(1048577 - row.size(), ' ') + "\n*\n*\n" + script),
                 "read in rstrings", "line longer than 1048576 characters", "line too long");
}

TEST(Hostile, SpecialBytesInsideWords) {
    // 0xCA separates words like a blank; 0xA4 (the overflow mark), 0xA5 (the
    // warning mark) and NUL are ordinary characters of names, labels and
    // info lines.
    const std::string data =
        "2\xCA" "2 1 2\n"
        "i\xA4" "1 1 2\n"
        "i\xA5" "2 3 3\n"
        "u\xA4\xA5" "x line begin end\n 1 1 2 2\n"
        "u" + std::string(1, '\0') + "2 line i\xA4" "1 i\xA5" "2 connect\n"
        "u3\xA4 line begin end 3 1 3 2\n"
        "*\n0.5 u\xA4\xA5x u" + std::string(1, '\0') + "2\n*\n" +
        "window\xCA" "0 4 0 4\nbigticks 1 0 1 0\nnumbering yes\ndocircles\n"
        "info a\xA4" "b \xA5" "c" + std::string(1, '\0') + "d\xCA" "e\n*\n";
    Outcome r = rundata(data);
    expectnormal(r, "special bytes");
    EXPECT_TRUE(contains(r.log, "  i\xA4" "1) point\n  i\xA5" "2) point\n")) << r.log;
    // In PostScript strings the overflow mark is written as an escape, so
    // that it cannot close the line buffer before the string is closed.
    EXPECT_TRUE(contains(r.eps, "\n( a\\244b \xA5" "c" + std::string(1, '\0') + "d e) show\n"));
    EXPECT_TRUE(contains(r.eps, " (\\2441) centreshow\n"));
    EXPECT_TRUE(contains(r.eps, " (3\\244) centreshow\n"));
    // A NUL inside the suffix of the preferences names no file that exists.
    r = rundata(data, std::string("datafile te\0st\n", 15));
    expectbombed(r, "promptdatafile", "datafile needed", "NUL in the suffix");
    EXPECT_TRUE(contains(r.log, std::string("cannot locate file \"gl-te\0st.txt\"", 33)));
}

TEST(Hostile, TextsCannotInjectPostScript) {
    const std::string data =
        "2 2 1 2\n"
        "u1) line begin end 1 1 2 2\n"
        "u\\ line begin end 1 2 2 3\n"
        "u(( line begin end 1 3 2 1\n"
        "i)\\( 1.5 1.5\n"
        "*\n*\n"
        "window 0 4 0 4\nbigticks 1 0 1 0\nnumbering yes\ndocircles\n"
        "info u1) show (x\n"
        "info \\ \\\\ ) )) ((( \\(\n"
        "info x%!PS showpage\n"
        "*\n";
    Outcome r = rundata(data);
    expectnormal(r, "injection");
    EXPECT_TRUE(contains(r.eps, "\n( u1\\) show \\(x) show\n"));
    EXPECT_TRUE(contains(r.eps, "\n( \\\\ \\\\\\\\ \\) \\)\\) \\(\\(\\( \\\\\\() show\n"));
    EXPECT_TRUE(contains(r.eps, "\n( x%!PS showpage) show\n"));
    EXPECT_TRUE(contains(r.eps, " (1\\)) centreshow\n"));
    EXPECT_TRUE(contains(r.eps, " (\\\\) centreshow\n"));
    EXPECT_TRUE(contains(r.eps, " (\\(\\() centreshow\n"));
    EXPECT_TRUE(contains(r.eps, " (\\)\\\\\\() centreshow\n"));
}

TEST(Hostile, ExtremeNumbers) {
    const std::string head = "2 2 1 2\n";
    const std::string tail = "\n*\n*\n" + script;
    const Bombs bombs[] = {
        {"1e5000", head + "i1 1e5000 2" + tail, "reading",
         "expecting a single (2); got: 1e5000 - reading coordinates for i1"},
        {"1/0", head + "i1 1/0 2" + tail, "reading", "expecting a single (3); got: 1/0 - reading coordinates for i1"},
        {"window of zero width", head + "i1 1 2\n*\n*\nwindow 1 1 0 1\n", "readdata",
         "xhigh must be greater than xlow"},
        {"window wider than the 80-bit range", head + "i1 1 2\n*\n*\nwindow -1e4932 1e4932 0 1\nbigticks 1e4931 0 1 0\n",
         "read script", "too many ticks"},
        {"99999999999999999999999 as a count", "99999999999999999999999 2 1 2\n", "getinteger",
         "expecting an integer (2); got: 99999999999999999999 - no of variables in each point"},
    };
    for (const Bombs& b : bombs) expectbombed(rundata(b.data), b.where, b.what, b.label);

    // 1e-5000 reads as 0, -0 as a negative zero written "0", a number of
    // 23 digits whole, and an exponent may carry a plus sign.
    Outcome r = rundata(head + "i1 1e-5000 -0\nu1 line begin end -0 1 99999999999999999999999 1e+0\n*\n*\n" + script);
    expectnormal(r, "small, negative zero and long numbers");
    EXPECT_TRUE(contains(r.eps, "\n50.00 265.00 moveto  %  {0,1.000}  u1\n510.00 265.00 lineto  %  {4.000,1.000}  \n"))
        << r.eps;
}

TEST(Hostile, ColourValuesFarOutOfRange) {
    // rgb values are not checked; each component keeps a blank before it
    // however wide it is (they ran together as "1.00128.50", found by the
    // fuzzer).  33333333331 is held as the largest 16-bit value.
    Outcome r = rundata("2 2 1 2\nu1 line begin end rgb 255 33333333331 -3000 1 1 2 2\n*\n*\n" + script);
    expectnormal(r, "rgb out of range");
    EXPECT_TRUE(contains(r.eps, "\n  1.00 128.50 -11.76 setrgbcolor\n")) << r.eps;
}

TEST(Hostile, CoordinatesFarOutsideTheWindow) {
    // Points and lines far outside are cut away or not drawn.
    Outcome r = rundata("2 2 1 2\ni1 1e4000 1\ni2 -1e60 -2e60\n"
                    "u1 line begin end 1 1 1e4000 3\n"
                    "u2 line i2 end 2 2 3 2\n"
                    "u3 line begin end -1e4000 -1e4000 -1e3000 -1e4000\n*\n0.5 u1 u2\n*\n" + script);
    expectnormal(r, "far outside");

    // A line that ends exactly on an edge and comes back in is not seen to
    // enter again, so the point where it leaves once more stays in the line:
    // 1e30 lies 4.6e32 points above the page, more than can be written, and
    // is drawn at 1e20 points (it was "?", which PostScript rejects).
    r = rundata("2 2 1 2\nu1 line begin end\n 0.5 0.5  0.5 1  0.5 0.5  0.5 1e30\n*\n*\n"
                "window 0 1 0 1\nbigticks 1 0 1 0\n*\n");
    expectnormal(r, "point kept far outside");
    EXPECT_TRUE(contains(r.eps, "\n280.00 1.0e+20 lineto  %  {0.500,?}  \n")) << r.eps;

    // A window wider than 1/460 of the 80-bit range still maps onto the plot
    // square (the product 460 (x - xlow) overflowed and gave "?").
    r = rundata("2 2 1 2\ni1 1 0.5\n*\n*\nwindow 0 1e4930 0 1\nbigticks 1e4929 0 1 0\n*\n");
    expectnormal(r, "huge window");
    EXPECT_TRUE(contains(r.eps, "\n510.00 610.00 lineto  %  {?,1.000}  \n")) << r.eps;
    EXPECT_TRUE(contains(r.eps, "\n96.00 150.00 moveto  %  {?,0}  \n"));
    r = rundata("2 2 1 2\ni1 1 0.5\nu1 line begin end -1e4000 0.25 1e3999 0.75\n*\n*\n"
                "window -1e4000 1e4000 0 1\nbigticks 1e3999 -1e4000 1 0\nnumbering yes\n*\n");
    expectnormal(r, "window from -1e4000 to 1e4000");
    EXPECT_TRUE(contains(r.eps, "\n50.00 265.00 moveto  %  {?,0.250}  u1\n303.00 495.00 lineto  %  {?,0.750}  \n"))
        << r.eps;

    // A segment so steep that its slope overflows crosses the other line at
    // a y that is not a number: that crossing is not taken (it was drawn
    // as "?").
    expectbombed(rundata("2 2 1 2\ni1 crossover u1 u2\n"
                         "u1 line begin end 0 0 1e-4900 1e4900\n"
                         "u2 line begin end -1 0.5 1 0.5\n"
                         "u3 line begin i1 -0.5 0.7 0.5 0.8\n*\n*\n"
                         "window -2 2 -2 2\nbigticks 1 -2 1 -2\n*\n"),
                 "crossover", "lines don't cross for i1", "crossing of an infinite slope");
}

TEST(Hostile, LargestLineAfterCuttingStaysWithinItsCapacity) {
    // 200 rows that leave the window by the bottom and come back by the left
    // a hundred times: each return adds the exit point, the corner and the
    // entry point, 398 points in all.
    std::string rows;
    for (int k = 0; k < 100; ++k) rows += k % 2 == 0 ? " 0.9 0.5 -0.5 -1\n" : " 0.1 0.9 -0.5 -1\n";
    Outcome r = rundata("2 2 1 2\nu1 line begin end\n" + rows + "*\n1 u1\n*\nwindow 0 1 0 1\nbigticks 1 0 1 0\n"
                    "numbering yes\n*\n");
    expectnormal(r, "zigzag");
    EXPECT_TRUE(contains(r.log, "  start = line end; end = left edge\n    0.9000    0.5000\n    0.4333         0\n"
                                "         0         0\n         0    0.5833\n    0.1000    0.9000\n"));
    // The corner (0, 0): 99 times in the line, 99 in its area, once in the window box.
    size_t corners = 0;
    for (size_t at = r.eps.find("lineto  %  {0,0}"); at != std::string::npos; at = r.eps.find("lineto  %  {0,0}", at + 1))
        ++corners;
    EXPECT_EQ(corners, 199u);
}

TEST(Hostile, LargestDrawingTheLimitsAllow) {
    // 500 points, 1500 lines (one of 200 rows), 300 areas of 15 lines, 10
    // info lines, with areas, numbering and circles: drawn whole.
    std::string data = "2 3 1 2\n";
    auto add = [&data](std::initializer_list<std::string> parts) {
        for (const std::string& p : parts) data += p;
    };
    auto num = [](int n) { return std::to_string(n); };
    for (int i = 1; i <= 500; ++i) add({"i", num(i), " ", num(1 + i % 25), " ", num(1 + i / 25), "\n"});
    add({"u1"});
    for (int p = 1; p <= 20; ++p) add({" p", num(p)});
    add({" univariant begin end\n"});
    for (int k = 0; k < 200; ++k) add({" ", num(k % 26), ".5 ", num(k % 7), ".5\n"});
    for (int i = 2; i <= 1500; ++i)
        add({"u", num(i), " line i", num(1 + i % 500), " i", num(1 + (i * 7 + 1) % 500), " connect\n"});
    add({"*\n"});
    for (int a = 1; a <= 300; ++a) {
        add({"0.", num(a % 10)});
        for (int j = 0; j < 15; ++j) add({" u", num(1 + (a * 15 + j) % 1500)});
        add({"\n"});
    }
    data += "*\nwindow 0 27 0 22\nbigticks 1 0 1 0\nsmallticks 0.5 0.5\nnumbering yes 6\ndocircles\n"
            "showlineinfo yes\n" + repeat("info a line of the largest diagram\n", 10) + "*\n";
    Outcome r = rundata(data);
    expectnormal(r, "largest drawing");
    EXPECT_TRUE(contains(r.eps, " (500) centreshow\n"));
    EXPECT_TRUE(contains(r.eps, " (1500) centreshow\n"));
    EXPECT_TRUE(contains(r.eps, "setrgbcolor  % for area 300\n"));
}

}  // namespace
