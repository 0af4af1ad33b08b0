// lineinput.cpp - a run's lines as words, keyboard lines, prompts and
// questions.
#include "run/lineinput.h"

#include <cstdio>
#include <cstring>

#include "run/channels.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/run.h"

namespace gridel::run {

void flushall(Run& run) { flushchannels(run); }

void rstrings(Run& run, LineReader& file, text::WordList& words) {
    // The file channels are made complete before a read that may wait (a
    // pipe, a terminal); a regular file never waits, and its lines are read
    // without a system call each for the log.  The screen is pushed out
    // wherever the keyboard is read, not here.
    if (!file.regular) flushfiles(run);
    ReadResult got = readline(file, words.line);
    atline(run, file.lineno);
    if (got == readfailed) {
        int reason = errno;
        stopifinterrupted();
        size_t shown = words.line.size() < 255 ? words.line.size() : 255;
        std::fputc('"', run.screen);
        std::fwrite(words.line.data(), 1, shown, run.screen);
        std::fputs("\"\n", run.screen);
        explain(run, std::string("the file could not be read: ") + std::strerror(reason));
        bombed(run, "read in rstrings", "problems reading");
    }
    if (got == readtoolong) {
        explain(run, "this line is longer than 1048576 bytes", {"is it a text file, with its lines ended?"});
        bombed(run, "read in rstrings", toolongmessage);
    }
    text::splitline(words);
    text::dropcomment(words);
}

void prstrings(Run& run, text::WordList& words) {
    flushall(run);
    ReadResult got = readline(run.keyboard, words.line);
    if (got == readfailed) stopifinterrupted();
    if (got == readfailed) bombed(run, "read in prstrings", "problems reading");
    if (got == readtoolong) bombed(run, "read in prstrings", toolongmessage);
    // Backspace editing: each backspace takes itself and the character before it.
    std::string& line = words.line;
    size_t n = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\b') {
            if (n > 0) --n;
        } else {
            line[n++] = line[i];
        }
    }
    line.resize(n);
    text::splitline(words);
}

void promptstrings(Run& run, const char* prompt, text::WordList& words) {
    text::Text shown;
    text::settext(shown, prompt);
    text::addtext(shown, " : ");
    putstr(run, 0, shown, 0, setwlog);
    prstrings(run, words);
    if (isopen(run, chlog)) {
        text::Text copy;
        copy.len = 0;
        if (words.count == 0) {
            text::settext(copy, "(nothing input)");
        } else if (words.count == 1) {
            settext(copy, text::wordat(words, 1));
        } else {
            text::addtext(copy, " ");
            for (int i = 1; i <= words.count && copy.len < text::capof(copy); ++i) {
                addtext(copy, text::wordat(words, i));
                addtext(copy, " ");
            }
        }
        putstr(run, 0, copy, 1, setlog);
    }
    if (words.count == 1 && iskill(text::wordat(words, 1))) killrun(run);
}

text::Word promptword(Run& run, const char* prompt) {
    text::WordList words;
    promptstrings(run, prompt, words);
    return text::wordat(words, 1);
}

bool query(Run& run, const char* question) {
    text::Text shown;
    text::settext(shown, question);
    text::addtext(shown, " ? ");
    putstr(run, 0, shown, 0, setwlog);
    flushall(run);
    std::string line;
    auto answerline = [&] {
        ReadResult got = readline(run.keyboard, line);
        if (got == readfailed) stopifinterrupted();
        if (got == readfailed) ioerror(run, "standard input");
        if (got == readtoolong) bombed(run, "read in prstrings", toolongmessage);
    };
    answerline();
    if (line == "?") {
        putstr(run, 1, "sorry, you are on your own...", 2, setwlog);
        putstr(run, 0, shown, 0, setwlog);
        flushall(run);
        answerline();
    }
    int first, last;
    text::trimbounds(line.data(), static_cast<int>(line.size()), first, last);
    text::TextView t = {line.data() + (last > 0 ? first - 1 : 0), last > 0 ? last - first + 1 : 0};
    bool answer = t.len == 0 || text::istext(t, "1") || istext(t, "yes") || istext(t, "y") || istext(t, "Y");
    if (isopen(run, chlog)) putstr(run, 0, answer ? "yes" : "no", 1, setlog);
    if (iskill(t)) killrun(run);
    return answer;
}

}  // namespace gridel::run
