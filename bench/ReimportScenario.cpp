// Re-importing an edited text file into a locked list of every file of the tree, with the
// validation pass over all rows, against what that work needs at the least: reading the file
// and one lstat per row at its new path, or reading each folder once. Every name is changed, so
// every row moves and the existing-file check looks at the disk for each of them. Runs alternate
// between two edits, so each run changes every name again.

#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Bench.h"
#include "BenchHost.h"
#include "RenamePlan.h"
#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "platform/FileSystem.h"
#include "platform/TextHash.h"

namespace {

std::string TextOf(morvane::CMorvaneApp& app) {
    std::string content;
    if (!morvane::RealFileSystem()
             .ReadFile(morvane::AppInternals::RoundTrip(app).TextFilePath(), morvane::kNoSizeLimit, &content)
             .Ok())
        std::abort();
    return content;
}

// The line that starts at *start, without its CR LF; *start moves to the next one.
std::string_view NextLine(const std::string& content, std::size_t* start) {
    std::size_t end = content.find('\n', *start);
    if (end == std::string::npos)
        end = content.size();
    std::size_t length = end - *start;
    if (length > 0 && content[end - 1] == '\r')
        --length;
    const std::string_view line = std::string_view(content).substr(*start, length);
    *start = end + 1;
    return line;
}

}  // namespace

MORVANE_BENCH_SCENARIO(ReimportText, "re-import an edited text file") {
    const morvane::bench::BenchTree& tree = ctx.Tree();
    morvane::bench::BenchHost host;
    const std::unique_ptr<morvane::CMorvaneApp> owned = morvane::bench::RegisteredApp(host, tree);
    morvane::CMorvaneApp& app = *owned;
    const int n = app.List().RowCount();

    // The user's two edits: a prefix before every name, then another.
    std::string texts[2];
    std::vector<std::string> directories;
    directories.reserve(static_cast<std::size_t>(n));
    for (int row = 0; row < n; ++row) {
        const std::string name(app.List().Cell(row, morvane::ColNewName));
        texts[0] += "edited_" + name + "\r\n";
        texts[1] += "again_" + name + "\r\n";
        directories.emplace_back(app.List().Cell(row, morvane::ColDirectory));
    }
    const std::string textPaths[2] = {morvane::AppInternals::Places(app).tempDir + "edited-names.txt",
                                      morvane::AppInternals::Places(app).tempDir + "edited-again.txt"};
    for (int i = 0; i < 2; ++i) {
        if (!morvane::RealFileSystem().WriteFileAtomic(textPaths[i], texts[i]).Ok())
            std::abort();  // the temporary folder is full or gone; no figure would mean anything
    }
    morvane::AppInternals::RoundTrip(app).LockRows(textPaths[0]);

    int edit = 0;
    const auto nextEdit = [&] {
        if (!morvane::RealFileSystem().WriteFileAtomic(textPaths[0], texts[edit]).Ok())
            std::abort();
        edit = 1 - edit;
    };
    const auto reimport = [&] { morvane::AppInternals::RoundTrip(app).ReimportTextFile(); };
    const morvane::bench::Measurement ours = ctx.Measure(reimport, nextEdit);
    app.Settings().useCpuFully = 1;
    const morvane::bench::Measurement fullCpu = ctx.Measure(reimport, nextEdit);
    app.Settings().useCpuFully = 0;

    const morvane::bench::Measurement bare = ctx.Measure(
        [&] {
            const std::string content = TextOf(app);
            std::size_t start = 0;
            int found = 0;
            for (const std::string& directory : directories) {
                const std::string path = directory + std::string(NextLine(content, &start));
                struct stat st {};
                found += lstat(path.c_str(), &st) == 0 ? 1 : 0;
            }
            morvane::bench::KeepAlive(found);
        },
        nextEdit);

    // The least the work needs once each folder is read whole instead of each name looked up
    // by itself, as the checks do: reading the file, every folder's names once, a lookup of
    // each new name among them.
    const morvane::bench::Measurement listed = ctx.Measure(
        [&] {
            const std::string content = TextOf(app);
            using Names = std::unordered_set<std::string, morvane::TextHash, std::equal_to<>>;
            std::unordered_map<std::string_view, Names> folders;  // rows of folders interleave
            std::vector<morvane::NamedInode> entries;
            std::size_t start = 0;
            int found = 0;
            for (const std::string& directory : directories) {
                auto [folder, added] = folders.try_emplace(directory);
                if (added && morvane::RealFileSystem().ListFolderInodes(directory, &entries).Ok()) {
                    for (morvane::NamedInode& entry : entries)
                        folder->second.insert(std::move(entry.name));
                }
                const Names& names = folder->second;
                found += names.contains(NextLine(content, &start)) ? 1 : 0;
            }
            morvane::bench::KeepAlive(found);
        },
        nextEdit);

    ctx.Report("re-import and validate every row", ours, bare, static_cast<std::size_t>(n),
               {.maxRatio = 3.0});
    ctx.Report("  the same against reading each folder once", ours, listed,
               static_cast<std::size_t>(n));
    ctx.Report("  the same with \"CPUをフル使用\"", fullCpu, bare, static_cast<std::size_t>(n),
               {.maxRatio = 3.0});

    // For scale: the row checks that every new name goes through, run once over every row
    // without reading anything.
    const morvane::bench::Measurement checks = ctx.Measure([&] {
        for (int row = 0; row < n; ++row)
            app.Rules().CheckRow(row);
    });
    ctx.Report("  the row checks alone (CheckRow per row)", checks, bare,
               static_cast<std::size_t>(n));

    morvane::AppInternals::RoundTrip(app).UnlockRows();
    app.List().RemoveAllRows();
}
