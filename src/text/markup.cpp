// markup.cpp - math stretches and formulas read into runs.
#include "text/markup.h"

#include <cstring>
#include <utility>

namespace gridel::text {

namespace {

// The names a math stretch knows, with the character each stands for and
// whether it is set in italics like a letter (small Greek letters are, as
// in print; capitals and signs are upright).
struct MathName {
    const char* name;
    const char* utf8;
    bool italic;
};

constexpr MathName mathnames[] = {
    {"alpha", "\xCE\xB1", true},      {"beta", "\xCE\xB2", true},      {"gamma", "\xCE\xB3", true},
    {"delta", "\xCE\xB4", true},      {"epsilon", "\xCF\xB5", true},   {"varepsilon", "\xCE\xB5", true},
    {"zeta", "\xCE\xB6", true},       {"eta", "\xCE\xB7", true},       {"theta", "\xCE\xB8", true},
    {"vartheta", "\xCF\x91", true},   {"iota", "\xCE\xB9", true},      {"kappa", "\xCE\xBA", true},
    {"lambda", "\xCE\xBB", true},     {"mu", "\xCE\xBC", true},        {"nu", "\xCE\xBD", true},
    {"xi", "\xCE\xBE", true},         {"omicron", "\xCE\xBF", true},   {"pi", "\xCF\x80", true},
    {"varpi", "\xCF\x96", true},      {"rho", "\xCF\x81", true},       {"varrho", "\xCF\xB1", true},
    {"sigma", "\xCF\x83", true},      {"varsigma", "\xCF\x82", true},  {"tau", "\xCF\x84", true},
    {"upsilon", "\xCF\x85", true},    {"phi", "\xCF\x95", true},       {"varphi", "\xCF\x86", true},
    {"chi", "\xCF\x87", true},        {"psi", "\xCF\x88", true},       {"omega", "\xCF\x89", true},
    {"Gamma", "\xCE\x93", false},     {"Delta", "\xCE\x94", false},    {"Theta", "\xCE\x98", false},
    {"Lambda", "\xCE\x9B", false},    {"Xi", "\xCE\x9E", false},       {"Pi", "\xCE\xA0", false},
    {"Sigma", "\xCE\xA3", false},     {"Upsilon", "\xCE\xA5", false},  {"Phi", "\xCE\xA6", false},
    {"Psi", "\xCE\xA8", false},       {"Omega", "\xCE\xA9", false},    {"pm", "\xC2\xB1", false},
    {"times", "\xC3\x97", false},     {"cdot", "\xC2\xB7", false},     {"circ", "\xC2\xB0", false},
    {"degree", "\xC2\xB0", false},    {"leq", "\xE2\x89\xA4", false},  {"geq", "\xE2\x89\xA5", false},
    {"rightarrow", "\xE2\x86\x92", false}, {"leftrightarrow", "\xE2\x86\x94", false},
    {"infty", "\xE2\x88\x9E", false}, {"approx", "\xE2\x89\x88", false}, {"partial", "\xE2\x88\x82", false},
};

// The element symbols of the periodic table.
constexpr const char* elements[] = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",  "S",  "Cl", "Ar",
    "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge", "As", "Se", "Br", "Kr",
    "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe",
    "Cs", "Ba", "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf",
    "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th",
    "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db", "Sg", "Bh", "Hs",
    "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og",
};

// The elements whose gas is written with two atoms and no other symbol.
constexpr const char* diatomic[] = {"H", "N", "O", "F", "Cl", "Br", "I"};

bool isupper(char c) { return c >= 'A' && c <= 'Z'; }
bool islower(char c) { return c >= 'a' && c <= 'z'; }
bool isdigit(char c) { return c >= '0' && c <= '9'; }
bool isletter(char c) { return isupper(c) || islower(c); }
bool isalnum(char c) { return isletter(c) || isdigit(c); }

bool inlist(const char* s, size_t n, const char* const* list, size_t count) {
    for (size_t k = 0; k < count; ++k)
        if (std::strlen(list[k]) == n && std::memcmp(list[k], s, n) == 0) return true;
    return false;
}

bool iselement(const char* s, size_t n) { return inlist(s, n, elements, std::size(elements)); }

// Reads the word as a formula: true, with the [from, to) byte ranges of
// its counts, when it is one.
bool readformula(TextView w, std::vector<std::pair<int32_t, int32_t>>* counts) {
    int32_t i = 0, n = w.len;
    const char* s = w.c;
    while (i < n && isdigit(s[i])) ++i;  // a coefficient, as written
    int symbols = 0;
    const char* only = nullptr;
    size_t onlylen = 0;
    std::vector<std::pair<int32_t, int32_t>> found;
    while (i < n) {
        if (!isupper(s[i])) return false;
        size_t len = i + 1 < n && islower(s[i + 1]) ? 2 : 1;
        if (!iselement(s + i, len)) return false;
        only = s + i;
        onlylen = len;
        ++symbols;
        i += static_cast<int32_t>(len);
        if (i < n && isdigit(s[i])) {
            if (s[i] == '0') return false;
            int32_t from = i;
            while (i < n && isdigit(s[i])) ++i;
            found.push_back({from, i});
        }
    }
    if (found.empty() || symbols == 0) return false;
    if (symbols == 1 && !inlist(only, onlylen, diatomic, std::size(diatomic))) return false;
    if (symbols == 1 && !(found.size() == 1 && found[0].second - found[0].first == 1 && w.c[found[0].first] == '2'))
        return false;
    if (counts != nullptr) *counts = found;
    return true;
}

// Builds the runs, joining neighbours of one style.
class Runs {
public:
    explicit Runs(std::vector<MarkupFault>* faults) : faults(faults) {}

