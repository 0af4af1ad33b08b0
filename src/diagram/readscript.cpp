// readscript.cpp - readscript: one keyword line after another, with the
// window and big-tick echoes and their checks.
#include "diagram/readscript.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "diagram/model.h"
#include "diagram/checkedwords.h"
#include "diagram/scriptkeywords.h"
#include "diagram/scriptreader.h"
#include "diagram/slips.h"
#include "run/channels.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/lineinput.h"
#include "run/prefs.h"
#include "run/run.h"
#include "text/numfmt.h"
#include "text/tokens.h"
#include "text/utf8.h"

namespace gridel::diagram {

using namespace scriptreading;

namespace {

// A tick gap so small that one axis would carry more ticks than this is
// refused: drawing it would take hours and gigabytes.
const long double maxticks = 10000;

// A note on words after the "*" that ends the areas, which are not read
// (a script written on that line), for a failure that a missing line may
// explain.
void addrestnote(ScriptReader& sr, std::vector<std::string>& notes) {
    if (sr.file.restline > 0)
        notes.push_back("the words after the '*' on line " + run::wholetext(sr.file.restline) +
                        " are not read: the script begins on the next line");
}

// Stand at word i of the current line; past its last word, just after it.
void atwordof(ScriptReader& sr, int32_t i) {
    const text::WordList& w = sr.words;
    int32_t line = sr.run.place.line;
    if (i >= 1 && i <= w.count)
        run::atword(sr.run, line, w.edges[2 * static_cast<size_t>(i) - 2] + 1, text::wholeword(w, i).len);
    else if (w.count > 0)
        run::atword(sr.run, line, w.edges[2 * static_cast<size_t>(w.count) - 1] + 1, 0);
}

// A keyword's line that lacks `count` numbers after word `last`: the place
// and the plain text name the first word that is not a number, or the end
// of the line when there are too few words.
void explainnumbers(ScriptReader& sr, int32_t last, int count, const std::string& needs) {
    for (int32_t i = last + 1; i <= last + count; ++i) {
        text::TextView w = wholeword(sr.words, i);
        text::WordKind k = whatis(w);
        if (k == text::kindinteger || k == text::kindreal || k == text::kindrational) {
            long double v;
            int16_t a, b;
            text::Text message;
            bool reads = k == text::kindrational ? text::str2rational(w.c, w.len, a, b, message) : text::realvalue(w.c, w.len, v);
            if (reads) continue;
        }
        atwordof(sr, i);
        if (i > sr.words.count) {
            run::explain(sr.run, needs + ": the line ends after " + run::wholetext(i - last - 1) + " of them");
        } else {
            run::explain(sr.run, needs + ": " + run::quotedword(w) + " is not one", numbernotes(w));
        }
        return;
    }
    run::explain(sr.run, needs);
}

// An option that takes a size: "ask" counts as yes.
run::YesAskNo askasyes(run::YesAskNo answer) { return answer == run::answerask ? run::answeryes : answer; }

int16_t clampsize(int16_t v, int16_t low, int16_t high) { return v < low ? low : (v > high ? high : v); }

// The optional integer after the answer word; false when none converts.
bool optionalsize(ScriptReader& sr, int32_t last, int16_t& size) {
    int16_t n = 1;
    int16_t values[2];
    if (!text::getints(sr.words, last, n, values)) return false;
    size = values[1];
    return true;
}

void echoreal(text::LineBuffer& line, const char* label, long double v) {
    appendfield(label, 0, line, 255);
    appendreal(2, true, 0, line, 255, v);
}

void readwindow(ScriptReader& sr, const KeywordLine& kl) {
    const int32_t last = kl.last;
    sr.windowfailed = true;  // until the line is read whole
    int16_t n = 4;
    long double v[5];
    if (!text::getreals(sr.words, last, n, v)) {
        explainnumbers(sr, last, 4, "window needs four numbers, xlow xhigh ylow yhigh");
        run::bombed(sr.run, "readdata", "window bad in script (xlow, xhigh, ylow, yhigh needed)");
    }
    sr.d.window.xlow = v[1];
    sr.d.window.xhigh = v[2];
    sr.d.window.ylow = v[3];
    sr.d.window.yhigh = v[4];
    text::LineBuffer line;
    text::clearline(line);  // the echo comes before the checks, so a bad window is shown
    echoreal(line, "window: xlow = ", sr.d.window.xlow);
    echoreal(line, ", xhigh = ", sr.d.window.xhigh);
    echoreal(line, ", ylow = ", sr.d.window.ylow);
    echoreal(line, ", yhigh = ", sr.d.window.yhigh);
    run::putstr(sr.run, 0, line, 1, run::setwlog);
    if (sr.d.window.xlow >= sr.d.window.xhigh) {
        atwordof(sr, last + 2);
        run::explain(sr.run, "the window's xhigh, " + run::quotedword(text::wholeword(sr.words, last + 2)) + ", is not greater than its xlow",
                {"the window is written xlow xhigh ylow yhigh"});
        run::bombed(sr.run, "readdata", "xhigh must be greater than xlow");
    }
    if (sr.d.window.ylow >= sr.d.window.yhigh) {
        atwordof(sr, last + 4);
        run::explain(sr.run, "the window's yhigh, " + run::quotedword(text::wholeword(sr.words, last + 4)) + ", is not greater than its ylow",
                {"the window is written xlow xhigh ylow yhigh"});
        run::bombed(sr.run, "readdata", "yhigh must be greater than ylow");
    }
    sr.windowgiven = true;
    sr.windowfailed = false;
}

void readbigticks(ScriptReader& sr, const KeywordLine& kl) {
    const int32_t last = kl.last;
    sr.bigticksfailed = true;  // until the line is read whole
    int16_t n = 4;
    long double v[5];
    if (!text::getreals(sr.words, last, n, v)) {
        explainnumbers(sr, last, 4, "bigticks needs four numbers, x gap, x start, y gap, y start");
        run::bombed(sr.run, "readdata", "bigticks bad in script (xtick gap, xstart, ytick gap, ystart needed)");
    }
    TickMarks& t = sr.d.ticks;
    t.xtickgap = v[1];
    t.xstart = v[2];
    t.ytickgap = v[3];
    t.ystart = v[4];
    text::LineBuffer line;
    text::clearline(line);
    echoreal(line, "big ticks and axis labels: start x = ", t.xstart);
    echoreal(line, ", x gap = ", t.xtickgap);
    echoreal(line, ", start y = ", t.ystart);
    echoreal(line, ", y gap = ", t.ytickgap);
    run::putstr(sr.run, 0, line, 1, run::setwlog);
    const char* const order = "bigticks is written x gap, x start, y gap, y start";
    if (t.xtickgap <= 0 || t.ytickgap <= 0) {
        // A negative gap would make the tick loops of the drawing run forever.
        bool zero = t.xtickgap == 0 || t.ytickgap == 0;
        atwordof(sr, last + ((zero ? t.xtickgap == 0 : t.xtickgap < 0) ? 1 : 3));
        run::explain(sr.run, "the gap between big ticks must be greater than 0", {order});
        if (zero) run::bombed(sr.run, "read script", "zero gap");
        run::bombed(sr.run, "read script", "negative gap");
    }
    const PlotWindow& w = sr.d.window;
    bool xoutside = t.xstart < w.xlow || t.xstart > w.xhigh;
    // A window line that a check could not read is named where it stands.
    if (!sr.windowfailed && (xoutside || t.ystart < w.ylow || t.ystart > w.yhigh)) {
        atwordof(sr, last + (xoutside ? 2 : 4));
        if (sr.windowgiven) {
            run::explain(sr.run, std::string("the first big tick along ") + (xoutside ? "x" : "y") +
                                " lies outside the window", {order});
        } else {
            // Without a window there is nothing to check the starts against:
            // a misspelt window line is the likely cause, and named first.
            std::vector<std::string> notes = sr.slips;
            notes.push_back("the window line must come before the bigticks line");
            addrestnote(sr, notes);
            run::explain(sr.run, "no window line comes before this bigticks line", notes);
        }
        if (xoutside) run::bombed(sr.run, "readdata", "x start must be >=xlow and <=xhigh");
        run::bombed(sr.run, "readdata", "y start must be >=ylow and <=yhigh");
    }
    sr.bigticksgiven = true;
    sr.bigticksfailed = false;
}

void readsmallticks(ScriptReader& sr, const KeywordLine& kl) {
    const int32_t last = kl.last;
    warnask(sr, kl.key, kl.answer, "is taken as yes");
    run::YesAskNo answer = askasyes(kl.answer);
    if (answer == run::answeryes) {
        int16_t n = 2;
        long double v[3];
        if (!text::getreals(sr.words, last, n, v)) {
            explainnumbers(sr, last, 2, "smallticks needs two numbers, x gap and y gap");
            run::addnote(sr.run, "'smallticks no' turns them off");
            run::bombed(sr.run, "readdata", "small ticks bad in script (xtick gap, ytick gap)");
        }
        sr.d.ticks.smallxgap = v[1];
        sr.d.ticks.smallygap = v[2];
        if (v[1] <= 0 || v[2] <= 0) {
            bool zero = v[1] == 0 || v[2] == 0;
            atwordof(sr, last + ((zero ? v[1] == 0 : v[1] < 0) ? 1 : 2));
            run::explain(sr.run, "the gap between small ticks must be greater than 0");
            if (zero) run::bombed(sr.run, "read script", "zero small gap");
            run::bombed(sr.run, "read script", "negative small gap");
        }
    }
    sr.d.ticks.smallticks = answer == run::answeryes;
}

void readinfo(ScriptReader& sr, const KeywordLine& kl) {
    const int32_t last = kl.last;
    DrawingOptions& o = sr.d.options;
    if (o.ninfo + 1 > maxinfo) {
        atwordof(sr, 1);
        run::explain(sr.run, "a script has at most 10 info lines");
        run::bombed(sr.run, "script", "too much info!!");
    }
    ++o.ninfo;
    text::Text& info = o.info[o.ninfo];
    info.len = 0;
    for (int32_t i = last + 1; i <= sr.words.count && info.len < text::capof(info); ++i) {
        text::addtext(info, " ");
        addtext(info, text::wordat(sr.words, i));
    }
    warnundrawable(sr.run, sr.run.place.line, text::viewof(info), "the info line");
    warnmarkup(sr.run, sr.run.place.line, viewof(info), "the info line");
}

void readdarkcolour(ScriptReader& sr, const KeywordLine& kl) {
    const int32_t last = kl.last;
    int16_t n = 3;
    long double v[4];
    if (!text::getreals(sr.words, last, n, v)) {  // ignored without a message
        run::warning(sr.run, sr.run.place.line, noitem, "darkcolour needs three numbers: the line is ignored");
        return;
    }
    for (int i = 0; i < 3; ++i) sr.d.options.darkcolour[i] = v[i + 1];
}

// Under --check, a size that was given and is not the one used.
void warnsize(ScriptReader& sr, const std::string& what, int16_t given, int16_t used) {
    if (given == used) return;
    run::warning(sr.run, sr.run.place.line, noitem,
            std::string(what) + " size " + run::wholetext(given) + " is taken as " + run::wholetext(used));
}

// A keyword that takes no answer: an "ask" is skipped, after the line is read.
template <KeywordReader read>
void answerless(ScriptReader& sr, const KeywordLine& kl) {
    read(sr, kl);
    warnask(sr, kl.key, kl.answer, "has no meaning here and is skipped");
}

void readstrict(ScriptReader&, const KeywordLine&) {}  // accepted, no effect

void readdoareas(ScriptReader& sr, const KeywordLine& kl) {
    sr.d.options.doareas = kl.answer;
    warnask(sr, kl.key, kl.answer, "is taken as no: no areas are painted");
}

void readshowlineinfo(ScriptReader& sr, const KeywordLine& kl) {
    sr.d.options.showlineinfo = kl.answer;
    warnask(sr, kl.key, kl.answer, "is taken as no: the log gets no line report");
}

void readnumbering(ScriptReader& sr, const KeywordLine& kl) {
    DrawingOptions& o = sr.d.options;
    o.numbering = askasyes(kl.answer);
    warnask(sr, kl.key, kl.answer, "is taken as yes");
    if (o.numbering != run::answeryes) return;
    int16_t size;
    bool given = optionalsize(sr, kl.last, size);
    o.numbersize = clampsize(given ? size : 4, 4, 14);
    if (given) warnsize(sr, run::wordtext(kl.key), size, o.numbersize);
}

void readcircles(ScriptReader& sr, const KeywordLine& kl) {
    DrawingOptions& o = sr.d.options;
    o.docircles = askasyes(kl.answer);
    warnask(sr, kl.key, kl.answer, "is taken as yes");
    if (o.docircles != run::answeryes) return;
    int16_t size;
    bool given = optionalsize(sr, kl.last, size);
    if (!given) {
        if (o.numbersize > 0)
            size = static_cast<int16_t>(text::roundint(o.numbersize / 2.0L));  // ties to even
        else
            size = 1;
    }
    o.circlesize = clampsize(size, 1, 7);
    if (given) warnsize(sr, "circle", size, o.circlesize);
}

// The keywords of the script that every version of the data file knows, in
// the order the reference lists them.  Their lines are read as they always
// were: words after the arguments are named by a warning but do not stop
// the line.
const ScriptKeyword scriptkeywords[] = {
    {"window", {"XLOW XHIGH YLOW YHIGH", Takes::numbers, 4, 4, nullptr}, answerless<readwindow>},
    {"bigticks", {"XGAP XSTART YGAP YSTART", Takes::numbers, 4, 4, nullptr}, answerless<readbigticks>},
    {"smallticks", {"XGAP YGAP (when on)", Takes::numbers, 0, 2, nullptr}, readsmallticks},
    {"numbering", {"[SIZE]", Takes::numbers, 0, 1, nullptr}, readnumbering},
    {"docircles", {"[SIZE]", Takes::numbers, 0, 1, nullptr}, readcircles},
    {"circles", {"[SIZE]", Takes::numbers, 0, 1, nullptr}, readcircles},
    {"doareas", {"none", Takes::nothing, 0, 0, nullptr}, readdoareas},
    {"areas", {"none", Takes::nothing, 0, 0, nullptr}, readdoareas},
    {"showlineinfo", {"none", Takes::nothing, 0, 0, nullptr}, readshowlineinfo},
    {"darkcolour", {"R G B", Takes::numbers, 3, 3, nullptr}, answerless<readdarkcolour>},
    {"info", {"any words", Takes::text, 0, 0, nullptr}, answerless<readinfo>},
    {"strict", {"none", Takes::nothing, 0, 0, nullptr}, answerless<readstrict>},
};

// The row of `key` in a table; null when it has none.
const ScriptKeyword* findkeyword(std::span<const ScriptKeyword> table, text::TextView key) {
    for (const ScriptKeyword& k : table)
        if (text::istext(key, k.name)) return &k;
    return nullptr;
}

// Every keyword's name, the script's then the figure's, for the hints.
const std::vector<const char*>& keywordnames() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> out;
        for (const ScriptKeyword& k : scriptkeywords) out.push_back(k.name);
        for (const ScriptKeyword& k : figurekeywordtable()) out.push_back(k.name);
        return out;
    }();
    return names;
}

