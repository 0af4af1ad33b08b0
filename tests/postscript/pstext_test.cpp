// pstext_test.cpp - texts from the data file made safe inside PostScript
// strings.
#include <gtest/gtest.h>

#include <string>

#include "postscript/pstext.h"

namespace {

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

TEST(Pslabel, IsTheNameWithoutItsFirstCharacter) {
    EXPECT_EQ(str(pslabel(maketext<20>("u12"))), "12");
    EXPECT_EQ(str(pslabel(maketext<20>("i"))), "");
    EXPECT_EQ(str(pslabel(maketext<20>("u(1)\\"))), "\\(1\\)\\\\");
}

}  // namespace
