// viewers_test.cpp - the outputs in the programs users open them in: the
// SVG's items in Inkscape's object list and through Python's XML parser,
// and every character of a line of chemistry drawn in the PDF (as
// Ghostscript paints it, and as text poppler finds) and in the PNG.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "fidelity/fidelity.h"

namespace fidelity {
namespace {

std::string shell(const std::string& command) {
    int status;
    return testsupport::runcommand(command + " </dev/null 2>/dev/null", status);
}

// The showcase drawn in `formats` in a new folder, which is returned.
std::string showcase(const std::string& formats, const std::string& info = "") {
    std::string dir = makeworkdir();
    std::string data = readfile(std::string(EXAMPLES_DIR) + "/showcase/gl-showcase.txt");
    if (!info.empty()) data.replace(data.find("info "), data.find('\n', data.find("info ")) - data.find("info "), info);
    writefile(dir + "/gl-showcase.txt", data);
    EXPECT_EQ(rungridel(dir, "gl-showcase.txt", formats), "");
    return dir;
}

std::vector<std::string> linesof(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Viewers, SvgItemsAreGroupsWithIdsClassesAndTitles) {
    std::string dir = showcase("-T svg");
    std::string svg = dir + "/gl-showcase.svg";
    // Each group as Python's XML parser reads it: id, class, title.
    std::vector<std::string> groups = linesof(shell(
        "python3 -c 'import sys, xml.etree.ElementTree as E\n"
        "n = \"{http://www.w3.org/2000/svg}\"\n"
        "for g in E.parse(sys.argv[1]).iter(n + \"g\"):\n"
        "    print(g.get(\"id\"), g.get(\"class\"), g.findtext(n + \"title\", \"\"), sep=\"|\")' " + svg));
    EXPECT_EQ(groups, (std::vector<std::string>{
                          "area-1|area|area 1: u1 u4", "area-2|area|area 2: u4 u2", "area-3|area|area 3: u2 u3 u6",
                          "area-4|area|area 4: u6 u7", "area-5|area|area 5: u7 u5", "area-6|area|area 6: u1 u3 u5",
                          "title|title|", "info|info|", "frame|frame|", "ticks|ticks|",
                          "axis-numbers|axis-numbers|", "small-ticks|ticks small|", "u1|line|u1: A B (C)",
                          "u2|line thick|u2: A C (B)", "u3|line|u3: B C (A)", "u7|line|u7: B C (D)",
                          "u4|line|u4: A D (B)", "u5|line dashed|u5: C D (A)", "u6|line dashed|u6: C D (B)",
                          "i1|point|i1: A B C D", "i2|point|i2: crossover of u5 and u3"}));
    // Inkscape's object list, from its command line, names them all.
    std::string listed;
    for (const std::string& line : linesof(shell("inkscape --query-all " + svg)))
        listed += line.substr(0, line.find(',')) + " ";
    for (const char* id : {"u1", "u7", "i1", "i2", "area-1", "area-6", "frame", "ticks", "axis-numbers", "title", "info"})
        EXPECT_NE(listed.find(std::string(" ") + id + " "), std::string::npos) << id << " not in: " << listed;
    if (!HasFailure()) removetree(dir);
}

// The darkness (255 less the grey, summed) of the rows of `r` from y0 to
// y1, pixels.
long darkness(const Raster& r, int y0, int y1) {
    long sum = 0;
    for (int y = y0; y < y1 && y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const unsigned char* p = &r.rgb[(static_cast<size_t>(y) * r.width + x) * 3];
            sum += 255 - (p[0] + p[1] + p[2]) / 3;
        }
    return sum;
}

TEST(Viewers, EveryCharacterIsDrawnInThePdfAndThePng) {
    // The whole line, then the same line without each of its characters
    // beyond ASCII in turn: each must take ink away.
    const std::string line = "H\u2082O Al\u2082SiO\u2085 \u03b1 \u03b2 \u03b3 \u00b0C";
    const char* removed[] = {"\u2082", "\u2085", "\u03b1", "\u03b2", "\u03b3", "\u00b0"};
    std::string info = "info " + line;
    for (const char* c : removed) {
        std::string without = line;
        for (size_t at; (at = without.find(c)) != std::string::npos;) without.erase(at, std::string(c).size());
        info += "\ninfo " + without;
    }
    std::string dir = showcase("-T pdf,png", info);
    std::string pdftext = shell("pdftotext " + dir + "/gl-showcase.pdf -");
    EXPECT_NE(pdftext.find(line), std::string::npos) << pdftext;  // searchable
    EXPECT_EQ(shell("pdffonts " + dir + "/gl-showcase.pdf | awk 'NR > 2 && $(NF-4) != \"yes\"'"), "");  // embedded

    Raster png, pdf;
    ASSERT_TRUE(loadpng(dir + "/gl-showcase.png", png));  // 150 dpi
    ASSERT_EQ(rasterise_pdf(dir + "/gl-showcase.pdf", dir + "/pdf.png"), "");
    ASSERT_TRUE(loadpng(dir + "/pdf.png", pdf));  // at the fidelity resolution
    const int n = 1 + static_cast<int>(std::size(removed));
    for (const auto& [format, raster, resolution] : {std::tuple{"png", &png, 150}, std::tuple{"pdf", &pdf, dpi}}) {
        // Info line j has its baseline at 620 + 18 (n - j) points on a page
        // whose top is at 750; its band reaches 13 points up, 5 down.
        auto band = [&](int j) {
            double baseline = (750 - (620 + 18 * (n - j))) * resolution / 72.0;
            return darkness(*raster, static_cast<int>(baseline - 13 * resolution / 72.0),
                            static_cast<int>(baseline + 5 * resolution / 72.0));
        };
        long whole = band(1);
        // The ink of a small glyph at 12 points, in darkness per square
        // pixel of the resolution: the degree sign, the smallest here, has
        // about 6000 at 150 dots per inch.
        long least = 2000L * resolution * resolution / (150 * 150);
        for (int j = 2; j <= n; ++j)
            EXPECT_GT(whole - band(j), least) << format << ": without " << removed[j - 2] << " the line has "
                                              << band(j) << ", with it " << whole;
    }
    if (!HasFailure()) removetree(dir);
}

}  // namespace
}  // namespace fidelity
