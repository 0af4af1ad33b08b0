// listing_test.cpp - listing lines of points, lines and areas in the log.
#include <gtest/gtest.h>

#include <string>

#include "diagram/listing.h"
#include "diagram/model.h"
#include "run/channels.h"
#include "support/model.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

class Listing : public testing::Test {
protected:
    // Everything listitem writes to the log.
    std::string listed(int16_t kind, int16_t k) {
        return testsupport::written(*run, chlog, [&] { listitem(*run, d, kind, k); });
    }
    std::unique_ptr<::Run> run = testsupport::freshrun();
    Diagram d = testsupport::freshdiagram();
};

TEST_F(Listing, Points) {
    InvariantPoint& p = d.points[1];
    p = InvariantPoint{};
    settext(p.name, "i1");
    p.pointword = true;
    EXPECT_EQ(listed(itempoint, 1), "  i1) point\n");
    p.pointword = false;
    p.crossover = true;
    EXPECT_EQ(listed(itempoint, 1), "  i1)  - crossover\n");
    p.crossover = false;
    p.nphases = 2;
    settext(p.phases[1], "ky");
    settext(p.phases[2], "sill");
    settext(p.zeromode1, "none");
    settext(p.zeromode2, "none");
    EXPECT_EQ(listed(itempoint, 1), "  i1) ky sill (none none)\n");
    EXPECT_EQ(listed(7, 1), "");
}

TEST_F(Listing, LinesAndTheirOverflowMark) {
    UnivariantLine& l = d.lines[1];
    settext(l.name, "u12");
    l.nphases = 0;
    l.univariantword = l.lineword = false;
    settext(l.zeromode, "none");
    l.connect = false;
    l.npts = 17;
    EXPECT_EQ(listed(itemline, 1), "  u12) (none) - 17 data points\n");
    l.nphases = 12;
    for (int i = 1; i <= 12; ++i) settext(l.phases[i], std::string(20, static_cast<char>('a' + i)).c_str());
    std::string text = listed(itemline, 1);
    // Twelve phases of 20 characters pass 250: the mark replaces what no longer fits.
    EXPECT_EQ(text.size(), 2 + 3 + 2 + 11 * 21 + 1 + 1u);
    EXPECT_EQ(static_cast<unsigned char>(text[text.size() - 2]), 0xA4);
}

TEST_F(Listing, AreasGetAHeadingBeforeTheFirst) {
    for (int k = 1; k <= 10; ++k) {
        d.areas[k].nnames = 1;
        settext(d.areas[k].linenames[1], "u1");
    }
    EXPECT_EQ(listed(itemarea, 1), "\nareas\n  1)  u1 \n");
    EXPECT_EQ(listed(itemarea, 9), "  9)  u1 \n");
    EXPECT_EQ(listed(itemarea, 10), "  10) u1 \n");
}

}  // namespace
