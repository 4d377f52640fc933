// Export of the new names to the text file, and the row lock that ties its lines to rows.

#include "editor/TextRoundTrip.h"

#include <cerrno>
#include <cstdio>

#include "app/CMorvaneApp.h"
#include "app/Host.h"
#include "app/Messages.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace morvane {

TextFileStamp StampOf(const FileInfo& info) {
    TextFileStamp stamp;
    stamp.mtimeSec = info.mtimeSec;
    stamp.mtimeNsec = info.mtimeNsec;
    stamp.size = info.size;
    stamp.device = info.device;
    stamp.inode = info.inode;
    stamp.known = true;
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
    const bool checked = app_.host.EditorButtonChecked();
    if (app_.registrationBusy) {
        // Back to what the lock is, so the button never claims a lock that does not hold
        // (or hides one that does).
        app_.host.SetEditorButtonChecked(app_.rowLocked);
        app_.AppendLog(msg::kBusy);
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
    ListModel& list = app_.list;
    const int n = list.RowCount();
    // One line per row: a name holding a line break would push every later line onto the
    // wrong row.
    for (int row = 0; row < n; ++row) {
        const std::string_view name = list.Cell(row, ColNewName);
        if (name.find_first_of("\r\n") != std::string_view::npos) {
            app_.AppendLog(
                FormatText(msg::kNewlineInName, list.RowNumberOf(row), std::string(name).c_str()));
            app_.host.SetEditorButtonChecked(app_.rowLocked);
            return;
        }
    }
    std::string content;
    for (int row = 0; row < n; ++row) {
        content += ToLocaleCodePage(list.Cell(row, ColNewName));
        content += "\r\n";
    }

    const LocalTime now = CurrentLocalTime();
    std::string path;
    int error = EEXIST;
    // Created exclusively and never through a link, so nothing planted in a shared temporary
    // folder can make us write elsewhere; a taken name moves on to the next counter.
    for (std::uint32_t counter = 0; error == EEXIST; ++counter) {
        path = app_.tempDir + TextFileName(counter, now);
        error = app_.fs.CreateExclusive(path, content);
        if (counter == 0xffffffffu)
            break;
    }
    if (error != 0) {
        app_.host.SetEditorButtonChecked(app_.rowLocked);
        return;
    }

    LockRows(path);

    if (app_.settings.useExternalEditor != 0) {
        const int result = StartDetached(app_.settings.editorPath, {path});
        if (result <= 32)
            app_.shellOpen.ReportShellExecuteError(result, app_.settings.editorPath);
    } else {
        app_.shellOpen.ShellOpenPath(path);
    }
    app_.host.SetEditorButtonChecked(true);
}

void TextRoundTrip::LockRows(const std::string& path) {
    if (const auto info = app_.fs.Find(path)) {
        app_.textFileTime = FormatUtc(info->mtimeSec);
        app_.textFileStamp = StampOf(*info);
    } else {
        app_.textFileStamp = {};
    }
    app_.pendingTextStamp = {};
    app_.textFilePath = path;
    app_.rowLocked = true;
    app_.host.RedrawList();
    app_.host.ShowRowLock(true);
    app_.AppendLog(FormatText(msg::kLocked, path.c_str()));
}

void TextRoundTrip::UnlockRows() {
    app_.AppendLog(FormatText(msg::kUnlocked, app_.textFilePath.c_str()));
    if (app_.fs.Remove(app_.textFilePath) != 0)
        app_.AppendLog(FormatText(msg::kTextDeleteFailed, app_.textFilePath.c_str()));
    app_.textFilePath.clear();
    app_.textFileStamp = {};
    app_.pendingTextStamp = {};
    app_.rowLocked = false;
    app_.host.RedrawList();
    app_.host.ShowRowLock(false);
    app_.host.SetEditorButtonChecked(false);
    app_.list.RenumberRows();
}

}  // namespace morvane
