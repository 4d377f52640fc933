#include "ops/textfile/EditorCommand.h"

#include <cstdlib>

#include "host/Messages.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace morvane {
namespace {

// Puts the file where the words say "%f", or after them when none does.
void PlaceFile(std::vector<std::string>& words, const std::string& file) {
    bool placed = false;
    for (std::size_t w = 1; w < words.size(); ++w) {
        for (std::size_t at = words[w].find("%f"); at != std::string::npos;
             at = words[w].find("%f", at + file.size())) {
            words[w].replace(at, 2, file);
            placed = true;
        }
    }
    if (!placed)
        words.push_back(file);
}

// $VISUAL, then $EDITOR, each possibly with options; else nano, else vi.
std::vector<std::string> TerminalEditor(FileSystem& fs,
                                        const std::function<const char*(const char*)>& env) {
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = env(variable);
        std::vector<std::string> words;
        if (value != nullptr && SplitCommandLine(value, &words))
            return words;
    }
    if (!FindProgram(fs, "nano").empty())
        return {"nano"};
    return {"vi"};
}

}  // namespace

const std::vector<TerminalProgram>& KnownTerminals() {
    // Debian's alternative first: it is the desktop's choice and takes "-e" as xterm does.
    static const std::vector<TerminalProgram> terminals = {
        {"x-terminal-emulator", {"-e"}},
        {"gnome-terminal", {"--"}},
        {"konsole", {"-e"}},
        {"xfce4-terminal", {"-x"}},
        {"mate-terminal", {"-x"}},
        {"terminator", {"-x"}},
        {"alacritty", {"-e"}},
        {"kitty", {}},
        {"foot", {}},
        {"xterm", {"-e"}},
    };
    return terminals;
}

std::vector<std::string> EditorArguments(
    const EditorChoice& choice, const std::string& file, FileSystem& fs, std::string* why,
    const std::function<const char*(const char*)>& environment) {
    const std::function<const char*(const char*)> env =
        environment ? environment : [](const char* name) { return std::getenv(name); };
    if (choice.inTerminal) {
        std::string tried;
        for (const TerminalProgram& terminal : KnownTerminals()) {
            std::string program = FindProgram(fs, terminal.name);
            if (program.empty()) {
                tried += (tried.empty() ? "" : ", ") + std::string(terminal.name);
                continue;
            }
            std::vector<std::string> words{std::move(program)};
            words.insert(words.end(), terminal.beforeCommand.begin(), terminal.beforeCommand.end());
            std::vector<std::string> editor = TerminalEditor(fs, env);
            editor.push_back(file);
            words.insert(words.end(), editor.begin(), editor.end());
            return words;
        }
        *why = FormatText(msg::kNoTerminal, tried.c_str());
        return {};
    }
    std::vector<std::string> words;
    // A path kept from before command lines (one program, spaces and all) still works.
    if (const auto info = fs.FindTarget(choice.commandLine);
        info && info->kind == FileKind::Regular) {
        words = {choice.commandLine};
    } else if (!SplitCommandLine(choice.commandLine, &words)) {
        *why = FormatText(msg::kEditorCommandUnusable, choice.commandLine.c_str());
        return {};
    }
    PlaceFile(words, file);
    return words;
}

}  // namespace morvane
