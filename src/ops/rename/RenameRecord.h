#pragma once
// What one rename run did: every move it made, in order, and every row that wanted a new
// name and did not get it. Enough to tell where each file is after the run.

#include <string>
#include <vector>

namespace morvane {

struct RenameRecord {
    struct Move {
        std::string from;
        std::string to;
        // A step to or from a temporary name: the file is not at its new name after it.
        bool temporary = false;
    };
    enum class Reason {
        HasErrors,       // the row's new name is in error; nothing was tried
        FileMissing,     // no file at the row's current path when the run began
        VacateFailed,    // the move to the temporary name failed: the file is at `path`
        MoveFailed,      // the move to the new name failed: the file is at `path`
        LeftTemporary,   // the file reached its temporary name but not its new name
        FolderReplaced,  // its folder is no longer the one registered: the file is untouched
    };
    struct Left {
        std::string source;  // the row's current path when the run began
        std::string path;    // where the file is (or was looked for)
        std::string target;  // the new path it wanted
        Reason reason = Reason::HasErrors;
        int error = 0;  // errno of the failed move, 0 when nothing was tried
    };

    std::vector<Move> moves;
    std::vector<Left> left;
    // False when no run took place: declined, refused, or stopped before its first move
    // because its journal could not be written.
    bool ran = false;
};

}  // namespace morvane
