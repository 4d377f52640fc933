#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/RenameFlagAnswers.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

using test::PathExists;
using test::ReadFileText;

// Every way of moving must refuse an occupied target and leave both sides as they were.
void ExpectNoReplace(const std::function<int(const std::string&, const std::string&)>& move,
                     const char* how) {
    SCOPED_TRACE(how);
    test::TempDir dir;
    const std::string file = dir.MakeFile("file", "source");
    const std::string other = dir.MakeFile("other", "target");
    const std::string folder = dir.MakeFolder("folder");
    dir.MakeFile("folder/inside", "x");
    const std::string emptyFolder = dir.MakeFolder("empty");
    const std::string dangling = dir / "dangling";
    ASSERT_EQ(symlink("nowhere", dangling.c_str()), 0);

    for (const auto& target : {other, folder, emptyFolder, dangling}) {
        EXPECT_EQ(move(file, target), EEXIST) << target;
        EXPECT_EQ(move(folder, target == folder ? emptyFolder : target), EEXIST) << target;
    }
    EXPECT_EQ(ReadFileText(file), "source");
    EXPECT_EQ(ReadFileText(other), "target");
    EXPECT_EQ(ReadFileText(dir / "folder/inside"), "x");
    EXPECT_EQ(dir.Names("empty"), std::vector<std::string>{});
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"dangling", "empty", "file", "folder", "other"}));

    // Free names are taken.
    EXPECT_EQ(move(file, dir / "moved"), 0);
    EXPECT_EQ(ReadFileText(dir / "moved"), "source");
    EXPECT_FALSE(PathExists(file));
    EXPECT_EQ(move(folder, dir / "moved-folder"), 0);
    EXPECT_EQ(ReadFileText(dir / "moved-folder/inside"), "x");
    EXPECT_FALSE(PathExists(folder));
    EXPECT_EQ(move(dir / "absent", dir / "anything"), ENOENT);
    EXPECT_FALSE(PathExists(dir / "anything"));
}

TEST(FileSystemTest, MoveNeverReplacesAFileOrAFolder) {
    FileSystem& fs = RealFileSystem();
    ExpectNoReplace([&](const std::string& a, const std::string& b) { return fs.Move(a, b).error; },
                    "renameat2");
    ExpectNoReplace(detail::MoveWithoutRenameFlag, "checked rename");
}

// What the folder was told of changes in it since the watch began, one word per event.
std::vector<std::string> Events(int watch) {
    std::vector<std::string> seen;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = read(watch, buffer, sizeof buffer);
        if (n <= 0)
            return seen;
        for (ssize_t at = 0; at < n;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            const std::string name(buffer + at + sizeof event);
            if ((event.mask & IN_CREATE) != 0)
                seen.push_back("create " + name);
            if ((event.mask & IN_DELETE) != 0)
                seen.push_back("delete " + name);
            if ((event.mask & IN_MOVED_FROM) != 0)
                seen.push_back("from " + name);
            if ((event.mask & IN_MOVED_TO) != 0)
                seen.push_back("to " + name);
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
}

TEST(FileSystemTest, MoveWithoutTheFlagIsOneRenameNeverASecondName) {
    // A link and an unlink, or a placeholder folder, would show as a name created and one
    // deleted; a crash between the two would leave the file under both names.
    test::TempDir dir;
    const std::string file = dir.MakeFile("file", "content");
    const std::string folder = dir.MakeFolder("folder");
    dir.MakeFile("folder/inside", "x");
    struct stat before {};
    ASSERT_EQ(lstat(file.c_str(), &before), 0);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, dir.path().c_str(),
                                IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO),
              0);

    EXPECT_EQ(detail::MoveWithoutRenameFlag(file, dir / "renamed"), 0);
    EXPECT_EQ(detail::MoveWithoutRenameFlag(folder, dir / "renamed-folder"), 0);
    EXPECT_EQ(detail::MoveWithoutRenameFlag(dir / "renamed", dir / "renamed-folder"), EEXIST);
    EXPECT_EQ(Events(watch), (std::vector<std::string>{"from file", "to renamed", "from folder",
                                                       "to renamed-folder"}));
    close(watch);
    struct stat after {};
    ASSERT_EQ(lstat((dir / "renamed").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 1u);
    EXPECT_EQ(ReadFileText(dir / "renamed-folder/inside"), "x");
}

