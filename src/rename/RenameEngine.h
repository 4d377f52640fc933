#pragma once
// Renaming every clean row on disk: deepest first, chains and rings through temporary names.

#include <cstdint>
#include <string>
#include <vector>

#include "rename/RetriedMove.h"

namespace morvane {

class CMorvaneApp;
class FolderPresence;

class RenameEngine {
public:
    explicit RenameEngine(CMorvaneApp& app) : app_(app) {}

    // Command 1004.
    void RenameAll();

    // Tests shorten the wait between attempts; the count stays.
    RetryPolicy retry;

private:
    // One row taking part, copied out of the list so that nothing a pump does to the rows
    // can pull the run's data away under it.
    struct Job {
        std::string source;  // current path
        std::string target;  // new path as typed
        std::string temp;    // where the file waits while its path is wanted; empty if never
        std::uint16_t depth = 0;
        bool vacateFailed = false;
    };

    // Moves and is clean (its error cell is empty).
    bool TakesPart(int position) const;
    void Collect();
    // Rows of equal depth stand in the reverse of their list order, deepest run first.
    std::vector<std::size_t> RenameOrder() const;
    void Vacate(Job& job);
    void Place(const Job& job);
    // A no-replace move refused because the target is the source itself (a letter-case change
    // on a case-insensitive file system) goes through a temporary name in the same folder.
    // On failure *strandedAt names the temporary path when the file could not go back.
    int MoveThroughTemporary(const std::string& from, const std::string& to,
                             std::string* strandedAt);
    // The next free "<dir>/<counter>[MORVANE]_<name>" of this run; `presence` answers for the
    // disk while nothing has moved yet, the file system itself afterwards.
    std::string NextTemporaryPath(const std::string& dirWithoutSlash, const std::string& name,
                                  FolderPresence* presence);

    CMorvaneApp& app_;
    std::vector<Job> jobs_;
    std::uint32_t counter_ = 0;
};

}  // namespace morvane
