// markedtext_test.cpp - texts with markup set in pieces, and as each
// writer draws them: the SVG's texts whole with a <tspan> only where the
// style changes, the EPS's pieces as strings and glyph outlines that
// Ghostscript runs, and a text without markup drawn as it always was.
#include <gtest/gtest.h>

#include <string>

#include "drawing/drawing.h"
#include "drawing/epscanvas.h"
#include "drawing/fontmeasure.h"
#include "drawing/markedtext.h"
#include "drawing/svgcanvas.h"
#include "support/floors.h"

namespace {

TextView view(const std::string& s) { return {s.data(), static_cast<int32_t>(s.size())}; }

TextLook look(long double size, bool formulas, long double halo = 0) {
    TextLook l{size, TextFace::regular, false, halo};
    l.formulas = formulas;
    return l;
}

TEST(MarkedText, PiecesFollowEachOtherAlongTheBaseline) {
    TextSetter setter;
    SetText set = setmarked(view("H$_2$O at $T^{2}$"), look(10, false), setter);
    ASSERT_EQ(set.pieces.size(), 5u);
    struct Expected {
        const char* utf8;
        long double size;
        bool italic;
        long double rise;
    } expected[] = {{"H", 10, false, 0},  {"2", 7, false, -1.5L}, {"O at ", 10, false, 0},
                    {"T", 10, true, 0},   {"2", 7, false, 3.7L}};
    long double x = 0;
    for (size_t i = 0; i < std::size(expected); ++i) {
        const SetPiece& p = set.pieces[i];
        EXPECT_EQ(p.utf8, expected[i].utf8) << i;
        EXPECT_EQ(p.style.size, expected[i].size) << i;
        EXPECT_EQ(p.style.italic, expected[i].italic) << i;
        EXPECT_NEAR(static_cast<double>(p.rise), static_cast<double>(expected[i].rise), 1e-9) << i;
        EXPECT_EQ(p.x, x) << i;
        x += setter.set(p.utf8, p.style);
    }
    EXPECT_EQ(set.width, x);
    // The geometry measures what the canvases draw; a text without markup
    // measures as it always did.
    EXPECT_EQ(FontMeasure().width(view("H$_2$O at $T^{2}$"), TextFace::regular, 10), set.width);
    EXPECT_EQ(FontMeasure(true).width(view("g ky"), TextFace::regular, 10), textwidth(view("g ky"), TextStyle{10}));
    EXPECT_LT(FontMeasure(true).width(view("H2O"), TextFace::regular, 10),
              FontMeasure(false).width(view("H2O"), TextFace::regular, 10));
}

std::string svgof(const std::function<void(Canvas&)>& draw) {
    MemorySink sink;
    const std::string& bytes = sink.kept;
    SvgCanvas svg({0, 0, 100, 100}, sink);
    PageHeader header{};
    header.fontsize = 12;
    svg.begin(header);
    draw(svg);
    svg.end();
    int error;
    EXPECT_TRUE(svg.finish(error));
    size_t body = bytes.find("</metadata>\n");
    return bytes.substr(body + 12, bytes.size() - body - 12 - 7);
}

TEST(MarkedText, SvgTextsAreWholeWithTspansOnlyWhereTheStyleChanges) {
    struct Case {
        const char* text;
        bool formulas;
        const char* svg;
    } cases[] = {
        {"Kyanite AVAWAY", false, "<text x=\"10\" y=\"90\" font-size=\"10\">Kyanite AVAWAY</text>\n"},
        {"ky + H2O", true,
         "<text x=\"10\" y=\"90\" font-size=\"10\">ky + H<tspan font-size=\"7\" dy=\"1.5\">2</tspan>"
         "<tspan dy=\"-1.5\">O</tspan></text>\n"},
        {"H2O", false, "<text x=\"10\" y=\"90\" font-size=\"10\">H2O</text>\n"},
        {"$P$ (kbar)", false,
         "<text x=\"10\" y=\"90\" font-size=\"10\"><tspan font-style=\"italic\">P</tspan> (kbar)</text>\n"},
        {"Fe$^{2+}$ & $\\alpha$", false,
         "<text x=\"10\" y=\"90\" font-size=\"10\">Fe<tspan font-size=\"7\" dy=\"-3.7\">2+</tspan>"
         "<tspan dy=\"3.7\"> &amp; </tspan><tspan font-style=\"italic\">\xCE\xB1</tspan></text>\n"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(svgof([&](Canvas& cv) { cv.styledtext(10, 10, view(text), TextRole::caption, look(10, c.formulas)); }),
                  c.svg)
            << c.text;
    }
    // The halo is a white copy under the text, both whole.
    std::string halo = svgof([](Canvas& cv) { cv.styledtext(10, 10, view("H$_2$O"), TextRole::centred, look(10, false, 3)); });
    EXPECT_EQ(halo,
              "<text x=\"10\" y=\"90\" font-size=\"10\" text-anchor=\"middle\" fill=\"#ffffff\" stroke=\"#ffffff\" "
              "stroke-linejoin=\"round\" stroke-width=\"3\">H<tspan font-size=\"7\" dy=\"1.5\">2</tspan>"
              "<tspan dy=\"-1.5\">O</tspan></text>\n"
              "<text x=\"10\" y=\"90\" font-size=\"10\" text-anchor=\"middle\">H<tspan font-size=\"7\" "
              "dy=\"1.5\">2</tspan><tspan dy=\"-1.5\">O</tspan></text>\n");
}

using EpsText = drawtest::Drawing;

TEST_F(EpsText, PiecesAsStringsAndOutlinesThatGhostscriptRuns) {
    // Without markup and within Latin-1: the one string of old.
    std::string plain = drawn([](Canvas& c) { c.styledtext(100, 200, view("T (\xC2\xB0" "C)"), TextRole::centred, look(9, true)); });
    EXPECT_NE(plain.find("(T \\(\\260C\\)) 0.5 0 styledshow\n"), std::string::npos) << plain;
    EXPECT_EQ(plain.find("translate"), std::string::npos);

    // With markup: each piece in its font at its place, from the text's point.
    std::string marked = drawn([](Canvas& c) {
        c.styledtext(100, 200, view("$X$(CO2) H\xE2\x82\x82O \xCE\x94G"), TextRole::caption, look(9, true, 2));
    });
    for (const char* line : {"/Helvetica-BoldOblique-Latin1 /Helvetica-BoldOblique latin1font\ngsave\n100.00 200.00 translate\n",
                             "/Helvetica-Oblique-Latin1 findfont 9.00 scalefont setfont\n0 0 moveto\n(X) show\n",
                             "/Helvetica-Latin1 findfont 6.30 scalefont setfont\n", "(2) show\n", "(\\) H) show\n",
                             "(X) false charpath\n", "setlinewidth 1 setlinejoin stroke grestore newpath\n", " curveto\n",
                             "closepath\n", "fill\n"})
        EXPECT_NE(marked.find(line), std::string::npos) << line << "\nin\n" << marked;
    // No character is lost to "?".
    EXPECT_EQ(marked.find('?'), std::string::npos);
    EXPECT_EQ(ghostscriptof(marked), "");
    EXPECT_EQ(ghostscriptof(plain), "");
}

}  // namespace
