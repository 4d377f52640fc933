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
    : fs_(fs), log_(log), plan_(std::move(plan)), journal_(journal), identity_(fs, plan_.volumes) {
    const std::size_t n = plan_.plan.size();
    at_.assign(n, kNowhere);
    folder_.assign(n, false);
    notes_.assign(n, Note::None);
    second_.assign(n, kNowhere);
    notOurs_.assign(n, kNowhere);
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

int PlanRecovery::Expected(std::uint16_t depth, bool finished) const {
    if (finished)
        return kNew;
    for (auto it = plan_.recovered.rbegin(); it != plan_.recovered.rend(); ++it) {
        if (it->first == depth)
            return it->second ? kNew : kOld;
    }
    // Batches go deepest first: those deeper than the last one recorded are placed, and that
    // one is placed or being placed.
    return plan_.doneDepth >= 0 && depth >= plan_.doneDepth ? kNew : kOld;
}

PlanCounts PlanRecovery::Locate(bool finished, bool keepInfo) {
    PlanCounts counts;
    moved_.clear();
    infos_.clear();
    keepInfo_ = keepInfo;
    if (keepInfo)
        infos_.resize(plan_.plan.size());
    int lastFound = finished ? kNew : kOld;
    // Folders above an entry are shallower and come later in the plan: walk it backwards,
    // batch by batch, so that each is placed before anything inside it is looked for.
    for (std::size_t end = plan_.plan.size(); end > 0;) {
        const std::uint16_t depth = DepthOf(plan_.plan[end - 1].to);
        std::size_t begin = end - 1;
        while (begin > 0 && DepthOf(plan_.plan[begin - 1].to) == depth)
            --begin;
        std::vector<std::size_t> byPath;
        for (std::size_t i = end; i-- > begin;) {
            at_[i] = kNowhere;
            notes_[i] = Note::None;
            second_[i] = notOurs_[i] = kNowhere;
            if (identity_.ByInode(plan_.plan[i]))
                LocateByInode(i, &lastFound, finished);
            else
                byPath.push_back(i);
        }
        if (!byPath.empty())
            LocateByPath(byPath, Expected(depth, finished));
        for (std::size_t i = begin; i < end; ++i) {
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
        end = begin;
    }
    return counts;
}

void PlanRecovery::LocateByInode(std::size_t i, int* lastFound, bool finished) {
    const JournalEntry& e = plan_.plan[i];
    // Files of a run stand in long stretches at the same kind of name: the kind the last file
    // was found at is looked at first.
    const int likely = *lastFound < Candidates(i) ? *lastFound : kOld;
    for (int tried = -1; tried < Candidates(i); ++tried) {
        const int which = tried < 0 ? likely : finished && tried < 2 ? 1 - tried : tried;
        if (tried >= 0 && which == likely)
            continue;
        const std::string path = Now(Candidate(i, which));
        auto info = fs_.Find(path);
        if (!info)
            continue;
        const Recognition recognized = identity_.Recognize(e, path, *info);
        if (recognized == Recognition::NotOurs && notOurs_[i] == kNowhere)
            notOurs_[i] = which;
        if (recognized != Recognition::Ours)
            continue;
        at_[i] = which;
        *lastFound = std::min(which, 2);
        folder_[i] = info->IsDirectory();
        if (info->links > 1 && !folder_[i])
            FindSecondName(i);
        if (keepInfo_)
            infos_[i] = std::move(info);
        return;
    }
}

void PlanRecovery::LocateByPath(const std::vector<std::size_t>& entries, int expected) {
    struct Fit {
        int which;
        std::string path;
        std::optional<FileInfo> info;
    };
    std::vector<std::vector<Fit>> fits(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const std::size_t i = entries[k];
        for (int which = 0; which < Candidates(i); ++which) {
            std::string path = Now(Candidate(i, which));
            auto info = fs_.Find(path);
            if (info && identity_.Recognize(plan_.plan[i], path, *info) == Recognition::Ours)
                fits[k].push_back({which, std::move(path), std::move(info)});
        }
    }
    std::unordered_map<std::string, std::size_t> taken;
    std::vector<bool> settled(entries.size(), false);
    const auto place = [&](std::size_t k, const Fit& fit) {
        const std::size_t i = entries[k];
        at_[i] = fit.which;
        folder_[i] = fit.info->IsDirectory();
        if (keepInfo_)
            infos_[i] = fit.info;
        taken.emplace(fit.path, k);
        settled[k] = true;
    };
    // A temporary name is the entry's own: a file that fits it there is it.
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const Fit* temporary = nullptr;
        int temporaries = 0;
        for (const Fit& fit : fits[k]) {
            if (fit.which > kNew) {
                temporary = &fit;
                ++temporaries;
            }
        }
        if (temporaries == 1)
            place(k, *temporary);
    }
    // An entry left with one free path is there, unless another is left with only that path
    // too. Entries left with none are not found.
    const auto settleForced = [&] {
        for (bool changed = true; changed;) {
            changed = false;
            std::unordered_map<std::string, int> alone;
            std::vector<const Fit*> only(entries.size(), nullptr);
            for (std::size_t k = 0; k < entries.size(); ++k) {
                if (settled[k])
                    continue;
                int free = 0;
                for (const Fit& fit : fits[k]) {
                    if (taken.count(fit.path) == 0) {
                        ++free;
                        only[k] = &fit;
                    }
                }
                if (free == 0) {
                    settled[k] = true;
                    changed = true;
                } else if (free == 1) {
                    ++alone[only[k]->path];
                } else {
                    only[k] = nullptr;
                }
            }
            for (std::size_t k = 0; k < entries.size(); ++k) {
                if (!settled[k] && only[k] != nullptr && alone[only[k]->path] == 1) {
                    place(k, *only[k]);
                    changed = true;
                }
            }
        }
    };
    settleForced();
    // What the disk leaves open, the journal decides: where the batch is expected.
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (settled[k])
            continue;
        for (const Fit& fit : fits[k]) {
            if (fit.which == expected && taken.count(fit.path) == 0) {
                place(k, fit);
                break;
            }
        }
    }
    settleForced();
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (settled[k])
            continue;
        const bool atTemporary = std::any_of(fits[k].begin(), fits[k].end(),
                                             [](const Fit& fit) { return fit.which > kNew; });
        notes_[entries[k]] = atTemporary ? Note::UnclearAtTemp : Note::Unclear;
    }
}

