// pstext.cpp - psstring, pslabel, appendpagepoint, psfontline, pslinewidth, psshow.
#include "postscript/pstext.h"

#include "run/channels.h"
#include "run/settings.h"

namespace {

// The overflow mark closes a line buffer when it is the buffer's last byte,
// so a string ending in it would lose its closing parenthesis.
constexpr unsigned char markbyte = 0xA4;
const char markescape[] = "\\244";

}  // namespace

Text psstring(const char* text, int len, int16_t limit) {
    Text out;
    out.len = 0;
    if (limit > 255) limit = 255;
    for (int i = 0; i < len; ++i) {
        char ch = text[i];
        char unit[4];
        int n = 0;
        if (static_cast<unsigned char>(ch) == markbyte) {
            for (n = 0; n < 4; ++n) unit[n] = markescape[n];
        } else if (ch == '(' || ch == ')' || ch == '\\') {
            unit[n++] = '\\';
            unit[n++] = ch;
        } else {
            unit[n++] = ch;
        }
        if (out.len + n > limit) break;
        addtext(out, unit, n);
    }
    return out;
}

Text pslabel(const Word& name) {
    if (name.len <= 1) return psstring(name.c, 0, 255);
    return psstring(name.c + 1, name.len - 1, 255);
}

namespace {

// The number formatting writes "?" for a magnitude beyond 1e20, which no
// PostScript interpreter reads as a number.  A page coordinate that far out
// (a line point kept far outside the window, or an overflow) is written as
// 1e20 with its sign instead: just as far off the page for every purpose.
long double writablepage(long double p) {
    if (p >= -1e20L && p <= 1e20L) return p;
    return p < 0 ? -1e20L : 1e20L;
}

}  // namespace

void appendpagepoint(LineBuffer& line, long double px, long double py) {
    appendreal(2, true, 0, line, 255, writablepage(px));
    appendfield(" ", 0, line, 255);
    appendreal(2, true, 0, line, 255, writablepage(py));
}

void psfontline(LineBuffer& line, int16_t width, int16_t size) {
    clearline(line);
    appendfield("/Helvetica findfont ", 0, line, 255);
    appendint(width, line, 255, size);
    appendfield(" scalefont setfont", 0, line, 255);
}

void pslinewidth(long double width, int16_t after) {
    clearline(psline);
    appendreal(2, true, 0, psline, 255, width);
    appendfield(" setlinewidth", 0, psline, 255);
    putstr(0, psline, after, setps);
}

void psshow(long double px, long double py, const Text& label, const char* procedure,
            int16_t after) {
    clearline(psline);
    appendpagepoint(psline, px, py);
    appendfield(" (", 0, psline, 255);
    appendfield(label, 0, psline, 255);
    appendfield(") ", 0, psline, 255);
    appendfield(procedure, 0, psline, 255);
    putstr(0, psline, after, setps);
}
