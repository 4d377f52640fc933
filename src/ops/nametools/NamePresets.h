#pragma once
// The saved step lists of the name tools, in one file beside config.ini that is the user's:
// it is written only when a preset is saved or removed, and then only that preset's section
// changes; comments and hand formatting stay. Before writing, the file is read again: a
// change made since it was read, or damage, is reported and the file left as it is. The
// order presets were last used in (the menu's recent list) is kept in a state file.

#include <string>
#include <vector>

#include "formats/PresetFormat.h"

namespace morvane {

class FileSystem;

class NamePresets {
public:
    explicit NamePresets(FileSystem& fs) : fs_(fs) {}

    static constexpr const char* kFileName = "presets.ini";
    static constexpr const char* kRecentFileName = "recent-presets";
    static constexpr std::size_t kRecentCount = 5;

    // The file beside the settings file at settingsPath.
    void SetPathBeside(const std::string& settingsPath);
    const std::string& Path() const { return path_; }
    // The folder of the recent list (the program's state folder); empty: kept in memory.
    void SetRecentFolder(const std::string& folder);

    // Reads the file again; a missing file is an empty list. False when it is damaged, with
    // the reason in Damage().
    bool Load();
    const std::string& Damage() const { return damage_; }
    // In the file's order.
    const std::vector<NamePreset>& All() const { return presets_; }
    const NamePreset* Find(const std::string& name) const;
    // Up to kRecentCount names, the last used first, then the file's order.
    std::vector<std::string> Recent() const;

    // Each returns the line for the log when the file was not written (a failure, damage, or
    // a change made since it was read: the change is then loaded), empty otherwise. Save
    // replaces the section of a preset of that name, or adds one at the end.
    std::string Save(const NamePreset& preset);
    std::string Remove(const std::string& name);
    // The preset was applied: first in the recent list. Never writes presets.ini.
    void Use(const std::string& name);

private:
    // Reads the file; false with damage_ set when it cannot be read or parsed.
    bool ReadInto(std::string* text, std::vector<NamePreset>* presets,
                  std::vector<PresetSpan>* spans);
    // The line for the log when the file changed since Load or is damaged; empty when the
    // file is as it was read.
    std::string CheckUnchanged();
    std::string Write(const std::string& text);
    void LoadRecent();
    void SaveRecent();

    FileSystem& fs_;
    std::string path_;
    std::string recentPath_;
    std::string damage_;
    bool exists_ = false;
    std::string text_;  // the file as last read
    std::vector<NamePreset> presets_;
    std::vector<PresetSpan> spans_;
    std::vector<std::string> recent_;
};

}  // namespace morvane
