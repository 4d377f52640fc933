#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <regex>

#include "RoundTripFixture.h"
#include "app/Command.h"
#include "ops/textfile/TextRoundTrip.h"
#include "platform/Clock.h"

namespace morvane::test {
namespace {

using TextExportTest = RoundTripFixture;

TEST_F(TextExportTest, EmptyListGivesAZeroByteFileAndStillTakesTheLock) {
    app.RoundTrip().ExportAndLock();
    ASSERT_TRUE(app.Lock().RowLocked());
    EXPECT_TRUE(PathExists(app.RoundTrip().TextFilePath()));
    EXPECT_EQ(ReadFileText(app.RoundTrip().TextFilePath()), "");
    EXPECT_TRUE(host.rowLockShown);
    EXPECT_TRUE(host.editorButtonChecked);
    EXPECT_EQ(app.Log().Text(),
              "\n" + FormatText(msg::kLocked, app.RoundTrip().TextFilePath().c_str()));
}

TEST_F(TextExportTest, WritesEveryNewNameAsOneCrLfLineInDisplayOrderToAPrivateFile) {
    AddFile("b.txt");
    AddFile("a.txt");
    AddFile("日本語 名.txt");
    app.List().SetCell(0, ColNewName, "");           // an empty name is an empty line
    app.List().EntryAt(1)->errors |= ErrRenameTest;  // excluded rows are written all the same
    const std::string record = dir / "editor-args.txt";
    const std::string editor =
        dir.MakeFile("editor.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + ".part'\nmv '" +
                                      record + ".part' '" + record + "'\n");
    chmod(editor.c_str(), 0755);
    app.Settings().editorPath = editor;

    app.RoundTrip().ExportAndLock();

    ASSERT_TRUE(app.Lock().RowLocked());
    EXPECT_TRUE(std::regex_match(
        app.RoundTrip().TextFilePath(),
        std::regex(std::regex_replace(app.Places().tempDir, std::regex(R"([.^$|()\[\]{}*+?\\])"),
                                      R"(\$&)") +
                   R"(00000000\[MORVANE\]_\d{14}\.txt)")))
        << app.RoundTrip().TextFilePath();
    EXPECT_EQ(ReadFileText(app.RoundTrip().TextFilePath()), "\na.txt\n日本語 名.txt\n");
    struct stat st {};
    ASSERT_EQ(lstat(app.RoundTrip().TextFilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // The time text is the file's own last write, to the second, in UTC.
    EXPECT_EQ(app.RoundTrip().TextFileTime(), FormatUtc(st.st_mtim.tv_sec));

    // The editor gets the path as its one argument.
    std::string args;
    for (int i = 0; i < 1000 && args.empty(); ++i) {
        args = ReadFileText(record);
        if (args.empty())
            usleep(10000);
    }
    EXPECT_EQ(args, app.RoundTrip().TextFilePath() + "\n");
}

TEST_F(TextExportTest, ExportsInOneSecondDifferInTheCounterAndNeverWriteThroughALink) {
    AddFile("a.txt");
    const std::string victim = dir.MakeFile("victim.txt", "keep");
    std::string first, second;
    // Retried in a fresh folder when the two exports happen to straddle a second.
    for (int attempt = 0; attempt < 3; ++attempt) {
        app.Places().tempDir = dir.MakeFolder("tmp" + std::to_string(attempt)) + "/";
        // Links planted under the first names of this second and the next point at a file
        // of ours.
        while (CurrentLocalTime().second >= 58)  // keep the next second within the minute
            usleep(100000);
        const LocalTime now = CurrentLocalTime();
        for (int s = 0; s < 2; ++s) {
            LocalTime t = now;
            t.second += s;
            symlink(victim.c_str(), (app.Places().tempDir + TextFileName(0, t)).c_str());
        }
        app.RoundTrip().ExportAndLock();
        first = app.RoundTrip().TextFilePath().substr(app.Places().tempDir.size());
        app.RoundTrip().ExportAndLock();
        second = app.RoundTrip().TextFilePath().substr(app.Places().tempDir.size());
        if (first.substr(8) == second.substr(8))
            break;
    }
    EXPECT_EQ(first.substr(0, 8), "00000001");
    EXPECT_EQ(second.substr(0, 8), "00000002");
    EXPECT_EQ(first.substr(8), second.substr(8));
    EXPECT_EQ(ReadFileText(victim), "keep");
    EXPECT_EQ(ReadFileText(app.RoundTrip().TextFilePath()), "a.txt\n");
}

TEST_F(TextExportTest, ANameHoldingALineBreakRefusesTheExport) {
    AddFile("a.txt");
    AddFile("b.txt");
    app.List().SetCell(1, ColNewName, "two\nlines");
    host.editorButtonChecked = true;  // the toolbar click checked it
    app.Execute(Command::EditorButton);
    EXPECT_FALSE(app.Lock().RowLocked());
    EXPECT_TRUE(dir.Names("tmp").empty());
    EXPECT_FALSE(host.editorButtonChecked);
    EXPECT_EQ(app.Log().Text(), "\n" + FormatText(msg::kNewlineInName, 2, "two\nlines"));

    app.List().SetCell(1, ColNewName, "cr\rinside");
    app.Log().ClearLog();
    app.RoundTrip().ExportAndLock();
    EXPECT_FALSE(app.Lock().RowLocked());
    EXPECT_EQ(app.Log().Text(), "\n" + FormatText(msg::kNewlineInName, 2, "cr\rinside"));
}

TEST_F(TextExportTest, AFileThatCannotBeCreatedTakesNoLock) {
    AddFile("a.txt");
    fs.failWrite = [](const std::string&) { return EROFS; };
    host.editorButtonChecked = true;
    app.Execute(Command::EditorButton);
    EXPECT_FALSE(app.Lock().RowLocked());
    EXPECT_FALSE(host.editorButtonChecked);
    EXPECT_EQ(app.Log().Text(), "");
}

TEST_F(TextExportTest, MenuAndToolbarToggleTheLockAndTheMenuTakesItAgainAfresh) {
    AddFile("a.txt");
    AddFile("b.txt");
    app.Execute(Command::EditInTextEditor);  // menu, button unchecked: lock
    ASSERT_TRUE(app.Lock().RowLocked());
    const std::string firstFile = app.RoundTrip().TextFilePath();
    EXPECT_TRUE(host.editorButtonChecked);

    app.List().Reorder({1, 0});              // a sort under the lock keeps the "行" numbers
    app.Execute(Command::EditInTextEditor);  // menu, button checked: release
    EXPECT_FALSE(app.Lock().RowLocked());
    EXPECT_FALSE(PathExists(firstFile));
    EXPECT_EQ(app.RoundTrip().TextFilePath(), "");
    EXPECT_FALSE(host.rowLockShown);
    EXPECT_FALSE(host.editorButtonChecked);
    EXPECT_EQ(app.List().Cell(0, ColRowNumber), "1");  // renumbered in display order
    EXPECT_EQ(app.List().Cell(1, ColRowNumber), "2");
    EXPECT_EQ(LogLines().back(), FormatText(msg::kUnlocked, firstFile.c_str()));

    app.List().SetCell(0, ColNewName, "renamed.txt");
    app.Execute(Command::EditInTextEditor);  // and again: written afresh from the list
    ASSERT_TRUE(app.Lock().RowLocked());
    EXPECT_EQ(ReadFileText(app.RoundTrip().TextFilePath()), "renamed.txt\na.txt\n");

    // The toolbar button has toggled itself before its command arrives.
    host.editorButtonChecked = false;
    const std::string secondFile = app.RoundTrip().TextFilePath();
    app.Execute(Command::EditorButton);
    EXPECT_FALSE(app.Lock().RowLocked());
    EXPECT_FALSE(PathExists(secondFile));
    host.editorButtonChecked = true;
    app.Execute(Command::EditorButton);
    EXPECT_TRUE(app.Lock().RowLocked());

    // While a registration runs the command changes nothing; the button shows the lock.
    BusyGuard busy(app.Busy());
    app.Log().ClearLog();
    host.editorButtonChecked = false;
    app.Execute(Command::EditorButton);
    EXPECT_TRUE(app.Lock().RowLocked());
    EXPECT_TRUE(host.editorButtonChecked);
    EXPECT_EQ(app.Log().Text(), std::string("\n") + msg::kBusy);
}

TEST_F(TextExportTest, NoToTheRowLockQuestionLeavesLockFileAndListAlone) {
    AddFile("a.txt");
    AddFile("b.txt");
    app.List().SelectAll();
    app.RoundTrip().ExportAndLock();
    const std::string file = app.RoundTrip().TextFilePath();
    const std::string logBefore = app.Log().Text();
    // Every road that replaces or adds rows would tie the lines to other files.
    host.listFilesToLoad = {dir / "other.mvf"};
    host.foldersToRegister = {dir.path()};
    for (Command command : {Command::ClearAll, Command::RemoveSelected, Command::LoadListFile,
                            Command::RegisterFolder, Command::RegisterFiles}) {
        host.yesNoAnswers = {false};
        app.Execute(command);
    }
    EXPECT_EQ(host.questions.size(), 5u);
    EXPECT_EQ(host.listFilesToLoad.size(), 1u);  // no dialog was shown
    EXPECT_EQ(host.foldersToRegister.size(), 1u);
    EXPECT_EQ(host.questions.front().text, msg::kUnlockQuestion);
    EXPECT_TRUE(app.Lock().RowLocked());
    EXPECT_TRUE(PathExists(file));
    EXPECT_EQ(app.List().RowCount(), 2);
    EXPECT_EQ(app.Log().Text(), logBefore);

    host.yesNoAnswers = {true};
    app.Execute(Command::RegisterFolder);
    EXPECT_FALSE(app.Lock().RowLocked());
    EXPECT_FALSE(PathExists(file));
    host.yesNoAnswers = {true};
    app.Execute(Command::ClearAll);
    EXPECT_EQ(app.List().RowCount(), 0);
}

TEST_F(TextExportTest, ReleaseReportsATextFileThatCannotBeDeleted) {
    AddFile("a.txt");
    app.RoundTrip().ExportAndLock();
    const std::string file = app.RoundTrip().TextFilePath();
    ASSERT_EQ(unlink(file.c_str()), 0);  // the user deleted it under the lock
    app.RoundTrip().PollTextFile();      // nothing happens meanwhile
    app.RoundTrip().PollTextFile();
    EXPECT_TRUE(app.Lock().RowLocked());
    app.Log().ClearLog();
    app.RoundTrip().UnlockRows();
    EXPECT_FALSE(app.Lock().RowLocked());
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{FormatText(msg::kUnlocked, file.c_str()),
                                        FormatText(msg::kTextDeleteFailed, file.c_str())}));
}

TEST_F(TextExportTest, AnEditorThatCannotBeStartedIsReportedAndTheLockHolds) {
    AddFile("a.txt");
    app.Settings().editorPath = dir / "no-such-editor";
    app.RoundTrip().ExportAndLock();
    EXPECT_TRUE(app.Lock().RowLocked());
    EXPECT_TRUE(host.editorButtonChecked);
    EXPECT_EQ(LogLines().back(),
              FormatText(msg::kShellFileNotFound, app.Settings().editorPath.c_str()));
}

TEST_F(TextExportTest, ShutDownReleasesTheLockWithoutAsking) {
    AddFile("a.txt");
    app.RoundTrip().ExportAndLock();
    const std::string file = app.RoundTrip().TextFilePath();
    app.ShutDown();
    EXPECT_TRUE(host.questions.empty());
    EXPECT_FALSE(PathExists(file));
    EXPECT_FALSE(app.Lock().RowLocked());
}

}  // namespace
}  // namespace morvane::test
