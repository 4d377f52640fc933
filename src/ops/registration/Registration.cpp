#include "ops/registration/Registration.h"

#include <climits>
#include <memory>

#include "host/ActivityLog.h"
#include "host/Dialogs.h"
#include "host/FileDescriber.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "host/Progress.h"
#include "model/ListModel.h"
#include "ops/Locations.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Utf16.h"
#include "rules/ErrorMessages.h"
#include "rules/Validation.h"
#include "settings/AppSettings.h"

namespace morvane {
namespace {

// The row's tooltip says the same.
std::string RenameTestMessage(const std::string& path) {
    ErrorFacts facts;
    facts.file = path;
    return ErrorText(ErrRenameTest, facts);
}

// The longest path a row may have, in UTF-16 units: the one limit the name rules keep too.
constexpr std::size_t kMaxPathUnits = Validation::kMaxPathUnits;
// PATH_MAX: the longest path a system call takes, its terminating zero included.
constexpr std::size_t kSystemPathBytes = PATH_MAX;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool Registration::RegisterDriveRow(const std::string& drive) {
    const std::string key = MakePathKey(drive);
    if (list_.CurrentPathIndex().Find(key) != nullptr)
        return false;
    list_.AppendDriveRow(drive);
    window_.ShowRegisteredCount(list_.RowCount());
    return true;
}

bool Registration::RegisterPath(const std::string& path) {
    return Register(path, nullptr);
}

bool Registration::RegisterPathEvenFolder(const std::string& path, const FileInfo* known) {
    folderRowsAlways_ = true;
    const bool registered = Register(path, nullptr, known);
    folderRowsAlways_ = false;
    return registered;
}

bool Registration::Register(const std::string& rawPath, std::optional<FileInfo>* found,
                            const FileInfo* known) {
    // Copied only when there is a slash to take off: the walk's paths have none.
    std::string trimmed;
    if (rawPath.size() > 1 && rawPath.back() == '/')
        trimmed = WithoutTrailingSlashes(rawPath);
    const std::string& path = trimmed.empty() ? rawPath : trimmed;
    // The root is a drive row, never a file to rename.
    if (path == "/")
        return RegisterDriveRow("");
    // Every road hands over full paths; anything else names no file we could rename safely.
    if (path.empty() || path[0] != '/')
        return false;
    std::string key = MakePathKey(path);
    bool locked = false;
    if (StartsWith(key, locations_.programPrefix)) {
        log_.AppendLog(FormatText(msg::kInProgramPrefix, path.c_str()));
        locked = true;
    }
    if (StartsWith(key, locations_.configPrefix)) {
        log_.AppendLog(FormatText(msg::kInConfigPrefix, path.c_str()));
        locked = true;
    }
    if (Utf16Length(path) >= kMaxPathUnits) {
        log_.AppendLog(
            FormatText(msg::kPathTooLong, static_cast<int>(kMaxPathUnits), path.c_str()));
        return false;
    }
    // The system refuses such a path whole; the walk of a deep tree meets them.
    if (path.size() >= kSystemPathBytes) {
        log_.AppendLog(FormatText(msg::kPathTooLongForSystem, static_cast<int>(kSystemPathBytes),
                                  path.c_str()));
        return false;
    }
    std::optional<FileInfo> lookedUp;
    if (known == nullptr) {
        lookedUp = fs_.Find(path);
        if (found != nullptr)
            *found = lookedUp;
    }
    const FileInfo* info = known != nullptr ? known : lookedUp ? &*lookedUp : nullptr;
    if (info == nullptr)
        return false;
    if (info->IsDirectory() && settings_.registerFolders == 0 && !folderRowsAlways_)
        return false;

    std::string typeName;
    int icon = 0;
    describer_.DescribeFile(path, info->IsDirectory(), &typeName, &icon);
    const std::string& name = info->name;
    const std::string_view directory = std::string_view(path).substr(0, path.size() - name.size());

    // On a case-insensitive file system "A.JPG" is the registered "a.jpg" again.
    const std::uint32_t pathHash = FullPathHash(key);
    if (list_.CurrentPathIndex().FindPath(key, pathHash) != nullptr)
        return false;
    const bool foldsCase = FoldsCaseIn(directory);
    const std::uint32_t keyHash = foldsCase ? PathKeyHash(key, true) : pathHash;

    FolderId folderId;
    if (!locked)
        locked = !RenameTest(path, directory, *info, &folderId);

    const int position = list_.AppendFileRow(
        {std::move(key), info, typeName, icon, locked, folderId, foldsCase}, keyHash);

    window_.ShowRegisteredCount(list_.RowCount());
    validation_.OnRowRegistered(position);
    return true;
}

bool Registration::RenameTest(const std::string& path, std::string_view directory,
                              const FileInfo& info, FolderId* folderId) {
    // Never a rename at the top of the file system: a direct child of "/" or a mount point
    // would vanish for a moment under every running program.
    bool topLevel = directory == "/";
    if (!topLevel && info.IsDirectory()) {
        const auto parent = fs_.Find(std::string(WithoutTrailingSlashes(directory)));
        topLevel = !parent || parent->device != info.device;
    }
    if (topLevel) {
        log_.AppendLog(RenameTestMessage(path));
        return false;
    }
    // Kept from file to file: most files of a walk share their folder.
    std::string& folder = folderScratch_;
    folder.assign(WithoutFinalSlash(directory));
    // Read, never tried: a trial move wakes every watcher of the folder, changes the file and
    // the folder, can strand the file, and costs a round trip per file on a network.
    const FolderRights rights = RightsOf(folder);
    *folderId = rights.id;
    bool mayRename = rights.verdict != FolderRights::Verdict::Refused && !info.unchangeable;
    // Where the server decides (Unknown), its users need not be ours: the sticky bit's owners
    // are left to it.
    if (mayRename && rights.verdict == FolderRights::Verdict::Allowed && rights.sticky)
        mayRename =
            rights.caller == 0 || rights.caller == info.owner || rights.caller == rights.owner;
    if (!mayRename)
        log_.AppendLog(RenameTestMessage(path));
    return mayRename;
}

Registration::Run::Run(Registration& registration)
    : registration_(registration), guard_(registration.busy_) {
    if (guard_.Outermost())
        registration_.BeginRegistration();
}

void Registration::Run::End() {
    // Not busy any more before the progress dialog closes: closing it aborts what runs.
    if (guard_.Close())
        registration_.EndRegistration();
}

FolderRights Registration::RightsOf(const std::string& folder) {
    // Kept for one registration run only: rights may change between runs.
    if (!busy_.Busy())
        return fs_.RightsIn(folder);
    if (const auto known = rights_.find(folder); known != rights_.end())
        return known->second;
    return rights_.emplace(folder, fs_.RightsIn(folder)).first->second;
}

bool Registration::FoldsCaseIn(std::string_view directory) {
    // Kept for one registration run only, as the rights are: a medium may be mounted anew
    // between runs. The files of a walk come folder by folder.
    if (!busy_.Busy() || directory != foldsCaseFolder_) {
        foldsCase_ = fs_.TraitsOf(std::string(directory)).caseInsensitive;
        foldsCaseFolder_.assign(busy_.Busy() ? directory : std::string_view());
    }
    return foldsCase_;
}

void Registration::BeginRegistration() {
    rights_.clear();
    foldsCaseFolder_.clear();
    progress_.OpenProgressDialog();
    log_.ClearLog();
    log_.AppendLog(msg::kRegisterStart);
}

void Registration::EndRegistration() {
    progress_.CloseProgressDialog();
    list_.RenumberRows();
    log_.AppendLog(msg::kRegisterEnd);
    progress_.SetStatusProgress(0.0f);
}

}  // namespace morvane
