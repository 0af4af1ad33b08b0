// areasides_test.cpp - the side a field closed along the window's border is
// filled on, read back from the area paths of the SVG: a curve from the
// left edge to the right one and two lines that meet at a point and end on
// the left and bottom edges, each without an edge word and with each of
// the four; what --check says of them; the slips of edge words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

// A T-X section in the window 0..1 by 400..700: a dome u4 from the left
// edge to the right one above three fields that meet at i1.  The area
// lines come last, one to be replaced by each case.
const std::string section =
    "2 10 1 2\n"
    "i1 dol cc q tlc - tr\n"
    "   0.30 450.0\n"
    "u1 dol q cc tlc - tr begin i1\n"
    "   0.00 420.0   0.15 440.0   0.30 450.0\n"
    "u2 tlc cc q tr - dol i1 end\n"
    "   0.30 450.0   0.65 475.0   1.00 490.0\n"
    "u3 tlc dol cc tr - q i1 end\n"
    "   0.30 450.0   0.36 425.0   0.40 400.0\n"
    "u4 tr cc q di univariant begin end\n"
    "   0.00 500.0   0.20 560.0   0.50 600.0   0.80 580.0   1.00 560.0\n"
    "*\n"
    "AREA\n"
    "*\n"
    "window 0 1 400 700\n"
    "bigticks 0.2 0 50 400\n"
    "*\n";

struct Point {
    double x, y;
};

// The points of the first path in the group `<g id="ID"`, in the SVG's
// coordinates.
std::vector<Point> grouppath(const std::string& svg, const std::string& id) {
    std::vector<Point> points;
    size_t g = svg.find("<g id=\"" + id + "\"");
    if (g == std::string::npos) return points;
    size_t d = svg.find(" d=\"", g);
    if (d == std::string::npos) return points;
    const char* p = svg.c_str() + d + 4;
    while (*p != '"' && *p != 'Z' && *p != 0) {
        if (*p == 'M' || *p == 'L' || *p == ' ') {
            ++p;
            continue;
        }
        char* end;
        double x = std::strtod(p, &end);
        double y = std::strtod(end + 1, &end);
        points.push_back({x, y});
        p = end;
    }
    return points;
}

// Whether a point lies inside a polygon (even-odd).
bool inside(const std::vector<Point>& poly, Point q) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Point &a = poly[i], &b = poly[j];
        if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

// The area line drawn as SVG alone: its path, and what --check says.
struct Drawn {
    std::vector<Point> path;
    std::string check;
    int status;
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;  // the window's edges on the page

    // The point at fractions (fx, fy) of the window from its bottom-left corner.
    Point at(Point f) const { return {left + (right - left) * f.x, bottom - (bottom - top) * f.y}; }
    bool fills(Point f) const { return inside(path, at(f)); }
};

Drawn drawarea(const std::string& arealine, const std::string& data = section) {
    std::string text = data;
    text.replace(text.find("AREA"), 4, arealine);
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-sides.txt", text);
    e2e::Launch l;
    l.dir = dir;
    l.args = {"-T", "svg", "gl-sides.txt"};
    Drawn drawn;
    e2e::RunResult r = e2e::rungridelwith(l);
    drawn.status = r.status;
    if (e2e::fileexists(dir + "/gl-sides.svg")) {
        std::string svg = testsupport::readfile(dir + "/gl-sides.svg");
        drawn.path = grouppath(svg, "area-1");
        // The frame's corners give the window on the page.
        for (Point p : grouppath(svg, "frame")) {
            drawn.left = std::min(drawn.left, p.x), drawn.right = std::max(drawn.right, p.x);
            drawn.top = std::min(drawn.top, p.y), drawn.bottom = std::max(drawn.bottom, p.y);
        }
    }
    l.args = {"--check", "gl-sides.txt"};
    drawn.check = e2e::rungridelwith(l).errors;
    e2e::removetree(dir);
    return drawn;
}

