// scriptreader.cpp - the checks and warnings the readers of the script's
// keywords share: whether a line's words fit its keyword's arguments, the
// warnings for "ask", ignored lines and words not read, and a line's text.
#include "diagram/scriptreader.h"

#include <cstring>

#include "run/diagnostics.h"
#include "text/numfmt.h"
#include "text/utf8.h"

namespace gridel::diagram {

namespace scriptreading {

const text::Word noitem = {0, {}};

namespace {

// A word that reads as a number (an integer, a real or a/b).
bool isnumberword(text::TextView w) {
    text::WordKind k = whatis(w);
    if (k != text::kindinteger && k != text::kindreal && k != text::kindrational) return false;
    long double v;
    int16_t a, b;
    text::Text message;
    return k == text::kindrational ? text::str2rational(w.c, w.len, a, b, message) : text::realvalue(w.c, w.len, v);
}

// The word is one of `words` ('|' between them).
bool oneof(text::TextView w, const char* words) {
    for (const char* from = words;;) {
        const char* bar = std::strchr(from, '|');
        size_t n = bar != nullptr ? static_cast<size_t>(bar - from) : std::strlen(from);
        if (static_cast<size_t>(w.len) == n && std::memcmp(w.c, from, n) == 0) return true;
        if (bar == nullptr) return false;
        from = bar + 1;
    }
}

}  // namespace

int32_t firstmisfit(const text::WordList& words, int32_t last, const Arguments& arguments) {
    const int32_t given = words.count - last;
    const int32_t missing = words.count + 1;
    switch (arguments.takes) {
        case Takes::nothing:
            return given > 0 ? last + 1 : 0;
        case Takes::numbers:
            for (int32_t i = last + 1; i <= words.count && i <= last + arguments.most; ++i)
                if (!isnumberword(text::wholeword(words, i))) return i;
            if (given > arguments.most) return last + arguments.most + 1;
            return given < arguments.least ? missing : 0;
        case Takes::text:
            return given < arguments.least ? missing : 0;
        case Takes::word:
            if (given > 1) return last + 2;
            if (given == 1) return oneof(text::wholeword(words, last + 1), arguments.words) ? 0 : last + 1;
            return arguments.least > 0 ? missing : 0;
        case Takes::words:
            for (int32_t i = last + 1; i <= words.count && i <= last + arguments.most; ++i)
                if (!oneof(text::wholeword(words, i), arguments.words)) return i;
            if (given > arguments.most) return last + arguments.most + 1;
            return given < arguments.least ? missing : 0;
        case Takes::numbertext:
            if (given < 1) return missing;
            if (text::whatis(text::wholeword(words, last + 1)) != text::kindinteger) return last + 1;
            return given < 2 ? missing : 0;
    }
    return 0;
}

void warnask(ScriptReader& sr, const text::Word& key, run::YesAskNo answer, const char* becomes) {
    if (answer != run::answerask) return;
    run::warning(sr.run, sr.run.place.line, noitem, "\"ask\" does not ask: " + run::wordtext(key) + " " + becomes);
}

void ignored(ScriptReader& sr, const std::string& why) {
    run::warning(sr.run, sr.run.place.line, noitem, why + ": the line is ignored");
}

void warnextra(ScriptReader& sr, const KeywordLine& line) {
    const Arguments& arguments = line.arguments;
    if (line.misfit == 0 || line.misfit > sr.words.count) return;
    int32_t allowed = line.last + (arguments.takes == Takes::word ? 1 : arguments.most);
    if (arguments.takes == Takes::text || arguments.takes == Takes::numbertext || line.misfit <= allowed) return;
    std::string takes = arguments.takes == Takes::nothing ? std::string(" takes no arguments")
                                                          : std::string(" takes ") + arguments.shown;
    bool more = line.misfit < sr.words.count;
    run::warning(sr.run, sr.run.place.line, noitem,
            run::wordtext(line.key) + takes + ": " + run::quotedword(text::wholeword(sr.words, line.misfit)) +
                (more ? " and the words after it are" : " is") + " not read");
}

text::Text textfrom(ScriptReader& sr, int32_t first, const char* what, int32_t room) {
    const text::WordList& words = sr.words;
    text::Text out;
    out.len = 0;
    if (first < 1 || first > words.count) return out;
    size_t from = static_cast<size_t>(words.edges[2 * static_cast<size_t>(first) - 2]);
    size_t to = static_cast<size_t>(words.edges[2 * static_cast<size_t>(words.count) - 1]);
    const char* text = words.line.data() + from;
    const int32_t whole = static_cast<int32_t>(to - from);
    // The bytes that fit the room once written as a PostScript string.
    int32_t fits = 0;
    for (int32_t used = 0; fits < whole; ++fits) {
        unsigned char c = static_cast<unsigned char>(text[fits]);
        used += c == 0xA4 ? 4 : (c == '(' || c == ')' || c == '\\' ? 2 : 1);
        if (used > room) break;
    }
    text::settext(out, text, text::wholecut(text, whole, fits < text::capof(out) ? fits : capof(out)));
    if (out.len < whole)
        warning(sr.run, sr.run.place.line, noitem,
                std::string(what) + " is cut to its first " + run::wholetext(out.len) + " of " + run::wholetext(whole) +
                    " bytes: it is drawn in at most " + run::wholetext(room) + " bytes once written for PostScript");
    return out;
}

std::string numbertext(long double v) {
    return v == text::roundint(v) ? run::wholetext(v) : run::wordtext(text::real2str(v, text::decimalsneeded(true, 2, v), true));
}

}  // namespace scriptreading

}  // namespace gridel::diagram
