#include "platform/ReadToEnd.h"

#include <unistd.h>

#include <cerrno>

namespace morvane {

bool ReadToEnd(int fd, std::string* text) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        text->append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace morvane
