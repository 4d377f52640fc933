#include "ops/nametools/NamePresets.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "host/Messages.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace morvane {
namespace {

// A presets file is a few kilobytes; anything this large is not one.
constexpr std::uint64_t kMaxPresetBytes = 4u << 20;

}  // namespace

void NamePresets::SetPathBeside(const std::string& settingsPath) {
    path_ = std::string(FolderOf(settingsPath)) + kFileName;
}

bool NamePresets::Load() {
    presets_.clear();
    damage_.clear();
    std::string text;
    const FsStatus read = fs_.ReadFile(path_, kMaxPresetBytes, &text);
    if (read.error == ENOENT)
        return true;
    std::string why;
    if (!read.Ok())
        why = std::strerror(read.error);
    else if (!ReadPresets(text, &presets_, &why))
        presets_.clear();
    if (why.empty())
        return true;
    damage_ = FormatText(msg::kPresetsDamaged, path_.c_str(), why.c_str());
    return false;
}

const NamePreset* NamePresets::Find(const std::string& name) const {
    const auto found = std::find_if(presets_.begin(), presets_.end(),
                                    [&](const NamePreset& p) { return p.name == name; });
    return found == presets_.end() ? nullptr : &*found;
}

std::string NamePresets::Save(const NamePreset& preset) {
    if (!damage_.empty())
        return damage_;
    std::erase_if(presets_, [&](const NamePreset& p) { return p.name == preset.name; });
    presets_.insert(presets_.begin(), preset);
    return Write();
}

std::string NamePresets::Use(const std::string& name) {
    const NamePreset* found = Find(name);
    if (!damage_.empty() || found == nullptr || found == &presets_.front())
        return {};
    NamePreset preset = *found;
    return Save(preset);
}

std::string NamePresets::Remove(const std::string& name) {
    if (!damage_.empty())
        return damage_;
    std::erase_if(presets_, [&](const NamePreset& p) { return p.name == name; });
    return Write();
}

std::string NamePresets::Write() {
    // Empty for a file in the root, which needs no folder made.
    const std::string folder(WithoutFinalSlash(FolderOf(path_)));
    FsStatus written = FsStatus::Done();
    if (!folder.empty() && !fs_.Exists(folder))
        written = MakeFolders(fs_, folder);
    if (written.Ok())
        written = fs_.WriteFileAtomic(path_, WritePresets(presets_));
    if (written.Ok())
        return {};
    return FormatText(msg::kPresetsNotSaved, path_.c_str(), std::strerror(written.error));
}

}  // namespace morvane
