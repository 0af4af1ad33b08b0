// tokens.cpp - words, their kinds, and the number readers.
#include "text/tokens.h"

#include <bit>
#include <cmath>

#include "run/failure.h"

namespace {

inline bool isdigitbyte(char ch) { return static_cast<unsigned char>(ch - '0') <= 9; }

int cut20(int len) { return len > 20 ? 20 : len; }

// message = the text followed by a fixed tail.
void setmessage(Text& message, const char* text, int len, const char* tail) {
    settext(message, text, len);
    addtext(message, tail);
}

bool isnumerickind(WordKind k) { return k == kindinteger || k == kindreal || k == kindrational; }

// The non-blank stretch text[first..end-1] of a text (0-based, end
// exclusive); false when every character is blank.  Scans from both ends,
// so a word without blanks around it costs two tests.
inline bool trimmed(const char* text, int len, int& first, int& end) {
    int f = 0;
    while (f < len && isblankbyte(text[f])) ++f;
    if (f == len) return false;
    int e = len;
    while (isblankbyte(text[e - 1])) --e;
    first = f;
    end = e;
    return true;
}

// One bit for each blank byte among the 8 bytes of a chunk (bit k for
// byte k).  A byte equal to a blank gives a zero byte in chunk ^ pattern;
// the zero bytes are found exactly (no carry crosses a byte), and their
// high bits are gathered into the low 8 bits by one multiplication.
inline uint32_t blankbits(uint64_t chunk) {
    const uint64_t ones = 0x0101010101010101ull, low7 = 0x7F7F7F7F7F7F7F7Full;
    auto zerobytes = [&](uint64_t x) { return ~(((x & low7) + low7) | x | low7); };
    uint64_t hit = zerobytes(chunk ^ (ones * ' ')) | zerobytes(chunk ^ (ones * '\t')) |
                   zerobytes(chunk ^ (ones * 0xCA));
    return static_cast<uint32_t>((((hit >> 7) & ones) * 0x0102040810204080ull) >> 56);
}

// Bit i of mask[i / 64] is set when text[i] (i < count <= 256) is not a
// blank; bits at and after count are clear.
inline void wordbits(const char* text, int count, uint64_t (&mask)[4]) {
    mask[0] = mask[1] = mask[2] = mask[3] = 0;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, text + i, 8);
        mask[i >> 6] |= static_cast<uint64_t>(~blankbits(chunk) & 0xFFu) << (i & 63);
    }
    for (; i < count; ++i)
        if (!isblankbyte(text[i])) mask[i >> 6] |= 1ull << (i & 63);
}

}  // namespace

void clearwords(WordList& words) {
    for (int i = 0; i <= maxwords; ++i) words.w[i].len = 0;
    words.count = 0;
}

namespace {

// Store word n (text[start..end-1], cut to 20 characters); a 221st word
// ends the run.
inline void storeword(const char* text, int start, int end, int count, int n, WordList& words) {
    int len = cut20(end - start);
    if (n > maxwords) {
        Text what;
        settext(what, "too many \"");
        addtext(what, text + start, len);
        addtext(what, "\"");
        words.count = maxwords;
        bombed("string2strings", what);
    }
    Word& w = words.w[n];
    if (start + 20 <= count) {
        std::memcpy(w.c, text + start, 20);  // a fixed-size copy; bytes past len mean nothing
    } else {
        std::memcpy(w.c, text + start, static_cast<size_t>(len));
    }
    w.len = static_cast<int16_t>(len);
}

}  // namespace

