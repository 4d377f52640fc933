#pragma once
// The journal of a rename run: its plan, written and made durable before the first move, its
// progress, and its end. A run killed half-way can be rolled back or finished from it at the
// next start, and a finished run can be reversed. The state of a journal is in its file name:
//
//   <stamp>-<n>.rename.run      running, or killed before its end
//   <stamp>-<n>.rename.done     finished; the undo command may reverse it
//   <stamp>-<n>.rename.undone   finished and reversed
//   <stamp>-<n>.undo.run / .undo.done   the same for the runs of the undo command

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/JournalFormat.h"
#include "platform/FileSystem.h"

namespace morvane {

// How many finished journals are kept, and how many bytes they may take together (a run of a
// million files writes tens of MB); older ones are deleted. Journals of runs still
// interrupted are never deleted and count for neither.
inline constexpr std::size_t kJournalsKept = 20;
inline constexpr std::uint64_t kJournalBytesKept = 200ull << 20;
// Where the number of runs dropped for their size is kept, for the history to say so.
inline constexpr std::string_view kDroppedFile = "dropped-runs";

enum class JournalState { Running, Done, Undone };

struct JournalFile {
    std::string name;  // within the journal folder
    RunKind kind = RunKind::Rename;
    JournalState state = JournalState::Running;
};

// The journals of the folder, oldest first.
std::vector<JournalFile> ListJournals(FileSystem& fs, const std::string& folder);
// The name the journal takes in the given state.
std::string JournalName(const JournalFile& file, JournalState state);
// Renames the journal to its new state and makes that durable.
FsStatus MarkJournal(FileSystem& fs, const std::string& folder, JournalFile* file,
                     JournalState state);
// Takes the journal's lock without waiting and reads it: the status of the lock or the read,
// EINVAL when the text is no journal.
FsStatus OpenJournal(FileSystem& fs, const std::string& path, LockedFile* held,
                     JournalText* journal);
// Ends a held journal: its last line, durable, the name of its new state, and the lock let go.
FsStatus EndJournal(FileSystem& fs, const std::string& folder, JournalFile* file, LockedFile& held,
                    std::string_view lastLine, JournalState state);
// Deletes the oldest finished journals beyond kJournalsKept or bytesKept; the number deleted
// for their size (added to the count in kDroppedFile).
int PruneJournals(FileSystem& fs, const std::string& folder,
                  std::uint64_t bytesKept = kJournalBytesKept);
// How many runs were dropped for their size so far.
int DroppedRuns(FileSystem& fs, const std::string& folder);

class Journal {
public:
    explicit Journal(FileSystem& fs) : fs_(fs) {}

    // Creates a new journal in `folder` holding the plan and the file systems its entries
    // name, and makes it durable. On failure nothing is left behind and no move may follow.
    FsStatus Begin(const std::string& folder, RunKind kind, std::string_view undoes,
                   const std::vector<JournalVolume>& volumes,
                   const std::vector<JournalEntry>& plan);
    // Durable before the entry moves to the extra temporary name.
    FsStatus ExtraTemp(std::size_t index, std::string_view path);
    // A phase of a depth batch is over.
    FsStatus Progress(std::uint16_t depth, int phase);
    // The run is over: the journal is marked done and let go, and old ones are pruned.
    FsStatus Complete();

    // The run ends with files left half-way: the journal stays in its running state, for the
    // next start to offer to put them back, and is let go.
    void LetGo() { file_.Close(); }

    bool IsOpen() const { return file_.IsOpen(); }
    // The journal's file name within its folder.
    const std::string& Name() const { return entry_.name; }

private:
    FileSystem& fs_;
    std::string folder_;
    JournalFile entry_;
    LockedFile file_;
};

}  // namespace morvane
