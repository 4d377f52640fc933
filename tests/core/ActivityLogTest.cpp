#include <gtest/gtest.h>

#include "core/RowsFixture.h"
#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "ops/Busy.h"
#include "ops/Locations.h"
#include "ops/textfile/InstanceRecord.h"
#include "ops/textfile/TextRoundTrip.h"
#include "support/FakeHost.h"

namespace morvane {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

TEST(ActivityLogTest, EveryMessageStartsOnANewLineAndTheFirstLineIsEmpty) {
    test::FakeHost host;
    ActivityLog log;
    log.SetView(&host);
    log.AppendLog("【エラー】one");
    EXPECT_EQ(log.Text(), "\n【エラー】one");
    log.AppendLog("【警告】two");
    log.AppendLog("【致命的なエラー】a\n(\nb : \"c\"\n)");
    EXPECT_EQ(Lines(log.Text()),
              (std::vector<std::string>{"", "【エラー】one", "【警告】two", "【致命的なエラー】a",
                                        "(", "b : \"c\"", ")"}));
    // The view is told each piece and ends up with the same text.
    EXPECT_EQ(host.logView, log.Text());

    log.ClearLog();
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(host.logView, "");
    log.AppendLog("x");
    EXPECT_EQ(log.Text(), "\nx");
    EXPECT_EQ(host.logView, "\nx");
}

TEST(ActivityLogTest, BannersFrameTheirMessagesWithBlankLines) {
    test::FakeHost host;
    ActivityLog log;
    log.SetView(&host);
    log.AppendLog(msg::kRegisterStart);
    log.AppendLog("【エラー】message");
    log.AppendLog(msg::kRegisterEnd);
    const std::string hyphens(27, '-');
    EXPECT_EQ(Lines(log.Text()),
              (std::vector<std::string>{"", "【登録】登録処理を開始します " + hyphens + " [START]",
                                        "", "【エラー】message", "",
                                        "【登録】登録処理を終了します " + hyphens + " [END]", ""}));

    // Every banner: sentence, blank, 27 hyphens, blank, [START] or [END]; a START banner ends
    // with a line feed, an END banner begins and ends with one.
    const std::string rule = " " + hyphens + " [";
    for (const char* start : {msg::kRegisterStart, msg::kRenameStart, msg::kReimportStart}) {
        const std::string s = start;
        const auto at = s.find(rule + "START]");
        ASSERT_NE(at, std::string::npos) << s;
        EXPECT_NE(s[at - 1], ' ') << s;
        EXPECT_NE(s.front(), '\n') << s;
        EXPECT_EQ(s.back(), '\n') << s;
    }
    for (const char* end :
         {msg::kRegisterEnd, msg::kRenameEnd, msg::kReimportEnd, msg::kReimportFailedEnd}) {
        const std::string s = end;
        const auto at = s.find(rule + "END]\n");
        ASSERT_NE(at, std::string::npos) << s;
        EXPECT_EQ(at + rule.size() + 5, s.size()) << s;
        EXPECT_NE(s[at - 1], ' ') << s;
        EXPECT_EQ(s.front(), '\n') << s;
    }
}

// The lock held by the text round trip, which owns the text file behind it.
class RowLockQuestionTest : public ::testing::Test, protected test::RowsFixture {
protected:
    RowLockQuestionTest() {
        AddRow("a.txt");
        textFile = dir.MakeFile("00000001[MORVANE]_240101120000.txt", "a.txt\r\n");
    }

    void Lock() {
        roundTrip.LockRows(textFile);
        log.ClearLog();
    }

    Locations locations;
    BusyState busy;
    InstanceRecord instance{fs, log};
    TextRoundTrip roundTrip{list, validation, fs,   log,       settings, locations,
                            host, host,       busy, itemBreak, instance, rowLock};
    std::string textFile;
};

TEST_F(RowLockQuestionTest, WithoutTheLockNothingIsAsked) {
    EXPECT_TRUE(rowLock.ConfirmUnlockRows());
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(log.Text(), "");
}

TEST_F(RowLockQuestionTest, NoKeepsTheLockTheFileAndTheList) {
    Lock();
    host.yesNoAnswers = {false};
    EXPECT_FALSE(rowLock.ConfirmUnlockRows());
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text,
              "この操作を遂行するために行ロックを解除する必要があります。\n"
              "行ロックを解除すると現在編集しているテキストファイルでは更新できなくなります。\n\n"
              "行ロックを解除してもいいですか？");
    EXPECT_EQ(host.questions[0].caption, "作業の確認");
    EXPECT_TRUE(rowLock.RowLocked());
    EXPECT_EQ(roundTrip.TextFilePath(), textFile);
    EXPECT_EQ(test::ReadFileText(textFile), "a.txt\r\n");
    EXPECT_EQ(list.RowCount(), 1);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(RowLockQuestionTest, YesAnswersTrue) {
    Lock();
    host.yesNoAnswers = {true};
    EXPECT_TRUE(rowLock.ConfirmUnlockRows());
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].caption, "作業の確認");
    EXPECT_EQ(list.RowCount(), 1);
}

}  // namespace
}  // namespace morvane
