// numberplaces_test.cpp - numbers that cannot be misread, checked on the
// SVG as a reader meets it: every line's and point's number read back from
// its group (`u3-label`, `i2-label`), every line from its paths, every
// circle and every field name and free text from theirs.  A number must be
// nearer its own line (or circle) than any other line, circle or number,
// and a digit's width, ink to ink, from every other number, field name
// and free text; a number that is not is named by a warning of the run.
// On the bundled figures and on a generated diagram of 200 lines in narrow
// wedges with points beside them and named fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "drawing/fontmeasure.h"
#include "geometry/textmeasure.h"
#include "gridel/gridel.h"
#include "support/files.h"
#include "support/floors.h"

namespace {

struct P {
    double x, y;
};

struct Box {
    double left, top, right, bottom;  // SVG coordinates: y grows downwards
};

Box grow(const Box& b, double by) { return {b.left - by, b.top - by, b.right + by, b.bottom + by}; }

double gap(P p, const Box& b) {
    return std::hypot(std::max({0.0, b.left - p.x, p.x - b.right}), std::max({0.0, b.top - p.y, p.y - b.bottom}));
}

double gap(const Box& a, const Box& b) {
    return std::hypot(std::max({0.0, b.left - a.right, a.left - b.right}),
                      std::max({0.0, b.top - a.bottom, a.top - b.bottom}));
}

double gap(P p, P a, P b) {
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// A segment and a box: 0 when the segment reaches into the box (sampled
// finely enough for the hundredths the SVG is written in), else the
// least of the ends' and the corners' distances.
double gap(P a, P b, const Box& r) {
    double len = std::hypot(b.x - a.x, b.y - a.y);
    int n = static_cast<int>(len / 0.005) + 1;
    for (int i = 0; i <= n; ++i) {
        P q = {a.x + (b.x - a.x) * i / n, a.y + (b.y - a.y) * i / n};
        if (q.x >= r.left && q.x <= r.right && q.y >= r.top && q.y <= r.bottom) return 0;
    }
    double g = std::min(gap(a, r), gap(b, r));
    for (P c : {P{r.left, r.top}, P{r.right, r.top}, P{r.left, r.bottom}, P{r.right, r.bottom}})
        g = std::min(g, gap(c, a, b));
    return g;
}

// The value of attribute `name` in the tag that starts at `at`.
std::string attribute(const std::string& svg, size_t at, const std::string& name) {
    size_t end = svg.find('>', at);
    size_t a = svg.find(" " + name + "=\"", at);
    if (a == std::string::npos || a > end) return "";
    a += name.size() + 3;
    return svg.substr(a, svg.find('"', a) - a);
}

double number(const std::string& svg, size_t at, const std::string& name) {
    return std::atof(attribute(svg, at, name).c_str());
}

// What the SVG draws, read back.
struct Read {
    std::map<std::string, std::vector<std::vector<P>>> lines;  // by id, each path's points
    std::map<std::string, std::pair<P, double>> circles;        // by id: centre and radius
    struct Number {
        std::string id;  // "u3" or "i2"
        Box ink;
        double halo;  // its width
        double size;
    };
    std::vector<Number> numbers;
    std::vector<Box> texts;     // field names, free texts: line by line
    std::map<std::string, Box> numbered;  // the numbers of fields that have no room for their names, by area
};

// The width of a <text>'s content: its runs of one size each measured in
// the outputs' fonts.
double textwidth(const std::string& svg, size_t at, const FontMeasure& measure) {
    double size = number(svg, at, "font-size");
    TextFace face = attribute(svg, at, "font-weight") == "bold"     ? TextFace::bold
                    : attribute(svg, at, "font-style") == "italic" ? TextFace::italic
                                                                    : TextFace::regular;
    size_t p = svg.find('>', at) + 1, end = svg.find("</text>", at);
    double width = 0, runsize = size;
    std::string run;
    auto flush = [&] {
        width += static_cast<double>(measure.width({run.c_str(), static_cast<int>(run.size())}, face, runsize));
        run.clear();
    };
    while (p < end) {
        if (svg[p] == '<') {
            flush();
            bool opening = svg.compare(p, 6, "<tspan") == 0;
            runsize = opening && !attribute(svg, p, "font-size").empty() ? number(svg, p, "font-size") : size;
            p = svg.find('>', p) + 1;
            continue;
        }
        if (svg.compare(p, 5, "&amp;") == 0) {
            run += '&';
            p += 5;
        } else if (svg.compare(p, 4, "&lt;") == 0) {
            run += '<';
            p += 4;
        } else {
            run += svg[p++];
        }
    }
    flush();
    return width;
}

Read readsvg(const std::string& svg) {
    Read r;
    FontMeasure measure;
    for (size_t g = svg.find("<g id=\""); g != std::string::npos; g = svg.find("<g id=\"", g + 1)) {
        std::string id = attribute(svg, g, "id"), cls = attribute(svg, g, "class");
        size_t end = svg.find("</g>", g);
        auto is = [&](const std::string& kind) { return cls == kind || cls.rfind(kind + " ", 0) == 0; };
        if (is("line")) {
            for (size_t d = svg.find("<path", g); d < end; d = svg.find("<path", d + 1)) {
                std::vector<P> path;
                std::string text = attribute(svg, d, "d");
                const char* c = text.c_str();
                while (*c != 0) {
                    if (*c == 'M' || *c == 'L' || *c == ' ') {
                        ++c;
                        continue;
                    }
                    char* next;
                    double x = std::strtod(c, &next);
                    double y = std::strtod(next, &next);
                    if (next == c) break;
                    path.push_back({x, y});
                    c = next;
                }
                r.lines[id].push_back(path);
            }
        } else if (is("point")) {
            size_t c = svg.find("<circle", g);
            if (c < end) r.circles[id] = {{number(svg, c, "cx"), number(svg, c, "cy")}, number(svg, c, "r")};
        } else if (cls.rfind("label ", 0) == 0 || cls.rfind("field", 0) == 0 || cls == "text") {
            for (size_t t = svg.find("<text", g); t < end; t = svg.find("<text", t + 1)) {
                if (!attribute(svg, t, "stroke").empty()) continue;  // the halo under the number
                double x = number(svg, t, "x"), y = number(svg, t, "y"), size = number(svg, t, "font-size");
                double w = textwidth(svg, t, measure);
                Box ink = {x - w / 2, y - static_cast<double>(capheight) * size, x + w / 2,
                           y + (cls.rfind("label ", 0) == 0 ? 0 : static_cast<double>(descent) * size)};
                if (cls.rfind("label ", 0) == 0) {
                    double halo = number(svg, svg.find("<text", g), "stroke-width");  // the first text is the halo
                    r.numbers.push_back({id.substr(0, id.size() - 6), ink, halo, size});
                } else {
                    if (cls == "field numbered")
                        r.numbered[id.substr(6)] = ink;  // "field-77": area 77
                    else
                        r.texts.push_back(ink);
                }
            }
        }
    }
    return r;
}

// What is wrong with the numbers of a drawing, each by its item's name;
// `digit` the width of a digit at the numbers' size.  A field's number
// that the run said has no room (`crowded`, by area) is not held to it.
std::map<std::string, std::string> misreadings(const Read& r, double digit, const std::set<std::string>& crowded) {
    // The SVG's coordinates are rounded to hundredths; anything else must
    // be farther than a number's own line or circle by a tenth of a point.
    constexpr double rounding = 0.02, hairline = 0.1;
    std::map<std::string, std::string> wrong;
    for (size_t i = 0; i < r.numbers.size(); ++i) {
        const Read::Number& n = r.numbers[i];
        Box patch = grow(n.ink, n.halo / 2);
        bool point = n.id[0] == 'i';
        P centre{};
        double radius = -1, own = 1e9;
        if (point) {
            auto c = r.circles.find(n.id);
            if (c == r.circles.end()) continue;
            centre = c->second.first;
            radius = c->second.second;
            own = std::max(0.0, gap(centre, patch) - radius);
        } else {
            for (const auto& path : r.lines.at(n.id))
                for (size_t k = 1; k < path.size(); ++k) own = std::min(own, gap(path[k - 1], path[k], patch));
        }
        std::string nearest;
        double least = 1e9;
        for (const auto& [id, paths] : r.lines) {
            if (!point && id == n.id) continue;
            for (const auto& path : paths)
                for (size_t k = 1; k < path.size(); ++k) {
                    // A point's own lines meet at its circle: not against it.
                    if (point && gap(centre, path[k - 1], path[k]) <= radius + rounding) continue;
                    double g = gap(path[k - 1], path[k], patch);
                    if (g < least) least = g, nearest = id;
                }
        }
        for (const auto& [id, circle] : r.circles) {
            if (point && id == n.id) continue;
            double g = std::max(0.0, gap(circle.first, patch) - circle.second);
            if (g < least) least = g, nearest = id;
        }
        if (least + rounding < own + hairline)
            wrong[n.id] =
                "nearer " + nearest + " (" + std::to_string(least) + ") than its own (" + std::to_string(own) + ")";
        for (size_t j = 0; j < r.numbers.size(); ++j) {
            if (j == i) continue;
            double g = gap(n.ink, r.numbers[j].ink);
            if (g + rounding < digit) wrong[n.id] = "within a digit's width of " + r.numbers[j].id;
        }
        for (const Box& t : r.texts)
            if (gap(n.ink, t) + rounding < digit) wrong[n.id] = "within a digit's width of a field name or text";
        for (const auto& [area, t] : r.numbered)
            if (!crowded.count(area) && gap(n.ink, t) + rounding < digit)
                wrong[n.id] = "within a digit's width of field " + area + "'s number";
    }
    return wrong;
}

// The items whose numbers the run warned of; with `fields`, the areas
// (by number) whose number the run said has no room.
std::set<std::string> warned(const gridel::Drawing& drawing, bool fields = false) {
    std::set<std::string> items;
    const std::string said = fields ? ": its name fits nowhere and its number has no room" : ": its number ";
    for (const gridel::Diagnostic& d : drawing.diagnostics) {
        size_t colon = d.message.find(said);
        if (d.severity != "warning" || colon == std::string::npos) continue;
        std::string item = d.message.substr(0, colon);
        items.insert(fields ? item.substr(item.rfind(' ') + 1) : item);
    }
    return items;
}

// 200 lines in 40 fans of five: each fan leaves its point, on one of two
// rings round the window's centre, outwards in a wedge of 12 degrees,
// turned a little off the radius so that it crosses the fans beside it
// at narrow angles, and runs out through the window's edge; beside the
// last line of each fan a point of no line; the four wedges of each fan
// named fields.
std::string fans() {
    constexpr int count = 40, spokes = 5;
    constexpr double spread = 3, reach = 100;  // degrees between lines; data units they run
    std::string points, lines, areas;
    char row[256];
    for (int k = 0; k < count; ++k) {
        double around = 2 * M_PI * k / count, ring = 18 + 14 * (k % 2);
        double x = 50 + ring * std::cos(around), y = 50 + ring * std::sin(around);
        double base = around + 0.2 * std::sin(3 * k);
        std::snprintf(row, sizeof row, "i%d g bi - mu\n   %.3f %.3f\n", k + 1, x, y);
        points += row;
        for (int j = 0; j < spokes; ++j) {
            double angle = base + (j - spokes / 2) * spread * M_PI / 180;
            std::snprintf(row, sizeof row, "u%d g bi mu - ky i%d end\n   %.3f %.3f   %.3f %.3f   %.3f %.3f\n",
                          k * spokes + j + 1, k + 1, x, y, x + reach / 3 * std::cos(angle),
                          y + reach / 3 * std::sin(angle), x + reach * std::cos(angle), y + reach * std::sin(angle));
            lines += row;
            if (j > 0) {
                std::snprintf(row, sizeof row, "0.%d u%d u%d   %% g bi mu q pl%d\n", 80 + j * 4, k * spokes + j,
                              k * spokes + j + 1, j);
                areas += row;
            }
        }
        // A point 2 units beside the fan's last line, 12 units out.
        double angle = base + (spokes / 2) * spread * M_PI / 180;
        std::snprintf(row, sizeof row, "i%d point\n   %.3f %.3f\n", count + k + 1,
                      x + 12 * std::cos(angle) - 2 * std::sin(angle), y + 12 * std::sin(angle) + 2 * std::cos(angle));
        points += row;
    }
    return "2 10 1 2\n" + points + lines + "*\n" + areas + "*\nwindow 0 100 0 100\nbigticks 20 0 20 0\n"
           "numbering yes\ndocircles 2\nstyle paper\nsize 300 300\nfields comments\n*\n";
}

TEST(NumberPlaces, EachNumberReadsAsItsOwnItemsOrIsWarnedOf) {
    struct Case {
        std::string name;
        std::string text;
        size_t numbers;     // at least this many drawn
        size_t mostwarned;   // at most this many warned of
        size_t mostcrowded;  // at most this many fields' numbers warned of as having no room
    };
    std::string showcase = testsupport::readfile(EXAMPLES_DIR "/showcase/gl-showcase.txt");
    showcase.insert(showcase.rfind("info "), "style paper\nsize 84\nfields comments\n");
    const Case cases[] = {
        {"paper", testsupport::readfile(EXAMPLES_DIR "/paper/gl-paper.txt"), 15, 0, 0},
        {"section", testsupport::readfile(EXAMPLES_DIR "/section/gl-section.txt"), 6, 0, 0},
        {"showcase", showcase, 9, 0, 0},
        {"fans", fans(), 270, 36, 13},
    };
    for (const Case& c : cases) {
        gridel::DrawOptions options;
        options.name = "gl-" + c.name + ".txt";
        options.formats = {"svg"};
        gridel::Drawing drawing = gridel::draw(c.text, options);
        ASSERT_EQ(drawing.status, gridel::statusnormal) << c.name << drawing.errors;
        const std::string* svg = drawing.output("svg");
        ASSERT_NE(svg, nullptr) << c.name;
        Read read = readsvg(*svg);
        ASSERT_GE(read.numbers.size(), c.numbers) << c.name;
        double digit = static_cast<double>(FontMeasure().width({"0", 1}, TextFace::regular, read.numbers[0].size));
        std::set<std::string> told = warned(drawing);
        std::set<std::string> crowded = warned(drawing, true);
        EXPECT_LE(told.size(), c.mostwarned) << c.name;
        EXPECT_LE(crowded.size(), c.mostcrowded) << c.name;
        for (const auto& [id, why] : misreadings(read, digit, crowded))
            EXPECT_TRUE(told.count(id)) << c.name << ": " << id << "'s number stands " << why << ", unwarned";
    }
}

}  // namespace
