#include "rules/Validation.h"

#include <vector>

#include "host/ActivityLog.h"
#include "host/Messages.h"
#include "model/ListModel.h"
#include "platform/FileSystem.h"
#include "platform/FolderPresence.h"
#include "platform/Utf16.h"
#include "rules/ErrorMessages.h"

namespace morvane {
namespace {

bool HasOtherError(const FileEntry* e) {
    return (e->errors & ~std::uint32_t{ErrSwapBlocked}) != 0;
}

void SetBit(FileEntry* e, std::uint32_t bit, bool on) {
    if (on) {
        e->errors |= bit;
    } else {
        e->errors &= ~bit;
    }
}

// The name a row gets from `name`: trailing blanks are cut only from a name the user changed,
// so a file whose name ends in a blank and was left alone keeps it, and is not renamed.
std::string_view KeptName(std::string_view name, std::string_view currentName) {
    const std::size_t kept = name.find_last_not_of(' ');
    const std::size_t length = kept == std::string_view::npos ? 0 : kept + 1;
    return length < name.size() && name != currentName ? name.substr(0, length) : name;
}

}  // namespace

NameToCheck Validation::ToCheck(int row, std::string_view name, const std::string& key,
                                const FileEntry* occupant) {
    const FileEntry* entry = list_.EntryAt(row);
    return {list_.Cell(row, ColDirectory), name, key, entry->currentKey, occupant != nullptr};
}

void Validation::LogExists(int row, std::string_view path) {
    ErrorFacts facts;
    facts.number = list_.RowNumberOf(row);
    facts.newPath = path;
    log_.AppendLog(ErrorText(ErrExists, facts));
}

void Validation::DescribeForbidden(int row, std::string_view name, ErrorFacts* facts) {
    const std::string_view directory = list_.Cell(row, ColDirectory);
    facts->refused = RefusedCharactersText(names_.CharactersOf(directory));
    facts->fault = names_.FaultOf(directory, name);
}

void Validation::DescribeTooLong(int row, ErrorFacts* facts) {
    const NameLimit limit = names_.LimitOf(list_.Cell(row, ColDirectory));
    facts->nameMax = limit.Max();
    facts->nameMaxInUtf16 = limit.inUtf16;
}

bool Validation::SetNewName(int row, std::string name) {
    const NewName change{row, name};
    SetNewNames({&change, 1}, NameSource::Row);
    return true;
}

namespace {
// How many entries ahead the passes over a batch start loading what they will walk.
constexpr std::size_t kPrefetchDistance = 4;
}  // namespace

void Validation::SetNewNames(std::span<const NewName> names, NameSource source,
                             NameBatchObserver* observer) {
    ListModel& list = list_;
    const std::size_t count = names.size();
    // A row that loses its one partner is released only when the batch does not check it
    // anyway; then its bit changes once, at its own check. Empty: every row is in the batch.
    std::vector<std::uint8_t> inBatch;
    if (count > 1 && count < static_cast<std::size_t>(list.RowCount())) {
        inBatch.assign(static_cast<std::size_t>(list.RowCount()), 0);
        for (const NewName& change : names)
            inBatch[static_cast<std::size_t>(change.row)] = 1;
    }
    const std::vector<std::uint8_t>* checkedLater = count <= 1 ? nullptr : &inBatch;
    const PathIndex& index = list.NewPathIndex();
    const auto entryAhead = [&](std::size_t i, std::size_t distances) -> const FileEntry* {
        const std::size_t ahead = i + distances * kPrefetchDistance;
        return ahead < count && !names[ahead].keep ? list.EntryAt(names[ahead].row) : nullptr;
    };
    for (std::size_t i = 0; i < count; ++i) {
        // Moving a row in the index waits on its neighbours in the chain: load the entry,
        // its link, then the neighbours, each some rows ahead.
        if (const FileEntry* e = entryAhead(i, 3))
            __builtin_prefetch(e);
        if (const FileEntry* e = entryAhead(i, 2))
            __builtin_prefetch(e->newLink);
        if (const FileEntry* e = entryAhead(i, 1))
            index.PrefetchNeighbours(e);
        if (!names[i].keep)
            SetOneName(names[i], source, checkedLater);
        if (observer != nullptr)
            observer->NameSet(i);
    }
    if (observer != nullptr)
        observer->NamesSet();
    FolderPresence presence(fs_);
    FolderPresence* const outer = presence_;
    presence_ = &presence;
    for (std::size_t i = 0; i < count; ++i) {
        for (int step = 0; step < kPrefetchSteps; ++step) {
            const std::size_t ahead =
                i + kPrefetchDistance * static_cast<std::size_t>(kPrefetchSteps - step);
            if (ahead < count)
                PrefetchChecks(names[ahead].row, step);
        }
        CheckRow(names[i].row, source, checkedLater);
        if (observer != nullptr)
            observer->RowChecked(i);
    }
    presence_ = outer;
}

void Validation::SetOneName(const NewName& change, NameSource source,
                            const std::vector<std::uint8_t>* checkedLater) {
    ListModel& list = list_;
    const int row = change.row;
    FileEntry* entry = list.EntryAt(row);
    const bool byPosition = source == NameSource::TextFile;
    const auto shownRow = [&] { return byPosition ? row + 1 : list.RowNumberOf(row); };
    std::string_view name = KeptName(change.name, list.Cell(row, ColCurrentName));
    if (name.size() < change.name.size())
        log_.AppendLog(FormatText(msg::kTrailingBlanks, shownRow(), std::string(name).c_str()));
    const std::size_t dirLength = entry->dirLength;
    std::size_t units = Utf16Length(name);
    if (byPosition && dirLength + 1 + units >= kMaxPathUnits) {
        log_.AppendLog(FormatText(msg::kPathCut, static_cast<int>(kMaxPathUnits), shownRow(),
                                  std::string(name).c_str()));
        const std::size_t room = dirLength < kMaxPathUnits - 2 ? kMaxPathUnits - 2 - dirLength : 0;
        name = Utf16Prefix(name, room);
        units = Utf16Length(name);
    }
    const std::string_view directory = list.Cell(row, ColDirectory);
    const std::size_t directorySize = directory.size();
    const std::string_view oldPath = entry->NewPath();
    // Most names of a long batch come back as they went out: their row stays where it is in
    // the index, and no partner changes.
    const bool samePath = oldPath.size() == directorySize + name.size() &&
                          oldPath.substr(directorySize) == name &&
                          oldPath.substr(0, directorySize) == directory;
    if (!samePath) {
        ReleaseOldDuplicate(row, checkedLater);
        // The path before the cells: setting them moves this row's texts, `directory` with
        // them.
        list.SetNewPath(row, directory, name);
    }
    // The name as the path holds it, which no cell change moves (the caller's text might be
    // one of this row's cells).
    name = std::string_view(entry->NewPath()).substr(directorySize);
    list.SetCell(row, ColCharCount, std::to_string(units));
    list.SetCell(row, ColNewName, name);
}

void Validation::CheckRow(int row, NameSource source,
                          const std::vector<std::uint8_t>* checkedLater) {
    ListModel& list = list_;
    FileEntry* entry = list.EntryAt(row);
    const bool byPosition = source == NameSource::TextFile;
    const auto shownRow = [&] { return byPosition ? row + 1 : list.RowNumberOf(row); };
    // The checks below may refresh this row's error cell, which ends the view: FinishRow
    // reads the name again.
    const std::string_view name = list.Cell(row, ColNewName);
    const FileEntry* occupant = OccupantOf(row);
    const std::uint32_t found =
        names_.Check(ToCheck(row, name, entry->NewKey(), occupant), presence_);
    if ((found & (ErrBlank | ErrForbidden | ErrTooLong)) != 0) {
        ErrorFacts facts;
        facts.number = shownRow();
        if ((found & ErrBlank) != 0)
            log_.AppendLog(ErrorText(ErrBlank, facts));
        if ((found & ErrForbidden) != 0) {
            facts.name = byPosition ? std::string_view(entry->NewKey()) : name;
            DescribeForbidden(row, name, &facts);
            log_.AppendLog(ErrorText(ErrForbidden, facts));
        }
        if ((found & ErrTooLong) != 0) {
            facts.name = name;
            DescribeTooLong(row, &facts);
            log_.AppendLog(ErrorText(ErrTooLong, facts));
        }
    }
    for (const std::uint32_t bit : {ErrBlank, ErrForbidden, ErrTooLong})
        SetBit(entry, bit, (found & bit) != 0);
    SetBit(entry, ErrDuplicate, CheckDuplicate(row));
    if (checkedLater != nullptr && !checkedLater->empty())
        MarkPartnersOutside(entry, *checkedLater);
    // A blank name keeps whatever it said about an existing file.
    if ((found & ErrBlank) == 0) {
        if ((found & ErrExists) != 0)
            LogExists(row, entry->NewPath());
        SetBit(entry, ErrExists, (found & ErrExists) != 0);
    }
    FinishRow(row, ColNewName, occupant);
}

std::uint32_t Validation::ProbeName(int row, std::string_view name) {
    const FileEntry* entry = list_.EntryAt(row);
    name = KeptName(name, list_.Cell(row, ColCurrentName));
    const std::string key = MakePathKey(std::string(list_.Cell(row, ColDirectory)).append(name));
    // The row itself holds only its own path, which is no other row's file.
    const FileEntry* occupant = list_.CurrentPathIndex().Find(key, entry);
    return names_.Check(ToCheck(row, name, key, occupant));
}

std::string Validation::ExplainErrors(int row) {
    const FileEntry* entry = list_.EntryAt(row);
    const std::uint32_t errors = entry->errors;
    const std::string name(list_.Cell(row, ColNewName));
    ErrorFacts facts;
    facts.number = list_.RowNumberOf(row);
    facts.name = name;
    facts.newPath = entry->NewPath();
    facts.file = entry->currentKey;
    // What costs a walk or a look at the folder is found only for the errors that need it.
    if ((errors & ErrDuplicate) != 0) {
        FileEntry* partner = nullptr;
        list_.NewPathIndex().ForEach(entry->NewKey(), list_.NewPathIndex().HashOf(entry),
                                     [&](FileEntry* e) {
                                         partner = e != entry ? e : nullptr;
                                         return partner == nullptr;
                                     });
        facts.partner = partner != nullptr ? list_.RowNumberOf(partner->row) : facts.number;
    }
    if ((errors & ErrForbidden) != 0)
        DescribeForbidden(row, name, &facts);
    if ((errors & ErrTooLong) != 0)
        DescribeTooLong(row, &facts);
    std::string text;
    for (const ErrorMessage& message : kErrorMessages) {
        if ((errors & message.bit) == 0)
            continue;
        if (!text.empty())
            text += '\n';
        text += message.text(facts);
    }
    return text;
}

void Validation::MarkPartnersOutside(const FileEntry* entry,
                                     const std::vector<std::uint8_t>& inBatch) {
    std::vector<FileEntry*>& unmarked = work_;
    unmarked.clear();
    const PathIndex& index = list_.NewPathIndex();
    index.ForEach(entry->NewKey(), index.HashOf(entry), [&](FileEntry* e) {
        if (e != entry && (e->errors & ErrDuplicate) == 0 &&
            inBatch[static_cast<std::size_t>(e->row)] == 0)
            unmarked.push_back(e);
        return true;
    });
    // Copied: the walks below reuse the scratch.
    const std::vector<FileEntry*> partners(unmarked.begin(), unmarked.end());
    for (FileEntry* partner : partners) {
        partner->errors |= ErrDuplicate;
        list_.RefreshErrorColumn(partner->row);
        UpdateDependents(partner->row);
    }
}

void Validation::OnRowRegistered(int row) {
    ListModel& list = list_;
    FileEntry* entry = list.EntryAt(row);
    // The path the waiting rows want now belongs to a registered row.
    std::vector<FileEntry*> waiting;
    list.NewPathIndex().ForEach(entry->NewKey(), list.NewPathIndex().HashOf(entry),
                                [&](FileEntry* e) {
                                    if ((e->errors & ErrExists) != 0) {
                                        e->errors &= ~std::uint32_t{ErrExists};
                                        list.RefreshErrorColumn(e->row);
                                        if (e != entry)
                                            waiting.push_back(e);
                                    }
                                    return true;
                                });
    SetBit(entry, ErrDuplicate, CheckDuplicate(row));
    for (FileEntry* e : waiting)
        UpdateDependents(e);
    // A row just registered stays where it is: it has no occupant to look up.
    FinishRow(row, ColCurrentName, nullptr);
}

void Validation::FinishRow(int row, int nameColumn, const FileEntry* occupant) {
    FileEntry* entry = list_.EntryAt(row);
    const bool blocked = CheckSwapTarget(row, occupant);
    if (blocked) {
        ErrorFacts facts;
        facts.number = list_.RowNumberOf(row);
        facts.name = list_.Cell(row, nameColumn);
        log_.AppendLog(ErrorText(ErrSwapBlocked, facts));
    }
    SetBit(entry, ErrSwapBlocked, blocked);
    UpdateDependents(row);
    list_.RefreshErrorColumn(row);
}

void Validation::OnRowRemoved(int row) {
    ListModel& list = list_;
    FileEntry* removed = list.EntryAt(row);
    std::vector<FileEntry*> dependents;
    const std::uint32_t currentHash = list.CurrentPathIndex().HashOf(removed);
    list.NewPathIndex().ForEach(removed->currentKey, currentHash, [&](FileEntry* e) {
        if (e != removed)
            dependents.push_back(e);
        return true;
    });
    // The removed row's file stays on disk, now unregistered: whoever wanted its path now
    // collides with a file. Nobody wanting it, the disk need not be asked.
    if (!dependents.empty() && fs_.Exists(removed->currentKey)) {
        for (FileEntry* d : dependents) {
            LogExists(d->row, removed->currentKey);
            d->errors |= ErrExists;
            list.RefreshErrorColumn(d->row);
        }
    }
    ReleaseOldDuplicate(row);
    for (FileEntry* d : dependents) {
        if (d->Moves() && (d->errors & ErrExists) != 0) {
            LogExists(d->row, d->NewPath());
            list.RefreshErrorColumn(d->row);
            UpdateDependents(d->row);
        }
    }
    // Once the row is gone its dependents have no occupant.
    UpdateDependents(removed, removed);
}

int Validation::CountPartners(const FileEntry* entry, FileEntry** first) {
    int others = 0;
    const PathIndex& index = list_.NewPathIndex();
    index.ForEach(entry->NewKey(), index.HashOf(entry), [&](FileEntry* e) {
        if (e == entry)
            return true;
        if (others == 0)
            *first = e;
        return ++others < 2;
    });
    return others;
}

void Validation::ReleaseOldDuplicate(int row) {
    ReleaseOldDuplicate(row, nullptr);
}

void Validation::ReleaseOldDuplicate(int row, const std::vector<std::uint8_t>* checkedLater) {
    if (checkedLater != nullptr && checkedLater->empty())
        return;
    FileEntry* partner = nullptr;
    const int others = CountPartners(list_.EntryAt(row), &partner);
    if (others != 1 || (partner->errors & ErrDuplicate) == 0)
        return;
    if (checkedLater != nullptr && (*checkedLater)[static_cast<std::size_t>(partner->row)] != 0)
        return;
    partner->errors &= ~std::uint32_t{ErrDuplicate};
    list_.RefreshErrorColumn(partner->row);
    UpdateDependents(partner->row);
}

bool Validation::CheckDuplicate(int row) {
    FileEntry* partner = nullptr;
    CountPartners(list_.EntryAt(row), &partner);
    if (partner == nullptr)
        return false;
    if ((partner->errors & ErrDuplicate) == 0) {
        partner->errors |= ErrDuplicate;
        list_.RefreshErrorColumn(partner->row);
        UpdateDependents(partner->row);
    }
    ErrorFacts facts;
    facts.number = list_.RowNumberOf(partner->row);
    facts.partner = list_.RowNumberOf(row);
    log_.AppendLog(ErrorText(ErrDuplicate, facts));
    return true;
}

FileEntry* Validation::OccupantOf(int row) {
    return Occupant(list_.EntryAt(row));
}

bool Validation::CheckSwapTarget(int row, const FileEntry* occupant) {
    return ChainBlocked(list_.EntryAt(row), occupant);
}

void Validation::UpdateDependents(int row) {
    UpdateDependents(list_.EntryAt(row));
}

void Validation::PrefetchChecks(int row, int step) const {
    if (row < 0)
        return;
    const FileEntry& e = list_.Row(row).entry;
    switch (step) {
        case 0:
            // Both lines of the entry that a check reads: links and bits, then the keys.
            __builtin_prefetch(&e);
            __builtin_prefetch(&e.currentKey);
            return;
        case 1:
            __builtin_prefetch(e.newLink);
            __builtin_prefetch(e.currentLink);
            __builtin_prefetch(e.currentKey.data());
            __builtin_prefetch(e.NewPath().data());
            return;
        default:
            break;
    }
    if (e.newLink == nullptr || e.currentLink == nullptr)
        return;
    const ListModel& list = list_;
    // The three walks of a check: partners, occupant, dependents.
    list.NewPathIndex().Prefetch(e.newLink->hash, step - 2);
    list.CurrentPathIndex().Prefetch(e.newLink->hash, step - 2);
    list.NewPathIndex().Prefetch(e.currentLink->hash, step - 2);
}

FileEntry* Validation::Occupant(const FileEntry* entry) {
    ListModel& list = list_;
    return list.CurrentPathIndex().Find(entry->NewKey(), list.NewPathIndex().HashOf(entry), entry);
}

bool Validation::ChainBlocked(const FileEntry* entry, const FileEntry* occupant) {
    // A row that stays has no occupant: the row holding its path is itself.
    if (!entry->Moves())
        return false;
    const FileEntry* current = occupant;
    // Every row has at most one occupant, so the walk either ends, finds an error, or comes
    // back round; the bound only guards against a broken index.
    for (int steps = 0; current != nullptr && steps <= list_.RowCount(); ++steps) {
        if (!current->Moves())
            return false;
        if (HasOtherError(current))
            return true;
        if (current == entry)
            return false;
        current = Occupant(current);
    }
    return false;
}

void Validation::UpdateDependents(FileEntry* start, const FileEntry* absent) {
    ListModel& list = list_;
    // Marks are even; the low bit records "blocked" for the rows of this walk.
    walkEpoch_ += 2;
    if (walkEpoch_ == 0)
        walkEpoch_ = 2;
    const std::uint32_t mark = walkEpoch_;
    auto inRegion = [&](const FileEntry* e) { return e != nullptr && (e->walkMark & ~1u) == mark; };
    auto isBlocked = [](const FileEntry* e) { return (e->walkMark & 1u) != 0; };
    auto forEachDependent = [&](FileEntry* occupant, auto&& fn) {
        const std::uint32_t hash = list.CurrentPathIndex().HashOf(occupant);
        list.NewPathIndex().ForEach(occupant->currentKey, hash, [&](FileEntry* d) {
            if (d != occupant && d != absent)
                fn(d);
            return true;
        });
    };

    // The region: the row and every row whose chain of occupants passes through it.
    std::vector<FileEntry*>& region = region_;
    std::vector<FileEntry*>& work = work_;
    region.clear();
    work.clear();
    if (start != absent) {
        start->walkMark = mark;
        region.push_back(start);
    }
    work.push_back(start);
    while (!work.empty()) {
        FileEntry* occupant = work.back();
        work.pop_back();
        forEachDependent(occupant, [&](FileEntry* d) {
            if (inRegion(d))
                return;
            d->walkMark = mark;
            region.push_back(d);
            work.push_back(d);
        });
    }
    // A row nobody waits for is in no ring: its own chain does not pass through itself, so
    // nothing here changes.
    if (region.size() == 1 && region[0] == start)
        return;
    // The least fixed point inside the region: blocked where the occupant moves and carries
    // another error (or lies outside the region and is blocked), then along the dependents.
    for (FileEntry* y : region) {
        const FileEntry* o = Occupant(y);
        const bool blocked =
            o != nullptr && o != absent && o->Moves() &&
            (HasOtherError(o) || (!inRegion(o) && (o->errors & ErrSwapBlocked) != 0));
        if (blocked) {
            y->walkMark = mark | 1u;
            work.push_back(y);
        }
    }
    while (!work.empty()) {
        FileEntry* y = work.back();
        work.pop_back();
        if (!y->Moves())
            continue;
        forEachDependent(y, [&](FileEntry* d) {
            if (!inRegion(d) || isBlocked(d))
                return;
            d->walkMark = mark | 1u;
            work.push_back(d);
        });
    }
    for (FileEntry* y : region) {
        if (((y->errors & ErrSwapBlocked) != 0) == isBlocked(y))
            continue;
        SetBit(y, ErrSwapBlocked, isBlocked(y));
        list.RefreshErrorColumn(y->row);
    }
}

}  // namespace morvane
