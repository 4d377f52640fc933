#include "ops/rename/MovedPaths.h"
#include "platform/Paths.h"

namespace morvane {

MovedPaths::MovedPaths(const std::vector<RenameRecord::Move>& moves) {
    // Where each moved file is now -> where it was at the start; a swap's temporary steps
    // fold into one entry.
    std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> origin;
    for (const RenameRecord::Move& move : moves) {
        std::string start;
        if (auto it = origin.find(move.from); it != origin.end()) {
            start = std::move(it->second);
            origin.erase(it);
        } else {
            start = move.from;
        }
        origin.insert_or_assign(move.to, std::move(start));
    }
    for (auto& [now, start] : origin) {
        if (now != start)
            moved_.emplace(std::move(start), now);
    }
}

std::string MovedPaths::NowOfStart(std::string_view start) const {
    // The file moved within its folder while the folders above still had their names.
    const auto own = moved_.find(start);
    return Now(own == moved_.end() ? start : std::string_view(own->second));
}

std::string MovedPaths::Now(std::string_view path) const {
    std::string result;
    std::size_t done = 0;  // path up to here is in result
    for (std::size_t slash = path.find('/', 1); slash != std::string_view::npos;
         slash = path.find('/', slash + 1)) {
        const auto folder = moved_.find(path.substr(0, slash));
        if (folder == moved_.end())
            continue;
        // A folder moves within its parent: only its own name changes.
        const std::string_view now = folder->second;
        const std::size_t nameStart = NameStart(path.substr(0, slash));
        result.append(path.substr(done, nameStart - done));
        result.append(NameOf(now));
        done = slash;
    }
    result.append(path.substr(done));
    return result;
}

}  // namespace morvane
