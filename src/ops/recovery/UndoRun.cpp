#include "ops/recovery/UndoRun.h"

#include <cerrno>

#include "host/ActivityLog.h"
#include "host/Dialogs.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/Busy.h"
#include "ops/Locations.h"
#include "ops/recovery/Recovery.h"
#include "ops/registration/Registration.h"
#include "ops/rename/Journal.h"
#include "ops/rename/RenameCommand.h"
#include "platform/Paths.h"
#include "rules/Validation.h"

namespace morvane {

void UndoRun::UndoLastRun() {
    // The run renames every clean row of the list: the user's own rows must not ride along.
    if (list_.RowCount() != 0) {
        log_.AppendLog(msg::kUndoListNotEmpty);
        return;
    }
    const std::string& folder = places_.journalDir;
    std::vector<JournalFile> journals =
        folder.empty() ? std::vector<JournalFile>() : ListJournals(fs_, folder);
    JournalFile* last = nullptr;
    for (auto it = journals.rbegin(); it != journals.rend() && last == nullptr; ++it) {
        if (it->kind == RunKind::Rename && it->state == JournalState::Done)
            last = &*it;
    }
    if (last == nullptr) {
        log_.AppendLog(msg::kNothingToUndo);
        return;
    }
    const std::string path = JoinPath(folder, last->name);
    LockedFile held;
    JournalText read;
    if (!OpenJournal(fs_, path, &held, &read).Ok()) {
        log_.AppendLog(FormatText(msg::kJournalUnreadable, path.c_str()));
        return;
    }
    PlanRecovery located(fs_, log_, std::move(read), held);
    const JournalText& journal = located.Text();
    located.Locate(true, true);
    std::vector<std::size_t> back;  // entries at their new names, to go back
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < journal.plan.size(); ++i) {
        if (located.AtNew(i))
            back.push_back(i);
        else if (!located.AtOld(i))  // the run left those where they were
            changed.push_back(located.NewPathNow(i));
    }
    if (back.empty()) {
        for (const std::string& gone : changed)
            log_.AppendLog(FormatText(msg::kUndoChanged, gone.c_str()));
        log_.AppendLog(msg::kNothingToUndo);
        return;
    }
    if (!dialogs_.AskYesNo(FormatText(msg::kUndoQuestion, static_cast<int>(back.size()),
                                      static_cast<int>(changed.size())),
                           msg::kUndoCaption))
        return;
    // Looked at again: the question may have stood open for long.
    std::erase_if(back, [&](std::size_t i) {
        if (located.StillThere(i))
            return false;
        changed.push_back(located.NewPathNow(i));
        return true;
    });

    {
        Registration::Run registering(registration_);
        list_.ReserveRows(back.size());
        // Folders before what is inside them, so every row's folder is the one it is in now.
        for (auto it = back.rbegin(); it != back.rend(); ++it)
            registration_.RegisterPathEvenFolder(located.PathNow(*it), located.InfoOf(*it));
    }
    std::vector<std::string> oldNames;
    std::vector<NewName> names;
    oldNames.reserve(back.size());
    names.reserve(back.size());
    for (const std::size_t i : back) {
        const FileEntry* entry = list_.CurrentPathIndex().Find(MakePathKey(located.PathNow(i)));
        if (entry == nullptr) {
            changed.push_back(located.PathNow(i));  // could not be registered
            continue;
        }
        oldNames.emplace_back(NameOf(journal.plan[i].from));
        names.emplace_back(entry->row, oldNames.back());
    }
    // The names stay put: oldNames was reserved whole.
    validation_.SetNewNames(names, NameSource::Row);
    held.Close();
    rename_.Run(RunKind::Undo, last->name);
    for (const std::string& gone : changed)
        log_.AppendLog(FormatText(msg::kUndoChanged, gone.c_str()));
    if (rename_.LastJournal().empty())
        return;  // no run: its journal could not be written
    if (fs_.OpenLocked(path, false, &held).Ok())
        (void)EndJournal(fs_, folder, last, held, kUndoneLine, JournalState::Undone);
}

}  // namespace morvane
