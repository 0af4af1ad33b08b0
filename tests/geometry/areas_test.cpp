// areas_test.cpp - area fills and boundary walks, on lines filled in by
// hand as assembly and window cutting leave them.
//
// The window is 0..10 by 0..10, so a data point (x, y) lands on the page
// at (46x + 50, 46y + 150).  Path lines are condensed to "M x,y name" and
// "L x,y name" from the data coordinates in their comments.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "diagram/model.h"
#include "drawing/areas.h"
#include "drawing/epscanvas.h"
#include "geometry/areas.h"
#include "geometry/pagemap.h"
#include "run/channels.h"
#include "support/capture.h"
#include "support/model.h"
#include "support/run.h"
#include "support/floors.h"

// g++ 12 reports a use after free inside the destructors of the nested
// initializer lists of the case tables below; it is a known false alarm.
#pragma GCC diagnostic ignored "-Wuse-after-free"

namespace {

using Points = std::vector<std::pair<long double, long double>>;
using Lines = std::vector<std::string>;

struct LineData {
    const char* name;  // line name
    Points pts;        // its points after cutting (none: outside the window)
    int16_t begin;     // beginindex
    int16_t end;       // endindex
};

Word word(const char* s) {
    Word w;
    settext(w, s);
    return w;
}

struct Areas : testing::Test {
    void SetUp() override {
        dir = testsupport::enterscratch();
        testsupport::openchannel(run, chlog, "log.txt");
    }

    void TearDown() override {
        closefiles();
        testsupport::leavescratch(dir);
    }

    void closefiles() {
        testsupport::closechannel(run, chlog);
    }

    void addline(const LineData& given) {
        UnivariantLine& l = d.lines[++d.nlines];
        testsupport::clearline(l);
        settext(l.name, given.name);
        l.npts = static_cast<int16_t>(given.pts.size());
        for (size_t k = 0; k < given.pts.size(); ++k) {
            l.x[k + 1] = given.pts[k].first;
            l.y[k + 1] = given.pts[k].second;
        }
        l.beginindex = given.begin;
        l.endindex = given.end;
    }

    void addarea(double grayscale, const std::vector<const char*>& names) {
        ShadedArea& a = d.areas[++d.nareas];
        a = ShadedArea{};
        a.grayscale = grayscale;
        for (const char* n : names) settext(a.linenames[++a.nnames], n);
    }

    // Trace the areas and paint them; the screen it wrote, and the drawing
    // and the log.
    std::string paint() {
        MemorySink sink;
        screen = testsupport::capturescreen([&] {
            EpsCanvas canvas(sink);
            paintareas(d, pagemap(d), traceareas(run, d), canvas);
        });
        closefiles();
        eps = sink.kept;
        log = testsupport::readfile("log.txt");
        return eps;
    }

    // The drawing as lines, path lines condensed to their data points.
    Lines drawing() const {
        Lines out;
        size_t start = 0;
        while (start < eps.size()) {
            size_t nl = eps.find('\n', start);
            if (nl == std::string::npos) nl = eps.size();
            std::string line = eps.substr(start, nl - start);
            start = nl + 1;
            size_t brace = line.find("  %  {");
            if (brace != std::string::npos) {
                bool move = line.find(" moveto ") != std::string::npos;
                size_t close = line.find('}', brace);
                std::string item = std::string(move ? "M " : "L ") +
                                   line.substr(brace + 6, close - brace - 6);
                std::string name = line.substr(close + 3);
                if (!name.empty()) item += " " + name;
                line = item;
            }
            out.push_back(line);
        }
        return out;
    }

    // The path lines only, for one area drawn alone.
    Lines path() const {
        Lines out;
        for (const std::string& l : drawing())
            if (l.rfind("M ", 0) == 0 || l.rfind("L ", 0) == 0) out.push_back(l);
        return out;
    }

    void expectghostscript() const {
        testsupport::writefile("areas.eps", eps);
        EXPECT_EQ(testsupport::ghostscript("areas.eps"), "") << eps;
    }

