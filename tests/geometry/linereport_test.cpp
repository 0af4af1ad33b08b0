// linereport_test.cpp - the line report in the log, byte for byte, at its
// three stages, and its silence unless the option is yes.
#include <gtest/gtest.h>

#include <string>

#include "geometry/assembly.h"
#include "geometry/linepoints.h"
#include "geometry/linereport.h"
#include "run/channels.h"
#include "support/capture.h"
#include "support/model.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

using namespace testsupport;

void setphases(Diagram& d, int16_t line, std::initializer_list<const char*> phases, const char* zeromode) {
    for (const char* p : phases) settext(d.lines[line].phases[++d.lines[line].nphases], p);
    settext(d.lines[line].zeromode, zeromode);
}

// Three lines: trimmed to a point, a connect line cut at the right edge,
// and a line wholly outside the window.
Diagram threelines() {
    Diagram d = freshdiagram();
    addpoint(d, "i1", 2, 3);
    addpoint(d, "i2", 20, 5);
    setphases(d, addline(d, "u1", {{1, 1}, {3, 3}, {5, 5}, {7, 7}}, "i1", "end"), {"ab", "cd"}, "ef");
    addline(d, "u2", {}, "i1", "i2");
    addline(d, "u3", {{-20, 0}, {-30, -1.25L}});
    return d;
}

TEST(Linereport, ShowsEachLineAsResolvedTrimmedAndCut) {
    auto run = freshrun();
    Diagram d = threelines();
    d.options.showlineinfo = answeryes;
    std::string log = written(*run, chlog, [&] { assemblelines(*run, d); });
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
    auto run = freshrun();
    Diagram d = freshdiagram();
    d.options.showlineinfo = answeryes;
    int16_t l = addline(d, "u1", {{1, 1}, {2, 2}});
    const struct {
        int16_t begin, end;
        const char* text;
    } ends[] = {
        {0, -1, "  start = line end; end = bottom edge\n"},
        {-2, -3, "  start = left edge; end = top edge\n"},
        {-4, 0, "  start = right edge; end = line end\n"},
    };
    for (const auto& e : ends) {
        d.lines[l].beginindex = e.begin;
        d.lines[l].endindex = e.end;
        std::string log = written(*run, chlog, [&] { linereport(*run, d, l, 3); });
        EXPECT_EQ(log, std::string("  ........................\n") + e.text +
                           "    1.0000    1.0000\n    2.0000    2.0000\n");
    }
}

TEST(Linereport, ALongHeadingEndsWithTheOverflowMark) {
    auto run = freshrun();
    Diagram d = freshdiagram();
    d.options.showlineinfo = answeryes;
    int16_t l = addline(d, "u4", {{1, 1}, {2, 2}});
    std::string phase = "pqrstuvwxyzabcdefgh";  // 19 characters
    for (int i = 1; i <= 20; ++i) settext(d.lines[l].phases[i], phase.c_str());
    d.lines[l].nphases = 20;
    std::string log = written(*run, chlog, [&] { linereport(*run, d, l, 1); });
    std::string heading = "u4) ";
    for (int i = 0; i < 12; ++i) heading += phase + " ";
    heading += '\xA4';
    EXPECT_EQ(log.substr(0, log.find('\n', 34) + 1), "_________________________________\n" + heading + "\n");
}

TEST(Linereport, SilentUnlessTheOptionIsYes) {
    auto run = freshrun();
    for (YesAskNo answer : {answerno, answerask}) {
        Diagram d = threelines();
        d.options.showlineinfo = answer;
        EXPECT_EQ(written(*run, chlog, [&] { assemblelines(*run, d); }), "");
    }
}

// A later stage's rows come from stage 1's where its points are stage 1's:
// whole when the points are all the same, row by row when some were added,
// dropped or changed.  Either way the log holds what a report that writes
// every row afresh holds.
TEST(Linereport, KeptRowsWriteWhatFreshRowsWrite) {
    const Pts first = {{1, 1}, {2.5L, -0.125L}, {3, 1e-13L}, {4, 4}, {5, 5}};
    const struct {
        const char* what;
        Pts later;
    } cases[] = {
        {"the same points", first},
        {"a limit point in front", {{0.5L, 0.5L}, {1, 1}, {2.5L, -0.125L}, {3, 1e-13L}, {4, 4}, {5, 5}}},
        {"cut short with an edge point", {{2.5L, -0.125L}, {3, 1e-13L}, {3.5L, 10}}},
        {"the same values, one zero negative", {{1, 1}, {2.5L, -0.125L}, {3, -0.0L}, {4, 4}, {5, 5}}},
        {"in the other order", {{5, 5}, {4, 4}, {3, 1e-13L}, {2.5L, -0.125L}, {1, 1}}},
        {"no points", {}},
        {"the same points but one more at the end", {{1, 1}, {2.5L, -0.125L}, {3, 1e-13L}, {4, 4}, {5, 5}, {5, 5}}},
    };
    auto run = freshrun();
    for (const auto& c : cases) {
        Diagram d = freshdiagram();
        d.options.showlineinfo = answeryes;
        int16_t l = addline(d, "u1", first);
        ReportRows rows;
        std::string kept = written(*run, chlog, [&] { linereport(*run, d, l, 1, rows); });
        std::string fresh = written(*run, chlog, [&] { linereport(*run, d, l, 1); });
        EXPECT_EQ(kept, fresh) << c.what;
        d.lines[l].npts = 0;
        for (const auto& [x, y] : c.later) setlinepoint(*run, d.lines[l], ++d.lines[l].npts, x, y, "test");
        for (int stage : {2, 3}) {
            kept = written(*run, chlog, [&] { linereport(*run, d, l, stage, rows); });
            fresh = written(*run, chlog, [&] { linereport(*run, d, l, stage); });
            EXPECT_EQ(kept, fresh) << c.what << ", stage " << stage;
        }
    }
}

}  // namespace
