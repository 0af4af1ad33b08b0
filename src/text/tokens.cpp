// tokens.cpp - words, their kinds, and the number readers.
#include "text/tokens.h"

#include <bit>
#include <cmath>


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

void splitline(WordList& words) {
    const char* text = words.line.data();
    const int32_t count = static_cast<int32_t>(words.line.size());
    if (words.spans.empty()) words.spans.resize(1);
    size_t n = 0;
    int32_t i = 0;
    for (;;) {
        while (i < count && isblankbyte(text[i])) ++i;
        if (i >= count) break;
        int32_t start = i;
        while (i < count && !isblankbyte(text[i])) ++i;
        ++n;
        if (n >= words.spans.size()) words.spans.resize(2 * n);
        words.spans[n] = {start, i - start};
    }
    words.count = static_cast<int32_t>(n);
}

void string2strings(const char* text, int32_t count, WordList& words) {
    words.line.assign(text, static_cast<size_t>(count < 0 ? 0 : count));
    splitline(words);
}

void dropcomment(WordList& words) {
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

// One pass over the word: the digits gathered in a 64-bit integer as
// readdecimal gathers them (at most 19 digits, leading zeros included, so
// that all are exact), the exponent written, and the shape, which is the
// one `whatis` accepts for a number without inner blanks.  The value is then
// taken with readdecimal's own steps: the integer widened, its sign, times
// the power of ten.  A value is finite unless the power of ten passes about
// 10^4913; beyond 10^4000 it is computed and tested as realvalue tests it.
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
        // a/b through str2int's own fast path: one to five digits each, in
        // 1..32766, the numerator negated by its minus.
        if (nwhole > 5 || gathered == 0 || gathered >= 32767) return kindempty;
        const char* q = ++p;
        int32_t d = 0;
        while (p < end && p - q < 5 && isdigitbyte(*p)) d = d * 10 + (*p++ - '0');
        if (p != end || p == q || d == 0 || d >= 32767) return kindempty;
        if (value != nullptr) {
            int32_t a = negative ? -static_cast<int32_t>(gathered) : static_cast<int32_t>(gathered);
            *value = rationalvalue(static_cast<int16_t>(a), static_cast<int16_t>(d));
        }
        return kindrational;
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
    exponent -= nfrac;
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
