#include <cstdio>

#include "RenameFixture.h"
#include "ops/recovery/RunHistory.h"
#include "ops/recovery/RunSummary.h"
#include "ops/recovery/StartupRecovery.h"
#include "ops/recovery/UndoRun.h"
#include "ops/rename/Journal.h"

namespace morvane::test {
namespace {

class RunHistoryTest : public RenameFixture {
protected:
    UndoRun undo{fs, log, host, places, renamer};
    StartupRecovery recovery{fs, log, host, host, places};
    RunHistory history{fs, log, places, undo, recovery};

    // Renames each file of the pairs in one run; the run's journal.
    std::string RunOf(const std::vector<std::pair<std::string, std::string>>& names) {
        for (const auto& [from, to] : names) {
            if (!PathExists(dir / from))
                dir.MakeFile(from, from);
            SetName(Register(from), to);
        }
        Run();
        return renamer.LastJournal();
    }
    std::string Journals() const { return state / "morvane"; }
};

// Three runs, the middle one undone from the history: the list tells each run, its files and
// what they are now, and the states follow.
TEST_F(RunHistoryTest, ThreeRunsListedAndTheMiddleOneUndone) {
    const std::string first = RunOf({{"a.txt", "a1.txt"}});
    const std::string middle = RunOf({{"b.txt", "b1.txt"}, {"sub/c.txt", "c1.txt"}});
    const std::string last = RunOf({{"d.txt", "d1.txt"}});

    std::vector<RunListing> runs = history.Runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].file.name, last);
    EXPECT_EQ(runs[1].file.name, middle);
    EXPECT_EQ(runs[2].file.name, first);
    EXPECT_EQ(runs[1].files, 2u);
    EXPECT_EQ(runs[1].when, RunTimeOf(runs[1].file));
    // The plan goes deepest first: the file in the sub-folder leads.
    EXPECT_EQ(runs[1].folders, (dir / "sub") + FormatText(msg::kOtherFolders, 1));
    for (const RunListing& run : runs)
        EXPECT_EQ(run.state, RunState::Done);

    ASSERT_TRUE(history.OpenRun(middle));
    ASSERT_EQ(history.FileCount(), 2u);
    EXPECT_EQ(history.FileAt(1).from, dir / "b.txt");
    EXPECT_EQ(history.FileAt(1).to, dir / "b1.txt");
    EXPECT_EQ(history.NowOf(1), msg::kFileAtNew);
    ASSERT_EQ(std::rename((dir / "sub/c1.txt").c_str(), (dir / "sub/mine.txt").c_str()), 0);
    EXPECT_EQ(history.NowOf(0), msg::kFileChanged);

    host.yesNoAnswers.push_back(true);
    EXPECT_TRUE(history.Undo(middle));
    EXPECT_EQ(Content("b.txt"), "b.txt");
    EXPECT_EQ(Content("a1.txt"), "a.txt");
    EXPECT_EQ(Content("d1.txt"), "d.txt");
    runs = history.Runs();
    ASSERT_EQ(runs.size(), 4u);  // the undo has its own journal
    EXPECT_EQ(runs[0].file.kind, RunKind::Undo);
    EXPECT_EQ(runs[2].file.name, middle);
    // c.txt was renamed by hand since: the run is partly undone.
    EXPECT_EQ(runs[2].state, RunState::PartlyUndone);
    EXPECT_EQ(runs[1].state, RunState::Done);
    EXPECT_EQ(runs[3].state, RunState::Done);

    ASSERT_EQ(std::rename((dir / "sub/mine.txt").c_str(), (dir / "sub/c1.txt").c_str()), 0);
    host.yesNoAnswers.push_back(true);
    EXPECT_TRUE(history.Undo(middle));
    EXPECT_EQ(Content("sub/c.txt"), "sub/c.txt");
    EXPECT_EQ(history.Runs()[3].state, RunState::Undone);
}

// A run left interrupted shows so, and the history puts its files back.
TEST_F(RunHistoryTest, AnInterruptedRunIsShownAndPutBack) {
    RunOf({{"a.txt", "b.txt"}, {"c.txt", "d.txt"}});
    std::vector<JournalFile> journals = ListJournals(fs, Journals());
    const std::string path = Journals() + "/" + journals[0].name;
    std::string text = ReadFileText(path);
    text.resize(text.size() - kCompleteLine.size());
    ASSERT_TRUE(fs.WriteFileAtomic(path, text).Ok());
    ASSERT_TRUE(MarkJournal(fs, Journals(), &journals[0], JournalState::Running).Ok());
    ASSERT_EQ(std::rename((dir / "d.txt").c_str(), (dir / "c.txt").c_str()), 0);

    ASSERT_EQ(history.Runs().size(), 1u);
    EXPECT_EQ(history.Runs()[0].state, RunState::Interrupted);
    host.choiceAnswers = {0};
    history.PutBack(journals[0].name);
    EXPECT_EQ(Content("a.txt"), "a.txt");
    EXPECT_EQ(Content("c.txt"), "c.txt");
    EXPECT_EQ(history.Runs()[0].state, RunState::Undone);
}

// Past the bytes kept, the oldest finished journals go, never an interrupted one, and the
// history can say how many went.
TEST_F(RunHistoryTest, OldRunsAreDroppedForTheirSizeButInterruptedOnesStay) {
    for (int i = 0; i < 4; ++i)
        RunOf({{"f" + std::to_string(i), "g" + std::to_string(i)}});
    std::vector<JournalFile> journals = ListJournals(fs, Journals());
    ASSERT_EQ(journals.size(), 4u);
    ASSERT_TRUE(MarkJournal(fs, Journals(), &journals[0], JournalState::Running).Ok());
    const auto size = fs.Find(Journals() + "/" + journals[1].name)->size;
    EXPECT_EQ(PruneJournals(fs, Journals(), size * 2), 1);
    journals = ListJournals(fs, Journals());
    ASSERT_EQ(journals.size(), 3u);
    EXPECT_EQ(journals[0].state, JournalState::Running);
    EXPECT_EQ(history.DroppedRuns(), 1);
}

}  // namespace
}  // namespace morvane::test
