#include "ops/recovery/UndoRun.h"

#include <algorithm>
#include <cerrno>

#include "host/ActivityLog.h"
#include "host/Dialogs.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "ops/Locations.h"
#include "ops/recovery/Recovery.h"
#include "ops/recovery/RunSummary.h"
#include "ops/rename/RenameCommand.h"
#include "platform/Paths.h"
#include "rules/Validation.h"

namespace morvane {

void UndoRun::UndoLastRun() {
    const std::string& folder = places_.journalDir;
    std::vector<JournalFile> journals =
        folder.empty() ? std::vector<JournalFile>() : ListJournals(fs_, folder);
    std::vector<std::string> passedOver;
    Outcome outcome = Outcome::NothingLeft;
    for (auto it = journals.rbegin(); it != journals.rend(); ++it) {
        if (it->kind != RunKind::Rename || it->state != JournalState::Done)
            continue;
        outcome = Undo(*it, &passedOver);
        if (outcome == Outcome::Reversed)
            return;
        if (outcome == Outcome::Declined)
            break;
    }
    for (const std::string& line : passedOver)
        log_.AppendLog(line);
    if (outcome != Outcome::Declined)
        log_.AppendLog(msg::kNothingToUndo);
}

bool UndoRun::UndoJournal(const std::string& name) {
    for (JournalFile& file : ListJournals(fs_, places_.journalDir)) {
        if (file.name != name || file.kind != RunKind::Rename || file.state != JournalState::Done)
            continue;
        std::vector<std::string> passedOver;
        const Outcome outcome = Undo(file, &passedOver);
        for (const std::string& line : passedOver)
            log_.AppendLog(line);
        return outcome == Outcome::Reversed || outcome == Outcome::Declined;
    }
    log_.AppendLog(msg::kNothingToUndo);
    return false;
}

UndoRun::Outcome UndoRun::Undo(JournalFile file, std::vector<std::string>* passedOver) {
    laterThan_.clear();  // journals may have come or changed since the last undo
    const std::string& folder = places_.journalDir;
    const std::string path = JoinPath(folder, file.name);
    LockedFile held;
    JournalText read;
    if (!OpenJournal(fs_, path, &held, &read).Ok()) {
        passedOver->push_back(FormatText(msg::kJournalUnreadable, path.c_str()));
        return Outcome::Unreadable;
    }
    PlanRecovery located(fs_, log_, std::move(read), held);
    const JournalText& journal = located.Text();
    located.Locate(true, true);
    std::vector<std::size_t> back;     // entries at their new names, to go back
    std::vector<std::string> changed;  // log lines
    for (std::size_t i = 0; i < journal.plan.size(); ++i) {
        if (journal.plan[i].back)
            continue;  // an earlier undo put it back
        if (located.AtNew(i))
            back.push_back(i);
        else if (!located.AtOld(i))  // the run left those where they were
            changed.push_back(ChangedLine(file.name, located.NewPathNow(i), journal.plan[i]));
    }
    const std::string when = RunTimeOf(file);
    const std::string folders = RunFoldersOf(journal);
    if (back.empty()) {
        for (const std::string& line : changed)
            passedOver->push_back(line);
        passedOver->push_back(FormatText(msg::kUndoPassedOver, when.c_str(),
                                         static_cast<int>(journal.plan.size()), folders.c_str()));
        return Outcome::NothingLeft;
    }
    const std::string question =
        FormatText(msg::kUndoRunLine, when.c_str(), static_cast<int>(journal.plan.size()),
                   folders.c_str()) +
        FormatText(msg::kUndoQuestion, static_cast<int>(back.size()),
                   static_cast<int>(changed.size()));
    if (!dialogs_.AskYesNo(question, msg::kUndoCaption))
        return Outcome::Declined;
    // Looked at again: the question may have stood open for long.
    std::erase_if(back, [&](std::size_t i) {
        if (located.StillThere(i))
            return false;
        changed.push_back(ChangedLine(file.name, located.NewPathNow(i), journal.plan[i]));
        return true;
    });

    // The rows of the undo, in a list of its own: the user's rows stay as they are.
    ListModel rows;
    Validation check(rows, fs_, log_);
    rows.ReserveRows(back.size());
    std::vector<std::string> oldNames;
    oldNames.reserve(back.size());  // the batch views them
    std::vector<NewName> names;
    names.reserve(back.size());
    // Folders before what is inside them, as registration puts them.
    for (auto it = back.rbegin(); it != back.rend(); ++it) {
        const std::string now = located.PathNow(*it);
        const FileInfo* info = located.InfoOf(*it);
        const std::string_view parent = ParentOf(now);
        const auto folderInfo = fs_.FindTarget(parent.empty() ? "/" : std::string(parent));
        if (info == nullptr || !folderInfo) {
            changed.push_back(ChangedLine(file.name, now, journal.plan[*it]));
            continue;
        }
        FolderId folderId{folderInfo->device, folderInfo->inode};
        const bool foldsCase = fs_.TraitsOf(std::string(parent)).caseInsensitive;
        const int row =
            rows.AppendFileRow({MakePathKey(now), info, {}, 0, false, folderId, foldsCase});
        check.OnRowRegistered(row);
        oldNames.emplace_back(NameOf(journal.plan[*it].from));
        names.emplace_back(row, oldNames.back());
    }
    check.SetNewNames(names, NameSource::Row);
    held.Close();
    rename_.RunOnList(rows, RunKind::Undo, file.name);
    for (const std::string& line : *passedOver)
        log_.AppendLog(line);
    passedOver->clear();
    for (const std::string& line : changed)
        log_.AppendLog(line);
    if (!rename_.LastJournal().empty())
        RecordWhatWentBack(fs_, log_, folder, file.name);
    return Outcome::Reversed;
}

std::string UndoRun::ChangedLine(const std::string& name, const std::string& path,
                                 const JournalEntry& entry) {
    if (laterThan_ != name) {
        laterThan_ = name;
        laterMoves_.clear();
        for (const JournalFile& later : ListJournals(fs_, places_.journalDir)) {
            if (later.name <= name || later.kind != RunKind::Rename)
                continue;
            LockedFile held;
            JournalText read;
            if (!OpenJournal(fs_, JoinPath(places_.journalDir, later.name), &held, &read).Ok())
                continue;
            auto& moves = laterMoves_.emplace_back();
            for (JournalEntry& moved : read.plan) {
                if (!moved.back)
                    moves.emplace(std::move(moved.from),
                                  LaterMove{std::move(moved.to), moved.inode});
            }
        }
    }
    // Followed through the later runs, oldest first: each that moved the file on (the same
    // path, the same inode number where both journals know one) gives its new path.
    std::string now = path;
    for (const auto& moves : laterMoves_) {
        const auto moved = moves.find(now);
        if (moved != moves.end() &&
            (moved->second.inode == 0 || entry.inode == 0 || moved->second.inode == entry.inode))
            now = moved->second.to;
    }
    if (now != path && fs_.Find(now))
        return FormatText(msg::kUndoRenamedSince, path.c_str(), now.c_str());
    return FormatText(msg::kUndoChanged, path.c_str());
}

void RecordWhatWentBack(FileSystem& fs, ActivityLog& log, const std::string& folder,
                        const std::string& name) {
    for (JournalFile& file : ListJournals(fs, folder)) {
        if (file.name != name || file.state != JournalState::Done)
            continue;
        const std::string path = JoinPath(folder, file.name);
        LockedFile held;
        JournalText read;
        if (!OpenJournal(fs, path, &held, &read).Ok())
            return;
        PlanRecovery located(fs, log, std::move(read), held);
        const JournalText& journal = located.Text();
        located.Locate(true, false);
        std::string lines;
        std::size_t back = 0;
        for (std::size_t i = 0; i < journal.plan.size(); ++i) {
            if (journal.plan[i].back) {
                ++back;
            } else if (located.AtOld(i)) {
                lines += BackLine(i);
                ++back;
            }
        }
        if (back == journal.plan.size()) {
            lines += kUndoneLine;
            if (fs.Append(held, lines, true).Ok())
                (void)MarkJournal(fs, folder, &file, JournalState::Undone);
        } else if (!lines.empty()) {
            (void)fs.Append(held, lines, true);
        }
        return;
    }
}

}  // namespace morvane
