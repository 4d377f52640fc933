// Appending rows to the list model: each row with its entry, both index links and the twelve
// cells, against building the same twelve strings per row with no list at all. The files are
// looked up before the clock starts, so both sides time the same string work.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Bench.h"
#include "model/ListModel.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Utf16.h"

namespace {

using morvane::ColumnCount;

struct StatedFile {
    std::string path;
    std::string directory;  // with its trailing "/"
    std::string name;
    morvane::FileInfo info;
};

std::vector<StatedFile> StatTree(const morvane::bench::BenchTree& tree) {
    std::vector<StatedFile> files;
    files.reserve(tree.files.size());
    for (const auto& path : tree.files) {
        const auto slash = path.find_last_of('/');
        StatedFile f{path, path.substr(0, slash + 1), path.substr(slash + 1), {}};
        if (auto info = morvane::RealFileSystem().Find(path))
            f.info = *info;
        files.push_back(std::move(f));
    }
    return files;
}

constexpr std::string_view kTextType = "平文テキストドキュメント";  // what the desktop names .txt

// The cells a registered regular file gets. The list reads the folder and both names from
// the row's path and the type from its table; the bare builds them as texts, as every row
// did before, so that its work stays what it was.
void BuildCells(const StatedFile& f, int position, std::array<std::string, ColumnCount>& cells,
                bool withPathParts = true) {
    const auto dot = f.name.find_last_of('.');
    cells[morvane::ColIcon].clear();
    cells[morvane::ColCurrentName] = withPathParts ? f.name : std::string();
    cells[morvane::ColNewName] = withPathParts ? f.name : std::string();
    cells[morvane::ColCharCount] = std::to_string(morvane::Utf16Length(f.name));
    cells[morvane::ColSize] = std::to_string(f.info.size);
    cells[morvane::ColType] = withPathParts ? kTextType : std::string_view();
    cells[morvane::ColModified] = morvane::FormatUtc(f.info.mtimeSec);
    cells[morvane::ColRowNumber] = std::to_string(position + 1);
    cells[morvane::ColError] = morvane::ErrorCellText(0);
    cells[morvane::ColDirectory] = withPathParts ? f.directory : std::string();
    cells[morvane::ColExtension] =
        dot == std::string::npos ? std::string() : f.name.substr(dot + 1);
    cells[morvane::ColAttributes] = f.info.ownerWritable ? "N" : "R";
}

}  // namespace

MORVANE_BENCH_SCENARIO(AppendRows, "append rows to the list model") {
    const std::vector<StatedFile> files = StatTree(ctx.Tree());
    // The indexes are fixed tables made once per run, so the model exists before the clock.
    std::optional<morvane::ListModel> list;

    // As registration makes a row once its checks are done, through the list's one builder.
    const morvane::bench::Measurement ours = ctx.Measure(
        [&] {
            for (const auto& f : files) {
                std::string key = morvane::MakePathKey(f.path);
                const std::uint32_t keyHash = morvane::FullPathHash(key);
                list->AppendFileRow({std::move(key), &f.info, kTextType, 0, false, {}}, keyHash);
            }
        },
        [&] { list.emplace(); }, [&] { list.reset(); });

    const morvane::bench::Measurement bare = ctx.Measure([&] {
        int position = 0;
        for (const auto& f : files) {
            std::array<std::string, ColumnCount> cells;  // fresh strings, as every row has
            BuildCells(f, position++, cells);
            morvane::bench::KeepAlive(cells);
        }
    });

    ctx.Report("append rows to the list model", ours, bare, files.size(),
               {.maxRatio = 3.0, .maxBytesPerRow = 1024});

    // For scale: the same strings kept in a plain vector, the least any list must hold.
    std::vector<std::array<std::string, ColumnCount>> kept;
    const morvane::bench::Measurement plain = ctx.Measure(
        [&] {
            int position = 0;
            for (const auto& f : files) {
                kept.emplace_back();
                BuildCells(f, position++, kept.back());
            }
        },
        {}, [&] { std::vector<std::array<std::string, ColumnCount>>().swap(kept); });
    ctx.Report("  the strings kept in a plain vector", plain, bare, files.size());
}
