#include "platform/Paths.h"

namespace morvane {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path;
    AppendJoinedPath(folder, name, &path);
    return path;
}

void AppendJoinedPath(std::string_view folder, std::string_view name, std::string* path) {
    const bool root = folder.empty() || folder == "/";
    const std::string_view base = root ? std::string_view() : folder;
    const bool slash = root || folder.back() != '/';
    // One allocation at most, where adding up temporaries takes two.
    path->reserve(path->size() + base.size() + (slash ? 1 : 0) + name.size());
    path->append(base);
    if (slash)
        path->push_back('/');
    path->append(name);
}

}  // namespace morvane
