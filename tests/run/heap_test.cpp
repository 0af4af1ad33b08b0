// heap_test.cpp - the heap monitor's running total and its report lines.
#include <gtest/gtest.h>

#include <string>

#include "diagram/model.h"
#include "diagram/startdiagram.h"
#include "run/heap.h"
#include "support/capture.h"
#include "support/run.h"
#include "text/numfmt.h"
#include "support/floors.h"

namespace {

std::string kilobytes(int32_t bytes) {
    Word w = real2intstr(roundint(static_cast<double>(bytes) / 1024.0));
    return std::string(w.c, static_cast<size_t>(w.len));
}

TEST(Heapalloc, ReportsOnlyWhenMonitoringButAlwaysCounts) {
    auto run = testsupport::freshrun();
    EXPECT_EQ(testsupport::capturescreen([&] { heapalloc(*run, "quiet", 1000); }), "");
    EXPECT_EQ(run->heaptotal, 1000);
    run->heaptotal = 1024;
    run->settings.monitorheap = true;
    EXPECT_EQ(testsupport::capturescreen([&] { heapalloc(*run, "inv", 1536); }),
              "space allocated for inv is 2k; , heap now 2k\n");  // 1.5 and 2.5 round to 2
    EXPECT_EQ(testsupport::capturescreen([&] { heapalloc(*run, "a tag longer than twenty", 2560); }),
              "space allocated for a tag longer than tw is 2k; , heap now 5k\n");  // tag cut to 20
}

TEST(Heapalloc, TheTwoTablesAreReportedInvBeforeUni) {
    auto run = testsupport::freshrun();
    run->settings.monitorheap = true;
    Diagram d;
    std::string screen = testsupport::capturescreen([&] { startdiagram(*run, d); });
    int32_t inv = static_cast<int32_t>((maxpoints + 1) * sizeof(InvariantPoint));
    int32_t uni = static_cast<int32_t>((maxlines + 1) * sizeof(UnivariantLine));
    EXPECT_EQ(screen, "space allocated for inv is " + kilobytes(inv) + "k; , heap now " + kilobytes(inv) +
                          "k\nspace allocated for uni is " + kilobytes(uni) + "k; , heap now " +
                          kilobytes(inv + uni) + "k\n");
}

}  // namespace
