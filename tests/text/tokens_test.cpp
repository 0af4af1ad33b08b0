// tokens_test.cpp - words, kinds, number readers and their messages.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "text/tokens.h"
#include "support/floors.h"

namespace {

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }
std::string str(const Text& t) { return std::string(t.c, static_cast<size_t>(t.len)); }

Text text(const std::string& s) {
    Text t;
    settext(t, s.data(), static_cast<int>(s.size()));
    return t;
}

WordList split(const std::string& s) {
    WordList words;
    string2strings(s.data(), static_cast<int>(s.size()), words);
    return words;
}

std::string whole(const WordList& w, int i) {
    TextView v = wholeword(w, i);
    return std::string(v.c, static_cast<size_t>(v.len));
}

WordKind kind(const std::string& s) { return whatis(s.data(), static_cast<int>(s.size())); }

TEST(String2strings, SplitsAtTheThreeBlanksOnly) {
    WordList w = split("  ab\tcd\xCA" "ef  g\fh ");
    ASSERT_EQ(w.count, 4);
    EXPECT_EQ(str(wordat(w, 1)), "ab");
    EXPECT_EQ(str(wordat(w, 2)), "cd");
    EXPECT_EQ(str(wordat(w, 3)), "ef");
    EXPECT_EQ(str(wordat(w, 4)), "g\fh");  // a form feed belongs to the word
    EXPECT_EQ(wordat(w, 5).len, 0);
}

TEST(String2strings, KeepsEveryWordWhole) {
    // A word is whole for its kind and value, and its first 20 characters
    // as a name; a line holds any number of words.
    WordList w = split("abcdefghijklmnopqrstuvwxy z");
    ASSERT_EQ(w.count, 2);
    EXPECT_EQ(str(wordat(w, 1)), "abcdefghijklmnopqrst");
    EXPECT_EQ(whole(w, 1), "abcdefghijklmnopqrstuvwxy");
    std::string line;
    for (int i = 1; i <= 5000; ++i) {
        line += 'w';
        line += std::to_string(i);
        line += ' ';
    }
    w = split(line);
    ASSERT_EQ(w.count, 5000);
    EXPECT_EQ(whole(w, 5000), "w5000");
    w = split("one");
    EXPECT_EQ(w.count, 1);
    EXPECT_EQ(wordat(w, 2).len, 0);  // the old second word is gone
}

TEST(Whatis, ClassifiesByTheGrammar) {
    for (const char* s : {"12", "-7", "0", "7"}) EXPECT_EQ(kind(s), kindinteger) << s;
    for (const char* s : {"0.5", "2e3", "2.5E-3", "1e+5", "-0.5", "1.5e2"}) EXPECT_EQ(kind(s), kindreal) << s;
    for (const char* s : {"1/3", "-2/5"}) EXPECT_EQ(kind(s), kindrational) << s;
    for (const char* s : {".5", "5.", "1.e5", "1e", "1e-", "+5", "1/", "/2", "1.5/2", "1/-2", "--5", "-",
                          "12a", "u12", "*", "#", "1e5e", "a"})
        EXPECT_EQ(kind(s), kindother) << s;
    EXPECT_EQ(kind(""), kindempty);
    EXPECT_EQ(kind(" \t"), kindempty);
}

struct RealCase {
    const char* text;
    bool ok;
    long double value;
};

TEST(Str2real, ReadsLeniently) {
    const RealCase cases[] = {
        {".5", true, 0.5L},   {"5.", true, 5},     {"1.e5", true, 1e5L}, {"007", true, 7},
        {"0.000", true, 0},   {"-2.5", true, -2.5L}, {"e5", true, 0},    {".", true, 0},
        {"1e-5000", true, 0}, {"1e+5", true, 1e5L}, {"abc", false, 0},    {"1..2", false, 0},
        {"1e++5", false, 0},  {"1e5+", false, 0},
        {"1e5000", false, 0}, {"9e4932", false, 0}, {"1e40000", false, 0}, {"1e-5-", false, 0},
    };
    for (const RealCase& c : cases) {
        long double v = -1;
        Text m;
        bool ok = str2real(c.text, static_cast<int>(std::strlen(c.text)), v, m);
        EXPECT_EQ(ok, c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        } else {
            EXPECT_EQ(v, 0) << c.text;
            EXPECT_EQ(str(m), std::string(c.text) + " not a real: replace with");
        }
    }
}

