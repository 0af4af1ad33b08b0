// lineinput_test.cpp - line ends, long lines, comments, backspace editing,
// and the answers of a yes/no question.
#include <gtest/gtest.h>

#include <string>

#include "run/channels.h"
#include "run/lineinput.h"
#include "support/capture.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }

class LineInput : public testing::Test {
protected:
    void SetUp() override { dir = testsupport::enterscratch(); }
    void TearDown() override {
        closereader(file);
        testsupport::leavescratch(dir);
    }
    // Open a file holding `content`.
    void open(const std::string& content) {
        testsupport::writefile("in.txt", content);
        ASSERT_TRUE(openreader(file, "in.txt"));
    }
    std::vector<std::string> alllines() {
        std::vector<std::string> out;
        std::string line;
        while (!atend(file)) {
            EXPECT_EQ(readline(file, line), readok);
            out.push_back(line);
        }
        return out;
    }
    std::string dir;
    LineReader file;
    std::unique_ptr<::Run> fresh = testsupport::freshrun();
    ::Run& run = *fresh;
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

TEST_F(LineInput, LinesAreReadWholeUpToTheLimit) {
    // Lines of any length up to the limit, across the read buffer, with a
    // CR LF split by the buffer's end; a longer line is refused, and what
    // cannot fit is never held.
    using V = std::vector<std::string>;
    std::string first(readbuffersize - 1, 'a');
    std::string longest(maxlinelength, 'b');
    open(first + "\r\nnext\n" + longest + "\rlast");
    EXPECT_EQ(alllines(), (V{first, "next", longest, "last"}));
    closereader(file);
    open(longest + "c\nafter\n");
    std::string line;
    EXPECT_EQ(readline(file, line), readtoolong);
    EXPECT_EQ(line.size(), static_cast<size_t>(maxlinelength));
    EXPECT_EQ(file.lineno, 1);
}

TEST_F(LineInput, AByteOrderMarkAtTheStartIsSkipped) {
    using V = std::vector<std::string>;
    open("\xEF\xBB\xBF" "datafile x\n\xEF\xBB\xBF\n");
    EXPECT_EQ(alllines(), (V{"datafile x", "\xEF\xBB\xBF"}));  // only at the very start
    closereader(file);
    open("\xEF\xBB");
    EXPECT_EQ(alllines(), (V{"\xEF\xBB"}));
}

TEST_F(LineInput, RstringsDropsComments) {
    open("a b % c d\n%all of it\nx a%b\r\n");
    WordList w;
    rstrings(run, file, w);
    ASSERT_EQ(w.count, 2);
    EXPECT_EQ(str(wordat(w, 2)), "b");
    EXPECT_EQ(wordat(w, 3).len, 0);
    rstrings(run, file, w);
    EXPECT_EQ(w.count, 0);
    rstrings(run, file, w);
    ASSERT_EQ(w.count, 2);
    EXPECT_EQ(str(wordat(w, 2)), "a%b");  // "%" inside a word is an ordinary character
}

TEST_F(LineInput, BackspaceEditingOfTypedLines) {
    testsupport::writefile("typed.txt", "ab\bc\n\ba\nab\b\b\n");
    ASSERT_TRUE(openreader(run.keyboard, "typed.txt"));
    WordList w;
    prstrings(run, w);
    EXPECT_EQ(str(wordat(w, 1)), "ac");
    prstrings(run, w);
    EXPECT_EQ(str(wordat(w, 1)), "a");
    prstrings(run, w);
    EXPECT_EQ(w.count, 0);
    prstrings(run, w);  // the end of the input is an empty line
    EXPECT_EQ(w.count, 0);
    closereader(run.keyboard);
}

TEST_F(LineInput, QueryAnswers) {
    testsupport::writefile("typed.txt", "\n1\nyes\ny\nY\n  y  \nn\nno\n0\nYes\n?\nn\n");
    ASSERT_TRUE(openreader(run.keyboard, "typed.txt"));
    std::vector<bool> answers;
    std::string screen = testsupport::capturescreen([&] {
        for (int i = 0; i < 11; ++i) answers.push_back(query(run, "go"));
    });
    EXPECT_EQ(answers, (std::vector<bool>{true, true, true, true, true, true, false, false, false, false, false}));
    EXPECT_NE(screen.find("go ? \nsorry, you are on your own...\n\ngo ? "), std::string::npos);
    closereader(run.keyboard);
}

}  // namespace