    std::unique_ptr<::Run> fresh = testsupport::freshrun();
    ::Run& run = *fresh;
    Diagram d = testsupport::freshdiagram();
    std::string dir, screen, eps, log;
};

TEST_F(Areas, NoAreasStillEndWithSetgray) {
    EXPECT_EQ(paint(), "\n0 setgray\n\n");
    EXPECT_EQ(screen, "");
    expectghostscript();
}

// A whole area drawn byte for byte: colour line, path, fill, setgray.
TEST_F(Areas, SingleLineThroughOneCornerByteForByte) {
    addline({"u1", {{3, 0}, {2, 2}, {0, 4}}, -1, -2});
    addarea(0.5, {"u1"});
    EXPECT_EQ(paint(),
              "\n0.50 0.50 0.50 setrgbcolor  % for area 1\n"
              "188.00 150.00 moveto  %  {3.000,0}  u1\n"
              "142.00 242.00 lineto  %  {2.000,2.000}  \n"
              "50.00 334.00 lineto  %  {0,4.000}  \n"
              "50.00 150.00 lineto  %  {0,0}  \n"
              "188.00 150.00 lineto  %  {3.000,0}  \n"
              "fill\n"
              "\n0 setgray\n\n");
    EXPECT_EQ(screen, "");
    expectghostscript();
}

// One line closed along the border: the corners between its two edges,
// the side of opposite edges chosen by the mean of its end points.
TEST(AreasSingleLine, ClosedAlongTheBorder) {
    struct Case {
        const char* what;
        LineData line;
        Lines path;
    };
    const std::vector<Case> cases = {
        {"bottom to left: one corner",
         {"u1", {{3, 0}, {0, 4}}, -1, -2},
         {"M 3.000,0 u1", "L 0,4.000", "L 0,0", "L 3.000,0"}},
        {"left to top: one corner",
         {"u1", {{0, 6}, {4, 10}}, -2, -3},
         {"M 0,6.000 u1", "L 4.000,10.000", "L 0,10.000", "L 0,6.000"}},
        {"top to right: one corner",
         {"u1", {{6, 10}, {10, 6}}, -3, -4},
         {"M 6.000,10.000 u1", "L 10.000,6.000", "L 10.000,10.000", "L 6.000,10.000"}},
        {"right to bottom: one corner",
         {"u1", {{10, 3}, {7, 0}}, -4, -1},
         {"M 10.000,3.000 u1", "L 7.000,0", "L 10.000,0", "L 10.000,3.000"}},
        {"bottom to top, mean x left of centre: two corners on the left",
         {"u1", {{2, 0}, {3, 10}}, -1, -3},
         {"M 2.000,0 u1", "L 3.000,10.000", "L 0,10.000", "L 0,0", "L 2.000,0"}},
        {"bottom to top, mean x at the centre: by the right",
         {"u1", {{4, 0}, {6, 10}}, -1, -3},
         {"M 4.000,0 u1", "L 6.000,10.000", "L 10.000,10.000", "L 10.000,0", "L 4.000,0"}},
        {"top to bottom, mean x right of centre: by the right",
         {"u1", {{7, 10}, {8, 0}}, -3, -1},
         {"M 7.000,10.000 u1", "L 8.000,0", "L 10.000,0", "L 10.000,10.000", "L 7.000,10.000"}},
        {"left to right, mean y below centre: by the bottom",
         {"u1", {{0, 3}, {10, 4}}, -2, -4},
         {"M 0,3.000 u1", "L 10.000,4.000", "L 10.000,0", "L 0,0", "L 0,3.000"}},
        {"right to left, mean y above centre: by the top",
         {"u1", {{10, 9}, {0, 8}}, -4, -2},
         {"M 10.000,9.000 u1", "L 0,8.000", "L 0,10.000", "L 10.000,10.000", "L 10.000,9.000"}},
        {"left to right, mean y at the centre: by the bottom",
         {"u1", {{0, 4}, {10, 6}}, -2, -4},
         {"M 0,4.000 u1", "L 10.000,6.000", "L 10.000,0", "L 0,0", "L 0,4.000"}},
        {"both ends on one edge: straight back",
         {"u1", {{2, 0}, {5, 5}, {8, 0}}, -1, -1},
         {"M 2.000,0 u1", "L 5.000,5.000", "L 8.000,0", "L 2.000,0"}},
        {"a point and an edge: straight back",
         {"u1", {{2, 0}, {5, 5}}, -1, 3},
         {"M 2.000,0 u1", "L 5.000,5.000", "L 2.000,0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct Fresh : Areas {
            void TestBody() override {}
        } t;
        t.SetUp();
        t.addline(c.line);
        t.addarea(0.3, {"u1"});
        t.paint();
        EXPECT_EQ(t.path(), c.path);
        t.expectghostscript();
        t.TearDown();
    }
}

// One line closed along the border with an edge word: the other way round
// where the usual way misses the named edge, the usual way where it runs
// along it already.
TEST(AreasSingleLine, AnEdgeWordTurnsTheWayRound) {
    struct Case {
        const char* what;
        LineData line;
        int16_t edge;
        Lines path;
    };
    const std::vector<Case> cases = {
        {"bottom to left, top: round the three far corners",
         {"u1", {{3, 0}, {0, 4}}, -1, -2}, areaedgetop,
         {"M 3.000,0 u1", "L 0,4.000", "L 0,10.000", "L 10.000,10.000", "L 10.000,0", "L 3.000,0"}},
        {"bottom to left, left: touched already",
         {"u1", {{3, 0}, {0, 4}}, -1, -2}, areaedgeleft,
         {"M 3.000,0 u1", "L 0,4.000", "L 0,0", "L 3.000,0"}},
        {"left to right by the bottom, top: by the top",
         {"u1", {{0, 3}, {10, 4}}, -2, -4}, areaedgetop,
         {"M 0,3.000 u1", "L 10.000,4.000", "L 10.000,10.000", "L 0,10.000", "L 0,3.000"}},
        {"right to left by the top, bottom: by the bottom",
         {"u1", {{10, 9}, {0, 8}}, -4, -2}, areaedgebottom,
         {"M 10.000,9.000 u1", "L 0,8.000", "L 0,0", "L 10.000,0", "L 10.000,9.000"}},
        {"bottom to top by the left, right: by the right",
         {"u1", {{2, 0}, {3, 10}}, -1, -3}, areaedgeright,
         {"M 2.000,0 u1", "L 3.000,10.000", "L 10.000,10.000", "L 10.000,0", "L 2.000,0"}},
        {"a dome on the bottom edge, top: round all four corners",
         {"u1", {{2, 0}, {5, 5}, {8, 0}}, -1, -1}, areaedgetop,
         {"M 2.000,0 u1", "L 5.000,5.000", "L 8.000,0", "L 10.000,0", "L 10.000,10.000", "L 0,10.000", "L 0,0",
          "L 2.000,0"}},
        {"a dome traced the other way, top: all four corners the other way",
         {"u1", {{8, 0}, {5, 5}, {2, 0}}, -1, -1}, areaedgetop,
         {"M 8.000,0 u1", "L 5.000,5.000", "L 2.000,0", "L 0,0", "L 0,10.000", "L 10.000,10.000", "L 10.000,0",
          "L 8.000,0"}},
        {"a point and an edge: no join along the border, the word unused",
         {"u1", {{2, 0}, {5, 5}}, -1, 3}, areaedgetop,
         {"M 2.000,0 u1", "L 5.000,5.000", "L 2.000,0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct Fresh : Areas {
            void TestBody() override {}
        } t;
        t.SetUp();
        t.addline(c.line);
        t.addarea(0.3, {"u1"});
        t.d.areas[1].edge = c.edge;
        t.paint();
        EXPECT_EQ(t.path(), c.path);
        t.expectghostscript();
        t.TearDown();
    }
}

// Runs a table of areas, each drawn alone in a fresh drawing.
struct BoundaryCase {
    const char* what;
    std::vector<LineData> lines;
    Lines path;
    std::string warning;  // the screen: empty, or the warning line
};

void runboundaries(const std::vector<BoundaryCase>& cases) {
    for (const BoundaryCase& c : cases) {
        SCOPED_TRACE(c.what);
        struct Fresh : Areas {
            void TestBody() override {}
        } t;
        t.SetUp();
        std::vector<const char*> names;
        for (const LineData& l : c.lines) {
            t.addline(l);
            names.push_back(l.name);
        }
        t.addarea(0.3, names);
        t.paint();
        EXPECT_EQ(t.path(), c.path);
        EXPECT_EQ(t.screen, c.warning);
        EXPECT_EQ(t.log, c.warning);
        Lines all = t.drawing();
        ASSERT_GE(all.size(), 5u);
        EXPECT_EQ(all[1], "0.30 0.30 0.30 setrgbcolor  % for area 1");
        EXPECT_EQ(all[all.size() - 4], "fill");  // also after a warning
        t.expectghostscript();
        t.TearDown();
    }
}

TEST(AreasTwoLines, JoinedAtAPoint) {
    runboundaries({
        {"bottom edge to P, P to left edge: forward, forward, one corner",
         {{"u1", {{4, 0}, {5, 5}}, -1, 1}, {"u2", {{5, 5}, {0, 6}}, 1, -2}},
         {"M 4.000,0 u1", "L 5.000,5.000 u1", "L 0,6.000 u2", "L 0,0", "L 4.000,0"},
         ""},
        {"both end at P: forward, backward",
         {{"u1", {{4, 0}, {5, 5}}, -1, 1}, {"u2", {{0, 6}, {5, 5}}, -2, 1}},
         {"M 4.000,0 u1", "L 5.000,5.000 u1", "L 0,6.000 u2", "L 0,0", "L 4.000,0"},
         ""},
        {"both begin at P: backward, forward",
         {{"u1", {{5, 5}, {4, 0}}, 1, -1}, {"u2", {{5, 5}, {0, 6}}, 1, -2}},
         {"M 4.000,0 u1", "L 5.000,5.000 u1", "L 0,6.000 u2", "L 0,0", "L 4.000,0"},
         ""},
        {"A begins where B ends: backward, backward",
         {{"u1", {{5, 5}, {4, 0}}, 1, -1}, {"u2", {{0, 6}, {5, 5}}, -2, 1}},
         {"M 4.000,0 u1", "L 5.000,5.000 u1", "L 0,6.000 u2", "L 0,0", "L 4.000,0"},
         ""},
        {"two points shared: closed by fill",
         {{"u1", {{2, 2}, {5, 8}, {8, 2}}, 1, 2}, {"u2", {{2, 2}, {8, 2}}, 1, 2}},
         {"M 2.000,2.000 u1", "L 5.000,8.000 u1", "L 8.000,2.000", "L 2.000,2.000 u2",
          "L 2.000,2.000"},
         ""},
        {"equal edge codes are not a shared point: backward, backward",
         {{"u1", {{5, 5}, {3, 0}}, 0, -1}, {"u2", {{6, 0}, {5, 5}}, -1, 0}},
         {"M 3.000,0 u1", "L 5.000,5.000 u1", "L 6.000,0 u2", "L 3.000,0"},
         ""},
        {"two data ends are not a shared point either",
         {{"u1", {{1, 1}, {3, 3}}, 0, 0}, {"u2", {{3, 3}, {5, 1}}, 0, 0}},
         {"M 3.000,3.000 u1", "L 1.000,1.000 u1", "L 3.000,3.000 u2", "L 3.000,3.000"},
         ""},
    });
}

TEST(AreasTwoLines, EdgeToEdge) {
    runboundaries({
        {"A ends on the edge where B begins: B forward",
         {{"u1", {{0, 2}, {10, 3}}, -2, -4}, {"u2", {{10, 7}, {0, 8}}, -4, -2}},
         {"M 0,2.000 u1", "L 10.000,3.000", "L 10.000,7.000", "L 0,8.000 u2", "L 0,2.000"},
         ""},
        {"both end on one edge: B backward",
         {{"u1", {{2, 0}, {2, 10}}, -1, -3}, {"u2", {{8, 0}, {8, 10}}, -1, -3}},
         {"M 2.000,0 u1", "L 2.000,10.000", "L 8.000,10.000", "L 8.000,0 u2", "L 2.000,0"},
         ""},
        {"no edge shared, B's end nearer: backward, round two corners",
         {{"u1", {{0, 5}, {5, 0}}, -2, -1}, {"u2", {{5, 10}, {10, 5}}, -3, -4}},
         {"M 0,5.000 u1", "L 5.000,0", "L 10.000,0", "L 10.000,5.000", "L 5.000,10.000 u2",
          "L 0,10.000", "L 0,5.000"},
         ""},
        {"no edge shared, B's begin nearer: forward",
         {{"u1", {{0, 5}, {5, 0}}, -2, -1}, {"u2", {{10, 5}, {5, 10}}, -4, -3}},
         {"M 0,5.000 u1", "L 5.000,0", "L 10.000,0", "L 10.000,5.000", "L 5.000,10.000 u2",
          "L 0,10.000", "L 0,5.000"},
         ""},
    });
}

TEST(AreasWalk, ThreeOrMoreLines) {
    runboundaries({
        {"three lines joined by points",
         {{"u1", {{1, 1}, {5, 1}}, 1, 2}, {"u2", {{3, 5}, {5, 1}}, 3, 2}, {"u3", {{3, 5}, {1, 1}}, 3, 1}},
         {"M 1.000,1.000 u1", "L 5.000,1.000", "L 3.000,5.000 u2", "L 1.000,1.000 u3"},
         ""},
        {"closing edge join round two corners",
         {{"u1", {{5, 0}, {5, 5}}, -1, 1}, {"u2", {{5, 5}, {2, 7}}, 1, 2}, {"u3", {{2, 7}, {2, 10}}, 2, -3}},
         {"M 5.000,0 u1", "L 5.000,5.000", "L 2.000,7.000 u2", "L 2.000,10.000 u3", "L 0,10.000",
          "L 0,0", "L 5.000,0"},
         ""},
        {"closing edge join to a first line traced backward",
         {{"u1", {{5, 0}, {5, 10}}, -1, -3}, {"u2", {{8, 5}, {8, 0}}, 1, -1}, {"u3", {{8, 5}, {8, 10}}, 1, -3}},
         {"M 5.000,10.000 u1", "L 5.000,0", "L 8.000,0", "L 8.000,5.000 u2", "L 8.000,10.000 u3",
          "L 5.000,10.000"},
         ""},
        {"edge joins inside the walk",
         {{"u1", {{2, 2}, {6, 2}}, 1, 2},
          {"u2", {{6, 2}, {6, 0}}, 2, -1},
          {"u3", {{8, 0}, {10, 3}}, -1, -4},
          {"u4", {{10, 6}, {2, 2}}, -4, 1}},
         {"M 2.000,2.000 u1", "L 6.000,2.000", "L 6.000,0 u2", "L 8.000,0", "L 10.000,3.000 u3",
          "L 10.000,6.000", "L 2.000,2.000 u4"},
         ""},
        {"start with an edge join round a corner (A forward, B by distance)",
         {{"u1", {{5, 5}, {5, 0}}, 1, -1}, {"u2", {{10, 2}, {7, 10}}, -4, -3}, {"u3", {{3, 10}, {5, 5}}, -3, 1}},
         {"M 5.000,5.000 u1", "L 5.000,0", "L 10.000,0", "L 10.000,2.000", "L 7.000,10.000 u2",
          "L 3.000,10.000", "L 5.000,5.000 u3"},
         ""},
        {"start with A backward and an edge join",
         {{"u1", {{5, 0}, {5, 5}}, -1, 1}, {"u2", {{10, 2}, {7, 10}}, -4, -3}, {"u3", {{3, 10}, {5, 5}}, -3, 1}},
         {"M 5.000,5.000 u1", "L 5.000,0", "L 10.000,0", "L 10.000,2.000", "L 7.000,10.000 u2",
          "L 3.000,10.000", "L 5.000,5.000 u3"},
         ""},
        {"start with B backward, A towards B's end",
         {{"u1", {{5, 0}, {5, 10}}, -1, -3}, {"u2", {{8, 5}, {8, 10}}, 1, -3}, {"u3", {{8, 5}, {8, 0}}, 1, -1}},
         {"M 5.000,0 u1", "L 5.000,10.000", "L 8.000,10.000", "L 8.000,5.000 u2", "L 8.000,0 u3",
          "L 5.000,0"},
         ""},
        {"start with B forward, A backward by distance; next line from a point",
         {{"u1", {{8, 10}, {10, 8}}, -3, -4}, {"u2", {{0, 8}, {5, 5}}, -2, 1}, {"u3", {{5, 5}, {10, 8}}, 1, -4}},
         {"M 10.000,8.000 u1", "L 8.000,10.000", "L 0,10.000", "L 0,8.000", "L 5.000,5.000 u2",
          "L 10.000,8.000 u3", "L 10.000,8.000"},
         ""},
        {"start with B backward: A's begin is tried first",
         {{"u1", {{2, 2}, {4, 2}}, 0, 0}, {"u2", {{6, 6}, {5, 3}}, 1, 0}, {"u3", {{6, 6}, {2, 2}}, 1, 0}},
         {"M 4.000,2.000 u1", "L 2.000,2.000", "L 5.000,3.000", "L 6.000,6.000 u2", "L 2.000,2.000 u3"},
         ""},
        {"start with A forward: B's begin is tried first",
         {{"u1", {{3, 6}, {2, 2}}, 1, 0}, {"u2", {{2, 2}, {5, 2}}, 0, 0}, {"u3", {{5, 2}, {3, 6}}, 0, 1}},
         {"M 3.000,6.000 u1", "L 2.000,2.000", "L 2.000,2.000", "L 5.000,2.000 u2", "L 5.000,2.000",
          "L 3.000,6.000 u3"},
         ""},
        {"all points, A begins where B ends: both backward",
         {{"u1", {{2, 2}, {6, 2}}, 1, 2}, {"u2", {{4, 5}, {2, 2}}, 3, 1}, {"u3", {{6, 2}, {4, 5}}, 2, 3}},
         {"M 6.000,2.000 u1", "L 2.000,2.000", "L 4.000,5.000 u2", "L 6.000,2.000 u3"},
         ""},
        {"from an edge to a line that only begins at a point: backward",
         {{"u1", {{2, 2}, {6, 2}}, 1, 2},
          {"u2", {{6, 2}, {6, 0}}, 2, -1},
          {"u3", {{4, 5}, {8, 0}}, 3, -1},
          {"u4", {{4, 5}, {2, 2}}, 3, 1}},
         {"M 2.000,2.000 u1", "L 6.000,2.000", "L 6.000,0 u2", "L 8.000,0", "L 4.000,5.000 u3",
          "L 2.000,2.000 u4"},
         ""},
        {"a data end closing the walk gets no join",
         {{"u1", {{1, 1}, {5, 1}}, 1, 2}, {"u2", {{5, 1}, {4, 4}}, 2, 3}, {"u3", {{4, 4}, {1, 2}}, 3, 0}},
         {"M 1.000,1.000 u1", "L 5.000,1.000", "L 4.000,4.000 u2", "L 1.000,2.000 u3"},
         ""},
    });
}

// Every start code, and every walk code: the warning on the screen and in
// the log, the path written so far, and still the fill.
TEST(AreasWalk, Warnings) {
    const Points p = {{1, 1}, {2, 2}};
    const Points q = {{2, 2}, {3, 1}};
    auto start = [](int code) {
        std::string text = "\xA5 something funny with area 1: can't get started (";
        text += std::to_string(code);
        text += ")\n";
        return text;
    };
    auto walk = [](int code) {
        std::string text = "\xA5 something funny (";
        text += std::to_string(code);
        text += ") with area 1 looking at line u3\n";
        return text;
    };
    const Lines firstline = {"M 1.000,1.000 u1", "L 2.000,2.000"};
    runboundaries({
        {"start 1", {{"u1", p, 1, 2}, {"u2", q, 3, 4}, {"u3", p, 0, 0}}, {}, start(1)},
        {"start 2", {{"u1", p, 1, 2}, {"u2", q, 3, 0}, {"u3", p, 0, 0}}, {}, start(2)},
        {"start 3", {{"u1", p, 1, 2}, {"u2", q, 0, 3}, {"u3", p, 0, 0}}, {}, start(3)},
        {"start 4", {{"u1", p, 1, 0}, {"u2", q, 3, 4}, {"u3", p, 0, 0}}, {}, start(4)},
        {"start 5", {{"u1", p, 0, 1}, {"u2", q, 3, 4}, {"u3", p, 0, 0}}, {}, start(5)},
        {"start 6", {{"u1", p, 0, -1}, {"u2", q, 3, 4}, {"u3", p, 0, 0}}, {}, start(6)},
        {"start 7", {{"u1", p, 1, 2}, {"u2", q, 0, -1}, {"u3", p, 0, 0}}, {}, start(7)},
        {"start 8", {{"u1", p, -1, 0}, {"u2", q, -2, -3}, {"u3", p, 0, 0}}, {}, start(8)},
        {"walk 1", {{"u1", p, 1, 2}, {"u2", q, 2, 3}, {"u3", p, 4, 5}}, firstline, walk(1)},
        {"walk 2", {{"u1", p, 1, 2}, {"u2", q, 2, 3}, {"u3", p, 4, 0}}, firstline, walk(2)},
        {"walk 3", {{"u1", p, 1, 2}, {"u2", q, 2, 3}, {"u3", p, 0, 4}}, firstline, walk(3)},
        {"walk 4", {{"u1", p, 1, 2}, {"u2", q, 2, 3}, {"u3", p, 0, -1}}, firstline, walk(4)},
        {"walk 5", {{"u1", p, 1, 2}, {"u2", q, 2, -1}, {"u3", p, 4, 5}}, firstline, walk(5)},
    });
}

TEST_F(Areas, LinesOutsideTheWindowAreDropped) {
    addline({"u1", {}, 1, 2});             // outside the window: no points
    addline({"u2", {{2, 0}, {0, 2}}, -1, -2});
    addline({"u3", {}, 0, 0});
    addline({"u4", {{8, 0}, {10, 2}}, -1, -4});
    addarea(0.5, {"u1", "u3"});            // nothing visible: nothing written
    addarea(0.5, {"u1", "u2", "u3", "u4"});  // two visible: the two-line rules
    addarea(0.5, {"u3"});
    paint();
    EXPECT_EQ(d.areas[1].nnames, 0);
    EXPECT_EQ(d.areas[2].nnames, 2);
    EXPECT_EQ(d.areas[2].lineindex[1], 2);
    EXPECT_EQ(d.areas[2].lineindex[2], 4);
    EXPECT_TRUE(istext(d.areas[2].linenames[3], "u3"));  // the names stay
    // Edge to edge, u4 backward, round the bottom corners.
    EXPECT_EQ(drawing(), (Lines{"", "0.50 0.50 0.50 setrgbcolor  % for area 2", "M 2.000,0 u2",
                                "L 0,2.000", "L 0,0", "L 10.000,0", "L 10.000,2.000", "L 8.000,0 u4",
                                "L 2.000,0", "fill", "", "0 setgray", ""}));
    expectghostscript();
}

TEST_F(Areas, ColoursMixedAndClamped) {
    addline({"u1", {{2, 0}, {0, 2}}, -1, -2});
    addarea(1.5, {"u1"});
    addarea(-0.5, {"u1"});
    addarea(1, {"u1"});
    addarea(0.25, {"u1"});
    addarea(std::numeric_limits<double>::infinity(), {"u1"});  // beyond the 8-byte range
    d.options.darkcolour[0] = 255;  // a red dark colour
    d.options.darkcolour[1] = 0;
    d.options.darkcolour[2] = 51;
    paint();
    Lines colours;
    for (const std::string& l : drawing())
        if (l.find("setrgbcolor") != std::string::npos) colours.push_back(l);
    EXPECT_EQ(colours, (Lines{
                           "1.00 1.00 1.00 setrgbcolor  % for area 1",
                           "1.00 0 0 setrgbcolor  % for area 2",
                           "1.00 1.00 1.00 setrgbcolor  % for area 3",
                           "1.00 0.25 0.40 setrgbcolor  % for area 4",
                           "1.00 1.00 1.00 setrgbcolor  % for area 5",
                       }));
    expectghostscript();
}

TEST(AreasWhichline, FirstMatchOrTheRunEnds) {
    struct Fresh : Areas {
        void TestBody() override {}
    } t;
    t.SetUp();
    t.addline({"u1", {{1, 1}, {2, 2}}, 0, 0});
    t.addline({"u2", {{1, 1}, {2, 2}}, 0, 0});
    t.addline({"u1", {{1, 1}, {2, 2}}, 0, 0});
    EXPECT_EQ(whichline(t.run, t.d, word("u1")), 1);
    EXPECT_EQ(whichline(t.run, t.d, word("u2")), 2);
    EXPECT_TRUE(testsupport::endsrun([&] { whichline(t.run, t.d, word("u9")); }, 1,
                " BOMBED in which line : not recognised: u9"));
    t.TearDown();
}

TEST(AreasEnddistance, MeasuredInWindowSizes) {
    const PlotWindow w = {0, 10, 100, 120};
    UnivariantLine* a = new UnivariantLine{};
    UnivariantLine* b = new UnivariantLine{};
    long double points[4][4] = {};
    a->x = points[0], a->y = points[1], b->x = points[2], b->y = points[3];
    a->npts = 2;
    a->x[1] = 0, a->y[1] = 100, a->x[2] = 3, a->y[2] = 104;
    b->npts = 3;
    b->x[1] = 6, b->y[1] = 108, b->x[3] = 3, b->y[3] = 124;
    EXPECT_EQ(enddistance(w, 1, 1, *a, *b), std::sqrt(0.6L * 0.6L + 0.4L * 0.4L));
    EXPECT_EQ(enddistance(w, 2, 2, *a, *b), 1.0L);
    EXPECT_EQ(enddistance(w, 2, 2, *a, *b), enddistance(w, 2, 2, *b, *a));
    delete a;
    delete b;
}

}  // namespace
