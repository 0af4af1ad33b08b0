// batch_test.cpp - several data files in one command, each drawn as if
// alone, and the watch that draws them again when they change.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cstdio>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

using testsupport::readfile;
using testsupport::writefile;

const std::string basic = readfile(std::string(EXAMPLES_DIR) + "/basic/gl-basic.txt");
const std::string broken = "2 2 1 2\ni1 1 x\n";

// The time to the second that begins a watch's report line.
const std::string clock = "[0-2][0-9]:[0-5][0-9]:[0-6][0-9] ";

// What a data file leaves in a folder of its own when it is drawn alone.
std::map<std::string, std::string> drawnalone(const std::string& name, const std::string& data,
                                              const std::string& format) {
    e2e::Launch l;
    l.dir = e2e::makeworkdir();
    writefile(l.dir + "/" + name, data);
    l.args = {"-T", format, name};
    e2e::rungridelwith(l);
    auto files = e2e::contents(l.dir);
    e2e::removetree(l.dir);
    return files;
}

TEST(Batch, EachDataFileIsDrawnInItsFolderAsIfAlone) {
    e2e::Launch l;
    l.dir = e2e::makeworkdir();
    const std::map<std::string, std::string> data = {
        {"a/gl-a.txt", basic},
        {"b/gl-b.txt", readfile(std::string(EXAMPLES_DIR) + "/showcase/gl-showcase.txt")},
        {"c/gl-bad.txt", broken}};
    for (const auto& [name, bytes] : data) {
        mkdir((l.dir + "/" + name.substr(0, 1)).c_str(), 0755);
        writefile(l.dir + "/" + name, bytes);
    }
    l.args = {"-T", "pdf", "c/gl-bad.txt", "a/gl-a.txt", "b/gl-b.txt"};  // each named from the starting folder
    e2e::RunResult r = e2e::rungridelwith(l);
    EXPECT_EQ(r.status, 1);
    // The failure names the data file as the command line did, and quotes
    // its line from the folder the run works in.
    // The batch ends with its counts, the failed file named.
    EXPECT_EQ(r.errors, "c/gl-bad.txt:2:6: error: a number was expected here (a data row of i1), not 'x'\n"
                        "i1 1 x\n     ^\n"
                        "2 drawn, 1 failed: c/gl-bad.txt\n");
    // Each transcript on the screen is headed by its data file.
    size_t c = r.screen.find("==> c/gl-bad.txt <==\n"), a = r.screen.find("\n==> a/gl-a.txt <==\n"),
           b = r.screen.find("\n==> b/gl-b.txt <==\n");
    EXPECT_EQ(c, 0u);
    EXPECT_TRUE(a != std::string::npos && b != std::string::npos && c < a && a < b) << r.screen;
    for (const auto& [name, bytes] : data)
        EXPECT_EQ(e2e::contents(l.dir + "/" + name.substr(0, 1)), drawnalone(name.substr(2), bytes, "pdf"));

    // A data file that is its own log is refused, and left as it was.
    writefile(l.dir + "/gl-x.log", basic);
    l.args = {"gl-x.log"};
    r = e2e::rungridelwith(l);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.screen.find(" BOMBED in promptdatafile : output gl-x.log is the same file as the datafile\n"),
              std::string::npos);
    EXPECT_EQ(e2e::contents(l.dir), (std::map<std::string, std::string>{{"gl-x.log", basic}}));
    e2e::removetree(l.dir);
}

TEST(Watch, DrawsAgainAfterEachChangeAndKeepsTheLastGoodDrawing) {
    std::string versions[3] = {basic, basic, basic}, drawn[3];
    versions[1].replace(versions[1].find("numbering yes 10"), 16, "numbering yes 14");
    versions[2].replace(versions[2].find("docircles 3"), 11, "docircles 5");
    for (int k = 0; k < 3; ++k) drawn[k] = drawnalone("gl-w.txt", versions[k], "eps")["gl-w.eps"];  // alone

    e2e::Launch l;
    l.dir = e2e::makeworkdir();
    writefile(l.dir + "/gl-w.txt", basic);
    l.args = {"--watch", "gl-w.txt"};
    e2e::Started run = e2e::startgridel(l);
    auto shows = [&](const std::string& drawing) {  // once it has taken its name
        return e2e::waitfor(run, [&](auto&, auto&) { return readfile(l.dir + "/gl-w.eps") == drawing; });
    };
    EXPECT_TRUE(shows(drawn[0]));
    writefile(l.dir + "/gl-w.txt", versions[1]);  // written in place
    EXPECT_TRUE(shows(drawn[1]));
    writefile(l.dir + "/gl-w.txt", broken);  // the report comes, the last good drawing stays
    EXPECT_TRUE(e2e::waitfor(run, [](auto&, auto& errors) { return errors.find("gl-w.txt:2:6: error:") != std::string::npos; }));
    EXPECT_EQ(readfile(l.dir + "/gl-w.eps"), drawn[1]);
    writefile(l.dir + "/.gl-w.txt.saving", versions[2]);  // saved by renaming a new file over the old one
    ASSERT_EQ(std::rename((l.dir + "/.gl-w.txt.saving").c_str(), (l.dir + "/gl-w.txt").c_str()), 0);
    EXPECT_TRUE(shows(drawn[2]));

    kill(run.pid, SIGINT);  // Ctrl-C ends the watch normally
    e2e::RunResult r = e2e::finishgridel(run, 10);
    EXPECT_EQ(r.status, 0);
    // Three drawings: the watch's own outputs never made it draw again.
    size_t drawings = 0;
    for (size_t at = 0; (at = r.screen.find("with diagram in file", at)) != std::string::npos; ++at) ++drawings;
    EXPECT_EQ(drawings, 3u);
    EXPECT_EQ(e2e::listfiles(l.dir), (std::vector<std::string>{"gl-w.eps", "gl-w.log", "gl-w.txt"}));
    // Standard error says what is watched, then one line after each
    // drawing: the time, the files written and the time taken, or where
    // the run failed.
    const std::string wrote = "gl-w.txt: wrote gl-w.eps, gl-w.log in [0-9]+ ms, (no warnings|[0-9]+ warnings?)";
    EXPECT_TRUE(std::regex_match(r.errors, std::regex("watching gl-w.txt \\(and gl-prefs.txt\\); Ctrl-C to stop\n"
                                                      "(" + clock + wrote + "\n){2}"
                                                      "gl-w.txt:2:6: error: [^\n]*\n[^\n]*\n[^\n]*\n" +
                                                      clock + "gl-w.txt: failed at gl-w.txt:2:6 in [0-9]+ ms\n" + clock +
                                                      wrote + "\n")))
        << r.errors;

    // A watch with nothing it can watch ends at once, and says it failed.
    l.args = {"--watch", "no/such/folder/gl-w.txt"};
    r = e2e::rungridelwith(l);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.errors.find("cannot watch it"), std::string::npos) << r.errors;
    e2e::removetree(l.dir);
}

