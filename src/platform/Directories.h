#pragma once
// Where things are on this machine.

#include <string>
#include <vector>

namespace morvane {

class FileSystem;

// Full path of the running program (from /proc/self/exe); empty when it cannot be read.
std::string ProgramPath(FileSystem& fs);
// Folder of the program without a trailing "/"; empty on failure.
std::string ProgramDirectory(FileSystem& fs);
// $TMPDIR, else "/tmp/", always ending with "/".
std::string TempDirectory();
// $XDG_CONFIG_HOME, else ~/.config (no trailing "/"); empty when neither is known.
std::string ConfigHome();
// $XDG_STATE_HOME, else ~/.local/state (no trailing "/"); empty when neither is known.
std::string StateHome();

enum class UserFolder { Documents, Pictures, Music, Videos, Desktop };
// The XDG user folder (from user-dirs.dirs, with the usual fallbacks); empty when unknown.
std::string UserFolderPath(FileSystem& fs, UserFolder which);

// Mount points of removable media: mounts under /media/USER and /run/media/USER.
std::vector<std::string> RemovableMountPoints(FileSystem& fs);

}  // namespace morvane
