#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/FileSystem.h"
#include "support/FaultFileSystem.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

TEST(ReadFileStartTest, TheStartOfAFileAndItsSizeNeverAFifoOrAFolder) {
    test::TempDir dir;
    const std::string big = dir.MakeFile("big.bin", "MVF" + std::string(300000, 'x'));
    FileSystem& fs = RealFileSystem();
    std::string start = "old";
    std::uint64_t size = 0;
    ASSERT_TRUE(fs.ReadFileStart(big, 20, &start, &size).Ok());
    EXPECT_EQ(start, "MVF" + std::string(17, 'x'));
    EXPECT_EQ(size, 300003u);

    const std::string small = dir.MakeFile("small.txt", "abc");
    ASSERT_TRUE(fs.ReadFileStart(small, 20, &start, &size).Ok());
    EXPECT_EQ(start, "abc");
    EXPECT_EQ(size, 3u);

    // Opened but never read from: a FIFO with no writer would wait for ever.
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(fs.ReadFileStart(fifo, 20, &start, &size).error, EINVAL);
    EXPECT_EQ(start, "");
    EXPECT_EQ(fs.ReadFileStart(dir.MakeFolder("folder"), 20, &start, &size).error, EINVAL);
    EXPECT_EQ(fs.ReadFileStart(dir / "missing", 20, &start, &size).error, ENOENT);

    // A file system that only reads whole files gives the same answer.
    test::FaultFileSystem whole;
    ASSERT_TRUE(whole.ReadFileStart(big, 20, &start, &size).Ok());
    EXPECT_EQ(start, "MVF" + std::string(17, 'x'));
    EXPECT_EQ(size, 300003u);
}

}  // namespace
}  // namespace morvane
