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
    // The lines' table is counted with each line's points in its record, as
    // it always was: 16768 bytes a line on x86-64.
    int32_t uni = static_cast<int32_t>((maxlines + 1) * linetablerecord);
    if (sizeof(long double) == 16 && sizeof(void*) == 8) {
        EXPECT_EQ(uni, 1501 * 16768);
    }
    EXPECT_EQ(screen, "space allocated for inv is " + kilobytes(inv) + "k; , heap now " + kilobytes(inv) +
                          "k\nspace allocated for uni is " + kilobytes(uni) + "k; , heap now " +
                          kilobytes(inv + uni) + "k\n");
}

// Every line's x and y have rooms of their own, each beginning a page and
// holding points 0..linecapacity, that no other room overlaps.
TEST(Startdiagram, EachLineHasPageAlignedRoomsForItsPoints) {
    auto run = testsupport::freshrun();
    Diagram d;
    testsupport::capturescreen([&] { startdiagram(*run, d); });
    const long double* last = nullptr;
    for (int k = 0; k <= maxlines; ++k) {
        const UnivariantLine& l = d.lines[k];
        for (const long double* room : {l.x, l.y}) {
            ASSERT_EQ(reinterpret_cast<uintptr_t>(room) % storepage, 0u) << "line " << k;
            if (last != nullptr) {
                ASSERT_GE(room, last + linecapacity + 1) << "line " << k;
            }
            last = room;
        }
    }
    d.lines[maxlines].y[linecapacity] = 1;  // the last room's end lies within the store
    EXPECT_EQ(d.lines[maxlines].y[linecapacity], 1);
}

}  // namespace
