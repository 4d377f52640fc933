// The files of a journal known again where their device or inode numbers changed (a disk
// plugged in again, a FUSE driver that makes up inode numbers), and never mistaken for a new
// file that took a number or a name of theirs.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>

#include "RenameFixture.h"
#include "ops/recovery/StartupRecovery.h"
#include "ops/recovery/UndoRun.h"
#include "ops/rename/Journal.h"

namespace morvane::test {
namespace {

class PlanIdentityTest : public RenameFixture {
protected:
    RegistrationPart registering{*this};
    UndoRun undo{fs, log, host, places, renamer};

    std::string Journals() const { return state / "morvane"; }
    JournalState LastState() { return ListJournals(fs, Journals()).back().state; }
    // The last run's journal back to what a run killed before its end leaves; a file `at`
    // its new name goes back to its old name `old`, as if killed before its move (with every
    // file at its new name the run would be known as complete).
    void ReopenLastJournal(const std::string& at = {}, const std::string& old = {}) {
        if (!at.empty()) {
            ASSERT_EQ(std::rename((dir / at).c_str(), (dir / old).c_str()), 0);
        }
        std::vector<JournalFile> journals = ListJournals(fs, Journals());
        ASSERT_FALSE(journals.empty());
        const std::string path = Journals() + "/" + journals.back().name;
        std::string text = ReadFileText(path);
        ASSERT_TRUE(text.ends_with(kCompleteLine));
        text.resize(text.size() - kCompleteLine.size());
        ASSERT_TRUE(fs.WriteFileAtomic(path, text).Ok());
        ASSERT_TRUE(MarkJournal(fs, Journals(), &journals.back(), JournalState::Running).Ok());
    }
    // The next start, answering the recovery question with the button `answer`.
    void Recover(int answer) {
        host.choiceAnswers = {answer};
        StartupRecovery(fs, log, host, host, places).RecoverUnfinishedRuns();
    }
    void Undo() {
        host.yesNoAnswers.push_back(true);
        undo.UndoLastRun();
    }
    bool Logged(const std::string& line) const { return Log().find(line) != std::string::npos; }

    // The folder lies on a stick that tells its identity; plugged in again it has another
    // device number.
    void OnStick(const std::string& identity) {
        fs.adjustTraits = [identity](const std::string&, MountTraits& traits) {
            traits.identity = identity;
        };
    }
    void PlugInAgain() {
        fs.adjustFind = [](const std::string&, std::optional<FileInfo>& info) {
            if (info)
                info->device += 1000;
        };
    }

    // A swap, a chain and a folder with a file inside.
    void RenameSome() {
        dir.MakeFile("a.txt", "A");
        dir.MakeFile("b.txt", "B");
        dir.MakeFile("c.txt", "C");
        dir.MakeFile("sub/in.txt", "I");
        before = Snapshot(dir.path());
        SetName(Register("a.txt"), "b.txt");
        SetName(Register("b.txt"), "a.txt");
        SetName(Register("c.txt"), "d.txt");
        SetName(Register("sub"), "folder");
        SetName(Register("sub/in.txt"), "inner.txt");
        Run();
        ASSERT_EQ(Log(), CleanLog(5));
        ASSERT_NE(Snapshot(dir.path()), before);
    }