    void add(const char* s, size_t n, bool italic, Shift shift) {
        if (n == 0) return;
        if (!runs.empty() && runs.back().italic == italic && runs.back().shift == shift) {
            runs.back().text.append(s, n);
            return;
        }
        runs.push_back({std::string(s, n), italic, shift});
    }

    void fault(MarkupFault::Kind kind, int32_t at, std::string name) {
        if (faults != nullptr) faults->push_back({kind, at, std::move(name)});
    }

    std::vector<MarkRun> runs;

private:
    std::vector<MarkupFault>* faults;
};

// The length of the character at s[0..n): a whole UTF-8 sequence, or one
// byte of anything else.
int32_t charlength(const char* s, int32_t n) {
    unsigned char b = static_cast<unsigned char>(s[0]);
    if (b < 0x80) return 1;
    int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (len > n) return 1;
    for (int k = 1; k < len; ++k)
        if ((static_cast<unsigned char>(s[k]) & 0xC0) != 0x80) return 1;
    return len;
}

// Text outside the dollars: as written, `\$` a dollar, formulas' counts
// lowered when asked.
void plain(const char* s, int32_t from, int32_t to, bool formulas, Runs& out) {
    int32_t i = from;
    while (i < to) {
        if (s[i] == '\\' && i + 1 < to && s[i + 1] == '$') {
            out.add("$", 1, false, Shift::base);
            i += 2;
            continue;
        }
        if (formulas && isalnum(s[i]) && (i == from || !isalnum(s[i - 1]))) {
            int32_t end = i;
            while (end < to && isalnum(s[end])) ++end;
            std::vector<std::pair<int32_t, int32_t>> counts;
            if (readformula({s + i, end - i}, &counts)) {
                int32_t at = i;
                for (const auto& c : counts) {
                    out.add(s + at, static_cast<size_t>(i + c.first - at), false, Shift::base);
                    out.add(s + i + c.first, static_cast<size_t>(c.second - c.first), false, Shift::sub);
                    at = i + c.second;
                }
                out.add(s + at, static_cast<size_t>(end - at), false, Shift::base);
            } else {
                out.add(s + i, static_cast<size_t>(end - i), false, Shift::base);
            }
            i = end;
            continue;
        }
        int32_t n = charlength(s + i, to - i);
        out.add(s + i, static_cast<size_t>(n), false, Shift::base);
        i += n;
    }
}

// Reads a math stretch s[i..to): one level of scripts, upright inside
// \mathrm.  Groups and scripts nest at most `deepest` deep; a brace
// deeper than that is shown as written, so no text nests the reader
// beyond its stack.
class MathReader {
    // Counts one level deeper while it lives.
    struct Deeper {
        explicit Deeper(int& depth) : depth(depth) { ++depth; }
        ~Deeper() { --depth; }
        int& depth;
    };

public:
    MathReader(const char* s, int32_t to, Runs& out) : s(s), to(to), out(out) {}

    // Everything up to `to`, or to the `}` closing a group (which is
    // passed over) when `group`.
    void sequence(int32_t& i, bool upright, Shift shift, bool group) {
        while (i < to) {
            if (group && s[i] == '}') {
                ++i;
                return;
            }
            atom(i, upright, shift);
        }
    }

private:
    void atom(int32_t& i, bool upright, Shift shift) {
        char c = s[i];
        if ((c == '{' || c == '_' || c == '^' || c == '\\') && depth >= deepest) {
            out.add(s + i, 1, false, shift);
            ++i;
            return;
        }
        Deeper deeper(depth);
        if (c == '{') {
            ++i;
            sequence(i, upright, shift, true);
        } else if ((c == '_' || c == '^') && i + 1 < to) {
            ++i;
            atom(i, upright, c == '_' ? Shift::sub : Shift::super);
        } else if (c == '\\') {
            command(i, upright, shift);
        } else if (isletter(c)) {
            out.add(s + i, 1, !upright, shift);
            ++i;
        } else {
            int32_t n = charlength(s + i, to - i);
            out.add(s + i, static_cast<size_t>(n), false, shift);
            i += n;
        }
    }

