// numfmt.cpp - numbers to text, in 80-bit arithmetic, ties to even.
#include "text/numfmt.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "text/bysteps.h"

namespace gridel::text {

namespace {

// Powers 10^(2^i).  The first six are the classic table; the higher ones let
// every exponent a 16-bit number text can carry be built the same way, and
// leave every result for exponents below 64 untouched.
constexpr long double powtable[13] = {
    1e1L, 1e2L, 1e4L, 1e8L, 1e16L, 1e32L, 1e64L,
    1e128L, 1e256L, 1e512L, 1e1024L, 1e2048L, 1e4096L,
};

const long double zerolimit = 1e-12L;       // below this magnitude a value is zero
const long double writelimit = 1e20L;       // above this magnitude a value cannot be written
const long double mantissalimit = 2147483646.0L;  // a scaled mantissa must stay below this
const long double allowance = 0.55L;        // rounding allowance of the exponent search
const int exponentsearch = 22;              // limit of the exponent search

void setunwritable(Word& digits) {
    std::memset(digits.c, ' ', sizeof digits.c);
    digits.len = 20;
}

bool isunwritable(const Word& digits) { return digits.len == 20 && digits.c[0] == ' '; }

// Decimal digits of a non-negative integer, by repeated division by 10.
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

}  // namespace

namespace {

// 10 to the n by the table of powers, bit by bit.  The compiler evaluates
// it exactly as the machine does: every step is one correctly rounded
// 80-bit operation either way.
constexpr long double pow10bybits(int n) {
    long double x = 1.0L;
    int32_t m = n < 0 ? -n : n;
    for (int i = 0; m != 0 && i < 13; ++i, m >>= 1)
        if (m & 1) x *= powtable[i];
    if (m != 0) x = std::numeric_limits<long double>::infinity();
    return n < 0 ? 1.0L / x : x;
}

}  // namespace

// Computed by the compiler, so the table is a constant like any other.
extern constexpr PowerTable nearpowersof10 = [] {
    PowerTable t{};
    for (int n = -nearpowers; n <= nearpowers; ++n) t.at[nearpowers + n] = pow10bybits(n);
    return t;
}();

long double pow10far(int n) { return pow10bybits(n); }

int32_t roundint(long double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0L) return INT32_MAX;
    if (x <= -2147483648.0L) return INT32_MIN;
    // llrint rounds in the current mode, nearest with ties to even, as
    // nearbyint does; unlike nearbyint it need not save and restore the
    // floating-point environment.
    return static_cast<int32_t>(std::llrint(x));
}

int32_t truncint(long double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0L) return INT32_MAX;
    if (x <= -2147483648.0L) return INT32_MIN;
    return static_cast<int32_t>(x);
}

DecimalNumber real2decimal(NumberMode mode, int16_t n, long double x) {
    DecimalNumber d;
    d.exponent = 0;
    long double r = std::fabs(x);
    if (r < zerolimit) {
        d.negative = false;
        settext(d.digits, "0");
        return d;
    }
    d.negative = x < 0;
    bool writable = !(r > writelimit) && !std::isnan(r);
    long double s = 0;
    if (writable) {
        if (mode == fixedmode) {
            d.exponent = static_cast<int16_t>(-n);
            s = r * pow10(n);
        } else {
            long double c = allowance * pow10(-n);
            int i = 1;
            if (r >= 1 - c) {
                while (i <= exponentsearch && truncint(r / pow10(i) + c) != 0) ++i;
                d.exponent = static_cast<int16_t>(i - n);
            } else {
                while (i <= exponentsearch && truncint(r * pow10(i) + c) <= 0) ++i;
                d.exponent = static_cast<int16_t>(1 - i - n);
            }
            s = r * pow10(-d.exponent);
        }
    }
    if (writable && s < mantissalimit)
        setdigits(d.digits, roundint(s));
    else
        setunwritable(d.digits);
    return d;
}

