#pragma once
// Which names a file system takes. Linux itself refuses only '/' and NUL; the file systems made
// for Windows (FAT, exFAT, NTFS, SMB shares) refuse a larger set of characters, names that end
// in a dot or a space, and the names of devices.

#include <cstdint>
#include <string_view>

namespace morvane {

enum class NameCharacters { Posix, Windows };

// The rules of a file system by its statfs f_type.
NameCharacters NameCharactersOfType(std::uint32_t fileSystemType);

// What makes a name unusable, the first of these found.
enum class NameFault : std::uint8_t {
    None,
    Character,          // a character the rules refuse, or CR or LF
    DeviceName,         // CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without extension
    TrailingDotOrSpace  // Windows drops a final dot or space, and the name with it
};

NameFault FaultIn(std::string_view name, NameCharacters rules);

// True when the name holds a character the rules refuse, or CR or LF, which the program keeps
// out everywhere: a name is one line of the text file.
bool HasForbiddenCharacter(std::string_view name, NameCharacters rules);
// True when some file system refuses the name: only such a name needs the rules of its folder.
bool MayBeForbidden(std::string_view name);

// The refused characters as the log shows them.
std::string_view RefusedCharactersText(NameCharacters rules);

}  // namespace morvane