void applykeyword(ScriptReader& sr, const text::Word& key, run::YesAskNo answer, int32_t last) {
    if (const ScriptKeyword* k = findkeyword(scriptkeywords, text::viewof(key))) {
        KeywordLine line{k->arguments, key, answer, last, firstmisfit(sr.words, last, k->arguments)};
        warnextra(sr, line);
        k->read(sr, line);
    } else if (const ScriptKeyword* f = findkeyword(figurekeywordtable(), viewof(key))) {
        KeywordLine line{f->arguments, key, answer, last, firstmisfit(sr.words, last, f->arguments)};
        f->read(sr, line);
        warnask(sr, key, answer, "is taken as no");
    } else {  // any other keyword is ignored
        std::string word(key.c, static_cast<size_t>(key.len));
        std::string near = nearestscriptkeyword(word);
        std::string hint = near.empty() ? std::string() : " (did you mean \"" + near + "\"?)";
        if (commentslip(viewof(key))) hint = " (" + numbernotes(viewof(key)).front() + ")";
        run::warning(sr.run, sr.run.place.line, noitem, "unknown script keyword \"" + word + "\" is ignored" + hint);
        const ScriptKeyword* meant = findkeyword(scriptkeywords, text::TextView{near.data(), static_cast<int32_t>(near.size())});
        if (meant != nullptr && (meant->read == answerless<readwindow> || meant->read == answerless<readbigticks>))
            sr.slips.push_back(run::quotedword(key) + " on line " + run::wholetext(sr.run.place.line) + ": did you mean '" + near +
                               "'?");
    }
}

