// undrawable_test.cpp - characters no drawing can show (C0 and C1 control
// characters, surrogates, noncharacters) in every text a diagram draws:
// each is warned of where it is read, and the SVG shows U+FFFD instead.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

// A diagram with a text in every slot; "@" marks where the character under
// test goes: a point's name and phase (line 2), a line's name, phase and
// point (line 4), the points of two more lines, an area's line and its
// comment, which "fields comments" makes its field's name (line 11), the
// title, the axis titles, a field line and an info line.
const std::string diagram =
    "2 4 1 2\n"
    "i1@ A@ B C D invariant\n   2 2\n"
    "u1@ A@ B - C i1@ end\n   2 2   3 1\n"
    "u2 A C - B i1@ end\n   2 2   1 3\n"
    "u3 B D - A i1@ end\n   2 2   3 3\n"
    "*\n"
    "0.5 u1@ u3 % comment@\n"
    "0.7 u2 u3\n"
    "*\n"
    "window 0 4 0 4\n"
    "bigticks 1 0 1 0\n"
    "title title@\n"
    "xlabel x@\n"
    "ylabel y@\n"
    "fields comments\n"
    "field 2 field@\n"
    "info info@\n"
    "*\n";

// The warnings --check gives, in order, each as "line: what 'text'".
const std::vector<std::string> slotwarnings = {
    "2: the name 'i1@'",          "2: the name 'A@'",
    "4: the name 'u1@'",          "4: the name 'A@'",
    "4: the name 'i1@'",          "6: the name 'i1@'",
    "8: the name 'i1@'",          "11: the name 'u1@'",
    "16: the title 'title@'",     "17: the axis title 'x@'",
    "18: the axis title 'y@'",    "20: the field name 'field@'",
    "21: the info line ' info@'", "11: the field name 'comment@'",
};

// Texts of the SVG, with its kerning spans taken out, that show each slot.
const std::vector<std::string> svgtexts = {
    "<title>area 1: u1@ u3</title>", "<title>u1@: A@ B (C)</title>", "<title>comment@</title>",
    ">comment@</text>",              "<title>field@</title>",         ">field@</text>",
    ">title@</text>",                "> info@</text>",                ">x@</text>",
    ">y@</text>",
};

std::string replaced(std::string text, const std::string& by) {
    for (size_t at = 0; (at = text.find('@', at)) != std::string::npos; at += by.size()) text.replace(at, 1, by);
    return text;
}

std::string withoutspans(std::string svg) {
    for (const std::string tag : {"<tspan>", "</tspan>"})
        for (size_t at = 0; (at = svg.find(tag, at)) != std::string::npos;) svg.erase(at, tag.size());
    return svg;
}

// The first byte sequence in `svg` that no drawing shows: a C0 control other
// than a line end, a C1 control, a surrogate or a noncharacter; empty when
// there is none.
std::string undrawablein(const std::string& svg) {
    const auto* s = reinterpret_cast<const unsigned char*>(svg.data());
    for (size_t i = 0; i < svg.size(); ++i) {
        size_t rest = svg.size() - i;
        if (s[i] < 0x20 && s[i] != '\n') return svg.substr(i, 1);
        if (rest >= 2 && s[i] == 0xC2 && s[i + 1] >= 0x80 && s[i + 1] <= 0x9F) return svg.substr(i, 2);
        if (rest >= 3 && s[i] == 0xED && s[i + 1] >= 0xA0) return svg.substr(i, 3);
        if (rest >= 3 && s[i] == 0xEF && s[i + 1] == 0xB7 && s[i + 2] >= 0x90 && s[i + 2] <= 0xAF)
            return svg.substr(i, 3);
        if (rest >= 3 && s[i] == 0xEF && s[i + 1] == 0xBF && s[i + 2] >= 0xBE) return svg.substr(i, 3);
        if (rest >= 4 && s[i] >= 0xF0 && (s[i + 1] & 0x0F) == 0x0F && s[i + 2] == 0xBF && s[i + 3] >= 0xBE)
            return svg.substr(i, 4);
    }
    return "";
}

TEST(Undrawable, EveryTextSlotWarnsAndTheSvgShowsTheReplacement) {
    const std::string fffd = "\xEF\xBF\xBD";
    const struct {
        const char* label;
        std::string bytes;  // the character in the file
        std::string shown;  // as the warning quotes it
        std::string drawn;  // as the SVG shows it
    } characters[] = {
        {"a letter", "e", "", "e"},
        {"C0 U+0001", "\x01", "\\x01", fffd},
        {"C0 escape", "\x1b", "\\x1b", fffd},
        {"C1 U+0080", "\xC2\x80", "\\xc2\\x80", fffd},
        {"C1 U+0085 next line", "\xC2\x85", "\\xc2\\x85", fffd},
        {"C1 U+009F", "\xC2\x9F", "\\xc2\\x9f", fffd},
        {"surrogate U+D800", "\xED\xA0\x80", "\\xed\\xa0\\x80", fffd + fffd + fffd},
        {"noncharacter U+FFFE", "\xEF\xBF\xBE", "\xEF\xBF\xBE", fffd},
        {"noncharacter U+FDD0", "\xEF\xB7\x90", "\xEF\xB7\x90", fffd},
        {"noncharacter U+10FFFF", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF", fffd},
    };
    for (const auto& c : characters) {
        SCOPED_TRACE(c.label);
        std::string dir = e2e::makeworkdir();
        testsupport::writefile(dir + "/gl-text.txt", replaced(diagram, c.bytes));
        e2e::Launch l;
        l.dir = dir;
        l.args = {"--check", "gl-text.txt"};
        e2e::RunResult checked = e2e::rungridelwith(l);
        EXPECT_EQ(checked.status, 0) << checked.errors;
        // Each warning of a text that cannot be drawn, as line and text.
        std::vector<std::string> warned;
        const std::string mark = ": warning: ", tail = " holds bytes that are not UTF-8 or characters that cannot be drawn";
        for (size_t at = 0; (at = checked.errors.find("gl-text.txt:", at)) != std::string::npos; ++at) {
            std::string line = checked.errors.substr(at, checked.errors.find('\n', at) - at);
            size_t m = line.find(mark), t = line.find(tail);
            if (m != std::string::npos && t != std::string::npos)
                warned.push_back(line.substr(12, line.find(':', 12) - 12) + ": " + line.substr(m + mark.size(), t - m - mark.size()));
        }
        std::vector<std::string> expected;
        if (c.bytes != "e")
            for (const std::string& w : slotwarnings) expected.push_back(replaced(w, c.shown));
        EXPECT_EQ(warned, expected) << checked.errors;

        l.args = {"-T", "pdf,svg,png", "gl-text.txt"};
        e2e::RunResult drawn = e2e::rungridelwith(l);
        EXPECT_EQ(drawn.status, 0) << drawn.errors;
        for (const char* ending : {".eps", ".pdf", ".png"}) EXPECT_TRUE(e2e::fileexists(dir + "/gl-text" + ending)) << ending;
        std::string svg = withoutspans(testsupport::readfile(dir + "/gl-text.svg"));
        EXPECT_EQ(undrawablein(svg), "");
        for (const std::string& t : svgtexts) EXPECT_NE(svg.find(replaced(t, c.drawn)), std::string::npos) << t;
        e2e::removetree(dir);
    }
}

}  // namespace
