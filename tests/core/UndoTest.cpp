#include <cstdio>
#include <filesystem>
#include <map>

#include "RenameFixture.h"
#include "ops/recovery/UndoRun.h"
#include "ops/rename/Journal.h"

namespace morvane::test {
namespace {

// The undo registers the rows it reverses and renames them with the rename command.
class UndoTest : public RenameFixture {
protected:
    RegistrationPart registering{*this};
    UndoRun undo{list, validation, fs, log, host, places, registering.registration, renamer};
};

// Every path under the folder with the content of each file ("/" for a folder).
std::map<std::string, std::string> Snapshot(const std::string& root) {
    std::map<std::string, std::string> tree;
    for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
        const std::string path = item.path().string().substr(root.size());
        tree[path] = item.is_directory() ? "/" : ReadFileText(item.path().string());
    }
    return tree;
}

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
    EXPECT_EQ(host.questions.back().text, FormatText(msg::kUndoQuestion, 10, 0));
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

    // Not while the user has rows of his own.
    Register("mine.txt");
    undo.UndoLastRun();
    EXPECT_EQ(Log().substr(Log().rfind('\n') + 1), msg::kUndoListNotEmpty);
    removal.RemoveAllRows();

    host.yesNoAnswers.push_back(true);
    undo.UndoLastRun();
    EXPECT_EQ(host.questions.back().text, FormatText(msg::kUndoQuestion, 1, 2));
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

}  // namespace
}  // namespace morvane::test
