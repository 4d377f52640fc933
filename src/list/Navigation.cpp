// Folder navigation: one folder's content, or the drive rows and the user's folders.

#include <array>
#include <memory>
#include <string_view>

#include "app/CMorvaneApp.h"
#include "app/Host.h"
#include "app/Messages.h"
#include "list/Registration.h"
#include "platform/Directories.h"

namespace morvane {

void Registration::ShowFolder(const std::string& folder) {
    app_.host.SetMainWindowEnabled(false);
    std::vector<std::string> names;
    if (app_.fs.ListFolder(folder.empty() ? "/" : folder, &names)) {
        const auto count = static_cast<float>(names.size());
        int i = 0;
        for (const std::string& name : names) {
            RegisterPath(JoinPath(folder, name));
            ++i;
            app_.host.SetStatusProgress(static_cast<float>(i) / count);
        }
        app_.host.RedrawList();
    } else {
        app_.AppendLog(FormatText(msg::kFolderUnreadable, folder.empty() ? "/" : folder.c_str()));
    }
    app_.host.SetStatusProgress(0.0f);
    app_.host.SetMainWindowEnabled(true);
}

void Registration::ShowDrivesAndFolders() {
    // The root's row has the empty key, as a drive's did; mounted media follow.
    RegisterDriveRow("");
    for (const std::string& mountPoint : RemovableMountPoints())
        RegisterDriveRow(mountPoint);
    for (UserFolder which : {UserFolder::Documents, UserFolder::Pictures, UserFolder::Music,
                             UserFolder::Videos, UserFolder::Desktop}) {
        const std::string path = UserFolderPath(which);
        if (!path.empty() && app_.fs.Exists(path))
            RegisterPath(path);
    }
}

bool Registration::RegisterDriveRow(const std::string& drive) {
    const std::string key = MakePathKey(drive);
    if (app_.list.CurrentPathIndex().Find(key) != nullptr)
        return false;
    auto row = std::make_unique<ListRow>();
    FileEntry& entry = row->entry;
    entry.errors = ErrRenameTest;
    entry.currentKey = key;
    entry.newKey = key;
    entry.dirLength = 2;
    app_.list.CurrentPathIndex().Insert(&entry);
    app_.list.NewPathIndex().Insert(&entry);
    row->icon = 0;
    const std::string shown = drive.empty() ? "/" : drive;
    std::array<std::string_view, ColumnCount> cells{};
    const std::string number = std::to_string(app_.list.RowCount() + 1);
    cells[ColCurrentName] = shown;
    cells[ColNewName] = shown;
    cells[ColSize] = "0";
    cells[ColRowNumber] = number;
    cells[ColDirectory] = "D";
    row->cells.Assign(cells);
    const int position = app_.list.AppendRow(std::move(row));
    app_.ShowRegisteredCount();
    app_.list.RefreshErrorColumn(position);
    return true;
}

void Registration::OnGoUp() {
    const AppSettings& s = app_.settings;
    if (s.registerFolders == 0 || s.openOnSelection == 0 || s.folderNavigation == 0)
        return;
    if (app_.RefuseWhileBusy())
        return;
    // Replacing the rows would tie the locked text lines to other files.
    if (!app_.ConfirmUnlockRows())
        return;
    app_.ClearAllRows();
    const auto slash = app_.currentFolder.find_last_of('/');
    if (slash == std::string::npos) {
        ShowDrivesAndFolders();
        return;
    }
    app_.currentFolder.erase(slash);
    ShowFolder(app_.currentFolder);
}

}  // namespace morvane
