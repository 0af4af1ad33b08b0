// linebuffer.cpp - appendfield, appendreal and appendint.
#include "text/linebuffer.h"

#include "text/numfmt.h"

namespace gridel::text {

namespace {

// appendfield itself, inlined into appendreal, whose numbers are the most
// frequent field.
inline void appendpadded(const char* text, int len, int16_t width, LineBuffer& buffer, int16_t capacity) {
    if (buffer.closed) return;
    Text& line = buffer.text;
    int lnow = line.len;
    if (capacity > 255) capacity = 255;
    // The padded form: fill on the left for a positive width, on the right
    // for a negative one; a text longer than its field is never cut.
    int fill = 0;
    if (width > 0) fill = width - len;
    if (width < 0) fill = -width - len;
    if (fill < 0) fill = 0;
    if (lnow > 0 && lnow + len > 250) {  // the fill is not counted here
        // The mark is appended and the line cut to its capacity: a line
        // already full keeps its characters and takes no mark.
        if (lnow < capacity) {
            line.c[lnow] = overflowmark;
            line.len = static_cast<int16_t>(lnow + 1);
        }
        buffer.closed = true;
        return;
    }
    char* out = line.c;
    int at = lnow;
    if (width > 0 && fill > 0) {
        int n = fill < capacity - at ? fill : capacity - at;
        if (n > 0) {
            std::memset(out + at, ' ', static_cast<size_t>(n));
            at += n;
        }
    }
    {
        int n = len < capacity - at ? len : capacity - at;
        if (n > 0) {
            std::memcpy(out + at, text, static_cast<size_t>(n));
            at += n;
        }
    }
    if (width < 0 && fill > 0) {
        int n = fill < capacity - at ? fill : capacity - at;
        if (n > 0) {
            std::memset(out + at, ' ', static_cast<size_t>(n));
            at += n;
        }
    }
    line.len = static_cast<int16_t>(at);
}

}  // namespace

void appendfield(const char* text, int len, int16_t width, LineBuffer& line, int16_t capacity) {
    appendpadded(text, len, width, line, capacity);
}

void appendreal(int16_t digits, bool fixed, int16_t width, LineBuffer& buffer, int16_t capacity,
                long double x) {
    Word t = real2str(x, digits, fixed);
    Text& line = buffer.text;
    int lnow = line.len;
    int fill = (width > 0 ? width : -width) - t.len;
    // The common case, a number with at most 16 characters of fill on a
    // line far from its limits (so no mark and no cut can apply): whole
    // blocks of fill and characters are copied (what lies past the line's
    // length means nothing), then the length is set.  Anything else goes
    // by the rules.
    if (capacity >= 255 && lnow + 40 <= 255 && fill <= 16 && !buffer.closed) {
        char* out = line.c + lnow;
        if (width > 0 && fill > 0) {
            std::memset(out, ' ', 16);
            out += fill;
        }
        std::memcpy(out, t.c, 20);
        out += t.len;
        if (width < 0 && fill > 0) {
            std::memset(out, ' ', 16);
            out += fill;
        }
        line.len = static_cast<int16_t>(out - line.c);
        return;
    }
    appendpadded(t.c, t.len, width, buffer, capacity);
}

void appendint(int16_t width, LineBuffer& line, int16_t capacity, long double x) {
    Word t = real2intstr(x);
    appendfield(t.c, t.len, width, line, capacity);
}

}  // namespace gridel::text
