#include "ops/listfiles/ListFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "formats/ListFileReader.h"
#include "formats/ListFileWriter.h"
#include "host/ActivityLog.h"
#include "host/Dialogs.h"
#include "host/Messages.h"
#include "host/Progress.h"
#include "model/ListModel.h"
#include "ops/Busy.h"
#include "ops/ItemBreak.h"
#include "ops/registration/Registration.h"
#include "ops/rows/RowRemoval.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "rules/Validation.h"

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
    ListModel& list = list_;
    for (int row = 0; row < list.RowCount(); ++row) {
        const std::string& key = list.EntryAt(row)->currentKey;
        if (!writer.AddRecord(ToLocaleCodePage(key),
                              ToLocaleCodePage(list.Cell(row, ColNewName)))) {
            ReportSaveFailure(path, EOVERFLOW);
            return false;
        }
    }
    // Written beside the target and renamed over it, so a failure leaves any earlier file.
    if (const FsStatus written = fs_.WriteFileAtomic(path, writer.Finish()); !written.Ok()) {
        ReportSaveFailure(path, written.error);
        return false;
    }
    listFilePath_ = path;
    return true;
}

void ListFile::ReportSaveFailure(const std::string& path, int error) {
    log_.AppendLog(FormatText(msg::kListFileNotSaved, path.c_str(), std::strerror(error)));
}

namespace {
// Far beyond any list (100,000 rows take about 20 MB).
constexpr std::uint64_t kMaxListFileBytes = std::uint64_t{1} << 30;
}  // namespace

bool ListFile::LoadListFile(const std::string& path) {
    Registration::Run run(registration_);
    // Only a regular file is read (a pipe would never end), and only one of a size a list can
    // have: a video named on the command line is not read whole into memory, and, opened but
    // unread, is no list file.
    std::string data;
    if (const FsStatus read = fs_.ReadFile(path, kMaxListFileBytes, &data);
        !read.Ok() && read.error != EFBIG) {
        return false;
    }
    removal_.RemoveAllRows();
    // The rows are gone: until this load completes, the list is one never saved, and an
    // overwrite-save must ask for a name rather than replace the file loaded before.
    listFilePath_.clear();

    listfile::ListFileReader reader(data);
    if (!reader.ReadHeader()) {
        // Not a list file: it must not become the target of a later overwrite-save.
        return true;
    }
    const std::int32_t count = reader.RecordCount();
    bool damaged = false;
    bool stopped = false;
    // The names are set once every record is in: checked one by one, each half of a swap or
    // link of a chain would be in error until its partner came, and the log would say so.
    std::vector<LoadedName> loaded;
    listfile::ListFileRecord record;
    for (std::int32_t i = 0; i < count; ++i) {
        if (reader.ReadRecord(&record) != listfile::ListFileReader::Result::Record) {
            damaged = true;
            break;
        }
        const std::string storedPath = FromLocaleCodePage(record.path);
        if (NamesNoFile(storedPath) || !fs_.Exists(storedPath)) {
            log_.AppendLog(FormatText(msg::kListFileMissingPath, storedPath.c_str()));
            continue;
        }
        const std::string newName = CutAtNul(FromLocaleCodePage(record.newName));
        if (registration_.RegisterPath(storedPath)) {
            // The row just appended; rows a nested drop adds come only in the item break below.
            loaded.push_back({list_.EntryAt(list_.RowCount() - 1)->currentKey, newName});
        }
        progress_.SetOverallText(storedPath);
        progress_.SetOverallProgress(static_cast<float>(i) / static_cast<float>(count));
        progress_.SetDetailText(newName);
        progress_.SetDetailProgress(1.0f);
        itemBreak_();
        if (!busy_.Busy()) {
            stopped = true;
            break;
        }
    }
    SetLoadedNames(loaded);
    if (damaged)
        log_.AppendLog(FormatText(msg::kListFileDamaged, path.c_str()));
    run.End();
    // A damaged file keeps records the load could not read, and a stopped load the records
    // after it; overwriting either without asking would lose them for good.
    if (!damaged && !stopped)
        listFilePath_ = path;
    return true;
}

void ListFile::SetLoadedNames(const std::vector<LoadedName>& loaded) {
    // Found again by path: the item breaks of the load may have removed or moved rows.
    std::vector<NewName> batch;
    batch.reserve(loaded.size());
    for (const LoadedName& one : loaded) {
        if (const FileEntry* entry = list_.CurrentPathIndex().Find(one.path))
            batch.emplace_back(entry->row, one.name);
    }
    // In list order, so the messages come in the order of the rows; a row named twice (removed
    // and loaded again meanwhile) keeps the later name.
    std::stable_sort(batch.begin(), batch.end(),
                     [](const NewName& a, const NewName& b) { return a.row < b.row; });
    const auto sameRow = [](const NewName& a, const NewName& b) { return a.row == b.row; };
    std::reverse(batch.begin(), batch.end());
    batch.erase(std::unique(batch.begin(), batch.end(), sameRow), batch.end());
    std::reverse(batch.begin(), batch.end());
    validation_.SetNewNames(batch, NameSource::Row);
}

void ListFile::OnLoadListFile() {
    if (busy_.Busy())
        return;
    const std::string path = dialogs_.ChooseListFileToLoad();
    if (!path.empty())
        LoadListFile(path);
}

void ListFile::OnSaveListFileAs() {
    const std::string path = dialogs_.ChooseListFileToSave();
    if (path.empty())
        return;
    if (fs_.Exists(path) && !dialogs_.AskYesNo(FormatText(msg::kOverwriteQuestion, path.c_str()),
                                               msg::kSaveAsCaption)) {
        return;
    }
    SaveListFile(path);
}

void ListFile::OnOverwriteSaveListFile() {
    if (listFilePath_.empty()) {
        OnSaveListFileAs();
        return;
    }
    if (SaveListFile(listFilePath_))
        log_.AppendLog(FormatText(msg::kOverwriteSaved, listFilePath_.c_str()));
}

}  // namespace morvane
