// stopplacing_test.cpp - an ending signal ends a run while it places the
// names of many fields as soon as at any other step: the previous drawing
// stays and the log says the run was interrupted.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "e2e/harness.h"

namespace {

// Longer than any signal may take to end a run on a loaded machine.
constexpr double longestend = 5;

TEST(StopPlacing, AnEndingSignalEndsARunThatPlacesThreeHundredFieldNames) {
    std::string dir = e2e::makeworkdir();
    // The benchmark's diagram, 300 areas each named by its comment, the
    // names at the script's own size (larger than a paper figure's), so
    // that many find room only after many tries, or none.
    int status = std::system(("python3 " EXAMPLES_DIR "/../bench/gendiagram.py --rows 4 --out " + dir + " >/dev/null 2>&1").c_str());
    ASSERT_EQ(status, 0) << "bench/gendiagram.py did not run";
    std::string data = testsupport::readfile(dir + "/gl-paper.txt");
    for (const char* line : {"style paper\n", "size 84\n", "legend right\n"}) {
        size_t at = data.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        data.erase(at, std::string(line).size());
    }
    testsupport::writefile(dir + "/gl-paper.txt", data);
    const std::string old = "%!PS-Adobe-3.0 EPSF-3.0\n% the last good drawing\n";

    e2e::Launch launch;
    launch.dir = dir;
    launch.args = {"gl-paper.txt"};
    // The whole run, timed: reading, the lines and the areas take a small
    // part of it, placing the names the most, so a signal sent at two
    // fifths of that time comes while the names are placed, however fast
    // the machine and the build.
    auto began = std::chrono::steady_clock::now();
    e2e::Started first = e2e::startgridel(launch);
    e2e::RunResult whole = e2e::finishgridel(first, 120);
    auto length = std::chrono::steady_clock::now() - began;
    ASSERT_EQ(whole.status, 0);

    const std::pair<int, std::string> signals[] = {{SIGTERM, "TERM"}, {SIGINT, "INT"}, {SIGHUP, "HUP"}};
    for (const auto& [sig, name] : signals) {
        testsupport::writefile(dir + "/gl-paper.eps", old);
        e2e::Started run = e2e::startgridel(launch);
        std::this_thread::sleep_for(length * 2 / 5);
        auto sent = std::chrono::steady_clock::now();
        kill(run.pid, sig);
        e2e::RunResult r = e2e::finishgridel(run, 120);
        double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
        EXPECT_EQ(r.signal, sig) << name << " status " << r.status;
        EXPECT_LT(took, longestend) << name;
        EXPECT_EQ(testsupport::readfile(dir + "/gl-paper.eps"), old) << name;
        std::string log = testsupport::readfile(dir + "/gl-paper.log");
        EXPECT_NE(log.find("\n-- run interrupted by SIG" + name + " --\n"), std::string::npos) << name;
    }
    e2e::removetree(dir);
}

}  // namespace
