// drawpoints_test.cpp - circles and numbers of the points inside the window.
#include <gtest/gtest.h>

#include <string>

#include "drawing/drawing.h"
#include "drawing/points.h"
#include "support/model.h"
#include "support/floors.h"

namespace {

using testsupport::addpoint;

const std::string circle =
    "283.00 380.00 moveto\n"
    "280.00 380.00 3.00 0 360 arc\n"
    "closepath\n"
    "stroke\n";

class Drawpoints : public drawtest::Drawing {
protected:
    // The points drawn, after a solid (or a dashed) line.
    std::string drawnpoints(bool dashed = false) {
        return drawn([&](Canvas& canvas) { drawpoints(d, figureplan(), dashed, canvas); });
    }

    // One point at the centre, its circle of radius 3, numbered at size 12.
    void centrepoint(const char* name) {
        reset();
        d.options.circlesize = 3;
        d.options.numbering = answeryes;
        d.options.numbersize = 12;
        addpoint(d, name, 0.5L, 0.5L);
    }
};

TEST_F(Drawpoints, NumberedPointGetsItsCircleAndLabel) {
    centrepoint("i3");
    EXPECT_EQ(drawnpoints(), "0.20 setlinewidth\n\n" + circle + "280.00 376.00 (3) centreshow\n\n");
    centrepoint("i");
    EXPECT_EQ(drawnpoints(), "0.20 setlinewidth\n\n" + circle + "280.00 376.00 () centreshow\n\n");
    centrepoint("i(3\\");
    EXPECT_EQ(drawnpoints(), "0.20 setlinewidth\n\n" + circle + "280.00 376.00 (\\(3\\\\) centreshow\n\n");
}

TEST_F(Drawpoints, WithoutNumberingTheBlankLineFollowsTheStroke) {
    centrepoint("i3");
    d.options.numbering = answerno;
    EXPECT_EQ(drawnpoints(), "0.20 setlinewidth\n\n" + circle + "\n");
}

TEST_F(Drawpoints, OnlyPointsStrictlyInsideTheWindowAreMarked) {
    addpoint(d, "i1", 0, 0.5L);
    addpoint(d, "i2", 0.5L, 1);
    addpoint(d, "i3", 1.5L, 0.5L);
    addpoint(d, "i4", 0.5L, 0.5L);
    addpoint(d, "i5", 1, 1);
    EXPECT_EQ(drawnpoints(), "0.20 setlinewidth\n\n"
                                 "280.00 380.00 moveto\n"
                                 "280.00 380.00 0 0 360 arc\n"
                                 "closepath\n"
                                 "stroke\n\n");
    reset();
    addpoint(d, "i1", 1, 0.5L);
    EXPECT_EQ(drawnpoints(), "0.20 setlinewidth\n\n");
}

// After a dashed line the dash is reset once, before the first circle only;
// with no circle nothing is reset.
TEST_F(Drawpoints, CirclesAfterADashedLineAreSolid) {
    centrepoint("i3");
    addpoint(d, "i4", 0.5L, 0.5L);
    d.options.numbering = answerno;
    EXPECT_EQ(drawnpoints(true),
              "0.20 setlinewidth\n\n[]  0 setdash\n" + circle + "\n" + circle + "\n");
    reset();
    addpoint(d, "i1", 1, 0.5L);
    EXPECT_EQ(drawnpoints(true), "0.20 setlinewidth\n\n");
}

}  // namespace
