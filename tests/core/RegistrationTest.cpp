#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "core/RegistrationFixture.h"
#include "host/Messages.h"
#include "ops/Busy.h"
#include "ops/registration/Navigation.h"
#include "ops/registration/Registration.h"
#include "support/AppFixture.h"

namespace morvane::test {
namespace {

// How often the needle stands in the text.
int CountIn(const std::string& text, const std::string& needle) {
    int n = 0;
    for (auto pos = text.find(needle); pos != std::string::npos; pos = text.find(needle, pos + 1))
        ++n;
    return n;
}

// A home folder in the test folder whose user folders name Docs, and Gone that is missing;
// HOME and XDG_CONFIG_HOME lead there while it lives.
class UserHome {
public:
    explicit UserHome(TempDir& dir) {
        if (const char* h = getenv("HOME"))
            savedHome_ = h;
        if (const char* c = getenv("XDG_CONFIG_HOME"))
            savedConfig_ = c;
        dir.MakeFile("home/.config/user-dirs.dirs",
                     "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_MUSIC_DIR=\"$HOME/Gone\"\n");
        dir.MakeFile("home/Docs/letter.txt");
        dir.MakeFile("home/Docs/inner/deep.txt");
        dir.MakeFolder("home/Pictures");
        setenv("HOME", (dir / "home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir / "home/.config").c_str(), 1);
    }
    UserHome(const UserHome&) = delete;
    UserHome& operator=(const UserHome&) = delete;
    ~UserHome() {
        setenv("HOME", savedHome_.c_str(), 1);
        if (savedConfig_.empty()) {
            unsetenv("XDG_CONFIG_HOME");
        } else {
            setenv("XDG_CONFIG_HOME", savedConfig_.c_str(), 1);
        }
    }

private:
    std::string savedHome_, savedConfig_;
};

struct RegistrationTest : RegistrationFixture, ::testing::Test {
    std::vector<std::string> moveTargets;
    RegistrationTest() {
        fs.beforeMove = [this](const std::string&, const std::string& to) {
            moveTargets.push_back(to);
        };
    }
    int Count(const std::string& needle) const { return CountIn(Log(), needle); }
};

TEST_F(RegistrationTest, RowCellsComeFromTheFile) {
    const std::string path = dir.MakeFile("docs/report.final.TXT", "hello");
    timeval times[2] = {{1700000000, 0}, {1700000000, 0}};  // 2023-11-14 22:13:20 UTC
    ASSERT_EQ(utimes(path.c_str(), times), 0);
    ASSERT_TRUE(registration.RegisterPath(path));
    const ListRow& row = list.Row(0);
    EXPECT_EQ(list.Cell(0, ColCurrentName), "report.final.TXT");
    EXPECT_EQ(list.Cell(0, ColNewName), "report.final.TXT");
    EXPECT_EQ(row.cells.Get(ColCharCount), "16");
    EXPECT_EQ(row.cells.Get(ColSize), "5");
    EXPECT_EQ(row.cells.Get(ColModified), "2023/11/14 22:13:20");
    EXPECT_EQ(list.Cell(0, ColDirectory), dir / "docs/");
    EXPECT_EQ(row.cells.Get(ColExtension), "TXT");
    EXPECT_EQ(row.cells.Get(ColRowNumber), "1");
    EXPECT_EQ(row.cells.Get(ColError), "");
    EXPECT_EQ(row.cells.Get(ColAttributes), "N");
    EXPECT_EQ(list.Cell(0, ColType), "file");  // from the host's provider
    const FileEntry& e = row.entry;
    EXPECT_EQ(e.currentKey, path);
    EXPECT_EQ(e.NewKey(), path);
    EXPECT_EQ(e.NewPath(), path);
    EXPECT_EQ(e.dirLength, (dir / "docs/").size());
    EXPECT_EQ(e.errors, 0u);
    EXPECT_EQ(host.registeredCount, 1);
    EXPECT_TRUE(list.CurrentPathIndex().IsConsistent());
    EXPECT_EQ(list.NewPathIndex().Find(path), &row.entry);
    // On a local file system the folder's rights decide: nothing was moved to find out.
    EXPECT_TRUE(moveTargets.empty());
    EXPECT_EQ(ReadFileText(path), "hello");
    EXPECT_EQ(dir.Names("docs"), std::vector<std::string>{"report.final.TXT"});
}

TEST_F(RegistrationTest, SizesAttributesAndCharacterCounts) {
    // A sparse file beyond 2^32 bytes shows its full size.
    const std::string big = dir.MakeFile("big.bin");
    ASSERT_EQ(truncate(big.c_str(), 5000000000LL), 0);
    ASSERT_TRUE(registration.RegisterPath(big));
    EXPECT_EQ(list.Cell(RowOf("big.bin"), ColSize), "5000000000");

    EXPECT_GE(Add(".hidden"), 0);
    EXPECT_EQ(list.Cell(RowOf(".hidden"), ColAttributes), "H");
    EXPECT_EQ(list.Cell(RowOf(".hidden"), ColExtension), "hidden");
    EXPECT_GE(Add("folder/"), 0);
    EXPECT_EQ(list.Cell(RowOf("folder"), ColAttributes), "D");
    EXPECT_EQ(list.Cell(RowOf("folder"), ColSize), "0");
    EXPECT_GE(Add(".cfg/"), 0);
    EXPECT_EQ(list.Cell(RowOf(".cfg"), ColAttributes), "HD");
    const std::string ro = dir.MakeFile("readonly.txt");
    chmod(ro.c_str(), 0444);
    ASSERT_TRUE(registration.RegisterPath(ro));
    EXPECT_EQ(list.Cell(RowOf("readonly.txt"), ColAttributes), "R");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
    ASSERT_TRUE(registration.RegisterPath(dir / "pipe"));
    EXPECT_EQ(list.Cell(RowOf("pipe"), ColAttributes), "S");
    // "文字数" counts UTF-16 units: a CJK character is one, an emoji two.
    EXPECT_GE(Add("日本\xF0\x9F\x98\x80.txt"), 0);
    EXPECT_EQ(list.Cell(RowOf("日本\xF0\x9F\x98\x80.txt"), ColCharCount), "8");
}

TEST_F(RegistrationTest, SameFileTwiceGivesOneRowAndNoMessage) {
    ASSERT_EQ(Add("a.txt"), 0);
    registration.OnDropFiles({dir / "a.txt", dir / "a.txt", dir / "a.txt/"});
    EXPECT_EQ(list.RowCount(), 1);
    EXPECT_EQ(Count("【エラー】"), 0);
    // Names differing in case are different files here.
    dir.MakeFile("A.TXT");
    EXPECT_TRUE(registration.RegisterPath(dir / "A.TXT"));
    EXPECT_EQ(list.RowCount(), 2);
}

TEST_F(RegistrationTest, ProtectedFoldersAreLockedWithoutRenameTest) {
    ASSERT_TRUE(registration.RegisterPath("/etc/passwd"));
    EXPECT_NE(Log().find(FormatText(msg::kInConfigPrefix, "/etc/passwd")), std::string::npos);
    EXPECT_EQ(Bits(0), ErrRenameTest);
    EXPECT_EQ(list.Cell(0, ColError), "排他 | ");
    EXPECT_EQ(fs.moveCalls, 0);
    // The prefix test needs no separator after the folder text, as before.
    locations.programPrefix = dir / "us";
    const std::string inside = dir.MakeFile("usrdata/x.txt");
    ASSERT_TRUE(registration.RegisterPath(inside));
    EXPECT_NE(Log().find(FormatText(msg::kInProgramPrefix, inside.c_str())), std::string::npos);
    EXPECT_EQ(Bits(1), ErrRenameTest);
    EXPECT_EQ(fs.moveCalls, 0);
    // A direct child of "/" is locked with the warning, whatever its folder allows.
    ASSERT_TRUE(registration.RegisterPath("/tmp"));
    EXPECT_NE(Log().find(FormatText(msg::kRenameTestFailed, "/tmp")), std::string::npos);
    EXPECT_EQ(fs.moveCalls, 0);
}

TEST_F(RegistrationTest, NetworkFoldersAreRegisteredWithoutMovingAnything) {
    fs.DecideRenamesOnTheirOwn();
    dir.MakeFile("00000000[MORVANE]_a.txt", "leftover");
    const std::string file = dir.MakeFile("a.txt", "mine");
    const std::string folder = dir.MakeFolder("sub");
    dir.MakeFile("sub/b.txt", "bee");
    // Old enough that a change made now would show in the stamps.
    struct timespec past[2] = {{1600000000, 0}, {1600000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.path().c_str(), past, 0), 0);
    ASSERT_EQ(utimensat(AT_FDCWD, folder.c_str(), past, 0), 0);
    const auto fileBefore = fs.Find(file);
    const auto subBefore = fs.Find(folder);
    const auto dirBefore = fs.Find(dir.path());
    ASSERT_TRUE(fileBefore && subBefore && dirBefore);

    ASSERT_TRUE(registration.RegisterPath(file));
    ASSERT_TRUE(registration.RegisterPath(folder));
    ASSERT_TRUE(registration.RegisterPath(dir / "sub/b.txt"));
    EXPECT_EQ(Bits(0), 0u);
    EXPECT_EQ(Bits(1), 0u);
    EXPECT_EQ(Bits(2), 0u);
    EXPECT_EQ(fs.moveCalls, 0);
    EXPECT_TRUE(moveTargets.empty());
    EXPECT_EQ(Count("【"), 0);
    // Not a stamp moved: a move away and back would change the file's inode and both folders.
    const auto fileAfter = fs.Find(file);
    const auto dirAfter = fs.Find(dir.path());
    ASSERT_TRUE(fileAfter && dirAfter);
    EXPECT_EQ(fileAfter->changeSec, fileBefore->changeSec);
    EXPECT_EQ(fileAfter->changeNsec, fileBefore->changeNsec);
    EXPECT_EQ(fs.Find(folder)->changeNsec, subBefore->changeNsec);
    EXPECT_EQ(fs.Find(folder)->mtimeSec, 1600000000);
    EXPECT_EQ(dirAfter->mtimeSec, 1600000000);
    EXPECT_EQ(dirAfter->changeNsec, dirBefore->changeNsec);
    EXPECT_EQ(ReadFileText(dir / "00000000[MORVANE]_a.txt"), "leftover");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"00000000[MORVANE]_a.txt", "a.txt", "sub"}));
}

TEST_F(RegistrationTest, TheFoldersRightsDecideWithoutMovingAnything) {
    // A sticky folder owned by someone else, and we neither own the file nor are root.
    fs.adjustRights = [](const std::string&, FolderRights& rights) {
        rights.sticky = true;
        rights.owner = 54321;
        rights.caller = 12345;
    };
    ASSERT_EQ(Add("theirs.txt"), 0);
    EXPECT_EQ(Bits(0), ErrRenameTest);
    EXPECT_EQ(Count(FormatText(msg::kRenameTestFailed, (dir / "theirs.txt").c_str())), 1);
    // The caller owns the folder: allowed.
    fs.adjustRights = [](const std::string&, FolderRights& rights) {
        rights.sticky = true;
        rights.owner = rights.caller = 12345;
    };
    ASSERT_EQ(Add("ours.txt"), 1);
    EXPECT_EQ(Bits(1), 0u);
    EXPECT_EQ(fs.moveCalls, 0);
    // Without write permission on the folder (root has it everywhere).
    fs.adjustRights = nullptr;
    if (geteuid() != 0) {
        const std::string locked = dir.MakeFolder("locked");
        dir.MakeFile("locked/a.txt");
        ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
        ASSERT_TRUE(registration.RegisterPath(locked + "/a.txt"));
        EXPECT_EQ(list.EntryAt(2)->errors, std::uint32_t{ErrRenameTest});
        chmod(locked.c_str(), 0755);
    }
    EXPECT_EQ(fs.moveCalls, 0);
}

TEST_F(RegistrationTest, AFolderThatRefusesRenamesLocksTheRow) {
    fs.RefuseRenames();
    ASSERT_EQ(Add("a.txt", "x"), 0);
    EXPECT_EQ(Bits(0), ErrRenameTest);
    EXPECT_NE(Log().find(FormatText(msg::kRenameTestFailed, (dir / "a.txt").c_str())),
              std::string::npos);
    EXPECT_EQ(ReadFileText(dir / "a.txt"), "x");

    // Where the server decides, a file that is immutable or append-only is still locked.
    fs.DecideRenamesOnTheirOwn();
    fs.adjustFind = [this](const std::string& path, std::optional<FileInfo>& info) {
        if (info && path == dir / "fixed.txt")
            info->unchangeable = true;
    };
    ASSERT_EQ(Add("fixed.txt", "f"), 1);
    EXPECT_EQ(Bits(1), ErrRenameTest);
    EXPECT_EQ(Count(FormatText(msg::kRenameTestFailed, (dir / "fixed.txt").c_str())), 1);
    EXPECT_EQ(fs.moveCalls, 0);
}

TEST_F(RegistrationTest, MovesTheServerWouldRefuseAreLeftToTheRun) {
    fs.DecideRenamesOnTheirOwn();
    fs.failMove = [](const std::string&, const std::string&) { return EPERM; };
    ASSERT_EQ(Add("a.txt", "data"), 0);
    EXPECT_EQ(Bits(0), 0u);
    // The sticky bit's owners are the server's users, not ours: it decides.
    fs.adjustRights = [](const std::string&, FolderRights& rights) {
        rights.verdict = FolderRights::Verdict::Unknown;
        rights.sticky = true;
        rights.owner = 54321;
        rights.caller = 12345;
    };
    ASSERT_EQ(Add("theirs.txt"), 1);
    EXPECT_EQ(Bits(1), 0u);
    EXPECT_EQ(Count("【"), 0);
    EXPECT_EQ(fs.moveCalls, 0);
    EXPECT_EQ(ReadFileText(dir / "a.txt"), "data");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "theirs.txt"}));
}

