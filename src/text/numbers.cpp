// numbers.cpp - words read as numbers: the shape of a number text, its
// digits folded into an 80-bit value (the first 19 gathered exactly in a
// 64-bit integer, or all of them one at a time), and the checked readers
// of reals, integers, rationals and runs of numbers.
#include "text/numbers.h"

#include <cmath>
#include <cstring>

#include "text/bysteps.h"
#include "text/utf8.h"

namespace gridel::text {

namespace {

// message = the word's first 20 characters followed by a fixed tail.
void setmessage(Text& message, const char* text, int32_t len, const char* tail) {
    settext(message, text, static_cast<int>(wholecut(text, len, 20)));
    addtext(message, tail);
}

bool isnumerickind(WordKind k) { return k == kindinteger || k == kindreal || k == kindrational; }

}  // namespace

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

// The value of a number of this shape whose significant digits came to
// `v`: its sign, then times its power of ten.  False when the power is
// beyond an exponent's range.
bool scaledecimal(const NumberShape& n, const SignificantDigits& s, long double v, long double& value) {
    int32_t exponent = 0;  // zero digits read as "0" with no exponent
    if (s.nfirst > 0) {
        exponent = n.exponent - n.nfrac;
        if (exponent < -32768 || exponent > 32767) return false;
    }
    if (n.negative) v = -v;
    value = v * pow10(exponent);
    return true;
}

// The value of the non-blank stretch p..end-1 of a number text: every
// digit, without leading zeros, folded in as v = 10 v + digit in 80-bit
// arithmetic, then the sign, then times the power of ten.  False where the
// text does not read.
bool readdecimalbysteps(const char* p, const char* end, long double& value) {
    NumberShape n;
    if (!numbershape(p, end, n)) return false;
    SignificantDigits s = significant(n);
    long double v = 0;
    for (const char* q = s.first; q < s.first + s.nfirst; ++q) v = 10 * v + (*q - '0');
    for (const char* q = s.second; q < s.second + s.nsecond; ++q) v = 10 * v + (*q - '0');
    return scaledecimal(n, s, v, value);
}

// As readdecimalbysteps, quicker.  As long as v stays below 2^64 every
// step is exact, since the 80-bit format holds every integer below 2^64:
// up to 19 significant digits (below 10^19 < 2^64) are therefore gathered
// in a 64-bit integer, which gives the very same value.  A text of more
// digits, whose later steps may round, is read step by step.
bool readdecimal(const char* p, const char* end, long double& value) {
    NumberShape n;
    if (!numbershape(p, end, n)) return false;
    SignificantDigits s = significant(n);
    if (s.nfirst + s.nsecond > 19) return readdecimalbysteps(p, end, value);
    uint64_t gathered = 0;
    for (const char* q = s.first; q < s.first + s.nfirst; ++q) gathered = gathered * 10 + static_cast<uint64_t>(*q - '0');
    for (const char* q = s.second; q < s.second + s.nsecond; ++q)
        gathered = gathered * 10 + static_cast<uint64_t>(*q - '0');
    long double v = static_cast<long double>(gathered);
    return scaledecimal(n, s, v, value);
}

// The value of a whole text through `read`, one of the two above: false
// when the text is blank, does not read or is not finite.
template <bool (*Read)(const char*, const char*, long double&)>
bool wholevalue(const char* text, int32_t len, long double& value) {
    int32_t f, e;
    if (!nonblankstretch(text, len, f, e)) return false;
    return Read(text + f, text + e, value) && std::isfinite(value);
}

// str2real through `Value`, one of the two whole-text readers.
template <bool (*Value)(const char*, int32_t, long double&)>
bool readreal(const char* text, int32_t len, long double& value, Text& message) {
    message.len = 0;
    long double v;
    if (Value(text, len, v)) {
        value = v;
        return true;
    }
    value = 0;
    int32_t f, e;
    if (nonblankstretch(text, len, f, e)) setmessage(message, text, len, " not a real: replace with");
    return false;
}

// str2int, with its quick path for one to five digits when `Quick`, and
// the value read by readdecimal, or readdecimalbysteps when not.
template <bool Quick>
bool readint(const char* text, int32_t len, int16_t& value, Text& message) {
    message.len = 0;
    value = 0;
    int32_t f, e;
    if (!nonblankstretch(text, len, f, e)) return false;
    // One to five digits, after a minus or not: their value is a whole
    // number, exact in every step below, so the steps reduce to the range
    // check.
    if constexpr (Quick) {
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
    bool reads = Quick ? readdecimal(text + f, text + e, v) : readdecimalbysteps(text + f, text + e, v);
    if (!reads || !std::isfinite(v)) {
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

}  // namespace

bool realvalue(const char* text, int32_t len, long double& value) {
    return wholevalue<readdecimal>(text, len, value);
}

bool realvaluebysteps(const char* text, int32_t len, long double& value) {
    return wholevalue<readdecimalbysteps>(text, len, value);
}

long double rationalvalue(int16_t numerator, int16_t denominator) {
    return static_cast<long double>(static_cast<double>(numerator) / static_cast<double>(denominator));
}

bool str2real(const char* text, int32_t len, long double& value, Text& message) {
    return readreal<realvalue>(text, len, value, message);
}

bool str2realbysteps(const char* text, int32_t len, long double& value, Text& message) {
    return readreal<realvaluebysteps>(text, len, value, message);
}

bool str2int(const char* text, int32_t len, int16_t& value, Text& message) {
    return readint<true>(text, len, value, message);
}

bool str2intbysteps(const char* text, int32_t len, int16_t& value, Text& message) {
    return readint<false>(text, len, value, message);
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

}  // namespace gridel::text
