// utf8.cpp - drawabletext and isdrawable.
#include "text/utf8.h"

namespace gridel::text {

namespace {

// The code point of the valid sequence of n bytes at s.
uint32_t decode(const unsigned char* s, int n) {
    if (n == 1) return s[0];
    uint32_t c = s[0] & (0x7F >> n);
    for (int k = 1; k < n; ++k) c = c << 6 | (s[k] & 0x3F);
    return c;
}

// Calls `keep(from, n)` for each stretch of bytes that stays as it is and
// `replace()` for each byte or character that becomes U+FFFD; stops when
// one of them returns false.
template <class Keep, class Replace>
void scan(const char* text, int32_t len, Keep keep, Replace replace) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    int32_t kept = 0;  // start of the stretch not yet handed on
    for (int32_t i = 0; i < len;) {
        int n = utf8sequence(s + i, len - i);
        if (n > 0 && drawablechar(decode(s + i, n))) {
            i += n;
            continue;
        }
        if (i > kept && !keep(kept, i - kept)) return;
        if (!replace()) return;
        i += n > 0 ? n : 1;
        kept = i;
    }
    if (len > kept) keep(kept, len - kept);
}

}  // namespace

std::string drawabletext(const char* text, int32_t len) {
    std::string out;
    out.reserve(static_cast<size_t>(len > 0 ? len : 0));
    scan(
        text, len,
        [&](int32_t from, int32_t n) {
            out.append(text + from, static_cast<size_t>(n));
            return true;
        },
        [&] {
            out += replacementchar;
            return true;
        });
    return out;
}

bool isdrawable(const char* text, int32_t len) {
    bool drawable = true;
    scan(
        text, len, [](int32_t, int32_t) { return true; },
        [&] {
            drawable = false;
            return false;
        });
    return drawable;
}

}  // namespace gridel::text