TEST(FileSystemTest, AWrongMoveIsNotTakenForARefusedFlag) {
    test::TempDir dir;
    const std::string folder = dir.MakeFolder("folder");
    dir.MakeFolder("folder/sub");
    struct stat st {};
    ASSERT_EQ(stat(folder.c_str(), &st), 0);
    // A folder into itself: EINVAL, as a file system that refuses the flag answers too.
    EXPECT_EQ(RealFileSystem().Move(folder, dir / "folder/sub/inner").error, EINVAL);
    EXPECT_FALSE(RenameFlagRefusedOn(st.st_dev));
    EXPECT_TRUE(RealFileSystem().TraitsOf(dir.path()).noReplaceRename);
    EXPECT_EQ(dir.Names("folder"), std::vector<std::string>{"sub"});
}

TEST(FileSystemTest, ARefusedFlagIsKeptForItsDeviceAlone) {
    // Device numbers no file system here has.
    const std::uint64_t refusing = ~std::uint64_t{0}, other = refusing - 1;
    NoteRenameFlagRefused(refusing);
    EXPECT_TRUE(RenameFlagRefusedAnywhere());
    EXPECT_TRUE(RenameFlagRefusedOn(refusing));
    EXPECT_FALSE(RenameFlagRefusedOn(other));
    // Moves elsewhere still take the flag, and never replace.
    ExpectNoReplace([](const std::string& a,
                       const std::string& b) { return RealFileSystem().Move(a, b).error; },
                    "renameat2 beside a refusing device");
}

TEST(FileSystemTest, RightsAreReadFromTheFolderAndRefusedWhereItCannotBeRead) {
    test::TempDir dir;
    FileSystem& fs = RealFileSystem();
    const FolderRights here = fs.RightsIn(dir.path());
    EXPECT_EQ(here.verdict, FolderRights::Verdict::Allowed);
    struct stat st {};
    ASSERT_EQ(stat(dir.path().c_str(), &st), 0);
    EXPECT_EQ(here.id, (FolderId{st.st_dev, st.st_ino}));
    EXPECT_EQ(here.owner, st.st_uid);
    EXPECT_EQ(here.caller, geteuid());
    // Nothing to vouch for: not an Unknown that registration would let through.
    const FolderRights absent = fs.RightsIn(dir / "absent");
    EXPECT_EQ(absent.verdict, FolderRights::Verdict::Refused);
    EXPECT_FALSE(absent.id.Known());
}

TEST(FileSystemTest, FindDescribesTheEntryItselfWithLargeSizes) {
    test::TempDir dir;
    FileSystem& fs = RealFileSystem();
    const std::string big = dir.MakeFile("big");
    ASSERT_EQ(truncate(big.c_str(), 5000000000LL), 0);  // sparse, so no disk is used
    const std::string folder = dir.MakeFolder(".hidden-folder");
    const std::string link = dir / "link";
    ASSERT_EQ(symlink("big", link.c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    const std::string readOnly = dir.MakeFile("ro", "12345");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    struct timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 123456789}};
    ASSERT_EQ(utimensat(AT_FDCWD, readOnly.c_str(), times, 0), 0);

    auto info = fs.Find(big);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, 5000000000ULL);
    EXPECT_EQ(info->kind, FileKind::Regular);
    EXPECT_EQ(info->name, "big");
    info = fs.Find(folder);
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->IsDirectory());
    EXPECT_EQ(info->size, 0u);
    info = fs.Find(link);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->kind, FileKind::Symlink);
    EXPECT_EQ(info->size, 3u);  // the link's own text, not the 5 GB it points at
    EXPECT_EQ(fs.Find(dir / "fifo")->kind, FileKind::Other);
    info = fs.Find(readOnly);
    ASSERT_TRUE(info);
    EXPECT_FALSE(info->ownerWritable);
    EXPECT_EQ(info->mtimeSec, 1700000000);
    EXPECT_EQ(info->mtimeNsec, 123456789);
    EXPECT_FALSE(fs.Find(dir / "absent"));

    ASSERT_EQ(symlink("absent", (dir / "dangling").c_str()), 0);
    EXPECT_TRUE(fs.Exists(dir / "dangling"));  // occupies its name
    EXPECT_FALSE(fs.Exists(dir / "absent"));
}

