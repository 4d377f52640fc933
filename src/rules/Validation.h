#pragma once
// Checking new names and keeping every row's error bits right as names, rows and files come
// and go.
//
// ErrSwapBlocked has one meaning throughout: a moving row is swap-blocked exactly when the
// chain of occupants from it (the row whose current path it wants, that row's occupant, ...)
// reaches a moving row that carries some other error. A ring whose members carry no other
// error is not blocked. The bit of a dependent follows from its occupant alone, so a change
// is carried along the dependents' chains and stops where nothing changes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rules/NameCheck.h"

namespace morvane {

class ActivityLog;
class FileSystem;
struct ErrorFacts;
class FolderPresence;
class ListModel;
struct FileEntry;

// One row of a batch of new names.
struct NewName {
    NewName(int row_, std::string_view name_) : row(row_), name(name_) {}
    // An entry that checks the row with the name it has.
    static NewName Keep(int row_) {
        NewName entry(row_, {});
        entry.keep = true;
        return entry;
    }

    int row;
    bool keep = false;  // `name` is not used
    // Viewed, not owned: it must stay valid for the call.
    std::string_view name;
};

// Where a batch of names comes from, which decides how its messages name a row.
enum class NameSource {
    // Typed, numbered or loaded names: the messages give the row's "行" number, and the
    // forbidden-character message the name.
    Row,
    // Lines of the text file: the messages give the row's list position + 1, and the
    // forbidden-character message the new path. A name that would make the path reach
    // Validation::kMaxPathUnits is cut, with a message.
    TextFile,
};

// Told of a batch's progress: after each entry of the naming pass, once all names are set,
// and after each entry of the checking pass.
class NameBatchObserver {
public:
    virtual void NameSet(std::size_t /*index*/) {}
    virtual void NamesSet() {}
    virtual void RowChecked(std::size_t /*index*/) {}

protected:
    ~NameBatchObserver() = default;
};

class Validation {
public:
    Validation(ListModel& list, FileSystem& fs, ActivityLog& log)
        : list_(list), fs_(fs), log_(log), names_(fs) {}

    static constexpr std::size_t kMaxPathUnits = 32000;

    // Sets the row's new name (trailing blanks cut) and validates it: a batch of one from
    // NameSource::Row. Always true.
    bool SetNewName(int row, std::string name);
    // Sets the new names of many rows, then checks them. First every name is set in the
    // given order (trailing blanks cut, with a message), then every row of the batch is
    // checked in that order, so each check sees all the new names; the bits of rows outside
    // the batch follow. A row appears at most once.
    void SetNewNames(std::span<const NewName> names, NameSource source,
                     NameBatchObserver* observer = nullptr);
    // The checks of SetNewName for a row whose name, keys and cells are already set.
    void CheckRow(int row) { CheckRow(row, NameSource::Row, nullptr); }
    void OnRowRegistered(int row);
    void OnRowRemoved(int row);

    // The log's message for each error of the row, one per line: what the row shows when the
    // user points at it. Empty for a clean row.
    std::string ExplainErrors(int row);

    // The errors the row would carry with this name (trailing blanks cut as setting it would),
    // from the one check of a row's name (see NameCheck). Changes and logs nothing.
    // Duplicates and swaps depend on the other names of a batch.
    std::uint32_t ProbeName(int row, std::string_view name);

    void ReleaseOldDuplicate(int row);
    bool CheckDuplicate(int row);
    // True when the row is swap-blocked (see above).
    bool CheckSwapTarget(int row) { return CheckSwapTarget(row, OccupantOf(row)); }
    // The other row registered at this row's new path, if any. The check below takes it from
    // the caller, so checking a row walks the index for it once.
    FileEntry* OccupantOf(int row);
    bool CheckSwapTarget(int row, const FileEntry* occupant);
    // Bring the swap bit of the rows that want this row's current path (and of theirs, as far
    // as it changes) in line with this row's state. Silent.
    void UpdateDependents(int row);

    // Checking every row of a long list waits on memory, not on work. A caller about to check
    // rows in a known order calls this for the rows ahead, with steps 0 to kPrefetchSteps - 1
    // from the farthest row to the nearest, so their walks find what they read already loaded.
    static constexpr int kPrefetchSteps = 5;
    void PrefetchChecks(int row, int step) const;

private:
    // Cuts and sets one name of a batch. `checkedLater` marks by row the rows the batch checks
    // anyway, whose duplicate bit need not be released now: empty when that is every row,
    // null when it is only this one.
    void SetOneName(const NewName& change, NameSource source,
                    const std::vector<std::uint8_t>* checkedLater);
    void CheckRow(int row, NameSource source, const std::vector<std::uint8_t>* checkedLater);
    // A row of a batch marks only its first partner as a duplicate, which is enough when the
    // others already are; a batch over some rows marks the rest outside it as well.
    void MarkPartnersOutside(const FileEntry* entry, const std::vector<std::uint8_t>& inBatch);
    // Clears the duplicate bit of the row's one partner under its old key, unless the batch
    // checks that partner anyway.
    void ReleaseOldDuplicate(int row, const std::vector<std::uint8_t>* checkedLater);
    // The swap check with its message, the dependents, and the error cell: how every check
    // of a row ends.
    // The message names the row by the text of its cell `nameColumn`.
    void FinishRow(int row, int nameColumn, const FileEntry* occupant);
    // Other rows with the entry's new key, counted up to 2; *first is the first one met.
    int CountPartners(const FileEntry* entry, FileEntry** first);
    FileEntry* Occupant(const FileEntry* entry);
    bool ChainBlocked(const FileEntry* entry, const FileEntry* occupant);
    // Recomputes the swap bit of the row and of every row whose chain of occupants passes
    // through it. `absent` is a row about to leave the list: it occupies nothing any more.
    void UpdateDependents(FileEntry* entry, const FileEntry* absent = nullptr);

    // The row's name as the check sees it, under the key `key`.
    NameToCheck ToCheck(int row, std::string_view name, const std::string& key,
                        const FileEntry* occupant);
    // What the folder refuses in the name, as the forbidden-name message shows it.
    void DescribeForbidden(int row, std::string_view name, ErrorFacts* facts);
    // The folder's limit, as the too-long message shows it.
    void DescribeTooLong(int row, ErrorFacts* facts);
    // The line saying that a file already takes the path the row wants.
    void LogExists(int row, std::string_view path);

    ListModel& list_;
    FileSystem& fs_;
    ActivityLog& log_;
    NameCheck names_;
    // Set while a batch checks its rows: many rows of one folder then cost one read of it
    // instead of one lookup of each new name.
    FolderPresence* presence_ = nullptr;
    std::uint32_t walkEpoch_ = 0;
    // Kept between walks so a walk allocates nothing once they have grown.
    std::vector<FileEntry*> region_;
    std::vector<FileEntry*> work_;
};

}  // namespace morvane
