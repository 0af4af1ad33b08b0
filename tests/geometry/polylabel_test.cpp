// polylabel_test.cpp - visual centres and the room a box has, on shapes
// whose answers are known.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "geometry/floorint.h"
#include "geometry/planner.h"
#include "geometry/polylabel.h"
#include "support/floors.h"

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
    // Touching counts; a hair's breadth off does not, on every side.
    const long double hair = 1e-12L;
    EXPECT_TRUE(crosses({{10, 12}, {10, -3}}, r));
    EXPECT_TRUE(crosses({{-4, 10}, {0, 10}}, r));
    EXPECT_TRUE(crosses({{-5, -3}, {0, 0}}, r));
    EXPECT_FALSE(crosses({{10 + hair, 12}, {10 + hair, -3}}, r));
    EXPECT_FALSE(crosses({{-hair, 12}, {-hair, -3}}, r));
    EXPECT_FALSE(crosses({{-4, 10 + hair}, {14, 10 + hair}}, r));
    EXPECT_FALSE(crosses({{-4, -hair}, {14, -hair}}, r));
    EXPECT_FALSE(crosses({{-5, -3}, {-hair, -hair}}, r));
    EXPECT_FALSE(crosses({{1e15L, 5}, {2e15L, 5}}, r));
}

}  // namespace

namespace {

// The searches through the filed items answer exactly as the look at every
// item: on star-shaped polygons of many edges (some crossing the window),
// with segments and boxes strewn in and round them, for boxes of many
// shapes.
TEST(Polylabel, FiledSearchesAnswerAsTheLookAtEverything) {
    std::mt19937 random(1234);
    auto uniform = [&](long double low, long double high) {
        return low + (high - low) * static_cast<long double>(random() % 1000000) / 1000000;
    };
    auto same = [](long double a, long double b) { return a == b && std::signbit(a) == std::signbit(b); };
    for (int shape = 0; shape < 40; ++shape) {
        Region filed;
        filed.window = {0, 0, 200, 150};
        Spot centre = {uniform(20, 180), uniform(20, 130)};
        int corners = 3 + static_cast<int>(random() % 300);
        long double reach = uniform(10, 120);
        for (int k = 0; k < corners; ++k) {
            long double angle = 2 * M_PI * k / corners, r = reach * uniform(0.3L, 1);
            filed.polygon.push_back({centre.x + r * std::cos(angle), centre.y + 0.6L * r * std::sin(angle)});
        }
        for (int k = 0; k < 300; ++k) {
            Spot a = {uniform(-20, 220), uniform(-20, 170)};
            filed.segments.push_back({a, {a.x + uniform(-8, 8), a.y + uniform(-8, 8)}});
            Spot c = {uniform(-20, 220), uniform(-20, 170)};
            long double w = uniform(1, 30), h = uniform(1, 10);
            filed.boxes.push_back({c.x, c.y, c.x + w, c.y + h});
        }
        Region scanned = filed;
        scanned.scan = true;
        std::string what = "shape " + std::to_string(shape);

        long double room1, room2;
        Spot a = visualcentre(filed, 0.25L, room1), b = visualcentre(scanned, 0.25L, room2);
        EXPECT_TRUE(same(a.x, b.x) && same(a.y, b.y) && same(room1, room2)) << what;
        for (Spot box : {Spot{4, 2}, Spot{20, 6}, Spot{60, 9}, Spot{3, 30}}) {
            a = roomiestspot(filed, box.x, box.y, 0.01L, room1);
            b = roomiestspot(scanned, box.x, box.y, 0.01L, room2);
            EXPECT_TRUE(same(a.x, b.x) && same(a.y, b.y) && same(room1, room2)) << what << " box " << box.x;
        }

        // Asked again and again of one region, with the obstacles filed
        // once: the same rooms and places; and a search that stops when
        // it cannot find room enough says so whenever the full one finds
        // none, and answers as the full one when it finds some.
        RoomSearch search(filed);
        for (Spot box : {Spot{4, 2}, Spot{20, 6}, Spot{60, 9}, Spot{3, 30}, Spot{0.5L, 0.5L}, Spot{150, 3}}) {
            std::string which = what + " box " + std::to_string(static_cast<double>(box.x)) + " by " +
                                std::to_string(static_cast<double>(box.y));
            a = search.roomiestspot(box.x, box.y, 0.01L, room1);
            b = roomiestspot(scanned, box.x, box.y, 0.01L, room2);
            EXPECT_TRUE(same(a.x, b.x) && same(a.y, b.y) && same(room1, room2)) << which;
            for (long double enough : {1.0L, 0.5L, 2.0L}) {
                a = search.roomiestspot(box.x, box.y, 0.01L, room1, enough);
                EXPECT_EQ(room1 >= enough, room2 >= enough) << which << " enough " << static_cast<double>(enough);
                if (room2 >= enough) {
                    EXPECT_TRUE(same(a.x, b.x) && same(a.y, b.y) && same(room1, room2)) << which;
                }
            }
            for (int k = 0; k < 20; ++k) {
                Spot c = {uniform(-30, 230), uniform(-30, 180)};
                if (k == 0) c = b;
                EXPECT_TRUE(same(search.boxroom(c, box.x, box.y), boxroom(scanned, c, box.x, box.y))) << which;
            }
        }

        // Boxes asked from the smallest up, each twice: a box shown to fit
        // nowhere answers every box no smaller at once, and a box asked
        // again is answered as before; still as the full search answers.
        if (shape % 4 != 0) continue;
        RoomSearch growing(filed);
        for (long double k : {0.5L, 2.0L, 6.0L, 18.0L, 54.0L})
            for (Spot shape : {Spot{4, 1}, Spot{1, 3}, Spot{2, 2}}) {
                long double w = shape.x * k, h = shape.y * k;
                b = roomiestspot(scanned, w, h, 0.01L, room2);
                for (int again = 0; again < 2; ++again) {
                    a = growing.roomiestspot(w, h, 0.01L, room1, 1);
                    EXPECT_EQ(room1 >= 1, room2 >= 1) << what << " box " << static_cast<double>(w);
                    if (room2 >= 1) {
                        EXPECT_TRUE(same(a.x, b.x) && same(a.y, b.y) && same(room1, room2)) << what;
                    }
                }
                // Whether it fits at a place: at the roomiest, and anywhere.
                for (int k = 0; k < 5; ++k) {
                    Spot c = k == 0 ? b : Spot{uniform(-30, 230), uniform(-30, 180)};
                    EXPECT_EQ(growing.fits(c, w, h), boxroom(scanned, c, w, h) >= 1) << what;
                }
            }
    }
}

// The room a box has is 1 exactly where it just fits: between two
// obstacles, against the polygon's edge, in a window as wide as the box;
// a search that wants room 1 finds it there and nowhere narrower.
TEST(Polylabel, SearchesThatWantRoomEnough) {
    Region strip = region({{0, 0}, {100, 0}, {100, 20}, {0, 20}});
    strip.boxes = {{-10, -10, 30, 30}, {70, -10, 110, 30}};  // leave 40 by 20 free
    RoomSearch search(strip);
    struct Case {
        long double w, h;
        bool fits;
    };
    // Asked in this order of one search: boxes just smaller than one shown
    // to fit nowhere still fit; larger ones, and the same again, do not;
    // one that fitted fits again in the same place.
    const Case cases[] = {{40, 20, true},        {20, 10, true},   {40.5L, 10, false}, {10, 20.5L, false},
                          {39.9L, 19.9L, true},  {40.5L, 10, false}, {41, 30, false},  {80, 10.5L, false},
                          {40, 19.99L, true},    {40, 20, true}};
    for (const Case& c : cases) {
        long double full, wanted;
        Spot at = roomiestspot(strip, c.w, c.h, 0.01L, full);
        Spot found = search.roomiestspot(c.w, c.h, 0.01L, wanted, 1);
        EXPECT_EQ(full >= 1, c.fits) << c.w << " by " << c.h;
        EXPECT_EQ(wanted >= 1, c.fits) << c.w << " by " << c.h;
        if (c.fits) {
            EXPECT_EQ(found.x, at.x);
            EXPECT_EQ(found.y, at.y);
            EXPECT_NEAR(static_cast<double>(found.x), 50, 0.5);
        }
    }
}

}  // namespace

