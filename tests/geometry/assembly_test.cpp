// assembly_test.cpp - limits resolved, lines placed by x or by y, trimmed to
// their limit points, and the runs that end over a limit.
#include <gtest/gtest.h>

#include <string>

#include "geometry/assembly.h"
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

TEST(Whichpoint, FirstMatchOrZeroForTheLimitWords) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    addpoint(d, "i1", 0, 0);
    addpoint(d, "i2", 1, 1);
    addpoint(d, "i2", 2, 2);
    EXPECT_EQ(whichpoint(*run, d, maketext<20>("i2")), 2);
    EXPECT_EQ(whichpoint(*run, d, maketext<20>("begin")), 0);
    EXPECT_EQ(whichpoint(*run, d, maketext<20>("end")), 0);
    EXPECT_TRUE(testsupport::endsrun([&] { whichpoint(*run, d, maketext<20>("I1")); }, exitfailed, bombtext("which point", "not recognised: I1")));
}

TEST(Monotone, DecidesWhetherXEverTurnsBack) {
    struct Case {
        const char* what;
        Pts pts;
        bool monotone;
    };
    const Case cases[] = {
        {"two points, vertical", {{1, 0}, {1, 5}}, true},
        {"one point", {{1, 0}}, true},
        {"three points, all x equal", {{1, 0}, {1, 5}, {1, 9}}, false},
        {"rising with equal neighbours", {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}, true},
        {"falling", {{5, 0}, {4, 1}, {4, 2}, {1, 3}}, true},
        {"rising, then back", {{0, 0}, {1, 1}, {2, 2}, {1.5L, 3}}, false},
        {"falling, then up", {{3, 0}, {2, 1}, {2.5L, 2}}, false},
        {"first change at the last point", {{1, 0}, {1, 1}, {1, 2}, {0, 3}}, true},
    };
    for (const Case& c : cases) {
        Diagram d = freshdiagram();
        int16_t l = addline(d, "u1", c.pts);
        d.lines[l].xmonotone = !c.monotone;
        monotone(d, l);
        EXPECT_EQ(d.lines[l].xmonotone, c.monotone) << c.what;
    }
}

TEST(Pointposition, FirstGapThatHoldsThePoint) {
    struct Case {
        const char* what;
        Pts pts;
        bool xmonotone;
        long double px, py;
        int position;
    };
    const Case cases[] = {
        {"between 1 and 2 by x", {{1, 0}, {2, 0}, {3, 0}}, true, 1.5L, 9, 1},
        {"equal to an inner value: the first gap", {{1, 0}, {2, 0}, {3, 0}}, true, 2, 9, 1},
        {"equal to the first value", {{1, 0}, {2, 0}, {3, 0}}, true, 1, 9, 1},
        {"before a rising line", {{1, 0}, {2, 0}, {3, 0}}, true, 0, 9, 0},
        {"after a rising line", {{1, 0}, {2, 0}, {3, 0}}, true, 4, 9, 3},
        {"beyond the start of a falling line", {{3, 0}, {2, 0}, {1, 0}}, true, 4, 9, 0},
        {"beyond the end of a falling line", {{3, 0}, {2, 0}, {1, 0}}, true, 0, 9, 3},
        {"placed by y", {{0, 0}, {0, 2}, {0, 4}}, false, 99, 3, 2},
        {"by y, not monotone: the first gap wins", {{0, 0}, {1, 4}, {2, 0}, {3, 4}}, false, 9, 1, 1},
        {"start equals end, above both", {{0, 0}, {1, 4}, {2, 0}}, false, 9, 5, 0},
        {"start equals end, below both", {{0, 0}, {1, 4}, {2, 0}}, false, 9, -1, 3},
        {"one data point", {{5, 5}}, true, 0, 0, 1},
    };
    for (const Case& c : cases) {
        Diagram d = freshdiagram();
        int16_t p = addpoint(d, "ip", c.px, c.py);
        int16_t l = addline(d, "u1", c.pts);
        d.lines[l].xmonotone = c.xmonotone;
        EXPECT_EQ(pointposition(d, l, p), c.position) << c.what;
    }
}

// A line x = 1, 2, 3 (y = 10, 20, 30) with limits, monotone in x.
struct TrimCase {
    const char* what;
    const char* beginname;
    const char* endname;
    Pts expected;
    const char* newbegin;  // limit names after trimming
    const char* newend;
};

