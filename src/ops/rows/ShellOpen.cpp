#include "ops/rows/ShellOpen.h"

#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/registration/Navigation.h"
#include "ops/textfile/RowLock.h"
#include "platform/Shell.h"
#include "settings/AppSettings.h"

namespace morvane {

bool OpenWithDesktop(FileSystem& fs, ActivityLog& log, const std::string& path) {
    const ShellOutcome outcome = OpenWithDefaultApplication(fs, path);
    ReportOpenFailure(log, outcome, path);
    return outcome == ShellOutcome::Started;
}

void ReportOpenFailure(ActivityLog& log, ShellOutcome outcome, const std::string& path) {
    const char* format = nullptr;
    switch (outcome) {
        case ShellOutcome::Started:
            return;
        case ShellOutcome::OutOfResources:
            format = msg::kShellNoMemory;
            break;
        case ShellOutcome::FileNotFound:
            format = msg::kShellFileNotFound;
            break;
        case ShellOutcome::PathNotFound:
            format = msg::kShellPathNotFound;
            break;
        case ShellOutcome::AccessDenied:
            format = msg::kShellAccessDenied;
            break;
        case ShellOutcome::BadFormat:
            format = msg::kShellBadFormat;
            break;
        case ShellOutcome::NoAssociation:
            format = msg::kShellNoAssociation;
            break;
    }
    log.AppendLog(FormatText(format, path.c_str()));
}

bool ShellOpen::Applies() const {
    return settings_.openOnSelection != 0;
}

void ShellOpen::OpenSelectedEntries() {
    for (const int row : list_.SelectedRows()) {
        const std::string attributes(list_.Cell(row, ColAttributes).substr(0, 256));
        // Copied: the row is gone once the list shows the folder.
        const std::string key = list_.EntryAt(row)->currentKey;
        const bool folder = attributes.empty() || attributes.find('D') != std::string::npos;
        if (folder && settings_.folderNavigation != 0) {
            // Replacing the rows would tie the locked text lines to other files.
            if (!rowLock_.ConfirmUnlockRows())
                return;
            navigation_.EnterFolder(key);
            return;
        }
        // The root's row has the empty key.
        OpenWithDesktop(fs_, log_, key.empty() ? "/" : key);
    }
}

}  // namespace morvane
