// bysteps.h - the step-by-step counterparts of the text floor's fast paths,
// for the rooms that fall back on them and for the differential tests that
// hold each fast path to its counterpart, bit for bit.  Not for the floors
// above: they use the fast paths, which give the same results.
#pragma once

#include <cstdint>

#include "text/fixedtext.h"
#include "text/numfmt.h"
#include "text/words.h"

namespace gridel::text {

// Declared here without its values, so that the room of words, which
// defines the first counterpart, sees nothing of the rooms above it.
enum WordKind : int16_t;

// splitline byte by byte: the same words, and no word marked a number of
// the common shapes (`longwords` set, every byte odd), so that every
// reader of the list takes its step-by-step path.
void splitlinebysteps(WordList& words);

// whatis by the character-by-character rules alone.
WordKind whatisbysteps(const char* word, int32_t len);

// realvalue, str2real and str2int with every digit folded into the value
// one at a time in 80-bit arithmetic, and no quick path for short integers.
bool realvaluebysteps(const char* text, int32_t len, long double& value);
bool str2realbysteps(const char* text, int32_t len, long double& value, Text& message);
bool str2intbysteps(const char* text, int32_t len, int16_t& value, Text& message);

// real2str through real2decimal and decimal2str alone, without the direct
// fixed form.
Word real2strbysteps(long double x, int16_t n, bool fixed);

}  // namespace gridel::text
