#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "RoundTripFixture.h"
#include "ops/textfile/TextRoundTrip.h"
#include "platform/Utf16.h"

namespace morvane::test {
namespace {

std::string Start(const TextRoundTrip& roundTrip) {
    std::string line = FormatText(msg::kReimportStart, roundTrip.TextFileTime().c_str());
    line.pop_back();  // the banner's own line feed
    return line;
}
const std::string kEnd =
    std::string(msg::kReimportEnd).substr(1, std::string(msg::kReimportEnd).size() - 2);
const std::string kFailed =
    std::string(msg::kReimportFailedEnd).substr(1, std::string(msg::kReimportFailedEnd).size() - 2);

std::string Changed(int count) {
    return FormatText(msg::kNamesChanged, count);
}

class TextReimportTest : public RoundTripFixture {
protected:
    void SetUp() override {
        AddFile("a.txt");
        AddFile("b.txt");
        AddFile("c.txt");
        roundTrip.ExportAndLock();
    }
    std::string Dir() { return dir / "files/"; }
};

TEST(TextLineTest, LinesEndAtLineFeedsWithinTheLengthLimit) {
    std::string_view line;
    std::size_t offset = 0;
    const std::string text = "a\r\nb\rc\n\nlast\r";
    EXPECT_EQ(NextTextLine(text, &offset, false, &line), TextLineStatus::Ok);
    EXPECT_EQ(line, "a");
    EXPECT_EQ(NextTextLine(text, &offset, false, &line), TextLineStatus::Ok);
    EXPECT_EQ(line, "b\rc");
    EXPECT_EQ(NextTextLine(text, &offset, false, &line), TextLineStatus::Ok);
    EXPECT_EQ(line, "");
    std::size_t before = offset;
    EXPECT_EQ(NextTextLine(text, &offset, false, &line), TextLineStatus::Missing);
    EXPECT_EQ(offset, before);
    EXPECT_EQ(NextTextLine(text, &offset, true, &line), TextLineStatus::Ok);
    EXPECT_EQ(line, "last");
    // Past the end, the last line wanted is empty.
    EXPECT_EQ(NextTextLine(text, &offset, true, &line), TextLineStatus::Ok);
    EXPECT_EQ(line, "");

    // 63,998 bytes fit (the carriage return counts); 63,999 do not, ended or not.
    const std::string longest(kMaxTextLineBytes - 1, 'x');
    for (const std::string& ok : {longest + "\r\n", longest + "y\n", longest + "y"}) {
        offset = 0;
        EXPECT_EQ(NextTextLine(ok, &offset, true, &line), TextLineStatus::Ok);
        EXPECT_EQ(line, longest + (ok[longest.size()] == 'y' ? "y" : ""));
    }
    for (const std::string& tooLong : {longest + "yz\n", longest + "yz", longest + "y\r\n"}) {
        offset = 0;
        EXPECT_EQ(NextTextLine(tooLong, &offset, true, &line), TextLineStatus::TooLong);
    }
}

TEST_F(TextReimportTest, MoreLinesThanRowsSucceedWithBannersAndProgress) {
    host.statusProgress.clear();
    bool disabledInEvents = true;
    host.onPendingEvents = [&] { disabledInEvents = disabledInEvents && !host.windowEnabled; };
    SaveAndPoll("x.txt\r\ny.txt\r\nz.txt\r\nextra\r\nmore\r\n");
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"x.txt", "y.txt", "z.txt"}));
    EXPECT_EQ(list.EntryAt(1)->NewPath(), Dir() + "y.txt");
    EXPECT_EQ(list.EntryAt(1)->NewKey(), Dir() + "y.txt");
    EXPECT_EQ(list.NewPathIndex().Find(Dir() + "y.txt"), list.EntryAt(1));
    EXPECT_EQ(list.NewPathIndex().Find(Dir() + "b.txt"), nullptr);
    EXPECT_TRUE(list.NewPathIndex().IsConsistent());
    EXPECT_EQ(list.Cell(2, ColCharCount), "5");
    EXPECT_EQ(LogLines(), (std::vector<std::string>{Start(roundTrip), Changed(3), kEnd}));
    EXPECT_EQ(host.disableCount, 1);
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_TRUE(disabledInEvents);
    EXPECT_GE(host.pendingEventsCalls, 6);  // after every line and every row
    const float third = 1.0f / 3.0f, twoThirds = 2.0f / 3.0f;
    EXPECT_EQ(host.statusProgress,
              (std::vector<float>{0.0f, 0.0f, third, twoThirds, 0.0f, third, twoThirds, 0.0f}));
    EXPECT_EQ(host.commitEditCalls, 1);
}