    std::map<std::string, std::string> before;
};

TEST_F(PlanIdentityTest, RecoveryAndUndoFindTheFilesOfAStickPluggedInAgain) {
    OnStick("uuid:0F2E-55A1");
    RenameSome();
    ReopenLastJournal("d.txt", "c.txt");
    PlugInAgain();
    Recover(0);
    EXPECT_EQ(Snapshot(dir.path()), before);
    EXPECT_TRUE(Logged(FormatText(msg::kRecoveredBack, 5, 5))) << Log();
    EXPECT_EQ(LastState(), JournalState::Undone);

    fs.adjustFind = nullptr;
    RenameSome();
    PlugInAgain();
    Undo();
    EXPECT_EQ(Snapshot(dir.path()), before);
    EXPECT_EQ(UndoCounts(host.questions.back().text), FormatText(msg::kUndoQuestion, 5, 0));
}

TEST_F(PlanIdentityTest, AnotherStickUnderTheSameDeviceNumberIsNotTheOne) {
    OnStick("uuid:0F2E-55A1");
    RenameSome();
    const auto renamed = Snapshot(dir.path());
    OnStick("uuid:7C01-9B3D");  // a copy of the first, plugged into the same port
    Undo();
    EXPECT_EQ(Snapshot(dir.path()), renamed);
    EXPECT_TRUE(Logged(FormatText(msg::kUndoChanged, (dir / "d.txt").c_str())));
    EXPECT_EQ(Log().substr(Log().rfind('\n') + 1), msg::kNothingToUndo);
}

TEST_F(PlanIdentityTest, AJournalStaysUntilEveryFileIsFoundAgain) {
    OnStick("uuid:0F2E-55A1");
    RenameSome();
    ReopenLastJournal("d.txt", "c.txt");
    // Unplugged: none of its paths leads anywhere.
    const std::string away = dir.path() + "-unplugged";
    ASSERT_EQ(std::rename(dir.path().c_str(), away.c_str()), 0);
    Recover(0);
    std::rename(away.c_str(), dir.path().c_str());
    EXPECT_TRUE(Logged(FormatText(msg::kRecoveryNotFound, (dir / "c.txt").c_str())));
    EXPECT_TRUE(Logged(FormatText(msg::kRecoveredBack, 5, 0)));
    const std::string journal = Journals() + "/" + ListJournals(fs, Journals()).back().name;
    EXPECT_TRUE(Logged(FormatText(msg::kRecoveryKeptOpen, journal.c_str()))) << Log();
    EXPECT_EQ(LastState(), JournalState::Running);

    PlugInAgain();
    Recover(0);
    EXPECT_EQ(Snapshot(dir.path()), before);
    EXPECT_EQ(LastState(), JournalState::Undone);
}

// While the question stands open, the user puts another file in place of a renamed one.
TEST_F(PlanIdentityTest, AFileReplacedWhileTheQuestionStandsIsLeftAlone) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("c.txt", "C");
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("c.txt"), "d.txt");
    Run();
    host.whileAsked = [this] {
        ASSERT_EQ(std::remove((dir / "d.txt").c_str()), 0);
        dir.MakeFile("d.txt", "someone else's");
    };
    Undo();
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("d.txt"), "someone else's");
    EXPECT_FALSE(PathExists(dir / "c.txt"));
    EXPECT_TRUE(Logged(FormatText(msg::kUndoChanged, (dir / "d.txt").c_str())));

    host.whileAsked = nullptr;
    ASSERT_EQ(std::remove((dir / "d.txt").c_str()), 0);
    dir.MakeFile("c.txt", "C");
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("c.txt"), "d.txt");
    Run();
    ReopenLastJournal("b.txt", "a.txt");
    host.whileAsked = [this] {
        ASSERT_EQ(std::remove((dir / "d.txt").c_str()), 0);
        dir.MakeFile("d.txt", "someone else's");
    };
    Recover(0);
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("d.txt"), "someone else's");
    EXPECT_FALSE(PathExists(dir / "c.txt"));
    EXPECT_TRUE(Logged(FormatText(msg::kRecoveryNotOurs, (dir / "d.txt").c_str()))) << Log();
    EXPECT_EQ(LastState(), JournalState::Running);
}

