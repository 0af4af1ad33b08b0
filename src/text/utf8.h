// utf8.h - UTF-8 sequences in texts that may hold any byte.
#pragma once

#include <cstdint>

// The length of a valid UTF-8 sequence at s[0..n), 0 when none starts
// there (a stray or overlong byte, a surrogate, a code beyond U+10FFFF).
int utf8sequence(const unsigned char* s, int32_t n);

// The character code of a valid sequence of `len` bytes at s.
int32_t utf8code(const unsigned char* s, int len);
