// tokens.cpp - words, their kinds, and the number readers.
#include "text/tokens.h"

#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "text/utf8.h"

namespace {

inline bool isdigitbyte(char ch) { return static_cast<unsigned char>(ch - '0') <= 9; }

// message = the word's first 20 characters followed by a fixed tail.
void setmessage(Text& message, const char* text, int32_t len, const char* tail) {
    settext(message, text, static_cast<int>(wholecut(text, len, 20)));
    addtext(message, tail);
}

bool isnumerickind(WordKind k) { return k == kindinteger || k == kindreal || k == kindrational; }

// The non-blank stretch text[first..end-1] of a text (0-based, end
// exclusive); false when every character is blank.  Scans from both ends,
// so a word without blanks around it costs two tests.
inline bool trimmed(const char* text, int32_t len, int32_t& first, int32_t& end) {
    int32_t f = 0;
    while (f < len && isblankbyte(text[f])) ++f;
    if (f == len) return false;
    int32_t e = len;
    while (isblankbyte(text[e - 1])) --e;
    first = f;
    end = e;
    return true;
}

}  // namespace

void clearwords(WordList& words) {
    words.line.clear();
    words.count = 0;
}

namespace {

// The classes of bytes that splitline marks, one mask each.
enum ByteClass {
    cword,        // not blank
    cdigit,       // 0..9
    cnonzero,     // 1..9
    cpointslash,  // . or /
    cslash,       // /
    cexp,         // e or E
    cminus,       // -
    cplus,        // +
    classcount
};

// The class masks of the 64-byte block at `text`, of which the first
// `Pieces` 16-byte pieces are read and the others count as blank: bit i of
// masks[c] stands for byte i.
template <int32_t Pieces>
inline void classify(const char* text, uint64_t* masks) {
    uint64_t blank = 0, digit = 0, nonzero = 0, pointslash = 0, slash = 0, exp = 0, minus = 0, plus = 0;
    for (int32_t k = 0; k < Pieces; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * k));
        auto bits = [k](__m128i c) {
            return static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(c))) << (16 * k);
        };
        auto is = [&x](char c) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(c)); };
        const __m128i d = _mm_sub_epi8(x, _mm_set1_epi8('0'));
        const __m128i nz = _mm_sub_epi8(x, _mm_set1_epi8('1'));
        const __m128i sl = is('/');
        blank |= bits(_mm_or_si128(_mm_or_si128(is(' '), is('\t')), is(static_cast<char>(202))));
        digit |= bits(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d));
        nonzero |= bits(_mm_cmpeq_epi8(_mm_min_epu8(nz, _mm_set1_epi8(8)), nz));
        pointslash |= bits(_mm_or_si128(is('.'), sl));
        slash |= bits(sl);
        exp |= bits(_mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x20)), _mm_set1_epi8('e')));
        minus |= bits(is('-'));
        plus |= bits(is('+'));
    }
    masks[cword] = ~blank & (~uint64_t{0} >> (64 - 16 * Pieces));  // the pieces not read are blank
    masks[cdigit] = digit;
    masks[cnonzero] = nonzero;
    masks[cpointslash] = pointslash;
    masks[cslash] = slash;
    masks[cexp] = exp;
    masks[cminus] = minus;
    masks[cplus] = plus;
}

// Masks shifted by k (1..63) across blocks: bit i of `earlier` is bit i - k
// of the text (the block before fills in), bit i of `later` is bit i + k
// (the block after fills in).
inline uint64_t earlier(uint64_t m, uint64_t before, int k) { return m << k | before >> (64 - k); }
inline uint64_t later(uint64_t m, uint64_t after, int k) { return m >> k | after << (64 - k); }

// The bytes of each word from its first byte in `from` to its end: adding
// `from` to the word mask carries from that byte through the rest of the
// word and stops at the blank after it.  `carry` links the blocks.
inline uint64_t fillfrom(uint64_t word, uint64_t from, uint64_t& carry) {
    uint64_t sum;
    uint64_t c1 = __builtin_add_overflow(word, from, &sum);
    uint64_t c2 = __builtin_add_overflow(sum, carry, &sum);
    carry = c1 | c2;
    return (word & ~sum) | from;
}

// For each byte value: the positions of its bits that are set, in order,
// and their count.
struct BitPositions {
    uint8_t at[256][8];
    uint8_t count[256];
};

