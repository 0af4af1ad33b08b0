// shown_test.cpp - bytes that could command a terminal are shown escaped,
// and the mark under a shown text lines up with it.
#include <gtest/gtest.h>

#include <string>

#include "text/shown.h"
#include "support/floors.h"

namespace {

TEST(Shown, ControlBytesAndBrokenUtf8AreEscaped) {
    const struct {
        std::string bytes, shown;
    } cases[] = {
        {"plain words\tand a tab", "plain words\tand a tab"},
        {"\x1b]0;title\a", "\\x1b]0;title\\x07"},
        {std::string("a\0b\rc\x7f", 6), "a\\x00b\\x0dc\\x7f"},
        {"25 \xc2\xb0" "C, \xce\xb1, \xe2\x82\xac, \xf0\x9f\x98\x80", "25 \xc2\xb0" "C, \xce\xb1, \xe2\x82\xac, \xf0\x9f\x98\x80"},
        {"\xc2\x9b" "31m", "\\xc2\\x9b31m"},  // CSI, a C1 control written in UTF-8
        {"\x9b\xc0\xaf\xed\xa0\x80\xe2\x82", "\\x9b\\xc0\\xaf\\xed\\xa0\\x80\\xe2\\x82"},  // stray, overlong, surrogate, cut
    };
    for (const auto& c : cases) EXPECT_EQ(shownbytes(c.bytes), c.shown) << c.shown;
    // A mark under the shown text: one column a character, tabs kept.
    std::string shown = shownbytes(std::string("\t\xc2\xb0\x1b"));
    EXPECT_EQ(blanksunder(shown), "\t     ");
    EXPECT_EQ(showncolumns(shown), 6u);
}

}  // namespace
