#include <gtest/gtest.h>

#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "core/RowsFixture.h"
#include "ops/rows/RowRemoval.h"
#include "support/AppFixture.h"

namespace morvane {
namespace {

class RowRemovalTest : public ::testing::Test, protected test::RowsFixture {
protected:
    // Six rows f1 ... f6 on real files.
    void MakeSixRows() {
        for (int i = 1; i <= 6; ++i) {
            const std::string name = "f" + std::to_string(i);
            ASSERT_GE(AddRow(name), 0) << Log();
            paths.push_back(dir / name);
        }
        ASSERT_EQ(list.RowCount(), 6);
        log.ClearLog();
        host.statusProgress.clear();
        host.pendingEventsCalls = 0;
        host.disableCount = 0;
        host.commitEditCalls = 0;
    }

    RowRemoval removal{list, validation, log, host, host, itemBreak};
    std::vector<std::string> paths;
};

TEST_F(RowRemovalTest, RemovingRows2And5Of6RenumbersTheRest) {
    MakeSixRows();
    list.SetSelection({1, 4});
    removal.RemoveSelectedRows();

    ASSERT_EQ(list.RowCount(), 4);
    const char* remaining[] = {"f1", "f3", "f4", "f6"};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(list.Cell(r, ColCurrentName), remaining[r]);
        EXPECT_EQ(list.EntryAt(r)->row, r);
        EXPECT_EQ(list.Cell(r, ColRowNumber), std::to_string(r + 1));
        EXPECT_EQ(list.RowNumberOf(r), r + 1);
        EXPECT_FALSE(list.IsSelected(r));
    }
    EXPECT_EQ(host.registeredCount, 4);
    // Start at 0, one step per removed row (1 - still-to-go / selected), back to 0.
    EXPECT_EQ(host.statusProgress, (std::vector<float>{0.0f, 0.5f, 1.0f, 0.0f}));
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(host.disableCount, 1);
    EXPECT_EQ(host.commitEditCalls, 1);
    EXPECT_EQ(host.pendingEventsCalls, 2);

