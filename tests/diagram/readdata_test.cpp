// readdata_test.cpp - what the readers put into the diagram model.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "diagram/model.h"
#include "diagram/readdata.h"
#include "diagram/startdiagram.h"
#include "run/failure.h"
#include "support/capture.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }
std::string str(const Text& t) { return std::string(t.c, static_cast<size_t>(t.len)); }

const std::string script = "window 0 10 0 10\nbigticks 2 0 2 0\n";

// Read a data file into a new diagram, with every channel closed.
Diagram readmodel(const std::string& data) {
    std::string dir = testsupport::enterscratch();
    testsupport::writefile("gl-t.txt", data);
    auto run = testsupport::freshrun();
    run->open = 0;
    settext(run->settings.datafile, "t");
    Diagram d;
    startdiagram(*run, d);
    readdata(*run, d);
    testsupport::leavescratch(dir);
    return d;
}

// A data file read with style files and command-line lines after its
// script, as the job hands them over.
struct Styled {
    Diagram d;
    bool failed = false;
};

Styled readstyled(const std::string& data, const std::vector<std::pair<std::string, std::string>>& styles) {
    Styled out;
    std::string dir = testsupport::enterscratch();
    testsupport::writefile("gl-t.txt", data);
    auto run = testsupport::freshrun();
    run->open = 0;
    settext(run->settings.datafile, "t");
    int32_t lines = 0;
    for (const auto& [name, text] : styles) {
        if (name == "-e") {
            run->styles.push_back({"-e", "", text, ++lines});
        } else {
            testsupport::writefile(name, text);
            run->styles.push_back({name, dir + "/" + name, "", 0});
        }
    }
    startdiagram(*run, out.d);
    try {
        readdata(*run, out.d);
    } catch (const RunEnd&) {
        out.failed = true;
    }
    testsupport::leavescratch(dir);
    return out;
}

TEST(Readscript, StyleFilesAndLinesComeAfterTheScriptInTheirOrder) {
    const std::string data = "2 2 1 2\nu1 begin end 0 0 1 1\n*\n*\nwindow 0 1 0 1\n"
                             "bigticks 1 0 1 0\nfontsize 9\n";
    Styled a = readstyled(data, {{"-e", "style paper"}, {"slide.txt", "style slide\nfontsize 18\n*\nfontsize 3\n"},
                                 {"-e", "linewidth 2 % a comment"}});
    ASSERT_FALSE(a.failed);
    EXPECT_EQ(a.d.figure.style, FigureStyleName::slide);
    EXPECT_EQ(a.d.figure.fontsize, 18);  // the file's own 9 loses; its line after "*" is not read
    EXPECT_EQ(a.d.figure.linewidth, 2);
    EXPECT_EQ(a.d.figure.widthmm, 160);
    Styled b = readstyled(data, {{"slide.txt", "fontsize 18\n"}, {"-e", "fontsize 11"}});
    EXPECT_EQ(b.d.figure.fontsize, 11);
    // A whole script may stand in a style file: the data file's then ends at its "*".
    Styled c = readstyled("2 2 1 2\nu1 begin end 0 0 1 1\n*\n*\n",
                          {{"frame.txt", "window 0 2 0 2\nbigticks 1 0 1 0\n"}});
    ASSERT_FALSE(c.failed);
    EXPECT_EQ(c.d.window.xhigh, 2);
}

