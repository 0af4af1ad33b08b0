// numfmt.h - numbers to text: the program's only number formatter.
//
// Every number the program writes goes through `real2str` or `real2intstr`:
// a fixed count of decimals (or of significant digits), a short exponent
// form for large magnitudes, "0" for zero, "?" for what cannot be written,
// ties rounded to even.  All arithmetic is in 80-bit extended reals
// (`long double`), exactly as the steps below are written, so that every
// text is the same on every machine.
#pragma once

#include <cstdint>

#include "text/fixedtext.h"

namespace gridel::text {

// A signed decimal: digits (a non-negative integer without leading zeros,
// "0" for zero) times 10 to the exponent, negated when `negative`.
struct DecimalNumber {
    bool negative;      // the number is below zero
    int16_t exponent;   // power of ten applied to the digits
    Word digits;        // decimal digits; twenty blanks mark "cannot be written"
};

// The two forms a number can be written in.
enum NumberMode { fixedmode, significantmode };

// The powers of ten that numbers in files and on the page use are looked
// up; the others are computed.
constexpr int nearpowers = 64;
struct PowerTable {
    long double at[2 * nearpowers + 1];  // at[nearpowers + n] = pow10(n)
};
extern const PowerTable nearpowersof10;
long double pow10far(int n);

// 10 to the n, built bit by bit from a table of powers; 1/x for negative n.
inline long double pow10(int n) {
    if (n >= -nearpowers && n <= nearpowers) return nearpowersof10.at[nearpowers + n];
    return pow10far(n);
}

// Nearest 32-bit integer, ties to even; saturates outside the 32-bit range,
// NaN gives 0.
int32_t roundint(long double x);

// 32-bit integer truncated toward zero; saturates like `roundint`.
int32_t truncint(long double x);

// x as a decimal record with n decimals (fixed) or n significant digits.
DecimalNumber real2decimal(NumberMode mode, int16_t n, long double x);

// A decimal record as text of at most 20 characters.
Word decimal2str(NumberMode mode, int16_t n, const DecimalNumber& d);

// x with n decimals (fixed) or n significant digits.
Word real2str(long double x, int16_t n, bool fixed);

// real2str(x, n, true) written straight into `out` (room for 20
// characters); returns its length.
int writefixed(char* out, const long double& x, int16_t n);

// x rounded to an integer, written without a point.
Word real2intstr(long double x);

// The low `digits` hexadecimal digits of v, in lower case, written into
// `out` (room for `digits` characters, at most 8); returns `digits`.
int writehex(char* out, uint32_t v, int digits);

// Count of decimals a tick label needs (exact mode) or a value deserves.
int16_t decimalsneeded(bool exact, int16_t n, long double x);

// A text of n blanks (empty for n <= 0, at most 255).
Text spaces(int16_t n);

}  // namespace gridel::text