// Apply the script line in sr.words; false for a "*" line, which ends the
// script.  Under --check a failing line is kept in `failed` and the
// reading goes on, so that the check lists the failure of every line.
bool applyline(ScriptReader& sr, std::optional<run::RunEnd>& failed) {
    if (sr.words.count == 0) return true;
    const text::Word key = wordat(sr.words, 1);
    if (text::istext(key, "*")) return false;
    run::YesAskNo answer;
    int32_t last;
    run::readyesno(sr.words, sr.words.count, answer, last);
    if (!sr.run.checking) {
        applykeyword(sr, key, answer, last);
        return true;
    }
    try {
        applykeyword(sr, key, answer, last);
    } catch (const run::RunEnd& end) {
        if (end.status != run::exitfailed) throw;
        if (!failed) failed = end;
    }
    return true;
}

// The log's line for a style file or a command-line line once applied.
void reportstyle(run::Run& run, const run::ScriptSource& source) {
    std::string said = source.number > 0 ? "-e line " + run::wholetext(source.number) + " applied: " + source.line
                                          : "style file " + source.shown + " applied";
    text::Text line;  // a long -e line is cut on the screen and in the log
    text::settext(line, said.data(), static_cast<int>(std::min<size_t>(said.size(), text::capof(line))));
    putstr(run, 0, line, 1, run::setwlog);
}

