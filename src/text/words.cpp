// words.cpp - lines split into words, with SSE2 masks 64 bytes at a time,
// and the byte-by-byte splitter that the masks are held equal to.
#include "text/words.h"

#include <emmintrin.h>

#include <cstring>

#include "text/bysteps.h"
#include "text/utf8.h"

namespace gridel::text {

void clearwords(WordList& words) {
    words.line.clear();
    words.count = 0;
}

namespace {

// The classes of bytes that splitline marks, one mask each.
enum ByteClass {
    cword,        // not blank
    cdigit,       // 0..9
    cnonzero,     // 1..9
    cpointslash,  // . or /
    cslash,       // /
    cexp,         // e or E
    cminus,       // -
    cplus,        // +
    classcount
};

// The class masks of the 64-byte block at `text`, of which the first
// `Pieces` 16-byte pieces are read and the others count as blank: bit i of
// masks[c] stands for byte i.
template <int32_t Pieces>
inline void classify(const char* text, uint64_t* masks) {
    uint64_t blank = 0, digit = 0, nonzero = 0, pointslash = 0, slash = 0, exp = 0, minus = 0, plus = 0;
    for (int32_t k = 0; k < Pieces; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * k));
        auto bits = [k](__m128i c) {
            return static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(c))) << (16 * k);
        };
        auto is = [&x](char c) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(c)); };
        const __m128i d = _mm_sub_epi8(x, _mm_set1_epi8('0'));
        const __m128i nz = _mm_sub_epi8(x, _mm_set1_epi8('1'));
        const __m128i sl = is('/');
        blank |= bits(_mm_or_si128(_mm_or_si128(is(' '), is('\t')), is(static_cast<char>(202))));
        digit |= bits(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d));
        nonzero |= bits(_mm_cmpeq_epi8(_mm_min_epu8(nz, _mm_set1_epi8(8)), nz));
        pointslash |= bits(_mm_or_si128(is('.'), sl));
        slash |= bits(sl);
        exp |= bits(_mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x20)), _mm_set1_epi8('e')));
        minus |= bits(is('-'));
        plus |= bits(is('+'));
    }
    masks[cword] = ~blank & (~uint64_t{0} >> (64 - 16 * Pieces));  // the pieces not read are blank
    masks[cdigit] = digit;
    masks[cnonzero] = nonzero;
    masks[cpointslash] = pointslash;
    masks[cslash] = slash;
    masks[cexp] = exp;
    masks[cminus] = minus;
    masks[cplus] = plus;
}

// Masks shifted by k (1..63) across blocks: bit i of `earlier` is bit i - k
// of the text (the block before fills in), bit i of `later` is bit i + k
// (the block after fills in).
inline uint64_t earlier(uint64_t m, uint64_t before, int k) { return m << k | before >> (64 - k); }
inline uint64_t later(uint64_t m, uint64_t after, int k) { return m >> k | after << (64 - k); }

// The bytes of each word from its first byte in `from` to its end: adding
// `from` to the word mask carries from that byte through the rest of the
// word and stops at the blank after it.  `carry` links the blocks.
inline uint64_t fillfrom(uint64_t word, uint64_t from, uint64_t& carry) {
    uint64_t sum;
    uint64_t c1 = __builtin_add_overflow(word, from, &sum);
    uint64_t c2 = __builtin_add_overflow(sum, carry, &sum);
    carry = c1 | c2;
    return (word & ~sum) | from;
}

// For each byte value: the positions of its bits that are set, in order,
// and their count.
struct BitPositions {
    uint8_t at[256][8];
    uint8_t count[256];
};

constexpr BitPositions bitpositiontable = [] {
    BitPositions t{};
    for (int v = 0; v < 256; ++v) {
        int n = 0;
        for (int i = 0; i < 8; ++i)
            if (v >> i & 1) t.at[v][n++] = static_cast<uint8_t>(i);
        t.count[v] = static_cast<uint8_t>(n);
    }
    return t;
}();

// base + the position of each bit set in m, in order, into out[0..]; their
// count is returned.  The mask is taken a byte at a time, each giving eight
// entries from the table, of which as many as it has bits count: up to
// seven entries past the count are written (and are written over later).
inline int32_t bitpositions(uint64_t m, int32_t base, int32_t* out) {
    int32_t n = 0;
    const __m128i zero = _mm_setzero_si128();
    for (int k = 0; k < 8; ++k) {
        const unsigned byte = static_cast<unsigned>(m >> (8 * k)) & 0xFF;
        const __m128i at = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bitpositiontable.at[byte])), zero);
        const __m128i from = _mm_set1_epi32(base + 8 * k);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n), _mm_add_epi32(_mm_unpacklo_epi16(at, zero), from));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n + 4), _mm_add_epi32(_mm_unpackhi_epi16(at, zero), from));
        n += bitpositiontable.count[byte];
    }
    return n;
}

}  // namespace

