#pragma once
// The text of a journal file: the plan of one rename run and how far it got. One record per
// line; paths are escaped so that any name fits on one line and the file stays readable:
//
//   morvane journal 2
//   run rename -                       (or: run undo <file name of the journal it reverses>)
//   s <count> <folders> <first folder> what the run is about, for a history that reads no
//                                      further than the head of the file
//   v <device> <i|n> <identity>        a file system the plan's files lie on, numbered from 0
//                                      in line order; i: an inode number names a file there
//   p <v> <kind> <inode> <size> <mtime> <birth> <current>\t<temporary>\t<new>
//                                      one per move, in the run's order; kind f, d, l or o
//                                      (file, folder, link, other); times <s>.<ns>, the birth
//                                      time 0.0 where the file system keeps none
//   planned <count>                    the plan is whole; no move happens before this line
//   t <index> <path>                   an extra temporary name the entry goes through
//   done <depth> <phase>               phase 1: the batch made room, 2: the batch is placed
//   recovered <depth> <old|new>        recovery put the batch at its old or new names
//   complete                           after the end of the run
//   undone                             the run was reversed
//   b <index>                          an undo put the entry back at its old name
//
// Version 1 journals, written before files were told apart by more than their inode, have
// "p <device> <inode> <current>\t<temporary>\t<new>" lines and no v lines; they are still read.
// A line cut short by a crash has no line end and is ignored. A line that does not read (a
// damaged disk block, a sync tool) is counted and passed over; a plan line so passed over
// leaves the plan without it, and the plan is not whole.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

// A file system as it was when the plan was written.
struct JournalVolume {
    std::uint64_t device = 0;  // may be another one after a re-plug or a remount
    std::string identity;      // what names it again then; empty where nothing did
    bool stableInodes = true;  // else files are known by name, kind, size and times
};

enum class EntryKind : std::uint8_t { File, Folder, Link, Other };

// What tells a file from another beside its path and inode number.
struct FileMark {
    EntryKind kind = EntryKind::File;
    std::uint64_t size = 0;
    std::int64_t mtimeSec = 0;
    std::int64_t mtimeNsec = 0;
    std::int64_t birthSec = 0;  // both 0: no birth time known
    std::int64_t birthNsec = 0;
};

inline constexpr std::uint32_t kNoVolume = ~std::uint32_t{0};

struct JournalEntry {
    std::string from;  // the file's path when the run began
    std::string temp;  // where it waits while its path is wanted; empty if never
    std::string to;    // its new path; folders above it keep their old names here
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::vector<std::string> extraTemps;  // further temporary names it went through
    // In JournalText::volumes; kNoVolume in a version 1 journal, which knows the device and
    // inode alone.
    std::uint32_t volume = kNoVolume;
    FileMark mark;
    bool back = false;  // an undo put it back at its old name
};

enum class RunKind { Rename, Undo };

struct JournalText {
    RunKind kind = RunKind::Rename;
    std::string undoes;  // for an undo: the file name of the journal it reverses
    std::vector<JournalVolume> volumes;
    std::vector<JournalEntry> plan;
    bool planned = false;  // the plan is whole
    // The last progress line: the run got past that phase of that depth; depth -1 for none.
    int doneDepth = -1;
    int donePhase = 0;
    // Batches recovery put at their old (false) or new (true) names, by depth, in line order.
    std::vector<std::pair<std::uint16_t, bool>> recovered;
    bool complete = false;
    bool undone = false;
    // How the text read: whole lines, those of them that did not read, and whether it ends
    // in a line cut short.
    std::size_t lines = 0;
    std::size_t badLines = 0;
    bool cutShort = false;
    bool planEnded = false;     // a "planned" line came, whatever its count
    bool movedAfter = false;    // a line after the plan says a move was made
    std::size_t backCount = 0;  // entries an undo put back
    // From the s line; summaryCount -1 where there is none (journals written before it).
    long long summaryCount = -1;
    std::size_t summaryFolders = 0;
    std::string summaryFolder;
};

std::string JournalHeader(RunKind kind, std::string_view undoes);
std::string SummaryLine(std::size_t count, std::size_t folders, std::string_view firstFolder);
std::string VolumeLine(const JournalVolume& volume);
void AppendPlanLine(std::string* text, const JournalEntry& entry);
std::string PlannedLine(std::size_t count);
std::string ExtraTempLine(std::size_t index, std::string_view path);
std::string ProgressLine(std::uint16_t depth, int phase);
std::string RecoveredLine(std::uint16_t depth, bool atNew);
inline constexpr std::string_view kCompleteLine = "complete\n";
inline constexpr std::string_view kUndoneLine = "undone\n";
std::string BackLine(std::size_t index);

// False when the text is not a journal (its first line is not ours).
bool ParseJournal(std::string_view text, JournalText* journal);

}  // namespace morvane
