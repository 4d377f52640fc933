#pragma once
// The move the rename uses: within one open folder, never replaces anything, and retries only
// while the failure is one that can pass (a busy resource).

#include <string>

namespace morvane {

class FileSystem;
class FolderHandle;
struct FsStatus;

struct RetryPolicy {
    int attempts = 255;
    int delayMs = 32;  // waited after every failed attempt, the last one included
};

// The status of the last attempt to move the entry `from` of the folder to the name `to`. A
// lasting failure (the target exists, no such file, permission denied, ...) returns after its
// first attempt.
FsStatus RetriedMove(FileSystem& fs, const FolderHandle& folder, const std::string& from,
                     const std::string& to, const RetryPolicy& policy);

}  // namespace morvane
