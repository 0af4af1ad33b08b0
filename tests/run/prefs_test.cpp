// prefs_test.cpp - the preferences file's keywords and their edge values.
#include <gtest/gtest.h>

#include <string>

#include "run/channels.h"
#include "run/prefs.h"
#include "run/settings.h"
#include "support/capture.h"

namespace {

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }

// Run readprefs on a file of these lines; returns the screen.
std::string prefs(const std::string& content) {
    std::string dir = testsupport::enterscratch();
    testsupport::writewhole("gl-prefs.txt", content);
    uint32_t open = openChannels;
    openChannels = 1u << chw;
    std::string screen = testsupport::capturescreen([] { readprefs(); });
    openChannels = open;
    testsupport::leavescratch(dir);
    return screen;
}

TEST(Readprefs, PageWidthIsClamped) {
    const std::pair<const char*, int> cases[] = {
        {"60", 80}, {"80", 80}, {"81", 81}, {"249", 249}, {"250", 250}, {"300", 250},
        {"100.5", 80}, {"wide", 80}, {"1e2", 80}, {"40000", 80},
    };
    for (const auto& c : cases) {
        prefs(std::string("setpagewidth ") + c.first + "\n");
        EXPECT_EQ(runsettings.pagewidth, c.second) << c.first;
    }
}

TEST(Readprefs, YesAskNoWords) {
    prefs("dontwrap no\n");
    EXPECT_FALSE(runsettings.dontwrap);
    prefs("dontwrap no\ndontwrap\n");
    EXPECT_TRUE(runsettings.dontwrap);
    prefs("dontwrap ask\n");
    EXPECT_FALSE(runsettings.dontwrap);
    prefs("dontwrap whatever\n");
    EXPECT_TRUE(runsettings.dontwrap);
    prefs("monitorheap\n");
    EXPECT_TRUE(runsettings.monitorheap);
    prefs("calcmode 3\n");
    EXPECT_EQ(runsettings.calcmode, 3);
    prefs("calcmode x\n");
    EXPECT_EQ(runsettings.calcmode, -1);
}

TEST(Readprefs, DatafileAndDatasetOverrides) {
    prefs("datafile test\ndatafile no\n");
    EXPECT_EQ(str(runsettings.datafile), "test");
    prefs("datafile test\ndatafile yes\n");
    EXPECT_EQ(str(runsettings.datafile), "");
    prefs("datafile yes other\n");
    EXPECT_EQ(str(runsettings.datafile), "other");
    prefs("scriptfile x1\ndatafile ask\n");
    EXPECT_EQ(str(runsettings.datafile), "x1");
    prefs("datafile test % the usual one\n");
    EXPECT_EQ(str(runsettings.datafile), "test");
    prefs("dataset ask\n");
    EXPECT_EQ(str(runsettings.dataset), "?");
    prefs("dataset\n");
    EXPECT_EQ(str(runsettings.dataset), "");
    prefs("dataset yes rocks\n");
    EXPECT_EQ(str(runsettings.dataset), "rocks");
}

TEST(Readprefs, UnknownKeywordsAndTheEndMark) {
    EXPECT_EQ(prefs("Dontwrap\n"), "\"Dontwrap\" unrecognised\n");
    EXPECT_EQ(prefs("\n  \n%comment\n*end\nbogus\n"), "");
    EXPECT_EQ(prefs("datafile a\r\n*\r\ndatafile b\r\n"), "");
    EXPECT_EQ(str(runsettings.datafile), "a");  // CR LF lines: "*" still ends the file
    EXPECT_EQ(prefs(""), "");
}

}  // namespace