// The style files and command-line lines of the run, read as the script's
// own lines after its last one, each where it stands (its failures and
// warnings name it).  A "*" line ends a style file's script, as it ends a
// data file's.  The data file is the run's place again afterwards.
void readstyles(ScriptReader& sr, std::optional<run::RunEnd>& failed) {
    run::Run& run = sr.run;
    if (run.styles.empty()) return;
    const run::SourcePlace datafile = run.place;
    for (const run::ScriptSource& source : run.styles) {
        text::Text shown;
        text::settext(shown, source.shown.data(), static_cast<int>(std::min<size_t>(source.shown.size(), text::capof(shown))));
        if (source.number > 0) {
            enterfile(run, text::Text{0, {}}, shown);
            run.place.text = source.line;
            atline(run, source.number);
            sr.words.line = source.line;
            splitline(sr.words);
            dropcomment(sr.words);
            applyline(sr, failed);
        } else {
            text::Text path;
            text::settext(path, source.path.data(), static_cast<int>(std::min<size_t>(source.path.size(), text::capof(path))));
            enterfile(run, path, shown);
            run::LineReader reader;
            if (!run::openreader(reader, source.path.c_str())) ioerror(run, source.shown.c_str());
            while (!run::atend(reader)) {
                rstrings(run, reader, sr.words);
                if (!applyline(sr, failed)) break;
            }
            if (!run::closereader(reader)) ioerror(run, source.shown.c_str());
        }
        reportstyle(run, source);
    }
    run.place = datafile;
    run::atline(run, 0);
}

