// utf8.h - UTF-8 in texts that may hold any byte: whole characters kept
// where a text is cut, and the characters a drawing can show.
//
// Texts come from files as bytes.  Where they are cut to a capacity, a
// character that the cut would split is left out whole, so that no stray
// lead byte remains.  Where they are drawn as characters (the PDF, SVG and
// PNG), every byte that is not part of a valid UTF-8 sequence and every
// character that a font renderer or an XML reader refuses becomes the
// replacement character U+FFFD: the run goes on, and the mark shows where
// the file's text could not be read.
#pragma once

#include <cstdint>
#include <string>

namespace gridel::text {

// The length of the valid UTF-8 sequence at s[0..n), 0 when none starts
// there (a stray continuation byte, an overlong form, a surrogate, a code
// point past U+10FFFF, a sequence cut short).
inline int utf8sequence(const unsigned char* s, int32_t n) {
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

// How many of the `len` bytes of `text` to keep when at most `cap` fit:
// `cap`, or fewer when a valid UTF-8 character starts before the cut and
// ends after it; that character is left out whole.  Other bytes are cut
// where the capacity ends.
inline int32_t wholecut(const char* text, int32_t len, int32_t cap) {
    if (len <= cap) return len;
    if (cap <= 0) return 0;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    for (int32_t j = cap - 1; j >= 0 && j >= cap - 3; --j) {
        if ((s[j] & 0xC0) == 0x80) continue;  // inside a character: look further back
        int n = utf8sequence(s + j, len - j);
        return n > 0 && j + n > cap ? j : cap;
    }
    return cap;
}

// The replacement character, in UTF-8.
constexpr const char* replacementchar = "\xEF\xBF\xBD";

// Whether a drawing can show the code point c: not a control character of
// the C0 set (which XML does not allow and which would break a line in a
// text layout) or of the C1 set U+0080..U+009F (which has no glyph, so a
// renderer draws a box with its hexadecimal code), not a surrogate, not a
// noncharacter (U+FDD0..U+FDEF and the last two code points of every plane).
inline bool drawablechar(uint32_t c) {
    if (c < 0x20 || (c >= 0x80 && c <= 0x9F) || c > 0x10FFFF) return false;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    if (c >= 0xFDD0 && c <= 0xFDEF) return false;
    return (c & 0xFFFE) != 0xFFFE;
}

// The `len` bytes of `text` as a drawing shows them: UTF-8 in which each
// byte that is not part of a valid sequence, and each character that is
// not drawable, is U+FFFD.
std::string drawabletext(const char* text, int32_t len);

// Whether drawabletext leaves the text as it is.
bool isdrawable(const char* text, int32_t len);

// The code point of the valid sequence of `len` bytes at s (as
// utf8sequence found it).
inline int32_t utf8code(const unsigned char* s, int len) {
    if (len <= 1) return s[0];
    int32_t code = s[0] & (0x7F >> len);
    for (int k = 1; k < len; ++k) code = (code << 6) | (s[k] & 0x3F);
    return code;
}

}  // namespace gridel::text
