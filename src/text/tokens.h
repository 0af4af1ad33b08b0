// tokens.h - the token reader: lines split into words, words classified,
// and words converted to numbers with their checks.
//
// Blanks are tab, space and the byte 202, and nothing else: every other byte
// (control characters included) belongs to a word.  The plain readers
// (`str2real`, `str2int`, `str2rational`, `getreals`, `getints`) return a
// success flag and never end the run; the checked readers (`getinteger`,
// `getsingle`) and `string2strings` end it through `bombed`.
#pragma once

#include <cstdint>

#include "text/fixedtext.h"
#include "text/numfmt.h"

constexpr int maxwords = 220;  // words on one line

// A line split into words, indexed 1..count.  Entries after the count are
// always empty texts.
struct WordList {
    Word w[maxwords + 1];  // the words; entry 0 is unused
    int16_t count;         // words in use, 0..220
};

// What `whatis` finds a word to be.
enum WordKind : int16_t {
    kindempty = 0,     // no non-blank character
    kindinteger = 1,   // optional "-", then digits
    kindreal = 2,      // digits with a fraction part, an exponent part, or both
    kindrational = 3,  // digits "/" digits
    kindother = 4,     // anything else: names and keywords
};

inline bool isblankbyte(char ch) {
    return ch == ' ' || ch == '\t' || static_cast<unsigned char>(ch) == 202;
}

// Make every entry of a word list empty.
void clearwords(WordList& words);

// Split the first `count` characters of a text into words (each cut to 20
// characters).  A 221st word ends the run.
void string2strings(const char* text, int count, WordList& words);

// Positions (1-based) of the first and last non-blank characters; both 0
// for an empty or all-blank text.
void trimbounds(const char* text, int len, int& first, int& last);

// The text without leading and trailing blanks.
Text trimblanks(const Text& text);

// The kind of a word (only its first 20 characters count).
WordKind whatis(const char* word, int len);

template <int Cap>
inline WordKind whatis(const Str<Cap>& word) { return whatis(word.c, word.len); }

// Read a decimal number from the first 20 characters of a text.
bool str2decimal(const char* text, int len, DecimalNumber& d);

// The value of a decimal record, computed digit by digit in 80-bit arithmetic.
long double decimal2real(const DecimalNumber& d);

// Text to an 80-bit real; on failure the value is 0 and the message says why.
bool str2real(const char* text, int len, long double& value, Text& message);

// Text to a 16-bit integer in -32766..32766; on failure the value is 0.
bool str2int(const char* text, int len, int16_t& value, Text& message);

// Text "a/b" to two non-zero 16-bit integers.
bool str2rational(const char* text, int len, int16_t& numerator, int16_t& denominator,
                  Text& message);

template <int Cap>
inline bool str2real(const Str<Cap>& t, long double& v, Text& m) { return str2real(t.c, t.len, v, m); }
template <int Cap>
inline bool str2int(const Str<Cap>& t, int16_t& v, Text& m) { return str2int(t.c, t.len, v, m); }

// A word that must be an integer; anything else ends the run, quoting the
// word and the context (what was being read).
int16_t getinteger(WordKind kind, const Word& word, const Text& context);

// A word that must be a number (integer, real or a/b); anything else ends
// the run.
long double getsingle(WordKind kind, const Word& word, const Text& context);

// Read n numbers from the words after position `start` into values[1..n].
// With n <= 0 every number up to word 40 is read, at least |n| of them, and
// n becomes their count.  Never ends the run.
bool getreals(const WordList& words, int16_t start, int16_t& n, long double* values);

// As `getreals`, for 16-bit integers.
bool getints(const WordList& words, int16_t start, int16_t& n, int16_t* values);
