// Folder navigation: one folder's content, or the drive rows and the user's folders.

#include <array>
#include <memory>
#include <string_view>

#include "host/ActivityLog.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/Registration.h"
#include "ops/RowRemoval.h"
#include "ops/TextRoundTrip.h"
#include "platform/Directories.h"
#include "platform/Paths.h"
#include "settings/AppSettings.h"

namespace morvane {
namespace {

// A drive row (the root, a mounted medium) is a place to go into, never a file to rename. It
// reads as a folder of size 0. Its folder part counts as two characters, so the name editor
// leaves it the same room as any row one level down.
constexpr std::uint32_t kDriveRowErrors = ErrRenameTest;
constexpr std::uint16_t kDriveRowDirLength = 2;
constexpr std::string_view kDriveRowSize = "0";
constexpr std::string_view kDriveRowDirectoryMark = "D";  // what the folder column shows

}  // namespace

void Registration::ShowFolder(const std::string& folder) {
    host_.SetMainWindowEnabled(false);
    std::vector<std::string> names;
    if (fs_.ListFolder(folder.empty() ? "/" : folder, &names).Ok()) {
        const auto count = static_cast<float>(names.size());
        int i = 0;
        for (const std::string& name : names) {
            RegisterPath(JoinPath(folder, name));
            ++i;
            host_.SetStatusProgress(static_cast<float>(i) / count);
        }
        host_.RedrawList();
    } else {
        log_.AppendLog(FormatText(msg::kFolderUnreadable, folder.empty() ? "/" : folder.c_str()));
    }
    host_.SetStatusProgress(0.0f);
    host_.SetMainWindowEnabled(true);
}

void Registration::ShowDrivesAndFolders() {
    // The root's row has the empty key (its path "/" without the separator, so that a key
    // plus "/" plus a name is a path below it); mounted media follow.
    RegisterDriveRow("");
    for (const std::string& mountPoint : RemovableMountPoints(fs_))
        RegisterDriveRow(mountPoint);
    for (UserFolder which : {UserFolder::Documents, UserFolder::Pictures, UserFolder::Music,
                             UserFolder::Videos, UserFolder::Desktop}) {
        const std::string path = UserFolderPath(fs_, which);
        if (!path.empty() && fs_.Exists(path))
            RegisterPath(path);
    }
}

bool Registration::RegisterDriveRow(const std::string& drive) {
    const std::string key = MakePathKey(drive);
    if (list_.CurrentPathIndex().Find(key) != nullptr)
        return false;
    auto row = std::make_unique<ListRow>();
    FileEntry& entry = row->entry;
    entry.errors = kDriveRowErrors;
    entry.currentKey = key;
    entry.dirLength = kDriveRowDirLength;
    list_.CurrentPathIndex().Insert(&entry);
    list_.NewPathIndex().Insert(&entry);
    row->icon = kDriveIconIndex;
    const std::string shown = drive.empty() ? "/" : drive;
    std::array<std::string_view, ColumnCount> cells{};
    const std::string number = std::to_string(list_.RowCount() + 1);
    cells[ColCurrentName] = shown;
    cells[ColNewName] = shown;
    cells[ColSize] = kDriveRowSize;
    cells[ColRowNumber] = number;
    cells[ColDirectory] = kDriveRowDirectoryMark;
    row->cells.Assign(cells);
    const int position = list_.AppendRow(std::move(row));
    host_.ShowRegisteredCount(list_.RowCount());
    list_.RefreshErrorColumn(position);
    return true;
}

bool Registration::CanGoUp() const {
    const AppSettings& s = settings_;
    return s.registerFolders != 0 && s.openOnSelection != 0 && s.folderNavigation != 0;
}

void Registration::EnterFolder(const std::string& folder) {
    currentFolder_ = folder;
    removal_.ClearAllRows();
    ShowFolder(folder);
}

void Registration::OnGoUp() {
    if (!CanGoUp())
        return;
    if (busy_.RefuseWhileBusy(log_))
        return;
    // Replacing the rows would tie the locked text lines to other files.
    if (!rowLock_.ConfirmUnlockRows())
        return;
    removal_.ClearAllRows();
    if (FolderOf(currentFolder_).empty()) {
        ShowDrivesAndFolders();
        return;
    }
    currentFolder_ = std::string(WithoutFinalSlash(FolderOf(currentFolder_)));
    ShowFolder(currentFolder_);
}

}  // namespace morvane
