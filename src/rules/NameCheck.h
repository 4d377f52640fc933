#pragma once
// The errors a new name carries from its row alone and the disk: blank, a forbidden character,
// too long for its folder, an unregistered file at the new path. It logs and changes nothing,
// so the row check and the name tools' preview ask the same question and cannot disagree.
// Duplicates and swaps depend on the other rows and are not its business.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/MountTraits.h"
#include "platform/NameCharacters.h"
#include "platform/NameLimit.h"
#include "platform/TextHash.h"

namespace morvane {

class FileSystem;
class FolderPresence;

// A row with a new name, as the check sees it.
struct NameToCheck {
    std::string_view directory;  // the row's folder, with its final '/'
    std::string_view name;       // trailing blanks already cut
    // References, not views: the disk is asked with them as they are, without a copy.
    const std::string& newKey;      // key of directory + name
    const std::string& currentKey;  // key of the row's file
    // Another registered row has its file at newKey: that file makes room, it is no obstacle.
    bool occupied = false;
};

class NameCheck {
public:
    explicit NameCheck(FileSystem& fs) : fs_(fs) {}

    // The error bits of the name; a blank name carries ErrBlank alone. `presence`, when given,
    // answers for the disk (a batch reads each folder once).
    std::uint32_t Check(const NameToCheck& row, FolderPresence* presence = nullptr);

    // What the file system of the folder refuses in the name (CR and LF everywhere).
    NameFault FaultOf(std::string_view directory, std::string_view name);
    // The longest name the folder takes; asked once per folder.
    NameLimit LimitOf(std::string_view directory);
    // The characters the folder takes; asked once per folder.
    NameCharacters CharactersOf(std::string_view directory);

private:
    // No file system takes fewer bytes in a name (POSIX's least NAME_MAX), nor fewer UTF-16
    // units: shorter names need no look at the folder.
    static constexpr std::size_t kShortestNameMax = 14;

    // What the folder's file system does; asked once per folder.
    const MountTraits& TraitsOf(std::string_view directory);

    FileSystem& fs_;
    std::unordered_map<std::string, NameLimit, TextHash, std::equal_to<>> limits_;
    std::unordered_map<std::string, NameCharacters, TextHash, std::equal_to<>> charactersOf_;
    std::unordered_map<std::string, MountTraits, TextHash, std::equal_to<>> traits_;
};

}  // namespace morvane
