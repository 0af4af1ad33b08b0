// numfmt_test.cpp - the number formatter against its worked table and edges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "text/numfmt.h"
#include "text/tokens.h"
#include "support/floors.h"

namespace {

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }

std::string fixed(long double x, int n) { return str(real2str(x, static_cast<int16_t>(n), true)); }
std::string significant(long double x, int n) { return str(real2str(x, static_cast<int16_t>(n), false)); }

// A value as the program reads it from text.
long double readvalue(const char* text) {
    long double v;
    Text message;
    EXPECT_TRUE(str2real(text, static_cast<int>(std::strlen(text)), v, message)) << text;
    return v;
}

struct Row {
    long double x;
    int n;
    bool fixedform;
    const char* text;
};

TEST(Real2str, WorkedTable) {
    const Row rows[] = {
        {0, 2, true, "0"},
        {0.5L, 2, true, "0.50"},
        {12.25L, 2, true, "12.25"},
        {1e-7L, 2, true, "0.00"},
        {-0.004L, 2, true, "-0.00"},
        {123.456L, 2, true, "123.46"},
        {-3.14159L, 3, true, "-3.142"},
        {99999.994L, 2, true, "99999.99"},
        {99999.996L, 2, true, "1.0e+5"},
        {123456.7L, 2, true, "1.2e+5"},
        {1e20L, 2, true, "1.0e+20"},
        {2e20L, 2, true, "?"},
        {50000, 5, true, "5.0000e+4"},
        {1.5L, 4, true, "1.5000"},
        {0.5L, 3, false, "0.500"},
        {1234, 3, false, "1234"},
        {12345, 3, false, "1.23e+4"},
        {0.0001234L, 3, false, "0.000123"},
        {0.00001234L, 3, false, "1.23e-5"},
        {9.9996L, 4, false, "10.00"},
    };
    for (const Row& r : rows) {
        std::string got = r.fixedform ? fixed(r.x, r.n) : significant(r.x, r.n);
        EXPECT_EQ(got, r.text) << "x=" << static_cast<double>(r.x) << " n=" << r.n;
    }
}

TEST(Real2str, EdgesOfTheFixedForm) {
    EXPECT_EQ(fixed(0.125L, 2), "0.12");         // scaled value exactly 12.5: ties to even
    EXPECT_EQ(fixed(0.135L, 2), "0.14");
    EXPECT_EQ(fixed(1000000, 1), "1.e+6");       // a lone digit before the point
    EXPECT_EQ(fixed(-1e-13L, 2), "0");           // below 1e-12 is zero
    EXPECT_EQ(fixed(-0.0L, 2), "0");
    EXPECT_EQ(fixed(std::numeric_limits<long double>::infinity(), 2), "?");
    EXPECT_EQ(fixed(-std::numeric_limits<long double>::infinity(), 2), "?");
    EXPECT_EQ(fixed(std::numeric_limits<long double>::quiet_NaN(), 2), "?");
    EXPECT_EQ(fixed(3.0L, 15), "?");              // the scaled mantissa reaches 2147483646
    EXPECT_EQ(fixed(127, 2), "127.00");
    EXPECT_EQ(fixed(-120000, 2), "-1.2e+5");
}

TEST(Real2intstr, RoundsHalfToEvenAndKeepsTheSign) {
    EXPECT_EQ(str(real2intstr(2.5L)), "2");
    EXPECT_EQ(str(real2intstr(3.5L)), "4");
    EXPECT_EQ(str(real2intstr(-7.5L)), "-8");
    EXPECT_EQ(str(real2intstr(12)), "12");
    EXPECT_EQ(str(real2intstr(2147483645.4L)), "2147483645");
    EXPECT_EQ(str(real2intstr(0)), "0");
    EXPECT_EQ(str(real2intstr(-0.4L)), "-0");
    EXPECT_EQ(str(real2intstr(3e9L)), "?");
    EXPECT_EQ(str(real2intstr(std::numeric_limits<long double>::quiet_NaN())), "?");
}

TEST(Roundint, TiesToEvenAndSaturates) {
    EXPECT_EQ(roundint(2.5L), 2);
    EXPECT_EQ(roundint(3.5L), 4);
    EXPECT_EQ(roundint(-7.5L), -8);
    EXPECT_EQ(roundint(-0.5L), 0);
    EXPECT_EQ(roundint(1e30L), INT32_MAX);
    EXPECT_EQ(roundint(-1e30L), INT32_MIN);
    EXPECT_EQ(truncint(-2.9L), -2);
    EXPECT_EQ(truncint(std::numeric_limits<long double>::quiet_NaN()), 0);
}

TEST(Pow10, BuildsEveryExponentFromItsBits) {
    EXPECT_EQ(pow10(0), 1.0L);
    EXPECT_EQ(pow10(3), 1000.0L);
    EXPECT_EQ(pow10(-2), 1.0L / 100.0L);
    // Below 64 the classic table alone, multiplied from the lowest bit.
    EXPECT_EQ(pow10(37), (1e1L * 1e4L) * 1e32L);
    // Above 63 the higher entries carry on the same scheme.
    EXPECT_EQ(pow10(100), ((1e4L * 1e32L) * 1e64L));
    EXPECT_EQ(pow10(-70), 1.0L / ((1e2L * 1e4L) * 1e64L));
    EXPECT_NEAR(static_cast<double>(pow10(300) / 1e300L), 1.0, 1e-15);
    EXPECT_TRUE(std::isinf(pow10(5000)));
    EXPECT_EQ(pow10(-5000), 0.0L);
}

TEST(Decimalsneeded, ExactModeAsTickLabelsUseIt) {
    EXPECT_EQ(decimalsneeded(true, 1, 0), 1);
    EXPECT_EQ(decimalsneeded(true, 1, 3), 1);
    EXPECT_EQ(decimalsneeded(true, 1, readvalue("0.25")), 2);
    EXPECT_EQ(decimalsneeded(true, 1, readvalue("0.125")), 3);
    EXPECT_EQ(decimalsneeded(true, 1, readvalue("2.5")), 1);
    EXPECT_EQ(decimalsneeded(true, 1, readvalue("0.1")), 1);
    EXPECT_EQ(decimalsneeded(true, 1, readvalue("123.456")), 3);
    EXPECT_EQ(decimalsneeded(true, 1, 1.0L / 3.0L), 9);  // never loops past nine decimals
}

TEST(Decimalsneeded, ApproximateMode) {
    EXPECT_EQ(decimalsneeded(false, 2, 5.5L), 2);
    EXPECT_EQ(decimalsneeded(false, 2, 0.3L), 2);
    EXPECT_EQ(decimalsneeded(false, 2, 0.05L), 3);
    EXPECT_EQ(decimalsneeded(false, 2, 0.95L), 3);
    EXPECT_GT(decimalsneeded(false, 2, 1.0L), 2);  // ends although 1 - 1 is 0
}

TEST(Spaces, CountsAndLimits) {
    EXPECT_EQ(spaces(0).len, 0);
    EXPECT_EQ(spaces(-3).len, 0);
    EXPECT_EQ(spaces(5).len, 5);
    EXPECT_EQ(spaces(300).len, 255);
    EXPECT_EQ(spaces(3).c[2], ' ');
}

}  // namespace