TEST_F(RegistrationTest, DropsHonourTheFolderSettings) {
    dir.MakeFile("tree/a.txt");
    dir.MakeFile("tree/sub/b.txt");
    settings.registerFolders = 0;
    registration.OnDropFiles({dir / "tree"});
    EXPECT_EQ(list.RowCount(), 0);  // a folder refused without a message
    EXPECT_EQ(Count("【エラー】"), 0);

    settings.registerFolders = 1;
    registration.OnDropFiles({dir / "tree"});
    EXPECT_EQ(list.RowCount(), 1);  // only the folder's own row

    settings.registerEverythingBelow = 1;
    removal.ClearAllRows();
    registration.OnDropFiles({dir / "tree/"});
    EXPECT_EQ(list.RowCount(), 4);  // tree, a.txt, sub, sub/b.txt
    // Folders before their content.
    EXPECT_LT(RowOf("tree"), RowOf("tree/a.txt"));
    EXPECT_LT(RowOf("tree/sub"), RowOf("tree/sub/b.txt"));

    settings.registerFolders = 0;
    removal.ClearAllRows();
    registration.OnDropFiles({dir / "tree"});
    EXPECT_EQ(list.RowCount(), 2);  // the files below, no folder rows
    for (int r = 0; r < 2; ++r)
        EXPECT_EQ(list.Cell(r, ColRowNumber), std::to_string(r + 1));
}

