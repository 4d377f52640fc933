#include "platform/MountInfo.h"

#include <charconv>

namespace morvane {
namespace {

// The next field up to a space; `rest` is left after that space.
std::string_view NextField(std::string_view& rest) {
    const std::size_t end = rest.find(' ');
    const std::string_view field = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return field;
}

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

// The kernel writes space, tab, newline and backslash as "\ooo".
std::string Unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && IsOctal(text[i + 1]) &&
            IsOctal(text[i + 2]) && IsOctal(text[i + 3])) {
            out.push_back(static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                            (text[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number* value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return error == std::errc{} && end == text.data() + text.size() && !text.empty();
}

// "/a/b" holds "/a/b" and "/a/b/c", not "/a/bc"; "/" holds every absolute path.
bool Holds(std::string_view mountPoint, std::string_view path) {
    if (path.compare(0, mountPoint.size(), mountPoint) != 0)
        return false;
    return mountPoint == "/" || path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

}  // namespace

std::optional<MountInfoEntry> ParseMountInfoLine(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    MountInfoEntry entry;
    std::string_view rest = line;
    std::uint64_t parent = 0;
    if (!ParseNumber(NextField(rest), &entry.id) || !ParseNumber(NextField(rest), &parent))
        return std::nullopt;
    const std::string_view device = NextField(rest);
    const std::size_t colon = device.find(':');
    if (colon == std::string_view::npos || !ParseNumber(device.substr(0, colon), &entry.major) ||
        !ParseNumber(device.substr(colon + 1), &entry.minor)) {
        return std::nullopt;
    }
    entry.root = Unescaped(NextField(rest));
    entry.mountPoint = Unescaped(NextField(rest));
    entry.options = NextField(rest);
    // Optional fields ("shared:1", "master:2") up to a lone "-".
    for (;;) {
        if (rest.empty())
            return std::nullopt;
        if (NextField(rest) == "-")
            break;
    }
    entry.type = Unescaped(NextField(rest));
    entry.source = Unescaped(NextField(rest));
    entry.superOptions = NextField(rest);
    if (entry.root.empty() || entry.mountPoint.empty() || entry.type.empty())
        return std::nullopt;
    return entry;
}

std::vector<MountInfoEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountInfoEntry> mounts;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (auto entry = ParseMountInfoLine(text.substr(0, end)))
            mounts.push_back(std::move(*entry));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return mounts;
}

const MountInfoEntry* MountWithId(const std::vector<MountInfoEntry>& mounts, std::uint64_t id) {
    for (const MountInfoEntry& mount : mounts) {
        if (mount.id == id)
            return &mount;
    }
    return nullptr;
}

const MountInfoEntry* MountHolding(const std::vector<MountInfoEntry>& mounts, unsigned major,
                                   unsigned minor, std::string_view path) {
    const MountInfoEntry* best = nullptr;
    for (const MountInfoEntry& mount : mounts) {
        if (mount.major != major || mount.minor != minor || !Holds(mount.mountPoint, path))
            continue;
        if (best == nullptr || mount.mountPoint.size() >= best->mountPoint.size())
            best = &mount;
    }
    return best;
}

}  // namespace morvane
