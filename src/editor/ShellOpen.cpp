#include "editor/ShellOpen.h"

#include "app/CMorvaneApp.h"
#include "app/Messages.h"
#include "list/ListColumns.h"
#include "platform/Shell.h"

namespace morvane {

void ShellOpen::ShellOpenPath(const std::string& path) {
    ReportShellExecuteError(OpenWithDefaultApplication(path), path);
}

void ShellOpen::ReportShellExecuteError(int result, const std::string& path) {
    const char* format = nullptr;
    switch (result) {
        case 0:
        case 8:
            format = msg::kShellNoMemory;
            break;
        case 2:
            format = msg::kShellFileNotFound;
            break;
        case 3:
            format = msg::kShellPathNotFound;
            break;
        case 5:
        case 26:
            format = msg::kShellAccessDenied;
            break;
        case 11:
            format = msg::kShellBadFormat;
            break;
        case 27:
        case 31:
            format = msg::kShellNoAssociation;
            break;
        default:
            return;
    }
    app_.AppendLog(FormatText(format, path.c_str()));
}

void ShellOpen::OpenSelectedEntries() {
    if (app_.settings.openOnSelection == 0)
        return;
    if (app_.RefuseWhileBusy())
        return;
    for (const int row : app_.list.SelectedRows()) {
        const std::string attributes(app_.list.Cell(row, ColAttributes).substr(0, 256));
        // Copied: the row is gone once the list shows the folder.
        const std::string key = app_.list.EntryAt(row)->currentKey;
        const bool folder = attributes.empty() || attributes.find('D') != std::string::npos;
        if (folder && app_.settings.folderNavigation != 0) {
            // Replacing the rows would tie the locked text lines to other files.
            if (!app_.ConfirmUnlockRows())
                return;
            app_.currentFolder = key;
            app_.ClearAllRows();
            app_.registration.ShowFolder(key);
            return;
        }
        // The root's row has the empty key.
        ShellOpenPath(key.empty() ? "/" : key);
    }
}

}  // namespace morvane
