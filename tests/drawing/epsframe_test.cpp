// epsframe_test.cpp - the drawing's header, its frame (title and info
// lines, window box, ticks, axis numbers) and the order of the drawing
// steps.
#include <gtest/gtest.h>

#include <string>

#include "drawing/drawing.h"
#include "drawing/frame.h"
#include "support/files.h"
#include "support/model.h"
#include "support/floors.h"

namespace {

using testsupport::addline;
using testsupport::addpoint;

const std::string prolog =
    "%!PS-Adobe-3.0 EPSF-3.0\n"
    "%%BoundingBox: 4 4 525 750\n"
    "%%Title:  output\n"
    "%%Creator: gridel 1.18 (phase diagram drawing)\n"
    "%%CreationDate: 9.05 on Sun 6 Dec,2026\n"
    "%%EndComments\n"
    "/Helvetica findfont 12 scalefont setfont\n"
    "\n"
    "\n"
    "/centreshow {dup stringwidth  pop 2 div\n"
    "   4 -1 roll exch sub   3 -1 roll moveto  show} def\n"
    "\n"
    "\n"
    "/rightshow {dup stringwidth  pop\n"
    "   4 -1 roll exch sub   3 -1 roll moveto  show} def\n"
    "\n";

const std::string titleblock =
    "/Helvetica findfont 12 scalefont setfont\n"
    "\n"
    "1 setlinewidth\n"
    "50  620  moveto\n"
    "( gridel 1.18 (running at 9.05 on Sun 6 Dec,2026) ) show\n";

const std::string tenbytenframe =
    titleblock +
    "0.50 setlinewidth\n\n"
    "% window box\n\n"
    "50.00 150.00 moveto  %  {0,0}  \n"
    "50.00 610.00 lineto  %  {0,10.000}  \n"
    "510.00 610.00 lineto  %  {10.000,10.000}  \n"
    "510.00 150.00 lineto  %  {10.000,0}  \n"
    "50.00 150.00 lineto  %  {0,0}  \n"
    "stroke\n\n"
    "0.20 setlinewidth\n\n"
    "50.00 150.00 moveto  %  {0,0}  \n"
    "50.00 157.67 lineto  %  {0,0.167}  \n"
    "stroke\n"
    "142.00 150.00 moveto  %  {2.000,0}  \n"
    "142.00 157.67 lineto  %  {2.000,0.167}  \n"
    "stroke\n"
    "234.00 150.00 moveto  %  {4.000,0}  \n"
    "234.00 157.67 lineto  %  {4.000,0.167}  \n"
    "stroke\n"
    "326.00 150.00 moveto  %  {6.000,0}  \n"
    "326.00 157.67 lineto  %  {6.000,0.167}  \n"
    "stroke\n"
    "418.00 150.00 moveto  %  {8.000,0}  \n"
    "418.00 157.67 lineto  %  {8.000,0.167}  \n"
    "stroke\n"
    "50.00 150.00 moveto  %  {0,0}  \n"
    "57.67 150.00 lineto  %  {0.167,0}  \n"
    "stroke\n"
    "50.00 242.00 moveto  %  {0,2.000}  \n"
    "57.67 242.00 lineto  %  {0.167,2.000}  \n"
    "stroke\n"
    "50.00 334.00 moveto  %  {0,4.000}  \n"
    "57.67 334.00 lineto  %  {0.167,4.000}  \n"
    "stroke\n"
    "50.00 426.00 moveto  %  {0,6.000}  \n"
    "57.67 426.00 lineto  %  {0.167,6.000}  \n"
    "stroke\n"
    "50.00 518.00 moveto  %  {0,8.000}  \n"
    "57.67 518.00 lineto  %  {0.167,8.000}  \n"
    "stroke\n"
    "/Helvetica findfont 12 scalefont setfont\n\n"
    "50.00 127.00 (0) centreshow\n"
    "142.00 127.00 (2) centreshow\n"
    "234.00 127.00 (4) centreshow\n"
    "326.00 127.00 (6) centreshow\n"
    "418.00 127.00 (8) centreshow\n"
    "510.00 127.00 (10) centreshow\n"
    "34.67 146.00 (0) rightshow\n"
    "34.67 238.00 (2) rightshow\n"
    "34.67 330.00 (4) rightshow\n"
    "34.67 422.00 (6) rightshow\n"
    "34.67 514.00 (8) rightshow\n"
    "34.67 606.00 (10) rightshow\n";

class Drawframe : public drawtest::Drawing {
protected:
    // The window 0..10 by 0..10 with big ticks every 2 from 0.
    void tenbyten() {
        d.window = {0, 10, 0, 10};
        d.ticks = {2, 0, 2, 0, 0, 0, false};
    }

