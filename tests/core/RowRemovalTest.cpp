#include <gtest/gtest.h>

#include "app/CMorvaneApp.h"
#include "app/Commands.h"
#include "core/TestRows.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

class RowRemovalTest : public ::testing::Test {
protected:
    RowRemovalTest() : app(host, RealFileSystem()) {
        app.windowsDir = "/usr";
        app.systemDir = "/etc";
        app.tempDir = dir.path() + "/";
    }

    // Six rows f1 ... f6 on real files, numbered as registration leaves them.
    void MakeSixRows() {
        for (int i = 1; i <= 6; ++i)
            paths.push_back(dir.MakeFile("f" + std::to_string(i)));
        for (const auto& p : paths)
            test::AppendFileRow(app.list, p);
        app.list.RenumberRows();
    }

    test::FakeHost host;
    test::TempDir dir;
    CMorvaneApp app;
    std::vector<std::string> paths;
};

TEST_F(RowRemovalTest, RemovingRows2And5Of6RenumbersTheRest) {
    MakeSixRows();
    app.list.SetSelection({1, 4});
    app.RemoveSelectedRows();

    ASSERT_EQ(app.list.RowCount(), 4);
    const char* remaining[] = {"f1", "f3", "f4", "f6"};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(app.list.Cell(r, ColCurrentName), remaining[r]);
        EXPECT_EQ(app.list.EntryAt(r)->row, r);
        EXPECT_EQ(app.list.Cell(r, ColRowNumber), std::to_string(r + 1));
        EXPECT_EQ(app.list.RowNumberOf(r), r + 1);
        EXPECT_FALSE(app.list.IsSelected(r));
    }
    EXPECT_EQ(host.registeredCount, 4);
    // Start at 0, one step per removed row (1 - still-to-go / selected), back to 0.
    EXPECT_EQ(host.statusProgress, (std::vector<float>{0.0f, 0.5f, 1.0f, 0.0f}));
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(host.disableCount, 1);
    EXPECT_EQ(host.commitEditCalls, 1);
    EXPECT_EQ(host.pumpCalls, 2);

    auto& current = app.list.CurrentPathIndex();
    auto& fresh = app.list.NewPathIndex();
    EXPECT_EQ(current.CountEntries(), 4u);
    EXPECT_EQ(fresh.CountEntries(), 4u);
    EXPECT_EQ(current.Find(paths[1]), nullptr);
    EXPECT_EQ(fresh.Find(paths[4]), nullptr);
    EXPECT_EQ(current.Find(paths[5]), app.list.EntryAt(3));
    EXPECT_TRUE(current.IsConsistent());
    EXPECT_TRUE(fresh.IsConsistent());
    // The files themselves are untouched.
    EXPECT_EQ(dir.Names().size(), 6u);
}

TEST_F(RowRemovalTest, RemovingWithNothingSelectedStillResetsProgressAndWindow) {
    MakeSixRows();
    app.RemoveSelectedRows();
    EXPECT_EQ(app.list.RowCount(), 6);
    EXPECT_EQ(host.statusProgress, (std::vector<float>{0.0f, 0.0f}));
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(host.disableCount, 1);
    EXPECT_EQ(host.pumpCalls, 0);
    EXPECT_EQ(host.registeredCount, 6);
}

TEST_F(RowRemovalTest, RemoveAllRowsKeepsTheLogAndClearAllRowsEmptiesIt) {
    MakeSixRows();
    app.AppendLog("【エラー】before");
    app.RemoveAllRows();
    EXPECT_EQ(app.list.RowCount(), 0);
    EXPECT_EQ(app.list.CurrentPathIndex().CountEntries(), 0u);
    EXPECT_EQ(app.list.NewPathIndex().CountEntries(), 0u);
    EXPECT_EQ(host.registeredCount, 0);
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(host.commitEditCalls, 1);
    EXPECT_EQ(app.log.Text(), "\n【エラー】before");

    MakeSixRows();
    host.registeredCount = -1;
    app.ClearAllRows();
    EXPECT_EQ(app.list.RowCount(), 0);
    EXPECT_EQ(host.registeredCount, 0);
    EXPECT_EQ(app.log.Text(), "");
    EXPECT_EQ(host.logView, "");
}

TEST_F(RowRemovalTest, RemoveCommandsAskFirstWhileTheRowLockHolds) {
    MakeSixRows();
    app.rowLocked = true;
    app.list.SetSelection({0});
    app.OnCommand(CmdRemoveSelected);  // answered No
    app.OnCommand(CmdClearAll);        // answered No
    EXPECT_EQ(host.questions.size(), 2u);
    EXPECT_EQ(app.list.RowCount(), 6);
    EXPECT_EQ(host.disableCount, 0);
    EXPECT_EQ(app.log.Text(), "");

    host.yesNoAnswers = {true};
    app.OnCommand(CmdRemoveSelectedMenu);
    EXPECT_EQ(host.questions.size(), 3u);
    EXPECT_EQ(app.list.RowCount(), 5);

    app.rowLocked = false;
    app.OnCommand(CmdClear);
    EXPECT_EQ(host.questions.size(), 3u);
    EXPECT_EQ(app.list.RowCount(), 0);
}

}  // namespace
}  // namespace morvane
