#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <regex>

#include "ProgramFixture.h"
#include "RoundTripFixture.h"
#include "app/AppInternals.h"
#include "app/Command.h"
#include "ops/textfile/TextRoundTrip.h"
#include "platform/Clock.h"

namespace morvane::test {
namespace {

using TextExportTest = RoundTripFixture;

TEST_F(TextExportTest, EmptyListGivesAZeroByteFileAndStillTakesTheLock) {
    roundTrip.ExportAndLock();
    ASSERT_TRUE(rowLock.RowLocked());
    EXPECT_TRUE(PathExists(roundTrip.TextFilePath()));
    EXPECT_EQ(ReadFileText(roundTrip.TextFilePath()), "");
    EXPECT_TRUE(host.rowLockShown);
    EXPECT_TRUE(host.editorButtonChecked);
    EXPECT_EQ(log.Text(), "\n" + FormatText(msg::kLocked, roundTrip.TextFilePath().c_str()));
}

TEST_F(TextExportTest, WritesEveryNewNameAsOneCrLfLineInDisplayOrderToAPrivateFile) {
    AddFile("b.txt");
    AddFile("a.txt");
    AddFile("日本語 名.txt");
    list.SetCell(0, ColNewName, "");           // an empty name is an empty line
    list.EntryAt(1)->errors |= ErrRenameTest;  // excluded rows are written all the same
    const std::string record = dir / "editor-args.txt";
    const std::string editor =
        dir.MakeFile("editor.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + ".part'\nmv '" +
                                      record + ".part' '" + record + "'\n");
    chmod(editor.c_str(), 0755);
    settings.editorPath = editor;

    roundTrip.ExportAndLock();

    ASSERT_TRUE(rowLock.RowLocked());
    EXPECT_TRUE(std::regex_match(
        roundTrip.TextFilePath(),
        std::regex(
            std::regex_replace(places.tempDir, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
            R"(00000000\[MORVANE\]_\d{14}\.txt)")))
        << roundTrip.TextFilePath();
    EXPECT_EQ(ReadFileText(roundTrip.TextFilePath()), "\na.txt\n日本語 名.txt\n");
    struct stat st {};
    ASSERT_EQ(lstat(roundTrip.TextFilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // The time text is the file's own last write, to the second, in UTC.
    EXPECT_EQ(roundTrip.TextFileTime(), FormatUtc(st.st_mtim.tv_sec));

    // The editor gets the path as its one argument.
    std::string args;
    for (int i = 0; i < 1000 && args.empty(); ++i) {
        args = ReadFileText(record);
        if (args.empty())
            usleep(10000);
    }
    EXPECT_EQ(args, roundTrip.TextFilePath() + "\n");
}

TEST_F(TextExportTest, ExportsInOneSecondDifferInTheCounterAndNeverWriteThroughALink) {
    AddFile("a.txt");
    const std::string victim = dir.MakeFile("victim.txt", "keep");
    std::string first, second;
    // Retried in a fresh folder when the two exports happen to straddle a second.
    for (int attempt = 0; attempt < 3; ++attempt) {
        places.tempDir = dir.MakeFolder("tmp" + std::to_string(attempt)) + "/";
        // Links planted under the first names of this second and the next point at a file
        // of ours.
        while (CurrentLocalTime().second >= 58)  // keep the next second within the minute
            usleep(100000);
        const LocalTime now = CurrentLocalTime();
        for (int s = 0; s < 2; ++s) {
            LocalTime t = now;
            t.second += s;
            symlink(victim.c_str(), (places.tempDir + TextFileName(0, t)).c_str());
        }
        roundTrip.ExportAndLock();
        first = roundTrip.TextFilePath().substr(places.tempDir.size());
        roundTrip.ExportAndLock();
        second = roundTrip.TextFilePath().substr(places.tempDir.size());
        if (first.substr(8) == second.substr(8))
            break;
    }
    EXPECT_EQ(first.substr(0, 8), "00000001");
    EXPECT_EQ(second.substr(0, 8), "00000002");
    EXPECT_EQ(first.substr(8), second.substr(8));
    EXPECT_EQ(ReadFileText(victim), "keep");
    EXPECT_EQ(ReadFileText(roundTrip.TextFilePath()), "a.txt\n");
}

TEST_F(TextExportTest, ANameHoldingALineBreakRefusesTheExport) {
    AddFile("a.txt");
    AddFile("b.txt");
    list.SetCell(1, ColNewName, "two\nlines");
    host.editorButtonChecked = true;  // the toolbar click checked it
    roundTrip.OnEditInTextEditor(true);
    EXPECT_FALSE(rowLock.RowLocked());
    EXPECT_TRUE(dir.Names("tmp").empty());
    EXPECT_FALSE(host.editorButtonChecked);
    EXPECT_EQ(log.Text(), "\n" + FormatText(msg::kNewlineInName, 2, "two\nlines"));

    list.SetCell(1, ColNewName, "cr\rinside");
    log.ClearLog();
    roundTrip.ExportAndLock();
    EXPECT_FALSE(rowLock.RowLocked());
    EXPECT_EQ(log.Text(), "\n" + FormatText(msg::kNewlineInName, 2, "cr\rinside"));
}

TEST_F(TextExportTest, AFileThatCannotBeCreatedTakesNoLock) {
    AddFile("a.txt");
    fs.failWrite = [](const std::string&) { return EROFS; };
    host.editorButtonChecked = true;
    roundTrip.OnEditInTextEditor(true);
    EXPECT_FALSE(rowLock.RowLocked());
    EXPECT_FALSE(host.editorButtonChecked);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(TextExportTest, MenuAndToolbarToggleTheLockAndTheMenuTakesItAgainAfresh) {
    AddFile("a.txt");
    AddFile("b.txt");
    roundTrip.OnEditInTextEditor(false);  // menu, button unchecked: lock
    ASSERT_TRUE(rowLock.RowLocked());
    const std::string firstFile = roundTrip.TextFilePath();
    EXPECT_TRUE(host.editorButtonChecked);

    list.Reorder({1, 0});                 // a sort under the lock keeps the "行" numbers
    roundTrip.OnEditInTextEditor(false);  // menu, button checked: release
    EXPECT_FALSE(rowLock.RowLocked());
    EXPECT_FALSE(PathExists(firstFile));
    EXPECT_EQ(roundTrip.TextFilePath(), "");
    EXPECT_FALSE(host.rowLockShown);
    EXPECT_FALSE(host.editorButtonChecked);
    EXPECT_EQ(list.Cell(0, ColRowNumber), "1");  // renumbered in display order
    EXPECT_EQ(list.Cell(1, ColRowNumber), "2");
    EXPECT_EQ(LogLines().back(), FormatText(msg::kUnlocked, firstFile.c_str()));

    list.SetCell(0, ColNewName, "renamed.txt");
    roundTrip.OnEditInTextEditor(false);  // and again: written afresh from the list
    ASSERT_TRUE(rowLock.RowLocked());
    EXPECT_EQ(ReadFileText(roundTrip.TextFilePath()), "renamed.txt\na.txt\n");

    // The toolbar button has toggled itself before its command arrives.
    host.editorButtonChecked = false;
    const std::string secondFile = roundTrip.TextFilePath();
    roundTrip.OnEditInTextEditor(true);
    EXPECT_FALSE(rowLock.RowLocked());
    EXPECT_FALSE(PathExists(secondFile));
    host.editorButtonChecked = true;
    roundTrip.OnEditInTextEditor(true);
    EXPECT_TRUE(rowLock.RowLocked());

    // While a registration runs the command changes nothing; the button shows the lock.
    BusyGuard registering(busy);
    log.ClearLog();
    host.editorButtonChecked = false;
    roundTrip.OnEditInTextEditor(true);
    EXPECT_TRUE(rowLock.RowLocked());
    EXPECT_TRUE(host.editorButtonChecked);
    EXPECT_EQ(log.Text(), std::string("\n") + msg::kBusy);
}

TEST_F(TextExportTest, ReleaseReportsATextFileThatCannotBeDeleted) {
    AddFile("a.txt");
    roundTrip.ExportAndLock();
    const std::string file = roundTrip.TextFilePath();
    ASSERT_EQ(unlink(file.c_str()), 0);  // the user deleted it under the lock
    roundTrip.PollTextFile();            // nothing happens meanwhile
    roundTrip.PollTextFile();
    EXPECT_TRUE(rowLock.RowLocked());
    log.ClearLog();
    roundTrip.UnlockRows();
    EXPECT_FALSE(rowLock.RowLocked());
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{FormatText(msg::kUnlocked, file.c_str()),
                                        FormatText(msg::kTextDeleteFailed, file.c_str())}));
}

// Rows are not tied to a text file no editor shows: the reason is logged, no lock is taken and
// the file is gone again.
TEST_F(TextExportTest, AnEditorThatCannotBeStartedIsReportedAndNoLockIsTaken) {
    AddFile("a.txt");
    settings.editorPath = dir / "no-such-editor";
    roundTrip.ExportAndLock();
    EXPECT_FALSE(rowLock.RowLocked());
    EXPECT_FALSE(host.editorButtonChecked);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              FormatText(msg::kShellFileNotFound, settings.editorPath.c_str()),
                              msg::kEditorNotStarted}));
    EXPECT_EQ(dir.Names("tmp"), std::vector<std::string>{});
}

// What only the whole program does with the text file: the command table's row-lock question,
// shut-down.
using TextExportProgramTest = ProgramFixture;

TEST_F(TextExportProgramTest, NoToTheRowLockQuestionLeavesLockFileAndListAlone) {
    AddFile("a.txt");
    AddFile("b.txt");
    app.List().SelectAll();
    AppInternals::RoundTrip(app).ExportAndLock();
    const std::string file = AppInternals::RoundTrip(app).TextFilePath();
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

TEST_F(TextExportProgramTest, ShutDownReleasesTheLockWithoutAsking) {
    AddFile("a.txt");
    AppInternals::RoundTrip(app).ExportAndLock();
    const std::string file = AppInternals::RoundTrip(app).TextFilePath();
    app.ShutDown();
    EXPECT_TRUE(host.questions.empty());
    EXPECT_FALSE(PathExists(file));
    EXPECT_FALSE(app.Lock().RowLocked());
}

}  // namespace
}  // namespace morvane::test
