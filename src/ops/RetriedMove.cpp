#include "ops/RetriedMove.h"

#include <chrono>
#include <thread>

#include "platform/FileSystem.h"

namespace morvane {

int RetriedMove(FileSystem& fs, const std::string& from, const std::string& to,
                const RetryPolicy& policy) {
    int error = 0;
    for (int attempt = 1; attempt <= policy.attempts; ++attempt) {
        error = fs.Move(from, to);
        if (error == 0)
            return 0;
        // Waiting for a target that exists, a missing source or a read-only folder to change
        // would only freeze the run; such a failure is final at once.
        if (!IsTransientError(error))
            return error;
        if (policy.delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(policy.delayMs));
    }
    return error;
}

}  // namespace morvane
