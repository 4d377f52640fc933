// The whole road: the names go to a text file, a scripted editor saves its changes, the main
// loop brings them into the list, and the rename carries them out on disk.

#include <chrono>
#include <thread>

#include "PrivateDesktop.h"
#include "ProgramFixture.h"
#include "app/AppInternals.h"
#include "app/Command.h"

namespace morvane::test {
namespace {

// The main loop and shut-down are the program's own.
using EditorRoundTripTest = ProgramFixture;

TEST_F(EditorRoundTripTest, TheListFollowsTheEditorsSaveAndTheRenameCarriesItOut) {
    dir.MakeFile("files/a.txt", "content of a");
    dir.MakeFile("files/b.txt", "content of b");
    dir.MakeFile("files/c.txt", "content of c");
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        ASSERT_TRUE(AppInternals::Registrar(app).RegisterPath(dir / "files/" + name));
    // The user swaps a and b and gives c a new name, then saves; the editor writes a new
    // file and renames it over the old one, as many editors do.
    app.Settings().editorPath = MakeScript(
        dir, "editor.sh",
        "sleep 0.2\n"
        "sed -e 's/^a\\.txt/TMP/' -e 's/^b\\.txt/a.txt/' -e 's/^TMP/b.txt/' "
        "-e 's/^c\\.txt/c renamed.txt/' \"$1\" > \"$1.part\" && mv \"$1.part\" \"$1\"\n");

    app.Execute(Command::EditInTextEditor);
    ASSERT_TRUE(app.Lock().RowLocked());
    const std::string textFile = AppInternals::RoundTrip(app).TextFilePath();

    // The main loop runs until the list shows the edit (or a generous deadline passes).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int waits = 0;
    host.onWaitForEvents = [&] {
        ++waits;
        if (app.List().Cell(2, ColNewName) == "c renamed.txt" ||
            std::chrono::steady_clock::now() > deadline) {
            app.OnCloseMainWindow();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(32));
    };
    app.RunMainLoop();
    EXPECT_EQ(NewNames(), (std::vector<std::string>{"b.txt", "a.txt", "c renamed.txt"}));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Errors(row), 0u) << row;
    EXPECT_GT(waits, 1);
    EXPECT_EQ(LogLines().back().find("【更新】テキストファイルの更新処理を終了します"), 0u);
    EXPECT_TRUE(app.Lock().RowLocked());

    host.yesNoAnswers = {true};
    app.Execute(Command::Rename);
    EXPECT_EQ(dir.Names("files"), (std::vector<std::string>{"a.txt", "b.txt", "c renamed.txt"}));
    EXPECT_EQ(ReadFileText(dir / "files/a.txt"), "content of b");
    EXPECT_EQ(ReadFileText(dir / "files/b.txt"), "content of a");
    EXPECT_EQ(ReadFileText(dir / "files/c renamed.txt"), "content of c");

    app.ShutDown();
    EXPECT_FALSE(PathExists(textFile));
}

}  // namespace
}  // namespace morvane::test
