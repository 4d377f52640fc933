// The command table's guards: whether a command applies, then the busy refusal, then the
// row-lock question, the same on every road.

#include <gtest/gtest.h>

#include "app/AppInternals.h"
#include "app/Command.h"
#include "app/CommandTable.h"
#include "ops/Busy.h"
#include "support/AppFixture.h"

namespace morvane {
namespace {

struct CommandGuardTest : ::testing::Test, test::AppFixture {};

TEST_F(CommandGuardTest, ABusyRefusalComesBeforeTheRowLockQuestion) {
    AppInternals::RoundTrip(app).SetRowLockedForTest(true);
    app.Settings().registerFolders = 1;
    app.Settings().openOnSelection = 1;
    app.Settings().folderNavigation = 1;
    BusyGuard busy(AppInternals::Busy(app));
    int refused = 0;
    for (int c = 0; c <= static_cast<int>(Command::OpenPaths); ++c) {
        const auto command = static_cast<Command>(c);
        const CommandEntry& entry = CommandEntryOf(command);
        if (entry.whileBusy != WhileBusy::Refused)
            continue;
        host.yesNoAnswers.push_back(true);  // would release the lock if it were asked
        app.Execute(command);
        ++refused;
        EXPECT_TRUE(host.questions.empty()) << "command " << c << " asked while busy";
        EXPECT_TRUE(app.Lock().RowLocked()) << "command " << c;
        host.yesNoAnswers.clear();
    }
    // Rename, its undo, the history, the name tools (twice), opening, going up.
    EXPECT_EQ(refused, 7);
    EXPECT_EQ(Log(), [&] {
        std::string expected;
        for (int i = 0; i < refused; ++i)
            expected += std::string("\n") + msg::kBusy;
        return expected;
    }());
}

TEST_F(CommandGuardTest, ACommandThatDoesNotApplySaysNothingEvenWhenBusy) {
    app.Settings().openOnSelection = 0;  // neither opening nor going up applies
    BusyGuard busy(AppInternals::Busy(app));
    app.Execute(Command::Open);
    app.Execute(Command::GoUp);
    EXPECT_EQ(Log(), "");
}

TEST_F(CommandGuardTest, DropsAndHeaderClicksTakeTheirArgumentThroughTheTable) {
    dir.MakeFile("b.txt");
    dir.MakeFile("a.txt");
    AppInternals::RoundTrip(app).SetRowLockedForTest(true);
    CommandArgument drop;
    drop.paths = {dir / "b.txt", dir / "a.txt"};
    app.Execute(Command::DropFiles, drop);  // No to the lock question: nothing registered
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(app.List().RowCount(), 0);

    host.yesNoAnswers.push_back(true);
    app.Execute(Command::DropFiles, drop);
    ASSERT_EQ(app.List().RowCount(), 2);
    EXPECT_FALSE(app.Lock().RowLocked());

    CommandArgument byName;
    byName.column = ColCurrentName;
    app.Execute(Command::SortByColumn, byName);  // first click: larger text first
    EXPECT_EQ(app.List().Cell(0, ColCurrentName), "b.txt");
    app.Execute(Command::SortByColumn, byName);
    EXPECT_EQ(app.List().Cell(0, ColCurrentName), "a.txt");
    EXPECT_TRUE(app.List().IsConsistent());
}

}  // namespace
}  // namespace morvane
