// Export of the new names to the text file, and the row lock that ties its lines to rows.

#include "ops/textfile/TextRoundTrip.h"

#include <cerrno>
#include <cstdio>

#include "host/ActivityLog.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/Busy.h"
#include "ops/Locations.h"
#include "ops/rows/ShellOpen.h"
#include "ops/textfile/EditorCommand.h"
#include "ops/textfile/InstanceRecord.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "rules/Validation.h"
#include "settings/AppSettings.h"

namespace morvane {

TextFileStamp StampOf(const FileInfo& info) {
    TextFileStamp stamp;
    stamp.mtimeSec = info.mtimeSec;
    stamp.mtimeNsec = info.mtimeNsec;
    stamp.size = info.size;
    stamp.device = info.device;
    stamp.inode = info.inode;
    return stamp;
}

std::string TextFileName(std::uint32_t counter, const LocalTime& t) {
    char name[96];
    std::snprintf(name, sizeof name, "%08x[MORVANE]_%02d%02d%02d%02d%02d%02d.txt", counter, t.year,
                  t.month, t.day, t.hour, t.minute, t.second);
    return name;
}

void TextRoundTrip::OnEditInTextEditor(bool fromToolbar) {
    // The toolbar button has already toggled itself when its command arrives.
    const bool checked = window_.EditorButtonChecked();
    if (busy_.Busy()) {
        // Back to what the lock is, so the button never claims a lock that does not hold
        // (or hides one that does).
        window_.SetEditorButtonChecked(RowLocked());
        log_.AppendLog(msg::kBusy);
        return;
    }
    const bool wantLock = fromToolbar ? checked : !checked;
    if (wantLock) {
        ExportAndLock();
    } else {
        UnlockRows();
    }
}

void TextRoundTrip::ExportAndLock() {
    ListModel& list = list_;
    const int n = list.RowCount();
    // One line per row: a name holding a line break would push every later line onto the
    // wrong row.
    for (int row = 0; row < n; ++row) {
        const std::string_view name = list.Cell(row, ColNewName);
        if (name.find_first_of("\r\n") != std::string_view::npos) {
            log_.AppendLog(
                FormatText(msg::kNewlineInName, list.RowNumberOf(row), std::string(name).c_str()));
            window_.SetEditorButtonChecked(RowLocked());
            return;
        }
    }
    std::string content;
    for (int row = 0; row < n; ++row) {
        content += ToLocaleCodePage(list.Cell(row, ColNewName));
        content += '\n';
    }

    const LocalTime now = CurrentLocalTime();
    std::string path;
    int error = EEXIST;
    // Created exclusively and never through a link, so nothing planted in a shared temporary
    // folder can make us write elsewhere; a taken name moves on to the next counter.
    for (std::uint32_t counter = 0; error == EEXIST; ++counter) {
        path = locations_.tempDir + TextFileName(counter, now);
        error = fs_.CreateExclusive(path, content).error;
        if (counter == 0xffffffffu)
            break;
    }
    if (error != 0) {
        window_.SetEditorButtonChecked(RowLocked());
        return;
    }

    instance_.TextFileCreated(path);
    // Rows are tied to a file only while an editor shows it.
    if (!OpenInEditor(path)) {
        log_.AppendLog(msg::kEditorNotStarted);
        if (fs_.Remove(path).Ok())
            instance_.TextFileRemoved(path);
        window_.SetEditorButtonChecked(RowLocked());
        return;
    }
    LockRows(path);
    window_.SetEditorButtonChecked(true);
}

bool TextRoundTrip::OpenInEditor(const std::string& path) {
    if (settings_.useTerminalEditor == 0 && settings_.useExternalEditor == 0)
        return OpenWithDesktop(fs_, log_, path);
    EditorChoice choice;
    choice.commandLine = settings_.editorPath;
    choice.inTerminal = settings_.useTerminalEditor != 0;
    std::string why;
    const std::vector<std::string> words = EditorArguments(choice, path, fs_, &why);
    if (words.empty()) {
        log_.AppendLog(why);
        return false;
    }
    const ShellOutcome outcome =
        StartDetached(words.front(), std::vector<std::string>(words.begin() + 1, words.end()));
    ReportOpenFailure(log_, outcome, words.front());
    return outcome == ShellOutcome::Started;
}

void TextRoundTrip::LockRows(const std::string& path) {
    if (const auto info = fs_.Find(path)) {
        textFileTime_ = FormatUtc(info->mtimeSec);
        textFileStamp_ = StampOf(*info);
    } else {
        textFileStamp_ = {};
    }
    pendingTextStamp_ = {};
    textFilePath_ = path;
    lock_.Take(*this);
    window_.RedrawList();
    window_.ShowRowLock(true);
    log_.AppendLog(FormatText(msg::kLocked, path.c_str()));
}

void TextRoundTrip::UnlockRows() {
    log_.AppendLog(FormatText(msg::kUnlocked, textFilePath_.c_str()));
    if (fs_.Remove(textFilePath_).Ok())
        instance_.TextFileRemoved(textFilePath_);
    else
        log_.AppendLog(FormatText(msg::kTextDeleteFailed, textFilePath_.c_str()));
    textFilePath_.clear();
    textFileStamp_ = {};
    pendingTextStamp_ = {};
    lock_.Released();
    window_.RedrawList();
    window_.ShowRowLock(false);
    window_.SetEditorButtonChecked(false);
    list_.RenumberRows();
}

}  // namespace morvane
