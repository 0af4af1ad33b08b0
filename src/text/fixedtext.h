// fixedtext.h - fixed-capacity texts: a length and the bytes, never allocated.
//
// Every text of the program has a capacity fixed at compile time: 255
// characters for lines and messages (`Text`), 20 for words and names
// (`Word`).  Longer input is cut, never rejected.  Texts may hold any byte,
// NUL included, so they are never handled as C strings.
#pragma once

#include <cstdint>
#include <cstring>

#include "text/utf8.h"

namespace gridel::text {

template <int Cap>
struct Str {
    int16_t len;        // characters in use, 0..Cap
    char c[Cap];        // the characters; only c[0..len-1] are meaningful
};

using Text = Str<255>;  // a line, a message, a file name
using Word = Str<20>;   // a word of input, a name, a short number text

// A stretch of characters owned by someone else (a whole word of a line,
// which may be longer than any fixed text).
struct TextView {
    const char* c;  // the first character
    int32_t len;    // characters in the stretch
};

template <int Cap>
inline TextView viewof(const Str<Cap>& t) { return {t.c, t.len}; }

// Capacity of a text type, for the line-buffer operations that take it.
template <int Cap>
constexpr int16_t capof(const Str<Cap>&) { return Cap; }

// Replace the text by n bytes of s, cut to the capacity.
template <int Cap>
inline void settext(Str<Cap>& t, const char* s, int n) {
    if (n > Cap) n = Cap;
    if (n < 0) n = 0;
    std::memcpy(t.c, s, static_cast<size_t>(n));
    t.len = static_cast<int16_t>(n);
}

template <int Cap>
inline void settext(Str<Cap>& t, const char* s) { settext(t, s, static_cast<int>(std::strlen(s))); }

template <int Cap, int Cap2>
inline void settext(Str<Cap>& t, const Str<Cap2>& s) { settext(t, s.c, s.len); }

// Append n bytes of s; whatever passes the capacity is dropped.
template <int Cap>
inline void addtext(Str<Cap>& t, const char* s, int n) {
    int room = Cap - t.len;
    if (n > room) n = room;
    if (n <= 0) return;
    std::memcpy(t.c + t.len, s, static_cast<size_t>(n));
    t.len = static_cast<int16_t>(t.len + n);
}

template <int Cap>
inline void addtext(Str<Cap>& t, const char* s) { addtext(t, s, static_cast<int>(std::strlen(s))); }

template <int Cap, int Cap2>
inline void addtext(Str<Cap>& t, const Str<Cap2>& s) { addtext(t, s.c, s.len); }

// Exact, case-sensitive comparisons.
template <int Cap, int Cap2>
inline bool sametext(const Str<Cap>& a, const Str<Cap2>& b) {
    return a.len == b.len && std::memcmp(a.c, b.c, static_cast<size_t>(a.len)) == 0;
}

template <int Cap>
inline bool istext(const Str<Cap>& a, const char* lit) {
    size_t n = std::strlen(lit);
    return static_cast<size_t>(a.len) == n && std::memcmp(a.c, lit, n) == 0;
}

inline bool istext(TextView a, const char* lit) {
    size_t n = std::strlen(lit);
    return a.len >= 0 && static_cast<size_t>(a.len) == n && std::memcmp(a.c, lit, n) == 0;
}

// Build a text from a literal in one expression.
template <int Cap = 255>
inline Str<Cap> maketext(const char* s) {
    Str<Cap> t;
    settext(t, s);
    return t;
}

// The first characters of a stretch, as many as the text holds: how a whole
// word becomes a name, a keyword or the word quoted in a message.  A UTF-8
// character that would be split is left out whole (see wholecut).
template <int Cap = 20>
inline Str<Cap> cuttext(TextView v) {
    Str<Cap> t;
    settext(t, v.c, static_cast<int>(wholecut(v.c, v.len, Cap)));
    return t;
}

// Copy a text into a C string for the operating system (file names).  Fails
// when the text holds a NUL byte, which no file name can contain.
template <int Cap>
inline bool tocstring(const Str<Cap>& t, char (&out)[Cap + 1]) {
    if (std::memchr(t.c, 0, static_cast<size_t>(t.len)) != nullptr) return false;
    std::memcpy(out, t.c, static_cast<size_t>(t.len));
    out[t.len] = '\0';
    return true;
}

}  // namespace gridel::text
