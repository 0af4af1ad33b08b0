// readscript.cpp - readscript: one keyword line after another, with the
// window and big-tick echoes and their checks.
#include "diagram/readscript.h"

#include "diagram/model.h"
#include "diagram/readdata.h"
#include "run/channels.h"
#include "run/failure.h"
#include "run/prefs.h"
#include "run/settings.h"

namespace {

// A tick gap so small that one axis would carry more ticks than this is
// refused: drawing it would take hours and gigabytes.
const long double maxticks = 10000;

WordList scriptwords;
bool windowgiven;    // a "window" line was read
bool bigticksgiven;  // a "bigticks" line was read

// An option that takes a size: "ask" counts as yes.
YesAskNo askasyes(YesAskNo answer) { return answer == answerask ? answeryes : answer; }

int16_t clampsize(int16_t v, int16_t low, int16_t high) { return v < low ? low : (v > high ? high : v); }

// The optional integer after the answer word; false when none converts.
bool optionalsize(int32_t last, int16_t& size) {
    int16_t n = 1;
    int16_t values[2];
    if (!getints(scriptwords, last, n, values)) return false;
    size = values[1];
    return true;
}

void echoreal(const char* label, long double v) {
    appendfield(label, 0, scriptline, 255);
    appendreal(2, true, 0, scriptline, 255, v);
}

void readwindow(int32_t last) {
    int16_t n = 4;
    long double v[5];
    if (!getreals(scriptwords, last, n, v))
        bombed("readdata", "window bad in script (xlow, xhigh, ylow, yhigh needed)");
    plotwindow.xlow = v[1];
    plotwindow.xhigh = v[2];
    plotwindow.ylow = v[3];
    plotwindow.yhigh = v[4];
    clearline(scriptline);  // the echo comes before the checks, so a bad window is shown
    echoreal("window: xlow = ", plotwindow.xlow);
    echoreal(", xhigh = ", plotwindow.xhigh);
    echoreal(", ylow = ", plotwindow.ylow);
    echoreal(", yhigh = ", plotwindow.yhigh);
    putstr(0, scriptline, 1, setwlog);
    if (plotwindow.xlow >= plotwindow.xhigh) bombed("readdata", "xhigh must be greater than xlow");
    if (plotwindow.ylow >= plotwindow.yhigh) bombed("readdata", "yhigh must be greater than ylow");
    windowgiven = true;
}

void readbigticks(int32_t last) {
    int16_t n = 4;
    long double v[5];
    if (!getreals(scriptwords, last, n, v))
        bombed("readdata", "bigticks bad in script (xtick gap, xstart, ytick gap, ystart needed)");
    TickMarks& t = tickmarks;
    t.xtickgap = v[1];
    t.xstart = v[2];
    t.ytickgap = v[3];
    t.ystart = v[4];
    clearline(scriptline);
    echoreal("big ticks and axis labels: start x = ", t.xstart);
    echoreal(", x gap = ", t.xtickgap);
    echoreal(", start y = ", t.ystart);
    echoreal(", y gap = ", t.ytickgap);
    putstr(0, scriptline, 1, setwoutlog);
    if (t.xtickgap == 0 || t.ytickgap == 0) bombed("read script", "zero gap");
    // A negative gap would make the tick loops of the drawing run forever.
    if (t.xtickgap < 0 || t.ytickgap < 0) bombed("read script", "negative gap");
    const PlotWindow& w = plotwindow;
    if (t.xstart < w.xlow || t.xstart > w.xhigh) bombed("readdata", "x start must be >=xlow and <=xhigh");
    if (t.ystart < w.ylow || t.ystart > w.yhigh) bombed("readdata", "y start must be >=ylow and <=yhigh");
    bigticksgiven = true;
}

void readsmallticks(YesAskNo answer, int32_t last) {
    answer = askasyes(answer);
    if (answer == answeryes) {
        int16_t n = 2;
        long double v[3];
        if (!getreals(scriptwords, last, n, v)) bombed("readdata", "small ticks bad in script (xtick gap, ytick gap)");
        tickmarks.smallxgap = v[1];
        tickmarks.smallygap = v[2];
        if (v[1] == 0 || v[2] == 0) bombed("read script", "zero small gap");
        if (v[1] < 0 || v[2] < 0) bombed("read script", "negative small gap");
    }
    tickmarks.smallticks = answer == answeryes;
}

void readinfo(int32_t last) {
    DrawingOptions& o = drawingoptions;
    if (o.ninfo + 1 > maxinfo) bombed("script", "too much info!!");
    ++o.ninfo;
    Text& info = o.info[o.ninfo];
    info.len = 0;
    for (int32_t i = last + 1; i <= scriptwords.count && info.len < capof(info); ++i) {
        addtext(info, " ");
        addtext(info, wordat(scriptwords, i));
    }
}

void readdarkcolour(int32_t last) {
    int16_t n = 3;
    long double v[4];
    if (!getreals(scriptwords, last, n, v)) return;  // ignored without a message
    for (int i = 0; i < 3; ++i) drawingoptions.darkcolour[i] = v[i + 1];
}

void applykeyword(const Word& key, YesAskNo answer, int32_t last) {
    DrawingOptions& o = drawingoptions;
    if (istext(key, "strict")) {
        // accepted, no effect
    } else if (istext(key, "doareas") || istext(key, "areas")) {
        o.doareas = answer;
    } else if (istext(key, "showlineinfo")) {
        o.showlineinfo = answer;
    } else if (istext(key, "numbering")) {
        o.numbering = askasyes(answer);
        if (o.numbering == answeryes) {
            int16_t size;
            o.numbersize = clampsize(optionalsize(last, size) ? size : 4, 4, 14);
        }
    } else if (istext(key, "docircles") || istext(key, "circles")) {
        o.docircles = askasyes(answer);
        if (o.docircles == answeryes) {
            int16_t size;
            if (!optionalsize(last, size)) {
                if (o.numbersize > 0)
                    size = static_cast<int16_t>(roundint(o.numbersize / 2.0L));  // ties to even
                else
                    size = 1;
            }
            o.circlesize = clampsize(size, 1, 7);
        }
    } else if (istext(key, "info")) {
        readinfo(last);
    } else if (istext(key, "darkcolour")) {
        readdarkcolour(last);
    } else if (istext(key, "window")) {
        readwindow(last);
    } else if (istext(key, "bigticks")) {
        readbigticks(last);
    } else if (istext(key, "smallticks")) {
        readsmallticks(answer, last);
    }
    // any other keyword is ignored
}

// More than `maxticks` ticks of this gap across the span.
bool toomany(long double low, long double high, long double gap) { return (high - low) / gap > maxticks; }

}  // namespace

