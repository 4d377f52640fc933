#include "platform/RenameFlagAnswers.h"

#include <atomic>
#include <mutex>
#include <unordered_set>

#include "platform/MountTableWatch.h"

namespace morvane {
namespace {

std::mutex mutex;
std::unordered_set<std::uint64_t> refused;
std::uint64_t learntIn = 0;  // the mount table's generation the answers belong to
std::atomic<bool> any{false};

}  // namespace

bool RenameFlagRefusedOn(std::uint64_t device) {
    if (!any.load(std::memory_order_relaxed))
        return false;
    const std::lock_guard<std::mutex> lock(mutex);
    if (MountTableGeneration() != learntIn) {
        refused.clear();
        any.store(false, std::memory_order_relaxed);
        return false;
    }
    return refused.contains(device);
}

bool RenameFlagRefusedAnywhere() {
    return any.load(std::memory_order_relaxed);
}

void NoteRenameFlagRefused(std::uint64_t device) {
    const std::lock_guard<std::mutex> lock(mutex);
    const std::uint64_t now = MountTableGeneration();
    if (now != learntIn) {
        refused.clear();
        learntIn = now;
    }
    refused.insert(device);
    any.store(true, std::memory_order_relaxed);
}

}  // namespace morvane
