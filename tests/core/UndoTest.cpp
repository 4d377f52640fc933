#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "RenameFixture.h"
#include "ops/recovery/RunSummary.h"
#include "ops/recovery/UndoRun.h"
#include "ops/rename/Journal.h"

namespace morvane::test {
namespace {

// The undo registers the rows it reverses and renames them with the rename command.
class UndoTest : public RenameFixture {
protected:
    RegistrationPart registering{*this};
    UndoRun undo{fs, log, host, places, renamer};
};

TEST_F(UndoTest, UndoRestoresTheTreeAndMarksTheRunUndone) {
    for (const char* name : {"a", "b", "r1", "r2", "r3", "c1", "c2"})
        dir.MakeFile(std::string("top/") + name + ".txt", name);
    dir.MakeFile("top/sub/inner.txt", "inner");
    dir.MakeFile("top/sub/deeper/leaf.txt", "leaf");
    const auto before = Snapshot(dir.path());
    const std::pair<const char*, const char*> names[] = {
        {"top/a.txt", "b.txt"},     {"top/b.txt", "a.txt"},    // swap
        {"top/r1.txt", "r2.txt"},   {"top/r2.txt", "r3.txt"},  // ring
        {"top/r3.txt", "r1.txt"},   {"top/c1.txt", "c2.txt"},  // chain
        {"top/c2.txt", "c3.txt"},   {"top/sub", "renamed"},    // folder
        {"top/sub/inner.txt", "x"}, {"top/sub/deeper/leaf.txt", "y"}};
    for (const auto& [path, name] : names)
        SetName(Register(path), name);
    Run();
    ASSERT_EQ(list.RowCount(), 0);
    ASSERT_NE(Snapshot(dir.path()), before);

    host.yesNoAnswers.push_back(true);
    undo.UndoLastRun();

    EXPECT_EQ(Snapshot(dir.path()), before);
    EXPECT_EQ(host.questions.back().caption, msg::kUndoCaption);
    EXPECT_EQ(UndoCounts(host.questions.back().text), FormatText(msg::kUndoQuestion, 10, 0));
    EXPECT_EQ(Log().substr(Log().rfind('\n')), Summary(10));
    EXPECT_EQ(list.RowCount(), 0);
    const auto journals = ListJournals(fs, state / "morvane");
    ASSERT_EQ(journals.size(), 2u);
    EXPECT_EQ(journals[0].state, JournalState::Undone);
    EXPECT_EQ(journals[1].kind, RunKind::Undo);
    EXPECT_EQ(journals[1].state, JournalState::Done);

    // Nothing is left to reverse: the undo's own run is never undone.
    undo.UndoLastRun();
    EXPECT_EQ(Log().substr(Log().rfind('\n') + 1), msg::kNothingToUndo);
    EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST_F(UndoTest, AFileChangedByHandIsNamedAndLeftAndEarlierRunsFollow) {
    dir.MakeFile("first.txt", "1");
    SetName(Register("first.txt"), "first-new.txt");
    Run();
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    dir.MakeFile("c.txt", "C");
    SetName(Register("a.txt"), "a2.txt");
    SetName(Register("b.txt"), "b2.txt");
    SetName(Register("c.txt"), "c2.txt");
    Run();
    // Renamed by hand, and replaced by another file under the same name.
    ASSERT_EQ(std::rename((dir / "b2.txt").c_str(), (dir / "mine.txt").c_str()), 0);
    // As an editor saves: the new file first, then moved over the old one.
    dir.MakeFile("c2.new", "someone else's");
    ASSERT_EQ(std::rename((dir / "c2.new").c_str(), (dir / "c2.txt").c_str()), 0);

    host.yesNoAnswers.push_back(true);
    undo.UndoLastRun();
    EXPECT_EQ(UndoCounts(host.questions.back().text), FormatText(msg::kUndoQuestion, 1, 2));
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("mine.txt"), "B");
    EXPECT_EQ(Content("c2.txt"), "someone else's");
    EXPECT_NE(Log().find(FormatText(msg::kUndoChanged, (dir / "b2.txt").c_str())),
              std::string::npos);
    EXPECT_NE(Log().find(FormatText(msg::kUndoChanged, (dir / "c2.txt").c_str())),
              std::string::npos);

    // The next one reverses the run before.
    host.yesNoAnswers.push_back(true);
    undo.UndoLastRun();
    EXPECT_EQ(Content("first.txt"), "1");
    EXPECT_FALSE(PathExists(dir / "first-new.txt"));
}

// The newest run has nothing left to reverse: its files were put back by hand. Ctrl+Z passes
// over it, says so, and reverses the run before, naming it in its question.
TEST_F(UndoTest, ARunWithNothingLeftIsPassedOverAndTheOneBeforeReversed) {
    dir.MakeFile("a.txt", "A");
    SetName(Register("a.txt"), "a1.txt");
    Run();
    const std::string first = renamer.LastJournal();
    dir.MakeFile("b.txt", "B");
    SetName(Register("b.txt"), "b1.txt");
    Run();
    const JournalFile second{renamer.LastJournal(), RunKind::Rename, JournalState::Done};
    ASSERT_EQ(std::rename((dir / "b1.txt").c_str(), (dir / "b.txt").c_str()), 0);

    host.yesNoAnswers.push_back(true);
    undo.UndoLastRun();
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("b.txt"), "B");
    ASSERT_EQ(host.questions.size(), 3u);
    JournalFile file{first, RunKind::Rename, JournalState::Done};
    EXPECT_EQ(host.questions.back().text,
              FormatText(msg::kUndoRunLine, RunTimeOf(file).c_str(), 1, dir.path().c_str()) +
                  FormatText(msg::kUndoQuestion, 1, 0));
    EXPECT_NE(Log().find(FormatText(msg::kUndoPassedOver, RunTimeOf(second).c_str(), 1,
                                    dir.path().c_str())),
              std::string::npos)
        << Log();
}

// One file's old name is taken since: the undo reverses the rest, the journal records which
// went back, and a second undo, once the obstacle is gone, tries only what is left.
TEST_F(UndoTest, APartialUndoIsRecordedAndASecondUndoFinishesIt) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    SetName(Register("a.txt"), "a2.txt");
    SetName(Register("b.txt"), "b2.txt");
    Run();
    const std::string run = renamer.LastJournal();
    dir.MakeFile("a.txt", "in the way");

