// failure_test.cpp - the kill word, and the closing of channel files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/channels.h"
#include "run/commit.h"
#include "run/failure.h"
#include "run/files.h"
#include "support/capture.h"
#include "support/run.h"
#include "support/floors.h"

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

TEST(Closing, TheLogIsAlwaysCommittedAndTheDrawingOnlyAtANormalEnd) {
    std::string dir = testsupport::enterscratch();
    testsupport::writefile("ps.eps", "old");
    auto run = testsupport::freshrun();
    openoutput(*run, "log", maketext<20>(".txt"), chlog);
    openoutput(*run, "ps", maketext<20>(".eps"), chps);
    putstr(*run, 0, "stopped", 1, setlog | setps);
    int status = 0;
    std::string screen = testsupport::capturescreen([&] { status = closeended(*run, RunEnd{exitfailed, false, {}, {}}); });
    EXPECT_EQ(status, exitfailed);
    EXPECT_EQ(screen, "\n");
    EXPECT_EQ(run->open, 0u);
    EXPECT_EQ(testsupport::readfile("log.txt"), "stopped\n");
    EXPECT_EQ(testsupport::readfile("ps.eps"), "old");

    run = testsupport::freshrun();
    openoutput(*run, "log", maketext<20>(".txt"), chlog);
    openoutput(*run, "ps", maketext<20>(".eps"), chps);
    putstr(*run, 0, "drawn", 1, setps);
    testsupport::capturescreen([&] { status = commitrun(*run); });
    EXPECT_EQ(status, exitnormal);
    EXPECT_EQ(testsupport::readfile("log.txt"), "");  // kept although empty
    EXPECT_EQ(testsupport::readfile("ps.eps"), "drawn\n");
    EXPECT_EQ(testsupport::folder("."), (std::vector<std::string>{"log.txt", "ps.eps"}));
    testsupport::leavescratch(dir);
}

TEST(Bombed, WritesTheBlockAndEndsTheRunWithTheFailureStatus) {
    auto run = testsupport::freshrun();
    run->interactive = true;
    EXPECT_TRUE(testsupport::endsrun([&] { bombed(*run, "promptdatafile", "datafile needed"); }, exitfailed,
                                     "\n\n BOMBED in promptdatafile : datafile needed\n\n\nhit return to exit program\n"));
    // A run started with a data file on the command line never waits.
    run->interactive = false;
    std::string screen = testsupport::capturescreen([&] {
        EXPECT_THROW(bombed(*run, "promptdatafile", "datafile needed"), RunEnd);
    });
    EXPECT_EQ(screen, "\n\n BOMBED in promptdatafile : datafile needed\n\n");
}

TEST(Killrun, WritesTheNoticeAndEndsTheRunNormally) {
    auto run = testsupport::freshrun();
    EXPECT_TRUE(testsupport::endsrun([&] { killrun(*run); }, exitnormal, "\n-- run killed --\n"));
}

}  // namespace
