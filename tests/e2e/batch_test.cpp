// batch_test.cpp - several data files in one command, each drawn as if
// alone, and the watch that draws them again when they change.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

using Files = std::vector<std::string>;
using testsupport::readfile;
using testsupport::writefile;

const std::string basic = readfile(std::string(EXAMPLES_DIR) + "/basic/gl-basic.txt");
const std::string broken = "2 2 1 2\ni1 1 x\n";

// The files a data file leaves drawn alone in a folder of its own, by name.
std::vector<std::pair<std::string, std::string>> drawnalone(const std::string& name, const std::string& data,
                                                            std::vector<std::string> options) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/" + name, data);
    e2e::Launch l;
    l.dir = dir;
    l.args = std::move(options);
    l.args.push_back(name);
    e2e::rungridelwith(l);
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& f : e2e::listfiles(dir)) files.emplace_back(f, readfile(dir + "/" + f));
    e2e::removetree(dir);
    return files;
}

TEST(Batch, EachDataFileIsDrawnInItsFolderAsIfAlone) {
    std::string top = e2e::makeworkdir();
    for (const char* sub : {"/a", "/b", "/c"}) mkdir((top + sub).c_str(), 0755);
    writefile(top + "/a/gl-a.txt", basic);
    writefile(top + "/b/gl-b.txt", readfile(std::string(EXAMPLES_DIR) + "/showcase/gl-showcase.txt"));
    writefile(top + "/c/gl-bad.txt", broken);
    e2e::Launch l;
    l.dir = top;
    l.args = {"-T", "pdf", "c/gl-bad.txt", "a/gl-a.txt", "b/gl-b.txt"};  // relative names, after a change of folder
    e2e::RunResult r = e2e::rungridelwith(l);
    EXPECT_EQ(r.status, 1);
    // The failure names the data file as the command line did.
    EXPECT_EQ(r.errors, "c/gl-bad.txt:2: expecting a single (1); got: x - reading coordinates for i1\n");
    EXPECT_EQ(e2e::listfiles(top + "/c"), (Files{"gl-bad.log", "gl-bad.txt"}));
    EXPECT_NE(readfile(top + "/c/gl-bad.log").find(" BOMBED in reading"), std::string::npos);
    for (const std::string& name : {std::string("a/gl-a.txt"), std::string("b/gl-b.txt")}) {
        std::string folder = top + "/" + name.substr(0, 1) + "/";
        auto alone = drawnalone(name.substr(2), readfile(folder + name.substr(2)), {"-T", "pdf"});
        ASSERT_EQ(alone.size(), 4u) << name;  // .eps, .log, .pdf, .txt
        for (const auto& [file, bytes] : alone) EXPECT_EQ(readfile(folder + file), bytes) << file;
        EXPECT_EQ(e2e::listfiles(folder).size(), 4u) << name;
    }
    e2e::removetree(top);
}

TEST(Batch, ADataFileTheLogWouldReplaceIsRefused) {
    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-x.log", basic);
    e2e::Launch l;
    l.dir = dir;
    l.args = {"gl-x.log"};
    e2e::RunResult r = e2e::rungridelwith(l);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.screen.find(" BOMBED in promptdatafile : output gl-x.log is the same file as the datafile\n"),
              std::string::npos)
        << r.screen;
    EXPECT_EQ(readfile(dir + "/gl-x.log"), basic);
    EXPECT_EQ(e2e::listfiles(dir), Files{"gl-x.log"});
    e2e::removetree(dir);
}

// How many drawings the run has finished so far.
size_t drawings(const std::string& screen) {
    size_t n = 0;
    for (size_t at = screen.find("with diagram in file"); at != std::string::npos;
         at = screen.find("with diagram in file", at + 1))
        ++n;
    return n;
}

TEST(Watch, DrawsAgainAfterEachChangeAndKeepsTheLastGoodDrawing) {
    // Three versions of the diagram: the drawings each gives alone.
    std::string second = basic, third = basic;
    second.replace(second.find("numbering yes 10"), 16, "numbering yes 14");
    third.replace(third.find("docircles 3"), 11, "docircles 5");
    const std::string versions[3] = {basic, second, third};
    std::string drawn[3];
    for (int k = 0; k < 3; ++k) drawn[k] = drawnalone("gl-w.txt", versions[k], {})[0].second;  // gl-w.eps
    ASSERT_NE(drawn[0], drawn[1]);
    ASSERT_NE(drawn[1], drawn[2]);

    std::string dir = e2e::makeworkdir();
    writefile(dir + "/gl-w.txt", basic);
    e2e::Launch l;
    l.dir = dir;
    l.args = {"--watch", "gl-w.txt"};
    e2e::Started run = e2e::startgridel(l);
    // Each drawing is waited for until it has taken its name.
    auto shows = [&](const std::string& drawing) {
        return e2e::waitfor(run, [&](const std::string&, const std::string&) {
            return readfile(dir + "/gl-w.eps") == drawing;
        });
    };
    EXPECT_TRUE(shows(drawn[0]));
    writefile(dir + "/gl-w.txt", versions[1]);  // written in place
    EXPECT_TRUE(shows(drawn[1]));
    writefile(dir + "/gl-w.txt", broken);  // the report comes, the last good drawing stays
    EXPECT_TRUE(e2e::waitfor(run, [](const std::string&, const std::string& errors) {
        return errors.find("gl-w.txt:2: expecting a single (1)") != std::string::npos;
    }));
    EXPECT_EQ(readfile(dir + "/gl-w.eps"), drawn[1]);
    writefile(dir + "/.gl-w.txt.saving", versions[2]);  // saved by renaming a new file over the old one
    ASSERT_EQ(std::rename((dir + "/.gl-w.txt.saving").c_str(), (dir + "/gl-w.txt").c_str()), 0);
    EXPECT_TRUE(shows(drawn[2]));

    kill(run.pid, SIGINT);  // Ctrl-C ends the watch normally
    e2e::RunResult r = e2e::finishgridel(run, 10);
    EXPECT_FALSE(r.signalled);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(drawings(r.screen), 3u);
    EXPECT_EQ(e2e::listfiles(dir), (Files{"gl-w.eps", "gl-w.log", "gl-w.txt"}));
    e2e::removetree(dir);
}

}  // namespace
