// fidelity.cpp - rasterising, comparing, and the UTF-8 reference EPS.
#include "fidelity/fidelity.h"

#include <cairo.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fidelity {

namespace {

// The tolerance.  Ghostscript and cairo do not paint the same pixels for
// the same shapes: edges are antialiased differently, a glyph may sit up
// to half a pixel elsewhere (both tools put glyph images on whole pixels,
// an SVG viewer draws them as outlines where they fall), and Ghostscript
// widens thin strokes unless told not to (see ghostscript below).  So both
// rasters are first blurred with the 5-tap binomial kernel (about one
// pixel, 1/4 point at 288 dpi), and a pixel of one raster is matched with
// the best of the 3x3 pixels round the same place in the other, both ways;
// its difference is the largest over red, green and blue.
//
// Calibrated on the examples and the generated diagrams at 288 dpi (see
// fidelity_test.cpp).  Correct outputs: the worst pixel is 20 in the PDF
// (painted by Ghostscript too), 24 in the PNG and 47 in the SVG (glyph
// edges half a pixel apart); at most 0.16% of the pixels are above 20
// (the SVG of the most text-laden diagram).  Altered drawings: the window
// box moved by 1 point puts 4000 pixels above 64, a label moved by half a
// point 88, a dashed line drawn solid 313; a missing fill of the lightest
// grey in use (0.87, 33 from white) puts 9.6% of the page above 20, a
// darker one 7% above 64.  What passes: a thin line's colour off by a
// fifth (worst 51).
constexpr int strongthreshold = 64;
constexpr long strongallowed = 20;
constexpr int faintthreshold = 20;
constexpr double faintallowed = 0.01;

// The 5-tap binomial blur (1 4 6 4 1)/16, along rows and then columns,
// the edges repeated.
std::vector<unsigned char> blur(const Raster& r) {
    std::vector<int> rows(r.rgb.size());
    std::vector<unsigned char> out(r.rgb.size());
    const int k[5] = {1, 4, 6, 4, 1};
    auto at = [&](int x, int y, int c) {
        return (static_cast<size_t>(y) * static_cast<size_t>(r.width) + static_cast<size_t>(x)) * 3 +
               static_cast<size_t>(c);
    };
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            for (int c = 0; c < 3; ++c) {
                int s = 0;
                for (int d = -2; d <= 2; ++d) s += k[d + 2] * r.rgb[at(std::clamp(x + d, 0, r.width - 1), y, c)];
                rows[at(x, y, c)] = s;
            }
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            for (int c = 0; c < 3; ++c) {
                int s = 0;
                for (int d = -2; d <= 2; ++d) s += k[d + 2] * rows[at(x, std::clamp(y + d, 0, r.height - 1), c)];
                out[at(x, y, c)] = static_cast<unsigned char>((s + 128) / 256);
            }
    return out;
}

// Run a shell command; its output, and whether it ended with status 0.
bool runcommand(const std::string& command, std::string& output) {
    output.clear();
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (p == nullptr) return false;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) output.append(buffer, n);
    int status = pclose(p);
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string tool(const std::string& command) {
    std::string output;
    if (runcommand(command, output) && output.empty()) return "";
    return command + "\n" + output;
}

// Ghostscript painting shapes as they are: no fill adjustment and no
// stroke adjustment, which would widen thin lines to whole pixels.  Text
// and shapes antialiased with 4 bits, as close as it comes to cairo.
std::string ghostscript(const std::string& input, const std::string& png, bool eps) {
    return tool("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r" + std::to_string(dpi) +
                " -dTextAlphaBits=4 -dGraphicsAlphaBits=4" + (eps ? " -dEPSCrop" : "") +
                " -sOutputFile=" + quoted(png) + " -c '0 0 .setfilladjust2 false setstrokeadjust' -f " +
                quoted(input));
}

// The code a character gets in the reference EPS's font; 0 for none.
int referencecode(unsigned long c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    switch (c) {
        case 0x3B1: return 128;  // alpha
        case 0x3B2: return 129;  // beta
        case 0x3B3: return 130;  // gamma
        case 0x3B4: return 131;  // delta
        case 0x394: return 132;  // Delta (the Greek letter, not the increment sign)
        default: return 0;
    }
}

const char* referencefont =
    "/Helvetica findfont dup length dict begin\n"
    "  {1 index /FID ne {def} {pop pop} ifelse} forall\n"
    "  /Encoding StandardEncoding 256 array copy def\n"
    "  160 1 255 {Encoding exch dup ISOLatin1Encoding exch get put} for\n"
    "  Encoding 128 /alpha put Encoding 129 /beta put Encoding 130 /gamma put\n"
    "  Encoding 131 /delta put Encoding 132 /uni0394 put\n"
    "currentdict end /Helvetica-Latin exch definefont pop\n";

// The bytes of a PostScript string's contents.
std::string unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        if (c >= '0' && c <= '7') {
            int v = 0;
            for (int n = 0; n < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++n, ++i) v = v * 8 + (s[i] - '0');
            --i;
            out += static_cast<char>(v);
        } else {
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
        }
    }
    return out;
}

