#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>

#include "core/TestMedia.h"
#include "names/FileFacts.h"
#include "names/NamePipeline.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

struct Case {
    std::string name;
    NameStep step;
    std::string expected;
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        NamePipeline pipeline({c.step});
        ASSERT_EQ(pipeline.error(), "") << c.name;
        EXPECT_EQ(pipeline.Apply(c.name, NameContext{}, nullptr), c.expected) << c.name;
    }
}

ReplaceStep Re(std::string find, std::string to, bool regex, bool sensitive, bool all,
               NamePart part = NamePart::Stem) {
    return ReplaceStep{true, std::move(find), std::move(to), regex, sensitive, all, part};
}

TEST(NameStepsTest, Replace) {
    RunCases({
        {"a.b.txt", Re(".", "_", false, true, true), "a_b.txt"},
        {"cost.txt", Re("cost", "$1", false, true, true), "$1.txt"},
        {"IMG_001.jpg", Re("(\\d+)", "n$1", true, true, true), "IMG_n001.jpg"},
        {"ab-cd.x", Re("(?<x>\\w+)-(\\w+)", "${2}_${x}", true, true, false), "cd_ab.x"},
        {"aAa.AA", Re("a", "o", false, false, true), "ooo.AA"},
        {"aAa.AA", Re("a", "o", false, true, false), "oAa.AA"},
        {"aAa.AA", Re("a", "o", false, false, true, NamePart::Extension), "aAa.oo"},
        {"ÉCOLE école.txt", Re("école", "x", false, false, true), "x x.txt"},
        {"写真の写真", Re("写真", "フォト", false, true, true), "フォトのフォト"},
        {".bashrc", Re("rc", "RC", false, true, true), ".bashRC"},
        {"a.tar.gz", Re("a", "b", false, true, true, NamePart::Whole), "b.tbr.gz"},
    });
}

TEST(NameStepsTest, InvalidExpressionReportsMessageAndOffset) {
    NamePipeline pipeline(
        {Re("ab(c", "", true, true, true), InsertStep{true, "x", 0, Edge::Start}});
    EXPECT_EQ(pipeline.error().rfind("正規表現が正しくありません (位置 4) : ", 0), 0u)
        << pipeline.error();
    EXPECT_NE(pipeline.error().find("missing closing parenthesis"), std::string::npos);
    EXPECT_EQ(pipeline.Apply("name.txt", NameContext{}, nullptr), "name.txt");
}

TEST(NameStepsTest, InsertAndRemoveCountCodePoints) {
    RunCases({
        {"📷photo.JPG", InsertStep{true, "-", 1, Edge::Start}, "📷-photo.JPG"},
        {"写真.jpg", InsertStep{true, "_", 1, Edge::End}, "写_真.jpg"},
        {"ab", InsertStep{true, "x", 9, Edge::Start}, "abx"},
        {"ab", InsertStep{true, "x", 9, Edge::End}, "xab"},
        {"📷photo.JPG", RemoveStep{true, 0, 1, Edge::Start}, "photo.JPG"},
        {"日本語の名前.txt", RemoveStep{true, 1, 2, Edge::End}, "日本語前.txt"},
        {"abc", RemoveStep{true, 2, 9, Edge::Start}, "ab"},
        {".bashrc", RemoveStep{true, 0, 1, Edge::Start}, "bashrc"},
    });
}

TEST(NameStepsTest, NumberingUsesListOrFolderIndex) {
    NamePipeline list({NumberStep{true, 10, 5, 3, false, NumberPlace::Before, "_"}});
    NamePipeline folder({NumberStep{true, 1, 1, 2, true, NumberPlace::After, "-"}});
    NamePipeline instead({NumberStep{true, 1, 1, 4, false, NumberPlace::InsteadOfStem, ""}});
    NameContext c;
    c.listIndex = 2;
    c.folderIndex = 0;
    EXPECT_EQ(list.Apply("写真.jpg", c, nullptr), "020_写真.jpg");
    EXPECT_EQ(folder.Apply("写真.jpg", c, nullptr), "写真-01.jpg");
    EXPECT_EQ(instead.Apply("README", c, nullptr), "0003");
}

TEST(NameStepsTest, CaseFollowsUnicode) {
    RunCases({
        {"straße.txt", CaseStep{true, CaseKind::Upper, NamePart::Stem}, "STRASSE.txt"},
        {"élan vital.TXT", CaseStep{true, CaseKind::Title, NamePart::Stem}, "Élan Vital.TXT"},
        {"ÀB.JPG", CaseStep{true, CaseKind::Lower, NamePart::Whole}, "àb.jpg"},
        {"📷photo.JPG", CaseStep{true, CaseKind::Lower, NamePart::Extension}, "📷photo.jpg"},
    });
}

