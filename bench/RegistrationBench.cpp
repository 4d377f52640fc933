// Registering a whole tree with the folder command, against the system calls that work needs
// at the least: reading every folder and one lstat per entry. On a local file system the
// folder's rights decide whether a file can be renamed, so nothing is moved.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "Bench.h"
#include "BenchHost.h"
#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "platform/FileSystem.h"

namespace {

void BareWalk(const std::string& folder) {
    DIR* d = opendir(folder.c_str());
    if (d == nullptr)
        return;
    while (const dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        const std::string path = folder + "/" + e->d_name;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            BareWalk(path);
    }
    closedir(d);
}

}  // namespace

MORVANE_BENCH_SCENARIO(RegisterTree, "register a tree with the folder command") {
    const morvane::bench::BenchTree& tree = ctx.Tree();
    morvane::bench::BenchHost host;
    host.folder = tree.root;
    std::unique_ptr<morvane::CMorvaneApp> app;
    int rows = 0;
    const morvane::bench::Measurement ours = ctx.Measure(
        [&] {
            morvane::AppInternals::Registrar(*app).OnRegisterFolder();
            rows = app->List().RowCount();
        },
        [&] {
            app = std::make_unique<morvane::CMorvaneApp>(host, morvane::RealFileSystem());
            morvane::AppInternals::Places(*app).programPrefix = "/usr";
            morvane::AppInternals::Places(*app).configPrefix = "/etc";
            app->Settings().registerFolders = 1;
        },
        [&] { app.reset(); });
    const morvane::bench::Measurement bare = ctx.Measure([&] { BareWalk(tree.root); });
    ctx.Report("register " + std::to_string(rows) + " rows with the folder command", ours, bare,
               static_cast<std::size_t>(rows), {.maxRatio = 1.5});
}