// UTF-8 bytes as the reference font's codes.  A byte outside a valid
// sequence, which the other formats show as U+FFFD, has no reference.
std::string recode(const std::string& bytes) {
    std::string out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        unsigned long c = s[i];
        size_t len = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : 1;
        bool valid = len > 1 && i + len <= n;
        for (size_t k = 1; valid && k < len; ++k) valid = (s[i + k] & 0xC0) == 0x80;
        if (valid) {
            c = len == 2 ? (c & 0x1F) << 6 | (s[i + 1] & 0x3F)
                         : (c & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F);
            i += len;
        } else {
            if (c >= 0x80) c = 0xFFFD;
            ++i;
        }
        int code = referencecode(c);
        unsigned char b = static_cast<unsigned char>(code != 0 ? code : '?');
        if (b == '(' || b == ')' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
        } else if (b >= 0x80) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", b);
            out += octal;
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

}  // namespace

Difference compare(const Raster& a, const Raster& b) {
    Difference d;
    d.samesize = a.width == b.width && a.height == b.height;
    if (!d.samesize || a.width == 0) return d;
    std::vector<unsigned char> pa = blur(a), pb = blur(b);
    int w = a.width, h = a.height;
    auto pixel = [w](const std::vector<unsigned char>& p, int x, int y) { return &p[(static_cast<size_t>(y) * w + x) * 3]; };
    auto apart = [](const unsigned char* p, const unsigned char* q) {
        int m = 0;
        for (int c = 0; c < 3; ++c) m = std::max(m, std::abs(p[c] - q[c]));
        return m;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int ab = 255, ba = 255;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int X = x + dx, Y = y + dy;
                    if (X < 0 || Y < 0 || X >= w || Y >= h) continue;
                    ab = std::min(ab, apart(pixel(pa, x, y), pixel(pb, X, Y)));
                    ba = std::min(ba, apart(pixel(pb, x, y), pixel(pa, X, Y)));
                }
            int v = std::max(ab, ba);
            d.worst = std::max(d.worst, v);
            if (v > faintthreshold) ++d.faint;
            if (v > strongthreshold) ++d.strong;
        }
    d.pixels = static_cast<long>(w) * h;
    return d;
}

bool withintolerance(const Difference& d) {
    return d.samesize && d.pixels > 0 && d.strong <= strongallowed &&
           static_cast<double>(d.faint) <= faintallowed * static_cast<double>(d.pixels);
}

std::string describe(const Difference& d) {
    if (!d.samesize) return "the rasters differ in size";
    std::ostringstream s;
    s << "worst " << d.worst << ", above " << strongthreshold << ": " << d.strong << " pixels (at most "
      << strongallowed << "), above " << faintthreshold << ": " << d.faint << " of " << d.pixels << " ("
      << 100.0 * static_cast<double>(d.faint) / static_cast<double>(d.pixels) << "%, at most "
      << 100 * faintallowed << "%)";
    return s.str();
}

