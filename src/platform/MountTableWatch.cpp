#include "platform/MountTableWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <mutex>

namespace morvane {

std::uint64_t MountTableGeneration() {
    static std::mutex mutex;
    static int fd = -2;
    static std::uint64_t generation = 0;
    const std::lock_guard<std::mutex> lock(mutex);
    if (fd == -2)
        fd = open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // Without the table to watch, every question counts as after a change.
        return ++generation;
    }
    struct pollfd watch {
        fd, POLLPRI, 0
    };
    // A change shows as POLLERR | POLLPRI once per change, and is then taken as seen.
    if (poll(&watch, 1, 0) > 0 && (watch.revents & (POLLERR | POLLPRI)) != 0)
        ++generation;
    return generation;
}

}  // namespace morvane
