// freetexts_test.cpp - the script's free texts: drawn at their points of the
// data in every format, over a halo when the numbers have halos; one
// outside the window left out with a warning; a file without them drawn
// without a trace of them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "e2e/harness.h"

namespace {

const std::string diagram =
    "2 2 1 2\n"
    "u1 a b - c begin end\n"
    "   0 0   10 10\n"
    "*\n"
    "0.5 u1 top\n"
    "*\n"
    "window 0 10 0 10\n"
    "bigticks 2 0 2 0\n"
    "SCRIPT"
    "*\n";

struct Drawn {
    e2e::RunResult run;
    std::string svg, eps, check;
};

Drawn draw(const std::string& script) {
    std::string data = diagram;
    data.replace(data.find("SCRIPT"), 6, script);
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-free.txt", data);
    e2e::Launch l;
    l.dir = dir;
    l.args = {"-T", "eps,pdf,svg,png", "gl-free.txt"};
    Drawn d;
    d.run = e2e::rungridelwith(l);
    if (e2e::fileexists(dir + "/gl-free.svg")) d.svg = testsupport::readfile(dir + "/gl-free.svg");
    if (e2e::fileexists(dir + "/gl-free.eps")) d.eps = testsupport::readfile(dir + "/gl-free.eps");
    EXPECT_EQ(testsupport::ghostscript(dir + "/gl-free.eps"), "");
    l.args = {"--check", "gl-free.txt"};
    d.check = e2e::withoutareanotes(e2e::rungridelwith(l).errors);
    e2e::removetree(dir);
    return d;
}

// The text of the group `id`, between its title and its end.
std::string group(const std::string& svg, const std::string& id) {
    size_t at = svg.find("<g id=\"" + id + "\"");
    if (at == std::string::npos) return "";
    return svg.substr(at, svg.find("</g>", at) - at);
}

TEST(FreeTexts, EachIsDrawnAtItsPointInItsOwnGroup) {
    Drawn d = draw("text 2 8 P = 1 kbar\ntext 8 2  + q + fluid\ntext 11 5 beyond\n");
    ASSERT_EQ(d.run.status, 0) << d.run.screen;
    std::string first = group(d.svg, "text-1"), second = group(d.svg, "text-2");
    EXPECT_NE(first.find(">P = 1 kbar<"), std::string::npos) << first;
    EXPECT_NE(second.find(">+ q + fluid<"), std::string::npos) << second;
    EXPECT_EQ(group(d.svg, "text-3"), "");  // its point lies outside the window
    EXPECT_EQ(d.svg.find("beyond"), std::string::npos);
    EXPECT_EQ(d.eps.find("beyond"), std::string::npos);
    EXPECT_NE(d.eps.find("(P = 1 kbar)"), std::string::npos);
    // Centred across at x = 2 of 0..10 on the 460-point square from 46.
    size_t x = first.find(" x=\"");
    ASSERT_NE(x, std::string::npos) << first;
    EXPECT_NEAR(std::strtod(first.c_str() + x + 4, nullptr), 46 + 460 * 0.2, 0.6) << first;
    EXPECT_EQ(d.check, "gl-free.txt:11: warning: the text 'beyond' stands at a point outside the window: it is not drawn\n");
}

TEST(FreeTexts, AHaloWhenTheNumbersHaveHalos) {
    Drawn plain = draw("text 5 5 middle\n");
    Drawn halo = draw("labels halo\ntext 5 5 middle\n");
    EXPECT_EQ(group(plain.svg, "text-1").find("stroke=\"#ffffff\""), std::string::npos) << group(plain.svg, "text-1");
    EXPECT_NE(group(halo.svg, "text-1").find("stroke=\"#ffffff\""), std::string::npos) << group(halo.svg, "text-1");
}

TEST(FreeTexts, BadLinesAreIgnoredWithAWarning) {
    Drawn d = draw("text 5\ntext x 5 words\ntext 5 5\n");
    EXPECT_EQ(d.run.status, 0);
    EXPECT_EQ(d.svg.find("id=\"text-"), std::string::npos);
    const std::string why = ": warning: text needs X and Y, the point of the data it is centred at, then the text: the line is ignored\n";
    EXPECT_EQ(d.check, "gl-free.txt:9" + why + "gl-free.txt:10" + why + "gl-free.txt:11" + why);
    Drawn none = draw("");
    EXPECT_EQ(none.eps.find("free texts"), std::string::npos);
}

}  // namespace