TEST_F(RegistrationTest, APathBeyondWhatTheSystemTakesIsNamedInTheLog) {
    // Twenty folders of 220 bytes: the deepest paths pass PATH_MAX, so they are made and
    // removed relative to their parent's descriptor.
    const std::string part(220, 'd');
    std::vector<int> fds{open(dir.MakeFolder("deep").c_str(), O_RDONLY | O_DIRECTORY)};
    std::string path = dir / "deep";
    std::string firstTooLong;
    for (int level = 0; level < 20; ++level) {
        ASSERT_EQ(mkdirat(fds.back(), part.c_str(), 0700), 0);
        path += "/" + part;
        if (firstTooLong.empty() && path.size() >= PATH_MAX)
            firstTooLong = path;
        fds.push_back(openat(fds.back(), part.c_str(), O_RDONLY | O_DIRECTORY));
        ASSERT_GE(fds.back(), 0);
    }
    settings.registerEverythingBelow = 1;
    host.foldersToRegister = {dir / "deep"};
    registration.OnRegisterFolder();
    EXPECT_NE(Log().find(FormatText(msg::kPathTooLongForSystem, PATH_MAX, firstTooLong.c_str())),
              std::string::npos);
    for (std::size_t i = fds.size() - 1; i > 0; --i) {
        close(fds[i]);
        unlinkat(fds[i - 1], part.c_str(), AT_REMOVEDIR);
    }
    close(fds[0]);
}

