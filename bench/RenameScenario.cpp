// Renaming every file of the tree with the rename command, against the bare no-replace
// renameat2 calls of the same moves in the same order (one per file, two per file that has to
// make room first). Per folder, in blocks of 100 files: 10 swap in pairs, 10 form two chains
// of five (each takes the next one's name, the last a free one), 80 take free names. Every
// run is checked: each file under its intended name with its own content, nothing else left.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Bench.h"
#include "BenchHost.h"
#include "app/CMorvaneApp.h"
#include "host/Messages.h"
#include "platform/FileSystem.h"

namespace {

int MoveNoReplace(const std::string& from, const std::string& to) {
    return static_cast<int>(
        syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE));
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}
std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('/'));
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "rename scenario: %s\n", what.c_str());
    std::exit(1);
}

// Who goes where. Files are in list order, which is the tree's order.
struct Plan {
    std::vector<std::string> newNames;
    std::vector<std::string> targets;  // full new paths
    std::vector<std::string> temps;    // the temporary path a file makes room through, or empty
    std::size_t swapping = 0, chained = 0;
};

Plan MakePlan(const morvane::bench::BenchTree& tree) {
    const std::vector<std::string>& files = tree.files;
    Plan plan;
    plan.newNames.resize(files.size());
    plan.targets.resize(files.size());
    plan.temps.resize(files.size());
    // Positions of each folder's files, in list order.
    std::vector<std::vector<std::size_t>> byFolder(tree.folders.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        byFolder[i % tree.folders.size()].push_back(i);
    for (const auto& members : byFolder) {
        for (std::size_t k = 0; k < members.size(); ++k) {
            const std::size_t i = members[k];
            const std::size_t inBlock = k % 100;
            const bool fullBlock = k - inBlock + 100 <= members.size();
            std::string name = "renamed_" + NameOf(files[i]);
            if (fullBlock && inBlock < 10) {
                name = NameOf(files[members[inBlock % 2 == 0 ? k + 1 : k - 1]]);
                ++plan.swapping;
            } else if (fullBlock && inBlock < 20) {
                if ((inBlock - 10) % 5 != 4)
                    name = NameOf(files[members[k + 1]]);
                ++plan.chained;
            }
            plan.newNames[i] = name;
            plan.targets[i] = FolderOf(files[i]) + "/" + name;
        }
    }
    // Whoever's path another file wants moves aside first; the counter runs in list order.
    std::vector<bool> wanted(files.size(), false);
    std::vector<std::string> sortedTargets = plan.targets;
    std::sort(sortedTargets.begin(), sortedTargets.end());
    unsigned counter = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (std::binary_search(sortedTargets.begin(), sortedTargets.end(), files[i])) {
            plan.temps[i] = morvane::FormatText("%s/%08x[MORVANE]_%s", FolderOf(files[i]).c_str(),
                                                counter++, NameOf(files[i]).c_str());
        }
    }
    return plan;
}

void WriteContent(const std::string& path, const std::string& content) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0 || write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
        Fail("cannot write " + path);
    close(fd);
}

// Every file under its new name with the content it had under its old one, and each folder
// holding exactly the new names.
void CheckRenamed(const morvane::bench::BenchTree& tree, const Plan& plan) {
    morvane::FileSystem& fs = morvane::RealFileSystem();
    std::string content;
    for (std::size_t i = 0; i < tree.files.size(); ++i) {
        if (!fs.ReadFile(plan.targets[i], morvane::kNoSizeLimit, &content).Ok() ||
            content != NameOf(tree.files[i]))
            Fail("wrong content or missing: " + plan.targets[i]);
    }
    std::vector<std::vector<std::string>> expected(tree.folders.size());
    for (std::size_t i = 0; i < tree.files.size(); ++i)
        expected[i % tree.folders.size()].push_back(plan.newNames[i]);
    for (std::size_t f = 0; f < tree.folders.size(); ++f) {
        std::vector<std::string> names;
        if (!fs.ListFolder(tree.folders[f], &names).Ok())
            Fail("cannot read " + tree.folders[f]);
        std::sort(names.begin(), names.end());
        std::sort(expected[f].begin(), expected[f].end());
        if (names != expected[f])
            Fail("unexpected names in " + tree.folders[f]);
    }
}

