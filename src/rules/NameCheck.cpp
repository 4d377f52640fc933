#include "rules/NameCheck.h"

#include "model/FileEntry.h"
#include "platform/FileSystem.h"
#include "platform/FolderPresence.h"
#include "platform/SameFile.h"

namespace morvane {
namespace {

// What the file system says of a folder, asked once per folder.
template <typename Value, typename Ask>
const Value& OncePerFolder(std::unordered_map<std::string, Value, TextHash, std::equal_to<>>& known,
                           std::string_view directory, Ask ask) {
    if (const auto found = known.find(directory); found != known.end())
        return found->second;
    std::string folder(directory);
    Value value = ask(folder);
    return known.emplace(std::move(folder), std::move(value)).first->second;
}

}  // namespace

std::uint32_t NameCheck::Check(const NameToCheck& row, FolderPresence* presence) {
    if (row.name.empty())
        return ErrBlank;
    std::uint32_t errors = 0;
    if (FaultOf(row.directory, row.name) != NameFault::None)
        errors |= ErrForbidden;
    if (row.name.size() > kShortestNameMax && !LimitOf(row.directory).Fits(row.name))
        errors |= ErrTooLong;
    // A row that stays, or whose path a registered row holds, meets no stranger's file.
    if (row.occupied || row.newKey == row.currentKey)
        return errors;
    const std::string& key = row.newKey;
    if (!(presence != nullptr ? presence->Exists(key) : fs_.Exists(key)))
        return errors;
    // On a case-insensitive file system a change of case finds the row's own file.
    if (!IsSameFileByOtherName(fs_, TraitsOf(row.directory), row.currentKey, key))
        errors |= ErrExists;
    return errors;
}

NameFault NameCheck::FaultOf(std::string_view directory, std::string_view name) {
    return MayBeForbidden(name) ? FaultIn(name, CharactersOf(directory)) : NameFault::None;
}

NameLimit NameCheck::LimitOf(std::string_view directory) {
    return OncePerFolder(limits_, directory,
                         [&](const std::string& folder) { return NameLimitOf(fs_, folder); });
}

const MountTraits& NameCheck::TraitsOf(std::string_view directory) {
    return OncePerFolder(traits_, directory,
                         [&](const std::string& folder) { return fs_.TraitsOf(folder); });
}

NameCharacters NameCheck::CharactersOf(std::string_view directory) {
    return OncePerFolder(charactersOf_, directory,
                         [&](const std::string& folder) { return fs_.CharactersIn(folder); });
}

}  // namespace morvane
