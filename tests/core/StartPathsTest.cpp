// What a start does with the paths it is given: list files, files, folders, paths that name
// nothing, and handing them to the window already open.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "app/Command.h"
#include "formats/ListFileWriter.h"
#include "host/Messages.h"
#include "platform/ArgumentPaths.h"
#include "platform/ReadToEnd.h"
#include "support/FakeHost.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

// A host whose desktop session may have a window open already.
class SessionHost : public test::FakeHost {
public:
    bool HandToRunningWindow(const std::vector<std::string>& paths) override {
        handedOver.push_back(paths);
        return runningWindowTakes;
    }
    void AcceptHandedPaths() override { ++accepting; }
    std::vector<std::vector<std::string>> TakeHandedPaths() override {
        return std::exchange(arriving, {});
    }

    bool runningWindowTakes = false;
    std::vector<std::vector<std::string>> handedOver;  // what this start handed on
    int accepting = 0;
    std::vector<std::vector<std::string>> arriving;  // what later starts hand to this one
};

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class StartPathsTest : public ::testing::Test {
protected:
    StartPathsTest() : app(host, RealFileSystem()) {
        env.programDir = dir.MakeFolder("prog");
        env.configHome = dir / "xdg";
        env.tempDir = dir.MakeFolder("tmp");
    }

    // The current names of the rows, top to bottom.
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int row = 0; row < app.List().RowCount(); ++row)
            names.emplace_back(app.List().Cell(row, ColCurrentName));
        return names;
    }
    // A list file of one row: the file `listed` renamed to `newName`.
    std::string MakeListFile(const std::string& relative, const std::string& listed,
                             const std::string& newName) {
        listfile::ListFileWriter writer;
        writer.AddRecord(listed, newName);
        return dir.MakeFile(relative, writer.Finish());
    }

    SessionHost host;
    test::TempDir dir;
    CMorvaneApp app;
    StartupEnvironment env;
};

TEST_F(StartPathsTest, AListFileFilesAFolderAndAMissingPathOnOneStart) {
    const std::string listed = dir.MakeFile("work/listed.txt");
    // A list file is told by its header: this one has no extension, and a text file named
    // like a list file is a file to rename.
    const std::string list = MakeListFile("saved-list", listed, "renamed.txt");
    const std::string fake = dir.MakeFile("work/notes.mvf", "MVF, but only text");
    const std::string photo = dir.MakeFile("work/photo.jpg");
    const std::string scans = dir.MakeFolder("work/scans");
    dir.MakeFile("work/scans/page1.png");
    const std::string missing = dir / "work/missing.jpg";

    ASSERT_EQ(app.StartUp({photo, missing, list, scans, fake}, env),
              CMorvaneApp::StartResult::Running);
    // The list file first, whatever its place, so its rows are not removed by its load.
    ASSERT_EQ(Names(), (std::vector<std::string>{"listed.txt", "photo.jpg", "scans", "notes.mvf"}));
    EXPECT_EQ(app.List().Cell(0, ColNewName), "renamed.txt");
    EXPECT_EQ(app.List().Cell(3, ColRowNumber), "4");
    EXPECT_EQ(AppInternals::ListFiles(app).ListFilePath(), list);

    const std::string log = app.Log().Text();
    EXPECT_EQ(Count(log, FormatText(msg::kNamedPathMissing, missing.c_str())), 1) << log;
    EXPECT_EQ(Count(log, "【エラー】"), 1) << log;
    // One registration run for all of it: the missing path's line is not cleared away.
    EXPECT_EQ(Count(log, msg::kRegisterStart), 1) << log;
    EXPECT_EQ(Count(log, "[END]"), 1) << log;
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_FALSE(AppInternals::Busy(app).Busy());
    app.ShutDown();
}

TEST_F(StartPathsTest, NoPathsLeaveTheListAndTheLogEmpty) {
    ASSERT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
    EXPECT_EQ(app.List().RowCount(), 0);
    EXPECT_EQ(app.Log().Text(), "");
    app.ShutDown();
}

