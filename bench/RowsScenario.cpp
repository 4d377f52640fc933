// Rearranging a long list: sorting by name, moving a block of half the rows, removing every
// other row. Each bare figure is the same rearrangement of plain strings, which is what any
// list must do at the least.

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Bench.h"
#include "BenchHost.h"
#include "RenamePlan.h"
#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"

namespace {

std::vector<std::string> Names(morvane::CMorvaneApp& app) {
    std::vector<std::string> names;
    for (int row = 0; row < app.List().RowCount(); ++row)
        names.emplace_back(app.List().Cell(row, morvane::ColCurrentName));
    return names;
}

}  // namespace

MORVANE_BENCH_SCENARIO(RearrangeRows, "sort, move and remove rows") {
    const morvane::bench::BenchTree& tree = ctx.Tree();
    morvane::bench::BenchHost host;
    const std::unique_ptr<morvane::CMorvaneApp> owned = morvane::bench::RegisteredApp(host, tree);
    morvane::CMorvaneApp& app = *owned;
    const int n = app.List().RowCount();
    const auto rows = static_cast<std::size_t>(n);
    const std::vector<std::string> names = Names(app);

    const morvane::bench::Measurement sort = ctx.Measure([&] {
        app.Order().SortByColumn(morvane::ColCurrentName);
        app.Order().SortByColumn(morvane::ColCurrentName);
    });
    const morvane::bench::Measurement bareSort = ctx.Measure([&] {
        std::vector<std::string> copy = names;
        std::stable_sort(copy.begin(), copy.end(), std::greater<>());
        std::stable_sort(copy.begin(), copy.end());
        morvane::bench::KeepAlive(copy.front());
    });
    ctx.Report("sort every row by name, twice", sort, bareSort, rows);

    // The second half of the list one place up and back down.
    std::vector<int> block;
    for (int row = n / 2; row < n - 1; ++row)
        block.push_back(row);
    const morvane::bench::Measurement move = ctx.Measure(
        [&] {
            app.Order().MoveRowsUp();
            app.Order().MoveRowsDown();
        },
        [&] { app.List().SetSelection(block); });
    std::vector<std::string> plain = names;
    const morvane::bench::Measurement bareMove = ctx.Measure([&] {
        const auto first = plain.begin() + n / 2;
        std::rotate(first - 1, first, plain.end() - 1);
        std::rotate(first - 1, plain.end() - 2, plain.end() - 1);
        morvane::bench::KeepAlive(plain.front());
    });
    ctx.Report("move a block of half the rows up and down", move, bareMove, rows);

    std::vector<int> everyOther;
    for (int row = 0; row < n; row += 2)
        everyOther.push_back(row);
    const morvane::bench::Measurement removal =
        ctx.Measure([&] { morvane::AppInternals::Removal(app).RemoveSelectedRows(); },
                    [&] {
                        // A fresh list each run: the last one lost half its rows.
                        if (app.List().RowCount() != n) {
                            app.List().RemoveAllRows();
                            morvane::AppInternals::Registrar(app).OnDropFiles(tree.files);
                        }
                        app.List().SetSelection(everyOther);
                    });
    const morvane::bench::Measurement bareRemoval = ctx.Measure(
        [&] {
            std::size_t i = 0;
            std::erase_if(plain, [&](const std::string&) { return i++ % 2 == 0; });
            morvane::bench::KeepAlive(plain.size());
        },
        [&] { plain = names; });
    ctx.Report("remove every other row", removal, bareRemoval, rows);

    app.List().RemoveAllRows();
}
