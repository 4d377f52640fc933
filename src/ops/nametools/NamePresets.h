#pragma once
// The saved step lists of the name tools, in one file beside config.ini. The file keeps the
// presets in the order last used, so its first entries are the menu's recent list. A damaged
// file is reported and never written over: saving waits until the user mends or moves it.

#include <string>
#include <vector>

#include "formats/PresetFormat.h"

namespace morvane {

class FileSystem;

class NamePresets {
public:
    explicit NamePresets(FileSystem& fs) : fs_(fs) {}

    static constexpr const char* kFileName = "presets.ini";
    static constexpr std::size_t kRecentCount = 5;

    // The file beside the settings file at settingsPath.
    void SetPathBeside(const std::string& settingsPath);
    const std::string& Path() const { return path_; }

    // Reads the file again; a missing file is an empty list. False when it is damaged, with
    // the reason in Damage().
    bool Load();
    const std::string& Damage() const { return damage_; }
    const std::vector<NamePreset>& All() const { return presets_; }
    const NamePreset* Find(const std::string& name) const;

    // Each writes the file and returns the line for the log when that failed (or the file is
    // damaged), empty otherwise. Save replaces a preset of that name; Save and Use put the
    // preset first.
    std::string Save(const NamePreset& preset);
    std::string Use(const std::string& name);
    std::string Remove(const std::string& name);

private:
    std::string Write();

    FileSystem& fs_;
    std::string path_;
    std::string damage_;
    std::vector<NamePreset> presets_;
};

}  // namespace morvane
