#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/FileSystem.h"
#include "support/FaultFileSystem.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

// A file system that reads only whole files: the seam's own start and end.
class WholeFiles final : public test::FaultFileSystem {
public:
    FsStatus ReadFileStart(const std::string& path, std::size_t maxBytes, std::string* content,
                           std::uint64_t* fileSize) override {
        return FileSystem::ReadFileStart(path, maxBytes, content, fileSize);
    }
    FsStatus ReadFileEnd(const std::string& path, std::size_t maxBytes, std::string* content,
                         std::uint64_t* fileSize) override {
        return FileSystem::ReadFileEnd(path, maxBytes, content, fileSize);
    }
};

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
    WholeFiles whole;
    ASSERT_TRUE(whole.ReadFileStart(big, 20, &start, &size).Ok());
    EXPECT_EQ(start, "MVF" + std::string(17, 'x'));
    EXPECT_EQ(size, 300003u);
}

TEST(ReadFileStartTest, TheEndOfAFileUnderTheSameChecks) {
    test::TempDir dir;
    const std::string big = dir.MakeFile("big.bin", std::string(300000, 'x') + "TAG-end");
    FileSystem& fs = RealFileSystem();
    std::string end = "old";
    std::uint64_t size = 0;
    ASSERT_TRUE(fs.ReadFileEnd(big, 10, &end, &size).Ok());
    EXPECT_EQ(end, "xxxTAG-end");
    EXPECT_EQ(size, 300007u);
    ASSERT_TRUE(fs.ReadFileEnd(dir.MakeFile("small.txt", "abc"), 10, &end, &size).Ok());
    EXPECT_EQ(end, "abc");
    EXPECT_EQ(size, 3u);
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(fs.ReadFileEnd(fifo, 10, &end, &size).error, EINVAL);
    EXPECT_EQ(end, "");
    EXPECT_EQ(fs.ReadFileEnd(dir.MakeFolder("folder"), 10, &end, &size).error, EINVAL);

    WholeFiles whole;
    ASSERT_TRUE(whole.ReadFileEnd(big, 10, &end, &size).Ok());
    EXPECT_EQ(end, "xxxTAG-end");
    EXPECT_EQ(size, 300007u);
}

// Opening a device can act on it (a tape rewinds), opening a FIFO can wait: neither is opened,
// not even without blocking. inotify tells every open of the path.
TEST(ReadFileStartTest, AFifoIsRefusedWithoutBeingOpened) {
    test::TempDir dir;
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string file = dir.MakeFile("file", "abc");
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, fifo.c_str(), IN_OPEN), 0);
    ASSERT_GE(inotify_add_watch(watch, file.c_str(), IN_OPEN), 0);
    const auto opens = [&] {
        alignas(inotify_event) char events[4096];
        int count = 0;
        for (;;) {
            const ssize_t n = read(watch, events, sizeof events);
            if (n <= 0)
                return count;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                count += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    };
    FileSystem& fs = RealFileSystem();
    std::string content;
    std::uint64_t size = 0;
    EXPECT_EQ(fs.ReadFileStart(fifo, 10, &content, &size).error, EINVAL);
    EXPECT_EQ(fs.ReadFileEnd(fifo, 10, &content, &size).error, EINVAL);
    EXPECT_EQ(fs.ReadFile(fifo, 10, &content).error, EINVAL);
    EXPECT_EQ(opens(), 0);
    ASSERT_TRUE(fs.ReadFileStart(file, 10, &content, &size).Ok());
    EXPECT_EQ(opens(), 1);  // the watch sees an open when there is one
    close(watch);
}

}  // namespace
}  // namespace morvane
