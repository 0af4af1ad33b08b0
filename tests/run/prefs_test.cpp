// prefs_test.cpp - the preferences file's keywords and their edge values.
#include <gtest/gtest.h>

#include <string>

#include "run/channels.h"
#include "run/prefs.h"
#include "support/capture.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }

struct Read {
    std::string screen;
    RunSettings settings;
};

// Run readprefs on a file of these lines.
Read prefs(const std::string& content) {
    std::string dir = testsupport::enterscratch();
    testsupport::writefile("gl-prefs.txt", content);
    auto run = testsupport::freshrun();
    Read r;
    r.screen = testsupport::capturescreen([&] { readprefs(*run); });
    r.settings = run->settings;
    testsupport::leavescratch(dir);
    return r;
}

RunSettings settings(const std::string& content) { return prefs(content).settings; }

TEST(Readprefs, PageWidthIsClamped) {
    const std::pair<const char*, int> cases[] = {
        {"60", 80}, {"80", 80}, {"81", 81}, {"249", 249}, {"250", 250}, {"300", 250},
        {"100.5", 80}, {"wide", 80}, {"1e2", 80}, {"40000", 80},
    };
    for (const auto& c : cases)
        EXPECT_EQ(settings(std::string("setpagewidth ") + c.first + "\n").pagewidth, c.second) << c.first;
}

TEST(Readprefs, YesAskNoWords) {
    EXPECT_FALSE(settings("dontwrap no\n").dontwrap);
    EXPECT_TRUE(settings("dontwrap no\ndontwrap\n").dontwrap);
    EXPECT_FALSE(settings("dontwrap ask\n").dontwrap);
    EXPECT_TRUE(settings("dontwrap whatever\n").dontwrap);
    EXPECT_TRUE(settings("monitorheap\n").monitorheap);
    // Keywords that change nothing are still accepted without a word.
    EXPECT_EQ(prefs("calcmode 3\ncalcmode x\ndataset ask\ndataset yes rocks\n").screen, "");
}

TEST(Readprefs, DatafileOverrides) {
    EXPECT_EQ(str(settings("datafile test\ndatafile no\n").datafile), "test");
    EXPECT_EQ(str(settings("datafile test\ndatafile yes\n").datafile), "");
    EXPECT_EQ(str(settings("datafile yes other\n").datafile), "other");
    EXPECT_EQ(str(settings("scriptfile x1\ndatafile ask\n").datafile), "x1");
    EXPECT_EQ(str(settings("datafile test % the usual one\n").datafile), "test");
}

TEST(Readprefs, UnknownKeywordsAndTheEndMark) {
    EXPECT_EQ(prefs("Dontwrap\n").screen, "\"Dontwrap\" unrecognised\n");
    EXPECT_EQ(prefs("\n  \n%comment\n*end\nbogus\n").screen, "");
    Read r = prefs("datafile a\r\n*\r\ndatafile b\r\n");
    EXPECT_EQ(r.screen, "");
    EXPECT_EQ(str(r.settings.datafile), "a");  // CR LF lines: "*" still ends the file
    EXPECT_EQ(prefs("").screen, "");
}

}  // namespace