// Puts every file back under its old name for the next run.
void Restore(const morvane::bench::BenchTree& tree, const Plan& plan) {
    for (std::size_t i = 0; i < tree.files.size(); ++i) {
        if (MoveNoReplace(plan.targets[i], FolderOf(tree.files[i]) + "/undo_" + std::to_string(i)))
            Fail("cannot restore " + plan.targets[i]);
    }
    for (std::size_t i = 0; i < tree.files.size(); ++i) {
        if (MoveNoReplace(FolderOf(tree.files[i]) + "/undo_" + std::to_string(i), tree.files[i]))
            Fail("cannot restore " + tree.files[i]);
    }
}

// The moves the command makes, with nothing around them: all files are at one depth, so one
// batch; later rows first; first the files that take another's place move to their temporary
// names, then every file moves to its new name.
void BareRename(const morvane::bench::BenchTree& tree, const Plan& plan) {
    const std::size_t n = tree.files.size();
    for (std::size_t i = n; i-- > 0;) {
        if (!plan.temps[i].empty())
            MoveNoReplace(tree.files[i], plan.temps[i]);
    }
    for (std::size_t i = n; i-- > 0;)
        MoveNoReplace(plan.temps[i].empty() ? tree.files[i] : plan.temps[i], plan.targets[i]);
}

}  // namespace

MORVANE_BENCH_SCENARIO(RenameAll, "rename with swaps and chains") {
    const morvane::bench::BenchTree& tree = ctx.Tree();
    const Plan plan = MakePlan(tree);
    for (const auto& path : tree.files)
        WriteContent(path, NameOf(path));
    std::size_t temporaries = 0;
    for (const auto& temp : plan.temps)
        temporaries += temp.empty() ? 0 : 1;

    morvane::bench::BenchHost host;
    std::unique_ptr<morvane::CMorvaneApp> app;
    const morvane::bench::Measurement ours = ctx.Measure(
        [&] { app->Renamer().RenameAll(); },
        [&] {
            app = std::make_unique<morvane::CMorvaneApp>(host, morvane::RealFileSystem());
            app->Places().programPrefix = "/usr";
            app->Places().configPrefix = "/etc";
            app->Places().journalDir = tree.root + "/.journals";
            for (const auto& path : tree.files)
                app->Registrar().RegisterPath(path);
            if (app->List().RowCount() != static_cast<int>(tree.files.size()))
                Fail("not every file was registered");
            for (int row = 0; row < app->List().RowCount(); ++row)
                app->Rules().SetNewName(row, plan.newNames[static_cast<std::size_t>(row)]);
            for (int row = 0; row < app->List().RowCount(); ++row) {
                if (!app->List().Cell(row, morvane::ColError).empty())
                    Fail("row in error: " +
                         std::string(app->List().Cell(row, morvane::ColNewName)));
            }
        },
        [&] {
            if (app->List().RowCount() != 0 ||
                app->Log().Text().find("【致命的") != std::string::npos) {
                Fail("the command did not finish cleanly");
            }
            CheckRenamed(tree, plan);
            Restore(tree, plan);
            app.reset();
        });
    const morvane::bench::Measurement bare = ctx.Measure([&] { BareRename(tree, plan); }, {},
                                                         [&] {
                                                             CheckRenamed(tree, plan);
                                                             Restore(tree, plan);
                                                         });
    ctx.Report("rename " + std::to_string(tree.files.size()) + " files (" +
                   std::to_string(plan.swapping) + " swapping, " + std::to_string(plan.chained) +
                   " in chains, " + std::to_string(temporaries) + " through temporary names)",
               ours, bare, tree.files.size(), {.maxRatio = 1.5});
    ctx.RebuildTree();
}
