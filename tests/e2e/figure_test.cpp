// figure_test.cpp - a figure for print drawn whole: a data file in the shape
// calculators' front ends write, its fields named from its comments, the
// EPS that Ghostscript renders with the content's bounding box, and what
// --check says of the fields left without a name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "e2e/harness.h"

namespace {

// The bundled pseudosection, with a key beside the plot, its texts each
// one string (without formulas, which set them in pieces).
std::string frontendfile() {
    std::string data = testsupport::readfile(EXAMPLES_DIR "/paper/gl-paper.txt");
    data.replace(data.find("legend below"), 12, "legend right");
    data.erase(data.find("formulas\n"), 9);
    return data;
}

struct Drawn {
    e2e::RunResult run;
    std::string eps;
    std::string dir;
};

// Run gridel with `args` on the data file gl-fig.txt in a fresh folder,
// which stays for the caller to look into (and remove).
Drawn draw(const std::string& data, std::vector<std::string> args = {}) {
    Drawn d;
    d.dir = e2e::makeworkdir();
    testsupport::writefile(d.dir + "/gl-fig.txt", data);
    e2e::Launch l;
    l.dir = d.dir;
    l.args = std::move(args);
    l.args.push_back("gl-fig.txt");
    d.run = e2e::rungridelwith(l);
    if (e2e::fileexists(d.dir + "/gl-fig.eps")) d.eps = testsupport::readfile(d.dir + "/gl-fig.eps");
    return d;
}

// The texts of the styled strings between a comment line and the next
// comment line that begins a part of the drawing, joined by blanks.
std::string styledtexts(const std::string& eps, const std::string& part) {
    size_t from = eps.find("% " + part + "\n");
    if (from == std::string::npos) return "";
    size_t to = eps.find("\n% ", from + 1);
    std::string body = eps.substr(from, to == std::string::npos ? std::string::npos : to - from);
    // Each styled text is a line "(STRING) X Y styledshow", its string's
    // parentheses and backslashes escaped.
    std::string joined;
    for (size_t at = 0; (at = body.find("\n(", at)) != std::string::npos;) {
        size_t end = body.find('\n', at + 1);
        std::string line = body.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
        at = at + 1;
        if (line.size() < 11 || line.compare(line.size() - 11, 11, " styledshow") != 0) continue;
        std::string text;
        size_t k = 1;
        for (; k < line.size() && line[k] != ')'; ++k) {
            if (line[k] == '\\' && k + 1 < line.size()) ++k;
            text += line[k];
        }
        if (!joined.empty()) joined += ' ';
        joined += text;
    }
    return joined;
}

TEST(Figure, FieldsOfAFrontEndFileAreNamedInPlaceOrInTheKey) {
    std::string data = frontendfile();
    Drawn d = draw(data, {"-T", "svg"});
    EXPECT_EQ(d.run.status, 0) << d.run.screen;
    EXPECT_EQ(testsupport::ghostscript(d.dir + "/gl-fig.eps"), "");
    // In the SVG every field is a group of its own, and the key one more.
    std::string svg = testsupport::readfile(d.dir + "/gl-fig.svg");
    for (int k = 1; k <= 8; ++k)
        EXPECT_NE(svg.find("<g id=\"field-" + std::to_string(k) + "\""), std::string::npos) << k;
    EXPECT_NE(svg.find("<g id=\"legend\""), std::string::npos);
    std::string inplace = styledtexts(d.eps, "field names"), key = styledtexts(d.eps, "key");
    std::istringstream areas(data.substr(data.find("% areas")));
    int named = 0, numbered = 0;
    for (std::string line; std::getline(areas, line);) {
        size_t percent = line.find('%');
        if (line.empty() || line[0] == '%' || line[0] == '*' || percent == std::string::npos) continue;
        std::string name = line.substr(line.find_first_not_of(' ', percent + 1));
        if (inplace.find(name) != std::string::npos)
            ++named;
        else if (key.find(name) != std::string::npos)
            ++numbered;
        else
            ADD_FAILURE() << "field not named: " << name << "\nin place: " << inplace << "\nkey: " << key;
    }
    EXPECT_EQ(named + numbered, 8);
    EXPECT_GE(numbered, 1);  // the narrow wedge
    e2e::removetree(d.dir);
}

// The bundled figure as its SVG: each text one <text> whose words stand as
// written, a <tspan> only for a formula's count or an italic letter; each
// number and its halo in a group of its item; and its EPS draws every
// formula's count in the smaller size, no character as "?".
TEST(Figure, TextsWholeAndNumbersWithTheirItems) {
    std::string data = testsupport::readfile(EXAMPLES_DIR "/paper/gl-paper.txt");
    data.replace(data.find("fields comments"), 15, "fields comments\nfield 4 g bi mu pl + $\\beta$-q");
    Drawn d = draw(data, {"-T", "svg"});
    ASSERT_EQ(d.run.status, 0) << d.run.screen;
    std::string svg = testsupport::readfile(d.dir + "/gl-fig.svg");
    // A field's title is its name with the markup taken out.
    EXPECT_NE(svg.find("<g id=\"field-4\" class=\"field\"><title>g bi mu pl + \xCE\xB2-q</title>"), std::string::npos);
    for (const char* whole : {">g chl bi mu</text>", "<tspan font-style=\"italic\">T</tspan> (\xC2\xB0" "C)</text>",
                              ">pl q H<tspan font-size=\"4.9\" dy=\"1.05\">2</tspan><tspan dy=\"-1.05\">O</tspan></text>"})
        EXPECT_NE(svg.find(whole), std::string::npos) << whole;
    EXPECT_EQ(svg.find("id=\"labels\""), std::string::npos);
    for (const char* item : {"u1", "u11", "i1", "i4"}) {
        size_t open = svg.find("<g id=\"" + std::string(item) + "-label\"");
        ASSERT_NE(open, std::string::npos) << item;
        std::string group = svg.substr(open, svg.find("</g>", open) - open);
        size_t first = group.find("<text"), second = group.find("<text", first + 1);
        EXPECT_NE(second, std::string::npos) << group;  // the halo, then the number
        EXPECT_NE(group.find("stroke=\"#ffffff\""), std::string::npos) << group;
    }
    EXPECT_NE(d.eps.find("/Helvetica-Latin1 findfont 4.90 scalefont setfont"), std::string::npos);
    EXPECT_EQ(d.eps.find("?"), std::string::npos);
    EXPECT_EQ(testsupport::ghostscript(d.dir + "/gl-fig.eps"), "");
    e2e::removetree(d.dir);
}

// The four numbers of a "%%BoundingBox:" line in a text.
std::vector<double> boundingbox(const std::string& text) {
    std::vector<double> box(4, 0);
    size_t at = text.find("%%BoundingBox:");
    if (at == std::string::npos ||
        std::sscanf(text.c_str() + at, "%%%%BoundingBox: %lf %lf %lf %lf", &box[0], &box[1], &box[2], &box[3]) != 4)
        box.clear();
    return box;
}

TEST(Figure, TheEpsBoundingBoxIsTheContentsWithItsMargin) {
    for (const char* extra : {"", "size 60 40\nlegend below\ntitle Metapelite\n"}) {
        std::string data = frontendfile();
        data.insert(data.rfind("*"), extra);
        Drawn d = draw(data);
        ASSERT_EQ(d.run.status, 0) << d.run.screen;
        int status;
        std::string out = testsupport::runcommand(
            "gs -q -dSAFER -dBATCH -dNOPAUSE -r288 -sDEVICE=bbox '" + d.dir + "/gl-fig.eps' 2>&1", status);
        std::vector<double> stated = boundingbox(d.eps), inked = boundingbox(out);
        ASSERT_EQ(stated.size(), 4u) << extra;
        ASSERT_EQ(inked.size(), 4u) << out;
        for (int i = 0; i < 4; ++i) {
            double margin = i < 2 ? inked[i] - stated[i] : stated[i] - inked[i];
            EXPECT_NEAR(margin, 4, 1.5) << extra << "side " << i << "\n" << out;
        }
        e2e::removetree(d.dir);
    }
}

// Every number of an attribute in a text.
std::vector<double> attributes(const std::string& text, const std::string& name) {
    std::vector<double> out;
    const std::string key = " " + name + "=\"";
    for (size_t at = 0; (at = text.find(key, at)) != std::string::npos;) {
        at += key.size();
        size_t end = text.find_first_not_of("0123456789.", at);
        if (end != std::string::npos && end > at && text[end] == '"') out.push_back(std::stod(text.substr(at, end - at)));
    }
    return out;
}

TEST(Figure, PaperStyleAtAnEightyFourMillimetrePlotMeetsTheFloors) {
    std::string data = testsupport::readfile(EXAMPLES_DIR "/showcase/gl-showcase.txt");
    data.insert(data.rfind("info "), "style paper\nsize 84\nxlabel T\nylabel P\nlegend below\nfields comments\n"
                                     "field 5 a name far too long for its field, which the key takes instead, since not even in three lines of the least size does it find the room it needs anywhere in its field\n"
                                     "field 6 a longer name that is made smaller\n");
    Drawn d = draw(data, {"-T", "svg"});
    ASSERT_EQ(d.run.status, 0) << d.run.screen;
    std::string svg = testsupport::readfile(d.dir + "/gl-fig.svg");
    std::vector<double> sizes = attributes(svg, "font-size"), widths = attributes(svg, "stroke-width");
    ASSERT_GT(sizes.size(), 30u);
    ASSERT_GT(widths.size(), 20u);
    EXPECT_GE(*std::min_element(sizes.begin(), sizes.end()), 6);
    EXPECT_GE(*std::min_element(widths.begin(), widths.end()), 0.25);
    EXPECT_NE(svg.find("field numbered"), std::string::npos);
    e2e::removetree(d.dir);
}

TEST(Figure, CheckListsTheFieldsWithoutAName) {
    std::string data = frontendfile();
    data.replace(data.find("% g sill bi kfs pl q H2O"), 24, "");
    data.insert(data.rfind("*"), "field 9 melt\n");
    Drawn d = draw(data, {"--check"});
    EXPECT_EQ(d.run.status, 0);
    std::string lines = data.substr(0, data.find("0.84 u10 u9"));
    std::string arealine = std::to_string(std::count(lines.begin(), lines.end(), '\n') + 1);
    std::string fieldline = std::to_string(std::count(data.begin(), data.begin() + static_cast<long>(data.find("field 9")), '\n') + 1);
    EXPECT_EQ(e2e::withoutareanotes(d.run.errors), "gl-fig.txt:" + fieldline +
                                ": warning: there is no area 9 (the data file has 8): the line is ignored\n"
                                "gl-fig.txt:" + arealine +
                                ": warning: area 7: gets no name: its line ends with no comment and no field line "
                                "names it\n");
    e2e::removetree(d.dir);
}

// Two points in one place: with halos, each number stands as near the
// other circle as its own wherever it goes, and --check names the other;
// without halos numbers stand as they always did, unwarned.
TEST(Figure, CheckListsTheNumbersThatMayBeMisread) {
    const std::string data =
        "2 10 1 2\ni1 a b - c\n   0.5 0.5\ni2 a b - d\n   0.5 0.5\nu1 a b - c i1 end\n   0.5 0.5   1.0 0.9\n*\n*\n"
        "window 0 1 0 1\nbigticks 0.5 0 0.5 0\nnumbering yes\ndocircles 2\nSTYLE*\n";
    struct Case {
        const char* style;
        const char* errors;
    };
    const Case cases[] = {
        {"style paper\n",
         "gl-fig.txt:2: warning: i1: its number may be read as i2's: it stands as near i2 as its own circle, or nearer, "
         "in every place tried\n"
         "gl-fig.txt:4: warning: i2: its number may be read as i1's: it stands as near i1 as its own circle, or nearer, "
         "in every place tried\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string text = data;
        text.replace(text.find("STYLE"), 5, c.style);
        Drawn d = draw(text, {"--check"});
        EXPECT_EQ(d.run.status, 0) << c.style;
        EXPECT_EQ(d.run.errors, c.errors) << c.style;
        e2e::removetree(d.dir);
    }
}

}  // namespace
