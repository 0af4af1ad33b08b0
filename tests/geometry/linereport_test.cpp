// linereport_test.cpp - the line report in the log, byte for byte, at its
// three stages, and its silence unless the option is yes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "geometry/assembly.h"
#include "geometry/linereport.h"
#include "geometry/modelfill.h"
#include "run/channels.h"
#include "support/capture.h"

namespace {

using namespace modelfill;

// Run `fn` with the log open on a scratch file; returns what the log got.
template <typename Fn>
std::string capturelog(Fn fn) {
    std::string dir = testsupport::enterscratch();
    uint32_t saved = openChannels;
    channels[chlog].file = std::fopen("log.txt", "w");
    openChannels = 1u << chlog;
    fn();
    std::fclose(channels[chlog].file);
    channels[chlog].file = nullptr;
    openChannels = saved;
    std::string log = testsupport::readwhole("log.txt");
    testsupport::leavescratch(dir);
    return log;
}

void setphases(int16_t line, std::initializer_list<const char*> phases, const char* zeromode) {
    for (const char* p : phases) settext(lines[line].phases[++lines[line].nphases], p);
    settext(lines[line].zeromode, zeromode);
}

// Three lines: trimmed to a point, a connect line cut at the right edge,
// and a line wholly outside the window.
void threelines() {
    resetmodel();
    addpoint("i1", 2, 3);
    addpoint("i2", 20, 5);
    setphases(addline("u1", {{1, 1}, {3, 3}, {5, 5}, {7, 7}}, "i1", "end"), {"ab", "cd"}, "ef");
    addline("u2", {}, "i1", "i2");
    addline("u3", {{-20, 0}, {-30, -1.25L}});
}

TEST(Linereport, ShowsEachLineAsResolvedTrimmedAndCut) {
    threelines();
    drawingoptions.showlineinfo = answeryes;
    std::string log = capturelog([] { assemblelines(); });
    EXPECT_EQ(log,
              "_________________________________\n"
              "u1) ab cd (ef)\n"
              "    1.0000    1.0000\n"
              "    3.0000    3.0000\n"
              "    5.0000    5.0000\n"
              "    7.0000    7.0000\n"
              "  ........................\n"
              "  i1   {2.00,3.00};  end  \n"
              "  ........................\n"
              "    2.0000    3.0000\n"
              "    3.0000    3.0000\n"
              "    5.0000    5.0000\n"
              "    7.0000    7.0000\n"
              "  ........................\n"
              "  start = i1; end = line end\n"
              "    2.0000    3.0000\n"
              "    3.0000    3.0000\n"
              "    5.0000    5.0000\n"
              "    7.0000    7.0000\n"
              "_________________________________\n"
              "u2) ()\n"
              "    2.0000    3.0000\n"
              "   20.0000    5.0000\n"
              "  ........................\n"
              "  i1   {2.00,3.00};  i2   {20.00,5.00}\n"
              "  ........................\n"
              "    2.0000    3.0000\n"
              "   20.0000    5.0000\n"
              "  ........................\n"
              "  start = i1; end = right edge\n"
              "    2.0000    3.0000\n"
              "   10.0000    3.8889\n"
              "_________________________________\n"
              "u3) ()\n"
              "  -20.0000         0\n"
              "  -30.0000   -1.2500\n"
              "  ........................\n"
              "  begin;  end  \n"
              "  ........................\n"
              "  -20.0000         0\n"
              "  -30.0000   -1.2500\n"
              "  ........................\n"
              "  == not seen ==\n");
}

TEST(Linereport, NamesEveryKindOfEnd) {
    resetmodel();
    drawingoptions.showlineinfo = answeryes;
    int16_t l = addline("u1", {{1, 1}, {2, 2}});
    const struct {
        int16_t begin, end;
        const char* text;
    } ends[] = {
        {0, -1, "  start = line end; end = bottom edge\n"},
        {-2, -3, "  start = left edge; end = top edge\n"},
        {-4, 0, "  start = right edge; end = line end\n"},
    };
    for (const auto& e : ends) {
        lines[l].beginindex = e.begin;
        lines[l].endindex = e.end;
        std::string log = capturelog([l] { linereport(l, 3); });
        EXPECT_EQ(log, std::string("  ........................\n") + e.text +
                           "    1.0000    1.0000\n    2.0000    2.0000\n");
    }
}

TEST(Linereport, ALongHeadingEndsWithTheOverflowMark) {
    resetmodel();
    drawingoptions.showlineinfo = answeryes;
    int16_t l = addline("u4", {{1, 1}, {2, 2}});
    std::string phase = "pqrstuvwxyzabcdefgh";  // 19 characters
    for (int i = 1; i <= 20; ++i) settext(lines[l].phases[i], phase.c_str());
    lines[l].nphases = 20;
    std::string log = capturelog([l] { linereport(l, 1); });
    std::string heading = "u4) ";
    for (int i = 0; i < 12; ++i) heading += phase + " ";
    heading += '\xA4';
    EXPECT_EQ(log.substr(0, log.find('\n', 34) + 1), "_________________________________\n" + heading + "\n");
}

TEST(Linereport, SilentUnlessTheOptionIsYes) {
    for (YesAskNo answer : {answerno, answerask}) {
        threelines();
        drawingoptions.showlineinfo = answer;
        EXPECT_EQ(capturelog([] { assemblelines(); }), "");
    }
}

}  // namespace