TEST(AreaSides, EachEdgeWordFillsTheSideItNames) {
    struct Case {
        const char* line;
        std::vector<Point> in, out;  // points (as window fractions) inside and outside the fill
        const char* note;            // what --check notes of the area
    };
    const Point top = {0.5, 0.95}, bottom = {0.5, 0.05}, corner = {0.03, 0.03}, far = {0.97, 0.97};
    const std::vector<Case> cases = {
        // A dome from the left edge to the right one: below it unless told.
        {"0.5 u4", {bottom}, {top}, "closed along the bottom, left and right edges; write '0.5 u4 top' for the other side"},
        {"0.5 u4 top", {top}, {bottom}, "closed along the top, left and right edges; write '0.5 u4' for the other side"},
        {"0.5 u4 bottom", {bottom}, {top}, "closed along the bottom, left and right edges; write '0.5 u4 top' for the other side"},
        // The field below runs along both side edges already.
        {"0.5 u4 left", {bottom}, {top}, "closed along the bottom, left and right edges; write '0.5 u4 top' for the other side"},
        {"0.5 u4 right", {bottom}, {top}, "closed along the bottom, left and right edges; write '0.5 u4 top' for the other side"},
        // Two lines through i1, ending on the left and bottom edges: the
        // corner between them unless told.
        {"0.5 u1 u3", {corner}, {far, top}, "closed along the bottom and left edges; write '0.5 u1 u3 top' for the other side"},
        {"0.5 u1 u3 top", {far, top}, {corner}, "closed along the top, bottom, left and right edges; write '0.5 u1 u3' for the other side"},
        {"0.5 u3 u1 right", {far, top}, {corner}, "closed along the top, bottom, left and right edges; write '0.5 u3 u1' for the other side"},
        {"0.5 u1 u3 bottom", {corner}, {far}, "closed along the bottom and left edges; write '0.5 u1 u3 top' for the other side"},
    };
    for (const Case& c : cases) {
        Drawn drawn = drawarea(c.line);
        ASSERT_EQ(drawn.status, 0) << c.line;
        ASSERT_GE(drawn.path.size(), 3U) << c.line;
        for (Point p : c.in) EXPECT_TRUE(drawn.fills(p)) << c.line << " at " << p.x << "," << p.y;
        for (Point p : c.out) EXPECT_FALSE(drawn.fills(p)) << c.line << " at " << p.x << "," << p.y;
        EXPECT_EQ(drawn.check, "gl-sides.txt:13: note: area 1: " + std::string(c.note) + "\n") << c.line;
    }
}

// The order of a line's rows does not change the side an edge word names.
TEST(AreaSides, TheRowsReversedFillTheSameSide) {
    std::string reversed = section;
    const std::string rows = "   0.00 500.0   0.20 560.0   0.50 600.0   0.80 580.0   1.00 560.0";
    reversed.replace(reversed.find(rows), rows.size(), "   1.00 560.0   0.80 580.0   0.50 600.0   0.20 560.0   0.00 500.0");
    for (const char* edge : {"top", "bottom"}) {
        Drawn drawn = drawarea(std::string("0.5 u4 ") + edge, reversed);
        ASSERT_GE(drawn.path.size(), 3U) << edge;
        bool above = std::string(edge) == "top";
        EXPECT_EQ(drawn.fills({0.5, 0.95}), above) << edge;
        EXPECT_EQ(drawn.fills({0.5, 0.05}), !above) << edge;
    }
}

TEST(AreaSides, EdgeWordSlipsAreNamed) {
    struct Case {
        const char* line;
        int status;
        const char* says;  // a part of standard error of the check
    };
    const std::vector<Case> cases = {
        {"0.5 top u4", 1, "error: area 1 begins with the edge word 'top' where its lines belong"},
        {"0.5 u4 top u1", 1, "error: area 1: the line name 'u1' follows its edge word 'top'"},
        {"0.5 u4 top bottom", 1, "error: area 1 has a second edge word, 'bottom'"},
        {"0.5 u4 Top", 1, "warning: area 1: 'Top' is no line's name: did you mean the edge word 'top'?"},
        {"0.5 u4 tpo", 1, "did you mean the edge word 'top'?"},
        {"0.5 u4 above", 1, "did you mean the edge word 'top'?"},
        {"0.5 u4 rigth", 1, "did you mean the edge word 'right'?"},
    };
    for (const Case& c : cases) {
        std::string text = section;
        text.replace(text.find("AREA"), 4, c.line);
        std::string dir = e2e::makeworkdir();
        testsupport::writefile(dir + "/gl-sides.txt", text);
        e2e::Launch l;
        l.dir = dir;
        l.args = {"--check", "gl-sides.txt"};
        e2e::RunResult r = e2e::rungridelwith(l);
        EXPECT_EQ(r.status, c.status) << c.line;
        EXPECT_NE(r.errors.find(c.says), std::string::npos) << c.line << "\n" << r.errors;
        e2e::removetree(dir);
    }
}

// An edge word where the boundary never meets the border is warned of,
// and the area drawn as without it.
TEST(AreaSides, AnEdgeWordWithNoBorderJoinIsWarnedOf) {
    std::string closed = section;
    // u5 and u6 run from i1 to i2 and back: a lens inside the window.
    closed.replace(closed.find("*\nAREA"), 1,
                   "i2 dol cc q tlc - di\n   0.60 650.0\n"
                   "u5 dol cc q - tlc i1 i2\n   0.30 450.0   0.50 600.0   0.60 650.0\n"
                   "u6 dol cc tlc - q i1 i2\n   0.30 450.0   0.40 560.0   0.60 650.0\n*");
    Drawn drawn = drawarea("0.5 u5 u6 top", closed);
    EXPECT_EQ(drawn.status, 0);
    EXPECT_NE(drawn.check.find("warning: area 1: its edge word 'top' is not used: its boundary does not close along "
                               "the window's border"),
              std::string::npos)
        << drawn.check;
    EXPECT_FALSE(drawn.fills({0.5, 0.95}));
}

}  // namespace
