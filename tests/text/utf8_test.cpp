// utf8_test.cpp - cuts keep whole characters, and drawings get only
// characters they can show.
#include <gtest/gtest.h>

#include <string>

#include "text/fixedtext.h"
#include "text/utf8.h"
#include "support/floors.h"

namespace {

std::string cut(const std::string& s, int32_t cap) {
    return s.substr(0, static_cast<size_t>(wholecut(s.data(), static_cast<int32_t>(s.size()), cap)));
}

TEST(Utf8, CutsKeepWholeCharacters) {
    const std::string nineteen(19, 'a'), eighteen(18, 'a');
    const struct {
        std::string word;
        std::string kept;
    } cases[] = {
        {nineteen + "b", nineteen + "b"},                            // fits
        {nineteen + "bc", nineteen + "b"},                           // ASCII: 20 bytes
        {nineteen + "\xCE\xB1", nineteen},                           // alpha across the cut
        {eighteen + "\xCE\xB1x", eighteen + "\xCE\xB1"},             // alpha before it
        {eighteen + "\xE2\x82\x82", eighteen},                       // subscript two, 3 bytes
        {nineteen + "\xF0\x9D\x90\x80", nineteen},                   // 4 bytes
        {eighteen + "\xE2\x82", eighteen + "\xE2\x82"},              // cut short already: kept
        {nineteen + "\xB0x", nineteen + "\xB0"},                     // a Latin-1 byte: as before
        {nineteen + "\xCE\x41", nineteen + "\xCE"},                  // not a sequence: as before
        {eighteen + "\xED\xA0\x80", eighteen + "\xED\xA0"},          // a surrogate is not UTF-8
    };
    for (const auto& c : cases) EXPECT_EQ(cut(c.word, 20), c.kept) << c.word;
    // A name is kept the same way: the same word, the same name.
    Word name = cuttext({cases[2].word.data(), 21});
    EXPECT_EQ(std::string(name.c, static_cast<size_t>(name.len)), nineteen);
}

TEST(Utf8, DrawingsGetCharactersTheyCanShow) {
    const std::string fffd = replacementchar;
    const struct {
        std::string bytes;
        std::string drawn;
    } cases[] = {
        {"25\xC2\xB0" "C \xCE\xB1 H\xE2\x82\x82O", "25\xC2\xB0" "C \xCE\xB1 H\xE2\x82\x82O"},
        {"25\xB0" "C", "25" + fffd + "C"},                       // a lone Latin-1 byte
        {"\xC0\x80", fffd + fffd},                               // overlong
        {"\xED\xA0\x80", fffd + fffd + fffd},                    // a surrogate
        {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},         // past U+10FFFF
        {"a\xE2\x82", "a" + fffd + fffd},                        // cut short
        {std::string("a\0b\x1b\x7f", 5), "a" + fffd + "b" + fffd + "\x7f"},  // C0 controls, not DEL
        {"\xC2\x80x\xC2\x85\xC2\x9F\xC2\xA0", fffd + "x" + fffd + fffd + "\xC2\xA0"},  // C1 controls, not U+00A0
        {"\xEF\xBF\xBE\xEF\xBF\xBF", fffd + fffd},               // U+FFFE, U+FFFF
        {"\xEF\xB7\x90\xEF\xB7\xAF\xEF\xB7\xB0", fffd + fffd + "\xEF\xB7\xB0"},  // U+FDD0, U+FDEF; U+FDF0 is fine
        {"\xF0\x9F\xBF\xBE\xF4\x8F\xBF\xBF", fffd + fffd},       // U+1FFFE, U+10FFFF
        {"<&>\"'", "<&>\"'"},                                    // escaping is the writer's
    };
    for (const auto& c : cases) {
        int32_t n = static_cast<int32_t>(c.bytes.size());
        EXPECT_EQ(drawabletext(c.bytes.data(), n), c.drawn) << c.bytes;
        EXPECT_EQ(isdrawable(c.bytes.data(), n), c.drawn == c.bytes) << c.bytes;
    }
}

}  // namespace
