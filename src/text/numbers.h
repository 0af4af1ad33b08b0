// numbers.h - words read as numbers: 80-bit reals, 16-bit integers and
// rationals a/b, with their checks.
//
// The plain readers (`str2real`, `str2int`, `str2rational`, `getreals`,
// `getints`) return a success flag and never end the run: the caller
// decides what a failure means.
#pragma once

#include <cstdint>

#include "text/fixedtext.h"
#include "text/numfmt.h"
#include "text/wordkinds.h"
#include "text/words.h"

namespace gridel::text {

// Text to an 80-bit real, every digit counted; on failure the value is 0 and
// the message (quoting the first 20 characters) says why.
bool str2real(const char* text, int32_t len, long double& value, Text& message);

// Text to a 16-bit integer in -32766..32766; on failure the value is 0.
bool str2int(const char* text, int32_t len, int16_t& value, Text& message);

// Text "a/b" to two non-zero 16-bit integers.
bool str2rational(const char* text, int32_t len, int16_t& numerator, int16_t& denominator,
                  Text& message);

inline bool str2real(TextView t, long double& v, Text& m) { return str2real(t.c, t.len, v, m); }
inline bool str2int(TextView t, int16_t& v, Text& m) { return str2int(t.c, t.len, v, m); }
template <int Cap>
inline bool str2real(const Str<Cap>& t, long double& v, Text& m) { return str2real(t.c, t.len, v, m); }
template <int Cap>
inline bool str2int(const Str<Cap>& t, int16_t& v, Text& m) { return str2int(t.c, t.len, v, m); }

// str2real without its message: the value of a whole text, false when it
// is blank or does not read.  A value beyond the 80-bit range (or one whose
// digits alone overflow it) does not read.
bool realvalue(const char* text, int32_t len, long double& value);

// The value of a/b: the quotient in double precision, widened to 80 bits.
long double rationalvalue(int16_t numerator, int16_t denominator);

// Read n numbers from the words after position `start` into values[1..n].
// With n <= 0 every number up to word 40 is read, at least |n| of them, and
// n becomes their count.  Never ends the run.
bool getreals(const WordList& words, int32_t start, int16_t& n, long double* values);

// As `getreals`, for 16-bit integers.
bool getints(const WordList& words, int32_t start, int16_t& n, int16_t* values);

}  // namespace gridel::text
