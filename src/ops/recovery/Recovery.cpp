#include "ops/recovery/Recovery.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "ops/rename/TemporaryName.h"
#include "platform/Paths.h"

namespace morvane {
namespace {

std::uint16_t DepthOf(const std::string& path) {
    return static_cast<std::uint16_t>(std::count(path.begin(), path.end(), '/'));
}

}  // namespace

PlanRecovery::PlanRecovery(FileSystem& fs, ActivityLog& log, JournalText plan, LockedFile& journal)
    : fs_(fs), log_(log), plan_(std::move(plan)), journal_(journal) {
    at_.assign(plan_.plan.size(), kNowhere);
    folder_.assign(plan_.plan.size(), false);
}

int PlanRecovery::Candidates(std::size_t entry) const {
    const JournalEntry& e = plan_.plan[entry];
    return 2 + (e.temp.empty() ? 0 : 1) + static_cast<int>(e.extraTemps.size());
}

const std::string& PlanRecovery::Candidate(std::size_t entry, int which) const {
    const JournalEntry& e = plan_.plan[entry];
    if (which == kOld)
        return e.from;
    if (which == kNew)
        return e.to;
    if (!e.temp.empty() && which == 2)
        return e.temp;
    return e.extraTemps[static_cast<std::size_t>(which - (e.temp.empty() ? 2 : 3))];
}

std::string PlanRecovery::Now(const std::string& recorded) const {
    if (moved_.empty())
        return recorded;
    // The deepest folder above it that is somewhere else now.
    for (std::size_t slash = recorded.find_last_of('/'); slash != 0 && slash != std::string::npos;
         slash = recorded.find_last_of('/', slash - 1)) {
        if (const auto found = moved_.find(recorded.substr(0, slash)); found != moved_.end())
            return found->second + recorded.substr(slash);
    }
    return recorded;
}

void PlanRecovery::NoteFolder(std::size_t entry) {
    if (!folder_[entry])
        return;
    const std::string& old = plan_.plan[entry].from;
    std::string now = Now(Candidate(entry, at_[entry]));
    if (now == old)
        moved_.erase(old);
    else
        moved_[old] = std::move(now);
}

PlanCounts PlanRecovery::Locate(bool newFirst, bool keepInfo) {
    PlanCounts counts;
    moved_.clear();
    infos_.clear();
    if (keepInfo)
        infos_.resize(plan_.plan.size());
    int lastFound = newFirst ? kNew : kOld;
    // Folders above an entry are shallower and come later in the plan: walk it backwards so
    // that each is placed before anything inside it is looked for.
    for (std::size_t i = plan_.plan.size(); i-- > 0;) {
        const JournalEntry& e = plan_.plan[i];
        at_[i] = kNowhere;
        // Files of a run stand in long stretches at the same kind of name: the kind the last
        // file was found at is looked at first.
        const int likely = lastFound < Candidates(i) ? lastFound : kOld;
        for (int tried = -1; tried < Candidates(i); ++tried) {
            int which = tried < 0 ? likely : newFirst && tried < 2 ? 1 - tried : tried;
            if (tried >= 0 && which == likely)
                continue;
            auto info = fs_.Find(Now(Candidate(i, which)));
            if (info && info->inode == e.inode && info->device == e.device) {
                at_[i] = which;
                lastFound = std::min(which, 2);
                folder_[i] = info->IsDirectory();
                if (keepInfo)
                    infos_[i] = std::move(info);
                break;
            }
        }
        if (at_[i] == kNowhere)
            ++counts.missing;
        else if (at_[i] == kOld)
            ++counts.atOld;
        else if (at_[i] == kNew)
            ++counts.atNew;
        else
            ++counts.atTemporary;
        if (at_[i] != kNowhere)
            NoteFolder(i);
    }
    return counts;
}

bool PlanRecovery::MoveEntry(std::size_t entry, int to) {
    const std::string from = Now(Candidate(entry, at_[entry]));
    const std::string target = Now(Candidate(entry, to));
    if (const FsStatus moved = fs_.Move(from, target); !moved.Ok()) {
        log_.AppendLog(FormatText(msg::kRecoveryMoveFailed, from.c_str(), target.c_str(),
                                  std::strerror(moved.error)));
        return false;
    }
    at_[entry] = to;
    NoteFolder(entry);
    return true;
}

void PlanRecovery::FreshTemporary(std::size_t entry, std::string* lines) {
    const std::string& old = plan_.plan[entry].from;
    // A bare name, which only a damaged journal holds, is taken as its own folder.
    const std::string_view parent = ParentOf(old);
    const std::string folder(parent.empty() ? std::string_view(old) : parent);
    const std::string_view name = NameOf(old);
    auto limit = nameMax_.find(folder);
    if (limit == nameMax_.end())
        limit = nameMax_.emplace(folder, fs_.NameMax(Now(folder))).first;
    const std::size_t nameMax = limit->second;
    std::string recorded;
    for (;;) {
        recorded = JoinPath(folder, TemporaryName(counter_++, name, nameMax));
        if (!fs_.Exists(Now(recorded)))
            break;
    }
    *lines += ExtraTempLine(entry, recorded);
    plan_.plan[entry].extraTemps.push_back(std::move(recorded));
}

int PlanRecovery::Apply(RecoveryDirection direction) {
    const int wanted = direction == RecoveryDirection::RollBack ? kOld : kNew;
    int placed = 0;
    // Depth by depth, deepest first, as the run went.
    for (std::size_t begin = 0; begin < plan_.plan.size();) {
        const std::uint16_t depth = DepthOf(plan_.plan[begin].to);
        std::size_t end = begin;
        while (end < plan_.plan.size() && DepthOf(plan_.plan[end].to) == depth)
            ++end;
        // First every file of the batch that sits where another one has to go makes room,
        // so that swaps and chains need no particular order.
        std::unordered_set<std::string> wantedPaths;
        for (std::size_t i = begin; i < end; ++i) {
            if (at_[i] != kNowhere && at_[i] != wanted)
                wantedPaths.insert(Now(Candidate(i, wanted)));
        }
        // Where each of those waits: its own temporary name if it is free, else a new one,
        // all new ones made durable in the journal with one write before any of them is used.
        std::vector<std::pair<std::size_t, int>> rooms;
        std::string freshLines;
        for (std::size_t i = begin; i < end; ++i) {
            if (at_[i] == kNowhere || at_[i] == wanted ||
                wantedPaths.count(Now(Candidate(i, at_[i]))) == 0)
                continue;
            const JournalEntry& e = plan_.plan[i];
            if (!e.temp.empty() && !fs_.Exists(Now(e.temp))) {
                rooms.emplace_back(i, 2);
                continue;
            }
            FreshTemporary(i, &freshLines);
            rooms.emplace_back(i, Candidates(i) - 1);
        }
        // Unrecorded, they are not used: those files stay, and their partners' moves fail
        // and are named.
        const bool recorded = freshLines.empty() || fs_.Append(journal_, freshLines, true).Ok();
        for (const auto& [i, room] : rooms) {
            if (recorded || room == 2)
                MoveEntry(i, room);
        }
        for (std::size_t i = begin; i < end; ++i) {
            if (at_[i] == kNowhere) {
                log_.AppendLog(FormatText(msg::kRecoveryNotFound, plan_.plan[i].from.c_str()));
                continue;
            }
            if (at_[i] == wanted || MoveEntry(i, wanted))
                ++placed;
        }
        begin = end;
    }
    return placed;
}

}  // namespace morvane
