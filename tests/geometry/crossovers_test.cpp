// crossovers_test.cpp - crossover points placed at the first crossing of
// their lines, and the runs that end because they cannot be placed.
#include <gtest/gtest.h>

#include <string>

#include "geometry/crossovers.h"
#include "run/failure.h"
#include "support/capture.h"
#include "support/model.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

using namespace testsupport;

struct CrossCase {
    const char* what;
    Pts a;
    Pts b;
    long double x;  // expected crossing
    long double y;
};

TEST(Placecrossovers, FindsTheFirstCrossingInSearchOrder) {
    auto run = freshrun();
    const CrossCase cases[] = {
        {"plain crossing", {{0, 0}, {2, 2}}, {{0, 2}, {2, 0}}, 1, 1},
        {"at an inner data point of the first line", {{0, 0}, {1, 1}, {2, 5}}, {{0, 2}, {2, 0}}, 1, 1},
        {"end point on end point", {{0, 0}, {1, 1}}, {{1, 1}, {2, 0}}, 1, 1},
        // The first line's vertical segment stops short of the second line:
        // only its x is tested, the point goes on the second line.
        {"first segment vertical", {{1, 5}, {1, 6}}, {{0, 0}, {2, 2}}, 1, 1},
        {"second segment vertical", {{0, 0}, {4, 2}}, {{3, -7}, {3, -6}}, 3, 1.5L},
        // Two crossings: the first line's earlier segment wins, although the
        // second line's first segment crosses the first line's second one.
        {"first line's segments first", {{0, 0}, {4, 4}, {8, 0}}, {{8, 2}, {4, 3}, {0, 2}},
         8.0L / 3, 8.0L / 3},
    };
    for (const CrossCase& c : cases) {
        Diagram d = freshdiagram();
        addline(d, "ua", c.a);
        addline(d, "ub", c.b);
        int16_t p = addcrossover(d, "ix", "ua", "ub");
        placecrossovers(*run, d);
        EXPECT_EQ(d.points[p].x, c.x) << c.what;
        EXPECT_EQ(d.points[p].y, c.y) << c.what;
    }
}

struct FailCase {
    const char* what;
    Pts a;
    Pts b;
    const char* line1;
    const char* line2;
    const char* message;
};

TEST(Placecrossovers, EndsTheRunWhenAPointCannotBePlaced) {
    auto run = freshrun();
    const FailCase cases[] = {
        {"first line missing", {{0, 0}, {2, 2}}, {{0, 2}, {2, 0}}, "uz", "ub", "uz not found"},
        {"second line missing", {{0, 0}, {2, 2}}, {{0, 2}, {2, 0}}, "ua", "Ub", "Ub not found"},
        {"collinear overlap only", {{0, 0}, {2, 2}}, {{1, 1}, {3, 3}}, "ua", "ub",
         "lines don't cross for ix"},
        {"parallel", {{0, 0}, {2, 2}}, {{0, 1}, {2, 3}}, "ua", "ub", "lines don't cross for ix"},
        {"both vertical on one x", {{1, 0}, {1, 2}}, {{1, 1}, {1, 3}}, "ua", "ub",
         "lines don't cross for ix"},
        {"crossing beyond the segments", {{0, 0}, {1, 1}}, {{3, 0}, {4, -1}}, "ua", "ub",
         "lines don't cross for ix"},
        {"a line of one point", {{1, 1}}, {{0, 2}, {2, 0}}, "ua", "ub", "lines don't cross for ix"},
    };
    for (const FailCase& c : cases) {
        Diagram d = freshdiagram();
        addline(d, "ua", c.a);
        addline(d, "ub", c.b);
        addcrossover(d, "ix", c.line1, c.line2);
        EXPECT_TRUE(testsupport::endsrun([&] { placecrossovers(*run, d); }, exitfailed,
                    std::string(" BOMBED in crossover : ") + c.message + "\n"))
            << c.what;
    }
}

}  // namespace
