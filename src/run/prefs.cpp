// prefs.cpp - reading gl-prefs.txt into the run settings.
#include "run/prefs.h"

#include <cerrno>
#include <string>
#include <vector>

#include "run/channels.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/lineinput.h"
#include "run/run.h"

namespace gridel::run {

namespace {

const char* const prefsname = "gl-prefs.txt";

// The value word after the answer (empty when there is none).
text::Word valueafter(const text::WordList& words, int32_t last) { return text::wordat(words, last + 1); }

const text::Word noitem = {0, {}};

// Under --check, what an answer "ask" does, since nothing is ever asked.
void warnask(Run& run, const text::Word& key, YesAskNo code, const char* becomes) {
    if (code != answerask) return;
    warning(run, run.place.line, noitem,
            "\"ask\" does not ask: " + wordtext(key) + " " + becomes);
}

// A preferences line as its reader gets it: all its words, the keyword,
// the answer and the last word the keyword and its answer take.
struct PrefsLine {
    const text::WordList& words;
    text::Word key;
    YesAskNo code;
    int32_t last;
};

void readdontwrap(Run& run, const PrefsLine& line) {
    run.settings.dontwrap = line.code == answeryes;
    warnask(run, line.key, line.code, "is taken as no");
}

void readmonitorheap(Run& run, const PrefsLine& line) {
    run.settings.monitorheap = line.code == answeryes;
    warnask(run, line.key, line.code, "is taken as no");
}

// Accepted for the files that have them; they change nothing.
void readunused(Run&, const PrefsLine&) {}

// A data file named on the command line decides instead.
void readdatafile(Run& run, const PrefsLine& line) {
    if (line.code == answeryes && run.datafile.name.len == 0) run.settings.datafile = valueafter(line.words, line.last);
    warnask(run, line.key, line.code, "leaves the data file as it was");
}

void readpagewidth(Run& run, const PrefsLine& line) {
    int16_t v;
    text::Text message;
    const text::WordList& words = line.words;
    if (text::whatis(text::wholeword(words, 2)) == text::kindinteger && text::str2int(wholeword(words, 2), v, message)) {
        if (v >= 250)
            run.settings.pagewidth = 250;
        else if (v <= 80)
            run.settings.pagewidth = 80;
        else
            run.settings.pagewidth = v;
    } else {
        warning(run, run.place.line, noitem, "setpagewidth needs a whole number: the line is ignored");
    }
}

struct PrefsKeyword {
    const char* name;
    const char* arguments;  // as the reference writes them
    void (*read)(Run&, const PrefsLine&);
};

const PrefsKeyword prefskeywords[] = {
    {"dontwrap", "[yes/no/ask]", readdontwrap},
    {"monitorheap", "[yes/no/ask]", readmonitorheap},
    {"dataset", "NAME", readunused},
    {"datafile", "SUFFIX", readdatafile},
    {"scriptfile", "SUFFIX", readdatafile},
    {"setpagewidth", "N", readpagewidth},
    {"calcmode", "N", readunused},
};

void applyline(Run& run, const text::WordList& words) {
    PrefsLine line{words, text::wordat(words, 1), answeryes, 1};
    readyesno(words, words.count, line.code, line.last);
    for (const PrefsKeyword& k : prefskeywords)
        if (text::istext(line.key, k.name)) {
            k.read(run, line);
            return;
        }
    const text::Word key = line.key;
    text::Text m;
    text::settext(m, "\"");
    text::addtext(m, key);
    addtext(m, "\" unrecognised");
    putstr(run, 0, m, 1, setwlog);
    std::vector<const char*> names;
    for (const PrefsKeyword& k : prefskeywords) names.push_back(k.name);
    std::string word(key.c, static_cast<size_t>(key.len));
    std::string near = nearestword(word, names.data(), static_cast<int>(names.size()));
    warning(run, run.place.line, noitem,
            "unknown keyword \"" + word + "\" is ignored" +
                (near.empty() ? std::string() : " (did you mean \"" + near + "\"?)"));
}

}  // namespace

std::vector<std::pair<const char*, const char*>> prefskeywordlist() {
    std::vector<std::pair<const char*, const char*>> out;
    for (const PrefsKeyword& k : prefskeywords) out.emplace_back(k.name, k.arguments);
    return out;
}

void readyesno(const text::WordList& words, int32_t n, YesAskNo& code, int32_t& last) {
    code = answeryes;
    last = 1;
    if (n == 1) return;
    const text::Word w = wordat(words, 2);
    if (text::istext(w, "yes")) {
        code = answeryes;
        last = 2;
    } else if (istext(w, "ask")) {
        code = answerask;
        last = 2;
    } else if (istext(w, "no")) {
        code = answerno;
        last = 2;
    }
}

void readprefs(Run& run) {
    RunSettings& settings = run.settings;
    settings.dontwrap = true;
    settings.monitorheap = false;
    if (run.datafile.name.len == 0) settings.datafile.len = 0;  // else named on the command line
    settings.pagewidth = 80;

    LineReader prefsfile;
    std::string shown = shownname(run, prefsname);
    if (!openinput(run, prefsfile, prefsname)) {
        // There, but not to be read: an input/output error, as for any file
        // the run cannot use.
        if (errno != ENOENT && errno != ENOTDIR && errno != EISDIR) ioerror(run, shown.c_str());
        if (!run.interactive) return;  // nobody to ask: the defaults it is
        text::Text m;
        text::settext(m, "no prefs file \"");
        text::addtext(m, prefsname);
        addtext(m, "\"");
        putstr(run, 1, m, 2, setwlog);
        putstr(run, 0, "on the Mac, if you double-clicked the gridel icon then that won't work;", 1, setwlog);
        putstr(run, 0, "try reading the \"getting started\" info on the QUARZITRON website.", 2, setwlog);
        putstr(run, 0, "if you double-clicked the icon, enter 0 now", 1, setwlog);
        query(run, "continue");  // whatever the answer, the run goes on; "kill" stops it
        return;
    }
    enterfile(run, text::maketext(prefsname), text::maketext(shown.c_str()));
    text::WordList words;
    while (!atend(prefsfile)) {
        rstrings(run, prefsfile, words);
        if (words.count == 0) continue;
        if (text::wordat(words, 1).c[0] == '*') break;  // "*" ends the file
        applyline(run, words);
    }
    closereader(prefsfile);
    leavefiles(run);
}

}  // namespace gridel::run
