#pragma once
// Where things are on this machine.

#include <string>
#include <vector>

namespace morvane {

// Full path of the running program (from /proc/self/exe); empty when it cannot be read.
std::string ProgramPath();
// Folder of the program without a trailing "/"; empty on failure.
std::string ProgramDirectory();
// $TMPDIR, else "/tmp/", always ending with "/".
std::string TempDirectory();
// $XDG_CONFIG_HOME, else ~/.config (no trailing "/"); empty when neither is known.
std::string ConfigHome();
// True when a new file could be created in the folder.
bool IsWritableDirectory(const std::string& dir);
// Creates the folder and any missing folders above it (mode 0700); true when it exists after.
bool MakeFolders(const std::string& path);

enum class UserFolder { Documents, Pictures, Music, Videos, Desktop };
// The XDG user folder (from user-dirs.dirs, with the usual fallbacks); empty when unknown.
std::string UserFolderPath(UserFolder which);

// Mount points of removable media: mounts under /media/USER and /run/media/USER.
std::vector<std::string> RemovableMountPoints();

}  // namespace morvane
