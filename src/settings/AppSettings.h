#pragma once
// The user's settings, read once at start-up and written once at the end.

#include <cstdint>
#include <string>

#include "host/FontDescription.h"
#include "host/Options.h"

namespace morvane {

class FileSystem;
struct FsStatus;

struct AppSettings {
    std::string editorPath;
    std::uint8_t useExternalEditor = 0;
    // The terminal editor ($VISUAL, $EDITOR) in a terminal window, before the command line.
    std::uint8_t useTerminalEditor = 0;
    std::uint8_t registerFolders = 0;
    std::uint8_t registerEverythingBelow = 0;
    std::uint8_t openOnSelection = 0;
    std::uint8_t folderNavigation = 0;
    std::uint8_t useCpuFully = 0;
    // The list's columns in the order the user dragged them to: column indexes separated by
    // commas, left to right; empty for the program's own order.
    std::string columnOrder;
    // A start given paths hands them to the window already open instead of opening its own.
    std::uint8_t addToOpenWindow = 0;
    std::int32_t fontSize = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::int32_t charSet = 0;
    std::int32_t outPrecision = 0;
    std::int32_t clipPrecision = 0;  // never stored in the file
    std::int32_t quality = 0;
    std::string faceName;
};

// The font fields of the settings, and back.
FontDescription FontOf(const AppSettings& settings);
void StoreFont(const FontDescription& font, AppSettings* settings);
// The fields of the options dialog, and back.
Options OptionsOf(const AppSettings& settings);
void StoreOptions(const Options& options, AppSettings* settings);

// Longest string value kept from the file, in UTF-16 units.
constexpr std::size_t kMaxSettingLength = 31999;

// Fills every stored field from the file; a missing file or key gives the default.
void LoadSettings(FileSystem& fs, const std::string& path, AppSettings* settings);
// Writes all 21 keys into the file, keeping what else it holds, creating its folder when
// missing. The failed call when it could not.
FsStatus SaveSettings(FileSystem& fs, const std::string& path, const AppSettings& settings);

// Where config.ini lives: beside the program when that folder already holds one or can be
// written (but never newly inside /usr, where an installed program lives), otherwise under the
// user's XDG configuration folder.
std::string SettingsFilePath(FileSystem& fs, const std::string& programDir,
                             const std::string& configHome);

}  // namespace morvane
