// Rows in a folder whose file system takes names in any case (exFAT, FAT, SMB): duplicates and
// files in the way under case folding, one row per file, and the name tools' preview.

#include <string>
#include <vector>

#include "core/CaseInsensitiveFixture.h"

namespace morvane::test {
namespace {

using CaseInsensitiveFolderTest = CaseInsensitiveFixture;

TEST_F(CaseInsensitiveFolderTest, NamesThatFoldAlikeAreDuplicatesThereAlone) {
    FoldCase();
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"\xC3\x84.txt", "\xC3\xA4.txt"},                          // Ä, ä
        {"\xCE\xA3\xCE\x91\xCE\xA3", "\xCF\x83\xCE\xB1\xCF\x82"},  // ΣΑΣ, σας
        {"\xC7\x85", "\xC7\x86"},                                  // ǅ, ǆ
        {"\377A", "\377a"},                                        // not UTF-8 but for the letter
    };
    int n = 0;
    for (const auto& [first, second] : pairs) {
        for (const char* folder : {"usb/", "plain/"}) {
            const int a = Row(folder + std::to_string(n++));
            const int b = Row(folder + std::to_string(n++));
            SetName(a, first);
            SetName(b, second);
            const bool folds = std::string(folder) == "usb/";
            EXPECT_EQ(Errors(a), folds ? ErrDuplicate : 0u) << folder << first;
            EXPECT_EQ(Errors(b), folds ? ErrDuplicate : 0u) << folder << second;
            EXPECT_EQ(Logged(FormatText(msg::kDuplicate, a + 1, b + 1)), folds) << first;
        }
    }
    // Bytes that are not UTF-8 are compared as they are.
    const int a = Row("usb/x"), b = Row("usb/y");
    SetName(a, "\xFE");
    SetName(b, "\xFF");
    EXPECT_EQ(Errors(a) | Errors(b), 0u);
    EXPECT_TRUE(list.IsConsistent());
}

TEST_F(CaseInsensitiveFolderTest, AFileInTheWayInAnyCaseButTheRowsOwn) {
    for (const bool perSpelling : {false, true}) {
        const std::string usb = perSpelling ? "exfat-fuse" : "vfat";
        SCOPED_TRACE(usb);
        FoldCase(usb, perSpelling);
        dir.MakeFile(usb + "/Taken.txt");
        const int row = Row(usb + "/a.txt");
        SetName(row, "TAKEN.TXT");
        EXPECT_EQ(Errors(row), std::uint32_t{ErrExists});
        EXPECT_TRUE(
            Logged(FormatText(msg::kExists, row + 1, (dir / (usb + "/TAKEN.TXT")).c_str())));
        // A change of case alone finds the row's own file: no error.
        SetName(row, "A.TXT");
        EXPECT_EQ(Errors(row), 0u);
        // The name tools' preview agrees.
        EXPECT_EQ(validation.ProbeName(row, "taken.txt"), std::uint32_t{ErrExists});
        EXPECT_EQ(validation.ProbeName(row, "A.txt"), 0u);

        // A batch of one folder reads the folder from its sixteenth name on, and finds the
        // same.
        std::vector<int> rows;
        std::vector<std::string> names;
        for (int i = 0; i < 20; ++i)
            rows.push_back(Row(usb + "/f" + std::to_string(i)));
        dir.MakeFile(usb + "/g18");
        std::vector<NewName> batch;
        for (int i = 0; i < 20; ++i)
            names.push_back((i == 7 ? "F" : "G") + std::to_string(i));
        for (int i = 0; i < 20; ++i)
            batch.emplace_back(rows[static_cast<std::size_t>(i)],
                               names[static_cast<std::size_t>(i)]);
        validation.SetNewNames(batch, NameSource::Row);
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(Errors(rows[static_cast<std::size_t>(i)]), i == 18 ? ErrExists : 0u) << i;
    }
}

TEST_F(CaseInsensitiveFolderTest, TheSameFileByAnotherSpellingIsRegisteredOnce) {
    FoldCase();
    Row("usb/a.txt");
    EXPECT_FALSE(registrar.registration.RegisterPath(dir / "usb/A.TXT"));
    EXPECT_EQ(list.RowCount(), 1);
    // Elsewhere the other spelling is another file.
    Row("plain/a.txt");
    Row("plain/A.TXT");
    EXPECT_EQ(list.RowCount(), 3);
}

TEST_F(CaseInsensitiveFolderTest, TheNameToolsPreviewFindsDuplicatesUnderFolding) {
    FoldCase();
    const int a = Row("usb/a.txt");
    Row("usb/\xC3\xA4.txt");  // ä.txt
    const int other = Row("usb/other.txt");
    const int plain = Row("plain/a.txt");
    Row("plain/\xC3\xA4.txt");
    SetName(other, "\xC3\x84.TXT");  // Ä.TXT, kept by a row the tools leave alone
    for (const int row : {a, a + 1, plain, plain + 1})
        list.SetSelected(row, true);
    host.nameToolsDialog = [](NameTools& tools) {
        EXPECT_EQ(tools.SetSteps({ReplaceStep{true, "a", "\xC3\x84", false, true, true}}), "");
        const NameTools::Preview usbA = tools.PreviewAt(0), usbB = tools.PreviewAt(1);
        const NameTools::Preview plainA = tools.PreviewAt(2), plainB = tools.PreviewAt(3);
        EXPECT_EQ(usbA.name, "\xC3\x84.txt");
        EXPECT_EQ(usbA.key, usbB.key);  // the preview marks both
        EXPECT_NE(plainA.key, plainB.key);
        EXPECT_EQ(usbA.errors, std::uint32_t{ErrDuplicate});
        EXPECT_EQ(plainA.errors, 0u);
        return false;
    };
    nameTools.OnNameTools();
}

}  // namespace
}  // namespace morvane::test
