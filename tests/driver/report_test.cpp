// report_test.cpp - the lines a watch and a batch write on standard error.
#include <gtest/gtest.h>

#include <regex>

#include "driver/report.h"
#include "support/floors.h"

namespace {

TEST(Report, WatchingNamesEveryFileAndHowToStop) {
    EXPECT_EQ(watchingline({"gl-x.txt"}, {}), "watching gl-x.txt (and gl-prefs.txt); Ctrl-C to stop");
    EXPECT_EQ(watchingline({"a/gl-x.txt", "b/gl-y.txt"}, {"slide.txt"}),
              "watching a/gl-x.txt, b/gl-y.txt (and the gl-prefs.txt beside each), style file slide.txt; "
              "Ctrl-C to stop");
    EXPECT_EQ(watchingline({"gl-x.txt"}, {"a.txt", "b.txt"}),
              "watching gl-x.txt (and gl-prefs.txt), style files a.txt, b.txt; Ctrl-C to stop");
}

TEST(Report, ARedrawSaysWhatItWroteOrWhereItFailed) {
    struct Case {
        RunReport report;
        const char* line;
    };
    const Case cases[] = {
        {{"gl-x.txt", 0, {"gl-x.eps", "gl-x.png", "gl-x.log"}, 0, "", 42},
         "09:05:07 gl-x.txt: wrote gl-x.eps, gl-x.png, gl-x.log in 42 ms, no warnings"},
        {{"gl-x.txt", 0, {"gl-x.eps", "gl-x.log"}, 1, "", 3}, "09:05:07 gl-x.txt: wrote gl-x.eps, gl-x.log in 3 ms, 1 warning"},
        {{"d/gl-x.txt", 0, {"gl-x.eps"}, 12, "", 0}, "09:05:07 d/gl-x.txt: wrote gl-x.eps in 0 ms, 12 warnings"},
        {{"gl-x.txt", 1, {}, 0, "gl-x.txt:12:5", 7}, "09:05:07 gl-x.txt: failed at gl-x.txt:12:5 in 7 ms"},
        {{"gl-x.txt", 2, {}, 0, "", 1}, "09:05:07 gl-x.txt: failed in 1 ms"},
    };
    for (const Case& c : cases) EXPECT_EQ(redrawline("09:05:07", c.report), c.line);
    EXPECT_TRUE(std::regex_match(clocknow(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]")));
}

TEST(Report, ABatchEndsWithItsCounts) {
    RunReport good{"a.txt", 0, {}, 0, "", 0}, bad{"b/gl-b.txt", 1, {}, 0, "", 0}, lost{"c.txt", 2, {}, 0, "", 0};
    EXPECT_EQ(batchline({good, good}, false), "2 drawn, 0 failed");
    EXPECT_EQ(batchline({good, bad, good, lost}, false), "2 drawn, 2 failed: b/gl-b.txt, c.txt");
    EXPECT_EQ(batchline({bad, good}, true), "1 checked, 1 failed: b/gl-b.txt");
    EXPECT_EQ(batchheading("b/gl-b.txt"), "==> b/gl-b.txt <==");
}

}  // namespace
