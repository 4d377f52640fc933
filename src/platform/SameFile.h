#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace morvane {

// True when both paths name one and the same file and differ only by case folding: what a
// case-insensitive file system shows for a change of case. The folder's traits say so where
// they know (exfat-fuse gives each spelling an inode number of its own); elsewhere both
// spellings lead to one inode. Hard links under unrelated names do not count.
bool IsSameFileByOtherName(FileSystem& fs, const MountTraits& traits, const std::string& a,
                           const std::string& b);

}  // namespace morvane
