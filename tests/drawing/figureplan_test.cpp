// figureplan_test.cpp - the places of a figure's texts on the showcase,
// measured with the outputs' fonts: field names inside their fields, no
// two labels on one another, the key inside its room.
#include <gtest/gtest.h>

#include <string>

#include "diagram/readdata.h"
#include "diagram/startdiagram.h"
#include "drawing/fontmeasure.h"
#include "geometry/areas.h"
#include "geometry/assembly.h"
#include "geometry/crossovers.h"
#include "geometry/figure.h"
#include "support/capture.h"
#include "support/files.h"
#include "support/run.h"

namespace {

// The showcase with script lines added, read, assembled and planned.
struct Planned {
    Diagram d;
    std::vector<AreaBoundary> areas;
    FigurePlan plan;
};

void plan(const std::string& script, Planned& p) {
    std::string data = testsupport::readfile(EXAMPLES_DIR "/showcase/gl-showcase.txt");
    data.insert(data.rfind("info "), script);
    std::string dir = testsupport::enterscratch();
    testsupport::writefile("gl-t.txt", data);
    auto run = testsupport::freshrun();
    run->open = 0;
    settext(run->settings.datafile, "t");
    startdiagram(*run, p.d);
    readdata(*run, p.d);
    placecrossovers(*run, p.d);
    assemblelines(*run, p.d);
    p.areas = traceareas(*run, p.d);
    p.plan = planfigure(p.d, p.areas, placelabels(*run, p.d), FontMeasure());
    testsupport::leavescratch(dir);
}

// The page polygon of area k.
std::vector<Spot> polygonof(const Planned& p, int16_t area) {
    std::vector<Spot> out;
    std::vector<BoundaryPoint> points;
    for (const AreaBoundary& b : p.areas)
        if (b.area == area) boundarypoints(p.d, b.pieces, points);
    for (const BoundaryPoint& b : points) {
        Spot s;
        topage(p.plan.map, b.x, b.y, s.x, s.y);
        out.push_back(s);
    }
    return out;
}

bool boxinside(const std::vector<Spot>& polygon, const Rect& r) {
    for (Spot corner : {Spot{r.left, r.bottom}, Spot{r.right, r.bottom}, Spot{r.left, r.top}, Spot{r.right, r.top}})
        if (!insidepolygon(polygon, corner)) return false;
    for (size_t i = 0; i < polygon.size(); ++i)
        if (crosses({polygon[i], polygon[(i + 1) % polygon.size()]}, r)) return false;
    return true;
}

const char* const fieldscripts[] = {
    "field 1 ky + q + H2O\nfield 2 sill + bi + mu\nfield 3 and\nfield 4 g + st + bi + mu + q + H2O\n"
    "field 5 melt\nfield 6 garnet + biotite + muscovite + plagioclase + quartz + ilmenite + rutile\n",
    "style paper\nsize 84\nfields comments\nfield 6 g + cd + bi + sill + kfs + pl + q + ilm + liq\n",
    "style paper\nsize 40 60\nfields comments\nlegend below\n",
};

TEST(FigurePlan, FieldNamesLieInsideTheirFields) {
    for (const char* script : fieldscripts) {
        Planned p;
        plan(script, p);
        ASSERT_FALSE(p.plan.fields.empty()) << script;
        for (const FieldLabel& f : p.plan.fields) {
            EXPECT_TRUE(f.number > 0 || boxinside(polygonof(p, f.area), f.box)) << script << "area " << f.area;
            EXPECT_GE(f.size, 6) << script;
        }
    }
}

TEST(FigurePlan, HaloLabelsOfTheShowcaseDoNotOverlap) {
    for (const char* script : {"labels halo\n", "style paper\nsize 84\nfields comments\n",
                               "labels halo\nfontsize 16\nfields comments\n"}) {
        Planned p;
        plan(script, p);
        std::vector<Rect> boxes;
        for (const PlacedLabel& l : p.plan.linelabels) boxes.push_back(l.box);
        for (const PlacedLabel& l : p.plan.pointlabels) boxes.push_back(l.box);
        for (const FieldLabel& f : p.plan.fields) boxes.push_back(f.box);
        EXPECT_EQ(p.plan.linelabels.size(), 7u) << script;
        EXPECT_EQ(p.plan.pointlabels.size(), 2u) << script;
        Rect window = {p.plan.map.left, p.plan.map.bottom, p.plan.map.right, p.plan.map.top};
        for (size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_TRUE(boxes[i].left >= window.left && boxes[i].right <= window.right &&
                        boxes[i].bottom >= window.bottom && boxes[i].top <= window.top)
                << script << "label " << i;
            for (size_t j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(overlaps(boxes[i], boxes[j])) << script << "labels " << i << " and " << j;
        }
    }
}

TEST(FigurePlan, TheKeyStaysInItsRoom) {
    Planned right, below;
    plan("style paper\nsize 84\nlegend right\n", right);
    plan("style paper\nsize 84\nlegend below\nxlabel T\n", below);
    const FigurePlan& r = right.plan;
    ASSERT_EQ(r.legend.entries.size(), 8u);  // 7 lines, 1 point (the crossover has no phases)
    EXPECT_EQ(std::string(r.legend.entries[3].number.c, 1), "4");  // by number, not table order
    EXPECT_EQ(std::string(r.legend.entries[0].text.c, static_cast<size_t>(r.legend.entries[0].text.len)), "A B (C)");
    EXPECT_GT(r.legend.box.left, r.map.right);
    EXPECT_GE(r.legend.box.bottom, r.map.bottom - 1);
    EXPECT_LE(r.legend.box.top, r.map.top);
    const FigurePlan& b = below.plan;
    EXPECT_LE(b.legend.box.right, b.map.right);
    EXPECT_LT(b.legend.box.top, b.xlabel.y);
    EXPECT_GT(b.legend.entries.back().numberright, b.legend.entries.front().numberright);  // columns
}

}  // namespace