TEST_F(TextReimportTest, OneLineShortWithAFinalLineEndLeavesTheLastRowBlank) {
    SaveAndPoll("x.txt\r\ny.txt\r\n");
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"x.txt", "y.txt", ""}));
    EXPECT_EQ(Errors(2) & ErrBlank, ErrBlank);
    EXPECT_EQ(list.Cell(2, ColError).find("空白"), 0u);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              Start(roundTrip), FormatText(msg::kBlankName, 3), Changed(3), kEnd}));
}

TEST_F(TextReimportTest, TwoLinesShortStopsWithTheFewerLinesErrorAndAppliesNothing) {
    const std::vector<std::string> before = NewNames();
    SaveAndPoll("x.txt\r\n");
    EXPECT_EQ(NewNames(), before);
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{Start(roundTrip), FormatText(msg::kFewerLines, 2, 3),
                                        Changed(0), kFailed}));
    // A second line without its line feed is still missing its end.
    SaveAndPoll("p.txt\r\nq.txt");
    EXPECT_EQ(NewNames(), before);
    EXPECT_EQ(LogLines()[1], FormatText(msg::kFewerLines, 2, 3));
}

TEST_F(TextReimportTest, LineFeedsAloneCarriageReturnsInsideAndZeroBytes) {
    SaveAndPoll(std::string("x.txt\ny\rz.txt\nab\0cd\n", 20));
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"x.txt", "y\rz.txt", "ab"}));
    EXPECT_EQ(list.EntryAt(1)->NewPath(), Dir() + "y\rz.txt");
    EXPECT_EQ(list.Cell(1, ColCharCount), "7");
}

TEST_F(TextReimportTest, ALineOfSpacesWarnsThenIsBlank) {
    SaveAndPoll("x.txt  \r\n   \r\n\tz.txt\xE3\x80\x80\r\n");
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"x.txt", "", "\tz.txt\xE3\x80\x80"}));
    // Tabs stay in the name, where Linux takes them.
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              Start(roundTrip), FormatText(msg::kTrailingBlanks, 1, "x.txt"),
                              FormatText(msg::kTrailingBlanks, 2, ""),
                              FormatText(msg::kBlankName, 2), Changed(3), kEnd}));
    EXPECT_EQ(Errors(1), ErrBlank);
    EXPECT_EQ(Errors(2), 0u);
}

TEST_F(TextReimportTest, AnOverLongLineStopsReadingAppliesNothingButAllRowsAreValidated) {
    list.SetCell(2, ColNewName, "");  // only the validation pass can mark it blank
    const std::vector<std::string> before = NewNames();
    SaveAndPoll("x.txt\r\n" + std::string(64000, 'y') + "\r\nz.txt\r\n");
    EXPECT_EQ(NewNames(), before);
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{Start(roundTrip), FormatText(msg::kLineTooLong, 2),
                                        FormatText(msg::kBlankName, 3), Changed(0), kFailed}));
}

TEST_F(TextReimportTest, APathOverTheLimitIsCutWithAWarning) {
    const std::string name(40000, 'n');
    SaveAndPoll("x\r\n" + name + "\r\nz\r\n");
    const std::size_t d = Utf16Length(Dir());
    EXPECT_EQ(list.Cell(1, ColNewName), std::string(31998 - d, 'n'));
    EXPECT_EQ(list.Cell(1, ColCharCount), std::to_string(31998 - d));
    EXPECT_EQ(LogLines()[1], FormatText(msg::kPathCut, 32000, 2, name.c_str()));
    EXPECT_EQ(LogLines().back(), kEnd);
}

TEST_F(TextReimportTest, LineNGoesToTheRowWhoseNumberIsNAfterASort) {
    list.Reorder({2, 0, 1});  // c, a, b on screen; "行" reads 3, 1, 2
    SaveAndPoll("one\r\ntwo\r\n\r\n");
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"", "one", "two"}));
    // The blank row is named by its list position.
    EXPECT_EQ(LogLines()[1], FormatText(msg::kBlankName, 1));
    EXPECT_EQ(list.Cell(0, ColRowNumber), "3");
}

TEST_F(TextReimportTest, TheSwapMessageNamesTheRowNumberAfterASort) {
    list.Reorder({1, 2, 0});  // b, c, a on screen; "行" reads 2, 3, 1
    // Line 1 (a) gets a forbidden name; line 2 (b) wants a's path, which cannot be vacated.
    SaveAndPoll("bad/name\r\na.txt\r\nc.txt\r\n");
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"a.txt", "c.txt", "bad/name"}));
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              Start(roundTrip), Forbidden(3, Dir() + "bad/name"),
                              FormatText(msg::kSwapTarget, 2, "a.txt"), Changed(2), kEnd}));
    EXPECT_EQ(Errors(2), ErrForbidden);
    EXPECT_EQ(Errors(0), ErrSwapBlocked);
    EXPECT_EQ(list.Cell(0, ColError), ErrorCellText(ErrSwapBlocked));

    // Mending line 1 releases line 2 without a message.
    SaveAndPoll("z.txt\r\na.txt\r\nc.txt\r\n");
    EXPECT_EQ(LogLines(), (std::vector<std::string>{Start(roundTrip), Changed(1), kEnd}));
    EXPECT_EQ(Errors(0), 0u);
    EXPECT_EQ(Errors(2), 0u);
}

