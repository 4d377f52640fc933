#include "ops/registration/Navigation.h"

#include <vector>

#include "host/ActivityLog.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "host/Progress.h"
#include "ops/registration/Registration.h"
#include "ops/rows/RowRemoval.h"
#include "platform/Directories.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "settings/AppSettings.h"

namespace morvane {

void Navigation::ShowFolder(const std::string& folder) {
    window_.SetMainWindowEnabled(false);
    std::vector<std::string> names;
    if (fs_.ListFolder(folder.empty() ? "/" : folder, &names).Ok()) {
        const auto count = static_cast<float>(names.size());
        int i = 0;
        for (const std::string& name : names) {
            registration_.RegisterPath(JoinPath(folder, name));
            ++i;
            progress_.SetStatusProgress(static_cast<float>(i) / count);
        }
        window_.RedrawList();
    } else {
        log_.AppendLog(FormatText(msg::kFolderUnreadable, folder.empty() ? "/" : folder.c_str()));
    }
    progress_.SetStatusProgress(0.0f);
    window_.SetMainWindowEnabled(true);
}

void Navigation::ShowDrivesAndFolders() {
    // The root's row has the empty key (its path "/" without the separator, so that a key
    // plus "/" plus a name is a path below it); mounted media follow.
    registration_.RegisterDriveRow("");
    for (const std::string& mountPoint : RemovableMountPoints(fs_))
        registration_.RegisterDriveRow(mountPoint);
    for (UserFolder which : {UserFolder::Documents, UserFolder::Pictures, UserFolder::Music,
                             UserFolder::Videos, UserFolder::Desktop}) {
        const std::string path = UserFolderPath(fs_, which);
        if (!path.empty() && fs_.Exists(path))
            registration_.RegisterPath(path);
    }
}

bool Navigation::CanGoUp() const {
    const AppSettings& s = settings_;
    return s.registerFolders != 0 && s.openOnSelection != 0 && s.folderNavigation != 0;
}

void Navigation::EnterFolder(const std::string& folder) {
    currentFolder_ = folder;
    removal_.ClearAllRows();
    ShowFolder(folder);
}

void Navigation::OnGoUp() {
    removal_.ClearAllRows();
    if (FolderOf(currentFolder_).empty()) {
        ShowDrivesAndFolders();
        return;
    }
    currentFolder_ = std::string(WithoutFinalSlash(FolderOf(currentFolder_)));
    ShowFolder(currentFolder_);
}

}  // namespace morvane
