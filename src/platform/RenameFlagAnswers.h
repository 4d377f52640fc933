#pragma once
// Which file systems have refused renameat2's RENAME_NOREPLACE, learnt from their answers to
// our own moves (FUSE drivers answer EINVAL), so that later moves there go the other way at
// once. Kept per device; forgotten when the mount table changes.

#include <cstdint>

namespace morvane {

// True once a move on the device was refused the flag.
bool RenameFlagRefusedOn(std::uint64_t device);
// Cheap: whether any device has refused it, so moves elsewhere need not ask for theirs.
bool RenameFlagRefusedAnywhere();
void NoteRenameFlagRefused(std::uint64_t device);

}  // namespace morvane