Word decimal2str(NumberMode mode, int16_t n, const DecimalNumber& d) {
    Word out;
    if (isunwritable(d.digits)) {
        settext(out, "?");
        return out;
    }
    // Assembled in a scratch buffer large enough for any padding, then cut.
    char t[600];
    int len = 0;
    if (d.negative) t[len++] = '-';
    int body = len;
    if (mode == fixedmode) {
        int want = n > 255 ? 255 : n;
        for (int k = d.digits.len; k < want; ++k) t[len++] = '0';
        std::memcpy(t + len, d.digits.c, static_cast<size_t>(d.digits.len));
        len += d.digits.len;
        if (want > 0) {
            int at = len - want;  // the point goes before the last n characters
            std::memmove(t + at + 1, t + at, static_cast<size_t>(want));
            t[at] = '.';
            ++len;
            if (at == body) {  // a leading point gets a zero in front
                std::memmove(t + body + 1, t + body, static_cast<size_t>(len - body));
                t[body] = '0';
                ++len;
            }
        }
    } else {
        int e = d.exponent + n - 1;  // power of ten of the first digit
        t[len++] = d.digits.c[0];
        t[len++] = '.';
        std::memcpy(t + len, d.digits.c + 1, static_cast<size_t>(d.digits.len - 1));
        len += d.digits.len - 1;
        t[len++] = 'e';
        t[len++] = e < 0 ? '-' : '+';
        Word ew;
        setdigits(ew, e < 0 ? -e : e);
        std::memcpy(t + len, ew.c, static_cast<size_t>(ew.len));
        len += ew.len;
    }
    settext(out, t, len);
    return out;
}

namespace {

// The fixed form with n decimals (0..9) straight from the rounded scaled
// value, when real2decimal would keep the fixed form: x is not zero, |x|
// is writable and the scaled value has at most n + 5 digits.  It computes
// what real2decimal does (the same |x| times pow10(n), rounded to the
// nearest integer with ties to even as roundint does) and writes what
// decimal2str writes, right to left: n decimals (zeros in front of short
// digits), the point, then the whole part (at least "0"), then the sign.
// Returns the text's length, or 0 when the general steps must decide.
inline __attribute__((always_inline)) int fixedform(long double x, int16_t n, char* out) {
    // The scaled value may have at most n + 5 digits.
    static const uint32_t toomany[5] = {100000u, 1000000u, 10000000u, 100000000u, 1000000000u};
    long double r = std::fabs(x);
    if (!(r <= writelimit)) return 0;
    // 10^0..10^9 are exact in a double, which loads faster than an 80-bit
    // constant: the product is the same as with pow10(n).
    static constexpr double scales[10] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    long double s = r * static_cast<long double>(scales[n]);
    if (!(s < mantissalimit)) return 0;  // NaN fails here too
    // s lies in 0..2147483646, so the checks of roundint cannot apply, and
    // it is rounded as roundint's llrint rounds it, in the current mode
    // (to nearest, ties to even), by the one x87 store to a 64-bit integer,
    // without a library call.
    static_assert(std::numeric_limits<long double>::digits == 64, "80-bit extended reals");
    int64_t rounded;
    asm("fistpll %0" : "=m"(rounded) : "t"(s) : "st");
    uint32_t v = static_cast<uint32_t>(rounded);
    if (n < 5 && v >= toomany[n]) return 0;
    // Digits of v: log10(2) ~ 1233 / 4096 estimates them from the bits,
    // one fewer or exact, and one comparison settles it (powers[0] is 0 so
    // that zero, too, has one digit; v < 2^31 keeps the estimate below 10).
    static const uint32_t powers[10] = {0u, 10u, 100u, 1000u, 10000u, 100000u, 1000000u,
                                        10000000u, 100000000u, 1000000000u};
    int estimate = (std::bit_width(v) * 1233) >> 12;
    int nd = estimate + (v >= powers[estimate] ? 1 : 0);
    int len = x < 0 ? 1 : 0;
    if (n > 0)
        len += (nd > n ? nd : n + 1) + 1;
    else
        len += nd;
    // Written straight into the result, right to left, two digits at a
    // time, so no copy is read back from bytes just stored.
    static const char pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char* p = out + len;
    auto twodigits = [&] {
        uint32_t q = v / 100;
        const char* d = pairs + 2 * (v - 100 * q);
        *--p = d[1];
        *--p = d[0];
        v = q;
    };
    if (n > 0) {
        int k = n;
        for (; k >= 2; k -= 2) twodigits();
        if (k == 1) {
            *--p = static_cast<char>('0' + v % 10);
            v /= 10;
        }
        *--p = '.';
    }
    while (v >= 100) twodigits();
    if (v >= 10) {
        twodigits();
    } else {
        *--p = static_cast<char>('0' + v);
    }
    if (x < 0) *--p = '-';
    return len;
}

}  // namespace

