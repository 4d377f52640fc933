#include "platform/ReadToEnd.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace morvane {

int ReadAtMost(int fd, std::uint64_t maxBytes, std::string* text) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
        if (text->size() + static_cast<std::uint64_t>(n) > maxBytes)
            return EFBIG;
        text->append(buffer, static_cast<std::size_t>(n));
    }
}

bool ReadToEnd(int fd, std::string* text) {
    return ReadAtMost(fd, UINT64_MAX, text) == 0;
}

}  // namespace morvane
