// wordkinds.cpp - the kind of a word: in one pass over its shape, by the
// character-by-character rules where a blank lies inside it, and from the
// split line's masks for a word that is a number in the common shapes.
#include "text/wordkinds.h"

#include <emmintrin.h>

#include "text/bysteps.h"

namespace gridel::text {

namespace {

// The kind of a word by the character-by-character rules: after an
// optional leading minus, digits anywhere; one "." or "/" after at least
// one character; an exponent letter after at least one character and not
// right after the point; a sign only right after the exponent letter; a
// blank ends the scan and anything else makes a name.
WordKind whatisbyrules(const char* word, int first, int last) {
    bool dot = false, exp = false, slash = false, sign = false, bad = false;
    int afterdot = 0, afterexp = 0, afterslash = 0;
    int c = 0;
    int pos = first;
    if (word[first - 1] == '-') ++pos;  // a leading minus is skipped
    for (; pos <= last; ++pos) {
        char ch = word[pos - 1];
        ++c;
        if (dot) ++afterdot;
        if (exp) ++afterexp;
        if (slash) ++afterslash;
        if (isdigitbyte(ch)) {
            continue;
        } else if (ch == '.' && c > 1 && !dot && !exp && !slash) {
            dot = true;
        } else if ((ch == 'e' || ch == 'E') && c > 1 && afterdot != 1 && !exp && !slash) {
            exp = true;
        } else if ((ch == '-' || ch == '+') && afterexp == 1) {
            sign = true;
        } else if (ch == '/' && c > 1 && !dot && !exp && !slash) {
            slash = true;
        } else if (isblankbyte(ch)) {
            break;
        } else {
            bad = true;
            break;
        }
    }
    if (bad) return kindother;
    if (dot && afterdot == 0) return kindother;
    if (exp && afterexp - (sign ? 1 : 0) == 0) return kindother;
    if (slash && afterslash == 0) return kindother;
    if (slash) return kindrational;
    if (exp || dot) return kindreal;
    return kindinteger;
}

// Digits from p on; returns the first position that is not a digit.
inline const char* skipdigits(const char* p, const char* end) {
    while (p < end && isdigitbyte(*p)) ++p;
    return p;
}

}  // namespace

// The rules above after the word's blanks are trimmed; a word of one
// character is an integer when it is a digit and a name otherwise.
WordKind whatisbysteps(const char* word, int32_t len) {
    int32_t f, e;
    if (!nonblankstretch(word, len, f, e)) return kindempty;
    if (e - f == 1) return isdigitbyte(word[f]) ? kindinteger : kindother;
    return whatisbyrules(word, f + 1, e);
}

// For a word without inner blanks the rules above accept exactly
//   ["-"] digits ( | "/" digits | "." digits [exponent] | exponent )
// with exponent = ("e" | "E") ["+" | "-"] digits: integer, rational, real,
// real; every other word is a name.  That shape is checked in one pass.  At
// the first character outside it the rules would also stop and make a
// name, unless that character is a blank inside the word: such a word goes
// through the rules themselves.
WordKind whatis(const char* word, int32_t len) {
    int32_t f, e;
    if (!nonblankstretch(word, len, f, e)) return kindempty;
    const char* p = word + f;
    const char* end = word + e;
    if (end - p == 1) return isdigitbyte(*p) ? kindinteger : kindother;
    if (*p == '-') ++p;
    const char* q = skipdigits(p, end);
    if (q == p) goto outside;
    if (q == end) return kindinteger;
    if (*q == '/') {
        const char* r = skipdigits(q + 1, end);
        if (r == end && r > q + 1) return kindrational;
        q = r;
        goto outside;
    }
    if (*q == '.') {
        const char* r = skipdigits(q + 1, end);
        if (r == q + 1) {
            q = r;
            goto outside;
        }
        if (r == end) return kindreal;
        q = r;
    }
    if (*q == 'e' || *q == 'E') {
        const char* r = q + 1;
        if (r < end && (*r == '+' || *r == '-')) ++r;
        const char* t = skipdigits(r, end);
        if (t == end && t > r) return kindreal;
        q = t;
    }
outside:
    if (q < end && isblankbyte(*q)) return whatisbysteps(word, len);
    return kindother;
}

// A word of a split line is followed by the padding at least, so 16 bytes
// are read.
WordKind commonkind(const char* word, int32_t len) {
    if (len > 16) {
        WordKind kind = kindinteger;
        for (const char* p = word; p < word + len; ++p) {
            if (*p == '/') return kindrational;
            if (*p == '.' || (*p | 0x20) == 'e') kind = kindreal;
        }
        return kind;
    }
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(word));
    const int inword = (1 << len) - 1;
    const int slash = _mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8('/'))) & inword;
    const int real = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('.')),
                                                    _mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x20)),
                                                                   _mm_set1_epi8('e')))) & inword;
    return slash != 0 ? kindrational : real != 0 ? kindreal : kindinteger;
}

WordKind wordkind(const WordList& words, int32_t i) {
    if (i < 1 || i > words.count) return kindempty;
    const int32_t* e = &words.edges[2 * static_cast<size_t>(i) - 2];
    const char* word = words.line.data() + e[0];
    return commonnumbers(words, e[0], e[1]) ? commonkind(word, e[1] - e[0]) : whatis(word, e[1] - e[0]);
}

}  // namespace gridel::text
