#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "RenameFixture.h"
#include "host/ActivityLog.h"
#include "ops/recovery/StartupRecovery.h"
#include "ops/rename/Journal.h"
#include "ops/textfile/InstanceRecord.h"

namespace morvane::test {
namespace {

using Names = std::vector<std::string>;
struct JournalTest : RenameFixture {
    // Renames a.txt to b.txt and c.txt to d.txt, then takes the journal back to what a run
    // that lost its last line leaves: the line gone, the name of a running journal. Unless
    // `whole`, d.txt is put back as a run killed before its last move leaves it.
    void RunCutOffBeforeItsEnd(JournalFile* journal, bool whole = false) {
        dir.MakeFile("a.txt", "A");
        dir.MakeFile("c.txt", "C");
        SetName(Register("a.txt"), "b.txt");
        SetName(Register("c.txt"), "d.txt");
        Run();
        const std::vector<JournalFile> journals = ListJournals(fs, JournalFolder());
        ASSERT_EQ(journals.size(), 1u);
        *journal = journals[0];
        const std::string path = JournalFolder() + "/" + journal->name;
        std::string text = ReadFileText(path);
        text.resize(text.size() - kCompleteLine.size());
        ASSERT_TRUE(fs.WriteFileAtomic(path, text).Ok());
        ASSERT_TRUE(MarkJournal(fs, JournalFolder(), journal, JournalState::Running).Ok());
        if (!whole) {
            ASSERT_EQ(std::rename((dir / "d.txt").c_str(), (dir / "c.txt").c_str()), 0);
        }
    }
    std::string JournalFolder() const { return state / "morvane"; }
};

std::uint64_t InodeOf(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST_F(JournalTest, ThePlanIsWrittenInMoveOrderAndTheRunMarkedDone) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b\tc.txt", "B");
    dir.MakeFile("old/inner.txt", "I");
    const std::uint64_t inodes[] = {InodeOf(dir / "a.txt"), InodeOf(dir / "b\tc.txt"),
                                    InodeOf(dir / "old/inner.txt"), InodeOf(dir / "old")};
    SetName(Register("a.txt"), "b\tc.txt");
    SetName(Register("b\tc.txt"), "a.txt");
    SetName(Register("old"), "new");
    SetName(Register("old/inner.txt"), "renamed.txt");
    Run();
    ASSERT_EQ(Log(), CleanLog(4));

    const std::string folder = state / "morvane";
    const std::vector<JournalFile> journals = ListJournals(fs, folder);
    ASSERT_EQ(journals.size(), 1u);
    EXPECT_EQ(journals[0].state, JournalState::Done);
    EXPECT_EQ(renamer.LastJournal(), journals[0].name);
    const std::string text = ReadFileText(folder + "/" + journals[0].name);
    JournalText journal;
    ASSERT_TRUE(ParseJournal(text, &journal));
    EXPECT_TRUE(journal.planned);
    EXPECT_TRUE(journal.complete);
    EXPECT_EQ(journal.kind, RunKind::Rename);
    // Deepest first; at equal depth the later row first; the swap through temporary names.
    ASSERT_EQ(journal.plan.size(), 4u);
    const auto& p = journal.plan;
    EXPECT_EQ(p[0].from, dir / "old/inner.txt");
    EXPECT_EQ(p[0].to, dir / "old/renamed.txt");
    EXPECT_EQ(p[0].inode, inodes[2]);
    EXPECT_EQ(p[1].from, dir / "old");
    EXPECT_EQ(p[1].inode, inodes[3]);
    EXPECT_EQ(p[2].from, dir / "b\tc.txt");
    EXPECT_EQ(p[2].temp, dir / "00000001[MORVANE]_b\tc.txt");
    EXPECT_EQ(p[2].inode, inodes[1]);
    EXPECT_EQ(p[3].to, dir / "b\tc.txt");
    EXPECT_EQ(p[3].inode, inodes[0]);
    EXPECT_TRUE(p[0].temp.empty());
    // A tab in a name stays on its line; each depth's two phases are recorded.
    EXPECT_NE(text.find("b\\tc.txt"), std::string::npos);
    std::size_t phases = 0;
    for (auto at = text.find("\ndone "); at != std::string::npos; at = text.find("\ndone ", at + 1))
        ++phases;
    EXPECT_EQ(phases, 4u);
    struct stat st {};
    ASSERT_EQ(stat((folder + "/" + journals[0].name).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(JournalTest, AJournalThatCannotBeWrittenStopsTheRunBeforeAnyMove) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("b.txt"), "a.txt");
    fs.failWrite = [this](const std::string& path) {
        return path.rfind(state.path(), 0) == 0 ? ENOSPC : 0;
    };
    Run();

    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("b.txt"), "B");
    EXPECT_EQ(Log(), std::string("\n") + msg::kRenameStart + "\n" +
                         FormatText(msg::kJournalFailed, (state / "morvane").c_str(),
                                    std::strerror(ENOSPC)) +
                         "\n" + msg::kRenameEnd);
    EXPECT_TRUE(
        dir.Names("../" + state.path().substr(state.path().rfind('/') + 1) + "/morvane").empty());
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_TRUE(host.windowEnabled);

    // No folder for journals at all: the same.
    fs.failWrite = nullptr;
    places.journalDir.clear();
    Run();
    EXPECT_TRUE(moves.empty());
    EXPECT_NE(Log().find(FormatText(msg::kJournalFailed, "", std::strerror(ENOENT))),
              std::string::npos);
}

TEST_F(JournalTest, TheNewestFinishedJournalsAreKeptAndUnfinishedOnesNeverPruned) {
    const std::string folder = state.MakeFolder("morvane");
    for (int i = 0; i < 25; ++i)
        state.MakeFile(FormatText("morvane/20000101-0000%02d-0000.rename.done", i));
    state.MakeFile("morvane/19990101-000000-0000.rename.run");
    dir.MakeFile("a.txt");
    SetName(Register("a.txt"), "b.txt");
    Run();

    const std::vector<JournalFile> left = ListJournals(fs, folder);
    ASSERT_EQ(left.size(), kJournalsKept + 1);
    EXPECT_EQ(left.front().name, "19990101-000000-0000.rename.run");
    EXPECT_EQ(left[1].name, "20000101-000006-0000.rename.done");
    EXPECT_EQ(left.back().name, renamer.LastJournal());
}

}  // namespace
}  // namespace morvane::test

