// fidelity_test.cpp - the PDF, SVG and PNG of a drawing look like its EPS:
// for the examples and made-up diagrams, each is rasterised (the PDF by
// Ghostscript, the SVG by rsvg-convert, the PNG as it is) and compared
// pixel by pixel with the EPS as Ghostscript paints it; and drawings
// altered in small ways are told apart from the outputs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>

#include "fidelity/diagrams.h"
#include "fidelity/fidelity.h"

namespace fidelity {
namespace {

const std::string formats = "-T eps,pdf,svg,png --dpi " + std::to_string(dpi);

// The rasters of one drawing: the EPS's, and the other formats' by name.
struct Rasters {
    Raster eps;
    std::vector<std::pair<std::string, Raster>> others;
};

// Rasterise gl-<name>.eps (as the UTF-8 reference), .pdf, .svg and .png in
// `dir`; false (with the test failed) when a tool fails.
bool rasterise(const std::string& dir, const std::string& name, Rasters& r) {
    std::string base = dir + "/gl-" + name;
    writefile(dir + "/reference.eps", utf8reference(readfile(base + ".eps")));
    writefile(dir + "/unkerned.svg", unkerned(readfile(base + ".svg")));
    std::string problems = rasterise_eps(dir + "/reference.eps", dir + "/eps.png") +
                           rasterise_pdf(base + ".pdf", dir + "/pdf.png") +
                           rasterise_svg(dir + "/unkerned.svg", dir + "/svg.png");
    EXPECT_EQ(problems, "");
    r.others = {{"pdf", {}}, {"svg", {}}, {"png", {}}};
    bool loaded = loadpng(dir + "/eps.png", r.eps) && loadpng(dir + "/pdf.png", r.others[0].second) &&
                  loadpng(dir + "/svg.png", r.others[1].second) && loadpng(base + ".png", r.others[2].second);
    EXPECT_TRUE(loaded) << dir;
    return problems.empty() && loaded;
}

// Each other format of the drawing in `dir` against its EPS.
void expectfaithful(const std::string& dir, const std::string& name) {
    Rasters r;
    if (!rasterise(dir, name, r)) return;
    for (const auto& [format, raster] : r.others) {
        Difference d = compare(r.eps, raster);
        std::cout << "  " << name << " " << format << ": " << describe(d) << "\n";
        EXPECT_TRUE(withintolerance(d)) << name << " " << format << ": " << describe(d) << "\n(kept in " << dir << ")";
    }
}

// Draw `data` as gl-<name>.txt in all four formats and compare them.
void expectfaithfuldiagram(const std::string& name, const std::string& data, const std::string& options = "") {
    std::string dir = makeworkdir();
    writefile(dir + "/gl-" + name + ".txt", data);
    std::string run = rungridel(dir, "gl-" + name + ".txt", formats + " " + options);
    ASSERT_EQ(run, "");
    expectfaithful(dir, name);
    if (!::testing::Test::HasFailure()) removetree(dir);
}

TEST(Fidelity, Examples) {
    int drawn = 0;
    for (const auto& entry : std::filesystem::directory_iterator(EXAMPLES_DIR)) {
        if (!entry.is_directory()) continue;
        std::string name = entry.path().filename().string();
        ++drawn;
        std::string dir = makeworkdir();
        for (const auto& f : std::filesystem::directory_iterator(entry.path())) {
            std::string file = f.path().filename().string();
            if (file.size() > 4 && file.compare(file.size() - 4, 4, ".txt") == 0 && file != "gl-log.txt")
                writefile(dir + "/" + file, readfile(f.path().string()));
        }
        ASSERT_EQ(rungridel(dir, "gl-" + name + ".txt", formats), "");
        expectfaithful(dir, name);
        if (!HasFailure()) removetree(dir);
    }
    EXPECT_GE(drawn, 3);
}

TEST(Fidelity, Fans) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) expectfaithfuldiagram("fan" + std::to_string(seed), fan(seed));
}

TEST(Fidelity, TicksAndTexts) {
    expectfaithfuldiagram("ticks", ticksandtext());
    expectfaithfuldiagram("utf8", utf8text());
    expectfaithfuldiagram("markup", markuptext());
}

