// readscript.cpp - readscript: one keyword line after another, with the
// window and big-tick echoes and their checks.
#include "diagram/readscript.h"

#include <string>
#include <vector>

#include "diagram/model.h"
#include "diagram/checkedwords.h"
#include "diagram/slips.h"
#include "run/channels.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/lineinput.h"
#include "run/prefs.h"
#include "run/run.h"
#include "text/numfmt.h"
#include "text/tokens.h"
#include "text/utf8.h"

namespace {

const Word noitem = {0, {}};

// A tick gap so small that one axis would carry more ticks than this is
// refused: drawing it would take hours and gigabytes.
const long double maxticks = 10000;

// The script reader's state while it reads.
struct ScriptReader {
    Run& run;            // the run: its transcript and its failure path
    Diagram& d;          // the diagram whose settings it fills
    const DataFile& file;  // the data file it reads
    WordList words;      // the words of the current line
    bool windowgiven;    // a "window" line was read
    bool bigticksgiven;  // a "bigticks" line was read
    bool titlegiven;     // a "title" line was read ("style paper" leaves it as it is)
    bool labelsgiven;    // a "labels" line was read
    std::vector<std::string> slips;  // notes on unknown keywords that are slips of "window" or "bigticks"
};

// What "style paper" gives a figure where the script gave nothing: text
// and line widths that stay legible in an 84-millimetre column (no text
// under 6 points, no line under a quarter point: ticks and circles are
// two thirds of a plain line).
constexpr long double paperfontsize = 7;
constexpr long double paperlinewidth = 0.5L;

// The bounds of the figure's sizes: the plot box in millimetres, text in
// points, a plain line's width in points.
constexpr long double minplotmm = 1, maxplotmm = 2000;
constexpr long double minfontsize = 1, maxfontsize = 100;
constexpr long double minlinewidth = 0.01L, maxlinewidth = 20;

// A note on words after the "*" that ends the areas, which are not read
// (a script written on that line), for a failure that a missing line may
// explain.
void addrestnote(ScriptReader& sr, std::vector<std::string>& notes) {
    if (sr.file.restline > 0)
        notes.push_back("the words after the '*' on line " + wholetext(sr.file.restline) +
                        " are not read: the script begins on the next line");
}

// Stand at word i of the current line; past its last word, just after it.
void atwordof(ScriptReader& sr, int32_t i) {
    const WordList& w = sr.words;
    int32_t line = sr.run.place.line;
    if (i >= 1 && i <= w.count)
        atword(sr.run, line, w.edges[2 * static_cast<size_t>(i) - 2] + 1, wholeword(w, i).len);
    else if (w.count > 0)
        atword(sr.run, line, w.edges[2 * static_cast<size_t>(w.count) - 1] + 1, 0);
}

// A keyword's line that lacks `count` numbers after word `last`: the place
// and the plain text name the first word that is not a number, or the end
// of the line when there are too few words.
void explainnumbers(ScriptReader& sr, int32_t last, int count, const std::string& needs) {
    for (int32_t i = last + 1; i <= last + count; ++i) {
        TextView w = wholeword(sr.words, i);
        WordKind k = whatis(w);
        if (k == kindinteger || k == kindreal || k == kindrational) {
            long double v;
            int16_t a, b;
            Text message;
            bool reads = k == kindrational ? str2rational(w.c, w.len, a, b, message) : realvalue(w.c, w.len, v);
            if (reads) continue;
        }
        atwordof(sr, i);
        if (i > sr.words.count) {
            explain(sr.run, needs + ": the line ends after " + wholetext(i - last - 1) + " of them");
        } else {
            explain(sr.run, needs + ": " + quotedword(w) + " is not one", numbernotes(w));
        }
        return;
    }
    explain(sr.run, needs);
}

// An option that takes a size: "ask" counts as yes.
YesAskNo askasyes(YesAskNo answer) { return answer == answerask ? answeryes : answer; }

int16_t clampsize(int16_t v, int16_t low, int16_t high) { return v < low ? low : (v > high ? high : v); }

// The optional integer after the answer word; false when none converts.
bool optionalsize(ScriptReader& sr, int32_t last, int16_t& size) {
    int16_t n = 1;
    int16_t values[2];
    if (!getints(sr.words, last, n, values)) return false;
    size = values[1];
    return true;
}

void echoreal(LineBuffer& line, const char* label, long double v) {
    appendfield(label, 0, line, 255);
    appendreal(2, true, 0, line, 255, v);
}

void readwindow(ScriptReader& sr, int32_t last) {
    int16_t n = 4;
    long double v[5];
    if (!getreals(sr.words, last, n, v)) {
        explainnumbers(sr, last, 4, "window needs four numbers, xlow xhigh ylow yhigh");
        bombed(sr.run, "readdata", "window bad in script (xlow, xhigh, ylow, yhigh needed)");
    }
    sr.d.window.xlow = v[1];
    sr.d.window.xhigh = v[2];
    sr.d.window.ylow = v[3];
    sr.d.window.yhigh = v[4];
    LineBuffer line;
    clearline(line);  // the echo comes before the checks, so a bad window is shown
    echoreal(line, "window: xlow = ", sr.d.window.xlow);
    echoreal(line, ", xhigh = ", sr.d.window.xhigh);
    echoreal(line, ", ylow = ", sr.d.window.ylow);
    echoreal(line, ", yhigh = ", sr.d.window.yhigh);
    putstr(sr.run, 0, line, 1, setwlog);
    if (sr.d.window.xlow >= sr.d.window.xhigh) {
        atwordof(sr, last + 2);
        explain(sr.run, "the window's xhigh, " + quotedword(wholeword(sr.words, last + 2)) + ", is not greater than its xlow",
                {"the window is written xlow xhigh ylow yhigh"});
        bombed(sr.run, "readdata", "xhigh must be greater than xlow");
    }
    if (sr.d.window.ylow >= sr.d.window.yhigh) {
        atwordof(sr, last + 4);
        explain(sr.run, "the window's yhigh, " + quotedword(wholeword(sr.words, last + 4)) + ", is not greater than its ylow",
                {"the window is written xlow xhigh ylow yhigh"});
        bombed(sr.run, "readdata", "yhigh must be greater than ylow");
    }
    sr.windowgiven = true;
}

void readbigticks(ScriptReader& sr, int32_t last) {
    int16_t n = 4;
    long double v[5];
    if (!getreals(sr.words, last, n, v)) {
        explainnumbers(sr, last, 4, "bigticks needs four numbers, x gap, x start, y gap, y start");
        bombed(sr.run, "readdata", "bigticks bad in script (xtick gap, xstart, ytick gap, ystart needed)");
    }
    TickMarks& t = sr.d.ticks;
    t.xtickgap = v[1];
    t.xstart = v[2];
    t.ytickgap = v[3];
    t.ystart = v[4];
    LineBuffer line;
    clearline(line);
    echoreal(line, "big ticks and axis labels: start x = ", t.xstart);
    echoreal(line, ", x gap = ", t.xtickgap);
    echoreal(line, ", start y = ", t.ystart);
    echoreal(line, ", y gap = ", t.ytickgap);
    putstr(sr.run, 0, line, 1, setwoutlog);
    const char* const order = "bigticks is written x gap, x start, y gap, y start";
    if (t.xtickgap <= 0 || t.ytickgap <= 0) {
        // A negative gap would make the tick loops of the drawing run forever.
        bool zero = t.xtickgap == 0 || t.ytickgap == 0;
        atwordof(sr, last + ((zero ? t.xtickgap == 0 : t.xtickgap < 0) ? 1 : 3));
        explain(sr.run, "the gap between big ticks must be greater than 0", {order});
        if (zero) bombed(sr.run, "read script", "zero gap");
        bombed(sr.run, "read script", "negative gap");
    }
    const PlotWindow& w = sr.d.window;
    bool xoutside = t.xstart < w.xlow || t.xstart > w.xhigh;
    if (xoutside || t.ystart < w.ylow || t.ystart > w.yhigh) {
        atwordof(sr, last + (xoutside ? 2 : 4));
        std::vector<std::string> notes = {order};
        if (!sr.windowgiven) {
            notes.push_back("the window line must come before the bigticks line");
            addrestnote(sr, notes);
        }
        explain(sr.run, std::string("the first big tick along ") + (xoutside ? "x" : "y") + " lies outside the window",
                notes);
        if (xoutside) bombed(sr.run, "readdata", "x start must be >=xlow and <=xhigh");
        bombed(sr.run, "readdata", "y start must be >=ylow and <=yhigh");
    }
    sr.bigticksgiven = true;
}

void readsmallticks(ScriptReader& sr, YesAskNo answer, int32_t last) {
    answer = askasyes(answer);
    if (answer == answeryes) {
        int16_t n = 2;
        long double v[3];
        if (!getreals(sr.words, last, n, v)) {
            explainnumbers(sr, last, 2, "smallticks needs two numbers, x gap and y gap");
            addnote(sr.run, "'smallticks no' turns them off");
            bombed(sr.run, "readdata", "small ticks bad in script (xtick gap, ytick gap)");
        }
        sr.d.ticks.smallxgap = v[1];
        sr.d.ticks.smallygap = v[2];
        if (v[1] <= 0 || v[2] <= 0) {
            bool zero = v[1] == 0 || v[2] == 0;
            atwordof(sr, last + ((zero ? v[1] == 0 : v[1] < 0) ? 1 : 2));
            explain(sr.run, "the gap between small ticks must be greater than 0");
            if (zero) bombed(sr.run, "read script", "zero small gap");
            bombed(sr.run, "read script", "negative small gap");
        }
    }
    sr.d.ticks.smallticks = answer == answeryes;
}

void readinfo(ScriptReader& sr, int32_t last) {
    DrawingOptions& o = sr.d.options;
    if (o.ninfo + 1 > maxinfo) {
        atwordof(sr, 1);
        explain(sr.run, "a script has at most 10 info lines");
        bombed(sr.run, "script", "too much info!!");
    }
    ++o.ninfo;
    Text& info = o.info[o.ninfo];
    info.len = 0;
    for (int32_t i = last + 1; i <= sr.words.count && info.len < capof(info); ++i) {
        addtext(info, " ");
        addtext(info, wordat(sr.words, i));
    }
    warnundrawable(sr.run, sr.run.place.line, viewof(info), "the info line");
}

void readdarkcolour(ScriptReader& sr, int32_t last) {
    int16_t n = 3;
    long double v[4];
    if (!getreals(sr.words, last, n, v)) {  // ignored without a message
        warning(sr.run, sr.run.place.line, noitem, "darkcolour needs three numbers: the line is ignored");
        return;
    }
    for (int i = 0; i < 3; ++i) sr.d.options.darkcolour[i] = v[i + 1];
}

// Under --check, what an answer "ask" does to a keyword's setting, since
// nothing is ever asked.
void warnask(ScriptReader& sr, const Word& key, YesAskNo answer, const char* becomes) {
    if (answer != answerask) return;
    warning(sr.run, sr.run.place.line, noitem,
            "\"ask\" does not ask: " + wordtext(key) + " " + becomes);
}

// Under --check, a size that was given and is not the one used.
void warnsize(ScriptReader& sr, const char* what, int16_t given, int16_t used) {
    if (given == used) return;
    warning(sr.run, sr.run.place.line, noitem,
            std::string(what) + " size " + wholetext(given) + " is taken as " + wholetext(used));
}

// The words of the line from word `first` to its last word, as written
// (the blanks between them kept), cut to 255 bytes between characters;
// empty when the line has no such word.
Text textfrom(const WordList& words, int32_t first) {
    Text out;
    out.len = 0;
    if (first < 1 || first > words.count) return out;
    size_t from = static_cast<size_t>(words.edges[2 * static_cast<size_t>(first) - 2]);
    size_t to = static_cast<size_t>(words.edges[2 * static_cast<size_t>(words.count) - 1]);
    const char* text = words.line.data() + from;
    settext(out, text, wholecut(text, static_cast<int32_t>(to - from), capof(out)));
    return out;
}

// A bound as a message writes it: with the decimals it needs.
std::string numbertext(long double v) {
    return v == roundint(v) ? wholetext(v) : wordtext(real2str(v, decimalsneeded(true, 2, v), true));
}

// Under --check, a line that is ignored, and why.
void ignored(ScriptReader& sr, const std::string& why) {
    warning(sr.run, sr.run.place.line, noitem, why + ": the line is ignored");
}

// One number after word `last` within low..high into `value`; false (with
// a warning) when there is none or it lies outside.
bool readbounded(ScriptReader& sr, int32_t last, long double low, long double high, long double& value,
                 const char* what) {
    int16_t n = 1;
    long double v[2];
    if (!getreals(sr.words, last, n, v) || sr.words.count != last + 1 || !(v[1] >= low && v[1] <= high)) {
        ignored(sr, std::string(what) + " needs one number from " + numbertext(low) + " to " + numbertext(high));
        return false;
    }
    value = v[1];
    return true;
}

// "size WIDTH [HEIGHT]": the plot box in millimetres, square when only the
// width is given.
void readsize(ScriptReader& sr, YesAskNo answer, int32_t last) {
    FigureOptions& f = sr.d.figure;
    if (answer != answeryes) {
        f.widthmm = f.heightmm = 0;
        return;
    }
    int16_t n = -1;
    long double v[41];
    bool read = getreals(sr.words, last, n, v) && n <= 2;
    for (int i = 1; read && i <= n; ++i) read = v[i] >= minplotmm && v[i] <= maxplotmm;
    if (!read) {
        ignored(sr, "size needs a width and an optional height in millimetres, each from " + numbertext(minplotmm) +
                        " to " + numbertext(maxplotmm));
        return;
    }
    f.widthmm = v[1];
    f.heightmm = n == 2 ? v[2] : v[1];
}

// A keyword whose one word after the answer must be `word`: true when it
// is; a warning when another word (or none) stands there.
bool oneword(ScriptReader& sr, const Word& key, int32_t last, const char* word) {
    if (sr.words.count == last + 1 && istext(wordat(sr.words, last + 1), word)) return true;
    ignored(sr, wordtext(key) + " takes the word \"" + word + "\"");
    return false;
}

// "field N TEXT": area N is named TEXT.
void readfield(ScriptReader& sr, int32_t last) {
    int16_t n = 1;
    int16_t v[2];
    Text name = textfrom(sr.words, last + 2);
    if (whatis(wholeword(sr.words, last + 1)) != kindinteger || !getints(sr.words, last, n, v) || name.len == 0) {
        ignored(sr, "field needs an area's number and its name");
        return;
    }
    if (v[1] < 1 || v[1] > sr.d.nareas) {
        ignored(sr, "there is no area " + wholetext(v[1]) + " (the data file has " + wholetext(sr.d.nareas) + ")");
        return;
    }
    sr.d.fieldnames.resize(static_cast<size_t>(maxareas) + 1, Text{0, {}});
    sr.d.fieldnames[static_cast<size_t>(v[1])] = name;
    warnundrawable(sr.run, sr.run.place.line, viewof(name), "the field name");
}

// "legend [right|below]".
void readlegend(ScriptReader& sr, YesAskNo answer, int32_t last) {
    FigureOptions& f = sr.d.figure;
    if (answer != answeryes) {
        f.legend = LegendPlace::none;
        return;
    }
    Word where = wordat(sr.words, last + 1);
    if (sr.words.count == last || (sr.words.count == last + 1 && istext(where, "right")))
        f.legend = LegendPlace::right;
    else if (sr.words.count == last + 1 && istext(where, "below"))
        f.legend = LegendPlace::below;
    else
        ignored(sr, "legend takes \"right\" or \"below\"");
}

// The keywords of a figure for print; false when `key` is none of them.
bool applyfigurekeyword(ScriptReader& sr, const Word& key, YesAskNo answer, int32_t last) {
    FigureOptions& f = sr.d.figure;
    bool on = answer == answeryes;
    if (istext(key, "title")) {
        sr.titlegiven = true;
        Text text = textfrom(sr.words, last + 1);
        if (!on || istext(text, "off"))
            f.title = TitleMode::off;
        else if (text.len == 0)
            f.title = TitleMode::stamp;
        else
            f.title = TitleMode::given;
        f.titletext = text;
        warnundrawable(sr.run, sr.run.place.line, viewof(text), "the title");
    } else if (istext(key, "xlabel")) {
        f.xlabel = on ? textfrom(sr.words, last + 1) : Text{0, {}};
        warnundrawable(sr.run, sr.run.place.line, viewof(f.xlabel), "the axis title");
    } else if (istext(key, "ylabel")) {
        f.ylabel = on ? textfrom(sr.words, last + 1) : Text{0, {}};
        warnundrawable(sr.run, sr.run.place.line, viewof(f.ylabel), "the axis title");
    } else if (istext(key, "size")) {
        readsize(sr, answer, last);
    } else if (istext(key, "fontsize")) {
        if (!on) f.fontsize = 0;
        else readbounded(sr, last, minfontsize, maxfontsize, f.fontsize, "fontsize");
    } else if (istext(key, "linewidth")) {
        if (!on) f.linewidth = 0;
        else readbounded(sr, last, minlinewidth, maxlinewidth, f.linewidth, "linewidth");
    } else if (istext(key, "labels")) {
        if (!on || oneword(sr, key, last, "halo")) {
            f.halo = on;
            sr.labelsgiven = true;
        }
    } else if (istext(key, "field")) {
        readfield(sr, last);
    } else if (istext(key, "fields")) {
        if (!on || oneword(sr, key, last, "comments")) f.fieldcomments = on;
    } else if (istext(key, "legend")) {
        readlegend(sr, answer, last);
    } else if (istext(key, "style")) {
        if (!on || oneword(sr, key, last, "paper")) f.paper = on;
    } else {
        return false;
    }
    warnask(sr, key, answer, "is taken as no");
    return true;
}

// Once the script is read: what "style paper" gives where nothing was
// given, and the names of the areas (a "field" line before the comment of
// the area's line).
void finishfigure(ScriptReader& sr) {
    Diagram& d = sr.d;
    FigureOptions& f = d.figure;
    if (f.paper) {
        if (!sr.titlegiven) f.title = TitleMode::off;
        if (!sr.labelsgiven) f.halo = true;
        if (f.fontsize == 0) f.fontsize = paperfontsize;
        if (f.linewidth == 0) f.linewidth = paperlinewidth;
    }
    if (d.fieldnames.empty() && !f.fieldcomments) return;
    d.fieldnames.resize(static_cast<size_t>(d.nareas) + 1, Text{0, {}});
    for (size_t k = 1; k < d.fieldnames.size(); ++k) {
        if (d.fieldnames[k].len > 0) continue;
        if (f.fieldcomments && k < d.areacomments.size()) {
            d.fieldnames[k] = d.areacomments[k];
            warnundrawable(sr.run, d.arealines[k], viewof(d.fieldnames[k]), "the field name");
        }
        if (f.fieldcomments && d.fieldnames[k].len == 0)
            warning(sr.run, d.arealines[k], areaname(static_cast<int16_t>(k)),
                    "gets no name: its line ends with no comment and no field line names it");
    }
}

void applykeyword(ScriptReader& sr, const Word& key, YesAskNo answer, int32_t last) {
    DrawingOptions& o = sr.d.options;
    if (istext(key, "strict")) {
        // accepted, no effect
    } else if (istext(key, "doareas") || istext(key, "areas")) {
        o.doareas = answer;
        warnask(sr, key, answer, "is taken as no: no areas are painted");
    } else if (istext(key, "showlineinfo")) {
        o.showlineinfo = answer;
        warnask(sr, key, answer, "is taken as no: the log gets no line report");
    } else if (istext(key, "numbering")) {
        o.numbering = askasyes(answer);
        warnask(sr, key, answer, "is taken as yes");
        if (o.numbering == answeryes) {
            int16_t size;
            bool given = optionalsize(sr, last, size);
            o.numbersize = clampsize(given ? size : 4, 4, 14);
            if (given) warnsize(sr, "numbering", size, o.numbersize);
        }
    } else if (istext(key, "docircles") || istext(key, "circles")) {
        o.docircles = askasyes(answer);
        warnask(sr, key, answer, "is taken as yes");
        if (o.docircles == answeryes) {
            int16_t size;
            bool given = optionalsize(sr, last, size);
            if (!given) {
                if (o.numbersize > 0)
                    size = static_cast<int16_t>(roundint(o.numbersize / 2.0L));  // ties to even
                else
                    size = 1;
            }
            o.circlesize = clampsize(size, 1, 7);
            if (given) warnsize(sr, "circle", size, o.circlesize);
        }
    } else if (istext(key, "info")) {
        readinfo(sr, last);
    } else if (istext(key, "darkcolour")) {
        readdarkcolour(sr, last);
    } else if (istext(key, "window")) {
        readwindow(sr, last);
    } else if (istext(key, "bigticks")) {
        readbigticks(sr, last);
    } else if (istext(key, "smallticks")) {
        warnask(sr, key, answer, "is taken as yes");
        readsmallticks(sr, answer, last);
    } else if (applyfigurekeyword(sr, key, answer, last)) {
        // read
    } else {  // any other keyword is ignored
        std::string word(key.c, static_cast<size_t>(key.len));
        std::string near = nearestword(word, scriptkeywords, scriptkeywordcount);
        warning(sr.run, sr.run.place.line, noitem,
                "unknown script keyword \"" + word + "\" is ignored" +
                    (near.empty() ? std::string() : " (did you mean \"" + near + "\"?)"));
        if (near == "window" || near == "bigticks")
            sr.slips.push_back(quotedword(key) + " on line " + wholetext(sr.run.place.line) + ": did you mean '" + near +
                               "'?");
    }
    if (answer == answerask && (istext(key, "strict") || istext(key, "info") || istext(key, "darkcolour") ||
                                istext(key, "window") || istext(key, "bigticks")))
        warnask(sr, key, answer, "has no meaning here and is skipped");
}

// More than `maxticks` ticks of this gap across the span.
bool toomany(long double low, long double high, long double gap) { return (high - low) / gap > maxticks; }

}  // namespace