TEST(Watch, AFolderThatIsRemovedIsDrawnAgainWhenItIsBack) {
    e2e::Launch l;
    l.dir = e2e::makeworkdir();
    const std::string sub = l.dir + "/sub";
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    writefile(sub + "/gl-w.txt", basic);
    writefile(l.dir + "/gl-v.txt", basic);  // a second folder, watched all along
    l.args = {"--watch", "sub/gl-w.txt", "gl-v.txt"};
    e2e::Started run = e2e::startgridel(l);
    size_t drawings = 0;  // "with diagram in file" comes when the drawing and its log are in place
    auto drawn = [&] {
        ++drawings;
        return e2e::waitfor(run, [&](auto& screen, auto&) {
            size_t seen = 0;
            for (size_t at = 0; (at = screen.find("with diagram in file", at)) != std::string::npos; ++at) ++seen;
            return seen == drawings;
        });
    };
    ++drawings;  // gl-v.txt
    EXPECT_TRUE(drawn());
    e2e::removetree(sub);
    EXPECT_TRUE(e2e::waitfor(run, [](auto&, auto& errors) {
        return errors.find("gridel: sub/: the watched folder is gone; its files are drawn again when it is back\n") !=
               std::string::npos;
    }));
    // Made again, empty at first: nothing to draw until the file is saved.
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    EXPECT_TRUE(e2e::waitfor(run, [](auto&, auto& errors) {
        return errors.find("gridel: sub/: the watched folder is back\n") != std::string::npos;
    }));
    writefile(sub + "/gl-w.txt", basic);
    EXPECT_TRUE(drawn());
    // Removed and made again with the file in it at once.
    e2e::removetree(sub);
    ASSERT_EQ(mkdir((l.dir + "/new").c_str(), 0755), 0);
    writefile(l.dir + "/new/gl-w.txt", basic);
    EXPECT_TRUE(e2e::waitfor(run, [](auto&, auto& errors) {
        return errors.find("gone", errors.find("back")) != std::string::npos;
    }));
    ASSERT_EQ(std::rename((l.dir + "/new").c_str(), sub.c_str()), 0);
    EXPECT_TRUE(drawn());
    kill(run.pid, SIGINT);
    e2e::RunResult r = e2e::finishgridel(run, 10);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(std::regex_replace(r.errors, std::regex("(watching|" + clock + ")[^\n]*\n"), ""),
              "gridel: sub/: the watched folder is gone; its files are drawn again when it is back\n"
                        "gridel: sub/: the watched folder is back\n"
                        "gridel: sub/: the watched folder is gone; its files are drawn again when it is back\n"
                        "gridel: sub/: the watched folder is back\n");
    EXPECT_EQ(drawings, 4u);  // both at the start, then sub/gl-w.txt twice
    e2e::removetree(l.dir);
}

}  // namespace

TEST(Batch, AMissingDataFileIsReportedTheSameWayWhereverItIsNamed) {
    e2e::Launch l;
    l.dir = e2e::makeworkdir();
    mkdir((l.dir + "/there").c_str(), 0755);
    writefile(l.dir + "/plain", "");
    writefile(l.dir + "/there/gl-a.txt", basic);
    // In the current folder, in a folder that is there, in one that is not,
    // behind a file that is no folder: each is a data file not found.
    for (const char* name : {"nope.txt", "there/nope.txt", "nope/gl-x.txt", "plain/gl-x.txt"}) {
        for (bool check : {false, true}) {
            l.args = check ? std::vector<std::string>{"--check", name} : std::vector<std::string>{name};
            e2e::RunResult r = e2e::rungridelwith(l);
            EXPECT_EQ(r.status, 1) << name;
            EXPECT_EQ(r.errors, std::string(name) + ": error: the data file was not found\n") << name;
        }
    }
    // The other data files of the command are drawn all the same.
    l.args = {"nope/gl-x.txt", "there/gl-a.txt"};
    e2e::RunResult r = e2e::rungridelwith(l);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(e2e::fileexists(l.dir + "/there/gl-a.eps"));
    e2e::removetree(l.dir);
}
