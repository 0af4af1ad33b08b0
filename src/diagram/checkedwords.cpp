// checkedwords.cpp - getinteger and getsingle.
#include "diagram/checkedwords.h"

#include <string>
#include <vector>

#include "diagram/slips.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "text/markup.h"
#include "text/utf8.h"

namespace gridel::diagram {

namespace {

[[noreturn]] void badword(run::Run& run, const char* where, const char* prefix, text::TextView word, const text::Text& context) {
    text::Text what;
    text::settext(what, prefix);
    addtext(what, cuttext(word));
    text::addtext(what, " - ");
    addtext(what, context);
    bombed(run, where, what);
}

// The plain text of a word that is not the number expected, unless the
// reader said it already, and the notes its shape suggests before the
// reader's own.
void explainword(run::Run& run, const std::string& plain, text::TextView word, std::vector<std::string> notes = {}) {
    std::vector<std::string> shape = numbernotes(word);
    notes.insert(notes.begin(), shape.begin(), shape.end());
    std::string keyword = misspeltkeyword(word);
    if (shape.empty() && !keyword.empty()) notes.push_back("did you mean '" + keyword + "'?");
    notes.insert(notes.end(), run.place.notes.begin(), run.place.notes.end());
    explain(run, run.place.plain.empty() ? plain : run.place.plain, std::move(notes));
}

std::string expected(const char* what, text::TextView word, const text::Text& context) {
    return std::string(what) + " was expected here (" + contextphrase(context) + "), not " + run::quotedword(word);
}

}  // namespace

int16_t getinteger(run::Run& run, text::WordKind kind, text::TextView word, const text::Text& context) {
    if (kind != text::kindinteger) {
        std::vector<std::string> notes;
        if (kind == text::kindreal) notes.push_back("write it without a decimal point or an exponent");
        explainword(run, expected("a whole number", word, context), word, notes);
        badword(run, "getinteger", "expecting an integer (1); got: ", word, context);
    }
    int16_t v;
    text::Text message;
    if (!str2int(word, v, message)) {
        explainword(run, run::quotedword(word) + " is too large: a whole number lies between -32766 and 32766", word);
        badword(run, "getinteger", "expecting an integer (2); got: ", word, context);
    }
    return v;
}

long double getsingle(run::Run& run, text::WordKind kind, text::TextView word, const text::Text& context) {
    if (kind == text::kindinteger || kind == text::kindreal) {
        long double v;  // str2real's value, without its message, which is not shown
        if (!text::realvalue(word.c, word.len, v)) {
            explainword(run, run::quotedword(word) + " cannot be read: it lies beyond the numbers gridel holds (about 1.19e4932)",
                        word);
            badword(run, "reading", "expecting a single (2); got: ", word, context);
        }
        return v;
    }
    if (kind == text::kindrational) {
        int16_t a, b;
        text::Text message;
        if (!text::str2rational(word.c, word.len, a, b, message)) {
            explainword(run, run::quotedword(word) + " cannot be read: each part of a fraction is a whole number from 1 to 32766 in size",
                        word);
            badword(run, "reading", "expecting a single (3); got: ", word, context);
        }
        return text::rationalvalue(a, b);
    }
    explainword(run, expected("a number", word, context), word);
    badword(run, "reading", "expecting a single (1); got: ", word, context);
}

void warnmarkup(run::Run& run, int32_t line, text::TextView text, const char* what) {
    std::vector<text::MarkupFault> faults;
    markup(text, false, &faults);
    std::string quoted = std::string(what) + " '" + std::string(text.c, static_cast<size_t>(text.len)) + "'";
    for (const text::MarkupFault& f : faults) {
        int32_t chars = 0;  // the characters before the fault, counted as UTF-8
        for (int32_t i = 0; i < f.at; ++i) chars += (static_cast<unsigned char>(text.c[i]) & 0xC0) != 0x80;
        std::string column = std::to_string(chars + 1);
        if (f.kind == text::MarkupFault::unbalanced)
            warning(run, line, text::Word{0, {}},
                    quoted + " has a '$' without its partner at character " + column +
                        ": it is drawn as a dollar sign (write \\$ for a dollar, $...$ round math)");
        else
            warning(run, line, text::Word{0, {}},
                    quoted + " names '" + f.name + "' at character " + column +
                        ", which the markup does not know: it is drawn as written");
    }
}

void warnundrawable(run::Run& run, int32_t line, text::TextView text, const char* what) {
    if (text::isdrawable(text.c, text.len)) return;
    warning(run, line, text::Word{0, {}},
            std::string(what) + " '" + std::string(text.c, static_cast<size_t>(text.len)) + "'" +
                " holds bytes that are not UTF-8 or characters that cannot be drawn: the PDF, SVG and PNG show "
                "U+FFFD for them");
}

}  // namespace gridel::diagram
