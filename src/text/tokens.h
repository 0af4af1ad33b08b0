// tokens.h - the token reader: lines split into words, words classified,
// and words converted to numbers with their checks.
//
// Blanks are tab, space and the byte 202, and nothing else: every other byte
// (control characters included) belongs to a word.  The plain readers
// (`str2real`, `str2int`, `str2rational`, `getreals`, `getints`) return a
// success flag and never end the run: the caller decides what a failure
// means.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/fixedtext.h"
#include "text/numfmt.h"

// A line split into words, indexed 1..count.  The list owns the line, and
// every word is kept whole: its kind and its value come from all its
// characters, while `wordat` gives the first 20 characters, the form in
// which a word is stored or shown as a name, keyword or text.
struct WordList {
    std::string line;              // the characters of the line, then the padding splitline adds
    // Where the words lie in the line: word i from offset edges[2i - 2] up
    // to edges[2i - 1], exclusive.
    std::vector<int32_t> edges;
    int32_t count = 0;             // words in the line
    bool longwords = false;        // some word may be longer than 2046 characters
    bool commonline = false;       // every word is a number in the common shapes (see splitline)
    // Bit i of odd[k] set where byte 64 k + i belongs to a word that is not
    // a number in the common shapes (see splitline).
    std::vector<uint64_t> odd;
    std::vector<uint64_t> classes;  // splitline's masks of byte classes
};

// Blanks that splitline adds after a line, so that the line can be read in
// blocks and each word in fixed-size pieces without a test for its end.
constexpr size_t linepadding = 64;

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

// Word i whole; empty when there is no such word.
inline TextView wholeword(const WordList& words, int32_t i) {
    if (i < 1 || i > words.count) return {"", 0};
    const int32_t* e = &words.edges[2 * static_cast<size_t>(i) - 2];
    return {words.line.data() + e[0], e[1] - e[0]};
}

// Word i as a name: its first 20 characters; empty when there is no such word.
inline Word wordat(const WordList& words, int32_t i) { return cuttext(wholeword(words, i)); }

// Make the list empty.
void clearwords(WordList& words);

// Split the list's own line into words; the line gets `linepadding`
// blanks at its end, which belong to no word.
void splitline(WordList& words);

// Take the first `count` characters of a text as the list's line and split
// it into words.
void string2strings(const char* text, int32_t count, WordList& words);

// Keep only the words before the first one that begins with "%" (a comment).
void dropcomment(WordList& words);

// The comment a line ends with, once `dropcomment` has left its words: the
// text after the "%" signs that begin it, without leading and trailing
// blanks, cut to 255 bytes between characters; empty when the line has
// none.
Text commenttext(const WordList& words);

// Positions (1-based) of the first and last non-blank characters; both 0
// for an empty or all-blank text.
void trimbounds(const char* text, int len, int& first, int& last);

// The text without leading and trailing blanks.
Text trimblanks(const Text& text);

// The kind of a word, from all its characters.
WordKind whatis(const char* word, int32_t len);

inline WordKind whatis(TextView word) { return whatis(word.c, word.len); }

// whatis(wholeword(words, i)), found quicker for a word of a split line
// that is a number in the common shapes.
WordKind wordkind(const WordList& words, int32_t i);

template <int Cap>
inline WordKind whatis(const Str<Cap>& word) { return whatis(word.c, word.len); }

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

// A data word read in one pass, for the reader of data rows: its kind when
// it is a number that `realvalue` (integer or real) or `str2rational`
// (a/b) reads, with that very value in *value when `value` is not null.
// kindempty means "not decided here": the word may be a name, may not
// read, or lies outside the common shapes (more than 19 digits, an
// exponent of five digits or more, a part of a/b of more than five
// digits); the caller then takes the step-by-step path, which decides and
// reports.
WordKind quicksingle(const char* word, int32_t len, long double* value);

// The words first..first+n-1 of a split list read as a data row, each
// decided as by quicksingle: values[j] is set for each word j (1..n) whose
// bit j is set in `used` (the others are only checked), and `lastkind` is
// the kind of the last word.  False when a word is not decided, and then
// the values are not all set; n is at most 63.
bool quickrow(const WordList& words, int32_t first, int32_t n, uint64_t used, long double* values,
              WordKind& lastkind);

// Read n numbers from the words after position `start` into values[1..n].
// With n <= 0 every number up to word 40 is read, at least |n| of them, and
// n becomes their count.  Never ends the run.
bool getreals(const WordList& words, int32_t start, int16_t& n, long double* values);

// As `getreals`, for 16-bit integers.
bool getints(const WordList& words, int32_t start, int16_t& n, int16_t* values);