namespace morvane::test {
namespace {

TEST_F(JournalTest, AHeldJournalIsLeftAndPuttingOffKeepsItForTheNextStart) {
    JournalFile journal;
    ASSERT_NO_FATAL_FAILURE(RunCutOffBeforeItsEnd(&journal));
    const std::string folder = JournalFolder();
    StartupRecovery recovery(fs, log, host, host, places);

    {
        LockedFile held;  // another instance is at work on it
        ASSERT_TRUE(fs.OpenLocked(folder + "/" + journal.name, false, &held).Ok());
        host.questions.clear();
        recovery.RecoverUnfinishedRuns();
        EXPECT_TRUE(host.questions.empty());
    }
    host.choiceAnswers = {2};
    recovery.RecoverUnfinishedRuns();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].caption, msg::kRecoveryCaption);
    EXPECT_EQ(host.questions[0].text, FormatText(msg::kRecoveryQuestion, 1, 1, 0, 0));
    EXPECT_EQ(ListJournals(fs, folder)[0].state, JournalState::Running);
    EXPECT_EQ(Content("b.txt"), "A");

    host.choiceAnswers = {0};
    recovery.RecoverUnfinishedRuns();
    EXPECT_EQ(host.questions.size(), 2u);
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("c.txt"), "C");
    EXPECT_EQ(ListJournals(fs, folder)[0].state, JournalState::Undone);
}

TEST_F(JournalTest, ARunThatEndedButLostItsLastLineIsRecognisedAsComplete) {
    JournalFile journal;
    ASSERT_NO_FATAL_FAILURE(RunCutOffBeforeItsEnd(&journal, true));
    StartupRecovery recovery(fs, log, host, host, places);
    host.questions.clear();
    recovery.RecoverUnfinishedRuns();
    EXPECT_TRUE(host.questions.empty());
    const std::vector<JournalFile> journals = ListJournals(fs, JournalFolder());
    ASSERT_EQ(journals.size(), 1u);
    EXPECT_EQ(journals[0].state, JournalState::Done);
    EXPECT_NE(log.Text().find(FormatText(msg::kRunFoundComplete,
                                         (JournalFolder() + "/" + journal.name).c_str())),
              std::string::npos);
    EXPECT_EQ(Content("b.txt"), "A");
    EXPECT_EQ(Content("d.txt"), "C");
}

// A journal cut inside its plan before any move is of no use and goes; one whose files moved
// is kept, and what it names is put back.
TEST_F(JournalTest, AJournalCutInsideItsPlanGoesOnlyWhenNothingMoved) {
    for (const bool moved : {false, true}) {
        SCOPED_TRACE(moved ? "files moved" : "nothing moved");
        JournalFile journal;
        ASSERT_NO_FATAL_FAILURE(RunCutOffBeforeItsEnd(&journal, true));
        const std::string path = JournalFolder() + "/" + journal.name;
        std::string text = ReadFileText(path);
        text.resize(text.find("\nplanned") + 1);
        text.resize(text.size() - 5);  // the last plan line cut short
        ASSERT_TRUE(fs.WriteFileAtomic(path, text).Ok());
        if (!moved) {
            ASSERT_EQ(std::rename((dir / "b.txt").c_str(), (dir / "a.txt").c_str()), 0);
            ASSERT_EQ(std::rename((dir / "d.txt").c_str(), (dir / "c.txt").c_str()), 0);
        }
        StartupRecovery recovery(fs, log, host, host, places);
        host.questions.clear();
        host.choiceAnswers = {0};
        recovery.RecoverUnfinishedRuns();
        EXPECT_EQ(ListJournals(fs, JournalFolder()).size(), moved ? 1u : 0u);
        EXPECT_EQ(host.questions.size(), moved ? 1u : 0u);
        // The readable line names one of the two files; the other stays at its new name.
        EXPECT_EQ(Content("c.txt"), "C");
        EXPECT_EQ(Content(moved ? "b.txt" : "a.txt"), "A");
        // Read: the run, summary, volume and first plan lines; the second is cut short.
        const bool reported = log.Text().find(FormatText(msg::kJournalDamaged, 4, 1,
                                                         path.c_str())) != std::string::npos;
        EXPECT_EQ(reported, moved);
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        std::filesystem::remove_all(JournalFolder());
        removal.RemoveAllRows();
    }
}

