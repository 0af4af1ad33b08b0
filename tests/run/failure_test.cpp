// failure_test.cpp - the kill word, and the closing of channel files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/channels.h"
#include "run/failure.h"
#include "run/files.h"
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

// Open a channel's file as the program does.
void openchannel(int ch, const char* name, const char* extension) {
    openoutput(name, maketext<20>(extension), channels[ch]);
    openChannels |= 1u << ch;
}

TEST(Closeall, CommitsTheLogAlwaysAndTheDrawingOnlyAtANormalEnd) {
    std::string dir = testsupport::enterscratch();
    testsupport::writewhole("ic.txt", "old");
    uint32_t saved = openChannels;
    openChannels = 1u << chw;
    openchannel(chlog, "log", ".txt");
    openchannel(chic, "ic", ".txt");
    openchannel(chps, "ps", ".eps");
    putstr(0, "drawn", 1, setps);
    std::string screen = testsupport::capturescreen([] { closeall(); });
    EXPECT_EQ(screen, "\n");
    EXPECT_EQ(openChannels, 0u);
    EXPECT_EQ(testsupport::readwhole("log.txt"), "");  // kept although empty
    EXPECT_EQ(testsupport::readwhole("ic.txt"), "old");  // never written: the old file stays
    EXPECT_EQ(testsupport::readwhole("ps.eps"), "drawn\n");

    openChannels = 1u << chw;
    openchannel(chlog, "log", ".txt");
    openchannel(chps, "ps", ".eps");
    putstr(0, "stopped", 1, setlog | setps);
    testsupport::capturescreen([] { closeall(false); });
    EXPECT_EQ(testsupport::readwhole("log.txt"), "stopped\n");
    EXPECT_EQ(testsupport::readwhole("ps.eps"), "drawn\n");
    EXPECT_EQ(testsupport::folder("."), (std::vector<std::string>{"ic.txt", "log.txt", "ps.eps"}));
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