// A new file under a renamed file's name, with the inode number the deleted one had: the
// birth time tells it apart, however alike its size and times are.
class ANewFileInTheOldPlace : public PlanIdentityTest {
protected:
    void ReplaceRenamedFile() {
        const std::string path = dir / "b.txt";
        struct statx old {};
        ASSERT_EQ(statx(AT_FDCWD, path.c_str(), 0, STATX_INO | STATX_BTIME | STATX_MTIME, &old), 0);
        ASSERT_NE(old.stx_mask & STATX_BTIME, 0u) << "the temp folder keeps no birth times";
        // Until the clock ticks on: a new file must be born later than the old one.
        struct statx probe {};
        do {
            const std::string made = state.MakeFile("probe", "");
            ASSERT_EQ(statx(AT_FDCWD, made.c_str(), 0, STATX_BTIME, &probe), 0);
            ASSERT_EQ(std::remove(made.c_str()), 0);
        } while (probe.stx_btime.tv_sec == old.stx_btime.tv_sec &&
                 probe.stx_btime.tv_nsec == old.stx_btime.tv_nsec);
        ASSERT_EQ(std::remove(path.c_str()), 0);
        dir.MakeFile("b.txt", "N");  // as long as the old one, with its times
        const timespec times[2] = {{old.stx_mtime.tv_sec, old.stx_mtime.tv_nsec},
                                   {old.stx_mtime.tv_sec, old.stx_mtime.tv_nsec}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        struct stat now {};
        ASSERT_EQ(lstat(path.c_str(), &now), 0);
        // ext4 mostly hands the freed number out again at once; where it did not, say so.
        if (now.st_ino != old.stx_ino) {
            fs.adjustFind = [path, inode = old.stx_ino](const std::string& at,
                                                        std::optional<FileInfo>& info) {
                if (info && at == path)
                    info->inode = inode;
            };
        }
    }
};

TEST_F(ANewFileInTheOldPlace, IsLeftAloneByUndo) {
    dir.MakeFile("a.txt", "A");
    SetName(Register("a.txt"), "b.txt");
    Run();
    ReplaceRenamedFile();
    Undo();
    EXPECT_EQ(Content("b.txt"), "N");
    EXPECT_FALSE(PathExists(dir / "a.txt"));
    EXPECT_TRUE(Logged(FormatText(msg::kUndoChanged, (dir / "b.txt").c_str())));
    EXPECT_EQ(ListJournals(fs, Journals()).back().state, JournalState::Done);
}

TEST_F(ANewFileInTheOldPlace, IsLeftAloneByRecoveryAndNamed) {
    dir.MakeFile("a.txt", "A");
    SetName(Register("a.txt"), "b.txt");
    Run();
    ReopenLastJournal();
    ReplaceRenamedFile();
    Recover(0);
    EXPECT_EQ(Content("b.txt"), "N");
    EXPECT_FALSE(PathExists(dir / "a.txt"));
    EXPECT_TRUE(Logged(FormatText(msg::kRecoveryNotOurs, (dir / "b.txt").c_str()))) << Log();
    EXPECT_EQ(LastState(), JournalState::Running);
}

// sshfs and the like: a file has another inode number under every name, and files of a
// swap or ring may agree in size and time to the second.
TEST_F(PlanIdentityTest, UndoWhereInodeNumbersAreMadeUpGoesByNames) {
    fs.InventInodes();
    // All of one size and one second: told apart by their contents here, not by the program.
    for (const std::string name : {"a.", "b.", "r1", "r2", "r3", "c1", "c2"}) {
        const std::string path =
            dir.MakeFile("top/" + name.substr(0, name.find('.')) + ".txt", name);
        const timespec times[2] = {{1700000000, 0}, {1700000000, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    dir.MakeFile("top/sub1/inner.txt", "1");
    dir.MakeFile("top/sub2/inner.txt", "2");
    before = Snapshot(dir.path());
    const std::pair<const char*, const char*> names[] = {
        {"top/a.txt", "b.txt"},     {"top/b.txt", "a.txt"},   {"top/r1.txt", "r2.txt"},
        {"top/r2.txt", "r3.txt"},   {"top/r3.txt", "r1.txt"}, {"top/c1.txt", "c2.txt"},
        {"top/c2.txt", "c3.txt"},   {"top/sub1", "sub2"},     {"top/sub2", "sub1"},
        {"top/sub1/inner.txt", "x"}};
    for (const auto& [path, name] : names)
        SetName(Register(path), name);
    Run();
    ASSERT_EQ(Log(), CleanLog(10));
    // Changed since: another file of another size.
    dir.MakeFile("top/c3.txt", "changed");

    Undo();
    EXPECT_EQ(UndoCounts(host.questions.back().text), FormatText(msg::kUndoQuestion, 9, 1));
    EXPECT_TRUE(Logged(FormatText(msg::kUndoChanged, (dir / "top/c3.txt").c_str())));
    auto expected = before;
    expected.erase("/top/c2.txt");
    expected["/top/c3.txt"] = "changed";
    EXPECT_EQ(Snapshot(dir.path()), expected);
}

// Killed while a swap made room, and then a copy of one file, alike in size and time, put at
// its old name: the file at its temporary name is still the one, and waits there.
TEST_F(PlanIdentityTest, WhereInodeNumbersAreMadeUpAFileAtItsTemporaryNameIsIt) {
    fs.InventInodes();
    for (const std::string name : {"a", "b"}) {
        const std::string path = dir.MakeFile(name + ".txt", name);
        const timespec times[2] = {{1700000000, 0}, {1700000000, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("b.txt"), "a.txt");
    Run();
    ReopenLastJournal();
    // Back to the first move alone, with no progress line yet.
    const std::string journal = Journals() + "/" + ListJournals(fs, Journals()).back().name;
    JournalText text;
    ASSERT_TRUE(ParseJournal(ReadFileText(journal), &text));
    std::string kept = ReadFileText(journal);
    kept.resize(kept.find("done "));
    ASSERT_TRUE(fs.WriteFileAtomic(journal, kept).Ok());
    const std::string temp =
        text.plan[0].from == dir / "a.txt" ? text.plan[0].temp : text.plan[1].temp;
    ASSERT_EQ(std::rename((dir / "b.txt").c_str(), temp.c_str()), 0);
    ASSERT_EQ(std::rename((dir / "a.txt").c_str(), (dir / "b.txt").c_str()), 0);
    const std::string copy = dir.MakeFile("a.txt", "c");
    const timespec times[2] = {{1700000000, 0}, {1700000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, copy.c_str(), times, 0), 0);

    Recover(0);
    EXPECT_EQ(ReadFileText(temp), "a");
    EXPECT_EQ(Content("a.txt"), "c");
    EXPECT_EQ(Content("b.txt"), "b");
    EXPECT_EQ(LastState(), JournalState::Running) << Log();
}

// The journal of a run from before the moves stopped using links, cut off between the link
// and the unlink: one file under its old and its new name.
class TwoNamesOfOneFile : public PlanIdentityTest {
protected:
    void WriteJournal(const std::vector<std::pair<std::string, std::string>>& moves) {
        std::string text = "morvane journal 1\nrun rename -\n";
        for (const auto& [from, to] : moves) {
            struct stat st {};
            ASSERT_EQ(lstat((dir / from).c_str(), &st), 0);
            text += "p " + std::to_string(st.st_dev) + " " + std::to_string(st.st_ino) + " " +
                    (dir / from) + "\t\t" + (dir / to) + "\n";
        }
        text += "planned " + std::to_string(moves.size()) + "\n";
        state.MakeFile("morvane/20240101-000000-0000.rename.run", text);
    }
    void Linked() {
        dir.MakeFile("a.txt", "A");
        ASSERT_EQ(link((dir / "a.txt").c_str(), (dir / "b.txt").c_str()), 0);
        WriteJournal({{"a.txt", "b.txt"}});
    }
};

TEST_F(TwoNamesOfOneFile, TheExtraNameGoesWhenTheFileHasNoOther) {
    Linked();
    Recover(0);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(Logged(FormatText(msg::kRecoveryExtraNameRemoved, (dir / "b.txt").c_str())));
    EXPECT_EQ(LastState(), JournalState::Undone);

    ASSERT_EQ(link((dir / "a.txt").c_str(), (dir / "b.txt").c_str()), 0);
    WriteJournal({{"a.txt", "b.txt"}});
    Recover(1);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"b.txt"});
    EXPECT_EQ(Content("b.txt"), "A");
    EXPECT_TRUE(Logged(FormatText(msg::kRecoveryExtraNameRemoved, (dir / "a.txt").c_str())));
}

TEST_F(TwoNamesOfOneFile, BothStayWhereTheFileHasAThirdName) {
    Linked();
    ASSERT_EQ(link((dir / "a.txt").c_str(), (dir / "mine.txt").c_str()), 0);
    Recover(0);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "b.txt", "mine.txt"}));
    EXPECT_TRUE(Logged(
        FormatText(msg::kRecoveryTwoNames, (dir / "a.txt").c_str(), (dir / "b.txt").c_str())));
    EXPECT_EQ(LastState(), JournalState::Running);
}

TEST_F(TwoNamesOfOneFile, HardLinksTheUserMadeAreFilesOfTheRunEach) {
    dir.MakeFile("a.txt", "A");
    ASSERT_EQ(link((dir / "a.txt").c_str(), (dir / "b.txt").c_str()), 0);
    WriteJournal({{"a.txt", "b.txt"}, {"b.txt", "a.txt"}});
    Recover(0);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(LastState(), JournalState::Undone);
}

TEST(JournalFormatTest, VersionTwoKeepsWhatTellsFilesApartAndVersionOneIsStillRead) {
    JournalVolume volume{2049, "mount:/media/u/My Stick\texfat", false};
    JournalEntry entry{"/m/a b", "/m/00000000[MORVANE]_a b", "/m/c", 2049, 77, {}, 0, {}};
    entry.mark = {EntryKind::Link, 12, -5, 999999999, 1700000000, 1};
    std::string text = JournalHeader(RunKind::Undo, "x.rename.done") + VolumeLine(volume);
    AppendPlanLine(&text, entry);
    text += PlannedLine(1) + ProgressLine(3, 1) + RecoveredLine(3, true) + RecoveredLine(2, false);
    JournalText read;
    ASSERT_TRUE(ParseJournal(text, &read));
    ASSERT_EQ(read.volumes.size(), 1u);
    EXPECT_EQ(read.volumes[0].identity, volume.identity);
    EXPECT_FALSE(read.volumes[0].stableInodes);
    ASSERT_EQ(read.plan.size(), 1u);
    const JournalEntry& p = read.plan[0];
    EXPECT_EQ(p.to, "/m/c");
    EXPECT_EQ(p.device, 2049u);
    EXPECT_EQ(p.inode, 77u);
    EXPECT_EQ(p.volume, 0u);
    EXPECT_EQ(p.mark.kind, EntryKind::Link);
    EXPECT_EQ(p.mark.size, 12u);
    EXPECT_EQ(p.mark.mtimeSec, -5);
    EXPECT_EQ(p.mark.mtimeNsec, 999999999);
    EXPECT_EQ(p.mark.birthSec, 1700000000);
    EXPECT_EQ(p.mark.birthNsec, 1);
    EXPECT_TRUE(read.planned);
    EXPECT_EQ(read.doneDepth, 3);
    EXPECT_EQ(read.donePhase, 1);
    EXPECT_EQ(read.recovered, (std::vector<std::pair<std::uint16_t, bool>>{{3, true}, {2, false}}));

    ASSERT_TRUE(
        ParseJournal("morvane journal 1\nrun rename -\np 5 6 /a\t\t/b\nplanned 1\n", &read));
    ASSERT_EQ(read.plan.size(), 1u);
    EXPECT_EQ(read.plan[0].device, 5u);
    EXPECT_EQ(read.plan[0].inode, 6u);
    EXPECT_EQ(read.plan[0].volume, kNoVolume);
    EXPECT_TRUE(read.planned);
}

}  // namespace
}  // namespace morvane::test
