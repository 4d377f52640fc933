#pragma once
// The longest name a folder takes. Most file systems count bytes (NAME_MAX); those made for
// Windows store names in UTF-16 and count its units, 255 of them, whatever byte count they
// report (exfat-fuse and ntfs-3g say 255 bytes, yet take 255 Japanese characters).

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane {

class FileSystem;

struct NameLimit {
    static constexpr std::size_t kUtf16Units = 255;

    std::size_t bytes = 255;  // where names are counted in bytes
    bool inUtf16 = false;     // counted in UTF-16 units instead, kUtf16Units of them

    // The most a name may have, in the unit counted.
    std::size_t Max() const { return inUtf16 ? kUtf16Units : bytes; }
    // The name's length in the unit counted.
    std::size_t LengthOf(std::string_view name) const;
    bool Fits(std::string_view name) const { return LengthOf(name) <= Max(); }
    // The longest start of the name, cut between characters, that is at most `room` long.
    std::string_view Prefix(std::string_view name, std::size_t room) const;
};

NameLimit NameLimitOf(FileSystem& fs, const std::string& folder);

}  // namespace morvane
