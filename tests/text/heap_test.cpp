// heap_test.cpp - the heap monitor's running total and its report lines.
#include <gtest/gtest.h>

#include <string>

#include "diagram/model.h"
#include "diagram/startdiagram.h"
#include "run/settings.h"
#include "support/capture.h"
#include "text/heap.h"
#include "text/numfmt.h"

namespace {

std::string kilobytes(int32_t bytes) {
    Word w = real2intstr(roundint(static_cast<double>(bytes) / 1024.0));
    return std::string(w.c, static_cast<size_t>(w.len));
}

TEST(Heapalloc, ReportsOnlyWhenMonitoringButAlwaysCounts) {
    int32_t before = heaptotal;
    runsettings.monitorheap = false;
    EXPECT_EQ(testsupport::capturescreen([] { heapalloc("quiet", 1000); }), "");
    EXPECT_EQ(heaptotal, before + 1000);
    heaptotal = 1024;
    runsettings.monitorheap = true;
    EXPECT_EQ(testsupport::capturescreen([] { heapalloc("inv", 1536); }),
              "space allocated for inv is 2k; , heap now 2k\n");  // 1.5 and 2.5 round to 2
    EXPECT_EQ(testsupport::capturescreen([] { heapalloc("a tag longer than twenty", 2560); }),
              "space allocated for a tag longer than tw is 2k; , heap now 5k\n");  // tag cut to 20
    runsettings.monitorheap = false;
}

TEST(Heapalloc, TheTwoTablesAreReportedInvBeforeUni) {
    if (points != nullptr) GTEST_SKIP() << "the tables exist already in this process";
    heaptotal = 0;
    runsettings.monitorheap = true;
    std::string screen = testsupport::capturescreen([] { startdiagram(); });
    runsettings.monitorheap = false;
    int32_t inv = static_cast<int32_t>((maxpoints + 1) * sizeof(InvariantPoint));
    int32_t uni = static_cast<int32_t>((maxlines + 1) * sizeof(UnivariantLine));
    EXPECT_EQ(screen, "space allocated for inv is " + kilobytes(inv) + "k; , heap now " + kilobytes(inv) +
                          "k\nspace allocated for uni is " + kilobytes(uni) + "k; , heap now " +
                          kilobytes(inv + uni) + "k\n");
}

}  // namespace