constexpr BitPositions bitpositiontable = [] {
    BitPositions t{};
    for (int v = 0; v < 256; ++v) {
        int n = 0;
        for (int i = 0; i < 8; ++i)
            if (v >> i & 1) t.at[v][n++] = static_cast<uint8_t>(i);
        t.count[v] = static_cast<uint8_t>(n);
    }
    return t;
}();

// base + the position of each bit set in m, in order, into out[0..]; their
// count is returned.  The mask is taken a byte at a time, each giving eight
// entries from the table, of which as many as it has bits count: up to
// seven entries past the count are written (and are written over later).
inline int32_t bitpositions(uint64_t m, int32_t base, int32_t* out) {
    int32_t n = 0;
    const __m128i zero = _mm_setzero_si128();
    for (int k = 0; k < 8; ++k) {
        const unsigned byte = static_cast<unsigned>(m >> (8 * k)) & 0xFF;
        const __m128i at = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bitpositiontable.at[byte])), zero);
        const __m128i from = _mm_set1_epi32(base + 8 * k);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n), _mm_add_epi32(_mm_unpacklo_epi16(at, zero), from));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n + 4), _mm_add_epi32(_mm_unpackhi_epi16(at, zero), from));
        n += bitpositiontable.count[byte];
    }
    return n;
}

}  // namespace