TEST_F(TextReimportTest, ALineThatNoRowClaimsIsIgnored) {
    // Row numbers that are no permutation: two rows read 1, none reads 2.
    list.SetCell(1, ColRowNumber, "1");
    SaveAndPoll("x.txt\r\ny.txt\r\nz.txt\r\n");
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"a.txt", "x.txt", "z.txt"}));
    EXPECT_EQ(LogLines(), (std::vector<std::string>{Start(roundTrip), Changed(2), kEnd}));
    EXPECT_TRUE(list.NewPathIndex().IsConsistent());
}

TEST_F(TextReimportTest, TheValidationPassUsesTheSharedChecks) {
    dir.MakeFile("files/other.txt");  // not registered
    // A swap of a and b is fine.
    SaveAndPoll("b.txt\r\na.txt\r\nc.txt\r\n");
    EXPECT_EQ(LogLines(), (std::vector<std::string>{Start(roundTrip), Changed(2), kEnd}));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Errors(row), 0u) << row;

    // Two rows with one name, and a name taken by a file of the folder.
    SaveAndPoll("x.txt\r\nx.txt\r\nother.txt\r\n");
    EXPECT_EQ(
        LogLines(),
        (std::vector<std::string>{
            Start(roundTrip), FormatText(msg::kDuplicate, 2, 1), FormatText(msg::kDuplicate, 1, 2),
            FormatText(msg::kExists, 3, (Dir() + "other.txt").c_str()), Changed(3), kEnd}));
    EXPECT_EQ(Errors(0), ErrDuplicate);
    EXPECT_EQ(Errors(1), ErrDuplicate);
    EXPECT_EQ(Errors(2), ErrExists);

    // Lines that come back unchanged are checked again all the same: the duplicate goes from
    // the row whose line stayed, the existing file still blocks the third.
    SaveAndPoll("x.txt\r\ny.txt\r\nother.txt\r\n");
    EXPECT_EQ(Errors(0), 0u);
    EXPECT_EQ(Errors(1), 0u);
    EXPECT_EQ(Errors(2), ErrExists);
    EXPECT_EQ(list.NewPathIndex().Find(Dir() + "x.txt"), list.EntryAt(0));
    EXPECT_EQ(list.NewPathIndex().Find(Dir() + "y.txt"), list.EntryAt(1));
    EXPECT_TRUE(list.NewPathIndex().IsConsistent());

    // Back to the names as they are: every bit goes.
    SaveAndPoll("a.txt\r\nb.txt\r\nc.txt\r\n");
    EXPECT_EQ(LogLines(), (std::vector<std::string>{Start(roundTrip), Changed(3), kEnd}));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Errors(row), 0u) << row;
    EXPECT_TRUE(list.NewPathIndex().IsConsistent());
}

TEST_F(TextReimportTest, RowsExcludedFromRenamingAreWrittenButIgnoreTheirLines) {
    roundTrip.UnlockRows();
    AddLockedFile("locked.txt");
    ASSERT_EQ(Errors(3), ErrRenameTest);
    roundTrip.ExportAndLock();
    EXPECT_EQ(ReadFileText(roundTrip.TextFilePath()), "a.txt\nb.txt\nc.txt\nlocked.txt\n");

    SaveAndPoll("x.txt\r\ny.txt\r\nz.txt\r\nfree.txt\r\n");
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"x.txt", "y.txt", "z.txt", "locked.txt"}));
    EXPECT_EQ(list.EntryAt(3)->NewKey(), Dir() + "locked.txt");
    EXPECT_EQ(Errors(3), ErrRenameTest);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{Start(roundTrip), Changed(3), kEnd}));
}

