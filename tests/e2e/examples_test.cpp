// examples_test.cpp - every bundled example draws without a failure report,
// and its drawing passes Ghostscript; the README's data file checks cleanly.
#include <gtest/gtest.h>

#include <string>

#include "e2e/harness.h"

namespace {

TEST(Examples, EachFolderDrawsCleanly) {
    std::vector<std::string> folders = e2e::listfolders(EXAMPLES_DIR);
    EXPECT_GE(folders.size(), 3u);
    for (const std::string& name : folders) {
        std::string source = std::string(EXAMPLES_DIR) + "/" + name;
        std::string dir = e2e::makeworkdir();
        for (const std::string& f : e2e::listfiles(source))
            if (f.compare(0, 3, "gl-") == 0 && f != "gl-log.txt" && f.find(".eps") == std::string::npos)
                testsupport::writefile(dir + "/" + f, testsupport::readfile(source + "/" + f));
        e2e::RunResult r = e2e::rungridel(dir, "");
        EXPECT_EQ(r.status, 0) << name << "\n" << r.screen;
        EXPECT_EQ(r.screen.find("BOMBED"), std::string::npos) << name;
        std::string eps = dir + "/gl-" + name + ".eps";
        ASSERT_TRUE(e2e::fileexists(eps)) << name;
        EXPECT_EQ(testsupport::ghostscript(eps), "") << name;
        e2e::removetree(dir);
    }
}

// The README's data file in brief is a diagram that checks without a word.
TEST(Examples, TheReadmesDataFileChecksCleanly) {
    std::string readme = testsupport::readfile(std::string(EXAMPLES_DIR) + "/../README.md");
    size_t start = readme.find("```\n% comments");
    ASSERT_NE(start, std::string::npos);
    start += 4;
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-brief.txt", readme.substr(start, readme.find("```", start) - start));
    e2e::Launch l;
    l.dir = dir;
    l.args = {"--check", "gl-brief.txt"};
    e2e::RunResult r = e2e::rungridelwith(l);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(e2e::withoutareanotes(r.errors), "");
    e2e::removetree(dir);
}

}  // namespace