// The line is classified 64 bytes at a time into masks of its byte
// classes (the padding makes every block whole).  The mask of its non-blank
// bytes gives where words begin (non-blank after blank) and end (blank
// after non-blank), which alternate; a last word that ends with a block
// ends with the line.
//
// The other masks mark every byte of a word that is not a number in the
// common shapes:
//   ["-"] digits [ "." digits ] [ ("e"|"E") ["+"|"-"] digits ]   or
//   ["-"] digits "/" digits,
// with at most three digits in an exponent, before a "/" and after it, the
// parts of a/b not zero.  Such a word is what whatis calls an integer, a
// real or a rational, and it reads: as a real (an exponent below 1000 and,
// unless `longwords`, at most 2046 digits keep the value finite and its
// power of ten in range), or as a/b through str2int's plain path.  Each
// rule below marks the bytes where the shape is broken; blanks carry no
// marks.
void splitline(WordList& words) {
    const int32_t count = static_cast<int32_t>(words.line.size());
    words.line.append(linepadding, ' ');
    const char* text = words.line.data();
    if (words.edges.size() < static_cast<size_t>(count) + 10) words.edges.resize(static_cast<size_t>(count) + 10);
    const int32_t blocks = (count + 63) / 64;
    if (words.odd.size() < static_cast<size_t>(blocks)) words.odd.resize(static_cast<size_t>(blocks));
    // The class masks of each block, with a blank block before the first
    // and after the last; the padding makes every block whole.
    const size_t stride = classcount;
    if (words.classes.size() < stride * static_cast<size_t>(blocks + 2))
        words.classes.resize(stride * static_cast<size_t>(blocks + 2));
    uint64_t* masks = words.classes.data();
    std::memset(masks, 0, sizeof(uint64_t) * stride);
    for (int32_t b = 0; b < blocks; ++b) {
        // A last block of at most 16 bytes is classified from its first 16.
        if (count - 64 * b > 16)
            classify<4>(text + 64 * b, masks + stride * static_cast<size_t>(b + 1));
        else
            classify<1>(text + 64 * b, masks + stride * static_cast<size_t>(b + 1));
    }
    std::memset(masks + stride * static_cast<size_t>(blocks + 1), 0, sizeof(uint64_t) * stride);

    uint64_t* odd = words.odd.data();
    int32_t* edge = words.edges.data();
    int32_t nedges = 0, fullblocks = 0;
    bool longwords = false;
    uint64_t anyodd = 0;
    uint64_t fillall = 0, fillslashexp = 0;          // carries of the two fills
    uint64_t lastfromspecial = 0, lastfromslashexp = 0;  // the fills of the block before
    for (int32_t b = 0; b < blocks; ++b) {
        const uint64_t* cur = masks + stride * static_cast<size_t>(b + 1);
        const uint64_t* prev = cur - stride;
        const uint64_t* next = cur + stride;
        const uint64_t w = cur[cword], d = cur[cdigit], nz = cur[cnonzero];
        const uint64_t pointslash = cur[cpointslash], slash = cur[cslash], exp = cur[cexp];
        const uint64_t minus = cur[cminus], plus = cur[cplus];
        const uint64_t pw = prev[cword], pd = prev[cdigit], pnz = prev[cnonzero], pexp = prev[cexp];
        const uint64_t nd = next[cdigit], nnz = next[cnonzero], nslash = next[cslash];
        const uint64_t nsign = next[cminus] | next[cplus];

        const uint64_t before = earlier(w, pw, 1);
        const uint64_t first = w & ~before;
        const uint64_t sign = minus | plus;
        const uint64_t special = pointslash | exp;
        const uint64_t d1 = earlier(d, pd, 1), d2 = earlier(d, pd, 2);
        const uint64_t l1 = later(d, nd, 1), l2 = later(d, nd, 2), l3 = later(d, nd, 3);
        const uint64_t e1 = earlier(exp, pexp, 1);
        const uint64_t fromspecial = fillfrom(w, special, fillall);
        const uint64_t fromslashexp = fillfrom(w, slash | exp, fillslashexp);
        // a sign followed by a digit right after the byte
        const uint64_t signeddigit = later(sign & l1, nsign & nd >> 1, 1);
        // four digits from here on
        const uint64_t four = d & l1 & l2 & l3;
        // a non-zero digit among the (up to three) digits just before / just after
        const uint64_t nzbefore = earlier(nz, pnz, 1) | (d1 & earlier(nz, pnz, 2)) | (d1 & d2 & earlier(nz, pnz, 3));
        const uint64_t nzafter = later(nz, nnz, 1) | (l1 & later(nz, nnz, 2)) | (l1 & l2 & later(nz, nnz, 3));
        uint64_t bad = w & ~(d | special | sign);                      // a byte of no number
        bad |= minus & ~(first | e1);                                   // a minus inside, not after the letter
        bad |= plus & ~e1;                                              // a plus not after the letter
        bad |= first & ~(d | (minus & l1));                             // no digit first, after a minus
        bad |= pointslash & ~(d1 & l1);                                 // no digit each side of . or /
        bad |= exp & ~(d1 & (l1 | signeddigit));                        // no digit before the letter or after it
        bad |= pointslash & earlier(fromspecial, lastfromspecial, 1);   // . or / after . / e
        bad |= special & earlier(fromslashexp, lastfromslashexp, 1);    // anything after / or e
        bad |= four & (fromslashexp | later(slash, nslash, 4));         // four digits in an exponent, or round /
        bad |= slash & ~(nzbefore & nzafter);                           // a zero part of a/b
        odd[b] = bad;
        anyodd |= bad;
        lastfromspecial = fromspecial;
        lastfromslashexp = fromslashexp;

        // Where words begin and where they end (the byte after each), in
        // order: they alternate, a beginning first.
        uint64_t edges = first | (~w & before);
        const int32_t base = 64 * b;
        nedges += bitpositions(edges, base, edge + nedges);
        // A word of more than 2046 characters holds 31 blocks without a blank.
        fullblocks = w == ~uint64_t{0} ? fullblocks + 1 : 0;
        longwords |= fullblocks > 30;
    }
    if (nedges % 2 != 0) edge[nedges++] = count;  // a word up to a block's end
    words.count = nedges / 2;
    words.longwords = longwords;
    words.commonline = anyodd == 0;
}

void string2strings(const char* text, int32_t count, WordList& words) {
    words.line.assign(text, static_cast<size_t>(count < 0 ? 0 : count));
    splitline(words);
}

void dropcomment(WordList& words) {
    // A word of the common number shapes holds no "%".
    if (words.commonline || std::memchr(words.line.data(), '%', words.line.size()) == nullptr) return;
    for (int32_t i = 1; i <= words.count; ++i) {
        if (words.line[static_cast<size_t>(words.edges[2 * static_cast<size_t>(i) - 2])] == '%') {
            words.count = i - 1;
            return;
        }
    }
}

Text commenttext(const WordList& words) {
    size_t at = words.count > 0 ? static_cast<size_t>(words.edges[2 * static_cast<size_t>(words.count) - 1]) : 0;
    const std::string& line = words.line;
    while (at < line.size() && isblankbyte(line[at])) ++at;
    Text out;
    out.len = 0;
    if (at >= line.size() || line[at] != '%') return out;
    while (at < line.size() && line[at] == '%') ++at;
    size_t end = line.size();
    while (end > at && isblankbyte(line[end - 1])) --end;
    const char* text = line.data() + at;
    settext(out, text, wholecut(text, static_cast<int32_t>(end - at), capof(out)));
    return trimblanks(out);
}

