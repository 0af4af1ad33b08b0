// Markup and formulas: texts read into runs, written back in a short
// notation (*italic*, _[sub], ^[super]) so that each case is one line.
#include "text/markup.h"
#include "support/floors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TextView view(const std::string& s) { return {s.data(), static_cast<int32_t>(s.size())}; }

std::string notation(const std::vector<MarkRun>& runs) {
    std::string out;
    for (const MarkRun& r : runs) {
        std::string t = r.italic ? "*" + r.text + "*" : r.text;
        if (r.shift == Shift::sub) t = "_[" + t + "]";
        if (r.shift == Shift::super) t = "^[" + t + "]";
        out += t;
    }
    return out;
}

std::string faultsof(const std::string& text) {
    std::vector<MarkupFault> faults;
    markup(view(text), false, &faults);
    std::string out;
    for (const MarkupFault& f : faults)
        out += (f.kind == MarkupFault::unbalanced ? "unbalanced@" : "unknown " + f.name + "@") + std::to_string(f.at) + ";";
    return out;
}

TEST(Markup, MathStretchesReadAsPrinted) {
    struct Case {
        const char* text;
        const char* runs;
    } cases[] = {
        {"plain text", "plain text"},
        {"$T$ (°C)", "*T* (°C)"},
        {"$P$ (kbar)", "*P* (kbar)"},
        {"$X$(CO$_2$) = 0.1", "*X*(CO_[2]) = 0.1"},
        {"g + bi + H$_2$O", "g + bi + H_[2]O"},
        {"Fe$^{2+}$", "Fe^[2+]"},
        {"$a_{12}b^3$", "*a*_[12]*b*^[3]"},
        {"$X_\\mathrm{CO2}$", "*X*_[CO2]"},
        {"$\\mathrm{H_2O}$", "H_[2]O"},
        {"$\\alpha$-quartz", "*α*-quartz"},
        {"$\\Delta V$", "Δ*V*"},
        {"$\\alpha + \\beta$", "*α* + *β*"},
        {"$2 \\times 10^3$", "2 × 10^[3]"},
        {"$\\mathrm{\\alpha}$", "α"},
        {"$T_{\\mathrm{max}}$", "*T*_[max]"},
        {"costs \\$5", "costs $5"},
        {"$\\$x$", "$*x*"},
        {"$x_$", "*x*_"},
        {"${x}$", "*x*"},
        {"$x$ and $y$", "*x* and *y*"},
        {"$$", ""},
        {"", ""},
        {"one $ alone", "one $ alone"},
        {"$a$ and $ left", "*a* and $ left"},
        {"$\\foo x$", "\\foo *x*"},
        {"$1 \\pm 0.2$", "1 ± 0.2"},
        {"$500^\\circ$C", "500^[°]C"},
        {"$x_{1$", "*x*_[1]"},
    };
    for (const Case& c : cases) EXPECT_EQ(notation(markup(view(c.text), false)), c.runs) << c.text;
}

TEST(Markup, FaultsNamedWithTheirPlace) {
    EXPECT_EQ(faultsof("$T$ (°C)"), "");
    EXPECT_EQ(faultsof("one $ alone"), "unbalanced@4;");
    EXPECT_EQ(faultsof("$a$ $b$ $c"), "unbalanced@8;");
    EXPECT_EQ(faultsof("\\$ a dollar"), "");
    EXPECT_EQ(faultsof("$\\alfa + \\beta$"), "unknown \\alfa@1;");
    EXPECT_EQ(faultsof("$\\! x$"), "unknown \\!@1;");
    EXPECT_EQ(faultsof("\\alfa outside"), "");
}

TEST(Markup, DeepNestingIsShownNotFollowed) {
    std::string deep = "$" + std::string(5000, '{') + "x" + std::string(5000, '}') + "$";
    std::vector<MarkRun> runs = markup(view(deep), false);
    ASSERT_FALSE(runs.empty());
    std::string shown;
    for (const MarkRun& r : runs) shown += r.text;
    EXPECT_NE(shown.find('x'), std::string::npos);
    std::string scripts = "$" + std::string(5000, '_') + "$";
    EXPECT_FALSE(markup(view(scripts), false).empty());
    std::string nul("$\\\0$", 4);
    EXPECT_EQ(faultsof(nul), "unknown " + std::string("\\\0", 2) + "@1;");
}

TEST(Markup, FormulasAmongNamesAndAbbreviations) {
    struct Case {
        const char* word;
        bool formula;
    } cases[] = {
        {"H2O", true},   {"CO2", true},   {"Al2SiO5", true}, {"TiO2", true},  {"SiO2", true},  {"CaCO3", true},
        {"KAlSi3O8", true}, {"CH4", true}, {"O2", true},      {"H2", true},    {"Cl2", true},   {"2H2O", true},
        {"NO2", true},   {"g", false},    {"bi", false},     {"mu2", false},  {"g1", false},   {"liq", false},
        {"sph", false},  {"ky", false},   {"Ky", false},     {"Bi2", false},  {"S1", false},   {"I3", false},
        {"O3", false},   {"FeO", false},  {"NaCl", false},   {"Kfs2", false}, {"Cpx2", false}, {"H02", false},
        {"12", false},   {"Xy2", false},  {"", false},       {"HO2x", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isformula(view(c.word)), c.formula) << c.word;
}

TEST(Markup, TextsDrawnOtherwiseOnlyWhenMarked) {
    struct Case {
        const char* text;
        bool formulas;
        bool marked;
        const char* runs;
    } cases[] = {
        {"H2O", false, false, "H2O"},
        {"H2O", true, true, "H_[2]O"},
        {"g + ky + H2O", true, true, "g + ky + H_[2]O"},
        {"X(CO2) = 0.1", true, true, "X(CO_[2]) = 0.1"},
        {"mu2 g1 bi", true, false, "mu2 g1 bi"},
        {"Al2SiO5 + 2H2O", true, true, "Al_[2]SiO_[5] + 2H_[2]O"},
        {"KAlSi3O8", true, true, "KAlSi_[3]O_[8]"},
        {"$CO2$ H2O", true, true, "*CO*2 H_[2]O"},
        {"H2O-rich", true, true, "H_[2]O-rich"},
        {"one $ alone", true, false, "one $ alone"},
        {"price \\$5", false, true, "price $5"},
        {"$x$", false, true, "*x*"},
        {"$1$", false, true, "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hasmarkup(view(c.text), c.formulas), c.marked) << c.text;
        EXPECT_EQ(notation(markup(view(c.text), c.formulas)), c.runs) << c.text;
    }
}

}  // namespace
