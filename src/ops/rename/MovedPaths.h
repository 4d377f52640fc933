#pragma once
// Where a path of the run's start is once the run's moves are made: the files a run could
// not rename may sit in folders it renamed.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ops/rename/RenameRecord.h"
#include "platform/TextHash.h"

namespace morvane {

class MovedPaths {
public:
    explicit MovedPaths(const std::vector<RenameRecord::Move>& moves);

    // `path` is where a file was left, in the names its folders had then. A run moves the
    // deepest paths first, so the folders above a file move after it, each under the names
    // its own parents had at the start: each folder on the path is looked up by those names.
    std::string Now(std::string_view path) const;
    // Where the file that was at `start` when the run began is now: its own move, then its
    // folders'.
    std::string NowOfStart(std::string_view start) const;

private:
    // Path at the start -> path at the end, for every path some move took away.
    std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> moved_;
};

}  // namespace morvane