void trimbounds(const char* text, int len, int& first, int& last) {
    int f, e;
    if (trimmed(text, len, f, e)) {
        first = f + 1;
        last = e;
    } else {
        first = 0;
        last = 0;
    }
}

Text trimblanks(const Text& text) {
    int first, last;
    trimbounds(text.c, text.len, first, last);
    Text out;
    out.len = 0;
    if (last > 0) settext(out, text.c + first - 1, last - first + 1);
    return out;
}

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

// For a word without inner blanks the rules above accept exactly
//   ["-"] digits ( | "/" digits | "." digits [exponent] | exponent )
// with exponent = ("e" | "E") ["+" | "-"] digits: integer, rational, real,
// real; every other word is a name.  That shape is checked in one pass.  At
// the first character outside it the rules would also stop and make a
// name, unless that character is a blank inside the word: such a word goes
// through the rules themselves.
WordKind whatis(const char* word, int32_t len) {
    int32_t f, e;
    if (!trimmed(word, len, f, e)) return kindempty;
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
    if (q < end && isblankbyte(*q)) return whatisbyrules(word, f + 1, e);
    return kindother;
}

namespace {

// The exponent after its letter, p..end-1: an optional "+" right after the
// letter, then digits, with one "-" anywhere among them that makes it
// negative; anything else fails, and so does a value that does not fit 16
// bits.
bool readexponent(const char* p, const char* end, int32_t& value) {
    int32_t v = 0;
    bool negative = false;
    if (p < end && *p == '+') ++p;
    for (; p < end; ++p) {
        char ch = *p;
        if (isdigitbyte(ch)) {
            v = v * 10 + (ch - '0');
            if (v > 32767) return false;
        } else if (ch == '-') {
            if (negative) return false;
            negative = true;
        } else {
            return false;
        }
    }
    value = negative ? -v : v;
    return true;
}

// The shape of a number text: its sign, where its digits lie (before and
// after the point), and its exponent.
struct NumberShape {
    bool negative;       // a leading "-"
    const char* whole;   // digits before the point
    int32_t nwhole;
    const char* frac;    // digits after the point
    int32_t nfrac;
    int32_t exponent;    // the exponent written after the letter, 0 without one
};

// Read the shape of the non-blank stretch p..end-1: ["-"] digits ["."
// digits] [("e" | "E") exponent], where either digit run may be empty (a
// text with no digit reads as zero).  False for anything else.
bool numbershape(const char* p, const char* end, NumberShape& n) {
    n.negative = *p == '-';
    if (n.negative) {
        if (end - p == 1) return false;  // a lone minus
        ++p;
    }
    n.whole = p;
    while (p < end && isdigitbyte(*p)) ++p;
    n.nwhole = static_cast<int32_t>(p - n.whole);
    n.frac = p;
    n.nfrac = 0;
    if (p < end && *p == '.') {
        n.frac = ++p;
        while (p < end && isdigitbyte(*p)) ++p;
        n.nfrac = static_cast<int32_t>(p - n.frac);
    }
    n.exponent = 0;
    if (p < end) {  // only an exponent may follow
        if (*p != 'e' && *p != 'E') return false;
        return readexponent(p + 1, end, n.exponent);
    }
    return true;
}

// The digits of a shape without their leading zeros, in order: the digits
// before the point, then those after it.
struct SignificantDigits {
    const char* first;  // run holding the first significant digit
    int32_t nfirst;     // its digits from that one on
    const char* second; // the digits after the point when `first` lies before it
    int32_t nsecond;
};

SignificantDigits significant(const NumberShape& n) {
    const char* p = n.whole;
    const char* e = n.whole + n.nwhole;
    while (p < e && *p == '0') ++p;
    if (p < e) return {p, static_cast<int32_t>(e - p), n.frac, n.nfrac};
    p = n.frac;
    e = n.frac + n.nfrac;
    while (p < e && *p == '0') ++p;
    return {p, static_cast<int32_t>(e - p), e, 0};
}

}  // namespace

