// The words that start the text editor: the user's command line split as a shell would (and
// never run by one), the file where "%f" stands or at the end, and the terminal editor in the
// first terminal found.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "host/Messages.h"
#include "ops/textfile/EditorCommand.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace morvane {
namespace {

using Words = std::vector<std::string>;

// PATH holds only the programs a test makes, and the variables only those it sets.
class EditorCommandTest : public ::testing::Test {
protected:
    EditorCommandTest() {
        const char* path = std::getenv("PATH");
        oldPath_ = path != nullptr ? path : "";
        setenv("PATH", bin_.c_str(), 1);
    }
    ~EditorCommandTest() override { setenv("PATH", oldPath_.c_str(), 1); }

    std::string Program(const std::string& name) {
        const std::string path = dir.MakeFile("bin/" + name, "#!/bin/sh\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    Words Arguments(const std::string& commandLine, bool inTerminal = false) {
        why.clear();
        EditorChoice choice;
        choice.commandLine = commandLine;
        choice.inTerminal = inTerminal;
        return EditorArguments(choice, kFile, RealFileSystem(), &why,
                               [this](const char* name) -> const char* {
                                   const auto found = env.find(name);
                                   return found == env.end() ? nullptr : found->second.c_str();
                               });
    }

    static constexpr const char* kFile = "/tmp/00000000[MORVANE]_20260101000000.txt";
    test::TempDir dir;
    std::string bin_ = dir.MakeFolder("bin");
    std::map<std::string, std::string> env;
    std::string why;

private:
    std::string oldPath_;
};

TEST_F(EditorCommandTest, ACommandLineIsSplitAsAShellWouldAndTakesTheFile) {
    EXPECT_EQ(Arguments("kate -b"), (Words{"kate", "-b", kFile}));
    EXPECT_EQ(Arguments("code --wait %f"), (Words{"code", "--wait", kFile}));
    EXPECT_EQ(Arguments("xterm -e vim"), (Words{"xterm", "-e", "vim", kFile}));
    EXPECT_EQ(Arguments("'/opt/my editor/ed' \"--goto=%f:1\" +1"),
              (Words{"/opt/my editor/ed", std::string("--goto=") + kFile + ":1", "+1"}));
    EXPECT_EQ(Arguments("ed a\\ b"), (Words{"ed", "a b", kFile}));
    EXPECT_TRUE(why.empty());
}

TEST_F(EditorCommandTest, APathKeptFromBeforeCommandLinesStillNamesOneProgram) {
    const std::string spaced = Program("my editor");
    EXPECT_EQ(Arguments(spaced), (Words{spaced, kFile}));
}

TEST_F(EditorCommandTest, NothingIsRunAndWhatCannotBeSplitIsRefusedWithItsReason) {
    for (const char* bad :
         {"kate \"-b", "ed $(touch x)", "ed `touch x`", "ed | tee", "ed > x", ""}) {
        EXPECT_EQ(Arguments(bad), Words{}) << bad;
        EXPECT_EQ(why, FormatText(msg::kEditorCommandUnusable, bad)) << bad;
    }
    EXPECT_EQ(dir.Names(), Words{"bin"});
}

TEST_F(EditorCommandTest, TheTerminalEditorOpensInTheFirstTerminalFound) {
    const std::string xterm = Program("xterm");
    env["EDITOR"] = "emacs -nw";
    EXPECT_EQ(Arguments("ignored", true), (Words{xterm, "-e", "emacs", "-nw", kFile}));
    env["VISUAL"] = "vim";  // VISUAL comes first
    EXPECT_EQ(Arguments("", true), (Words{xterm, "-e", "vim", kFile}));
    // The desktop's own choice comes before any other.
    const std::string desktop = Program("x-terminal-emulator");
    EXPECT_EQ(Arguments("", true), (Words{desktop, "-e", "vim", kFile}));
    const std::string gnome = Program("gnome-terminal");
    ::unlink(desktop.c_str());
    EXPECT_EQ(Arguments("", true), (Words{gnome, "--", "vim", kFile}));
}

TEST_F(EditorCommandTest, WithoutEditorVariablesNanoElseVi) {
    const std::string xterm = Program("xterm");
    EXPECT_EQ(Arguments("", true), (Words{xterm, "-e", "vi", kFile}));
    Program("nano");
    EXPECT_EQ(Arguments("", true), (Words{xterm, "-e", "nano", kFile}));
}

TEST_F(EditorCommandTest, NoTerminalAtAllIsSaidWithTheNamesTried) {
    EXPECT_EQ(Arguments("kate", true), Words{});
    EXPECT_EQ(why, FormatText(msg::kNoTerminal,
                              "x-terminal-emulator, gnome-terminal, konsole, xfce4-terminal, "
                              "mate-terminal, terminator, alacritty, kitty, foot, xterm"));
}

TEST(CommandLineTest, SplitsQuotesAndEscapesLikeAShell) {
    Words words;
    ASSERT_TRUE(SplitCommandLine("a 'b c' \"d e\" f\\ g", &words));
    EXPECT_EQ(words, (Words{"a", "b c", "d e", "f g"}));
    EXPECT_FALSE(SplitCommandLine("a $(b)", &words));
    EXPECT_TRUE(words.empty());
    EXPECT_FALSE(SplitCommandLine("   ", &words));
}

}  // namespace
}  // namespace morvane