    host.yesNoAnswers.push_back(true);
    undo.UndoLastRun();
    EXPECT_EQ(Content("b.txt"), "B");
    EXPECT_EQ(Content("a2.txt"), "A");
    EXPECT_EQ(Content("a.txt"), "in the way");
    JournalFile file;
    for (const JournalFile& journal : ListJournals(fs, state / "morvane"))
        if (journal.kind == RunKind::Rename)
            file = journal;
    EXPECT_EQ(file.state, JournalState::Done);
    JournalText text;
    ASSERT_TRUE(ParseJournal(ReadFileText(state / ("morvane/" + file.name)), &text));
    EXPECT_EQ(text.backCount, 1u);

    ASSERT_EQ(std::remove((dir / "a.txt").c_str()), 0);
    host.yesNoAnswers.push_back(true);
    undo.UndoLastRun();
    EXPECT_EQ(UndoCounts(host.questions.back().text), FormatText(msg::kUndoQuestion, 1, 0));
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("b.txt"), "B");
    EXPECT_EQ(ListJournals(fs, state / "morvane")[0].state, JournalState::Undone);
    undo.UndoLastRun();
    EXPECT_EQ(Log().substr(Log().rfind('\n') + 1), msg::kNothingToUndo);
}

// The user's rows are neither renamed nor cleared: the one whose file went back points at it
// there and keeps its typed name.
TEST_F(UndoTest, TheUsersRowsStayAndFollowTheFilesTheUndoMoved) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    SetName(Register("a.txt"), "a2.txt");
    SetName(Register("b.txt"), "b2.txt");
    Run();
    dir.MakeFile("other.txt", "O");
    SetName(Register("a2.txt"), "typed.txt");
    SetName(Register("other.txt"), "other2.txt");

    host.yesNoAnswers.push_back(true);
    undo.UndoLastRun();
    EXPECT_EQ(Content("a.txt"), "A");
    EXPECT_EQ(Content("b.txt"), "B");
    EXPECT_EQ(Content("other.txt"), "O");
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Row(0).entry.currentKey, MakePathKey(dir / "a.txt"));
    EXPECT_EQ(list.Cell(0, ColNewName), "typed.txt");
    EXPECT_TRUE(list.Cell(0, ColError).empty());
    EXPECT_EQ(list.Cell(1, ColNewName), "other2.txt");
}