    std::string drawnframe() {
        return drawn([&](Canvas& canvas) { drawframe(d, figureplan(), run.settings.banner, run.stamp, canvas); });
    }

    // The frame between its fixed beginning and the window box.
    std::string titleandinfo() {
        std::string frame = drawnframe();
        return frame.substr(0, frame.find("0.50 setlinewidth"));
    }

    // The info line's text as drawn, for an info text.
    std::string infoshown(const std::string& info) {
        reset();
        d.options.ninfo = 1;
        settext(d.options.info[1], info.data(), static_cast<int>(info.size()));
        std::string block = titleandinfo();
        size_t at = block.rfind("moveto\n") + 7;
        return block.substr(at, block.size() - at - 1);
    }

    // The one x axis number of a window 0..10 with its first tick at `t`.
    std::string xnumber(long double t) {
        reset();
        d.window = {0, 10, 0, 10};
        d.ticks = {100, t, 100, 0, 0, 0, false};
        std::string frame = drawnframe();
        size_t end = frame.find(") centreshow");
        size_t begin = frame.rfind('(', end) + 1;
        return frame.substr(begin, end - begin);
    }
};

using Drawdiagram = Drawframe;

TEST_F(Drawdiagram, WritesTheHeaderAndProceduresThenTheFrameAndThePointsWidth) {
    tenbyten();
    std::string file = drawnfile("test");
    // The areas step ends its part with the gray reset, even without areas.
    EXPECT_EQ(file, prolog + "\n0 setgray\n\n" + tenbytenframe + "0.20 setlinewidth\n\n");
    EXPECT_EQ(testsupport::str(run.drawingname), "gl-test.eps");
    EXPECT_EQ(testsupport::ghostscript("gl-test.eps"), "");
}

TEST_F(Drawdiagram, WithoutAreasAndCirclesOnlyTheFrameAndLinesAreDrawn) {
    tenbyten();
    d.options.doareas = answerno;
    d.options.docircles = answerno;
    EXPECT_EQ(drawnfile("test"), prolog + tenbytenframe);
}

TEST_F(Drawdiagram, ALongSuffixGivesTheWholeName) {
    drawnfile("abcdefghijklmnopqrst");
    EXPECT_EQ(testsupport::str(run.drawingname), "gl-abcdefghijklmnopqrst.eps");
}

TEST_F(Drawdiagram, NamesAndInfoTextsWithParenthesesAndBackslashesDrawCleanly) {
    d.options.numbering = answeryes;
    d.options.numbersize = 10;
    d.options.circlesize = 5;
    d.options.ninfo = 2;
    settext(d.options.info[1], " ) (stop) \\ (");
    settext(d.options.info[2], std::string(250, ')').c_str());
    addline(d, "u)(", {{0.1L, 0.1L}, {0.9L, 0.3L}});
    addline(d, "u\\", {{0.1L, 0.9L}, {0.9L, 0.5L}});
    addline(d, "u1)showpage(", {{0.2L, 0.2L}, {0.2L, 0.8L}});
    addpoint(d, "i(", 0.5L, 0.5L);
    addpoint(d, "i\\)", 0.3L, 0.6L);
    addpoint(d, "i\xA4", 0.7L, 0.6L);
    std::string file = drawnfile("names");
    EXPECT_NE(file.find("( \\) \\(stop\\) \\\\ \\() show\n"), std::string::npos);
    EXPECT_NE(file.find(" (\\)\\() centreshow"), std::string::npos);
    EXPECT_NE(file.find(" (1\\)showpage\\() centreshow"), std::string::npos);
    EXPECT_NE(file.find(" (\\244) centreshow"), std::string::npos);
    EXPECT_EQ(testsupport::ghostscript("gl-names.eps"), "");
}

TEST_F(Drawframe, InfoLinesStandBelowTheTitleWithTheirTextsEscaped) {
    d.options.ninfo = 3;
    settext(d.options.info[1], " plain");
    settext(d.options.info[2], " first (a) and )(");
    settext(d.options.info[3], " back\\slash");
    EXPECT_EQ(titleandinfo(),
              "/Helvetica findfont 12 scalefont setfont\n\n1 setlinewidth\n"
              "50  674  moveto\n"
              "( gridel 1.18 (running at 9.05 on Sun 6 Dec,2026) ) show\n"
              "50  656  moveto\n"
              "( plain) show\n"
              "50  638  moveto\n"
              "( first \\(a\\) and \\)\\() show\n"
              "50  620  moveto\n"
              "( back\\\\slash) show\n");
}

TEST_F(Drawframe, LongInfoLinesAreCutToCloseTheirString) {
    const std::string a243(243, 'a');
    EXPECT_EQ(infoshown(a243), "(" + a243 + ") show");
    EXPECT_EQ(infoshown(a243 + "a"), "(" + a243 + ") show");
    EXPECT_EQ(infoshown(std::string(255, 'a')), "(" + a243 + ") show");
    EXPECT_EQ(infoshown(std::string(242, 'a') + ")"), "(" + std::string(242, 'a') + ") show");
    EXPECT_EQ(infoshown(std::string(241, 'a') + ")"), "(" + std::string(241, 'a') + "\\)) show");
    EXPECT_EQ(ghostscriptof("%!PS\n0 0 moveto\n" + infoshown(std::string(130, '(')) + "\n"), "");
}

TEST_F(Drawframe, AxisNumbersHaveTheDecimalsTheyNeedUpToFive) {
    struct Case {
        long double t;
        const char* label;
    } cases[] = {
        {2.5L, "2.5"},          {0.25L, "0.25"},          {0.123456L, "0.12346"},
        {2.000001L, "2"},       {1.999999L, "2"},         {7, "7"},
        {0.1L, "0.1"},          {10 / 3.0L, "3.33333"},   {9.9999L, "9.9999"},
    };
    for (const Case& c : cases) EXPECT_EQ(xnumber(c.t), c.label) << c.label;
}

TEST_F(Drawframe, TheLastNumberMayStandJustBeyondTheWindow) {
    d.window = {0, 10, 0, 10};
    d.ticks = {3.33334L, 0, 5, 0, 0, 0, false};
    std::string frame = drawnframe();
    // 0.00002 is within 0.001 of a whole number of tenths: one decimal.
    EXPECT_NE(frame.find("510.00 127.00 (10.0) centreshow"), std::string::npos);
    d.ticks = {3.3334L, 0, 5, 0, 0, 0, false};
    frame = drawnframe();
    EXPECT_EQ(frame.find("(10.0002) centreshow"), std::string::npos);
    EXPECT_NE(frame.find("(6.6668) centreshow"), std::string::npos);
}

TEST_F(Drawframe, SmallTicksRunFromTheWindowEdgeAtHalfLength) {
    tenbyten();
    d.ticks.smallticks = true;
    d.ticks.smallxgap = 1;
    d.ticks.smallygap = 2.5L;
    std::string frame = drawnframe();
    std::string small = frame.substr(frame.find("(10) rightshow\n") + 15);
    EXPECT_EQ(small.find("96.00 150.00 moveto  %  {1.000,0}  \n"
                         "96.00 153.83 lineto  %  {1.000,0.083}  \n"
                         "stroke\n"
                         "142.00 150.00 moveto"),
              0u);
    size_t strokes = 0;
    for (size_t at = small.find("stroke"); at != std::string::npos; at = small.find("stroke", at + 1))
        ++strokes;
    EXPECT_EQ(strokes, 9u + 3u);  // x at 1..9, y at 2.5, 5, 7.5
    EXPECT_NE(small.find("53.83 495.00 lineto  %  {0.083,7.500}  \nstroke\n"), std::string::npos);
}

// A gap that is not positive, or below the resolution of the arithmetic at
// the window's magnitude, ends its loop without drawing.
TEST_F(Drawframe, TickLoopsEndForEveryGap) {
    d.window = {1e25L, 2e25L, 0, 1};
    d.ticks = {1, 1e25L, -0.5L, 0, 1, -1, true};
    std::string frame = drawnframe();
    size_t from = frame.find("0.20 setlinewidth");
    EXPECT_EQ(frame.substr(from),
              "0.20 setlinewidth\n\n/Helvetica findfont 12 scalefont setfont\n\n");
}

}  // namespace
