#pragma once
// The rename plan the rename scenarios share: who goes where in the generated tree, the bare
// moves of it, and the checks and the restore between runs. Per folder, in blocks of 100
// files: 10 swap in pairs, 10 form two chains of five (each takes the next one's name, the
// last a free one), 80 take free names.

#include <memory>
#include <string>
#include <vector>

#include "Bench.h"
#include "BenchHost.h"
#include "app/CMorvaneApp.h"

namespace morvane::bench {

// Who goes where. Files are in list order, which is the tree's order.
struct Plan {
    std::vector<std::string> newNames;
    std::vector<std::string> targets;  // full new paths
    std::vector<std::string> temps;    // the temporary path a file makes room through, or empty
    std::size_t swapping = 0, chained = 0;
};

Plan MakePlan(const BenchTree& tree);
[[noreturn]] void Fail(const std::string& what);
// A move that never replaces: renameat2 with RENAME_NOREPLACE, or where the file system refuses
// the flag a plain rename after the target was seen free. 0, or -1 with errno set.
int MoveNoReplace(const std::string& from, const std::string& to);
// Each file holds its own name, so a check can tell which file is where.
void WriteContents(const BenchTree& tree);
// Every file under its new name with the content it had under its old one, and each folder
// holding exactly the new names.
void CheckRenamed(const BenchTree& tree, const Plan& plan);
// Every file under its old name with its content, and nothing else in the folders.
void CheckOriginal(const BenchTree& tree);
// Puts every file back under its old name for the next run.
void Restore(const BenchTree& tree, const Plan& plan);
// The moves the command makes, with nothing around them.
void BareRename(const BenchTree& tree, const Plan& plan);
// A program with every file of the tree registered, its temporary folder the tree's root.
std::unique_ptr<CMorvaneApp> RegisteredApp(BenchHost& host, const BenchTree& tree);
// Gives every row of the program (the tree's files in order) its new name in one batch;
// fails when a row is in error.
void NameByPlan(CMorvaneApp& app, const Plan& plan);
// A program with every file of the tree registered and given its new name, no row in error;
// its journals go to `journals`.
std::unique_ptr<CMorvaneApp> ReadyToRename(BenchHost& host, const BenchTree& tree, const Plan& plan,
                                           const std::string& journals);

}  // namespace morvane::bench
