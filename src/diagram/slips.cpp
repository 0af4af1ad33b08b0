// slips.cpp - numbernotes, misspeltkeyword and the plain names of what the
// data reader reads.
#include "diagram/slips.h"

#include <algorithm>
#include <cstring>

#include "run/diagnostics.h"
#include "text/tokens.h"

namespace gridel::diagram {

namespace {

// The keywords of points and lines that a slip is looked for among.
const char* const itemkeywords[] = {"invariant", "point", "crossover", "univariant", "begin",
                                    "connect",   "green", "magenta",   "thick",      "dashed"};

bool isdigitchar(char c) { return c >= '0' && c <= '9'; }

bool isnumber(const std::string& s) {
    text::WordKind k = text::whatis(s.data(), static_cast<int32_t>(s.size()));
    return k == text::kindinteger || k == text::kindreal || k == text::kindrational;
}

std::string quote(const std::string& s) { return "'" + s + "'"; }

// The word with a 0 put where a point lacks a digit before or after it.
std::string withzeros(const std::string& w) {
    std::string out;
    for (size_t k = 0; k < w.size(); ++k) {
        bool point = w[k] == '.';
        if (point && (k == 0 || !isdigitchar(w[k - 1]))) out += '0';
        out += w[k];
        if (point && (k + 1 == w.size() || !isdigitchar(w[k + 1]))) out += '0';
    }
    return out;
}

// Digits grouped by thousands with commas, as in "1,234.5" or "-12,345,678":
// one to three digits, then groups of three, then perhaps a point and
// decimals; more than one comma, or a point after the groups.
bool thousands(const std::string& w) {
    size_t k = w[0] == '-' ? 1 : 0;
    size_t lead = 0;
    while (k < w.size() && isdigitchar(w[k])) ++k, ++lead;
    if (lead < 1 || lead > 3) return false;
    int groups = 0;
    while (k < w.size() && w[k] == ',') {
        size_t digits = 0;
        for (++k; k < w.size() && isdigitchar(w[k]); ++k) ++digits;
        if (digits != 3) return false;
        ++groups;
    }
    bool point = k < w.size() && w[k] == '.';
    if (point)
        for (++k; k < w.size() && isdigitchar(w[k]); ++k) {
        }
    return k == w.size() && groups >= 1 && (groups >= 2 || point);
}

}  // namespace

std::vector<std::string> numbernotes(text::TextView word) {
    std::string w(word.c, static_cast<size_t>(word.len));
    if (w.empty()) return {};
    if (commentslip(word))
        return {"a comment begins with '%': '#' and '//' do not begin comments"};
    if (w.find(',') != std::string::npos) {
        std::string pointed = w;
        for (char& c : pointed)
            if (c == ',') c = '.';
        if (std::count(w.begin(), w.end(), ',') == 1 && isnumber(pointed))
            return {"decimals are written with a point: " + quote(pointed) + ", not " + quote(w)};
        if (thousands(w)) {
            std::string joined;
            for (char c : w)
                if (c != ',') joined += c;
            return {"a number is written without thousands separators: " + quote(joined) + ", not " + quote(w)};
        }
        std::string spaced;
        bool allnumbers = true;
        size_t from = 0;
        for (;;) {
            size_t comma = w.find(',', from);
            std::string part = w.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
            allnumbers = allnumbers && isnumber(part);
            spaced += (spaced.empty() ? "" : " ") + part;
            if (comma == std::string::npos) break;
            from = comma + 1;
        }
        if (allnumbers) return {"values are separated by blanks, not commas: " + quote(spaced)};
        return {};
    }
    if (w[0] == '+' && isnumber(w.substr(1)))
        return {"a number takes no '+' sign: " + quote(w.substr(1))};
    std::string zeros = withzeros(w);
    if (zeros != w && isnumber(zeros))
        return {"a point needs a digit on each side: " + quote(zeros)};
    size_t d = w.find_first_of("dD");
    if (d != std::string::npos) {
        std::string e = w;
        e[d] = 'e';
        if (isnumber(e)) return {"an exponent is written with 'e': " + quote(e)};
    }
    return {};
}

bool commentslip(text::TextView word) {
    return word.len >= 1 && (word.c[0] == '#' || (word.len >= 2 && word.c[0] == '/' && word.c[1] == '/'));
}

bool meantasnumber(text::TextView word) {
    if (word.len < 1) return false;
    const char* c = word.c;
    if (isdigitchar(c[0])) return true;
    if (word.len < 2) return false;
    if (c[0] == '-' || c[0] == '+') return isdigitchar(c[1]) || c[1] == '.';
    return c[0] == '.' && isdigitchar(c[1]);
}

bool beginsitem(text::TextView word) {
    if (word.len < 1) return false;
    return istext(word, "*") || word.c[0] == 'i' || word.c[0] == 'u' || word.c[0] == '#';
}

std::string misspeltkeyword(text::TextView word) {
    std::string w(word.c, static_cast<size_t>(word.len));
    return run::nearestword(w, itemkeywords, sizeof itemkeywords / sizeof itemkeywords[0]);
}

std::string contextphrase(const text::Text& context) {
    static const char* const phrases[][2] = {
        {"no of variables in each point", "the header's first number, the count of values on each data row"},
        {"size of system", "the header's second number, the size of the system"},
        {"column of x coordinate", "the header's third number, the column of x"},
        {"column of y coordinate", "the header's fourth number, the column of y"},
        {"interpolation coordinate", "the column to interpolate in, after 'x' in the header"},
        {"interpolation value", "the interpolation target, after its column in the header"},
        {"point/line name", "the name of the next point or line"},
        {"nonzero-mode phases for ", "the phases of "},
        {"zero-mode phases for ", "the zero-mode phases of "},
        {"zero-mode phase for ", "the zero-mode phase of "},
        {"reading crossover lines", "the two lines that cross at "},
        {"reading coordinates for ", "a data row of "},
        {"interpolating coordinates for ", "a data row of "},
        {"line limit names for ", "the two limits of "},
        {"grayscale for area", "the grayscale of an area"},
        {"points for area", "the lines of an area"},
    };
    std::string c(context.c, static_cast<size_t>(context.len));
    for (const auto& p : phrases) {
        size_t n = std::strlen(p[0]);
        if (c.compare(0, n, p[0]) == 0) return p[1] + c.substr(n);
    }
    return c;
}

}  // namespace gridel::diagram