// Cropped, every format covers the EPS's new bounding box, which leaves
// 4 to 5 points of white round the ink.
TEST(Fidelity, CroppedOutputs) {
    std::string dir = makeworkdir();
    writefile(dir + "/gl-crop.txt", fan(5));
    ASSERT_EQ(rungridel(dir, "gl-crop.txt", formats + " --crop"), "");
    std::string eps = readfile(dir + "/gl-crop.eps");
    int left = 0, bottom = 0, right = 0, top = 0;
    size_t at = eps.find("%%BoundingBox:");
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(std::sscanf(eps.c_str() + at, "%%%%BoundingBox: %d %d %d %d", &left, &bottom, &right, &top), 4);
    EXPECT_LT(right - left, 521);
    EXPECT_LT(top - bottom, 746);

    Rasters r;
    ASSERT_TRUE(rasterise(dir, "crop", r));
    const Raster& e = r.eps;
    EXPECT_EQ(e.width, (right - left) * dpi / 72);
    EXPECT_EQ(e.height, (top - bottom) * dpi / 72);
    // The white band on each side, in pixels: from the edge to the first
    // pixel that is not white.
    auto inked = [&](int x, int y) {
        const unsigned char* p = &e.rgb[(static_cast<size_t>(y) * e.width + x) * 3];
        return p[0] < 250 || p[1] < 250 || p[2] < 250;
    };
    int bands[4] = {0, 0, 0, 0};  // left, right, top, bottom
    auto rowinked = [&](int y) { for (int x = 0; x < e.width; ++x) if (inked(x, y)) return true; return false; };
    auto colinked = [&](int x) { for (int y = 0; y < e.height; ++y) if (inked(x, y)) return true; return false; };
    while (bands[0] < e.width && !colinked(bands[0])) ++bands[0];
    while (bands[1] < e.width && !colinked(e.width - 1 - bands[1])) ++bands[1];
    while (bands[2] < e.height && !rowinked(bands[2])) ++bands[2];
    while (bands[3] < e.height && !rowinked(e.height - 1 - bands[3])) ++bands[3];
    for (int band : bands) {
        EXPECT_GE(band, 4 * dpi / 72 - 1);
        EXPECT_LE(band, 5 * dpi / 72 + 1);
    }
    for (const auto& [format, raster] : r.others) {
        Difference d = compare(r.eps, raster);
        EXPECT_TRUE(withintolerance(d)) << format << ": " << describe(d);
    }
    if (!HasFailure()) removetree(dir);
}

// The EPS text altered: `edit` changes the first line for which it
// returns true.
std::string alter(const std::string& eps, const std::function<bool(std::string&)>& edit) {
    std::istringstream in(eps);
    std::string line, out;
    bool done = false;
    while (std::getline(in, line)) {
        if (!done) done = edit(line);
        out += line + "\n";
    }
    return out;
}

// The first number of a line moved by `by`.
bool movex(std::string& line, double by) {
    double x;
    int used;
    if (std::sscanf(line.c_str(), "%lf%n", &x, &used) != 1) return false;
    char moved[40];
    std::snprintf(moved, sizeof moved, "%.2f", x + by);
    line = moved + line.substr(static_cast<size_t>(used));
    return true;
}

// Small faults in the drawing must not pass as the same drawing: the
// showcase's EPS altered, against its PDF, SVG and PNG.
TEST(Fidelity, AlteredDrawingsFail) {
    std::string dir = makeworkdir();
    std::string source = std::string(EXAMPLES_DIR) + "/showcase/gl-showcase.txt";
    writefile(dir + "/gl-showcase.txt", readfile(source));
    ASSERT_EQ(rungridel(dir, "gl-showcase.txt", formats), "");
    Rasters r;
    ASSERT_TRUE(rasterise(dir, "showcase", r));
    std::string eps = readfile(dir + "/gl-showcase.eps");

    // Each after the first line separator, that is, in the lines.
    auto inlines = [](const std::function<bool(std::string&)>& edit) {
        bool seen = false;
        return [seen, edit](std::string& line) mutable {
            if (line.rfind("% ---", 0) == 0) seen = true;
            return seen && edit(line);
        };
    };
    int shifted = 0;
    const std::pair<std::string, std::function<bool(std::string&)>> faults[] = {
        {"an area not filled", [](std::string& l) { return l == "fill" && (l = "newpath", true); }},
        {"a line shifted by 2 points", inlines([&shifted](std::string& l) {
             if (l.find(" moveto ") == std::string::npos && l.find(" lineto ") == std::string::npos)
                 return shifted > 0;  // done at the end of the first line's points
             movex(l, 2);
             ++shifted;
             return false;
         })},
        {"a label moved by 2 points",
         inlines([](std::string& l) { return l.find(") centreshow") != std::string::npos && movex(l, 2); })},
        {"a dashed line drawn solid", [](std::string& l) { return l == "[3]  0  setdash" && (l = "[]  0 setdash", true); }},
    };
    for (const auto& [fault, edit] : faults) {
        std::string altered = alter(eps, edit);
        ASSERT_NE(altered, eps) << fault;
        writefile(dir + "/altered.eps", altered);
        ASSERT_EQ(rasterise_eps(dir + "/altered.eps", dir + "/altered.png"), "");
        Raster a;
        ASSERT_TRUE(loadpng(dir + "/altered.png", a));
        for (const auto& [format, raster] : r.others) {
            Difference d = compare(a, raster);
            std::cout << "  " << fault << " against the " << format << ": " << describe(d) << "\n";
            EXPECT_FALSE(withintolerance(d)) << fault << " passed against the " << format << ": " << describe(d);
        }
    }
    if (!HasFailure()) removetree(dir);
}

}  // namespace
}  // namespace fidelity
