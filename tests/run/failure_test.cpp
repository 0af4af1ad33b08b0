// failure_test.cpp - the kill word, and the closing of channel files.
#include <gtest/gtest.h>

#include <string>

#include "run/channels.h"
#include "run/failure.h"
#include "support/capture.h"

namespace {

TEST(Iskill, OnlyTheExactWordWithBlanksAround) {
    EXPECT_TRUE(iskill("kill", 4));
    EXPECT_TRUE(iskill(" kill\t", 6));
    EXPECT_TRUE(iskill("\xCAkill", 5));
    EXPECT_FALSE(iskill("Kill", 4));
    EXPECT_FALSE(iskill("killed", 6));
    EXPECT_FALSE(iskill("ki ll", 5));
    EXPECT_FALSE(iskill("", 0));
}

// Open a channel's file by hand, as its owner would.
void openchannel(int ch, const char* path) {
    channels[ch].file = std::fopen(path, "w");
    std::snprintf(channels[ch].path, sizeof channels[ch].path, "%s", path);
    channels[ch].written = false;
    openChannels |= 1u << ch;
}

TEST(Closeall, KeepsTheLogAndErasesUnwrittenFiles) {
    std::string dir = testsupport::enterscratch();
    uint32_t saved = openChannels;
    openChannels = 1u << chw;
    openchannel(chlog, "log.txt");
    openchannel(chic, "ic.txt");
    openchannel(chps, "ps.eps");
    putstr(0, "drawn", 1, setps);
    std::string screen = testsupport::capturescreen([] { closeall(); });
    EXPECT_EQ(screen, "\n");
    EXPECT_EQ(openChannels, 0u);
    EXPECT_TRUE(std::fopen("log.txt", "r") != nullptr);  // kept although empty
    EXPECT_TRUE(std::fopen("ic.txt", "r") == nullptr);   // never written: erased
    EXPECT_EQ(testsupport::readwhole("ps.eps"), "drawn\n");
    openChannels = saved;
    testsupport::leavescratch(dir);
}

TEST(Bombed, WritesTheBlockAndExitsWithTheFailureStatus) {
    EXPECT_EXIT(testsupport::inchild([] { bombed("promptdatafile", "datafile needed"); }),
                testing::ExitedWithCode(exitfailed),
                "^\n\n BOMBED in promptdatafile : datafile needed\n\n\nhit return to exit program\n\n$");
}

TEST(Killrun, WritesTheNoticeAndExitsNormally) {
    EXPECT_EXIT(testsupport::inchild([] { killrun(); }), testing::ExitedWithCode(exitnormal),
                "^\n-- run killed --\n\n$");
}

}  // namespace
