#include <gtest/gtest.h>

#include "app/CMorvaneApp.h"
#include "core/TestRows.h"
#include "host/Messages.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"

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
    CMorvaneApp app(host, RealFileSystem());
    app.Log().AppendLog("【エラー】one");
    EXPECT_EQ(app.Log().Text(), "\n【エラー】one");
    app.Log().AppendLog("【警告】two");
    app.Log().AppendLog("【致命的なエラー】a\n(\nb : \"c\"\n)");
    EXPECT_EQ(Lines(app.Log().Text()),
              (std::vector<std::string>{"", "【エラー】one", "【警告】two", "【致命的なエラー】a",
                                        "(", "b : \"c\"", ")"}));
    // The view is told each piece and ends up with the same text.
    EXPECT_EQ(host.logView, app.Log().Text());

    app.Log().ClearLog();
    EXPECT_EQ(app.Log().Text(), "");
    EXPECT_EQ(host.logView, "");
    app.Log().AppendLog("x");
    EXPECT_EQ(app.Log().Text(), "\nx");
    EXPECT_EQ(host.logView, "\nx");
}

TEST(ActivityLogTest, BannersFrameTheirMessagesWithBlankLines) {
    test::FakeHost host;
    CMorvaneApp app(host, RealFileSystem());
    app.Log().AppendLog(msg::kRegisterStart);
    app.Log().AppendLog("【エラー】message");
    app.Log().AppendLog(msg::kRegisterEnd);
    const std::string hyphens(27, '-');
    EXPECT_EQ(Lines(app.Log().Text()),
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

class RowLockQuestionTest : public ::testing::Test {
protected:
    RowLockQuestionTest() : app(host, RealFileSystem()) {
        test::AppendFileRow(app.List(), dir.MakeFile("a.txt"));
        textFile = dir.MakeFile("00000001[MORVANE]_240101120000.txt", "a.txt\r\n");
    }

    void Lock() {
        app.RoundTrip().LockRows(textFile);
        app.Log().ClearLog();
    }

    test::FakeHost host;
    test::TempDir dir;
    CMorvaneApp app;
    std::string textFile;
};

TEST_F(RowLockQuestionTest, WithoutTheLockNothingIsAsked) {
    EXPECT_TRUE(app.Lock().ConfirmUnlockRows());
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(app.Log().Text(), "");
}

TEST_F(RowLockQuestionTest, NoKeepsTheLockTheFileAndTheList) {
    Lock();
    host.yesNoAnswers = {false};
    EXPECT_FALSE(app.Lock().ConfirmUnlockRows());
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text,
              "この操作を遂行するために行ロックを解除する必要があります。\n"
              "行ロックを解除すると現在編集しているテキストファイルでは更新できなくなります。\n\n"
              "行ロックを解除してもいいですか？");
    EXPECT_EQ(host.questions[0].caption, "作業の確認");
    EXPECT_TRUE(app.Lock().RowLocked());
    EXPECT_EQ(app.RoundTrip().TextFilePath(), textFile);
    EXPECT_EQ(test::ReadFileText(textFile), "a.txt\r\n");
    EXPECT_EQ(app.List().RowCount(), 1);
    EXPECT_EQ(app.Log().Text(), "");
}

TEST_F(RowLockQuestionTest, YesAnswersTrue) {
    Lock();
    host.yesNoAnswers = {true};
    EXPECT_TRUE(app.Lock().ConfirmUnlockRows());
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].caption, "作業の確認");
    EXPECT_EQ(app.List().RowCount(), 1);
}

}  // namespace
}  // namespace morvane
