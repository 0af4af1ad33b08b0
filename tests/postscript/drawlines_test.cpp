// drawlines_test.cpp - lines with their style, path and label, and the
// half-way point of a line.
#include <gtest/gtest.h>

#include <string>

#include "postscript/drawing.h"
#include "postscript/drawlines.h"
#include "run/failure.h"
#include "support/capture.h"

namespace {

using pstest::drawn;

const std::string separator = "% ---------------------------------------------------\n\n";
const std::string closing = "0  0  0  setrgbcolor\n\n" + separator;

// The thick dashed red line of three points, numbered at size 12.
void redline() {
    pstest::resetmodel();
    drawingoptions.numbering = answeryes;
    drawingoptions.numbersize = 12;
    UnivariantLine& l = pstest::addline("u1", {{0.1L, 0.2L}, {0.5L, 0.5L}, {0.9L, 0.6L}});
    l.thick = true;
    l.dashed = true;
    l.rgbgiven = true;
    l.red = 255;
}

const std::string redpath =
    "0.60 setlinewidth\n"
    "[3]  0  setdash\n"
    "  1.00     0     0 setrgbcolor\n"
    "\n"
    "96.00 242.00 moveto  %  {0.100,0.200}  u1\n"
    "280.00 380.00 lineto  %  {0.500,0.500}  \n"
    "464.00 426.00 lineto  %  {0.900,0.600}  \n"
    "stroke\n"
    "\n";

TEST(Drawlines, NumberedLineGetsItsLabelHalfWayAlong) {
    redline();
    EXPECT_EQ(drawn(drawlines), "\n/Helvetica findfont 12 scalefont setfont\n\n" + separator + redpath +
                                    "263.87 363.90 (1) centreshow\n\n" + closing);
}

TEST(Drawlines, WithoutNumberingNoFontLineAndNoLabel) {
    redline();
    drawingoptions.numbering = answerno;
    EXPECT_EQ(drawn(drawlines), separator + redpath + closing);
}

TEST(Drawlines, StylesOfThinSolidAndExplicitlyBlackLines) {
    pstest::resetmodel();
    pstest::addline("u1", {{0, 0}, {1, 1}});
    UnivariantLine& black = pstest::addline("u2", {{0, 1}, {1, 0}});
    black.rgbgiven = true;
    UnivariantLine& mixed = pstest::addline("u3", {{0, 0}, {1, 0}});
    mixed.rgbgiven = true;
    mixed.red = 51;
    mixed.green = 128;
    mixed.blue = 1;
    std::string out = drawn(drawlines);
    EXPECT_NE(out.find("0.30 setlinewidth\n[]  0 setdash\n0  0  0  setrgbcolor\n\n50.00 150.00 moveto"),
              std::string::npos);
    EXPECT_NE(out.find("[]  0 setdash\n     0     0     0 setrgbcolor\n\n50.00 610.00 moveto"),
              std::string::npos);
    EXPECT_NE(out.find("  0.20  0.50  0.00 setrgbcolor\n"), std::string::npos);
}

TEST(Drawlines, LinesWithoutPointsWriteNothingButTheResetStillFollows) {
    pstest::resetmodel();
    pstest::addline("u1", {});
    pstest::addline("u2", {{0.5L, 0.5L}});
    pstest::addline("u3", {});
    EXPECT_EQ(drawn(drawlines), separator +
                                    "0.30 setlinewidth\n[]  0 setdash\n0  0  0  setrgbcolor\n\n"
                                    "280.00 380.00 moveto  %  {0.500,0.500}  u2\n"
                                    "stroke\n\n" +
                                    closing);
    pstest::resetmodel();
    pstest::addline("u1", {});
    EXPECT_EQ(drawn(drawlines), closing);
    pstest::resetmodel();
    EXPECT_EQ(drawn(drawlines), "");
}

// drawlines tells whether the dash of the last line drawn (lines without
// points are not drawn) stays in force.
TEST(Drawlines, ReportsWhetherTheLastLineDrawnWasDashed) {
    bool dashed = true;
    pstest::resetmodel();
    pstest::addline("u1", {{0, 0}, {1, 1}}).dashed = true;
    pstest::addline("u2", {{0, 1}, {1, 0}});
    drawn([&] { dashed = drawlines(); });
    EXPECT_FALSE(dashed);
    pstest::resetmodel();
    pstest::addline("u1", {{0, 0}, {1, 1}});
    pstest::addline("u2", {{0, 1}, {1, 0}}).dashed = true;
    pstest::addline("u3", {}).dashed = false;
    drawn([&] { dashed = drawlines(); });
    EXPECT_TRUE(dashed);
}

// The label line of a numbered line, or "" when it has none.
std::string labelof(const char* name, long double x1, long double y1, long double x2, long double y2) {
    pstest::resetmodel();
    drawingoptions.numbering = answeryes;
    drawingoptions.numbersize = 12;
    pstest::addline(name, {{x1, y1}, {x2, y2}});
    std::string out = drawn(drawlines);
    size_t end = out.find(" centreshow");
    if (end == std::string::npos) return "";
    size_t begin = out.rfind("\n", end) + 1;
    return out.substr(begin, end - begin);
}

TEST(Drawlines, LabelsStandAtTheMiddleInsideTheWindowWithEscapedNames) {
    EXPECT_EQ(labelof("u2", 0.2L, 0.2L, 0.6L, 0.4L), "234.00 284.00 (2)");
    EXPECT_EQ(labelof("u(2)\\", 0.2L, 0.2L, 0.6L, 0.4L), "234.00 284.00 (\\(2\\)\\\\)");
    EXPECT_EQ(labelof("u", 0.2L, 0.2L, 0.6L, 0.4L), "234.00 284.00 ()");
    EXPECT_EQ(labelof("u3", 0, 0, 0, 1), "");        // on the left edge
    EXPECT_EQ(labelof("u4", 0.2L, 1, 0.6L, 1), "");  // on the top edge
    EXPECT_EQ(labelof("u5", -1, 0.5L, -0.5L, 0.5L), "");
}

TEST(Findmid, MeasuresInFractionsOfTheWindow) {
    pstest::resetmodel();
    plotwindow = {0, 100, 0, 1};
    UnivariantLine& l = pstest::addline("u1", {{0, 0}, {100, 0}, {100, 1}, {0, 1}});
    long double xm, ym;
    findmid(l, xm, ym);
    EXPECT_EQ(xm, 100);  // half-way up the short side, as long as the long one
    EXPECT_EQ(ym, 0.5L);
    UnivariantLine& m = pstest::addline("u2", {{0, 0}, {50, 0}, {50, 0}, {100, 0}});
    findmid(m, xm, ym);
    EXPECT_EQ(xm, 50);
    EXPECT_EQ(ym, 0);
}

TEST(Findmid, ALineWithoutLengthEndsTheRun) {
    pstest::resetmodel();
    UnivariantLine& one = pstest::addline("u7", {{0.5L, 0.5L}});
    UnivariantLine& same = pstest::addline("u8", {{0.5L, 0.5L}, {0.5L, 0.5L}});
    long double xm, ym;
    EXPECT_EXIT(testsupport::inchild([&] { findmid(one, xm, ym); }), testing::ExitedWithCode(exitfailed),
                testsupport::literal(" BOMBED in findmid : zero sum distance for u7\n"));
    EXPECT_EXIT(testsupport::inchild([&] { findmid(same, xm, ym); }), testing::ExitedWithCode(exitfailed),
                testsupport::literal(" BOMBED in findmid : zero sum distance for u8\n"));
}

}  // namespace