    auto& current = list.CurrentPathIndex();
    auto& fresh = list.NewPathIndex();
    EXPECT_EQ(current.CountEntries(), 4u);
    EXPECT_EQ(fresh.CountEntries(), 4u);
    EXPECT_EQ(current.Find(paths[1]), nullptr);
    EXPECT_EQ(fresh.Find(paths[4]), nullptr);
    EXPECT_EQ(current.Find(paths[5]), list.EntryAt(3));
    EXPECT_TRUE(current.IsConsistent());
    EXPECT_TRUE(fresh.IsConsistent());
    // The files themselves are untouched, and nothing was reported.
    EXPECT_EQ(dir.Names().size(), 6u);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(RowRemovalTest, RemovingEveryOtherRowOfALongListKeepsTheRestInOrder) {
    for (int i = 0; i < 300; ++i)
        ASSERT_GE(AddRow("f" + std::to_string(i)), 0) << Log();
    // Every other row of the first 200, then the last 50 as one block: far more runs than a
    // list removes one by one.
    std::vector<int> selected;
    for (int r = 0; r < 200; r += 2)
        selected.push_back(r);
    for (int r = 250; r < 300; ++r)
        selected.push_back(r);
    list.SetSelection(selected);
    removal.RemoveSelectedRows();

    ASSERT_EQ(list.RowCount(), 150);
    for (int r = 0; r < 150; ++r) {
        const int file = r < 100 ? 2 * r + 1 : r + 100;
        EXPECT_EQ(list.Cell(r, ColCurrentName), "f" + std::to_string(file));
        EXPECT_EQ(list.EntryAt(r)->row, r);
        EXPECT_EQ(list.CurrentPathIndex().Find(dir / ("f" + std::to_string(file))),
                  list.EntryAt(r));
    }
    EXPECT_EQ(list.CurrentPathIndex().Find(dir / "f298"), nullptr);
    EXPECT_EQ(list.NewPathIndex().CountEntries(), 150u);
    EXPECT_TRUE(list.CurrentPathIndex().IsConsistent());
    EXPECT_TRUE(list.NewPathIndex().IsConsistent());
}

TEST_F(RowRemovalTest, RowsThatDependedOnARemovedRowAreCorrectedUnderTheirOldNumbers) {
    MakeSixRows();
    validation.SetNewName(2, "f5");  // row 3 wants the name row 5 keeps
    EXPECT_EQ(Bits(2), ErrDuplicate);
    log.ClearLog();
    list.SetSelection({1, 4});
    removal.RemoveSelectedRows();

    ASSERT_EQ(list.RowCount(), 4);
    ASSERT_EQ(list.Cell(1, ColCurrentName), "f3");
    // f5 stays on disk, now unregistered: row 3 (row 2 after renumbering) collides with it.
    EXPECT_EQ(Bits(1), ErrExists);
    EXPECT_EQ(list.Cell(1, ColError), "既存 | ");
    EXPECT_EQ(list.Cell(1, ColRowNumber), "2");
    EXPECT_NE(Log().find("(行 : 3,パス : " + paths[4] + ")"), std::string::npos) << Log();
    for (int r : {0, 2, 3})
        EXPECT_EQ(Bits(r), 0u) << r;
}

TEST_F(RowRemovalTest, RemovingWithNothingSelectedStillResetsProgressAndWindow) {
    MakeSixRows();
    removal.RemoveSelectedRows();
    EXPECT_EQ(list.RowCount(), 6);
    EXPECT_EQ(host.statusProgress, (std::vector<float>{0.0f, 0.0f}));
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(host.disableCount, 1);
    EXPECT_EQ(host.pendingEventsCalls, 0);
    EXPECT_EQ(host.registeredCount, 6);
}

TEST_F(RowRemovalTest, RemoveAllRowsKeepsTheLogAndClearAllRowsEmptiesIt) {
    MakeSixRows();
    log.AppendLog("【エラー】before");
    removal.RemoveAllRows();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.CurrentPathIndex().CountEntries(), 0u);
    EXPECT_EQ(list.NewPathIndex().CountEntries(), 0u);
    EXPECT_EQ(host.registeredCount, 0);
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(host.commitEditCalls, 1);
    EXPECT_EQ(log.Text(), "\n【エラー】before");
    EXPECT_EQ(host.logView, log.Text());

    MakeSixRows();
    log.AppendLog("【エラー】before");  // making the rows cleared it
    host.registeredCount = -1;
    removal.ClearAllRows();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(host.registeredCount, 0);
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(host.logView, "");
}

// The question under the row lock is the command table's: these run whole commands.
class RemoveCommandTest : public ::testing::Test, protected test::AppFixture {
protected:
    // Six registered rows f1 ... f6 on real files.
    void MakeSixRows() {
        {
            Registration::Run run(AppInternals::Registrar(app));
            for (int i = 1; i <= 6; ++i)
                ASSERT_GE(Add("f" + std::to_string(i)), 0) << Log();
        }
        ASSERT_EQ(app.List().RowCount(), 6);
        app.Log().ClearLog();
        host.statusProgress.clear();
        host.pendingEventsCalls = 0;
        host.disableCount = 0;
        host.commitEditCalls = 0;
    }
};

TEST_F(RemoveCommandTest, RemoveCommandsAskFirstWhileTheRowLockHolds) {
    MakeSixRows();
    AppInternals::RoundTrip(app).SetRowLockedForTest(true);
    app.List().SetSelection({0});
    app.Execute(Command::RemoveSelected);  // answered No
    app.Execute(Command::ClearAll);        // answered No
    EXPECT_EQ(host.questions.size(), 2u);
    EXPECT_EQ(app.List().RowCount(), 6);
    EXPECT_EQ(host.disableCount, 0);
    EXPECT_EQ(app.Log().Text(), "");

    host.yesNoAnswers = {true};
    app.Execute(Command::RemoveSelected);
    EXPECT_EQ(host.questions.size(), 3u);
    EXPECT_EQ(app.List().RowCount(), 5);

    AppInternals::RoundTrip(app).SetRowLockedForTest(false);
    app.Execute(Command::ClearAll);
    EXPECT_EQ(host.questions.size(), 3u);
    EXPECT_EQ(app.List().RowCount(), 0);
}

}  // namespace
}  // namespace morvane
