// utf8.cpp - utf8sequence and utf8code.
#include "text/utf8.h"

int utf8sequence(const unsigned char* s, int32_t n) {
    unsigned char b = s[0];
    if (b < 0x80) return 1;
    int len;
    unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;  // no overlong form
        if (b == 0xED) hi = 0x9F;  // no surrogate
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;  // no overlong form
        if (b == 0xF4) hi = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (n < len) return 0;
    if (s[1] < lo || s[1] > hi) return 0;
    for (int k = 2; k < len; ++k)
        if (s[k] < 0x80 || s[k] > 0xBF) return 0;
    return len;
}

int32_t utf8code(const unsigned char* s, int len) {
    if (len <= 1) return s[0];
    int32_t code = s[0] & (0x7F >> len);
    for (int k = 1; k < len; ++k) code = (code << 6) | (s[k] & 0x3F);
    return code;
}
