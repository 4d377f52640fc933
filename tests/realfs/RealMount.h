#pragma once
// A real file system mounted for the tests of this process, through realfs-mount.sh: made on
// first use, taken down when the tests end. A process that dies instead leaves its folder to
// the sweep that ctest runs after the tests.

#include <string>

namespace morvane::test {

class RealMount {
public:
    explicit RealMount(std::string kind);
    ~RealMount();
    RealMount(const RealMount&) = delete;
    RealMount& operator=(const RealMount&) = delete;

    const std::string& Kind() const { return kind_; }
    bool Mounted() const { return mounted_; }
    // Why it is not mounted, as the script said.
    const std::string& Why() const { return why_; }
    // The mount point, without a final slash.
    std::string Root() const { return folder_ + "/mnt"; }
    // Unmounts and mounts again; an image comes back from another loop device. Empty when
    // done, else why not.
    std::string Remount();

private:
    std::string kind_;
    std::string folder_;  // this mount's own folder under the base
    bool mounted_ = false;
    std::string why_;
    int guard_ = -1;  // closing it wakes the process that takes the folder down after a crash
};

// The mount of a kind for this process.
RealMount& MountOf(const std::string& kind);

}  // namespace morvane::test
