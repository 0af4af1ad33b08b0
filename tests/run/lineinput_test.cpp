// lineinput_test.cpp - line ends, long lines, comments, backspace editing,
// and the answers of a yes/no question.
#include <gtest/gtest.h>

#include <string>

#include "run/channels.h"
#include "run/lineinput.h"
#include "support/capture.h"

namespace {

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }
std::string str(const Text& t) { return std::string(t.c, static_cast<size_t>(t.len)); }

class LineInput : public testing::Test {
protected:
    void SetUp() override { dir = testsupport::enterscratch(); }
    void TearDown() override {
        closereader(file);
        testsupport::leavescratch(dir);
    }
    // Open a file holding `content`.
    void open(const std::string& content) {
        testsupport::writewhole("in.txt", content);
        ASSERT_TRUE(openreader(file, "in.txt"));
    }
    std::vector<std::string> alllines() {
        std::vector<std::string> out;
        Text line;
        while (!atend(file)) {
            EXPECT_EQ(readline(file, line), readok);
            out.push_back(str(line));
        }
        return out;
    }
    std::string dir;
    LineReader file;
};

TEST_F(LineInput, EveryKindOfLineEndReadsTheSame) {
    using V = std::vector<std::string>;
    open("a b\nc\n");
    EXPECT_EQ(alllines(), (V{"a b", "c"}));
    closereader(file);
    open("a b\r\nc\r\n");
    EXPECT_EQ(alllines(), (V{"a b", "c"}));
    closereader(file);
    open("a b\rc\r");
    EXPECT_EQ(alllines(), (V{"a b", "c"}));
    closereader(file);
    open("a\r\rb\n\nc");  // empty lines stay; a last line needs no line end
    EXPECT_EQ(alllines(), (V{"a", "", "b", "", "c"}));
}

TEST_F(LineInput, LongLinesAreCutAt255) {
    open(std::string(300, 'x') + "\nnext\n");
    Text line;
    readline(file, line);
    EXPECT_EQ(line.len, 255);
    readline(file, line);
    EXPECT_EQ(str(line), "next");
    EXPECT_TRUE(atend(file));
}

TEST_F(LineInput, LinesAcrossTheReadBuffer) {
    // A CR LF split by the end of the read buffer is one line end; a line
    // longer than the whole buffer gives its first 255 characters.
    using V = std::vector<std::string>;
    std::string first(readbuffersize - 1, 'a');
    open(first + "\r\nnext\n" + std::string(readbuffersize + 4000, 'b') + "\rlast");
    V lines = alllines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], first.substr(0, 255));
    EXPECT_EQ(lines[1], "next");
    EXPECT_EQ(lines[2], std::string(255, 'b'));
    EXPECT_EQ(lines[3], "last");
    closereader(file);
    open(std::string(readbuffersize - 3, ' ') + "x\n\ny");
    EXPECT_EQ(alllines(), (V{std::string(255, ' '), "", "y"}));
}

TEST_F(LineInput, RstringsDropsComments) {
    open("a b % c d\n%all of it\nx a%b\r\n");
    WordList w;
    clearwords(w);
    rstrings(file, w);
    ASSERT_EQ(w.count, 2);
    EXPECT_EQ(str(w.w[2]), "b");
    EXPECT_EQ(w.w[3].len, 0);
    rstrings(file, w);
    EXPECT_EQ(w.count, 0);
    rstrings(file, w);
    ASSERT_EQ(w.count, 2);
    EXPECT_EQ(str(w.w[2]), "a%b");  // "%" inside a word is an ordinary character
}

TEST_F(LineInput, BackspaceEditingOfTypedLines) {
    testsupport::writewhole("typed.txt", "ab\bc\n\ba\nab\b\b\n");
    LineReader saved = keyboard;
    ASSERT_TRUE(openreader(keyboard, "typed.txt"));
    WordList w;
    clearwords(w);
    prstrings(w);
    EXPECT_EQ(str(w.w[1]), "ac");
    prstrings(w);
    EXPECT_EQ(str(w.w[1]), "a");
    prstrings(w);
    EXPECT_EQ(w.count, 0);
    prstrings(w);  // the end of the input is an empty line
    EXPECT_EQ(w.count, 0);
    closereader(keyboard);
    keyboard = saved;
}

TEST_F(LineInput, QueryAnswers) {
    testsupport::writewhole("typed.txt", "\n1\nyes\ny\nY\n  y  \nn\nno\n0\nYes\n?\nn\n");
    LineReader saved = keyboard;
    ASSERT_TRUE(openreader(keyboard, "typed.txt"));
    uint32_t open = openChannels;
    openChannels = 1u << chw;
    std::vector<bool> answers;
    std::string screen = testsupport::capturescreen([&] {
        for (int i = 0; i < 11; ++i) answers.push_back(query("go"));
    });
    EXPECT_EQ(answers, (std::vector<bool>{true, true, true, true, true, true, false, false, false, false, false}));
    EXPECT_NE(screen.find("go ? \nsorry, you are on your own...\n\ngo ? "), std::string::npos);
    openChannels = open;
    closereader(keyboard);
    keyboard = saved;
}

}  // namespace