void readscriptafterfailure(Run& run, Diagram& d, const Text& datafile) {
    DataFile file;
    file.name = datafile;
    char path[256];
    if (!tocstring(datafile, path) || !openreader(file.reader, path)) return;
    // Find the script's first line without ending the run: a line the data
    // reader could not read is not read here either.
    WordList words;
    int32_t star = 0, from = 0, begin = 0;
    while (readline(file.reader, words.line) == readok) {
        splitline(words);
        dropcomment(words);
        if (words.count == 0) continue;
        int32_t n = file.reader.lineno;
        TextView first = wholeword(words, 1);
        if (star > 0 && isscriptkeyword(first)) {
            begin = from;
            break;
        }
        int32_t at = 0;
        for (int32_t i = 1; i <= words.count && at == 0; ++i)
            if (istext(wholeword(words, i), "*")) at = i;
        if (at > 0) {
            star = n;
            from = n + 1;
            file.restline = at < words.count ? n : 0;
            file.restcolumn = at < words.count ? words.edges[2 * static_cast<size_t>(at)] + 1 : 0;
        } else if (star > 0 && whatis(first) != kindother) {
            from = n + 1;  // an area's line: the areas ran on past their "*"
        }
    }
    closereader(file.reader);
    if (begin == 0 || !openreader(file.reader, path)) return;
    while (file.reader.lineno + 1 < begin && skipline(file.reader) == readok) {
    }
    readscript(run, d, file);
}