namespace {

// The value of the non-blank stretch p..end-1 of a number text: every
// digit, without leading zeros, folded in as v = 10 v + digit in 80-bit
// arithmetic, then the sign, then times the power of ten.  False where the
// text does not read.
//
// As long as v stays below 2^64 every step is exact, since the 80-bit
// format holds every integer below 2^64.  The first 19 significant digits
// (below 10^19 < 2^64) are therefore gathered in a 64-bit integer, which
// gives the very same value; the steps for later digits, which may round,
// are taken in 80-bit arithmetic one by one.
bool readdecimal(const char* p, const char* end, long double& value) {
    NumberShape n;
    if (!numbershape(p, end, n)) return false;
    SignificantDigits s = significant(n);
    const char* runs[2] = {s.first, s.second};
    const int32_t lengths[2] = {s.nfirst, s.nsecond};
    uint64_t gathered = 0;
    int taken = 0;
    long double v = 0;
    for (int r = 0; r < 2; ++r) {
        for (const char *q = runs[r], *qend = runs[r] + lengths[r]; q < qend; ++q) {
            int digit = *q - '0';
            if (taken < 19) {
                gathered = gathered * 10 + static_cast<uint64_t>(digit);
                if (++taken == 19) v = static_cast<long double>(gathered);
            } else {
                v = 10 * v + digit;
            }
        }
    }
    if (taken < 19) v = static_cast<long double>(gathered);
    int32_t exponent = 0;  // zero digits read as "0" with no exponent
    if (s.nfirst > 0) {
        exponent = n.exponent - n.nfrac;
        if (exponent < -32768 || exponent > 32767) return false;
    }
    if (n.negative) v = -v;
    value = v * pow10(exponent);
    return true;
}

}  // namespace

bool realvalue(const char* text, int32_t len, long double& value) {
    int32_t f, e;
    if (!trimmed(text, len, f, e)) return false;
    return readdecimal(text + f, text + e, value) && std::isfinite(value);
}

long double rationalvalue(int16_t numerator, int16_t denominator) {
    return static_cast<long double>(static_cast<double>(numerator) / static_cast<double>(denominator));
}

bool str2real(const char* text, int32_t len, long double& value, Text& message) {
    message.len = 0;
    long double v;
    if (realvalue(text, len, v)) {
        value = v;
        return true;
    }
    value = 0;
    int32_t f, e;
    if (trimmed(text, len, f, e)) setmessage(message, text, len, " not a real: replace with");
    return false;
}

bool str2int(const char* text, int32_t len, int16_t& value, Text& message) {
    message.len = 0;
    value = 0;
    int32_t f, e;
    if (!trimmed(text, len, f, e)) return false;
    // One to five digits, after a minus or not: their value is a whole
    // number, exact in every step below, so the steps reduce to the range
    // check.
    {
        const char* p = text + f;
        const char* end = text + e;
        bool negative = *p == '-';
        if (negative) ++p;
        int32_t n = 0;
        const char* q = p;
        while (q < end && q - p < 5 && isdigitbyte(*q)) n = n * 10 + (*q++ - '0');
        if (q == end && q > p) {
            if (n >= 32767) {
                setmessage(message, text, len, " too large: replace with");
                return false;
            }
            value = static_cast<int16_t>(negative ? -n : n);
            return true;
        }
    }
    long double v;
    if (!readdecimal(text + f, text + e, v) || !std::isfinite(v)) {
        setmessage(message, text, len, " not an integer: replace with");
        return false;
    }
    double d = static_cast<double>(v);
    if (d == 0) return true;
    int32_t r = roundint(d);
    if (!(std::fabs(d - static_cast<double>(r)) <= 1e-8)) {
        setmessage(message, text, len, " not an integer: replace with");
        return false;
    }
    if (std::fabs(d) >= 32767) {
        setmessage(message, text, len, " too large: replace with");
        return false;
    }
    value = static_cast<int16_t>(r);
    return true;
}

bool str2rational(const char* text, int32_t len, int16_t& numerator, int16_t& denominator,
                  Text& message) {
    message.len = 0;
    numerator = 0;
    denominator = 0;
    const char* slash = static_cast<const char*>(std::memchr(text, '/', static_cast<size_t>(len < 0 ? 0 : len)));
    if (slash == nullptr) {
        settext(message, "lstring, not a rational");
        return false;
    }
    int32_t at = static_cast<int32_t>(slash - text);
    Text partmessage;
    bool ok = true;
    if (!str2int(text, at, numerator, partmessage)) {
        settext(message, partmessage);
        ok = false;
    }
    if (!str2int(text + at + 1, len - at - 1, denominator, partmessage) && ok) {
        settext(message, partmessage);
        ok = false;
    }
    if (!ok) return false;
    if (numerator == 0 || denominator == 0) {
        settext(message, "zero in rational");
        return false;
    }
    return true;
}

