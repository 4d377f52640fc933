#pragma once
// What the options dialog edits: seven switches and the editor's command line. A plain value,
// so the dialog needs nothing of the settings record; the caller copies it from and to there.

#include <cstdint>
#include <string>

namespace morvane {

struct Options {
    // As the settings store them: a switch read from the file as 2 stays 2 until OK.
    std::uint8_t registerFolders = 0;
    std::uint8_t registerEverythingBelow = 0;
    std::uint8_t openOnSelection = 0;
    std::uint8_t folderNavigation = 0;
    std::uint8_t useExternalEditor = 0;
    std::uint8_t addToOpenWindow = 0;
    std::string editorPath;  // bytes, as the file system names it: a command line
    std::uint8_t useTerminalEditor = 0;
};

}  // namespace morvane
