#include "platform/FoldedCase.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_set>

namespace morvane {
namespace {

// A few entries suffice; a folder that fails them all is not worth more round trips.
constexpr int kTries = 3;

#ifndef FS_CASEFOLD_FL
constexpr long FS_CASEFOLD_FL = 0x40000000;
#endif

bool HasLetter(const std::string& name) {
    for (const char c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            return true;
    }
    return false;
}

}  // namespace

std::string SwappedCase(const std::string& name) {
    std::string swapped = name;
    for (char& c : swapped) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return swapped;
}

std::optional<bool> FoldsCaseByEntries(const std::vector<std::string>& names,
                                       const std::function<int(const std::string&)>& lookUp) {
    const std::unordered_set<std::string> listed(names.begin(), names.end());
    int tries = 0;
    for (const std::string& name : names) {
        if (!HasLetter(name))
            continue;
        const std::string other = SwappedCase(name);
        if (listed.contains(other))
            continue;
        const int error = lookUp(other);
        if (error == 0)
            return true;
        if (error == ENOENT)
            return false;
        if (++tries == kTries)
            break;
    }
    return std::nullopt;
}

std::optional<bool> FoldsCaseByProbe(const std::string& folder) {
    DIR* d = opendir(folder.c_str());
    if (d == nullptr)
        return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    }
    const int fd = dirfd(d);
    const std::optional<bool> folds = FoldsCaseByEntries(names, [fd](const std::string& name) {
        struct stat st {};
        return fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
    });
    closedir(d);
    return folds;
}

bool HasCasefoldFlag(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    long flags = 0;
    const bool folds = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_CASEFOLD_FL) != 0;
    close(fd);
    return folds;
}

}  // namespace morvane
