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

FsStatus WriteMakingFolder(FileSystem& fs, const std::string& path, std::string_view text) {
    // Empty for a file in the root, which needs no folder made.
    const std::string folder(WithoutFinalSlash(FolderOf(path)));
    if (!folder.empty() && !fs.Exists(folder)) {
        if (const FsStatus made = MakeFolders(fs, folder); !made.Ok())
            return made;
    }
    return fs.WriteFileAtomic(path, text);
}

}  // namespace

void NamePresets::SetPathBeside(const std::string& settingsPath) {
    path_ = std::string(FolderOf(settingsPath)) + kFileName;
}

void NamePresets::SetRecentFolder(const std::string& folder) {
    recentPath_ = folder.empty() ? std::string() : folder + "/" + kRecentFileName;
    LoadRecent();
}

bool NamePresets::ReadInto(std::string* text, std::vector<NamePreset>* presets,
                           std::vector<PresetSpan>* spans) {
    presets->clear();
    spans->clear();
    const FsStatus read = fs_.ReadFile(path_, kMaxPresetBytes, text);
    exists_ = read.error != ENOENT;
    if (!exists_) {
        text->clear();
        return true;
    }
    std::string why;
    if (!read.Ok())
        why = std::strerror(read.error);
    else if (!ReadPresets(*text, presets, &why, spans))
        presets->clear();
    if (why.empty())
        return true;
    damage_ = FormatText(msg::kPresetsDamaged, path_.c_str(), why.c_str());
    return false;
}

bool NamePresets::Load() {
    damage_.clear();
    return ReadInto(&text_, &presets_, &spans_);
}

const NamePreset* NamePresets::Find(const std::string& name) const {
    const auto found = std::find_if(presets_.begin(), presets_.end(),
                                    [&](const NamePreset& p) { return p.name == name; });
    return found == presets_.end() ? nullptr : &*found;
}

std::vector<std::string> NamePresets::Recent() const {
    std::vector<std::string> names;
    const auto add = [&](const std::string& name) {
        if (names.size() < kRecentCount && Find(name) != nullptr &&
            std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    };
    for (const std::string& name : recent_)
        add(name);
    for (const NamePreset& preset : presets_)
        add(preset.name);
    return names;
}

std::string NamePresets::CheckUnchanged() {
    if (!damage_.empty())
        return damage_;
    std::string now;
    std::vector<NamePreset> presets;
    std::vector<PresetSpan> spans;
    const bool existed = exists_;
    if (!ReadInto(&now, &presets, &spans))
        return damage_;
    if (now == text_ && exists_ == existed)
        return {};
    // Somebody else's change wins: taken in, and the user saves again on top of it.
    text_ = std::move(now);
    presets_ = std::move(presets);
    spans_ = std::move(spans);
    return FormatText(msg::kPresetsChanged, path_.c_str());
}

std::string NamePresets::Save(const NamePreset& preset) {
    if (std::string refused = CheckUnchanged(); !refused.empty())
        return refused;
    std::string text = text_;
    const std::string section = WritePreset(preset);
    const auto found = std::find_if(presets_.begin(), presets_.end(),
                                    [&](const NamePreset& p) { return p.name == preset.name; });
    if (found != presets_.end()) {
        const PresetSpan span = spans_[static_cast<std::size_t>(found - presets_.begin())];
        text.replace(span.begin, span.end - span.begin, section);
    } else {
        if (text.empty())
            text = WritePresets({});
        if (text.back() != '\n')
            text += '\n';
        text += "\n" + section;
    }
    if (std::string failure = Write(text); !failure.empty())
        return failure;
    Use(preset.name);
    return {};
}

std::string NamePresets::Remove(const std::string& name) {
    if (std::string refused = CheckUnchanged(); !refused.empty())
        return refused;
    const auto found = std::find_if(presets_.begin(), presets_.end(),
                                    [&](const NamePreset& p) { return p.name == name; });
    if (found == presets_.end())
        return {};
    const PresetSpan span = spans_[static_cast<std::size_t>(found - presets_.begin())];
    std::string text = text_;
    std::size_t end = span.end;
    // The blank line that parted it from the next section goes with it.
    if (end < text.size() && text[end] == '\n')
        ++end;
    text.erase(span.begin, end - span.begin);
    return Write(text);
}

std::string NamePresets::Write(const std::string& text) {
    const FsStatus written = WriteMakingFolder(fs_, path_, text);
    if (!written.Ok())
        return FormatText(msg::kPresetsNotSaved, path_.c_str(), std::strerror(written.error));
    // What is on the disk now is what was read: the next save compares with it.
    std::string why;
    text_ = text;
    exists_ = true;
    if (!ReadPresets(text_, &presets_, &why, &spans_))
        damage_ = FormatText(msg::kPresetsDamaged, path_.c_str(), why.c_str());
    return {};
}

void NamePresets::Use(const std::string& name) {
    std::erase(recent_, name);
    recent_.insert(recent_.begin(), name);
    // A few more than the menu shows, so removing one still leaves a full menu.
    if (recent_.size() > 4 * kRecentCount)
        recent_.resize(4 * kRecentCount);
    SaveRecent();
}

void NamePresets::LoadRecent() {
    recent_.clear();
    std::string text;
    if (recentPath_.empty() || !fs_.ReadFile(recentPath_, kMaxPresetBytes, &text).Ok())
        return;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start)
            recent_.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

void NamePresets::SaveRecent() {
    if (recentPath_.empty())
        return;
    std::string text;
    for (const std::string& name : recent_)
        text += name + "\n";
    // Only an order of convenience: a state file that cannot be written loses nothing.
    (void)WriteMakingFolder(fs_, recentPath_, text);
}

}  // namespace morvane
