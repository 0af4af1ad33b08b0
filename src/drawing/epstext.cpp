// epstext.cpp - epsmarkedtext: a text in pieces, strings and glyph outlines.
#include "drawing/epstext.h"

#include "drawing/epscanvas.h"
#include "drawing/markedtext.h"
#include "text/numfmt.h"
#include "text/utf8.h"

namespace gridel::drawing {

const char* const epsmarkedfonts = "/Helvetica-BoldOblique-Latin1 /Helvetica-BoldOblique latin1font";

namespace {

// Whether the Latin-1 fonts show the code point: ISOLatin1Encoding's
// printable ASCII and its upper half.
bool latin1shown(int32_t code) { return (code >= 0x20 && code < 0x7F) || (code >= 0xA0 && code <= 0xFF); }

// A number of the text's lines: two decimals, as every page coordinate.
void number(std::string& out, long double v) {
    if (!(v >= -1e20L && v <= 1e20L)) v = 0;  // never reached by a text that is drawn
    char text[24];
    out.append(text, static_cast<size_t>(text::writefixed(text, v, 2)));
}

void point(std::string& out, long double x, long double y) {
    number(out, x);
    out += ' ';
    number(out, y);
}

// ISOLatin1Encoding has a minus sign at the code of "-", and the hyphen
// at 0xAD: each "-" is written as the latter, the character the other
// formats draw.
std::string hyphened(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        if (c == '-')
            out += "\xC2\xAD";
        else
            out += c;
    }
    return out;
}

const char* fontname(const TextStyle& s) {
    if (s.bold) return s.italic ? "/Helvetica-BoldOblique-Latin1" : "/Helvetica-Bold-Latin1";
    return s.italic ? "/Helvetica-Oblique-Latin1" : "/Helvetica-Latin1";
}

// A stretch of a piece that is either shown as a string or drawn as
// outlines, starting `x` points along from the text's start.
struct Stretch {
    std::string utf8;
    bool outlined;
    long double x;
};

std::vector<Stretch> stretches(const SetPiece& p, TextSetter& setter) {
    std::vector<Stretch> out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(p.utf8.data());
    int32_t len = static_cast<int32_t>(p.utf8.size());
    for (int32_t i = 0; i < len;) {
        int n = text::utf8sequence(s + i, len - i);
        if (n <= 0) n = 1;  // never: the piece is drawable UTF-8
        bool outlined = !latin1shown(text::utf8code(s + i, n));
        if (out.empty() || out.back().outlined != outlined) out.push_back({"", outlined, 0});
        out.back().utf8.append(p.utf8, static_cast<size_t>(i), static_cast<size_t>(n));
        i += n;
    }
    long double x = p.x;
    for (Stretch& st : out) {
        st.x = x;
        x += setter.set(st.utf8, p.style);
    }
    return out;
}

}  // namespace

bool epsmarked(text::TextView text, const TextLook& look) {
    if (ismarked(text, look)) return true;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.c);
    for (int32_t i = 0; i < text.len;) {
        int n = text::utf8sequence(s + i, text.len - i);
        if (n > 0 && text::utf8code(s + i, n) > 0xFF) return true;
        i += n > 0 ? n : 1;
    }
    return false;
}

std::vector<std::string> epsmarkedtext(long double px, long double py, text::TextView text, TextRole role,
                                       const TextLook& look, TextSetter& setter) {
    SetText set = setmarked(text, look, setter);
    std::vector<std::string> lines;
    lines.emplace_back("gsave");
    std::string place;
    point(place, px, py);
    place += look.turned ? " translate 90 rotate" : " translate";
    lines.push_back(place);
    long double back = role == TextRole::centred ? set.width / 2 : role == TextRole::right ? set.width : 0;
    // One pass draws the halo (charpaths and outlines, stroked), the other
    // the text.
    for (bool halo : {true, false}) {
        if (halo && !(look.halo > 0)) continue;
        if (halo) lines.emplace_back("newpath");
        for (const SetPiece& p : set.pieces) {
            std::string font = fontname(p.style);
            font += " findfont ";
            number(font, p.style.size);
            font += " scalefont setfont";
            lines.push_back(font);
            for (const Stretch& st : stretches(p, setter)) {
                long double x0 = st.x - back, y0 = p.rise;
                if (!st.outlined) {
                    std::string at;
                    point(at, x0, y0);
                    lines.push_back(at + " moveto");
                    std::string shown = hyphened(st.utf8);
                    std::vector<std::string> string = latin1string({shown.data(), static_cast<int32_t>(shown.size())});
                    string.back() += halo ? " false charpath" : " show";
                    lines.insert(lines.end(), string.begin(), string.end());
                    continue;
                }
                setter.set(st.utf8, p.style);
                for (const OutlineStep& o : setter.outline()) {
                    std::string step;
                    switch (o.kind) {
                        case OutlineStep::move: point(step, x0 + o.x[2], y0 + o.y[2]), step += " moveto"; break;
                        case OutlineStep::line: point(step, x0 + o.x[2], y0 + o.y[2]), step += " lineto"; break;
                        case OutlineStep::curve:
                            for (int k = 0; k < 3; ++k) {
                                point(step, x0 + o.x[k], y0 + o.y[k]);
                                step += ' ';
                            }
                            step += "curveto";
                            break;
                        case OutlineStep::close: step = "closepath"; break;
                    }
                    lines.push_back(step);
                }
                if (!halo) lines.emplace_back("fill");
            }
        }
        if (halo) {
            std::string stroke = "gsave 1 setgray ";
            number(stroke, look.halo);
            stroke += " setlinewidth 1 setlinejoin stroke grestore newpath";
            lines.push_back(stroke);
        }
    }
    lines.emplace_back("grestore");
    return lines;
}

}  // namespace gridel::drawing
