#include "RenamePlan.h"
#include "app/AppInternals.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/Messages.h"
#include "model/ListColumns.h"
#include "model/ListModel.h"
#include "platform/FileSystem.h"
#include "rules/Validation.h"

namespace morvane::bench {
namespace {

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}
std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('/'));
}

void WriteContent(const std::string& path, const std::string& content) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0 || write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
        Fail("cannot write " + path);
    close(fd);
}

}  // namespace

int MoveNoReplace(const std::string& from, const std::string& to) {
    return static_cast<int>(
        syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE));
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "rename scenario: %s\n", what.c_str());
    std::exit(1);
}

Plan MakePlan(const BenchTree& tree) {
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
            plan.temps[i] = FormatText("%s/%08x[MORVANE]_%s", FolderOf(files[i]).c_str(), counter++,
                                       NameOf(files[i]).c_str());
        }
    }
    return plan;
}

void CheckRenamed(const BenchTree& tree, const Plan& plan) {
    FileSystem& fs = RealFileSystem();
    std::string content;
    for (std::size_t i = 0; i < tree.files.size(); ++i) {
        if (!fs.ReadFile(plan.targets[i], kNoSizeLimit, &content).Ok() ||
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

void Restore(const BenchTree& tree, const Plan& plan) {
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
void BareRename(const BenchTree& tree, const Plan& plan) {
    const std::size_t n = tree.files.size();
    for (std::size_t i = n; i-- > 0;) {
        if (!plan.temps[i].empty())
            MoveNoReplace(tree.files[i], plan.temps[i]);
    }
    for (std::size_t i = n; i-- > 0;)
        MoveNoReplace(plan.temps[i].empty() ? tree.files[i] : plan.temps[i], plan.targets[i]);
}

void WriteContents(const BenchTree& tree) {
    for (const auto& path : tree.files)
        WriteContent(path, NameOf(path));
}

void CheckOriginal(const BenchTree& tree) {
    FileSystem& fs = RealFileSystem();
    std::string content;
    for (const auto& path : tree.files) {
        if (!fs.ReadFile(path, kNoSizeLimit, &content).Ok() || content != NameOf(path))
            Fail("wrong content or missing: " + path);
    }
    std::size_t entries = 0;
    std::vector<std::string> names;
    for (const auto& folder : tree.folders) {
        if (!fs.ListFolder(folder, &names).Ok())
            Fail("cannot read " + folder);
        entries += names.size();
    }
    if (entries != tree.files.size())
        Fail("unexpected names in the tree");
}

std::unique_ptr<CMorvaneApp> RegisteredApp(BenchHost& host, const BenchTree& tree) {
    auto app = std::make_unique<CMorvaneApp>(host, RealFileSystem());
    AppInternals::Places(*app).programPrefix = "/usr";
    AppInternals::Places(*app).configPrefix = "/etc";
    AppInternals::Places(*app).tempDir = tree.root + "/";
    for (const auto& path : tree.files)
        AppInternals::Registrar(*app).RegisterPath(path);
    if (app->List().RowCount() != static_cast<int>(tree.files.size()))
        Fail("not every file was registered");
    return app;
}

void NameByPlan(CMorvaneApp& app, const Plan& plan) {
    std::vector<NewName> names;
    names.reserve(plan.newNames.size());
    for (std::size_t row = 0; row < plan.newNames.size(); ++row)
        names.emplace_back(static_cast<int>(row), plan.newNames[row]);
    app.Rules().SetNewNames(names, NameSource::Row);
    for (int row = 0; row < app.List().RowCount(); ++row) {
        if (!app.List().Cell(row, ColError).empty())
            Fail("row in error: " + std::string(app.List().Cell(row, ColNewName)));
    }
}

std::unique_ptr<CMorvaneApp> ReadyToRename(BenchHost& host, const BenchTree& tree, const Plan& plan,
                                           const std::string& journals) {
    auto app = RegisteredApp(host, tree);
    AppInternals::Places(*app).journalDir = journals;
    NameByPlan(*app, plan);
    return app;
}

}  // namespace morvane::bench
