// The question before a rename says what the run will do: the files and folders it renames
// and the rows it skips for their errors.

#include <gtest/gtest.h>

#include <string>

#include "core/RenameFixture.h"

namespace morvane {
namespace {

using RenameQuestionTest = test::RenameFixture;

TEST_F(RenameQuestionTest, CountsFilesFoldersAndRowsInErrorThatWantNewNames) {
    dir.MakeFile("a.txt");
    dir.MakeFile("b.txt");
    dir.MakeFile("same.txt");
    dir.MakeFile("blank.txt");
    dir.MakeFile("bad.txt");
    dir.MakeFolder("photos");
    SetName(Register("a.txt"), "a2.txt");
    SetName(Register("b.txt"), "b2.txt");
    Register("same.txt");  // keeps its name: neither renamed nor skipped
    SetName(Register("blank.txt"), "");
    SetName(Register("bad.txt"), "x/y");
    SetName(Register("photos"), "pictures");

    host.yesNoAnswers.push_back(false);
    EXPECT_EQ(renamer.RenameAll().ran, false);
    ASSERT_EQ(host.questions.size(), 1u);
    // The question users know, then the numbers.
    EXPECT_EQ(host.questions[0].text, std::string(msg::kRenameQuestion) +
                                          "ファイル 2 個、フォルダ 1 個をリネームします。"
                                          "エラーのため 2 個を省略します。");
    EXPECT_EQ(host.questions[0].caption, msg::kRenameCaption);
    EXPECT_EQ(list.RowCount(), 6);  // No renames nothing
}

}  // namespace
}  // namespace morvane
