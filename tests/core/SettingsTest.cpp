#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Utf16.h"
#include "settings/AppSettings.h"
#include "support/FaultFileSystem.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

int CountKeys(const std::string& text) {
    int n = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        if (!line.empty() && line[0] != '[' && line[0] != ';' &&
            line.find('=') != std::string::npos) {
            ++n;
        }
        start = end + 1;
    }
    return n;
}

TEST(SettingsTest, AMissingFileGivesTheDefaultsAndIsWrittenWithAllKeys) {
    test::TempDir dir;
    const std::string path = dir / "config.ini";
    AppSettings s;
    s.clipPrecision = 7;
    LoadSettings(RealFileSystem(), path, &s);
    EXPECT_EQ(s.editorPath, "");
    EXPECT_EQ(s.useExternalEditor, 0);
    EXPECT_EQ(s.registerFolders, 1);
    EXPECT_EQ(s.registerEverythingBelow, 0);
    EXPECT_EQ(s.openOnSelection, 1);
    EXPECT_EQ(s.folderNavigation, 1);
    EXPECT_EQ(s.useCpuFully, 0);
    EXPECT_EQ(s.addToOpenWindow, 0);  // separate windows, as the program always opened
    EXPECT_EQ(s.fontSize, 12);
    EXPECT_EQ(s.charSet, 128);
    EXPECT_EQ(s.quality, 1);
    EXPECT_EQ(s.weight, 0);
    EXPECT_EQ(s.faceName, "MS UI Gothic");
    EXPECT_EQ(s.clipPrecision, 7);  // not stored, so loading leaves it alone
    EXPECT_FALSE(test::PathExists(path));

    ASSERT_TRUE(SaveSettings(RealFileSystem(), path, s).Ok());
    const std::string written = test::ReadFileText(path);
    EXPECT_EQ(written, test::FixtureText("config/defaults.ini"));
    EXPECT_EQ(CountKeys(written), 21);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"config.ini"});
}

TEST(SettingsTest, FlagsKeepTheLowByteOfTheNumberRead) {
    test::TempDir dir;
    const std::string path = dir.MakeFile("config.ini",
                                          "[環境設定]\n"
                                          "フォルダを登録対象にする=2\n"
                                          "選択時に開く=256\n"
                                          "階層移動する= 3 apples\n"
                                          "CPUをフル使用=yes\n"
                                          "[フォント]\n"
                                          "Italic=257\n"
                                          "Size=-20\n"
                                          "CharSet=300\n");
    AppSettings s;
    LoadSettings(RealFileSystem(), path, &s);
    EXPECT_EQ(s.registerFolders, 2);  // on
    EXPECT_EQ(s.openOnSelection, 0);  // 256: low byte 0, off
    EXPECT_EQ(s.folderNavigation, 3);
    EXPECT_EQ(s.useCpuFully, 0);  // not a number
    EXPECT_EQ(s.italic, 1);
    EXPECT_EQ(s.fontSize, -20);
    EXPECT_EQ(s.charSet, 300);  // a 32-bit field, cut to a byte only where it is used

    ASSERT_TRUE(SaveSettings(RealFileSystem(), path, s).Ok());
    const std::string written = test::ReadFileText(path);
    EXPECT_NE(written.find("フォルダを登録対象にする=2\n"), std::string::npos);
    EXPECT_NE(written.find("選択時に開く=0\n"), std::string::npos);
    EXPECT_NE(written.find("CPUをフル使用=0\n"), std::string::npos);
    EXPECT_NE(written.find("Italic=1\n"), std::string::npos);
    EXPECT_NE(written.find("Size=-20\n"), std::string::npos);
    EXPECT_NE(written.find("CharSet=300\n"), std::string::npos);
    EXPECT_EQ(CountKeys(written), 21);
}

TEST(SettingsTest, StringsAreCutTo31999Utf16Units) {
    test::TempDir dir;
    const std::string longPath = "/" + std::string(32500, 'e');
    // "あ" is one unit; "😀" two, so a pair that would straddle the limit is left out whole.
    std::string face;
    for (int i = 0; i < 31998; ++i)
        face += "\xE3\x81\x82";
    face += "\xF0\x9F\x98\x80";
    const std::string path =
        dir.MakeFile("config.ini", "[環境設定]\n外部テキストエディタのパス=" + longPath +
                                       "\n[フォント]\nName=" + face + "\n");
    AppSettings s;
    LoadSettings(RealFileSystem(), path, &s);
    EXPECT_EQ(Utf16Length(s.editorPath), 31999u);
    EXPECT_EQ(s.editorPath, longPath.substr(0, 31999));
    EXPECT_EQ(Utf16Length(s.faceName), 31998u);
    EXPECT_EQ(s.faceName, face.substr(0, face.size() - 4));

    // Quotes around a value are taken off, as the profile functions do.
    dir.MakeFile("config.ini", "[環境設定]\n外部テキストエディタのパス=\"/usr/bin/my editor\"  \n");
    LoadSettings(RealFileSystem(), path, &s);
    EXPECT_EQ(s.editorPath, "/usr/bin/my editor");
}