namespace {

// The end of a one-pass read of a real: `gathered` holds every digit (at
// most 19, so exactly), `exponent` is the one written less the digits
// after the point.  The value is taken with readdecimal's own steps: the
// integer widened, its sign, times the power of ten.  It is finite unless
// the power of ten passes about 10^4913 (the digits are below 10^19);
// beyond 10^4000 it is computed and tested as realvalue tests it.
inline WordKind quickreal(uint64_t gathered, bool negative, int32_t exponent, long double* value) {
    if (gathered == 0) exponent = 0;  // zero digits read as "0" with no exponent
    if (value != nullptr || exponent > 4000) {
        long double v = static_cast<long double>(gathered);
        if (negative) v = -v;
        v *= pow10(exponent);
        if (exponent > 4000 && !std::isfinite(v)) return kindempty;
        if (value != nullptr) *value = v;
    }
    return kindreal;
}

// The end of a one-pass read of a/b, each of one to five digits: str2int's
// own fast path takes each part (1..32766, the numerator negated by its
// minus), str2rational then wants both non-zero.
inline WordKind quickrational(uint64_t numerator, bool negative, uint64_t denominator, long double* value) {
    if (numerator == 0 || numerator >= 32767 || denominator == 0 || denominator >= 32767) return kindempty;
    if (value != nullptr) {
        int32_t a = static_cast<int32_t>(numerator);
        *value = rationalvalue(static_cast<int16_t>(negative ? -a : a), static_cast<int16_t>(denominator));
    }
    return kindrational;
}

}  // namespace

// One pass over the word: the digits gathered in a 64-bit integer as
// readdecimal gathers them (at most 19 digits, leading zeros included, so
// that all are exact), the exponent written, and the shape, which is the
// one `whatis` accepts for a number without inner blanks.
WordKind quicksingle(const char* word, int32_t len, long double* value) {
    const char* p = word;
    const char* end = word + len;
    if (len <= 0) return kindempty;
    bool negative = *p == '-';
    p += negative;
    const char* digits = p;
    uint64_t gathered = 0;
    while (p < end && isdigitbyte(*p)) gathered = gathered * 10 + static_cast<uint64_t>(*p++ - '0');
    int32_t nwhole = static_cast<int32_t>(p - digits);
    if (nwhole == 0 || nwhole > 19) return kindempty;
    if (p == end) {
        if (value != nullptr) {
            long double v = static_cast<long double>(gathered);
            *value = negative ? -v : v;  // times 10^0, which is 1
        }
        return kindinteger;
    }
    if (*p == '/') {
        const char* q = ++p;
        uint64_t d = 0;
        while (p < end && p - q < 5 && isdigitbyte(*p)) d = d * 10 + static_cast<uint64_t>(*p++ - '0');
        if (p != end || nwhole > 5) return kindempty;
        return quickrational(gathered, negative, d, value);
    }
    int32_t nfrac = 0;
    if (*p == '.') {
        const char* q = ++p;
        while (p < end && isdigitbyte(*p)) gathered = gathered * 10 + static_cast<uint64_t>(*p++ - '0');
        nfrac = static_cast<int32_t>(p - q);
        if (nfrac == 0 || nwhole + nfrac > 19) return kindempty;
    }
    int32_t exponent = 0;
    if (p < end) {
        if (*p != 'e' && *p != 'E') return kindempty;
        ++p;
        bool below = false;
        if (p < end && (*p == '+' || *p == '-')) below = *p++ == '-';
        const char* q = p;
        while (p < end && p - q < 4 && isdigitbyte(*p)) exponent = exponent * 10 + (*p++ - '0');
        if (p != end || p == q) return kindempty;
        if (below) exponent = -exponent;
    }
    return quickreal(gathered, negative, exponent - nfrac, value);
}

