#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "RenameFixture.h"
#include "app/AppInternals.h"
#include "app/Command.h"
#include "ops/rename/TemporaryName.h"
#include "support/AppFixture.h"

namespace morvane::test {
namespace {

using Names = std::vector<std::string>;
using RenameEngineTest = RenameFixture;

TEST_F(RenameEngineTest, SwapVacatesBothThenPlacesBoth) {
    dir.MakeFile("a.txt", "content of a");
    dir.MakeFile("b.txt", "content of b");
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("b.txt"), "a.txt");
    ASSERT_TRUE(list.Cell(0, ColError).empty());
    ASSERT_TRUE(list.Cell(1, ColError).empty());

    bool disabledWhileMoving = true;
    fs.beforeMove = [&](const std::string& from, const std::string&) {
        if (from.rfind(state.path(), 0) != 0)
            disabledWhileMoving = disabledWhileMoving && !host.windowEnabled;
    };
    Run();

    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text,
              msg::kRenameQuestion + FormatText(msg::kRenameCounts, 2, 0, 0));
    EXPECT_EQ(host.questions[0].caption, msg::kRenameCaption);
    // Counters in list order; equal depth runs the later row first.
    EXPECT_EQ(moves,
              (Names{"b.txt -> 00000001[MORVANE]_b.txt", "a.txt -> 00000000[MORVANE]_a.txt",
                     "00000001[MORVANE]_b.txt -> a.txt", "00000000[MORVANE]_a.txt -> b.txt"}));
    EXPECT_EQ(dir.Names(), (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(Content("a.txt"), "content of b");
    EXPECT_EQ(Content("b.txt"), "content of a");

    EXPECT_EQ(Log(), CleanLog(2));
    EXPECT_TRUE(disabledWhileMoving);
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(host.registeredCount, 0);
    // Collecting (position / n), placing (k / m), then back to 0.
    EXPECT_EQ(host.statusProgress, (std::vector<float>{0.0f, 0.5f, 0.0f, 0.5f, 0.0f}));
}

TEST_F(RenameEngineTest, NamesUpToTheLimitRegisterAndSwapThroughShortenedTemporaryNames) {
    // 85 three-byte characters: 255 bytes, the most ext4 and tmpfs take.
    std::string kana;
    for (int i = 0; i < 85; ++i)
        kana += "\xE3\x81\x82";
    const std::string a = kana.substr(0, 252) + "a", b = kana.substr(0, 252) + "b";
    dir.MakeFile(a, "A");
    dir.MakeFile(b, "B");
    RegistrationPart registering(*this);
    ASSERT_TRUE(registering.registration.RegisterPath(dir / a));
    ASSERT_TRUE(registering.registration.RegisterPath(dir / b));
    const int rowA = 0, rowB = 1;
    EXPECT_EQ(list.EntryAt(rowA)->errors, 0u);  // the rename test passed
    EXPECT_EQ(list.EntryAt(rowB)->errors, 0u);
    SetName(rowA, b);
    SetName(rowB, a);
    Run();
    EXPECT_EQ(Content(a), "B");
    EXPECT_EQ(Content(b), "A");
    // A temporary name keeps whole characters: 238 bytes of room hold 79 of them.
    const std::string temp = TemporaryName(0, kana, 256);
    EXPECT_EQ(temp.size(), 18u + 237u);
    EXPECT_EQ(temp.substr(18), kana.substr(0, 237));
}

TEST_F(RenameEngineTest, ANameOverTheLimitIsAnErrorAndItsSwapIsNeverStarted) {
    dir.MakeFile("a", "A");
    dir.MakeFile("b", "B");
    const int rowA = Register("a"), rowB = Register("b");
    const std::string tooLong(256, 'n');
    SetName(rowA, tooLong);
    EXPECT_EQ(list.EntryAt(rowA)->errors, std::uint32_t{ErrTooLong});
    EXPECT_NE(Log().find(FormatText(msg::kNameTooLong, 255, 1, tooLong.c_str())),
              std::string::npos);
    EXPECT_EQ(list.Cell(rowA, ColError), "長さ | ");
    SetName(rowB, "a");  // wants the place of a row that cannot move
    EXPECT_EQ(list.EntryAt(rowB)->errors, std::uint32_t{ErrSwapBlocked});
    Run();
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(dir.Names(), (Names{"a", "b"}));
}

TEST_F(RenameEngineTest, RingOfThreeAndChainWithOneTemporaryName) {
    dir.MakeFile("ring/x", "X");
    dir.MakeFile("ring/y", "Y");
    dir.MakeFile("ring/z", "Z");
    SetName(Register("ring/x"), "y");
    SetName(Register("ring/y"), "z");
    SetName(Register("ring/z"), "x");
    // Row "1" takes row "2"'s name, row "2" a free one.
    dir.MakeFile("chain/one", "1");
    dir.MakeFile("chain/two", "2");
    SetName(Register("chain/one"), "two");
    SetName(Register("chain/two"), "three");
    Run();

    EXPECT_EQ(Log(), CleanLog(5));
    EXPECT_EQ(dir.Names("ring"), (Names{"x", "y", "z"}));
    EXPECT_EQ(Content("ring/x"), "Z");
    EXPECT_EQ(Content("ring/y"), "X");
    EXPECT_EQ(Content("ring/z"), "Y");
    EXPECT_EQ(dir.Names("chain"), (Names{"three", "two"}));
    EXPECT_EQ(Content("chain/two"), "1");
    EXPECT_EQ(Content("chain/three"), "2");
    // Only "two" was moved aside, with the counter after the ring's three.
    Names chainMoves;
    for (const auto& move : moves) {
        if (move.rfind("chain/", 0) == 0)
            chainMoves.push_back(move);
    }
    EXPECT_EQ(chainMoves,
              (Names{"chain/two -> chain/00000003[MORVANE]_two",
                     "chain/00000003[MORVANE]_two -> chain/three", "chain/one -> chain/two"}));
    EXPECT_EQ(moves.size(), 3u * 2u + 3u);
}

TEST_F(RenameEngineTest, FileInsideIsRenamedFirstUnderTheOldFolderPath) {
    dir.MakeFile("old/inner.txt", "inside");
    SetName(Register("old"), "new");
    SetName(Register("old/inner.txt"), "renamed.txt");
    Run();

    EXPECT_EQ(moves, (Names{"old/inner.txt -> old/renamed.txt", "old -> new"}));
    EXPECT_EQ(dir.Names(), (Names{"new"}));
    EXPECT_EQ(dir.Names("new"), (Names{"renamed.txt"}));
    EXPECT_EQ(Content("new/renamed.txt"), "inside");
    EXPECT_EQ(Log(), CleanLog(2));
}

TEST_F(RenameEngineTest, LeftoverTemporaryNamePassedOver) {
    dir.MakeFile("a.txt", "A");
    dir.MakeFile("b.txt", "B");
    SetName(Register("a.txt"), "b.txt");
    SetName(Register("b.txt"), "a.txt");
    // Left behind by an earlier run after registration's own checks.
    dir.MakeFile("00000000[MORVANE]_a.txt", "leftover");
    Run();

    EXPECT_EQ(moves[0], "b.txt -> 00000002[MORVANE]_b.txt");
    EXPECT_EQ(moves[1], "a.txt -> 00000001[MORVANE]_a.txt");
    EXPECT_EQ(dir.Names(), (Names{"00000000[MORVANE]_a.txt", "a.txt", "b.txt"}));
    EXPECT_EQ(Content("00000000[MORVANE]_a.txt"), "leftover");
    EXPECT_EQ(Content("a.txt"), "B");
    EXPECT_EQ(Content("b.txt"), "A");
    EXPECT_EQ(Log(), CleanLog(2));
}

TEST_F(RenameEngineTest, RowsInErrorUnchangedOrVanishedAreSkippedAndOnlyTheVanishedOneIsNamed) {
    dir.MakeFile("bad.txt", "bad");
    dir.MakeFile("same.txt", "same");
    dir.MakeFile("gone.txt", "gone");
    dir.MakeFile("good.txt", "good");
    dir.MakeFile("taken.txt", "unregistered");
    SetName(Register("bad.txt"), "taken.txt");  // an unregistered file holds the name
    Register("same.txt");
    SetName(Register("gone.txt"), "back.txt");
    SetName(Register("good.txt"), "better.txt");
    ASSERT_FALSE(list.Cell(0, ColError).empty());
    ASSERT_EQ(std::remove((dir / "gone.txt").c_str()), 0);
    Run();

    EXPECT_EQ(moves, (Names{"good.txt -> better.txt"}));
    EXPECT_EQ(dir.Names(), (Names{"bad.txt", "better.txt", "same.txt", "taken.txt"}));
    EXPECT_EQ(Content("bad.txt"), "bad");
    EXPECT_EQ(Content("taken.txt"), "unregistered");
    EXPECT_EQ(Content("same.txt"), "same");
    EXPECT_EQ(Content("better.txt"), "good");
    // The rows that wanted a name and did not get it stay, checked again after the run.
    EXPECT_EQ(Log().substr(0, Log().rfind('\n')),
              LogSaying(FormatText(msg::kRenameFileMissing, (dir / "gone.txt").c_str()), 1, 1, 1));
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Cell(0, ColNewName), "taken.txt");
    EXPECT_FALSE(list.Cell(0, ColError).empty());
    EXPECT_EQ(list.Cell(1, ColCurrentName), "gone.txt");
    EXPECT_EQ(list.Cell(1, ColNewName), "back.txt");
}

// Enough rows in one folder that it is read once instead of asked about path by path; the
// answers must be the same either way, also when the folder cannot be read.
class ManyRowsInOneFolder : public RenameFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(ManyRowsInOneFolder, SwapsSkipsAndPassesOverAsWithSingleQuestions) {
    const bool folderReadable = GetParam();
    constexpr int kFiles = 24;
    const auto name = [](int i) { return "f" + std::to_string(100 + i) + ".txt"; };
    for (int i = 0; i < kFiles; ++i)
        SetName(Register(dir.MakeFile("many/" + name(i), name(i)).substr(dir.path().size() + 1)),
                name(i ^ 1));
    // Asked for after the folder was read: the counter reaches 0x14 with the 21st row.
    dir.MakeFile("many/00000014[MORVANE]_f120.txt", "leftover");
    ASSERT_EQ(std::remove((dir / ("many/" + name(kFiles - 1))).c_str()), 0);  // vanished
    int listings = 0;
    fs.failListFolder = [&](const std::string& folder) {
        if (folder.rfind(state.path(), 0) == 0)
            return 0;  // the journals, looked over after the run
        ++listings;
        return folderReadable ? 0 : EACCES;
    };
    Run();

