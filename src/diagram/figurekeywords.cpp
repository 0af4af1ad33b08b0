// figurekeywords.cpp - the keywords of a figure for print (title, axis
// titles, size, text and line sizes, halos, field names, key, style): their
// table, their readers, and what "style paper" and the field names give
// once the script is read.
#include <cmath>
#include <string>

#include "diagram/checkedwords.h"
#include "diagram/model.h"
#include "diagram/scriptreader.h"
#include "run/diagnostics.h"
#include "text/tokens.h"

namespace gridel::diagram {

namespace scriptreading {

namespace {

// What "style paper" gives a figure where the script gave nothing: text
// and line widths that stay legible in an 84-millimetre column (no text
// under 6 points, no line under a quarter point: ticks and circles are
// two thirds of a plain line).
constexpr long double paperfontsize = 7;
constexpr long double paperlinewidth = 0.5L;

// What "style slide" gives: a plot box of 16:9 that a projector fills,
// with text and lines that read from the back of a room once the figure
// is stretched to the screen's width (text a thirtieth of the plot's
// width; a plain line near a three-hundredth).
constexpr long double slidewidthmm = 160, slideheightmm = 90;
constexpr long double slidefontsize = 16;
constexpr long double slidelinewidth = 1.2L;

// The bounds of the figure's sizes: the plot box in millimetres, text in
// points, a plain line's width in points.
constexpr long double minplotmm = 1, maxplotmm = 2000;
constexpr long double minfontsize = 1, maxfontsize = 100;
constexpr long double minlinewidth = 0.01L, maxlinewidth = 20;

// One number after the answer within low..high into `value`; false (with
// a warning) when there is none or it lies outside.
bool readbounded(ScriptReader& sr, const KeywordLine& line, long double low, long double high, long double& value) {
    int16_t n = 1;
    long double v[2];
    if (line.misfit != 0 || !text::getreals(sr.words, line.last, n, v) || !(v[1] >= low && v[1] <= high)) {
        ignored(sr, run::wordtext(line.key) + " needs one number from " + numbertext(low) + " to " + numbertext(high));
        return false;
    }
    value = v[1];
    return true;
}

// A keyword whose one word after the answer must be the word it takes:
// true when it is; a warning when another word (or none) stands there.
bool oneword(ScriptReader& sr, const KeywordLine& line) {
    if (line.misfit == 0) return true;
    ignored(sr, run::wordtext(line.key) + " takes the word \"" + line.arguments.words + "\"");
    return false;
}

// "title TEXT", "title off", "title": the title line.
void readtitle(ScriptReader& sr, const KeywordLine& line) {
    FigureOptions& f = sr.d.figure;
    sr.titlegiven = true;
    text::Text text = textfrom(sr, line.last + 1, "the title", titleroom);
    if (line.answer != run::answeryes || text::istext(text, "off"))
        f.title = TitleMode::off;
    else if (text.len == 0)
        f.title = TitleMode::stamp;
    else
        f.title = TitleMode::given;
    f.titletext = text;
    warnundrawable(sr.run, sr.run.place.line, text::viewof(text), "the title");
    warnmarkup(sr.run, sr.run.place.line, viewof(text), "the title");
}

// "xlabel TEXT", "ylabel TEXT": an axis title.
void readaxistitle(ScriptReader& sr, const KeywordLine& line, text::Text& title) {
    title = line.answer == run::answeryes ? textfrom(sr, line.last + 1, "the axis title", textroom) : text::Text{0, {}};
    warnundrawable(sr.run, sr.run.place.line, text::viewof(title), "the axis title");
    warnmarkup(sr.run, sr.run.place.line, viewof(title), "the axis title");
}

void readxlabel(ScriptReader& sr, const KeywordLine& line) { readaxistitle(sr, line, sr.d.figure.xlabel); }

void readylabel(ScriptReader& sr, const KeywordLine& line) { readaxistitle(sr, line, sr.d.figure.ylabel); }

// "size WIDTH [HEIGHT]": the plot box in millimetres, square when only the
// width is given.
void readsize(ScriptReader& sr, const KeywordLine& line) {
    FigureOptions& f = sr.d.figure;
    if (line.answer != run::answeryes) {
        f.widthmm = f.heightmm = 0;
        return;
    }
    int16_t n = -1;
    long double v[41];
    bool read = line.misfit == 0 && text::getreals(sr.words, line.last, n, v) && n <= 2;
    for (int i = 1; read && i <= n; ++i) read = v[i] >= minplotmm && v[i] <= maxplotmm;
    if (!read) {
        ignored(sr, "size needs a width and an optional height in millimetres, each from " + numbertext(minplotmm) +
                        " to " + numbertext(maxplotmm));
        return;
    }
    f.widthmm = v[1];
    f.heightmm = n == 2 ? v[2] : v[1];
}

void readfontsize(ScriptReader& sr, const KeywordLine& line) {
    FigureOptions& f = sr.d.figure;
    if (line.answer != run::answeryes) f.fontsize = 0;
    else readbounded(sr, line, minfontsize, maxfontsize, f.fontsize);
}

void readlinewidth(ScriptReader& sr, const KeywordLine& line) {
    FigureOptions& f = sr.d.figure;
    if (line.answer != run::answeryes) f.linewidth = 0;
    else readbounded(sr, line, minlinewidth, maxlinewidth, f.linewidth);
}

void readlabels(ScriptReader& sr, const KeywordLine& line) {
    bool on = line.answer == run::answeryes;
    if (!on || oneword(sr, line)) {
        sr.d.figure.halo = on;
        sr.labelsgiven = true;
    }
}

// "field N TEXT": area N is named TEXT.
void readfield(ScriptReader& sr, const KeywordLine& line) {
    text::TextView number = wholeword(sr.words, line.last + 1);
    long double area = 0;
    if (line.misfit != 0 || !text::realvalue(number.c, number.len, area)) {
        ignored(sr, "field needs an area's number and its name");
        return;
    }
    if (area < 1 || area > sr.d.nareas) {  // however many digits it has, it is a number
        ignored(sr, "there is no area " + run::wordtext(text::cuttext(number)) + " (the data file has " +
                        run::wholetext(sr.d.nareas) + ")");
        return;
    }
    text::Text name = textfrom(sr, line.last + 2, "the field name", textroom);
    sr.d.fieldnames.resize(static_cast<size_t>(maxareas) + 1, text::Text{0, {}});
    sr.d.fieldnames[static_cast<size_t>(area)] = name;
    warnundrawable(sr.run, sr.run.place.line, text::viewof(name), "the field name");
    warnmarkup(sr.run, sr.run.place.line, viewof(name), "the field name");
}

void readfields(ScriptReader& sr, const KeywordLine& line) {
    bool on = line.answer == run::answeryes;
    if (!on || oneword(sr, line)) sr.d.figure.fieldcomments = on;
}

// "legend [right|below] [lines] [points] [fields]": where the key goes and
// the kinds it lists (every kind when none is named).
void readlegend(ScriptReader& sr, const KeywordLine& line) {
    FigureOptions& f = sr.d.figure;
    if (line.answer != run::answeryes) {
        f.legend = LegendPlace::none;
        return;
    }
    LegendPlace place = LegendPlace::right;
    uint8_t kinds = 0;
    int places = 0;
    bool twice = false;
    for (int32_t i = line.last + 1; line.misfit == 0 && i <= sr.words.count; ++i) {
        text::Word w = wordat(sr.words, i);
        uint8_t kind = text::istext(w, "lines") ? legendlines : istext(w, "points") ? legendpoints
                                                        : istext(w, "fields") ? legendfields : 0;
        if (kind == 0) {
            place = istext(w, "below") ? LegendPlace::below : LegendPlace::right;
            twice = twice || ++places > 1;
        } else {
            twice = twice || (kinds & kind) != 0;
            kinds = static_cast<uint8_t>(kinds | kind);
        }
    }
    if (line.misfit != 0 || twice) {
        ignored(sr, "legend takes \"right\" or \"below\", then any of \"lines\", \"points\" and \"fields\", each once");
        return;
    }
    f.legend = place;
    f.legendkinds = kinds;
}

// "text X Y TEXT": a free text centred at (X, Y) of the data.  One whose
// point lies outside the window is warned of once the window is known.
void readtext(ScriptReader& sr, const KeywordLine& line) {
    if (line.answer != run::answeryes) return;
    int16_t n = 2;
    long double v[3];
    bool read = line.misfit == 0 && sr.words.count >= line.last + 3 && text::getreals(sr.words, line.last, n, v) &&
                std::isfinite(v[1]) && std::isfinite(v[2]);
    if (!read) {
        ignored(sr, "text needs X and Y, the point of the data it is centred at, then the text");
        return;
    }
    FreeText t{v[1], v[2], textfrom(sr, line.last + 3, "the text", textroom), sr.run.place.line};
    warnundrawable(sr.run, sr.run.place.line, text::viewof(t.text), "the text");
    warnmarkup(sr.run, sr.run.place.line, viewof(t.text), "the text");
    sr.d.texts.push_back(t);
}

// "formulas": chemical formulas in the texts drawn with their counts as
// subscripts.
void readformulas(ScriptReader& sr, const KeywordLine& line) {
    if (line.misfit != 0) {
        ignored(sr, "formulas takes no words");
        return;
    }
    sr.d.figure.formulas = line.answer == run::answeryes;
}

// "style paper", "style slide"; "style no" gives back the defaults of old.
// A later style line wins.
void readstyle(ScriptReader& sr, const KeywordLine& line) {
    FigureOptions& f = sr.d.figure;
    if (line.answer != run::answeryes) {
        f.style = FigureStyleName::none;
        return;
    }
    if (line.misfit != 0) {
        ignored(sr, "style takes \"paper\" or \"slide\"");
        return;
    }
    f.style = text::istext(text::wordat(sr.words, line.last + 1), "slide") ? FigureStyleName::slide : FigureStyleName::paper;
}

const ScriptKeyword figurekeywords[] = {
    {"title", {"TEXT, or `off`", Takes::text, 0, 0, nullptr}, readtitle},
    {"xlabel", {"TEXT", Takes::text, 0, 0, nullptr}, readxlabel},
    {"ylabel", {"TEXT", Takes::text, 0, 0, nullptr}, readylabel},
    {"size", {"WIDTH [HEIGHT]", Takes::numbers, 1, 2, nullptr}, readsize},
    {"fontsize", {"N", Takes::numbers, 1, 1, nullptr}, readfontsize},
    {"linewidth", {"W", Takes::numbers, 1, 1, nullptr}, readlinewidth},
    {"labels", {"`halo`", Takes::word, 1, 1, "halo"}, readlabels},
    {"field", {"N TEXT", Takes::numbertext, 2, 2, nullptr}, readfield},
    {"fields", {"`comments`", Takes::word, 1, 1, "comments"}, readfields},
    {"legend", {"[`right` or `below`] [`lines`] [`points`] [`fields`]", Takes::words, 0, 4,
                "right|below|lines|points|fields"}, readlegend},
    {"text", {"X Y TEXT", Takes::text, 3, 3, nullptr}, readtext},
    {"style", {"`paper` or `slide`", Takes::word, 1, 1, "paper|slide"}, readstyle},
    {"formulas", {"none", Takes::nothing, 0, 0, nullptr}, readformulas},
};

}  // namespace

std::span<const ScriptKeyword> figurekeywordtable() { return figurekeywords; }

void finishfigure(ScriptReader& sr) {
    Diagram& d = sr.d;
    FigureOptions& f = d.figure;
    if (f.style != FigureStyleName::none) {
        bool slide = f.style == FigureStyleName::slide;
        if (!sr.titlegiven) f.title = TitleMode::off;
        if (!sr.labelsgiven) f.halo = true;
        if (f.fontsize == 0) f.fontsize = slide ? slidefontsize : paperfontsize;
        if (f.linewidth == 0) f.linewidth = slide ? slidelinewidth : paperlinewidth;
        if (slide && f.widthmm == 0) {
            f.widthmm = slidewidthmm;
            f.heightmm = slideheightmm;
        }
    }
    const PlotWindow& w = d.window;
    for (const FreeText& t : d.texts)
        if (sr.windowgiven && !(t.x >= w.xlow && t.x <= w.xhigh && t.y >= w.ylow && t.y <= w.yhigh))
            run::warning(sr.run, t.line, text::Word{0, {}},
                    "the text " + run::quotedword(text::viewof(t.text)) + " stands at a point outside the window: it is not drawn");
    if (d.fieldnames.empty() && !f.fieldcomments) return;
    d.fieldnames.resize(static_cast<size_t>(d.nareas) + 1, text::Text{0, {}});
    for (size_t k = 1; k < d.fieldnames.size(); ++k) {
        if (d.fieldnames[k].len > 0) continue;
        if (f.fieldcomments && k < d.areacomments.size()) {
            d.fieldnames[k] = d.areacomments[k];
            warnundrawable(sr.run, d.arealines[k], text::viewof(d.fieldnames[k]), "the field name");
            warnmarkup(sr.run, d.arealines[k], viewof(d.fieldnames[k]), "the field name");
        }
        if (f.fieldcomments && d.fieldnames[k].len == 0)
            run::warning(sr.run, d.arealines[k], areaname(static_cast<int16_t>(k)),
                    "gets no name: its line ends with no comment and no field line names it");
    }
}

}  // namespace scriptreading

}  // namespace gridel::diagram
