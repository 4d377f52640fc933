#include "platform/LockedFile.h"

#include <unistd.h>

namespace morvane {

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

void LockedFile::Close() {
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}

}  // namespace morvane