TEST(Readdata, PointsLinesAndStyleWords) {
    Diagram d = readmodel(
        "4 3 1 2\n"
        "i1 ky sill and - q H2O 550.0 4.0 0.1 0.2\n"
        "i2 crossover u1 u2\n"
        "u1 ky sill - and i1 begin rgb 12.5 13.5 -0.5 red thick 550 4.0 1 1 600 5.0 1 1\n"
        "u2 line i1 end magenta dashed 1/2 3/4 0 0\n"
        "u3 sill and - ky i1 i2 connect\n"
        "* 0.3 u1 u2 * \n" +
        script);
    ASSERT_EQ(d.npoints, 2);
    ASSERT_EQ(d.nlines, 3);
    EXPECT_EQ(str(d.points[1].zeromode2), "H2O");
    EXPECT_EQ(d.points[1].x, 550);
    EXPECT_EQ(d.points[1].y, 4);
    EXPECT_TRUE(d.points[2].crossover);
    EXPECT_EQ(str(d.points[2].crossline2), "u2");
    const UnivariantLine& u1 = d.lines[1];
    EXPECT_EQ(str(u1.beginname), "i1");
    EXPECT_EQ(str(u1.endname), "begin");
    EXPECT_TRUE(u1.rgbgiven);
    EXPECT_EQ(u1.red, 255);  // a named colour overrides "rgb" given just before
    EXPECT_EQ(u1.green, 0);
    EXPECT_TRUE(u1.thick);
    EXPECT_FALSE(u1.dashed);
    EXPECT_EQ(u1.npts, 2);
    EXPECT_EQ(u1.y[2], 5);
    const UnivariantLine& u2 = d.lines[2];
    EXPECT_EQ(u2.blue, 255);
    EXPECT_TRUE(u2.dashed);
    EXPECT_EQ(u2.x[1], 0.5L);  // a rational value
    EXPECT_TRUE(d.lines[3].connect);
    EXPECT_EQ(d.lines[3].npts, 0);
    ASSERT_EQ(d.nareas, 1);
    EXPECT_EQ(d.areas[1].grayscale, 0.3);
    EXPECT_EQ(d.areas[1].nnames, 2);
}

TEST(Readdata, RgbComponentsAreRoundedHalfToEven) {
    Diagram d = readmodel("2 2 1 2\nu1 i1 i2 rgb 12.5 13.5 -0.5 1 1 2 2\n*\n*\n" + script);
    EXPECT_EQ(d.lines[1].red, 12);
    EXPECT_EQ(d.lines[1].green, 14);
    EXPECT_EQ(d.lines[1].blue, 0);
}

TEST(Readdata, HashLinesAreDroppedAndOverwritten) {
    Diagram d = readmodel(
        "2 2 1 2\n"
        "u1 begin end 0 0 1 1\n"
        "# u2 begin end 2 2 3 3\n"
        "u3 begin end 4 4 5 5 6 6\n"
        "#x i1 7 7\n"
        "*\n*\n" +
        script);
    ASSERT_EQ(d.nlines, 2);
    EXPECT_EQ(str(d.lines[2].name), "u3");
    EXPECT_EQ(d.lines[2].npts, 3);
    ASSERT_EQ(d.npoints, 1);  // a mark before a point changes nothing
    EXPECT_EQ(str(d.points[1].name), "i1");
}

TEST(Readdata, InterpolatedPointAndLines) {
    Diagram d = readmodel(
        "3 2 1 2 x 3 2.5\n"
        "i1 0 0 1  10 20 2  30 40 3\n"
        "u1 i1 begin 1 1 2.5  2 2 7  3 3 2.5\n"
        "u2 i1 i1 4 4 1\n"  // no row on the target: a connect line
        "*\n*\n" +
        script);
    EXPECT_EQ(d.points[1].x, 20);
    EXPECT_EQ(d.points[1].y, 30);
    EXPECT_EQ(d.lines[1].npts, 2);
    EXPECT_EQ(d.lines[1].x[2], 3);
    EXPECT_TRUE(d.lines[2].connect);
    d = readmodel(
        "3 2 1 2 x 3 1 1\n"
        "u1 begin i1  7 8 0\n"  // one collected row: it is the line's only point
        "*\n*\n" +
        script);
    EXPECT_EQ(d.lines[1].npts, 1);
    EXPECT_EQ(d.lines[1].x[1], 7);
    EXPECT_EQ(d.lines[1].y[1], 8);
}

