#pragma once
// Which characters a file system takes in a name. Linux itself refuses only '/' and NUL; the
// file systems made for Windows (FAT, exFAT, NTFS, SMB shares) refuse a larger set.

#include <cstdint>
#include <string_view>

namespace morvane {

enum class NameCharacters { Posix, Windows };

// The rules of a file system by its statfs f_type.
NameCharacters NameCharactersOfType(std::uint32_t fileSystemType);

// True when the name holds a character the rules refuse, or CR or LF, which the program keeps
// out everywhere: a name is one line of the text file.
bool HasForbiddenCharacter(std::string_view name, NameCharacters rules);
// True when the name holds a character some file system refuses: only such a name needs the
// rules of its folder.
bool MayBeForbidden(std::string_view name);

// The refused characters as the log shows them.
std::string_view RefusedCharactersText(NameCharacters rules);

}  // namespace morvane