TEST(FileSystemTest, ListFolderKeepsHiddenEntriesAndSkipsDots) {
    test::TempDir dir;
    dir.MakeFile(".hidden");
    dir.MakeFile("visible");
    dir.MakeFolder(".git");
    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(RealFileSystem().ListFolder(dir.path(), &names).Ok());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".git", ".hidden", "visible"}));
    const FsStatus absent = RealFileSystem().ListFolder(dir / "absent", &names);
    EXPECT_EQ(absent.error, ENOENT);
    EXPECT_EQ(absent.op, FsOp::ListFolder);
    EXPECT_TRUE(names.empty());
}

TEST(FileSystemTest, CreateExclusiveRefusesTakenNamesAndLinks) {
    test::TempDir dir;
    FileSystem& fs = RealFileSystem();
    const std::string path = dir / "new.txt";
    ASSERT_TRUE(fs.CreateExclusive(path, "content").Ok());
    EXPECT_EQ(ReadFileText(path), "content");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    EXPECT_EQ(fs.CreateExclusive(path, "other").error, EEXIST);
    EXPECT_EQ(ReadFileText(path), "content");

    // A link planted at the name is not followed, dangling or not.
    const std::string target = dir / "target";
    ASSERT_EQ(symlink(target.c_str(), (dir / "trap").c_str()), 0);
    EXPECT_EQ(fs.CreateExclusive(dir / "trap", "x").error, EEXIST);
    EXPECT_FALSE(PathExists(target));
    dir.MakeFile("target", "keep");
    EXPECT_EQ(fs.CreateExclusive(dir / "trap", "x").error, EEXIST);
    EXPECT_EQ(ReadFileText(target), "keep");
}

TEST(FileSystemTest, WriteFileAtomicReplacesWholeOrNotAtAll) {
    test::TempDir dir;
    FileSystem& fs = RealFileSystem();
    const std::string path = dir / "config.ini";
    ASSERT_TRUE(fs.WriteFileAtomic(path, "first").Ok());
    EXPECT_EQ(ReadFileText(path), "first");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(fs.WriteFileAtomic(path, "second").Ok());
    EXPECT_EQ(ReadFileText(path), "second");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the file keeps its permissions

    // A disk that fills up mid-write (a file size limit works even for root).
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const FsStatus e = fs.WriteFileAtomic(path, std::string(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(e.error, EFBIG);
    EXPECT_EQ(e.op, FsOp::Write);
    EXPECT_EQ(ReadFileText(path), "second");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"config.ini"});  // no temporary left

    // A folder in the way is not replaced either.
    dir.MakeFile("folder/inside");
    EXPECT_FALSE(fs.WriteFileAtomic(dir / "folder", "x").Ok());
    EXPECT_TRUE(PathExists(dir / "folder/inside"));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"config.ini", "folder"}));
}

