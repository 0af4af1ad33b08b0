// channels_test.cpp - putstr's line ends and screen cut, and the field rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "run/channels.h"
#include "support/capture.h"
#include "support/run.h"
#include "text/numfmt.h"
#include "support/floors.h"

namespace {

using testsupport::capturescreen;

std::string str(const Text& t) { return std::string(t.c, static_cast<size_t>(t.len)); }

class Channels : public testing::Test {
protected:
    std::unique_ptr<::Run> fresh = testsupport::freshrun();
    ::Run& run = *fresh;
};

TEST_F(Channels, LineEndsBeforeAndAfter) {
    EXPECT_EQ(capturescreen([&] { putstr(run, 1, "abc", 1, setwlog); }), "\nabc\n");
    EXPECT_EQ(capturescreen([&] {
                  putstr(run, 0, "x", 0, setw);
                  putstr(run, 0, "y", 1, setw);
              }),
              "xy\n");
    EXPECT_EQ(capturescreen([&] { putstr(run, 5, "a", -1, setw); }), "\n\na\n\n");
    EXPECT_EQ(capturescreen([&] { putstr(run, 2, "", 0, setw); }), "\n\n");
}

TEST_F(Channels, TextForClosedChannelsIsDropped) {
    EXPECT_EQ(capturescreen([&] { putstr(run, 1, "to the drawing", 1, setps); }), "");
    run.open = 0;
    EXPECT_EQ(capturescreen([&] { putstr(run, 1, "after closing", 1, setw); }), "");
}

TEST_F(Channels, ScreenCutAtThePageWidth) {
    std::string hundred(100, 'a');
    EXPECT_EQ(capturescreen([&] { putstr(run, 0, hundred.c_str(), 1, setw); }), std::string(78, 'a') + "#\n");
    std::string s78(78, 'b');
    EXPECT_EQ(capturescreen([&] { putstr(run, 0, s78.c_str(), 1, setw); }), s78 + "\n");
    run.settings.pagewidth = 250;
    std::string s249(249, 'c'), s248(248, 'c');
    EXPECT_EQ(capturescreen([&] { putstr(run, 0, s249.c_str(), 1, setw); }), std::string(248, 'c') + "#\n");
    EXPECT_EQ(capturescreen([&] { putstr(run, 0, s248.c_str(), 1, setw); }), s248 + "\n");
    run.settings.dontwrap = false;
    EXPECT_EQ(capturescreen([&] { putstr(run, 0, hundred.c_str(), 1, setw); }), hundred + "\n");
}

TEST_F(Channels, FilesGetTheWholeText) {
    std::string dir = testsupport::enterscratch();
    testsupport::openchannel(run, chps, "out.txt");
    std::string hundred(100, 'z');
    std::string screen = capturescreen([&] { putstr(run, 1, hundred.c_str(), 2, setw | setps); });
    testsupport::closechannel(run, chps);
    EXPECT_EQ(testsupport::readfile("out.txt"), "\n" + hundred + "\n\n");
    EXPECT_EQ(screen, "\n" + std::string(78, 'z') + "#\n\n");
    testsupport::leavescratch(dir);
}

TEST(Appendfield, PadsButNeverCuts) {
    LineBuffer line;
    clearline(line);
    appendfield("ab", 5, line, 255);
    EXPECT_EQ(str(line.text), "   ab");
    clearline(line);
    appendfield("ab", -5, line, 255);
    EXPECT_EQ(str(line.text), "ab   ");
    clearline(line);
    appendfield("abcdef", 3, line, 255);
    EXPECT_EQ(str(line.text), "abcdef");
    clearline(line);
    appendfield("abcdef", -3, line, 255);
    EXPECT_EQ(str(line.text), "abcdef");
    appendreal(2, true, 8, line, 255, 1.5L);
    appendint(-4, line, 255, 50);
    EXPECT_EQ(str(line.text), "abcdef    1.5050  ");
}

TEST(Appendfield, NumbersAppendAsTheirTextWould) {
    // appendreal must leave exactly what appendfield leaves with the text
    // of real2str, for every fill, near the 250-character limit, at the
    // capacity and on a closed line.
    const long double values[] = {0.0L,  1.5L,     -2.25L,   123456.789L, 1e-13L,
                                  1e25L, -0.004L,  98765.4321L, 12345.67L, -1234.5L, 7.0L};
    const int16_t widths[] = {-25, -12, -5, 0, 5, 12, 25};
    const int16_t digits[] = {0, 2, 3, 4, 12};
    for (int lnow : {0, 1, 100, 214, 215, 216, 230, 236, 240, 249, 250, 251, 254, 255}) {
        for (bool closed : {false, true}) {
            for (long double x : values) {
                for (int16_t w : widths) {
                    for (int16_t d : digits) {
                        for (int16_t capacity : {int16_t(255), int16_t(240)}) {
                            LineBuffer got, want;
                            std::memset(want.text.c, '#', sizeof want.text.c);  // no blanks left over from before
                            setline(want, std::string(static_cast<size_t>(lnow), 'x').c_str());
                            want.closed = closed;
                            got = want;
                            appendreal(d, true, w, got, capacity, x);
                            appendfield(real2str(x, d, true), w, want, capacity);
                            ASSERT_EQ(str(got.text), str(want.text))
                                << lnow << " " << closed << " " << static_cast<double>(x) << " " << w << " " << d;
                            ASSERT_EQ(got.closed, want.closed);
                        }
                    }
                }
            }
        }
    }
}

TEST(Appendfield, OverflowMarkClosesTheLine) {
    LineBuffer line;
    setline(line, std::string(241, 'x').c_str());
    appendfield("0123456789", 0, line, 255);
    ASSERT_EQ(line.text.len, 242);
    EXPECT_EQ(line.text.c[241], overflowmark);
    appendfield("a", 0, line, 255);
    appendint(0, line, 255, 7);
    EXPECT_EQ(line.text.len, 242);
    // The fill is not counted against the 250 characters.
    setline(line, std::string(240, 'x').c_str());
    appendfield("0123456789", 20, line, 255);  // cut to the capacity
    EXPECT_EQ(line.text.len, 255);
    EXPECT_EQ(line.text.c[254], '9' - 5);
    // A full line has no room for the mark: it stays as it is, and nothing
    // is written past its capacity.
    appendfield("a", 0, line, 255);
    appendreal(2, true, 0, line, 255, 1.5L);
    EXPECT_EQ(line.text.len, 255);
    EXPECT_EQ(line.text.c[254], '9' - 5);
}

TEST(Appendfield, AnInputByteA4DoesNotCloseTheLine) {
    // "\xC3\xA4" is a UTF-8 "ä": a name ending in it is no overflow mark.
    LineBuffer line;
    clearline(line);
    appendfield("  i1) M\xC3\xA4", 0, line, 255);
    appendfield(" Qtz", 0, line, 255);
    appendreal(2, true, 0, line, 255, 1.5L);
    EXPECT_EQ(str(line.text), "  i1) M\xC3\xA4 Qtz1.50");
}

}  // namespace
