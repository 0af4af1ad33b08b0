// tokens.cpp - words, their kinds, and the number readers.
#include "text/tokens.h"

#include <emmintrin.h>

#include <bit>
#include <cmath>
#include <cstring>


namespace {

inline bool isdigitbyte(char ch) { return static_cast<unsigned char>(ch - '0') <= 9; }

int32_t cut20(int32_t len) { return len > 20 ? 20 : len; }

// message = the text followed by a fixed tail.
void setmessage(Text& message, const char* text, int32_t len, const char* tail) {
    settext(message, text, cut20(len));
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

// Bit i set where text[i] is not blank, for the 64 bytes from `text`.
inline uint64_t nonblankbits(const char* text) {
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i b202 = _mm_set1_epi8(static_cast<char>(202));
    uint64_t blank = 0;
    for (int k = 0; k < 4; ++k) {
        __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * k));
        __m128i b = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, space), _mm_cmpeq_epi8(x, tab)),
                                 _mm_cmpeq_epi8(x, b202));
        blank |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(b))) << (16 * k);
    }
    return ~blank;
}

}  // namespace

// The line is taken 64 bytes at a time: a mask of its non-blank bytes
// gives the words' first bytes (non-blank after blank) and the bytes after
// their ends (blank after non-blank), which are taken in order.  The blanks
// added after the line fill its last block; a last word that ends with a
// block ends with the line.
void splitline(WordList& words) {
    const int32_t count = static_cast<int32_t>(words.line.size());
    words.line.append(linepadding, ' ');
    const char* text = words.line.data();
    const size_t most = static_cast<size_t>(count) / 2 + 2;  // entry 0 and (count + 1) / 2 words
    if (words.spans.size() < most) words.spans.resize(most);
    WordSpan* spans = words.spans.data();
    int32_t starts = 0, ends = 0;
    uint64_t carry = 0;  // 1 when the byte before the block is not blank
    for (int32_t base = 0; base < count; base += 64) {
        uint64_t word = nonblankbits(text + base);
        uint64_t before = (word << 1) | carry;
        uint64_t first = word & ~before;
        uint64_t after = ~word & before;
        carry = word >> 63;
        for (; first != 0; first &= first - 1) spans[++starts].start = base + std::countr_zero(first);
        for (; after != 0; after &= after - 1) {
            ++ends;
            spans[ends].len = base + std::countr_zero(after) - spans[ends].start;
        }
    }
    if (ends < starts) spans[starts].len = count - spans[starts].start;  // a word up to a block's end
    words.count = starts;
}

void string2strings(const char* text, int32_t count, WordList& words) {
    words.line.assign(text, static_cast<size_t>(count < 0 ? 0 : count));
    splitline(words);
}

void dropcomment(WordList& words) {
    if (std::memchr(words.line.data(), '%', words.line.size()) == nullptr) return;
    for (int32_t i = 1; i <= words.count; ++i) {
        if (words.line[static_cast<size_t>(words.spans[static_cast<size_t>(i)].start)] == '%') {
            words.count = i - 1;
            return;
        }
    }
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
        if (!std::isfinite(v)) return kindempty;
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

bool quickrow(const WordList& words, int32_t first, int32_t n, uint64_t used, long double* values,
              WordKind& lastkind) {
    const char* line = words.line.data();
    const WordSpan* span = &words.spans[static_cast<size_t>(first)];
    WordKind kind = kindempty;
    for (int32_t j = 1; j <= n; ++j, ++span) {
        const char* w = line + span->start;
        long double* value = (used >> j & 1) != 0 ? &values[j] : nullptr;
        kind = span->len > 16 ? quicksingle(w, span->len, value) : quickword(w, span->len, value);
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