void PlanRecovery::FindSecondName(std::size_t i) {
    const JournalEntry& e = plan_.plan[i];
    if (inodeUse_.empty()) {
        for (const JournalEntry& other : plan_.plan) {
            if (identity_.ByInode(other))
                ++inodeUse_[{other.device, other.inode}];
        }
    }
    // Another entry of the plan with the same inode: hard links the user made, each a file
    // of the run in its own right.
    if (inodeUse_[{e.device, e.inode}] != 1)
        return;
    for (int which = 0; which < Candidates(i); ++which) {
        if (which == at_[i])
            continue;
        const std::string path = Now(Candidate(i, which));
        const auto info = fs_.Find(path);
        if (info && identity_.Recognize(e, path, *info) == Recognition::Ours) {
            second_[i] = which;
            notes_[i] = Note::TwoNames;
            return;
        }
    }
}

void PlanRecovery::SettleSecondName(std::size_t i, int wanted) {
    const int keep = second_[i] == wanted ? second_[i] : at_[i];
    const int drop = keep == at_[i] ? second_[i] : at_[i];
    const std::string keepPath = Now(Candidate(i, keep));
    const std::string dropPath = Now(Candidate(i, drop));
    const auto kept = fs_.Find(keepPath);
    const auto dropped = fs_.Find(dropPath);
    // A move made as a link and an unlink, cut off between the two: one file under exactly
    // these two names of its own. Taking one away then loses nothing.
    const bool certain = kept && dropped && kept->device == dropped->device &&
                         kept->inode == dropped->inode && kept->links == 2 &&
                         !kept->IsDirectory() &&
                         identity_.Recognize(plan_.plan[i], keepPath, *kept) == Recognition::Ours;
    if (certain && fs_.Remove(dropPath).Ok()) {
        log_.AppendLog(FormatText(msg::kRecoveryExtraNameRemoved, dropPath.c_str()));
        at_[i] = keep;
        second_[i] = kNowhere;
        notes_[i] = Note::None;
        return;
    }
    log_.AppendLog(FormatText(msg::kRecoveryTwoNames, keepPath.c_str(), dropPath.c_str()));
}

