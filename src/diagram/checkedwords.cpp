// checkedwords.cpp - getinteger and getsingle.
#include "diagram/checkedwords.h"

#include "run/failure.h"

namespace {

[[noreturn]] void badword(Run& run, const char* where, const char* prefix, TextView word, const Text& context) {
    Text what;
    settext(what, prefix);
    addtext(what, cuttext(word));
    addtext(what, " - ");
    addtext(what, context);
    bombed(run, where, what);
}

}  // namespace

int16_t getinteger(Run& run, WordKind kind, TextView word, const Text& context) {
    if (kind != kindinteger) badword(run, "getinteger", "expecting an integer (1); got: ", word, context);
    int16_t v;
    Text message;
    if (!str2int(word, v, message)) badword(run, "getinteger", "expecting an integer (2); got: ", word, context);
    return v;
}

long double getsingle(Run& run, WordKind kind, TextView word, const Text& context) {
    if (kind == kindinteger || kind == kindreal) {
        long double v;  // str2real's value, without its message, which is not shown
        if (!realvalue(word.c, word.len, v)) badword(run, "reading", "expecting a single (2); got: ", word, context);
        return v;
    }
    if (kind == kindrational) {
        int16_t a, b;
        Text message;
        if (!str2rational(word.c, word.len, a, b, message))
            badword(run, "reading", "expecting a single (3); got: ", word, context);
        return rationalvalue(a, b);
    }
    badword(run, "reading", "expecting a single (1); got: ", word, context);
}
