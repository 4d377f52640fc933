#pragma once
// Notices when anything is mounted or unmounted, so that what was learnt of a mount is not
// kept for another one that comes to use the same device numbers.

#include <cstdint>

namespace morvane {

// Grows by one each time the mount table is seen to have changed since the last call; the
// kernel tells through poll on /proc/self/mountinfo, without reading the table.
std::uint64_t MountTableGeneration();

}  // namespace morvane