bool PlanRecovery::StillThere(std::size_t i) {
    if (at_[i] == kNowhere)
        return false;
    const std::string path = PathNow(i);
    auto info = fs_.Find(path);
    if (!info || identity_.Recognize(plan_.plan[i], path, *info) != Recognition::Ours) {
        at_[i] = kNowhere;
        return false;
    }
    if (keepInfo_)
        infos_[i] = std::move(info);
    return true;
}

bool PlanRecovery::AllWhole() const {
    for (std::size_t i = 0; i < at_.size(); ++i) {
        // Files that fit each other's names sit at old or new names: which, no one can say.
        if (notes_[i] == Note::Unclear)
            continue;
        if (notes_[i] != Note::None || (at_[i] != kOld && at_[i] != kNew))
            return false;
    }
    return true;
}

bool PlanRecovery::MoveEntry(std::size_t entry, int to) {
    const std::string from = Now(Candidate(entry, at_[entry]));
    const std::string target = Now(Candidate(entry, to));
    // Looked at again right before it moves: a question may have stood open for long.
    const auto info = fs_.Find(from);
    if (!info || identity_.Recognize(plan_.plan[entry], from, *info) != Recognition::Ours) {
        log_.AppendLog(info ? FormatText(msg::kRecoveryNotOurs, from.c_str())
                            : FormatText(msg::kRecoveryNotFound, plan_.plan[entry].from.c_str()));
        at_[entry] = kNowhere;
        notes_[entry] = Note::Gone;
        return false;
    }
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
        for (std::size_t i = begin; i < end; ++i) {
            if (notes_[i] == Note::TwoNames && at_[i] != kNowhere)
                SettleSecondName(i, wanted);
        }
        // First every file of the batch that sits where another one has to go makes room,
        // so that swaps and chains need no particular order.
        std::unordered_set<std::string> wantedPaths;
        for (std::size_t i = begin; i < end; ++i) {
            if (Movable(i) && at_[i] != wanted)
                wantedPaths.insert(Now(Candidate(i, wanted)));
        }
        // Where each of those waits: its own temporary name if it is free, else a new one,
        // all new ones made durable in the journal with one write before any of them is used.
        std::vector<std::pair<std::size_t, int>> rooms;
        std::string freshLines;
        for (std::size_t i = begin; i < end; ++i) {
            if (!Movable(i) || at_[i] == wanted ||
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
                LogNotPlaced(i);
                continue;
            }
            if (notes_[i] == Note::TwoNames)
                continue;  // said when it was settled
            if (at_[i] == wanted || MoveEntry(i, wanted))
                ++placed;
        }
        // Where files fit more than one name, a later look goes by this.
        (void)fs_.Append(journal_, RecoveredLine(depth, wanted == kNew), true);
        begin = end;
    }
    return placed;
}

void PlanRecovery::LogNotPlaced(std::size_t i) {
    const std::string& old = plan_.plan[i].from;
    switch (notes_[i]) {
        case Note::Gone:
            return;  // said when it was looked at again
        case Note::Unclear:
        case Note::UnclearAtTemp:
            log_.AppendLog(FormatText(msg::kRecoveryUnclear, old.c_str()));
            return;
        case Note::None:
        case Note::TwoNames:
            break;
    }
    log_.AppendLog(FormatText(msg::kRecoveryNotFound, old.c_str()));
    if (notOurs_[i] != kNowhere)
        log_.AppendLog(FormatText(msg::kRecoveryNotOurs, Now(Candidate(i, notOurs_[i])).c_str()));
}

}  // namespace morvane
