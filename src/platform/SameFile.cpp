#include "platform/SameFile.h"

#include <strings.h>

namespace morvane {

bool IsSameFileByOtherName(FileSystem& fs, const std::string& a, const std::string& b) {
    if (a == b || a.size() != b.size() || strcasecmp(a.c_str(), b.c_str()) != 0)
        return false;
    const auto infoA = fs.Find(a);
    const auto infoB = fs.Find(b);
    return infoA && infoB && infoA->device == infoB->device && infoA->inode == infoB->inode;
}

}  // namespace morvane
