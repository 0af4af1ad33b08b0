// epscanvas_test.cpp - the page transform, the path lines with their data
// coordinates, and texts from the data file made safe inside PostScript
// strings.
#include <gtest/gtest.h>

#include <string>

#include "drawing/drawing.h"
#include "drawing/epscanvas.h"
#include "drawing/page.h"
#include "support/floors.h"

namespace {

using Pathlines = drawtest::Drawing;

TEST(Topage, WindowCornersMapOntoThePlotSquare) {
    const PageMap w = {{-3, 7, 100, 600}, plotleft, plotbottom, plotright, plottop};
    long double px, py;
    topage(w, -3, 100, px, py);
    EXPECT_EQ(px, 50);
    EXPECT_EQ(py, 150);
    topage(w, 7, 600, px, py);
    EXPECT_EQ(px, 510);
    EXPECT_EQ(py, 610);
    topage(w, 2, 350, px, py);
    EXPECT_EQ(px, 280);
    EXPECT_EQ(py, 380);
}

TEST_F(Pathlines, WriteThePagePointAndTheDataPointInTheComment) {
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
        PathPoint p = pathpoint(pagemap(d), c.x, c.y, maketext<20>(c.name));
        EXPECT_EQ(drawn([&](Canvas& canvas) { canvas.moveto(p); }), c.expected) << c.name;
    }
    PathPoint corner = pathpoint(pagemap(d), 1, 1, noname);
    EXPECT_EQ(drawn([&](Canvas& canvas) { canvas.lineto(corner); }), "510.00 610.00 lineto  %  {1.000,1.000}  \n");
}

// A form feed ends a PostScript comment: a name holding one must not get
// the rest of itself run as PostScript.
TEST_F(Pathlines, FormFeedInANameStaysInTheComment) {
    PathPoint p = pathpoint(pagemap(d), 0.5L, 0.5L, maketext<20>("u1\f(INJECTED) print"));
    std::string line = drawn([&](Canvas& canvas) { canvas.moveto(p); });
    EXPECT_EQ(line, "280.00 380.00 moveto  %  {0.500,0.500}  u1 (INJECTED) print\n");
    EXPECT_EQ(ghostscriptof("%!PS\n" + line), "");
}

std::string str(const Text& t) { return std::string(t.c, static_cast<size_t>(t.len)); }

std::string escaped(const std::string& s, int16_t limit = 255) {
    return str(psstring(s.data(), static_cast<int>(s.size()), limit));
}

TEST(Psstring, EscapesParenthesesBackslashAndTheOverflowMark) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {" plain words 1.5", " plain words 1.5"},
        {"(a)", "\\(a\\)"},
        {"a\\b", "a\\\\b"},
        {")(", "\\)\\("},
        {"x\xA4", "x\\244"},
        {"%not a comment", "%not a comment"},
    };
    for (const Case& c : cases) EXPECT_EQ(escaped(c.in), c.out) << c.in;
}

TEST(Psstring, CutsBetweenWholeEscapes) {
    EXPECT_EQ(escaped("abcdef", 4), "abcd");
    EXPECT_EQ(escaped("abc(", 4), "abc");
    EXPECT_EQ(escaped("ab(", 4), "ab\\(");
    EXPECT_EQ(escaped("a\xA4", 4), "a");
    EXPECT_EQ(escaped("\xA4", 4), "\\244");
    EXPECT_EQ(escaped(std::string(200, '\\')), std::string(254, '\\'));
}

TEST(Latin1string, EachCharacterAsTheLatin1FontsShowIt) {
    struct Case {
        std::string in;
        std::vector<std::string> out;
    } cases[] = {
        {"", {"()"}},
        {"T (\xC2\xB0" "C)", {"(T \\(\\260C\\))"}},      // a degree sign in UTF-8
        {"\\ \xC3\xA4 \xE2\x82\xAC", {"(\\\\ \\344 ?)"}},  // a backslash, a-umlaut, a euro sign
        {"\xFF\x80\tx", {"(\\377\\200\\011x)"}},          // not UTF-8: the bytes' own characters
        {std::string(201, 'a'), {"(" + std::string(199, 'a') + "\\", "aa)"}},  // 200 characters a line
    };
    for (const Case& c : cases) EXPECT_EQ(latin1string({c.in.data(), static_cast<int32_t>(c.in.size())}), c.out) << c.in;
}

}  // namespace
