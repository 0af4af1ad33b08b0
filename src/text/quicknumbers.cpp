// quicknumbers.cpp - data words and data rows read in one pass: the digits
// gathered in a 64-bit integer, and for a word of at most 16 characters the
// shape read off SSE2 masks, so that no loop runs over the characters.
// Each word is decided exactly as the plain readers decide it, or left to
// them.
#include "text/quicknumbers.h"

#include <emmintrin.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "text/numbers.h"

namespace gridel::text {

namespace {

// The end of a one-pass read of a real: `gathered` holds every digit (at
// most 19, so exactly), `exponent` is the one written less the digits
// after the point.  The value is taken with readdecimal's own steps: the
// integer widened, its sign, times the power of ten.  It is finite unless
// the power of ten passes about 10^4913 (the digits are below 10^19);
// beyond 10^4000 it is computed and tested as realvalue tests it.
inline WordKind quickreal(uint64_t gathered, bool negative, int32_t exponent, long double* value) {
    if (gathered == 0) exponent = 0;  // zero digits read as "0" with no exponent
    if (value != nullptr || exponent > 4000) {
        long double v = static_cast<long double>(gathered);
        if (negative) v = -v;
        v *= pow10(exponent);
        if (exponent > 4000 && !std::isfinite(v)) return kindempty;
        if (value != nullptr) *value = v;
    }
    return kindreal;
}

// The end of a one-pass read of a/b, each of one to five digits: str2int's
// own fast path takes each part (1..32766, the numerator negated by its
// minus), str2rational then wants both non-zero.
inline WordKind quickrational(uint64_t numerator, bool negative, uint64_t denominator, long double* value) {
    if (numerator == 0 || numerator >= 32767 || denominator == 0 || denominator >= 32767) return kindempty;
    if (value != nullptr) {
        int32_t a = static_cast<int32_t>(numerator);
        *value = rationalvalue(static_cast<int16_t>(negative ? -a : a), static_cast<int16_t>(denominator));
    }
    return kindrational;
}

}  // namespace

// One pass over the word: the digits gathered in a 64-bit integer as
// readdecimal gathers them (at most 19 digits, leading zeros included, so
// that all are exact), the exponent written, and the shape, which is the
// one `whatis` accepts for a number without inner blanks.
WordKind quicksingle(const char* word, int32_t len, long double* value) {
    const char* p = word;
    const char* end = word + len;
    if (len <= 0) return kindempty;
    bool negative = *p == '-';
    p += negative;
    const char* digits = p;
    uint64_t gathered = 0;
    while (p < end && isdigitbyte(*p)) gathered = gathered * 10 + static_cast<uint64_t>(*p++ - '0');
    int32_t nwhole = static_cast<int32_t>(p - digits);
    if (nwhole == 0 || nwhole > 19) return kindempty;
    if (p == end) {
        if (value != nullptr) {
            long double v = static_cast<long double>(gathered);
            *value = negative ? -v : v;  // times 10^0, which is 1
        }
        return kindinteger;
    }
    if (*p == '/') {
        const char* q = ++p;
        uint64_t d = 0;
        while (p < end && p - q < 5 && isdigitbyte(*p)) d = d * 10 + static_cast<uint64_t>(*p++ - '0');
        if (p != end || nwhole > 5) return kindempty;
        return quickrational(gathered, negative, d, value);
    }
    int32_t nfrac = 0;
    if (*p == '.') {
        const char* q = ++p;
        while (p < end && isdigitbyte(*p)) gathered = gathered * 10 + static_cast<uint64_t>(*p++ - '0');
        nfrac = static_cast<int32_t>(p - q);
        if (nfrac == 0 || nwhole + nfrac > 19) return kindempty;
    }
    int32_t exponent = 0;
    if (p < end) {
        if (*p != 'e' && *p != 'E') return kindempty;
        ++p;
        bool below = false;
        if (p < end && (*p == '+' || *p == '-')) below = *p++ == '-';
        const char* q = p;
        while (p < end && p - q < 4 && isdigitbyte(*p)) exponent = exponent * 10 + (*p++ - '0');
        if (p != end || p == q) return kindempty;
        if (below) exponent = -exponent;
    }
    return quickreal(gathered, negative, exponent - nfrac, value);
}

namespace {

static_assert(std::endian::native == std::endian::little, "the word masks take the first byte as the lowest");

// The value of the k digits from p (1 <= k <= 8), with 8 bytes readable
// from p: the eight bytes less '0' each, shifted so that the bytes after
// the digits fall out (a byte that is not a digit may borrow only from the
// bytes above it), then folded in pairs, fours and eights.
inline uint64_t eightdigits(const char* p, int32_t k) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    v -= 0x3030303030303030u;
    v <<= 8 * (8 - k);
    v = v * 10 + (v >> 8);
    return (((v & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
            (((v >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >> 32;
}

// The value of the k digits from p (0 <= k <= 16), with 16 bytes readable.
inline uint64_t digitsvalue(const char* p, int32_t k) {
    if (k <= 0) return 0;
    if (k <= 8) return eightdigits(p, k);
    return eightdigits(p, k - 8) * 100000000u + eightdigits(p + k - 8, 8);
}

const uint64_t tenpowers[16] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000,
                                1000000000, 10000000000, 100000000000, 1000000000000, 10000000000000,
                                100000000000000, 1000000000000000};

// quicksingle for a word of 1..16 characters with 32 bytes readable from
// its start (the padding of a split line gives them): one 16-byte load gives the mask of the characters that are
// not digits, and the shape is read off their positions (a leading minus;
// then "/", "." or an exponent letter; after a point the letter; after the
// letter a sign), so that no loop runs over the characters.
inline WordKind quickword(const char* w, int32_t len, long double* value) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
    const __m128i d = _mm_sub_epi8(x, _mm_set1_epi8('0'));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d);
    const int32_t s = w[0] == '-';
    uint32_t other = ~static_cast<uint32_t>(_mm_movemask_epi8(digit)) & ((1u << len) - 1) & ~static_cast<uint32_t>(s);
    if (other == 0) {  // ["-"] digits
        if (len == s) return kindempty;
        if (value != nullptr) {
            long double v = static_cast<long double>(digitsvalue(w + s, len - s));
            *value = s ? -v : v;
        }
        return kindinteger;
    }
    const int32_t p1 = std::countr_zero(other);
    const int32_t whole = p1 - s;
    if (whole == 0) return kindempty;
    uint32_t rest = other & (other - 1);  // the characters after p1 that are not digits
    const char c1 = w[p1];
    if (c1 == '/') {
        const int32_t below = len - p1 - 1;
        if (rest != 0 || whole > 5 || below > 5) return kindempty;
        return quickrational(digitsvalue(w + s, whole), s, digitsvalue(w + p1 + 1, below), value);
    }
    int32_t frac = 0;
    int32_t pe = p1;  // the exponent letter, or len
    if (c1 == '.') {
        if (rest == 0) {
            pe = len;
        } else {
            pe = std::countr_zero(rest);
            rest &= rest - 1;
        }
        frac = pe - p1 - 1;
        if (frac == 0) return kindempty;
    }
    int32_t exponent = 0;
    if (pe < len) {
        if ((w[pe] | 0x20) != 'e') return kindempty;
        int32_t q = pe + 1;
        bool below = false;
        if (rest != 0) {  // only a sign right after the letter
            if (rest != 1u << q || (w[q] != '-' && w[q] != '+')) return kindempty;
            below = w[q] == '-';
            ++q;
        }
        const int32_t ne = len - q;
        if (ne == 0 || ne > 4) return kindempty;
        // Below four digits the exponent cannot pass 4000: a value not
        // asked for needs no exponent.
        if (value != nullptr || ne == 4) {
            exponent = static_cast<int32_t>(eightdigits(w + q, ne));
            if (below) exponent = -exponent;
        }
    }
    if (value == nullptr && exponent <= 4000) return kindreal;  // the digits cannot make it overflow
    uint64_t gathered = digitsvalue(w + s, whole) * tenpowers[frac] + digitsvalue(w + p1 + 1, frac);
    return quickreal(gathered, s, exponent - frac, value);
}

}  // namespace

bool quickrow(const WordList& words, int32_t first, int32_t n, uint64_t used, long double* values,
              WordKind& lastkind) {
    if (n < 1 || n > 63) return false;
    const char* line = words.line.data();
    const int32_t* edge = &words.edges[2 * static_cast<size_t>(first) - 2];  // word j: edge[2j - 2..2j - 1]
    if (!words.longwords && commonnumbers(words, edge[0], edge[2 * n - 1])) {
        // Every word reads: only the columns used are converted.
        bool converted = true;
        for (uint64_t u = used & (~uint64_t{0} >> (63 - n)) & ~uint64_t{1}; u != 0 && converted; u &= u - 1) {
            int32_t j = std::countr_zero(u);
            const char* w = line + edge[2 * j - 2];
            int32_t len = edge[2 * j - 1] - edge[2 * j - 2];
            converted = (len > 16 ? quicksingle(w, len, &values[j]) : quickword(w, len, &values[j])) != kindempty;
        }
        if (converted) {
            lastkind = commonkind(line + edge[2 * n - 2], edge[2 * n - 1] - edge[2 * n - 2]);
            return true;
        }
    }
    // Word by word.
    WordKind kind = kindempty;
    for (int32_t j = 1; j <= n; ++j) {
        const char* w = line + edge[2 * j - 2];
        int32_t len = edge[2 * j - 1] - edge[2 * j - 2];
        long double* value = (used >> j & 1) != 0 ? &values[j] : nullptr;
        kind = len > 16 ? quicksingle(w, len, value) : quickword(w, len, value);
        if (kind == kindempty) return false;
    }
    lastkind = kind;
    return true;
}

}  // namespace gridel::text
