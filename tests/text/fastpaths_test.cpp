// fastpaths_test.cpp - the one-pass word classifier, the fused real reader,
// the cached powers of ten, the rounding and the direct fixed form give
// exactly what the step-by-step versions give.  The step-by-step versions
// are kept here, as they were written, as the reference.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "text/numfmt.h"
#include "text/tokens.h"

namespace {

// ---- the reference: the readers and the formatter step by step ---------

namespace ref {

bool isdigitbyte(char ch) { return ch >= '0' && ch <= '9'; }
int cut20(int len) { return len > 20 ? 20 : len; }

// A decimal number as written: its digits without leading zeros ("0" for
// zero), however many, and the power of ten they are scaled by.
struct Decimal {
    bool negative;
    int exponent;
    std::string digits;
};

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

WordKind whatis(const char* word, int len) {
    int first, last;
    trimbounds(word, len, first, last);
    if (last == 0) return kindempty;
    if (first == last) return isdigitbyte(word[first - 1]) ? kindinteger : kindother;
    bool dot = false, exp = false, slash = false, sign = false, bad = false;
    int afterdot = 0, afterexp = 0, afterslash = 0;
    int c = 0;
    int pos = first;
    if (word[first - 1] == '-') ++pos;
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

const long double powtable[13] = {
    1e1L, 1e2L, 1e4L, 1e8L, 1e16L, 1e32L, 1e64L, 1e128L, 1e256L, 1e512L, 1e1024L, 1e2048L, 1e4096L,
};

long double pow10(int n) {
    long double x = 1.0L;
    int32_t m = n < 0 ? -n : n;
    for (int i = 0; m != 0 && i < 13; ++i, m >>= 1)
        if (m & 1) x *= powtable[i];
    if (m != 0) x = std::numeric_limits<long double>::infinity();
    return n < 0 ? 1.0L / x : x;
}

// The text read character by character: a sign, digits with one point,
// and an exponent after "e" or "E" (a "+" right after the letter, digits,
// and one "-" anywhere among them).
bool str2decimal(const char* text, int len, Decimal& d) {
    int first, last;
    trimbounds(text, len, first, last);
    if (last == 0) return false;
    int i = first - 1;
    d.negative = text[i] == '-';
    if (d.negative) {
        if (first == last) return false;
        ++i;
    }
    std::string digits;
    int decimals = 0;
    bool seendot = false, inexponent = false, expnegative = false;
    long expvalue = 0;
    for (; i < last; ++i) {
        char ch = text[i];
        if (inexponent) {
            if (isdigitbyte(ch)) {
                expvalue = expvalue * 10 + (ch - '0');
                if (expvalue > 32767) return false;
            } else if (ch == '-' && !expnegative) {
                expnegative = true;
            } else if (!(ch == '+' && (text[i - 1] == 'e' || text[i - 1] == 'E'))) {
                return false;
            }
        } else if (isdigitbyte(ch)) {
            digits += ch;
            if (seendot) ++decimals;
        } else if (ch == '.' && !seendot) {
            seendot = true;
        } else if (ch == 'e' || ch == 'E') {
            inexponent = true;
        } else {
            return false;
        }
    }
    size_t k = 0;
    while (digits.size() - k > 1 && digits[k] == '0') ++k;
    d.digits.assign(digits, k, std::string::npos);
    if (d.digits.empty() || d.digits == "0") {
        d.digits.assign(1, '0');
        d.exponent = 0;
        return true;
    }
    long e = (expnegative ? -expvalue : expvalue) - decimals;
    if (e < -32768 || e > 32767) return false;
    d.exponent = static_cast<int>(e);
    return true;
}

long double decimal2real(const Decimal& d) {
    long double v = 0;
    for (char ch : d.digits) v = 10 * v + (ch - '0');
    if (d.negative) v = -v;
    return v * pow10(d.exponent);
}

bool str2real(const char* text, int len, long double& value, Text& message) {
    message.len = 0;
    value = 0;
    int first, last;
    trimbounds(text, len, first, last);
    if (last == 0) return false;
    Decimal d;
    if (ref::str2decimal(text, len, d)) {
        long double v = ref::decimal2real(d);
        if (std::isfinite(v)) {
            value = v;
            return true;
        }
    }
    settext(message, text, cut20(len));
    addtext(message, " not a real: replace with");
    return false;
}

int32_t roundint(long double x);

bool str2int(const char* text, int len, int16_t& value, Text& message) {
    message.len = 0;
    value = 0;
    int first, last;
    trimbounds(text, len, first, last);
    if (last == 0) return false;
    Decimal dn;
    auto fail = [&](const char* tail) {
        settext(message, text, cut20(len));
        addtext(message, tail);
        return false;
    };
    if (!ref::str2decimal(text, len, dn)) return fail(" not an integer: replace with");
    long double v = ref::decimal2real(dn);
    if (!std::isfinite(v)) return fail(" not an integer: replace with");
    double d = static_cast<double>(v);
    if (d == 0) return true;
    int32_t r = roundint(d);
    if (std::fabs(d - static_cast<double>(r)) > 1e-8) return fail(" not an integer: replace with");
    if (std::fabs(d) >= 32767) return fail(" too large: replace with");
    value = static_cast<int16_t>(r);
    return true;
}

std::vector<std::string> string2strings(const char* text, int count) {
    std::vector<std::string> words;
    int i = 0;
    while (i < count) {
        while (i < count && isblankbyte(text[i])) ++i;
        if (i >= count) break;
        int start = i;
        while (i < count && !isblankbyte(text[i])) ++i;
        words.emplace_back(text + start, static_cast<size_t>(i - start));
    }
    return words;
}

int32_t roundint(long double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0L) return INT32_MAX;
    if (x <= -2147483648.0L) return INT32_MIN;
    return static_cast<int32_t>(std::nearbyint(x));
}

int32_t truncint(long double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0L) return INT32_MAX;
    if (x <= -2147483648.0L) return INT32_MIN;
    return static_cast<int32_t>(x);
}

void setdigits(Word& digits, int32_t v) {
    char tmp[12];
    int k = 0;
    do {
        tmp[k++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v > 0);
    digits.len = 0;
    while (k > 0) digits.c[digits.len++] = tmp[--k];
}

DecimalNumber real2decimal(NumberMode mode, int16_t n, long double x) {
    DecimalNumber d;
    d.exponent = 0;
    long double r = std::fabs(x);
    if (r < 1e-12L) {
        d.negative = false;
        settext(d.digits, "0");
        return d;
    }
    d.negative = x < 0;
    bool writable = !(r > 1e20L) && !std::isnan(r);
    long double s = 0;
    if (writable) {
        if (mode == fixedmode) {
            d.exponent = static_cast<int16_t>(-n);
            s = r * pow10(n);
        } else {
            long double c = 0.55L * pow10(-n);
            int i = 1;
            if (r >= 1 - c) {
                while (i <= 22 && truncint(r / pow10(i) + c) != 0) ++i;
                d.exponent = static_cast<int16_t>(i - n);
            } else {
                while (i <= 22 && truncint(r * pow10(i) + c) <= 0) ++i;
                d.exponent = static_cast<int16_t>(1 - i - n);
            }
            s = r * pow10(-d.exponent);
        }
    }
    if (writable && s < 2147483646.0L) {
        setdigits(d.digits, roundint(s));
    } else {
        std::memset(d.digits.c, ' ', sizeof d.digits.c);
        d.digits.len = 20;
    }
    return d;
}

Word real2str(long double x, int16_t n, bool fixed) {
    Word out;
    if (x == 0 || std::fabs(x) < 1e-12L) {
        settext(out, "0");
        return out;
    }
    NumberMode mode;
    DecimalNumber d;
    if (fixed) {
        mode = fixedmode;
        d = ref::real2decimal(fixedmode, n, x);
        if (d.digits.len > n + 5) {
            mode = significantmode;
            d = ref::real2decimal(significantmode, n, x);
        }
    } else {
        mode = significantmode;
        d = ref::real2decimal(significantmode, n, x);
        if (-d.exponent < n + 4 && d.exponent < 2) {
            mode = fixedmode;
            n = static_cast<int16_t>(d.exponent < 0 ? -d.exponent : 0);
            d = ref::real2decimal(fixedmode, n, x);
        }
    }
    return decimal2str(mode, n, d);
}

}  // namespace ref

// ---- helpers -------------------------------------------------------------

// The ten bytes of an 80-bit value: equal values with different signs of
// zero must not pass as equal.
bool samebits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }
std::string str(const Text& t) { return std::string(t.c, static_cast<size_t>(t.len)); }

