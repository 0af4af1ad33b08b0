// corpus_test.cpp - replays every input the fuzzer kept: each run must end
// by itself within 5 seconds with a normal end (0) or a failure report (1),
// write nothing to standard error but the line naming a failure, and leave
// a drawing Ghostscript accepts.  Every fourth input is also drawn as PDF,
// SVG and PNG.
// GRIDEL_REPLAY_DIR names another folder of inputs to replay instead (the
// long fuzz run replays its whole queue this way).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "e2e/harness.h"
#include "fuzz/split.h"

namespace {

// The corpus in four shares, so that the test runner can replay them side
// by side: share k takes every fourth input from the k-th.
constexpr int shares = 4;

class FuzzCorpus : public testing::TestWithParam<int> {};

TEST_P(FuzzCorpus, EveryInputEndsCleanly) {
    const char* other = std::getenv("GRIDEL_REPLAY_DIR");
    const std::string folder = other != nullptr ? other : FUZZ_CORPUS;
    std::vector<std::string> inputs = e2e::listfiles(folder);
    std::string report;
    int replayed = 0;
    for (size_t k = static_cast<size_t>(GetParam()); k < inputs.size(); k += shares) {
        const std::string& name = inputs[k];
        ++replayed;
        fuzzsplit::Parts parts = fuzzsplit::split(testsupport::readfile(folder + "/" + name));
        std::string dir = e2e::makeworkdir();
        testsupport::writefile(dir + "/gl-prefs.txt", parts.prefs);
        testsupport::writefile(dir + "/gl-fuzz.txt", parts.data);
        e2e::Launch launch;
        launch.dir = dir;
        launch.timeoutseconds = 5;
        if (k / shares % 4 == 0) launch.args = {"-T", "pdf,svg,png"};
        e2e::RunResult r = e2e::rungridelwith(launch);
        std::string problem;
        if (r.timedout) problem += " did not end within 5 s;";
        if (r.signalled) problem += " ended by a signal;";
        if (!r.timedout && !r.signalled && r.status != 0 && r.status != 1)
            problem += " exit status " + std::to_string(r.status) + ";";
        if (!e2e::cleanerrors(r.errors, r.status)) problem += " standard error: " + r.errors.substr(0, 400);
        if (r.status == 0 && e2e::fileexists(dir + "/gl-fuzz.eps")) {
            std::string gs = testsupport::ghostscript(dir + "/gl-fuzz.eps");
            if (!gs.empty()) problem += " " + gs.substr(0, 400);
        }
        if (!problem.empty()) report += name + ":" + problem + "\n";
        e2e::removetree(dir);
    }
    EXPECT_TRUE(report.empty()) << report;
    RecordProperty("inputs", replayed);
}

INSTANTIATE_TEST_SUITE_P(Share, FuzzCorpus, testing::Range(0, shares));

}  // namespace
