// wordkinds.h - what a word is: empty, an integer, a real, a rational a/b
// or anything else (a name or a keyword), from all its characters.
#pragma once

#include <cstdint>

#include "text/fixedtext.h"
#include "text/words.h"

namespace gridel::text {

// What `whatis` finds a word to be.
enum WordKind : int16_t {
    kindempty = 0,     // no non-blank character
    kindinteger = 1,   // optional "-", then digits
    kindreal = 2,      // digits with a fraction part, an exponent part, or both
    kindrational = 3,  // digits "/" digits
    kindother = 4,     // anything else: names and keywords
};

inline bool isdigitbyte(char ch) { return static_cast<unsigned char>(ch - '0') <= 9; }

// The kind of a word, from all its characters.
WordKind whatis(const char* word, int32_t len);

inline WordKind whatis(TextView word) { return whatis(word.c, word.len); }

template <int Cap>
inline WordKind whatis(const Str<Cap>& word) { return whatis(word.c, word.len); }

// whatis(wholeword(words, i)), found quicker for a word of a split line
// that is a number in the common shapes.
WordKind wordkind(const WordList& words, int32_t i);

// The kind of a word of a split line that `commonnumbers` passes: a/b is
// rational, a word with a point or an exponent real, digits alone an
// integer.
WordKind commonkind(const char* word, int32_t len);

}  // namespace gridel::text
