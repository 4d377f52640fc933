#pragma once
// The text of a journal file: the plan of one rename run and how far it got. One record per
// line; paths are escaped so that any name fits on one line and the file stays readable:
//
//   morvane journal 1
//   run rename -                       (or: run undo <file name of the journal it reverses>)
//   p <device> <inode> <current>\t<temporary>\t<new>     one per move, in the run's order
//   planned <count>                    the plan is whole; no move happens before this line
//   t <index> <path>                   an extra temporary name the entry goes through
//   done <depth> <phase>               phase 1: the batch made room, 2: the batch is placed
//   complete                           after the end of the run
//   undone                             the run was reversed
//
// A line cut short by a crash has no line end and is ignored.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

struct JournalEntry {
    std::string from;  // the file's path when the run began
    std::string temp;  // where it waits while its path is wanted; empty if never
    std::string to;    // its new path; folders above it keep their old names here
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::vector<std::string> extraTemps;  // further temporary names it went through
};

enum class RunKind { Rename, Undo };

struct JournalText {
    RunKind kind = RunKind::Rename;
    std::string undoes;  // for an undo: the file name of the journal it reverses
    std::vector<JournalEntry> plan;
    bool planned = false;  // the plan is whole
    bool complete = false;
    bool undone = false;
};

std::string JournalHeader(RunKind kind, std::string_view undoes);
void AppendPlanLine(std::string* text, const JournalEntry& entry);
std::string PlannedLine(std::size_t count);
std::string ExtraTempLine(std::size_t index, std::string_view path);
std::string ProgressLine(std::uint16_t depth, int phase);
inline constexpr std::string_view kCompleteLine = "complete\n";
inline constexpr std::string_view kUndoneLine = "undone\n";

// False when the text is not a journal (its first line is not ours).
bool ParseJournal(std::string_view text, JournalText* journal);

}  // namespace morvane
