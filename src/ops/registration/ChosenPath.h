#pragma once
// Paths as the file dialogs return them. Qt shows a file name as UTF-8 and turns every byte
// that is not part of valid UTF-8 into U+FFFD, so the path a dialog hands back may name no
// file, or another one. The file system is asked which entry the user saw.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

class ActivityLog;
class FileSystem;

// The bytes of a name as Qt shows them, in UTF-8: each byte that does not belong to a valid
// UTF-8 sequence becomes U+FFFD of its own (as QString::fromUtf8 does within a path).
std::string ShownAsQtDecodes(std::string_view bytes);

enum class LastComponent : std::uint8_t {
    MustExist,
    MayBeNew,  // a save dialog: a name nothing matches is the user's own, U+FFFD and all
};

// The path in the bytes of the entries the user saw. A path without U+FFFD is returned as it
// is, without touching the disk. A component with U+FFFD must match exactly one entry of its
// folder; when none or several do, or the folder cannot be read, one line goes to the log and
// nothing is returned.
std::optional<std::string> ResolveChosenPath(FileSystem& fs, ActivityLog& log,
                                             const std::string& shown, LastComponent last);

}  // namespace morvane
