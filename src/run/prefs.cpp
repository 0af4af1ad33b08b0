// prefs.cpp - reading gl-prefs.txt into the run settings.
#include "run/prefs.h"

#include "run/channels.h"
#include "run/lineinput.h"
#include "run/settings.h"

namespace {

const char* const prefsname = "gl-prefs.txt";

LineReader prefsfile;
WordList prefswords;

// The value word after the answer (empty when there is none).
Word valueafter(const WordList& words, int32_t last) { return wordat(words, last + 1); }

void applyline(const WordList& words) {
    const Word key = wordat(words, 1);
    YesAskNo code;
    int32_t last;
    readyesno(words, words.count, code, last);
    if (istext(key, "dontwrap")) {
        runsettings.dontwrap = code == answeryes;
    } else if (istext(key, "monitorheap")) {
        runsettings.monitorheap = code == answeryes;
    } else if (istext(key, "dataset")) {
        if (code == answeryes) runsettings.dataset = valueafter(words, last);
        if (code == answerask) settext(runsettings.dataset, "?");
    } else if (istext(key, "datafile") || istext(key, "scriptfile")) {
        if (code == answeryes) runsettings.datafile = valueafter(words, last);
    } else if (istext(key, "setpagewidth")) {
        int16_t v;
        Text message;
        if (whatis(wholeword(words, 2)) == kindinteger && str2int(wholeword(words, 2), v, message)) {
            if (v >= 250)
                runsettings.pagewidth = 250;
            else if (v <= 80)
                runsettings.pagewidth = 80;
            else
                runsettings.pagewidth = v;
        }
    } else if (istext(key, "calcmode")) {
        int16_t v;
        Text message;
        if (whatis(wholeword(words, 2)) == kindinteger && str2int(wholeword(words, 2), v, message))
            runsettings.calcmode = v;
    } else {
        Text m;
        settext(m, "\"");
        addtext(m, key);
        addtext(m, "\" unrecognised");
        putstr(0, m, 1, setwoutlog);
    }
}

}  // namespace

void readyesno(const WordList& words, int32_t n, YesAskNo& code, int32_t& last) {
    code = answeryes;
    last = 1;
    if (n == 1) return;
    const Word w = wordat(words, 2);
    if (istext(w, "yes")) {
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

void readprefs() {
    runsettings.dontwrap = true;
    runsettings.monitorheap = false;
    runsettings.dataset.len = 0;
    runsettings.datafile.len = 0;
    runsettings.pagewidth = 80;
    runsettings.calcmode = -1;

    if (!openreader(prefsfile, prefsname)) {
        Text m;
        settext(m, "no prefs file \"");
        addtext(m, prefsname);
        addtext(m, "\"");
        putstr(1, m, 2, setwlog);
        putstr(0, "on the Mac, if you double-clicked the gridel icon then that won't work;", 1, setwlog);
        putstr(0, "try reading the \"getting started\" info on the QUARZITRON website.", 2, setwlog);
        putstr(0, "if you double-clicked the icon, enter 0 now", 1, setwlog);
        query("continue");  // whatever the answer, the run goes on; "kill" stops it
        return;
    }
    clearwords(prefswords);
    while (!atend(prefsfile)) {
        rstrings(prefsfile, prefswords);
        if (prefswords.count == 0) continue;
        if (wordat(prefswords, 1).c[0] == '*') break;  // "*" ends the file
        applyline(prefswords);
    }
    closereader(prefsfile);
}