TEST_F(RegistrationTest, FolderCommandRegistersTheWholeTreeWithShares) {
    dir.MakeFile("root/f1");
    dir.MakeFolder("root/empty");
    dir.MakeFile("root/sub/f2");
    dir.MakeFile("root/sub/f3");
    host.foldersToRegister = {dir / "root"};
    registration.OnRegisterFolder();
    EXPECT_EQ(list.RowCount(), 6);
    EXPECT_EQ(host.questions.size(), 0u);
    EXPECT_FALSE(busy.Busy());
    EXPECT_FALSE(host.progressOpen);
    EXPECT_EQ(host.overallProgress.front(), 1.0f);
    // Three entries at the top: each takes a third; the empty folder adds its third at
    // once, the two files of sub a sixth each; the bar ends full.
    ASSERT_FALSE(host.detailProgress.empty());
    EXPECT_FLOAT_EQ(host.detailProgress.front(), 0.0f);
    EXPECT_NEAR(host.detailProgress.back(), 1.0f, 1e-5);
    const bool hasThirdStep = std::any_of(host.detailProgress.begin(), host.detailProgress.end(),
                                          [](float f) { return std::abs(f - 1.0f / 3.0f) < 1e-5; });
    EXPECT_TRUE(hasThirdStep);
    // Banners: cleared log, START first, END last.
    EXPECT_EQ(Log().rfind(std::string("\n") + msg::kRegisterStart, 0), 0u);
    EXPECT_EQ(Log().substr(Log().size() - std::string(msg::kRegisterEnd).size()),
              msg::kRegisterEnd);
}