// The line is classified 64 bytes at a time into masks of its byte
// classes (the padding makes every block whole).  The mask of its non-blank
// bytes gives where words begin (non-blank after blank) and end (blank
// after non-blank), which alternate; a last word that ends with a block
// ends with the line.
//
// The other masks mark every byte of a word that is not a number in the
// common shapes:
//   ["-"] digits [ "." digits ] [ ("e"|"E") ["+"|"-"] digits ]   or
//   ["-"] digits "/" digits,
// with at most three digits in an exponent, before a "/" and after it, the
// parts of a/b not zero.  Such a word is what whatis calls an integer, a
// real or a rational, and it reads: as a real (an exponent below 1000 and,
// unless `longwords`, at most 2046 digits keep the value finite and its
// power of ten in range), or as a/b through str2int's plain path.  Each
// rule below marks the bytes where the shape is broken; blanks carry no
// marks.
void splitline(WordList& words) {
    const int32_t count = static_cast<int32_t>(words.line.size());
    words.line.append(linepadding, ' ');
    const char* text = words.line.data();
    if (words.edges.size() < static_cast<size_t>(count) + 10) words.edges.resize(static_cast<size_t>(count) + 10);
    const int32_t blocks = (count + 63) / 64;
    if (words.odd.size() < static_cast<size_t>(blocks)) words.odd.resize(static_cast<size_t>(blocks));
    // The class masks of each block, with a blank block before the first
    // and after the last; the padding makes every block whole.
    const size_t stride = classcount;
    if (words.classes.size() < stride * static_cast<size_t>(blocks + 2))
        words.classes.resize(stride * static_cast<size_t>(blocks + 2));
    uint64_t* masks = words.classes.data();
    std::memset(masks, 0, sizeof(uint64_t) * stride);
    for (int32_t b = 0; b < blocks; ++b) {
        // A last block of at most 16 bytes is classified from its first 16.
        if (count - 64 * b > 16)
            classify<4>(text + 64 * b, masks + stride * static_cast<size_t>(b + 1));
        else
            classify<1>(text + 64 * b, masks + stride * static_cast<size_t>(b + 1));
    }
    std::memset(masks + stride * static_cast<size_t>(blocks + 1), 0, sizeof(uint64_t) * stride);

    uint64_t* odd = words.odd.data();
    int32_t* edge = words.edges.data();
    int32_t nedges = 0, fullblocks = 0;
    bool longwords = false;
    uint64_t anyodd = 0;
    uint64_t fillall = 0, fillslashexp = 0;          // carries of the two fills
    uint64_t lastfromspecial = 0, lastfromslashexp = 0;  // the fills of the block before
    for (int32_t b = 0; b < blocks; ++b) {
        const uint64_t* cur = masks + stride * static_cast<size_t>(b + 1);
        const uint64_t* prev = cur - stride;
        const uint64_t* next = cur + stride;
        const uint64_t w = cur[cword], d = cur[cdigit], nz = cur[cnonzero];
        const uint64_t pointslash = cur[cpointslash], slash = cur[cslash], exp = cur[cexp];
        const uint64_t minus = cur[cminus], plus = cur[cplus];
        const uint64_t pw = prev[cword], pd = prev[cdigit], pnz = prev[cnonzero], pexp = prev[cexp];
        const uint64_t nd = next[cdigit], nnz = next[cnonzero], nslash = next[cslash];
        const uint64_t nsign = next[cminus] | next[cplus];

        const uint64_t before = earlier(w, pw, 1);
        const uint64_t first = w & ~before;
        const uint64_t sign = minus | plus;
        const uint64_t special = pointslash | exp;
        const uint64_t d1 = earlier(d, pd, 1), d2 = earlier(d, pd, 2);
        const uint64_t l1 = later(d, nd, 1), l2 = later(d, nd, 2), l3 = later(d, nd, 3);
        const uint64_t e1 = earlier(exp, pexp, 1);
        const uint64_t fromspecial = fillfrom(w, special, fillall);
        const uint64_t fromslashexp = fillfrom(w, slash | exp, fillslashexp);
        // a sign followed by a digit right after the byte
        const uint64_t signeddigit = later(sign & l1, nsign & nd >> 1, 1);
        // four digits from here on
        const uint64_t four = d & l1 & l2 & l3;
        // a non-zero digit among the (up to three) digits just before / just after
        const uint64_t nzbefore = earlier(nz, pnz, 1) | (d1 & earlier(nz, pnz, 2)) | (d1 & d2 & earlier(nz, pnz, 3));
        const uint64_t nzafter = later(nz, nnz, 1) | (l1 & later(nz, nnz, 2)) | (l1 & l2 & later(nz, nnz, 3));
        uint64_t bad = w & ~(d | special | sign);                      // a byte of no number
        bad |= minus & ~(first | e1);                                   // a minus inside, not after the letter
        bad |= plus & ~e1;                                              // a plus not after the letter
        bad |= first & ~(d | (minus & l1));                             // no digit first, after a minus
        bad |= pointslash & ~(d1 & l1);                                 // no digit each side of . or /
        bad |= exp & ~(d1 & (l1 | signeddigit));                        // no digit before the letter or after it
        bad |= pointslash & earlier(fromspecial, lastfromspecial, 1);   // . or / after . / e
        bad |= special & earlier(fromslashexp, lastfromslashexp, 1);    // anything after / or e
        bad |= four & (fromslashexp | later(slash, nslash, 4));         // four digits in an exponent, or round /
        bad |= slash & ~(nzbefore & nzafter);                           // a zero part of a/b
        odd[b] = bad;
        anyodd |= bad;
        lastfromspecial = fromspecial;
        lastfromslashexp = fromslashexp;

        // Where words begin and where they end (the byte after each), in
        // order: they alternate, a beginning first.
        uint64_t edges = first | (~w & before);
        const int32_t base = 64 * b;
        nedges += bitpositions(edges, base, edge + nedges);
        // A word of more than 2046 characters holds 31 blocks without a blank.
        fullblocks = w == ~uint64_t{0} ? fullblocks + 1 : 0;
        longwords |= fullblocks > 30;
    }
    if (nedges % 2 != 0) edge[nedges++] = count;  // a word up to a block's end
    words.count = nedges / 2;
    words.longwords = longwords;
    words.commonline = anyodd == 0;
}

