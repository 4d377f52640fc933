#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "PrivateDesktop.h"
#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "host/Messages.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

using test::MakeScript;
using test::PrivateDesktop;
using test::ReadFileText;
using test::TempDir;
using test::WaitForLine;

class DesktopTest : public ::testing::Test {
protected:
    TempDir dir_;
    PrivateDesktop desktop_{dir_};
    const std::string& record_ = desktop_.record;
};

TEST_F(DesktopTest, OpensThroughTheAssociationAndMapsFailuresOntoShellCodes) {
    const std::string text = dir_.MakeFile("docs/メモ 1.txt", "hello\n");
    EXPECT_EQ(OpenWithDefaultApplication(RealFileSystem(), text), ShellOutcome::Started);
    EXPECT_EQ(WaitForLine(record_), text + "\n");

    // No handler for binary data or for folders on this desktop.
    const std::string binary = dir_.MakeFile("docs/data.morvane-bin", std::string("\0\1\2\3", 4));
    EXPECT_EQ(OpenWithDefaultApplication(RealFileSystem(), binary), ShellOutcome::NoAssociation);
    EXPECT_EQ(OpenWithDefaultApplication(RealFileSystem(), dir_ / "docs"),
              ShellOutcome::NoAssociation);

    EXPECT_EQ(OpenWithDefaultApplication(RealFileSystem(), dir_ / "docs/missing.txt"),
              ShellOutcome::FileNotFound);
    EXPECT_EQ(OpenWithDefaultApplication(RealFileSystem(), dir_ / "nowhere/missing.txt"),
              ShellOutcome::PathNotFound);
    EXPECT_EQ(OpenWithDefaultApplication(RealFileSystem(), text + "/below"),
              ShellOutcome::PathNotFound);
    // A dangling link names nothing that can be opened.
    symlink((dir_ / "gone.txt").c_str(), (dir_ / "docs/link.txt").c_str());
    EXPECT_EQ(OpenWithDefaultApplication(RealFileSystem(), dir_ / "docs/link.txt"),
              ShellOutcome::FileNotFound);
    if (geteuid() != 0) {
        const std::string secret = dir_.MakeFile("docs/secret.txt", "x\n");
        chmod(secret.c_str(), 0);
        EXPECT_EQ(OpenWithDefaultApplication(RealFileSystem(), secret), ShellOutcome::AccessDenied);
    }
    // Only the one successful open reached the handler.
    EXPECT_EQ(ReadFileText(record_), text + "\n");
}

TEST_F(DesktopTest, ShellOpenLogsTheMessageOfTheFailure) {
    test::FakeHost host;
    CMorvaneApp app(host, RealFileSystem());
    const std::string binary = dir_.MakeFile("data.morvane-bin", std::string("\0\1", 2));
    OpenWithDesktop(RealFileSystem(), app.Log(), binary);
    OpenWithDesktop(RealFileSystem(), app.Log(), dir_ / "missing.txt");
    EXPECT_EQ(app.Log().Text(),
              "\n" + FormatText(msg::kShellNoAssociation, binary.c_str()) + "\n" +
                  FormatText(msg::kShellFileNotFound, (dir_ / "missing.txt").c_str()));

    // A start logs nothing; every failure has its own message.
    app.Log().ClearLog();
    ReportOpenFailure(app.Log(), ShellOutcome::Started, "/x");
    EXPECT_EQ(app.Log().Text(), "");
    ReportOpenFailure(app.Log(), ShellOutcome::OutOfResources, "/x");
    ReportOpenFailure(app.Log(), ShellOutcome::AccessDenied, "/y");
    ReportOpenFailure(app.Log(), ShellOutcome::NoAssociation, "/z");
    ReportOpenFailure(app.Log(), ShellOutcome::BadFormat, "/w");
    ReportOpenFailure(app.Log(), ShellOutcome::PathNotFound, "/v");
    EXPECT_EQ(app.Log().Text(), "\n" + FormatText(msg::kShellNoMemory, "/x") + "\n" +
                                    FormatText(msg::kShellAccessDenied, "/y") + "\n" +
                                    FormatText(msg::kShellNoAssociation, "/z") + "\n" +
                                    FormatText(msg::kShellBadFormat, "/w") + "\n" +
                                    FormatText(msg::kShellPathNotFound, "/v"));
}

TEST_F(DesktopTest, WithoutAConfiguredEditorTheTextFileOpensInTheDesktopsEditor) {
    test::FakeHost host;
    CMorvaneApp app(host, RealFileSystem());
    AppInternals::Places(app).tempDir = dir_.MakeFolder("tmp") + "/";
    app.Settings().useExternalEditor = 0;
    AppInternals::RoundTrip(app).ExportAndLock();
    ASSERT_TRUE(app.Lock().RowLocked());
    EXPECT_EQ(WaitForLine(record_), AppInternals::RoundTrip(app).TextFilePath() + "\n");
    AppInternals::RoundTrip(app).UnlockRows();

    // No program for text on this desktop: the failure is logged, and no lock is taken.
    desktop_.RemoveHandler();
    app.Log().ClearLog();
    AppInternals::RoundTrip(app).ExportAndLock();
    EXPECT_FALSE(app.Lock().RowLocked());
    const std::string& log = app.Log().Text();
    std::string opened = FormatText(msg::kShellNoAssociation, dir_.path().c_str());
    opened.pop_back();  // the text file's path goes on
    EXPECT_EQ(log.rfind("\n" + opened, 0), 0u);
    EXPECT_EQ(log.substr(log.rfind('\n') + 1), msg::kEditorNotStarted);
    EXPECT_EQ(log.find("『行』をロックします"), std::string::npos);
}

bool ProcessExists(const std::string& pid) {
    struct stat st {};
    return stat(("/proc/" + pid).c_str(), &st) == 0;
}

TEST(StartDetachedTest, StartsWithTheArgumentAndLeavesNoZombie) {
    TempDir dir;
    const std::string out = dir / "out.txt";
    const std::string program = MakeScript(dir, "prog.sh",
                                           "printf '%s|%s\\n' \"$$\" \"$1\" > '" + out +
                                               ".part'\nmv '" + out + ".part' '" + out + "'\n");
    EXPECT_EQ(StartDetached(program, {"/tmp/a b [c].txt"}), ShellOutcome::Started);
    const std::string line = WaitForLine(out);
    ASSERT_FALSE(line.empty());
    const std::string pid = line.substr(0, line.find('|'));
    EXPECT_EQ(line.substr(line.find('|') + 1), "/tmp/a b [c].txt\n");
    // Once it has ended it is reaped: its process entry goes away (a zombie would keep it).
    bool gone = false;
    for (int i = 0; i < 1000 && !gone; ++i) {
        gone = !ProcessExists(pid);
        if (!gone)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(gone);

    EXPECT_EQ(StartDetached(dir / "no-such-editor", {"x"}), ShellOutcome::FileNotFound);
    EXPECT_EQ(StartDetached("", {"x"}), ShellOutcome::FileNotFound);
    const std::string plain = dir.MakeFile("plain.txt", "not a program\n");
    chmod(plain.c_str(), 0644);
    if (geteuid() != 0) {
        EXPECT_EQ(StartDetached(plain, {"x"}), ShellOutcome::AccessDenied);
    }
}

}  // namespace
}  // namespace morvane