void readscript(Run& run, Diagram& d, DataFile& datafile) {
    ScriptReader sr{run, d, datafile, {}, false, false, false, false, {}};
    LineReader& file = datafile.reader;
    DrawingOptions& o = d.options;
    d.ticks.smallticks = false;
    o.doareas = answeryes;
    o.showlineinfo = answeryes;
    o.numbering = answerno;
    o.numbersize = 0;
    o.circlesize = 0;
    for (int i = 0; i < 3; ++i) {
        o.lightcolour[i] = 255;
        o.darkcolour[i] = 0;
    }
    while (!atend(file)) {
        rstrings(run, file, sr.words);
        if (sr.words.count == 0) continue;
        const Word key = wordat(sr.words, 1);
        if (istext(key, "*")) break;  // the script ends after this line
        YesAskNo answer;
        int32_t last;
        readyesno(sr.words, sr.words.count, answer, last);
        applykeyword(sr, key, answer, last);
    }
    finishfigure(sr);
    atline(run, 0);  // what is missing is missing from the file as a whole
    if (!sr.windowgiven || !sr.bigticksgiven) {
        std::vector<std::string> notes = sr.slips;
        addrestnote(sr, notes);
        if (sr.windowgiven)
            explain(run, "the script has no bigticks line (x gap, x start, y gap, y start)", notes);
        else
            explain(run, "the script has no window line (xlow xhigh ylow yhigh)", notes);
        if (!sr.windowgiven) bombed(run, "readdata", "window script needed (xlow, xhigh, ylow, yhigh)");
        bombed(run, "readdata", "bigticks script needed (xtick gap, xstart, ytick gap, ystart)");
    }
    const PlotWindow& w = d.window;
    const TickMarks& t = d.ticks;
    if (toomany(w.xlow, w.xhigh, t.xtickgap) || toomany(w.ylow, w.yhigh, t.ytickgap) ||
        (t.smallticks && (toomany(w.xlow, w.xhigh, t.smallxgap) || toomany(w.ylow, w.yhigh, t.smallygap)))) {
        explain(run, "a tick gap so small that more than 10000 ticks fall across the window",
                {"check the gaps of bigticks and smallticks against the window's units"});
        bombed(sr.run, "read script", "too many ticks");
    }
    if (!closereader(file)) {
        char path[256];
        if (!tocstring(datafile.name, path)) path[0] = '\0';
        ioerror(run, path);
    }
}