// More than `maxticks` ticks of this gap across the span.
bool toomany(long double low, long double high, long double gap) { return (high - low) / gap > maxticks; }

}  // namespace

std::vector<KeywordName> scriptkeywordlist() {
    std::vector<KeywordName> out;
    for (const ScriptKeyword& k : scriptkeywords) out.push_back({k.name, k.arguments.shown});
    return out;
}

std::vector<KeywordName> figurekeywordlist() {
    std::vector<KeywordName> out;
    for (const ScriptKeyword& k : figurekeywordtable()) out.push_back({k.name, k.arguments.shown});
    return out;
}

bool isscriptkeyword(text::TextView word) {
    for (const char* name : keywordnames())
        if (istext(word, name)) return true;
    return false;
}

std::string nearestscriptkeyword(const std::string& word) {
    const std::vector<const char*>& names = keywordnames();
    return run::nearestword(word, names.data(), static_cast<int>(names.size()));
}

void readscriptafterfailure(run::Run& run, Diagram& d, const text::Text& datafile) {
    DataFile file;
    file.name = datafile;
    char path[256];
    if (!text::tocstring(datafile, path) || !openinput(run, file.reader, path)) return;
    // Find the script's first line without ending the run: a line the data
    // reader could not read is not read here either.
    text::WordList words;
    int32_t star = 0, from = 0, begin = 0;
    while (readline(file.reader, words.line) == run::readok) {
        text::splitline(words);
        text::dropcomment(words);
        if (words.count == 0) continue;
        int32_t n = file.reader.lineno;
        text::TextView first = wholeword(words, 1);
        if (star > 0 && isscriptkeyword(first)) {
            begin = from;
            break;
        }
        int32_t at = 0;
        for (int32_t i = 1; i <= words.count && at == 0; ++i)
            if (text::istext(text::wholeword(words, i), "*")) at = i;
        if (at > 0) {
            star = n;
            from = n + 1;
            file.restline = at < words.count ? n : 0;
            file.restcolumn = at < words.count ? words.edges[2 * static_cast<size_t>(at)] + 1 : 0;
        } else if (star > 0 && text::whatis(first) != text::kindother) {
            from = n + 1;  // an area's line: the areas ran on past their "*"
        }
    }
    closereader(file.reader);
    if (begin == 0 || !openinput(run, file.reader, path)) return;
    while (file.reader.lineno + 1 < begin && skipline(file.reader) == run::readok) {
    }
    readscript(run, d, file);
}

