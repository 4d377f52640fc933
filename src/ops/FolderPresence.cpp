#include "ops/FolderPresence.h"

#include <vector>

#include "platform/FileSystem.h"

namespace morvane {

bool FolderPresence::Exists(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash + 1 == path.size())
        return fs_.Exists(path);
    const std::string_view folderPart =
        slash == 0 ? std::string_view("/") : std::string_view(path).substr(0, slash);
    auto it = folders_.find(folderPart);
    if (it == folders_.end())
        it = folders_.emplace(std::string(folderPart), Folder{}).first;
    Folder& f = it->second;
    if (!f.read && ++f.asked >= kReadFrom) {
        f.read = true;
        std::vector<std::string> names;
        f.readable = fs_.ListFolder(it->first, &names).Ok();
        f.names.reserve(names.size());
        for (auto& n : names)
            f.names.insert(std::move(n));
    }
    // A folder that can be searched but not read still answers path by path.
    if (!f.read || !f.readable)
        return fs_.Exists(path);
    return f.names.find(std::string_view(path).substr(slash + 1)) != f.names.end();
}

}  // namespace morvane
