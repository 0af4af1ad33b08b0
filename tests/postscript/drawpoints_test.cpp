// drawpoints_test.cpp - circles and numbers of the points inside the window.
#include <gtest/gtest.h>

#include <string>

#include "postscript/drawing.h"
#include "postscript/drawpoints.h"

namespace {

using pstest::drawn;

void solid() { drawpoints(false); }

const std::string circle =
    "283.00 380.00 moveto\n"
    "280.00 380.00 3.00 0 360 arc\n"
    "closepath\n"
    "stroke\n";

void centrepoint(const char* name) {
    pstest::resetmodel();
    drawingoptions.circlesize = 3;
    drawingoptions.numbering = answeryes;
    drawingoptions.numbersize = 12;
    pstest::addpoint(name, 0.5L, 0.5L);
}

TEST(Drawpoints, NumberedPointGetsItsCircleAndLabel) {
    centrepoint("i3");
    EXPECT_EQ(drawn(solid), "0.20 setlinewidth\n\n" + circle + "280.00 376.00 (3) centreshow\n\n");
    centrepoint("i");
    EXPECT_EQ(drawn(solid), "0.20 setlinewidth\n\n" + circle + "280.00 376.00 () centreshow\n\n");
    centrepoint("i(3\\");
    EXPECT_EQ(drawn(solid), "0.20 setlinewidth\n\n" + circle + "280.00 376.00 (\\(3\\\\) centreshow\n\n");
}

TEST(Drawpoints, WithoutNumberingTheBlankLineFollowsTheStroke) {
    centrepoint("i3");
    drawingoptions.numbering = answerno;
    EXPECT_EQ(drawn(solid), "0.20 setlinewidth\n\n" + circle + "\n");
}

TEST(Drawpoints, OnlyPointsStrictlyInsideTheWindowAreMarked) {
    pstest::resetmodel();
    pstest::addpoint("i1", 0, 0.5L);
    pstest::addpoint("i2", 0.5L, 1);
    pstest::addpoint("i3", 1.5L, 0.5L);
    pstest::addpoint("i4", 0.5L, 0.5L);
    pstest::addpoint("i5", 1, 1);
    EXPECT_EQ(drawn(solid), "0.20 setlinewidth\n\n"
                                 "280.00 380.00 moveto\n"
                                 "280.00 380.00 0 0 360 arc\n"
                                 "closepath\n"
                                 "stroke\n\n");
    pstest::resetmodel();
    pstest::addpoint("i1", 1, 0.5L);
    EXPECT_EQ(drawn(solid), "0.20 setlinewidth\n\n");
}

// After a dashed line the dash is reset once, before the first circle only;
// with no circle nothing is reset.
TEST(Drawpoints, CirclesAfterADashedLineAreSolid) {
    centrepoint("i3");
    pstest::addpoint("i4", 0.5L, 0.5L);
    drawingoptions.numbering = answerno;
    EXPECT_EQ(drawn([] { drawpoints(true); }),
              "0.20 setlinewidth\n\n[]  0 setdash\n" + circle + "\n" + circle + "\n");
    pstest::resetmodel();
    pstest::addpoint("i1", 1, 0.5L);
    EXPECT_EQ(drawn([] { drawpoints(true); }), "0.20 setlinewidth\n\n");
}

}  // namespace
