#include "ops/recovery/StartupRecovery.h"

#include <algorithm>
#include <cerrno>
#include <unordered_set>

#include "host/ActivityLog.h"
#include "host/Dialogs.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "ops/Locations.h"
#include "ops/recovery/Recovery.h"
#include "ops/recovery/StrayTemporaries.h"
#include "ops/recovery/UndoRun.h"
#include "platform/Paths.h"

namespace morvane {

void StartupRecovery::RecoverUnfinishedRuns() {
    if (places_.journalDir.empty())
        return;
    for (JournalFile& file : ListJournals(fs_, places_.journalDir)) {
        if (file.state == JournalState::Running)
            Recover(std::move(file));
    }
}

void StartupRecovery::RecoverJournal(const std::string& name) {
    if (places_.journalDir.empty())
        return;
    for (JournalFile& file : ListJournals(fs_, places_.journalDir)) {
        if (file.name == name && file.state == JournalState::Running)
            Recover(std::move(file));
    }
}

void StartupRecovery::Recover(JournalFile file) {
    const std::string& folder = places_.journalDir;
    const std::string path = JoinPath(folder, file.name);
    LockedFile held;
    JournalText journal;
    if (const FsStatus opened = OpenJournal(fs_, path, &held, &journal); !opened.Ok()) {
        // A running instance's is left to it.
        if (opened.error != EWOULDBLOCK)
            log_.AppendLog(FormatText(msg::kJournalUnreadable, path.c_str()));
        return;
    }
    if (!journal.planned) {
        RecoverDamaged(&file, held, std::move(journal));
        return;
    }
    if (journal.badLines != 0) {
        log_.AppendLog(FormatText(msg::kJournalDamaged, static_cast<int>(journal.lines),
                                  static_cast<int>(journal.badLines), path.c_str()));
    }
    if (journal.complete) {
        Close(&file, held, journal, true);
        return;
    }
    PlanRecovery recovery(fs_, log_, std::move(journal), held);
    const PlanCounts counts = recovery.Locate();
    // The run went to its end and only its last line was lost (a full disk at the very end).
    if (counts.atNew == static_cast<int>(recovery.Text().plan.size())) {
        log_.AppendLog(FormatText(msg::kRunFoundComplete, path.c_str()));
        Close(&file, held, recovery.Text(), true);
        return;
    }
    log_.AppendLog(msg::kRecoveryStart);
    log_.AppendLog(FormatText(msg::kRecoveryFound, path.c_str(), counts.atOld, counts.atNew,
                              counts.atTemporary, counts.missing));
    const int answer = dialogs_.AskChoice(
        FormatText(msg::kRecoveryQuestion, counts.atOld, counts.atNew, counts.atTemporary,
                   counts.missing),
        msg::kRecoveryCaption, {msg::kRecoveryRollBack, msg::kRecoveryFinish, msg::kRecoveryLater});
    if (answer != 0 && answer != 1) {
        log_.AppendLog(FormatText(msg::kRecoveryPutOff, path.c_str()));
        log_.AppendLog(msg::kRecoveryEnd);
        return;
    }
    const auto direction = answer == 0 ? RecoveryDirection::RollBack : RecoveryDirection::Finish;
    window_.SetMainWindowEnabled(false);
    const int placed = recovery.Apply(direction);
    window_.SetMainWindowEnabled(true);
    const int total = static_cast<int>(recovery.Text().plan.size());
    log_.AppendLog(FormatText(
        direction == RecoveryDirection::RollBack ? msg::kRecoveredBack : msg::kRecoveredForward,
        total, placed));
    // Files still at temporary names or not found (a disk not plugged in) are looked for
    // again at the next start; a retired journal would lose them.
    if (!recovery.AllWhole()) {
        log_.AppendLog(FormatText(msg::kRecoveryKeptOpen, path.c_str()));
        log_.AppendLog(msg::kRecoveryEnd);
        return;
    }
    log_.AppendLog(msg::kRecoveryEnd);
    Close(&file, held, recovery.Text(), direction == RecoveryDirection::Finish);
}

void StartupRecovery::RecoverDamaged(JournalFile* file, LockedFile& held, JournalText journal) {
    const std::string path = JoinPath(places_.journalDir, file->name);
    PlanRecovery recovery(fs_, log_, std::move(journal), held);
    const PlanCounts counts = recovery.Locate();
    std::vector<StrayFile> strays = FindStrayTemporaries(fs_, recovery.Text());
    const JournalText& text = recovery.Text();
    // Cut off while the plan was written: no move had started, so the journal tells nothing.
    if (!text.planEnded && !text.movedAfter && text.badLines == 0 && strays.empty() &&
        counts.atNew == 0 && counts.atTemporary == 0) {
        held.Close();
        (void)fs_.Remove(path);
        return;
    }
    std::unordered_set<std::string> known;
    for (std::size_t i = 0; i < text.plan.size(); ++i) {
        if (recovery.Found(i) && !recovery.AtOld(i) && !recovery.AtNew(i))
            known.insert(recovery.PathNow(i));
    }
    const auto unknown = std::count_if(strays.begin(), strays.end(), [&](const StrayFile& stray) {
        return known.count(stray.path) == 0;
    });
    const int lines = static_cast<int>(text.lines);
    const int bad = static_cast<int>(text.badLines) + (text.cutShort ? 1 : 0);
    log_.AppendLog(msg::kRecoveryStart);
    log_.AppendLog(FormatText(msg::kJournalDamaged, lines, bad, path.c_str()));
    log_.AppendLog(FormatText(msg::kRecoveryFound, path.c_str(), counts.atOld, counts.atNew,
                              counts.atTemporary, counts.missing));
    // The new names of the lines lost are unknown: only the way back is offered.
    const int answer = dialogs_.AskChoice(
        FormatText(msg::kDamagedQuestion, lines, bad, counts.atOld, counts.atNew,
                   counts.atTemporary, counts.missing, static_cast<int>(unknown)),
        msg::kRecoveryCaption, {msg::kRecoveryRollBack, msg::kRecoveryLater});
    if (answer != 0) {
        log_.AppendLog(FormatText(msg::kRecoveryPutOff, path.c_str()));
        log_.AppendLog(msg::kRecoveryEnd);
        return;
    }
    window_.SetMainWindowEnabled(false);
    const int placed = recovery.Apply(RecoveryDirection::RollBack);
    // What the plan no longer lists, and what it lists but could not place.
    const int left = PutStraysBack(fs_, log_, FindStrayTemporaries(fs_, recovery.Text()));
    window_.SetMainWindowEnabled(true);
    log_.AppendLog(FormatText(msg::kRecoveredBack, static_cast<int>(text.plan.size()), placed));
    if (!recovery.AllWhole() || left != 0) {
        log_.AppendLog(FormatText(msg::kRecoveryKeptOpen, path.c_str()));
        log_.AppendLog(msg::kRecoveryEnd);
        return;
    }
    log_.AppendLog(msg::kRecoveryEnd);
    Close(file, held, recovery.Text(), false);
}

void StartupRecovery::Close(JournalFile* file, LockedFile& held, const JournalText& journal,
                            bool finished) {
    const std::string& folder = places_.journalDir;
    // A rename rolled back counts as reversed; an undo rolled back leaves its run as it was.
    const bool undone = !finished && file->kind == RunKind::Rename;
    (void)EndJournal(fs_, folder, file, held, finished ? kCompleteLine : kUndoneLine,
                     undone ? JournalState::Undone : JournalState::Done);
    if (finished && journal.kind == RunKind::Undo && !journal.undoes.empty())
        RecordWhatWentBack(fs_, log_, folder, journal.undoes);
}

}  // namespace morvane