bool loadpng(const std::string& path, Raster& raster) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        cairo_surface_flush(s);
        raster.width = cairo_image_surface_get_width(s);
        raster.height = cairo_image_surface_get_height(s);
        int stride = cairo_image_surface_get_stride(s);
        bool alpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
        const unsigned char* data = cairo_image_surface_get_data(s);
        raster.rgb.assign(static_cast<size_t>(raster.width) * raster.height * 3, 0);
        for (int y = 0; y < raster.height; ++y)
            for (int x = 0; x < raster.width; ++x) {
                uint32_t v;
                std::copy_n(data + static_cast<size_t>(y) * stride + 4 * static_cast<size_t>(x), 4,
                            reinterpret_cast<unsigned char*>(&v));
                int white = alpha ? 255 - static_cast<int>(v >> 24) : 0;  // premultiplied: over white
                unsigned char* out = &raster.rgb[(static_cast<size_t>(y) * raster.width + x) * 3];
                out[0] = static_cast<unsigned char>(((v >> 16) & 255) + white);
                out[1] = static_cast<unsigned char>(((v >> 8) & 255) + white);
                out[2] = static_cast<unsigned char>((v & 255) + white);
            }
    }
    cairo_surface_destroy(s);
    return ok;
}

std::string rasterise_eps(const std::string& eps, const std::string& png) { return ghostscript(eps, png, true); }

std::string rasterise_pdf(const std::string& pdf, const std::string& png) { return ghostscript(pdf, png, false); }

std::string rasterise_svg(const std::string& svg, const std::string& png) {
    std::string r = std::to_string(dpi);
    return tool("rsvg-convert -d " + r + " -p " + r + " -b white -f png -o " + quoted(png) + " " + quoted(svg));
}

std::string unkerned(const std::string& svg) {
    std::string out;
    size_t at = 0;
    for (;;) {
        size_t open = svg.find("<text", at);
        if (open == std::string::npos) break;
        size_t close = svg.find("</text>", open);
        if (close == std::string::npos) break;
        out.append(svg, at, open - at);
        // Tags as they are; between them each character, an entity or a
        // whole UTF-8 sequence, in a <tspan>.
        for (size_t i = open; i < close;) {
            if (svg[i] == '<') {
                size_t end = svg.find('>', i) + 1;
                out.append(svg, i, end - i);
                i = end;
                continue;
            }
            size_t n = 1;
            if (svg[i] == '&') n = svg.find(';', i) + 1 - i;
            else
                while (i + n < close && (static_cast<unsigned char>(svg[i + n]) & 0xC0) == 0x80) ++n;
            out += "<tspan>" + svg.substr(i, n) + "</tspan>";
            i += n;
        }
        at = close;
    }
    return out + svg.substr(at);
}

std::string utf8reference(const std::string& eps) {
    std::istringstream in(eps);
    std::string line, out;
    bool changed = false;
    bool latin1 = false;  // a Latin-1 font is in force: its strings are what they show
    while (std::getline(in, line)) {
        if (line.find("-Latin1 findfont") != std::string::npos) latin1 = true;
        if (line.find("/Helvetica findfont") != std::string::npos || line == "grestore") latin1 = false;
        size_t open = line.find('(');
        size_t close = line.rfind(')');
        bool shown = !latin1 && open != std::string::npos && close != std::string::npos && close > open &&
                     (line.compare(close, std::string::npos, ") show") == 0 ||
                      line.compare(close, std::string::npos, ") centreshow") == 0 ||
                      line.compare(close, std::string::npos, ") rightshow") == 0);
        if (shown) {
            std::string bytes = unescape(line.substr(open + 1, close - open - 1));
            if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
                line = line.substr(0, open + 1) + recode(bytes) + line.substr(close);
                changed = true;
            }
        }
        size_t font = line.find("/Helvetica findfont");
        if (font != std::string::npos) line.replace(font, 10, "/Helvetica-Latin");
        out += line + "\n";
    }
    if (!changed) return eps;
    size_t header = out.find("%%EndComments\n");
    if (header == std::string::npos) return eps;
    return out.insert(header + 14, referencefont);
}

std::string makeworkdir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "gridel-fidelity-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    return mkdtemp(name.data()) != nullptr ? std::string(name.data()) : std::string();
}

void removetree(const std::string& dir) {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::string rungridel(const std::string& dir, const std::string& datafile, const std::string& options) {
    std::string output;
    if (runcommand("cd " + quoted(dir) + " && GRIDEL_CLOCK='2026-12-06 09:05' " + quoted(GRIDEL_BINARY) + " " +
                       options + " " + quoted(datafile) + " </dev/null",
                   output))
        return "";
    return "gridel " + options + " " + datafile + " failed:\n" + output;
}

}  // namespace fidelity