TEST(JournalFormatTest, ADamagedLineIsCountedAndLaterLinesStillFindTheirEntries) {
    JournalEntry a{"/d/a", "/d/00000000[MORVANE]_a", "/d/b", 1, 2, {}, 0, {}};
    JournalEntry c{"/d/c", "", "/d/e", 1, 4, {}, 0, {}};
    std::string text = JournalHeader(RunKind::Rename, {}) + VolumeLine({1, "uuid", true});
    AppendPlanLine(&text, a);
    text += "p 0 f 3 \x01 garbled\n";
    AppendPlanLine(&text, c);
    text += PlannedLine(3) + ExtraTempLine(2, "/d/00000002[MORVANE]_c") + BackLine(2) +
            ProgressLine(0, 1) + "comp";
    JournalText journal;
    ASSERT_TRUE(ParseJournal(text, &journal));
    EXPECT_FALSE(journal.planned);  // an entry is missing
    EXPECT_TRUE(journal.planEnded);
    EXPECT_TRUE(journal.movedAfter);
    EXPECT_TRUE(journal.cutShort);
    EXPECT_EQ(journal.lines, 9u);
    EXPECT_EQ(journal.badLines, 1u);
    ASSERT_EQ(journal.plan.size(), 2u);
    EXPECT_EQ(journal.plan[1].from, "/d/c");
    EXPECT_EQ(journal.plan[1].extraTemps, std::vector<std::string>{"/d/00000002[MORVANE]_c"});
    EXPECT_TRUE(journal.plan[1].back);
    EXPECT_FALSE(journal.plan[0].back);
    EXPECT_EQ(journal.backCount, 1u);
}

TEST_F(JournalTest, ARecoveryMoveThatFailsLeavesTheFileAndSaysWhy) {
    JournalFile journal;
    ASSERT_NO_FATAL_FAILURE(RunCutOffBeforeItsEnd(&journal));
    // The old name taken by a new file since: putting back would replace it.
    dir.MakeFile("a.txt", "someone else's");

    StartupRecovery recovery(fs, log, host, host, places);
    host.choiceAnswers = {0};
    recovery.RecoverUnfinishedRuns();
    EXPECT_NE(log.Text().find(FormatText(msg::kRecoveryMoveFailed, (dir / "b.txt").c_str(),
                                         (dir / "a.txt").c_str(), std::strerror(EEXIST))),
              std::string::npos)
        << log.Text();
    EXPECT_EQ(Content("a.txt"), "someone else's");
    EXPECT_EQ(Content("b.txt"), "A");
}

}  // namespace
}  // namespace morvane::test

namespace morvane::test {
namespace {

TEST(InstanceRecordTest, TextFilesOfADeadInstanceGoAndThoseOfALiveOneStay) {
    TempDir dir;
    const std::string folder = dir.MakeFolder("state");
    const std::string temp = dir.MakeFolder("tmp") + "/";
    FileSystem& fs = RealFileSystem();
    const std::string dead = dir.MakeFile("tmp/00000000[MORVANE]_20240101000000.txt");
    const std::string gone = dir.MakeFile("tmp/00000001[MORVANE]_20240101000000.txt");
    const std::string notOurs = dir.MakeFile("tmp/notes.txt");
    dir.MakeFile("state/instance-1.lock",
                 "text " + dead + "\ntext " + gone + "\ngone " + gone + "\ntext " + notOurs + "\n");
    ActivityLog log;
    InstanceRecord live(fs, log);
    live.Start(folder, temp);
    EXPECT_FALSE(PathExists(dead));
    EXPECT_TRUE(PathExists(gone));  // the dead instance had removed it itself
    EXPECT_TRUE(PathExists(notOurs));
    EXPECT_FALSE(PathExists(folder + "/instance-1.lock"));
    EXPECT_EQ(log.Text(), "\n" + FormatText(msg::kStaleTextFileRemoved, dead.c_str()));

    // While the first lives, a second start leaves its file alone.
    const std::string mine = dir.MakeFile("tmp/00000002[MORVANE]_20240101000000.txt");
    live.TextFileCreated(mine);
    InstanceRecord second(fs, log);
    second.Start(folder, temp);
    EXPECT_TRUE(PathExists(mine));
    EXPECT_EQ(dir.Names("state").size(), 1u);
    live.Stop();  // a clean end takes its record away
    EXPECT_TRUE(dir.Names("state").empty());
}

}  // namespace
}  // namespace morvane::test
