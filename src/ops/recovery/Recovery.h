#pragma once
// Bringing a rename run that was cut off back to a whole state: every file of its plan to its
// old name (rolled back) or to its new name (finished). The disk is trusted, not the journal
// alone: each file is found by its device and inode at one of the paths the plan gave it,
// under folders that may have moved meanwhile.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "formats/JournalFormat.h"
#include "platform/FileSystem.h"

namespace morvane {

class ActivityLog;

enum class RecoveryDirection { RollBack, Finish };

// Where the files of a plan are found.
struct PlanCounts {
    int atOld = 0;
    int atNew = 0;
    int atTemporary = 0;
    int missing = 0;
};

class PlanRecovery {
public:
    // `journal`: the journal file held locked, where extra temporary names are recorded
    // before a file moves to one.
    PlanRecovery(FileSystem& fs, ActivityLog& log, JournalText plan, LockedFile& journal);

    // The journal's text, with any temporary names recovery added.
    const JournalText& Text() const { return plan_; }

    // Looks for every file of the plan; the counts are of that moment. `newFirst`: most files
    // are expected at their new names, so that is looked at first. `keepInfo`: what was found
    // of each file is kept for InfoOf.
    PlanCounts Locate(bool newFirst = false, bool keepInfo = false);
    // Moves every file found to its old or new name, never replacing anything. A file not
    // found, or whose place is taken, is left where it is and named in the log. The number of
    // files that end at the wanted name (those already there included).
    int Apply(RecoveryDirection direction);

    // After Locate: whether the entry was found at its old or new name, and the path where
    // it is now.
    bool AtOld(std::size_t entry) const { return at_[entry] == kOld; }
    bool AtNew(std::size_t entry) const { return at_[entry] == kNew; }
    std::string PathNow(std::size_t entry) const { return Now(Candidate(entry, at_[entry])); }
    // Where the entry's new name is now.
    std::string NewPathNow(std::size_t entry) const { return Now(plan_.plan[entry].to); }
    // What Locate found of the entry, when it kept it.
    const FileInfo* InfoOf(std::size_t entry) const {
        return entry < infos_.size() && infos_[entry] ? &*infos_[entry] : nullptr;
    }

private:
    enum : int { kNowhere = -1, kOld = 0, kNew = 1 };  // further: temporary names

    const std::string& Candidate(std::size_t entry, int which) const;
    int Candidates(std::size_t entry) const;
    // The path a recorded path leads to now, the moves of folders above it applied.
    std::string Now(const std::string& recorded) const;
    // Moves an entry found at `at` to the candidate `to`; false when it could not.
    bool MoveEntry(std::size_t entry, int to);
    // A free temporary path beside the entry's old place; its journal line is added to `lines`.
    void FreshTemporary(std::size_t entry, std::string* lines);
    void NoteFolder(std::size_t entry);

    FileSystem& fs_;
    ActivityLog& log_;
    JournalText plan_;
    LockedFile& journal_;
    std::vector<int> at_;       // which candidate each entry is at
    std::vector<bool> folder_;  // the entry is a folder
    std::vector<std::optional<FileInfo>> infos_;
    // The recorded (old) path of each folder found elsewhere, and where it is now.
    std::unordered_map<std::string, std::string> moved_;
    std::uint32_t counter_ = 0;
    std::unordered_map<std::string, std::size_t> nameMax_;  // of each folder, by old path
};

}  // namespace morvane
