// files_test.cpp - output files replace the file of their name only when
// committed, through links, keeping permissions.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run/files.h"
#include "support/capture.h"

namespace {

using testsupport::folder;
using testsupport::readwhole;

OutputChannel channel;  // outside the channel table, as a test may use one

void write(const char* name, const char* extension, const char* text, bool commit) {
    openoutput(name, maketext<20>(extension), channel);
    std::fputs(text, channel.file);
    closeoutput(channel, commit);
}

mode_t modeof(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(OutputFiles, TheOldFileStaysUntilTheNewOneIsCommitted) {
    std::string dir = testsupport::enterscratch();
    testsupport::writewhole("a.txt", "old");
    openoutput("a", maketext<20>(".txt"), channel);
    std::fputs("new", channel.file);
    std::vector<std::string> during = folder(".");
    ASSERT_EQ(during.size(), 2u);
    EXPECT_EQ(during[0].substr(0, 7), ".a.txt.");  // the temporary file beside it
    EXPECT_EQ(readwhole("a.txt"), "old");
    EXPECT_EQ(closeoutput(channel, false), Closed::done);
    EXPECT_EQ(readwhole("a.txt"), "old");
    EXPECT_EQ(folder("."), std::vector<std::string>{"a.txt"});
    write("a", ".txt", "new", true);
    EXPECT_EQ(readwhole("a.txt"), "new");
    EXPECT_EQ(folder("."), std::vector<std::string>{"a.txt"});
    testsupport::leavescratch(dir);
}

TEST(OutputFiles, LinksStayAndPermissionsAreKept) {
    std::string dir = testsupport::enterscratch();
    mkdir("sub", 0755);
    testsupport::writewhole("sub/real.eps", "old");
    chmod("sub/real.eps", 0640);
    ASSERT_EQ(symlink("sub/real.eps", "link.eps"), 0);
    write("link", ".eps", "new", true);
    struct stat st;
    ASSERT_EQ(lstat("link.eps", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readwhole("sub/real.eps"), "new");
    EXPECT_EQ(modeof("sub/real.eps"), 0640u);
    EXPECT_EQ(folder("sub"), std::vector<std::string>{"real.eps"});

    mode_t mask = umask(027);
    write("fresh", ".txt", "x", true);
    umask(mask);
    EXPECT_EQ(modeof("fresh.txt"), 0640u);  // 0666 less the umask, as a plain create

    // A device is written in place: no temporary file, the link stays.
    ASSERT_EQ(symlink("/dev/null", "null.txt"), 0);
    openoutput("null", maketext<20>(".txt"), channel);
    EXPECT_EQ(channel.pending, 0);
    EXPECT_EQ(closeoutput(channel, false), Closed::done);
    EXPECT_EQ(folder("."), (std::vector<std::string>{"fresh.txt", "link.eps", "null.txt", "sub"}));
    testsupport::leavescratch(dir);
}

}  // namespace