TEST(Str2real, ComputesDigitsTimesAPowerOfTen) {
    long double v;
    Text m;
    ASSERT_TRUE(str2real("-0", 2, v, m));
    EXPECT_TRUE(std::signbit(v));  // a negative zero
    ASSERT_TRUE(str2real("0.125", 5, v, m));
    EXPECT_EQ(v, 125.0L * (1.0L / 1000.0L));  // not exactly 1/8
    ASSERT_TRUE(str2real("1e100", 5, v, m));
    EXPECT_NEAR(static_cast<double>(v / 1e100L), 1.0, 1e-18);
    ASSERT_TRUE(str2real("1e-70", 5, v, m));
    EXPECT_NEAR(static_cast<double>(v / 1e-70L), 1.0, 1e-18);
    // Every character counts, however long the text: the exponent after
    // the 20th, and digits that C and numpy write for full precision.
    const char* longone = "1.000000000000000000e5";
    ASSERT_TRUE(str2real(longone, static_cast<int>(std::strlen(longone)), v, m));
    EXPECT_EQ(v, 1e5L);
    const char* numpy = "-1.234567890123456e15";
    ASSERT_TRUE(str2real(numpy, static_cast<int>(std::strlen(numpy)), v, m));
    EXPECT_EQ(v, -1234567890123456.0L);
    const std::string padded = std::string(26 - 5, '0') + "550.5";
    ASSERT_TRUE(str2real(padded.data(), static_cast<int>(padded.size()), v, m));
    EXPECT_EQ(v, 5505.0L * (1.0L / 10.0L));  // as "550.5" reads
    const std::string huge(6000, '9');  // beyond the 80-bit range
    EXPECT_FALSE(str2real(huge.data(), static_cast<int>(huge.size()), v, m));
    EXPECT_EQ(str(m), std::string(20, '9') + " not a real: replace with");
    EXPECT_FALSE(str2real("  ", 2, v, m));
    EXPECT_EQ(m.len, 0);  // an empty text has no message
}

struct IntCase {
    const char* text;
    bool ok;
    int value;
    const char* message;
};

TEST(Str2int, AcceptsNearIntegersWithinTheRange) {
    const IntCase cases[] = {
        {"32766", true, 32766, ""},
        {"-32766", true, -32766, ""},
        {"32767", false, 0, "32767 too large: replace with"},
        {"-32767", false, 0, "-32767 too large: replace with"},
        {"2.5", false, 0, "2.5 not an integer: replace with"},
        {"1e2", true, 100, ""},
        {"3.0", true, 3, ""},
        {"2.000000001", true, 2, ""},
        {"3000000000", false, 0, "3000000000 not an integer: replace with"},
        {"abc", false, 0, "abc not an integer: replace with"},
        {"", false, 0, ""},
        {"0", true, 0, ""},
    };
    for (const IntCase& c : cases) {
        int16_t v = -1;
        Text m;
        EXPECT_EQ(str2int(c.text, static_cast<int>(std::strlen(c.text)), v, m), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(str(m), c.message) << c.text;
    }
}

TEST(Str2rational, NamesTheFirstProblem) {
    struct Case {
        const char* text;
        bool ok;
        int a, b;
        const char* message;
    };
    const Case cases[] = {
        {"3/4", true, 3, 4, ""},
        {"-2/5", true, -2, 5, ""},
        {"0/4", false, 0, 4, "zero in rational"},
        {"3/0", false, 3, 0, "zero in rational"},
        {"3/x", false, 3, 0, "x not an integer: replace with"},
        {"y/x", false, 0, 0, "y not an integer: replace with"},
        {"34", false, 0, 0, "lstring, not a rational"},
    };
    for (const Case& c : cases) {
        int16_t a = -9, b = -9;
        Text m;
        EXPECT_EQ(str2rational(c.text, static_cast<int>(std::strlen(c.text)), a, b, m), c.ok) << c.text;
        EXPECT_EQ(a, c.a) << c.text;
        EXPECT_EQ(b, c.b) << c.text;
        EXPECT_EQ(str(m), c.message) << c.text;
    }
}

TEST(Getreals, ReadsTheNumbersAfterAKeyword) {
    long double v[41];
    int16_t n = 2;
    WordList w = split("window 1/4 2");
    ASSERT_TRUE(getreals(w, 1, n, v));
    EXPECT_EQ(v[1], 0.25L);
    EXPECT_EQ(v[2], 2.0L);
    w = split("window 1 abc");
    EXPECT_FALSE(getreals(w, 1, n, v));
    w = split("window 1 2 3");
    n = 4;
    EXPECT_FALSE(getreals(w, 1, n, v));  // too few words
    w = split("bigticks yes 1 2 3 4 surplus");
    n = 4;
    ASSERT_TRUE(getreals(w, 2, n, v));
    EXPECT_EQ(v[4], 4.0L);
    w = split("window 1 1e+5");
    n = 2;
    ASSERT_TRUE(getreals(w, 1, n, v));
    EXPECT_EQ(v[2], 1e5L);
}

TEST(Getreals, OpenModeCountsTheNumbers) {
    long double v[41];
    int16_t n = -2;
    WordList w = split("k 1 2 3 x 5");
    ASSERT_TRUE(getreals(w, 1, n, v));
    EXPECT_EQ(n, 3);
    n = -4;
    EXPECT_FALSE(getreals(w, 1, n, v));
}

TEST(Getints, TakesOnlyIntegers) {
    int16_t v[41];
    int16_t n = 1;
    WordList w = split("numbering 9");
    ASSERT_TRUE(getints(w, 1, n, v));
    EXPECT_EQ(v[1], 9);
    w = split("numbering 9.0");
    EXPECT_FALSE(getints(w, 1, n, v));
    w = split("numbering 40000");
    EXPECT_FALSE(getints(w, 1, n, v));
    w = split("numbering");
    EXPECT_FALSE(getints(w, 1, n, v));
}

TEST(Trim, BoundsAndBlanks) {
    int first, last;
    trimbounds("  ab ", 5, first, last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 4);
    trimbounds("   ", 3, first, last);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(str(trimblanks(text("\t y \xCA"))), "y");
    EXPECT_EQ(trimblanks(text("  ")).len, 0);
}

}  // namespace
