#include "listfile/ListFile.h"

#include "app/CMorvaneApp.h"
#include "app/Host.h"
#include "app/Messages.h"
#include "list/ListColumns.h"
#include "listfile/ListFileReader.h"
#include "listfile/ListFileWriter.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace morvane {
namespace {

// A NUL byte cannot be part of a file name; the system calls would see only the text
// before it, so a stored path with one names no file, and a stored name is cut there.
bool NamesNoFile(const std::string& path) {
    return path.empty() || path.find('\0') != std::string::npos;
}

std::string CutAtNul(std::string text) {
    if (const auto nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

}  // namespace

bool ListFile::SaveListFile(const std::string& path) {
    listfile::ListFileWriter writer;
    ListModel& list = app_.list;
    for (int row = 0; row < list.RowCount(); ++row) {
        const std::string& key = list.EntryAt(row)->currentKey;
        if (!writer.AddRecord(ToLocaleCodePage(key), ToLocaleCodePage(list.Cell(row, ColNewName))))
            return false;
    }
    // Written beside the target and renamed over it, so a failure leaves any earlier file.
    if (app_.fs.WriteFileAtomic(path, writer.Finish()) != 0)
        return false;
    app_.listFilePath = path;
    return true;
}

namespace {
// Far beyond any list (100,000 rows take about 20 MB).
constexpr std::uint64_t kMaxListFileBytes = std::uint64_t{1} << 30;
}  // namespace

bool ListFile::LoadListFile(const std::string& path) {
    Registration& registration = app_.registration;
    registration.BeginRegistration();
    // Only a regular file is read (a pipe would never end), and only one of a size a list can
    // have: a video named on the command line is not read whole into memory.
    const auto info = app_.fs.Find(path);
    std::string data;
    if (!info || info->kind != FileKind::Regular ||
        (info->size <= kMaxListFileBytes && !app_.fs.ReadFile(path, &data))) {
        registration.EndRegistration();
        return false;
    }
    app_.RemoveAllRows();

    listfile::ListFileReader reader(data);
    if (!reader.ReadHeader()) {
        // Not a list file: it must not become the target of a later overwrite-save.
        registration.EndRegistration();
        return true;
    }
    const std::int32_t count = reader.RecordCount();
    bool damaged = false;
    listfile::ListFileRecord record;
    for (std::int32_t i = 0; i < count; ++i) {
        if (reader.ReadRecord(&record) != listfile::ListFileReader::Result::Record) {
            damaged = true;
            break;
        }
        const std::string storedPath = FromLocaleCodePage(record.path);
        if (NamesNoFile(storedPath) || !app_.fs.Exists(storedPath)) {
            app_.AppendLog(FormatText(msg::kListFileMissingPath, storedPath.c_str()));
            continue;
        }
        const std::string newName = CutAtNul(FromLocaleCodePage(record.newName));
        if (registration.RegisterPath(storedPath)) {
            // The row just appended; rows a nested drop adds come only while pumping below.
            app_.validation.SetNewName(app_.list.RowCount() - 1, newName);
        }
        Host& host = app_.host;
        host.SetOverallText(storedPath);
        host.SetOverallProgress(static_cast<float>(i) / static_cast<float>(count));
        host.SetDetailText(newName);
        host.SetDetailProgress(1.0f);
        app_.PumpMessages();
        if (!app_.registrationBusy)
            break;
    }
    if (damaged)
        app_.AppendLog(FormatText(msg::kListFileDamaged, path.c_str()));
    registration.EndRegistration();
    // A damaged file keeps records the load could not read; overwriting it without asking
    // would lose them for good.
    if (!damaged)
        app_.listFilePath = path;
    return true;
}

void ListFile::OnLoadListFile() {
    if (app_.registrationBusy)
        return;
    const std::string path = app_.host.ChooseListFileToLoad();
    if (!path.empty())
        LoadListFile(path);
}

void ListFile::OnSaveListFileAs() {
    const std::string path = app_.host.ChooseListFileToSave();
    if (path.empty())
        return;
    if (app_.fs.Exists(path) &&
        !app_.host.AskYesNo(FormatText(msg::kOverwriteQuestion, path.c_str()),
                            msg::kSaveAsCaption)) {
        return;
    }
    SaveListFile(path);
}

void ListFile::OnOverwriteSaveListFile() {
    if (app_.listFilePath.empty()) {
        OnSaveListFileAs();
        return;
    }
    if (SaveListFile(app_.listFilePath))
        app_.AppendLog(FormatText(msg::kOverwriteSaved, app_.listFilePath.c_str()));
}

}  // namespace morvane