namespace {

static_assert(std::endian::native == std::endian::little, "the word masks take the first byte as the lowest");

// The value of the k digits from p (1 <= k <= 8), with 8 bytes readable
// from p: the eight bytes less '0' each, shifted so that the bytes after
// the digits fall out (a byte that is not a digit may borrow only from the
// bytes above it), then folded in pairs, fours and eights.
inline uint64_t eightdigits(const char* p, int32_t k) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    v -= 0x3030303030303030u;
    v <<= 8 * (8 - k);
    v = v * 10 + (v >> 8);
    return (((v & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
            (((v >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >> 32;
}

// The value of the k digits from p (0 <= k <= 16), with 16 bytes readable.
inline uint64_t digitsvalue(const char* p, int32_t k) {
    if (k <= 0) return 0;
    if (k <= 8) return eightdigits(p, k);
    return eightdigits(p, k - 8) * 100000000u + eightdigits(p + k - 8, 8);
}

const uint64_t tenpowers[16] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000,
                                1000000000, 10000000000, 100000000000, 1000000000000, 10000000000000,
                                100000000000000, 1000000000000000};

// quicksingle for a word of 1..16 characters with 32 bytes readable from
// its start (the padding of a split line gives them): one 16-byte load gives the mask of the characters that are
// not digits, and the shape is read off their positions (a leading minus;
// then "/", "." or an exponent letter; after a point the letter; after the
// letter a sign), so that no loop runs over the characters.
inline WordKind quickword(const char* w, int32_t len, long double* value) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
    const __m128i d = _mm_sub_epi8(x, _mm_set1_epi8('0'));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d);
    const int32_t s = w[0] == '-';
    uint32_t other = ~static_cast<uint32_t>(_mm_movemask_epi8(digit)) & ((1u << len) - 1) & ~static_cast<uint32_t>(s);
    if (other == 0) {  // ["-"] digits
        if (len == s) return kindempty;
        if (value != nullptr) {
            long double v = static_cast<long double>(digitsvalue(w + s, len - s));
            *value = s ? -v : v;
        }
        return kindinteger;
    }
    const int32_t p1 = std::countr_zero(other);
    const int32_t whole = p1 - s;
    if (whole == 0) return kindempty;
    uint32_t rest = other & (other - 1);  // the characters after p1 that are not digits
    const char c1 = w[p1];
    if (c1 == '/') {
        const int32_t below = len - p1 - 1;
        if (rest != 0 || whole > 5 || below > 5) return kindempty;
        return quickrational(digitsvalue(w + s, whole), s, digitsvalue(w + p1 + 1, below), value);
    }
    int32_t frac = 0;
    int32_t pe = p1;  // the exponent letter, or len
    if (c1 == '.') {
        if (rest == 0) {
            pe = len;
        } else {
            pe = std::countr_zero(rest);
            rest &= rest - 1;
        }
        frac = pe - p1 - 1;
        if (frac == 0) return kindempty;
    }
    int32_t exponent = 0;
    if (pe < len) {
        if ((w[pe] | 0x20) != 'e') return kindempty;
        int32_t q = pe + 1;
        bool below = false;
        if (rest != 0) {  // only a sign right after the letter
            if (rest != 1u << q || (w[q] != '-' && w[q] != '+')) return kindempty;
            below = w[q] == '-';
            ++q;
        }
        const int32_t ne = len - q;
        if (ne == 0 || ne > 4) return kindempty;
        // Below four digits the exponent cannot pass 4000: a value not
        // asked for needs no exponent.
        if (value != nullptr || ne == 4) {
            exponent = static_cast<int32_t>(eightdigits(w + q, ne));
            if (below) exponent = -exponent;
        }
    }
    if (value == nullptr && exponent <= 4000) return kindreal;  // the digits cannot make it overflow
    uint64_t gathered = digitsvalue(w + s, whole) * tenpowers[frac] + digitsvalue(w + p1 + 1, frac);
    return quickreal(gathered, s, exponent - frac, value);
}

}  // namespace

namespace {

// True when no word in the bytes from..to-1 of the split line is marked
// odd: each is a number in the common shapes, which getsingle reads.
bool commonnumbers(const WordList& words, int32_t from, int32_t to) {
    const uint64_t* odd = words.odd.data();
    int32_t b = from / 64, last = (to - 1) / 64;
    uint64_t marks = odd[b] & (~uint64_t{0} << (from % 64));
    while (b < last) {
        if (marks != 0) return false;
        marks = odd[++b];
    }
    return (marks & (~uint64_t{0} >> (63 - (to - 1) % 64))) == 0;
}

// The kind of a word of the common number shapes: a/b is rational, a word
// with a point or an exponent real, digits alone an integer.  A word of a
// split line is followed by the padding at least, so 16 bytes are read.
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

}  // namespace

WordKind wordkind(const WordList& words, int32_t i) {
    if (i < 1 || i > words.count) return kindempty;
    const int32_t* e = &words.edges[2 * static_cast<size_t>(i) - 2];
    const char* word = words.line.data() + e[0];
    return commonnumbers(words, e[0], e[1]) ? commonkind(word, e[1] - e[0]) : whatis(word, e[1] - e[0]);
}

bool quickrow(const WordList& words, int32_t first, int32_t n, uint64_t used, long double* values,
              WordKind& lastkind) {
    if (n < 1 || n > 63) return false;
    const char* line = words.line.data();
    const int32_t* edge = &words.edges[2 * static_cast<size_t>(first) - 2];  // word j: edge[2j - 2..2j - 1]
    if (!words.longwords && commonnumbers(words, edge[0], edge[2 * n - 1])) {
        // Every word reads: only the columns used are converted.
        bool converted = true;
        for (uint64_t u = used & (~uint64_t{0} >> (63 - n)) & ~uint64_t{1}; u != 0 && converted; u &= u - 1) {
            int32_t j = std::countr_zero(u);
            const char* w = line + edge[2 * j - 2];
            int32_t len = edge[2 * j - 1] - edge[2 * j - 2];
            converted = (len > 16 ? quicksingle(w, len, &values[j]) : quickword(w, len, &values[j])) != kindempty;
        }
        if (converted) {
            lastkind = commonkind(line + edge[2 * n - 2], edge[2 * n - 1] - edge[2 * n - 2]);
            return true;
        }
    }
    // Word by word.
    WordKind kind = kindempty;
    for (int32_t j = 1; j <= n; ++j) {
        const char* w = line + edge[2 * j - 2];
        int32_t len = edge[2 * j - 1] - edge[2 * j - 2];
        long double* value = (used >> j & 1) != 0 ? &values[j] : nullptr;
        kind = len > 16 ? quicksingle(w, len, value) : quickword(w, len, value);
        if (kind == kindempty) return false;
    }
    lastkind = kind;
    return true;
}

namespace {

const int kindlimit = 40;  // kinds are looked at for word positions up to 40 only

// How many of the words start+1, start+2, ... pass `numeric`, up to `limit`
// and to the last word.
template <typename Test>
int countnumeric(const WordList& words, int32_t start, int32_t limit, Test numeric) {
    int k = 0;
    for (int32_t i = start + 1; i <= limit && i <= words.count; ++i) {
        if (!numeric(whatis(wholeword(words, i)))) break;
        ++k;
    }
    return k;
}

}  // namespace

namespace {

// The common steps of getreals and getints: given whether the words after
// `start` can hold the numbers at all, count the words of a numeric kind
// (up to start + n, or to word 40 in the open mode, where n becomes their
// count), then read each with `read`.
template <typename Value, typename IsNumeric, typename Read>
bool getnumbers(const WordList& words, int32_t start, int16_t& n, Value* values, bool fits, IsNumeric numeric,
                Read read) {
    if (!fits) return false;
    int absn = n < 0 ? -n : n;
    int32_t limit = n > 0 ? start + n : kindlimit;
    int found = countnumeric(words, start, limit, numeric);
    if (n > 0) {
        if (found < n) return false;
    } else {
        if (found < absn) return false;
        n = static_cast<int16_t>(found);
    }
    for (int j = 1; j <= n; ++j)
        if (!read(wholeword(words, start + j), values[j])) return false;
    return true;
}

}  // namespace

bool getreals(const WordList& words, int32_t start, int16_t& n, long double* values) {
    int absn = n < 0 ? -n : n;
    return getnumbers(words, start, n, values, absn + start - 1 < words.count, isnumerickind,
                      [](TextView w, long double& value) {
                          Text message;
                          if (whatis(w) != kindrational) return str2real(w, value, message);
                          int16_t a, b;
                          if (!str2rational(w.c, w.len, a, b, message)) return false;
                          value = rationalvalue(a, b);
                          return true;
                      });
}

bool getints(const WordList& words, int32_t start, int16_t& n, int16_t* values) {
    int absn = n < 0 ? -n : n;
    bool fits = n == 0 ? start < words.count : absn + start - 1 < words.count;
    return getnumbers(words, start, n, values, fits, [](WordKind k) { return k == kindinteger; },
                      [](TextView w, int16_t& value) {
                          Text message;
                          return str2int(w, value, message);
                      });
}
