// windowcuts_test.cpp - lines cut at the window 0..10 by 0..10: entries,
// exits, corners, edge codes, the runs that end over a shape, and lines
// that grow as far as cutting can make them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "geometry/assembly.h"
#include "geometry/linepoints.h"
#include "geometry/windowcuts.h"
#include "run/failure.h"
#include "support/capture.h"
#include "support/model.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

using namespace testsupport;

std::string bombtext(const char* where, const std::string& what) {
    return std::string(" BOMBED in ") + where + " : " + what + "\n";
}

struct CutCase {
    const char* what;
    Pts pts;
    int16_t begincode, endcode;  // as assembled
    Pts expected;
    int16_t newbegin, newend;
};

TEST(Windowcuts, KeepsTheStretchInsideTheWindow) {
    auto run = freshrun();
    const CutCase cases[] = {
        {"wholly inside", {{2, 2}, {5, 5}, {8, 3}}, 0, 0, {{2, 2}, {5, 5}, {8, 3}}, 0, 0},
        {"free ends near an edge are put on it", {{1e-8L, 5}, {5, 5}, {5, 10 - 5e-8L}}, 0, 0,
         {{1e-8L, 5}, {5, 5}, {5, 10 - 5e-8L}}, -2, -3},
        {"ends at points stay", {{0, 5}, {5, 5}, {5, 1e-8L}}, 3, 4, {{0, 5}, {5, 5}, {5, 1e-8L}}, 3, 4},
        {"a free end on a corner: bottom before left", {{0, 0}, {5, 5}}, 0, 0, {{0, 0}, {5, 5}}, -1, 0},
        {"starts on an edge and goes in", {{0, 5}, {5, 5}}, 0, 0, {{0, 5}, {5, 5}}, -2, 0},
        {"leaves once", {{5, 5}, {15, 5}}, 1, 2, {{5, 5}, {10, 5}}, 1, -4},
        {"enters once", {{-5, 5}, {5, 5}, {6, 7}}, 1, 2, {{0, 5}, {5, 5}, {6, 7}}, -2, 2},
        {"enters once, vertically", {{5, -5}, {5, 5}}, 0, 0, {{5, 0}, {5, 5}}, -1, 0},
        {"both ends outside: ordered by edge number", {{15, 5}, {-5, 5}}, 1, 2, {{0, 5}, {10, 5}}, -2, -4},
        {"through a corner, as the first cut", {{5, 5}, {6, 6}, {-5, -5}}, 1, 2, {{0, 0}, {0, 0}}, -1, -2},
        {"in, then out through a corner", {{-5, 5}, {5, 5}, {-5, -5}}, 1, 2,
         {{0, 5}, {5, 5}, {0, 0}, {0, 0}}, -2, -2},
        {"out by the bottom, back by the left", {{5, 5}, {5, -5}, {-5, 2}, {5, 2}}, 1, 2,
         {{5, 5}, {5, 0}, {0, 0}, {0, 2}, {5, 2}}, 1, 2},
        {"out by the top, back by the right", {{5, 5}, {5, 15}, {15, 8}, {5, 3}}, 0, 0,
         {{5, 5}, {5, 10}, {10, 10}, {10, 5.5L}, {5, 3}}, 0, 0},
        {"out and back by the same edge", {{5, 5}, {5, -5}, {6, 5}}, 1, 2,
         {{5, 5}, {5, 0}, {5.5L, 0}, {6, 5}}, 1, -1},
        {"out, then across the window", {{5, 5}, {5, 15}, {-5, 12}, {15, 2}}, 0, 0,
         {{5, 5}, {5, 10}, {0, 9.5L}, {10, 4.5L}}, 0, -4},
        {"ends exactly on an edge, then back in", {{5, 5}, {10, 5}, {5, 6}}, 0, 0, {{5, 5}, {10, 5}}, 0, -4},
    };
    for (const CutCase& c : cases) {
        Diagram d = freshdiagram();
        int16_t l = addline(d, "u1", c.pts);
        d.lines[l].beginindex = c.begincode;
        d.lines[l].endindex = c.endcode;
        windowcuts(*run, d, l);
        EXPECT_EQ(pointsof(d, l), c.expected) << c.what;
        EXPECT_EQ(d.lines[l].beginindex, c.newbegin) << c.what;
        EXPECT_EQ(d.lines[l].endindex, c.newend) << c.what;
        EXPECT_FALSE(d.lines[l].outsidewindow) << c.what;
    }
}