// Byte by byte: a word begins at a non-blank byte after a blank (or at the
// line's start) and ends at the next blank.  No word is marked a number of
// the common shapes, so every reader above takes its step-by-step path.
void splitlinebysteps(WordList& words) {
    const int32_t count = static_cast<int32_t>(words.line.size());
    words.line.append(linepadding, ' ');
    const char* text = words.line.data();
    words.edges.clear();
    for (int32_t i = 0; i < count;) {
        while (i < count && isblankbyte(text[i])) ++i;
        if (i == count) break;
        words.edges.push_back(i);
        while (i < count && !isblankbyte(text[i])) ++i;
        words.edges.push_back(i);
    }
    words.count = static_cast<int32_t>(words.edges.size() / 2);
    words.odd.assign(static_cast<size_t>((count + 63) / 64), ~uint64_t{0});
    words.longwords = true;
    words.commonline = false;
}

void string2strings(const char* text, int32_t count, WordList& words) {
    words.line.assign(text, static_cast<size_t>(count < 0 ? 0 : count));
    splitline(words);
}

void dropcomment(WordList& words) {
    // A word of the common number shapes holds no "%".
    if (words.commonline || std::memchr(words.line.data(), '%', words.line.size()) == nullptr) return;
    for (int32_t i = 1; i <= words.count; ++i) {
        if (words.line[static_cast<size_t>(words.edges[2 * static_cast<size_t>(i) - 2])] == '%') {
            words.count = i - 1;
            return;
        }
    }
}

Text commenttext(const WordList& words) {
    size_t at = words.count > 0 ? static_cast<size_t>(words.edges[2 * static_cast<size_t>(words.count) - 1]) : 0;
    const std::string& line = words.line;
    while (at < line.size() && isblankbyte(line[at])) ++at;
    Text out;
    out.len = 0;
    if (at >= line.size() || line[at] != '%') return out;
    while (at < line.size() && line[at] == '%') ++at;
    size_t end = line.size();
    while (end > at && isblankbyte(line[end - 1])) --end;
    const char* text = line.data() + at;
    settext(out, text, wholecut(text, static_cast<int32_t>(end - at), capof(out)));
    return trimblanks(out);
}

void trimbounds(const char* text, int len, int& first, int& last) {
    int f, e;
    if (nonblankstretch(text, len, f, e)) {
        first = f + 1;
        last = e;
    } else {
        first = 0;
        last = 0;
    }
}

Text trimblanks(const Text& text) {
    int first, last;
    trimbounds(text.c, text.len, first, last);
    Text out;
    out.len = 0;
    if (last > 0) settext(out, text.c + first - 1, last - first + 1);
    return out;
}

bool commonnumbers(const WordList& words, int32_t from, int32_t to) {
    const uint64_t* odd = words.odd.data();
    int32_t b = from / 64, last = (to - 1) / 64;
    uint64_t marks = odd[b] & (~uint64_t{0} << (from % 64));
    while (b < last) {
        if (marks != 0) return false;
        marks = odd[++b];
    }
    return (marks & (~uint64_t{0} >> (63 - (to - 1) % 64))) == 0;
}

}  // namespace gridel::text
