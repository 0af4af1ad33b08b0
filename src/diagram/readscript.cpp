// readscript.cpp - readscript: one keyword line after another, with the
// window and big-tick echoes and their checks.
#include "diagram/readscript.h"

#include <string>

#include "diagram/model.h"
#include "run/channels.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/lineinput.h"
#include "run/prefs.h"
#include "run/run.h"

namespace {

const Word noitem = {0, {}};

// A tick gap so small that one axis would carry more ticks than this is
// refused: drawing it would take hours and gigabytes.
const long double maxticks = 10000;

// The script reader's state while it reads.
struct ScriptReader {
    Run& run;            // the run: its transcript and its failure path
    Diagram& d;          // the diagram whose settings it fills
    WordList words;      // the words of the current line
    bool windowgiven;    // a "window" line was read
    bool bigticksgiven;  // a "bigticks" line was read
};

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
    if (!getreals(sr.words, last, n, v))
        bombed(sr.run, "readdata", "window bad in script (xlow, xhigh, ylow, yhigh needed)");
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
    if (sr.d.window.xlow >= sr.d.window.xhigh) bombed(sr.run, "readdata", "xhigh must be greater than xlow");
    if (sr.d.window.ylow >= sr.d.window.yhigh) bombed(sr.run, "readdata", "yhigh must be greater than ylow");
    sr.windowgiven = true;
}

void readbigticks(ScriptReader& sr, int32_t last) {
    int16_t n = 4;
    long double v[5];
    if (!getreals(sr.words, last, n, v))
        bombed(sr.run, "readdata", "bigticks bad in script (xtick gap, xstart, ytick gap, ystart needed)");
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
    if (t.xtickgap == 0 || t.ytickgap == 0) bombed(sr.run, "read script", "zero gap");
    // A negative gap would make the tick loops of the drawing run forever.
    if (t.xtickgap < 0 || t.ytickgap < 0) bombed(sr.run, "read script", "negative gap");
    const PlotWindow& w = sr.d.window;
    if (t.xstart < w.xlow || t.xstart > w.xhigh) bombed(sr.run, "readdata", "x start must be >=xlow and <=xhigh");
    if (t.ystart < w.ylow || t.ystart > w.yhigh) bombed(sr.run, "readdata", "y start must be >=ylow and <=yhigh");
    sr.bigticksgiven = true;
}

void readsmallticks(ScriptReader& sr, YesAskNo answer, int32_t last) {
    answer = askasyes(answer);
    if (answer == answeryes) {
        int16_t n = 2;
        long double v[3];
        if (!getreals(sr.words, last, n, v)) bombed(sr.run, "readdata", "small ticks bad in script (xtick gap, ytick gap)");
        sr.d.ticks.smallxgap = v[1];
        sr.d.ticks.smallygap = v[2];
        if (v[1] == 0 || v[2] == 0) bombed(sr.run, "read script", "zero small gap");
        if (v[1] < 0 || v[2] < 0) bombed(sr.run, "read script", "negative small gap");
    }
    sr.d.ticks.smallticks = answer == answeryes;
}

void readinfo(ScriptReader& sr, int32_t last) {
    DrawingOptions& o = sr.d.options;
    if (o.ninfo + 1 > maxinfo) bombed(sr.run, "script", "too much info!!");
    ++o.ninfo;
    Text& info = o.info[o.ninfo];
    info.len = 0;
    for (int32_t i = last + 1; i <= sr.words.count && info.len < capof(info); ++i) {
        addtext(info, " ");
        addtext(info, wordat(sr.words, i));
    }
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

const char* const scriptkeywords[] = {"strict",   "doareas", "areas",      "showlineinfo", "numbering", "docircles",
                                      "circles",  "info",    "darkcolour", "window",       "bigticks",  "smallticks"};

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
    } else {  // any other keyword is ignored
        std::string word(key.c, static_cast<size_t>(key.len));
        std::string near = nearestword(word, scriptkeywords, sizeof scriptkeywords / sizeof scriptkeywords[0]);
        warning(sr.run, sr.run.place.line, noitem,
                "unknown script keyword \"" + word + "\" is ignored" +
                    (near.empty() ? std::string() : " (did you mean \"" + near + "\"?)"));
    }
    if (answer == answerask && (istext(key, "strict") || istext(key, "info") || istext(key, "darkcolour") ||
                                istext(key, "window") || istext(key, "bigticks")))
        warnask(sr, key, answer, "has no meaning here and is skipped");
}

// More than `maxticks` ticks of this gap across the span.
bool toomany(long double low, long double high, long double gap) { return (high - low) / gap > maxticks; }

}  // namespace

void readscript(Run& run, Diagram& d, DataFile& datafile) {
    ScriptReader sr{run, d, {}, false, false};
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
    atline(run, 0);  // what is missing is missing from the file as a whole
    if (!sr.windowgiven) bombed(run, "readdata", "window script needed (xlow, xhigh, ylow, yhigh)");
    if (!sr.bigticksgiven) bombed(sr.run, "readdata", "bigticks script needed (xtick gap, xstart, ytick gap, ystart)");
    const PlotWindow& w = d.window;
    const TickMarks& t = d.ticks;
    if (toomany(w.xlow, w.xhigh, t.xtickgap) || toomany(w.ylow, w.yhigh, t.ytickgap) ||
        (t.smallticks && (toomany(w.xlow, w.xhigh, t.smallxgap) || toomany(w.ylow, w.yhigh, t.smallygap))))
        bombed(sr.run, "read script", "too many ticks");
    if (!closereader(file)) {
        char path[256];
        if (!tocstring(datafile.name, path)) path[0] = '\0';
        ioerror(run, path);
    }
}