TEST_F(TextReimportTest, EverySettledSaveIsReadEvenWithinOneSecond) {
    Save("x1.txt\r\ny.txt\r\nz.txt\r\n");
    roundTrip.PollTextFile();  // still settling: not read yet
    EXPECT_EQ(NewNames()[0], "a.txt");
    roundTrip.PollTextFile();
    EXPECT_EQ(NewNames()[0], "x1.txt");
    const std::string firstTime = roundTrip.TextFileTime();
    roundTrip.PollTextFile();  // unchanged: nothing again
    EXPECT_EQ(host.disableCount, 1);

    // Same size, very likely the same second: only the fine stamp tells them apart. (The
    // kernel stamps files from a clock that ticks every few milliseconds; a user does not save
    // twice within one tick.)
    usleep(20000);
    Save("x2.txt\r\ny.txt\r\nz.txt\r\n");
    roundTrip.PollTextFile();
    roundTrip.PollTextFile();
    EXPECT_EQ(NewNames()[0], "x2.txt");
    EXPECT_EQ(host.disableCount, 2);

    // Saved by writing a new file and renaming it over the old one.
    const std::string fresh = roundTrip.TextFilePath() + ".new";
    {
        std::FILE* f = std::fopen(fresh.c_str(), "wb");
        std::fputs("x3.txt\r\ny.txt\r\nz.txt\r\n", f);
        std::fclose(f);
    }
    ASSERT_EQ(std::rename(fresh.c_str(), roundTrip.TextFilePath().c_str()), 0);
    roundTrip.PollTextFile();
    roundTrip.PollTextFile();
    EXPECT_EQ(NewNames()[0], "x3.txt");
    EXPECT_EQ(host.disableCount, 3);
    EXPECT_FALSE(firstTime.empty());
    EXPECT_EQ(LogLines()[0], Start(roundTrip));
}

TEST_F(TextReimportTest, AFileStillBeingWrittenWaitsUntilItSettles) {
    Save("x.txt\r\n");
    roundTrip.PollTextFile();
    Save("x.txt\r\ny.txt\r\n");  // the writer is not done yet
    roundTrip.PollTextFile();
    EXPECT_EQ(host.disableCount, 0);
    Save("x.txt\r\ny.txt\r\nz.txt\r\n");
    roundTrip.PollTextFile();
    EXPECT_EQ(host.disableCount, 0);
    roundTrip.PollTextFile();
    EXPECT_EQ(host.disableCount, 1);
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"x.txt", "y.txt", "z.txt"}));
}

TEST_F(TextReimportTest, AUtf8MarkIsDroppedAndAUtf16FileIsRefused) {
    SaveAndPoll("\xEF\xBB\xBFx.txt\r\ny.txt\r\nz.txt\r\n");
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"x.txt", "y.txt", "z.txt"}));
    EXPECT_EQ(list.Cell(0, ColCharCount), "5");

    const std::string utf16le("\xFF\xFEp\0.\0t\0\r\0\n\0", 12);
    SaveAndPoll(utf16le + std::string("q\0\r\0\n\0r\0\r\0\n\0", 12));
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"x.txt", "y.txt", "z.txt"}));
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{
                  Start(roundTrip), FormatText(msg::kTextUtf16, roundTrip.TextFilePath().c_str()),
                  kFailed}));
    SaveAndPoll(std::string("\xFE\xFF\0p\0\r\0\n", 8));
    EXPECT_EQ(LogLines()[1], FormatText(msg::kTextUtf16, roundTrip.TextFilePath().c_str()));
    EXPECT_EQ(NewNames()[0], "x.txt");
}

TEST_F(TextReimportTest, AnUnreadableFileFailsWithoutTheValidationPass) {
    list.SetCell(2, ColNewName, "");
    const std::string path = roundTrip.TextFilePath();
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);  // something there that cannot be read as text
    roundTrip.PollTextFile();
    roundTrip.PollTextFile();
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{Start(roundTrip),
                                        FormatText(msg::kTextOpenFailed, path.c_str()), kFailed}));
    EXPECT_TRUE(host.windowEnabled);
    rmdir(path.c_str());
}

TEST_F(TextReimportTest, AFifoOrADeviceInPlaceOfTheFileIsRefusedAtOnce) {
    const std::vector<std::string> names = NewNames();
    const std::string path = roundTrip.TextFilePath();
    for (const bool fifo : {true, false}) {
        SCOPED_TRACE(fifo ? "fifo" : "link to /dev/zero");
        ASSERT_EQ(unlink(path.c_str()), 0);
        ASSERT_EQ(fifo ? mkfifo(path.c_str(), 0600) : symlink("/dev/zero", path.c_str()), 0);
        log.ClearLog();
        roundTrip.ReimportTextFile();  // would wait for a writer, or read for ever
        EXPECT_EQ(LogLines(),
                  (std::vector<std::string>{
                      Start(roundTrip), FormatText(msg::kTextOpenFailed, path.c_str()), kFailed}));
        EXPECT_EQ(NewNames(), names);
    }
    unlink(path.c_str());
}

TEST_F(TextReimportTest, AnEmptyListLogsNothing) {
    list.RemoveAllRows();
    SaveAndPoll("x\r\n");
    EXPECT_EQ(host.disableCount, 0);
    EXPECT_EQ(log.Text().find("【更新】"), std::string::npos);
}

}  // namespace
}  // namespace morvane::test
