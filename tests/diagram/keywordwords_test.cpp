// keywordwords_test.cpp - the words of a keyword line against what the
// keyword takes, the keyword tables as the hints read them, and the hint
// for numbers written with thousands separators.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagram/scriptkeywords.h"
#include "diagram/scriptreader.h"
#include "diagram/slips.h"
#include "text/tokens.h"
#include "support/floors.h"

namespace {

using scriptreading::Arguments;
using scriptreading::Takes;

WordList split(const std::string& line) {
    WordList words;
    words.line = line;
    splitline(words);
    return words;
}

TEST(KeywordWords, TheFirstWordThatDoesNotFitIsFound) {
    const Arguments four = {"A B C D", Takes::numbers, 4, 4, nullptr};
    const Arguments oneortwo = {"W [H]", Takes::numbers, 1, 2, nullptr};
    const Arguments nothing = {"none", Takes::nothing, 0, 0, nullptr};
    const Arguments text = {"TEXT", Takes::text, 0, 0, nullptr};
    const Arguments halo = {"`halo`", Takes::word, 1, 1, "halo"};
    const Arguments side = {"[side]", Takes::word, 0, 1, "right|below"};
    const Arguments named = {"N TEXT", Takes::numbertext, 2, 2, nullptr};
    const Arguments kinds = {"[place] [kinds]", Takes::words, 0, 4, "right|below|lines|points|fields"};
    struct Case {
        std::string line;
        const Arguments& arguments;
        int32_t misfit;  // 0: all fit; past the last word: words missing
    };
    const Case cases[] = {
        {"window 0 1 0 1", four, 0},
        {"window 0 1 0 1 extra", four, 6},
        {"window 0 1 0 x", four, 5},
        {"window 0 1 0", four, 5},
        {"size 50", oneortwo, 0},
        {"size 50 60", oneortwo, 0},
        {"size 50 abc", oneortwo, 3},
        {"size 50 nan", oneortwo, 3},
        {"size 50 60 70", oneortwo, 4},
        {"size 1e99999", oneortwo, 2},  // beyond the numbers held: not a number
        {"size", oneortwo, 2},
        {"doareas", nothing, 0},
        {"doareas off", nothing, 2},
        {"title", text, 0},
        {"title a (long) title", text, 0},
        {"labels halo", halo, 0},
        {"labels glow", halo, 2},
        {"labels halo halo", halo, 3},
        {"labels", halo, 2},
        {"legend", side, 0},
        {"legend below", side, 0},
        {"legend up", side, 2},
        {"legend below fields lines", kinds, 0},
        {"legend points", kinds, 0},
        {"legend below field", kinds, 3},
        {"legend right lines points fields below", kinds, 6},
        {"field 3 ky + sill", named, 0},
        {"field 99999 x", named, 0},  // a number: whether the area exists is the reader's to say
        {"field x y", named, 2},
        {"field 3", named, 3},
        {"field 3.5 x", named, 2},
    };
    for (const Case& c : cases) {
        WordList words = split(c.line);
        EXPECT_EQ(scriptreading::firstmisfit(words, 1, c.arguments), c.misfit) << c.line;
    }
    // After an answer word the arguments begin one word later.
    WordList answered = split("size yes 50 abc");
    EXPECT_EQ(scriptreading::firstmisfit(answered, 2, oneortwo), 4);
}

TEST(KeywordWords, TheHintsKnowEveryKeywordOfTheTables) {
    std::vector<KeywordName> all = scriptkeywordlist();
    for (const KeywordName& k : figurekeywordlist()) all.push_back(k);
    for (const KeywordName& k : all) {
        EXPECT_TRUE(isscriptkeyword(TextView{k.name, static_cast<int32_t>(std::string(k.name).size())})) << k.name;
        EXPECT_NE(std::string(k.arguments), "") << k.name;
    }
    EXPECT_FALSE(isscriptkeyword(TextView{"windwo", 6}));
    EXPECT_EQ(nearestscriptkeyword("windwo"), "window");
    EXPECT_EQ(nearestscriptkeyword("smalticks"), "smallticks");
    EXPECT_EQ(nearestscriptkeyword("fontsze"), "fontsize");
    EXPECT_EQ(nearestscriptkeyword("colour"), "");
}

TEST(KeywordWords, ThousandsSeparatorsGiveOneNumber) {
    struct Case {
        const char* word;
        const char* note;
    };
    const Case cases[] = {
        {"1,234.5", "a number is written without thousands separators: '1234.5', not '1,234.5'"},
        {"-12,345,678", "a number is written without thousands separators: '-12345678', not '-12,345,678'"},
        {"12,345,678.25", "a number is written without thousands separators: '12345678.25', not '12,345,678.25'"},
        {"1,234", "decimals are written with a point: '1.234', not '1,234'"},  // one comma: a decimal comma
        {"1,5,2", "values are separated by blanks, not commas: '1 5 2'"},
        {"1234,567.5", "values are separated by blanks, not commas: '1234 567.5'"},  // not grouped by thousands
    };
    for (const Case& c : cases) {
        std::vector<std::string> notes = numbernotes(TextView{c.word, static_cast<int32_t>(std::string(c.word).size())});
        EXPECT_EQ(notes.empty() ? std::string() : notes.front(), c.note) << c.word;
    }
}

}  // namespace