namespace {

// real2str by the general steps: the decimal record in the mode asked
// for, or in the other when it suits the value better, written out.
void real2strsteps(Word& out, long double x, int16_t n, bool fixed) {
    if (x == 0 || std::fabs(x) < zerolimit) {
        settext(out, "0");
        return;
    }
    NumberMode mode;
    DecimalNumber d;
    if (fixed) {
        mode = fixedmode;
        d = real2decimal(fixedmode, n, x);
        if (d.digits.len > n + 5) {
            mode = significantmode;
            d = real2decimal(significantmode, n, x);
        }
    } else {
        mode = significantmode;
        d = real2decimal(significantmode, n, x);
        if (-d.exponent < n + 4 && d.exponent < 2) {
            mode = fixedmode;
            n = static_cast<int16_t>(d.exponent < 0 ? -d.exponent : 0);
            d = real2decimal(fixedmode, n, x);
        }
    }
    out = decimal2str(mode, n, d);
}

}  // namespace

Word real2strbysteps(long double x, int16_t n, bool fixed) {
    Word out;
    real2strsteps(out, x, n, fixed);
    return out;
}

Word real2str(long double x, int16_t n, bool fixed) {
    Word out;
    if (fixed && n >= 0 && n <= 9 && !(x == 0 || std::fabs(x) < zerolimit)) {
        out.len = static_cast<int16_t>(fixedform(x, n, out.c));
        if (out.len > 0) return out;
    }
    real2strsteps(out, x, n, fixed);
    return out;  // every path returns `out`, so it is built in the caller's result
}

int writefixed(char* out, const long double& x, int16_t n) {
    if (!(std::fabs(x) >= zerolimit)) {  // zero, or below the zero limit (NaN goes on)
        if (!std::isnan(x)) {
            out[0] = '0';
            return 1;
        }
    } else if (n >= 0 && n <= 9) {
        int len = fixedform(x, n, out);
        if (len > 0) return len;
    }
    Word t = real2str(x, n, true);
    std::memcpy(out, t.c, static_cast<size_t>(t.len));
    return t.len;
}

Word real2intstr(long double x) {
    if (x == 0) {
        Word out;
        settext(out, "0");
        return out;
    }
    return decimal2str(fixedmode, 0, real2decimal(fixedmode, 0, x));
}

int writehex(char* out, uint32_t v, int digits) {
    for (int k = digits - 1; k >= 0; --k, v >>= 4) out[k] = "0123456789abcdef"[v & 15];
    return digits;
}

int16_t decimalsneeded(bool exact, int16_t n, long double x) {
    long double r = std::fabs(x);
    if (r == 0) return 1;
    if (exact) {
        if (r > 1) r = r - std::floor(r);
        if (r == 0) return 1;
        // The multiplier 10^k must stay a 32-bit integer, so nine decimals at
        // the most; a value such as 1/3 never comes within 0.001 of a whole.
        int32_t p = 1;
        for (int16_t k = 1; k <= 9; ++k) {
            p *= 10;
            long double v = r * p;
            if (std::fabs(roundint(v) - v) < 0.001L) return k;
        }
        return 9;
    }
    if (r > 1) return n;
    if (r > 0.5L) r = 1 - r;
    if (r > 0.1L) return n;
    int16_t k = n;
    long double b = 0.1L;
    do {  // b reaching zero ends the search for a zero r
        ++k;
        b = b / 10;
    } while (!(b < r) && b != 0);
    return k;
}

Text spaces(int16_t n) {
    Text t;
    t.len = 0;
    if (n <= 0) return t;
    if (n > 255) n = 255;
    std::memset(t.c, ' ', static_cast<size_t>(n));
    t.len = n;
    return t;
}

}  // namespace gridel::text