TEST(SettingsTest, WritingKeepsWhatTheProgramDoesNotKnow) {
    test::TempDir dir;
    const std::string path =
        dir.MakeFile("config.ini", test::FixtureText("config/unknown-lines.ini"));
    AppSettings s;
    LoadSettings(RealFileSystem(), path, &s);
    EXPECT_EQ(s.openOnSelection, 0);
    EXPECT_EQ(s.registerFolders, 1);  // missing keys take their defaults
    EXPECT_EQ(s.folderNavigation, 1);
    EXPECT_EQ(s.fontSize, 12);
    EXPECT_EQ(s.faceName, "MS UI Gothic");
    s.useExternalEditor = 1;
    ASSERT_TRUE(SaveSettings(RealFileSystem(), path, s).Ok());
    EXPECT_EQ(test::ReadFileText(path), test::FixtureText("config/unknown-lines-saved.ini"));
}

TEST(SettingsTest, AFailedWriteLeavesTheOldFileAsItWas) {
    test::TempDir dir;
    const std::string old = test::FixtureText("config/user-edited.ini");
    const std::string path = dir.MakeFile("config.ini", old);
    test::FaultFileSystem fs;
    fs.failWrite = [](const std::string&) { return ENOSPC; };
    AppSettings s;
    LoadSettings(fs, path, &s);
    EXPECT_EQ(s.useCpuFully, 1);
    s.useCpuFully = 0;
    const FsStatus full = SaveSettings(fs, path, s);
    EXPECT_EQ(full.op, FsOp::Write);
    EXPECT_EQ(full.error, ENOSPC);
    EXPECT_EQ(test::ReadFileText(path), old);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"config.ini"});

    // A file that exists but cannot be read is not replaced by one holding only our keys.
    fs.failWrite = nullptr;
    fs.failRead = [](const std::string&) { return EACCES; };
    EXPECT_EQ(SaveSettings(fs, path, s).error, EACCES);
    EXPECT_EQ(test::ReadFileText(path), old);
    fs.failRead = nullptr;
    EXPECT_TRUE(SaveSettings(fs, path, s).Ok());
    EXPECT_NE(test::ReadFileText(path).find("; mine\n"), std::string::npos);
}

TEST(SettingsTest, FileLivesBesideTheProgramUnlessItIsInstalled) {
    test::TempDir dir;
    const std::string home = dir / "config";
    EXPECT_EQ(SettingsFilePath(RealFileSystem(), dir.path(), home), dir / "config.ini");
    // An installed program never gets a new file beside it, even when root could write there.
    EXPECT_EQ(SettingsFilePath(RealFileSystem(), "/usr/bin", home), home + "/morvane/config.ini");
    EXPECT_EQ(SettingsFilePath(RealFileSystem(), dir / "missing", home),
              home + "/morvane/config.ini");
    // A file that is already there is used.
    dir.MakeFile("bin/config.ini", "[環境設定]\n");
    EXPECT_EQ(SettingsFilePath(RealFileSystem(), dir / "bin", home), dir / "bin/config.ini");
}

TEST(SettingsTest, AFileBehindALinkIsSavedThereAndTheLinkKept) {
    test::TempDir dir;
    const std::string own = "[Other]\nkeep=this\n";
    const std::string real = dir.MakeFile("dotfiles/config.ini", own);
    const std::string link = dir / "config.ini";
    ASSERT_EQ(symlink("dotfiles/config.ini", link.c_str()), 0);
    AppSettings s;
    s.useCpuFully = 1;
    ASSERT_TRUE(SaveSettings(RealFileSystem(), link, s).Ok());
    std::string target;
    ASSERT_TRUE(RealFileSystem().ReadLink(link, &target).Ok());
    EXPECT_EQ(target, "dotfiles/config.ini");
    const std::string text = test::ReadFileText(real);
    EXPECT_EQ(text.rfind(own, 0), 0u);
    EXPECT_NE(text.find("CPUをフル使用=1\n"), std::string::npos);

    // A link whose file is not there yet gets it.
    ASSERT_EQ(symlink("dotfiles/new.ini", (dir / "fresh.ini").c_str()), 0);
    ASSERT_TRUE(SaveSettings(RealFileSystem(), dir / "fresh.ini", s).Ok());
    EXPECT_EQ(CountKeys(test::ReadFileText(dir / "dotfiles/new.ini")), 21);
}

}  // namespace
}  // namespace morvane
