// figureplan_test.cpp - the places of a figure's texts on the showcase,
// measured with the outputs' fonts: field names inside their fields, no
// two labels on one another, the key inside its room.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "diagram/readdata.h"
#include "diagram/startdiagram.h"
#include "drawing/cairocanvas.h"
#include "drawing/fontmeasure.h"
#include "drawing/plan.h"
#include "geometry/areas.h"
#include "geometry/assembly.h"
#include "geometry/crossovers.h"
#include "geometry/figure.h"
#include "geometry/planner.h"
#include "support/capture.h"
#include "support/files.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

// The showcase with script lines added, read, assembled and planned.
struct Planned {
    Diagram d;
    std::vector<AreaBoundary> areas;
    FigurePlan plan;
};

// A fresh run, every channel closed, that has read `data` into `d`; the
// steps after reading run in the scratch folder, left when `then` ends.
void readinto(const std::string& data, Diagram& d, const std::function<void(::Run&)>& then) {
    std::string dir = testsupport::enterscratch();
    testsupport::writefile("gl-t.txt", data);
    auto run = testsupport::freshrun();
    run->open = 0;
    settext(run->settings.datafile, "t");
    startdiagram(*run, d);
    readdata(*run, d);
    then(*run);
    testsupport::leavescratch(dir);
}

void plandata(const std::string& data, Planned& p, PlanSearch search = PlanSearch::filed) {
    readinto(data, p.d, [&](::Run& run) {
        placecrossovers(run, p.d);
        assemblelines(run, p.d);
        p.areas = traceareas(run, p.d);
        p.plan = planfigure(p.d, p.areas, placelabels(run, p.d), FontMeasure(), search);
    });
}

// The showcase with script lines added.
std::string showcasewith(const std::string& script) {
    std::string data = testsupport::readfile(EXAMPLES_DIR "/showcase/gl-showcase.txt");
    data.insert(data.rfind("info "), script);
    return data;
}

void plan(const std::string& script, Planned& p, PlanSearch search = PlanSearch::filed) {
    plandata(showcasewith(script), p, search);
}

