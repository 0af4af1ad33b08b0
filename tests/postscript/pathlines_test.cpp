// pathlines_test.cpp - the page transform and the path lines with their
// data coordinates.
#include <gtest/gtest.h>

#include "postscript/drawing.h"
#include "postscript/pathlines.h"

namespace {

using pstest::drawn;

TEST(Topage, WindowCornersMapOntoThePlotSquare) {
    pstest::resetmodel();
    plotwindow = {-3, 7, 100, 600};
    long double px, py;
    topage(-3, 100, px, py);
    EXPECT_EQ(px, 50);
    EXPECT_EQ(py, 150);
    topage(7, 600, px, py);
    EXPECT_EQ(px, 510);
    EXPECT_EQ(py, 610);
    topage(2, 350, px, py);
    EXPECT_EQ(px, 280);
    EXPECT_EQ(py, 380);
}

TEST(Pathlines, WriteThePagePointAndTheDataPointInTheComment) {
    pstest::resetmodel();
    struct Case {
        long double x, y;
        const char* name;
        std::string expected;
    } cases[] = {
        {0.1L, 0.2L, "u1", "96.00 242.00 moveto  %  {0.100,0.200}  u1\n"},
        {0, 0.5L, "", "50.00 380.00 moveto  %  {0,0.500}  \n"},
        {-0.10869565217391304348L, 0, "", "0 150.00 moveto  %  {-0.109,0}  \n"},
        {300, -300, "", "1.4e+5 -1.4e+5 moveto  %  {300.000,-300.000}  \n"},
    };
    for (const Case& c : cases) {
        Word name = maketext<20>(c.name);
        EXPECT_EQ(drawn([&] { psmoveto(name, c.x, c.y); }), c.expected) << c.name;
    }
    EXPECT_EQ(drawn([] { pslineto(noname, 1, 1); }), "510.00 610.00 lineto  %  {1.000,1.000}  \n");
}

TEST(Polyline, ForwardAndBackwardPutTheNameOnTheFirstLineWritten) {
    pstest::resetmodel();
    UnivariantLine& l = pstest::addline("u3", {{0, 0}, {0.5L, 0.5L}, {1, 1}});
    Word name = maketext<20>("u3");
    EXPECT_EQ(drawn([&] { polyline(true, name, l); }),
              "280.00 380.00 lineto  %  {0.500,0.500}  u3\n"
              "510.00 610.00 lineto  %  {1.000,1.000}  \n");
    EXPECT_EQ(drawn([&] { polyline(false, name, l); }),
              "280.00 380.00 lineto  %  {0.500,0.500}  u3\n"
              "50.00 150.00 lineto  %  {0,0}  \n");
    UnivariantLine& one = pstest::addline("u4", {{0.5L, 0.5L}});
    EXPECT_EQ(drawn([&] { polyline(true, name, one); }), "");
    EXPECT_EQ(drawn([&] { polyline(false, name, one); }), "");
}

// A form feed ends a PostScript comment: a name holding one must not get
// the rest of itself run as PostScript.
TEST(Pathlines, FormFeedInANameStaysInTheComment) {
    pstest::resetmodel();
    Word name = maketext<20>("u1\f(INJECTED) print");
    std::string line = drawn([&] { psmoveto(name, 0.5L, 0.5L); });
    EXPECT_EQ(line, "280.00 380.00 moveto  %  {0.500,0.500}  u1 (INJECTED) print\n");
    EXPECT_EQ(pstest::ghostscript("%!PS\n" + line), "");
}

}  // namespace
