// tokens.cpp - words, their kinds, and the number readers.
#include "text/tokens.h"

#include <cmath>

#include "run/failure.h"

namespace {

inline bool isdigitbyte(char ch) { return ch >= '0' && ch <= '9'; }

int cut20(int len) { return len > 20 ? 20 : len; }

// message = the text followed by a fixed tail.
void setmessage(Text& message, const char* text, int len, const char* tail) {
    settext(message, text, len);
    addtext(message, tail);
}

bool isnumerickind(WordKind k) { return k == kindinteger || k == kindreal || k == kindrational; }

}  // namespace

void clearwords(WordList& words) {
    for (int i = 0; i <= maxwords; ++i) words.w[i].len = 0;
    words.count = 0;
}

void string2strings(const char* text, int count, WordList& words) {
    int oldcount = words.count;
    int n = 0;
    int i = 0;
    while (i < count) {
        while (i < count && isblankbyte(text[i])) ++i;
        if (i >= count) break;
        int start = i;
        while (i < count && !isblankbyte(text[i])) ++i;
        ++n;
        int len = cut20(i - start);
        if (n > maxwords) {
            Text what;
            settext(what, "too many \"");
            addtext(what, text + start, len);
            addtext(what, "\"");
            words.count = maxwords;
            bombed("string2strings", what);
        }
        Word& w = words.w[n];
        std::memcpy(w.c, text + start, static_cast<size_t>(len));
        w.len = static_cast<int16_t>(len);
    }
    // Entries after the count are kept empty; only those used before need clearing.
    for (int k = n + 1; k <= oldcount; ++k) words.w[k].len = 0;
    words.count = static_cast<int16_t>(n);
}

void trimbounds(const char* text, int len, int& first, int& last) {
    first = 0;
    last = 0;
    for (int i = 0; i < len; ++i) {
        if (!isblankbyte(text[i])) {
            if (first == 0) first = i + 1;
            last = i + 1;
        }
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

WordKind whatis(const char* word, int len) {
    len = cut20(len);
    int first, last;
    trimbounds(word, len, first, last);
    if (last == 0) return kindempty;
    if (first == last) return isdigitbyte(word[first - 1]) ? kindinteger : kindother;
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
    bool seendot = false, inexp = false, expnegative = false;
    int32_t expvalue = 0;
    for (; i < last; ++i) {
        char ch = text[i];
        if (!inexp) {
            if (isdigitbyte(ch)) {
                digits[ndigits++] = ch;
                if (seendot) ++decimals;
            } else if (ch == '.') {
                if (seendot) return false;
                seendot = true;
            } else if (ch == 'e' || ch == 'E') {
                inexp = true;
            } else {
                return false;
            }
        } else {
            if (isdigitbyte(ch)) {
                expvalue = expvalue * 10 + (ch - '0');
                if (expvalue > 32767) return false;  // an exponent must fit 16 bits
            } else if (ch == '-') {
                if (expnegative) return false;
                expnegative = true;
            } else {
                return false;
            }
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
        int32_t e = (expnegative ? -expvalue : expvalue) - decimals;
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

bool str2real(const char* text, int len, long double& value, Text& message) {
    len = cut20(len);
    message.len = 0;
    value = 0;
    int first, last;
    trimbounds(text, len, first, last);
    if (last == 0) return false;
    DecimalNumber d;
    if (str2decimal(text, len, d)) {
        long double v = decimal2real(d);
        if (!std::isinf(v)) {  // a value beyond the 80-bit range does not read
            value = v;
            return true;
        }
    }
    setmessage(message, text, len, " not a real: replace with");
    return false;
}

bool str2int(const char* text, int len, int16_t& value, Text& message) {
    len = cut20(len);
    message.len = 0;
    value = 0;
    int first, last;
    trimbounds(text, len, first, last);
    if (last == 0) return false;
    DecimalNumber dn;
    if (!str2decimal(text, len, dn)) {
        setmessage(message, text, len, " not an integer: replace with");
        return false;
    }
    double d = static_cast<double>(decimal2real(dn));
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
    Text message;
    if (kind == kindinteger || kind == kindreal) {
        long double v;
        if (!str2real(word, v, message)) badword("reading", "expecting a single (2); got: ", word, context);
        return v;
    }
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