TEST(Readscript, DefaultsAndOptions) {
    Diagram d = readmodel("2 2 1 2\ni1 1 1\n*\n*\n" + script);
    EXPECT_EQ(d.options.doareas, answeryes);
    EXPECT_EQ(d.options.showlineinfo, answeryes);
    EXPECT_EQ(d.options.numbering, answerno);
    EXPECT_EQ(d.options.docircles, answeryes);
    EXPECT_EQ(d.options.numbersize, 0);
    EXPECT_EQ(d.options.circlesize, 0);
    EXPECT_FALSE(d.ticks.smallticks);
    EXPECT_EQ(d.window.xhigh, 10);
    EXPECT_EQ(d.ticks.xtickgap, 2);

    const std::string base = "2 2 1 2\ni1 1 1\n*\n*\n" + script;
    struct Case {
        std::string lines;
        int numbersize, circlesize;
    };
    const Case cases[] = {
        {"numbering\n", 4, 0},           {"numbering 20\n", 14, 0},     {"numbering 2\n", 4, 0},
        {"numbering 9\ndocircles\n", 9, 4}, {"numbering 11\ncircles\n", 11, 6}, {"docircles\n", 0, 1},
        {"docircles 12\n", 0, 7},        {"numbering yes 6.5\n", 4, 0}, {"docircles no 5\n", 0, 0},
    };
    for (const Case& c : cases) {
        d = readmodel(base + c.lines);
        EXPECT_EQ(d.options.numbersize, c.numbersize) << c.lines;
        EXPECT_EQ(d.options.circlesize, c.circlesize) << c.lines;
    }
    d = readmodel(base + "numbering ask\ndoareas ask\nshowlineinfo no\ncircles no\nsmallticks 1 1\nsmallticks no 1 1\n");
    EXPECT_EQ(d.options.numbering, answeryes);
    EXPECT_EQ(d.options.doareas, answerask);
    EXPECT_EQ(d.options.showlineinfo, answerno);
    EXPECT_EQ(d.options.docircles, answerno);
    EXPECT_FALSE(d.ticks.smallticks);
    d = readmodel(base + "smallticks yes 0.5 0.25\ndarkcolour 10 20\nstrict\nbogus line\n*\nwindow 1 2\n");
    EXPECT_TRUE(d.ticks.smallticks);
    EXPECT_EQ(d.ticks.smallygap, 0.25L);
    EXPECT_EQ(d.options.darkcolour[0], 0);  // two numbers leave it black
    EXPECT_EQ(d.window.xlow, 0);               // nothing after "*" is read
    d = readmodel(base + "darkcolour 10 20 1/2\n");
    EXPECT_EQ(d.options.darkcolour[2], 0.5L);
}

TEST(Readscript, WindowWithAnswerWordAndInfoLines) {
    Diagram d = readmodel("2 2 1 2\ni1 1 1\n*\n*\nwindow yes 1 2 3 4\nbigticks 1 1 1 3\ninfo\ninfo no idea\ninfo  a   b \n");
    EXPECT_EQ(d.window.xlow, 1);
    EXPECT_EQ(d.window.yhigh, 4);
    ASSERT_EQ(d.options.ninfo, 3);
    EXPECT_EQ(str(d.options.info[1]), "");
    EXPECT_EQ(str(d.options.info[2]), " idea");  // "no" is the answer word
    EXPECT_EQ(str(d.options.info[3]), " a b");
}

}  // namespace

