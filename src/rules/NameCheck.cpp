#include "rules/NameCheck.h"

#include "model/FileEntry.h"
#include "platform/FileSystem.h"
#include "platform/FolderPresence.h"
#include "platform/SameFile.h"

namespace morvane {
namespace {

// What the file system says of a folder, asked once per folder.
template <typename Value, typename Ask>
Value OncePerFolder(std::unordered_map<std::string, Value, TextHash, std::equal_to<>>& known,
                    std::string_view directory, Ask ask) {
    if (const auto found = known.find(directory); found != known.end())
        return found->second;
    const Value value = ask(std::string(directory));
    known.emplace(std::string(directory), value);
    return value;
}

}  // namespace

std::uint32_t NameCheck::Check(const NameToCheck& row, FolderPresence* presence) {
    if (row.name.empty())
        return ErrBlank;
    std::uint32_t errors = 0;
    if (HasForbiddenCharacter(row.directory, row.name))
        errors |= ErrForbidden;
    if (row.name.size() > kShortestNameMax && row.name.size() > NameMaxOf(row.directory))
        errors |= ErrTooLong;
    // A row that stays, or whose path a registered row holds, meets no stranger's file.
    if (row.occupied || row.newKey == row.currentKey)
        return errors;
    const std::string& key = row.newKey;
    if (!(presence != nullptr ? presence->Exists(key) : fs_.Exists(key)))
        return errors;
    // On a case-insensitive file system a change of letter case finds the row's own file.
    if (!IsSameFileByOtherName(fs_, row.currentKey, key))
        errors |= ErrExists;
    return errors;
}

bool NameCheck::HasForbiddenCharacter(std::string_view directory, std::string_view name) {
    return MayBeForbidden(name) && morvane::HasForbiddenCharacter(name, CharactersOf(directory));
}

std::size_t NameCheck::NameMaxOf(std::string_view directory) {
    return OncePerFolder(nameMax_, directory,
                         [&](const std::string& folder) { return fs_.NameMax(folder); });
}

NameCharacters NameCheck::CharactersOf(std::string_view directory) {
    return OncePerFolder(charactersOf_, directory,
                         [&](const std::string& folder) { return fs_.CharactersIn(folder); });
}

}  // namespace morvane