TEST(Addpoints, TrimsToTheLimitPoints) {
    auto run = freshrun();
    const TrimCase cases[] = {
        {"data ends only", "begin", "end", {{1, 10}, {2, 20}, {3, 30}}, "begin", "end"},
        {"begin at a data value", "iat2", "end", {{2, -1}, {2, 20}, {3, 30}}, "iat2", "end"},
        {"end at a data value", "begin", "iat2", {{1, 10}, {2, -1}}, "begin", "iat2"},
        {"both points, in order", "iat1.5", "iat2.5", {{1.5L, -1}, {2, 20}, {2.5L, -1}}, "iat1.5", "iat2.5"},
        {"both points, exchanged", "iat2.5", "iat1.5", {{1.5L, -1}, {2, 20}, {2.5L, -1}}, "iat1.5", "iat2.5"},
        {"both in the same gap", "iat2.5", "iat2.2", {{2.5L, -1}, {2.2L, -1}}, "iat2.5", "iat2.2"},
        {"both beyond the ends", "iat0", "iat4", {{0, -1}, {1, 10}, {2, 20}, {3, 30}, {4, -1}}, "iat0", "iat4"},
        {"both before the first point", "iat0", "iat-1", {{0, -1}, {-1, -1}}, "iat0", "iat-1"},
        {"one point twice", "iat2.5", "iat2.5", {{2.5L, -1}, {2.5L, -1}}, "iat2.5", "iat2.5"},
        {"\"begin\" as the end limit", "iat2.5", "begin", {{1, 10}, {2, 20}, {2.5L, -1}}, "begin", "iat2.5"},
        {"\"end\" as the begin limit", "end", "iat1.5", {{1.5L, -1}, {2, 20}, {3, 30}}, "iat1.5", "end"},
        {"begin before the data", "iat0", "end", {{0, -1}, {1, 10}, {2, 20}, {3, 30}}, "iat0", "end"},
    };
    for (const TrimCase& c : cases) {
        Diagram d = freshdiagram();
        for (const char* name : {"iat-1", "iat0", "iat1.5", "iat2", "iat2.2", "iat2.5", "iat4"}) {
            addpoint(d, name, std::stold(name + 3), -1);
        }
        int16_t l = addline(d, "u1", {{1, 10}, {2, 20}, {3, 30}}, c.beginname, c.endname);
        monotone(d, l);
        d.lines[l].beginindex = whichpoint(*run, d, d.lines[l].beginname);
        d.lines[l].endindex = whichpoint(*run, d, d.lines[l].endname);
        addpoints(*run, d, l);
        EXPECT_EQ(pointsof(d, l), c.expected) << c.what;
        EXPECT_EQ(str(d.lines[l].beginname), c.newbegin) << c.what;
        EXPECT_EQ(str(d.lines[l].endname), c.newend) << c.what;
        EXPECT_EQ(d.lines[l].beginindex, whichpoint(*run, d, d.lines[l].beginname)) << c.what;
        EXPECT_EQ(d.lines[l].endindex, whichpoint(*run, d, d.lines[l].endname)) << c.what;
    }
}

TEST(Addpoints, AWordOnTheWrongSideOfItsPointEndsTheRun) {
    auto run = freshrun();
    struct Case {
        const char* beginname;
        const char* endname;
        const char* message;
    };
    const Case cases[] = {
        {"iat4", "end", "\"end\" should be \"begin\" for u1?"},
        {"end", "iat4", "\"end\" should be \"begin\" for u1?"},
        {"begin", "iat0", "\"begin\" should be \"end\" for u1?"},
        {"iat0", "begin", "\"begin\" should be \"end\" for u1?"},
    };
    for (const Case& c : cases) {
        Diagram d = freshdiagram();
        addpoint(d, "iat0", 0, 0);
        addpoint(d, "iat4", 4, 0);
        addline(d, "u1", {{1, 10}, {2, 20}, {3, 30}}, c.beginname, c.endname);
        EXPECT_TRUE(testsupport::endsrun([&] { assemblelines(*run, d); }, exitfailed,
                    bombtext("add points", c.message)))
            << c.beginname << " " << c.endname;
    }
}

TEST(Assemblelines, ConnectLinesRunStraightBetweenTheirPoints) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    addpoint(d, "i1", 1, 2);
    addpoint(d, "i2", 3, 4);
    int16_t l = addline(d, "u1", {}, "i2", "i1");
    assemblelines(*run, d);
    EXPECT_EQ(pointsof(d, l), (Pts{{3, 4}, {1, 2}}));
    EXPECT_EQ(d.lines[l].beginindex, 2);
    EXPECT_EQ(d.lines[l].endindex, 1);
    EXPECT_TRUE(d.lines[l].xmonotone);
}

TEST(Assemblelines, AConnectLineNeedsTwoPoints) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    addpoint(d, "i1", 1, 2);
    addline(d, "u1", {}, "i1", "end");
    EXPECT_TRUE(testsupport::endsrun([&] { assemblelines(*run, d); }, exitfailed,
                bombtext("lines", "connect not using a point")));
}

TEST(Assemblelines, AVerticalLineIsPlacedByY) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    addpoint(d, "ib", 100, 3);  // far off the line in x: placed by y, in the gap 2..3
    int16_t l = addline(d, "u1", {{5, 1}, {5, 2}, {5, 3}, {5, 4}}, "ib", "end");
    assemblelines(*run, d);
    EXPECT_FALSE(d.lines[l].xmonotone);
    // Cut at the right edge on its way to the begin point.
    EXPECT_EQ(pointsof(d, l), (Pts{{10, 3}, {5, 3}, {5, 4}}));
    EXPECT_EQ(d.lines[l].beginindex, -4);
    EXPECT_EQ(d.lines[l].endindex, 0);
}

}  // namespace