namespace {

// The figure's keywords as the model holds them; "style paper" fills in
// only what the script left out, in either order.
TEST(Readscript, FigureKeywords) {
    const std::string data =
        "2 2 1 2\nu1 begin end 0 0 1 1\nu2 begin end 0 1 1 0\n*\n"
        "0.5 u1 u2   %  g + bi + mu \n0.6 u2 u1\n0.7 u1 u2 %\n*\nwindow 0 1 0 1\nbigticks 1 0 1 0\n";
    struct Case {
        const char* script;
        TitleMode title;
        const char* titletext;
        long double widthmm, heightmm, fontsize, linewidth;
        bool halo;
        LegendPlace legend;
        const char* field1;
        const char* field2;
    };
    const Case cases[] = {
        {"", TitleMode::stamp, "", 0, 0, 0, 0, false, LegendPlace::none, nullptr, nullptr},
        {"title  Garnet  zone (°C) % not shown\nsize 84\nfontsize 8.5\nlinewidth 0.4\nlabels halo\nlegend\n",
         TitleMode::given, "Garnet  zone (°C)", 84, 84, 8.5L, 0.4L, true, LegendPlace::right, nullptr, nullptr},
        {"title off\nsize 84 60\nlegend below\nsize 0\nfontsize 200\nlinewidth\nlabels glow\nlegend up\n",
         TitleMode::off, "off", 84, 60, 0, 0, false, LegendPlace::below, nullptr, nullptr},
        {"style paper\n", TitleMode::off, "", 0, 0, 7, 0.5L, true, LegendPlace::none, nullptr, nullptr},
        {"title T\nlabels no\nfontsize 9\nstyle paper\nlegend no\n", TitleMode::given, "T", 0, 0, 9, 0.5L, false,
         LegendPlace::none, nullptr, nullptr},
        {"field 2 melt + q\nfields comments\nfield 9 x\nfield 1\n", TitleMode::stamp, "", 0, 0, 0, 0, false,
         LegendPlace::none, "g + bi + mu", "melt + q"},
        {"fields comments\nfield 1  ky  +  q\n", TitleMode::stamp, "", 0, 0, 0, 0, false, LegendPlace::none,
         "ky  +  q", ""},
        {"field 2 melt\n", TitleMode::stamp, "", 0, 0, 0, 0, false, LegendPlace::none, "", "melt"},
        {"style slide\n", TitleMode::off, "", 160, 90, 16, 1.2L, true, LegendPlace::none, nullptr, nullptr},
        {"size 84\nstyle paper\nfontsize 10\nstyle slide\n", TitleMode::off, "", 84, 84, 10, 1.2L, true,
         LegendPlace::none, nullptr, nullptr},
        {"style slide\nstyle no\n", TitleMode::stamp, "", 0, 0, 0, 0, false, LegendPlace::none, nullptr, nullptr},
        {"style slide\nstyle poster\n", TitleMode::off, "", 160, 90, 16, 1.2L, true, LegendPlace::none, nullptr,
         nullptr},
    };
    for (const Case& c : cases) {
        Diagram d = readmodel(data + c.script);
        const FigureOptions& f = d.figure;
        EXPECT_EQ(f.title, c.title) << c.script;
        EXPECT_EQ(str(f.titletext), c.titletext) << c.script;
        EXPECT_EQ(f.widthmm, c.widthmm) << c.script;
        EXPECT_EQ(f.heightmm, c.heightmm) << c.script;
        EXPECT_EQ(f.fontsize, c.fontsize) << c.script;
        EXPECT_EQ(f.linewidth, c.linewidth) << c.script;
        EXPECT_EQ(f.halo, c.halo) << c.script;
        EXPECT_EQ(f.legend, c.legend) << c.script;
        if (c.field1 == nullptr) {
            EXPECT_TRUE(d.fieldnames.empty()) << c.script;
            continue;
        }
        ASSERT_EQ(d.fieldnames.size(), 4u) << c.script;
        EXPECT_EQ(str(d.fieldnames[1]), c.field1) << c.script;
        EXPECT_EQ(str(d.fieldnames[2]), c.field2) << c.script;
        EXPECT_EQ(str(d.fieldnames[3]), "") << c.script;  // an empty comment names nothing
    }
}

// The key's place and kinds, and the free texts, as the script gives them.
TEST(Readscript, KeyKindsAndFreeTexts) {
    const std::string data = "2 2 1 2\nu1 begin end 0 0 1 1\n*\n0.5 u1\n*\nwindow 0 1 0 1\nbigticks 1 0 1 0\n";
    struct Case {
        const char* script;
        LegendPlace legend;
        uint8_t kinds;
    };
    const Case cases[] = {
        {"legend\n", LegendPlace::right, 0},
        {"legend below fields\n", LegendPlace::below, legendfields},
        {"legend lines points\n", LegendPlace::right, legendlines | legendpoints},
        {"legend points below\n", LegendPlace::below, legendpoints},  // the place may come anywhere
        {"legend below\nlegend right below\n", LegendPlace::below, 0},  // two places: ignored
        {"legend fields\nlegend lines lines\n", LegendPlace::right, legendfields},
        {"legend fields\nlegend\n", LegendPlace::right, 0},
    };
    for (const Case& c : cases) {
        Diagram d = readmodel(data + c.script);
        EXPECT_EQ(d.figure.legend, c.legend) << c.script;
        EXPECT_EQ(d.figure.legendkinds, c.kinds) << c.script;
    }
    Diagram d = readmodel(data + "text 0.5 0.25  P = 1  kbar % a comment\ntext 2 0.5 outside\ntext 0.5\n"
                                 "text x 1 y\ntext 0.1 0.2\ntext no 0.3 0.3 gone\n");
    ASSERT_EQ(d.texts.size(), 2u);
    EXPECT_EQ(d.texts[0].x, 0.5L);
    EXPECT_EQ(d.texts[0].y, 0.25L);
    EXPECT_EQ(str(d.texts[0].text), "P = 1  kbar");
    EXPECT_EQ(str(d.texts[1].text), "outside");  // kept: the drawing leaves it out
}

}  // namespace