// The benchmark's paper figure of a diagram with 4 rows a line (empty
// when the generator did not run).
std::string generatedpaper() {
    std::string dir = testsupport::enterscratch();
    int status = std::system("python3 " EXAMPLES_DIR "/../bench/gendiagram.py --rows 4 --out big >/dev/null 2>&1");
    std::string data = status == 0 ? testsupport::readfile("big/gl-paper.txt") : "";
    testsupport::leavescratch(dir);
    return data;
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

// The key lists the kinds named; beside a low plot its columns are as
// few as the height allows and of even length, not one full and one short.
TEST(FigurePlan, TheKeyListsTheKindsNamedInBalancedColumns) {
    struct Case {
        const char* script;
        size_t entries;
        std::vector<int> groups;  // the groups listed
    };
    const Case cases[] = {
        {"style paper\nsize 84\nlegend right points\n", 1, {1}},
        {"style paper\nsize 84\nlegend below lines\n", 7, {0}},
        {"style paper\nsize 84\nlegend points lines\n", 8, {0, 1}},
        {"style paper\nsize 84\nlegend fields\n", 0, {}},  // no field is numbered
    };
    for (const Case& c : cases) {
        Planned p;
        plan(c.script, p);
        EXPECT_EQ(p.plan.legend.entries.size(), c.entries) << c.script;
        std::vector<int> groups;
        for (const LegendEntry& e : p.plan.legend.entries)
            if (groups.empty() || groups.back() != e.group) groups.push_back(e.group);
        EXPECT_EQ(groups, c.groups) << c.script;
    }
    // Seven lines beside a plot 20 mm high: a full column holds six, so
    // two columns, of four and three, not six and one.
    Planned low;
    plan("style paper\nsize 60 20\nlegend right lines\n", low);
    const Legend& key = low.plan.legend;
    ASSERT_EQ(key.entries.size(), 7u);
    std::vector<long double> columns;
    std::vector<int> counts;
    for (const LegendEntry& e : key.entries) {
        if (columns.empty() || columns.back() != e.numberright) {
            columns.push_back(e.numberright);
            counts.push_back(0);
        }
        ++counts.back();
    }
    EXPECT_EQ(counts, (std::vector<int>{4, 3}));
    EXPECT_GE(key.box.bottom, low.plan.map.bottom - 1);
}

// The gap between two boxes: 0 when they touch or overlap.
long double gapbetween(const Rect& a, const Rect& b) {
    long double dx = std::max({0.0L, b.left - a.right, a.left - b.right});
    long double dy = std::max({0.0L, b.bottom - a.top, a.bottom - b.top});
    return std::hypot(dx, dy);
}

// With halos, no two numbers, and no number and a field's name, stand
// closer than a digit's width (ink to ink): on the bundled figures.
TEST(FigurePlan, NumbersKeepADigitsWidthFromNumbersAndNames) {
    const char* const files[] = {"/paper/gl-paper.txt", "/section/gl-section.txt"};
    for (const char* file : files) {
        Planned p;
        plandata(testsupport::readfile(std::string(EXAMPLES_DIR) + file), p);
        const FigurePlan& f = p.plan;
        ASSERT_GT(f.style.halo, 0) << file;
        long double digit = FontMeasure().width({"0", 1}, TextFace::regular, f.style.labelsize);
        std::vector<Rect> numbers;  // their inks: the boxes without the halos
        for (const auto* labels : {&f.linelabels, &f.pointlabels})
            for (const PlacedLabel& l : *labels) numbers.push_back(grown(l.box, -f.style.halo / 2));
        ASSERT_GE(numbers.size(), 5u) << file;
        for (size_t i = 0; i < numbers.size(); ++i) {
            for (size_t j = i + 1; j < numbers.size(); ++j)
                EXPECT_GE(gapbetween(numbers[i], numbers[j]), digit * 0.999L) << file << " numbers " << i << " " << j;
            for (const FieldLabel& name : f.fields)
                EXPECT_GE(gapbetween(numbers[i], name.box), digit * 0.999L) << file << " number " << i << " field " << name.area;
        }
    }
}

// Two numbers alike to the last bit, their signs too.
bool same(long double a, long double b) { return a == b && std::signbit(a) == std::signbit(b); }

bool same(const Rect& a, const Rect& b) {
    return same(a.left, b.left) && same(a.bottom, b.bottom) && same(a.right, b.right) && same(a.top, b.top);
}

// Every place of two plans alike to the last bit.
void expectsameplaces(const FigurePlan& a, const FigurePlan& b, const std::string& what) {
    auto labels = [&](const std::vector<PlacedLabel>& x, const std::vector<PlacedLabel>& y, const char* kind) {
        ASSERT_EQ(x.size(), y.size()) << what << kind;
        for (size_t i = 0; i < x.size(); ++i)
            EXPECT_TRUE(x[i].item == y[i].item && same(x[i].x, y[i].x) && same(x[i].baseline, y[i].baseline) &&
                        same(x[i].box, y[i].box))
                << what << kind << " " << i;
    };
    labels(a.linelabels, b.linelabels, "line label");
    labels(a.pointlabels, b.pointlabels, "point label");
    ASSERT_EQ(a.fields.size(), b.fields.size()) << what;
    for (size_t i = 0; i < a.fields.size(); ++i) {
        const FieldLabel &f = a.fields[i], &g = b.fields[i];
        bool lines = f.lines.size() == g.lines.size();
        for (size_t k = 0; lines && k < f.lines.size(); ++k)
            lines = std::string(f.lines[k].c, static_cast<size_t>(f.lines[k].len)) ==
                    std::string(g.lines[k].c, static_cast<size_t>(g.lines[k].len));
        EXPECT_TRUE(f.area == g.area && f.number == g.number && same(f.size, g.size) && lines && same(f.x, g.x) &&
                    same(f.baseline, g.baseline) && same(f.box, g.box))
            << what << "field " << f.area;
    }
    // The numbers that may be misread, and what each may be read as.
    ASSERT_EQ(a.unclear.size(), b.unclear.size()) << what;
    for (size_t i = 0; i < a.unclear.size(); ++i) {
        const UnclearNumber &u = a.unclear[i], &v = b.unclear[i];
        EXPECT_TRUE(u.point == v.point && u.item == v.item && u.nearest == v.nearest && u.other == v.other)
            << what << "unclear number " << i;
    }
    ASSERT_EQ(a.legend.entries.size(), b.legend.entries.size()) << what;
    for (size_t i = 0; i < a.legend.entries.size(); ++i)
        EXPECT_TRUE(same(a.legend.entries[i].baseline, b.legend.entries[i].baseline) &&
                    same(a.legend.entries[i].textleft, b.legend.entries[i].textleft))
            << what << "key entry " << i;
    EXPECT_TRUE(same(a.map.left, b.map.left) && same(a.map.bottom, b.map.bottom)) << what;
}

// The filed search places every label, name and key entry where the look
// at every item places it: on the showcase with every kind of figure, and
// on a generated diagram with hundreds of lines, points and areas, a
// dozen of them named (all of them would take the look at everything
// minutes).
TEST(FigurePlan, TheFiledSearchPlacesAsTheLookAtEverything) {
    for (const char* script : fieldscripts) {
        Planned filed, scanned;
        plan(script, filed);
        plan(script, scanned, PlanSearch::scan);
        expectsameplaces(filed.plan, scanned.plan, script);
    }
    for (const char* script : {"labels halo\n", "style paper\nsize 84\nlegend right\nfields comments\n"}) {
        Planned filed, scanned;
        plan(script, filed);
        plan(script, scanned, PlanSearch::scan);
        expectsameplaces(filed.plan, scanned.plan, script);
    }

    std::string data = generatedpaper();
    ASSERT_FALSE(data.empty()) << "bench/gendiagram.py did not run";
    // Keep the names of every 25th area.
    std::string kept;
    size_t areas = data.find("\n*\n") + 3, at = 0, count = 0;
    while (at < data.size()) {
        size_t end = data.find('\n', at);
        std::string line = data.substr(at, end - at);
        size_t comment = line.find("  % ");
        if (at >= areas && comment != std::string::npos && count++ % 25 != 0) line.erase(comment);
        kept += line + "\n";
        at = end + 1;
    }
    ASSERT_GT(count, 250u);
    Planned filed, scanned;
    plandata(kept, filed);
    plandata(kept, scanned, PlanSearch::scan);
    EXPECT_EQ(filed.plan.fields.size(), 12u);
    EXPECT_GT(filed.plan.linelabels.size(), 1000u);
    EXPECT_GT(filed.plan.unclear.size(), 100u);
    expectsameplaces(filed.plan, scanned.plan, "generated diagram ");
}

// The same where the quick looks at the filed segments are at their edges:
// lines from far off the page (up to past the floats' range), cut where
// they cross the window, so that their ends lie on the frame; one segment
// across the whole plot (the crossing test's slack is then large); and
// dense lines whose ends lie on round values, so that many segments end
// exactly on a number's box.
TEST(FigurePlan, TheFiledSearchPlacesAsTheLookAtEverythingWhereLinesLeaveThePage) {
    std::ostringstream out;
    out << "2 3 1 2\n";
    unsigned seed = 12345;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    for (int k = 1; k <= 12; ++k)
        out << "i" << k << " a b c invariant\n   " << 1 + next(32) / 4.0 << " " << 1 + next(32) / 4.0 << "\n";
    int line = 0;
    auto add = [&](const std::string& rows) { out << "u" << ++line << " a - b end end\n" << rows << "\n"; };
    add("   -1e15 5   1e15 5.25");  // from far off the page at both ends
    add("   -1e45 5.5   1e45 6");
    add("   5.125 1e12   5 -1e12");
    add("   0.01 0.02   9.99 9.97");  // one segment across the plot
    for (int k = 0; k < 60; ++k) {
        std::ostringstream rows;
        int x = 1 + next(39), y = 1 + next(39);
        for (int i = 0; i < 40; ++i) {
            x = std::clamp(x + next(5) - 2, 1, 39);
            y = std::clamp(y + next(5) - 2, 1, 39);
            rows << " " << x / 4.0 << " " << y / 4.0;
        }
        add(rows.str());
    }
    std::string data = out.str();
    data += "*\n*\nwindow 0 10 0 10\nbigticks 2 0 2 0\nnumbering yes 10\ndocircles 3\nlabels halo\n*\n";
    Planned filed, scanned;
    plandata(data, filed);
    plandata(data, scanned, PlanSearch::scan);
    EXPECT_GT(filed.plan.linelabels.size(), 60u);
    EXPECT_GT(filed.plan.unclear.size(), 10u);
    expectsameplaces(filed.plan, scanned.plan, "lines off the page ");
}

// The crop of whole figures, measured with the widths their places were
// planned with (the texts from the outermost in, most passed over
// unset), is the crop measured from every text's ink, to the bit: the
// showcase as a paper figure with its key beside and below, and the
// generated diagram, solid with lines, numbers and a long key.
TEST(FigurePlan, TheCropFromThePlannedWidthsIsTheCropOfEveryText) {
    std::string generated = generatedpaper();
    ASSERT_FALSE(generated.empty()) << "bench/gendiagram.py did not run";
    std::vector<std::pair<std::string, std::string>> figures;
    for (const char* script : {"style paper\nsize 84\nlegend right\nfields comments\n", "style paper\nsize 40 60\nfields comments\nlegend below\n"})
        figures.push_back({script, showcasewith(script)});
    figures.push_back({"generated diagram", generated});
    for (const auto& [what, data] : figures) {
        Diagram d;
        DrawingPlan plan;
        gridel::text::Text banner, stamp;
        readinto(data, d, [&](::Run& run) {
            plan = plandrawing(run, d);
            banner = run.settings.banner;
            stamp = run.stamp;
        });
        auto draw = [&](Canvas& c) { drawdiagram(d, plan, banner, stamp, c); };
        const PageBox within = {-20000, -20000, 20000, 20000};
        PageBox exact{}, quick{}, known{};
        ASSERT_TRUE(inkbox(draw, within, exact, true)) << what;
        ASSERT_TRUE(inkbox(draw, within, quick)) << what;
        ASSERT_TRUE(inkbox(draw, within, known, false, &plan.widths)) << what;
        for (const PageBox& b : {quick, known})
            EXPECT_TRUE(b.left == exact.left && b.bottom == exact.bottom && b.right == exact.right && b.top == exact.top)
                << what << ": " << static_cast<double>(b.left) << " " << static_cast<double>(b.bottom) << " "
                << static_cast<double>(b.right) << " " << static_cast<double>(b.top);
    }
}

}  // namespace