void readscript() {
    LineReader& file = datafile;
    DrawingOptions& o = drawingoptions;
    windowgiven = false;
    bigticksgiven = false;
    tickmarks.smallticks = false;
    o.doareas = answeryes;
    o.showlineinfo = answeryes;
    o.numbering = answerno;
    o.numbersize = 0;
    o.circlesize = 0;
    for (int i = 0; i < 3; ++i) {
        o.lightcolour[i] = 255;
        o.darkcolour[i] = 0;
    }
    clearwords(scriptwords);
    while (!atend(file)) {
        rstrings(file, scriptwords);
        if (scriptwords.count == 0) continue;
        const Word key = wordat(scriptwords, 1);
        if (istext(key, "*")) break;  // the script ends after this line
        YesAskNo answer;
        int32_t last;
        readyesno(scriptwords, scriptwords.count, answer, last);
        applykeyword(key, answer, last);
    }
    if (!windowgiven) bombed("readdata", "window script needed (xlow, xhigh, ylow, yhigh)");
    if (!bigticksgiven) bombed("readdata", "bigticks script needed (xtick gap, xstart, ytick gap, ystart)");
    const PlotWindow& w = plotwindow;
    const TickMarks& t = tickmarks;
    if (toomany(w.xlow, w.xhigh, t.xtickgap) || toomany(w.ylow, w.yhigh, t.ytickgap) ||
        (t.smallticks && (toomany(w.xlow, w.xhigh, t.smallxgap) || toomany(w.ylow, w.yhigh, t.smallygap))))
        bombed("read script", "too many ticks");
    if (!closereader(file)) {
        char path[256];
        if (!tocstring(datafilename, path)) path[0] = '\0';
        ioerror(path);
    }
}
