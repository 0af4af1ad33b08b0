// polylabel_test.cpp - visual centres and the room a box has, on shapes
// whose answers are known.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/polylabel.h"

namespace {

Region region(std::vector<Spot> polygon) { return {std::move(polygon), {-1000, -1000, 1000, 1000}, {}, {}}; }

TEST(Polylabel, VisualCentresOfKnownShapes) {
    struct Case {
        const char* shape;
        std::vector<Spot> polygon;
        Spot centre;
        long double room;
    };
    const Case cases[] = {
        {"square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {5, 5}, 5},
        {"square, clockwise", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, {5, 5}, 5},
        // 3-4-5 right triangle: the incircle's radius is (3 + 4 - 5) / 2 = 1.
        {"right triangle", {{0, 0}, {40, 0}, {0, 30}}, {10, 10}, 10},
        // An L of two arms 10 wide: the widest place is where they meet, its
        // circle touching both outer edges and the inner corner (10, 10):
        // r = sqrt 2 (10 - r).
        {"L", {{0, 0}, {30, 0}, {30, 10}, {10, 10}, {10, 30}, {0, 30}}, {5.858L, 5.858L}, 5.858L},
    };
    for (const Case& c : cases) {
        long double room;
        Spot p = visualcentre(region(c.polygon), 0.01L, room);
        EXPECT_NEAR(room, c.room, 0.05) << c.shape;
        EXPECT_NEAR(p.x, c.centre.x, 0.1) << c.shape;
        EXPECT_NEAR(p.y, c.centre.y, 0.1) << c.shape;
        EXPECT_TRUE(insidepolygon(c.polygon, p)) << c.shape;
    }
}

TEST(Polylabel, TheWindowCutsTheRegion) {
    Region r = region({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    r.window = {0, 0, 20, 100};
    long double room;
    Spot p = visualcentre(r, 0.01L, room);
    EXPECT_NEAR(room, 10, 0.05);
    EXPECT_NEAR(p.x, 10, 0.1);
}

TEST(Polylabel, BoxRoomAndTheRoomiestSpot) {
    // A 100 by 20 strip: a 40 by 10 box fits with room 2 at the centre, a
    // 40 by 30 box nowhere.
    Region strip = region({{0, 0}, {100, 0}, {100, 20}, {0, 20}});
    EXPECT_NEAR(boxroom(strip, {50, 10}, 40, 10), 2, 1e-9);
    EXPECT_LT(boxroom(strip, {50, 10}, 40, 30), 1);
    EXPECT_LT(boxroom(strip, {200, 10}, 4, 4), 0);  // outside
    // An obstacle on the centre moves the box to the free end.
    strip.boxes.push_back({30, -5, 60, 25});
    long double room;
    Spot at = roomiestspot(strip, 20, 10, 0.01L, room);
    EXPECT_GE(room, 1);
    EXPECT_GT(at.x, 60);
    // A segment across the strip splits it as well.
    Region cut = region({{0, 0}, {100, 0}, {100, 20}, {0, 20}});
    cut.segments.push_back({{30, 0}, {30, 20}});
    at = roomiestspot(cut, 40, 10, 0.01L, room);
    EXPECT_GE(room, 1);
    EXPECT_GE(at.x - 20, 30);
}

TEST(Polylabel, OverlapsAndCrossings) {
    Rect r = {0, 0, 10, 10};
    EXPECT_TRUE(overlaps(r, {5, 5, 15, 15}));
    EXPECT_FALSE(overlaps(r, {10, 0, 20, 10}));  // sharing an edge only
    EXPECT_TRUE(crosses({{-5, 5}, {15, 5}}, r));
    EXPECT_TRUE(crosses({{-5, -5}, {15, 15}}, r));
    EXPECT_FALSE(crosses({{-5, 12}, {15, 30}}, r));
    EXPECT_TRUE(crosses({{2, 2}, {3, 3}}, r));  // wholly inside
}

}  // namespace
