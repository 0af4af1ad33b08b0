// files_test.cpp - output files replace the file of their name only when
// committed, through links, keeping permissions.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run/commit.h"
#include "run/files.h"
#include "support/capture.h"
#include "support/run.h"
#include "support/floors.h"

namespace {

using testsupport::folder;
using testsupport::readfile;

// A run whose channel `ic` the tests open and close.
class OutputFiles : public testing::Test {
protected:
    void SetUp() override { dir = testsupport::enterscratch(); }
    void TearDown() override { testsupport::leavescratch(dir); }
    void open(const char* name, const char* extension) { openoutput(run, name, maketext<20>(extension), chps); }
    void close(bool commit) {
        commit ? (void)testsupport::capturescreen([&] { commitrun(run); }) : (void)dropoutput(channel);
        run.open = 1u << chw;
    }
    void write(const char* name, const char* extension, const char* text, bool commit) {
        open(name, extension);
        std::fputs(text, channel.file);
        close(commit);
    }
    std::string dir;
    std::unique_ptr<::Run> fresh = testsupport::freshrun();
    ::Run& run = *fresh;
    OutputChannel& channel = run.channels[chps];
};

mode_t modeof(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST_F(OutputFiles, TheOldFileStaysUntilTheNewOneIsCommitted) {
    testsupport::writefile("a.txt", "old");
    open("a", ".txt");
    std::fputs("new", channel.file);
    std::vector<std::string> during = folder(".");
    ASSERT_EQ(during.size(), 2u);
    EXPECT_EQ(during[0].substr(0, 7), ".a.txt.");  // the temporary file beside it
    EXPECT_EQ(readfile("a.txt"), "old");
    close(false);
    EXPECT_EQ(readfile("a.txt"), "old");
    EXPECT_EQ(folder("."), std::vector<std::string>{"a.txt"});
    write("a", ".txt", "new", true);
    EXPECT_EQ(readfile("a.txt"), "new");
    EXPECT_EQ(folder("."), std::vector<std::string>{"a.txt"});
}

TEST_F(OutputFiles, LinksStayAndPermissionsAreKept) {
    mkdir("sub", 0755);
    testsupport::writefile("sub/real.eps", "old");
    chmod("sub/real.eps", 0640);
    ASSERT_EQ(symlink("sub/real.eps", "link.eps"), 0);
    write("link", ".eps", "new", true);
    struct stat st;
    ASSERT_EQ(lstat("link.eps", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readfile("sub/real.eps"), "new");
    EXPECT_EQ(modeof("sub/real.eps"), 0640u);
    EXPECT_EQ(folder("sub"), std::vector<std::string>{"real.eps"});

    mode_t mask = umask(027);
    write("fresh", ".txt", "x", true);
    umask(mask);
    EXPECT_EQ(modeof("fresh.txt"), 0640u);  // 0666 less the umask, as a plain create

    // A device is written in place: no temporary file, the link stays.
    ASSERT_EQ(symlink("/dev/null", "null.txt"), 0);
    open("null", ".txt");
    EXPECT_FALSE(channel.pending);
    close(false);
    EXPECT_EQ(folder("."), (std::vector<std::string>{"fresh.txt", "link.eps", "null.txt", "sub"}));
}

}  // namespace
