// The name tools over every row of the tree: a regular-expression replace, a numbering and a
// change of case, then a template of date, counter and old name, validation included, against the
// re-import of a text file that renames the same rows (the other way to give every row a new name).
// Runs alternate between two numberings, so each run changes every name again.

#include <cstdlib>
#include <memory>
#include <string>

#include "Bench.h"
#include "BenchHost.h"
#include "RenamePlan.h"
#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "platform/FileSystem.h"

MORVANE_BENCH_SCENARIO(NameTools, "name tools on every row") {
    const morvane::bench::BenchTree& tree = ctx.Tree();
    morvane::bench::BenchHost host;
    const std::unique_ptr<morvane::CMorvaneApp> owned = morvane::bench::RegisteredApp(host, tree);
    morvane::CMorvaneApp& app = *owned;
    const int n = app.List().RowCount();

    std::string texts[2];
    for (int row = 0; row < n; ++row) {
        const std::string name(app.List().Cell(row, morvane::ColNewName));
        texts[0] += "edited_" + name + "\n";
        texts[1] += "again_" + name + "\n";
    }
    const std::string textPath = morvane::AppInternals::Places(app).tempDir + "tools-names.txt";
    int edit = 0;
    const auto nextEdit = [&] {
        if (!morvane::RealFileSystem().WriteFileAtomic(textPath, texts[edit]).Ok())
            std::abort();
        edit = 1 - edit;
    };
    nextEdit();
    morvane::AppInternals::RoundTrip(app).LockRows(textPath);
    const morvane::bench::Measurement reimport =
        ctx.Measure([&] { morvane::AppInternals::RoundTrip(app).ReimportTextFile(); }, nextEdit);
    morvane::AppInternals::RoundTrip(app).UnlockRows();

    morvane::NameTools& tools = app.Tools();
    long long start = 1;
    const auto nextSteps = [&] {
        morvane::NumberStep number;
        number.start = start;
        number.digits = 6;
        number.separator = "_";
        start = start == 1 ? 1000 : 1;
        tools.GatherTargets();
        if (!tools
                 .SetSteps({morvane::ReplaceStep{true, "([a-z]+)(\\d+)", "${2}-$1", true, true,
                                                 false, morvane::NamePart::Stem},
                            number, morvane::CaseStep{}})
                 .empty())
            std::abort();
    };
    nextSteps();
    const morvane::bench::Measurement ours = ctx.Measure([&] { tools.Apply(); }, nextSteps);
    ctx.Report("name tools: replace, number, case on every row", ours, reimport,
               static_cast<std::size_t>(n), {.maxRatio = 2.0});

    // One template with the modification date, a counter and the old name: the date is the
    // 更新日時 the list holds for every row.
    const auto nextTemplate = [&] {
        morvane::TemplateStep shape;
        shape.text = "{date:%Y%m%d}_{n}_{name}{ext}";
        shape.start = start;
        shape.digits = 6;
        start = start == 1 ? 1000 : 1;
        tools.GatherTargets();
        if (!tools.SetSteps({shape}).empty())
            std::abort();
    };
    nextTemplate();
    const morvane::bench::Measurement shaped = ctx.Measure([&] { tools.Apply(); }, nextTemplate);
    ctx.Report("name tools: template of date, counter and name on every row", shaped, reimport,
               static_cast<std::size_t>(n), {.maxRatio = 2.0});
    app.List().RemoveAllRows();
}