// The quick floor the grids file items by is the floor, to the bit, at
// whole numbers, just off them, halves, tiny and large values of both
// signs, and over a sweep of quotients like those of the cells.
TEST(Polylabel, QuickFloorIsTheFloor) {
    const long double big = 0x1p61L;
    std::vector<long double> values = {0.0L, -0.0L, 1.0L, -1.0L, 0.5L, -0.5L, 1.5L, -1.5L, 2.5L, -2.5L,
                                       0x1p-70L, -0x1p-70L, 1e-4000L, -1e-4000L, big, -big, big - 0.5L, -big + 0.5L};
    for (long double w : {1.0L, 7.0L, 1023.0L, 1024.0L, 4096.0L}) {
        values.push_back(std::nextafter(w, 0.0L));
        values.push_back(std::nextafter(-w, 0.0L));
        values.push_back(std::nextafter(w, 2 * w));
        values.push_back(std::nextafter(-w, -2 * w));
    }
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> spread(-3000, 3000);
    for (int i = 0; i < 20000; ++i) values.push_back((static_cast<long double>(spread(random)) + 3.3L) / 0.77L);
    for (long double v : values)
        EXPECT_EQ(floorint(v), static_cast<long long>(std::floor(v))) << static_cast<double>(v);
}

// A float box's sides are the nearest floats at or outside the sides it
// holds: below(v) is the largest float at or below v, above(v) the least
// at or above it, also past the floats' range; a NaN stays one.
TEST(Polylabel, FloatBoxSidesAreTheNearestFloatsOutside) {
    using gridel::geometry::FloatBox;
    const long double most = std::numeric_limits<float>::max(), inf = INFINITY;
    std::vector<long double> values = {0.0L,  -0.0L, 1.0L,  1.0L / 3, -1.0L / 3, 0x1p-149L, 0x1p-160L, -0x1p-160L,
                                       most,  -most, most * 2, -most * 2, 1e4000L, -1e4000L, inf, -inf, 917.78L};
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> spread(-1000, 1000);
    for (int i = 0; i < 5000; ++i) values.push_back(static_cast<long double>(spread(random)) / 3.1L);
    for (long double v : values) {
        float low = FloatBox::below(v), high = FloatBox::above(v);
        EXPECT_TRUE(low <= v && v <= high) << static_cast<double>(v);
        EXPECT_TRUE(std::nextafter(low, INFINITY) > v || low == std::numeric_limits<float>::max() ||
                    (v == inf && std::isinf(low)))
            << static_cast<double>(v);
        EXPECT_TRUE(std::nextafter(high, -INFINITY) < v || high == -std::numeric_limits<float>::max() ||
                    (v == -inf && std::isinf(high)))
            << static_cast<double>(v);
    }
    EXPECT_TRUE(std::isnan(FloatBox::below(NAN)) && std::isnan(FloatBox::above(NAN)));
}