void readscript(run::Run& run, Diagram& d, DataFile& datafile) {
    ScriptReader sr{run, d, datafile, {}, false, false, false, false, {}};
    std::optional<run::RunEnd> failed;  // the first failing line's end, under --check
    run::LineReader& file = datafile.reader;
    DrawingOptions& o = d.options;
    d.ticks.smallticks = false;
    o.doareas = run::answeryes;
    o.showlineinfo = run::answeryes;
    o.numbering = run::answerno;
    o.numbersize = 0;
    o.circlesize = 0;
    for (int i = 0; i < 3; ++i) {
        o.lightcolour[i] = 255;
        o.darkcolour[i] = 0;
    }
    while (!run::atend(file)) {
        rstrings(run, file, sr.words);
        if (!applyline(sr, failed)) break;
    }
    readstyles(sr, failed);
    finishfigure(sr);
    atline(run, 0);  // what is missing is missing from the file as a whole
    // A window or bigticks line that could not be read is not missing.
    if ((!sr.windowgiven && !sr.windowfailed) || (!sr.bigticksgiven && !sr.bigticksfailed)) {
        std::vector<std::string> notes = sr.slips;
        addrestnote(sr, notes);
        if (sr.windowgiven || sr.windowfailed)
            explain(run, "the script has no bigticks line (x gap, x start, y gap, y start)", notes);
        else
            explain(run, "the script has no window line (xlow xhigh ylow yhigh)", notes);
        if (!sr.windowgiven && !sr.windowfailed) bombed(run, "readdata", "window script needed (xlow, xhigh, ylow, yhigh)");
        bombed(run, "readdata", "bigticks script needed (xtick gap, xstart, ytick gap, ystart)");
    }
    if (failed) throw *failed;  // the check found a failing line: its status ends the reading
    const PlotWindow& w = d.window;
    const TickMarks& t = d.ticks;
    if (toomany(w.xlow, w.xhigh, t.xtickgap) || toomany(w.ylow, w.yhigh, t.ytickgap) ||
        (t.smallticks && (toomany(w.xlow, w.xhigh, t.smallxgap) || toomany(w.ylow, w.yhigh, t.smallygap)))) {
        explain(run, "a tick gap so small that more than 10000 ticks fall across the window",
                {"check the gaps of bigticks and smallticks against the window's units"});
        bombed(sr.run, "read script", "too many ticks");
    }
    if (!run::closereader(file)) {
        char path[256];
        if (!tocstring(datafile.name, path)) path[0] = '\0';
        ioerror(run, path);
    }
}

}  // namespace gridel::diagram
