#include "platform/NameLimit.h"

#include "platform/FileSystem.h"
#include "platform/Utf16.h"

namespace morvane {

std::size_t NameLimit::LengthOf(std::string_view name) const {
    return inUtf16 ? Utf16Length(name) : name.size();
}

std::string_view NameLimit::Prefix(std::string_view name, std::size_t room) const {
    if (inUtf16)
        return Utf16Prefix(name, room);
    if (name.size() <= room)
        return name;
    // Back to the start of a UTF-8 sequence, so the name stays readable.
    while (room > 0 && (static_cast<unsigned char>(name[room]) & 0xC0) == 0x80)
        --room;
    return name.substr(0, room);
}

NameLimit NameLimitOf(FileSystem& fs, const std::string& folder) {
    if (fs.TraitsOf(folder).lengthInUtf16)
        return {NameLimit::kUtf16Units, true};
    return {fs.NameMax(folder), false};
}

}  // namespace morvane