// Three runs over overlapping files, undone in every order: each undo reverses the files
// still at its run's new names; nothing is lost or overwritten.
TEST_F(UndoTest, AFileALaterRunRenamedIsNamedWithWhereItIsNow) {
    dir.MakeFile("a.txt", "a");
    dir.MakeFile("b.txt", "b");
    SetName(Register("a.txt"), "a1.txt");
    SetName(Register("b.txt"), "b1.txt");
    Run();
    const std::string first = renamer.LastJournal();
    SetName(Register("a1.txt"), "a2.txt");
    Run();

    host.yesNoAnswers.push_back(true);
    EXPECT_TRUE(undo.UndoJournal(first));
    EXPECT_EQ(Content("b.txt"), "b");
    EXPECT_EQ(Content("a2.txt"), "a");
    EXPECT_NE(Log().find(FormatText(msg::kUndoRenamedSince, (dir / "a1.txt").c_str(),
                                    (dir / "a2.txt").c_str())),
              std::string::npos)
        << Log();
    // Moved by hand after that: only the run's own record of it is known.
    ASSERT_EQ(std::rename((dir / "a2.txt").c_str(), (dir / "a3.txt").c_str()), 0);
    host.yesNoAnswers.push_back(true);
    undo.UndoJournal(first);
    EXPECT_NE(Log().find(FormatText(msg::kUndoChanged, (dir / "a1.txt").c_str())),
              std::string::npos)
        << Log();
}

TEST_F(UndoTest, ThreeOverlappingRunsUndoneInEveryOrder) {
    // run -> (old name, new name) of each file it renamed
    const std::vector<std::vector<std::pair<std::string, std::string>>> runs = {
        {{"x", "x1"}, {"y", "y1"}},
        {{"x1", "x2"}, {"z", "z2"}},
        {{"x2", "x3"}, {"y1", "y3"}, {"z2", "z3"}}};
    std::vector<int> order = {0, 1, 2};
    int round = 0;
    do {
        SCOPED_TRACE(std::to_string(order[0]) + std::to_string(order[1]) +
                     std::to_string(order[2]));
        const std::string sub = "r" + std::to_string(round++) + "/";
        std::map<std::string, std::string> model;  // name -> content
        for (const char* name : {"x", "y", "z"}) {
            dir.MakeFile(sub + name, name);
            model[name] = name;
        }
        std::vector<std::string> journals;
        for (const auto& run : runs) {
            for (const auto& [from, to] : run) {
                SetName(Register(sub + from), to);
                model[to] = model[from];
                model.erase(from);
            }
            Run();
            ASSERT_EQ(list.RowCount(), 0);
            journals.push_back(renamer.LastJournal());
        }
        for (const int k : order) {
            bool any = false;
            for (const auto& [from, to] : runs[static_cast<std::size_t>(k)]) {
                // Still what the run made it, and its old name free.
                if (model.count(to) != 0 && model[to] == from.substr(0, 1) &&
                    model.count(from) == 0) {
                    model[from] = model[to];
                    model.erase(to);
                    any = true;
                }
            }
            host.yesNoAnswers.push_back(true);
            EXPECT_EQ(undo.UndoJournal(journals[static_cast<std::size_t>(k)]), any) << Log();
            host.yesNoAnswers.clear();
        }
        std::map<std::string, std::string> disk;
        for (const auto& item : std::filesystem::directory_iterator(dir / sub))
            disk[item.path().filename().string()] = ReadFileText(item.path().string());
        EXPECT_EQ(disk, model);
    } while (std::next_permutation(order.begin(), order.end()));
}

}  // namespace
}  // namespace morvane::test
