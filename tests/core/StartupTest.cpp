#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "core/TestRows.h"
#include "host/Messages.h"
#include "support/FakeHost.h"
#include "support/FaultFileSystem.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

int CountKeyLines(const std::string& text) {
    int n = 0;
    for (std::size_t at = text.find('='); at != std::string::npos; at = text.find('=', at + 1))
        ++n;
    return n;
}

class StartupTest : public ::testing::Test {
protected:
    StartupTest() : app(host, RealFileSystem()) {
        env.programDir = dir.MakeFolder("prog");
        env.configHome = dir / "xdg";
        env.tempDir = dir.MakeFolder("tmp");  // given without its trailing "/"
    }

    test::FakeHost host;
    test::TempDir dir;
    CMorvaneApp app;
    StartupEnvironment env;
};

TEST_F(StartupTest, AWritableProgramFolderKeepsTheSettingsBesideTheProgram) {
    ASSERT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
    EXPECT_EQ(AppInternals::Places(app).programDir, dir / "prog");
    EXPECT_EQ(AppInternals::Places(app).programPrefix, "/usr");
    EXPECT_EQ(AppInternals::Places(app).configPrefix, "/etc");
    EXPECT_EQ(AppInternals::Places(app).tempDir, dir / "tmp/");
    EXPECT_EQ(AppInternals::SettingsPath(app), dir / "prog/config.ini");
    EXPECT_TRUE(host.windowExists);
    EXPECT_FALSE(app.QuitRequested());
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(app.Settings().registerFolders, 1);  // defaults, the file being absent
    EXPECT_EQ(app.Settings().faceName, "MS UI Gothic");

    app.ShutDown();
    EXPECT_FALSE(host.windowExists);
    EXPECT_EQ(CountKeyLines(test::ReadFileText(dir / "prog/config.ini")), 21);
    EXPECT_FALSE(test::PathExists(dir / "xdg"));
}

TEST_F(StartupTest, AMissingProgramFolderPutsTheSettingsUnderTheConfigHome) {
    env.programDir = dir / "missing";
    ASSERT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
    EXPECT_EQ(AppInternals::SettingsPath(app), dir / "xdg/morvane/config.ini");
    app.ShutDown();
    // Both folders are made on the way.
    EXPECT_EQ(CountKeyLines(test::ReadFileText(dir / "xdg/morvane/config.ini")), 21);
    EXPECT_FALSE(test::PathExists(dir / "missing"));
}

TEST_F(StartupTest, AnUnwritableProgramFolderPutsTheSettingsUnderTheConfigHome) {
    if (geteuid() == 0) {
        // Root may write anywhere; an installed program's folder is refused all the same.
        env.programDir = "/usr/bin";
        ASSERT_FALSE(test::PathExists("/usr/bin/config.ini"));
    } else {
        ASSERT_EQ(chmod(env.programDir->c_str(), 0555), 0);
    }
    ASSERT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
    EXPECT_EQ(AppInternals::SettingsPath(app), dir / "xdg/morvane/config.ini");
    app.ShutDown();
    EXPECT_TRUE(test::PathExists(dir / "xdg/morvane/config.ini"));
}

TEST_F(StartupTest, SettingsThatCannotBeSavedAreReportedAtShutDown) {
    test::FaultFileSystem fs;
    fs.failMakeFolder = [](const std::string&) { return EACCES; };
    const std::string path = dir / "xdg/morvane/config.ini";
    const FsStatus saved = SaveSettings(fs, path, AppSettings{});
    EXPECT_EQ(saved.op, FsOp::MakeFolder);
    EXPECT_EQ(saved.error, EACCES);
    EXPECT_FALSE(test::PathExists(dir / "xdg"));

    CMorvaneApp faulty(host, fs);
    env.settingsPath = path;
    ASSERT_EQ(faulty.StartUp({}, env), CMorvaneApp::StartResult::Running);
    testing::internal::CaptureStderr();
    faulty.ShutDown();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              FormatText(msg::kSettingsNotSaved, path.c_str(), std::strerror(EACCES)) + "\n");
}

TEST_F(StartupTest, ChosenOptionsAndFontAreWrittenAtOnceAndACancelWritesNothing) {
    ASSERT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
    const std::string path = dir / "prog/config.ini";
    host.optionsDialog = [](Options& s) {
        s.registerFolders = 0;
        return true;
    };
    app.Execute(Command::Options);
    AppSettings stored;
    LoadSettings(RealFileSystem(), path, &stored);
    EXPECT_EQ(stored.registerFolders, 0);

    host.fontDialog = [](FontDescription& font) {
        font.size = 17;
        return true;
    };
    app.Execute(Command::ChooseFont);
    LoadSettings(RealFileSystem(), path, &stored);
    EXPECT_EQ(stored.fontSize, 17);

    // A change not yet chosen in a dialog stays unwritten when the dialog is cancelled.
    const std::string before = test::ReadFileText(path);
    app.Settings().registerFolders = 1;
    host.optionsDialog = [](Options&) { return false; };
    host.fontDialog = [](FontDescription&) { return false; };
    app.Execute(Command::Options);
    app.Execute(Command::ChooseFont);
    EXPECT_EQ(test::ReadFileText(path), before);
    EXPECT_EQ(app.Log().Text(), "");
}

