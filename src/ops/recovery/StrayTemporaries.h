#pragma once
// Files under this program's temporary names that a damaged journal no longer lists. The
// folders the readable part of the plan names are searched; each name found holds the old
// name of its file after its mark, so the file can go back there.

#include <string>
#include <vector>

#include "formats/JournalFormat.h"

namespace morvane {

class ActivityLog;
class FileSystem;

struct StrayFile {
    std::string path;
    std::string old;  // its old path; empty when the limit cut the name short
};

// Every file under a temporary name in the folders of the plan.
std::vector<StrayFile> FindStrayTemporaries(FileSystem& fs, const JournalText& plan);
// Moves each to its old path where that is free, never replacing anything; each one left is
// named in the log. The number left.
int PutStraysBack(FileSystem& fs, ActivityLog& log, const std::vector<StrayFile>& strays);

}  // namespace morvane