TEST_F(StartPathsTest, NamesThatAreNotUtf8ArriveFromAPipeByteForByte) {
    const std::string odd = dir.MakeFile("in/caf\xe9 \xff.txt");
    const std::string plain = dir.MakeFile("in/line\nbreak.txt");
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const std::string sent = odd + '\0' + plain + '\0';
    ASSERT_EQ(write(ends[1], sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
    close(ends[1]);
    std::string received;
    ASSERT_TRUE(ReadToEnd(ends[0], &received));
    close(ends[0]);

    ASSERT_EQ(app.StartUp(SplitPathList(received, '\0'), env), CMorvaneApp::StartResult::Running);
    ASSERT_EQ(app.List().RowCount(), 2);
    EXPECT_EQ(app.List().EntryAt(0)->currentKey, odd);
    EXPECT_EQ(app.List().EntryAt(1)->currentKey, plain);
    app.ShutDown();
}

TEST_F(StartPathsTest, AddHandsThePathsToTheRunningWindowAndEndsWithoutAWindow) {
    const std::string photo = dir.MakeFile("photo.jpg");
    host.runningWindowTakes = true;
    ASSERT_EQ(app.StartUp({photo}, env, StartWindow::Running),
              CMorvaneApp::StartResult::HandedOver);
    EXPECT_EQ(host.handedOver, (std::vector<std::vector<std::string>>{{photo}}));
    EXPECT_FALSE(host.windowExists);
    EXPECT_EQ(host.accepting, 0);
    EXPECT_EQ(app.List().RowCount(), 0);
    app.ShutDown();
    // This start had no session of its own: it writes no settings.
    EXPECT_FALSE(test::PathExists(dir / "prog/config.ini"));

    // With nothing given, --add still brings the open window forward.
    SessionHost other;
    other.runningWindowTakes = true;
    CMorvaneApp second(other, RealFileSystem());
    EXPECT_TRUE(second.InitInstance({}, env, StartWindow::Running));
    EXPECT_EQ(other.handedOver.size(), 1u);
    EXPECT_FALSE(other.windowExists);
}

TEST_F(StartPathsTest, AddWithNoWindowRunningOpensOneThatListens) {
    const std::string photo = dir.MakeFile("photo.jpg");
    ASSERT_EQ(app.StartUp({photo}, env, StartWindow::Running), CMorvaneApp::StartResult::Running);
    EXPECT_EQ(host.handedOver.size(), 1u);
    EXPECT_TRUE(host.windowExists);
    EXPECT_EQ(host.accepting, 1);
    EXPECT_EQ(Names(), std::vector<std::string>{"photo.jpg"});
    app.ShutDown();
}

TEST_F(StartPathsTest, TheSettingDecidesAPlainStartWithPaths) {
    const std::string photo = dir.MakeFile("photo.jpg");
    host.runningWindowTakes = true;
    // Off, as by default: a window of its own, as the program always did.
    ASSERT_EQ(app.StartUp({photo}, env), CMorvaneApp::StartResult::Running);
    EXPECT_TRUE(host.handedOver.empty());
    EXPECT_EQ(host.accepting, 1);
    app.Settings().addToOpenWindow = 1;
    app.ShutDown();

    // On: the paths go to the window open; without paths (the menu) a window opens.
    SessionHost on;
    on.runningWindowTakes = true;
    CMorvaneApp withPaths(on, RealFileSystem());
    EXPECT_EQ(withPaths.StartUp({photo}, env), CMorvaneApp::StartResult::HandedOver);
    CMorvaneApp fromMenu(on, RealFileSystem());
    EXPECT_EQ(fromMenu.StartUp({}, env), CMorvaneApp::StartResult::Running);
    fromMenu.ShutDown();
    CMorvaneApp newWindow(on, RealFileSystem());
    EXPECT_EQ(newWindow.StartUp({photo}, env, StartWindow::New), CMorvaneApp::StartResult::Running);
    newWindow.ShutDown();
    EXPECT_EQ(on.handedOver, (std::vector<std::vector<std::string>>{{photo}}));
}

TEST_F(StartPathsTest, TheSettingIsChosenInTheOptionsAndKeptInConfigIni) {
    ASSERT_EQ(app.StartUp({}, env), CMorvaneApp::StartResult::Running);
    host.optionsDialog = [](Options& options) {
        EXPECT_EQ(options.addToOpenWindow, 0);
        options.addToOpenWindow = 1;
        return true;
    };
    app.Execute(Command::Options);
    EXPECT_EQ(app.Settings().addToOpenWindow, 1);
    const std::string written = test::ReadFileText(dir / "prog/config.ini");
    EXPECT_NE(written.find("[環境設定]\n"), std::string::npos);
    EXPECT_NE(written.find("\n開いているウィンドウに追加=1\n"), std::string::npos) << written;
    AppSettings loaded;
    LoadSettings(RealFileSystem(), dir / "prog/config.ini", &loaded);
    EXPECT_EQ(loaded.addToOpenWindow, 1);
    app.ShutDown();
}

TEST_F(StartPathsTest, HandedPathsAreOpenedByTheMainLoopAfterTheRowLockQuestion) {
    const std::string first = dir.MakeFile("a.txt");
    const std::string second = dir.MakeFile("b.txt");
    const std::string third = dir.MakeFile("c.txt");
    ASSERT_EQ(app.StartUp({first}, env), CMorvaneApp::StartResult::Running);
    AppInternals::RoundTrip(app).LockRows(
        dir.MakeFile("tmp/00000001[MORVANE]_240101120000.txt", "a.txt\n"));
    ASSERT_TRUE(app.Lock().RowLocked());
    // Locked rows are released only after the user's Yes: No keeps the lock and the rows.
    host.yesNoAnswers = {false, true};
    int turns = 0;
    host.onWaitForEvents = [&] {
        ++turns;
        if (turns == 1)
            host.arriving = {{second}};
        if (turns == 2) {
            EXPECT_EQ(app.List().RowCount(), 1);
            EXPECT_TRUE(app.Lock().RowLocked());
            host.arriving = {{third, dir / "gone.txt"}};
        }
        if (turns == 3)
            app.OnCloseMainWindow();
    };
    app.RunMainLoop();
    EXPECT_EQ(host.questions.size(), 2u);
    EXPECT_FALSE(app.Lock().RowLocked());
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "c.txt"}));
    EXPECT_NE(app.Log().Text().find(FormatText(msg::kNamedPathMissing, (dir / "gone.txt").c_str())),
              std::string::npos);
    app.ShutDown();
}

}  // namespace
}  // namespace morvane