TEST(FileSystemTest, WriteFileAtomicThroughALinkReplacesTheFileItLeadsTo) {
    test::TempDir dir;
    FileSystem& fs = RealFileSystem();
    const std::string real = dir.MakeFile("real/config.ini", "old");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    dir.MakeFolder("links");
    const std::string link = dir / "links/config.ini";
    ASSERT_EQ(symlink("../real/config.ini", link.c_str()), 0);
    const std::string second = dir / "second.ini";  // a link to the link
    ASSERT_EQ(symlink(link.c_str(), second.c_str()), 0);
    struct stat before {};
    ASSERT_EQ(stat(real.c_str(), &before), 0);

    ASSERT_TRUE(fs.WriteFileAtomic(second, "new").Ok());
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat(second.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat(real.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_NE(st.st_ino, before.st_ino);  // replaced by a rename, not written in place
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadFileText(real), "new");
    EXPECT_EQ(dir.Names("real"), std::vector<std::string>{"config.ini"});
    EXPECT_EQ(dir.Names("links"), std::vector<std::string>{"config.ini"});

    // A dangling link gets the file it names, if that file's folder is there.
    ASSERT_EQ(symlink("made.ini", (dir / "dangling").c_str()), 0);
    ASSERT_TRUE(fs.WriteFileAtomic(dir / "dangling", "made").Ok());
    EXPECT_EQ(ReadFileText(dir / "made.ini"), "made");
    ASSERT_EQ(lstat((dir / "dangling").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(symlink("absent/x.ini", (dir / "nowhere").c_str()), 0);
    EXPECT_EQ(fs.WriteFileAtomic(dir / "nowhere", "x").error, ENOENT);
    EXPECT_FALSE(PathExists(dir / "absent"));
}

// The listing that looks entries up from the open folder tells what a Find by path tells.
TEST(FileSystemTest, AListingWithLooksMatchesAFindOfEveryEntry) {
    test::TempDir dir;
    dir.MakeFile("file", "abc");
    dir.MakeFolder("folder");
    ASSERT_EQ(symlink("folder", (dir / "link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (dir / "dangling").c_str()), 0);
    FileSystem& fs = RealFileSystem();
    std::vector<ListedEntry> fast, slow;
    ASSERT_TRUE(fs.ListFolderFound(dir.path(), &fast).Ok());
    ASSERT_TRUE(fs.FileSystem::ListFolderFound(dir.path(), &slow).Ok());
    const auto byName = [](const ListedEntry& a, const ListedEntry& b) {
        return a.info.name < b.info.name;
    };
    std::sort(fast.begin(), fast.end(), byName);
    std::sort(slow.begin(), slow.end(), byName);
    ASSERT_EQ(fast.size(), 4u);
    ASSERT_EQ(slow.size(), 4u);
    for (std::size_t i = 0; i < fast.size(); ++i) {
        const FileInfo& a = fast[i].info;
        const FileInfo& b = slow[i].info;
        SCOPED_TRACE(b.name);
        EXPECT_TRUE(fast[i].found);
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.size, b.size);
        EXPECT_EQ(a.mtimeSec, b.mtimeSec);
        EXPECT_EQ(a.mtimeNsec, b.mtimeNsec);
        EXPECT_EQ(a.inode, b.inode);
        EXPECT_EQ(a.device, b.device);
        EXPECT_EQ(a.owner, b.owner);
    }
    EXPECT_EQ(fast[3].info.kind, FileKind::Symlink);  // "link" is not followed
    EXPECT_FALSE(fs.ListFolderFound(dir / "absent", &fast).Ok());
}

TEST(FileSystemTest, AFindWithinAnOpenFolderMatchesAFindOfThePath) {
    test::TempDir dir;
    dir.MakeFile("file", "abc");
    ASSERT_EQ(link((dir / "file").c_str(), (dir / "second").c_str()), 0);
    ASSERT_EQ(symlink("file", (dir / "link").c_str()), 0);
    FileSystem& fs = RealFileSystem();
    const auto id = fs.Find(dir.path());
    ASSERT_TRUE(id);
    FolderHandle folder;
    ASSERT_TRUE(fs.OpenFolder(dir.path(), {id->device, id->inode}, &folder).Ok());
    for (const std::string name : {"file", "link"}) {
        SCOPED_TRACE(name);
        const auto within = fs.FindWithin(folder, name);
        const auto byPath = fs.Find(dir / name);
        ASSERT_TRUE(within && byPath);
        EXPECT_EQ(within->name, name);
        EXPECT_EQ(within->kind, byPath->kind);
        EXPECT_EQ(within->size, byPath->size);
        EXPECT_EQ(within->inode, byPath->inode);
        EXPECT_EQ(within->links, byPath->links);
        EXPECT_EQ(within->birthSec, byPath->birthSec);
        EXPECT_EQ(within->birthNsec, byPath->birthNsec);
    }
    EXPECT_EQ(fs.FindWithin(folder, "file")->links, 2u);
    EXPECT_EQ(fs.FindWithin(folder, "link")->kind, FileKind::Symlink);
    EXPECT_FALSE(fs.FindWithin(folder, "absent"));
}

}  // namespace
}  // namespace morvane
