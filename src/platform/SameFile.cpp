#include "platform/SameFile.h"

#include "platform/CaseFold.h"

namespace morvane {

bool IsSameFileByOtherName(FileSystem& fs, const MountTraits& traits, const std::string& a,
                           const std::string& b) {
    if (a == b || !SameUnderCaseFolding(a, b))
        return false;
    if (traits.caseInsensitive)
        return true;
    const auto infoA = fs.Find(a);
    const auto infoB = fs.Find(b);
    return infoA && infoB && infoA->device == infoB->device && infoA->inode == infoB->inode;
}

}  // namespace morvane
