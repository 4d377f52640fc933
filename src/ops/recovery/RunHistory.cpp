#include "ops/recovery/RunHistory.h"

#include <set>

#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "ops/Locations.h"
#include "ops/recovery/RunSummary.h"
#include "ops/recovery/StartupRecovery.h"
#include "ops/recovery/UndoRun.h"
#include "ops/rename/PlanIdentity.h"
#include "platform/Paths.h"

namespace morvane {
namespace {

// The head of a journal: its s line, where it has one, comes within this.
constexpr std::size_t kHeadBytes = 64 * 1024;

}  // namespace

RunHistory::RunHistory(FileSystem& fs, ActivityLog& log, const Locations& places, UndoRun& undo,
                       StartupRecovery& recovery)
    : fs_(fs), log_(log), places_(places), undo_(undo), recovery_(recovery) {}

RunHistory::~RunHistory() = default;

void RunHistory::OnHistory() {
    if (view_ != nullptr)
        view_->ShowHistory(*this);
}

std::vector<RunListing> RunHistory::Runs() {
    const std::string& folder = places_.journalDir;
    std::vector<RunListing> runs;
    if (folder.empty())
        return runs;
    const std::vector<JournalFile> journals = ListJournals(fs_, folder);
    // A finished run that an undo names, and is not marked undone, is partly undone.
    std::set<std::string> undoneInPart;
    for (auto it = journals.rbegin(); it != journals.rend(); ++it) {
        std::string head;
        std::uint64_t size = 0;
        const std::string path = JoinPath(folder, it->name);
        if (!fs_.ReadFileStart(path, kHeadBytes, &head, &size).Ok())
            continue;
        JournalText text;
        // Journals written before the s line are read whole to be counted.
        if (ParseJournal(head, &text) && text.summaryCount < 0 && size > head.size() &&
            fs_.ReadFile(path, kNoSizeLimit, &head).Ok())
            (void)ParseJournal(head, &text);
        RunListing run;
        run.file = *it;
        run.when = RunTimeOf(*it);
        run.files =
            text.summaryCount >= 0 ? static_cast<std::size_t>(text.summaryCount) : text.plan.size();
        run.folders = RunFoldersOf(text);
        if (it->kind == RunKind::Undo && !text.undoes.empty())
            undoneInPart.insert(text.undoes);
        switch (it->state) {
            case JournalState::Running:
                run.state = RunState::Interrupted;
                break;
            case JournalState::Undone:
                run.state = RunState::Undone;
                break;
            case JournalState::Done:
                run.state = RunState::Done;
                break;
        }
        runs.push_back(std::move(run));
    }
    for (RunListing& run : runs) {
        if (run.state == RunState::Done && run.file.kind == RunKind::Rename &&
            undoneInPart.count(run.file.name) != 0)
            run.state = RunState::PartlyUndone;
    }
    return runs;
}

int RunHistory::DroppedRuns() {
    return places_.journalDir.empty() ? 0 : morvane::DroppedRuns(fs_, places_.journalDir);
}

bool RunHistory::OpenRun(const std::string& name) {
    identity_.reset();
    now_.clear();
    run_ = {};
    std::string text;
    if (!fs_.ReadFile(JoinPath(places_.journalDir, name), kNoSizeLimit, &text).Ok() ||
        !ParseJournal(text, &run_))
        return false;
    identity_ = std::make_unique<PlanIdentity>(fs_, run_.volumes);
    now_.resize(run_.plan.size());
    return true;
}

std::size_t RunHistory::FileCount() const {
    return run_.plan.size();
}

const JournalEntry& RunHistory::FileAt(std::size_t index) const {
    return run_.plan[index];
}

std::string RunHistory::NowOf(std::size_t index) {
    if (!now_[index].empty())
        return now_[index];
    const JournalEntry& entry = run_.plan[index];
    const auto ours = [&](const std::string& path) {
        const auto info = fs_.Find(path);
        return info && identity_->Recognize(entry, path, *info) == Recognition::Ours;
    };
    std::string now = msg::kFileChanged;
    if (ours(entry.to)) {
        now = msg::kFileAtNew;
    } else if (ours(entry.from)) {
        now = msg::kFileAtOld;
    } else {
        std::vector<std::string> temps = entry.extraTemps;
        if (!entry.temp.empty())
            temps.insert(temps.begin(), entry.temp);
        for (const std::string& temp : temps) {
            if (ours(temp)) {
                now = FormatText(msg::kFileAtTemporary, temp.c_str());
                break;
            }
        }
    }
    now_[index] = now;
    return now;
}

bool RunHistory::Undo(const std::string& name) {
    return undo_.UndoJournal(name);
}

void RunHistory::PutBack(const std::string& name) {
    recovery_.RecoverJournal(name);
}

}  // namespace morvane