// A line (at most 255 characters) is split by a bit mask of its non-blank
// bytes, built eight bytes at a time, so that a word costs two bit scans
// instead of a test and a branch for every byte.  Longer texts are
// scanned byte by byte.
void string2strings(const char* text, int count, WordList& words) {
    int oldcount = words.count;
    int n = 0;
    if (count <= 256) {
        uint64_t mask[4];
        wordbits(text, count, mask);
        // A word begins at a non-blank byte after a blank or at the start,
        // and ends after a non-blank byte before a blank or at the end.
        int16_t starts[128], ends[128];  // 256 bytes hold at most 128 words
        int nstarts = 0, nends = 0;
        uint64_t carry = 0;  // the last bit of the previous mask word
        for (int k = 0; k < 4; ++k) {
            uint64_t m = mask[k];
            uint64_t next = k < 3 ? mask[k + 1] & 1 : 0;
            uint64_t begins = m & ~((m << 1) | carry);
            uint64_t finishes = m & ~((m >> 1) | (next << 63));
            carry = m >> 63;
            for (; begins != 0; begins &= begins - 1)
                starts[nstarts++] = static_cast<int16_t>(64 * k + std::countr_zero(begins));
            for (; finishes != 0; finishes &= finishes - 1)
                ends[nends++] = static_cast<int16_t>(64 * k + std::countr_zero(finishes) + 1);
        }
        for (int i = 0; i < nstarts; ++i) storeword(text, starts[i], ends[i], count, ++n, words);
    } else {
        int i = 0;
        for (;;) {
            while (i < count && isblankbyte(text[i])) ++i;
            if (i >= count) break;
            int start = i;
            while (i < count && !isblankbyte(text[i])) ++i;
            storeword(text, start, i, count, ++n, words);
        }
    }
    // Entries after the count are kept empty; only those used before need clearing.
    for (int k = n + 1; k <= oldcount; ++k) words.w[k].len = 0;
    words.count = static_cast<int16_t>(n);
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
WordKind whatis(const char* word, int len) {
    len = cut20(len);
    int f, e;
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

// The exponent after its letter, p..end-1: digits, and one "-" anywhere
// among them that makes it negative; "+" and anything else fail, and so
// does a value that does not fit 16 bits.
bool readexponent(const char* p, const char* end, int32_t& value) {
    int32_t v = 0;
    bool negative = false;
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

}  // namespace

bool str2decimal(const char* text, int len, DecimalNumber& d) {
    len = cut20(len);
    int first, last;
    trimbounds(text, len, first, last);
    if (last == 0) return false;
    int i = first - 1;
    bool negative = text[i] == '-';
    if (negative) {
        if (first == last) return false;
        ++i;
    }
    char digits[20];
    int ndigits = 0, decimals = 0;
    bool seendot = false;
    int32_t expvalue = 0;
    for (; i < last; ++i) {
        char ch = text[i];
        if (isdigitbyte(ch)) {
            digits[ndigits++] = ch;
            if (seendot) ++decimals;
        } else if (ch == '.') {
            if (seendot) return false;
            seendot = true;
        } else if (ch == 'e' || ch == 'E') {
            if (!readexponent(text + i + 1, text + last, expvalue)) return false;
            break;
        } else {
            return false;
        }
    }
    int k = 0;
    while (ndigits - k > 1 && digits[k] == '0') ++k;  // strip leading zeros
    d.negative = negative;
    if (ndigits - k == 0) {  // no digit at all reads as zero
        settext(d.digits, "0");
    } else {
        settext(d.digits, digits + k, ndigits - k);
    }
    if (istext(d.digits, "0")) {
        d.exponent = 0;
    } else {
        int32_t e = expvalue - decimals;
        if (e < -32768 || e > 32767) return false;
        d.exponent = static_cast<int16_t>(e);
    }
    return true;
}

long double decimal2real(const DecimalNumber& d) {
    long double v = 0;
    for (int i = 0; i < d.digits.len; ++i) v = 10 * v + (d.digits.c[i] - '0');
    if (d.negative) v = -v;
    return v * pow10(d.exponent);
}

namespace {

// Powers of ten for the exponents numbers in files carry, taken once from
// pow10 itself (so each is the very value pow10 gives) and looked up here
// without a call.
const int nearpowers = 40;
long double nearpowercache[2 * nearpowers + 1];  // [nearpowers + n] = pow10(n)
bool nearpowersready = false;

const bool nearpowersfilled = [] {
    for (int n = -nearpowers; n <= nearpowers; ++n) nearpowercache[nearpowers + n] = pow10(n);
    nearpowersready = true;
    return true;
}();

inline long double powerof10(int n) {
    if (n >= -nearpowers && n <= nearpowers && nearpowersready) return nearpowercache[nearpowers + n];
    return pow10(n);
}

// The value that str2decimal followed by decimal2real gives for a text
// (false where str2decimal fails), in one pass over its non-blank stretch
// p..end-1.
//
// decimal2real computes v = 10 v + digit in 80-bit arithmetic over the
// digits without leading zeros.  Leading zeros leave v at zero, and as long
// as v stays below 2^64 every step is exact, since the 80-bit format holds
// every integer below 2^64.  The first 19 digits (below 10^19 < 2^64) are
// therefore gathered in a 64-bit integer, which gives the very same value;
// a 20th digit, whose step may round, is added by the 80-bit step itself.
bool readdecimal(const char* p, const char* end, long double& value) {
    bool negative = *p == '-';
    if (negative) {
        if (end - p == 1) return false;
        ++p;
    }
    // The digits before the point, then those after it.
    const char* digits = p;
    uint64_t whole = 0;
    while (p < end && isdigitbyte(*p)) whole = whole * 10 + static_cast<uint64_t>(*p++ - '0');
    int ndigits = static_cast<int>(p - digits);
    int decimals = 0;
    if (p < end && *p == '.') {
        const char* after = ++p;
        while (p < end && isdigitbyte(*p)) whole = whole * 10 + static_cast<uint64_t>(*p++ - '0');
        decimals = static_cast<int>(p - after);
        ndigits += decimals;
    }
    long double v;
    if (ndigits <= 19) {
        v = static_cast<long double>(whole);
    } else {  // twenty digits, and nothing else in the word
        uint64_t first19 = 0;
        for (int k = 0; k < 19; ++k) first19 = first19 * 10 + static_cast<uint64_t>(digits[k] - '0');
        v = static_cast<long double>(first19);
        v = 10 * v + (digits[19] - '0');
    }
    int32_t expvalue = 0;
    if (p < end) {  // only an exponent may follow
        if (*p != 'e' && *p != 'E') return false;
        if (!readexponent(p + 1, end, expvalue)) return false;
    }
    int32_t exponent = 0;  // zero digits read as "0" with no exponent
    if (v != 0) {
        exponent = expvalue - decimals;
        if (exponent < -32768 || exponent > 32767) return false;
    }
    if (negative) v = -v;
    value = v * powerof10(exponent);
    return true;
}

}  // namespace

namespace {

// str2real without its message: the value of the first 20 characters of a
// text, false when they are blank or do not read.
inline bool realvalue(const char* text, int len, long double& value) {
    len = cut20(len);
    int f, e;
    if (!trimmed(text, len, f, e)) return false;
    // a value beyond the 80-bit range does not read
    return readdecimal(text + f, text + e, value) && !std::isinf(value);
}

}  // namespace

bool str2real(const char* text, int len, long double& value, Text& message) {
    message.len = 0;
    long double v;
    if (realvalue(text, len, v)) {
        value = v;
        return true;
    }
    value = 0;
    len = cut20(len);
    int f, e;
    if (trimmed(text, len, f, e)) setmessage(message, text, len, " not a real: replace with");
    return false;
}

bool str2int(const char* text, int len, int16_t& value, Text& message) {
    len = cut20(len);
    message.len = 0;
    value = 0;
    int f, e;
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
    if (!readdecimal(text + f, text + e, v)) {
        setmessage(message, text, len, " not an integer: replace with");
        return false;
    }
    double d = static_cast<double>(v);
    if (d == 0) return true;
    int32_t r = roundint(d);
    if (std::fabs(d - static_cast<double>(r)) > 1e-8) {
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

bool str2rational(const char* text, int len, int16_t& numerator, int16_t& denominator,
                  Text& message) {
    len = cut20(len);
    message.len = 0;
    numerator = 0;
    denominator = 0;
    int slash = -1;
    for (int i = 0; i < len; ++i) {
        if (text[i] == '/') {
            slash = i;
            break;
        }
    }
    if (slash < 0) {
        settext(message, "lstring, not a rational");
        return false;
    }
    Text partmessage;
    bool ok = true;
    if (!str2int(text, slash, numerator, partmessage)) {
        settext(message, partmessage);
        ok = false;
    }
    if (!str2int(text + slash + 1, len - slash - 1, denominator, partmessage) && ok) {
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

[[noreturn]] void badword(const char* where, const char* prefix, const Word& word,
                          const Text& context) {
    Text what;
    settext(what, prefix);
    addtext(what, word);
    addtext(what, " - ");
    addtext(what, context);
    bombed(where, what);
}

// a/b in double precision, widened to 80 bits.
long double rationalvalue(int16_t numerator, int16_t denominator) {
    return static_cast<long double>(static_cast<double>(numerator) / static_cast<double>(denominator));
}

}  // namespace

int16_t getinteger(WordKind kind, const Word& word, const Text& context) {
    if (kind != kindinteger) badword("getinteger", "expecting an integer (1); got: ", word, context);
    int16_t v;
    Text message;
    if (!str2int(word, v, message)) badword("getinteger", "expecting an integer (2); got: ", word, context);
    return v;
}

long double getsingle(WordKind kind, const Word& word, const Text& context) {
    if (kind == kindinteger || kind == kindreal) {
        long double v;  // str2real's value, without its message, which is not shown
        if (!realvalue(word.c, word.len, v)) badword("reading", "expecting a single (2); got: ", word, context);
        return v;
    }
    Text message;
    if (kind == kindrational) {
        int16_t a, b;
        if (!str2rational(word.c, word.len, a, b, message))
            badword("reading", "expecting a single (3); got: ", word, context);
        return rationalvalue(a, b);
    }
    badword("reading", "expecting a single (1); got: ", word, context);
}

namespace {

const int kindlimit = 40;  // kinds are looked at for word positions up to 40 only

// How many of the words start+1, start+2, ... pass `numeric`, up to `limit`
// and to the last word.
template <typename Test>
int countnumeric(const WordList& words, int start, int limit, Test numeric) {
    int k = 0;
    for (int i = start + 1; i <= limit && i <= words.count; ++i) {
        if (!numeric(whatis(words.w[i]))) break;
        ++k;
    }
    return k;
}

}  // namespace

bool getreals(const WordList& words, int16_t start, int16_t& n, long double* values) {
    int absn = n < 0 ? -n : n;
    if (!(absn + start - 1 < words.count)) return false;
    int limit = n > 0 ? start + n : kindlimit;
    int found = countnumeric(words, start, limit, isnumerickind);
    if (n > 0) {
        if (found < n) return false;
    } else {
        if (found < absn) return false;
        n = static_cast<int16_t>(found);
    }
    Text message;
    for (int j = 1; j <= n; ++j) {
        const Word& w = words.w[start + j];
        if (whatis(w) == kindrational) {
            int16_t a, b;
            if (!str2rational(w.c, w.len, a, b, message)) return false;
            values[j] = rationalvalue(a, b);
        } else {
            if (!str2real(w, values[j], message)) return false;
        }
    }
    return true;
}

bool getints(const WordList& words, int16_t start, int16_t& n, int16_t* values) {
    bool fits;
    if (n > 0)
        fits = n + start - 1 < words.count;
    else if (n < 0)
        fits = -n + start - 1 < words.count;
    else
        fits = start < words.count;
    if (!fits) return false;
    int absn = n < 0 ? -n : n;
    int limit = n > 0 ? start + n : kindlimit;
    int found = countnumeric(words, start, limit, [](WordKind k) { return k == kindinteger; });
    if (n > 0) {
        if (found < n) return false;
    } else {
        if (found < absn) return false;
        n = static_cast<int16_t>(found);
    }
    Text message;
    for (int j = 1; j <= n; ++j)
        if (!str2int(words.w[start + j], values[j], message)) return false;
    return true;
}