TEST_F(RegistrationTest, AbortInTheMiddleOfATree) {
    for (int i = 0; i < 20; ++i)
        dir.MakeFile("big/f" + std::to_string(i));
    int rounds = 0;
    host.onPendingEvents = [&] {
        if (++rounds == 30)
            CloseProgressDialog();  // the user closes the dialog
    };
    host.foldersToRegister = {dir / "big"};
    registration.OnRegisterFolder();
    const int rows = list.RowCount();
    EXPECT_GT(rows, 1);
    EXPECT_LT(rows, 21);
    EXPECT_EQ(Count(msg::kAborted), 1);
    EXPECT_EQ(Count("[END]"), 1);
    EXPECT_FALSE(busy.Busy());
    EXPECT_EQ(busy.Depth(), 0);
    EXPECT_EQ(list.Cell(rows - 1, ColRowNumber), std::to_string(rows));
}

TEST_F(RegistrationTest, DropDuringATreeRegistrationNests) {
    for (int i = 0; i < 5; ++i)
        dir.MakeFile("tree/f" + std::to_string(i));
    dir.MakeFile("dropped.txt");
    bool dropped = false;
    host.onPendingEvents = [&] {
        if (!dropped && list.RowCount() == 3) {
            dropped = true;
            registration.OnDropFiles({dir / "dropped.txt"});
            EXPECT_TRUE(busy.Busy());  // the outer registration goes on
        }
    };
    host.foldersToRegister = {dir / "tree"};
    registration.OnRegisterFolder();
    EXPECT_TRUE(dropped);
    EXPECT_EQ(list.RowCount(), 7);
    EXPECT_GE(RowOf("dropped.txt"), 0);
    EXPECT_EQ(Count("[START]"), 1);
    EXPECT_EQ(Count("[END]"), 1);
    EXPECT_EQ(host.progressOpenCount, 1);
    EXPECT_FALSE(busy.Busy());
}

