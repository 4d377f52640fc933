#include "ops/rename/TemporaryName.h"

#include "host/Messages.h"

namespace morvane {

std::string TemporaryName(std::uint32_t counter, std::string_view name, const NameLimit& limit) {
    std::string temp = FormatText("%08x[MORVANE]_", counter);
    // The mark is ASCII: as many bytes as UTF-16 units.
    const std::size_t room = limit.Max() > temp.size() ? limit.Max() - temp.size() : 0;
    return temp.append(limit.Prefix(name, room));
}

bool IsTemporaryName(std::string_view name, std::string* original) {
    constexpr std::string_view kMark = "[MORVANE]_";
    if (name.size() <= 8 + kMark.size() || name.substr(8, kMark.size()) != kMark)
        return false;
    for (std::size_t i = 0; i < 8; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    original->assign(name.substr(8 + kMark.size()));
    return true;
}

}  // namespace morvane
