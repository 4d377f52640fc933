#include "ops/rename/RetriedMove.h"

#include <chrono>
#include <thread>

#include "platform/FileSystem.h"

namespace morvane {

FsStatus RetriedMove(FileSystem& fs, const FolderHandle& folder, const std::string& from,
                     const std::string& to, const RetryPolicy& policy) {
    FsStatus status;
    for (int attempt = 1; attempt <= policy.attempts; ++attempt) {
        status = fs.MoveWithin(folder, from, to);
        if (status.Ok())
            return status;
        // Waiting for a target that exists, a missing source or a read-only folder to change
        // would only freeze the run; such a failure is final at once.
        if (!IsTransientError(status.error))
            return status;
        if (policy.delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(policy.delayMs));
    }
    return status;
}

}  // namespace morvane
