// words.h - lines split into words: the bottom room of the token reader.
//
// Blanks are tab, space and the byte 202, and nothing else: every other byte
// (control characters included) belongs to a word.  A split line also
// carries masks that mark every word that is not a number in the common
// shapes, which the rooms above read to take such words quickly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/fixedtext.h"

namespace gridel::text {

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

inline bool isblankbyte(char ch) {
    return ch == ' ' || ch == '\t' || static_cast<unsigned char>(ch) == 202;
}

// The non-blank stretch text[first..end-1] of a text (0-based, end
// exclusive); false when every character is blank.  Scans from both ends,
// so a word without blanks around it costs two tests.
inline bool nonblankstretch(const char* text, int32_t len, int32_t& first, int32_t& end) {
    int32_t f = 0;
    while (f < len && isblankbyte(text[f])) ++f;
    if (f == len) return false;
    int32_t e = len;
    while (isblankbyte(text[e - 1])) --e;
    first = f;
    end = e;
    return true;
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

// True when no word in the bytes from..to-1 of a split line is marked odd
// (from < to): each is a number in the common shapes.
bool commonnumbers(const WordList& words, int32_t from, int32_t to);

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

}  // namespace gridel::text
