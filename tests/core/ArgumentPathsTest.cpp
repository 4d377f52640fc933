#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/ArgumentPaths.h"
#include "platform/ReadToEnd.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

TEST(ArgumentPathsTest, RelativePathsAreJoinedToTheBaseAndTidied) {
    struct Case {
        const char* base;
        const char* path;
        const char* absolute;
    };
    const Case cases[] = {
        {"/home/u", "photo.jpg", "/home/u/photo.jpg"},
        {"/home/u", "./scans/", "/home/u/scans"},
        {"/home/u", "../v/x", "/home/v/x"},
        {"/home/u", "a//b/./c", "/home/u/a/b/c"},
        {"/home/u", "/etc/../tmp", "/tmp"},
        {"/home/u", ".", "/home/u"},
        {"/", "x", "/x"},
        {"/home/u", "../../..", "/"},
        {"/home/u", "", ""},
        {"/w", "caf\xe9\n.txt", "/w/caf\xe9\n.txt"},  // any byte but '/' is a name's
    };
    for (const Case& c : cases)
        EXPECT_EQ(AbsolutePath(c.base, c.path), c.absolute) << c.base << " + " << c.path;
}

TEST(ArgumentPathsTest, ListsSplitAtLinesOrAtNul) {
    using Paths = std::vector<std::string>;
    EXPECT_EQ(SplitPathList("a\nb c\r\n\nd", '\n'), (Paths{"a", "b c", "d"}));
    EXPECT_EQ(SplitPathList(std::string("a\nb\0c\r\0\0", 9), '\0'), (Paths{"a\nb", "c\r"}));
    EXPECT_EQ(SplitPathList("", '\n'), Paths{});
}

TEST(ArgumentPathsTest, ReadToEndTakesAPipeWholeAndTheWorkingDirectoryIsFull) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const std::string sent(100000, '\xff');
    // More than a pipe holds: written by a child while the parent reads, as find would.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ends[0]);
        const bool whole =
            write(ends[1], sent.data(), sent.size()) == static_cast<ssize_t>(sent.size());
        _exit(whole ? 0 : 1);
    }
    close(ends[1]);
    std::string received = "kept ";
    EXPECT_TRUE(ReadToEnd(ends[0], &received));
    close(ends[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(received, "kept " + sent);
    EXPECT_FALSE(ReadToEnd(-1, &received));

    const std::string cwd = CurrentDirectory();
    ASSERT_FALSE(cwd.empty());
    EXPECT_EQ(cwd.front(), '/');
    EXPECT_EQ(AbsolutePath(cwd, "."), cwd);
}

}  // namespace
}  // namespace morvane
