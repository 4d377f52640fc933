#include "ops/rename/RenameEngine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>
#include <utility>

#include "host/ActivityLog.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "host/Progress.h"
#include "model/ListModel.h"
#include "ops/ItemBreak.h"
#include "ops/rename/PlanIdentity.h"
#include "ops/rename/TemporaryName.h"
#include "platform/FileSystem.h"
#include "platform/FolderPresence.h"
#include "platform/Paths.h"
#include "platform/SameFile.h"

namespace morvane {
namespace {

std::uint16_t CountSeparators(const std::string& key) {
    return static_cast<std::uint16_t>(std::count(key.begin(), key.end(), '/'));
}

}  // namespace

RenameRecord RenameEngine::Run(const ListModel& list, RunKind kind, const std::string& undoes) {
    list_ = &list;
    log_.ClearLog();
    log_.AppendLog(msg::kRenameStart);
    window_.SetMainWindowEnabled(false);

    jobs_.clear();
    record_ = {};
    stranded_.clear();
    counter_ = 0;
    wanting_ = 0;
    nameLimits_.clear();
    folders_.emplace(fs_);
    Collect();

    const std::vector<std::size_t> order = RenameOrder();
    lastJournal_.clear();
    if (!order.empty() && !BeginJournal(order, kind, undoes)) {
        jobs_.clear();
        folders_.reset();
        progress_.SetStatusProgress(0.0f);
        window_.SetMainWindowEnabled(true);
        log_.AppendLog(msg::kRenameEnd);
        list_ = nullptr;
        return {};
    }
    const auto m = static_cast<float>(order.size());
    std::size_t handled = 0;
    for (std::size_t begin = 0; begin < order.size();) {
        const std::uint16_t depth = jobs_[order[begin]].depth;
        std::size_t end = begin;
        while (end < order.size() && jobs_[order[end]].depth == depth)
            ++end;
        // Two passes per depth: first every file of the batch that takes another's place moves
        // away to its temporary name, then every file moves to its new name. Once the first
        // pass is done no wanted path is held by a file of the batch, so chains and rings need
        // no particular order.
        for (std::size_t i = begin; i < end; ++i) {
            if (!jobs_[order[i]].temp.empty())
                Vacate(jobs_[order[i]]);
        }
        // Recovery looks at the disk itself, so a progress line that does not get written
        // costs nothing but the record.
        (void)journal_.Progress(depth, 1);
        for (std::size_t i = begin; i < end; ++i) {
            Place(jobs_[order[i]]);
            progress_.SetStatusProgress(static_cast<float>(handled) / m);
            ++handled;
            itemBreak_();
        }
        (void)journal_.Progress(depth, 2);
        begin = end;
    }
    const bool stranded = RetryStranded();
    jobs_.clear();
    folders_.reset();

    progress_.SetStatusProgress(0.0f);
    window_.SetMainWindowEnabled(true);
    log_.AppendLog(msg::kRenameEnd);
    if (journal_.IsOpen() && stranded) {
        // The journal stays open: the next start, and the history, offer to put them back.
        lastJournal_ = journal_.Name();
        journal_.LetGo();
        log_.AppendLog(
            FormatText(msg::kStrandedKeptOpen, JoinPath(places_.journalDir, lastJournal_).c_str()));
    } else if (journal_.IsOpen()) {
        const FsStatus closed = journal_.Complete();
        lastJournal_ = journal_.Name();
        if (!closed.Ok()) {
            log_.AppendLog(FormatText(msg::kJournalNotClosed,
                                      JoinPath(places_.journalDir, lastJournal_).c_str(),
                                      std::strerror(closed.error)));
        }
    }
    const auto inError = std::count_if(
        record_.left.begin(), record_.left.end(),
        [](const auto& row) { return row.reason == RenameRecord::Reason::HasErrors; });
    const auto left = static_cast<std::ptrdiff_t>(record_.left.size());
    log_.AppendLog(FormatText(msg::kRenameSummary, static_cast<int>(wanting_ - left),
                              static_cast<int>(inError), static_cast<int>(left - inError)));
    list_ = nullptr;
    record_.ran = true;
    return std::move(record_);
}

bool RenameEngine::TakesPart(int position) const {
    const FileEntry& entry = list_->Row(position).entry;
    return entry.Moves() && list_->Cell(position, ColError).empty();
}

void RenameEngine::Collect() {
    const ListModel& list = *list_;
    // Whether a temporary name is free: one folder read instead of one lstat per name where
    // many rows share a folder.
    FolderPresence presence(fs_);
    const auto n = static_cast<float>(list.RowCount());
    // Rows of one folder mostly stand together.
    std::string lastDirectory;
    FolderId lastId;
    std::uint32_t folder = 0;
    // The row count is read every time: an item break must not lead us past the end.
    for (int position = 0; position < list.RowCount(); ++position) {
        const FileEntry* entry = &list.Row(position).entry;
        if (!entry->Moves())
            continue;
        ++wanting_;
        if (!TakesPart(position)) {
            Leave(entry->currentKey, entry->currentKey, entry->NewPath(),
                  RenameRecord::Reason::HasErrors, 0);
            continue;
        }
        // Checked before anything else is read through the folder's path: the path may lead
        // somewhere else by now.
        if (const std::string_view directory = list.Cell(position, ColDirectory);
            lastDirectory.empty() || directory != lastDirectory || entry->folderId != lastId) {
            lastDirectory.assign(directory);
            lastId = entry->folderId;
            folder = folders_->Add(WithoutFinalSlash(lastDirectory), lastId);
        }
        int error = 0;
        const FolderHandle* handle = folders_->Open(folder, &error);
        if (handle == nullptr) {
            LeaveReplacedFolder(entry->currentKey, entry->NewPath(), error);
            continue;
        }
        // What the journal needs to know the file again, from the folder checked.
        const std::optional<FileInfo> info =
            fs_.FindWithin(*handle, entry->currentKey.substr(handle->Path().size() + 1));
        if (!info) {
            log_.AppendLog(FormatText(msg::kRenameFileMissing, entry->currentKey.c_str()));
            Leave(entry->currentKey, entry->currentKey, entry->NewPath(),
                  RenameRecord::Reason::FileMissing, 0);
            continue;
        }
        const std::uint16_t depth = CountSeparators(entry->NewKey());
        std::string temp;
        // Moved aside first: a file whose path another row wants, and on a case-insensitive
        // file system a change of case alone, whose target is the file itself.
        const bool wanted =
            list.NewPathIndex().Find(entry->currentKey, list.CurrentPathIndex().HashOf(entry),
                                     entry) != nullptr;
        if (wanted || (entry->foldsCase && SameKey(entry->NewPath(), entry->currentKey, true))) {
            temp =
                NextTemporaryPath(std::string(WithoutFinalSlash(list.Cell(position, ColDirectory))),
                                  std::string(list.Cell(position, ColCurrentName)), &presence);
        }
        jobs_.push_back({entry->currentKey,
                         entry->NewPath(),
                         std::move(temp),
                         folder,
                         depth,
                         info->device,
                         info->inode,
                         MarkOf(*info),
                         0,
                         {}});
        progress_.SetStatusProgress(static_cast<float>(position) / n);
        itemBreak_();
    }
}

std::vector<std::size_t> RenameEngine::RenameOrder() const {
    // The same sequence as inserting each row before the first one of lower or equal depth,
    // in O(n log n) instead of a walk from the head for every row.
    std::vector<std::size_t> order(jobs_.size());
    std::iota(order.rbegin(), order.rend(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return jobs_[a].depth > jobs_[b].depth;
    });
    return order;
}

bool RenameEngine::BeginJournal(const std::vector<std::size_t>& order, RunKind kind,
                                const std::string& undoes) {
    std::vector<JournalEntry> plan(order.size());
    // Each file system once: a run mostly stays on one.
    std::vector<JournalVolume> volumes;
    for (std::size_t i = 0; i < order.size(); ++i) {
        Job& job = jobs_[order[i]];
        job.planned = i;
        std::uint32_t volume = 0;
        while (volume < volumes.size() && volumes[volume].device != job.device)
            ++volume;
        if (volume == volumes.size()) {
            const std::string& folder = folders_->PathOf(job.folder);
            const MountTraits traits = fs_.TraitsOf(folder.empty() ? "/" : folder);
            volumes.push_back({job.device, traits.identity, traits.stableInodes});
        }
        plan[i] = {job.source, job.temp, job.target, job.device, job.inode, {}, volume, job.mark};
    }
    const FsStatus begun = journal_.Begin(places_.journalDir, kind, undoes, volumes, plan);
    if (begun.Ok())
        return true;
    log_.AppendLog(
        FormatText(msg::kJournalFailed, places_.journalDir.c_str(), std::strerror(begun.error)));
    return false;
}

FsStatus RenameEngine::Step(std::uint32_t folder, const std::string& from, const std::string& to,
                            bool temporary) {
    int error = 0;
    const FolderHandle* handle = folders_->Open(folder, &error);
    if (handle == nullptr)
        return FsStatus::Failed(FsOp::OpenFolder, error);
    const std::size_t skip = handle->Path().size() + 1;
    const FsStatus status = RetriedMove(fs_, *handle, from.substr(skip), to.substr(skip), retry);
    if (status.Ok())
        record_.moves.push_back({from, to, temporary});
    return status;
}

void RenameEngine::LeaveReplacedFolder(const std::string& path, const std::string& target,
                                       int error) {
    log_.AppendLog(FormatText(msg::kFolderReplaced, path.c_str()));
    Leave(path, path, target, RenameRecord::Reason::FolderReplaced, error);
}

void RenameEngine::Leave(const std::string& source, std::string path, std::string target,
                         RenameRecord::Reason reason, int error) {
    record_.left.push_back({source, std::move(path), std::move(target), reason, error});
}

void RenameEngine::Vacate(Job& job) {
    job.vacated = Step(job.folder, job.source, job.temp, true);
    // A replaced folder is told when the job's turn comes.
    if (job.vacated.Ok() || job.vacated.op == FsOp::OpenFolder)
        return;
    log_.AppendLog(FormatText(msg::kVacateFailed, job.source.c_str(), job.temp.c_str(),
                              std::strerror(job.vacated.error)));
}

void RenameEngine::Place(const Job& job) {
    if (!job.vacated.Ok()) {
        if (job.vacated.op == FsOp::OpenFolder) {
            LeaveReplacedFolder(job.source, job.target, job.vacated.error);
            return;
        }
        // The file is still at its current path, and whatever may sit at the temporary path
        // now is not ours to move.
        log_.AppendLog(FormatText(msg::kMoveFailed, job.source.c_str(), job.target.c_str(),
                                  std::strerror(job.vacated.error)));
        Leave(job.source, job.source, job.target, RenameRecord::Reason::VacateFailed,
              job.vacated.error);
        return;
    }
    if (!job.temp.empty()) {
        if (const FsStatus placed = Step(job.folder, job.temp, job.target, true); !placed.Ok()) {
            // Back to its old name if that is still free; a partner of a swap may have taken
            // it already, and then the file has to stay where it is.
            if (Step(job.folder, job.temp, job.source, true).Ok()) {
                log_.AppendLog(FormatText(msg::kPutBack, job.source.c_str(), job.target.c_str(),
                                          std::strerror(placed.error)));
                Leave(job.source, job.source, job.target, RenameRecord::Reason::MoveFailed,
                      placed.error);
                return;
            }
            log_.AppendLog(FormatText(msg::kPlaceFailed, job.source.c_str(), job.temp.c_str(),
                                      job.target.c_str(), std::strerror(placed.error)));
            Strand(job, job.temp, placed.error);
        }
        return;
    }
    FsStatus status = Step(job.folder, job.source, job.target, false);
    if (status.op == FsOp::OpenFolder) {
        LeaveReplacedFolder(job.source, job.target, status.error);
        return;
    }
    std::string strandedAt;
    // A file system that folds case without saying so finds the file itself at the target.
    if (status.error == EEXIST &&
        IsSameFileByOtherName(fs_, fs_.TraitsOf(folders_->PathOf(job.folder)), job.source,
                              job.target))
        status = MoveThroughTemporary(job, &strandedAt);
    if (status.Ok())
        return;
    const int error = status.error;
    if (strandedAt.empty()) {
        log_.AppendLog(FormatText(msg::kMoveFailed, job.source.c_str(), job.target.c_str(),
                                  std::strerror(error)));
        Leave(job.source, job.source, job.target, RenameRecord::Reason::MoveFailed, error);
    } else {
        log_.AppendLog(FormatText(msg::kPlaceFailed, job.source.c_str(), strandedAt.c_str(),
                                  job.target.c_str(), std::strerror(error)));
        Strand(job, strandedAt, error);
    }
}

void RenameEngine::Strand(const Job& job, const std::string& at, int error) {
    stranded_.emplace_back(static_cast<std::size_t>(&job - jobs_.data()), record_.left.size());
    Leave(job.source, at, job.target, RenameRecord::Reason::LeftTemporary, error);
}

bool RenameEngine::RetryStranded() {
    bool left = false;
    for (const auto& [index, leftIndex] : stranded_) {
        const Job& job = jobs_[index];
        RenameRecord::Left& row = record_.left[leftIndex];
        if (fs_.Exists(job.source) || !Step(job.folder, row.path, job.source, true).Ok()) {
            left = true;
            continue;
        }
        log_.AppendLog(FormatText(msg::kPutBack, job.source.c_str(), job.target.c_str(),
                                  std::strerror(row.error)));
        row.path = job.source;
        row.reason = RenameRecord::Reason::MoveFailed;
    }
    return left;
}

FsStatus RenameEngine::MoveThroughTemporary(const Job& job, std::string* strandedAt) {
    const std::uint32_t folder = job.folder;
    const std::string& from = job.source;
    const std::string& to = job.target;
    const std::string& dir = folders_->PathOf(folder);
    const std::string temp = NextTemporaryPath(dir, from.substr(dir.size() + 1), nullptr);
    // Recovery has to know every name the file may wait under.
    if (const FsStatus recorded = journal_.ExtraTemp(job.planned, temp); !recorded.Ok())
        return recorded;
    if (const FsStatus away = Step(folder, from, temp, true); !away.Ok())
        return away;
    const FsStatus placed = Step(folder, temp, to, true);
    if (!placed.Ok() && !Step(folder, temp, from, true).Ok())
        *strandedAt = temp;
    return placed;
}

std::string RenameEngine::NextTemporaryPath(const std::string& dirWithoutSlash,
                                            const std::string& name, FolderPresence* presence) {
    auto limit = nameLimits_.find(dirWithoutSlash);
    if (limit == nameLimits_.end())
        limit = nameLimits_.emplace(dirWithoutSlash, NameLimitOf(fs_, dirWithoutSlash)).first;
    for (;;) {
        std::string candidate =
            JoinPath(dirWithoutSlash, TemporaryName(counter_, name, limit->second));
        ++counter_;
        // A name some row wants is passed over too, or that row would find its target taken.
        const bool taken =
            presence != nullptr ? presence->Exists(candidate) : fs_.Exists(candidate);
        if (!taken && list_->NewPathIndex().Find(MakePathKey(candidate)) == nullptr) {
            return candidate;
        }
    }
}

}  // namespace morvane
