// checkedwords_test.cpp - the data section's checked readers: values of the
// right kind, or the run ends quoting the word and what was being read.
#include <gtest/gtest.h>

#include <string>

#include "diagram/checkedwords.h"
#include "support/capture.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

// A whole word over a string that outlives the call.
TextView word(const std::string& s) {
    static std::string held[16];
    static int next = 0;
    std::string& h = held[next++ % 16];
    h = s;
    return {h.data(), static_cast<int32_t>(h.size())};
}

Text text(const std::string& s) {
    Text t;
    settext(t, s.data(), static_cast<int>(s.size()));
    return t;
}

TEST(CheckedReaders, ReturnValuesOfTheRightKind) {
    auto run = testsupport::freshrun();
    Text ctx = text("context");
    EXPECT_EQ(getinteger(*run, kindinteger, word("-12"), ctx), -12);
    EXPECT_EQ(getsingle(*run, kindinteger, word("12"), ctx), 12.0L);
    EXPECT_EQ(getsingle(*run, kindreal, word("0.5"), ctx), 0.5L);
    EXPECT_EQ(getsingle(*run, kindrational, word("1/3"), ctx), static_cast<long double>(1.0 / 3.0));
}

TEST(CheckedReaders, EndTheRunQuotingTheWordAndTheContext) {
    auto run = testsupport::freshrun();
    Text ctx = text("no of variables in each point");
    EXPECT_TRUE(testsupport::endsrun([&] { getinteger(*run, kindreal, word("3.0"), ctx); }, 1,
                " BOMBED in getinteger : expecting an integer (1); got: 3.0 - no of variables in each point"));
    EXPECT_TRUE(testsupport::endsrun([&] { getinteger(*run, kindinteger, word("40000"), ctx); }, 1,
                "expecting an integer (2); got: 40000 - no of"));
    EXPECT_TRUE(testsupport::endsrun([&] { getsingle(*run, kindother, word("abc"), ctx); }, 1,
                " BOMBED in reading : expecting a single (1); got: abc - no of"));
    EXPECT_TRUE(testsupport::endsrun([&] { getsingle(*run, kindreal, word("1e+5000"), ctx); }, 1,
                "expecting a single (2); got: 1e+5000 - no of"));
    EXPECT_TRUE(testsupport::endsrun([&] { getsingle(*run, kindother, word(std::string(30, 'x')), ctx); }, 1, "got: " + std::string(20, 'x') + " - no of"));
    EXPECT_TRUE(testsupport::endsrun([&] { getsingle(*run, kindrational, word("3/0"), ctx); }, 1,
                "expecting a single (3); got: 3/0 - no of"));
}

}  // namespace