    EXPECT_EQ(listings, 1);
    EXPECT_EQ(Log(), LogSaying(FormatText(msg::kRenameFileMissing,
                                          (dir / ("many/" + name(kFiles - 1))).c_str()),
                               23, 0, 1));
    // The vanished row's partner still moves aside: a row, taking part or not, wants its path.
    EXPECT_EQ(moves.size(), 2u * (kFiles - 1));
    EXPECT_EQ(Content("many/00000014[MORVANE]_f120.txt"), "leftover");
    EXPECT_NE(
        std::find(moves.begin(), moves.end(), "many/f120.txt -> many/00000015[MORVANE]_f120.txt"),
        moves.end());
    for (int i = 0; i < kFiles - 1; ++i)
        EXPECT_EQ(Content("many/" + name(i ^ 1)), name(i)) << i;
    EXPECT_EQ(dir.Names("many").size(), static_cast<std::size_t>(kFiles));
}

INSTANTIATE_TEST_SUITE_P(ReadableOrNot, ManyRowsInOneFolder, ::testing::Bool());

TEST_F(RenameEngineTest, EmptyListOrNoRowTakingPartStillWritesBannersAndEmptiesTheList) {
    Run();
    EXPECT_EQ(Log(), CleanLog(0));
    EXPECT_TRUE(moves.empty());
    EXPECT_TRUE(host.windowEnabled);

    dir.MakeFile("keep.txt", "kept");
    Register("keep.txt");
    log.AppendLog("earlier message");
    Run();
    EXPECT_EQ(Log(), CleanLog(0));  // cleared at the start, readable after the end
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(Content("keep.txt"), "kept");
}

// The whole command as the command table runs it: the busy refusal is the table's.
struct RenameProgramTest : ::testing::Test, AppFixture {};

TEST_F(RenameProgramTest, DeclinedOrBusyRunDoesNothing) {
    ASSERT_EQ(Add("a.txt", "A"), 0);
    app.Rules().SetNewName(0, "b.txt");
    app.Log().AppendLog("before");

    host.yesNoAnswers.push_back(false);
    app.Execute(Command::Rename);
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(Log(), "\nbefore");

    BusyGuard busy(AppInternals::Busy(app));
    app.Execute(Command::Rename);
    EXPECT_EQ(host.questions.size(), 1u);  // not asked
    EXPECT_EQ(Log(), std::string("\nbefore\n") + msg::kBusy);

    EXPECT_EQ(app.List().RowCount(), 1);
    EXPECT_EQ(dir.Names(), (Names{"a.txt"}));
    EXPECT_EQ(ReadFileText(dir / "a.txt"), "A");
}

}  // namespace
}  // namespace morvane::test
