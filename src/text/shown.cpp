// shown.cpp - appendshown, blanksunder, showncolumns.
#include "text/shown.h"

#include <cstdint>

namespace gridel::text {

namespace {

bool continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at s (at most n bytes), or 0
// when there is none (a stray continuation byte, an overlong form, a
// surrogate, a code point past U+10FFFF, a sequence cut short).
size_t sequencelength(const unsigned char* s, size_t n) {
    unsigned char b = s[0];
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (n < length || s[1] < low || s[1] > high) return 0;
    for (size_t k = 2; k < length; ++k)
        if (!continuation(s[k])) return 0;
    return length;
}

void appendescape(std::string& out, unsigned char b) {
    static const char digits[] = "0123456789abcdef";
    out += "\\x";
    out += digits[b >> 4];
    out += digits[b & 15];
}

}  // namespace

void appendshown(std::string& out, const char* text, size_t n) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    size_t k = 0;
    while (k < n) {
        unsigned char b = s[k];
        if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
            ++k;
        } else if (b == '\t') {
            out += '\t';
            ++k;
        } else if (b < 0x80) {  // the other C0 controls and DEL
            appendescape(out, b);
            ++k;
        } else {
            size_t length = sequencelength(s + k, n - k);
            // U+0080..U+009F, the C1 controls, are C2 80..C2 9F.
            bool control = length == 2 && b == 0xC2 && s[k + 1] <= 0x9F;
            if (length == 0 || control) {
                size_t bytes = length == 0 ? 1 : length;
                for (size_t j = 0; j < bytes; ++j) appendescape(out, s[k + j]);
                k += bytes;
            } else {
                out.append(text + k, length);
                k += length;
            }
        }
    }
}

std::string blanksunder(const std::string& shown) {
    std::string out;
    for (char c : shown) {
        if (c == '\t')
            out += '\t';
        else if (!continuation(static_cast<unsigned char>(c)))
            out += ' ';
    }
    return out;
}

size_t showncolumns(const std::string& shown) {
    size_t columns = 0;
    for (char c : shown)
        if (!continuation(static_cast<unsigned char>(c))) ++columns;
    return columns;
}

}  // namespace gridel::text