// Every text of length 0..maxlen over the alphabet, in turn.
template <typename Check>
void everytext(const std::string& alphabet, int maxlen, Check check) {
    std::string s;
    for (int len = 0; len <= maxlen; ++len) {
        std::vector<int> at(static_cast<size_t>(len), 0);
        s.assign(static_cast<size_t>(len), alphabet[0]);
        for (;;) {
            check(s);
            int k = len - 1;
            while (k >= 0 && at[static_cast<size_t>(k)] == static_cast<int>(alphabet.size()) - 1) {
                at[static_cast<size_t>(k)] = 0;
                s[static_cast<size_t>(k)] = alphabet[0];
                --k;
            }
            if (k < 0) break;
            ++at[static_cast<size_t>(k)];
            s[static_cast<size_t>(k)] = alphabet[static_cast<size_t>(at[static_cast<size_t>(k)])];
        }
    }
}

// Random texts in the shapes numbers are written in, and their near misses.
std::string randomnumbertext(std::mt19937& rng) {
    static const char parts[] = "0123456789.eE-+/ \t";
    std::uniform_int_distribution<int> len(1, 24), pick(0, sizeof parts - 2), digit(0, 9), form(0, 7);
    std::string s;
    switch (form(rng)) {
        case 0:  // anything from the characters of numbers
            for (int n = len(rng); n > 0; --n) s += parts[pick(rng)];
            return s;
        case 1:  // digits and a point
        case 2:
            if (digit(rng) < 3) s += '-';
            for (int n = len(rng) / 3 + 1; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            s += '.';
            for (int n = len(rng) / 2; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            if (digit(rng) < 4) {
                s += digit(rng) < 5 ? 'e' : 'E';
                if (digit(rng) < 5) s += digit(rng) < 5 ? '-' : '+';
                for (int n = len(rng) / 6; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            }
            return s;
        case 3:  // integers and rationals
            for (int n = len(rng) / 3 + 1; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            if (digit(rng) < 5) {
                s += '/';
                for (int n = len(rng) / 5; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            }
            return s;
        case 4:  // long fractions, around the 19 digits gathered at once
            if (digit(rng) < 3) s += '-';
            for (int n = digit(rng) / 3 + 1; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            s += '.';
            for (int n = 14 + digit(rng) / 2; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            return s;
        case 5:  // numbers longer than any fixed field: leading zeros, many digits
            if (digit(rng) < 3) s += '-';
            for (int n = digit(rng) * 3; n > 0; --n) s += '0';
            for (int n = len(rng) * (digit(rng) + 1) / 3; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            if (digit(rng) < 6) {
                s += '.';
                for (int n = len(rng) * (digit(rng) + 1) / 3; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            }
            if (digit(rng) < 5) {
                s += 'e';
                if (digit(rng) < 6) s += digit(rng) < 5 ? '-' : '+';
                for (int n = digit(rng) / 3 + 1; n > 0; --n) s += static_cast<char>('0' + digit(rng));
            }
            return s;
        default:  // large exponents and long digit strings
            for (int n = len(rng); n > 0; --n) s += static_cast<char>('0' + digit(rng));
            s += 'e';
            if (digit(rng) < 5) s += '-';
            s += std::to_string(digit(rng) * 1000 + digit(rng) * 100 + digit(rng));
            return s;
    }
}

// Words first..first+n-1 of the list read as a data row: where quickrow
// takes the row, getsingle takes each word, with the same value to the bit
// for each word asked for, and the last word has the kind whatis gives it.
// `taken` tells whether quickrow took the row.
void checkrow(const WordList& list, int32_t first, int32_t n, uint64_t used, bool& taken) {
    long double got[64], want[64];
    WordKind lastkind = kindempty;
    taken = quickrow(list, first, n, used, got, lastkind);
    if (!taken) return;
    std::string line(list.line.data(), static_cast<size_t>(wholeword(list, list.count).c - list.line.data()) +
                                            static_cast<size_t>(wholeword(list, list.count).len));
    for (int32_t j = 1; j <= n; ++j) {
        TextView w = wholeword(list, first + j - 1);
        WordKind kind = whatis(w);
        bool reads;
        if (kind == kindrational) {
            int16_t a, b;
            Text message;
            reads = str2rational(w.c, w.len, a, b, message);
            want[j] = rationalvalue(a, b);
        } else {
            reads = (kind == kindinteger || kind == kindreal) && realvalue(w.c, w.len, want[j]);
        }
        ASSERT_TRUE(reads) << line << " word " << first + j - 1;
        if (used >> j & 1) {
            ASSERT_TRUE(samebits(got[j], want[j])) << line << " word " << first + j - 1;
        }
        if (j == n) {
            ASSERT_EQ(lastkind, kind) << line;
        }
    }
}

// The one-pass reader of data words: where it decides, it decides as
// whatis and the plain readers do, to the last bit of the value; with or
// without the value asked for, it decides the same.
void checksingle(const std::string& s) {
    int len = static_cast<int>(s.size());
    long double got = 0;
    WordKind kind = quicksingle(s.data(), len, &got);
    ASSERT_EQ(quicksingle(s.data(), len, nullptr), kind) << '"' << s << '"';
    if (kind == kindempty) return;
    ASSERT_EQ(whatis(s.data(), len), kind) << '"' << s << '"';
    long double want;
    if (kind == kindrational) {
        int16_t a, b;
        Text message;
        ASSERT_TRUE(str2rational(s.data(), len, a, b, message)) << '"' << s << '"';
        want = rationalvalue(a, b);
    } else {
        ASSERT_TRUE(realvalue(s.data(), len, want)) << '"' << s << '"';
    }
    ASSERT_TRUE(samebits(got, want)) << '"' << s << '"';
}

// A text read as one data row, every value asked for or none (a row
// whose values are all read is also read without them).
void checkasrow(const std::string& s, bool& taken) {
    static WordList list;
    string2strings(s.data(), static_cast<int32_t>(s.size()), list);
    taken = false;
    if (list.count == 0 || list.count > 63) return;
    bool none;
    checkrow(list, 1, list.count, ~uint64_t{0} >> (63 - list.count) & ~uint64_t{1}, taken);
    checkrow(list, 1, list.count, 0, none);
    ASSERT_TRUE(none || !taken) << s;
}

// A value of a benchmark data row (bench/gendiagram.py), in the forms its
// columns are written in.
std::string benchmarkword(std::mt19937& rng) {
    std::uniform_real_distribution<double> u(0, 1);
    std::uniform_int_distribution<int> form(0, 7), small(1, 8), count(0, 399);
    char text[40];
    switch (form(rng)) {
        case 0: std::snprintf(text, sizeof text, "%.2f", 300 + 700 * u(rng)); break;   // x
        case 1: std::snprintf(text, sizeof text, "%.4f", -2 + 16 * u(rng)); break;     // y
        case 2: std::snprintf(text, sizeof text, "%.4f", u(rng)); break;
        case 3: std::snprintf(text, sizeof text, "%.3f", -5 + 10 * u(rng)); break;
        case 4: std::snprintf(text, sizeof text, "%d", count(rng)); break;
        case 5: std::snprintf(text, sizeof text, "%.3e", 1e-4 + 9e-3 * u(rng)); break;
        case 6: std::snprintf(text, sizeof text, "%d/%d", small(rng), small(rng)); break;
        default: std::snprintf(text, sizeof text, "%.2f", 100 * u(rng)); break;
    }
    return text;
}

void checkword(const std::string& s) {
    checksingle(s);
    bool taken;
    checkasrow(s, taken);
    int len = static_cast<int>(s.size());
    ASSERT_EQ(whatis(s.data(), len), ref::whatis(s.data(), len)) << '"' << s << '"';
    long double v1, v2;
    Text m1, m2;
    bool ok1 = str2real(s.data(), len, v1, m1);
    bool ok2 = ref::str2real(s.data(), len, v2, m2);
    ASSERT_EQ(ok1, ok2) << '"' << s << '"';
    ASSERT_TRUE(samebits(v1, v2)) << '"' << s << '"';
    ASSERT_EQ(str(m1), str(m2)) << '"' << s << '"';
    int16_t i1, i2;
    ok1 = str2int(s.data(), len, i1, m1);
    ok2 = ref::str2int(s.data(), len, i2, m2);
    ASSERT_EQ(ok1, ok2) << '"' << s << '"';
    ASSERT_EQ(i1, i2) << '"' << s << '"';
    ASSERT_EQ(str(m1), str(m2)) << '"' << s << '"';
}

// ---- the tests -----------------------------------------------------------

TEST(FastPaths, WordsReadExactlyAsStepByStep) {
    // Every short text over the characters that matter, then random longer
    // ones: the same kind, the same value to the last bit, the same message.
    everytext("05.eE-+/ a", 6, checkword);
    everytext("19.e-/\t", 7, checkword);
    std::mt19937 rng(12345);
    for (int i = 0; i < 400000; ++i) checkword(randomnumbertext(rng));
}

TEST(FastPaths, DataWordsReadInOnePassAsStepByStep) {
    // The benchmark's words are all decided in one pass, and rightly.
    std::mt19937 rng(31);
    for (int i = 0; i < 1000000; ++i) {
        std::string s = benchmarkword(rng);
        ASSERT_NE(quicksingle(s.data(), static_cast<int>(s.size()), nullptr), kindempty) << s;
        checksingle(s);
        bool taken;
        checkasrow(s, taken);
        ASSERT_TRUE(taken) << s;
    }
    for (int i = 0; i < 2000000; ++i) {
        std::string s = randomnumbertext(rng);
        checksingle(s);
        bool taken;
        checkasrow(s, taken);
    }
    // Round the limits: 19 and 20 digits, 5-digit parts of a/b, exponents
    // of four digits and where the values overflow.
    for (const char* s : {"9999999999999999999", "-18446744073709551615", "99999999999999999999", "0.000000000000000001",
                          "1.234567890123456789", "32766/32766", "-32766/1", "32767/1", "1/32767", "00001/00002",
                          "000001/2", "-0/3", "3/0", "-0", "-0.0", "-0e5", "0e99999", "1e9999", "1e-9999", "5e+0000"})
        checksingle(s);
    for (int e = 3990; e <= 4960; ++e)
        for (const char* m : {"1", "9.9", "-9999999999999999999", "0.0001", "1234567.891", "0.000"}) {
            checksingle(std::string(m) + "e" + std::to_string(e));
            checksingle(std::string(m) + "E-" + std::to_string(e));
        }
}

// A word of a data row in its common forms, or one of its near misses: a
// byte changed or added, a long run of digits, a zero part.
std::string rowword(std::mt19937& rng) {
    std::uniform_int_distribution<int> form(0, 15), pick(0, 19), digits(1, 30);
    static const char bytes[] = "0123456789.eE-+/a0\xca";
    std::string s = benchmarkword(rng);
    switch (form(rng)) {
        case 0: s[static_cast<size_t>(pick(rng)) % s.size()] = bytes[pick(rng)]; break;
        case 1: s.insert(static_cast<size_t>(pick(rng)) % (s.size() + 1), 1, bytes[pick(rng)]); break;
        case 2: s = std::string(static_cast<size_t>(digits(rng)), static_cast<char>('0' + pick(rng) % 10)) + s; break;
        case 3: s = randomnumbertext(rng); break;
        case 4: s = std::to_string(pick(rng) * 1000 % 7001) + "/" + std::to_string(pick(rng) * 37 % 1201); break;
        case 5: s += "e" + std::string(pick(rng) % 2 ? "-" : "") + std::to_string(pick(rng) * 79 % 1300); break;
        default: break;
    }
    return s;
}

TEST(FastPaths, DataRowsReadAsWordByWord) {
    // Lines of row words between runs of blanks; every stretch of words read
    // as a row is read as getsingle reads its words one by one, to the bit.
    std::mt19937 rng(77);
    std::uniform_int_distribution<int> words(1, 30), gap(1, 3), blank(0, 2), pick(0, 1 << 30);
    const char blanks[] = {' ', '\t', static_cast<char>(202)};
    WordList list;
    int whole = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string line(static_cast<size_t>(blank(rng)), ' ');
        for (int k = words(rng); k > 0; --k) {
            line += rowword(rng);
            for (int g = gap(rng); g > 0; --g) line += blanks[blank(rng)];
        }
        string2strings(line.data(), static_cast<int32_t>(line.size()), list);
        for (int32_t k = 1; k <= list.count; ++k) ASSERT_EQ(wordkind(list, k), whatis(wholeword(list, k))) << line;
        if (list.count == 0) continue;
        int32_t first = 1 + pick(rng) % list.count;
        int32_t n = 1 + pick(rng) % (list.count - first + 1);
        bool taken;
        checkrow(list, first, n, static_cast<uint64_t>(pick(rng)) << 1, taken);
        whole += taken;
    }
    EXPECT_GT(whole, 10000);  // the test reaches the rows read whole
    // Digits enough to overflow, however common their shape.
    for (const std::string& big : {std::string(5000, '9'), "0." + std::string(40000, '1')}) {
        WordKind lastkind;
        long double got[4];
        string2strings(("1 " + big + " 2").data(), static_cast<int32_t>(big.size() + 4), list);
        EXPECT_FALSE(quickrow(list, 1, 3, 0, got, lastkind));
    }
}

TEST(FastPaths, LinesSplitAsByteByByte) {
    // Random lines of every length up to 300 over blanks (space, tab, the
    // byte 202) and other bytes, in runs so that long words occur too.
    WordList got;
    std::mt19937 rng(2024);
    const char bytes[] = {' ', '\t', static_cast<char>(0xCA), 'a', '7', '\0', static_cast<char>(0xC9),
                          static_cast<char>(0xFF), '%', '\n'};
    std::uniform_int_distribution<int> pick(0, sizeof bytes - 1), run(1, 30), length(0, 300);
    std::string line;
    for (int i = 0; i < 30000; ++i) {
        line.clear();
        int len = i < 301 ? i : length(rng);
        while (static_cast<int>(line.size()) < len) line.append(static_cast<size_t>(run(rng) % 7 == 0 ? run(rng) : 1),
                                                                bytes[pick(rng)]);
        line.resize(static_cast<size_t>(len));
        int count = len;
        std::vector<std::string> want = ref::string2strings(line.data(), count);
        string2strings(line.data(), count, got);
        ASSERT_EQ(got.count, static_cast<int32_t>(want.size())) << i;
        for (int k = 1; k <= got.count; ++k) {
            TextView w = wholeword(got, k);
            ASSERT_EQ(std::string(w.c, static_cast<size_t>(w.len)), want[static_cast<size_t>(k - 1)]) << i << " word " << k;
        }
        // A comment: the words from the first that begins with "%" on.
        size_t kept = 0;
        while (kept < want.size() && want[kept][0] != '%') ++kept;
        dropcomment(got);
        ASSERT_EQ(got.count, static_cast<int32_t>(kept)) << i;
    }
}

TEST(FastPaths, CachedPowersAreTheComputedOnes) {
    for (int n = -5000; n <= 5000; ++n) ASSERT_TRUE(samebits(pow10(n), ref::pow10(n))) << n;
    for (int n : {-32768, -9000, 8191, 8192, 32767}) ASSERT_TRUE(samebits(pow10(n), ref::pow10(n))) << n;
}

TEST(FastPaths, RoundingMatchesNearbyint) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-3e9, 3e9);
    std::uniform_int_distribution<int> k(-2000000, 2000000);
    for (int i = 0; i < 200000; ++i) {
        long double x = u(rng);
        ASSERT_EQ(roundint(x), ref::roundint(x)) << static_cast<double>(x);
        long double tie = k(rng) + 0.5L;  // ties go to even
        ASSERT_EQ(roundint(tie), ref::roundint(tie)) << static_cast<double>(tie);
    }
    for (long double x : {0.0L, -0.0L, 2147483646.5L, -2147483647.5L, 2147483647.0L, -2147483648.0L,
                          std::numeric_limits<long double>::infinity(),
                          std::numeric_limits<long double>::quiet_NaN()})
        ASSERT_EQ(roundint(x), ref::roundint(x)) << static_cast<double>(x);
}

TEST(FastPaths, NumbersAreWrittenAsStepByStep) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> mant(-1, 1);
    std::uniform_int_distribution<int> expo(-16, 24), digits(-2, 12), sixteenths(-4000, 4000);
    auto check = [](long double x, int16_t n) {
        for (bool fixed : {true, false})
            ASSERT_EQ(str(real2str(x, n, fixed)), str(ref::real2str(x, n, fixed)))
                << static_cast<double>(x) << " n=" << n << " fixed=" << fixed;
        char direct[20];
        ASSERT_EQ(std::string(direct, static_cast<size_t>(writefixed(direct, x, n))), str(ref::real2str(x, n, true)))
            << static_cast<double>(x) << " n=" << n;
    };
    for (int i = 0; i < 300000; ++i) {
        int16_t n = static_cast<int16_t>(digits(rng));
        check(mant(rng) * ref::pow10(expo(rng)), n);
        check(sixteenths(rng) / 16.0L, n);  // ties at every count of decimals
        check(sixteenths(rng) / 1000.0L, n);
    }
    const long double special[] = {0.0L, -0.0L, 1e-12L, 9.99e-13L, -1e-12L, 1e20L, 1.0000001e20L,
                                   21474836.455L, 2147483.6455L, 0.0005L, -0.0049L, 99999.995L,
                                   std::numeric_limits<long double>::infinity(),
                                   -std::numeric_limits<long double>::infinity(),
                                   std::numeric_limits<long double>::quiet_NaN()};
    for (long double x : special)
        for (int16_t n = -2; n <= 12; ++n) check(x, n);
}

}  // namespace
