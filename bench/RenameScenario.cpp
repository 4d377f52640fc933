// Renaming every file of the tree with the rename command, against the bare no-replace
// renameat2 calls of the same moves in the same order (one per file, two per file that has to
// make room first). Every run is checked: each file under its intended name with its own
// content, nothing else left.

#include <memory>
#include <string>

#include "Bench.h"
#include "BenchHost.h"
#include "RenamePlan.h"
#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "model/ListModel.h"

namespace mb = morvane::bench;

MORVANE_BENCH_SCENARIO(RenameAll, "rename with swaps and chains") {
    const mb::BenchTree& tree = ctx.Tree();
    const mb::Plan plan = mb::MakePlan(tree);
    mb::WriteContents(tree);
    std::size_t temporaries = 0;
    for (const auto& temp : plan.temps)
        temporaries += temp.empty() ? 0 : 1;

    mb::BenchHost host;
    std::unique_ptr<morvane::CMorvaneApp> app;
    const mb::Measurement ours =
        ctx.Measure([&] { morvane::AppInternals::Renamer(*app).RenameAll(); },
                    [&] { app = mb::ReadyToRename(host, tree, plan, tree.root + "/.journals"); },
                    [&] {
                        if (app->List().RowCount() != 0 ||
                            app->Log().Text().find("【致命的") != std::string::npos) {
                            mb::Fail("the command did not finish cleanly");
                        }
                        mb::CheckRenamed(tree, plan);
                        mb::Restore(tree, plan);
                        app.reset();
                    });
    const mb::Measurement bare = ctx.Measure([&] { mb::BareRename(tree, plan); }, {},
                                             [&] {
                                                 mb::CheckRenamed(tree, plan);
                                                 mb::Restore(tree, plan);
                                             });
    ctx.Report("rename " + std::to_string(tree.files.size()) + " files (" +
                   std::to_string(plan.swapping) + " swapping, " + std::to_string(plan.chained) +
                   " in chains, " + std::to_string(temporaries) + " through temporary names)",
               ours, bare, tree.files.size(), {.maxRatio = 1.5});
    ctx.RebuildTree();
}
