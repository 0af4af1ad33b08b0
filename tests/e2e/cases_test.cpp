// cases_test.cpp - every case folder under tests/e2e/cases is one test.
#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace {

class Case : public testing::TestWithParam<std::string> {};

TEST_P(Case, MatchesExpectedOutput) {
    std::string report = e2e::runcase(std::string(E2E_CASES) + "/" + GetParam());
    EXPECT_TRUE(report.empty()) << report;
}

std::string casetestname(const testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Folder, Case, testing::ValuesIn(e2e::casenames()), casetestname);

}  // namespace
