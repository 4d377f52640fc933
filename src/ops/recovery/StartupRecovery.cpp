#include "ops/recovery/StartupRecovery.h"

#include <cerrno>

#include "host/ActivityLog.h"
#include "host/Dialogs.h"
#include "host/MainWindow.h"
#include "host/Messages.h"
#include "ops/Locations.h"
#include "ops/recovery/Recovery.h"
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
        // Cut off while the plan was written: no move had started.
        (void)fs_.Remove(path);
        return;
    }
    if (journal.complete) {
        Close(&file, held, journal, true);
        return;
    }
    PlanRecovery recovery(fs_, log_, std::move(journal), held);
    const PlanCounts counts = recovery.Locate();
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

void StartupRecovery::Close(JournalFile* file, LockedFile& held, const JournalText& journal,
                            bool finished) {
    const std::string& folder = places_.journalDir;
    // A rename rolled back counts as reversed; an undo rolled back leaves its run as it was.
    const bool undone = !finished && file->kind == RunKind::Rename;
    (void)EndJournal(fs_, folder, file, held, finished ? kCompleteLine : kUndoneLine,
                     undone ? JournalState::Undone : JournalState::Done);
    if (finished && journal.kind == RunKind::Undo && !journal.undoes.empty()) {
        for (JournalFile& other : ListJournals(fs_, folder)) {
            if (other.name == journal.undoes && other.state == JournalState::Done)
                (void)MarkJournal(fs_, folder, &other, JournalState::Undone);
        }
    }
}

}  // namespace morvane
