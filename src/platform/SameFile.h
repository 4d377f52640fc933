#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace morvane {

// True when both paths name one and the same file and differ only in ASCII letter case: what
// a case-insensitive file system (vfat, exFAT) shows for a change of case. Hard links under
// unrelated names do not count.
bool IsSameFileByOtherName(FileSystem& fs, const std::string& a, const std::string& b);

}  // namespace morvane
