#pragma once
// What starts the text editor on the text file: the user's command line, or their terminal
// editor ($VISUAL, $EDITOR) inside the desktop's terminal.

#include <functional>
#include <string>
#include <vector>

namespace morvane {

class FileSystem;

struct EditorChoice {
    // The command line of "外部テキストエディタを指定する": a program with its options;
    // "%f" stands for the file, which is added at the end when it has none.
    std::string commandLine;
    // "端末で $EDITOR を使う": the user's terminal editor in a terminal window.
    bool inTerminal = false;
};

// The words to start, the program first; empty when there are none, with the log line that
// says why in *why. `environment` reads a variable (nullptr when unset); programs are looked
// up in PATH through `fs`.
std::vector<std::string> EditorArguments(
    const EditorChoice& choice, const std::string& file, FileSystem& fs, std::string* why,
    const std::function<const char*(const char*)>& environment = nullptr);

// The terminals tried, in order, each with what goes before the command it runs.
struct TerminalProgram {
    const char* name;
    std::vector<std::string> beforeCommand;
};
const std::vector<TerminalProgram>& KnownTerminals();

}  // namespace morvane