TEST_F(RegistrationTest, SymlinkLoopRegistersTheLinkOnceAndEnds) {
    dir.MakeFile("loop/a.txt");
    ASSERT_EQ(symlink("..", (dir / "loop/up").c_str()), 0);
    host.foldersToRegister = {dir / "loop"};
    registration.OnRegisterFolder();
    EXPECT_EQ(list.RowCount(), 3);  // loop, a.txt, the link itself
    EXPECT_EQ(list.Cell(RowOf("loop/up"), ColAttributes), "N");
    struct stat st {};
    ASSERT_EQ(lstat((dir / "loop/up").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));  // still a link after its rename test
}

TEST_F(RegistrationTest, NameThatIsNotUtf8KeepsItsBytes) {
    const std::string name = "caf\xE9.txt";  // Latin-1 e-acute
    ASSERT_EQ(Add(name, "latin"), 0);
    EXPECT_EQ(list.Cell(0, ColCurrentName), name);
    EXPECT_EQ(list.EntryAt(0)->currentKey, dir / name);
    EXPECT_EQ(ReadFileText(dir / name), "latin");
    EXPECT_EQ(list.Cell(0, ColCharCount), "8");
}

TEST_F(RegistrationTest, UnreadableFolderLogsOneLineAndRegistrationGoesOn) {
    dir.MakeFile("top/locked/secret.txt");
    dir.MakeFile("top/z.txt");
    fs.failListFolder = [this](const std::string& path) {
        return path == dir / "top/locked" ? EACCES : 0;
    };
    host.foldersToRegister = {dir / "top"};
    registration.OnRegisterFolder();
    EXPECT_EQ(Count(FormatText(msg::kFolderUnreadable, (dir / "top/locked").c_str())), 1);
    EXPECT_GE(RowOf("top/z.txt"), 0);
    EXPECT_GE(RowOf("top/locked"), 0);
    EXPECT_EQ(RowOf("top/locked/secret.txt"), -1);
}

TEST_F(RegistrationTest, PathLimitAndMissingPaths) {
    const std::string tooLong = "/" + std::string(31999, 'x');
    EXPECT_FALSE(registration.RegisterPath(tooLong));
    EXPECT_EQ(Count(FormatText(msg::kPathTooLong, 32000, tooLong.c_str())), 1);
    EXPECT_FALSE(registration.RegisterPath(dir / "missing"));
    EXPECT_FALSE(registration.RegisterPath("relative/path"));
    EXPECT_EQ(Count("【エラー】"), 1);
}

struct NavigationTest : RegistrationTest {
    UserHome home{dir};
    Navigation navigation{registration, removal, fs, log, settings, host, host};
};

TEST_F(NavigationTest, UnreadableFolderStillEnablesTheWindow) {
    navigation.ShowFolder(dir / "no-such-folder");
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(Count("【エラー】"), 1);
}

// Each folder's entries come in the order a file manager shows, whatever order the disk has.
TEST_F(RegistrationTest, AFolderIsRegisteredInNameOrderWithNumbersAsNumbers) {
    const std::vector<std::string> shown = {"a.txt",   "B.txt",  "IMG_2",    "img_3", "IMG_10",
                                            "IMG_011", "IMG_11", "IMG_2084", "sub",   "z"};
    for (const std::string& name : shown) {
        if (name == "sub") {
            dir.MakeFile("root/sub/x10");
            dir.MakeFile("root/sub/x9");
        } else {
            dir.MakeFile("root/" + name);
        }
    }
    settings.registerFolders = 1;
    host.foldersToRegister = {dir / "root"};
    registration.OnRegisterFolder();
    std::vector<std::string> names;
    for (int row = 0; row < list.RowCount(); ++row)
        names.emplace_back(list.Cell(row, ColCurrentName));
    std::vector<std::string> expected = {"root"};
    for (const std::string& name : shown) {
        expected.push_back(name);
        if (name == "sub")
            expected.insert(expected.end(), {"x9", "x10"});
    }
    EXPECT_EQ(names, expected);
}

