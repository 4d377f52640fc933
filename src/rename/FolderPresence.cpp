#include "rename/FolderPresence.h"

#include <vector>

#include "platform/FileSystem.h"

namespace morvane {
namespace {

// The folder part of a path ("/" for a top-level entry); false when there is none.
bool SplitPath(const std::string& path, std::string* folder, std::string* name) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash + 1 == path.size())
        return false;
    *folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    *name = path.substr(slash + 1);
    return true;
}

}  // namespace

void FolderPresence::Expect(const std::string& path) {
    std::string folder, name;
    if (SplitPath(path, &folder, &name))
        ++folders_[folder].expected;
}

bool FolderPresence::Exists(const std::string& path) {
    std::string folder, name;
    if (!SplitPath(path, &folder, &name))
        return fs_.Exists(path);
    const auto it = folders_.find(folder);
    if (it == folders_.end() || it->second.expected < kReadFrom)
        return fs_.Exists(path);
    Folder& f = it->second;
    if (!f.read) {
        f.read = true;
        std::vector<std::string> names;
        f.readable = fs_.ListFolder(folder, &names);
        f.names.reserve(names.size());
        for (auto& n : names)
            f.names.insert(std::move(n));
    }
    // A folder that can be searched but not read still answers path by path.
    return f.readable ? f.names.count(name) != 0 : fs_.Exists(path);
}

}  // namespace morvane
