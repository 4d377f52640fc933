#include "platform/BlockDeviceFs.h"

#include <blkid/blkid.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace morvane {
namespace {

// udev's database keeps a few kilobytes per device.
constexpr std::size_t kUdevDataLimit = 1 << 16;

std::string ReadSmallFile(const std::string& path) {
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0 || text.size() + static_cast<std::size_t>(n) > kUdevDataLimit)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return text;
}

struct ProbeFree {
    void operator()(blkid_probe probe) const { blkid_free_probe(probe); }
};

// What libblkid reads from the superblock; needs read access to the device (root, or the disk
// group on most systems).
BlockDeviceFs ProbeSuperblock(const std::string& device) {
    BlockDeviceFs found;
    const std::unique_ptr<std::remove_pointer_t<blkid_probe>, ProbeFree> probe(
        blkid_new_probe_from_filename(device.c_str()));
    if (!probe)
        return found;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_TYPE | BLKID_SUBLKS_UUID);
    // The safe probe refuses a device that looks like two file systems at once.
    if (blkid_do_safeprobe(probe.get()) != 0)
        return found;
    const char* value = nullptr;
    if (blkid_probe_lookup_value(probe.get(), "TYPE", &value, nullptr) == 0 && value != nullptr)
        found.type = value;
    if (blkid_probe_lookup_value(probe.get(), "UUID", &value, nullptr) == 0 && value != nullptr)
        found.uuid = value;
    return found;
}

}  // namespace

BlockDeviceFs ParseUdevData(std::string_view text) {
    BlockDeviceFs found;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        constexpr std::string_view kType = "E:ID_FS_TYPE=";
        constexpr std::string_view kUuid = "E:ID_FS_UUID=";
        if (line.starts_with(kType))
            found.type = line.substr(kType.size());
        else if (line.starts_with(kUuid))
            found.uuid = line.substr(kUuid.size());
    }
    return found;
}

BlockDeviceFs ProbeBlockDevice(unsigned major, unsigned minor, const std::string& source) {
    // A source under /dev names the device itself (btrfs shows other numbers in st_dev).
    dev_t number = makedev(major, minor);
    std::string device;
    if (struct stat st{};
        source.starts_with("/dev/") && stat(source.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) {
        number = st.st_rdev;
        device = source;
    }
    if (::major(number) == 0)
        return {};
    BlockDeviceFs found =
        ParseUdevData(ReadSmallFile("/run/udev/data/b" + std::to_string(::major(number)) + ":" +
                                    std::to_string(::minor(number))));
    if (!found.type.empty())
        return found;
    if (device.empty()) {
        if (char* name = blkid_devno_to_devname(number)) {
            device = name;
            std::free(name);
        }
    }
    return device.empty() ? found : ProbeSuperblock(device);
}

}  // namespace morvane
