// The cost of one SetNewName, as typing into the name editor causes, on lists of 10,000 and of
// 100,000 rows: the median must stay small and must not grow with the list.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Bench.h"
#include "BenchHost.h"
#include "app/AppInternals.h"
#include "app/CMorvaneApp.h"
#include "platform/FileSystem.h"

namespace {

double MedianSetNewNameMicros(const morvane::bench::BenchTree& tree, std::size_t rows) {
    morvane::bench::BenchHost host;
    morvane::CMorvaneApp app(host, morvane::RealFileSystem());
    morvane::AppInternals::Places(app).programPrefix = "/usr";
    morvane::AppInternals::Places(app).configPrefix = "/etc";
    for (std::size_t i = 0; i < rows && i < tree.files.size(); ++i) {
        morvane::AppInternals::Registrar(app).RegisterPath(tree.files[i]);
    }
    std::mt19937 rng(42);
    std::vector<double> samples;
    const int n = app.List().RowCount();
    for (int k = 0; k < 2000 && n > 0; ++k) {
        const int row = static_cast<int>(rng() % static_cast<unsigned>(n));
        // Half the names collide with another row's name, as typing often does on the way.
        const std::string name =
            (k % 2 == 0) ? "typed_" + std::to_string(k)
                         : std::string(app.List().Cell((row + 1) % n, morvane::ColNewName));
        const auto start = std::chrono::steady_clock::now();
        app.Rules().SetNewName(row, name);
        const auto end = std::chrono::steady_clock::now();
        samples.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0.0 : samples[samples.size() / 2];
}

}  // namespace

MORVANE_BENCH_SCENARIO(SetNewNameCost, "set one new name in a long list") {
    const morvane::bench::BenchTree& tree = ctx.Tree();
    const std::size_t large = tree.files.size();
    const std::size_t small = std::max<std::size_t>(large / 10, 1);
    const double smallMedian = MedianSetNewNameMicros(tree, small);
    const double largeMedian = MedianSetNewNameMicros(tree, large);
    const bool ok = largeMedian < 20.0 && largeMedian < 2.0 * smallMedian + 2.0;
    std::printf("%-58s %zu rows: median %.2f us; %zu rows: median %.2f us  [%s]\n",
                "SetNewName on one row", small, smallMedian, large, largeMedian,
                ok ? "ok" : "MISSED");
    ctx.NoteTarget(ok);
}