TEST(NameStepsTest, WidthAndKana) {
    const std::string decomposed = "か\xE3\x82\x99";  // か + U+3099
    RunCases({
        {"ＡＢＣ１２３！　あ.txt", WidthStep{true, WidthKind::AsciiToHalfwidth, NamePart::Whole},
         "ABC123!　あ.txt"},
        {"ab1ｶ.txt", WidthStep{true, WidthKind::AsciiToFullwidth, NamePart::Stem}, "ａｂ１ｶ.txt"},
        {"ｶﾞｲﾄﾞA.txt", WidthStep{true, WidthKind::HalfwidthKatakanaToFull, NamePart::Whole},
         "ガイドA.txt"},
        {"ひらがなカナ", WidthStep{true, WidthKind::HiraganaToKatakana, NamePart::Stem},
         "ヒラガナカナ"},
        {"カタカナ.txt", WidthStep{true, WidthKind::KatakanaToHiragana, NamePart::Stem},
         "かたかな.txt"},
        {decomposed + ".txt", WidthStep{true, WidthKind::Nfc, NamePart::Whole}, "が.txt"},
    });
}

TEST(NameStepsTest, Extension) {
    RunCases({
        {"a.tar.gz", ExtensionStep{true, ExtensionAction::Change, "tgz"}, "a.tar.tgz"},
        {".bashrc", ExtensionStep{true, ExtensionAction::Change, ".bak"}, ".bashrc.bak"},
        {"a.txt", ExtensionStep{true, ExtensionAction::Add, "bak"}, "a.txt.bak"},
        {"a.txt", ExtensionStep{true, ExtensionAction::Remove, ""}, "a"},
        {"README", ExtensionStep{true, ExtensionAction::Remove, ""}, "README"},
        {"写真.JPG", ExtensionStep{true, ExtensionAction::Lower, ""}, "写真.jpg"},
    });
}

class DateStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        unsetenv("TZ");
        tzset();
    }
    test::TempDir dir_;
};

TEST_F(DateStepTest, ExifOriginalOrModificationTimeWithNote) {
    const std::string jpeg = test::MakePhoto(dir_, "photo.jpg", "2024:05:06 07:08:09");
    const std::string plain = dir_.MakeFile("plain.jpg", test::JpegBytes());
    const timespec day[2] = {{86400, 0}, {86400, 0}};  // 1970-01-02 00:00:00 UTC
    ASSERT_EQ(utimensat(AT_FDCWD, plain.c_str(), day, 0), 0);
    NamePipeline pipeline(
        {DateStep{true, DateSource::ExifOriginal, "%Y-%m-%d_%H%M%S", 0, Edge::Start}});
    ASSERT_EQ(pipeline.error(), "");
    const auto named = [&](const std::string& path, NameRemarks* remarks) {
        FileFacts facts(RealFileSystem(), path);
        NameContext c;
        c.facts = &facts;
        c.modified = 86400;  // for a file that is gone
        return pipeline.Apply(std::string(NameOf(path)), c, remarks);
    };
    NameRemarks remarks;
    EXPECT_EQ(named(jpeg, &remarks), "2024-05-06_070809photo.jpg");
    EXPECT_EQ(remarks.note, "");
    EXPECT_EQ(named(plain, &remarks), "1970-01-02_000000plain.jpg");
    EXPECT_EQ(remarks.note, "EXIF の撮影日時がないため更新日時を使いました");
    remarks.note.clear();
    EXPECT_EQ(named(dir_ / "missing.jpg", &remarks), "1970-01-02_000000missing.jpg");
    EXPECT_NE(remarks.note, "");
}

TEST(NameStepsTest, StepsRunInOrderAndDisabledOnesAreSkipped) {
    CaseStep off{false, CaseKind::Upper, NamePart::Whole};
    NamePipeline pipeline({Re("photo", "img", false, false, true), off,
                           NumberStep{true, 1, 1, 3, false, NumberPlace::After, "_"}});
    NameContext c;
    c.listIndex = 41;
    EXPECT_EQ(pipeline.Apply("📷PHOTO.JPG", c, nullptr), "📷img_042.JPG");
}

}  // namespace
}  // namespace morvane
