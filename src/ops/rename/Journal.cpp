#include "ops/rename/Journal.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <unordered_set>

#include "host/Messages.h"
#include "platform/Paths.h"

namespace morvane {
namespace {

constexpr std::string_view kSuffixes[] = {".rename.run", ".rename.done", ".rename.undone",
                                          ".undo.run", ".undo.done"};

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() > end.size() && text.substr(text.size() - end.size()) == end;
}

std::string_view SuffixOf(RunKind kind, JournalState state) {
    if (kind == RunKind::Undo)
        return state == JournalState::Running ? kSuffixes[3] : kSuffixes[4];
    return kSuffixes[static_cast<int>(state)];
}

std::string Stem(const JournalFile& file) {
    return file.name.substr(0, file.name.size() - SuffixOf(file.kind, file.state).size());
}

std::string Stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &utc);
    return text;
}

}  // namespace

std::vector<JournalFile> ListJournals(FileSystem& fs, const std::string& folder) {
    std::vector<std::string> names;
    std::vector<JournalFile> journals;
    if (!fs.ListFolder(folder, &names).Ok())
        return journals;
    for (std::string& name : names) {
        for (const RunKind kind : {RunKind::Rename, RunKind::Undo}) {
            for (const JournalState state :
                 {JournalState::Running, JournalState::Done, JournalState::Undone}) {
                if (kind == RunKind::Undo && state == JournalState::Undone)
                    continue;
                if (EndsWith(name, SuffixOf(kind, state)))
                    journals.push_back({name, kind, state});
            }
        }
    }
    // The stamp and counter lead the name, so the name order is the order of the runs.
    std::sort(journals.begin(), journals.end(),
              [](const JournalFile& a, const JournalFile& b) { return Stem(a) < Stem(b); });
    return journals;
}

std::string JournalName(const JournalFile& file, JournalState state) {
    return Stem(file) + std::string(SuffixOf(file.kind, state));
}

FsStatus MarkJournal(FileSystem& fs, const std::string& folder, JournalFile* file,
                     JournalState state) {
    std::string name = JournalName(*file, state);
    if (const FsStatus moved = fs.Move(JoinPath(folder, file->name), JoinPath(folder, name));
        !moved.Ok())
        return moved;
    file->name = std::move(name);
    file->state = state;
    return fs.SyncFolder(folder);
}

FsStatus OpenJournal(FileSystem& fs, const std::string& path, LockedFile* held,
                     JournalText* journal) {
    if (const FsStatus locked = fs.OpenLocked(path, false, held); !locked.Ok())
        return locked;
    std::string text;
    if (const FsStatus read = fs.ReadFile(path, kNoSizeLimit, &text); !read.Ok())
        return read;
    return ParseJournal(text, journal) ? FsStatus::Done() : FsStatus::Failed(FsOp::Read, EINVAL);
}

FsStatus EndJournal(FileSystem& fs, const std::string& folder, JournalFile* file, LockedFile& held,
                    std::string_view lastLine, JournalState state) {
    FsStatus status = fs.Append(held, lastLine, true);
    if (status.Ok())
        status = MarkJournal(fs, folder, file, state);
    held.Close();
    return status;
}

int PruneJournals(FileSystem& fs, const std::string& folder, std::uint64_t bytesKept) {
    std::vector<JournalFile> journals = ListJournals(fs, folder);
    std::vector<std::uint64_t> sizes(journals.size(), 0);
    std::size_t finished = 0;
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < journals.size(); ++i) {
        if (journals[i].state == JournalState::Running)
            continue;  // only recovery decides about those
        ++finished;
        if (const auto info = fs.Find(JoinPath(folder, journals[i].name)))
            sizes[i] = info->size;
        bytes += sizes[i];
    }
    int forSize = 0;
    for (std::size_t i = 0; i < journals.size(); ++i) {
        if (finished <= kJournalsKept && bytes <= bytesKept)
            break;
        if (journals[i].state == JournalState::Running)
            continue;
        const bool tooMany = finished > kJournalsKept;
        if (!fs.Remove(JoinPath(folder, journals[i].name)).Ok())
            continue;
        forSize += tooMany ? 0 : 1;
        --finished;
        bytes -= sizes[i];
    }
    if (forSize != 0) {
        const std::string text = std::to_string(DroppedRuns(fs, folder) + forSize);
        (void)fs.WriteFileAtomic(JoinPath(folder, kDroppedFile), text);
    }
    return forSize;
}

int DroppedRuns(FileSystem& fs, const std::string& folder) {
    std::string text;
    if (!fs.ReadFile(JoinPath(folder, kDroppedFile), 64, &text).Ok())
        return 0;
    return std::atoi(text.c_str());
}

FsStatus Journal::Begin(const std::string& folder, RunKind kind, std::string_view undoes,
                        const std::vector<JournalVolume>& volumes,
                        const std::vector<JournalEntry>& plan) {
    folder_ = folder;
    if (folder.empty())
        return FsStatus::Failed(FsOp::Create, ENOENT);
    if (const FsStatus made = MakeFolders(fs_, folder); !made.Ok())
        return made;
    const std::string stamp = Stamp();
    // The counter goes past every journal of the same second, whatever its state, so the
    // names keep the order of the runs.
    unsigned first = 0;
    for (const JournalFile& file : ListJournals(fs_, folder)) {
        if (file.name.compare(0, stamp.size() + 1, stamp + "-") == 0)
            first = std::max(first, static_cast<unsigned>(std::strtoul(
                                        file.name.c_str() + stamp.size() + 1, nullptr, 10)) +
                                        1);
    }
    FsStatus opened;
    for (unsigned n = first;; ++n) {
        entry_ = {FormatText("%s-%04u", stamp.c_str(), n) +
                      std::string(SuffixOf(kind, JournalState::Running)),
                  kind, JournalState::Running};
        opened = fs_.OpenLocked(JoinPath(folder, entry_.name), true, &file_);
        if (opened.error != EEXIST || n == 9999)
            break;
    }
    if (!opened.Ok())
        return opened;
    std::string text = JournalHeader(kind, undoes);
    text.reserve(text.size() + plan.size() * 200);
    if (!plan.empty()) {
        std::unordered_set<std::string_view> folders;
        for (const JournalEntry& entry : plan)
            folders.insert(ParentOf(entry.from));
        text += SummaryLine(plan.size(), folders.size(), ParentOf(plan.front().from));
    }
    for (const JournalVolume& volume : volumes)
        text += VolumeLine(volume);
    for (const JournalEntry& entry : plan)
        AppendPlanLine(&text, entry);
    text += PlannedLine(plan.size());
    FsStatus written = fs_.Append(file_, text, true);
    if (written.Ok())
        written = fs_.SyncFolder(folder);
    if (!written.Ok()) {
        (void)fs_.Remove(JoinPath(folder, entry_.name));
        file_.Close();
    }
    return written;
}

FsStatus Journal::ExtraTemp(std::size_t index, std::string_view path) {
    return fs_.Append(file_, ExtraTempLine(index, path), true);
}

FsStatus Journal::Progress(std::uint16_t depth, int phase) {
    return fs_.Append(file_, ProgressLine(depth, phase), true);
}

FsStatus Journal::Complete() {
    const FsStatus status =
        EndJournal(fs_, folder_, &entry_, file_, kCompleteLine, JournalState::Done);
    (void)PruneJournals(fs_, folder_);
    return status;
}

}  // namespace morvane