TEST(Windowcuts, ALineThatNeverEntersIsNotSeen) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    int16_t l = addline(d, "u1", {{-5, -5}, {-5, 20}, {20, 20}, {20, 10.5L}});
    d.lines[l].beginindex = 3;
    d.lines[l].endindex = 0;
    windowcuts(*run, d, l);
    EXPECT_TRUE(d.lines[l].outsidewindow);
    EXPECT_EQ(d.lines[l].npts, 0);
    EXPECT_EQ(d.lines[l].beginindex, 3);
    EXPECT_EQ(d.lines[l].endindex, 0);
}

TEST(Windowcuts, ShapesThatCannotBeCutEndTheRun) {
    auto run = freshrun();
    struct Case {
        const char* what;
        Pts pts;
        const char* where;
        const char* message;
    };
    const Case cases[] = {
        {"back through the opposite edge", {{5, 5}, {5, -5}, {15, -5}, {15, 15}, {5, 15}, {5, 5}},
         "lines", "wierd line shape in u1"},
        {"one segment through two corners", {{-1, -1}, {11, 11}}, "edge", "too many cuts"},
        {"started inside, back by the same edge, out again", {{5, 5}, {5, -5}, {6, 5}, {6, 15}},
         "lines", "bad cuts of window edge"},
        {"started outside, back by the same edge", {{5, -5}, {5, 5}, {6, -5}, {7, 5}}, "lines",
         "bad cuts of window edge"},
    };
    for (const Case& c : cases) {
        Diagram d = freshdiagram();
        addline(d, "u1", c.pts);
        EXPECT_TRUE(testsupport::endsrun([&] { windowcuts(*run, d, 1); }, exitfailed,
                    bombtext(c.where, c.message)))
            << c.what;
    }
}

// 200 data rows zigzagging across the window from left to right, with
// both limit points beyond the data: 202 points after trimming, and every
// one of the 201 segments cuts two edges.
TEST(Windowcuts, A200RowLineCrossingOnEverySegment) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    addpoint(d, "ib", -1, 0.2L);
    addpoint(d, "ie", 11, 9.5L);
    Pts data;
    for (int k = 1; k <= maxrows; ++k) data.emplace_back(k % 2 == 1 ? 11 : -1, 0.5L + 0.04L * k);
    int16_t l = addline(d, "u1", data, "ib", "ie");
    assemblelines(*run, d);
    ASSERT_EQ(d.lines[l].npts, 402);
    EXPECT_EQ(d.lines[l].beginindex, -2);
    EXPECT_EQ(d.lines[l].endindex, -4);
    for (int k = 1; k <= 402; ++k) EXPECT_EQ(d.lines[l].x[k], k % 2 == 1 ? 0 : 10) << k;
}

// The longest line that cutting makes when no segment leaves the window
// through a corner: 200 segments across the window, then an entry by a
// neighbouring edge with its corner, at the last segment.
TEST(Windowcuts, TheLongestLineWithoutCornerExits) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    Pts pts;
    for (int k = 1; k <= 200; ++k) pts.emplace_back(k % 2 == 1 ? 11 : -1, 5);
    pts.emplace_back(11, 10.45L);  // beyond the top right, reached across the window
    pts.emplace_back(5, 9);        // in through the top
    int16_t l = addline(d, "u1", pts);
    windowcuts(*run, d, l);
    ASSERT_EQ(d.lines[l].npts, 403);
    EXPECT_EQ(d.lines[l].x[401], 10);  // the corner
    EXPECT_EQ(d.lines[l].y[401], 10);
    EXPECT_EQ(d.lines[l].y[402], 10);  // the entry point
    EXPECT_EQ(d.lines[l].x[403], 5);
    EXPECT_EQ(d.lines[l].beginindex, -2);
    EXPECT_EQ(d.lines[l].endindex, 0);
}

