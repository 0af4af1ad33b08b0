// outputs_test.cpp - the PDF, SVG and PNG through the real binary: text
// that no renderer or XML reader takes never stops a run (the EPS keeps
// its bytes, --check says where it is), and every format carries its
// title, its creator and, for the PNG, its resolution.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

// Names and an info line that hold what cairo refuses (noncharacters,
// surrogates, bytes that are not UTF-8), control bytes, and what XML
// escapes: names on lines 4, 6 and 11, the info line on line 17.
const std::string hostile =
    "2 4 1 2\n"
    "i1 A B C D invariant\n   2 2\n"
    "ua<&>\x01 A\xFF\xFE B - C\xEF\xBF\xBE i1 end\n   2 2   3 1\n"
    "u\"'\xED\xA0\x80\xF4\x90\x80\x80 A C - B\xEF\xB7\x90 i1 end\n   2 2   1 3\n"
    "u3 B D - A i1 end\n   2 2   3 3\n"
    "*\n"
    "0.5 ua<&>\x01 u3\n"
    "*\n"
    "window 0 4 0 4\n"
    "bigticks 1 0 1 0\n"
    "numbering yes 10\n"
    "docircles 3\n"
    "info <&> \"q\" 'a' \x1b]0;x\x07 \xFF \xEF\xBF\xBF \xF0\x9F\xBF\xBE H\xE2\x82\x82O\n"
    "*\n";

// Run gridel with `options` on gl-mine.txt holding `data`; the run, and
// each output's bytes by extension (empty when there is none).
struct Outputs {
    e2e::RunResult run;
    std::string eps, pdf, svg, png, xml;  // xml: what Python's XML parser said of the SVG
};

Outputs draw(const std::string& data, std::vector<std::string> options) {
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-mine.txt", data);
    e2e::Launch l;
    l.dir = dir;
    l.args = std::move(options);
    l.args.push_back("gl-mine.txt");
    Outputs o;
    o.run = e2e::rungridelwith(l);
    std::string* outputs[] = {&o.eps, &o.pdf, &o.svg, &o.png};
    const char* extensions[] = {".eps", ".pdf", ".svg", ".png"};
    for (int k = 0; k < 4; ++k)
        if (e2e::fileexists(dir + "/gl-mine" + extensions[k]))
            *outputs[k] = testsupport::readfile(dir + "/gl-mine" + extensions[k]);
    if (!o.svg.empty()) {
        int status;
        o.xml = testsupport::runcommand("python3 -c 'import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])' " +
                                            dir + "/gl-mine.svg 2>&1 && echo parsed",
                                        status);
    }
    e2e::removetree(dir);
    return o;
}

TEST(Outputs, TextThatCannotBeDrawnNeverStopsARun) {
    Outputs o = draw(hostile, {"-T", "pdf,svg,png"});
    ASSERT_EQ(o.run.status, 0) << o.run.screen << o.run.errors;
    // The texts' warnings are counted in a normal run too.
    EXPECT_EQ(o.run.errors, "gl-mine.txt: note: 7 warnings; 'gridel --check gl-mine.txt' lists them\n");
    EXPECT_GT(o.pdf.size(), 1000u);
    EXPECT_GT(o.png.size(), 1000u);
    EXPECT_EQ(o.xml, "parsed\n");
    // The EPS keeps the file's bytes; the SVG has U+FFFD and escapes.
    EXPECT_NE(o.eps.find("\xEF\xBF\xBF \xF0\x9F\xBF\xBE H\xE2\x82\x82O"), std::string::npos);
    EXPECT_NE(o.svg.find("&lt;&amp;&gt; &quot;q&quot; &apos;a&apos; \xEF\xBF\xBD]0;x\xEF\xBF\xBD \xEF\xBF\xBD "),
              std::string::npos);
    EXPECT_NE(o.svg.find("<title>ua&lt;&amp;&gt;\xEF\xBF\xBD: A\xEF\xBF\xBD\xEF\xBF\xBD B (C\xEF\xBF\xBD)</title>"),
              std::string::npos);

    // --check says where such text is read: each name (a line's, its
    // phases') where it is written, and the info line.
    o = draw(hostile, {"--check"});
    EXPECT_EQ(o.run.status, 0);
    std::vector<int> lines;
    for (size_t at = 0; (at = o.run.errors.find("gl-mine.txt:", at)) != std::string::npos; ++at) {
        size_t end = o.run.errors.find('\n', at);
        std::string line = o.run.errors.substr(at, end - at);
        if (line.find("U+FFFD") != std::string::npos) lines.push_back(std::stoi(line.substr(12)));
    }
    EXPECT_EQ(lines, (std::vector<int>{4, 4, 4, 6, 6, 11, 17})) << o.run.errors;
}

// The chunk of type `type` in a PNG file, without its length, type and CRC.
std::string pngchunk(const std::string& png, const std::string& type) {
    for (size_t at = 8; at + 12 <= png.size();) {
        uint32_t n = 0;
        for (int k = 0; k < 4; ++k) n = n << 8 | static_cast<unsigned char>(png[at + k]);
        if (png.compare(at + 4, 4, type) == 0) return png.substr(at + 8, n);
        at += 12 + n;
    }
    return "";
}

TEST(Outputs, TitleCreatorAndResolution) {
    Outputs o = draw(hostile, {"-T", "pdf,svg,png", "--dpi", "300"});
    ASSERT_EQ(o.run.status, 0);
    const std::string creator = "gridel 1.18 (phase diagram drawing)";
    EXPECT_NE(o.pdf.find("/Title (gl-mine.txt)"), std::string::npos);
    EXPECT_NE(o.pdf.find("/Creator "), std::string::npos);
    EXPECT_NE(o.svg.find("<title>gl-mine.txt</title>"), std::string::npos);
    EXPECT_NE(o.svg.find("<dc:title>" + creator + "</dc:title>"), std::string::npos);
    // 300 dots per inch are 11811 per metre.
    EXPECT_EQ(pngchunk(o.png, "pHYs"), std::string("\0\0\x2e\x23\0\0\x2e\x23\1", 9));
    EXPECT_EQ(pngchunk(o.png, "tEXt"), std::string("Title\0gl-mine.txt", 17));
    EXPECT_NE(o.png.find(std::string("Software\0", 9) + creator), std::string::npos);
}

}  // namespace
