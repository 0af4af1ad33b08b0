// interpolation_test.cpp - points found in calculated rows.
#include <gtest/gtest.h>

#include "diagram/interpolation.h"
#include "support/floors.h"

namespace {

// Rows given from index 1, as the reader keeps them.
struct Rows {
    long double x[8], y[8], i[8];
    int16_t n = 0;
    void add(long double xv, long double yv, long double iv) {
        ++n;
        x[n] = xv;
        y[n] = yv;
        i[n] = iv;
    }
};

TEST(Interpolate, PlainTargetIsHalfOpen) {
    Rows r;
    r.add(0, 0, 1);
    r.add(10, 100, 2);
    r.add(20, 300, 3);
    long double x = -1, y = -1;
    ASSERT_TRUE(interpolate(r.x, r.y, r.i, r.n, 2.5L, 0, x, y));
    EXPECT_EQ(x, 15);  // t = 0.5 between rows 2 and 3
    EXPECT_EQ(y, 200);
    ASSERT_TRUE(interpolate(r.x, r.y, r.i, r.n, 1, 0, x, y));
    EXPECT_EQ(x, 0);   // the first row, t = 0
    EXPECT_FALSE(interpolate(r.x, r.y, r.i, r.n, 3, 0, x, y));  // only the last row's value
    EXPECT_FALSE(interpolate(r.x, r.y, r.i, r.n, 0.5L, 0, x, y));
}

TEST(Interpolate, DescendingValuesAndSingleRows) {
    Rows r;
    r.add(0, 0, 3);
    r.add(10, 10, 1);
    long double x, y;
    ASSERT_TRUE(interpolate(r.x, r.y, r.i, r.n, 2, 0, x, y));
    EXPECT_EQ(x, 5);
    Rows one;
    one.add(7, 8, 2);
    EXPECT_TRUE(interpolate(one.x, one.y, one.i, 1, 2, 0, x, y));
    EXPECT_EQ(y, 8);
    EXPECT_FALSE(interpolate(one.x, one.y, one.i, 1, 2.0001L, 0, x, y));
    EXPECT_FALSE(interpolate(one.x, one.y, one.i, 1, 2, 1, x, y));  // b not 0 needs two rows
}

TEST(Interpolate, SlopedTargetOnEachKindOfSegment) {
    long double x, y;
    // Flat in y: the target value there is b*y + a = 2*1 + 1 = 3, found at t = 0.5.
    Rows flat;
    flat.add(0, 1, 2);
    flat.add(4, 1, 4);
    ASSERT_TRUE(interpolate(flat.x, flat.y, flat.i, flat.n, 1, 2, x, y));
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 1);
    // Flat in I: y* = (I - a) / b = (5 - 1) / 2 = 2.
    Rows level;
    level.add(0, 0, 5);
    level.add(8, 4, 5);
    ASSERT_TRUE(interpolate(level.x, level.y, level.i, level.n, 1, 2, x, y));
    EXPECT_EQ(y, 2);
    EXPECT_EQ(x, 4);
    // General segment I = 4y: meets I = 1 + y at y = 1/3.
    Rows general;
    general.add(0, 0, 0);
    general.add(3, 1, 4);
    ASSERT_TRUE(interpolate(general.x, general.y, general.i, general.n, 1, 1, x, y));
    EXPECT_EQ(y, 1.0L / 3.0L);
    // A segment whose own slope equals b never yields a point, even on the target.
    Rows parallel;
    parallel.add(0, 0, 1);
    parallel.add(1, 1, 2);
    EXPECT_FALSE(interpolate(parallel.x, parallel.y, parallel.i, parallel.n, 1, 1, x, y));
    // Flat in both y and I, on the target: the first row, never 0/0.
    Rows both;
    both.add(6, 1, 3);
    both.add(9, 1, 3);
    ASSERT_TRUE(interpolate(both.x, both.y, both.i, both.n, 1, 2, x, y));
    EXPECT_EQ(x, 6);
    EXPECT_EQ(y, 1);
}

TEST(Interpolateline, EachRunGivesAtMostOnePointInRowOrder) {
    Rows r;
    r.add(0, 0, 0);  // x-run over rows 1..3
    r.add(0, 1, 4);
    r.add(0, 2, 0);
    r.add(5, 2, 9);  // y-run from row 3 to row 5
    r.add(6, 2, 1);
    long double px[8], py[8];
    int16_t n = interpolateline(r.x, r.y, r.i, r.n, 1, 1, px, py);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(px[1], 0);
    EXPECT_EQ(py[1], 1.0L / 3.0L);
    EXPECT_EQ(py[2], 2);
}

TEST(Interpolateline, RowsWithoutRunsAndRunsThatFail) {
    Rows r;
    r.add(0, 0, 0);
    r.add(1, 1, 1);
    r.add(2, 2, 2);
    long double px[8], py[8];
    EXPECT_EQ(interpolateline(r.x, r.y, r.i, r.n, 1, 1, px, py), 0);
    Rows s;
    s.add(0, 0, 100);  // an x-run that never meets the target: skipped silently
    s.add(0, 1, 100);
    s.add(1, 5, 0);    // a y-run that does
    s.add(2, 5, 10);
    EXPECT_EQ(interpolateline(s.x, s.y, s.i, s.n, 0, 1, px, py), 1);
    EXPECT_EQ(py[1], 5);
}

}  // namespace