// A line of 202 points that goes in and out through the corner (0, 0) on
// every other segment, coming back alternately by the bottom (with the
// corner) and by the left: 452 points, the most a line that passes every
// check reaches less one.
TEST(Windowcuts, InAndOutThroughACorner) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    const Pts cycle = {{-1, -5}, {5, 1}, {-5, -1}, {1, 5}};
    Pts pts;
    for (int k = 0; k < 202; ++k) pts.push_back(cycle[k % 4]);
    addline(d, "u1", pts);
    windowcuts(*run, d, 1);
    ASSERT_EQ(d.lines[1].npts, 452);
    EXPECT_EQ(d.lines[1].beginindex, -1);
    EXPECT_EQ(d.lines[1].endindex, 0);
    Pts all = pointsof(d, 1);
    Pts tail(all.end() - 5, all.end());
    EXPECT_EQ(tail, (Pts{{0, 0}, {0, 0}, {0, 0}, {4, 0}, {5, 1}}));
}

TEST(Setlinepoint, NothingIsWrittenPastTheCapacity) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    addline(d, "u7", {{1, 1}, {2, 2}});
    setlinepoint(*run, d.lines[1], linecapacity, 3, 4, "lines");
    EXPECT_EQ(d.lines[1].x[linecapacity], 3);
    EXPECT_TRUE(testsupport::endsrun([&] { setlinepoint(*run, d.lines[1], linecapacity + 1, 0, 0, "lines"); }, exitfailed,
                bombtext("lines", "too many points in line u7: max = " + std::to_string(linecapacity))));
}

// The look at each point stands in for the segment-by-segment test only
// where it finds every point strictly inside; there the plain test must
// find no segment passing an edge's level.  Points are drawn on the edges,
// just inside and outside them (one 80-bit step away), far out, and NaN
// and infinities, in lines of 1 to 6 points; each line is also checked
// whole against the plain test by windowcuts's own result.
TEST(Windowcuts, ThePointLookAgreesWithTheSegmentTest) {
    const PlotWindow w = {0, 10, -2, 3};
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    auto below = [](long double v) { return std::nextafter(v, -std::numeric_limits<long double>::infinity()); };
    auto above = [](long double v) { return std::nextafter(v, std::numeric_limits<long double>::infinity()); };
    const std::vector<long double> xs = {0, 10, above(0), below(0), above(10), below(10), 5, -20, 30, inf, -inf, nan};
    const std::vector<long double> ys = {-2, 3, above(-2), below(-2), above(3), below(3), 0.5L, -9, 9, inf, -inf, nan};
    Diagram d = freshdiagram();
    UnivariantLine& l = d.lines[1];
    std::mt19937 pick(31);
    int inside = 0, passing = 0;
    for (int trial = 0; trial < 40000; ++trial) {
        int count = 1 + static_cast<int>(pick() % 6);
        bool central = pick() % 2 == 0;  // half the lines keep to the middle, so that many lie inside
        for (int k = 1; k <= count; ++k) {
            l.x[k] = central ? xs[2 + pick() % 5] : xs[pick() % xs.size()];
            l.y[k] = central ? ys[2 + pick() % 5] : ys[pick() % ys.size()];
        }
        bool plain = passesanedgebysegments(w, l, count);
        if (strictlyinside(w, l, count)) {
            ++inside;
            ASSERT_FALSE(plain) << "trial " << trial;
        }
        passing += plain;
    }
    EXPECT_GT(inside, 2000);  // both answers are met often
    EXPECT_GT(passing, 2000);
}

// The copy taken before a line is rewritten holds the same values, bit for
// bit, NaN and negative zero included.
TEST(Copypoints, KeepsEveryBit) {
    Diagram d = freshdiagram();
    addline(d, "u1", {{1, -0.0L}, {std::numeric_limits<long double>::quiet_NaN(), 3}, {1e-4000L, -1e4000L}});
    PointCopy copy;
    copypoints(d.lines[1], copy);
    ASSERT_EQ(copy.n, 3);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(std::memcmp(&copy.x[k], &d.lines[1].x[k], 10), 0) << k;
        EXPECT_EQ(std::memcmp(&copy.y[k], &d.lines[1].y[k], 10), 0) << k;
    }
}

}  // namespace
