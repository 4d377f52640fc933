#pragma once
// The program's command line: `morvane [OPTION]... [PATH]...`. Read before any window
// exists, so --help, --version and a mistyped option need no display.

#include <functional>
#include <string>
#include <vector>

#include "app/CMorvaneApp.h"

namespace morvane {

struct CommandLine {
    enum class Action { Start, Help, Version, Error };
    Action action = Action::Start;
    // What to print: to the standard output for Help and Version, to the standard error
    // for Error.
    std::string output;
    // Full paths in the bytes the file system uses, in the order given; "-" replaced by the
    // paths read from the standard input.
    std::vector<std::string> paths;
    StartWindow window = StartWindow::AsSet;
};

// The exit status of a command line that is wrong.
inline constexpr int kCommandLineErrorStatus = 2;

// `arguments` are the raw arguments after the program's name. Relative paths are taken
// from `workingDirectory`. `readInput` reads the standard input whole; it is called only
// for "-". `english` chooses the language of the texts to print.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& workingDirectory, bool english,
                             const std::function<bool(std::string*)>& readInput);

// Whether the locale asks for English messages (LC_ALL, LC_MESSAGES, LANG, the first one set).
// The window is Japanese whatever the locale; only the terminal's texts follow it.
bool EnglishMessages();

}  // namespace morvane
