// fastpaths_test.cpp - the SSE2 line splitter, the one-pass word classifier,
// the real and integer readers, the one-pass readers of data words and rows,
// the cached powers of ten, the rounding and the direct fixed form give
// exactly what their step-by-step counterparts (text/bysteps.h) give.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "text/bysteps.h"
#include "text/numfmt.h"
#include "text/tokens.h"
#include "support/floors.h"

namespace {

// ---- helpers -------------------------------------------------------------

// The ten bytes of an 80-bit value: equal values with different signs of
// zero must not pass as equal.
bool samebits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }
std::string str(const Text& t) { return std::string(t.c, static_cast<size_t>(t.len)); }

// The words of a split list, in order.
std::vector<std::string> wordsof(const WordList& list) {
    std::vector<std::string> words;
    for (int32_t k = 1; k <= list.count; ++k) {
        TextView w = wholeword(list, k);
        words.emplace_back(w.c, static_cast<size_t>(w.len));
    }
    return words;
}

// Nearest 32-bit integer by the standard library, ties to even, saturated
// as roundint saturates.
int32_t nearest(long double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0L) return INT32_MAX;
    if (x <= -2147483648.0L) return INT32_MIN;
    return static_cast<int32_t>(std::nearbyint(x));
}

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
    ASSERT_EQ(whatis(s.data(), len), whatisbysteps(s.data(), len)) << '"' << s << '"';
    long double v1, v2;
    Text m1, m2;
    bool ok1 = str2real(s.data(), len, v1, m1);
    bool ok2 = str2realbysteps(s.data(), len, v2, m2);
    ASSERT_EQ(ok1, ok2) << '"' << s << '"';
    ASSERT_TRUE(samebits(v1, v2)) << '"' << s << '"';
    ASSERT_EQ(str(m1), str(m2)) << '"' << s << '"';
    int16_t i1, i2;
    ok1 = str2int(s.data(), len, i1, m1);
    ok2 = str2intbysteps(s.data(), len, i2, m2);
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
    WordList got, bysteps;
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
        bysteps.line.assign(line, 0, static_cast<size_t>(count));
        splitlinebysteps(bysteps);
        std::vector<std::string> want = wordsof(bysteps);
        string2strings(line.data(), count, got);
        ASSERT_EQ(got.count, static_cast<int32_t>(want.size())) << i;
        for (int k = 1; k <= got.count; ++k) {
            TextView w = wholeword(got, k);
            ASSERT_EQ(std::string(w.c, static_cast<size_t>(w.len)), want[static_cast<size_t>(k - 1)]) << i << " word " << k;
            ASSERT_EQ(wordkind(got, k), wordkind(bysteps, k)) << i << " word " << k;
        }
        // A comment: the words from the first that begins with "%" on.
        size_t kept = 0;
        while (kept < want.size() && want[kept][0] != '%') ++kept;
        dropcomment(got);
        ASSERT_EQ(got.count, static_cast<int32_t>(kept)) << i;
    }
}

TEST(FastPaths, CachedPowersAreTheComputedOnes) {
    for (int n = -5000; n <= 5000; ++n) ASSERT_TRUE(samebits(pow10(n), pow10far(n))) << n;
    for (int n : {-32768, -9000, 8191, 8192, 32767}) ASSERT_TRUE(samebits(pow10(n), pow10far(n))) << n;
}

TEST(FastPaths, RoundingMatchesNearbyint) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-3e9, 3e9);
    std::uniform_int_distribution<int> k(-2000000, 2000000);
    for (int i = 0; i < 200000; ++i) {
        long double x = u(rng);
        ASSERT_EQ(roundint(x), nearest(x)) << static_cast<double>(x);
        long double tie = k(rng) + 0.5L;  // ties go to even
        ASSERT_EQ(roundint(tie), nearest(tie)) << static_cast<double>(tie);
    }
    for (long double x : {0.0L, -0.0L, 2147483646.5L, -2147483647.5L, 2147483647.0L, -2147483648.0L,
                          std::numeric_limits<long double>::infinity(),
                          std::numeric_limits<long double>::quiet_NaN()})
        ASSERT_EQ(roundint(x), nearest(x)) << static_cast<double>(x);
}

TEST(FastPaths, NumbersAreWrittenAsStepByStep) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> mant(-1, 1);
    std::uniform_int_distribution<int> expo(-16, 24), digits(-2, 12), sixteenths(-4000, 4000);
    auto check = [](long double x, int16_t n) {
        for (bool fixed : {true, false})
            ASSERT_EQ(str(real2str(x, n, fixed)), str(real2strbysteps(x, n, fixed)))
                << static_cast<double>(x) << " n=" << n << " fixed=" << fixed;
        char direct[20];
        ASSERT_EQ(std::string(direct, static_cast<size_t>(writefixed(direct, x, n))), str(real2strbysteps(x, n, true)))
            << static_cast<double>(x) << " n=" << n;
    };
    for (int i = 0; i < 300000; ++i) {
        int16_t n = static_cast<int16_t>(digits(rng));
        check(mant(rng) * pow10far(expo(rng)), n);
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
