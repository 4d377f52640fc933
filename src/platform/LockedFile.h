#pragma once
// A file held open for appending under an exclusive lock (flock), so that no other instance
// touches it while we hold it. The lock goes when the file is closed, also when the process
// dies.

#include <string>
#include <utility>

namespace morvane {

class LockedFile {
public:
    LockedFile() = default;
    LockedFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    LockedFile(LockedFile&& other) noexcept
        : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}
    LockedFile& operator=(LockedFile&& other) noexcept;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile() { Close(); }

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    const std::string& Path() const { return path_; }
    // Releases the lock.
    void Close();

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace morvane
