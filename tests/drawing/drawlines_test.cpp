// drawlines_test.cpp - lines with their style, path and label, and the
// half-way point of a line.
#include <gtest/gtest.h>

#include <string>

#include "drawing/drawing.h"
#include "drawing/lines.h"
#include "geometry/labels.h"
#include "run/failure.h"
#include "support/capture.h"
#include "support/model.h"
#include "support/floors.h"

namespace {

using testsupport::addline;

const std::string separator = "% ---------------------------------------------------\n\n";
const std::string closing = "0  0  0  setrgbcolor\n\n" + separator;

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

class Drawlines : public drawtest::Drawing {
protected:
    // The lines drawn with their labels placed as a run places them.
    std::string drawnlines() {
        return drawn([&](Canvas& canvas) { drawlines(d, figureplan(), canvas); });
    }

    // The thick dashed red line of three points, numbered at size 12.
    void redline() {
        d.options.numbering = answeryes;
        d.options.numbersize = 12;
        UnivariantLine& l = d.lines[addline(d, "u1", {{0.1L, 0.2L}, {0.5L, 0.5L}, {0.9L, 0.6L}})];
        l.thick = true;
        l.dashed = true;
        l.rgbgiven = true;
        l.red = 255;
    }

    // The label line of a numbered line, or "" when it has none.
    std::string labelof(const char* name, long double x1, long double y1, long double x2, long double y2) {
        reset();
        d.options.numbering = answeryes;
        d.options.numbersize = 12;
        addline(d, name, {{x1, y1}, {x2, y2}});
        std::string out = drawnlines();
        size_t end = out.find(" centreshow");
        if (end == std::string::npos) return "";
        size_t begin = out.rfind("\n", end) + 1;
        return out.substr(begin, end - begin);
    }
};

using Findmid = Drawlines;

TEST_F(Drawlines, NumberedLineGetsItsLabelHalfWayAlong) {
    redline();
    EXPECT_EQ(drawnlines(), "\n/Helvetica findfont 12 scalefont setfont\n\n" + separator + redpath +
                                    "263.87 363.90 (1) centreshow\n\n" + closing);
}

TEST_F(Drawlines, WithoutNumberingNoFontLineAndNoLabel) {
    redline();
    d.options.numbering = answerno;
    EXPECT_EQ(drawnlines(), separator + redpath + closing);
}

TEST_F(Drawlines, StylesOfThinSolidAndExplicitlyBlackLines) {
    addline(d, "u1", {{0, 0}, {1, 1}});
    UnivariantLine& black = d.lines[addline(d, "u2", {{0, 1}, {1, 0}})];
    black.rgbgiven = true;
    UnivariantLine& mixed = d.lines[addline(d, "u3", {{0, 0}, {1, 0}})];
    mixed.rgbgiven = true;
    mixed.red = 51;
    mixed.green = 128;
    mixed.blue = 1;
    std::string out = drawnlines();
    EXPECT_NE(out.find("0.30 setlinewidth\n[]  0 setdash\n0  0  0  setrgbcolor\n\n50.00 150.00 moveto"),
              std::string::npos);
    EXPECT_NE(out.find("[]  0 setdash\n     0     0     0 setrgbcolor\n\n50.00 610.00 moveto"),
              std::string::npos);
    EXPECT_NE(out.find("  0.20  0.50  0.00 setrgbcolor\n"), std::string::npos);
}

TEST_F(Drawlines, LinesWithoutPointsWriteNothingButTheResetStillFollows) {
    addline(d, "u1", {});
    addline(d, "u2", {{0.5L, 0.5L}});
    addline(d, "u3", {});
    EXPECT_EQ(drawnlines(), separator +
                                    "0.30 setlinewidth\n[]  0 setdash\n0  0  0  setrgbcolor\n\n"
                                    "280.00 380.00 moveto  %  {0.500,0.500}  u2\n"
                                    "stroke\n\n" +
                                    closing);
    reset();
    addline(d, "u1", {});
    EXPECT_EQ(drawnlines(), closing);
    reset();
    EXPECT_EQ(drawnlines(), "");
}

// The dash of the last line drawn (lines without points are not drawn)
// stays in force.
TEST_F(Drawlines, ReportsWhetherTheLastLineDrawnWasDashed) {
    d.lines[addline(d, "u1", {{0, 0}, {1, 1}})].dashed = true;
    addline(d, "u2", {{0, 1}, {1, 0}});
    EXPECT_FALSE(lastlinedashed(d));
    reset();
    addline(d, "u1", {{0, 0}, {1, 1}});
    d.lines[addline(d, "u2", {{0, 1}, {1, 0}})].dashed = true;
    addline(d, "u3", {});
    EXPECT_TRUE(lastlinedashed(d));
}

TEST_F(Drawlines, LabelsStandAtTheMiddleInsideTheWindowWithEscapedNames) {
    EXPECT_EQ(labelof("u2", 0.2L, 0.2L, 0.6L, 0.4L), "234.00 284.00 (2)");
    EXPECT_EQ(labelof("u(2)\\", 0.2L, 0.2L, 0.6L, 0.4L), "234.00 284.00 (\\(2\\)\\\\)");
    EXPECT_EQ(labelof("u", 0.2L, 0.2L, 0.6L, 0.4L), "234.00 284.00 ()");
    EXPECT_EQ(labelof("u3", 0, 0, 0, 1), "");        // on the left edge
    EXPECT_EQ(labelof("u4", 0.2L, 1, 0.6L, 1), "");  // on the top edge
    EXPECT_EQ(labelof("u5", -1, 0.5L, -0.5L, 0.5L), "");
}

TEST_F(Findmid, MeasuresInFractionsOfTheWindow) {
    const PlotWindow w = {0, 100, 0, 1};
    const UnivariantLine& l = d.lines[addline(d, "u1", {{0, 0}, {100, 0}, {100, 1}, {0, 1}})];
    long double xm, ym;
    findmid(run, w, l, xm, ym);
    EXPECT_EQ(xm, 100);  // half-way up the short side, as long as the long one
    EXPECT_EQ(ym, 0.5L);
    const UnivariantLine& m = d.lines[addline(d, "u2", {{0, 0}, {50, 0}, {50, 0}, {100, 0}})];
    findmid(run, w, m, xm, ym);
    EXPECT_EQ(xm, 50);
    EXPECT_EQ(ym, 0);
}

TEST_F(Findmid, ALineWithoutLengthEndsTheRun) {
    const UnivariantLine& one = d.lines[addline(d, "u7", {{0.5L, 0.5L}})];
    const UnivariantLine& same = d.lines[addline(d, "u8", {{0.5L, 0.5L}, {0.5L, 0.5L}})];
    long double xm, ym;
    EXPECT_TRUE(testsupport::endsrun([&] { findmid(run, d.window, one, xm, ym); }, exitfailed,
                " BOMBED in findmid : zero sum distance for u7\n"));
    EXPECT_TRUE(testsupport::endsrun([&] { findmid(run, d.window, same, xm, ym); }, exitfailed,
                " BOMBED in findmid : zero sum distance for u8\n"));
}

}  // namespace