    void command(int32_t& i, bool upright, Shift shift) {
        int32_t start = i++;
        if (i >= to) {
            out.add("\\", 1, false, shift);
            return;
        }
        if (!isletter(s[i])) {
            // A backslash before a sign writes the sign: \$ \{ \} \_ \^ \\;
            // \, is a thin space and "\ " a blank.
            bool escaped = s[i] != '\0' && std::strchr("${}_^\\% #&", s[i]) != nullptr;
            const char* sign = escaped ? s + i : s[i] == ',' ? "\xE2\x80\x89" : nullptr;
            if (sign == nullptr) {
                out.fault(MarkupFault::unknownname, start, std::string(s + start, 2));
                out.add(s + start, 2, false, shift);
            } else {
                out.add(sign, s[i] == ',' ? 3 : 1, false, shift);
            }
            ++i;
            return;
        }
        while (i < to && isletter(s[i])) ++i;
        std::string name(s + start + 1, static_cast<size_t>(i - start - 1));
        if (name == "mathrm") {
            while (i < to && s[i] == ' ') ++i;
            if (i < to) atom(i, true, shift);
            return;
        }
        for (const MathName& m : mathnames) {
            if (name != m.name) continue;
            out.add(m.utf8, std::strlen(m.utf8), m.italic && !upright, shift);
            // Blanks before a letter only end the name: `\Delta V` is ΔV.
            int32_t after = i;
            while (after < to && s[after] == ' ') ++after;
            if (after < to && isletter(s[after])) i = after;
            return;
        }
        out.fault(MarkupFault::unknownname, start, "\\" + name);
        out.add(s + start, static_cast<size_t>(i - start), false, shift);
    }

    static constexpr int deepest = 32;

    const char* s;
    int32_t to;
    Runs& out;
    int depth = 0;
};

// The offsets of the dollars that open and close math stretches: each `$`
// not escaped by a backslash, in pairs.
std::vector<int32_t> dollars(TextView text) {
    std::vector<int32_t> at;
    for (int32_t i = 0; i < text.len; ++i) {
        if (text.c[i] == '\\' && i + 1 < text.len) {
            ++i;  // whatever is escaped, a dollar included
            continue;
        }
        if (text.c[i] == '$') at.push_back(i);
    }
    return at;
}

}  // namespace

bool isformula(TextView word) { return readformula(word, nullptr); }

std::vector<std::pair<int32_t, int32_t>> mathstretches(TextView text) {
    std::vector<int32_t> at = dollars(text);
    std::vector<std::pair<int32_t, int32_t>> out;
    for (size_t k = 0; k + 1 < at.size(); k += 2) out.push_back({at[k], at[k + 1]});
    return out;
}

bool hasmarkup(TextView text, bool formulas) {
    if (text.len <= 0) return false;
    if (std::memchr(text.c, '$', static_cast<size_t>(text.len)) == nullptr && !formulas) return false;
    std::vector<MarkRun> runs = markup(text, formulas);
    return runs.size() != 1 || runs[0].italic || runs[0].shift != Shift::base ||
           runs[0].text.size() != static_cast<size_t>(text.len) ||
           std::memcmp(runs[0].text.data(), text.c, runs[0].text.size()) != 0;
}

std::vector<MarkRun> markup(TextView text, bool formulas, std::vector<MarkupFault>* faults) {
    Runs out(faults);
    if (text.len <= 0) return out.runs;
    std::vector<int32_t> at = dollars(text);
    if (at.size() % 2 != 0) {
        out.fault(MarkupFault::unbalanced, at.back(), "$");
        at.pop_back();  // the last one stays a dollar sign
    }
    int32_t from = 0;
    for (size_t k = 0; k < at.size(); k += 2) {
        plain(text.c, from, at[k], formulas, out);
        int32_t i = at[k] + 1;
        MathReader(text.c, at[k + 1], out).sequence(i, false, Shift::base, false);
        from = at[k + 1] + 1;
    }
    plain(text.c, from, text.len, formulas, out);
    return out.runs;
}

}  // namespace gridel::text