// The commands through the command table, whose guards ask the row-lock question, refuse
// while busy and go up only with the three settings on: the whole program.
struct RegistrationCommandTest : AppFixture, ::testing::Test {
    int Count(const std::string& needle) const { return CountIn(Log(), needle); }
};

TEST_F(RegistrationCommandTest, FileDialogAsksAboutTheRowLockFirst) {
    dir.MakeFile("a.txt");
    AppInternals::RoundTrip(app).SetRowLockedForTest(true);
    host.filesToRegister = {{dir / "a.txt"}};
    app.Execute(Command::RegisterFiles);  // No to the question: nothing happens
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(app.List().RowCount(), 0);
    EXPECT_EQ(host.filesToRegister.size(), 1u);
    AppInternals::RoundTrip(app).SetRowLockedForTest(false);
    AppInternals::Registrar(app).OnRegisterFiles();
    EXPECT_EQ(app.List().RowCount(), 1);
    EXPECT_FLOAT_EQ(host.overallProgress.back(), 1.0f);
}

struct NavigationCommandTest : RegistrationCommandTest {
    UserHome home{dir};
};

TEST_F(NavigationCommandTest, DownIntoAFolderAndBackUpToTheDriveList) {
    AppInternals::Navigator(app).ShowDrivesAndFolders();
    // "/" as a drive row with the empty key, then the user folders that exist.
    ASSERT_GE(app.List().RowCount(), 3);
    EXPECT_EQ(app.List().Cell(0, ColCurrentName), "/");
    EXPECT_EQ(app.List().EntryAt(0)->currentKey, "");
    EXPECT_EQ(Bits(0), ErrRenameTest);
    EXPECT_EQ(app.List().Cell(0, ColAttributes), "");
    EXPECT_EQ(app.List().Cell(0, ColDirectory), "D");  // a mark, not a folder of its key
    ASSERT_GE(RowOf("home/Docs"), 1);
    EXPECT_GE(RowOf("home/Pictures"), 1);
    EXPECT_EQ(app.List().Cell(RowOf("home/Docs"), ColDirectory), dir / "home/");

    // Enter Docs, as opening its row does.
    AppInternals::Navigator(app).SetCurrentFolder(dir / "home/Docs");
    AppInternals::Removal(app).ClearAllRows();
    AppInternals::Navigator(app).ShowFolder(AppInternals::Navigator(app).CurrentFolder());
    EXPECT_EQ(app.List().RowCount(), 2);
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_FLOAT_EQ(host.statusProgress.back(), 0.0f);
    EXPECT_EQ(Count("[START]"), 0);  // navigation has no banners

    // Up: the parent folder.
    app.Execute(Command::GoUp);
    EXPECT_EQ(AppInternals::Navigator(app).CurrentFolder(), dir / "home");
    EXPECT_GE(RowOf("home/Docs"), 0);
    EXPECT_GE(RowOf("home/Pictures"), 0);

    // A current folder without "/" leads back to the drive list.
    AppInternals::Navigator(app).SetCurrentFolder("");
    app.Execute(Command::GoUp);
    EXPECT_EQ(app.List().Cell(0, ColCurrentName), "/");
    EXPECT_EQ(AppInternals::Navigator(app).CurrentFolder(), "");

    // Any of the three settings off: nothing happens.
    app.Settings().openOnSelection = 0;
    const int rows = app.List().RowCount();
    app.Execute(Command::GoUp);
    EXPECT_EQ(app.List().RowCount(), rows);

    // While a registration runs: the busy message only.
    app.Settings().openOnSelection = 1;
    BusyGuard busy(AppInternals::Busy(app));
    app.Execute(Command::GoUp);
    EXPECT_EQ(app.List().RowCount(), rows);
    EXPECT_EQ(Count(msg::kBusy), 1);
}

}  // namespace
}  // namespace morvane::test