TEST_F(StartupTest, ChosenOptionsThatCannotBeSavedAreReportedInTheLog) {
    test::FaultFileSystem fs;
    fs.failMakeFolder = [](const std::string&) { return EACCES; };
    CMorvaneApp faulty(host, fs);
    env.settingsPath = dir / "xdg/morvane/config.ini";
    ASSERT_EQ(faulty.StartUp({}, env), CMorvaneApp::StartResult::Running);
    host.optionsDialog = [](Options&) { return true; };
    faulty.Execute(Command::Options);
    EXPECT_EQ(
        faulty.Log().Text(),
        "\n" + FormatText(msg::kSettingsNotSaved, env.settingsPath.c_str(), std::strerror(EACCES)));
}

TEST_F(StartupTest, ADirectoryFailureIsShownAndNoSettingsAreWritten) {
    const std::string stored = test::FixtureText("config/user-edited.ini");
    env.settingsPath = dir.MakeFile("stored/config.ini", stored);

    env.programDir = "";
    EXPECT_TRUE(app.InitInstance({}, env));
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0].text, "実行ディレクトリを取得できませんでした。");
    EXPECT_EQ(host.warnings[0].caption, "実行エラー");
    EXPECT_FALSE(host.windowExists);
    EXPECT_EQ(app.Settings().registerFolders, 0);  // never loaded

    env.programDir = dir / "prog";
    env.tempDir = "";
    EXPECT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Stopped);
    ASSERT_EQ(host.warnings.size(), 2u);
    EXPECT_EQ(host.warnings[1].text, "一時ディレクトリを取得できませんでした。");
    EXPECT_EQ(host.warnings[1].caption, "実行エラー");
    app.ShutDown();  // even so, the empty record must not overwrite the stored one
    EXPECT_EQ(test::ReadFileText(env.settingsPath), stored);
    EXPECT_FALSE(test::PathExists(dir / "prog/config.ini"));
}

TEST_F(StartupTest, NoMainWindowEndsWithFalseAndWritesNothing) {
    host.windowCreatable = false;
    EXPECT_FALSE(app.InitInstance({}, env));
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_FALSE(test::PathExists(dir / "prog/config.ini"));
}

TEST_F(StartupTest, InitInstanceRunsUntilTheWindowIsClosed) {
    dir.MakeFile("prog/config.ini", test::FixtureText("config/user-edited.ini"));
    int waits = 0;
    host.onWaitForEvents = [&] {
        EXPECT_TRUE(host.windowExists);
        if (++waits == 3)
            app.OnCloseMainWindow();
    };
    EXPECT_TRUE(app.InitInstance({}, env));
    EXPECT_EQ(waits, 3);
    EXPECT_FALSE(host.windowExists);
    const std::string written = test::ReadFileText(dir / "prog/config.ini");
    EXPECT_EQ(CountKeyLines(written), 22);  // our 21 and the user's own
    EXPECT_NE(written.find("CPUをフル使用=1\n"), std::string::npos);
    EXPECT_NE(written.find("[Mine]\na=b\n"), std::string::npos);
}

TEST_F(StartupTest, ShutDownFreesEveryRowThenWritesTheSettings) {
    ASSERT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
    for (const char* name : {"a", "b", "c"})
        test::AppendFileRow(app.List(), dir.MakeFile(name));
    app.Settings().fontSize = 20;  // as the font command leaves it
    app.ShutDown();
    EXPECT_EQ(app.List().RowCount(), 0);
    EXPECT_EQ(app.List().CurrentPathIndex().CountEntries(), 0u);
    EXPECT_EQ(app.List().NewPathIndex().CountEntries(), 0u);
    EXPECT_FALSE(host.windowExists);
    EXPECT_NE(test::ReadFileText(dir / "prog/config.ini").find("Size=20\n"), std::string::npos);
    EXPECT_TRUE(test::PathExists(dir / "a"));
}

TEST_F(StartupTest, ClosingTheMainWindowOnlyAsksToQuit) {
    ASSERT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
    BusyGuard busy(AppInternals::Busy(app));
    app.OnCloseMainWindow();
    EXPECT_FALSE(AppInternals::Busy(app).Busy());
    EXPECT_TRUE(app.QuitRequested());
    EXPECT_TRUE(host.windowExists);
    EXPECT_EQ(app.Log().Text(), "");
    EXPECT_FALSE(test::PathExists(dir / "prog/config.ini"));

    CMorvaneApp other(host, RealFileSystem());
    BusyGuard otherBusy(AppInternals::Busy(other));
    other.Execute(Command::Exit);
    EXPECT_TRUE(other.QuitRequested());
    EXPECT_FALSE(AppInternals::Busy(other).Busy());
}

TEST_F(StartupTest, ClosingTheProgressDialogAbortsOnlyARunningRegistration) {
    app.OnCloseProgressDialog();
    EXPECT_EQ(app.Log().Text(), "");
    BusyGuard busy(AppInternals::Busy(app));
    app.OnCloseProgressDialog();
    EXPECT_FALSE(AppInternals::Busy(app).Busy());
    EXPECT_EQ(app.Log().Text(), "\n【エラー】登録操作を中断します。");
    app.OnCloseProgressDialog();
    EXPECT_EQ(app.Log().Text(), "\n【エラー】登録操作を中断します。");
}

}  // namespace
}  // namespace morvane
