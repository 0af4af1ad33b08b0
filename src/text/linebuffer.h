// linebuffer.h - output lines assembled field by field: `appendfield`,
// `appendreal` and `appendint` put a text or a number into a field of a
// given width, and a line that would pass 250 characters ends in the
// overflow mark instead of its later fields.
#pragma once

#include <cstdint>
#include <cstring>

#include "text/fixedtext.h"

namespace gridel::text {

// Byte that ends a line buffer that would have passed 250 characters.
constexpr char overflowmark = static_cast<char>(0xA4);

// A line assembled field by field.  A field that would take it past 250
// characters is replaced by the overflow mark, and the line is closed:
// later fields are dropped.  It knows it is closed by its own flag, so a
// byte 0xA4 that comes from the input is an ordinary character.
struct LineBuffer {
    Text text;    // the line so far
    bool closed;  // the overflow mark was written; nothing more is taken
};

inline void clearline(LineBuffer& line) {
    line.text.len = 0;
    line.closed = false;
}

// Start the line with a text (cut to its capacity).
inline void setline(LineBuffer& line, const char* s) {
    settext(line.text, s);
    line.closed = false;
}

constexpr int16_t capof(const LineBuffer&) { return 255; }

// Append a text to a line buffer in a field of the given width (0: no fill,
// positive: right-aligned, negative: left-aligned).  A line that would pass
// 250 characters gets the overflow mark instead and takes nothing more.
void appendfield(const char* text, int len, int16_t width, LineBuffer& line, int16_t capacity);

inline void appendfield(const char* text, int16_t width, LineBuffer& line, int16_t capacity) {
    appendfield(text, static_cast<int>(std::strlen(text)), width, line, capacity);
}

template <int Cap>
inline void appendfield(const Str<Cap>& text, int16_t width, LineBuffer& line, int16_t capacity) {
    appendfield(text.c, text.len, width, line, capacity);
}

// Append x written by `real2str` with the given digit count.
void appendreal(int16_t digits, bool fixed, int16_t width, LineBuffer& line, int16_t capacity,
                long double x);

// Append x rounded to an integer by `real2intstr`.
void appendint(int16_t width, LineBuffer& line, int16_t capacity, long double x);

}  // namespace gridel::text
