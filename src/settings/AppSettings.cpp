#include "settings/AppSettings.h"

#include <variant>

#include "formats/IniFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Utf16.h"

namespace morvane {
namespace {

// Far beyond any settings file; a link to a device or a huge file is not read.
constexpr std::uint64_t kMaxSettingsFileBytes = 64 << 20;

constexpr const char* kSectionSettings = "環境設定";
constexpr const char* kSectionFont = "フォント";

// One row per stored key, in the order they are read and written.
struct SettingKey {
    const char* section;
    const char* key;
    std::variant<std::string AppSettings::*, std::uint8_t AppSettings::*,
                 std::int32_t AppSettings::*>
        field;
    int defaultNumber;
    const char* defaultText;
};

const SettingKey kKeys[] = {
    {kSectionSettings, "外部テキストエディタを指定", &AppSettings::useExternalEditor, 0, nullptr},
    {kSectionSettings, "外部テキストエディタのパス", &AppSettings::editorPath, 0, ""},
    {kSectionSettings, "端末でEDITORを使う", &AppSettings::useTerminalEditor, 0, nullptr},
    {kSectionSettings, "フォルダを登録対象にする", &AppSettings::registerFolders, 1, nullptr},
    {kSectionSettings, "下層のファイルをすべて登録", &AppSettings::registerEverythingBelow, 0,
     nullptr},
    {kSectionSettings, "選択時に開く", &AppSettings::openOnSelection, 1, nullptr},
    {kSectionSettings, "階層移動する", &AppSettings::folderNavigation, 1, nullptr},
    {kSectionSettings, "CPUをフル使用", &AppSettings::useCpuFully, 0, nullptr},
    {kSectionSettings, "列の並び", &AppSettings::columnOrder, 0, ""},
    {kSectionSettings, "開いているウィンドウに追加", &AppSettings::addToOpenWindow, 0, nullptr},
    {kSectionFont, "Size", &AppSettings::fontSize, 12, nullptr},
    {kSectionFont, "Escapement", &AppSettings::escapement, 0, nullptr},
    {kSectionFont, "Orientation", &AppSettings::orientation, 0, nullptr},
    {kSectionFont, "Weight", &AppSettings::weight, 0, nullptr},
    {kSectionFont, "Italic", &AppSettings::italic, 0, nullptr},
    {kSectionFont, "Underline", &AppSettings::underline, 0, nullptr},
    {kSectionFont, "StrikeOut", &AppSettings::strikeOut, 0, nullptr},
    {kSectionFont, "CharSet", &AppSettings::charSet, 128, nullptr},
    {kSectionFont, "OutPrecision", &AppSettings::outPrecision, 0, nullptr},
    {kSectionFont, "Quality", &AppSettings::quality, 1, nullptr},
    {kSectionFont, "Name", &AppSettings::faceName, 0, "MS UI Gothic"},
};

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

void LoadSettings(FileSystem& fs, const std::string& path, AppSettings* settings) {
    IniFile ini;
    std::string content;
    if (fs.ReadFile(path, kMaxSettingsFileBytes, &content).Ok())
        ini.Parse(content);
    for (const auto& k : kKeys) {
        const auto value = ini.Get(k.section, k.key);
        std::visit(Overloaded{
                       [&](std::string AppSettings::*f) {
                           const std::string text = value ? *value : std::string(k.defaultText);
                           settings->*f = std::string(Utf16Prefix(text, kMaxSettingLength));
                       },
                       [&](std::uint8_t AppSettings::*f) {
                           const int n = value ? ParseProfileInt(*value) : k.defaultNumber;
                           settings->*f = static_cast<std::uint8_t>(n & 0xFF);
                       },
                       [&](std::int32_t AppSettings::*f) {
                           settings->*f = value ? ParseProfileInt(*value) : k.defaultNumber;
                       },
                   },
                   k.field);
    }
}

FsStatus SaveSettings(FileSystem& fs, const std::string& path, const AppSettings& settings) {
    IniFile ini;
    std::string content;
    if (const FsStatus read = fs.ReadFile(path, kMaxSettingsFileBytes, &content); read.Ok()) {
        ini.Parse(content);
    } else if (fs.FindTarget(path)) {
        // A file we cannot read would lose everything we do not know of if replaced; a link
        // to no file yet is written like a missing file.
        return read;
    }
    for (const auto& k : kKeys) {
        std::string text = std::visit(
            Overloaded{
                [&](std::string AppSettings::*f) { return settings.*f; },
                [&](std::uint8_t AppSettings::*f) { return std::to_string(settings.*f); },
                [&](std::int32_t AppSettings::*f) { return std::to_string(settings.*f); },
            },
            k.field);
        ini.Set(k.section, k.key, text);
    }
    // The XDG folder may not exist yet.
    const std::string folder(WithoutFinalSlash(FolderOf(path)));
    if (!folder.empty() && !fs.Exists(folder)) {
        if (const FsStatus made = MakeFolders(fs, folder); !made.Ok())
            return made;
    }
    return fs.WriteFileAtomic(path, ini.Serialize());
}

FontDescription FontOf(const AppSettings& settings) {
    FontDescription font;
    font.size = settings.fontSize;
    font.escapement = settings.escapement;
    font.orientation = settings.orientation;
    font.weight = settings.weight;
    font.italic = settings.italic;
    font.underline = settings.underline;
    font.strikeOut = settings.strikeOut;
    font.charSet = settings.charSet;
    font.outPrecision = settings.outPrecision;
    font.clipPrecision = settings.clipPrecision;
    font.quality = settings.quality;
    font.faceName = settings.faceName;
    return font;
}

void StoreFont(const FontDescription& font, AppSettings* settings) {
    settings->fontSize = font.size;
    settings->escapement = font.escapement;
    settings->orientation = font.orientation;
    settings->weight = font.weight;
    settings->italic = static_cast<std::uint8_t>(font.italic);
    settings->underline = static_cast<std::uint8_t>(font.underline);
    settings->strikeOut = static_cast<std::uint8_t>(font.strikeOut);
    settings->charSet = font.charSet;
    settings->outPrecision = font.outPrecision;
    settings->clipPrecision = font.clipPrecision;
    settings->quality = font.quality;
    settings->faceName = font.faceName;
}

Options OptionsOf(const AppSettings& settings) {
    Options options;
    options.registerFolders = settings.registerFolders;
    options.registerEverythingBelow = settings.registerEverythingBelow;
    options.openOnSelection = settings.openOnSelection;
    options.folderNavigation = settings.folderNavigation;
    options.useExternalEditor = settings.useExternalEditor;
    options.addToOpenWindow = settings.addToOpenWindow;
    options.editorPath = settings.editorPath;
    options.useTerminalEditor = settings.useTerminalEditor;
    return options;
}

void StoreOptions(const Options& options, AppSettings* settings) {
    settings->registerFolders = options.registerFolders;
    settings->registerEverythingBelow = options.registerEverythingBelow;
    settings->openOnSelection = options.openOnSelection;
    settings->folderNavigation = options.folderNavigation;
    settings->useExternalEditor = options.useExternalEditor;
    settings->addToOpenWindow = options.addToOpenWindow;
    settings->editorPath = options.editorPath;
    settings->useTerminalEditor = options.useTerminalEditor;
}

std::string SettingsFilePath(FileSystem& fs, const std::string& programDir,
                             const std::string& configHome) {
    const std::string beside = programDir + "/config.ini";
    if (fs.FindTarget(beside))
        return beside;
    // An installed program's folder belongs to the package manager, even where root may write.
    const bool installed = programDir == "/usr" || programDir.rfind("/usr/", 0) == 0;
    if (!installed && IsWritableDirectory(fs, programDir))
        return beside;
    if (configHome.empty())
        return beside;
    return configHome + "/morvane/config.ini";
}

}  // namespace morvane
