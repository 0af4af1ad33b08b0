// fonts_test.cpp - texts measured and set as the PDF and PNG set them:
// widths that scale with the size and the style, and a glyph for every
// character of a line of chemistry.
#include <gtest/gtest.h>

#include <string>

#include "drawing/fonts.h"
#include "support/floors.h"

namespace {

long double width(const std::string& s, long double size, bool bold = false, bool italic = false) {
    return textwidth({s.data(), static_cast<int32_t>(s.size())}, TextStyle{size, bold, italic});
}

TEST(Fonts, WidthsInPoints) {
    EXPECT_EQ(width("", 12), 0);
    EXPECT_EQ(width("H2O", 0), 0);
    // Helvetica's advances: H 0.722, 2 0.556, O 0.778 of the size.
    EXPECT_NEAR(static_cast<double>(width("H2O", 10)), 20.56, 0.01);
    EXPECT_NEAR(static_cast<double>(width("H2O", 24)), static_cast<double>(width("H2O", 12)) * 2, 1e-3);
    EXPECT_GT(width("quartz", 12, true), width("quartz", 12) + 1);
    EXPECT_GT(width("AV", 12), width("A", 12) + width("V", 12) - 1e-3);  // no kerning
    EXPECT_GT(width("H\xE2\x82\x82O", 12), width("HO", 12) + 2);        // the subscript has its width
}

TEST(Fonts, EveryCharacterHasAGlyph) {
    TextSetter setter;
    setter.set("H\xE2\x82\x82O Al\xE2\x82\x82SiO\xE2\x82\x85 \xCE\xB1 \xCE\xB2 \xCE\xB3 \xC2\xB0" "C \xEF\xBF\xBD",
               TextStyle{12});
    EXPECT_EQ(setter.missing(), 0);
    setter.set("\xEE\x80\x80", TextStyle{12});  // a private-use character no font has
    EXPECT_EQ(setter.missing(), 1);
}

}  // namespace
